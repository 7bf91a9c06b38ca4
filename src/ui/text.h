// Multi-line texts as the system writes them: lines separated by CR LF, a lone CR or LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ui {

extern const char* const kCrLf;  // "\r\n"

// The lines of a text; CR LF, CR and LF each end one line.
std::vector<std::string> splitLines(std::string_view text);

// The lines joined by a single LF, as the Qt backend shows them.
std::string withLineFeeds(std::string_view text);

}  // namespace ui
