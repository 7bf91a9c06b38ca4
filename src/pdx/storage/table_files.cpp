#include "pdx/storage/table_files.h"

#include "os/fs.h"
#include "pdx/format/px_format.h"
#include "pdx/format/xnn_format.h"

#include <algorithm>
#include <cctype>

namespace pdx {
namespace {

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool isHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// ".X01", ".Y1F", ".XG0", ".YG3" and the like.
bool isSecondaryIndexExtension(const std::string& ext) {
    using namespace format::xnn;
    if (ext.size() != 4) return false;
    const char kind = lower(ext[1]);
    if (kind != lower(kEntriesLetter) && kind != lower(kTreeLetter)) return false;
    return (lower(ext[2]) == lower(kNamedLetter) || isHexDigit(ext[2])) && isHexDigit(ext[3]);
}

// The entries of the table's folder with the table's stem whose extension passes the test.
template <class Test>
std::vector<std::string> companionsWhere(const std::string& tablePath, Test wanted) {
    const std::string folder = os::folderOf(tablePath);
    const std::string stem = os::stemOf(tablePath);
    std::vector<std::string> found;
    for (const auto& name : os::listFolder(folder.empty() ? "." : folder)) {
        if (os::equalsIgnoringCase(os::stemOf(name), stem) && wanted(os::extensionOf(name))) {
            found.push_back(folder + name);
        }
    }
    return found;
}

}  // namespace

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
        if (os::equalsIgnoringCase(candidate, name) && os::fileExists(folder + candidate)) {
            return folder + candidate;
        }
    }
    return "";
}

std::string findCompanion(const std::string& tablePath, const std::string& extension) {
    return findIgnoringCase(os::folderOf(tablePath) + os::stemOf(tablePath) + extension);
}

std::string companionPath(const std::string& tablePath, const std::string& extension) {
    const std::string existing = findCompanion(tablePath, extension);
    if (!existing.empty()) return existing;
    bool lowerCase = false;
    for (char c : os::extensionOf(tablePath))
        lowerCase = lowerCase || std::islower(static_cast<unsigned char>(c));
    std::string ext = extension;
    for (char& c : ext) {
        c = lowerCase ? lower(c) : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return os::folderOf(tablePath) + os::stemOf(tablePath) + ext;
}

std::vector<std::string> findCompanions(const std::string& tablePath, const std::string& extension) {
    return companionsWhere(tablePath,
                           [&](const std::string& ext) { return os::equalsIgnoringCase(ext, extension); });
}

std::vector<std::string> findIndexes(const std::string& tablePath) {
    return companionsWhere(tablePath, [](const std::string& ext) {
        return os::equalsIgnoringCase(ext, format::px::kExtension) || isSecondaryIndexExtension(ext);
    });
}

std::vector<SecondaryIndexFiles> findSecondaryIndexes(const std::string& tablePath) {
    std::vector<SecondaryIndexFiles> indexes;
    // An index is named by its extension's last two characters, in any case.
    std::vector<std::string> names;
    for (const auto& path : companionsWhere(tablePath, isSecondaryIndexExtension)) {
        const std::string ext = os::extensionOf(path);
        const std::string name = {lower(ext[2]), lower(ext[3])};
        auto it = std::find(names.begin(), names.end(), name);
        if (it == names.end()) {
            names.push_back(name);
            indexes.emplace_back();
            it = names.end() - 1;
        }
        SecondaryIndexFiles& files = indexes[static_cast<std::size_t>(it - names.begin())];
        (lower(ext[1]) == lower(format::xnn::kEntriesLetter) ? files.entries : files.tree) = path;
    }
    return indexes;
}

std::string otherIndexFile(const std::string& path) {
    using namespace format::xnn;
    std::string other = path;
    char& letter = other[other.size() - 3];
    const bool lowerCase = std::islower(static_cast<unsigned char>(letter)) != 0;
    const char kind = lower(letter) == lower(kEntriesLetter) ? kTreeLetter : kEntriesLetter;
    letter = lowerCase ? lower(kind) : kind;
    return other;
}

}  // namespace pdx
