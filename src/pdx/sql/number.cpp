#include "pdx/sql/number.h"

#include <charconv>
#include <limits>
#include <string>

namespace pdx::sql {

namespace {

bool allDigits(std::string_view text) {
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// The integer part (no leading zeros) and fraction (no trailing zeros) of a decimal.
struct Parts {
    std::string_view whole;
    std::string_view fraction;
};

Parts partsOf(const Decimal& d) {
    std::string_view digits = d.digits;
    std::size_t wholeLength = digits.size() > static_cast<std::size_t>(d.scale) ? digits.size() - d.scale : 0;
    std::string_view whole = digits.substr(0, wholeLength);
    std::string_view fraction = digits.substr(wholeLength);
    while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
    while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
    return {whole, fraction};
}

// Compares magnitudes; a fraction shorter than scale has implied leading zeros.
int compareMagnitudes(const Decimal& a, const Decimal& b) {
    Parts pa = partsOf(a);
    Parts pb = partsOf(b);
    if (pa.whole.size() != pb.whole.size()) return pa.whole.size() < pb.whole.size() ? -1 : 1;
    if (int c = pa.whole.compare(pb.whole); c != 0) return c < 0 ? -1 : 1;
    // Pad the fractions to the full scale so that digits line up.
    auto fractionOf = [](const Decimal& d, std::string_view trimmed) {
        if (trimmed.empty()) return std::string();
        std::size_t leading =
            static_cast<std::size_t>(d.scale) > d.digits.size() ? d.scale - d.digits.size() : 0;
        return std::string(leading, '0') + std::string(trimmed);
    };
    std::string fa = fractionOf(a, pa.fraction);
    std::string fb = fractionOf(b, pb.fraction);
    if (int c = fa.compare(fb); c != 0) return c < 0 ? -1 : 1;
    return 0;
}

bool isZero(const Decimal& d) { return d.digits.find_first_not_of('0') == std::string::npos; }

}  // namespace

std::optional<Decimal> parseDecimal(std::string_view text) {
    Decimal result;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        result.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if ((whole.empty() && fraction.empty()) || !allDigits(whole) || !allDigits(fraction)) return std::nullopt;
    std::string digits = std::string(whole) + std::string(fraction);
    std::size_t first = digits.find_first_not_of('0');
    result.digits = first == std::string::npos ? "0" : digits.substr(first);
    result.scale = static_cast<int>(fraction.size());
    if (isZero(result)) result.negative = false;
    return result;
}

int compareDecimals(const Decimal& a, const Decimal& b) {
    bool aNegative = a.negative && !isZero(a);
    bool bNegative = b.negative && !isZero(b);
    if (aNegative != bNegative) return aNegative ? -1 : 1;
    int magnitude = compareMagnitudes(a, b);
    return aNegative ? -magnitude : magnitude;
}

IntegerBound::IntegerBound(const Decimal& value) {
    Parts parts = partsOf(value);
    fraction_ = !parts.fraction.empty();
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    std::uint64_t whole = 0;
    auto [end, error] = std::from_chars(parts.whole.data(), parts.whole.data() + parts.whole.size(), whole);
    // Negative numbers reach one further than positive ones.
    std::uint64_t limit = static_cast<std::uint64_t>(max) + (value.negative ? 1 : 0);
    bool tooBig = !parts.whole.empty() && (error != std::errc() || whole > limit);
    if (tooBig) {
        beyond_ = value.negative ? -1 : 1;
        return;
    }
    if (!value.negative) {
        floor_ = static_cast<std::int64_t>(whole);
        return;
    }
    // -w.f has floor -(w + 1) when there is a fraction.
    floor_ = static_cast<std::int64_t>(0 - whole);
    if (fraction_) {
        if (floor_ == std::numeric_limits<std::int64_t>::min())
            beyond_ = -1;
        else
            --floor_;
    }
}

int IntegerBound::compare(std::int64_t value) const {
    if (beyond_ != 0) return -beyond_;
    if (value < floor_) return -1;
    if (value > floor_) return 1;
    return fraction_ ? -1 : 0;
}

}  // namespace pdx::sql
