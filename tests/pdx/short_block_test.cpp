// Tables whose file ends right after the last record of the last block, as Paradox may
// leave them: read, filtered and extended like any other, checked against pxlib.
#include "pdx/table.h"
#include "pxlib_oracle.h"
#include "table_fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

using Row = std::vector<pdx::Value>;

struct CutCase {
    const char* table;  // a sample, or "" for a generated table whose index has two levels
    const char* where;
    std::function<bool(const Row&)> goes;
    const char* insert;  // after INSERT INTO <table>
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << (*c.table ? c.table : "generated") << " WHERE " << c.where;
}

bool blank(const pdx::Value& v) { return std::holds_alternative<std::monostate>(v); }

const CutCase kCases[] = {
    {"misc/ORDERS.DB", "\"Customer No\" = 1221", [](const Row& r) { return std::get<double>(r[1]) == 1221; },
     "(\"Order No\", \"Customer No\") VALUES (1004.5, 99)"},
    {"misc/tblAC.DB", "State <> 'CA'",
     [](const Row& r) { return !blank(r[1]) && std::get<std::string>(r[1]) != "CA"; },
     "(AreaCode, State) VALUES ('000', 'ZZ')"},
    {"", "FKey = 2", [](const Row& r) { return !blank(r[1]) && std::get<std::int64_t>(r[1]) == 2; },
     "VALUES (12000, 1, 'new', 1.5)"},
};

class CutTable : public ::testing::TestWithParam<CutCase> {};

// A table as DELETE and INSERT write it: whole blocks, as few as its records need, and an
// index pxlib reads it through.
void expectNormalTable(const std::string& path, const std::string& px,
                       const std::vector<std::string>& records) {
    const oracle::PxTable theirs = oracle::read(path);
    EXPECT_EQ(theirs.rawRecords, records);
    const pdx::Table table(path);
    const std::size_t perBlock = (table.info().blockSize - 6) / table.info().recordSize;
    const std::size_t blocks = (records.size() + perBlock - 1) / perBlock;
    EXPECT_EQ(table.info().fileBlocks, blocks);
    EXPECT_EQ(std::filesystem::file_size(path), table.info().headerSize + blocks * table.info().blockSize);
    EXPECT_EQ(table.readAll().size(), records.size());
    EXPECT_EQ(oracle::readThroughIndex(path, px), records);
}

TEST_P(CutTable, ReadsFiltersAndGrowsAsPxlibSees) {
    const CutCase& c = GetParam();
    TempFolder folder("cut");
    const std::string path = *c.table ? copySample(folder, c.table) : makeJingles(folder, 12000, true);
    const std::string px = path.substr(0, path.size() - 3) + (path.back() == 'B' ? ".PX" : ".px");
    const auto whole = pdx::Table(path).readAll();
    const auto wholeRecords = oracle::read(path).rawRecords;
    const auto wholeSize = std::filesystem::file_size(path);
    cutAfterLastRecord(path);
    ASSERT_LT(std::filesystem::file_size(path), wholeSize);

    EXPECT_EQ(oracle::read(path).rawRecords, wholeRecords);
    ASSERT_EQ(pdx::Table(path).readAll(), whole);

    std::vector<std::string> kept;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (!c.goes(whole[i])) kept.push_back(wholeRecords[i]);
    }
    ASSERT_LT(kept.size(), whole.size());
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE " + c.where),
              static_cast<std::int64_t>(whole.size() - kept.size()));
    expectNormalTable(path, px, kept);

    cutAfterLastRecord(path);
    EXPECT_EQ(pdx::execute("INSERT INTO " + sqlName(path) + " " + c.insert), 1);
    const auto grown = oracle::read(path).rawRecords;
    EXPECT_EQ(grown.size(), kept.size() + 1);
    expectNormalTable(path, px, grown);
}

INSTANTIATE_TEST_SUITE_P(Tables, CutTable, ::testing::ValuesIn(kCases));

}  // namespace
