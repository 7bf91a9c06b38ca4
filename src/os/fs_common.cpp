#include "fs.h"
#include "seam.h"

#include <memory>
#include <utility>

namespace os {

Error::Error(ErrorKind kind, std::string path, std::string reason)
    : std::runtime_error(path + ": " + reason),
      kind_(kind),
      path_(std::move(path)),
      reason_(std::move(reason)) {}

namespace {

Seam* installed = nullptr;

}  // namespace

Seam* installSeam(Seam* seam) { return std::exchange(installed, seam); }

void beforeChange(Change change, const std::string& path, const std::string& to) {
    if (installed) installed->before(change, path, to);
}

void afterChange(Change change, const std::string& path, const std::string& to) {
    if (installed) installed->after(change, path, to);
}

static bool isSeparator(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/' || c == ':';
#else
    return c == '/';
#endif
}

std::string folderOf(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (isSeparator(path[i - 1])) return path.substr(0, i);
    return {};
}

std::string nameOf(const std::string& path) { return path.substr(folderOf(path).size()); }

std::string stemOf(const std::string& path) {
    const std::string name = nameOf(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string extensionOf(const std::string& path) { return nameOf(path).substr(stemOf(path).size()); }

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::string asidePath(const std::string& path) { return folderOf(path) + "~" + nameOf(path) + ".new"; }

void removeFileQuietly(const std::string& path) noexcept {
    try {
        removeFile(path);
    } catch (const Error&) {
    }
}

void writeCopy(const std::string& from, const std::string& to) {
    File source(from, File::Mode::Read);
    File copy(to, File::Mode::CreateNew);
    std::unique_ptr<char[]> buffer(new char[kIoChunk]);
    for (std::uint64_t offset = 0;;) {
        std::size_t n = source.readSomeAt(offset, buffer.get(), kIoChunk);
        if (n == 0) break;
        copy.append(buffer.get(), n);
        offset += n;
    }
    copy.sync();
}

void copyFile(const std::string& from, const std::string& to) {
    const std::string aside = asidePath(to);
    removeFile(aside);
    try {
        writeCopy(from, aside);
        replaceFile(aside, to);
    } catch (...) {
        removeFileQuietly(aside);
        throw;
    }
}

File::File(File&& other) noexcept { *this = std::move(other); }

void File::readAt(std::uint64_t offset, void* buffer, std::size_t n) const {
    if (readSomeAt(offset, buffer, n) != n) throw Error(ErrorKind::Other, path_, "unexpected end of file");
}

}  // namespace os
