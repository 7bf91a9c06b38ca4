// The application object (Delphi's Application): starts the platform's toolkit, owns the
// forms, runs the event loop and shows errors that leave event handlers.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "ui/backend.h"
#include "ui/forms.h"

namespace ui {

class TApplication {
public:
    // Starts the platform's toolkit; the application's title is the executable's file
    // name without its extension.
    void Initialize();
    // The same with a backend of the caller's choosing (tests use one that records).
    void Initialize(std::unique_ptr<backend::Backend> backend);

    // Creates a form of class T; the first one created is the main form. A form whose
    // description cannot be read or bound is not kept (the ui::Error goes to the caller).
    template <class T>
    void CreateForm(T*& form) {
        auto created = std::make_unique<T>();
        form = created.get();
        AddForm(std::move(created));
    }

    // Shows the main form and runs the event loop until it is closed, then destroys the
    // forms and the toolkit.
    void Run();
    void Terminate();

    const std::string& Title() const { return title_; }
    // Full path of the running executable.
    const std::string& ExeName();
    TForm* MainForm() const { return forms_.empty() ? nullptr : forms_.front().get(); }

    // The standard error display for an exception that left an event handler: a modal box
    // with an error icon, what() of the exception, and the title as caption.
    void HandleException(std::exception_ptr error);
    void ShowException(const std::exception& error);

    backend::Backend& Backend();

private:
    void AddForm(std::unique_ptr<TForm> form);

    std::unique_ptr<backend::Backend> backend_;
    std::vector<std::unique_ptr<TForm>> forms_;
    std::string exeName_;
    std::string title_;
};

extern TApplication* const Application;

}  // namespace ui
