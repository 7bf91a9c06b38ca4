// The Win32 backend: windows of our own class, the dialog manager's keyboard handling, and
// a layout scaled by the layer to the screen's pixels per inch. The program's manifest
// declares it DPI-aware, so that Windows does not stretch the form again.
#include <windows.h>

#include "ui/backend.h"
#include "ui/win32/message_box.h"
#include "ui/win32/window_win32.h"

namespace ui::backend {

namespace {

class Win32Backend : public Backend {
public:
    Win32Backend() {
        win32::Win32Window::registerClass();
        win32::registerMessageBoxClass();
    }

    int pixelsPerInch() override {
        HDC screen = GetDC(nullptr);
        int ppi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return ppi;
    }

    std::unique_ptr<Window> createWindow(const WindowDesc& desc, std::function<void()> onClosed) override {
        return std::make_unique<win32::Win32Window>(desc, std::move(onClosed));
    }

    int messageBox(const MessageBoxDesc& desc) override {
        return win32::showMessageBox(desc, win32::formForModalBox());
    }

    void run() override {
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            // Tab, Enter and the arrow keys move between and press the controls.
            HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
            if (root && IsDialogMessageW(root, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    void quit() override { PostQuitMessage(0); }
};

}  // namespace

std::unique_ptr<Backend> createBackend() { return std::make_unique<Win32Backend>(); }

}  // namespace ui::backend
