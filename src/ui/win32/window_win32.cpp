#include "ui/win32/window_win32.h"

#include "os/wide.h"
#include "ui/error.h"
#include "ui/win32/bitmap_button.h"
#include "ui/win32/control_win32.h"
#include "ui/win32/gdi.h"
#include "ui/win32/text_win32.h"

namespace ui::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"JingleconvForm";

struct FrameStyle {
    DWORD style;
    DWORD exStyle;
};

// A dialog frame: caption and close box, no minimise or maximise box, no sizing border.
FrameStyle frameStyleOf(backend::Frame frame) {
    if (frame == backend::Frame::Dialog)
        return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME};
    return {WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0};
}

}  // namespace

void centreOnScreen(HWND window) {
    RECT work, bounds;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(window, &bounds);
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

bool isShownForm(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return std::wstring(name) == kWindowClass && IsWindowVisible(window) && IsWindowEnabled(window);
}

BOOL CALLBACK findShownForm(HWND window, LPARAM found) {
    if (!isShownForm(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The program's icon (resources/jingleconv.ico, named as Delphi names a program's icon) at
// a size the system asks for; null when the executable has none.
HICON programIcon(int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric),
                                         LR_SHARED));
}

}  // namespace

HWND formForModalBox() {
    HWND active = GetActiveWindow();
    if (active && isShownForm(active)) return active;
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findShownForm, reinterpret_cast<LPARAM>(&found));
    return found;
}

void Win32Window::registerClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = programIcon(SM_CXICON, SM_CYICON);        // task bar, Alt+Tab
    wc.hIconSm = programIcon(SM_CXSMICON, SM_CYSMICON);  // title bar
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
}

Win32Window::Win32Window(const backend::WindowDesc& desc, std::function<void()> onClosed)
    : font_(createFont(desc.font)),
      background_(CreateSolidBrush(colorRef(desc.color))),
      textColor_(colorRef(desc.font.color)),
      onClosed_(std::move(onClosed)) {
    const FrameStyle frame = frameStyleOf(desc.frame);
    RECT outer{0, 0, desc.client.width, desc.client.height};
    AdjustWindowRectEx(&outer, frame.style, FALSE, frame.exStyle);
    handle_ = CreateWindowExW(frame.exStyle, kWindowClass, os::wide(desc.caption).c_str(), frame.style,
                              CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                              outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!handle_) {
        DeleteObject(font_);
        DeleteObject(background_);
        throw Error("Не удалось создать окно " + desc.name);
    }
    if (desc.frame == backend::Frame::Dialog) {
        // A dialog's window menu offers only Move and Close.
        HMENU menu = GetSystemMenu(handle_, FALSE);
        for (UINT command : {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE})
            DeleteMenu(menu, command, MF_BYCOMMAND);
    }
}

Win32Window::~Win32Window() {
    onClosed_ = nullptr;  // destroying is not the user closing it
    if (IsWindow(handle_)) DestroyWindow(handle_);
    DeleteObject(font_);
    DeleteObject(background_);
}

std::unique_ptr<backend::Control> Win32Window::addLabel(const backend::LabelDesc& desc) {
    return std::make_unique<Win32Label>(handle_, desc, font_, textColor_, background_);
}

std::unique_ptr<backend::Control> Win32Window::addButton(const backend::ButtonDesc& desc) {
    return std::make_unique<BitmapButton>(handle_, desc, font_);
}

void Win32Window::setTabOrder(const std::vector<backend::Control*>& controls) {
    // The dialog manager tabs through the children in their z-order.
    HWND previous = HWND_TOP;
    for (backend::Control* control : controls) {
        HWND child = static_cast<Win32Control*>(control)->handle();
        SetWindowPos(child, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = child;
    }
    firstTabStop_ = controls.empty() ? nullptr : static_cast<Win32Control*>(controls.front())->handle();
}

backend::Size Win32Window::textExtent(const std::string& text) {
    HDC dc = GetDC(handle_);
    HGDIOBJ old = SelectObject(dc, font_);
    const SIZE size = TextLines(dc, toControlText(text)).size();
    SelectObject(dc, old);
    ReleaseDC(handle_, dc);
    return {size.cx, size.cy};
}

void Win32Window::setCaption(const std::string& caption) {
    SetWindowTextW(handle_, os::wide(caption).c_str());
}

void Win32Window::show(bool centre) {
    if (centre) centreOnScreen(handle_);
    ShowWindow(handle_, SW_SHOW);
    SetForegroundWindow(handle_);
    if (firstTabStop_ && IsWindowEnabled(firstTabStop_)) SetFocus(firstTabStop_);
}

void Win32Window::close() {
    if (IsWindow(handle_)) SendMessageW(handle_, WM_CLOSE, 0, 0);
}

Win32Control* Win32Window::childControl(HWND child) const {
    return child && child != handle_ && GetParent(child) == handle_ ? Win32Control::of(child) : nullptr;
}

void Win32Window::pressFocusedButton() {
    if (auto* button = dynamic_cast<BitmapButton*>(childControl(GetFocus()))) button->click();
}

LRESULT CALLBACK Win32Window::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->handle_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handleMessage(message, wParam, lParam)
                : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (Win32Control* control = childControl(reinterpret_cast<HWND>(lParam)))
            control->command(HIWORD(wParam));
        else if (LOWORD(wParam) == IDOK)  // Enter, from the dialog manager
            pressFocusedButton();
        return 0;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (Win32Control* control = childControl(item.hwndItem)) control->draw(item);
        return TRUE;
    }
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(handle_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, background_);
        return TRUE;
    }
    case WM_SETCURSOR: {
        Win32Control* control = childControl(reinterpret_cast<HWND>(wParam));
        if (control && control->cursor() == backend::Cursor::HandPoint && LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    }
    case WM_ACTIVATE:  // keep the focused control across a switch to another window
        if (LOWORD(wParam) == WA_INACTIVE) {
            savedFocus_ = GetFocus();
        } else if (childControl(savedFocus_)) {
            SetFocus(savedFocus_);
            return 0;
        }
        break;
    case WM_CLOSE: DestroyWindow(handle_); return 0;
    case WM_DESTROY:
        if (auto onClosed = std::move(onClosed_)) onClosed();
        return 0;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

}  // namespace ui::win32
