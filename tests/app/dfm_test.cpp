// Reading form descriptions, including the program's own built-in one.
#include <gtest/gtest.h>

#include "ui/dfm.h"
#include "ui/error.h"
#include "ui/resources.h"

namespace {

using Kind = ui::DfmValue::Kind;

const ui::DfmValue& property(const ui::DfmObject& object, const std::string& name) {
    for (const auto& [key, value] : object.properties)
        if (key == name) return value;
    throw std::runtime_error("no property " + name);
}

TEST(Dfm, NestedObjectsAndPropertiesInFileOrder) {
    ui::DfmObject form = ui::parseDfm(
        "object Form1: TForm1\n"
        "  Left = 192\n"
        "  Font.Height = -11\n"
        "  object B: TBitBtn\n"
        "    OnClick = BClick\n"
        "  end\n"
        "  object L: TLabel\n"
        "  end\n"
        "end\n");
    EXPECT_EQ(form.name, "Form1");
    EXPECT_EQ(form.className, "TForm1");
    ASSERT_EQ(form.properties.size(), 2u);
    EXPECT_EQ(form.properties[0].first, "Left");
    EXPECT_EQ(form.properties[0].second.integer, 192);
    EXPECT_EQ(form.properties[1].first, "Font.Height");
    EXPECT_EQ(form.properties[1].second.integer, -11);
    ASSERT_EQ(form.children.size(), 2u);
    EXPECT_EQ(form.children[0].name, "B");
    EXPECT_EQ(form.children[0].className, "TBitBtn");
    EXPECT_EQ(property(form.children[0], "OnClick").asIdentifier("OnClick"), "BClick");
    EXPECT_EQ(form.children[1].name, "L");
}

struct StringCase {
    const char* source;
    const char* expected;
};

class DfmString : public testing::TestWithParam<StringCase> {};

TEST_P(DfmString, Decoded) {
    ui::DfmObject object =
        ui::parseDfm(std::string("object A: TA\n  Caption = ") + GetParam().source + "\nend\n");
    const ui::DfmValue& caption = property(object, "Caption");
    EXPECT_EQ(caption.kind, Kind::String);
    EXPECT_EQ(caption.text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, DfmString,
    testing::Values(StringCase{"'plain'", "plain"}, StringCase{"''", ""}, StringCase{"'it''s'", "it's"},
                    StringCase{"'a'#13#10'b'", "a\r\nb"}, StringCase{"#1042'ыход'", "Выход"},
                    StringCase{"'a' +\n    'b'", "ab"}, StringCase{"\n    'a'#13 +\n    #10'b'", "a\r\nb"},
                    StringCase{"'Выполнить'", "Выполнить"}, StringCase{"'tail '", "tail "},
                    StringCase{"#128512", "\xF0\x9F\x98\x80"}));

TEST(Dfm, SetsBinaryIdentifiersAndStringLists) {
    ui::DfmObject object = ui::parseDfm(
        "object A: TA\n"
        "  Font.Style = [fsBold, fsItalic]\n"
        "  BorderIcons = []\n"
        "  Data = {\n    0A0b FF\n    00}\n"
        "  SQL.Strings = (\n    'DELETE FROM x'\n    'WHERE FKey<>1')\n"
        "  Enabled = False\n"
        "end");
    EXPECT_EQ(property(object, "Font.Style").asSet("s"), (std::vector<std::string>{"fsBold", "fsItalic"}));
    EXPECT_TRUE(property(object, "BorderIcons").asSet("s").empty());
    EXPECT_EQ(property(object, "Data").bytes, (std::vector<std::uint8_t>{0x0A, 0x0B, 0xFF, 0x00}));
    EXPECT_EQ(property(object, "SQL.Strings").kind, Kind::StringList);
    EXPECT_EQ(property(object, "SQL.Strings").items,
              (std::vector<std::string>{"DELETE FROM x", "WHERE FKey<>1"}));
    EXPECT_FALSE(property(object, "Enabled").asBoolean("Enabled"));
}

TEST(Dfm, TypedAccessRefusesAnotherKind) {
    ui::DfmObject object = ui::parseDfm("object A: TA\n  Left = 1\n  Caption = 'x'\nend");
    EXPECT_THROW(property(object, "Left").asString("Left"), ui::Error);
    EXPECT_THROW(property(object, "Caption").asInteger("Caption"), ui::Error);
    EXPECT_THROW(property(object, "Caption").asBoolean("Caption"), ui::Error);
}

struct BadCase {
    const char* name;
    const char* text;
    const char* line;  // the line number the message names
};

class DfmMalformed : public testing::TestWithParam<BadCase> {};

TEST_P(DfmMalformed, RefusedNamingTheLine) {
    try {
        ui::parseDfm(GetParam().text);
        FAIL() << "accepted";
    } catch (const ui::Error& error) {
        EXPECT_NE(std::string(error.what()).find(std::string("строка ") + GetParam().line), std::string::npos)
            << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, DfmMalformed,
    testing::Values(BadCase{"NoObject", "Left = 1\n", "1"},
                    BadCase{"NoEnd", "object A: TA\n  Left = 1\n", "3"},
                    BadCase{"NoColon", "object A TA\nend\n", "1"},
                    BadCase{"UnclosedString", "object A: TA\n  Caption = 'abc\nend\n", "2"},
                    BadCase{"NoEquals", "object A: TA\n  Left 1\nend\n", "2"},
                    BadCase{"TextAfterEnd", "object A: TA\nend\nend\n", "3"},
                    BadCase{"OddHex", "object A: TA\n  D = {ABC}\nend\n", "2"},
                    BadCase{"BadHex", "object A: TA\n  D = {ZZ}\nend\n", "2"},
                    BadCase{"DanglingPlus", "object A: TA\n  C = 'a' +\nend\n", "3"},
                    BadCase{"HugeNumber", "object A: TA\n  L = 99999999999999999999\nend\n", "2"},
                    BadCase{"NumberWithLetters", "object A: TA\n  L = 12ab\nend\n", "2"}),
    [](const testing::TestParamInfo<BadCase>& info) { return info.param.name; });

TEST(Dfm, ByteOrderMarkIsSkipped) { EXPECT_EQ(ui::parseDfm("\xEF\xBB\xBFobject A: TA\nend").name, "A"); }

TEST(BuiltInForm, DescribesTheConversionWindow) {
    std::span<const std::uint8_t> bytes = ui::findResource("Main.dfm");
    ui::DfmObject form = ui::parseDfm({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    EXPECT_EQ(form.name, "Form1");
    EXPECT_EQ(form.className, "TForm1");
    std::vector<std::string> components;
    for (const ui::DfmObject& child : form.children) components.push_back(child.name + ":" + child.className);
    EXPECT_EQ(components,
              (std::vector<std::string>{"BitBtn1:TBitBtn", "Q:TQuery", "Label1:TLabel", "Label2:TLabel"}));
    EXPECT_EQ(property(form, "Caption").text, "Конвертировать базы");
    EXPECT_EQ(property(form.children[2], "Caption").text,
              "Сконвертировать базы отбивок из VX 2.\xD1\x85 или \r\n"
              "3.0.0.123 Beta 1.x в базы  Vorlangix 3 Beta 2.x \r\n"
              "или более позднюю версию.");
    EXPECT_EQ(property(form.children[3], "Caption").text,
              "Программу необходимо разместить\r\nв папку с базами Vorlangix");
}

TEST(BuiltInForm, MissingResourceIsAnError) {
    EXPECT_THROW(ui::findResource("Nothing.dfm"), ui::Error);
    EXPECT_FALSE(ui::findResource("Check.bmp").empty());
}

}  // namespace
