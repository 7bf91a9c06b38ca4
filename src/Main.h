// The conversion form: splits each source table of jingles into four tables by the
// category in its FKey field.
#pragma once

#include <cstdint>
#include <string>

#include "db/query.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/forms.h"

// The tables, in processing order: SourceTables[s] is split into TargetTables[s][p], each
// keeping the rows whose FKey is TargetKeys[s][p].
inline constexpr int SourceCount = 2;
inline constexpr int TargetsPerSource = 4;
inline constexpr const char* SourceTables[SourceCount] = {"AdvBeats", "Beats"};
inline constexpr const char* TargetTables[SourceCount][TargetsPerSource] = {
    {"AdvStarts", "AdvEnds", "AdvFrees", "AdvAdds"},
    {"Jingles", "InfoRolls", "Effects", "Underlays"},
};
inline constexpr std::int32_t TargetKeys[SourceCount][TargetsPerSource] = {{0, 1, 2, 8}, {5, 4, 6, 7}};

// The folder of the running executable, ending with its separator: the tables live
// beside the program.
std::string ProgramFolder();
// The path of a table in the program's folder: ProgramFolder + name + ".db".
std::string TablePath(const std::string& name);

class TForm1 : public ui::TForm {
public:
    ui::TBitBtn* BitBtn1 = nullptr;
    db::TQuery* Q = nullptr;
    ui::TLabel* Label1 = nullptr;
    ui::TLabel* Label2 = nullptr;

    TForm1();
    // The button is ready only when both source tables are beside the program.
    void FormCreate(ui::TObject* Sender);
    // Splits the sources into the targets, asking before replacing an existing target.
    void BitBtn1Click(ui::TObject* Sender);

protected:
    void DeclarePublished(ui::Published& published) override;
};

extern TForm1* Form1;
