#include "pdx/statements/select.h"

#include "pdx/sql/predicate.h"
#include "pdx/storage/block_chain.h"
#include "pdx/storage/open_table.h"
#include "pdx/storage/record_values.h"

namespace pdx {
namespace {

const FieldDef kCountColumn{"COUNT(*)", FieldType::Long, 4};

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

struct Selection::State {
    OpenTable open;
    const Header& header;
    const bool count;
    const std::vector<std::size_t> selected;
    const sql::Predicate predicate;
    std::vector<FieldDef> columns;
    BlockChain chain;
    std::size_t inBlock = 0;
    bool haveBlock = false;
    bool counted = false;
    std::vector<Value> values;

    explicit State(const sql::Select& statement)
        : open(openForReading(statement.table)),
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
        for (;;) {
            while (!haveBlock || inBlock >= chain.recordCount()) {
                if (!chain.next()) return nullptr;
                haveBlock = true;
                inBlock = 0;
            }
            const std::uint8_t* record = chain.record(inBlock++);
            const auto valueOf = [&](std::size_t i) {
                return fieldValue(record, header, i, open.blobs.get());
            };
            if (predicate.matches(valueOf)) return record;
        }
    }
};

Selection::Selection(const sql::Select& statement) : state_(std::make_unique<State>(statement)) {}
Selection::~Selection() = default;
Selection::Selection(Selection&&) noexcept = default;
Selection& Selection::operator=(Selection&&) noexcept = default;

const std::vector<FieldDef>& Selection::columns() const { return state_->columns; }
bool Selection::counts() const { return state_->count; }
const std::vector<Value>& Selection::values() const { return state_->values; }

bool Selection::next() {
    State& s = *state_;
    s.values.clear();
    if (s.count) {
        if (s.counted) return false;
        std::int64_t rows = 0;
        while (s.nextMatch()) ++rows;
        s.values.emplace_back(rows);
        s.counted = true;
        return true;
    }
    const std::uint8_t* record = s.nextMatch();
    if (!record) return false;
    for (std::size_t i : s.selected) s.values.push_back(fieldValue(record, s.header, i, s.open.blobs.get()));
    return true;
}

}  // namespace pdx
