// A real kill: a child process runs a long DELETE on a keyed table and is killed at a random
// moment; after recovery the table, its primary index and its blob-free companions are the old
// ones or the new ones, and nothing is left beside them.
#include "os/fs.h"
#include "pdx/engine.h"
#include "pdx/storage/open_table.h"
#include "pdx/storage/primary_index.h"
#include "pdx/table.h"
#include "table_fixtures.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <thread>

namespace {

using Files = std::map<std::string, std::string>;
using Clock = std::chrono::steady_clock;

constexpr int kRows = 200'000;
constexpr int kKills = 40;
constexpr const char* kDelete = " WHERE FKey<>3";

Files filesOf(const std::string& folder) {
    Files files;
    for (const std::string& name : os::listFolder(folder)) files[name] = readFile(folder + "/" + name);
    return files;
}

void restore(const std::string& folder, const Files& files) {
    for (const std::string& name : os::listFolder(folder)) os::removeFile(folder + "/" + name);
    for (const auto& [name, bytes] : files) writeFile(folder + "/" + name, bytes);
}

// Runs the DELETE in a child; kills it after `delay` unless it ends first. Returns how long
// the child ran.
std::chrono::microseconds deleteInChild(const std::string& table, std::chrono::microseconds delay) {
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        try {
            pdx::execute("DELETE FROM " + sqlName(table) + kDelete);
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (Clock::now() - start >= delay) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
}

TEST(KilledDelete, LeavesTheOldOrTheNewTableAndIndex) {
    TempFolder folder("kill");
    const std::string table = folder.file("Jingles.db");
    pdx::execute("CREATE TABLE " + sqlName(table) +
                 " (Id INTEGER, FKey INTEGER, Name CHAR(60), PRIMARY KEY (Id))");
    for (int first = 0; first < kRows; first += 20'000) {
        std::string values;
        for (int id = first; id < first + 20'000; ++id)
            values += (values.empty() ? "(" : ", (") + std::to_string(id) + ", " + std::to_string(id % 7) +
                      ", 'Отбивка номер " + std::to_string(id) + "')";
        pdx::execute("INSERT INTO " + sqlName(table) + " VALUES " + values);
    }
    const Files old = filesOf(folder.str());
    const auto rows = [&] { return pdx::Table(table).info().recordCount; };
    const auto full = deleteInChild(table, std::chrono::seconds(30));
    const std::uint32_t survivors = rows();
    ASSERT_LT(survivors, static_cast<std::uint32_t>(kRows));

    std::mt19937 random(20261211);
    int oldSeen = 0, newSeen = 0;
    for (int i = 0; i < kKills; ++i) {
        restore(folder.str(), old);
        std::uniform_int_distribution<long long> moment(0, full.count());
        deleteInChild(table, std::chrono::microseconds(moment(random)));

        const pdx::Table reopened(table);  // recovers first
        const Files now = filesOf(folder.str());
        for (const auto& [name, bytes] : now) EXPECT_NE(name[0], '~') << "left over: " << name;
        if (now == old) {
            ++oldSeen;
            continue;
        }
        ++newSeen;
        EXPECT_EQ(reopened.info().recordCount, survivors);
        const auto open = pdx::openTable(table, os::File::Mode::Read);
        EXPECT_TRUE(pdx::indexDescribes(folder.file("Jingles.px"), open.header))
            << "the index does not match";
        std::uint32_t read = 0;
        for (auto cursor = reopened.records(); cursor.next(); ++read)
            ASSERT_EQ(std::get<std::int64_t>(cursor.values()[1]), 3);
        EXPECT_EQ(read, survivors);
    }
    std::printf("[ KILLS    ] %d kills during a DELETE of %lld us: %d left the old table, %d the new one\n",
                kKills, static_cast<long long>(full.count()), oldSeen, newSeen);
}

}  // namespace
