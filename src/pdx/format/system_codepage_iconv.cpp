// The system's converter on Linux: the C library's iconv, page N by its name "CPN" (three
// digits at least, as in CP037).
#include "pdx/format/system_codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

namespace pdx {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
// Output bytes to make room for, per input byte; more room is made when that runs out.
constexpr std::size_t kGrowth = 4;
// Room for what the converter still holds at the end, and its shift back to the initial state.
constexpr std::size_t kSpare = 16;

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

struct Stop {
    std::size_t taken;  // bytes of the input converted
    int error;          // why it stopped before the end: EILSEQ or EINVAL
};

// Converts `in` into `out` from where the converter stands, to the end or to a sequence it
// cannot convert.
Stop run(iconv_t converter, std::string_view in, std::string& out) {
    char* from = const_cast<char*>(in.data());
    std::size_t left = in.size();
    for (;;) {
        const std::size_t used = out.size();
        out.resize(used + kGrowth * left + kSpare);
        char* to = out.data() + used;
        std::size_t room = out.size() - used;
        const std::size_t result = iconv(converter, &from, &left, &to, &room);
        const int error = errno;
        out.resize(out.size() - room);
        if (result != static_cast<std::size_t>(-1)) return {in.size(), 0};
        if (error != E2BIG) return {in.size() - left, error};
    }
}

// Ends a conversion: what the converter still holds, and the shift back to its initial state.
void finish(iconv_t converter, std::string& out) {
    const std::size_t used = out.size();
    out.resize(used + kSpare);
    char* to = out.data() + used;
    std::size_t room = kSpare;
    iconv(converter, nullptr, nullptr, &to, &room);
    out.resize(out.size() - room);
}

void reset(iconv_t converter) { iconv(converter, nullptr, nullptr, nullptr, nullptr); }

}  // namespace

struct SystemCodePage::Converters {
    iconv_t decoder;
    iconv_t encoder;
    explicit Converters(const char* page)
        : decoder(iconv_open("UTF-8", page)), encoder(iconv_open(page, "UTF-8")) {}
    Converters(const Converters&) = delete;
    Converters& operator=(const Converters&) = delete;
    ~Converters() {
        if (decoder != kNoConverter) iconv_close(decoder);
        if (encoder != kNoConverter) iconv_close(encoder);
    }
};

SystemCodePage::SystemCodePage(std::unique_ptr<Converters> converters) : converters_(std::move(converters)) {}
SystemCodePage::~SystemCodePage() = default;

std::unique_ptr<SystemCodePage> SystemCodePage::open(std::uint16_t id) {
    char name[16];
    std::snprintf(name, sizeof name, "CP%03u", static_cast<unsigned>(id));
    auto converters = std::make_unique<Converters>(name);
    if (converters->decoder == kNoConverter || converters->encoder == kNoConverter) return nullptr;
    return std::unique_ptr<SystemCodePage>(new SystemCodePage(std::move(converters)));
}

std::string SystemCodePage::toUtf8(std::string_view bytes) const {
    const iconv_t decoder = converters_->decoder;
    reset(decoder);
    std::string out;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const Stop stop = run(decoder, bytes.substr(at), out);
        at += stop.taken;
        if (at == bytes.size()) break;
        // A byte the page does not define is passed over; a character cut short ends the text.
        out += kReplacement;
        at = stop.error == EINVAL ? bytes.size() : at + 1;
    }
    finish(decoder, out);
    return out;
}

std::optional<std::string> SystemCodePage::fromUtf8(std::string_view text, std::size_t& badAt) const {
    const iconv_t encoder = converters_->encoder;
    reset(encoder);
    std::string out;
    const Stop stop = run(encoder, text, out);
    if (stop.taken < text.size()) {
        badAt = stop.taken;
        return std::nullopt;
    }
    finish(encoder, out);
    return out;
}

}  // namespace pdx
