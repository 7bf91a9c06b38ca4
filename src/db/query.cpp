#include "db/query.h"

#include "pdx/engine.h"
#include "ui/dfm.h"

namespace db {

namespace {

const bool kRegistered = (ui::RegisterClass("TQuery", [] { return std::make_unique<TQuery>(); }), true);

}  // namespace

void TQuery::ExecSQL() { pdx::execute(SQL.Text()); }

void TQuery::ReadProperty(const std::string& property, const ui::DfmValue& value) {
    if (property == "DatabaseName") {
        DatabaseName = value.asString(property);
    } else if (property == "SQL.Strings") {
        SQL.Clear();
        for (const std::string& line : value.items) SQL.Add(line);
    } else if (property == "Left" || property == "Top") {
        // where the designer drew the non-visual component; nothing at run time
    } else {
        TComponent::ReadProperty(property, value);
    }
}

}  // namespace db
