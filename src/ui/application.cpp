#include "ui/application.h"

#include "os/fs.h"
#include "ui/dialogs.h"
#include "ui/error.h"

namespace ui {

namespace {
TApplication theApplication;
}

TApplication* const Application = &theApplication;

void TApplication::Initialize() {
    if (!backend_) Initialize(backend::createBackend());
}

void TApplication::Initialize(std::unique_ptr<backend::Backend> backend) {
    std::string name = os::nameOf(ExeName());
    std::size_t dot = name.rfind('.');
    title_ = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    backend_ = std::move(backend);
}

const std::string& TApplication::ExeName() {
    if (exeName_.empty()) exeName_ = os::executablePath();
    return exeName_;
}

backend::Backend& TApplication::Backend() {
    if (!backend_) throw Error("Приложение не инициализировано");
    return *backend_;
}

void TApplication::AddForm(std::unique_ptr<TForm> form) {
    forms_.push_back(std::move(form));
    try {
        forms_.back()->Load(Backend());
    } catch (...) {
        forms_.pop_back();
        throw;
    }
}

void TApplication::Run() {
    if (TForm* main = MainForm()) {
        main->Show();
        Backend().run();
    }
    forms_.clear();
    backend_.reset();
}

void TApplication::Terminate() {
    if (backend_) backend_->quit();
}

void TApplication::HandleException(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(std::runtime_error("Неизвестная ошибка"));
    }
}

void TApplication::ShowException(const std::exception& error) {
    backend::MessageBoxDesc box;
    box.title = title_;
    box.text = error.what();
    box.icon = backend::DialogIcon::Error;
    box.buttons = {{mrOk, "OK"}};
    box.defaultId = box.escapeId = mrOk;
    Backend().messageBox(box);
}

}  // namespace ui
