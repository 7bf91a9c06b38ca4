#include "pdx/format/codepage.h"

#include <gtest/gtest.h>

namespace {

struct RoundTrip {
    std::uint16_t codePage;
    std::string utf8;
    std::string bytes;
};

class CodePageRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(CodePageRoundTrip, BothWays) {
    const auto& c = GetParam();
    const pdx::CodePage page(c.codePage);
    EXPECT_EQ(page.toUtf8(c.bytes), c.utf8);
    EXPECT_EQ(page.fromUtf8(c.utf8), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Pages, CodePageRoundTrip,
                         ::testing::Values(RoundTrip{1251, "Джингл №5", "\xC4\xE6\xE8\xED\xE3\xEB \xB9\x35"},
                                           RoundTrip{1251, "ёЁ", "\xB8\xA8"},
                                           RoundTrip{866, "Привет", "\x8F\xE0\xA8\xA2\xA5\xE2"},
                                           RoundTrip{1252, "café €", "caf\xE9 \x80"},
                                           RoundTrip{437, "ñ½", "\xA4\xAB"},
                                           RoundTrip{1251, "plain ASCII", "plain ASCII"}));

TEST(CodePage, RomanEightOnlyWhereNoNumberIsGiven) {
    EXPECT_EQ(pdx::CodePage::forTable(0, "BLROM800").toUtf8("\xEB\xF8"), "Š½");
    EXPECT_EQ(pdx::CodePage::forTable(0, "ascii").toUtf8("\xEB\xF8"), "δ°");
    EXPECT_EQ(pdx::CodePage::forTable(1251, "BLROM800").toUtf8("\xC4"), "Д");
    EXPECT_EQ(pdx::CodePage::forTable(0, "BLROM800").fromUtf8("Š½"), "\xEB\xF8");
}

TEST(CodePage, CharacterOutsideThePageIsRefused) {
    std::string bad;
    EXPECT_FALSE(pdx::CodePage(1251).fromUtf8("naïve", &bad));
    EXPECT_EQ(bad, "ï");
    EXPECT_FALSE(pdx::CodePage(1252).fromUtf8("Ж"));
    EXPECT_FALSE(pdx::CodePage(1251).fromUtf8("\xD0"));  // cut UTF-8
}

TEST(CodePage, UnknownPageReadsAsciiOnly) {
    const pdx::CodePage page(950);
    EXPECT_FALSE(page.known());
    EXPECT_EQ(page.toUtf8("abc"), "abc");
    EXPECT_FALSE(page.toUtf8("\xA4"));
}

}  // namespace
