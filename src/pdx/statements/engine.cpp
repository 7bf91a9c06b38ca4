#include "pdx/engine.h"

#include "pdx/error.h"
#include "pdx/sql/parser.h"
#include "pdx/statements/copy_table.h"
#include "pdx/statements/create_table.h"
#include "pdx/statements/delete.h"
#include "pdx/statements/insert.h"
#include "pdx/storage/boundary.h"

namespace pdx {
namespace {

std::int64_t run(const sql::Delete& statement) { return deleteRows(statement); }
std::int64_t run(const sql::Insert& statement) { return insertRows(statement); }
std::int64_t run(const sql::CreateTable& statement) {
    createTable(statement);
    return 0;
}
std::int64_t run(const sql::Select&) {
    throw Error::statement(
        "запрос SELECT не меняет таблицу, его строки читает pdx::Query, а не pdx::execute");
}

}  // namespace

std::int64_t execute(std::string_view statement) {
    const sql::Statement parsed = sql::parse(statement);
    return std::visit([](const auto& s) { return forTable(s.table, [&] { return run(s); }); }, parsed);
}

void copyTable(const std::string& source, const std::string& target) {
    forTable(target, [&] { copyTableFiles(source, target); });
}

}  // namespace pdx
