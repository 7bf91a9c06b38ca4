// The conversion run from end to end: a copy of the program beside real tables, the button
// pressed, the dialogs answered, the targets read back with the engine's reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "Main.h"
#include "jingle_tables.h"
#include "os/fs.h"
#include "program_copy.h"
#include "temp_folder.h"

namespace {

const std::vector<JingleRow>* const SourceRows[SourceCount] = {&AdvBeatsRows, &BeatsRows};

// A program folder holding both source tables, made by our engine.
class Conversion : public testing::Test {
protected:
    explicit Conversion(const std::string& folderName = "convert") : folder_(folderName) {}

    void SetUp() override { makeSources(folder_.str()); }

    void makeSources(const std::string& folder) {
        folderPath_ = folder;
        createJingleTable(path("AdvBeats.db"), AdvBeatsRows);
        createJingleTable(path("Beats.db"), BeatsRows);
        for (const std::string& name : os::listFolder(folder)) sourceFiles_[name] = readFile(path(name));
    }

    std::string path(const std::string& name) const { return folderPath_ + "/" + name; }

    ProgramRun run(std::vector<std::string> steps) { return runProgram({folderPath_}, std::move(steps)); }

    void expectSourcesUntouched() const {
        for (const auto& [name, bytes] : sourceFiles_)
            EXPECT_TRUE(readFile(path(name)) == bytes) << name << " changed";
    }

    void expectConverted(int s, int p) const {
        std::string target = TargetTables[s][p];
        EXPECT_EQ(readTable(path(target + ".db")), rowsKept(*SourceRows[s], TargetKeys[s][p])) << target;
    }

    void expectAllConverted() const {
        for (int s = 0; s < SourceCount; ++s)
            for (int p = 0; p < TargetsPerSource; ++p) expectConverted(s, p);
    }

    static void expectDone(const ProgramRun& run) {
        ASSERT_FALSE(run.dialogs.empty()) << run.output;
        EXPECT_EQ(run.dialogs.back().title, "Information");
        EXPECT_EQ(run.state("BitBtn1.text"), "Выполнено!");
        EXPECT_EQ(run.state("BitBtn1.enabled"), "0");
        EXPECT_EQ(run.state("Q.sqlLines"), "0");
    }

    TempFolder folder_;
    std::string folderPath_;
    std::map<std::string, std::string> sourceFiles_;
};

TEST_F(Conversion, NoTargetExistsEveryTargetGetsItsKeysRowsAndItsOwnBlobAndIndex) {
    ProgramRun result = run({"answers=OK", "click", "state"});

    ASSERT_EQ(result.exitCode, 0) << result.output;
    ASSERT_EQ(result.dialogs.size(), 1u) << "only the completion: " << result.output;
    expectDone(result);
    expectAllConverted();
    expectSourcesUntouched();
    std::vector<std::string> files = os::listFolder(folderPath_);
    std::sort(files.begin(), files.end());
    std::vector<std::string> expected = {"jingleconv"};
    for (const auto& [name, bytes] : sourceFiles_) expected.push_back(name);
    for (const auto& targets : TargetTables)
        for (const char* target : targets)
            for (const char* extension : {".db", ".mb", ".px"})
                expected.push_back(target + std::string(extension));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(files, expected) << "each target's blob named like it, nothing left over";
}

TEST_F(Conversion, YesToSomeTargetsNoToOthers) {
    const char* answers[SourceCount][TargetsPerSource] = {{"Yes", "No", "Escape", "Yes"},
                                                          {"No", "Yes", "Yes", "Close"}};
    std::string steps = "answers=";
    for (int s = 0; s < SourceCount; ++s)
        for (int p = 0; p < TargetsPerSource; ++p) {
            writeFile(path(std::string(TargetTables[s][p]) + ".db"), "old");
            steps += std::string(answers[s][p]) + ",";
        }
    ProgramRun result = run({steps + "OK", "click", "state"});

    ASSERT_EQ(result.dialogs.size(), 9u) << result.output;
    expectDone(result);
    for (int s = 0; s < SourceCount; ++s)
        for (int p = 0; p < TargetsPerSource; ++p) {
            if (std::string(answers[s][p]) == "Yes")
                expectConverted(s, p);
            else
                EXPECT_EQ(readFile(path(std::string(TargetTables[s][p]) + ".db")), "old")
                    << TargetTables[s][p];
        }
    expectSourcesUntouched();
}

TEST_F(Conversion, EnterAnswersTheDefaultYesForEveryExistingTarget) {
    for (const auto& targets : TargetTables)
        for (const char* target : targets) writeFile(path(std::string(target) + ".db"), "old");
    ProgramRun result = run({"answers=Enter,Enter,Enter,Enter,Enter,Enter,Enter,Enter,OK", "click", "state"});

    ASSERT_EQ(result.dialogs.size(), 9u) << result.output;
    expectDone(result);
    expectAllConverted();
    expectSourcesUntouched();
}

TEST_F(Conversion, EngineErrorMidwayIsShownThenASecondPressConverts) {
    const std::string goodBeats = path("Beats.good");
    os::copyFile(path("Beats.db"), goodBeats);
    writeFile(path("Beats.db"), std::string(4096, 'x'));

    ProgramRun result = run({"answers=OK,Yes,Yes,Yes,Yes,Yes,OK", "click", "state",
                             "copy=" + goodBeats + "|" + path("Beats.db"), "click", "state"});

    ASSERT_EQ(result.exitCode, 0) << result.output;
    ASSERT_EQ(result.states.size(), 2u) << result.output;
    ASSERT_EQ(result.dialogs.size(), 7u) << result.output;
    const DialogSeen& error = result.dialogs[0];
    EXPECT_EQ(error.icon, "error");
    EXPECT_EQ(error.title, "jingleconv");
    EXPECT_NE(error.text.find("Jingles.db"), std::string::npos) << "names the table: " << error.text;
    EXPECT_EQ(result.states[0].at("BitBtn1.enabled"), "1");
    EXPECT_EQ(result.states[0].at("BitBtn1.text"), "Выполнить");
    EXPECT_EQ(result.states[0].at("Q.sqlLines"), "0");
    // the second press asks about the five targets the first one made
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(result.dialogs[i].title, "Confirm");
    expectDone(result);
    expectAllConverted();
}

TEST_F(Conversion, ReplacedTargetLosesItsStaleIndexesAndOtherCaseBlob) {
    writeFile(path("AdvStarts.db"), "old table");
    for (const char* stale :
         {"AdvStarts.PX", "AdvStarts.X02", "AdvStarts.Y02", "ADVSTARTS.XG0", "AdvStarts.MB"})
        writeFile(path(stale), "stale");
    writeFile(path("AdvStarts.VAL"), "checks");

    ProgramRun result = run({"answers=Yes,OK", "click", "state"});

    ASSERT_EQ(result.dialogs.size(), 2u) << result.output;
    expectDone(result);
    expectAllConverted();
    std::vector<std::string> companions;
    for (const std::string& name : os::listFolder(folderPath_))
        if (name.size() > 9 &&
            (name.compare(0, 10, "AdvStarts.") == 0 || name.compare(0, 10, "ADVSTARTS.") == 0))
            companions.push_back(name);
    std::sort(companions.begin(), companions.end());
    EXPECT_EQ(companions,
              (std::vector<std::string>{"AdvStarts.VAL", "AdvStarts.db", "AdvStarts.mb", "AdvStarts.px"}));
    EXPECT_EQ(readFile(path("AdvStarts.VAL")), "checks");
}

class ConversionInQuotedFolder : public Conversion {
protected:
    ConversionInQuotedFolder() : Conversion("quoted") {}
    void SetUp() override {
        std::string folder = folder_.file("Базы \"VX\" 2.x");
        std::filesystem::create_directories(std::filesystem::u8path(folder));
        makeSources(folder);
    }
};

TEST_F(ConversionInQuotedFolder, DoubleQuoteInThePathNamesExactlyTheTarget) {
    ProgramRun result = run({"answers=OK", "click", "state"});

    ASSERT_EQ(result.dialogs.size(), 1u) << result.output;
    expectDone(result);
    expectAllConverted();
    expectSourcesUntouched();
}

TEST(ConversionErrors, EngineErrorShownInTheErrorBoxThenReadyAgain) {
    TempFolder folder("engine-error");
    writeFile(folder.file("AdvBeats.db"), "not a Paradox table");
    writeFile(folder.file("Beats.db"), "not a Paradox table either");

    ProgramRun run = runProgram({folder.str()}, {"answers=OK", "click", "state"});

    ASSERT_EQ(run.exitCode, 0) << run.output;
    ASSERT_EQ(run.dialogs.size(), 1u) << run.output;
    const DialogSeen& error = run.dialogs[0];
    EXPECT_EQ(error.icon, "error");
    EXPECT_EQ(error.title, "jingleconv");
    EXPECT_EQ(error.buttons, "OK");
    EXPECT_FALSE(error.text.empty());
    EXPECT_EQ(run.state("BitBtn1.enabled"), "1");
    EXPECT_EQ(run.state("BitBtn1.text"), "Выполнить");
    EXPECT_EQ(run.state("Q.sqlLines"), "0") << "statement cleared after the failure";
    EXPECT_EQ(readFile(folder.file("AdvBeats.db")), "not a Paradox table");
}

TEST_F(Conversion, AFullDiskEndsTheRunWithItsMessageAndKeepsTheSources) {
    ProgramRun full = run({"answers=OK", "nospace", "click", "state"});

    ASSERT_EQ(full.dialogs.size(), 1u) << full.output;
    EXPECT_EQ(full.dialogs[0].icon, "error");
    EXPECT_NE(full.dialogs[0].text.find("недостаточно места на диске"), std::string::npos)
        << full.dialogs[0].text;
    EXPECT_NE(full.dialogs[0].text.find(path("AdvStarts.db")), std::string::npos) << full.dialogs[0].text;
    EXPECT_EQ(full.state("BitBtn1.enabled"), "1");
    expectSourcesUntouched();
    for (const std::string& name : os::listFolder(folderPath_)) {
        EXPECT_NE(name.rfind("AdvStarts", 0), 0u) << name;
        EXPECT_NE(name[0], '~') << "left over: " << name;
    }
}

TEST(ConversionErrors, FailedCopyEndsTheRunWithItsMessage) {
    TempFolder folder("copy-error");
    writeFile(folder.file("AdvBeats.db"), "table");
    writeFile(folder.file("Beats.db"), "table");
    std::filesystem::create_directories(folder.path() / "AdvStarts.db" / "inside");

    ProgramRun run = runProgram({folder.str()}, {"answers=OK", "click", "state"});

    ASSERT_EQ(run.dialogs.size(), 1u) << run.output;
    const DialogSeen& error = run.dialogs[0];
    EXPECT_EQ(error.icon, "error");
    EXPECT_EQ(error.title, "jingleconv");
    std::string expected = "Не удалось скопировать \"" + folder.file("AdvBeats.db") + "\" в \"" +
                           folder.file("AdvStarts.db") + "\": ";
    EXPECT_EQ(error.text.rfind(expected, 0), 0u) << error.text;
    EXPECT_EQ(run.state("BitBtn1.enabled"), "1");
    EXPECT_EQ(run.state("BitBtn1.text"), "Выполнить");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "AdvEnds.db")) << "the run stopped";
}

TEST(ProgramTitle, IsTheExecutablesNameWithoutExtension) {
    TempFolder folder("title");
    ProgramRun named = runProgram({folder.str(), "", "convert.bin"}, {"paths"});
    EXPECT_EQ(named.values["title"], "convert");
    ProgramRun plain = runProgram({folder.str()}, {"paths"});
    EXPECT_EQ(plain.values["title"], "jingleconv");
}

TEST(TablePaths, BesideTheProgramWithSpacesAndCyrillicKeptAsTheyAre) {
    TempFolder outer("paths");
    std::string folder = outer.file("Базы отбивок \"VX\" 2.x");
    std::filesystem::create_directories(std::filesystem::u8path(folder));

    ProgramRun run = runProgram({folder, outer.str()}, {"paths"});

    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.values["folder"], folder + "/");
    for (const char* name : {"AdvBeats", "Beats", "AdvStarts", "AdvEnds", "AdvFrees", "AdvAdds", "Jingles",
                             "InfoRolls", "Effects", "Underlays"})
        EXPECT_EQ(run.values[std::string("path.") + name], folder + "/" + name + ".db") << name;
}

TEST(ConversionTable, SourcesTargetsAndKeysInProcessingOrder) {
    EXPECT_STREQ(SourceTables[0], "AdvBeats");
    EXPECT_STREQ(SourceTables[1], "Beats");
    std::vector<std::pair<std::string, int>> targets;
    for (int s = 0; s < SourceCount; ++s)
        for (int p = 0; p < TargetsPerSource; ++p) targets.emplace_back(TargetTables[s][p], TargetKeys[s][p]);
    EXPECT_EQ(targets, (std::vector<std::pair<std::string, int>>{{"AdvStarts", 0},
                                                                 {"AdvEnds", 1},
                                                                 {"AdvFrees", 2},
                                                                 {"AdvAdds", 8},
                                                                 {"Jingles", 5},
                                                                 {"InfoRolls", 4},
                                                                 {"Effects", 6},
                                                                 {"Underlays", 7}}));
}

}  // namespace
