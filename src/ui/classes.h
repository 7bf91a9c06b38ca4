// The roots of the component model: objects, named components, notify events.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace ui {

struct DfmValue;

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

class TComponent : public TObject {
public:
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }

    // Applies one property read from a form description; throws ui::Error for a property
    // this component does not have.
    virtual void ReadProperty(const std::string& property, const DfmValue& value);
    // The event property of that name ("OnClick"...), or null when there is none.
    virtual TNotifyEvent* EventSlot(const std::string&) { return nullptr; }

private:
    std::string name_;
};

// The classes a form description may name beyond the toolkit's own controls: units of their
// own (database components, say) make theirs known here, as with Delphi's RegisterClass.
using TComponentFactory = std::function<std::unique_ptr<TComponent>()>;
void RegisterClass(const std::string& className, TComponentFactory create);
// A new component of a registered class; null when no class has that name.
std::unique_ptr<TComponent> CreateRegistered(const std::string& className);

}  // namespace ui
