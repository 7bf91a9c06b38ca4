#include "ui/text.h"

namespace ui {

const char* const kCrLf = "\r\n";

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

std::string withLineFeeds(std::string_view text) {
    std::vector<std::string> lines = splitLines(text);
    std::string joined = lines.front();
    for (std::size_t i = 1; i < lines.size(); ++i) joined += '\n' + lines[i];
    return joined;
}

}  // namespace ui
