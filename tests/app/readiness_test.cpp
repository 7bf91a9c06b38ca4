// The button is ready only when both source tables are files beside the program; where the
// program was started from does not matter.
#include <gtest/gtest.h>

#include <filesystem>

#include "program_copy.h"
#include "temp_folder.h"

namespace {

struct ReadinessCase {
    const char* name;
    std::vector<const char*> files;    // created beside the program
    std::vector<const char*> folders;  // created beside the program
    bool ready;
};

class Readiness : public testing::TestWithParam<ReadinessCase> {};

TEST_P(Readiness, ButtonStateAfterStart) {
    const ReadinessCase& c = GetParam();
    TempFolder folder("ready");
    for (const char* file : c.files) writeFile(folder.file(file), "not read");
    for (const char* sub : c.folders) std::filesystem::create_directory(folder.path() / sub);

    ProgramRun run = runProgram({folder.str()}, {"state"});

    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.state("BitBtn1.enabled"), c.ready ? "1" : "0");
    EXPECT_EQ(run.state("BitBtn1.text"), "Выполнить");
    EXPECT_TRUE(run.dialogs.empty()) << "no message about missing tables";
}

INSTANTIATE_TEST_SUITE_P(
    Sources, Readiness,
    testing::Values(ReadinessCase{"None", {}, {}, false},
                    ReadinessCase{"OnlyAdvBeats", {"AdvBeats.db"}, {}, false},
                    ReadinessCase{"OnlyBeats", {"Beats.db"}, {}, false},
                    ReadinessCase{"Both", {"AdvBeats.db", "Beats.db"}, {}, true},
                    ReadinessCase{
                        "BothWithTargetsAround", {"AdvBeats.db", "Beats.db", "Jingles.db"}, {}, true},
                    ReadinessCase{"AdvBeatsIsAFolder", {"Beats.db"}, {"AdvBeats.db"}, false},
                    ReadinessCase{"BeatsIsAFolder", {"AdvBeats.db"}, {"Beats.db"}, false},
                    ReadinessCase{"OtherExtension", {"AdvBeats.DB.bak", "Beats.db"}, {}, false},
                    ReadinessCase{"CaseDiffers", {"advbeats.db", "Beats.db"}, {}, false}),
    [](const testing::TestParamInfo<ReadinessCase>& info) { return info.param.name; });

TEST(ReadinessFromElsewhere, TablesBesideTheProgramCountNotThoseInTheCurrentFolder) {
    TempFolder program("program"), current("current");
    writeFile(program.file("AdvBeats.db"), "x");
    writeFile(program.file("Beats.db"), "x");

    ProgramRun run = runProgram({program.str(), current.str()}, {"state", "paths"});

    EXPECT_EQ(run.state("BitBtn1.enabled"), "1");
    EXPECT_EQ(run.values["folder"], program.str() + "/");
}

TEST(ReadinessFromElsewhere, TablesOnlyInTheCurrentFolderDoNotCount) {
    TempFolder program("program"), current("current");
    writeFile(current.file("AdvBeats.db"), "x");
    writeFile(current.file("Beats.db"), "x");

    ProgramRun run = runProgram({program.str(), current.str()}, {"state"});

    EXPECT_EQ(run.state("BitBtn1.enabled"), "0");
}

}  // namespace
