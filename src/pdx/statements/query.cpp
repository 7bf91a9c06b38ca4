// SELECT: the rows a condition selects, read in one pass along the table's block chain, one
// block in memory at a time. A row's fields are decoded only when the condition or the
// columns need them.
#include "pdx/query.h"

#include "pdx/error.h"
#include "pdx/sql/parser.h"
#include "pdx/sql/predicate.h"
#include "pdx/storage/block_chain.h"
#include "pdx/storage/boundary.h"
#include "pdx/storage/open_table.h"
#include "pdx/storage/record_values.h"

namespace pdx {
namespace {

const FieldDef kCountColumn{"COUNT(*)", FieldType::Long, 4};

sql::Select selectStatement(std::string_view statement) {
    sql::Statement parsed = sql::parse(statement);
    if (auto* select = std::get_if<sql::Select>(&parsed)) return std::move(*select);
    const std::string table = std::visit([](const auto& s) { return s.table; }, parsed);
    throw Error::statement("запрос меняет таблицу, его выполняет pdx::execute, а не pdx::Query").about(table);
}

OpenTable openForReading(const std::string& table) {
    OpenTable open = openTable(table, os::File::Mode::Read);
    requireReadableRecords(open.header);
    openBlobs(open);
    return open;
}

std::vector<std::size_t> selectedFields(const sql::Select& statement, const std::vector<FieldDef>& fields) {
    std::vector<std::size_t> selected;
    if (statement.count) return selected;
    if (statement.columns.empty()) {
        for (std::size_t i = 0; i < fields.size(); ++i) selected.push_back(i);
    } else {
        for (const auto& name : statement.columns) selected.push_back(sql::fieldIndex(fields, name));
    }
    return selected;
}

}  // namespace

bool isQuery(std::string_view statement) { return sql::isSelect(statement); }

struct Query::State {
    const std::string table;  // as the statement names it
    OpenTable open;
    const Header& header;
    const bool count;
    const std::vector<std::size_t> selected;
    const sql::Predicate predicate;
    std::vector<FieldDef> columns;
    BlockChain chain;
    bool counted = false;
    std::vector<Value> values;

    explicit State(const sql::Select& statement)
        : table(statement.table),
          open(openForReading(statement.table)),
          header(open.header),
          count(statement.count),
          selected(selectedFields(statement, header.fields)),
          predicate(statement.where.get(), header.fields),
          chain(open.file, header) {
        if (count) columns.push_back(kCountColumn);
        for (std::size_t i : selected) columns.push_back(header.fields[i]);
    }

    // The next record the condition selects; null after the last.
    const std::uint8_t* nextMatch() {
        while (const std::uint8_t* record = chain.nextRecord()) {
            const auto valueOf = [&](std::size_t i) {
                return fieldValue(record, header, i, open.blobs.get());
            };
            if (predicate.matches(valueOf)) return record;
        }
        return nullptr;
    }

    bool next() {
        values.clear();
        if (count) {
            if (counted) return false;
            std::int64_t rows = 0;
            while (nextMatch()) ++rows;
            values.emplace_back(rows);
            counted = true;
            return true;
        }
        const std::uint8_t* record = nextMatch();
        if (!record) return false;
        for (std::size_t i : selected) values.push_back(fieldValue(record, header, i, open.blobs.get()));
        return true;
    }
};

Query::Query(std::string_view statement) {
    const sql::Select select = selectStatement(statement);
    state_ = forTable(select.table, [&] { return std::make_unique<State>(select); });
}

Query::~Query() = default;
Query::Query(Query&&) noexcept = default;
Query& Query::operator=(Query&&) noexcept = default;

const std::vector<FieldDef>& Query::columns() const { return state_->columns; }
bool Query::counts() const { return state_->count; }
const std::vector<Value>& Query::values() const { return state_->values; }

bool Query::next() {
    return forTable(state_->table, [&] { return state_->next(); });
}

}  // namespace pdx
