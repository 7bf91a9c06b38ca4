// Statements by their first keyword; DELETE itself.
#include "pdx/sql/parser.h"
#include "pdx/sql/parsers.h"

namespace pdx::sql {

Delete parseDelete(TokenStream& tokens) {
    tokens.expectKeyword("from");
    Delete result;
    result.table = tokens.tableName();
    if (tokens.acceptKeyword("where")) result.where = parseCondition(tokens);
    return result;
}

bool Number::isInteger() const { return text.find('.') == std::string::npos; }

bool isSelect(std::string_view text) { return TokenStream::isKeyword(TokenStream(text).peek(), "select"); }

Statement parse(std::string_view text) {
    TokenStream tokens(text);
    Statement result;
    if (tokens.acceptKeyword("select")) {
        result = parseSelect(tokens);
    } else if (tokens.acceptKeyword("delete")) {
        result = parseDelete(tokens);
    } else if (tokens.acceptKeyword("create")) {
        result = parseCreateTable(tokens);
    } else if (tokens.acceptKeyword("insert")) {
        result = parseInsert(tokens);
    } else {
        tokens.fail("ожидалось SELECT, DELETE, CREATE TABLE или INSERT");
    }
    tokens.acceptSymbol(";");
    if (tokens.peek().kind != TokenKind::End) tokens.fail("ожидался конец запроса");
    return result;
}

}  // namespace pdx::sql
