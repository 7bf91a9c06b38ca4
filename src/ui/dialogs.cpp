#include "ui/dialogs.h"

#include "ui/application.h"

namespace ui {

namespace {

struct ButtonKind {
    TMsgDlgBtn button;
    const char* caption;
    TModalResult result;
};

// In the order they are shown.
constexpr ButtonKind kButtonKinds[] = {
    {mbYes, "&Yes", mrYes},
    {mbNo, "&No", mrNo},
    {mbOK, "OK", mrOk},
    {mbCancel, "Cancel", mrCancel},
    {mbAbort, "&Abort", mrAbort},
    {mbRetry, "&Retry", mrRetry},
    {mbIgnore, "&Ignore", mrIgnore},
    {mbAll, "&All", mrAll},
    {mbNoToAll, "N&o to All", mrNoToAll},
    {mbYesToAll, "Yes to &All", mrYesToAll},
    {mbHelp, "&Help", mrNone},
};

const char* titleOf(TMsgDlgType type) {
    switch (type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    case mtCustom: break;
    }
    return nullptr;
}

backend::DialogIcon iconOf(TMsgDlgType type) {
    switch (type) {
    case mtWarning: return backend::DialogIcon::Warning;
    case mtError: return backend::DialogIcon::Error;
    case mtInformation: return backend::DialogIcon::Information;
    case mtConfirmation: return backend::DialogIcon::Question;
    case mtCustom: break;
    }
    return backend::DialogIcon::None;
}

}  // namespace

TMsgDlgButtons::TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
    for (TMsgDlgBtn button : buttons) bits_ |= 1u << button;
}

backend::MessageBoxDesc messageDlgBox(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    backend::MessageBoxDesc box;
    const char* title = titleOf(type);
    box.title = title ? title : Application->Title();
    box.text = text;
    box.icon = iconOf(type);
    for (const ButtonKind& kind : kButtonKinds)
        if (buttons.Contains(kind.button)) box.buttons.push_back({kind.result, kind.caption});
    box.defaultId = buttons.Contains(mbOK) ? mrOk : buttons.Contains(mbYes) ? mrYes : mrRetry;
    box.escapeId = buttons.Contains(mbCancel) ? mrCancel : buttons.Contains(mbNo) ? mrNo : mrOk;
    return box;
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int) {
    return Application->Backend().messageBox(messageDlgBox(text, type, buttons));
}

}  // namespace ui
