#include "ui/strings.h"

#include "ui/text.h"

namespace ui {

std::string TStrings::Text() const {
    std::string text;
    for (const std::string& line : lines_) text += line + kCrLf;
    return text;
}

}  // namespace ui
