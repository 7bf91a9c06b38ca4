#include "pdx/format/calendar.h"
#include "pdx/value.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace pdx {
namespace {

std::string twoDigits(std::int64_t v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02lld", static_cast<long long>(v));
    return buf;
}

std::string dateText(std::int64_t days) {
    const auto d = calendar::fromDayNumber(days);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u", static_cast<long long>(d.year), d.month, d.day);
    return buf;
}

std::string timeText(std::int64_t ms) {
    std::string s =
        twoDigits(ms / 3600000) + ":" + twoDigits(ms / 60000 % 60) + ":" + twoDigits(ms / 1000 % 60);
    if (ms % 1000 != 0) {
        char buf[8];
        std::snprintf(buf, sizeof buf, ".%03lld", static_cast<long long>(ms % 1000));
        s += buf;
    }
    return s;
}

std::string numberText(double v, bool currency) {
    char buf[64];
    if (currency) {
        std::snprintf(buf, sizeof buf, "%.2f", v);
    } else {
        std::snprintf(buf, sizeof buf, "%.15g", v);
    }
    return buf;
}

std::string decimalText(const Decimal& d) {
    std::string digits = d.digits;
    const auto scale = static_cast<std::size_t>(d.scale);
    if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
    std::string s = d.negative ? "-" : "";
    s += digits.substr(0, digits.size() - scale);
    if (scale > 0) s += "." + digits.substr(digits.size() - scale);
    return s;
}

std::string hexText(const Binary& b) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string s;
    for (auto byte : b.bytes) {
        s += kHex[byte >> 4];
        s += kHex[byte & 0x0F];
    }
    return s;
}

}  // namespace

std::string formatValue(const Value& value, const FieldDef& field) {
    struct Visitor {
        const FieldDef& field;
        std::string operator()(std::monostate) const { return ""; }
        std::string operator()(bool b) const { return b ? "true" : "false"; }
        std::string operator()(std::int64_t v) const { return std::to_string(v); }
        std::string operator()(double v) const { return numberText(v, field.type == FieldType::Currency); }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(const Date& d) const { return dateText(d.days); }
        std::string operator()(const Time& t) const { return timeText(t.milliseconds); }
        std::string operator()(const Timestamp& t) const {
            const auto ms = static_cast<std::int64_t>(std::llround(t.milliseconds));
            const std::int64_t days = ms / calendar::kMillisecondsPerDay;
            return dateText(days) + " " + timeText(ms % calendar::kMillisecondsPerDay);
        }
        std::string operator()(const Decimal& d) const { return decimalText(d); }
        std::string operator()(const Binary& b) const { return hexText(b); }
    };
    return std::visit(Visitor{field}, value);
}

char fieldTypeLetter(FieldType type) {
    switch (type) {
    case FieldType::Alpha: return 'A';
    case FieldType::Date: return 'D';
    case FieldType::Short: return 'S';
    case FieldType::Long: return 'I';
    case FieldType::Currency: return '$';
    case FieldType::Number: return 'N';
    case FieldType::Logical: return 'L';
    case FieldType::Memo: return 'M';
    case FieldType::Blob: return 'B';
    case FieldType::FormattedMemo: return 'F';
    case FieldType::Ole: return 'O';
    case FieldType::Graphic: return 'G';
    case FieldType::Time: return 'T';
    case FieldType::Timestamp: return '@';
    case FieldType::AutoInc: return '+';
    case FieldType::Bcd: return '#';
    case FieldType::Bytes: return 'Y';
    }
    return '?';
}

}  // namespace pdx
