#include "pdx/sql/literal.h"
#include "pdx/sql/parser.h"
#include "sql_test_support.h"

using namespace pdx::sql;

namespace {

Delete parseDelete(const std::string& text) { return std::get<Delete>(parse(text)); }

struct DeleteCase {
    std::string text;
    std::string table;
    std::string where;  // rendered; empty when there is no WHERE
};

void PrintTo(const DeleteCase& c, std::ostream* os) { *os << c.text; }

class ParseDelete : public testing::TestWithParam<DeleteCase> {};

TEST_P(ParseDelete, GivesTableAndCondition) {
    Delete statement = parseDelete(GetParam().text);
    EXPECT_EQ(statement.table, GetParam().table);
    EXPECT_EQ(statement.where ? render(*statement.where) : "", GetParam().where);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseDelete,
    testing::Values(
        DeleteCase{R"(DELETE FROM "C:\Jingles\AdvBeats1.db" WHERE FKey<>1)", R"(C:\Jingles\AdvBeats1.db)",
                   "[FKey]<>1"},
        DeleteCase{"delete from \"/tmp/a.db\"", "/tmp/a.db", ""},
        DeleteCase{"DeLeTe\r\nFROM\r\n\"x.db\"\r\nwhere\r\n  FKey <> 5\r\n", "x.db", "[FKey]<>5"},
        DeleteCase{"DELETE FROM \"x.db\" WHERE FKey<>5;", "x.db", "[FKey]<>5"},
        DeleteCase{"  DELETE FROM \"x.db\" WHERE FKey<>5 ;\r\n\t ", "x.db", "[FKey]<>5"},
        DeleteCase{"DELETE FROM \"Папка с пробелами\\Джинглы \"\"новые\"\".db\"",
                   "Папка с пробелами\\Джинглы \"новые\".db", ""},
        DeleteCase{"DELETE FROM Beats", "Beats.db", ""},
        DeleteCase{"DELETE FROM 2Beats WHERE \"1st\" = 1", "2Beats.db", "[1st]=1"},
        DeleteCase{"DELETE FROM adv_Beats2 WHERE fkey=2", "adv_Beats2.db", "[fkey]=2"},
        DeleteCase{"DELETE FROM t WHERE \"Order No\" >= 10.50", "t.db", "[Order No]>=10.50"},
        DeleteCase{"DELETE FROM t WHERE 5 < FKey", "t.db", "[FKey]>5"},
        DeleteCase{"DELETE FROM t WHERE -2.5 >= FKey", "t.db", "[FKey]<=-2.5"},
        DeleteCase{"DELETE FROM t WHERE 3 = FKey", "t.db", "[FKey]=3"},
        DeleteCase{"DELETE FROM t WHERE Name = 'O''Brien'", "t.db", "[Name]='O''Brien'"},
        DeleteCase{"DELETE FROM t WHERE Name = ''", "t.db", "[Name]=''"},
        DeleteCase{"DELETE FROM t WHERE Flag = true OR Flag = FALSE", "t.db",
                   "([Flag]=TRUE OR [Flag]=FALSE)"},
        DeleteCase{"DELETE FROM t WHERE a IS NULL", "t.db", "[a] IS NULL"},
        DeleteCase{"DELETE FROM t WHERE a is not null", "t.db", "[a] IS NOT NULL"},
        DeleteCase{"DELETE FROM t WHERE a=1 OR b=2 AND c=3", "t.db", "([a]=1 OR ([b]=2 AND [c]=3))"},
        DeleteCase{"DELETE FROM t WHERE (a=1 OR b=2) AND c=3", "t.db", "(([a]=1 OR [b]=2) AND [c]=3)"},
        DeleteCase{"DELETE FROM t WHERE NOT a=1 AND b=2", "t.db", "(NOT [a]=1 AND [b]=2)"},
        DeleteCase{"DELETE FROM t WHERE NOT (a=1 AND b=2)", "t.db", "NOT ([a]=1 AND [b]=2)"},
        DeleteCase{"DELETE FROM t WHERE NOT NOT a<2", "t.db", "NOT NOT [a]<2"},
        DeleteCase{"DELETE FROM t WHERE a=1 OR b=2 OR c=3", "t.db", "(([a]=1 OR [b]=2) OR [c]=3)"},
        DeleteCase{"DELETE FROM t WHERE a=1 AND b=2 AND c=3", "t.db", "(([a]=1 AND [b]=2) AND [c]=3)"},
        DeleteCase{"DELETE FROM t WHERE ((a<=+7))", "t.db", "[a]<=+7"},
        DeleteCase{"DELETE FROM t WHERE a > .5 AND a < 5.", "t.db", "([a]>.5 AND [a]<5.)"},
        DeleteCase{"DELETE FROM t WHERE Категория <> 5", "t.db", "[Категория]<>5"}));

struct ErrorCase {
    std::string text;
    std::string message;  // a part of the expected message
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.text; }

class ParseError : public testing::TestWithParam<ErrorCase> {};

TEST_P(ParseError, NamesProblemAndPosition) {
    expectError([&] { parse(GetParam().text); }, {"Ошибка синтаксиса SQL", GetParam().message});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseError,
    testing::Values(
        ErrorCase{"",
                  "в позиции 1: ожидалось SELECT, DELETE, CREATE TABLE или INSERT, а найдено конец запроса"},
        ErrorCase{"UPDATE t SET a = 1", "в позиции 1: ожидалось SELECT"},
        ErrorCase{"DELETE FORM t", "в позиции 8: ожидалось FROM, а найдено «FORM»"},
        ErrorCase{"DELETE FROM", "в позиции 12: ожидалось имя таблицы"},
        ErrorCase{"DELETE FROM \"\"", "ожидалось имя таблицы"},
        ErrorCase{"DELETE FROM \"x.db", "в позиции 13: не закрыты двойные кавычки"},
        ErrorCase{"DELETE FROM t WHERE a = 'x", "в позиции 25: не закрыта строка"},
        ErrorCase{"DELETE FROM t WHERE", "в позиции 20: ожидалось поле или значение"},
        ErrorCase{"DELETE FROM t WHERE a", "ожидалось сравнение"},
        ErrorCase{"DELETE FROM t WHERE a != 1", "недопустимый символ «!»"},
        ErrorCase{"DELETE FROM t WHERE a == 1", "ожидалось поле или значение, а найдено «=»"},
        ErrorCase{"DELETE FROM t WHERE a = 1 b = 2", "ожидался конец запроса, а найдено «b»"},
        ErrorCase{"DELETE FROM t WHERE a = 1;;", "ожидался конец запроса"},
        ErrorCase{"DELETE FROM t WHERE (a = 1", "ожидалось «)»"},
        ErrorCase{"DELETE FROM t WHERE a = 1)", "ожидался конец запроса"},
        ErrorCase{"DELETE FROM t WHERE a = b", "в позиции 21: сравнение двух полей не поддерживается"},
        ErrorCase{"DELETE FROM t WHERE 1 = 2", "в сравнении должно быть поле"},
        ErrorCase{"DELETE FROM t WHERE a = NULL", "в позиции 25: сравнение с NULL"},
        ErrorCase{"DELETE FROM t WHERE a IS 5", "ожидалось NULL"},
        ErrorCase{"DELETE FROM t WHERE a = 12abc", "в позиции 25: неверное число «12abc»"},
        ErrorCase{"DELETE FROM t WHERE a = 1e5", "неверное число «1e5»"},
        ErrorCase{"DELETE FROM t WHERE a = 1.5e5", "в позиции 25: неверное число"},
        ErrorCase{"DELETE FROM t WHERE 1st = 1", "неверное число «1st»"},
        ErrorCase{"DELETE FROM t WHERE a = -", "ожидалось значение"},
        ErrorCase{"DELETE FROM t WHERE AND = 1", "ожидалось поле или значение, а найдено «AND»"},
        // Positions count characters, not bytes.
        ErrorCase{"DELETE FROM \"Джинглы.db\" WHERE", "в позиции 31"}));

TEST(ParseDeleteLimits, AcceptsDeepButNotEndlessNesting) {
    std::string deep = std::string(150, '(') + "a=1" + std::string(150, ')');
    EXPECT_EQ(render(*parseDelete("DELETE FROM t WHERE " + deep).where), "[a]=1");
    std::string notNot;
    for (int i = 0; i < 150; ++i) notNot += "NOT ";
    EXPECT_EQ(render(*parseDelete("DELETE FROM t WHERE " + notNot + "a=1").where).substr(0, 8), "NOT NOT ");
    expectError([] { parse("DELETE FROM t WHERE " + std::string(100000, '(') + "a=1"); },
                {"в позиции 221: условие вложено слишком глубоко"});
}

TEST(ParseDeleteLimits, AcceptsAThousandComparisons) {
    auto chain = [](int terms) {
        std::string condition = "a=0";
        for (int i = 1; i < terms; ++i) condition += " OR a=" + std::to_string(i);
        return "DELETE FROM t WHERE " + condition;
    };
    EXPECT_NO_THROW(parse(chain(1000)));
    expectError([&] { parse(chain(1001)); }, {"в условии больше 1000 сравнений"});
}

TEST(ParseDeleteLimits, QuotesLongTextShortly) {
    std::string path(300, 'x');
    try {
        parse("DELETE FROM t \"" + path + "\"");
        ADD_FAILURE() << "no error";
    } catch (const pdx::Error& error) {
        std::string message = error.what();
        EXPECT_NE(message.find("а найдено «\"" + std::string(39, 'x') + "…»"), std::string::npos) << message;
        EXPECT_LT(message.size(), 200u) << message;
    }
}

TEST(ParseNumber, KnowsIntegersFromDecimals) {
    EXPECT_TRUE(Number{"12"}.isInteger());
    EXPECT_TRUE(Number{"-12"}.isInteger());
    EXPECT_FALSE(Number{"1.5"}.isInteger());
    EXPECT_FALSE(Number{"1."}.isInteger());
}

}  // namespace
