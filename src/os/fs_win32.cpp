// Files and folders on Windows: the wide (UTF-16) API throughout, UTF-8 at the boundary.
//
// Replacing a table the engine still holds: Windows refuses to rename over a file that has
// open handles. A held file is therefore opened sharing only deletion, and replaceFile first
// asks for a POSIX-style rename (Windows 10 1809+ on NTFS), which lets the held handle live
// on the old, now unnamed file just as on Linux. Where that is not available, replaceFile
// closes this process's own holds on the target, renames, and takes the holds again on the
// new file.
//
// The oldest system is Windows XP SP3: what came later is looked up at run time.
//
// As on Linux, the process holding a file may still open it to read (a copy of its handle).
#include "fs.h"
#include "seam.h"
#include "wide.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

namespace os {
namespace {

// What File::handle_ points to: the system handle and what is needed to take it again.
struct Handle {
    HANDLE system = INVALID_HANDLE_VALUE;
    std::wstring path;
    File::Mode mode;
};

// This process's ReadExclusive holds, so that replaceFile can release and retake them.
std::vector<Handle*> holds;

// Guards `holds`. A critical section rather than std::mutex, which would need the posix
// thread runtime and the Vista functions it imports.
class HoldsLock {
public:
    HoldsLock() { EnterCriticalSection(&section.value); }
    ~HoldsLock() { LeaveCriticalSection(&section.value); }
    HoldsLock(const HoldsLock&) = delete;
    HoldsLock& operator=(const HoldsLock&) = delete;

private:
    struct Section {
        Section() { InitializeCriticalSection(&value); }
        ~Section() { DeleteCriticalSection(&value); }
        CRITICAL_SECTION value;
    };
    static inline Section section;
};

constexpr DWORD kRenameReplaceIfExists = 0x1;  // FILE_RENAME_FLAG_REPLACE_IF_EXISTS
constexpr DWORD kRenamePosixSemantics = 0x2;   // FILE_RENAME_FLAG_POSIX_SEMANTICS
// FileRenameInfoEx, declared by the headers only for Windows 10 1607 and later.
constexpr int kRenameInfoEx = 22;

// SetFileInformationByHandle (Vista and later), or null.
using SetFileInformation = BOOL(WINAPI*)(HANDLE file, int infoClass, void* info, DWORD bytes);
SetFileInformation setFileInformation() {
    static const auto function = reinterpret_cast<SetFileInformation>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetFileInformationByHandle")));
    return function;
}

ErrorKind kindOf(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE: return ErrorKind::NotFound;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return ErrorKind::Busy;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return ErrorKind::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ErrorKind::NoSpace;
    default: return ErrorKind::Other;
    }
}

// The system's own wording for an error code, without the trailing line break.
std::string reasonOf(DWORD code) {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = n ? std::wstring(text, n) : L"error " + std::to_wstring(code);
    LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n' || reason.back() == L' '))
        reason.pop_back();
    return narrow(reason);
}

[[noreturn]] void fail(const std::string& path, DWORD code) {
    throw Error(kindOf(code), path, reasonOf(code));
}

[[noreturn]] void failLast(const std::string& path) { fail(path, GetLastError()); }

HANDLE openSystem(const std::wstring& path, File::Mode mode) {
    switch (mode) {
    case File::Mode::Read:
        return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    case File::Mode::ReadExclusive:
        // Nobody else may read, write or lock it; sharing deletion only lets it be replaced.
        return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    case File::Mode::CreateNew:
        return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                           nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return INVALID_HANDLE_VALUE;
}

std::wstring fullPath(const std::wstring& path) {
    DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring out(n, L'\0');
    n = GetFullPathNameW(path.c_str(), n, out.data(), nullptr);
    out.resize(n);
    return out;
}

std::wstring upperCase(const std::wstring& text) {
    std::wstring out = text;
    LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.c_str(), static_cast<int>(text.size()), out.data(),
                 static_cast<int>(out.size()));
    return out;
}

// Paths compared as the file system names files: letter case aside.
bool samePath(const std::wstring& a, const std::wstring& b) { return upperCase(a) == upperCase(b); }

// Atomic rename over an existing file that may still be open (with deletion shared).
bool renamePosixStyle(const std::wstring& from, const std::wstring& to) {
    const SetFileInformation setInformation = setFileInformation();
    if (!setInformation) return false;
    HANDLE source = CreateFileW(from.c_str(), DELETE | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (source == INVALID_HANDLE_VALUE) return false;
    const std::wstring target = fullPath(to);
    struct RenameInfo {
        DWORD flags;
        HANDLE rootDirectory;
        DWORD fileNameLength;
        WCHAR fileName[1];
    };
    const std::size_t bytes = sizeof(RenameInfo) + target.size() * sizeof(WCHAR);
    std::unique_ptr<std::byte[]> buffer(new std::byte[bytes]());
    auto* info = reinterpret_cast<RenameInfo*>(buffer.get());
    info->flags = kRenameReplaceIfExists | kRenamePosixSemantics;
    info->fileNameLength = static_cast<DWORD>(target.size() * sizeof(WCHAR));
    std::memcpy(info->fileName, target.c_str(), target.size() * sizeof(WCHAR));
    bool renamed = setInformation(source, kRenameInfoEx, info, static_cast<DWORD>(bytes));
    if (renamed) FlushFileBuffers(source);
    CloseHandle(source);
    return renamed;
}

bool moveReplacing(const std::wstring& from, const std::wstring& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// The replace for systems without POSIX-style renames: release this process's holds on the
// target for the moment of the rename, then hold the new file.
bool moveReleasingHolds(const std::wstring& from, const std::wstring& to) {
    HoldsLock lock;
    const std::wstring target = fullPath(to);
    std::vector<Handle*> released;
    for (Handle* held : holds) {
        if (held->system != INVALID_HANDLE_VALUE && samePath(fullPath(held->path), target)) {
            CloseHandle(held->system);
            held->system = INVALID_HANDLE_VALUE;
            released.push_back(held);
        }
    }
    bool moved = moveReplacing(from, to);
    DWORD code = GetLastError();
    for (Handle* held : released) held->system = openSystem(held->path, held->mode);
    SetLastError(code);
    return moved;
}

// A reading handle on a file this process holds exclusively, or INVALID_HANDLE_VALUE.
HANDLE duplicateHeld(const std::wstring& path) {
    HoldsLock lock;
    const std::wstring wanted = fullPath(path);
    for (Handle* held : holds) {
        HANDLE copy = INVALID_HANDLE_VALUE;
        if (held->system != INVALID_HANDLE_VALUE && samePath(fullPath(held->path), wanted) &&
            DuplicateHandle(GetCurrentProcess(), held->system, GetCurrentProcess(), &copy, GENERIC_READ,
                            FALSE, 0))
            return copy;
    }
    return INVALID_HANDLE_VALUE;
}

// Where a positional read or write starts.
OVERLAPPED overlappedAt(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

Handle* handleOf(void* handle) { return static_cast<Handle*>(handle); }

}  // namespace

std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string narrow(const std::wstring& utf16) {
    if (utf16.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

bool fileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesW(wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesW(wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool sameFile(const std::string& a, const std::string& b) {
    const auto identify = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE handle =
            CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return false;
        const bool known = GetFileInformationByHandle(handle, &info);
        CloseHandle(handle);
        return known;
    };
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    return identify(a, first) && identify(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

std::string executablePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) failLast("executable");
        if (n < buffer.size()) {
            buffer.resize(n);
            return narrow(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

void replaceFile(const std::string& from, const std::string& to) {
    beforeChange(Change::Rename, from, to);
    const std::wstring source = wide(from), target = wide(to);
    if (!renamePosixStyle(source, target) && !moveReplacing(source, target)) {
        DWORD code = GetLastError();
        if ((code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION) ||
            !moveReleasingHolds(source, target))
            fail(to, GetLastError());
    }
    afterChange(Change::Rename, from, to);
}

// Renames are written through (MOVEFILE_WRITE_THROUGH); a folder's handle can be flushed
// only with rights a user seldom has, so this is best effort.
void syncFolder(const std::string& folder) {
    try {
        beforeChange(Change::FlushFolder, folder);
    } catch (const Error&) {
        return;
    }
    HANDLE handle = CreateFileW(wide(folder.empty() ? "." : folder).c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return;
    FlushFileBuffers(handle);
    CloseHandle(handle);
    afterChange(Change::FlushFolder, folder);
}

void removeFile(const std::string& path) {
    beforeChange(Change::Remove, path);
    if (!DeleteFileW(wide(path).c_str())) {
        DWORD code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) fail(path, code);
    }
    afterChange(Change::Remove, path);
}

std::vector<std::string> listFolder(const std::string& folder) {
    std::wstring pattern = wide(folder.empty() ? "." : folder);
    if (pattern.back() != L'\\' && pattern.back() != L'/' && pattern.back() != L':') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) return {};
        fail(folder, code);
    }
    std::vector<std::string> names;
    do {
        std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(narrow(name));
    } while (FindNextFileW(search, &entry));
    DWORD code = GetLastError();
    FindClose(search);
    if (code != ERROR_NO_MORE_FILES) fail(folder, code);
    return names;
}

File::File(const std::string& path, Mode mode) : path_(path) {
    auto handle = std::make_unique<Handle>();
    handle->path = wide(path);
    handle->mode = mode;
    if (mode == Mode::CreateNew) beforeChange(Change::Create, path);
    handle->system = openSystem(handle->path, mode);
    if (handle->system == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        if (mode == Mode::Read && code == ERROR_SHARING_VIOLATION)
            handle->system = duplicateHeld(handle->path);
        if (handle->system == INVALID_HANDLE_VALUE) fail(path, code);
    }
    if (mode == Mode::CreateNew) afterChange(Change::Create, path);
    if (mode == Mode::ReadExclusive) {
        HoldsLock lock;
        holds.push_back(handle.get());
    }
    handle_ = handle.release();
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        path_ = std::move(other.path_);
        handle_ = std::exchange(other.handle_, nullptr);
        appendOffset_ = other.appendOffset_;
    }
    return *this;
}

File::~File() { close(); }

bool File::isOpen() const { return handle_ != nullptr; }

std::uint64_t File::size() const {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handleOf(handle_)->system, &size)) failLast(path_);
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t File::readSomeAt(std::uint64_t offset, void* buffer, std::size_t n) const {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < n) {
        OVERLAPPED at = overlappedAt(offset + done);
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(n - done, kIoChunk));
        DWORD got = 0;
        if (!ReadFile(handleOf(handle_)->system, out + done, want, &got, &at)) {
            DWORD code = GetLastError();
            if (code == ERROR_HANDLE_EOF) break;
            fail(path_, code);
        }
        if (got == 0) break;
        done += got;
    }
    return done;
}

void File::writeAt(std::uint64_t offset, const void* data, std::size_t n) {
    beforeChange(Change::Write, path_);
    const auto* in = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < n) {
        OVERLAPPED at = overlappedAt(offset + done);
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(n - done, kIoChunk));
        DWORD put = 0;
        if (!WriteFile(handleOf(handle_)->system, in + done, want, &put, &at)) failLast(path_);
        done += put;
    }
    if (offset + n > appendOffset_) appendOffset_ = offset + n;
    afterChange(Change::Write, path_);
}

void File::append(const void* data, std::size_t n) { writeAt(appendOffset_, data, n); }

void File::sync() {
    beforeChange(Change::Flush, path_);
    if (!FlushFileBuffers(handleOf(handle_)->system)) failLast(path_);
    afterChange(Change::Flush, path_);
}

void File::close() {
    Handle* handle = handleOf(std::exchange(handle_, nullptr));
    if (!handle) return;
    if (handle->mode == Mode::ReadExclusive) {
        HoldsLock lock;
        holds.erase(std::remove(holds.begin(), holds.end(), handle), holds.end());
    }
    if (handle->system != INVALID_HANDLE_VALUE) CloseHandle(handle->system);
    delete handle;
}

}  // namespace os
