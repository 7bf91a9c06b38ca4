#include "pdx/storage/commit.h"

#include "os/fs.h"
#include "pdx/format/bytes.h"
#include "pdx/storage/table_files.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace pdx {
namespace {

// The record: kMagic, then per entry its kind, the staged file's name and the target's name
// (each a u16 length and the bytes; names within the table's folder), then the FNV-1a hash
// of everything before it.
constexpr char kMagic[] = "pdx commit 1\n";
constexpr std::size_t kMagicSize = sizeof kMagic - 1;
constexpr std::uint8_t kPut = 'P';
constexpr std::uint8_t kRemove = 'R';
constexpr std::size_t kHashSize = 8;
constexpr const char* kRecordPrefix = "~";
constexpr const char* kRecordSuffix = ".commit";
constexpr const char* kStagedPrefix = "~";
constexpr const char* kStagedSuffix = ".new";

struct RecordEntry {
    std::uint8_t kind;
    std::string staged;  // names, not paths
    std::string target;
};

std::uint64_t fnv1a(const std::uint8_t* data, std::size_t n) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (std::size_t i = 0; i < n; ++i) hash = (hash ^ data[i]) * 0x100000001b3ull;
    return hash;
}

std::string recordPath(const std::string& tablePath) {
    return os::folderOf(tablePath) + kRecordPrefix + os::nameOf(tablePath) + kRecordSuffix;
}

void putName(std::vector<std::uint8_t>& out, const std::string& name) {
    std::uint8_t length[2];
    bytes::putLe16(length, static_cast<std::uint32_t>(name.size()));
    out.insert(out.end(), length, length + 2);
    out.insert(out.end(), name.begin(), name.end());
}

std::vector<std::uint8_t> encodeRecord(const std::vector<RecordEntry>& entries) {
    std::vector<std::uint8_t> out(kMagic, kMagic + kMagicSize);
    for (const auto& entry : entries) {
        out.push_back(entry.kind);
        putName(out, entry.staged);
        putName(out, entry.target);
    }
    std::uint8_t hash[kHashSize];
    const std::uint64_t h = fnv1a(out.data(), out.size());
    bytes::putLe32(hash, static_cast<std::uint32_t>(h));
    bytes::putLe32(hash + 4, static_cast<std::uint32_t>(h >> 32));
    out.insert(out.end(), hash, hash + kHashSize);
    return out;
}

// The entries of a whole record; nullopt for a torn or foreign one.
std::optional<std::vector<RecordEntry>> decodeRecord(const std::vector<std::uint8_t>& in) {
    if (in.size() < kMagicSize + kHashSize || std::memcmp(in.data(), kMagic, kMagicSize) != 0) {
        return std::nullopt;
    }
    const std::size_t end = in.size() - kHashSize;
    const std::uint64_t stored = bytes::le32(&in[end]) | std::uint64_t(bytes::le32(&in[end + 4])) << 32;
    if (fnv1a(in.data(), end) != stored) return std::nullopt;
    std::vector<RecordEntry> entries;
    std::size_t at = kMagicSize;
    const auto name = [&](std::string& out) {
        if (end - at < 2) return false;
        const std::size_t length = bytes::le16(&in[at]);
        at += 2;
        if (end - at < length) return false;
        out.assign(in.begin() + static_cast<std::ptrdiff_t>(at),
                   in.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
        return true;
    };
    while (at < end) {
        RecordEntry entry{in[at++], {}, {}};
        if ((entry.kind != kPut && entry.kind != kRemove) || !name(entry.staged) || !name(entry.target)) {
            return std::nullopt;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<std::uint8_t> readWhole(const std::string& path) {
    const os::File file(path, os::File::Mode::Read);
    std::vector<std::uint8_t> bytes(file.size());
    if (!bytes.empty()) file.readAt(0, bytes.data(), bytes.size());
    return bytes;
}

void writeRecord(const std::string& path, const std::vector<RecordEntry>& entries) {
    const std::vector<std::uint8_t> bytes = encodeRecord(entries);
    os::removeFile(path);
    try {
        os::File file(path, os::File::Mode::CreateNew);
        file.append(bytes.data(), bytes.size());
        file.sync();
        file.close();
        os::syncFolder(os::folderOf(path));
    } catch (...) {
        os::removeFileQuietly(path);
        throw;
    }
}

void finishRecord(const std::string& path) {
    const std::string folder = os::folderOf(path);
    os::syncFolder(folder);
    os::removeFile(path);
    os::syncFolder(folder);
}

// The files staged for the table ("~STEM.EXT.new", any case); a folder of that name is not ours.
std::vector<std::string> stagedFiles(const std::string& tablePath) {
    const std::string folder = os::folderOf(tablePath);
    const std::string stem = os::stemOf(tablePath);
    const std::string prefix = kStagedPrefix;
    const std::string suffix = kStagedSuffix;
    std::vector<std::string> found;
    for (const auto& name : os::listFolder(folder.empty() ? "." : folder)) {
        if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
            continue;
        }
        const std::string staged = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        if (os::equalsIgnoringCase(os::stemOf(staged), stem) && os::fileExists(folder + name)) {
            found.push_back(folder + name);
        }
    }
    return found;
}

}  // namespace

Commit::Commit(std::string tablePath) : tablePath_(std::move(tablePath)) {}

Commit::~Commit() {
    if (decided_) return;
    for (const auto& entry : entries_) {
        if (!entry.staged.empty()) os::removeFileQuietly(entry.staged);
    }
}

std::string Commit::stage(const std::string& target, FileRole role) {
    const std::string staged = os::asidePath(target);
    os::removeFile(staged);
    entries_.push_back({staged, target, role});
    return staged;
}

void Commit::remove(const std::string& target) { entries_.push_back({"", target, FileRole::Table}); }

void Commit::apply() {
    if (entries_.empty()) return;
    // Files to put in place by role, then the files to go.
    std::stable_sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
        const bool aRemoves = a.staged.empty(), bRemoves = b.staged.empty();
        if (aRemoves != bRemoves) return bRemoves;
        return a.role < b.role;
    });
    std::vector<RecordEntry> record;
    for (const auto& entry : entries_) {
        record.push_back(
            {entry.staged.empty() ? kRemove : kPut, os::nameOf(entry.staged), os::nameOf(entry.target)});
    }
    const std::string path = recordPath(tablePath_);
    writeRecord(path, record);
    bool changed = false;
    try {
        for (const auto& entry : entries_) {
            if (entry.staged.empty()) {
                os::removeFile(entry.target);
            } else {
                os::replaceFile(entry.staged, entry.target);
            }
            changed = true;
        }
    } catch (...) {
        if (!changed) {
            // Nothing is in place yet: undo. Without its record, the staged files go too.
            try {
                os::removeFile(path);
            } catch (const os::Error&) {
                decided_ = true;
            }
        } else {
            decided_ = true;
        }
        throw;
    }
    decided_ = true;
    // Every file is in place: a record left behind only repeats what is done.
    try {
        finishRecord(path);
    } catch (const os::Error&) {
    }
}

bool hasCommitRecord(const std::string& tablePath) {
    return !findIgnoringCase(recordPath(tablePath)).empty();
}

bool needsRecovery(const std::string& tablePath) {
    return hasCommitRecord(tablePath) || !stagedFiles(tablePath).empty();
}

void recover(const std::string& tablePath) {
    const std::string path = findIgnoringCase(recordPath(tablePath));
    if (!path.empty()) {
        const std::string folder = os::folderOf(path);
        if (const auto entries = decodeRecord(readWhole(path))) {
            for (const auto& entry : *entries) {
                if (entry.kind == kRemove) {
                    os::removeFile(folder + entry.target);
                } else if (os::fileExists(folder + entry.staged)) {
                    os::replaceFile(folder + entry.staged, folder + entry.target);
                }
            }
        }
        finishRecord(path);
    }
    // What no record puts in place belongs to a statement that never committed.
    for (const auto& staged : stagedFiles(tablePath)) os::removeFile(staged);
}

}  // namespace pdx
