#include "pdx/engine.h"

#include "pdx/create_table.h"
#include "pdx/delete_rows.h"
#include "pdx/error.h"
#include "pdx/insert_rows.h"
#include "pdx/sql.h"

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
