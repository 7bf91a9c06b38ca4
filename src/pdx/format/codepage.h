// Conversion between a table's code page and UTF-8. The engine's own tables convert the
// pages they cover (437, 850, 852, 866, 1250, 1251, 1252 and HP Roman-8); every other page
// goes through the operating system's converter, opened once for the table. A page neither
// knows converts ASCII only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace pdx {

class SystemCodePage;

// Copies share the system's converter: not for use by several threads at once.
class CodePage {
public:
    // `id` is the header's code page number (0 is taken as 437).
    explicit CodePage(std::uint16_t id);
    // The code page of a table's text: its header's number, except for tables that name none
    // and whose sort order is HP Roman-8.
    static CodePage forTable(std::uint16_t id, std::string_view sortOrderName);

    std::uint16_t id() const { return id_; }
    bool known() const { return table_ != nullptr || system_ != nullptr; }

    // Bytes to UTF-8, multi-byte characters read across the whole string; bytes the page
    // does not define read as U+FFFD. Returns nullopt for a byte above ASCII in a page
    // neither the engine nor the system knows.
    std::optional<std::string> toUtf8(std::string_view bytes) const;
    // UTF-8 to bytes. Returns nullopt when a character has no bytes in this code page (or the
    // text is not valid UTF-8); `bad` then holds the offending character as UTF-8.
    std::optional<std::string> fromUtf8(std::string_view text, std::string* bad = nullptr) const;

private:
    std::optional<std::string> systemBytes(std::string_view text, std::string* bad) const;

    std::uint16_t id_;
    const char16_t* table_;
    std::shared_ptr<const SystemCodePage> system_;
    bool asciiAsIs_ = true;  // bytes 0x00..0x7F are ASCII both ways
};

}  // namespace pdx
