// Tables whose header names a code page the engine has no table for: their text and field
// names go through the system's converter, both ways; a page the system lacks as well is
// an error naming it.
#include "pdx/error.h"
#include "pdx/format/db_format.h"
#include "pdx/table.h"
#include "table_fixtures.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// Makes the table's header name another code page; the bytes of its text stay as they are.
void nameCodePage(const std::string& path, std::uint16_t codePage) {
    std::fstream file(std::filesystem::u8path(path), std::ios::in | std::ios::out | std::ios::binary);
    const char bytes[2] = {static_cast<char>(codePage & 0xFF), static_cast<char>(codePage >> 8)};
    file.seekp(pdx::format::kCodePage);
    file.write(bytes, sizeof bytes);
}

// A table of one text field `name` CHAR(`size`) that our engine made (in 1251) and whose
// header then names `codePage`.
std::string makeTable(const TempFolder& folder, std::uint16_t codePage, const std::string& name = "Name",
                      int size = 20) {
    const std::string path = folder.file("t.db");
    pdx::execute("CREATE TABLE " + sqlName(path) + " (Id INTEGER, \"" + name + "\" CHAR(" +
                 std::to_string(size) + "))");
    nameCodePage(path, codePage);
    return path;
}

std::vector<std::string> texts(const std::string& path) {
    std::vector<std::string> out;
    for (const auto& row : pdx::Table(path).readAll()) {
        out.push_back(std::holds_alternative<std::string>(row[1]) ? std::get<std::string>(row[1])
                                                                  : "<blank>");
    }
    return out;
}

bool holds(const std::string& file, const std::string& bytes) {
    return readFile(file).find(bytes) != std::string::npos;
}

TEST(SystemCodePageTable, GreekTextWrittenAndReadBack) {
    TempFolder folder("greek");
    const std::string path = makeTable(folder, 1253);
    EXPECT_EQ(pdx::execute("INSERT INTO " + sqlName(path) + " VALUES (1, 'Καλημέρα'), (2, 'plain')"), 2);
    EXPECT_TRUE(holds(path, "\xCA\xE1\xEB\xE7\xEC\xDD\xF1\xE1"));
    EXPECT_EQ(texts(path), (std::vector<std::string>{"Καλημέρα", "plain"}));
    EXPECT_EQ(pdx::Table(path).info().codePage, 1253);
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE Name = 'Καλημέρα'"), 1);
    EXPECT_EQ(texts(path), std::vector<std::string>{"plain"});
}

// Text written in 1251 under a header that says 1253 reads as Greek, the header's page; so
// do the field names.
TEST(SystemCodePageTable, TextReadsInThePageTheHeaderNames) {
    TempFolder folder("mislabelled");
    const std::string path = folder.file("t.db");
    pdx::execute("CREATE TABLE " + sqlName(path) + " (Id INTEGER, \"Джингл\" CHAR(20))");
    pdx::execute("INSERT INTO " + sqlName(path) + " VALUES (1, 'Джингл')");
    nameCodePage(path, 1253);
    EXPECT_EQ(pdx::Table(path).fields()[1].name, "Δζθνγλ");
    EXPECT_EQ(texts(path), std::vector<std::string>{"Δζθνγλ"});
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE \"Δζθνγλ\" = 'Δζθνγλ'"), 1);
}

// Shift-JIS takes two bytes for a kana, and the field's width counts bytes.
TEST(SystemCodePageTable, DoubleByteTextFitsTheFieldInBytes) {
    TempFolder folder("japanese");
    const std::string path = makeTable(folder, 932, "Name", 8);
    EXPECT_EQ(pdx::execute("INSERT INTO " + sqlName(path) + " VALUES (1, 'ジングル'), (2, 'ソソ')"), 2);
    EXPECT_TRUE(holds(path, "\x83\x57\x83\x93\x83\x4F\x83\x8B"));
    EXPECT_EQ(texts(path), (std::vector<std::string>{"ジングル", "ソソ"}));
    const std::string before = readFile(path);
    try {
        pdx::execute("INSERT INTO " + sqlName(path) + " VALUES (3, 'ジングルズ')");
        ADD_FAILURE() << "ten bytes went into a field of eight";
    } catch (const pdx::Error& e) {
        EXPECT_NE(std::string(e.what()).find("строка длиннее поля"), std::string::npos) << e.what();
    }
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE Name <> 'ソソ'"), 1);
    EXPECT_EQ(texts(path), std::vector<std::string>{"ソソ"});
}

TEST(SystemCodePageTable, CharacterOutsideThePageIsNamed) {
    TempFolder folder("outside");
    const std::string path = makeTable(folder, 1253);
    const std::string before = readFile(path);
    try {
        pdx::execute("INSERT INTO " + sqlName(path) + " VALUES (1, 'αЖ')");
        ADD_FAILURE() << "no error";
    } catch (const pdx::Error& e) {
        for (const std::string part : {"t.db", "Name", "\"Ж\"", "1253"}) {
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(readFile(path), before);
}

// 9999 is a page neither the engine nor any system has: ASCII reads, other text is an error
// that names the page, the table and the field.
TEST(SystemCodePageTable, PageNobodyKnowsIsNamed) {
    TempFolder folder("unknown");
    const std::string path = makeTable(folder, 1251);
    pdx::execute("INSERT INTO " + sqlName(path) + " VALUES (1, 'ascii'), (2, 'Джингл')");
    nameCodePage(path, 9999);
    const auto expectUnsupported = [&](const auto& action) {
        try {
            action();
            ADD_FAILURE() << "no error";
        } catch (const pdx::Error& e) {
            for (const std::string part : {"t.db", "Name", "кодовая страница 9999 не поддерживается"}) {
                EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
            }
        }
    };
    expectUnsupported([&] { texts(path); });
    expectUnsupported([&] { pdx::execute("INSERT INTO " + sqlName(path) + " VALUES (3, 'é')"); });
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE Id = 2"), 1);
    EXPECT_EQ(texts(path), std::vector<std::string>{"ascii"});
}

}  // namespace
