// A top-level Win32 window holding labels and bitmap buttons.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/backend.h"

namespace ui::win32 {

class Win32Control;

class Win32Window : public backend::Window {
public:
    Win32Window(const backend::WindowDesc& desc, std::function<void()> onClosed);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    std::unique_ptr<backend::Control> addLabel(const backend::LabelDesc& desc) override;
    std::unique_ptr<backend::Control> addButton(const backend::ButtonDesc& desc) override;
    void setTabOrder(const std::vector<backend::Control*>& controls) override;
    backend::Size textExtent(const std::string& text) override;
    void setCaption(const std::string& caption) override;
    void show(bool centreOnScreen) override;
    void close() override;

    HWND handle() const { return handle_; }

    // Registers the window class; once per process, before the first window.
    static void registerClass();

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The control behind a child window of this one, or null.
    Win32Control* childControl(HWND child) const;
    void pressFocusedButton();

    HWND handle_ = nullptr;
    HFONT font_ = nullptr;
    HBRUSH background_ = nullptr;
    COLORREF textColor_ = 0;
    HWND firstTabStop_ = nullptr;
    HWND savedFocus_ = nullptr;
    std::function<void()> onClosed_;
};

// Moves a top-level window to the middle of the screen's work area.
void centreOnScreen(HWND window);

// The form a modal box belongs to: the active one, else the first shown and enabled one, so
// that the form cannot be used while the box is up even when the program is in the
// background. Null when no form is shown.
HWND formForModalBox();

}  // namespace ui::win32
