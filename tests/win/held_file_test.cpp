// The file layer's promises the engine builds on, checked on every platform: a table held
// exclusively can still be replaced by its rewritten copy, and Unicode names survive.
#include "os/fs.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

std::string readAll(const os::File& file) {
    std::string content(file.size(), '\0');
    file.readAt(0, content.data(), content.size());
    return content;
}

os::ErrorKind kindOfOpen(const std::string& path, os::File::Mode mode) {
    try {
        os::File file(path, mode);
    } catch (const os::Error& e) {
        return e.kind();
    }
    ADD_FAILURE() << "opening " << path << " succeeded";
    return os::ErrorKind::Other;
}

}  // namespace

TEST(HeldFile, ReplacedWhileHeldExclusively) {
    TempFolder dir;
    writeFile(dir.file("t.db"), "old content");
    os::File held(dir.file("t.db"), os::File::Mode::ReadExclusive);
    {
        os::File aside(dir.file("t.db.new"), os::File::Mode::CreateNew);
        aside.append("new", 3);
        aside.sync();
    }
    os::replaceFile(dir.file("t.db.new"), dir.file("t.db"));
    EXPECT_FALSE(os::fileExists(dir.file("t.db.new")));
    held.close();
    EXPECT_EQ(readFile(dir.file("t.db")), "new");
    EXPECT_EQ(readAll(os::File(dir.file("t.db"), os::File::Mode::ReadExclusive)), "new");
}

TEST(HeldFile, CopiedOverWhileHeldExclusively) {
    TempFolder dir;
    writeFile(dir.file("source.db"), "source");
    writeFile(dir.file("t.db"), "target");
    os::File held(dir.file("t.db"), os::File::Mode::ReadExclusive);
    os::copyFile(dir.file("source.db"), dir.file("t.db"));
    held.close();
    EXPECT_EQ(readFile(dir.file("t.db")), "source");
    auto names = os::listFolder(dir.str());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"source.db", "t.db"}));
}

TEST(HeldFile, MovedHoldIsReleasedOnce) {
    TempFolder dir;
    writeFile(dir.file("t.db"), "x");
    os::File first(dir.file("t.db"), os::File::Mode::ReadExclusive);
    os::File second(std::move(first));
    EXPECT_FALSE(first.isOpen());
    EXPECT_TRUE(second.isOpen());
    EXPECT_EQ(kindOfOpen(dir.file("t.db"), os::File::Mode::ReadExclusive), os::ErrorKind::Busy);
    second = os::File();
    EXPECT_NO_THROW(os::File(dir.file("t.db"), os::File::Mode::ReadExclusive));
}

TEST(HeldFile, HolderMayStillReadIt) {
    TempFolder dir;
    writeFile(dir.file("t.db"), "held");
    os::File held(dir.file("t.db"), os::File::Mode::ReadExclusive);
    os::File reader(dir.file("t.db"), os::File::Mode::Read);
    EXPECT_EQ(readAll(reader), "held");
    EXPECT_EQ(kindOfOpen(dir.file("t.db"), os::File::Mode::ReadExclusive), os::ErrorKind::Busy);
    reader.close();
    EXPECT_EQ(readAll(held), "held");
}

TEST(HeldFile, SharedReadsCoexist) {
    TempFolder dir;
    writeFile(dir.file("t.db"), "abc");
    os::File a(dir.file("t.db"), os::File::Mode::Read);
    os::File b(dir.file("t.db"), os::File::Mode::Read);
    EXPECT_EQ(readAll(a), "abc");
    EXPECT_EQ(readAll(b), "abc");
}

TEST(HeldFile, OpeningFailuresNameTheirKind) {
    TempFolder dir;
    writeFile(dir.file("exists"), "x");
    std::filesystem::create_directory(dir.path() / "folder");
    EXPECT_EQ(kindOfOpen(dir.file("missing"), os::File::Mode::Read), os::ErrorKind::NotFound);
    EXPECT_EQ(kindOfOpen(dir.file("no/such/folder/x"), os::File::Mode::CreateNew), os::ErrorKind::NotFound);
    try {
        os::File(dir.file("missing"), os::File::Mode::ReadExclusive);
    } catch (const os::Error& e) {
        EXPECT_EQ(e.path(), dir.file("missing"));
        EXPECT_FALSE(e.reason().empty());
        EXPECT_EQ(e.reason().find('\n'), std::string::npos);
    }
    EXPECT_ANY_THROW(os::File(dir.file("folder"), os::File::Mode::Read));
}

TEST(Unicode, NamesRoundTripThroughEveryCall) {
    TempFolder dir;
    const std::string folder = dir.file("Джинглы 2024");
    std::filesystem::create_directory(std::filesystem::u8path(folder));
    const std::string table = folder + "/РекламаБиты.db";
    writeFile(table, "данные");
    EXPECT_TRUE(os::folderExists(folder));
    EXPECT_TRUE(os::fileExists(table));
    os::copyFile(table, folder + "/Копия.db");
    EXPECT_EQ(readFile(folder + "/Копия.db"), "данные");
    auto names = os::listFolder(folder);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Копия.db", "РекламаБиты.db"}));
    os::removeFile(folder + "/Копия.db");
    EXPECT_FALSE(os::fileExists(folder + "/Копия.db"));
}

TEST(Folder, ListingOfMissingOrEmptyFolder) {
    TempFolder dir;
    EXPECT_TRUE(os::listFolder(dir.str()).empty());
    EXPECT_THROW(os::listFolder(dir.file("missing")), os::Error);
}

TEST(Folder, RemovingMissingFileIsNoError) {
    TempFolder dir;
    EXPECT_NO_THROW(os::removeFile(dir.file("missing")));
}

TEST(File, PositionalWritesAndAppends) {
    TempFolder dir;
    {
        os::File file(dir.file("f"), os::File::Mode::CreateNew);
        file.append("hello", 5);
        file.writeAt(0, "J", 1);
        file.append(" world", 6);
        file.writeAt(20, "!", 1);
        file.append("?", 1);
        EXPECT_EQ(file.size(), 22u);
    }
    EXPECT_EQ(readFile(dir.file("f")), std::string("Jello world") + std::string(9, '\0') + "!?");
    os::File file(dir.file("f"), os::File::Mode::Read);
    char buffer[4] = {};
    EXPECT_EQ(file.readSomeAt(20, buffer, 4), 2u);
    EXPECT_EQ(std::string(buffer, 2), "!?");
    EXPECT_THROW(file.readAt(20, buffer, 4), os::Error);
}
