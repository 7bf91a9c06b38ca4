#include "pdx/sql/literal.h"
#include "pdx/statements/field_values.h"
#include "sql_test_support.h"

using namespace pdx;
using namespace pdx::sql;

namespace {

Value convert(const Literal& literal, FieldType type, std::uint8_t size = 0) {
    return onTable("t.db", [&] { return toFieldValue(literal, FieldDef{"F", type, size}); });
}

Literal number(const std::string& text) { return Number{text}; }

struct ConversionCase {
    Literal literal;
    FieldType type;
    std::uint8_t size;
    Value expected;
};

void PrintTo(const ConversionCase& c, std::ostream* os) {
    *os << literalText(c.literal) << " into type " << int(c.type) << " size " << int(c.size);
}

class FieldValue : public testing::TestWithParam<ConversionCase> {};

TEST_P(FieldValue, Converts) {
    const auto& c = GetParam();
    EXPECT_EQ(convert(c.literal, c.type, c.size), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldValue,
    testing::Values(
        ConversionCase{Null{}, FieldType::Long, 4, Value{}},
        ConversionCase{Null{}, FieldType::Alpha, 10, Value{}},
        ConversionCase{number("32767"), FieldType::Short, 2, std::int64_t{32767}},
        ConversionCase{number("-32767"), FieldType::Short, 2, std::int64_t{-32767}},
        ConversionCase{number("+12"), FieldType::Short, 2, std::int64_t{12}},
        ConversionCase{number("7.000"), FieldType::Short, 2, std::int64_t{7}},
        ConversionCase{number("-0"), FieldType::Long, 4, std::int64_t{0}},
        ConversionCase{number("2147483647"), FieldType::Long, 4, std::int64_t{2147483647}},
        ConversionCase{number("-2147483647"), FieldType::Long, 4, std::int64_t{-2147483647}},
        ConversionCase{number("1"), FieldType::AutoInc, 4, std::int64_t{1}},
        ConversionCase{number("0.1"), FieldType::Number, 8, 0.1},
        ConversionCase{number("-12.5"), FieldType::Currency, 8, -12.5},
        ConversionCase{number("+.5"), FieldType::Number, 8, 0.5},
        ConversionCase{number("3"), FieldType::Number, 8, 3.0},
        ConversionCase{number("12.5"), FieldType::Bcd, 2, Decimal{false, "1250", 2}},
        ConversionCase{number("-0.05"), FieldType::Bcd, 2, Decimal{true, "5", 2}},
        ConversionCase{number("7"), FieldType::Bcd, 0, Decimal{false, "7", 0}},
        ConversionCase{number("1.500"), FieldType::Bcd, 1, Decimal{false, "15", 1}},
        ConversionCase{number("-0.00"), FieldType::Bcd, 2, Decimal{false, "0", 2}},
        ConversionCase{number("99999999999999999999999999999999"), FieldType::Bcd, 0,
                       Decimal{false, "99999999999999999999999999999999", 0}},
        ConversionCase{true, FieldType::Logical, 1, true},
        ConversionCase{false, FieldType::Logical, 1, false},
        // fields/date7.db holds 2018-01-01 as day 736695.
        ConversionCase{std::string("2018-01-01"), FieldType::Date, 4, Date{736695}},
        ConversionCase{std::string("0001-01-01"), FieldType::Date, 4, Date{1}},
        ConversionCase{std::string("2000-02-29"), FieldType::Date, 4, Date{730179}},
        ConversionCase{std::string("00:00:00"), FieldType::Time, 4, Time{0}},
        ConversionCase{std::string("23:59:59.999"), FieldType::Time, 4, Time{86'399'999}},
        ConversionCase{std::string("10:30"), FieldType::Time, 4, Time{37'800'000}},
        ConversionCase{std::string("12:00:00.5"), FieldType::Time, 4, Time{43'200'500}},
        ConversionCase{std::string("12:00:00.05"), FieldType::Time, 4, Time{43'200'050}},
        // fields/timestamp.db holds 2020-02-01 01:00:01 as 63716202001000 ms.
        ConversionCase{std::string("2020-02-01 01:00:01"), FieldType::Timestamp, 8,
                       Timestamp{63716202001000.0}},
        ConversionCase{std::string("2020-02-01T01:00:01"), FieldType::Timestamp, 8,
                       Timestamp{63716202001000.0}},
        ConversionCase{std::string("2020-02-01"), FieldType::Timestamp, 8, Timestamp{63716198400000.0}},
        ConversionCase{std::string("Jingle"), FieldType::Alpha, 6, std::string("Jingle")},
        ConversionCase{std::string("Джингл"), FieldType::Alpha, 6, std::string("Джингл")},
        ConversionCase{std::string(""), FieldType::Alpha, 6, std::string("")},
        ConversionCase{std::string("long text"), FieldType::Memo, 11, std::string("long text")},
        ConversionCase{std::string("{\\rtf}"), FieldType::FormattedMemo, 11, std::string("{\\rtf}")},
        ConversionCase{std::string("ab"), FieldType::Bytes, 2, Binary{{'a', 'b'}}},
        ConversionCase{std::string("xyz"), FieldType::Blob, 10, Binary{{'x', 'y', 'z'}}},
        ConversionCase{std::string("g"), FieldType::Graphic, 10, Binary{{'g'}}},
        ConversionCase{std::string("o"), FieldType::Ole, 10, Binary{{'o'}}}));

struct RefusalCase {
    Literal literal;
    FieldType type;
    std::uint8_t size;
    std::string message;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << literalText(c.literal) << " into type " << int(c.type) << " size " << int(c.size);
}

class FieldValueRefused : public testing::TestWithParam<RefusalCase> {};

TEST_P(FieldValueRefused, NamesTableFieldAndProblem) {
    const auto& c = GetParam();
    expectError([&] { convert(c.literal, c.type, c.size); }, {"Таблица «t.db», поле «F»", c.message});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldValueRefused,
    testing::Values(
        RefusalCase{number("32768"), FieldType::Short, 2, "от -32767 до 32767"},
        RefusalCase{number("-32768"), FieldType::Short, 2, "от -32767 до 32767"},
        RefusalCase{number("2147483648"), FieldType::Long, 4, "от -2147483647 до 2147483647"},
        RefusalCase{number("-2147483648"), FieldType::AutoInc, 4, "вне допустимого диапазона"},
        RefusalCase{number("99999999999999999999999"), FieldType::Long, 4, "вне допустимого диапазона"},
        RefusalCase{number("1.5"), FieldType::Long, 4, "ожидалось целое число"},
        RefusalCase{std::string("5"), FieldType::Long, 4, "не подходит для поля типа «целое»"},
        RefusalCase{true, FieldType::Short, 2, "не подходит"},
        RefusalCase{std::string("1.5"), FieldType::Number, 8, "не подходит"},
        RefusalCase{number("1" + std::string(400, '0')), FieldType::Number, 8, "слишком большое"},
        RefusalCase{number("1.234"), FieldType::Bcd, 2, "больше 2 цифр после точки"},
        RefusalCase{number("1" + std::string(32, '0')), FieldType::Bcd, 0, "больше 32 цифр"},
        RefusalCase{number("1" + std::string(30, '0')), FieldType::Bcd, 2, "больше 32 цифр"},
        RefusalCase{number("1"), FieldType::Logical, 1, "не подходит для поля типа «логическое»"},
        RefusalCase{std::string("true"), FieldType::Logical, 1, "не подходит"},
        RefusalCase{std::string("2018-13-01"), FieldType::Date, 4, "ГГГГ-ММ-ДД"},
        RefusalCase{std::string("2019-02-29"), FieldType::Date, 4, "ГГГГ-ММ-ДД"},
        RefusalCase{std::string("0000-01-01"), FieldType::Date, 4, "ГГГГ-ММ-ДД"},
        RefusalCase{std::string("18-01-01"), FieldType::Date, 4, "ГГГГ-ММ-ДД"},
        RefusalCase{std::string("2018-01-01 "), FieldType::Date, 4, "ГГГГ-ММ-ДД"},
        RefusalCase{number("20180101"), FieldType::Date, 4, "не подходит"},
        RefusalCase{std::string("24:00:00"), FieldType::Time, 4, "ЧЧ:ММ:СС"},
        RefusalCase{std::string("12:60"), FieldType::Time, 4, "ЧЧ:ММ:СС"},
        RefusalCase{std::string("12:00:00.5555"), FieldType::Time, 4, "ЧЧ:ММ:СС"},
        RefusalCase{std::string("12:00:00."), FieldType::Time, 4, "ЧЧ:ММ:СС"},
        RefusalCase{std::string("12:00:0"), FieldType::Time, 4, "ЧЧ:ММ:СС"},
        RefusalCase{std::string("2020-02-01 25:00"), FieldType::Timestamp, 8, "ГГГГ-ММ-ДД ЧЧ:ММ:СС"},
        RefusalCase{std::string("Jingles"), FieldType::Alpha, 6, "длиннее 6 символов"},
        RefusalCase{std::string("Джинглы"), FieldType::Alpha, 6, "длиннее 6 символов"},
        RefusalCase{number("5"), FieldType::Alpha, 6, "не подходит для поля типа «текст»"},
        RefusalCase{std::string("abc"), FieldType::Bytes, 2, "длиннее 2 байт"},
        RefusalCase{number("5"), FieldType::Memo, 10, "не подходит"},
        RefusalCase{false, FieldType::Blob, 10, "не подходит"}));

}  // namespace
