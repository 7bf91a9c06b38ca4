// Secondary indexes through DELETE and INSERT, checked byte by byte with the tests' own reading
// of the files: maintained indexes hold exactly the rows' entries, in order, with the rows'
// blocks, and their trees list the entries files' blocks; the others are left as they were;
// indexes the engine cannot keep refuse the statement and nothing changes.
#include "index_files.h"
#include "pdx/error.h"

#include <gtest/gtest.h>

namespace {

using namespace index_files;

// Every file of the folder, by name.
std::map<std::string, std::string> snapshot(const TempFolder& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        files[entry.path().filename().string()] = readFile(entry.path().string());
    }
    return files;
}

// What a test expects of one index after the statement.
struct Expected {
    std::string extension;             // of the entries file
    std::vector<std::size_t> indexed;  // the table's fields it indexes, 0-based
};

// The index describes the table as `entries` (in that order) say; its header ties it to the
// table and to its tree, which lists its blocks with their first keys and counts.
void expectIndex(const std::string& tablePath, const std::string& xPath,
                 const std::vector<std::string>& entries, unsigned oldChangeCount) {
    SCOPED_TRACE(xPath);
    const BlockFile x = readBlockFile(xPath);
    EXPECT_EQ(x.records, entries);
    const std::string table = readFile(tablePath);
    EXPECT_EQ(le32(x.header, 0x06), entries.size());
    EXPECT_EQ(byteAt(x.header, 0x2D), (oldChangeCount + 1) & 0xFF);
    EXPECT_EQ(byteAt(x.header, 0x2F), byteAt(table, 0x2D));
    const std::string y = readFile(treePathOf(xPath));
    EXPECT_EQ(byteAt(y, 0x04), byteAt(x.header, 0x04) == 8 ? 7u : 4u);
    EXPECT_EQ(byteAt(y, 0x2C), byteAt(x.header, 0x2D));
    EXPECT_EQ(le16(y, 0x00), x.recordSize - kBlockNumberSize + 6);
    // One level more for each time a level does not fit one tree block.
    const std::size_t perBlock = (byteAt(y, 0x05) * 1024u - kBlockHeader) / le16(y, 0x00);
    unsigned levels = x.blocks.empty() ? 0 : 1;
    for (std::size_t n = x.blocks.size(); n > perBlock; n = (n + perBlock - 1) / perBlock) ++levels;
    EXPECT_EQ(byteAt(y, 0x20), levels);
    const auto leaves = readTreeLeaves(treePathOf(xPath));
    ASSERT_EQ(leaves.size(), x.blocks.size());
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        EXPECT_EQ(leaves[i].block, x.blocks[i].number);
        EXPECT_EQ(leaves[i].count, x.blocks[i].count);
        EXPECT_EQ(leaves[i].key, x.records[x.blocks[i].first].substr(0, x.recordSize - kBlockNumberSize));
    }
}

struct KeptCase {
    const char* name;
    std::function<std::string(const TempFolder&)> make;  // the table with its indexes
    std::vector<Expected> indexes;
    const char* where;
};

void PrintTo(const KeptCase& c, std::ostream* os) { *os << c.name; }

std::string sample(const TempFolder& folder, const char* table) { return copySample(folder, table); }

// Words under "ANSII850": the index on Name in letter order, not byte order.
std::string wordsByLetters(const TempFolder& folder) {
    const std::string path = makeWords(folder, 900, "ANSII850");
    writeIndex(path, IndexSpec{".X02", {1}},
               [](const std::string& a, const std::string& b) { return lettersThenBytes(a, b, 12); });
    return path;
}

// A table keyed by a name under "ANSII850", its rows in letter order (so keys are not in byte
// order), with an index on N whose ties go by letters too.
std::string keyedByLetters(const TempFolder& folder) {
    const std::string path = folder.file("K.db");
    pdx::execute("CREATE TABLE " + sqlName(path) + " (Name CHAR(12), N INTEGER, PRIMARY KEY (Name))");
    std::string values;
    for (int i = 0; i < 700; ++i)
        values += (i ? ", ('" : "('") + wordOf(i) + std::to_string(i) + "', " + std::to_string(i % 7) + ")";
    pdx::execute("INSERT INTO " + sqlName(path) + " VALUES " + values);
    setTableSortOrder(path, 0x11, "ANSII850");
    const BlockFile table = readBlockFile(path);
    writeBlockFile(path, table.header, sorted(table.records, [](const std::string& a, const std::string& b) {
                       return lettersThenBytes(a, b, 12);
                   }));
    std::filesystem::remove(folder.file("K.px"));
    writeIndex(path, IndexSpec{".X02", {1}}, [](const std::string& a, const std::string& b) {
        if (a.compare(0, 4, b, 0, 4) != 0) return a.compare(0, 4, b, 0, 4) < 0;
        return lettersThenBytes(a.substr(4), b.substr(4), 12);
    });
    return path;
}

const KeptCase kDeleteCases[] = {
    {"SampleCOneRow",
     [](const TempFolder& f) { return sample(f, "joins/C.DB"); },
     {{".X02", {1}}, {".X03", {2}}},
     "C = 2"},
    {"SampleCEveryRow",
     [](const TempFolder& f) { return sample(f, "joins/C.DB"); },
     {{".X02", {1}}, {".X03", {2}}},
     "C > 0"},
    {"SampleFk4Composite",
     [](const TempFolder& f) { return sample(f, "joins/fk4.db"); },
     {{".XG0", {1, 3}}},
     "ID = 1"},
    {"ManyBlocksTied",
     [](const TempFolder& f) { return makeC(f, 3000, true); },
     {{".X02", {1}}, {".X03", {2}}},
     "C < 1500 OR B = 5"},
    {"ManyBlocksStaleCounters",
     [](const TempFolder& f) { return makeC(f, 3000, false); },
     {{".X02", {1}}, {".X03", {2}}},
     "B IS NULL OR C > 2000"},
    {"TwoLevelTree",
     [](const TempFolder& f) { return makeC(f, 32000, true); },
     {{".X02", {1}}, {".X03", {2}}},
     "B = 7"},
    {"TextIndexInLetterOrder", wordsByLetters, {{".X02", {1}}}, "N = 3 OR Id < 600"},
    {"TextKeyInLetterOrder", keyedByLetters, {{".X02", {1}}}, "N = 2"},
};

class DeleteKeeps : public ::testing::TestWithParam<KeptCase> {};

TEST_P(DeleteKeeps, EntriesOfTheSurvivorsInTheirOldOrderWithTheirBlocks) {
    const KeptCase& c = GetParam();
    TempFolder folder("delete-kept");
    const std::string path = c.make(folder);
    const std::string base = std::filesystem::path(path).replace_extension("").string();
    std::map<std::string, std::vector<std::string>> old;
    std::map<std::string, unsigned> counters;
    for (const auto& index : c.indexes) {
        const BlockFile x = readBlockFile(base + index.extension);
        old[index.extension] = x.records;
        counters[index.extension] = byteAt(x.header, 0x2D);
        // The fixture describes the table.
        ASSERT_EQ(sorted(x.records), sorted(entriesOf(path, index.indexed)));
    }
    const auto rowsBefore = pdx::Table(path).info().recordCount;
    const auto deleted = pdx::execute("DELETE FROM " + sqlName(path) + " WHERE " + c.where);
    ASSERT_GT(deleted, 0);
    const auto rowsAfter = pdx::Table(path).info().recordCount;
    EXPECT_EQ(rowsAfter, rowsBefore - deleted);
    for (const auto& index : c.indexes) {
        const std::string xPath = base + index.extension;
        const auto kept = survivingEntries(old[index.extension], path);
        // Exactly the survivors' entries, as they would be made from the rows now.
        EXPECT_EQ(sorted(kept), sorted(entriesOf(path, index.indexed)));
        expectIndex(path, xPath, kept, counters[index.extension]);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DeleteKeeps, ::testing::ValuesIn(kDeleteCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DeleteKeeps, EveryRowGoneLeavesEmptyIndexesShapedLikeParadoxs) {
    TempFolder folder("delete-all");
    const std::string path = copySample(folder, "joins/fk4.db");
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path)), 2);
    const std::string x = readFile(folder.file("fk4.XG0"));
    const std::string y = readFile(folder.file("fk4.YG0"));
    EXPECT_EQ(x.size(), le16(x, 2));  // no blocks
    EXPECT_EQ(le32(x, 0x06), 0u);
    EXPECT_EQ(le16(x, 0x0E), 0u);
    // As fk1.y02 (an empty table's tree): no blocks, root 1, no levels.
    const std::string empty = readFile(kSamples + "/joins/fk1.y02");
    for (std::size_t at : {0x06, 0x0A, 0x0C, 0x0E, 0x1E}) EXPECT_EQ(le16(y, at), le16(empty, at)) << at;
    EXPECT_EQ(byteAt(y, 0x20), byteAt(empty, 0x20));
    EXPECT_EQ(y.size(), le16(y, 2));
}

TEST(DeleteKeeps, NothingDeletedChangesNoFile) {
    TempFolder folder("delete-none");
    copySample(folder, "joins/fk4.db");
    const auto before = snapshot(folder);
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(folder.file("fk4.db")) + " WHERE ID = 99"), 0);
    EXPECT_EQ(snapshot(folder), before);

    // C.PX is another content's (its counter is not the table's) and is rebuilt as ever; the
    // secondary indexes stay as they are.
    copySample(folder, "joins/C.DB");
    auto withC = snapshot(folder);
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(folder.file("C.DB")) + " WHERE C = 99"), 0);
    auto after = snapshot(folder);
    EXPECT_NE(after["C.PX"], withC["C.PX"]);
    after.erase("C.PX");
    withC.erase("C.PX");
    EXPECT_EQ(after, withC);
}

// Paradox rebuilds non-maintained indexes when it uses them: they stay byte for byte.
TEST(NonMaintainedIndexes, StayAsTheyWere) {
    TempFolder folder("non-maintained");
    copySample(folder, "joins/case.db");
    copySample(folder, "joins/indexed.db");
    const auto before = snapshot(folder);
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(folder.file("case.db")) + " WHERE C = 'case'"), 1);
    EXPECT_EQ(pdx::execute("INSERT INTO " + sqlName(folder.file("indexed.db")) + " VALUES (5), (-2)"), 2);
    const auto after = snapshot(folder);
    for (const char* name : {"case.x01", "case.y01", "indexed.xg0", "indexed.yg0"}) {
        EXPECT_EQ(after.at(name), before.at(name)) << name;
    }
    EXPECT_EQ(pdx::Table(folder.file("case.db")).info().recordCount, 0u);
}

// Words with an index written for them.
std::function<std::string(const TempFolder&)> wordsIndexed(IndexSpec index, const char* sortOrder = "ascii",
                                                           int rows = 50) {
    return [=](const TempFolder& f) {
        const std::string path = makeWords(f, rows, sortOrder);
        writeIndex(path, index);
        return path;
    };
}

const KeptCase kInsertCases[] = {
    {"SampleC",
     [](const TempFolder& f) { return sample(f, "joins/C.DB"); },
     {{".X02", {1}}, {".X03", {2}}},
     "(10, -7, NULL), (0, 100, 3), (-5, 2, 5)"},
    {"SampleFk4Composite",
     [](const TempFolder& f) { return sample(f, "joins/fk4.db"); },
     {{".XG0", {1, 3}}},
     "(3, 5, 'x', NULL), (0, NULL, NULL, 1), (7, 5, NULL, -1)"},
    // New keys before every old one: every row moves to another block.
    {"ManyBlocksEveryRowMoves",
     [](const TempFolder& f) { return makeC(f, 3000, true); },
     {{".X02", {1}}, {".X03", {2}}},
     "(-1, 0, 0), (-2, 5, NULL), (-3, -5000, 96), (-4, 1, 1), (-5, 9999, 5)"},
    {"TextIndexUnderAscii",
     wordsIndexed({".X02", {1}}, "ascii", 600),
     {{".X02", {1}}},
     "(1, 'Apple0', 1, 1), (-3, 'zebra', 2, 2), (2, NULL, 3, 3), (4, 'apple0', NULL, NULL)"},
};

class InsertPlaces : public ::testing::TestWithParam<KeptCase> {};

TEST_P(InsertPlaces, NewEntriesInByteOrderAmongTheOld) {
    const KeptCase& c = GetParam();
    TempFolder folder("insert-kept");
    const std::string path = c.make(folder);
    const std::string base = std::filesystem::path(path).replace_extension("").string();
    std::map<std::string, unsigned> counters;
    for (const auto& index : c.indexes)
        counters[index.extension] = byteAt(readFile(base + index.extension), 0x2D);
    EXPECT_GT(pdx::execute("INSERT INTO " + sqlName(path) + " VALUES " + c.where), 0);
    for (const auto& index : c.indexes) {
        expectIndex(path, base + index.extension, sorted(entriesOf(path, index.indexed)),
                    counters[index.extension]);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, InsertPlaces, ::testing::ValuesIn(kInsertCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A statement an index refuses: the message names the table, the index and why; no file of
// the folder changes.
struct Refusal {
    const char* name;
    std::function<std::string(const TempFolder&)> make;  // the table, damaged as the case says
    const char* statement;                               // %T stands for the table
    std::vector<const char*> parts;                      // of the message
};

// The sample C.DB with bytes of one of its index files replaced.
std::function<std::string(const TempFolder&)> cWith(const char* file, std::size_t at, std::string bytes) {
    return [=](const TempFolder& f) {
        const std::string path = sample(f, "joins/C.DB");
        patchFile(f.file(file), at, bytes);
        return path;
    };
}

std::function<std::string(const TempFolder&)> cWithout(const char* file) {
    return [=](const TempFolder& f) {
        const std::string path = sample(f, "joins/C.DB");
        std::filesystem::remove(f.file(file));
        return path;
    };
}

const char* const kDeleteC = "DELETE FROM %T WHERE C = 2";

const Refusal kRefusals[] = {
    {"UnknownKind", cWith("C.X02", 0x04, "\x09"), kDeleteC, {"C.X02", "тип 9"}},
    {"OlderLevel", cWith("C.X03", 0x39, "\x04"), kDeleteC, {"C.X03", "версия формата 4"}},
    {"TreeMissing", cWithout("C.Y03"), kDeleteC, {"C.X03", "C.Y03"}},
    {"TreeWithoutEntries", cWithout("C.X03"), kDeleteC, {"C.Y03", "C.X03"}},
    {"TreeOfAnotherKind", cWith("C.Y02", 0x04, "\x01"), kDeleteC, {"C.X02", "C.Y02", "тип 1"}},
    {"LayoutUnknown",
     cWith("C.X02", 0x23, std::string("\x01\x00", 2)),
     kDeleteC,
     {"C.X02", "неизвестного устройства"}},
    {"EntryDisagreesWithItsRow",
     cWith("C.X02", 0x809, "\x09"),
     kDeleteC,
     {"C.X02", "не соответствуют строкам"}},
    {"EntryDisagreesOnInsert",
     cWith("C.X03", 0x81D, "\x07"),
     "INSERT INTO %T VALUES (10, 1, 1)",
     {"C.X03", "не соответствуют строкам"}},
    {"EntriesCountedWrong", cWith("C.X02", 0x06, "\x05"), kDeleteC, {"C.X02", "повреждена"}},
    {"EntriesProtected", cWith("C.X02", 0x5C, "\x01"), kDeleteC, {"C.X02", "паролем"}},
    {"MaintainedWithoutKey",
     [](const TempFolder& f) {
         const std::string path = copySample(f, "joins/case.db");
         patchFile(f.file("case.x01"), 0x04, "\x05");
         return path;
     },
     "DELETE FROM %T WHERE C = 'case'",
     {"case.x01", "без ключа"}},
    {"InsertTextIndexUnderAnotherSortOrder",
     wordsIndexed({".X02", {1}}, "ANSII850"),
     "INSERT INTO %T VALUES (1, 'a', 1, 1)",
     {"T.X02", "вставка", "\"ANSII850\"", "Name"}},
    {"InsertDescendingIndex",
     wordsIndexed({".XG0", {2}, 8, 0x10}),
     "INSERT INTO %T VALUES (1, 'a', 1, 1)",
     {"T.XG0", "убыванию"}},
    {"InsertDescendingField",
     wordsIndexed({".XG0", {2}, 8, 0, true}),
     "INSERT INTO %T VALUES (1, 'a', 1, 1)",
     {"T.XG0", "убыванию"}},
    {"InsertNamedTextIndex",
     wordsIndexed({".XG0", {1}, 8}),
     "INSERT INTO %T VALUES (1, 'a', 1, 1)",
     {"T.XG0", "регистр"}},
    {"InsertIndexOfUnknownOptions",
     wordsIndexed({".XG0", {2}, 8, 0x01}),
     "INSERT INTO %T VALUES (1, 'a', 1, 1)",
     {"T.XG0", "0x01"}},
    {"InsertDecimalIndex",
     wordsIndexed({".X04", {3}}),
     "INSERT INTO %T VALUES (1, 'a', 1, 1)",
     {"T.X04", "#"}},
    {"InsertTextKeyUnderAnotherSortOrder",
     [](const TempFolder& f) {
         const std::string path = f.file("K.db");
         pdx::execute("CREATE TABLE " + sqlName(path) + " (Name CHAR(12), N INTEGER, PRIMARY KEY (Name))");
         pdx::execute("INSERT INTO " + sqlName(path) + " VALUES ('b', 1), ('A', 2)");
         setTableSortOrder(path, 0x11, "ANSII850");
         return path;
     },
     "INSERT INTO %T VALUES ('a', 3)",
     {"вставка", "\"ANSII850\"", "Name"}},
};

void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

class IndexRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(IndexRefuses, NamingTableIndexAndCauseWithNoFileChanged) {
    const Refusal& r = GetParam();
    TempFolder folder("refused");
    const std::string path = r.make(folder);
    const auto before = snapshot(folder);
    std::string statement = r.statement;
    statement.replace(statement.find("%T"), 2, sqlName(path));
    try {
        pdx::execute(statement);
        ADD_FAILURE() << "no error";
    } catch (const pdx::Error& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find(path), std::string::npos) << message;
        for (const char* part : r.parts)
            EXPECT_NE(message.find(part), std::string::npos) << part << " in " << message;
    }
    EXPECT_EQ(snapshot(folder), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, IndexRefuses, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

// The same table file, its indexes named in any case.
TEST(SecondaryIndexFiles, FoundAndKeptInAnyCase) {
    TempFolder folder("index-case");
    const std::string path = copySample(folder, "joins/C.DB");
    std::filesystem::rename(folder.file("C.X02"), folder.file("c.x02"));
    std::filesystem::rename(folder.file("C.Y02"), folder.file("C.y02"));
    const auto old = readBlockFile(folder.file("c.x02")).records;
    const auto before = snapshot(folder);
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE C = 1"), 1);
    EXPECT_EQ(readBlockFile(folder.file("c.x02")).records, survivingEntries(old, path));
    EXPECT_EQ(readTreeLeaves(folder.file("C.y02")).size(), 1u);
    // Each file keeps its name's spelling.
    const auto after = snapshot(folder);
    const auto names = [](const std::map<std::string, std::string>& files) {
        std::vector<std::string> list;
        for (const auto& file : files) list.push_back(file.first);
        return list;
    };
    EXPECT_EQ(names(after), names(before));
}

// What a killed statement left of an index's new files goes; the index is kept all the same.
TEST(SecondaryIndexFiles, LeftoversOfAKilledRunAreRemoved) {
    TempFolder folder("index-leftover");
    const std::string path = copySample(folder, "joins/C.DB");
    writeFile(folder.file("~C.X02.new"), "half written");
    writeFile(folder.file("~C.Y03.new"), "half written");
    const auto old = readBlockFile(folder.file("C.X02")).records;
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE C = 3"), 1);
    EXPECT_FALSE(std::filesystem::exists(folder.file("~C.X02.new")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("~C.Y03.new")));
    EXPECT_EQ(readBlockFile(folder.file("C.X02")).records, survivingEntries(old, path));
}

// An entries file is laid out like a table, yet it is no table to open.
TEST(SecondaryIndexFiles, EntriesFileIsNoTable) {
    try {
        pdx::Table(kSamples + "/joins/C.X02").readAll();
        ADD_FAILURE() << "opened";
    } catch (const pdx::Error& e) {
        EXPECT_NE(std::string(e.what()).find("не является таблицей Paradox (тип 5)"), std::string::npos)
            << e.what();
    }
}

}  // namespace
