// INSERT INTO: optional column list, then rows of literals.
#include "pdx/sql/parsers.h"

namespace pdx::sql {

Insert parseInsert(TokenStream& tokens) {
    tokens.expectKeyword("into");
    Insert result;
    result.table = tokens.tableName();
    if (tokens.atSymbol("(")) result.columns = tokens.nameList();
    tokens.expectKeyword("values");
    do {
        const Token& rowAt = tokens.peek();
        tokens.expectSymbol("(");
        std::vector<Literal> row;
        do row.push_back(tokens.literal());
        while (tokens.acceptSymbol(","));
        tokens.expectSymbol(")");
        // Without a column list every row must match the first; the table is checked later.
        std::size_t expected = !result.columns.empty() ? result.columns.size()
                               : result.rows.empty()   ? row.size()
                                                       : result.rows.front().size();
        if (row.size() != expected) {
            tokens.failAt(rowAt, "в строке значений " + std::to_string(row.size()) + ", а ожидалось " +
                                     std::to_string(expected));
        }
        result.rows.push_back(std::move(row));
    } while (tokens.acceptSymbol(","));
    return result;
}

}  // namespace pdx::sql
