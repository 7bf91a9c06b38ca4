// Forms. A form's look and its components come from its
// built-in text description (.dfm); the form's class publishes its component fields and
// event handlers by name so the description can be bound to them, as Delphi does.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/backend.h"
#include "ui/classes.h"
#include "ui/controls.h"

namespace ui {

struct DfmObject;

// The fields and handlers a form class offers to its description, by name.
class Published {
public:
    template <class T>
    void field(const std::string& name, T*& slot) {
        slot = dynamic_cast<T*>(component(name));
        if (!slot) wrongClass(name);
    }
    template <class Form>
    void method(const std::string& name, Form* form, void (Form::*handler)(TObject*)) {
        methods_[name] = [form, handler](TObject* sender) { (form->*handler)(sender); };
    }

private:
    friend class TForm;
    explicit Published(std::vector<std::unique_ptr<TComponent>>& components) : components_(components) {}
    TComponent* component(const std::string& name);
    [[noreturn]] void wrongClass(const std::string& name);

    std::vector<std::unique_ptr<TComponent>>& components_;
    std::map<std::string, TNotifyEvent> methods_;
};

enum TPosition { poDesigned, poScreenCenter };
enum TFormBorderStyle { bsSizeable, bsDialog };

class TApplication;

class TForm : public TComponent {
public:
    // `description` names the built-in .dfm file of the form's class.
    explicit TForm(std::string description);
    ~TForm() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    TPosition Position() const { return position_; }
    TNotifyEvent OnCreate;

    std::size_t ComponentCount() const { return components_.size(); }
    TComponent* Components(std::size_t index) const { return components_.at(index).get(); }
    TComponent* FindComponent(const std::string& name) const;

    void Show();
    void Close();

    void ReadProperty(const std::string& property, const DfmValue& value) override;
    TNotifyEvent* EventSlot(const std::string& event) override;

protected:
    // Binds the description's components and handlers to the class's members.
    virtual void DeclarePublished(Published& published) = 0;

private:
    friend class TApplication;
    // Reads the description, creates and binds the components, creates the window, then
    // runs OnCreate. Called once by TApplication::CreateForm.
    void Load(backend::Backend& backend);
    void CreateComponents(const DfmObject& description);
    void BindEvents(const Published& published, const DfmObject& description);
    void CreateWindow(backend::Backend& backend);
    void ReadFontProperty(const std::string& property, const DfmValue& value);

    std::string description_;
    std::vector<std::unique_ptr<TComponent>> components_;
    std::unique_ptr<backend::Window> window_;
    std::string caption_;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TPosition position_ = poDesigned;
    int pixelsPerInch_ = 96;
    bool scaled_ = true;
    backend::Color color_{backend::SystemColor::ButtonFace, 0};
    backend::Font font_{"MS Sans Serif", 11, false, false, false, {backend::SystemColor::WindowText, 0}};
    bool shown_ = false;
};

}  // namespace ui
