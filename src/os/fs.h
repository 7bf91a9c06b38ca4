// Files and folders, with UTF-8 paths on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace os {

enum class ErrorKind { NotFound, Busy, AccessDenied, NoSpace, Other };

// A failed system call: the operation, the path it was about, and the system's own reason.
class Error : public std::runtime_error {
public:
    Error(ErrorKind kind, std::string path, std::string reason);
    ErrorKind kind() const { return kind_; }
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

private:
    ErrorKind kind_;
    std::string path_;
    std::string reason_;
};

// Bytes one read or write moves at most when a file is copied or written in bulk.
constexpr std::size_t kIoChunk = 1 << 20;

// True only when the path names an existing regular file (not a folder).
bool fileExists(const std::string& path);
bool folderExists(const std::string& path);

// Whether two paths name the same existing file (as two spellings do on a file system that
// ignores case).
bool sameFile(const std::string& a, const std::string& b);

// Full path of the running executable.
std::string executablePath();

// Copies a file's content to `to`, creating or replacing it. The copy is written aside,
// flushed and then atomically put in place, so `to` is never left half-written.
void copyFile(const std::string& from, const std::string& to);

// Writes a flushed copy of `from` as the new file `to` (which must not exist).
void writeCopy(const std::string& from, const std::string& to);

// Where a file's new content is written before it is put in place: beside it (so that the
// replace is atomic), as "~NAME.new".
std::string asidePath(const std::string& path);

// Atomically puts `from` in place of `to` (which may exist), flushing the rename to disk.
void replaceFile(const std::string& from, const std::string& to);

// Flushes a folder's entries (names created, renamed or removed) to disk, where the system
// can. Best effort: it never fails.
void syncFolder(const std::string& folder);

// Removes a file; a missing file is not an error.
void removeFile(const std::string& path);
// Removes a file, ignoring any failure: clean-up after an error, which is what gets reported.
void removeFileQuietly(const std::string& path) noexcept;

// The names (not paths) of the entries of a folder.
std::vector<std::string> listFolder(const std::string& folder);

// The folder part of a path, with its trailing separator ("" when there is none).
std::string folderOf(const std::string& path);
// The last component of a path.
std::string nameOf(const std::string& path);
// The last component without its extension ("Jingles" of "C:\\db\\Jingles.db").
std::string stemOf(const std::string& path);
// The last component's extension with its dot (".db"), or "".
std::string extensionOf(const std::string& path);
// Whether two names are equal ignoring the case of ASCII letters.
bool equalsIgnoringCase(const std::string& a, const std::string& b);

// An open file. Move-only; closed on destruction.
class File {
public:
    enum class Mode {
        Read,           // shared read
        ReadExclusive,  // read, and no other program may open or lock it meanwhile
        CreateNew,      // write a new file; fails if it exists
    };

    File() = default;
    File(const std::string& path, Mode mode);
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    bool isOpen() const;
    const std::string& path() const { return path_; }
    std::uint64_t size() const;
    // Reads exactly n bytes at the offset; fails on a short read.
    void readAt(std::uint64_t offset, void* buffer, std::size_t n) const;
    // Reads up to n bytes at the offset; returns how many were read.
    std::size_t readSomeAt(std::uint64_t offset, void* buffer, std::size_t n) const;
    void writeAt(std::uint64_t offset, const void* data, std::size_t n);
    void append(const void* data, std::size_t n);
    // Flushes the file's data to the disk.
    void sync();
    void close();

private:
    std::string path_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
    std::uint64_t appendOffset_ = 0;
};

}  // namespace os
