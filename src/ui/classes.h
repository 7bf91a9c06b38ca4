// The roots of the component model: objects, named components, notify events.
#pragma once

#include <functional>
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

}  // namespace ui
