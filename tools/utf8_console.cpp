#include "utf8_console.h"

#ifdef _WIN32
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <streambuf>

#include "os/wide.h"

namespace {

// The length of the text's whole UTF-8 sequences: all of it, unless it ends inside one.
std::size_t wholeSequences(const char* text, std::size_t size) {
    std::size_t start = size;
    for (int back = 0; back < 4 && start > 0; ++back) {
        const auto byte = static_cast<unsigned char>(text[--start]);
        if ((byte & 0xC0) != 0x80) {  // the last sequence's lead byte
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return start + length > size ? start : size;
        }
    }
    return size;
}

// A stream buffer writing the UTF-8 put into it to a console as UTF-16.
class ConsoleBuffer : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) { setp(buffer_, buffer_ + sizeof buffer_); }

protected:
    int_type overflow(int_type c) override {
        if (!writeOut()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) sputc(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }

    int sync() override { return writeOut() ? 0 : -1; }

private:
    // Writes the whole sequences out; the start of an unfinished one waits for its end.
    bool writeOut() {
        const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
        const std::size_t whole = wholeSequences(pbase(), size);
        const std::wstring text = os::wide(std::string(pbase(), whole));
        DWORD written = 0;
        const bool ok = text.empty() || WriteConsoleW(console_, text.data(), static_cast<DWORD>(text.size()),
                                                      &written, nullptr);
        std::memmove(buffer_, buffer_ + whole, size - whole);
        setp(buffer_, buffer_ + sizeof buffer_);
        pbump(static_cast<int>(size - whole));
        return ok;
    }

    HANDLE console_;
    char buffer_[4096];
};

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode);
}

void writeToConsole(std::ostream& stream, DWORD standardHandle) {
    HANDLE handle = GetStdHandle(standardHandle);
    // Lives as long as the stream, which is flushed once more at exit.
    if (isConsole(handle)) stream.rdbuf(new ConsoleBuffer(handle));
}

}  // namespace

// Windows passes main() arguments in the ANSI code page; the wide command line has them all.
std::vector<std::string> utf8Arguments(int, char**) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide && i < count; ++i) {
        arguments.push_back(os::narrow(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

void useUtf8Console() {
    writeToConsole(std::cout, STD_OUTPUT_HANDLE);
    writeToConsole(std::cerr, STD_ERROR_HANDLE);
}

void useBinaryOutput() { _setmode(_fileno(stdout), _O_BINARY); }
#else
std::vector<std::string> utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }

void useUtf8Console() {}

void useBinaryOutput() {}
#endif
