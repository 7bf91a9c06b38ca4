// A query run by our Paradox engine (Delphi's TQuery): the statement's lines in SQL, run
// by ExecSQL. Engine errors (pdx::Error) reach the caller unchanged.
#pragma once

#include <string>

#include "ui/classes.h"
#include "ui/strings.h"

namespace ui {

class TQuery : public TComponent {
public:
    TStrings SQL;
    std::string DatabaseName;

    // Hands the engine the lines of SQL, each followed by CR LF.
    void ExecSQL();

    void ReadProperty(const std::string& property, const DfmValue& value) override;
};

}  // namespace ui
