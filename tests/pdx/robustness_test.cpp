// Failures leave the table byte-identical: bad statements, busy and unwritable tables,
// truncated and corrupted files. Damaged files give clear errors, never crashes or hangs.
#include "os/fs.h"
#include "pdx/error.h"
#include "pdx/table.h"
#include "table_fixtures.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <random>

namespace {

// Runs `statement` on the table at `path` and expects a pdx::Error mentioning `part`; the
// table file and its index must be unchanged afterwards.
void expectFailureLeavesTable(const std::string& path, const std::string& statement,
                              const std::string& part) {
    const std::string before = readFile(path);
    try {
        pdx::execute(statement);
        ADD_FAILURE() << "no error for " << statement;
    } catch (const pdx::Error& e) {
        EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
    }
    EXPECT_EQ(readFile(path), before);
}

struct BadStatement {
    const char* suffix;  // after DELETE FROM "<table>"
    const char* message;
};

class DeleteFails : public ::testing::TestWithParam<BadStatement> {};

TEST_P(DeleteFails, TableUnchanged) {
    TempFolder folder("delete-fails");
    const std::string path = makeJingles(folder, 100, true);
    expectFailureLeavesTable(path, "DELETE FROM " + sqlName(path) + GetParam().suffix, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Statements, DeleteFails,
                         ::testing::Values(BadStatement{" WHERE Nope <> 5", "Nope"},
                                           BadStatement{" WHERE FKey <> 'five'", "FKey"},
                                           BadStatement{" WHERE FKey <>", "SQL"}));

TEST(DeleteFails, MissingTableIsNamed) {
    TempFolder folder("missing");
    const std::string path = folder.file("AdvStarts.db");
    try {
        pdx::execute("DELETE FROM " + sqlName(path) + " WHERE FKey <> 1");
        FAIL();
    } catch (const pdx::Error& e) {
        EXPECT_EQ(std::string(e.what()), "Таблица \"" + path + "\" не найдена");
    }
}

TEST(DeleteFails, BusyTableIsRefused) {
    TempFolder folder("busy");
    const std::string path = makeJingles(folder, 100, false);
    const os::File holder(path, os::File::Mode::ReadExclusive);
    expectFailureLeavesTable(path, "DELETE FROM " + sqlName(path) + " WHERE FKey <> 1",
                             "занята другой программой");
}

#ifndef _WIN32
TEST(DeleteFails, TableHeldByAnotherProcessIsRefused) {
    TempFolder folder("busy-child");
    const std::string path = makeJingles(folder, 100, false);
    int ready[2];
    int release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const pid_t child = fork();
    if (child == 0) {
        const os::File holder(path, os::File::Mode::ReadExclusive);
        char c = 1;
        (void)!write(ready[1], &c, 1);
        (void)!read(release[0], &c, 1);
        _exit(0);
    }
    char c;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    expectFailureLeavesTable(path, "DELETE FROM " + sqlName(path) + " WHERE FKey <> 1",
                             "занята другой программой");
    (void)!write(release[1], &c, 1);
    waitpid(child, nullptr, 0);
    EXPECT_GT(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE FKey <> 1"), 0);
}

TEST(DeleteFails, UnwritableFolder) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    TempFolder folder("readonly");
    const std::string path = makeJingles(folder, 100, false);
    std::filesystem::permissions(folder.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    expectFailureLeavesTable(path, "DELETE FROM " + sqlName(path) + " WHERE FKey <> 1", "Нет доступа");
}
#endif

// A protected table is refused only where its records cannot be decoded, saying why.
struct Undecodable {
    const char* name;
    const char* sample;
    std::size_t offset;
    std::string bytes;  // written at offset; empty: truncate the file to offset
    const char* message;
};

void PrintTo(const Undecodable& c, std::ostream* os) { *os << c.name; }

class ProtectedTableFails : public ::testing::TestWithParam<Undecodable> {};

TEST_P(ProtectedTableFails, ClearErrorNoChange) {
    const Undecodable& c = GetParam();
    TempFolder folder("undecodable");
    const std::string path = copySample(folder, c.sample);
    std::string content = readFile(path);
    if (c.bytes.empty()) {
        content.resize(c.offset);
    } else {
        content.replace(c.offset, c.bytes.size(), c.bytes);
    }
    writeFile(path, content);
    try {
        pdx::Table(path).readAll();
        FAIL() << "read an undecodable table";
    } catch (const pdx::Error& e) {
        EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
    const auto first = pdx::Table(path).fields()[0].name;
    expectFailureLeavesTable(path, "DELETE FROM " + sqlName(path), c.message);
    expectFailureLeavesTable(path, "INSERT INTO " + sqlName(path) + " (" + first + ") VALUES (NULL)",
                             c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProtectedTableFails,
    ::testing::Values(
        // A Paradox 3.5 table holding where its key belongs the mark that later formats moved it.
        Undecodable{"KeyNotWhereItsLevelKeepsIt", "encrypt/encrypted35.db", 0x25,
                    std::string("\x00\xFF\x00\xFF", 4), "ключ к ней не найден"},
        // The file ends inside a 256-byte unit of the block: its first, or one with records.
        Undecodable{"CutInsideTheFirstUnit", "misc/encrypted.db", 0x800 + 200, "", "нельзя расшифровать"},
        Undecodable{"CutInsideAUnitOfRecords", "encrypt/encryptedmemo.db", 0x800 + 300, "",
                    "нельзя расшифровать"}),
    [](const auto& info) { return std::string(info.param.name); });

// Cut after a whole unit that holds every record, a protected table still reads.
TEST(ProtectedTable, CutAfterTheUnitOfItsLastRecordReads) {
    TempFolder folder("protected-cut");
    const std::string path = copySample(folder, "misc/encrypted.db");
    const auto rows = pdx::Table(path).readAll();
    writeFile(path, readFile(path).substr(0, 0x800 + 256));
    EXPECT_EQ(pdx::Table(path).readAll(), rows);
}

// A write that fails half way (here: the new file's name is taken by a folder).
TEST(DeleteFails, FailedWriteLeavesTableAndIndex) {
    TempFolder folder("blocked");
    const std::string path = makeJingles(folder, 100, true);
    const std::string index = readFile(folder.file("Jingles.px"));
    std::filesystem::create_directory(folder.file("~Jingles.db.new"));
    std::filesystem::create_directory(folder.file("~Jingles.db.new/x"));
    expectFailureLeavesTable(path, "DELETE FROM " + sqlName(path) + " WHERE FKey <> 1", path);
    EXPECT_EQ(readFile(folder.file("Jingles.px")), index);
}

// Blocks are read along their links, wherever they lie in the file.
TEST(BlockOrder, ReversedBlocksReadInChainOrder) {
    TempFolder folder("reversed");
    const std::string path = makeJingles(folder, 600, false);
    const auto rows = pdx::Table(path).readAll();
    std::string content = readFile(path);
    const std::size_t headerSize = 0x800;
    const std::size_t blockSize = 2048;
    const std::size_t count = (content.size() - headerSize) / blockSize;
    ASSERT_GT(count, 3u);
    // Logical block i goes to physical place count + 1 - i; links follow.
    const auto place = [&](std::size_t logical) { return logical == 0 ? 0 : count + 1 - logical; };
    const auto putLink = [](std::string& s, std::size_t at, std::size_t v) {
        s[at] = static_cast<char>(v & 0xFF);
        s[at + 1] = static_cast<char>(v >> 8);
    };
    std::string moved = content.substr(0, headerSize) + std::string(count * blockSize, '\0');
    for (std::size_t logical = 1; logical <= count; ++logical) {
        std::string block = content.substr(headerSize + (logical - 1) * blockSize, blockSize);
        const std::size_t next = logical == count ? 0 : logical + 1;
        putLink(block, 0, place(next));
        putLink(block, 2, place(logical - 1));
        moved.replace(headerSize + (place(logical) - 1) * blockSize, blockSize, block);
    }
    putLink(moved, 0x0E, place(1));
    putLink(moved, 0x10, place(count));
    writeFile(path, moved);
    EXPECT_EQ(pdx::Table(path).readAll(), rows);
    EXPECT_GT(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE FKey = 4"), 0);
    std::vector<std::vector<pdx::Value>> kept;
    for (const auto& row : rows) {
        if (!(std::holds_alternative<std::int64_t>(row[1]) && std::get<std::int64_t>(row[1]) == 4))
            kept.push_back(row);
    }
    EXPECT_EQ(pdx::Table(path).readAll(), kept);
}

// Paradox may end a table's file right after the last record of its last block.
TEST(BlockOrder, TablesCutAfterTheirLastRecordRead) {
    for (const char* sample : {"misc/ORDERS.DB", "misc/tblAC.DB"}) {
        TempFolder folder("cut");
        const std::string path = copySample(folder, sample);
        const std::size_t size = readFile(path).size();
        cutAfterLastRecord(path);
        EXPECT_LT(readFile(path).size(), size) << sample;
        EXPECT_EQ(pdx::Table(path).readAll(), pdx::Table(kSamples + "/" + sample).readAll()) << sample;
    }
}

// Header and chain damage: each must be reported as such, for reading and for DELETE.
struct Damage {
    const char* name;
    std::size_t offset;
    std::string bytes;  // written at offset; empty: truncate the file to offset
    const char* message;
};

class DamagedTable : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedTable, ClearErrorNoChange) {
    TempFolder folder("damaged");
    const std::string path = makeJingles(folder, 300, false);
    std::string content = readFile(path);
    const Damage& d = GetParam();
    if (d.bytes.empty()) {
        content.resize(d.offset);
    } else {
        content.replace(d.offset, d.bytes.size(), d.bytes);
    }
    writeFile(path, content);
    try {
        pdx::Table(path).readAll();
        FAIL() << "read a damaged table";
    } catch (const pdx::Error& e) {
        EXPECT_NE(std::string(e.what()).find(d.message), std::string::npos) << e.what();
    }
    expectFailureLeavesTable(path, "DELETE FROM " + sqlName(path) + " WHERE FKey <> 1", d.message);
}

const std::string kHeaderEnd = std::string(1, '\x00');

// The damaged table: 300 records of 56 bytes, 36 to a 2 KiB block, so its last block (9) holds
// 12 records.
constexpr std::size_t kLastBlockAt = 0x800 + 8 * 2048;

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedTable,
    ::testing::Values(Damage{"TruncatedHeader", 0x40, "", "повреждена"},
                      Damage{"TruncatedData", 0x800 + 3000, "", "за пределами файла"},
                      Damage{"LastBlockCutInItsRecords", kLastBlockAt + 6 + 12 * 56 - 1, "",
                             "за пределами файла"},
                      Damage{"LastBlockCutInItsLinks", kLastBlockAt + 5, "", "за пределами файла"},
                      Damage{"RecordCountTooHigh", 0x06, std::string("\xFF\x00\x00\x00", 4), "записей"},
                      Damage{"RecordCountTooLow", 0x06, std::string("\x05\x00\x00\x00", 4), "записей"},
                      Damage{"ZeroBlockSize", 0x05, std::string(1, '\0'), "размер блока"},
                      Damage{"HugeHeaderSize", 0x02, "\xFF\xFF", "заголовка"},
                      Damage{"UnknownFieldType", 0x78, "\x42", "неизвестного типа"},
                      Damage{"NextBlockOutside", 0x800, "\xFF\x7F", "за пределами файла"},
                      Damage{"CyclicChain", 0x800, std::string("\x01\x00", 2), "кольцо"},
                      Damage{"OverfullBlock", 0x804, "\xFF\x7E", "заполненность"},
                      Damage{"UnknownLevel", 0x39, "\x20", "версия"}),
    [](const auto& info) { return std::string(info.param.name); });

// Random damage anywhere in real tables: the reader either reads or throws pdx::Error.
TEST(DamagedTable, RandomBytesNeverCrash) {
    std::mt19937 random(12345);
    TempFolder folder("random");
    int deletes = 0;
    for (const char* sample : {"misc/ORDERS.DB", "fields/memo.db", "misc/tblAC.DB", "fields/bcd.db"}) {
        const std::string path = copySample(folder, sample);
        const std::string original = readFile(path);
        for (int round = 0; round < 200; ++round) {
            std::string content = original;
            const int changes = 1 + static_cast<int>(random() % 8);
            for (int k = 0; k < changes; ++k) {
                content[random() % std::min<std::size_t>(content.size(), 0x1000)] =
                    static_cast<char>(random());
            }
            if (random() % 5 == 0) content.resize(random() % content.size());
            writeFile(path, content);
            try {
                const pdx::Table table(path);
                for (auto cursor = table.records(); cursor.next();) {
                    for (std::size_t i = 0; i < table.fields().size(); ++i) {
                        pdx::formatValue(cursor.values()[i], table.fields()[i]);
                    }
                }
            } catch (const pdx::Error&) {
            }
            // DELETE either succeeds, leaving a readable table, or changes nothing.
            try {
                pdx::execute("DELETE FROM " + sqlName(path));
                ++deletes;
                EXPECT_NO_THROW(pdx::Table(path).readAll());
            } catch (const pdx::Error&) {
                EXPECT_EQ(readFile(path), content);
            }
        }
    }
    EXPECT_GT(deletes, 0);
}

}  // namespace
