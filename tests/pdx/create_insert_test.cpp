// CREATE TABLE and INSERT round trips: what we write, pxlib and our reader read back alike.
#include "pdx/error.h"
#include "pdx/format/codepage.h"
#include "pdx/table.h"
#include "pxlib_oracle.h"
#include "table_fixtures.h"

#include <gtest/gtest.h>

namespace {

const char* const kAllTypes =
    "(Id AUTOINC, Name CHAR(30), Small SMALLINT, Big INTEGER, Amount MONEY, Ratio FLOAT, "
    "Active BOOLEAN, Born DATE, AtTime TIME, Stamp TIMESTAMP, Exact DECIMAL(12,2), Raw BYTES(4), "
    "Notes BLOB(20,1)";

const char* const kAllTypesRows =
    "(NULL, 'Джингл «Утро»', -5, 123456, 12.5, -0.25, TRUE, '2024-02-29', '13:45:10', "
    "'1999-12-31 23:59:58', -1234.56, 'ab', 'short memo'), "
    "(NULL, 'plain', 32767, -2147483647, 0, 10000000000, FALSE, '0001-01-01', '00:00:01', "
    "'2000-01-01 00:00:00', 0.01, 'abcd', "
    "'Памятка длиннее двадцати байт: хранится в файле .MB, а начало в записи'), "
    "(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)";

class RoundTrip : public ::testing::TestWithParam<bool /*keyed*/> {};

TEST_P(RoundTrip, EveryFieldTypeReadsBackAlike) {
    TempFolder folder("roundtrip");
    const std::string path = folder.file("all.db");
    const bool keyed = GetParam();
    pdx::execute("CREATE TABLE " + sqlName(path) + " " + kAllTypes + (keyed ? ", PRIMARY KEY (Id))" : ")"));
    EXPECT_EQ(pdx::execute("INSERT INTO " + sqlName(path) + " VALUES " + kAllTypesRows), 3);

    const pdx::Table table(path);
    EXPECT_EQ(table.info().level, 0x0C);
    EXPECT_EQ(table.info().codePage, 1251);
    EXPECT_EQ(table.info().keyed(), keyed);
    EXPECT_EQ(table.info().autoIncrement, 3);
    const auto rows = table.readAll();
    ASSERT_EQ(rows.size(), 3u);
    const auto& f = table.fields();
    const auto text = [&](std::size_t r, std::size_t i) { return pdx::formatValue(rows[r][i], f[i]); };
    EXPECT_EQ(text(0, 0), "1");
    EXPECT_EQ(text(1, 0), "2");
    EXPECT_EQ(text(2, 0), "3");
    EXPECT_EQ(text(0, 1), "Джингл «Утро»");
    EXPECT_EQ(text(0, 2), "-5");
    EXPECT_EQ(text(1, 3), "-2147483647");
    EXPECT_EQ(text(0, 4), "12.50");
    EXPECT_EQ(text(0, 6), "true");
    EXPECT_EQ(text(1, 6), "false");
    EXPECT_EQ(text(0, 7), "2024-02-29");
    EXPECT_EQ(text(1, 7), "0001-01-01");
    EXPECT_EQ(text(0, 8), "13:45:10");
    EXPECT_EQ(text(0, 9), "1999-12-31 23:59:58");
    EXPECT_EQ(text(0, 10), "-1234.56");
    EXPECT_EQ(text(1, 10), "0.01");
    EXPECT_EQ(text(0, 12), "short memo");
    EXPECT_EQ(text(1, 12), "Памятка длиннее двадцати байт: хранится в файле .MB, а начало в записи");
    for (std::size_t i = 1; i < f.size(); ++i) {
        EXPECT_TRUE(std::holds_alternative<std::monostate>(rows[2][i])) << f[i].name;
    }

    // pxlib sees the same values (text in the table's code page, blobs skipped).
    const oracle::PxTable px = oracle::read(path);
    ASSERT_EQ(px.records, 3);
    const pdx::CodePage cp1251(1251);
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t i = 0; i < f.size(); ++i) {
            SCOPED_TRACE("record " + std::to_string(r) + " field " + f[i].name);
            if (f[i].type == pdx::FieldType::Memo || f[i].type == pdx::FieldType::Bytes) continue;
            if (f[i].type == pdx::FieldType::Alpha && !std::holds_alternative<std::monostate>(rows[r][i])) {
                EXPECT_EQ(px.rows[r][i], pdx::Value(*cp1251.fromUtf8(std::get<std::string>(rows[r][i]))));
            } else if (f[i].type == pdx::FieldType::Bcd &&
                       !std::holds_alternative<std::monostate>(rows[r][i])) {
                std::string theirs = std::get<std::string>(px.rows[r][i]);
                EXPECT_EQ(std::stod(theirs), std::stod(text(r, i)));
            } else {
                EXPECT_EQ(px.rows[r][i], rows[r][i]);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(KeyedAndUnkeyed, RoundTrip, ::testing::Bool());

TEST(Insert, KeyedRowsLandInKeyOrderOverManyBlocks) {
    TempFolder folder("keyed");
    const std::string path = makeJingles(folder, 3000, true);
    const pdx::Table table(path);
    EXPECT_GT(table.info().fileBlocks, 10);
    const auto rows = table.readAll();
    ASSERT_EQ(rows.size(), 3000u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(std::get<std::int64_t>(rows[i][0]), static_cast<std::int64_t>(i));
    }
    const oracle::PxTable px = oracle::read(path);
    EXPECT_EQ(px.records, 3000);
    EXPECT_EQ(oracle::readThroughIndex(path, folder.file("Jingles.px")), px.rawRecords);
}

TEST(Insert, CyrillicColumnNamesMatchInAnyCase) {
    TempFolder folder("cyrillic");
    const std::string path = folder.file("t.db");
    pdx::execute("CREATE TABLE " + sqlName(path) + " (\"Имя\" CHAR(10), N INTEGER)");
    EXPECT_EQ(pdx::execute("INSERT INTO " + sqlName(path) + " (\"ИМЯ\", n) VALUES ('Ёлка', 1)"), 1);
    EXPECT_EQ(pdx::Table(path).readAll()[0][0], pdx::Value(std::string("Ёлка")));
}

TEST(Insert, ColumnsByNameOthersBlank) {
    TempFolder folder("columns");
    const std::string path = folder.file("t.db");
    pdx::execute("CREATE TABLE " + sqlName(path) + " (A INTEGER, B CHAR(5), C FLOAT)");
    EXPECT_EQ(pdx::execute("INSERT INTO " + sqlName(path) + " (c, A) VALUES (1.5, 7)"), 1);
    const auto rows = pdx::Table(path).readAll();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], pdx::Value(std::int64_t{7}));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(rows[0][1]));
    EXPECT_EQ(rows[0][2], pdx::Value(1.5));
}

struct FailingInsert {
    const char* statement;  // %T stands for the table
    const char* message;    // part of the error
};

class InsertFails : public ::testing::TestWithParam<FailingInsert> {};

TEST_P(InsertFails, TableUnchanged) {
    TempFolder folder("insert-fails");
    const std::string path = folder.file("k.db");
    pdx::execute("CREATE TABLE " + sqlName(path) +
                 " (Id INTEGER, Name CHAR(10), Notes BLOB(10,1), PRIMARY KEY (Id))");
    pdx::execute("INSERT INTO " + sqlName(path) + " VALUES (1, 'один', NULL), (2, 'два', NULL)");
    const std::string db = readFile(path);
    const std::string px = readFile(folder.file("k.px"));
    const std::string mb = readFile(folder.file("k.mb"));
    std::string statement = GetParam().statement;
    statement.replace(statement.find("%T"), 2, sqlName(path));
    try {
        pdx::execute(statement);
        FAIL() << "no error";
    } catch (const pdx::Error& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().message), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("k.db"), std::string::npos) << e.what();
    }
    EXPECT_EQ(readFile(path), db);
    EXPECT_EQ(readFile(folder.file("k.px")), px);
    EXPECT_EQ(readFile(folder.file("k.mb")), mb);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InsertFails,
    ::testing::Values(
        FailingInsert{"INSERT INTO %T VALUES (2, 'x', NULL)", "ключ"},
        FailingInsert{"INSERT INTO %T VALUES (3, 'a', 'long memo text goes to the MB'), (3, 'b', NULL)",
                      "ключ"},
        FailingInsert{"INSERT INTO %T VALUES (3, 'naïve', NULL)", "1251"},
        FailingInsert{"INSERT INTO %T VALUES (3, 'x', 'Ω is not in 1251 at all, and long')", "1251"},
        FailingInsert{"INSERT INTO %T (Nope) VALUES (1)", "Nope"}));

TEST(CreateTable, ExistingTableIsAnError) {
    TempFolder folder("exists");
    const std::string path = folder.file("t.db");
    pdx::execute("CREATE TABLE " + sqlName(path) + " (A INTEGER)");
    const std::string before = readFile(path);
    EXPECT_THROW(pdx::execute("CREATE TABLE " + sqlName(folder.file("T.DB")) + " (B INTEGER)"), pdx::Error);
    EXPECT_EQ(readFile(path), before);
}

TEST(CreateTable, HeaderPxlibAccepts) {
    TempFolder folder("header");
    const std::string path = folder.file("Beats.db");
    pdx::execute("CREATE TABLE " + sqlName(path) +
                 " (FKey INTEGER, \"Имя файла\" CHAR(120), PRIMARY KEY (FKey))");
    const oracle::PxTable px = oracle::read(path);
    EXPECT_EQ(px.records, 0);
    EXPECT_EQ(px.recordSize, 124);
    EXPECT_EQ(px.fileType, 0);
    ASSERT_EQ(px.fields.size(), 2u);
    EXPECT_EQ(px.fields[1].name, *pdx::CodePage(1251).fromUtf8("Имя файла"));
    const pdx::Table table(path);
    EXPECT_EQ(table.fields()[1].name, "Имя файла");
    EXPECT_EQ(table.info().sortOrderName, "ascii");
    EXPECT_EQ(table.info().headerSize % 0x800, 0);
}

}  // namespace

namespace {

// INSERT into tables Paradox wrote: the same code path as for our own tables.
TEST(InsertIntoSamples, KeyedTableTakesTheRowInKeyOrder) {
    TempFolder folder("insert-orders");
    const std::string path = copySample(folder, "misc/ORDERS.DB");
    const auto before = pdx::Table(path).readAll();
    EXPECT_EQ(pdx::execute("INSERT INTO " + sqlName(path) +
                           " (\"Order No\", \"Customer No\", Terms) VALUES (1004.5, 99, 'FOB')"),
              1);
    const pdx::Table table(path);
    const auto after = table.readAll();
    ASSERT_EQ(after.size(), before.size() + 1);
    for (std::size_t i = 1; i < after.size(); ++i) {
        EXPECT_LT(std::get<double>(after[i - 1][0]), std::get<double>(after[i][0]));
    }
    const oracle::PxTable px = oracle::read(path);
    EXPECT_EQ(oracle::readThroughIndex(path, folder.file("ORDERS.PX")), px.rawRecords);
    EXPECT_THROW(pdx::execute("INSERT INTO " + sqlName(path) + " (\"Order No\") VALUES (1004.5)"),
                 pdx::Error);
}

TEST(InsertIntoSamples, LongMemoGoesToTheExistingBlobFile) {
    TempFolder folder("insert-memo");
    const std::string path = copySample(folder, "fields/memo.db");
    const auto before = pdx::Table(path).readAll();
    const std::string memo(600, 'm');
    EXPECT_EQ(pdx::execute("INSERT INTO " + sqlName(path) + " (MEMO) VALUES ('" + memo + "')"), 1);
    const pdx::Table table(path);
    EXPECT_EQ(table.info().autoIncrement, before.size() + 1);
    const auto after = table.readAll();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0], before[0]);
    EXPECT_EQ(after[1], before[1]);
    EXPECT_EQ(after[2][1], pdx::Value(memo));
    EXPECT_EQ(after[2][0], pdx::Value(std::int64_t{3}));
}

}  // namespace
