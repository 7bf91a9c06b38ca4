#include "ui/classes.h"

#include <map>

#include "ui/dfm.h"
#include "ui/error.h"

namespace ui {

namespace {

std::map<std::string, TComponentFactory>& registeredClasses() {
    static std::map<std::string, TComponentFactory> classes;
    return classes;
}

}  // namespace

void TComponent::ReadProperty(const std::string& property, const DfmValue&) {
    throw Error("Свойство " + property + " компонента " + name_ + " не существует");
}

void RegisterClass(const std::string& className, TComponentFactory create) {
    registeredClasses()[className] = std::move(create);
}

std::unique_ptr<TComponent> CreateRegistered(const std::string& className) {
    auto found = registeredClasses().find(className);
    return found == registeredClasses().end() ? nullptr : found->second();
}

}  // namespace ui
