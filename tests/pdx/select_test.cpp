// SELECT through pdx::Query: the columns asked for, the rows the condition selects in table
// order, COUNT(*), and errors that name the table; pdx::execute refuses SELECT.
#include "pdx/error.h"
#include "pdx/query.h"
#include "table_fixtures.h"

#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::vector<pdx::Value>>;

Rows rowsOf(pdx::Query& query) {
    Rows rows;
    while (query.next()) rows.push_back(query.values());
    return rows;
}

Rows select(const std::string& statement) {
    pdx::Query query(statement);
    return rowsOf(query);
}

std::vector<std::string> names(const std::vector<pdx::FieldDef>& fields) {
    std::vector<std::string> out;
    for (const auto& field : fields) out.push_back(field.name);
    return out;
}

std::int64_t count(const std::string& statement) {
    pdx::Query query(statement);
    EXPECT_TRUE(query.counts());
    const Rows rows = rowsOf(query);
    EXPECT_EQ(rows.size(), 1u);
    return rows.empty() ? -1 : std::get<std::int64_t>(rows[0][0]);
}

// Expects `action` to throw a pdx::Error whose message holds every one of `parts`.
template <typename Action>
void expectError(Action&& action, std::initializer_list<std::string> parts) {
    try {
        action();
        ADD_FAILURE() << "no error";
    } catch (const pdx::Error& e) {
        for (const auto& part : parts)
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
    }
}

TEST(Select, StarGivesEveryFieldOfEveryRowInTableOrder) {
    TempFolder folder("select-star");
    const std::string path = makeJingles(folder, 40, false);
    pdx::Query query("SELECT * FROM " + sqlName(path));
    EXPECT_FALSE(query.counts());
    EXPECT_EQ(names(query.columns()), (std::vector<std::string>{"Id", "FKey", "Name", "Length"}));
    EXPECT_EQ(query.columns()[2].type, pdx::FieldType::Alpha);
    EXPECT_EQ(rowsOf(query), pdx::Table(path).readAll());
}

TEST(Select, NamedFieldsInTheStatementsOrderAnyCase) {
    TempFolder folder("select-fields");
    const std::string path = makeJingles(folder, 10, false);
    pdx::Query query("SELECT name, ID, name FROM " + sqlName(path) + " WHERE Id >= 8");
    EXPECT_EQ(names(query.columns()), (std::vector<std::string>{"Name", "Id", "Name"}));
    const Rows rows = rowsOf(query);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0],
              (std::vector<pdx::Value>{std::string("Джингл 8"), std::int64_t{8}, std::string("Джингл 8")}));
    EXPECT_EQ(rows[1][1], pdx::Value(std::int64_t{9}));
}

// FKey cycles 0..4 and is blank in every 7th row; a blank FKey makes FKey<>1 unknown.
TEST(Select, ConditionsAsDeleteTakesThem) {
    TempFolder folder("select-where");
    const std::string path = makeJingles(folder, 70, true);
    const std::string table = sqlName(path);
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + table), 70);
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + table + " WHERE FKey IS NULL"), 10);
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + table + " WHERE FKey<>1"), 48);
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + table + " WHERE NOT (FKey = 1 OR FKey IS NULL)"), 48);
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + table + " WHERE Name = 'Джингл 12' AND Length > 12"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + table + " WHERE Id < 0"), 0);
    const Rows ones = select("SELECT Id FROM " + table + " WHERE FKey = 1");
    ASSERT_EQ(ones.size(), 12u);
    for (std::size_t i = 1; i < ones.size(); ++i) {
        EXPECT_LT(std::get<std::int64_t>(ones[i - 1][0]), std::get<std::int64_t>(ones[i][0]));  // key order
    }
    // What the condition selects, DELETE removes.
    EXPECT_EQ(pdx::execute("DELETE FROM " + table + " WHERE FKey<>1"), 48);
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + table + " WHERE FKey<>1"), 0);
}

TEST(Select, CountHasOneIntegerColumn) {
    TempFolder folder("select-count");
    const std::string path = makeJingles(folder, 3, false);
    pdx::Query query("SELECT COUNT(*) FROM " + sqlName(path) + " WHERE FKey = 7");
    ASSERT_EQ(query.columns().size(), 1u);
    EXPECT_EQ(query.columns()[0].name, "COUNT(*)");
    EXPECT_EQ(rowsOf(query), (Rows{{std::int64_t{0}}}));
    EXPECT_FALSE(query.next());
}

TEST(Select, MemoTextComesFromTheBlobFile) {
    TempFolder folder("select-memo");
    const std::string path = copySample(folder, "fields/memo.db");
    Rows expected;
    for (const auto& row : pdx::Table(path).readAll()) {
        if (!std::holds_alternative<std::monostate>(row[1])) expected.push_back({row[1], row[0]});
    }
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(select("SELECT memo, Id FROM " + sqlName(path) + " WHERE MEMO IS NOT NULL"), expected);
}

// Rows are read as they are asked for: a query stopped after its first row leaves the table
// to the next statement, and one run to the end sees every row of many blocks.
TEST(Select, StreamsOverManyBlocks) {
    constexpr int kRows = 200'000;
    constexpr int kBatch = 20'000;
    TempFolder folder("select-stream");
    const std::string path = folder.file("big.db");
    const std::string table = sqlName(path);
    pdx::execute("CREATE TABLE " + table + " (Id INTEGER, FKey SMALLINT)");
    for (int start = 0; start < kRows; start += kBatch) {
        std::string values;
        for (int i = start; i < start + kBatch; ++i) {
            values += (i == start ? "(" : ", (") + std::to_string(i) + ", " + std::to_string(i % 10) + ")";
        }
        pdx::execute("INSERT INTO " + table + " VALUES " + values);
    }
    {
        pdx::Query first("SELECT * FROM " + table);
        ASSERT_TRUE(first.next());
        EXPECT_EQ(first.values()[0], pdx::Value(std::int64_t{0}));
    }
    EXPECT_EQ(pdx::execute("DELETE FROM " + table + " WHERE Id = 0"), 1);
    pdx::Query query("SELECT Id FROM " + table + " WHERE FKey = 3");
    std::int64_t expected = 3;
    while (query.next()) {
        ASSERT_EQ(query.values()[0], pdx::Value(expected));
        expected += 10;
    }
    EXPECT_EQ(expected, kRows + 3);
    EXPECT_GT(pdx::Table(path).info().fileBlocks, 100);
    EXPECT_EQ(count("SELECT COUNT(*) FROM " + table), kRows - 1);
}

TEST(Select, ErrorsNameTheTable) {
    TempFolder folder("select-errors");
    const std::string path = makeJingles(folder, 3, false);
    const std::string table = sqlName(path);
    expectError([&] { pdx::Query("SELECT Id, Nope FROM " + table); }, {"Jingles.db", "нет поля «Nope»"});
    expectError([&] { pdx::Query("SELECT Id FROM " + table + " WHERE Nope = 1"); }, {"Jingles.db", "«Nope»"});
    expectError([&] { pdx::Query("SELECT Id FROM " + table + " WHERE Name = 1"); }, {"Jingles.db", "Name"});
    expectError([&] { pdx::Query("SELECT * FROM " + sqlName(folder.file("absent.db"))); },
                {"absent.db", "не найдена"});
    expectError([&] { pdx::Query("SELECT * FORM " + table); }, {"Ошибка синтаксиса SQL в позиции 10"});
    expectError([&] { pdx::Query("DELETE FROM " + table); }, {"Jingles.db", "pdx::execute"});
    const std::string before = readFile(path);
    expectError([&] { pdx::execute("SELECT * FROM " + table); }, {"Jingles.db", "pdx::Query"});
    EXPECT_EQ(readFile(path), before);
}

TEST(Select, ReadsAPasswordProtectedTable) {
    TempFolder folder("select-protected");
    const std::string table = sqlName(copySample(folder, "misc/encrypted.db"));
    EXPECT_EQ(select("SELECT Text FROM " + table + " WHERE Id = 4"), (Rows{{std::string("Last one")}}));
}

TEST(Select, OnlySelectIsAQuery) {
    EXPECT_TRUE(pdx::isQuery("  select COUNT(*) FROM t"));
    EXPECT_FALSE(pdx::isQuery("DELETE FROM t"));
    EXPECT_FALSE(pdx::isQuery(""));
}

}  // namespace
