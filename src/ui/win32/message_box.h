// The layer's modal message box on Win32: an icon, the text and a row of buttons, laid out
// in dialog units of the system's message font. Enter presses the default (or focused)
// button; Escape and the close box answer the description's escape button.
#pragma once

#include <windows.h>

#include "ui/backend.h"

namespace ui::win32 {

// Shows the box centred on the screen, `owner` (may be null) disabled meanwhile; returns
// the id of the button that answered.
int showMessageBox(const backend::MessageBoxDesc& desc, HWND owner);

// Registers the box's window class; once per process.
void registerMessageBoxClass();

}  // namespace ui::win32
