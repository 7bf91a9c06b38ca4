// Copying a table over a target: blob file along, stale indexes and blobs gone, clear errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "os/fs.h"
#include "pdx/engine.h"
#include "pdx/error.h"
#include "temp_folder.h"

namespace {

std::vector<std::string> names(const TempFolder& folder) {
    std::vector<std::string> list = os::listFolder(folder.str());
    std::sort(list.begin(), list.end());
    return list;
}

TEST(CopyTable, ReplacesTheTableAndRemovesItsOldIndexesInAnyCase) {
    TempFolder folder("copy");
    writeFile(folder.file("AdvBeats.db"), "new table");
    writeFile(folder.file("AdvBeats.PX"), "source index");
    writeFile(folder.file("AdvStarts.db"), "old table");
    for (const char* stale : {"AdvStarts.PX", "advstarts.px", "AdvStarts.X02", "AdvStarts.Y02",
                              "AdvStarts.x0a", "AdvStarts.XG0", "ADVSTARTS.YG1"})
        writeFile(folder.file(stale), "stale");
    for (const char* kept :
         {"AdvStarts.VAL", "AdvStarts2.PX", "AdvStarts.TV", "AdvStarts.XYZ1", "Jingles.PX", "AdvStarts"})
        writeFile(folder.file(kept), "kept");

    pdx::copyTable(folder.file("AdvBeats.db"), folder.file("AdvStarts.db"));

    EXPECT_EQ(readFile(folder.file("AdvStarts.db")), "new table");
    EXPECT_EQ(names(folder), (std::vector<std::string>{"AdvBeats.PX", "AdvBeats.db", "AdvStarts",
                                                       "AdvStarts.TV", "AdvStarts.VAL", "AdvStarts.XYZ1",
                                                       "AdvStarts.db", "AdvStarts2.PX", "Jingles.PX"}));
    EXPECT_EQ(readFile(folder.file("AdvBeats.db")), "new table");
}

struct BlobCase {
    const char* name;
    std::vector<const char*> sourceFiles;  // besides AdvBeats.db
    std::vector<const char*> oldTarget;    // besides AdvStarts.db
    const char* expectedBlob;              // "" when none should remain
};

class CopyTableBlob : public testing::TestWithParam<BlobCase> {};

TEST_P(CopyTableBlob, OneBlobFileNamedLikeTheTargetWithTheSourcesExtension) {
    const BlobCase& c = GetParam();
    TempFolder folder("blob");
    writeFile(folder.file("AdvBeats.db"), "table");
    for (const char* file : c.sourceFiles) writeFile(folder.file(file), "memo text");
    writeFile(folder.file("AdvStarts.db"), "old");
    for (const char* file : c.oldTarget) writeFile(folder.file(file), "old memo");

    pdx::copyTable(folder.file("AdvBeats.db"), folder.file("AdvStarts.db"));

    std::vector<std::string> blobs;
    for (const std::string& name : names(folder))
        if (name.rfind("AdvStarts.", 0) == 0 && name != "AdvStarts.db") blobs.push_back(name);
    if (*c.expectedBlob) {
#ifdef _WIN32
        // Names that differ only in case are one file there: the replaced file keeps its own.
        for (std::string& name : blobs)
            if (os::equalsIgnoringCase(name, c.expectedBlob)) name = c.expectedBlob;
#endif
        EXPECT_EQ(blobs, std::vector<std::string>{c.expectedBlob});
        EXPECT_EQ(readFile(folder.file(c.expectedBlob)), "memo text");
    } else {
        EXPECT_TRUE(blobs.empty()) << blobs.front();
    }
    for (const char* file : c.sourceFiles) EXPECT_EQ(readFile(folder.file(file)), "memo text");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyTableBlob,
    testing::Values(BlobCase{"UpperCase", {"AdvBeats.MB"}, {}, "AdvStarts.MB"},
                    BlobCase{"LowerCase", {"AdvBeats.mb"}, {}, "AdvStarts.mb"},
                    BlobCase{"MixedCase", {"AdvBeats.Mb"}, {}, "AdvStarts.Mb"},
                    BlobCase{"OldBlobSameCase", {"AdvBeats.MB"}, {"AdvStarts.MB"}, "AdvStarts.MB"},
                    BlobCase{"OldBlobOtherCase", {"AdvBeats.MB"}, {"AdvStarts.mb"}, "AdvStarts.MB"},
                    BlobCase{"SourceHasNoBlob", {}, {"AdvStarts.MB"}, ""},
                    BlobCase{"NoBlobAnywhere", {}, {}, ""},
                    BlobCase{"NotABlobOfThisTable", {"AdvBeats2.MB", "AdvBeatsMB"}, {}, ""}),
    [](const testing::TestParamInfo<BlobCase>& info) { return info.param.name; });

TEST(CopyTable, AFailedCopyNamesSourceTargetAndReason) {
    TempFolder folder("fail");
    writeFile(folder.file("Beats.db"), "table");
    std::filesystem::create_directories(folder.path() / "Jingles.db" / "inside");
    try {
        pdx::copyTable(folder.file("Beats.db"), folder.file("Jingles.db"));
        FAIL() << "copied over a folder";
    } catch (const pdx::Error& error) {
        std::string expected = "Не удалось скопировать \"" + folder.file("Beats.db") + "\" в \"" +
                               folder.file("Jingles.db") + "\": ";
        EXPECT_EQ(std::string(error.what()).rfind(expected, 0), 0u) << error.what();
        EXPECT_GT(std::string(error.what()).size(), expected.size()) << "the system's reason";
    }
    EXPECT_EQ(names(folder), (std::vector<std::string>{"Beats.db", "Jingles.db"})) << "no leftovers";
}

TEST(CopyTable, MissingSourceIsAnError) {
    TempFolder folder("missing");
    EXPECT_THROW(pdx::copyTable(folder.file("Beats.db"), folder.file("Jingles.db")), pdx::Error);
    EXPECT_TRUE(names(folder).empty());
}

TEST(CopyTable, WhenTheTableCannotBeCopiedTheOldTargetAndItsBlobStay) {
    TempFolder folder("keep");
    writeFile(folder.file("Beats.db"), "table");
    writeFile(folder.file("Beats.MB"), "memo");
    std::filesystem::create_directories(folder.path() / "Jingles.db" / "inside");
    writeFile(folder.file("Jingles.MB"), "old memo");
    EXPECT_THROW(pdx::copyTable(folder.file("Beats.db"), folder.file("Jingles.db")), pdx::Error);
    EXPECT_EQ(readFile(folder.file("Jingles.MB")), "old memo");
    EXPECT_EQ(names(folder), (std::vector<std::string>{"Beats.MB", "Beats.db", "Jingles.MB", "Jingles.db"}));
}

TEST(CopyTable, WhenTheBlobCannotBeCopiedTheTableIsNotReplaced) {
    TempFolder folder("blob-fails");
    writeFile(folder.file("Beats.db"), "table");
    writeFile(folder.file("Beats.MB"), "memo");
    writeFile(folder.file("Jingles.db"), "old table");
    writeFile(folder.file("Jingles.MB"), "old memo");
    std::filesystem::create_directories(std::filesystem::path(os::asidePath(folder.file("Jingles.MB"))) /
                                        "inside");
    try {
        pdx::copyTable(folder.file("Beats.db"), folder.file("Jingles.db"));
        FAIL() << "no error";
    } catch (const pdx::Error& error) {
        EXPECT_NE(std::string(error.what()).find(folder.file("Beats.MB")), std::string::npos) << error.what();
    }
    EXPECT_EQ(readFile(folder.file("Jingles.db")), "old table");
    EXPECT_EQ(readFile(folder.file("Jingles.MB")), "old memo");
}

}  // namespace
