// DELETE and INSERT on password-protected tables, checked against pxlib (which decodes them):
// the rows expected, the header's key as it was, every file written back encoded.
#include "os/fs.h"
#include "pdx/format/codepage.h"
#include "pdx/table.h"
#include "protected_tables.h"
#include "pxlib_oracle.h"
#include "table_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using Row = std::vector<pdx::Value>;

constexpr std::uint32_t kKey = 0x6E25449A;        // what Paradox makes of the password "secret"
constexpr std::uint32_t kSampleKey = 0x0A25E09A;  // the protected samples' key
const std::string kSecret = "Hidden words 7";

struct ProtectedCase {
    const char* name;
    const char* sample;  // a sample, or "" for a generated level 7 table protected here,
    int rows;            // of so many rows (enough to write a protected table in several chunks)
    bool keyed;
    const char* where;
    std::function<bool(const Row&)> goes;
    const char* insert;                // after INSERT INTO <table>, a row holding kSecret
    std::vector<std::string> secrets;  // texts of its records, as stored
};

void PrintTo(const ProtectedCase& c, std::ostream* os) { *os << c.name; }

bool blank(const pdx::Value& v) { return std::holds_alternative<std::monostate>(v); }

const std::string kJingle = *pdx::CodePage(1251).fromUtf8("Джингл ");

const ProtectedCase kCases[] = {
    {"Level5",
     "misc/encrypted.db",
     0,
     false,
     "Id = 2",
     [](const Row& r) { return r[0] == pdx::Value(std::int64_t{2}); },
     "(Text) VALUES ('Hidden words 7')",
     {"Value 1", "Value 2", "Last one"}},
    {"Level3_5",
     "encrypt/encrypted35.db",
     0,
     false,
     "B = 'Test2'",
     [](const Row& r) { return r[1] == pdx::Value(std::string("Test2")); },
     "VALUES (3, 'Hidden words 7')",
     {"Test 1", "Test2"}},
    {"Level7",
     "",
     25000,
     false,
     "FKey = 3",
     [](const Row& r) { return !blank(r[1]) && std::get<std::int64_t>(r[1]) == 3; },
     "VALUES (30000, 1, 'Hidden words 7', 1.5)",
     {kJingle}},
    {"Level7Keyed",
     "",
     3000,
     true,
     "FKey <> 3",
     [](const Row& r) { return !blank(r[1]) && std::get<std::int64_t>(r[1]) != 3; },
     "VALUES (5000, 1, 'Hidden words 7', 1.5)",
     {kJingle}},
};

// The table's file; a generated one protected under kKey, its index left plain as the
// Borland engine often leaves it.
std::string makeTable(const TempFolder& folder, const ProtectedCase& c) {
    if (*c.sample) return copySample(folder, c.sample);
    const std::string path = makeJingles(folder, c.rows, c.keyed);
    protectFile(path, kKey);
    return path;
}

std::string indexOf(const std::string& path) { return path.substr(0, path.size() - 3) + ".px"; }

// What a statement may change in the header: counts, block numbers, the change counter, the
// autoincrement counter and the update time. The key slots stay as they were.
void expectHeaderKept(const std::string& before, const std::string& after) {
    const std::vector<std::pair<std::size_t, std::size_t>> mayChange = {
        {0x06, 4}, {0x0A, 2}, {0x0C, 2}, {0x0E, 2}, {0x10, 2}, {0x2D, 1}, {0x3A, 2}, {0x49, 4}, {0x60, 4}};
    ASSERT_GE(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        bool allowed = false;
        for (auto [at, n] : mayChange) allowed = allowed || (i >= at && i < at + n);
        if (!allowed) {
            EXPECT_EQ(before[i], after[i]) << "header byte " << i;
        }
    }
}

// Still protected: the engine reads it, no file beside it holds a record's text in plain, and
// pxlib reads the rows through the rebuilt index. (pxlib is asked last: it may not return
// from a table that is not what it should be.)
void expectStillProtected(const TempFolder& folder, const std::string& path, const std::string& header,
                          const std::vector<std::string>& secrets) {
    ASSERT_NO_THROW(pdx::Table(path).readAll());
    const pdx::Table table(path);
    EXPECT_TRUE(table.info().encrypted);
    expectHeaderKept(header, readFile(path).substr(0, header.size()));
    for (const auto& name : os::listFolder(folder.str())) {
        for (const auto& secret : secrets)
            ASSERT_FALSE(holds(folder.file(name), secret)) << name << ": " << secret;
    }
    if (table.info().keyed()) {
        const std::string index = readFile(indexOf(path));
        ASSERT_EQ(le32(index, 0x25), kKey);
        EXPECT_EQ(oracle::readThroughIndex(path, indexOf(path)), oracle::read(path).rawRecords);
    }
}

class ProtectedTable : public ::testing::TestWithParam<ProtectedCase> {};

TEST_P(ProtectedTable, DeleteLeavesTheOtherRowsProtected) {
    const ProtectedCase& c = GetParam();
    TempFolder folder("protected-delete");
    const std::string path = makeTable(folder, c);
    const std::string header = readFile(path).substr(0, pdx::Table(path).info().headerSize);
    const oracle::PxTable before = oracle::read(path);
    const auto values = pdx::Table(path).readAll();
    ASSERT_EQ(values.size(), before.rawRecords.size());
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!c.goes(values[i])) expected.push_back(before.rawRecords[i]);
    }
    ASSERT_LT(expected.size(), values.size());
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE " + c.where),
              static_cast<std::int64_t>(values.size() - expected.size()));
    expectStillProtected(folder, path, header, c.secrets);
    if (HasFatalFailure()) return;
    EXPECT_EQ(pdx::Table(path).readAll().size(), expected.size());
    EXPECT_EQ(oracle::read(path).rawRecords, expected);
}

TEST_P(ProtectedTable, InsertAddsARowProtected) {
    const ProtectedCase& c = GetParam();
    TempFolder folder("protected-insert");
    const std::string path = makeTable(folder, c);
    const std::string header = readFile(path).substr(0, pdx::Table(path).info().headerSize);
    const auto before = oracle::read(path).rawRecords;
    EXPECT_EQ(pdx::execute("INSERT INTO " + sqlName(path) + " " + c.insert), 1);
    auto secrets = c.secrets;
    secrets.push_back(kSecret);
    expectStillProtected(folder, path, header, secrets);
    if (HasFatalFailure()) return;
    const oracle::PxTable after = oracle::read(path);
    ASSERT_EQ(after.rawRecords.size(), before.size() + 1);
    // The old rows in their order, and the new one among them.
    std::vector<std::string> old;
    std::copy_if(
        after.rawRecords.begin(), after.rawRecords.end(), std::back_inserter(old),
        [&](const std::string& r) { return std::find(before.begin(), before.end(), r) != before.end(); });
    EXPECT_EQ(old, before);
    const auto hasSecret = [](const std::vector<Row>& rows) {
        return std::any_of(rows.begin(), rows.end(), [](const Row& row) {
            return std::find(row.begin(), row.end(), pdx::Value(kSecret)) != row.end();
        });
    };
    EXPECT_TRUE(hasSecret(after.rows));
    EXPECT_TRUE(hasSecret(pdx::Table(path).readAll()));
}

INSTANTIATE_TEST_SUITE_P(Tables, ProtectedTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A table of 8 KiB blocks, large enough to be written in several chunks: every block is
// encoded by its own number (a chunk is no whole multiple of 256 such blocks).
TEST(ProtectedTable, WideBlocksWrittenInChunks) {
    TempFolder folder("protected-wide");
    const std::string path = folder.file("Wide.db");
    pdx::execute("CREATE TABLE " + sqlName(path) + " (Id INTEGER, A CHAR(250), B CHAR(250))");
    for (int first = 0; first < 2500; first += 500) {
        std::string values;
        for (int i = first; i < first + 500; ++i) {
            values += (values.empty() ? "(" : ", (") + std::to_string(i) + ", 'Wide row " +
                      std::to_string(i) + "', '" + kSecret + "')";
        }
        pdx::execute("INSERT INTO " + sqlName(path) + " VALUES " + values);
    }
    protectFile(path, kKey);
    ASSERT_EQ(pdx::Table(path).info().blockSize, 8192u);
    const std::string header = readFile(path).substr(0, pdx::Table(path).info().headerSize);
    const auto before = oracle::read(path).rawRecords;
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE Id < 10"), 10);
    expectStillProtected(folder, path, header, {"Wide row", kSecret});
    if (HasFatalFailure()) return;
    EXPECT_EQ(oracle::read(path).rawRecords, std::vector<std::string>(before.begin() + 10, before.end()));
}

// A protected index that describes its table is kept; a plain one beside a protected table
// too, until a statement rewrites the table.
TEST(ProtectedIndex, IsKeptWhileItDescribesTheTable) {
    TempFolder folder("protected-index");
    const std::string path = makeJingles(folder, 3000, true);
    protectFile(path, kKey);
    // A mark in the index header's padding, which a rebuilt index would not have.
    const auto markIndex = [&] {
        std::string index = readFile(indexOf(path));
        index[0x7F0] = 'K';
        writeFile(indexOf(path), index);
        return index;
    };
    const std::string plain = markIndex();
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE Id < 0"), 0);
    EXPECT_EQ(readFile(indexOf(path)), plain);
    EXPECT_GT(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE Id < 10"), 0);
    ASSERT_EQ(le32(readFile(indexOf(path)), 0x25), kKey);
    const std::string index = markIndex();
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE Id < 0"), 0);
    EXPECT_EQ(readFile(indexOf(path)), index);
    EXPECT_EQ(oracle::readThroughIndex(path, indexOf(path)), oracle::read(path).rawRecords);
}

// A protected table with a blob file: new memos go to the .MB encoded (its old content as it
// was, padded to a block boundary with encoded zeros), short ones into the encoded record;
// DELETE leaves the .MB alone.
TEST(ProtectedMemos, InsertAndDeleteKeepTheBlobFileProtected) {
    TempFolder folder("protected-memo");
    const std::string path = copySample(folder, "encrypt/encryptedmemo.db");
    const std::string mb = folder.file("encryptedmemo.mb");
    const std::string header = readFile(path).substr(0, 0x800);
    std::string unusedUnit(256, '\0');
    pdx::cipher::encodeBlobBytes(std::span(reinterpret_cast<std::uint8_t*>(unusedUnit.data()), 256),
                                 kSampleKey);
    writeFile(mb, readFile(mb) + unusedUnit);
    const std::string mbBefore = readFile(mb);
    const auto before = pdx::Table(path).readAll();
    std::string longMemo;
    for (int i = 0; i < 300; ++i) longMemo += "Hidden memo line " + std::to_string(i) + ".\n";
    const std::string shortMemo = "Short hidden note";
    EXPECT_EQ(pdx::execute("INSERT INTO " + sqlName(path) + " VALUES ('" + longMemo + "'), ('" + shortMemo +
                           "'), (NULL)"),
              3);
    expectStillProtected(folder, path, header, {"Hidden memo", shortMemo, "PARADOX File Structure"});
    if (HasFatalFailure()) return;
    const std::string mbAfter = readFile(mb);
    EXPECT_EQ(mbAfter.substr(0, mbBefore.size()), mbBefore);
    EXPECT_GT(mbAfter.size(), mbBefore.size());
    EXPECT_EQ(mbAfter.size() % 4096, 0u);
    std::string decoded = mbAfter;
    pdx::cipher::decodeBlobBytes(std::span(reinterpret_cast<std::uint8_t*>(decoded.data()), decoded.size()),
                                 kSampleKey);
    const std::size_t newBlobsAt = (mbBefore.size() + 4095) / 4096 * 4096;
    EXPECT_EQ(decoded.substr(mbBefore.size() - 256, newBlobsAt - mbBefore.size() + 256),
              std::string(newBlobsAt - mbBefore.size() + 256, '\0'));
    EXPECT_NE(decoded.find(longMemo, newBlobsAt), std::string::npos);
    const auto rows = pdx::Table(path).readAll();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], before[0]);
    EXPECT_EQ(rows[1], before[1]);
    EXPECT_EQ(rows[2][0], pdx::Value(longMemo));
    EXPECT_EQ(rows[3][0], pdx::Value(shortMemo));
    EXPECT_TRUE(blank(rows[4][0]));
    EXPECT_EQ(oracle::read(path).records, 5);

    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE TEXT IS NULL"), 1);
    EXPECT_EQ(readFile(mb), mbAfter);
    expectStillProtected(folder, path, header, {"Hidden memo", shortMemo, "PARADOX File Structure"});
    if (HasFatalFailure()) return;
    EXPECT_EQ(pdx::Table(path).readAll(), std::vector<Row>(rows.begin(), rows.begin() + 4));
    EXPECT_EQ(oracle::read(path).records, 4);
}

}  // namespace
