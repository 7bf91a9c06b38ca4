#include "pdx/format/field_codec.h"

#include "pdx/error.h"
#include "pdx/format/field_layout.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace pdx {
namespace {

bool allZero(const std::uint8_t* p, std::size_t n) {
    return std::all_of(p, p + n, [](std::uint8_t b) { return b == 0; });
}

std::uint64_t bigEndian(const std::uint8_t* p, std::size_t n) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
}

void putBigEndian(std::uint8_t* p, std::size_t n, std::uint64_t v) {
    for (std::size_t i = n; i-- > 0;) {
        p[i] = static_cast<std::uint8_t>(v);
        v >>= 8;
    }
}

// Signed integers of n bytes: the top bit is flipped.
std::int64_t decodeInteger(const std::uint8_t* p, std::size_t n) {
    const std::uint64_t signBit = std::uint64_t(1) << (n * 8 - 1);
    const std::uint64_t raw = bigEndian(p, n) ^ signBit;
    const std::uint64_t mask = n == 8 ? ~0ull : (std::uint64_t(1) << (n * 8)) - 1;
    return static_cast<std::int64_t>((raw & signBit) ? (raw | ~mask) : raw);
}

void encodeInteger(std::uint8_t* p, std::size_t n, std::int64_t v) {
    const std::uint64_t signBit = std::uint64_t(1) << (n * 8 - 1);
    putBigEndian(p, n, static_cast<std::uint64_t>(v) ^ signBit);
}

// Doubles: positive values have the sign bit flipped, negative ones all bits inverted.
double decodeDouble(const std::uint8_t* p) {
    std::uint64_t raw = bigEndian(p, 8);
    raw = (raw & 0x8000000000000000ull) ? raw ^ 0x8000000000000000ull : ~raw;
    return std::bit_cast<double>(raw);
}

void encodeDouble(std::uint8_t* p, double v) {
    std::uint64_t raw = std::bit_cast<std::uint64_t>(v);
    raw = (raw & 0x8000000000000000ull) ? ~raw : raw ^ 0x8000000000000000ull;
    putBigEndian(p, 8, raw);
}

constexpr std::uint8_t kBcdPositive = 0xC0;
constexpr std::uint8_t kBcdNegative = 0x40;

// BCD: byte 0 holds the sign (top bit set for positive) and the scale; then 32 digits,
// one per nibble, inverted for negative values.
Decimal decodeBcd(const std::uint8_t* p, int scale) {
    Decimal d;
    d.negative = (p[0] & 0x80) == 0;
    d.scale = scale;
    const std::uint8_t flip = d.negative ? 0x0F : 0x00;
    // A nibble that is no digit ends the digits Paradox stored; the rest is noise.
    std::string digits;
    bool noise = false;
    for (std::size_t nibble = 2; nibble < kBcdWidth * 2; ++nibble) {
        const std::uint8_t b = p[nibble / 2];
        const std::uint8_t v = ((nibble % 2) ? (b & 0x0F) : (b >> 4)) ^ flip;
        noise = noise || v > 9;
        digits += static_cast<char>('0' + (noise ? 0 : v));
    }
    // Keep at least one digit before the point.
    const std::size_t keep = static_cast<std::size_t>(scale) + 1;
    std::size_t first = 0;
    while (first + keep < digits.size() && digits[first] == '0') ++first;
    d.digits = digits.substr(first);
    return d;
}

void encodeBcd(std::uint8_t* p, const Decimal& d, const FieldDef& field) {
    const int scale = field.size;
    std::string digits = d.digits;
    if (d.scale > scale) {
        throw Error::field(field.name, "слишком много знаков после запятой");
    }
    digits.append(static_cast<std::size_t>(scale - d.scale), '0');
    const std::size_t slots = kBcdWidth * 2 - 2;
    const auto firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero != std::string::npos && digits.size() - firstNonZero > slots) {
        throw Error::field(field.name, "число не помещается в поле");
    }
    if (digits.size() > slots) digits = digits.substr(digits.size() - slots);
    digits.insert(0, slots - digits.size(), '0');
    const bool negative = d.negative && firstNonZero != std::string::npos;
    const std::uint8_t flip = negative ? 0x0F : 0x00;
    std::memset(p, 0, kBcdWidth);
    p[0] = static_cast<std::uint8_t>((negative ? kBcdNegative : kBcdPositive) | scale);
    for (std::size_t i = 0; i < slots; ++i) {
        const std::size_t nibble = i + 2;
        const auto v = static_cast<std::uint8_t>((digits[i] - '0') ^ flip);
        p[nibble / 2] |= static_cast<std::uint8_t>((nibble % 2) ? v : (v << 4));
    }
}

std::string text(const std::uint8_t* p, std::size_t n) {
    const auto end = std::find(p, p + n, 0);
    return std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(end - p));
}

Error unsupported(const FieldDef& field, const CodePage& codePage) {
    return Error::field(field.name, "кодовая страница " + std::to_string(codePage.id()) +
                                        " не поддерживается ни программой, ни системой");
}

}  // namespace

std::string decodeText(const std::string& bytes, const FieldDef& field, const CodePage& codePage) {
    auto utf8 = codePage.toUtf8(bytes);
    if (!utf8) throw unsupported(field, codePage);
    return *utf8;
}

std::string encodeText(const std::string& text, const FieldDef& field, const CodePage& codePage) {
    std::string bad;
    auto bytes = codePage.fromUtf8(text, &bad);
    if (!bytes) {
        if (!codePage.known()) throw unsupported(field, codePage);
        throw Error::field(field.name, "символ \"" + bad + "\" нельзя записать в кодовой странице " +
                                           std::to_string(codePage.id()));
    }
    return *bytes;
}

Value decodeField(const std::uint8_t* p, const FieldDef& field, const CodePage& codePage) {
    const std::size_t width = fieldWidth(field);
    switch (field.type) {
    case FieldType::Alpha: {
        const std::string bytes = text(p, width);
        if (bytes.empty()) return {};
        return decodeText(bytes, field, codePage);
    }
    case FieldType::Bcd:
        if (p[0] == 0) return {};
        return decodeBcd(p, field.size);
    case FieldType::Logical:
        if (p[0] == 0) return {};
        return p[0] != 0x80;
    default: break;
    }
    if (allZero(p, width)) return {};
    switch (field.type) {
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc: return decodeInteger(p, width);
    case FieldType::Date: return Date{static_cast<std::int32_t>(decodeInteger(p, 4))};
    case FieldType::Time: return Time{static_cast<std::int32_t>(decodeInteger(p, 4))};
    case FieldType::Currency:
    case FieldType::Number: return decodeDouble(p);
    case FieldType::Timestamp: return Timestamp{decodeDouble(p)};
    case FieldType::Bytes: return Binary{std::vector<std::uint8_t>(p, p + width)};
    default: break;
    }
    throw Error::field(field.name, "неизвестный тип поля");
}

void encodeField(const Value& value, const FieldDef& field, const CodePage& codePage, std::uint8_t* out) {
    const std::size_t width = fieldWidth(field);
    std::memset(out, 0, width);
    if (std::holds_alternative<std::monostate>(value)) return;
    const auto mismatch = [&] { return Error::field(field.name, "значение не того типа"); };
    switch (field.type) {
    case FieldType::Alpha: {
        const auto* s = std::get_if<std::string>(&value);
        if (!s) throw mismatch();
        const std::string bytes = encodeText(*s, field, codePage);
        if (bytes.size() > width) throw Error::field(field.name, "строка длиннее поля");
        std::memcpy(out, bytes.data(), bytes.size());
        return;
    }
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc: {
        const auto* v = std::get_if<std::int64_t>(&value);
        if (!v) throw mismatch();
        const std::int64_t limit = std::int64_t(1) << (width * 8 - 1);
        // The smallest value's pattern is the blank one.
        if (*v <= -limit || *v >= limit) throw Error::field(field.name, "число вне диапазона");
        encodeInteger(out, width, *v);
        return;
    }
    case FieldType::Date:
        if (const auto* d = std::get_if<Date>(&value)) return encodeInteger(out, 4, d->days);
        throw mismatch();
    case FieldType::Time:
        if (const auto* t = std::get_if<Time>(&value)) return encodeInteger(out, 4, t->milliseconds);
        throw mismatch();
    case FieldType::Currency:
    case FieldType::Number:
        if (const auto* d = std::get_if<double>(&value)) {
            if (!std::isfinite(*d)) throw Error::field(field.name, "число вне диапазона");
            return encodeDouble(out, *d);
        }
        if (const auto* i = std::get_if<std::int64_t>(&value)) {
            return encodeDouble(out, static_cast<double>(*i));
        }
        throw mismatch();
    case FieldType::Timestamp:
        if (const auto* t = std::get_if<Timestamp>(&value)) return encodeDouble(out, t->milliseconds);
        throw mismatch();
    case FieldType::Logical:
        if (const auto* b = std::get_if<bool>(&value)) {
            out[0] = *b ? 0x81 : 0x80;
            return;
        }
        throw mismatch();
    case FieldType::Bcd:
        if (const auto* d = std::get_if<Decimal>(&value)) return encodeBcd(out, *d, field);
        throw mismatch();
    case FieldType::Bytes:
        if (const auto* b = std::get_if<Binary>(&value)) {
            if (b->bytes.size() > width) throw Error::field(field.name, "данные длиннее поля");
            std::copy(b->bytes.begin(), b->bytes.end(), out);
            return;
        }
        throw mismatch();
    default: break;
    }
    throw Error::field(field.name, "этот тип поля так записать нельзя");
}

}  // namespace pdx
