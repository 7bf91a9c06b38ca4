#include "os/fs.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

TEST(FileExists, OnlyRegularFilesCount) {
    TempFolder dir;
    writeFile(dir.file("a.db"), "x");
    std::filesystem::create_directory(dir.path() / "b.db");
    EXPECT_TRUE(os::fileExists(dir.file("a.db")));
    EXPECT_FALSE(os::fileExists(dir.file("b.db")));
    EXPECT_FALSE(os::fileExists(dir.file("c.db")));
    EXPECT_TRUE(os::folderExists(dir.file("b.db")));
}

TEST(FileExists, CyrillicAndSpaces) {
    TempFolder dir;
    std::string name = "Папка с пробелами";
    std::filesystem::create_directory(std::filesystem::u8path(dir.file(name)));
    std::string file = dir.file(name) + "/Таблица.db";
    writeFile(file, "x");
    EXPECT_TRUE(os::fileExists(file));
}

TEST(Paths, FolderAndName) {
    EXPECT_EQ(os::folderOf("/a/b/c.db"), "/a/b/");
    EXPECT_EQ(os::nameOf("/a/b/c.db"), "c.db");
    EXPECT_EQ(os::folderOf("c.db"), "");
#ifdef _WIN32
    EXPECT_EQ(os::folderOf("C:\\x\\y.exe"), "C:\\x\\");
    EXPECT_EQ(os::folderOf("C:y.exe"), "C:");
#endif
}

TEST(ExecutablePath, NamesThisTest) {
    std::string path = os::executablePath();
    EXPECT_TRUE(os::fileExists(path));
    EXPECT_NE(os::nameOf(path).find("os_test"), std::string::npos);
}

TEST(CopyFile, CreatesAndReplacesWithoutLeftovers) {
    TempFolder dir;
    writeFile(dir.file("src"), std::string(3'000'000, 'a') + "end");
    os::copyFile(dir.file("src"), dir.file("dst"));
    EXPECT_EQ(readFile(dir.file("dst")), readFile(dir.file("src")));
    writeFile(dir.file("src2"), "short");
    os::copyFile(dir.file("src2"), dir.file("dst"));
    EXPECT_EQ(readFile(dir.file("dst")), "short");
    auto names = os::listFolder(dir.str());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"dst", "src", "src2"}));
}

TEST(CopyFile, MissingSourceFailsAndLeavesTargetAlone) {
    TempFolder dir;
    writeFile(dir.file("dst"), "keep");
    try {
        os::copyFile(dir.file("missing"), dir.file("dst"));
        FAIL() << "copy of a missing file succeeded";
    } catch (const os::Error& e) {
        EXPECT_EQ(e.kind(), os::ErrorKind::NotFound);
        EXPECT_FALSE(e.reason().empty());
    }
    EXPECT_EQ(readFile(dir.file("dst")), "keep");
}

TEST(File, ExclusiveOpenReportsBusy) {
    TempFolder dir;
    writeFile(dir.file("t.db"), "data");
    os::File held(dir.file("t.db"), os::File::Mode::ReadExclusive);
    try {
        os::File second(dir.file("t.db"), os::File::Mode::ReadExclusive);
        FAIL() << "second exclusive open succeeded";
    } catch (const os::Error& e) {
        EXPECT_EQ(e.kind(), os::ErrorKind::Busy);
    }
    held.close();
    EXPECT_NO_THROW(os::File(dir.file("t.db"), os::File::Mode::ReadExclusive));
}

TEST(File, CreateNewRefusesExisting) {
    TempFolder dir;
    writeFile(dir.file("x"), "1");
    EXPECT_THROW(os::File(dir.file("x"), os::File::Mode::CreateNew), os::Error);
}
