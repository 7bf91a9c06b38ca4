// The Win32 message box: its look and how each key or click answers it.
#include "ui/backend.h"
#include "ui/dialogs.h"

#include "window_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace ui::backend;

namespace {

// What the box looked like when it was answered.
struct Seen {
    std::wstring title;
    std::vector<std::wstring> buttons;
    std::wstring focused;
    bool hasIcon = false;
    bool centred = false;
    bool ownerDisabled = false;
};

// Answers the next box from a timer inside its modal loop.
std::function<void(HWND box)> answer;
Seen seen;
HWND ownerWindow = nullptr;

void CALLBACK onTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowW(L"JingleconvMessageBox", nullptr);
    if (!box) return;
    KillTimer(nullptr, timer);
    seen = {};
    seen.title = textOf(box);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        if (std::wstring(name) == L"Button") seen.buttons.push_back(textOf(child));
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && std::wstring(name) == L"Static")
            seen.hasIcon = SendMessageW(child, STM_GETICON, 0, 0) != 0;
    }
    seen.focused = textOf(GetFocus());
    RECT work, bounds;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(box, &bounds);
    seen.centred = std::abs((bounds.left - work.left) - (work.right - bounds.right)) <= 1 &&
                   std::abs((bounds.top - work.top) - (work.bottom - bounds.bottom)) <= 1;
    seen.ownerDisabled = ownerWindow && !IsWindowEnabled(ownerWindow);
    answer(box);
}

void pressKey(WPARAM key) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 0);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000000);
}

void CALLBACK pressEnterOnce(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    pressKey(VK_RETURN);
}

MessageBoxDesc confirmation() {
    return ui::messageDlgBox("Заменить таблицы?", ui::mtConfirmation, {ui::mbYes, ui::mbNo});
}

class Win32MessageBox : public testing::Test {
protected:
    int show(const MessageBoxDesc& desc, std::function<void(HWND)> how) {
        answer = std::move(how);
        SetTimer(nullptr, 0, 20, onTimer);
        return backend->messageBox(desc);
    }
    std::unique_ptr<Backend> backend = createBackend();
};

}  // namespace

TEST_F(Win32MessageBox, ConfirmationKeysAndClicks) {
    struct Case {
        const char* how;
        std::function<void(HWND)> act;
        int expected;
    };
    const Case cases[] = {
        {"Enter presses Yes, the default", [](HWND) { pressKey(VK_RETURN); }, ui::mrYes},
        {"Escape answers No", [](HWND) { pressKey(VK_ESCAPE); }, ui::mrNo},
        {"the close box answers No", [](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); }, ui::mrNo},
        {"Tab then Enter presses No",
         [](HWND) {
             pressKey(VK_TAB);
             SetTimer(nullptr, 0, 20, pressEnterOnce);
         },
         ui::mrNo},
        {"clicking No", [](HWND box) { PostMessageW(GetDlgItem(box, 101), BM_CLICK, 0, 0); }, ui::mrNo},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(show(confirmation(), c.act), c.expected) << c.how;
        EXPECT_EQ(seen.title, L"Confirm") << c.how;
        EXPECT_EQ(seen.buttons, (std::vector<std::wstring>{L"&Yes", L"&No"})) << c.how;
        EXPECT_EQ(seen.focused, L"&Yes") << c.how;
        EXPECT_TRUE(seen.hasIcon) << c.how;
        EXPECT_TRUE(seen.centred) << c.how;
    }
}

TEST_F(Win32MessageBox, InformationAndErrorBoxes) {
    struct Case {
        MessageBoxDesc desc;
        std::wstring title;
        int expected;
    };
    MessageBoxDesc error;
    error.title = "jingleconv";
    error.text = "Таблица AdvBeats.db занята другой программой";
    error.icon = DialogIcon::Error;
    error.buttons = {{ui::mrOk, "OK"}};
    error.defaultId = error.escapeId = ui::mrOk;
    const Case cases[] = {
        {ui::messageDlgBox("Готово.", ui::mtInformation, {ui::mbOK}), L"Information", ui::mrOk},
        {error, L"jingleconv", ui::mrOk},
    };
    for (const Case& c : cases) {
        for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
            EXPECT_EQ(show(c.desc, [key](HWND) { pressKey(key); }), c.expected);
            EXPECT_EQ(seen.title, c.title);
            EXPECT_EQ(seen.buttons, (std::vector<std::wstring>{L"OK"}));
            EXPECT_TRUE(seen.hasIcon);
        }
    }
}

TEST_F(Win32MessageBox, FormIsDisabledWhileTheBoxIsUp) {
    WindowDesc desc;
    desc.caption = "Владелец";
    desc.client = {200, 100};
    desc.frame = Frame::Dialog;
    desc.font = {"MS Sans Serif", 11, false, false, false, {SystemColor::WindowText, 0}};
    auto window = backend->createWindow(desc, [] {});
    window->show(true);
    ownerWindow = FindWindowW(L"JingleconvForm", L"Владелец");
    HWND elsewhere = CreateWindowExW(0, L"STATIC", L"другое окно", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 50,
                                     nullptr, nullptr, nullptr, nullptr);
    struct Case {
        const char* active;
        HWND window;
    };
    for (Case c : {Case{"the form", ownerWindow}, Case{"another window", elsewhere}}) {
        SetActiveWindow(c.window);
        EXPECT_EQ(show(confirmation(), [](HWND) { pressKey(VK_RETURN); }), ui::mrYes) << c.active;
        EXPECT_TRUE(seen.ownerDisabled) << c.active;
        EXPECT_TRUE(IsWindowEnabled(ownerWindow)) << c.active;
    }
    DestroyWindow(elsewhere);
    ownerWindow = nullptr;
}

TEST_F(Win32MessageBox, LongTextWrapsWithinHalfTheScreen) {
    std::string text;
    for (int i = 0; i < 400; ++i) text += "слово ";
    MessageBoxDesc desc = ui::messageDlgBox(text, ui::mtInformation, {ui::mbOK});
    LONG width = 0;
    show(desc, [&](HWND box) {
        RECT bounds;
        GetWindowRect(box, &bounds);
        width = bounds.right - bounds.left;
        pressKey(VK_RETURN);
    });
    EXPECT_GT(width, 0);
    EXPECT_LT(width, GetSystemMetrics(SM_CXSCREEN) * 3 / 4);
}
