#include "pdx/sql/parser.h"
#include "sql_test_support.h"

using namespace pdx::sql;

namespace {

struct SelectCase {
    std::string text;
    std::string table;
    std::string columns;  // "*", "COUNT(*)" or the names joined by "|"
    std::string where;    // rendered; empty when there is no WHERE
};

void PrintTo(const SelectCase& c, std::ostream* os) { *os << c.text; }

std::string columnsOf(const Select& statement) {
    if (statement.count) return "COUNT(*)";
    if (statement.columns.empty()) return "*";
    std::string out;
    for (const auto& name : statement.columns) out += (out.empty() ? "" : "|") + name;
    return out;
}

class ParseSelect : public testing::TestWithParam<SelectCase> {};

TEST_P(ParseSelect, GivesTableColumnsAndCondition) {
    const Statement parsed = parse(GetParam().text);
    ASSERT_TRUE(std::holds_alternative<Select>(parsed));
    const Select& statement = std::get<Select>(parsed);
    EXPECT_EQ(statement.table, GetParam().table);
    EXPECT_EQ(columnsOf(statement), GetParam().columns);
    EXPECT_EQ(statement.where ? render(*statement.where) : "", GetParam().where);
    EXPECT_TRUE(isSelect(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseSelect,
    testing::Values(SelectCase{"SELECT * FROM t", "t.db", "*", ""},
                    SelectCase{"select *from\"/tmp/Jingles.db\"where FKey<>5;", "/tmp/Jingles.db", "*",
                               "[FKey]<>5"},
                    SelectCase{"SELECT COUNT(*) FROM \"Jingles.db\" WHERE FKey<>5", "Jingles.db", "COUNT(*)",
                               "[FKey]<>5"},
                    SelectCase{"SELECT count ( * ) FROM t", "t.db", "COUNT(*)", ""},
                    SelectCase{"SELECT Name, \"Order No\", name FROM t WHERE a = 1 OR NOT b IS NULL", "t.db",
                               "Name|Order No|name", "([a]=1 OR NOT [b] IS NULL)"},
                    // A field may be called Count; only COUNT( counts.
                    SelectCase{"SELECT Count, x FROM t", "t.db", "Count|x", ""},
                    SelectCase{"\r\n SELECT \"Имя файла\"\r\nFROM Beats\r\n", "Beats.db", "Имя файла", ""}));

struct ErrorCase {
    std::string text;
    std::string message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.text; }

class ParseSelectError : public testing::TestWithParam<ErrorCase> {};

TEST_P(ParseSelectError, NamesProblemAndPosition) {
    expectError([&] { parse(GetParam().text); }, {"Ошибка синтаксиса SQL", GetParam().message});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseSelectError,
    testing::Values(
        ErrorCase{"SELECT", "в позиции 7: ожидалось *, COUNT(*) или имя поля, а найдено конец запроса"},
        ErrorCase{"SELECT FROM t", "в позиции 8: ожидалось *, COUNT(*) или имя поля, а найдено «FROM»"},
        ErrorCase{"SELECT a, FROM t", "в позиции 11: ожидалось *, COUNT(*) или имя поля"},
        ErrorCase{"SELECT 1 FROM t", "в позиции 8: ожидалось *, COUNT(*) или имя поля, а найдено «1»"},
        ErrorCase{"SELECT a b FROM t", "в позиции 10: ожидалось FROM, а найдено «b»"},
        ErrorCase{"SELECT *, a FROM t", "в позиции 9: ожидалось FROM, а найдено «,»"},
        ErrorCase{"SELECT COUNT(a) FROM t", "в позиции 14: ожидалось «*», а найдено «a»"},
        ErrorCase{"SELECT COUNT(* FROM t", "ожидалось «)»"},
        ErrorCase{"SELECT * FROM", "ожидалось имя таблицы"},
        ErrorCase{"SELECT * FROM t WHERE", "в позиции 22: ожидалось поле или значение"},
        ErrorCase{"SELECT * FROM t ORDER BY a", "в позиции 17: ожидался конец запроса, а найдено «ORDER»"}));

TEST(ParseSelect, OnlySelectIsAQuery) {
    for (const char* text : {"DELETE FROM t", "INSERT INTO t VALUES (1)", "", "SELECTED", "\"SELECT\""}) {
        EXPECT_FALSE(isSelect(text)) << text;
    }
    EXPECT_TRUE(isSelect(" select"));
}

}  // namespace
