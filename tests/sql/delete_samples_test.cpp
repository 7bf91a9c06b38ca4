// DELETE through the engine on copies of real Paradox tables: the rows left must be exactly
// the rows for which the condition is not TRUE, in their order. The expected outcome is
// worked out here, row by row, with three-valued logic written out by hand.
#include "pdx/engine.h"
#include "pdx/table.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>

using namespace pdx;

namespace {

const std::string samples = PDX_SAMPLES;

using Row = std::vector<Value>;
using Tri = std::optional<bool>;  // nullopt is UNKNOWN

Tri tri(bool known, bool value) { return known ? Tri(value) : std::nullopt; }
Tri both(Tri a, Tri b) {
    if (a == false || b == false) return false;
    if (!a || !b) return std::nullopt;
    return true;
}
Tri either(Tri a, Tri b) {
    if (a == true || b == true) return true;
    if (!a || !b) return std::nullopt;
    return false;
}
Tri negated(Tri a) { return a ? Tri(!*a) : std::nullopt; }

std::optional<double> number(const Value& v) {
    if (auto i = std::get_if<std::int64_t>(&v)) return static_cast<double>(*i);
    if (auto d = std::get_if<double>(&v)) return *d;
    return std::nullopt;
}
std::optional<std::string> text(const Value& v) {
    if (auto s = std::get_if<std::string>(&v)) return *s;
    return std::nullopt;
}
std::optional<std::int32_t> days(const Value& v) {
    if (auto d = std::get_if<Date>(&v)) return d->days;
    return std::nullopt;
}
// Compares a field with a constant: UNKNOWN when the field is blank.
template <typename T, typename Compare>
Tri compare(const std::optional<T>& value, Compare holds) {
    return value ? Tri(holds(*value)) : std::nullopt;
}

// Rows as text, one line each, for readable failures.
std::vector<std::string> rendered(const std::vector<Row>& rows, const std::vector<FieldDef>& fields) {
    std::vector<std::string> lines;
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i)
            line += (i ? " | " : "") + formatValue(row[i], fields[i]);
        lines.push_back(line);
    }
    return lines;
}

struct SampleCase {
    std::string name;
    std::string sample;  // relative to the samples folder
    std::string condition;
    std::function<Tri(const Row&)> truth;  // the condition's value for a row
};

std::string caseName(const testing::TestParamInfo<SampleCase>& info) { return info.param.name; }

void PrintTo(const SampleCase& c, std::ostream* os) { *os << c.sample << ": " << c.condition; }

class DeleteOnSamples : public testing::TestWithParam<SampleCase> {};

TEST_P(DeleteOnSamples, LeavesRowsWhoseConditionIsNotTrue) {
    const SampleCase& c = GetParam();
    TempFolder folder("delete");
    std::filesystem::path source = std::filesystem::path(samples) / c.sample;
    for (const auto& entry : std::filesystem::directory_iterator(source.parent_path())) {
        if (entry.path().stem() == source.stem()) {
            std::filesystem::copy_file(entry.path(), folder.path() / entry.path().filename());
        }
    }
    std::string table = folder.file(source.filename().string());

    std::vector<Row> expected;
    std::int64_t expectedDeleted = 0;
    for (const Row& row : Table(table).readAll()) {
        if (c.truth(row) == true)
            ++expectedDeleted;
        else
            expected.push_back(row);
    }
    ASSERT_GT(expectedDeleted, 0) << "the case should delete something";

    std::int64_t deleted = execute("DELETE FROM \"" + table + "\" WHERE " + c.condition);
    EXPECT_EQ(deleted, expectedDeleted);
    Table after(table);
    std::vector<Row> left = after.readAll();
    EXPECT_EQ(rendered(left, after.fields()), rendered(expected, after.fields()));
    EXPECT_TRUE(left == expected) << "values differ beyond their text";
    EXPECT_EQ(after.info().recordCount, expected.size());
}

constexpr std::int32_t june1988 = 725889;  // 1988-06-01

// misc/ORDERS.DB: 0 Order No (N), 2 Sale Date, 4 Ship VIA, 6 Amount Paid ($), 7 Balance Due ($),
// 9 Payment Method.
INSTANTIATE_TEST_SUITE_P(
    Orders, DeleteOnSamples,
    testing::Values(
        SampleCase{"ShipVia", "misc/ORDERS.DB", "\"Ship VIA\" = 'UPS'",
                   [](const Row& r) { return compare(text(r[4]), [](auto v) { return v == "UPS"; }); }},
        SampleCase{"DateOrBalance", "misc/ORDERS.DB",
                   "\"sale date\" < '1988-06-01' OR \"Balance Due\" > 1000",
                   [](const Row& r) {
                       return either(compare(days(r[2]), [](auto v) { return v < june1988; }),
                                     compare(number(r[7]), [](auto v) { return v > 1000; }));
                   }},
        SampleCase{"NotCreditAndPaid", "misc/ORDERS.DB",
                   "NOT (\"Payment Method\" = 'Credit' AND \"Amount Paid\" >= 5000.5)\r\n",
                   [](const Row& r) {
                       return negated(both(compare(text(r[9]), [](auto v) { return v == "Credit"; }),
                                           compare(number(r[6]), [](auto v) { return v >= 5000.5; })));
                   }},
        SampleCase{"OrderNumberRange", "misc/ORDERS.DB", "\"Order No\" > 1100 AND \"Order No\" <= 1200.5",
                   [](const Row& r) {
                       return both(compare(number(r[0]), [](auto v) { return v > 1100; }),
                                   compare(number(r[0]), [](auto v) { return v <= 1200.5; }));
                   }}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    FieldTypes, DeleteOnSamples,
    testing::Values(
        // Blank dates and longs are never deleted by <>.
        SampleCase{"DateNotEqualKeepsBlanks", "fields/date7.db", "DATE <> '2018-01-01'",
                   [](const Row& r) { return compare(days(r[0]), [](auto v) { return v != 736695; }); }},
        SampleCase{"DateOrTimeBlank", "fields/date7.db", "TIME IS NULL OR DATE IS NULL",
                   [](const Row& r) {
                       return Tri(std::holds_alternative<std::monostate>(r[1]) ||
                                  std::holds_alternative<std::monostate>(r[0]));
                   }},
        SampleCase{"LongNotEqualKeepsBlanks", "fields/long.db", "LONG <> 1",
                   [](const Row& r) { return compare(number(r[1]), [](auto v) { return v != 1; }); }},
        SampleCase{"ShortAgainstDecimal", "joins/joina.db", "ID >= 2.5",
                   [](const Row& r) { return compare(number(r[0]), [](auto v) { return v >= 2.5; }); }},
        SampleCase{"Number", "misc/DECIMAL.DB", "DECIMAL > 1.37",
                   [](const Row& r) { return compare(number(r[0]), [](auto v) { return v > 1.37; }); }},
        SampleCase{"Bcd", "fields/bcd.db", "A < 0 OR C > 0.5",
                   [](const Row& r) {
                       auto negative = [](const Value& v) -> Tri {
                           auto d = std::get_if<Decimal>(&v);
                           return tri(d != nullptr, d && d->negative);
                       };
                       // C holds 0.1229…, -0.1229… and 0.9999…: only the last is above 0.5.
                       auto cAbove = [](const Value& v) -> Tri {
                           auto d = std::get_if<Decimal>(&v);
                           return tri(d != nullptr, d && !d->negative && d->digits.starts_with("9999"));
                       };
                       return either(negative(r[0]), cAbove(r[2]));
                   }},
        SampleCase{"CurrencyAndAlpha", "misc/GENERAL.DB", "MONEYS >= 100 AND NAME <> 'Mari'",
                   [](const Row& r) {
                       return both(compare(number(r[2]), [](auto v) { return v >= 100; }),
                                   compare(text(r[1]), [](auto v) { return v != "Mari"; }));
                   }},
        SampleCase{"Logical", "fields/logical.db", "BOOL = TRUE",
                   [](const Row& r) {
                       auto b = std::get_if<bool>(&r[0]);
                       return tri(b != nullptr, b && *b);
                   }},
        SampleCase{"Time", "fields/time.db", "Time > '02:00:00'",
                   [](const Row& r) {
                       auto t = std::get_if<Time>(&r[0]);
                       return tri(t != nullptr, t && t->milliseconds > 7'200'000);
                   }},
        SampleCase{"Timestamp", "fields/timestamp.db", "Timestamp >= '2020-02-01 01:00:01'",
                   [](const Row& r) { return tri(!std::holds_alternative<std::monostate>(r[0]), true); }}),
    caseName);

}  // namespace
