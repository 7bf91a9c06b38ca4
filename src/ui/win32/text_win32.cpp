#include "ui/win32/text_win32.h"

#include <windows.h>

#include "os/wide.h"
#include "ui/text.h"

namespace ui::win32 {

std::wstring toControlText(const std::string& utf8) {
    std::vector<std::string> lines = splitLines(utf8);
    std::string joined = lines.front();
    for (std::size_t i = 1; i < lines.size(); ++i) joined += kCrLf + lines[i];
    return os::wide(joined);
}

}  // namespace ui::win32
