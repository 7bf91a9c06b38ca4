#include "pdx/sql/lexer.h"
#include "pdx/sql/text.h"

#include <gtest/gtest.h>

using namespace pdx::sql;

namespace {

// Kinds and texts of the tokens, as one readable line: Word:DELETE Symbol:( ...
std::string tokensOf(std::string_view text) {
    static const char* kinds[] = {"Word", "Name", "String", "Number", "Symbol", "Invalid", "End"};
    std::string out;
    for (const Token& token : tokenize(text)) {
        if (!out.empty()) out += ' ';
        out += std::string(kinds[static_cast<int>(token.kind)]) + ":" + token.text;
    }
    return out;
}

TEST(Lexer, SplitsTokens) {
    struct Case {
        std::string text, tokens;
    };
    for (const auto& c :
         std::vector<Case>{{"", "End:"},
                           {" \r\n\t ", "End:"},
                           {"DELETE FROM t", "Word:DELETE Word:FROM Word:t End:"},
                           {"a<>1", "Word:a Symbol:<> Number:1 End:"},
                           {"a<=-1.5", "Word:a Symbol:<= Symbol:- Number:1.5 End:"},
                           {"(a>=.5)", "Symbol:( Word:a Symbol:>= Number:.5 Symbol:) End:"},
                           {"\"Order No\"='It''s'", "Name:Order No Symbol:= String:It's End:"},
                           {"\"a\"\"b\"", "Name:a\"b End:"},
                           {"''", "String: End:"},
                           {"2Beats _x Поле1", "Word:2Beats Word:_x Word:Поле1 End:"},
                           {"5.;", "Number:5. Symbol:; End:"},
                           {"COUNT(*)", "Word:COUNT Symbol:( Symbol:* Symbol:) End:"},
                           {"a!b", "Word:a Invalid:недопустимый символ «!»"},
                           {"a 'open", "Word:a Invalid:не закрыта строка в одинарных кавычках"},
                           {"\"open", "Invalid:не закрыты двойные кавычки"},
                           {"1.5x", "Invalid:неверное число"},
                           {"a № 1", "Word:a Word:№ Number:1 End:"}}) {
        EXPECT_EQ(tokensOf(c.text), c.tokens) << c.text;
    }
}

TEST(Lexer, KeepsByteOffsets) {
    auto tokens = tokenize("DELETE  \"Джинглы\" x");
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[0].offset, 0u);
    EXPECT_EQ(tokens[1].offset, 8u);
    EXPECT_EQ(tokens[2].offset, 25u);  // seven Cyrillic letters take two bytes each
    EXPECT_EQ(tokens[3].offset, 26u);
}

TEST(Text, FoldsLatinAndCyrillicCase) {
    EXPECT_EQ(foldCase("FKey"), "fkey");
    EXPECT_EQ(foldCase("ДЖИНГЛЫ Ёлка"), "джинглы ёлка");
    EXPECT_EQ(foldCase("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"), "абвгдежзийклмнопрстуфхцчшщъыьэюя");
    EXPECT_EQ(foldCase("ümlaut 9_"), "ümlaut 9_");
    EXPECT_TRUE(sameName("Категория", "КАТЕГОРИЯ"));
    EXPECT_FALSE(sameName("FKey", "F Key"));
}

TEST(Text, CountsAndCutsCharacters) {
    EXPECT_EQ(characterCount("abc"), 3u);
    EXPECT_EQ(characterCount("Джингл"), 6u);
    EXPECT_EQ(abbreviated("Джинглы", 7), "Джинглы");
    EXPECT_EQ(abbreviated("Джинглы", 3), "Джи…");
    EXPECT_EQ(abbreviated("abc", 0), "…");
    EXPECT_EQ(quoted("x"), "«x»");
}

}  // namespace
