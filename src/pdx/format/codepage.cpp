#include "pdx/format/codepage.h"

#include "pdx/format/codepage_tables.h"
#include "pdx/format/system_codepage.h"
#include "text/utf8.h"

#include <algorithm>

namespace pdx {
namespace {

constexpr std::uint16_t kUnsetCodePage = 0;
constexpr std::string_view kRoman8SortPrefix = "BLROM8";

const char16_t* tableFor(std::uint16_t id) {
    switch (id) {
    case kUnsetCodePage:  // old tables that name none were written by DOS Paradox
    case 437: return codepages::cp437;
    case 850: return codepages::cp850;
    case 852: return codepages::cp852;
    case 866: return codepages::cp866;
    case 1250: return codepages::cp1250;
    case 1251: return codepages::cp1251;
    case 1252: return codepages::cp1252;
    default: return nullptr;
    }
}

bool isAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string asciiBytes() {
    std::string bytes(0x80, '\0');
    for (std::size_t b = 0; b < bytes.size(); ++b) bytes[b] = static_cast<char>(b);
    return bytes;
}

// Whether the system's page keeps the ASCII bytes as they are, so that ASCII text needs no
// conversion (true of the pages Paradox uses, not of EBCDIC ones).
bool keepsAscii(const SystemCodePage& page) {
    static const std::string ascii = asciiBytes();
    std::size_t badAt = 0;
    return page.toUtf8(ascii) == ascii && page.fromUtf8(ascii, badAt) == ascii;
}

// Decodes one character at `i` (advancing it); false on malformed UTF-8.
bool nextCodePoint(std::string_view s, std::size_t& i, char32_t& c) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t extra = 0;
    if (lead < 0x80)
        extra = 0;
    else if ((lead >> 5) == 0x6)
        extra = 1;
    else if ((lead >> 4) == 0xE)
        extra = 2;
    else if ((lead >> 3) == 0x1E)
        extra = 3;
    else
        return false;
    if (i + extra >= s.size()) return false;
    c = extra == 0 ? lead : (lead & (0x3F >> extra));
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return false;
        c = (c << 6) | (b & 0x3F);
    }
    i += extra + 1;
    return true;
}

}  // namespace

// Valid UTF-8 through the system's converter; the offending character when it fails.
std::optional<std::string> CodePage::systemBytes(std::string_view text, std::string* bad) const {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        char32_t c = 0;
        if (!nextCodePoint(text, i, c)) {
            if (bad) *bad = std::string(text.substr(start, 1));
            return std::nullopt;
        }
    }
    std::size_t badAt = 0;
    auto bytes = system_->fromUtf8(text, badAt);
    if (!bytes && bad) {
        std::size_t end = badAt;
        char32_t c = 0;
        nextCodePoint(text, end, c);
        *bad = std::string(text.substr(badAt, end - badAt));
    }
    return bytes;
}

CodePage::CodePage(std::uint16_t id) : id_(id), table_(tableFor(id)) {
    if (table_ != nullptr) return;
    system_ = SystemCodePage::open(id);
    asciiAsIs_ = !system_ || keepsAscii(*system_);
}

CodePage CodePage::forTable(std::uint16_t id, std::string_view sortOrderName) {
    CodePage page(id);
    if (id == kUnsetCodePage && sortOrderName.substr(0, kRoman8SortPrefix.size()) == kRoman8SortPrefix)
        page.table_ = codepages::roman8;
    return page;
}

std::optional<std::string> CodePage::toUtf8(std::string_view bytes) const {
    if (system_ && !(asciiAsIs_ && isAscii(bytes))) return system_->toUtf8(bytes);
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out += ch;
        } else if (table_ != nullptr) {
            text::appendUtf8(out, table_[b - 0x80]);
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::optional<std::string> CodePage::fromUtf8(std::string_view text, std::string* bad) const {
    if (system_ && !(asciiAsIs_ && isAscii(text))) return systemBytes(text, bad);
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        char32_t c = 0;
        if (!nextCodePoint(text, i, c)) {
            if (bad) *bad = std::string(text.substr(start, 1));
            return std::nullopt;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        bool found = false;
        if (table_ != nullptr) {
            for (int k = 0; k < 128; ++k) {
                if (table_[k] == c) {
                    out += static_cast<char>(0x80 + k);
                    found = true;
                    break;
                }
            }
        }
        if (!found) {
            if (bad) *bad = std::string(text.substr(start, i - start));
            return std::nullopt;
        }
    }
    return out;
}

}  // namespace pdx
