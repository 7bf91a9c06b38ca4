// Field types as stored in a table header, and field values as the engine sees them.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace pdx {

enum class FieldType : std::uint8_t {
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Number = 0x06,
    Logical = 0x09,
    Memo = 0x0C,
    Blob = 0x0D,
    FormattedMemo = 0x0E,
    Ole = 0x0F,
    Graphic = 0x10,
    Time = 0x14,
    Timestamp = 0x15,
    AutoInc = 0x16,
    Bcd = 0x17,
    Bytes = 0x18,
};

struct FieldDef {
    std::string name;  // UTF-8
    FieldType type;
    std::uint8_t size;  // bytes in the record; for BCD the header's size byte is the scale
};

// A value of a field. Blank fields are std::monostate.
//  - Alpha, Memo/FormattedMemo text: std::string (UTF-8, decoded from the table's code page)
//  - Short, Long, AutoInc: std::int64_t
//  - Number, Currency: double
//  - Logical: bool
//  - Date: Date (days since 1 Jan 0001, day 1 = that date), Time: Time, Timestamp: Timestamp
//  - Bcd: Decimal
//  - Bytes, Blob, Ole, Graphic: Binary
struct Date { std::int32_t days; auto operator<=>(const Date&) const = default; };
struct Time { std::int32_t milliseconds; auto operator<=>(const Time&) const = default; };
struct Timestamp { double milliseconds; auto operator<=>(const Timestamp&) const = default; };
struct Decimal {
    bool negative = false;
    std::string digits;  // decimal digits without sign or point, most significant first
    int scale = 0;       // digits after the point
    bool operator==(const Decimal&) const = default;
};
struct Binary { std::vector<std::uint8_t> bytes; bool operator==(const Binary&) const = default; };

using Value = std::variant<std::monostate, bool, std::int64_t, double, std::string, Date, Time,
                           Timestamp, Decimal, Binary>;

}  // namespace pdx
