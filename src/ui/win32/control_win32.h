// A child control of a Win32 window. The window finds the object behind a child's handle
// to pass it its notifications.
#pragma once

#include <windows.h>

#include "ui/backend.h"

namespace ui::win32 {

class Win32Control : public backend::Control {
public:
    // Creates the child; `style` adds to WS_CHILD and the description's visibility and state.
    Win32Control(HWND parent, const wchar_t* windowClass, DWORD style, const backend::ControlDesc& desc,
                 HFONT font);
    ~Win32Control() override;
    Win32Control(const Win32Control&) = delete;
    Win32Control& operator=(const Win32Control&) = delete;

    void setText(const std::string& text) override;
    void setEnabled(bool enabled) override;
    void setBounds(const backend::Rect& bounds) override;

    HWND handle() const { return handle_; }
    backend::Cursor cursor() const { return cursor_; }
    // A WM_COMMAND notification from the control.
    virtual void command(WORD) {}
    // A WM_DRAWITEM request for an owner-drawn control.
    virtual void draw(const DRAWITEMSTRUCT&) {}

    // The control behind a child window of ours, or null.
    static Win32Control* of(HWND child);

private:
    HWND handle_;
    backend::Cursor cursor_;
};

// A text, centred, left or right aligned, one line per line break. It draws itself as the
// layer's textExtent measured it (TextLines, on the form's device context, which a static
// control shares), so a label of that size shows its whole text.
class Win32Label : public Win32Control {
public:
    Win32Label(HWND parent, const backend::LabelDesc& desc, HFONT font, COLORREF textColor,
               HBRUSH background);

    void draw(const DRAWITEMSTRUCT& item) override;

private:
    HFONT font_;
    UINT alignment_;
    COLORREF textColor_;
    HBRUSH background_;
};

}  // namespace ui::win32
