#include "pdx/sql/token_stream.h"

#include "pdx/sql/text.h"

#include <algorithm>

namespace pdx::sql {

namespace {

constexpr std::string_view kBareTableSuffix = ".db";
// Long tokens (a whole path, say) are cut short when a message quotes them.
constexpr std::size_t kMaxQuotedCharacters = 40;

std::string shown(const Token& token) {
    switch (token.kind) {
    case TokenKind::End: return "конец запроса";
    case TokenKind::QuotedName: return quoted(abbreviated("\"" + token.text + "\"", kMaxQuotedCharacters));
    case TokenKind::String: return quoted(abbreviated("'" + token.text + "'", kMaxQuotedCharacters));
    default: return quoted(abbreviated(token.text, kMaxQuotedCharacters));
    }
}

std::string upper(std::string_view keyword) {
    std::string out(keyword);
    for (char& c : out) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return out;
}

}  // namespace

TokenStream::TokenStream(std::string_view text) : text_(text), tokens_(tokenize(text)) {}

const Token& TokenStream::peek(std::size_t ahead) const {
    return tokens_[std::min(index_ + ahead, tokens_.size() - 1)];
}

const Token& TokenStream::take() {
    const Token& token = peek();
    if (token.kind != TokenKind::End && token.kind != TokenKind::Invalid) ++index_;
    return token;
}

bool TokenStream::isKeyword(const Token& token, std::string_view keyword) {
    return token.kind == TokenKind::Word && foldCase(token.text) == keyword;
}

bool TokenStream::atSymbol(std::string_view symbol) const {
    return peek().kind == TokenKind::Symbol && peek().text == symbol;
}

bool TokenStream::acceptKeyword(std::string_view keyword) {
    if (!isKeyword(peek(), keyword)) return false;
    take();
    return true;
}

bool TokenStream::acceptSymbol(std::string_view symbol) {
    if (!atSymbol(symbol)) return false;
    take();
    return true;
}

void TokenStream::expectKeyword(std::string_view keyword) {
    if (!acceptKeyword(keyword)) fail("ожидалось " + upper(keyword));
}

void TokenStream::expectSymbol(std::string_view symbol) {
    if (!acceptSymbol(symbol)) fail("ожидалось " + quoted(symbol));
}

std::string TokenStream::tableName() {
    const Token& token = peek();
    if (token.kind == TokenKind::QuotedName && !token.text.empty()) return take().text;
    if (token.kind == TokenKind::Word) return take().text + std::string(kBareTableSuffix);
    fail("ожидалось имя таблицы");
}

std::string TokenStream::fieldName() {
    const Token& token = peek();
    bool named = token.kind == TokenKind::QuotedName || token.kind == TokenKind::Word;
    if (!named || token.text.empty()) fail("ожидалось имя поля");
    return take().text;
}

std::vector<std::string> TokenStream::nameList() {
    expectSymbol("(");
    std::vector<std::string> names;
    do {
        const Token& at = peek();
        std::string name = fieldName();
        for (const auto& earlier : names) {
            if (sameName(earlier, name)) failAt(at, "поле " + quoted(name) + " указано дважды");
        }
        names.push_back(name);
    } while (acceptSymbol(","));
    expectSymbol(")");
    return names;
}

bool TokenStream::atLiteral() const {
    const Token& token = peek();
    if (token.kind == TokenKind::String || token.kind == TokenKind::Number) return true;
    if (token.kind == TokenKind::Symbol) return token.text == "-" || token.text == "+";
    return isKeyword(token, "null") || isKeyword(token, "true") || isKeyword(token, "false");
}

Literal TokenStream::literal() {
    if (peek().kind == TokenKind::String) return take().text;
    if (acceptKeyword("null")) return Null{};
    if (acceptKeyword("true")) return true;
    if (acceptKeyword("false")) return false;
    std::string sign;
    if (acceptSymbol("-"))
        sign = "-";
    else if (acceptSymbol("+"))
        sign = "+";
    if (peek().kind != TokenKind::Number) fail("ожидалось значение");
    return Number{sign + take().text};
}

void TokenStream::fail(const std::string& expected) const {
    const Token& token = peek();
    if (token.kind == TokenKind::Invalid) failAt(token, token.text);
    failAt(token, expected + ", а найдено " + shown(token));
}

void TokenStream::failAt(const Token& token, const std::string& problem) const {
    failAt(token.offset, problem);
}

void TokenStream::failAt(std::size_t offset, const std::string& problem) const {
    throwSyntaxError(text_, offset, problem);
}

}  // namespace pdx::sql
