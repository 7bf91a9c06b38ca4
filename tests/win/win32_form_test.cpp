// The program's form, from its built-in description, as the Win32 backend shows it.
#include "Main.h"

#include "window_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int screenPixelsPerInch() {
    HDC screen = GetDC(nullptr);
    int ppi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return ppi;
}

}  // namespace

// One test: the application object lives once per process.
TEST(Win32Form, MainFormAsDescribed) {
    ui::Application->Initialize();
    ui::Application->CreateForm(Form1);
    HWND window = FindWindowW(L"JingleconvForm", L"Конвертировать базы");
    ASSERT_TRUE(window);

    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    RECT client;
    GetClientRect(window, &client);
    const int ppi = screenPixelsPerInch();
    EXPECT_EQ(client.right, MulDiv(262, ppi, 96));
    EXPECT_EQ(client.bottom, MulDiv(143, ppi, 96));

    std::vector<std::wstring> texts;
    HWND button = nullptr;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        texts.push_back(textOf(child));
        if (texts.back() == L"Выполнить") button = child;
    }
    ASSERT_EQ(texts.size(), 3u);
    ASSERT_TRUE(button);
    // No source tables beside the test program: the button waits, disabled.
    EXPECT_FALSE(IsWindowEnabled(button));
    EXPECT_EQ(GetWindow(window, GW_CHILD), button);  // first in the tab order
    EXPECT_EQ(texts.back(), L"Программу необходимо разместить\r\nв папку с базами Vorlangix");

    Form1->Close();
    EXPECT_FALSE(IsWindow(window));
    ui::Application->Run();  // ends at once: the main form was closed
}
