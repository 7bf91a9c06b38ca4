#include "fs.h"

#include <memory>

namespace os {

Error::Error(ErrorKind kind, std::string path, std::string reason)
    : std::runtime_error(path + ": " + reason),
      kind_(kind),
      path_(std::move(path)),
      reason_(std::move(reason)) {}

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

namespace {

constexpr std::size_t CopyChunk = 1 << 20;

void writeSyncedCopy(const std::string& from, const std::string& aside) {
    File source(from, File::Mode::Read);
    File copy(aside, File::Mode::CreateNew);
    std::unique_ptr<char[]> buffer(new char[CopyChunk]);
    for (std::uint64_t offset = 0;;) {
        std::size_t n = source.readSomeAt(offset, buffer.get(), CopyChunk);
        if (n == 0) break;
        copy.append(buffer.get(), n);
        offset += n;
    }
    copy.sync();
}

}  // namespace

void copyFile(const std::string& from, const std::string& to) {
    const std::string aside = to + ".part";
    removeFile(aside);
    try {
        writeSyncedCopy(from, aside);
        replaceFile(aside, to);
    } catch (...) {
        try {
            removeFile(aside);
        } catch (const Error&) {
        }
        throw;
    }
}

File::File(File&& other) noexcept { *this = std::move(other); }

void File::readAt(std::uint64_t offset, void* buffer, std::size_t n) const {
    if (readSomeAt(offset, buffer, n) != n) throw Error(ErrorKind::Other, path_, "unexpected end of file");
}

}  // namespace os
