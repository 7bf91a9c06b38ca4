// Parses any text as a statement; the condition of a DELETE or a SELECT (and a SELECT's
// fields) is then bound to a fixed set of fields and evaluated on a row of values and on a
// row of blanks. Only pdx::Error may escape the engine.
#include "pdx/error.h"
#include "pdx/sql/parser.h"
#include "pdx/sql/predicate.h"
#include "pdx/statements/field_values.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using namespace pdx;

const std::vector<FieldDef> fields = {
    {"FKey", FieldType::Long, 4},       {"Name", FieldType::Alpha, 20},  {"Small", FieldType::Short, 2},
    {"Price", FieldType::Currency, 8},  {"Ratio", FieldType::Number, 8}, {"Amount", FieldType::Bcd, 2},
    {"Active", FieldType::Logical, 1},  {"Day", FieldType::Date, 4},     {"At", FieldType::Time, 4},
    {"Stamp", FieldType::Timestamp, 8}, {"Notes", FieldType::Memo, 20},  {"Order No", FieldType::AutoInc, 4},
};

const std::vector<Value> row = {
    std::int64_t{5},
    std::string("Jingle"),
    std::int64_t{-3},
    12.5,
    -0.25,
    Decimal{false, "1250", 2},
    true,
    Date{736695},
    Time{3723000},
    Timestamp{63716202001000.0},
    std::string("memo"),
    std::int64_t{7},
};

void evaluate(const sql::Expr* where) {
    sql::Predicate predicate(where, fields);
    predicate.matches([](std::size_t i) { return row.at(i); });
    predicate.matches([](std::size_t) { return Value{}; });
}

void exercise(const sql::Statement& statement) {
    if (auto remove = std::get_if<sql::Delete>(&statement)) {
        evaluate(remove->where.get());
    } else if (auto select = std::get_if<sql::Select>(&statement)) {
        for (const auto& name : select->columns) sql::fieldIndex(fields, name);
        evaluate(select->where.get());
    } else if (auto insert = std::get_if<sql::Insert>(&statement)) {
        for (const auto& values : insert->rows) {
            for (std::size_t i = 0; i < values.size(); ++i) {
                try {
                    toFieldValue(values[i], fields[i % fields.size()]);
                } catch (const Error&) {
                }
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        exercise(sql::parse(std::string_view(reinterpret_cast<const char*>(data), size)));
    } catch (const Error&) {
    }
    return 0;
}
