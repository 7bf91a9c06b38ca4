// The toolkit layer's forms on a recording backend: descriptions bound to form classes,
// scaling, label sizing, tab order, events and the standard error display.
#include <gtest/gtest.h>

#include "Main.h"
#include "fake_backend.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/error.h"
#include "ui/forms.h"

namespace {

using ui::backend::Rect;

// A form class publishing a label, a button and two handlers, bound to any description.
class TTestForm : public ui::TForm {
public:
    explicit TTestForm(std::string description) : TForm(std::move(description)) {}
    ui::TLabel* Label = nullptr;
    ui::TBitBtn* Button = nullptr;
    int created = 0;
    int clicked = 0;
    static inline bool throwOnCreate = false;
    static inline bool throwOnClick = false;

    void FormCreate(ui::TObject*) {
        ++created;
        if (throwOnCreate) throw std::runtime_error("Ошибка при создании");
    }
    void ButtonClick(ui::TObject* sender) {
        ++clicked;
        EXPECT_EQ(sender, Button);
        if (throwOnClick) throw std::runtime_error("Ошибка в обработчике");
    }

protected:
    void DeclarePublished(ui::Published& published) override {
        published.field("Label", Label);
        published.field("Button", Button);
        published.method("FormCreate", this, &TTestForm::FormCreate);
        published.method("ButtonClick", this, &TTestForm::ButtonClick);
    }
};

template <const char* Description>
struct FormOf : TTestForm {
    FormOf() : TTestForm(Description) {}
};

constexpr char kTestDfm[] = "Test.dfm";

bool sameRect(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

std::string str(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.width) + "," +
           std::to_string(r.height);
}

class Forms : public testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<fake::Backend>();
        fake_ = backend.get();
        fake_->ppi = ppi();
        ui::Application->Initialize(std::move(backend));
        TTestForm::throwOnCreate = TTestForm::throwOnClick = false;
    }
    // Runs the (recording) event loop, which returns at once, and frees the forms.
    void TearDown() override { ui::Application->Run(); }
    virtual int ppi() const { return 96; }

    fake::Window& window() { return *fake_->windows.back(); }

    fake::Backend* fake_ = nullptr;
};

TEST_F(Forms, WindowAsDescribed) {
    FormOf<kTestDfm>* form = nullptr;
    ui::Application->CreateForm(form);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(ui::Application->MainForm(), form);
    const ui::backend::WindowDesc& desc = window().desc;
    EXPECT_EQ(desc.name, "TestForm");
    EXPECT_EQ(desc.caption, "Проба");
    EXPECT_EQ(desc.client.width, 200);
    EXPECT_EQ(desc.client.height, 100);
    EXPECT_EQ(desc.frame, ui::backend::Frame::Sizeable);
    EXPECT_FALSE(desc.color.system);
    EXPECT_EQ(desc.color.rgb, 0x808080u);
    EXPECT_EQ(desc.font.name, "Tahoma");
    EXPECT_EQ(desc.font.pixelHeight, 11) << "8 pt at 96 dpi";
    EXPECT_TRUE(desc.font.bold);
    EXPECT_FALSE(desc.font.italic);
    EXPECT_FALSE(desc.font.color.system);
    EXPECT_EQ(form->created, 1) << "OnCreate ran once, before the window is shown";
    EXPECT_FALSE(window().shown);
}

TEST_F(Forms, ComponentsBoundInDescriptionOrder) {
    FormOf<kTestDfm>* form = nullptr;
    ui::Application->CreateForm(form);
    ASSERT_EQ(form->ComponentCount(), 5u);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < form->ComponentCount(); ++i) names.push_back(form->Components(i)->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"Label", "Right", "Fixed", "Second", "Button"}));
    EXPECT_EQ(form->Label, form->FindComponent("Label"));
    EXPECT_EQ(form->Button, form->FindComponent("Button"));
    EXPECT_EQ(form->FindComponent("Nothing"), nullptr);
    std::vector<std::string> kinds;
    for (const fake::Control* control : window().controls)
        kinds.push_back(control->label.name + ":" + control->kind);
    EXPECT_EQ(kinds, (std::vector<std::string>{"Label:label", "Right:label", "Fixed:label", "Second:button",
                                               "Button:button"}));
}

TEST_F(Forms, LabelsSizedToTheirTextKeepingTheirAnchor) {
    FormOf<kTestDfm>* form = nullptr;
    ui::Application->CreateForm(form);
    // "abcd" / "ab": 4 characters wide, two lines; centred in 10..110
    EXPECT_EQ(str(window().find("Label")->label.bounds), "48,20,24,26");
    EXPECT_EQ(form->Label->Left(), 48);
    EXPECT_EQ(window().find("Label")->label.alignment, ui::taCenter);
    EXPECT_EQ(window().find("Label")->text, "abcd\r\nab");
    // right edge kept at 110
    EXPECT_EQ(str(window().find("Right")->label.bounds), "92,40,18,13");
    // no AutoSize: as described
    EXPECT_EQ(str(window().find("Fixed")->label.bounds), "10,60,100,13");
    // a new caption is measured again
    form->Label->SetCaption("abcdefgh");
    EXPECT_EQ(str(window().find("Label")->bounds), "36,20,48,13");
    EXPECT_EQ(window().find("Label")->text, "abcdefgh");
}

TEST_F(Forms, ButtonsStateAndTabOrder) {
    FormOf<kTestDfm>* form = nullptr;
    ui::Application->CreateForm(form);
    fake::Control* button = window().find("Button");
    EXPECT_EQ(str(button->label.bounds), "11,75,50,21");
    EXPECT_EQ(button->text, "&Go");
    EXPECT_FALSE(button->enabled);
    EXPECT_TRUE(button->button.glyph.empty());
    EXPECT_FALSE(window().find("Second")->label.visible);
    ASSERT_EQ(window().tabOrder.size(), 2u);
    EXPECT_EQ(window().tabOrder[0], button) << "TabOrder 0 first, whatever the description order";
    EXPECT_EQ(window().tabOrder[1], window().find("Second"));
    form->Button->SetEnabled(true);
    EXPECT_TRUE(button->enabled);
    EXPECT_TRUE(form->Button->Enabled());
    form->Button->SetCaption("Done");
    EXPECT_EQ(button->text, "Done");
}

TEST_F(Forms, ClickRunsTheHandlerOnlyWhenEnabled) {
    FormOf<kTestDfm>* form = nullptr;
    ui::Application->CreateForm(form);
    fake::Control* button = window().find("Button");
    button->button.onClick();
    EXPECT_EQ(form->clicked, 0) << "disabled";
    form->Button->SetEnabled(true);
    button->button.onClick();
    EXPECT_EQ(form->clicked, 1);
    EXPECT_TRUE(fake_->boxes.empty());
}

TEST_F(Forms, ErrorInAHandlerGoesToTheErrorBoxAndTheProgramGoesOn) {
    FormOf<kTestDfm>* form = nullptr;
    ui::Application->CreateForm(form);
    TTestForm::throwOnClick = true;
    form->Button->SetEnabled(true);
    window().find("Button")->button.onClick();
    ASSERT_EQ(fake_->boxes.size(), 1u);
    const ui::backend::MessageBoxDesc& box = fake_->boxes[0];
    EXPECT_EQ(box.title, ui::Application->Title());
    EXPECT_EQ(box.title, "app_tests") << "the executable's name";
    EXPECT_EQ(box.text, "Ошибка в обработчике");
    EXPECT_EQ(box.icon, ui::backend::DialogIcon::Error);
    ASSERT_EQ(box.buttons.size(), 1u);
    EXPECT_EQ(box.buttons[0].caption, "OK");
    window().find("Button")->button.onClick();
    EXPECT_EQ(form->clicked, 2);
}

constexpr char kThrowingDfm[] = "Throwing.dfm";

TEST_F(Forms, ErrorInOnCreateIsShownAndTheFormStays) {
    TTestForm::throwOnCreate = true;
    FormOf<kThrowingDfm>* form = nullptr;
    ui::Application->CreateForm(form);
    ASSERT_EQ(fake_->boxes.size(), 1u);
    EXPECT_EQ(fake_->boxes[0].text, "Ошибка при создании");
    EXPECT_EQ(ui::Application->MainForm(), form);
}

TEST_F(Forms, RunShowsTheMainFormCentredOnlyWhenAskedAndClosingItEndsTheLoop) {
    FormOf<kTestDfm>* form = nullptr;
    ui::Application->CreateForm(form);
    fake::Window& shown = window();
    form->Show();
    EXPECT_TRUE(shown.shown);
    EXPECT_FALSE(shown.centred) << "poDesigned";
    shown.close();
    EXPECT_EQ(fake_->quitCalls, 1);
}

TEST_F(Forms, MessageDlgReturnsTheButtonPressed) {
    fake_->answers = {ui::mrYes};
    EXPECT_EQ(ui::MessageDlg("Заменить?", ui::mtConfirmation, {ui::mbYes, ui::mbNo}), ui::mrYes);
    EXPECT_EQ(ui::MessageDlg("Заменить?", ui::mtConfirmation, {ui::mbYes, ui::mbNo}), ui::mrNo)
        << "Escape or closing";
    ASSERT_EQ(fake_->boxes.size(), 2u);
    EXPECT_EQ(fake_->boxes[0].text, "Заменить?");
    EXPECT_EQ(ui::messageDlgBox("x", ui::mtCustom, {ui::mbOK}).title, "app_tests");
}

class FormsAt144Dpi : public Forms {
    int ppi() const override { return 144; }
};

TEST_F(FormsAt144Dpi, EverythingScaledWithTheScreen) {
    TForm1* form = nullptr;
    ui::Application->CreateForm(form);
    const ui::backend::WindowDesc& desc = window().desc;
    EXPECT_EQ(desc.client.width, 393);
    EXPECT_EQ(desc.client.height, 215);
    EXPECT_EQ(desc.font.pixelHeight, 17);
    EXPECT_EQ(str(window().find("BitBtn1")->label.bounds), "12,84,368,56");
    EXPECT_EQ(form->BitBtn1->Width(), 368);
    EXPECT_EQ(window().find("Label2")->label.bounds.top, 156);
}

TEST_F(Forms, TheProgramsFormOnTheLayer) {
    TForm1* form = nullptr;
    ui::Application->CreateForm(form);
    ASSERT_EQ(form, Form1 ? Form1 : form);
    const ui::backend::WindowDesc& desc = window().desc;
    EXPECT_EQ(desc.name, "Form1");
    EXPECT_EQ(desc.caption, "Конвертировать базы");
    EXPECT_EQ(desc.frame, ui::backend::Frame::Dialog);
    EXPECT_EQ(desc.client.width, 262);
    EXPECT_EQ(desc.client.height, 143);
    EXPECT_EQ(desc.color.system, ui::backend::SystemColor::ButtonFace);
    EXPECT_EQ(desc.font.name, "MS Sans Serif");
    EXPECT_EQ(desc.font.pixelHeight, 11);
    EXPECT_FALSE(desc.font.bold);
    EXPECT_EQ(desc.font.color.system, ui::backend::SystemColor::WindowText);
    fake::Control* button = window().find("BitBtn1");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(str(button->label.bounds), "8,56,245,37");
    EXPECT_EQ(button->label.cursor, ui::crHandPoint);
    EXPECT_EQ(button->text, "Выполнить");
    EXPECT_EQ(button->button.glyph.width, 16);
    EXPECT_EQ(button->button.disabledGlyph.width, 16);
    EXPECT_FALSE(button->enabled) << "no source tables beside the test program";
    ASSERT_EQ(window().tabOrder.size(), 1u);
    EXPECT_EQ(window().find("Q"), nullptr) << "the query is not shown";
    EXPECT_EQ(form->Q->SQL.Count(), 0u);
    EXPECT_TRUE(form->Q->DatabaseName.empty());
}

struct BadForm {
    const char* name;
    void (*create)();
    const char* message;  // part of the ui::Error's text
};

template <const char* Description>
void create() {
    FormOf<Description>* form = nullptr;
    ui::Application->CreateForm(form);
}

constexpr char kUnknownClass[] = "UnknownClass.dfm", kUnknownProperty[] = "UnknownProperty.dfm",
               kMissingComponent[] = "MissingComponent.dfm", kWrongClass[] = "WrongClass.dfm",
               kUnknownHandler[] = "UnknownHandler.dfm", kUnknownEvent[] = "UnknownEvent.dfm",
               kDuplicateName[] = "DuplicateName.dfm", kMissingGlyph[] = "MissingGlyph.dfm",
               kWrongKind[] = "WrongKind.dfm", kNested[] = "Nested.dfm", kNoSuchFile[] = "NoSuch.dfm";

class FormsRefused : public Forms, public testing::WithParamInterface<BadForm> {};

TEST_P(FormsRefused, WithTheLayersErrorAndNoFormKept) {
    try {
        GetParam().create();
        FAIL() << "accepted";
    } catch (const ui::Error& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos) << error.what();
    }
    EXPECT_EQ(ui::Application->MainForm(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Descriptions, FormsRefused,
                         testing::Values(BadForm{"UnknownClass", create<kUnknownClass>, "TEdit"},
                                         BadForm{"UnknownProperty", create<kUnknownProperty>, "WordWrap"},
                                         BadForm{"MissingComponent", create<kMissingComponent>, "Button"},
                                         BadForm{"WrongClass", create<kWrongClass>, "Button"},
                                         BadForm{"UnknownHandler", create<kUnknownHandler>, "Nowhere"},
                                         BadForm{"UnknownEvent", create<kUnknownEvent>, "OnClick"},
                                         BadForm{"DuplicateName", create<kDuplicateName>, "Label"},
                                         BadForm{"MissingGlyph", create<kMissingGlyph>, "Nothing.bmp"},
                                         BadForm{"WrongKind", create<kWrongKind>, "ClientWidth"},
                                         BadForm{"Nested", create<kNested>, "Label"},
                                         BadForm{"NoSuchFile", create<kNoSuchFile>, "NoSuch.dfm"}),
                         [](const testing::TestParamInfo<BadForm>& info) { return info.param.name; });

}  // namespace
