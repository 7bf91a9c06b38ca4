// Every statement and the table copy, on a keyed table with its primary index, a secondary
// index and a blob file, under faults: each change to the disk made to fail, or
// the disk frozen right after it as a crash would; after recovery the table's whole file set
// is the old one or the new one, and nothing is left beside it.
#include "fault_seam.h"
#include "index_files.h"
#include "os/fs.h"
#include "pdx/engine.h"
#include "pdx/error.h"
#include "pdx/table.h"
#include "table_fixtures.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;  // name -> content

// A keyed table whose memos live in its blob file, with its primary index and a secondary
// index on FKey.
void makeMemoTable(const std::string& path, int rows, int firstId = 0) {
    pdx::execute("CREATE TABLE " + sqlName(path) +
                 " (Id INTEGER, FKey INTEGER, Name CHAR(20), Notes BLOB(10,1), PRIMARY KEY (Id))");
    std::string values;
    for (int i = 0; i < rows; ++i) {
        const int id = firstId + i;
        values += (values.empty() ? "" : ", ") + std::string("(") + std::to_string(id) + ", " +
                  std::to_string(id % 3) + ", 'Отбивка " + std::to_string(id) + "', '" +
                  std::string(40 + id % 50, static_cast<char>('a' + id % 26)) + "')";
    }
    pdx::execute("INSERT INTO " + sqlName(path) + " VALUES " + values);
    index_files::writeIndex(path, index_files::IndexSpec{".X02", {1}});
}

struct Scenario {
    const char* name;
    // Makes the old state in the folder and returns the table the change is about.
    std::function<std::string(const TempFolder&)> setUp;
    std::function<void(const TempFolder&)> change;
};

const Scenario kScenarios[] = {
    {"Delete",
     [](const TempFolder& f) {
         makeMemoTable(f.file("Jingles.db"), 300);
         return f.file("Jingles.db");
     },
     [](const TempFolder& f) {
         pdx::execute("DELETE FROM " + sqlName(f.file("Jingles.db")) + " WHERE FKey<>1");
     }},
    {"Insert",
     [](const TempFolder& f) {
         makeMemoTable(f.file("Jingles.db"), 300);
         return f.file("Jingles.db");
     },
     [](const TempFolder& f) {
         pdx::execute("INSERT INTO " + sqlName(f.file("Jingles.db")) + " VALUES (1000, 5, 'Новая', '" +
                      std::string(300, 'z') + "'), (-1, 5, NULL, NULL)");
     }},
    {"CreateTable", [](const TempFolder& f) { return f.file("Jingles.db"); },
     [](const TempFolder& f) {
         pdx::execute("CREATE TABLE " + sqlName(f.file("Jingles.db")) +
                      " (Id INTEGER, Notes BLOB(10,1), PRIMARY KEY (Id))");
     }},
    {"CopyTable",
     [](const TempFolder& f) {
         makeMemoTable(f.file("Beats.db"), 200);
         makeMemoTable(f.file("Jingles.db"), 50, 500);
         return f.file("Jingles.db");
     },
     [](const TempFolder& f) { pdx::copyTable(f.file("Beats.db"), f.file("Jingles.db")); }},
};

void PrintTo(const Scenario& scenario, std::ostream* os) { *os << scenario.name; }

Files filesOf(const TempFolder& folder) {
    Files files;
    for (const std::string& name : os::listFolder(folder.str())) files[name] = readFile(folder.file(name));
    return files;
}

// Table files and their indexes carry the time of their last change; nothing else differs
// between two runs of the same change.
Files withoutTimes(Files files) {
    constexpr std::size_t kUpdateTime = 0x60;
    for (auto& [name, bytes] : files) {
        const std::string ext = os::extensionOf(name);
        const bool stamped =
            os::equalsIgnoringCase(ext, ".db") || (ext.size() == 4 && (ext[1] == 'X' || ext[1] == 'x'));
        if (stamped && bytes.size() >= kUpdateTime + 4) bytes.replace(kUpdateTime, 4, 4, '\0');
    }
    return files;
}

std::vector<std::string> leftovers(const TempFolder& folder) {
    std::vector<std::string> found;
    for (const std::string& name : os::listFolder(folder.str()))
        if (name.rfind('~', 0) == 0) found.push_back(name);
    return found;
}

// Opening the table completes or undoes whatever the change left.
void recoverBy(const std::string& table) {
    try {
        pdx::Table opened(table);
    } catch (const pdx::Error&) {
    }
}

std::string describe(const FaultSeam::Call& call) {
    return call.path + (call.to.empty() ? "" : " -> " + call.to);
}

class Faults : public testing::TestWithParam<Scenario> {
protected:
    // The old state, and the new one a change without faults makes (with the changes it made).
    void SetUp() override {
        TempFolder before("old");
        table_ = GetParam().setUp(before);
        old_ = filesOf(before);
        TempFolder after("new");
        restore(after, old_);
        FaultSeam seam;
        GetParam().change(after);
        calls_ = seam.calls();
        new_ = withoutTimes(filesOf(after));
    }

    static void restore(const TempFolder& folder, const Files& files) {
        for (const auto& [name, bytes] : files) writeFile(folder.file(name), bytes);
    }

    // Runs the change with the seam set up by `arm`, recovers and checks the outcome.
    void check(const std::function<void(FaultSeam&)>& arm, const std::string& point) {
        TempFolder folder("fault");
        restore(folder, old_);
        const std::string table = folder.file(os::nameOf(table_));
        {
            FaultSeam seam;
            arm(seam);
            try {
                GetParam().change(folder);
            } catch (const pdx::Error&) {
            }
        }
        recoverBy(table);
        const Files now = filesOf(folder);
        EXPECT_TRUE(now == old_ || withoutTimes(now) == new_) << "neither old nor new after " << point;
        EXPECT_EQ(leftovers(folder), std::vector<std::string>{}) << point;
    }

    std::string table_;
    Files old_, new_;
    std::vector<FaultSeam::Call> calls_;
};

TEST_P(Faults, EveryFailingChangeLeavesTheOldOrTheNewFiles) {
    ASSERT_FALSE(calls_.empty());
    for (std::size_t k = 0; k < calls_.size(); ++k)
        check([k](FaultSeam& seam) { seam.failAt(k); },
              "failure of change " + std::to_string(k) + " " + describe(calls_[k]));
    std::printf("[ POINTS   ] %s: %zu changes, each failed\n", GetParam().name, calls_.size());
}

TEST_P(Faults, ACrashAfterEveryChangeLeavesTheOldOrTheNewFiles) {
    for (std::size_t k = 0; k < calls_.size(); ++k)
        check([k](FaultSeam& seam) { seam.crashAfter(k); },
              "crash after change " + std::to_string(k) + " " + describe(calls_[k]));
    std::printf("[ POINTS   ] %s: %zu changes, a crash after each\n", GetParam().name, calls_.size());
}

// What no result shows: each staged file is flushed before it is put in place, the commit
// record is whole on disk before the first file is, and the folder is flushed after.
TEST_P(Faults, StagedFilesAreFlushedBeforeTheyArePutInPlace) {
    std::vector<std::size_t> renames;
    for (std::size_t i = 0; i < calls_.size(); ++i)
        if (calls_[i].change == os::Change::Rename) renames.push_back(i);
    ASSERT_FALSE(renames.empty());
    const auto flushed = [&](const std::string& path, std::size_t before) {
        for (std::size_t i = 0; i < before; ++i)
            if (calls_[i].change == os::Change::Flush && calls_[i].path == path) return true;
        return false;
    };
    for (std::size_t r : renames) {
        EXPECT_TRUE(flushed(calls_[r].path, r)) << describe(calls_[r]) << " before its content was flushed";
        const auto folderFlush =
            std::find_if(calls_.begin() + static_cast<std::ptrdiff_t>(r), calls_.end(), [&](const auto& c) {
                return c.change == os::Change::FlushFolder && c.path == os::folderOf(calls_[r].to);
            });
        EXPECT_NE(folderFlush, calls_.end()) << "no folder flush after " << describe(calls_[r]);
    }
    const auto record = std::find_if(calls_.begin(), calls_.end(), [](const auto& c) {
        return c.change == os::Change::Create && os::extensionOf(c.path) == ".commit";
    });
    ASSERT_NE(record, calls_.end()) << "no commit record";
    const auto recordAt = static_cast<std::size_t>(record - calls_.begin());
    EXPECT_LT(recordAt, renames.front());
    EXPECT_TRUE(flushed(record->path, renames.front()))
        << "the record was not flushed before the first file went in place";
    bool folderFlushed = false;
    for (std::size_t i = recordAt; i < renames.front(); ++i)
        folderFlushed = folderFlushed || calls_[i].change == os::Change::FlushFolder;
    EXPECT_TRUE(folderFlushed) << "the folder was not flushed between the record and the first file";
    EXPECT_EQ(calls_.back().change, os::Change::FlushFolder);
    EXPECT_NE(
        std::find_if(calls_.begin(), calls_.end(),
                     [&](const auto& c) { return c.change == os::Change::Remove && c.path == record->path; }),
        calls_.end())
        << "the record stays";
}

// A full disk: the write fails with "no space", the error says so in Russian and names the
// table, and nothing has changed.
TEST_P(Faults, AFullDiskIsAClearErrorAndChangesNothing) {
    TempFolder folder("full");
    restore(folder, old_);
    const std::string table = folder.file(os::nameOf(table_));
    std::string message;
    {
        FaultSeam seam;
        seam.failWhen([](const FaultSeam::Call& c) { return c.change == os::Change::Write; },
                      os::ErrorKind::NoSpace, "No space left on device");
        try {
            GetParam().change(folder);
            ADD_FAILURE() << "no error";
        } catch (const pdx::Error& error) {
            message = error.what();
        }
    }
    EXPECT_NE(message.find("едостаточно места на диске"), std::string::npos) << message;
    EXPECT_NE(message.find(table), std::string::npos) << message;
    EXPECT_TRUE(filesOf(folder) == old_);
    EXPECT_EQ(leftovers(folder), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Statements, Faults, testing::ValuesIn(kScenarios),
                         [](const testing::TestParamInfo<Scenario>& info) { return info.param.name; });

TEST(DeleteNothing, LeavesEveryFileByteIdentical) {
    TempFolder folder("nothing");
    makeMemoTable(folder.file("Jingles.db"), 300);
    const Files before = filesOf(folder);
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(folder.file("Jingles.db")) + " WHERE FKey = 7"), 0);
    EXPECT_TRUE(filesOf(folder) == before);
}

}  // namespace
