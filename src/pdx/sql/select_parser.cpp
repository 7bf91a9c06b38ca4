// SELECT: *, COUNT(*) or a list of fields, then FROM and an optional WHERE.
#include "pdx/sql/parsers.h"

namespace pdx::sql {

namespace {

constexpr std::string_view kWhatToSelect = "ожидалось *, COUNT(*) или имя поля";

// A field of the list; FROM in its place means the list is missing.
std::string selectedField(TokenStream& tokens) {
    const Token& token = tokens.peek();
    const bool named = token.kind == TokenKind::QuotedName || token.kind == TokenKind::Word;
    if (!named || TokenStream::isKeyword(token, "from")) tokens.fail(std::string(kWhatToSelect));
    return tokens.fieldName();
}

}  // namespace

Select parseSelect(TokenStream& tokens) {
    Select result;
    const bool countCall = TokenStream::isKeyword(tokens.peek(), "count") &&
                           tokens.peek(1).kind == TokenKind::Symbol && tokens.peek(1).text == "(";
    if (countCall) {
        tokens.take();
        tokens.expectSymbol("(");
        tokens.expectSymbol("*");
        tokens.expectSymbol(")");
        result.count = true;
    } else if (!tokens.acceptSymbol("*")) {
        do result.columns.push_back(selectedField(tokens));
        while (tokens.acceptSymbol(","));
    }
    tokens.expectKeyword("from");
    result.table = tokens.tableName();
    if (tokens.acceptKeyword("where")) result.where = parseCondition(tokens);
    return result;
}

}  // namespace pdx::sql
