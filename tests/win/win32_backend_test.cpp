// The Win32 backend of the toolkit layer, through its interface, checked on the real
// windows it makes (run under Wine in Xvfb).
#include "ui/backend.h"

#include "window_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace ui::backend;

namespace {

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The children of a window, in z-order.
std::vector<HWND> childrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

HWND findOurWindow(const wchar_t* caption) { return FindWindowW(L"JingleconvForm", caption); }

// Runs the backend's event loop until the queue is empty.
void pumpEvents(Backend& backend) {
    backend.quit();
    backend.run();
}

WindowDesc dialogDesc(const std::string& caption) {
    WindowDesc desc;
    desc.name = "Form1";
    desc.caption = caption;
    desc.client = {262, 143};
    desc.frame = Frame::Dialog;
    desc.color = {SystemColor::ButtonFace, 0};
    desc.font = {"MS Sans Serif", 11, false, false, false, {SystemColor::WindowText, 0}};
    return desc;
}

ButtonDesc buttonDesc(std::function<void()> onClick) {
    ButtonDesc desc;
    desc.name = "BitBtn1";
    desc.bounds = {8, 56, 245, 37};
    desc.text = "Выполнить";
    desc.cursor = Cursor::HandPoint;
    desc.glyph = {2, 2, {0xFF00FF00, 0x00000000, 0xFF00FF00, 0x00000000}};
    desc.onClick = std::move(onClick);
    return desc;
}

class Win32Backend : public testing::Test {
protected:
    std::unique_ptr<Backend> backend = createBackend();
};

}  // namespace

TEST_F(Win32Backend, FramesHaveTheirBoxesAndClientSize) {
    struct Case {
        Frame frame;
        bool sizeable;
    };
    for (Case c : {Case{Frame::Dialog, false}, Case{Frame::Sizeable, true}}) {
        WindowDesc desc = dialogDesc("Рамка");
        desc.frame = c.frame;
        auto window = backend->createWindow(desc, [] {});
        HWND handle = findOurWindow(L"Рамка");
        ASSERT_TRUE(handle);
        const LONG style = GetWindowLongW(handle, GWL_STYLE);
        EXPECT_TRUE(style & WS_CAPTION);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_EQ(bool(style & WS_THICKFRAME), c.sizeable);
        EXPECT_EQ(bool(style & WS_MINIMIZEBOX), c.sizeable);
        EXPECT_EQ(bool(style & WS_MAXIMIZEBOX), c.sizeable);
        RECT client;
        GetClientRect(handle, &client);
        EXPECT_EQ(client.right, 262);
        EXPECT_EQ(client.bottom, 143);
        HMENU menu = GetSystemMenu(handle, FALSE);
        EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
        EXPECT_NE(GetMenuState(menu, SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1));
        for (UINT command : {SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE})
            EXPECT_EQ(GetMenuState(menu, command, MF_BYCOMMAND) != static_cast<UINT>(-1), c.sizeable)
                << command;
    }
}

TEST_F(Win32Backend, ShownCentredOnTheWorkArea) {
    auto window = backend->createWindow(dialogDesc("Центр"), [] {});
    window->show(true);
    HWND handle = findOurWindow(L"Центр");
    ASSERT_TRUE(handle);
    EXPECT_TRUE(IsWindowVisible(handle));
    RECT work, bounds;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(handle, &bounds);
    EXPECT_NEAR(bounds.left - work.left, work.right - bounds.right, 1);
    EXPECT_NEAR(bounds.top - work.top, work.bottom - bounds.bottom, 1);
}

// The first and last columns of a window that hold something else than the background.
std::pair<int, int> inkColumns(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    int first = -1, last = -1;
    for (int x = 0; x < client.right; ++x)
        for (int y = 0; y < client.bottom; ++y)
            if (GetPixel(dc, x, y) != background) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    ReleaseDC(window, dc);
    return {first, last};
}

TEST_F(Win32Backend, LabelsAlignAndBreakLines) {
    struct Case {
        Alignment alignment;
        const char* name;
    };
    for (Case c : {Case{Alignment::Left, "left"}, Case{Alignment::Center, "centre"},
                   Case{Alignment::Right, "right"}}) {
        auto window = backend->createWindow(dialogDesc("Метки"), [] {});
        LabelDesc desc;
        desc.name = "Label1";
        desc.bounds = {10, 10, 200, 60};
        desc.text = "первая\nвторая\rтретья\r\nчетвёртая";
        desc.alignment = c.alignment;
        auto label = window->addLabel(desc);
        window->show(false);
        HWND handle = childrenOf(findOurWindow(L"Метки")).front();
        EXPECT_EQ(GetWindowLongW(handle, GWL_STYLE) & SS_TYPEMASK, SS_OWNERDRAW) << c.name;
        EXPECT_EQ(textOf(handle), L"первая\r\nвторая\r\nтретья\r\nчетвёртая") << c.name;
        UpdateWindow(handle);
        auto [first, last] = inkColumns(handle);
        ASSERT_GE(first, 0) << c.name << ": nothing drawn";
        switch (c.alignment) {
        case Alignment::Left:
            EXPECT_LE(first, 2) << c.name;
            EXPECT_LT(last, 150) << c.name;
            break;
        case Alignment::Right:
            EXPECT_GE(last, 197) << c.name;
            EXPECT_GT(first, 50) << c.name;
            break;
        case Alignment::Center: EXPECT_NEAR(first, 199 - last, 2) << c.name; break;
        }
        label->setText("одна");
        EXPECT_EQ(textOf(handle), L"одна");
    }
}

// An auto-sized label is as wide as textExtent says, so its text must be drawn within that
// width. Wine draws some letters of a substituted font (here Cyrillic in place of MS Sans
// Serif) wider than it measures them.
TEST_F(Win32Backend, LabelTextStaysWithinItsMeasuredWidth) {
    for (const char* text : {"Сконвертировать базы отбивок из VX 2.х или", "вввввввввввввввв",
                             "первая строка\r\nвторая, более длинная строка"}) {
        WindowDesc wide = dialogDesc("Ширина");
        wide.client.width = 400;
        auto window = backend->createWindow(wide, [] {});
        const Size extent = window->textExtent(text);
        LabelDesc desc;
        desc.bounds = {10, 10, extent.width + 40, extent.height};  // room to show an overflow
        desc.text = text;
        auto label = window->addLabel(desc);
        window->show(false);
        HWND handle = childrenOf(findOurWindow(L"Ширина")).front();
        UpdateWindow(handle);
        auto [first, last] = inkColumns(handle);
        ASSERT_GE(first, 0) << text << ": nothing drawn";
        EXPECT_LT(last, extent.width) << text;
    }
}

TEST_F(Win32Backend, ColoursOfTheDescription) {
    WindowDesc desc = dialogDesc("Цвета");
    desc.color = {std::nullopt, 0x102030};
    desc.font.color = {std::nullopt, 0xC00000};
    auto window = backend->createWindow(desc, [] {});
    LabelDesc label;
    label.bounds = {10, 10, 100, 30};
    label.text = "ЖЖЖЖ";
    auto control = window->addLabel(label);
    window->show(false);
    HWND form = findOurWindow(L"Цвета");
    HWND text = childrenOf(form).front();
    UpdateWindow(form);
    UpdateWindow(text);
    HDC formDc = GetDC(form);
    EXPECT_EQ(GetPixel(formDc, 200, 100), RGB(0x10, 0x20, 0x30));
    ReleaseDC(form, formDc);
    HDC textDc = GetDC(text);
    bool red = false, background = false;
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 30; ++y) {
            red = red || GetPixel(textDc, x, y) == RGB(0xC0, 0, 0);
            background = background || GetPixel(textDc, x, y) == RGB(0x10, 0x20, 0x30);
        }
    ReleaseDC(text, textDc);
    EXPECT_TRUE(red);
    EXPECT_TRUE(background);
}

TEST_F(Win32Backend, ControlsUseTheFormsFont) {
    auto window = backend->createWindow(dialogDesc("Шрифт"), [] {});
    LabelDesc desc;
    desc.text = "x";
    desc.bounds = {0, 0, 10, 10};
    auto label = window->addLabel(desc);
    HWND handle = childrenOf(findOurWindow(L"Шрифт")).front();
    auto font = reinterpret_cast<HFONT>(SendMessageW(handle, WM_GETFONT, 0, 0));
    ASSERT_TRUE(font);
    LOGFONTW logFont;
    ASSERT_TRUE(GetObjectW(font, sizeof(logFont), &logFont));
    EXPECT_EQ(logFont.lfHeight, -11);
    EXPECT_EQ(std::wstring(logFont.lfFaceName), L"MS Sans Serif");
}

TEST_F(Win32Backend, TextExtentGrowsWithLinesAndLetters) {
    auto window = backend->createWindow(dialogDesc("Размер"), [] {});
    Size one = window->textExtent("Программу");
    Size two = window->textExtent("Программу\r\nПрограммупрограмму");
    EXPECT_GT(one.width, 0);
    EXPECT_GT(one.height, 0);
    EXPECT_GT(two.width, one.width);
    EXPECT_EQ(two.height, 2 * one.height);
}

TEST_F(Win32Backend, ButtonIsOwnerDrawnTabStopWithHandCursor) {
    auto window = backend->createWindow(dialogDesc("Кнопка"), [] {});
    auto button = window->addButton(buttonDesc([] {}));
    HWND form = findOurWindow(L"Кнопка");
    HWND handle = childrenOf(form).front();
    EXPECT_EQ(classOf(handle), L"Button");
    const LONG style = GetWindowLongW(handle, GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_EQ(textOf(handle), L"Выполнить");
    EXPECT_TRUE(SendMessageW(form, WM_SETCURSOR, reinterpret_cast<WPARAM>(handle),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

// Whether any pixel of a window has the colour.
bool shows(HWND window, COLORREF colour) {
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    bool found = false;
    for (int x = 0; x < client.right && !found; ++x)
        for (int y = 0; y < client.bottom && !found; ++y) found = GetPixel(dc, x, y) == colour;
    ReleaseDC(window, dc);
    return found;
}

TEST_F(Win32Backend, ButtonShowsTheGlyphOfItsState) {
    auto window = backend->createWindow(dialogDesc("Значок"), [] {});
    ButtonDesc desc = buttonDesc([] {});
    desc.bounds = {8, 8, 120, 40};
    desc.glyph = {3, 3, std::vector<std::uint32_t>(9, 0xFF00C000)};
    desc.disabledGlyph = {3, 3, std::vector<std::uint32_t>(9, 0xFF0000C0)};
    desc.glyph.pixels[4] = 0x00FF00FF;  // transparent: the button's face shows through
    auto button = window->addButton(desc);
    window->show(false);
    HWND handle = childrenOf(findOurWindow(L"Значок")).front();
    struct Case {
        bool enabled;
        COLORREF shown, hidden;
    };
    for (Case c :
         {Case{true, RGB(0, 0xC0, 0), RGB(0, 0, 0xC0)}, Case{false, RGB(0, 0, 0xC0), RGB(0, 0xC0, 0)}}) {
        button->setEnabled(c.enabled);
        UpdateWindow(handle);
        EXPECT_TRUE(shows(handle, c.shown)) << c.enabled;
        EXPECT_FALSE(shows(handle, c.hidden)) << c.enabled;
        EXPECT_FALSE(shows(handle, RGB(0xFF, 0, 0xFF))) << c.enabled;
    }
}

TEST_F(Win32Backend, ButtonClicksOnlyWhileEnabled) {
    int clicks = 0;
    auto window = backend->createWindow(dialogDesc("Нажатия"), [] {});
    auto button = window->addButton(buttonDesc([&] { ++clicks; }));
    HWND handle = childrenOf(findOurWindow(L"Нажатия")).front();
    SendMessageW(handle, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    button->setEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(handle));
    SendMessageW(handle, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    button->setEnabled(true);
    SendMessageW(handle, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
}

TEST_F(Win32Backend, KeyboardPressesTheFocusedButton) {
    struct Case {
        const char* key;
        WPARAM code;
    };
    for (Case c : {Case{"Enter", VK_RETURN}, Case{"Space", VK_SPACE}}) {
        int clicks = 0;
        auto window = backend->createWindow(dialogDesc("Клавиши"), [] {});
        auto button = window->addButton(buttonDesc([&] { ++clicks; }));
        window->setTabOrder({button.get()});
        window->show(true);
        HWND handle = childrenOf(findOurWindow(L"Клавиши")).front();
        SetFocus(handle);
        PostMessageW(handle, WM_KEYDOWN, c.code, 0);
        PostMessageW(handle, WM_KEYUP, c.code, 0xC0000000);
        pumpEvents(*backend);
        EXPECT_EQ(clicks, 1) << c.key;
    }
}

TEST_F(Win32Backend, TabOrderFollowsTheGivenList) {
    auto window = backend->createWindow(dialogDesc("Порядок"), [] {});
    auto first = window->addButton(buttonDesc([] {}));
    auto second = window->addButton(buttonDesc([] {}));
    window->setTabOrder({second.get(), first.get()});
    HWND form = findOurWindow(L"Порядок");
    std::vector<HWND> children = childrenOf(form);
    ASSERT_EQ(children.size(), 2u);
    HWND firstStop = GetNextDlgTabItem(form, nullptr, FALSE);
    EXPECT_EQ(firstStop, children.front());
    EXPECT_NE(firstStop, childrenOf(form).back());
    window->show(false);
    EXPECT_EQ(GetFocus(), firstStop);
}

TEST_F(Win32Backend, ClosingRunsOnClosedOnceAndDestroyingDoesNot) {
    int closed = 0;
    auto window = backend->createWindow(dialogDesc("Закрытие"), [&] { ++closed; });
    window->close();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(findOurWindow(L"Закрытие"));
    window.reset();
    EXPECT_EQ(closed, 1);
    auto other = backend->createWindow(dialogDesc("Закрытие"), [&] { ++closed; });
    other.reset();
    EXPECT_EQ(closed, 1);
}

TEST_F(Win32Backend, ControlsOutliveOrPrecedeTheirWindow) {
    auto window = backend->createWindow(dialogDesc("Порядок уничтожения"), [] {});
    auto label = window->addLabel(LabelDesc{});
    auto button = window->addButton(buttonDesc([] {}));
    label.reset();
    EXPECT_EQ(childrenOf(findOurWindow(L"Порядок уничтожения")).size(), 1u);
    window.reset();
    button->setText("после окна");  // must not crash
    button.reset();
}
