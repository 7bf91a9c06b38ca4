// The window as the toolkit shows it, read from the widgets themselves.
#include <gtest/gtest.h>

#include "program_copy.h"
#include "temp_folder.h"

namespace {

class Window : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder("window");
        writeFile(folder_->file("AdvBeats.db"), "x");
        writeFile(folder_->file("Beats.db"), "x");
        run_ = new ProgramRun(runProgram({folder_->str()}, {"state"}));
    }
    static void TearDownTestSuite() {
        delete run_;
        delete folder_;
    }
    static std::string state(const std::string& key) { return run_->state(key); }

    static TempFolder* folder_;
    static ProgramRun* run_;
};

TempFolder* Window::folder_ = nullptr;
ProgramRun* Window::run_ = nullptr;

std::vector<int> numbers(const std::string& text) {
    std::vector<int> values;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = std::min(text.find(',', start), text.size());
        values.push_back(std::stoi(text.substr(start, comma - start)));
        start = comma + 1;
    }
    return values;
}

TEST_F(Window, ProgramEndsNormallyWhenClosed) { EXPECT_EQ(run_->exitCode, 0) << run_->output; }

TEST_F(Window, CaptionAndFixedDialogFrame) {
    EXPECT_EQ(state("window.caption"), "Конвертировать базы");
    EXPECT_EQ(state("window.client"), "262x143");
    EXPECT_EQ(state("window.fixedSize"), "1");
    EXPECT_EQ(state("window.minimizeBox"), "0");
    EXPECT_EQ(state("window.maximizeBox"), "0");
    EXPECT_EQ(state("window.closeBox"), "1");
}

TEST_F(Window, CentredOnScreenWhenFirstShown) { EXPECT_EQ(state("window.centred"), "1"); }

TEST_F(Window, SystemColoursAndFont) {
    EXPECT_EQ(state("window.background"), state("system.buttonFace"));
    EXPECT_EQ(state("window.textColour"), state("system.windowText"));
    // MS Sans Serif is not installed here: a sans serif stands in, at 11 px, regular.
    std::string font = state("window.font");
    EXPECT_NE(font.find("/11/regular"), std::string::npos) << font;
    EXPECT_EQ(font.find("Serif/"), std::string::npos) << "a serif face was chosen: " << font;
    for (const char* control : {"BitBtn1", "Label1", "Label2"})
        EXPECT_EQ(state(std::string(control) + ".font"), font) << control;
}

TEST_F(Window, ShowsTheButtonAndBothLabelsOnly) {
    EXPECT_EQ(state("window.children"), "BitBtn1,Label1,Label2");
    for (const char* control : {"BitBtn1", "Label1", "Label2"})
        EXPECT_EQ(state(std::string(control) + ".visible"), "1") << control;
    EXPECT_EQ(state("Q.sqlLines"), "0");
}

TEST_F(Window, ButtonGeometryCaptionCursorGlyph) {
    EXPECT_EQ(state("BitBtn1.class"), "QPushButton");
    EXPECT_EQ(state("BitBtn1.geometry"), "8,56,245,37");
    EXPECT_EQ(state("BitBtn1.text"), "Выполнить");
    EXPECT_EQ(state("BitBtn1.enabled"), "1");
    EXPECT_EQ(state("BitBtn1.cursor"), "hand");
    EXPECT_EQ(state("BitBtn1.icon"), "1");
    EXPECT_EQ(state("BitBtn1.iconSize"), "16x16");
    EXPECT_EQ(state("BitBtn1.focusable"), "1");
}

struct LabelCase {
    const char* name;
    const char* text;
    int left, top, width, height;  // as designed
};

class Labels : public Window, public testing::WithParamInterface<LabelCase> {};

TEST_P(Labels, TextLinesCentredAroundTheDesignedBox) {
    const LabelCase& c = GetParam();
    std::string name = c.name;
    EXPECT_EQ(state(name + ".class"), "QLabel");
    EXPECT_EQ(state(name + ".text"), c.text);
    EXPECT_EQ(state(name + ".cursor"), "arrow");
    EXPECT_EQ(state(name + ".focusable"), "0");
    EXPECT_EQ(state(name + ".alignment"), "centre");
    // Sized to its text (the font here is not the designer's), keeping top and centre.
    std::vector<int> box = numbers(state(name + ".geometry"));
    ASSERT_EQ(box.size(), 4u);
    EXPECT_EQ(box[1], c.top);
    EXPECT_NEAR(box[0] + box[2] / 2.0, c.left + c.width / 2.0, 1.0);
    const std::string text = c.text;
    int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    EXPECT_GE(box[3], lines * 11) << "every line shown";
    EXPECT_LE(box[3], lines * 20);
    EXPECT_GT(box[2], c.width / 2) << "the longest line's width";
    EXPECT_LT(box[2], 262) << "fits the window";
}

INSTANTIATE_TEST_SUITE_P(
    Form, Labels,
    testing::Values(LabelCase{"Label1",
                              "Сконвертировать базы отбивок из VX 2.х или \n"
                              "3.0.0.123 Beta 1.x в базы  Vorlangix 3 Beta 2.x \n"
                              "или более позднюю версию.",
                              4, 4, 251, 39},
                    LabelCase{"Label2", "Программу необходимо разместить\nв папку с базами Vorlangix", 36,
                              104, 185, 26}),
    [](const testing::TestParamInfo<LabelCase>& info) { return info.param.name; });

TEST_F(Window, EnabledTextInTheWindowTextColour) {
    for (const char* control : {"BitBtn1", "Label1", "Label2"})
        EXPECT_EQ(state(std::string(control) + ".textColour"), state("system.windowText")) << control;
}

TEST(WindowNotReady, ButtonDisabledWithTheSameCaptionGreyed) {
    TempFolder folder("not-ready");
    ProgramRun run = runProgram({folder.str()}, {"state"});
    EXPECT_EQ(run.state("BitBtn1.enabled"), "0");
    EXPECT_EQ(run.state("BitBtn1.text"), "Выполнить");
    EXPECT_NE(run.state("BitBtn1.textColour"), run.state("system.windowText"));
}

}  // namespace
