#include "pdx/sql/text.h"

namespace pdx::sql {

namespace {

// Cyrillic capitals А..Я are D0 90..D0 AF; their small letters are D0 B0..D0 BF and
// D1 80..D1 8F. Ё is D0 81, ё is D1 91.
void appendFoldedCyrillic(unsigned char lead, unsigned char trail, std::string& out) {
    if (lead == 0xD0 && trail >= 0x90 && trail <= 0x9F) {
        out += '\xD0';
        out += static_cast<char>(trail + 0x20);
    } else if (lead == 0xD0 && trail >= 0xA0 && trail <= 0xAF) {
        out += '\xD1';
        out += static_cast<char>(trail - 0x20);
    } else if (lead == 0xD0 && trail == 0x81) {
        out += "\xD1\x91";
    } else {
        out += static_cast<char>(lead);
        out += static_cast<char>(trail);
    }
}

}  // namespace

std::string foldCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c - 'A' + 'a');
        } else if (c == 0xD0 && i + 1 < text.size()) {
            appendFoldedCyrillic(c, static_cast<unsigned char>(text[i + 1]), out);
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool sameName(std::string_view a, std::string_view b) { return foldCase(a) == foldCase(b); }

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    }
    return count;
}

std::string quoted(std::string_view text) { return "«" + std::string(text) + "»"; }

std::string abbreviated(std::string_view text, std::size_t maxCharacters) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool starts = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (starts && characters++ == maxCharacters) return std::string(text.substr(0, i)) + "…";
    }
    return std::string(text);
}

}  // namespace pdx::sql
