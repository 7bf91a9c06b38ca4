#include "ui/dfm.h"

#include <cctype>

#include "text/utf8.h"
#include "ui/error.h"

namespace ui {

namespace {

std::string kindError(const std::string& property, const char* expected) {
    return "Свойство " + property + ": ожидается " + expected;
}

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    DfmObject object() {
        std::string keyword = name();
        if (keyword != "object" && keyword != "inherited" && keyword != "inline") fail("ожидается object");
        DfmObject result;
        result.name = name();
        expect(':');
        result.className = name();
        for (;;) {
            skipSpace();
            std::size_t save = pos_;
            int saveLine = line_;
            std::string word = name();
            if (word == "end") return result;
            if (word == "object" || word == "inherited" || word == "inline") {
                pos_ = save;
                line_ = saveLine;
                result.children.push_back(object());
                continue;
            }
            expect('=');
            result.properties.emplace_back(word, value());
        }
    }

    void finish() {
        skipSpace();
        if (pos_ != text_.size()) fail("лишний текст после end");
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw Error("Описание формы, строка " + std::to_string(line_) + ": " + what);
    }

    char peek() {
        skipSpace();
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }

    void skipSpace() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
            if (text_[pos_] == '\n') ++line_;
            ++pos_;
        }
    }

    void expect(char c) {
        if (peek() != c) fail(std::string("ожидается '") + c + "'");
        ++pos_;
    }

    std::string name() {
        skipSpace();
        std::size_t start = pos_;
        while (pos_ < text_.size() && isNameChar(text_[pos_])) ++pos_;
        if (start == pos_) fail("ожидается имя");
        return std::string(text_.substr(start, pos_ - start));
    }

    DfmValue value() {
        DfmValue v;
        char c = peek();
        if (c == '\'' || c == '#') {
            v.kind = DfmValue::Kind::String;
            v.text = string();
        } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
            v.kind = DfmValue::Kind::Integer;
            v.integer = integer();
        } else if (c == '[') {
            v.kind = DfmValue::Kind::Set;
            ++pos_;
            if (peek() != ']') {
                v.items.push_back(name());
                while (peek() == ',') {
                    ++pos_;
                    v.items.push_back(name());
                }
            }
            expect(']');
        } else if (c == '(') {
            v.kind = DfmValue::Kind::StringList;
            ++pos_;
            while (peek() != ')') v.items.push_back(string());
            ++pos_;
        } else if (c == '{') {
            v.kind = DfmValue::Kind::Binary;
            ++pos_;
            binary(v.bytes);
        } else {
            v.kind = DfmValue::Kind::Identifier;
            v.text = name();
        }
        return v;
    }

    std::int64_t integer() {
        bool negative = false;
        if (text_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        std::size_t start = pos_;
        std::int64_t n = 0;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
            if (n > (INT64_MAX - 9) / 10) fail("слишком большое число");
            n = n * 10 + (text_[pos_++] - '0');
        }
        if (start == pos_) fail("ожидается число");
        if (pos_ < text_.size() && isNameChar(text_[pos_])) fail("ожидается целое число");
        return negative ? -n : n;
    }

    // 'quoted' parts and #code characters, written side by side or joined by '+'.
    std::string string() {
        std::string out;
        bool any = false;
        for (;;) {
            char c = any ? (pos_ < text_.size() ? text_[pos_] : '\0') : peek();
            if (c == '\'') {
                quoted(out);
            } else if (c == '#') {
                ++pos_;
                std::size_t start = pos_;
                std::uint32_t code = 0;
                while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
                    code = code * 10 + static_cast<std::uint32_t>(text_[pos_++] - '0');
                    if (code > 0x10FFFF) fail("неверный код символа");
                }
                if (start == pos_) fail("ожидается код символа после #");
                text::appendUtf8(out, code);
            } else if (any && peek() == '+') {
                ++pos_;
                if (peek() != '\'' && peek() != '#') fail("ожидается строка после +");
            } else {
                if (!any) fail("ожидается строка");
                return out;
            }
            any = true;
        }
    }

    void quoted(std::string& out) {
        ++pos_;
        for (;;) {
            if (pos_ >= text_.size() || text_[pos_] == '\n') fail("незакрытая строка");
            char c = text_[pos_++];
            if (c != '\'') {
                out += c;
            } else if (pos_ < text_.size() && text_[pos_] == '\'') {
                out += '\'';
                ++pos_;
            } else {
                return;
            }
        }
    }

    void binary(std::vector<std::uint8_t>& bytes) {
        int high = -1;
        for (;;) {
            char c = peek();
            if (c == '}') {
                if (high >= 0) fail("нечётное число шестнадцатеричных цифр");
                ++pos_;
                return;
            }
            int digit = hexDigit(c);
            if (digit < 0) fail("ожидается шестнадцатеричная цифра");
            ++pos_;
            if (high < 0) {
                high = digit;
            } else {
                bytes.push_back(static_cast<std::uint8_t>(high * 16 + digit));
                high = -1;
            }
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

std::int64_t DfmValue::asInteger(const std::string& property) const {
    if (kind != Kind::Integer) throw Error(kindError(property, "целое число"));
    return integer;
}

const std::string& DfmValue::asString(const std::string& property) const {
    if (kind != Kind::String) throw Error(kindError(property, "строка"));
    return text;
}

const std::string& DfmValue::asIdentifier(const std::string& property) const {
    if (kind != Kind::Identifier) throw Error(kindError(property, "имя"));
    return text;
}

bool DfmValue::asBoolean(const std::string& property) const {
    if (kind == Kind::Identifier && text == "True") return true;
    if (kind == Kind::Identifier && text == "False") return false;
    throw Error(kindError(property, "True или False"));
}

const std::vector<std::string>& DfmValue::asSet(const std::string& property) const {
    if (kind != Kind::Set) throw Error(kindError(property, "множество"));
    return items;
}

DfmObject parseDfm(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    Parser parser(text);
    DfmObject object = parser.object();
    parser.finish();
    return object;
}

}  // namespace ui
