#include "TableCopy.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "os/fs.h"

namespace {

const char* const BlobExtension = ".mb";
const char* const PendingSuffix = ".new";

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The table's name without its extension ("AdvBeats" of ".../AdvBeats.db").
std::string stemOf(const std::string& path) {
    std::string name = os::nameOf(path);
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// The companion files of a table: the entries of its folder named like it (in any case)
// whose extension passes the test.
template <class Test>
std::vector<std::string> companions(const std::string& table, Test isWanted) {
    const std::string folder = os::folderOf(table);
    const std::string stem = lower(stemOf(table));
    std::vector<std::string> found;
    for (const std::string& name : os::listFolder(folder)) {
        std::string lowered = lower(name);
        if (lowered.size() > stem.size() && lowered.compare(0, stem.size(), stem) == 0 &&
            lowered[stem.size()] == '.' && isWanted(lowered.substr(stem.size())))
            found.push_back(folder + name);
    }
    return found;
}

bool isBlob(const std::string& extension) { return extension == BlobExtension; }

// .px, .xnn/.ynn (nn two digits, hex in practice), .xgn/.ygn
bool isIndex(const std::string& extension) {
    if (extension == ".px") return true;
    if (extension.size() != 4 || (extension[1] != 'x' && extension[1] != 'y')) return false;
    return std::isxdigit(static_cast<unsigned char>(extension[3])) &&
           (extension[2] == 'g' || std::isxdigit(static_cast<unsigned char>(extension[2])));
}

[[noreturn]] void fail(const std::string& from, const std::string& to, const os::Error& error) {
    throw CopyError("Не удалось скопировать \"" + from + "\" в \"" + to + "\": " + error.reason());
}

void copy(const std::string& from, const std::string& to) {
    try {
        os::copyFile(from, to);
    } catch (const os::Error& error) {
        fail(from, to, error);
    }
}

// Clean-up after a failure, which is what gets reported.
void removeLeftover(const std::string& path) {
    try {
        os::removeFile(path);
    } catch (const os::Error&) {
    }
}

}  // namespace

void copyTable(const std::string& source, const std::string& target) {
    std::optional<std::string> sourceBlob;
    std::string targetBlob;
    try {
        std::vector<std::string> blobs = companions(source, isBlob);
        if (!blobs.empty()) {
            sourceBlob = blobs.front();
            targetBlob = os::folderOf(target) + stemOf(target) +
                         os::nameOf(*sourceBlob).substr(stemOf(*sourceBlob).size());
        }
    } catch (const os::Error& error) {
        fail(source, target, error);
    }

    const std::string pendingBlob = targetBlob + PendingSuffix;
    if (sourceBlob) copy(*sourceBlob, pendingBlob);
    try {
        copy(source, target);
        if (sourceBlob) {
            try {
                os::replaceFile(pendingBlob, targetBlob);
            } catch (const os::Error& error) {
                fail(*sourceBlob, targetBlob, error);
            }
        }
    } catch (...) {
        if (sourceBlob) removeLeftover(pendingBlob);
        throw;
    }

    try {
        for (const std::string& stale : companions(target, [&](const std::string& extension) {
                 return isIndex(extension) || isBlob(extension);
             }))
            if (stale != targetBlob) os::removeFile(stale);
    } catch (const os::Error& error) {
        fail(source, target, error);
    }
}
