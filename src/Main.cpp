#include "Main.h"

#include "os/fs.h"
#include "pdx/engine.h"
#include "ui/dialogs.h"

using namespace ui;

TForm1* Form1 = nullptr;

namespace {

const char* const TableExtension = ".db";
const char* const DoneCaption = "Выполнено!";

// The path inside an SQL double-quoted name: a double quote is written twice.
std::string quotedName(const std::string& path) {
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

std::string ProgramFolder() { return os::folderOf(Application->ExeName()); }

std::string TablePath(const std::string& name) { return ProgramFolder() + name + TableExtension; }

TForm1::TForm1() : TForm("Main.dfm") {}

void TForm1::DeclarePublished(Published& published) {
    published.field("BitBtn1", BitBtn1);
    published.field("Q", Q);
    published.field("Label1", Label1);
    published.field("Label2", Label2);
    published.method("FormCreate", this, &TForm1::FormCreate);
    published.method("BitBtn1Click", this, &TForm1::BitBtn1Click);
}

void TForm1::FormCreate(TObject*) {
    BitBtn1->SetEnabled(false);
    for (const char* source : SourceTables)
        if (!os::fileExists(TablePath(source))) return;
    BitBtn1->SetEnabled(true);
}

void TForm1::BitBtn1Click(TObject*) {
    for (int s = 0; s < SourceCount; ++s) {
        const std::string source = TablePath(SourceTables[s]);
        for (int p = 0; p < TargetsPerSource; ++p) {
            const std::string target = TablePath(TargetTables[s][p]);
            if (os::fileExists(target) &&
                MessageDlg("База " + target + " уже существует. Заменить в ней данные?", mtConfirmation,
                           {mbYes, mbNo}) != mrYes)
                continue;
            pdx::copyTable(source, target);
            Q->SQL.Add("DELETE FROM " + quotedName(target));
            Q->SQL.Add("WHERE FKey<>" + std::to_string(TargetKeys[s][p]));
            try {
                Q->ExecSQL();
            } catch (...) {
                Q->SQL.Clear();
                throw;
            }
            Q->SQL.Clear();
        }
    }
    BitBtn1->SetCaption(DoneCaption);
    BitBtn1->SetEnabled(false);
    MessageDlg(std::string(DoneCaption) +
                   " Программу можно удалить или перенести \r"
                   "в другую папку, чтобы не запустить её повторно.",
               mtInformation, {mbOK});
}
