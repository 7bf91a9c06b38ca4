// UTF-8 and the UTF-16 of the Windows API.
#pragma once

#ifdef _WIN32
#include <string>

namespace os {

std::wstring wide(const std::string& utf8);
std::string narrow(const std::wstring& utf16);

}  // namespace os
#endif
