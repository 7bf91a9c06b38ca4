#include "pdx/table.h"

#include "pdx/storage/block_chain.h"
#include "pdx/storage/boundary.h"
#include "pdx/storage/open_table.h"
#include "pdx/storage/record_values.h"

namespace pdx {

struct Table::Impl {
    std::string name;  // as the caller gave it
    OpenTable open;
};

Table::Table(const std::string& path) : impl_(std::make_unique<Impl>()) {
    impl_->name = path;
    forTable(path, [&] {
        impl_->open = openTable(path, os::File::Mode::Read);
        openBlobs(impl_->open);
    });
}

Table::~Table() = default;
Table::Table(Table&&) noexcept = default;
Table& Table::operator=(Table&&) noexcept = default;

const std::string& Table::path() const { return impl_->open.path; }
const TableInfo& Table::info() const { return impl_->open.header.info; }
const std::vector<FieldDef>& Table::fields() const { return impl_->open.header.fields; }

struct Table::Cursor::State {
    const Table::Impl& table;
    BlockChain chain;
    std::vector<Value> values;

    explicit State(const Table::Impl& t) : table(t), chain(t.open.file, t.open.header) {}
};

Table::Cursor::Cursor(const Table& table) {
    forTable(table.impl_->name, [&] {
        requireReadableRecords(table.impl_->open.header);
        state_ = std::make_unique<State>(*table.impl_);
    });
}

Table::Cursor::~Cursor() = default;
Table::Cursor::Cursor(Cursor&&) noexcept = default;

bool Table::Cursor::next() {
    State& s = *state_;
    return forTable(s.table.name, [&] {
        const std::uint8_t* record = s.chain.nextRecord();
        if (!record) return false;
        const Header& header = s.table.open.header;
        s.values.clear();
        for (std::size_t i = 0; i < header.fields.size(); ++i) {
            s.values.push_back(fieldValue(record, header, i, s.table.open.blobs.get()));
        }
        return true;
    });
}

const std::vector<Value>& Table::Cursor::values() const { return state_->values; }

std::vector<std::vector<Value>> Table::readAll() const {
    std::vector<std::vector<Value>> rows;
    Cursor cursor(*this);
    while (cursor.next()) rows.push_back(cursor.values());
    return rows;
}

}  // namespace pdx
