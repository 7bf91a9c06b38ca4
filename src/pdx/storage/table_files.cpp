#include "pdx/storage/table_files.h"

#include "os/fs.h"

#include <cctype>

namespace pdx {
namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string stemOf(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string extensionOf(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? "" : name.substr(dot);
}

// ".X01", ".Y1F", ".XG0", ".YG3" and the like.
bool isSecondaryIndexExtension(const std::string& ext) {
    if (ext.size() != 4) return false;
    const char kind = lower(ext[1]);
    if (kind != 'x' && kind != 'y') return false;
    if (lower(ext[2]) == 'g') return std::isxdigit(static_cast<unsigned char>(ext[3])) != 0;
    return std::isxdigit(static_cast<unsigned char>(ext[2])) &&
           std::isxdigit(static_cast<unsigned char>(ext[3]));
}

}  // namespace

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string findIgnoringCase(const std::string& path) {
    if (os::fileExists(path)) return path;
    const std::string folder = os::folderOf(path);
    const std::string name = os::nameOf(path);
    std::vector<std::string> names;
    try {
        names = os::listFolder(folder.empty() ? "." : folder);
    } catch (const os::Error&) {
        return "";
    }
    for (const auto& candidate : names) {
        if (equalsIgnoringCase(candidate, name) && os::fileExists(folder + candidate)) {
            return folder + candidate;
        }
    }
    return "";
}

std::string findCompanion(const std::string& tablePath, const std::string& extension) {
    return findIgnoringCase(os::folderOf(tablePath) + stemOf(os::nameOf(tablePath)) + extension);
}

std::string companionPath(const std::string& tablePath, const std::string& extension) {
    const std::string existing = findCompanion(tablePath, extension);
    if (!existing.empty()) return existing;
    const std::string name = os::nameOf(tablePath);
    const std::string ownExtension = extensionOf(name);
    bool lowerCase = false;
    for (char c : ownExtension) lowerCase = lowerCase || std::islower(static_cast<unsigned char>(c));
    std::string ext = extension;
    for (char& c : ext) {
        c = lowerCase ? lower(c) : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return os::folderOf(tablePath) + stemOf(name) + ext;
}

std::vector<std::string> findSecondaryIndexes(const std::string& tablePath) {
    const std::string folder = os::folderOf(tablePath);
    const std::string stem = stemOf(os::nameOf(tablePath));
    std::vector<std::string> found;
    for (const auto& name : os::listFolder(folder.empty() ? "." : folder)) {
        if (equalsIgnoringCase(stemOf(name), stem) && isSecondaryIndexExtension(extensionOf(name))) {
            found.push_back(folder + name);
        }
    }
    return found;
}

}  // namespace pdx
