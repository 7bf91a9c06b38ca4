#include "pdx/sql/predicate.h"
#include "pdx/sql/parser.h"
#include "sql_test_support.h"

#include <map>

using namespace pdx;
using namespace pdx::sql;

namespace {

const std::vector<FieldDef> jingleFields = {
    {"FKey", FieldType::Long, 4},        {"Name", FieldType::Alpha, 40},  {"Small", FieldType::Short, 2},
    {"Price", FieldType::Currency, 8},   {"Ratio", FieldType::Number, 8}, {"Amount", FieldType::Bcd, 2},
    {"Active", FieldType::Logical, 1},   {"Day", FieldType::Date, 4},     {"At", FieldType::Time, 4},
    {"Stamp", FieldType::Timestamp, 8},  {"Notes", FieldType::Memo, 20},  {"Order No", FieldType::AutoInc, 4},
    {"Picture", FieldType::Graphic, 10}, {"Raw", FieldType::Bytes, 4},
};

using Row = std::map<std::string, Value>;  // missing fields are blank

// Whether the row matches the statement's condition; also checks fieldsUsed() covers what
// is read.
bool matches(const std::string& condition, const Row& row) {
    auto statement = std::get<Delete>(parse("DELETE FROM \"j.db\" WHERE " + condition));
    Predicate predicate(statement.where.get(), jingleFields);
    const auto& used = predicate.fieldsUsed();
    return predicate.matches([&](std::size_t i) -> Value {
        EXPECT_NE(std::find(used.begin(), used.end(), i), used.end())
            << "read field " << i << " not in fieldsUsed";
        auto found = row.find(jingleFields.at(i).name);
        return found == row.end() ? Value{} : found->second;
    });
}

Decimal decimal(bool negative, std::string digits, int scale) { return {negative, std::move(digits), scale}; }

struct MatchCase {
    std::string condition;
    Row row;
    bool expected;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
    *os << c.condition << (c.row.empty() ? " (blank row)" : "");
}

class PredicateMatch : public testing::TestWithParam<MatchCase> {};

TEST_P(PredicateMatch, GivesTrueOnlyForTrueConditions) {
    EXPECT_EQ(matches(GetParam().condition, GetParam().row), GetParam().expected) << GetParam().condition;
}

const Row blank;
const Row fkey5 = {{"FKey", std::int64_t{5}}};
const Row fkey2 = {{"FKey", std::int64_t{2}}};
const Row fkeyNegative3 = {{"FKey", std::int64_t{-3}}};

INSTANTIATE_TEST_SUITE_P(
    Integers, PredicateMatch,
    testing::Values(MatchCase{"FKey <> 5", fkey5, false}, MatchCase{"FKey <> 5", fkey2, true},
                    MatchCase{"FKey = 5", fkey5, true}, MatchCase{"FKey < 5", fkey5, false},
                    MatchCase{"FKey <= 5", fkey5, true}, MatchCase{"FKey > 4", fkey5, true},
                    MatchCase{"FKey >= 6", fkey5, false}, MatchCase{"5 > FKey", fkey2, true},
                    MatchCase{"FKey < 2.5", fkey2, true}, MatchCase{"FKey > 2.5", fkey2, false},
                    MatchCase{"FKey = 2.0", fkey2, true}, MatchCase{"FKey = 2.5", fkey2, false},
                    MatchCase{"FKey <> 2.5", fkey2, true}, MatchCase{"FKey < -2.5", fkeyNegative3, true},
                    MatchCase{"FKey > -3.5", fkeyNegative3, true},
                    MatchCase{"FKey = -3", fkeyNegative3, true},
                    MatchCase{"FKey < 99999999999999999999999", fkey5, true},
                    MatchCase{"FKey > -99999999999999999999999", fkey5, true},
                    MatchCase{"FKey = 99999999999999999999999", fkey5, false},
                    MatchCase{"Small = 7", Row{{"Small", std::int64_t{7}}}, true},
                    MatchCase{"fkey = 5", fkey5, true},
                    MatchCase{"\"Order No\" = 12", Row{{"Order No", std::int64_t{12}}}, true},
                    MatchCase{"\"order no\" > 12", Row{{"Order No", std::int64_t{12}}}, false}));

// Three-valued logic: a comparison with a blank value is UNKNOWN.
INSTANTIATE_TEST_SUITE_P(
    Blanks, PredicateMatch,
    testing::Values(
        MatchCase{"FKey <> 5", blank, false}, MatchCase{"FKey = 5", blank, false},
        MatchCase{"NOT FKey = 5", blank, false}, MatchCase{"NOT (FKey <> 5)", blank, false},
        MatchCase{"FKey IS NULL", blank, true}, MatchCase{"FKey IS NOT NULL", blank, false},
        MatchCase{"FKey IS NULL", fkey5, false}, MatchCase{"FKey IS NOT NULL", fkey5, true},
        MatchCase{"NOT FKey IS NULL", blank, false}, MatchCase{"FKey <> 5 OR FKey IS NULL", blank, true},
        MatchCase{"FKey = 5 OR Name = 'x'", blank, false},
        MatchCase{"FKey = 5 OR TRUE = Active", Row{{"Active", true}}, true},
        MatchCase{"FKey = 5 AND Active = TRUE", Row{{"Active", true}}, false},
        MatchCase{"NOT (FKey = 5 AND Active = TRUE)", Row{{"Active", true}}, false},
        MatchCase{"NOT (FKey = 5 AND Active = TRUE)", Row{{"Active", false}}, true},  // UNKNOWN AND FALSE
        MatchCase{"NOT (FKey = 5 OR Active = TRUE)", Row{{"Active", false}}, false},  // UNKNOWN OR FALSE
        MatchCase{"Name = 'x' OR FKey = 5", fkey5, true}, MatchCase{"Price > 0", blank, false},
        MatchCase{"Amount < 0", blank, false}, MatchCase{"Day < '2020-01-01'", blank, false}));

INSTANTIATE_TEST_SUITE_P(Precedence, PredicateMatch,
                         testing::Values(MatchCase{"FKey = 1 OR FKey = 5 AND Name = 'x'", fkey5, false},
                                         MatchCase{"(FKey = 1 OR FKey = 5) AND Name = 'x'",
                                                   Row{{"FKey", std::int64_t{5}}, {"Name", std::string("x")}},
                                                   true},
                                         MatchCase{"FKey = 5 OR FKey = 1 AND Name = 'x'", fkey5, true},
                                         MatchCase{"NOT FKey = 1 AND FKey = 5", fkey5, true},
                                         MatchCase{"NOT (FKey = 5 OR FKey = 1)", fkey5, false},
                                         MatchCase{"NOT NOT FKey = 5", fkey5, true}));

INSTANTIATE_TEST_SUITE_P(
    OtherTypes, PredicateMatch,
    testing::Values(MatchCase{"Name = 'Jingle'", Row{{"Name", std::string("Jingle")}}, true},
                    MatchCase{"Name = 'jingle'", Row{{"Name", std::string("Jingle")}}, false},
                    MatchCase{"Name < 'K'", Row{{"Name", std::string("Jingle")}}, true},
                    MatchCase{"Name > 'Jingle'", Row{{"Name", std::string("Jingles")}}, true},
                    MatchCase{"Name = 'Заставка'", Row{{"Name", std::string("Заставка")}}, true},
                    MatchCase{"Name = 'It''s'", Row{{"Name", std::string("It's")}}, true},
                    MatchCase{"Price = 0.1", Row{{"Price", 0.1}}, true},
                    MatchCase{"Price > 10", Row{{"Price", 10.5}}, true},
                    MatchCase{"Ratio < -3", Row{{"Ratio", -2.0}}, false},
                    MatchCase{"Ratio <= -2", Row{{"Ratio", -2.0}}, true},
                    MatchCase{"Amount = 12.5", Row{{"Amount", decimal(false, "1250", 2)}}, true},
                    MatchCase{"Amount = 12.50000", Row{{"Amount", decimal(false, "1250", 2)}}, true},
                    MatchCase{"Amount > 12.49", Row{{"Amount", decimal(false, "1250", 2)}}, true},
                    MatchCase{"Amount < 12.501", Row{{"Amount", decimal(false, "1250", 2)}}, true},
                    MatchCase{"Amount < 0", Row{{"Amount", decimal(true, "5", 2)}}, true},
                    MatchCase{"Amount = 0", Row{{"Amount", decimal(true, "0", 2)}}, true},
                    MatchCase{"Amount > -0.06", Row{{"Amount", decimal(true, "5", 2)}}, true},
                    MatchCase{"Active = TRUE", Row{{"Active", true}}, true},
                    MatchCase{"Active = FALSE", Row{{"Active", true}}, false},
                    MatchCase{"Active <> FALSE", Row{{"Active", true}}, true},
                    MatchCase{"Day = '2018-01-01'", Row{{"Day", Date{736695}}}, true},
                    MatchCase{"Day > '2017-12-31'", Row{{"Day", Date{736695}}}, true},
                    MatchCase{"At = '01:02:03'", Row{{"At", Time{3723000}}}, true},
                    MatchCase{"At < '01:02:03.001'", Row{{"At", Time{3723000}}}, true},
                    MatchCase{"Stamp = '0001-01-01 00:00:01'", Row{{"Stamp", Timestamp{86'401'000}}}, true},
                    MatchCase{"Stamp >= '0001-01-01'", Row{{"Stamp", Timestamp{86'401'000}}}, true},
                    MatchCase{"Notes IS NOT NULL", Row{{"Notes", std::string("text")}}, true},
                    MatchCase{"Picture IS NULL", blank, true}));

TEST(Predicate, WithoutConditionMatchesEveryRowAndReadsNothing) {
    Predicate predicate(nullptr, jingleFields);
    EXPECT_TRUE(predicate.fieldsUsed().empty());
    EXPECT_TRUE(predicate.matches([](std::size_t) -> Value {
        ADD_FAILURE() << "read a field";
        return {};
    }));
}

TEST(Predicate, ListsFieldsUsedOnceInOrder) {
    auto statement = std::get<Delete>(parse("DELETE FROM j WHERE Name = 'a' OR FKey = 1 AND name <> 'b'"));
    Predicate predicate(statement.where.get(), jingleFields);
    EXPECT_EQ(predicate.fieldsUsed(), (std::vector<std::size_t>{0, 1}));
}

TEST(Predicate, SkipsTheRightSideWhenTheLeftDecides) {
    auto statement = std::get<Delete>(parse("DELETE FROM j WHERE FKey = 1 AND Name = 'a'"));
    Predicate predicate(statement.where.get(), jingleFields);
    int reads = 0;
    EXPECT_FALSE(predicate.matches([&](std::size_t) -> Value {
        ++reads;
        return std::int64_t{2};
    }));
    EXPECT_EQ(reads, 1);
}

TEST(Predicate, MovesWithItsCondition) {
    auto statement = std::get<Delete>(parse("DELETE FROM j WHERE FKey = 1"));
    Predicate first(statement.where.get(), jingleFields);
    Predicate second = std::move(first);
    EXPECT_TRUE(second.matches([](std::size_t) -> Value { return std::int64_t{1}; }));
}

TEST(Predicate, RefusesAValueOfAnotherTypeThanItsField) {
    auto statement = std::get<Delete>(parse("DELETE FROM j WHERE FKey = 1"));
    Predicate predicate(statement.where.get(), jingleFields);
    expectError(
        [&] {
            onTable("j.db",
                    [&] { predicate.matches([](std::size_t) -> Value { return std::string("1"); }); });
        },
        {"Таблица «j.db», поле «FKey»", "не соответствует типу поля"});
}

struct BindErrorCase {
    std::string condition;
    std::vector<std::string> parts;
};

void PrintTo(const BindErrorCase& c, std::ostream* os) { *os << c.condition; }

class PredicateBindError : public testing::TestWithParam<BindErrorCase> {};

TEST_P(PredicateBindError, NamesTableAndProblem) {
    auto statement = std::get<Delete>(parse("DELETE FROM \"j.db\" WHERE " + GetParam().condition));
    try {
        onTable("C:\\Радио\\j.db", [&] { Predicate(statement.where.get(), jingleFields); });
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        std::string message = error.what();
        EXPECT_NE(message.find("Таблица «C:\\Радио\\j.db»"), std::string::npos) << message;
        for (const auto& part : GetParam().parts) EXPECT_NE(message.find(part), std::string::npos) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PredicateBindError,
                         testing::Values(BindErrorCase{"Category = 5", {"нет поля «Category»"}},
                                         BindErrorCase{"FKey = 5 AND \"F Key\" = 1", {"нет поля «F Key»"}},
                                         BindErrorCase{"FKey = 'abc'", {"поле «FKey»", "'abc'"}},
                                         BindErrorCase{"FKey = TRUE", {"поле «FKey»", "TRUE"}},
                                         BindErrorCase{"Name = 5", {"поле «Name»", "5"}},
                                         BindErrorCase{"Active = 1", {"поле «Active»"}},
                                         BindErrorCase{"Day = 5", {"поле «Day»"}},
                                         BindErrorCase{"Day = '2018-02-30'", {"поле «Day»", "ГГГГ-ММ-ДД"}},
                                         BindErrorCase{"At = '25:00:00'", {"поле «At»", "ЧЧ:ММ:СС"}},
                                         BindErrorCase{"Stamp = 'now'", {"поле «Stamp»"}},
                                         BindErrorCase{"Notes = 'text'", {"поле «Notes»", "IS NULL"}},
                                         BindErrorCase{"Picture = 'x'", {"поле «Picture»", "IS NULL"}},
                                         BindErrorCase{"Raw = 'x'", {"поле «Raw»", "IS NULL"}},
                                         BindErrorCase{"Missing IS NULL", {"нет поля «Missing»"}}));

}  // namespace
