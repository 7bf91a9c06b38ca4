#include "pdx/sql/lexer.h"

#include "pdx/error.h"
#include "pdx/sql/text.h"

namespace pdx::sql {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
// Bytes of non-ASCII UTF-8 characters count as letters, so names may be Cyrillic.
bool isWordChar(char c) {
    auto u = static_cast<unsigned char>(c);
    return isDigit(c) || c == '_' || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u >= 0x80;
}

// A problem in the text, turned into an Invalid token.
struct LexicalError {
    std::size_t offset;
    std::string problem;
};

class Lexer {
public:
    explicit Lexer(std::string_view text) : text_(text) {}

    std::vector<Token> run() {
        std::vector<Token> tokens;
        try {
            for (;;) {
                while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
                if (pos_ == text_.size()) break;
                tokens.push_back(next());
            }
        } catch (const LexicalError& error) {
            tokens.push_back({TokenKind::Invalid, error.problem, error.offset});
            return tokens;
        }
        tokens.push_back({TokenKind::End, "", text_.size()});
        return tokens;
    }

private:
    Token next() {
        std::size_t start = pos_;
        char c = text_[pos_];
        if (c == '"') return {TokenKind::QuotedName, readQuoted('"'), start};
        if (c == '\'') return {TokenKind::String, readQuoted('\''), start};
        if (isDigit(c)) {
            // Digits followed by letters make a bare name, such as the table 2Beats.
            std::size_t end = pos_;
            while (end < text_.size() && isWordChar(text_[end])) ++end;
            if (text_.substr(pos_, end - pos_).find_first_not_of("0123456789") != std::string_view::npos) {
                pos_ = end;
                return {TokenKind::Word, std::string(text_.substr(start, end - start)), start};
            }
        }
        if (isDigit(c) || (c == '.' && pos_ + 1 < text_.size() && isDigit(text_[pos_ + 1]))) {
            return {TokenKind::Number, readNumber(), start};
        }
        if (isWordChar(c)) {
            while (pos_ < text_.size() && isWordChar(text_[pos_])) ++pos_;
            return {TokenKind::Word, std::string(text_.substr(start, pos_ - start)), start};
        }
        for (std::string_view symbol : {"<>", "<=", ">=", "(", ")", ",", ";", "=", "<", ">", "+", "-", "*"}) {
            if (text_.substr(pos_).starts_with(symbol)) {
                pos_ += symbol.size();
                return {TokenKind::Symbol, std::string(symbol), start};
            }
        }
        std::size_t length = 1;
        while (start + length < text_.size() &&
               (static_cast<unsigned char>(text_[start + length]) & 0xC0) == 0x80)
            ++length;
        throw LexicalError{start, "недопустимый символ " + quoted(text_.substr(start, length))};
    }

    std::string readQuoted(char quote) {
        std::size_t start = pos_++;
        std::string content;
        for (;;) {
            if (pos_ == text_.size()) {
                throw LexicalError{start, quote == '"' ? "не закрыты двойные кавычки"
                                                       : "не закрыта строка в одинарных кавычках"};
            }
            char c = text_[pos_++];
            if (c != quote) {
                content += c;
            } else if (pos_ < text_.size() && text_[pos_] == quote) {
                content += quote;
                ++pos_;
            } else {
                return content;
            }
        }
    }

    std::string readNumber() {
        std::size_t start = pos_;
        while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '.') {
            ++pos_;
            while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
        }
        if (pos_ < text_.size() && isWordChar(text_[pos_])) {
            throw LexicalError{start, "неверное число"};
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::vector<Token> tokenize(std::string_view text) { return Lexer(text).run(); }

void throwSyntaxError(std::string_view text, std::size_t offset, const std::string& problem) {
    std::size_t position = characterCount(text.substr(0, offset)) + 1;
    throw Error(Error::Kind::Syntax,
                "Ошибка синтаксиса SQL в позиции " + std::to_string(position) + ": " + problem);
}

}  // namespace pdx::sql
