#include "ui/win32/bitmap_button.h"

#include "ui/win32/gdi.h"

namespace ui::win32 {

namespace {

constexpr int kGlyphSpacing = 4;    // pixels between the glyph and the caption
constexpr int kFocusRectInset = 4;  // pixels from the button's edge to the focus rectangle

std::wstring captionOf(HWND button) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(button)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(button, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

BitmapButton::BitmapButton(HWND parent, const backend::ButtonDesc& desc, HFONT font)
    : Win32Control(parent, L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, desc, font),
      font_(font),
      glyph_(desc.glyph),
      disabledGlyph_(desc.disabledGlyph),
      onClick_(desc.onClick) {}

void BitmapButton::command(WORD code) {
    if (code == BN_CLICKED) click();
}

void BitmapButton::click() {
    if (onClick_ && IsWindowEnabled(handle())) onClick_();
}

void BitmapButton::draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool pushed = item.itemState & ODS_SELECTED;
    const bool focused = item.itemState & ODS_FOCUS;
    const bool disabled = item.itemState & ODS_DISABLED;

    if (focused) {  // the default-button frame
        FrameRect(dc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&rect, -1, -1);
    }
    DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED | DFCS_FLAT : 0));
    if (pushed) FrameRect(dc, &rect, GetSysColorBrush(COLOR_BTNSHADOW));

    // The glyph and the caption side by side, centred together.
    const Image& glyph = disabled && !disabledGlyph_.empty() ? disabledGlyph_ : glyph_;
    const std::wstring caption = captionOf(handle());
    SIZE text = caption.empty() ? SIZE{0, 0} : textSize(font_, caption);
    const int spacing = glyph.empty() || caption.empty() ? 0 : kGlyphSpacing;
    const int width = glyph.width + spacing + text.cx;
    const int shift = pushed ? 1 : 0;
    const int left = rect.left + (rect.right - rect.left - width) / 2 + shift;
    const int middle = (rect.top + rect.bottom) / 2 + shift;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    drawImage(dc, left, middle - glyph.height / 2, glyph, face);

    HGDIOBJ oldFont = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    RECT textRect{left + glyph.width + spacing, middle - text.cy / 2, 0, 0};
    textRect.right = textRect.left + text.cx;
    textRect.bottom = textRect.top + text.cy;
    const UINT format = DT_CENTER | DT_EXPANDTABS | ((item.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
    if (disabled) {  // embossed, as classic Windows greys a caption
        RECT highlight = textRect;
        OffsetRect(&highlight, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, caption.c_str(), -1, &highlight, format);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    DrawTextW(dc, caption.c_str(), -1, &textRect, format);
    SelectObject(dc, oldFont);

    if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -kFocusRectInset, -kFocusRectInset);
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace ui::win32
