#include "pdx/sql/literal.h"
#include "pdx/sql/parser.h"
#include "sql_test_support.h"

using namespace pdx::sql;

namespace {

Insert parseInsert(const std::string& text) { return std::get<Insert>(parse(text)); }

std::string rowText(const std::vector<Literal>& row) {
    std::string out;
    for (const auto& literal : row) out += (out.empty() ? "" : " ") + literalText(literal);
    return out;
}

TEST(ParseInsert, ReadsColumnsAndRowsOfLiterals) {
    Insert insert = parseInsert(
        "INSERT INTO \"/data/Beats.db\" (FKey, \"File Name\", Active)\r\n"
        "VALUES (1, 'a.wav', TRUE),\r\n"
        "       (-20, 'It''s.wav', false), (+3.25, NULL, NULL);");
    EXPECT_EQ(insert.table, "/data/Beats.db");
    EXPECT_EQ(insert.columns, (std::vector<std::string>{"FKey", "File Name", "Active"}));
    ASSERT_EQ(insert.rows.size(), 3u);
    EXPECT_EQ(rowText(insert.rows[0]), "1 'a.wav' TRUE");
    EXPECT_EQ(rowText(insert.rows[1]), "-20 'It''s.wav' FALSE");
    EXPECT_EQ(rowText(insert.rows[2]), "+3.25 NULL NULL");
    EXPECT_TRUE(std::holds_alternative<Null>(insert.rows[2][1]));
    EXPECT_EQ(std::get<Number>(insert.rows[1][0]).text, "-20");
    EXPECT_EQ(std::get<std::string>(insert.rows[1][1]), "It's.wav");
}

TEST(ParseInsert, TakesAllFieldsWhenColumnsAreOmitted) {
    Insert insert = parseInsert("insert into t values (1), (2)");
    EXPECT_EQ(insert.table, "t.db");
    EXPECT_TRUE(insert.columns.empty());
    EXPECT_EQ(insert.rows.size(), 2u);
}

struct InsertErrorCase {
    std::string text;
    std::string message;
};

void PrintTo(const InsertErrorCase& c, std::ostream* os) { *os << c.text; }

class InsertError : public testing::TestWithParam<InsertErrorCase> {};

TEST_P(InsertError, IsRefused) {
    expectError([&] { parse(GetParam().text); }, {GetParam().message});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InsertError,
    testing::Values(InsertErrorCase{"INSERT INTO t (a, b) VALUES (1)", "в строке значений 1, а ожидалось 2"},
                    InsertErrorCase{"INSERT INTO t (a) VALUES (1, 2)", "в строке значений 2, а ожидалось 1"},
                    InsertErrorCase{"INSERT INTO t VALUES (1, 2), (3)", "в строке значений 1, а ожидалось 2"},
                    InsertErrorCase{"INSERT INTO t (a, A) VALUES (1, 2)", "поле «A» указано дважды"},
                    InsertErrorCase{"INSERT INTO t VALUES ()", "ожидалось значение"},
                    InsertErrorCase{"INSERT INTO t VALUES (a)", "ожидалось значение"},
                    InsertErrorCase{"INSERT INTO t (a) (1)", "ожидалось VALUES"},
                    InsertErrorCase{"INSERT t VALUES (1)", "ожидалось INTO"},
                    InsertErrorCase{"INSERT INTO t VALUES (1", "ожидалось «)»"}));

}  // namespace
