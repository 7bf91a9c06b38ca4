#include "pdx/engine.h"

#include "pdx/statements/create_table.h"
#include "pdx/statements/delete.h"
#include "pdx/error.h"
#include "pdx/statements/insert.h"
#include "pdx/sql/ast.h"

namespace pdx {

std::int64_t execute(std::string_view statement) {
    const sql::Statement parsed = sql::parse(statement);
    if (const auto* del = std::get_if<sql::Delete>(&parsed)) {
        return deleteRows(del->table, del->where.get());
    }
    if (const auto* create = std::get_if<sql::CreateTable>(&parsed)) {
        createTable(create->table, create->fields, create->keyFieldCount);
        return 0;
    }
    const auto& insert = std::get<sql::Insert>(parsed);
    return insertRows(insert.table, insert.columns, insert.rows);
}

}  // namespace pdx
