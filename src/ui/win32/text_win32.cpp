#include "ui/win32/text_win32.h"

#include <windows.h>

#include "ui/text.h"

namespace ui::win32 {

std::wstring toWide(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::wstring toControlText(const std::string& utf8) {
    std::vector<std::string> lines = splitLines(utf8);
    std::string joined = lines.front();
    for (std::size_t i = 1; i < lines.size(); ++i) joined += CRLF + lines[i];
    return toWide(joined);
}

}  // namespace ui::win32
