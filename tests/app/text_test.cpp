// Line breaks in texts and the lines of a statement.
#include <gtest/gtest.h>

#include "ui/strings.h"
#include "ui/text.h"

namespace {

struct LinesCase {
    const char* text;
    std::vector<std::string> lines;
};

class SplitLines : public testing::TestWithParam<LinesCase> {};

TEST_P(SplitLines, EachBreakEndsOneLine) { EXPECT_EQ(ui::splitLines(GetParam().text), GetParam().lines); }

INSTANTIATE_TEST_SUITE_P(Breaks, SplitLines,
                         testing::Values(LinesCase{"", {""}}, LinesCase{"one", {"one"}},
                                         LinesCase{"a\r\nb", {"a", "b"}}, LinesCase{"a\rb", {"a", "b"}},
                                         LinesCase{"a\nb", {"a", "b"}}, LinesCase{"a\r\rb", {"a", "", "b"}},
                                         LinesCase{"a\n\rb", {"a", "", "b"}}, LinesCase{"a \r\n", {"a ", ""}},
                                         LinesCase{"\r\nb", {"", "b"}}));

TEST(WithLineFeeds, AnyBreakBecomesOneLineFeedAndSpacesStay) {
    EXPECT_EQ(ui::withLineFeeds("перенести \rв папку"), "перенести \nв папку");
    EXPECT_EQ(ui::withLineFeeds("a\r\nb\nc\rd"), "a\nb\nc\nd");
    EXPECT_EQ(ui::withLineFeeds("базы  x "), "базы  x ");
}

TEST(TStrings, AddCountStringsClear) {
    ui::TStrings sql;
    EXPECT_EQ(sql.Count(), 0u);
    sql.Add("DELETE FROM \"/p/Jingles.db\"");
    sql.Add("WHERE FKey<>5");
    ASSERT_EQ(sql.Count(), 2u);
    EXPECT_EQ(sql.Strings(0), "DELETE FROM \"/p/Jingles.db\"");
    EXPECT_EQ(sql.Strings(1), "WHERE FKey<>5");
    EXPECT_THROW(sql.Strings(2), std::out_of_range);
    sql.Clear();
    EXPECT_EQ(sql.Count(), 0u);
    EXPECT_EQ(sql.Text(), "");
}

TEST(TStrings, TextEndsEveryLineWithCrLf) {
    ui::TStrings sql;
    sql.Add("DELETE FROM \"x\"");
    sql.Add("WHERE FKey<>0");
    EXPECT_EQ(sql.Text(), "DELETE FROM \"x\"\r\nWHERE FKey<>0\r\n");
    sql.Add("");
    EXPECT_EQ(sql.Text(), "DELETE FROM \"x\"\r\nWHERE FKey<>0\r\n\r\n");
}

}  // namespace
