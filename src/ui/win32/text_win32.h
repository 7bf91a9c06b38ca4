// Texts for the Win32 API: UTF-16, with CR LF line breaks in controls.
#pragma once

#include <string>

namespace ui::win32 {

// UTF-16 with every line break (CR LF, CR or LF) written as CR LF, as controls expect.
std::wstring toControlText(const std::string& utf8);

}  // namespace ui::win32
