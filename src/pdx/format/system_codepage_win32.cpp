// The system's converter on Windows: MultiByteToWideChar and WideCharToMultiByte with the
// page's number (functions Windows XP has), UTF-16 to and from UTF-8 by the os layer.
#include "pdx/format/system_codepage.h"

#include "os/wide.h"

#include <windows.h>

namespace pdx {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;
// 0 to 3 are no pages but name the system's current ones (CP_ACP, CP_OEMCP, CP_MACCP,
// CP_THREAD_ACP).
constexpr std::uint16_t kFirstPage = 4;
constexpr UINT kMaxCharBytes = 2;

// Appends the UTF-16 of `bytes`; false when the page does not define them all.
bool decode(UINT page, std::string_view bytes, std::wstring& out) {
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (n == 0) return false;
    const std::size_t used = out.size();
    out.resize(used + static_cast<std::size_t>(n));
    MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), size, out.data() + used, n);
    return true;
}

// The bytes of UTF-16 text; nullopt when a character has none in the page (no look-alike
// stands in for it).
std::optional<std::string> encode(UINT page, const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int n =
        WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr, &usedDefault);
    if (n == 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

// Bytes of the UTF-8 character that starts with `lead`.
std::size_t utf8Length(char lead) {
    const auto b = static_cast<unsigned char>(lead);
    return b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
}

}  // namespace

struct SystemCodePage::Converters {
    UINT page;
    bool doubleByte;
};

SystemCodePage::SystemCodePage(std::unique_ptr<Converters> converters) : converters_(std::move(converters)) {}
SystemCodePage::~SystemCodePage() = default;

std::unique_ptr<SystemCodePage> SystemCodePage::open(std::uint16_t id) {
    CPINFO info;
    if (id < kFirstPage || id == CP_SYMBOL || !IsValidCodePage(id) || !GetCPInfo(id, &info) ||
        info.MaxCharSize > kMaxCharBytes) {
        return nullptr;
    }
    auto converters = std::make_unique<Converters>(Converters{id, info.MaxCharSize == kMaxCharBytes});
    return std::unique_ptr<SystemCodePage>(new SystemCodePage(std::move(converters)));
}

std::string SystemCodePage::toUtf8(std::string_view bytes) const {
    const UINT page = converters_->page;
    std::wstring text;
    if (!decode(page, bytes, text)) {
        // Character by character: one the page does not define is passed over by a byte.
        text.clear();
        for (std::size_t at = 0; at < bytes.size();) {
            const bool pair = converters_->doubleByte && at + 1 < bytes.size() &&
                              IsDBCSLeadByteEx(page, static_cast<BYTE>(bytes[at]));
            const std::size_t length = pair ? 2 : 1;
            if (decode(page, bytes.substr(at, length), text)) {
                at += length;
            } else {
                text += kReplacement;
                ++at;
            }
        }
    }
    return os::narrow(text);
}

std::optional<std::string> SystemCodePage::fromUtf8(std::string_view text, std::size_t& badAt) const {
    const UINT page = converters_->page;
    if (auto bytes = encode(page, os::wide(std::string(text)))) return bytes;
    badAt = 0;
    for (std::size_t at = 0; at < text.size(); at += utf8Length(text[at])) {
        if (!encode(page, os::wide(std::string(text.substr(at, utf8Length(text[at])))))) {
            badAt = at;
            break;
        }
    }
    return std::nullopt;
}

}  // namespace pdx
