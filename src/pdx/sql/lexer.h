// Splits a statement's text into tokens.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pdx::sql {

enum class TokenKind {
    Word,        // a bare name or a keyword: letters, digits, '_'
    QuotedName,  // "..." with "" standing for one quote; text holds the name
    String,      // '...' with '' standing for one quote; text holds the string
    Number,      // digits with an optional point and digits
    Symbol,      // ( ) , ; = <> < <= > >= + - *
    Invalid,     // text that starts no token; text holds the problem, and nothing follows
    End,
};

struct Token {
    TokenKind kind;
    std::string text;
    std::size_t offset;  // byte offset in the statement
};

// The tokens, ending in End, or in Invalid where the text stops making sense: the parser
// then reports whichever problem comes first.
std::vector<Token> tokenize(std::string_view text);

// The Russian syntax error for a place in the statement: "Ошибка синтаксиса SQL в позиции N: ...".
[[noreturn]] void throwSyntaxError(std::string_view text, std::size_t offset, const std::string& problem);

}  // namespace pdx::sql
