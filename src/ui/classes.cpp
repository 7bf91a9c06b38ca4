#include "ui/classes.h"

#include "ui/dfm.h"
#include "ui/error.h"

namespace ui {

void TComponent::ReadProperty(const std::string& property, const DfmValue&) {
    throw Error("Свойство " + property + " компонента " + name_ + " не существует");
}

}  // namespace ui
