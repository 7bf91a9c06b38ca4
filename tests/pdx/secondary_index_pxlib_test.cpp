// pxlib, an independent reader, opens the secondary indexes the engine keeps through DELETE
// and INSERT: each entries file as a table of the indexed fields, the key and "Blk Num", whose
// values are those of the rows and of their blocks; each tree as the entries files' first keys.
#include "index_files.h"
#include "pxlib_oracle.h"

#include <gtest/gtest.h>

namespace {

using namespace index_files;

struct PxlibCase {
    const char* name;
    std::function<std::string(const TempFolder&)> make;
    std::string statement;                                                  // after the table's name
    std::vector<std::pair<std::string, std::vector<std::size_t>>> indexes;  // extension, indexed fields
};

void PrintTo(const PxlibCase& c, std::ostream* os) { *os << c.name; }

const std::vector<std::pair<std::string, std::vector<std::size_t>>> kIndexesOfC = {{".X02", {1}},
                                                                                   {".X03", {2}}};

const PxlibCase kCases[] = {
    {"DeleteFromSampleC", [](const TempFolder& f) { return copySample(f, "joins/C.DB"); },
     "DELETE FROM %T WHERE C = 3", kIndexesOfC},
    {"DeleteFromSampleFk4",
     [](const TempFolder& f) { return copySample(f, "joins/fk4.db"); },
     "DELETE FROM %T WHERE ID = 2",
     {{".XG0", {1, 3}}}},
    {"DeleteFromManyBlocks", [](const TempFolder& f) { return makeC(f, 5000, true); },
     "DELETE FROM %T WHERE C < 2500 OR B = 5", kIndexesOfC},
    {"InsertIntoManyBlocks", [](const TempFolder& f) { return makeC(f, 5000, false); },
     "INSERT INTO %T VALUES (-1, 3, 3), (5001, -4, NULL), (9000, 0, 96)", kIndexesOfC},
    {"InsertIntoSampleFk4",
     [](const TempFolder& f) { return copySample(f, "joins/fk4.db"); },
     "INSERT INTO %T VALUES (5, 1, 'abc', 2)",
     {{".XG0", {1, 3}}}},
};

class IndexesAgainstPxlib : public ::testing::TestWithParam<PxlibCase> {};

TEST_P(IndexesAgainstPxlib, EntriesAreTheRowsValuesAndBlocks) {
    const PxlibCase& c = GetParam();
    TempFolder folder("pxlib-index");
    const std::string path = c.make(folder);
    std::string statement = c.statement;
    statement.replace(statement.find("%T"), 2, sqlName(path));
    ASSERT_GT(pdx::execute(statement), 0);

    const oracle::PxTable rows = oracle::read(path);
    const Layout layout = layoutOf(path);
    const BlockFile table = readBlockFile(path);
    std::map<std::string, std::size_t> rowOfKey;
    for (std::size_t r = 0; r < table.records.size(); ++r)
        rowOfKey[table.records[r].substr(0, layout.keySize)] = r;
    ASSERT_EQ(rows.rawRecords, table.records);

    for (const auto& [extension, indexed] : c.indexes) {
        const std::string xPath = std::filesystem::path(path).replace_extension(extension).string();
        SCOPED_TRACE(xPath);
        const oracle::PxTable x = oracle::read(xPath);
        EXPECT_EQ(static_cast<unsigned>(x.fileType), byteAt(readFile(xPath), 0x04));
        EXPECT_EQ(x.records, rows.records);
        EXPECT_EQ(x.rawRecords, readBlockFile(xPath).records);
        // Fields: the indexed ones, the key, the block number, under their names.
        std::vector<std::size_t> fields = indexed;
        for (std::size_t k = 0; k < layout.keyFields; ++k) fields.push_back(k);
        ASSERT_EQ(x.fields.size(), fields.size() + 1);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(x.fields[i].name, rows.fields[fields[i]].name);
            EXPECT_EQ(x.fields[i].type, rows.fields[fields[i]].type);
        }
        EXPECT_EQ(x.fields.back().name, "Blk Num");
        EXPECT_EQ(x.fields.back().type, pdx::FieldType::Short);
        const std::size_t keyAt = x.recordSize - kBlockNumberSize - layout.keySize;
        for (std::size_t e = 0; e < x.rawRecords.size(); ++e) {
            const auto it = rowOfKey.find(x.rawRecords[e].substr(keyAt, layout.keySize));
            ASSERT_NE(it, rowOfKey.end()) << "entry " << e;
            for (std::size_t i = 0; i < fields.size(); ++i) {
                EXPECT_EQ(x.rows[e][i], rows.rows[it->second][fields[i]]) << "entry " << e << " field " << i;
            }
            EXPECT_EQ(x.rows[e].back(), pdx::Value(std::int64_t{table.blockOf[it->second]})) << "entry " << e;
        }

        // The tree, read flat: one record per entries-file block (these trees have one level),
        // starting with that block's first entry.
        const oracle::PxTable y = oracle::read(treePathOf(xPath));
        const BlockFile xBlocks = readBlockFile(xPath);
        ASSERT_EQ(y.rawRecords.size(), xBlocks.blocks.size());
        for (std::size_t b = 0; b < xBlocks.blocks.size(); ++b) {
            const std::string& first = xBlocks.records[xBlocks.blocks[b].first];
            EXPECT_EQ(y.rawRecords[b].substr(0, first.size() - kBlockNumberSize),
                      first.substr(0, first.size() - kBlockNumberSize));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Statements, IndexesAgainstPxlib, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
