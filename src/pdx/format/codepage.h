// Conversion between a table's single-byte code page and UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pdx {

class CodePage {
public:
    // `id` is the header's code page number (437, 850, 852, 866, 1250, 1251, 1252; 0 is taken
    // as 437; others read ASCII only).
    explicit CodePage(std::uint16_t id);
    // The code page of a table's text: its header's number, except for tables that name none
    // and whose sort order is HP Roman-8.
    static CodePage forTable(std::uint16_t id, std::string_view sortOrderName);

    std::uint16_t id() const { return id_; }
    bool known() const { return table_ != nullptr; }

    // Bytes to UTF-8. Returns nullopt when a byte needs a code page this engine lacks.
    std::optional<std::string> toUtf8(std::string_view bytes) const;
    // UTF-8 to bytes. Returns nullopt when a character has no byte in this code page (or the
    // text is not valid UTF-8); `bad` then holds the offending character as UTF-8.
    std::optional<std::string> fromUtf8(std::string_view text, std::string* bad = nullptr) const;

private:
    std::uint16_t id_;
    const char16_t* table_;
};

}  // namespace pdx
