#include "fs.h"

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

File::File(File&& other) noexcept { *this = std::move(other); }

}  // namespace os
