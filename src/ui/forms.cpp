#include "ui/forms.h"

#include <algorithm>
#include <map>

#include "ui/application.h"
#include "ui/dfm.h"
#include "ui/error.h"
#include "ui/resources.h"

namespace ui {

namespace {

constexpr int kDesignPixelsPerInch = 96;
constexpr int kPointsPerInch = 72;

std::unique_ptr<TComponent> createComponent(const std::string& className) {
    if (className == "TLabel") return std::make_unique<TLabel>();
    if (className == "TBitBtn") return std::make_unique<TBitBtn>();
    if (auto registered = CreateRegistered(className)) return registered;
    throw Error("Класс " + className + " не найден");
}

bool isEvent(const std::string& property) { return property.rfind("On", 0) == 0; }

void readProperties(TComponent& component, const DfmObject& description) {
    for (const auto& [property, value] : description.properties)
        if (!isEvent(property)) component.ReadProperty(property, value);
}

backend::Color readColor(const std::string& property, const DfmValue& value) {
    if (value.kind == DfmValue::Kind::Integer) {
        // 0x00BBGGRR, as Windows stores colours
        auto bgr = static_cast<std::uint32_t>(value.integer);
        return {std::nullopt, (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF)};
    }
    static const std::map<std::string, backend::Color> kNamed = {
        {"clBtnFace", {backend::SystemColor::ButtonFace, 0}},
        {"clWindowText", {backend::SystemColor::WindowText, 0}},
        {"clBlack", {std::nullopt, 0x000000}},
        {"clWhite", {std::nullopt, 0xFFFFFF}},
    };
    const std::string& name = value.asIdentifier(property);
    auto found = kNamed.find(name);
    if (found == kNamed.end()) throw Error("Свойство " + property + ": неизвестный цвет " + name);
    return found->second;
}

int scaled(int value, int num, int den) {
    return static_cast<int>((static_cast<long long>(value) * num + den / 2) / den);
}

}  // namespace

TComponent* Published::component(const std::string& name) {
    for (auto& component : components_)
        if (component->Name() == name) return component.get();
    throw Error("Компонент " + name + " не найден в описании формы");
}

void Published::wrongClass(const std::string& name) {
    throw Error("Компонент " + name + " в описании формы другого класса");
}

TForm::TForm(std::string description) : description_(std::move(description)) {}

TForm::~TForm() = default;

void TForm::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (window_) window_->setCaption(caption_);
}

TComponent* TForm::FindComponent(const std::string& name) const {
    for (const auto& component : components_)
        if (component->Name() == name) return component.get();
    return nullptr;
}

void TForm::Show() {
    if (!window_) return;
    window_->show(position_ == poScreenCenter && !shown_);
    shown_ = true;
}

void TForm::Close() {
    if (window_) window_->close();
}

TNotifyEvent* TForm::EventSlot(const std::string& event) { return event == "OnCreate" ? &OnCreate : nullptr; }

void TForm::ReadProperty(const std::string& property, const DfmValue& value) {
    auto integer = [&] { return static_cast<int>(value.asInteger(property)); };
    if (property == "Caption") {
        caption_ = value.asString(property);
    } else if (property == "ClientWidth") {
        clientWidth_ = integer();
    } else if (property == "ClientHeight") {
        clientHeight_ = integer();
    } else if (property == "BorderStyle") {
        const std::string& style = value.asIdentifier(property);
        if (style == "bsDialog")
            borderStyle_ = bsDialog;
        else if (style == "bsSizeable")
            borderStyle_ = bsSizeable;
        else
            throw Error("Свойство " + property + ": неизвестный стиль " + style);
    } else if (property == "Position") {
        const std::string& position = value.asIdentifier(property);
        if (position == "poScreenCenter")
            position_ = poScreenCenter;
        else if (position == "poDesigned")
            position_ = poDesigned;
        else
            throw Error("Свойство " + property + ": неизвестное положение " + position);
    } else if (property == "Color") {
        color_ = readColor(property, value);
    } else if (property == "PixelsPerInch") {
        pixelsPerInch_ = integer();
        if (pixelsPerInch_ <= 0) throw Error("Свойство " + property + " должно быть больше 0");
    } else if (property == "Scaled") {
        scaled_ = value.asBoolean(property);
    } else if (property.rfind("Font.", 0) == 0) {
        ReadFontProperty(property, value);
    } else if (property == "Left" || property == "Top" || property == "BorderIcons" ||
               property == "OldCreateOrder" || property == "TextHeight") {
        // where the designer left the window (windows are placed by Position alone), the
        // close box of a dialog frame, the designer's own bookkeeping
    } else {
        TComponent::ReadProperty(property, value);
    }
}

void TForm::ReadFontProperty(const std::string& property, const DfmValue& value) {
    if (property == "Font.Name") {
        font_.name = value.asString(property);
    } else if (property == "Font.Height") {
        // negative: the character height in pixels; positive: the cell height
        int height = static_cast<int>(value.asInteger(property));
        font_.pixelHeight = height < 0 ? -height : height;
    } else if (property == "Font.Size") {
        font_.pixelHeight =
            scaled(static_cast<int>(value.asInteger(property)), kDesignPixelsPerInch, kPointsPerInch);
    } else if (property == "Font.Color") {
        font_.color = readColor(property, value);
    } else if (property == "Font.Style") {
        const auto& styles = value.asSet(property);
        auto has = [&](const char* style) {
            return std::find(styles.begin(), styles.end(), style) != styles.end();
        };
        font_.bold = has("fsBold");
        font_.italic = has("fsItalic");
        font_.underline = has("fsUnderline");
    } else if (property == "Font.Charset") {
        // texts are Unicode
    } else {
        TComponent::ReadProperty(property, value);
    }
}

void TForm::Load(backend::Backend& backend) {
    std::span<const std::uint8_t> bytes = findResource(description_);
    DfmObject description = parseDfm({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    SetName(description.name);
    readProperties(*this, description);
    CreateComponents(description);
    Published published(components_);
    DeclarePublished(published);
    BindEvents(published, description);
    CreateWindow(backend);
    if (OnCreate) {
        try {
            OnCreate(this);
        } catch (...) {
            Application->HandleException(std::current_exception());
        }
    }
}

void TForm::CreateComponents(const DfmObject& description) {
    for (const DfmObject& child : description.children) {
        if (!child.children.empty())
            throw Error("Компонент " + child.name + " не может содержать другие компоненты");
        if (FindComponent(child.name)) throw Error("Компонент " + child.name + " описан дважды");
        std::unique_ptr<TComponent> component = createComponent(child.className);
        component->SetName(child.name);
        readProperties(*component, child);
        components_.push_back(std::move(component));
    }
}

void TForm::BindEvents(const Published& published, const DfmObject& description) {
    auto bind = [&](TComponent& component, const DfmObject& object) {
        for (const auto& [property, value] : object.properties) {
            if (!isEvent(property)) continue;
            TNotifyEvent* slot = component.EventSlot(property);
            if (!slot)
                throw Error("Событие " + property + " компонента " + component.Name() + " не существует");
            const std::string& handler = value.asIdentifier(property);
            auto method = published.methods_.find(handler);
            if (method == published.methods_.end())
                throw Error("Обработчик " + handler + " не найден в классе формы");
            *slot = method->second;
        }
    };
    bind(*this, description);
    for (const DfmObject& child : description.children) bind(*FindComponent(child.name), child);
}

void TForm::CreateWindow(backend::Backend& backend) {
    int ppi = scaled_ ? backend.pixelsPerInch() : pixelsPerInch_;
    backend::WindowDesc desc;
    desc.name = Name();
    desc.caption = caption_;
    desc.client = {scaled(clientWidth_, ppi, pixelsPerInch_), scaled(clientHeight_, ppi, pixelsPerInch_)};
    desc.frame = borderStyle_ == bsDialog ? backend::Frame::Dialog : backend::Frame::Sizeable;
    desc.color = color_;
    desc.font = font_;
    desc.font.pixelHeight = scaled(font_.pixelHeight, ppi, pixelsPerInch_);
    window_ = backend.createWindow(desc, [this] {
        if (this == Application->MainForm()) Application->Terminate();
    });

    std::vector<TControl*> tabStops;
    for (auto& component : components_) {
        auto* control = dynamic_cast<TControl*>(component.get());
        if (!control) continue;
        control->ScaleBy(ppi, pixelsPerInch_);
        control->CreateNative(*window_);
        if (control->TabStop()) tabStops.push_back(control);
    }
    std::stable_sort(tabStops.begin(), tabStops.end(),
                     [](TControl* a, TControl* b) { return a->TabOrder() < b->TabOrder(); });
    std::vector<backend::Control*> order;
    for (TControl* control : tabStops) order.push_back(control->Native());
    window_->setTabOrder(order);
}

}  // namespace ui
