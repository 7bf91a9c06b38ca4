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

// Pages the engine has no table for go through the system's converter. The bytes are those
// of the pages' published tables.
INSTANTIATE_TEST_SUITE_P(
    SystemPages, CodePageRoundTrip,
    ::testing::Values(RoundTrip{1253, "Καλημέρα", "\xCA\xE1\xEB\xE7\xEC\xDD\xF1\xE1"},
                      RoundTrip{1254, "Günaydın ğ", "G\xFCnayd\xFDn \xF0"},
                      RoundTrip{1255, "שלום", "\xF9\xEC\xE5\xED"},
                      RoundTrip{1256, "عربي", "\xDA\xD1\xC8\xED"}, RoundTrip{1257, "ąčę", "\xE0\xE8\xE6"},
                      RoundTrip{1258, "đĂ", "\xF0\xC3"}, RoundTrip{874, "ไทย", "\xE4\xB7\xC2"},
                      RoundTrip{737, "Καλη", "\x89\x98\xA2\x9E"}, RoundTrip{775, "ąč", "\xD0\xD1"},
                      RoundTrip{855, "Джи", "\xA7\xE9\xB7"}, RoundTrip{857, "şğı", "\x9F\xA7\x8D"},
                      RoundTrip{860, "ãõ", "\x84\x94"}, RoundTrip{861, "ðþ", "\x8C\x95"},
                      RoundTrip{862, "שלום", "\x99\x8C\x85\x8D"}, RoundTrip{863, "èÀ", "\x8A\x8E"},
                      RoundTrip{864, "°", "\x80"}, RoundTrip{865, "øå", "\x9B\x86"},
                      RoundTrip{869, "Καλ", "\xB5\xD6\xE5"},
                      // Double-byte pages: a trail byte may look like ASCII ('W', '\\').
                      RoundTrip{932, "ジングル ソ", "\x83\x57\x83\x93\x83\x4F\x83\x8B \x83\x5C"},
                      RoundTrip{936, "中文歌", "\xD6\xD0\xCE\xC4\xB8\xE8"},
                      RoundTrip{949, "한국어", "\xC7\xD1\xB1\xB9\xBE\xEE"},
                      RoundTrip{950, "中文歌", "\xA4\xA4\xA4\xE5\xBA\x71"},
                      // EBCDIC: not even ASCII is kept as it is.
                      RoundTrip{500, "Ab", "\xC1\x82"}));

TEST(CodePage, RomanEightOnlyWhereNoNumberIsGiven) {
    EXPECT_EQ(pdx::CodePage::forTable(0, "BLROM800").toUtf8("\xEB\xF8"), "Š½");
    EXPECT_EQ(pdx::CodePage::forTable(0, "ascii").toUtf8("\xEB\xF8"), "δ°");
    EXPECT_EQ(pdx::CodePage::forTable(1251, "BLROM800").toUtf8("\xC4"), "Д");
    EXPECT_EQ(pdx::CodePage::forTable(0, "BLROM800").fromUtf8("Š½"), "\xEB\xF8");
}

TEST(CodePage, CharacterOutsideThePageIsRefused) {
    struct Case {
        std::uint16_t codePage;
        std::string text;
        std::string bad;  // the character reported
    };
    for (const auto& c : {Case{1251, "naïve", "ï"}, Case{1252, "Ж", "Ж"}, Case{1251, "\xD0", "\xD0"},
                          Case{1253, "αЖβ", "Ж"}, Case{932, "ジ€", "€"}, Case{936, "中\xD0", "\xD0"}}) {
        std::string bad;
        EXPECT_FALSE(pdx::CodePage(c.codePage).fromUtf8(c.text, &bad)) << c.codePage << " " << c.text;
        EXPECT_EQ(bad, c.bad) << c.codePage << " " << c.text;
    }
}

// A double-byte page reads a string as a whole: a lead byte without its trail byte, or with
// one the page does not pair with it, reads as U+FFFD and the next byte stands on its own.
TEST(CodePage, BrokenDoubleByteCharactersReadAsReplacements) {
    const pdx::CodePage page(932);
    EXPECT_TRUE(page.known());
    EXPECT_EQ(page.toUtf8("\x83\x57\x83"), "ジ\uFFFD");
    EXPECT_EQ(page.toUtf8("\x83\x57\x81 a"), "ジ\uFFFD a");
}

TEST(CodePage, PageNobodyKnowsReadsAsciiOnly) {
    const pdx::CodePage page(9999);
    EXPECT_FALSE(page.known());
    EXPECT_EQ(page.toUtf8("abc"), "abc");
    EXPECT_FALSE(page.toUtf8("\xA4"));
    EXPECT_EQ(page.fromUtf8("abc"), "abc");
    EXPECT_FALSE(page.fromUtf8("é"));
}

}  // namespace
