// pdxsql.exe as it ships, writing its Russian texts to a console of its own and to a file:
// on the console they show as letters (read back from the screen), in the file as UTF-8.
#include "os/wide.h"
#include "temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using os::wide;

// Runs pdxsql in the folder, its output and errors going to `output`; returns its exit code.
DWORD runPdxsql(const TempFolder& folder, const std::wstring& arguments, HANDLE output) {
    std::wstring command = L"\"" + wide(PDXSQL) + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        wide(folder.str()).c_str(), &startup, &process)) {
        ADD_FAILURE() << "pdxsql did not start: " << GetLastError();
        return ~DWORD{0};
    }
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = ~DWORD{0};
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

HANDLE inheritable(const wchar_t* path, DWORD creation) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    return CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       creation, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Everything the console's screen shows, row after row.
std::wstring screenOf(HANDLE console) {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(console, &info)) return {};
    std::wstring screen(static_cast<std::size_t>(info.dwSize.X) * static_cast<std::size_t>(info.dwSize.Y),
                        L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(console, screen.data(), static_cast<DWORD>(screen.size()), COORD{0, 0},
                                &read);
    screen.resize(read);
    return screen;
}

class PdxsqlOutput : public testing::Test {
protected:
    // A table of one row, made by pdxsql itself.
    void SetUp() override {
        HANDLE quiet = inheritable(wide(folder.file("created.txt")).c_str(), CREATE_ALWAYS);
        ASSERT_NE(quiet, INVALID_HANDLE_VALUE);
        EXPECT_EQ(runPdxsql(folder, L"-e \"CREATE TABLE \\\"Отбивки.db\\\" (Name CHAR(20))\"", quiet), 0u);
        EXPECT_EQ(runPdxsql(folder, L"-e \"INSERT INTO \\\"Отбивки.db\\\" VALUES ('Заставка')\"", quiet), 0u);
        CloseHandle(quiet);
    }

    TempFolder folder{"console"};
};

}  // namespace

TEST_F(PdxsqlOutput, ReadableOnItsConsole) {
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    HANDLE console = inheritable(L"CONOUT$", OPEN_EXISTING);
    ASSERT_NE(console, INVALID_HANDLE_VALUE);
    // The OEM code page of a Russian Windows. The letters must show without pdxsql switching
    // the console to UTF-8, which XP's console garbles and which would outlast pdxsql.
    ASSERT_TRUE(SetConsoleOutputCP(866));
    struct Case {
        std::wstring arguments;
        const wchar_t* shown;
    };
    for (const Case& c : {Case{L"Отбивки.db", L"Таблица: "}, Case{L"Отбивки.db", L"Заставка"},
                          Case{L"", L"Использование:"}}) {  // the last one on the error stream
        runPdxsql(folder, c.arguments, console);
        EXPECT_NE(screenOf(console).find(c.shown), std::wstring::npos) << "not on the console: " << c.shown;
        EXPECT_EQ(GetConsoleOutputCP(), 866u);
    }
    CloseHandle(console);
    FreeConsole();
}

TEST_F(PdxsqlOutput, Utf8WhenRedirected) {
    const std::string listing = folder.file("listing.txt");
    HANDLE file = inheritable(wide(listing).c_str(), CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(runPdxsql(folder, L"Отбивки.db", file), 0u);
    CloseHandle(file);
    const std::string text = readFile(listing);
    for (const char* expected : {"Таблица: ", "Записи:", "Заставка"})
        EXPECT_NE(text.find(expected), std::string::npos) << "not in the file: " << expected << "\n" << text;
}
