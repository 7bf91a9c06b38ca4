// What a table's header says about it, its fields' types, and field values as the engine
// sees them.
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
struct Date {
    std::int32_t days;
    auto operator<=>(const Date&) const = default;
};
struct Time {
    std::int32_t milliseconds;
    auto operator<=>(const Time&) const = default;
};
struct Timestamp {
    double milliseconds;
    auto operator<=>(const Timestamp&) const = default;
};
struct Decimal {
    bool negative = false;
    std::string digits;  // decimal digits without sign or point, most significant first
    int scale = 0;       // digits after the point
    bool operator==(const Decimal&) const = default;
};
struct Binary {
    std::vector<std::uint8_t> bytes;
    bool operator==(const Binary&) const = default;
};

using Value = std::variant<std::monostate, bool, std::int64_t, double, std::string, Date, Time, Timestamp,
                           Decimal, Binary>;

// What a table's header says about it.
struct TableInfo {
    std::uint8_t level = 0;     // format level byte (0x03..0x0C; 0x0C is Paradox 7)
    std::uint8_t fileType = 0;  // 0x00 keyed, 0x02 unkeyed
    bool keyed() const { return fileType == 0x00; }
    std::uint32_t blockSize = 0;   // bytes
    std::uint16_t recordSize = 0;  // bytes
    std::uint32_t recordCount = 0;
    std::uint16_t headerSize = 0;    // bytes before the first data block
    std::uint16_t fileBlocks = 0;    // data blocks in the file
    std::uint16_t codePage = 0;      // e.g. 1251
    std::uint8_t sortOrder = 0;      // header byte; 0x00 ASCII
    std::string sortOrderName;       // e.g. "ascii" ("" when the header has none)
    std::int32_t autoIncrement = 0;  // the header's counter
    std::uint16_t keyFieldCount = 0;
    bool encrypted = false;
};

// A value as text for display: dates YYYY-MM-DD, times HH:MM:SS, timestamps
// "YYYY-MM-DD HH:MM:SS", logical true/false, numbers in plain notation, BCD with its scale,
// blanks as "" and binary data as hex.
std::string formatValue(const Value& value, const FieldDef& field);

// The type's letter as Paradox shows it in structures: A, D, S, I, $, N, L, M, B, F, O, G,
// T, @, +, #, Y.
char fieldTypeLetter(FieldType type);

}  // namespace pdx
