// The operating system's converter for a code page: iconv on Linux, MultiByteToWideChar and
// WideCharToMultiByte on Windows. It is opened once for a table and kept for all its values;
// one object is not for use by several threads at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace pdx {

class SystemCodePage {
public:
    // Null when the system has no converter for the page. On Windows pages whose characters
    // may take more than two bytes count as unknown: its functions convert those without
    // telling what they could not (the pages of Paradox tables take one or two bytes).
    static std::unique_ptr<SystemCodePage> open(std::uint16_t id);
    ~SystemCodePage();
    SystemCodePage(const SystemCodePage&) = delete;
    SystemCodePage& operator=(const SystemCodePage&) = delete;

    // The bytes as one string to UTF-8; a byte the page does not define, or a character cut
    // short, reads as U+FFFD.
    std::string toUtf8(std::string_view bytes) const;
    // Valid UTF-8 to bytes. Returns nullopt when a character has no bytes in the page;
    // `badAt` then holds that character's offset in the text.
    std::optional<std::string> fromUtf8(std::string_view text, std::size_t& badAt) const;

private:
    struct Converters;
    explicit SystemCodePage(std::unique_ptr<Converters> converters);
    std::unique_ptr<Converters> converters_;
};

}  // namespace pdx
