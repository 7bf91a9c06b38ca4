#include "pdx/query.h"

#include "pdx/error.h"
#include "pdx/sql/parser.h"
#include "pdx/statements/select.h"
#include "pdx/storage/boundary.h"

namespace pdx {
namespace {

sql::Select selectStatement(std::string_view statement) {
    sql::Statement parsed = sql::parse(statement);
    if (auto* select = std::get_if<sql::Select>(&parsed)) return std::move(*select);
    const std::string table = std::visit([](const auto& s) { return s.table; }, parsed);
    throw Error::statement("запрос меняет таблицу, его выполняет pdx::execute, а не pdx::Query").about(table);
}

}  // namespace

bool isQuery(std::string_view statement) { return sql::isSelect(statement); }

struct Query::State {
    std::string table;  // as the statement names it
    Selection selection;
};

Query::Query(std::string_view statement) {
    sql::Select select = selectStatement(statement);
    const std::string table = select.table;
    state_ = forTable(table, [&] { return std::make_unique<State>(State{table, Selection(select)}); });
}

Query::~Query() = default;
Query::Query(Query&&) noexcept = default;
Query& Query::operator=(Query&&) noexcept = default;

const std::vector<FieldDef>& Query::columns() const { return state_->selection.columns(); }
bool Query::counts() const { return state_->selection.counts(); }
const std::vector<Value>& Query::values() const { return state_->selection.values(); }

bool Query::next() {
    return forTable(state_->table, [&] { return state_->selection.next(); });
}

}  // namespace pdx
