// The database components, apart from the forms as in Delphi's own units: a query run by our
// Paradox engine (Delphi's TQuery). Its statement's lines are in SQL, run by ExecSQL; engine
// errors (pdx::Error) reach the caller unchanged. A form description may create it by name.
#pragma once

#include <string>

#include "ui/classes.h"
#include "ui/strings.h"

namespace db {

class TQuery : public ui::TComponent {
public:
    ui::TStrings SQL;
    std::string DatabaseName;

    // Hands the engine the lines of SQL, each followed by CR LF.
    void ExecSQL();

    void ReadProperty(const std::string& property, const ui::DfmValue& value) override;
};

}  // namespace db
