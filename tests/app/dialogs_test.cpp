// Message dialogs: what MessageDlg asks the backend for, and the real boxes the program
// shows when every target already exists.
#include <gtest/gtest.h>

#include <filesystem>

#include "Main.h"
#include "program_copy.h"
#include "temp_folder.h"
#include "ui/dialogs.h"

namespace {

using ui::backend::DialogIcon;

struct BoxCase {
    const char* name;
    ui::TMsgDlgType type;
    std::vector<ui::TMsgDlgBtn> buttons;
    const char* title;
    DialogIcon icon;
    std::vector<std::pair<int, std::string>> shown;  // result and caption, in order
    int defaultId;
    int escapeId;
};

class MessageDlgBox : public testing::TestWithParam<BoxCase> {};

TEST_P(MessageDlgBox, TitleIconButtonsDefaultAndEscape) {
    const BoxCase& c = GetParam();
    ui::backend::MessageBoxDesc box = [&] {
        switch (c.buttons.size()) {
        case 1: return ui::messageDlgBox("text", c.type, {c.buttons[0]});
        case 2: return ui::messageDlgBox("text", c.type, {c.buttons[0], c.buttons[1]});
        default: return ui::messageDlgBox("text", c.type, {c.buttons[0], c.buttons[1], c.buttons[2]});
        }
    }();
    EXPECT_EQ(box.title, c.title);
    EXPECT_EQ(box.text, "text");
    EXPECT_EQ(box.icon, c.icon);
    std::vector<std::pair<int, std::string>> shown;
    for (const auto& button : box.buttons) shown.emplace_back(button.id, button.caption);
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(box.defaultId, c.defaultId);
    EXPECT_EQ(box.escapeId, c.escapeId);
}

using namespace ui;

INSTANTIATE_TEST_SUITE_P(Kinds, MessageDlgBox,
                         testing::Values(BoxCase{"ConfirmYesNo",
                                                 mtConfirmation,
                                                 {mbYes, mbNo},
                                                 "Confirm",
                                                 DialogIcon::Question,
                                                 {{mrYes, "&Yes"}, {mrNo, "&No"}},
                                                 mrYes,
                                                 mrNo},
                                         BoxCase{"ConfirmNoYesGivenBackwards",
                                                 mtConfirmation,
                                                 {mbNo, mbYes},
                                                 "Confirm",
                                                 DialogIcon::Question,
                                                 {{mrYes, "&Yes"}, {mrNo, "&No"}},
                                                 mrYes,
                                                 mrNo},
                                         BoxCase{"InformationOk",
                                                 mtInformation,
                                                 {mbOK},
                                                 "Information",
                                                 DialogIcon::Information,
                                                 {{mrOk, "OK"}},
                                                 mrOk,
                                                 mrOk},
                                         BoxCase{"ErrorOkCancel",
                                                 mtError,
                                                 {mbOK, mbCancel},
                                                 "Error",
                                                 DialogIcon::Error,
                                                 {{mrOk, "OK"}, {mrCancel, "Cancel"}},
                                                 mrOk,
                                                 mrCancel},
                                         BoxCase{"WarningYesNoCancel",
                                                 mtWarning,
                                                 {mbYes, mbNo, mbCancel},
                                                 "Warning",
                                                 DialogIcon::Warning,
                                                 {{mrYes, "&Yes"}, {mrNo, "&No"}, {mrCancel, "Cancel"}},
                                                 mrYes,
                                                 mrCancel},
                                         BoxCase{"RetryIgnore",
                                                 mtError,
                                                 {mbRetry, mbIgnore},
                                                 "Error",
                                                 DialogIcon::Error,
                                                 {{mrRetry, "&Retry"}, {mrIgnore, "&Ignore"}},
                                                 mrRetry,
                                                 mrOk}),
                         [](const testing::TestParamInfo<BoxCase>& info) { return info.param.name; });

const std::string CompletionText =
    "Выполнено! Программу можно удалить или перенести \nв другую папку, чтобы не запустить её повторно.";

std::string confirmation(const std::string& target) {
    return "База " + target + " уже существует. Заменить в ней данные?";
}

// Sources and every target present, with content the test can recognise afterwards.
void fillFolder(const TempFolder& folder) {
    writeFile(folder.file("AdvBeats.db"), "source 1");
    writeFile(folder.file("Beats.db"), "source 2");
    for (const auto& targets : TargetTables)
        for (const char* target : targets) writeFile(folder.file(std::string(target) + ".db"), target);
}

void expectTargetsUntouched(const TempFolder& folder) {
    for (const auto& targets : TargetTables)
        for (const char* target : targets)
            EXPECT_EQ(readFile(folder.file(std::string(target) + ".db")), target) << target;
    EXPECT_EQ(readFile(folder.file("AdvBeats.db")), "source 1");
    EXPECT_EQ(readFile(folder.file("Beats.db")), "source 2");
}

class DeclineEveryTarget : public testing::TestWithParam<const char*> {};

TEST_P(DeclineEveryTarget, EightQuestionsInOrderNothingChangesThenDone) {
    TempFolder folder("decline");
    fillFolder(folder);
    std::string answer = GetParam();
    std::string answers = "answers=";
    for (int i = 0; i < 8; ++i) answers += answer + ",";
    answers += "OK";

    ProgramRun run = runProgram({folder.str()}, {answers, "click", "state"});

    ASSERT_EQ(run.exitCode, 0) << run.output;
    ASSERT_EQ(run.dialogs.size(), 9u) << run.output;
    std::size_t i = 0;
    for (const auto& targets : TargetTables)
        for (const char* target : targets) {
            const DialogSeen& seen = run.dialogs[i++];
            EXPECT_EQ(seen.text, confirmation(folder.file(std::string(target) + ".db")));
            EXPECT_EQ(seen.answer, answer);
        }
    const DialogSeen& done = run.dialogs.back();
    EXPECT_EQ(done.icon, "information");
    EXPECT_EQ(done.text, CompletionText);
    expectTargetsUntouched(folder);
    EXPECT_EQ(run.state("BitBtn1.text"), "Выполнено!");
    EXPECT_EQ(run.state("BitBtn1.enabled"), "0");
}

INSTANTIATE_TEST_SUITE_P(Answers, DeclineEveryTarget, testing::Values("No", "Escape", "Close"));

TEST(ConfirmationBox, QuestionIconYesNoYesDefaultEscapeNoCentredModal) {
    TempFolder folder("confirm");
    fillFolder(folder);
    ProgramRun run = runProgram({folder.str()}, {"answers=No,No,No,No,No,No,No,No,OK", "click"});
    ASSERT_FALSE(run.dialogs.empty()) << run.output;
    const DialogSeen& seen = run.dialogs.front();
    EXPECT_EQ(seen.icon, "question");
    EXPECT_EQ(seen.title, "Confirm");
    EXPECT_EQ(seen.buttons, "&Yes|&No");
    EXPECT_EQ(seen.defaultButton, "&Yes");
    EXPECT_EQ(seen.escapeButton, "&No");
    EXPECT_EQ(seen.centred, "1");
    EXPECT_EQ(seen.modal, "1");
}

TEST(CompletionBox, InformationIconOneOkButtonTwoLines) {
    TempFolder folder("done");
    fillFolder(folder);
    ProgramRun run = runProgram({folder.str()}, {"answers=No,No,No,No,No,No,No,No,Enter", "click"});
    ASSERT_EQ(run.dialogs.size(), 9u) << run.output;
    const DialogSeen& seen = run.dialogs.back();
    EXPECT_EQ(seen.icon, "information");
    EXPECT_EQ(seen.title, "Information");
    EXPECT_EQ(seen.buttons, "OK");
    EXPECT_EQ(seen.defaultButton, "OK");
    EXPECT_EQ(seen.text, CompletionText);
    EXPECT_EQ(seen.centred, "1");
    EXPECT_EQ(seen.modal, "1");
    EXPECT_EQ(seen.linesWhole, "1") << "shown as exactly its two lines";
}

}  // namespace
