#include "pdx/storage/commit.h"

#include "os/fs.h"
#include "pdx/storage/table_files.h"

namespace pdx {
namespace {

constexpr const char* kAsidePrefix = "~";
constexpr const char* kAsideSuffix = ".new";

std::string stemOf(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

std::string asidePath(const std::string& path) {
    return os::folderOf(path) + kAsidePrefix + os::nameOf(path) + kAsideSuffix;
}

void removeQuietly(const std::string& path) noexcept {
    try {
        os::removeFile(path);
    } catch (const os::Error&) {
    }
}

void removeLeftovers(const std::string& tablePath) {
    const std::string folder = os::folderOf(tablePath);
    const std::string name = os::nameOf(tablePath);
    const std::string stem = stemOf(name);
    const std::vector<std::string> leftovers = {
        kAsidePrefix + name + kAsideSuffix, kAsidePrefix + stem + ".PX" + kAsideSuffix,
        kAsidePrefix + stem + ".MB" + kAsideSuffix};
    for (const auto& entry : os::listFolder(folder.empty() ? "." : folder)) {
        for (const auto& leftover : leftovers) {
            if (equalsIgnoringCase(entry, leftover)) os::removeFile(folder + entry);
        }
    }
}

}  // namespace pdx
