// Modal message dialogs (Delphi's MessageDlg): an icon for the kind, the text, the buttons.
#pragma once

#include <initializer_list>
#include <string>

#include "ui/backend.h"

namespace ui {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};

// A set of buttons; they are shown in the order of TMsgDlgBtn whatever the order given.
class TMsgDlgButtons {
public:
    TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons);
    bool Contains(TMsgDlgBtn button) const { return (bits_ >> button) & 1u; }

private:
    unsigned bits_ = 0;
};

// What a dialog returns: the button pressed.
enum TModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10
};

// Shows the dialog centred on the screen and returns the button pressed.
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);

// The box MessageDlg shows: the title of the kind ("Confirm", "Information"...), the
// buttons' captions and results, OK or else Yes as the default button, Cancel or else No
// or else OK for Escape.
backend::MessageBoxDesc messageDlgBox(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

}  // namespace ui
