#include "ui/win32/message_box.h"

#include <algorithm>

#include "os/wide.h"
#include "ui/error.h"
#include "ui/win32/gdi.h"
#include "ui/win32/text_win32.h"
#include "ui/win32/window_win32.h"

namespace ui::win32 {

namespace {

constexpr wchar_t kBoxClass[] = L"JingleconvMessageBox";
constexpr int kFirstButtonId = 100;

// The layout in dialog units (a quarter of the average character width, an eighth of the
// character height), as the classic message dialog has it.
constexpr int kMarginUnits = 8;
constexpr int kSpacingUnits = 10;
constexpr int kButtonWidthUnits = 50;
constexpr int kButtonHeightUnits = 14;
constexpr int kButtonGapUnits = 4;
constexpr int kCaptionPaddingPixels = 8;

struct DialogUnits {
    int x = 0, y = 0;  // the font's average character width and height in pixels
    int horizontal(int units) const { return MulDiv(units, x, 4); }
    int vertical(int units) const { return MulDiv(units, y, 8); }
};

struct Box {
    const backend::MessageBoxDesc& desc;
    int result;
    bool done = false;
};

HFONT createMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

DialogUnits dialogUnitsOf(HFONT font) {
    static const wchar_t alphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    SIZE size;
    GetTextExtentPoint32W(dc, alphabet, 52, &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {(size.cx / 26 + 1) / 2, metrics.tmHeight};
}

const wchar_t* systemIconOf(backend::DialogIcon icon) {
    switch (icon) {
    case backend::DialogIcon::Warning: return IDI_WARNING;
    case backend::DialogIcon::Error: return IDI_ERROR;
    case backend::DialogIcon::Information: return IDI_INFORMATION;
    case backend::DialogIcon::Question: return IDI_QUESTION;
    case backend::DialogIcon::None: break;
    }
    return nullptr;
}

HWND addChild(HWND parent, const wchar_t* windowClass, const std::wstring& text, DWORD style, RECT bounds,
              int id, HFONT font) {
    HWND child = CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, bounds.left,
                                 bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                 nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

void finish(Box& box, int result) {
    box.result = result;
    box.done = true;
}

LRESULT CALLBACK boxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* box = reinterpret_cast<Box*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!box) return DefWindowProcW(window, message, wParam, lParam);
    const auto& buttons = box->desc.buttons;
    switch (message) {
    case DM_GETDEFID:
        for (std::size_t i = 0; i < buttons.size(); ++i)
            if (buttons[i].id == box->desc.defaultId)
                return MAKELRESULT(kFirstButtonId + static_cast<int>(i), DC_HASDEFID);
        return 0;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= kFirstButtonId && id < kFirstButtonId + static_cast<int>(buttons.size()))
            finish(*box, buttons[static_cast<std::size_t>(id - kFirstButtonId)].id);
        else if (id == IDCANCEL)  // Escape
            finish(*box, box->desc.escapeId);
        return 0;
    }
    case WM_CLOSE: finish(*box, box->desc.escapeId); return 0;
    case WM_CTLCOLORSTATIC:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Creates the box's window and its children, sized for the text and the buttons.
HWND createBox(Box& box, HWND owner, HFONT font) {
    const backend::MessageBoxDesc& desc = box.desc;
    const DialogUnits units = dialogUnitsOf(font);
    const int margin = units.horizontal(kMarginUnits), spacing = units.horizontal(kSpacingUnits);
    const int verticalMargin = units.vertical(kMarginUnits), verticalSpacing = units.vertical(kSpacingUnits);

    const wchar_t* iconName = systemIconOf(desc.icon);
    HICON icon = iconName ? LoadIconW(nullptr, iconName) : nullptr;
    const int iconSize = icon ? GetSystemMetrics(SM_CXICON) : 0;

    // The text wraps at half the screen's width.
    const std::wstring text = toControlText(desc.text);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT textRect{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
    DrawTextW(dc, text.c_str(), -1, &textRect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int textWidth = textRect.right, textHeight = textRect.bottom;

    int buttonWidth = units.horizontal(kButtonWidthUnits);
    for (const backend::DialogButton& button : desc.buttons)
        buttonWidth =
            std::max<int>(buttonWidth, textSize(font, os::wide(button.caption)).cx + kCaptionPaddingPixels);
    const int buttonHeight = units.vertical(kButtonHeightUnits),
              buttonGap = units.horizontal(kButtonGapUnits);
    const int buttonCount = static_cast<int>(desc.buttons.size());
    const int rowWidth = buttonCount * buttonWidth + std::max(0, buttonCount - 1) * buttonGap;

    const int textLeft = margin + (icon ? iconSize + spacing : 0);
    const int clientWidth = std::max(textLeft + textWidth, margin + rowWidth) + margin;
    const int buttonTop = verticalMargin + std::max(iconSize, textHeight) + verticalSpacing;
    const int clientHeight = buttonTop + buttonHeight + verticalMargin;

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU, exStyle = WS_EX_DLGMODALFRAME;
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    HWND window = CreateWindowExW(exStyle, kBoxClass, os::wide(desc.title).c_str(), style, 0, 0,
                                  outer.right - outer.left, outer.bottom - outer.top, owner, nullptr,
                                  GetModuleHandleW(nullptr), &box);
    if (!window) throw Error("Не удалось создать окно сообщения");

    if (icon) {
        HWND iconControl =
            addChild(window, L"STATIC", L"", SS_ICON,
                     {margin, verticalMargin, margin + iconSize, verticalMargin + iconSize}, -1, font);
        SendMessageW(iconControl, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
    addChild(window, L"STATIC", text, SS_LEFT | SS_NOPREFIX,
             {textLeft, verticalMargin, textLeft + textWidth, verticalMargin + textHeight}, -1, font);
    int left = (clientWidth - rowWidth) / 2;
    for (int i = 0; i < buttonCount; ++i, left += buttonWidth + buttonGap) {
        const backend::DialogButton& button = desc.buttons[static_cast<std::size_t>(i)];
        const bool isDefault = button.id == desc.defaultId;
        HWND control = addChild(window, L"BUTTON", os::wide(button.caption),
                                WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                                {left, buttonTop, left + buttonWidth, buttonTop + buttonHeight},
                                kFirstButtonId + i, font);
        if (isDefault) SetFocus(control);
    }
    centreOnScreen(window);
    return window;
}

}  // namespace

void registerMessageBoxClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = boxProcedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kBoxClass;
    RegisterClassExW(&wc);
}

int showMessageBox(const backend::MessageBoxDesc& desc, HWND owner) {
    Box box{desc, desc.escapeId};
    HFONT font = createMessageFont();
    HWND window = nullptr;
    try {
        window = createBox(box, owner, font);
    } catch (...) {
        DeleteObject(font);
        throw;
    }
    if (owner) EnableWindow(owner, FALSE);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    for (std::size_t i = 0; i < desc.buttons.size(); ++i)
        if (desc.buttons[i].id == desc.defaultId)
            SetFocus(GetDlgItem(window, kFirstButtonId + static_cast<int>(i)));

    MSG message;
    bool quitting = false;
    WPARAM quitCode = 0;
    while (!box.done) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {  // the application is quitting: leave, pass it on
            quitting = true;
            quitCode = message.wParam;
            break;
        }
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The owner is enabled again before the box goes, so that it is activated in its place.
    if (owner) EnableWindow(owner, TRUE);
    DestroyWindow(window);
    DeleteObject(font);
    if (quitting) PostQuitMessage(static_cast<int>(quitCode));
    return box.result;
}

}  // namespace ui::win32
