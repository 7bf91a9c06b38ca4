// CREATE TABLE: fields with their types, and an optional primary key on the leading fields.
#include "pdx/format/field_layout.h"
#include "pdx/sql/column_type.h"
#include "pdx/sql/parsers.h"
#include "pdx/sql/text.h"

#include <charconv>
#include <optional>

namespace pdx::sql {

namespace {

class CreateParser {
public:
    explicit CreateParser(TokenStream& tokens) : tokens_(tokens) {}

    CreateTable run() {
        tokens_.expectKeyword("table");
        CreateTable result;
        result.table = tokens_.tableName();
        tokens_.expectSymbol("(");
        std::optional<std::vector<std::string>> key;
        const Token* keyAt = nullptr;
        do {
            if (TokenStream::isKeyword(tokens_.peek(), "primary") &&
                TokenStream::isKeyword(tokens_.peek(1), "key")) {
                if (key) tokens_.failAt(tokens_.peek(), "первичный ключ указан дважды");
                keyAt = &tokens_.take();
                tokens_.take();
                key = tokens_.nameList();
            } else {
                result.fields.push_back(field(result.fields));
            }
        } while (tokens_.acceptSymbol(","));
        tokens_.expectSymbol(")");
        if (result.fields.empty()) tokens_.failAt(tokens_.peek(), "в таблице должно быть хотя бы одно поле");
        if (result.fields.size() > kMaxFields) {
            tokens_.failAt(tokens_.peek(), "полей больше " + std::to_string(kMaxFields));
        }
        if (key) result.keyFieldCount = checkedKey(*key, result.fields, *keyAt);
        return result;
    }

private:
    FieldDef field(const std::vector<FieldDef>& earlier) {
        const Token& nameAt = tokens_.peek();
        FieldDef field{tokens_.fieldName(), FieldType::Alpha, 0};
        if (characterCount(field.name) > kMaxFieldNameLength) {
            tokens_.failAt(nameAt, "имя поля длиннее " + std::to_string(kMaxFieldNameLength) + " символов");
        }
        for (const auto& other : earlier) {
            if (sameName(other.name, field.name))
                tokens_.failAt(nameAt, "поле " + quoted(field.name) + " указано дважды");
        }
        const Token& typeAt = tokens_.peek();
        if (typeAt.kind != TokenKind::Word) tokens_.fail("ожидался тип поля " + quoted(field.name));
        std::string typeName = tokens_.take().text;
        std::vector<long long> args;
        if (tokens_.acceptSymbol("(")) {
            do args.push_back(typeArgument());
            while (tokens_.acceptSymbol(","));
            tokens_.expectSymbol(")");
        }
        std::string problem = columnType(typeName, args, field);
        if (!problem.empty()) tokens_.failAt(typeAt, problem + " (поле " + quoted(field.name) + ")");
        return field;
    }

    long long typeArgument() {
        const Token& token = tokens_.peek();
        long long value = 0;
        const char* end = token.text.data() + token.text.size();
        auto [stop, error] = std::from_chars(token.text.data(), end, value);
        if (token.kind != TokenKind::Number || error != std::errc() || stop != end)
            tokens_.fail("ожидалось целое число");
        tokens_.take();
        return value;
    }

    std::size_t checkedKey(const std::vector<std::string>& key, const std::vector<FieldDef>& fields,
                           const Token& at) const {
        for (std::size_t i = 0; i < key.size(); ++i) {
            if (i >= fields.size() || !sameName(key[i], fields[i].name)) {
                tokens_.failAt(at, "первичный ключ должен состоять из первых полей таблицы по порядку");
            }
            if (isBlobType(fields[i].type)) {
                tokens_.failAt(at, "поле " + quoted(fields[i].name) + " этого типа не может входить в ключ");
            }
        }
        return key.size();
    }

    TokenStream& tokens_;
};

}  // namespace

CreateTable parseCreateTable(TokenStream& tokens) { return CreateParser(tokens).run(); }

}  // namespace pdx::sql
