#include "pdx/statements/copy_table.h"

#include "os/fs.h"
#include "pdx/error.h"
#include "pdx/format/mb_format.h"
#include "pdx/storage/commit.h"
#include "pdx/storage/table_files.h"

#include <optional>

namespace pdx {
namespace {

// Why a file operation failed, in Russian where the kind says it, with the system's words.
std::string reasonOf(const os::Error& e) {
    const auto plain = [&]() -> std::string {
        switch (e.kind()) {
        case os::ErrorKind::NotFound: return "файл не найден";
        case os::ErrorKind::Busy: return "файл занят другой программой";
        case os::ErrorKind::AccessDenied: return "нет доступа";
        case os::ErrorKind::NoSpace: return "недостаточно места на диске";
        case os::ErrorKind::Other: break;
        }
        return "";
    }();
    if (plain.empty()) return e.reason();
    return e.reason().empty() ? plain : plain + " (" + e.reason() + ")";
}

// Runs a step of the copy of `from` over `to`; a failure names both.
template <class Step>
void copying(const std::string& from, const std::string& to, Step step) {
    try {
        step();
    } catch (const os::Error& e) {
        throw Error::copyFailed(from, to, reasonOf(e));
    }
}

}  // namespace

void copyTableFiles(const std::string& source, const std::string& target) {
    std::optional<std::string> sourceBlob;
    std::string targetBlob;
    std::vector<std::string> stale;
    copying(source, target, [&] {
        recover(target);
        const auto blobs = findCompanions(source, format::mb::kExtension);
        if (!blobs.empty()) {
            sourceBlob = blobs.front();
            targetBlob = os::folderOf(target) + os::stemOf(target) + os::extensionOf(*sourceBlob);
        }
        // The target's indexes and blob files belong to its old content.
        stale = findIndexes(target);
        for (const auto& blob : findCompanions(target, format::mb::kExtension)) {
            if (sourceBlob && (blob == targetBlob || os::sameFile(blob, targetBlob))) continue;
            stale.push_back(blob);
        }
    });

    Commit commit(target);
    copying(source, target, [&] { os::writeCopy(source, commit.stage(target, FileRole::Table)); });
    if (sourceBlob) {
        copying(*sourceBlob, targetBlob,
                [&] { os::writeCopy(*sourceBlob, commit.stage(targetBlob, FileRole::Blobs)); });
    }
    for (const auto& file : stale) commit.remove(file);
    try {
        commit.apply();
    } catch (const os::Error& e) {
        if (sourceBlob && e.path() == targetBlob)
            throw Error::copyFailed(*sourceBlob, targetBlob, reasonOf(e));
        throw Error::copyFailed(source, target, reasonOf(e));
    }
}

}  // namespace pdx
