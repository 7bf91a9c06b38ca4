#include "fs.h"
#include "seam.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstring>

#include <utility>

namespace os {
namespace {

ErrorKind kindOf(int code) {
    switch (code) {
    case ENOENT:
    case ENOTDIR: return ErrorKind::NotFound;
    case EWOULDBLOCK: return ErrorKind::Busy;
    case EACCES:
    case EPERM:
    case EROFS: return ErrorKind::AccessDenied;
    case ENOSPC:
    case EDQUOT: return ErrorKind::NoSpace;
    default: return ErrorKind::Other;
    }
}

[[noreturn]] void fail(const std::string& path, int code) {
    throw Error(kindOf(code), path, std::strerror(code));
}

}  // namespace

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool folderExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {
    }, second{};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string executablePath() {
    std::string buffer(PATH_MAX, '\0');
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) fail("/proc/self/exe", errno);
    buffer.resize(static_cast<std::size_t>(n));
    return buffer;
}

void replaceFile(const std::string& from, const std::string& to) {
    beforeChange(Change::Rename, from, to);
    if (::rename(from.c_str(), to.c_str()) != 0) fail(to, errno);
    afterChange(Change::Rename, from, to);
    syncFolder(folderOf(to));
}

void syncFolder(const std::string& folder) {
    try {
        beforeChange(Change::FlushFolder, folder);
    } catch (const Error&) {
        return;
    }
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
    afterChange(Change::FlushFolder, folder);
}

void removeFile(const std::string& path) {
    beforeChange(Change::Remove, path);
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) fail(path, errno);
    afterChange(Change::Remove, path);
}

std::vector<std::string> listFolder(const std::string& folder) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) fail(folder, errno);
    std::vector<std::string> names;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(std::move(name));
    }
    ::closedir(dir);
    return names;
}

File::File(const std::string& path, Mode mode) : path_(path) {
    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::Read:
    case Mode::ReadExclusive: flags |= O_RDONLY; break;
    case Mode::CreateNew: flags |= O_WRONLY | O_CREAT | O_EXCL; break;
    }
    if (mode == Mode::CreateNew) beforeChange(Change::Create, path);
    fd_ = ::open(path.c_str(), flags, 0644);
    if (fd_ < 0) fail(path, errno);
    if (mode == Mode::CreateNew) afterChange(Change::Create, path);
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        int code = S_ISDIR(st.st_mode) ? EISDIR : errno;
        close();
        fail(path, code);
    }
    if (mode == Mode::ReadExclusive && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        int code = errno;
        close();
        fail(path, code);
    }
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
        appendOffset_ = other.appendOffset_;
    }
    return *this;
}

File::~File() { close(); }

bool File::isOpen() const { return fd_ >= 0; }

std::uint64_t File::size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) fail(path_, errno);
    return static_cast<std::uint64_t>(st.st_size);
}

std::size_t File::readSomeAt(std::uint64_t offset, void* buffer, std::size_t n) const {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < n) {
        ssize_t got = ::pread(fd_, out + done, n - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) continue;
            fail(path_, errno);
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void File::writeAt(std::uint64_t offset, const void* data, std::size_t n) {
    beforeChange(Change::Write, path_);
    const auto* in = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < n) {
        ssize_t put = ::pwrite(fd_, in + done, n - done, static_cast<off_t>(offset + done));
        if (put < 0) {
            if (errno == EINTR) continue;
            fail(path_, errno);
        }
        done += static_cast<std::size_t>(put);
    }
    if (offset + n > appendOffset_) appendOffset_ = offset + n;
    afterChange(Change::Write, path_);
}

void File::append(const void* data, std::size_t n) { writeAt(appendOffset_, data, n); }

void File::sync() {
    beforeChange(Change::Flush, path_);
    if (::fsync(fd_) != 0) fail(path_, errno);
    afterChange(Change::Flush, path_);
}

void File::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

}  // namespace os
