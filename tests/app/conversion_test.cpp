// The conversion run from end to end: a copy of the program beside real tables, the button
// pressed, the dialogs answered, the targets read back with the engine's reader.
#include <gtest/gtest.h>

#include <filesystem>

#include "Main.h"
#include "program_copy.h"
#include "temp_folder.h"

namespace {

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
    for (const char* name : {"AdvBeats", "Beats", "AdvStarts", "AdvEnds", "AdvFrees", "AdvAdds",
                             "Jingles", "InfoRolls", "Effects", "Underlays"})
        EXPECT_EQ(run.values[std::string("path.") + name], folder + "/" + name + ".db") << name;
}

TEST(ConversionTable, SourcesTargetsAndKeysInProcessingOrder) {
    EXPECT_STREQ(SourceTables[0], "AdvBeats");
    EXPECT_STREQ(SourceTables[1], "Beats");
    std::vector<std::pair<std::string, int>> targets;
    for (int s = 0; s < SourceCount; ++s)
        for (int p = 0; p < TargetsPerSource; ++p) targets.emplace_back(TargetTables[s][p], TargetKeys[s][p]);
    EXPECT_EQ(targets, (std::vector<std::pair<std::string, int>>{
                           {"AdvStarts", 0}, {"AdvEnds", 1}, {"AdvFrees", 2}, {"AdvAdds", 8},
                           {"Jingles", 5}, {"InfoRolls", 4}, {"Effects", 6}, {"Underlays", 7}}));
}

}  // namespace
