// DELETE on real and generated tables, checked against pxlib: the survivors, byte for byte,
// in order; keyed tables' primary indexes read back through pxlib.
#include "pdx/error.h"
#include "pdx/table.h"
#include "pxlib_oracle.h"
#include "table_fixtures.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Row = std::vector<pdx::Value>;

struct DeleteCase {
    const char* table;  // a sample, or "" for the generated table
    bool keyed;         // generated table only
    const char* where;
    std::function<bool(const Row&)> goes;  // which rows the condition selects
    int expectedDeleted;
};

std::int64_t asInt(const pdx::Value& v) { return std::get<std::int64_t>(v); }
bool blank(const pdx::Value& v) { return std::holds_alternative<std::monostate>(v); }

void PrintTo(const DeleteCase& c, std::ostream* os) { *os << c.table << " WHERE " << c.where; }

const DeleteCase kCases[] = {
    {"misc/ORDERS.DB", false, "\"Customer No\" = 1221",
     [](const Row& r) { return std::get<double>(r[1]) == 1221; }, -1},
    {"misc/ORDERS.DB", false, "\"Order No\" < 1100",
     [](const Row& r) { return std::get<double>(r[0]) < 1100; }, -1},
    {"misc/ORDERS.DB", false, "\"Order No\" > 0", [](const Row&) { return true; }, 224},
    {"misc/tblAC.DB", false, "State <> 'CA'",
     [](const Row& r) { return !blank(r[1]) && std::get<std::string>(r[1]) != "CA"; }, -1},
    {"misc/GENERAL.DB", false, "ID = 2", [](const Row& r) { return asInt(r[0]) == 2; }, 1},
    {"fields/long.db", false, "LONG IS NULL", [](const Row& r) { return blank(r[1]); }, -1},
    {"fields/memo.db", false, "Id = 1", [](const Row& r) { return asInt(r[0]) == 1; }, 1},
    {"misc/DECIMAL.DB", false, "DECIMAL >= 0",
     [](const Row& r) { return !blank(r[0]) && std::get<double>(r[0]) >= 0; }, -1},
    {"joins/joina.db", false, "ID <> 2", [](const Row& r) { return !blank(r[0]) && asInt(r[0]) != 2; }, -1},
    {"misc/ORDERS.DB", false, "\"Order No\" < 0", [](const Row&) { return false; }, 0},
    {"fields/date35.db", false, "DATE > '1990-01-01'",
     [](const Row& r) { return !blank(r[0]) && std::get<pdx::Date>(r[0]).days > 726468; }, -1},
    {"fields/logical.db", false, "BOOL = TRUE",
     [](const Row& r) { return !blank(r[0]) && std::get<bool>(r[0]); }, -1},
    {"fields/time.db", false, "Time IS NOT NULL", [](const Row& r) { return !blank(r[0]); }, -1},
    {"joins/case.db", false, "C = 'x'", [](const Row&) { return false; }, 0},
    {"fields/graphic.db", false, "Type = 'bmp'",
     [](const Row& r) { return !blank(r[2]) && std::get<std::string>(r[2]) == "bmp"; }, -1},
    // The converter's statement: blank FKey is unknown, so those rows stay.
    {"", false, "FKey <> 3", [](const Row& r) { return !blank(r[1]) && asInt(r[1]) != 3; }, -1},
    {"", true, "FKey <> 3", [](const Row& r) { return !blank(r[1]) && asInt(r[1]) != 3; }, -1},
    {"", true, "FKey = 0 OR FKey IS NULL", [](const Row& r) { return blank(r[1]) || asInt(r[1]) == 0; }, -1},
    {"", false, "Id >= 0", [](const Row&) { return true; }, 3000},
};

class DeleteRows : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(DeleteRows, SurvivorsAreExactlyTheOthersByteForByte) {
    const DeleteCase& c = GetParam();
    TempFolder folder("delete");
    std::string path;
    if (*c.table) {
        path = copySample(folder, c.table);
    } else {
        path = makeJingles(folder, 3000, c.keyed);
    }
    const oracle::PxTable before = oracle::read(path);
    const auto values = pdx::Table(path).readAll();
    ASSERT_EQ(values.size(), before.rawRecords.size());
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!c.goes(values[i])) expected.push_back(before.rawRecords[i]);
    }
    const auto deleted = pdx::execute("DELETE FROM " + sqlName(path) + " WHERE " + c.where);
    EXPECT_EQ(deleted, static_cast<std::int64_t>(values.size() - expected.size()));
    if (c.expectedDeleted >= 0) {
        EXPECT_EQ(deleted, c.expectedDeleted);
    }

    const oracle::PxTable after = oracle::read(path);
    EXPECT_EQ(after.records, static_cast<int>(expected.size()));
    EXPECT_EQ(after.rawRecords, expected);
    const pdx::Table table(path);
    EXPECT_EQ(table.info().recordCount, expected.size());
    EXPECT_EQ(table.readAll().size(), expected.size());
    // Blocks packed: as few as the records need.
    const std::size_t perBlock = (table.info().blockSize - 6) / table.info().recordSize;
    EXPECT_EQ(table.info().fileBlocks, (expected.size() + perBlock - 1) / perBlock);

    if (table.info().keyed()) {
        const std::string px = path.substr(0, path.size() - 3) + (path.back() == 'B' ? ".PX" : ".px");
        if (!expected.empty()) {
            EXPECT_EQ(oracle::readThroughIndex(path, px), expected);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Conditions, DeleteRows, ::testing::ValuesIn(kCases));

TEST(DeleteRows, KeepsHeaderFieldsTheRowsDoNotDetermine) {
    TempFolder folder("delete-header");
    const std::string path = copySample(folder, "misc/ORDERS.DB");
    const std::string before = readFile(path);
    ASSERT_GT(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE \"Order No\" < 1100"), 0);
    const std::string after = readFile(path);
    const std::size_t headerSize = 0x800;
    ASSERT_GE(after.size(), headerSize);
    // Counts, block numbers, change counter and update time may move; nothing else.
    const std::vector<std::pair<std::size_t, std::size_t>> mayChange = {
        {0x06, 4}, {0x0A, 2}, {0x0C, 2}, {0x0E, 2}, {0x10, 2}, {0x2D, 1}, {0x3A, 2}, {0x49, 4}, {0x60, 4}};
    for (std::size_t i = 0; i < headerSize; ++i) {
        bool allowed = false;
        for (auto [at, n] : mayChange) allowed = allowed || (i >= at && i < at + n);
        if (!allowed) {
            EXPECT_EQ(before[i], after[i]) << "header byte " << i;
        }
    }
    EXPECT_EQ(static_cast<std::uint8_t>(after[0x2D]), static_cast<std::uint8_t>(before[0x2D] + 1));
}

TEST(DeleteRows, LeftoversOfAKilledRunAreRemoved) {
    TempFolder folder("delete-leftover");
    const std::string path = makeJingles(folder, 50, true);
    writeFile(folder.file("~Jingles.db.new"), "half written");
    writeFile(folder.file("~Jingles.PX.new"), "half written");
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE FKey = 1"), 8);
    EXPECT_FALSE(std::filesystem::exists(folder.file("~Jingles.db.new")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("~Jingles.PX.new")));
}

TEST(DeleteRows, SecondaryIndexesAndTheBlobFileStay) {
    TempFolder folder("delete-secondary");
    const std::string path = copySample(folder, "joins/C.DB");
    const std::string memo = copySample(folder, "fields/memo.db");
    const std::string mbBefore = readFile(folder.file("memo.mb"));
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE C = 1"), 1);
    for (const char* index : {"C.PX", "C.X02", "C.Y02", "C.X03", "C.Y03"}) {
        EXPECT_TRUE(std::filesystem::exists(folder.file(index))) << index;
    }

    const auto memoBefore = pdx::Table(memo).readAll();
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(memo) + " WHERE Id = 1"), 1);
    EXPECT_EQ(readFile(folder.file("memo.mb")), mbBefore);
    const auto memoAfter = pdx::Table(memo).readAll();
    ASSERT_EQ(memoAfter.size(), 1u);
    EXPECT_EQ(memoAfter[0], memoBefore[1]);
}

// Enough data blocks that the index needs a second level; pxlib reads both.
TEST(DeleteRows, TwoLevelIndexReadsBackThroughPxlib) {
    TempFolder folder("two-levels");
    const std::string path = makeJingles(folder, 12000, true);
    EXPECT_GT(pdx::Table(path).info().fileBlocks, 204);
    EXPECT_GT(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE FKey = 2"), 0);
    const oracle::PxTable px = oracle::read(path);
    EXPECT_EQ(oracle::readThroughIndex(path, folder.file("Jingles.px")), px.rawRecords);
    const std::string index = readFile(folder.file("Jingles.px"));
    EXPECT_EQ(static_cast<int>(index[0x20]), 2);  // index levels
}

TEST(DeleteRows, MissingOrForeignIndexIsRebuiltEvenWhenNothingIsDeleted) {
    TempFolder folder("delete-index");
    const std::string path = copySample(folder, "misc/ORDERS.DB");
    const auto rows = oracle::read(path).rawRecords;
    std::filesystem::remove(folder.file("ORDERS.PX"));
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE \"Order No\" < 0"), 0);
    ASSERT_TRUE(std::filesystem::exists(folder.file("ORDERS.PX")));
    EXPECT_EQ(oracle::readThroughIndex(path, folder.file("ORDERS.PX")), rows);

    // Another table's index in its place.
    std::filesystem::copy_file(kSamples + "/misc/tblAC.PX", folder.file("ORDERS.PX"),
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE \"Order No\" < 0"), 0);
    EXPECT_EQ(oracle::readThroughIndex(path, folder.file("ORDERS.PX")), rows);
}

}  // namespace
