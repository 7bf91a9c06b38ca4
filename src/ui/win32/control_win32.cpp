#include "ui/win32/control_win32.h"

#include "ui/error.h"
#include "ui/win32/gdi.h"
#include "ui/win32/text_win32.h"

namespace ui::win32 {

namespace {

// Child window ids start above the dialog manager's IDOK and IDCANCEL.
int nextControlId = 1000;

DWORD labelStyle(const backend::LabelDesc& desc) {
    // Without SS_NOTIFY a static is transparent to the mouse, so its cursor would not show.
    return SS_OWNERDRAW | (desc.cursor != backend::Cursor::Default ? SS_NOTIFY : 0);
}

UINT alignmentOf(backend::Alignment alignment) {
    switch (alignment) {
    case backend::Alignment::Center: return DT_CENTER;
    case backend::Alignment::Right: return DT_RIGHT;
    case backend::Alignment::Left: break;
    }
    return DT_LEFT;
}

}  // namespace

Win32Control::Win32Control(HWND parent, const wchar_t* windowClass, DWORD style,
                           const backend::ControlDesc& desc, HFONT font)
    : cursor_(desc.cursor) {
    style |= WS_CHILD | (desc.visible ? WS_VISIBLE : 0) | (desc.enabled ? 0 : WS_DISABLED);
    handle_ = CreateWindowExW(0, windowClass, toControlText(desc.text).c_str(), style, desc.bounds.left,
                              desc.bounds.top, desc.bounds.width, desc.bounds.height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextControlId++)),
                              GetModuleHandleW(nullptr), nullptr);
    if (!handle_) throw Error("Не удалось создать элемент " + desc.name);
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

Win32Control::~Win32Control() {
    // The window may have gone first, taking its children with it.
    if (IsWindow(handle_) && of(handle_) == this) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
}

void Win32Control::setText(const std::string& text) { SetWindowTextW(handle_, toControlText(text).c_str()); }

void Win32Control::setEnabled(bool enabled) { EnableWindow(handle_, enabled); }

void Win32Control::setBounds(const backend::Rect& bounds) {
    MoveWindow(handle_, bounds.left, bounds.top, bounds.width, bounds.height, TRUE);
}

Win32Control* Win32Control::of(HWND child) {
    return child ? reinterpret_cast<Win32Control*>(GetWindowLongPtrW(child, GWLP_USERDATA)) : nullptr;
}

Win32Label::Win32Label(HWND parent, const backend::LabelDesc& desc, HFONT font, COLORREF textColor,
                       HBRUSH background)
    : Win32Control(parent, L"STATIC", labelStyle(desc), desc, font),
      font_(font),
      alignment_(alignmentOf(desc.alignment)),
      textColor_(textColor),
      background_(background) {}

void Win32Label::draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    FillRect(dc, &rect, background_);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle())) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(handle(), text.data(), static_cast<int>(text.size()))));
    HGDIOBJ oldFont = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    const TextLines lines(dc, text);
    if (IsWindowEnabled(handle())) {
        SetTextColor(dc, textColor_);
    } else {  // embossed, as a disabled label is drawn
        RECT highlight = rect;
        OffsetRect(&highlight, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        lines.draw(dc, highlight, alignment_);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    }
    lines.draw(dc, rect, alignment_);
    SelectObject(dc, oldFont);
}

}  // namespace ui::win32
