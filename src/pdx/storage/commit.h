// Putting the files a statement wrote in place, all or none, and recovering from a statement
// that was killed half way.
//
// Design notes
// ------------
// A statement never writes into a table's files. Every file it makes (the table file .DB,
// its blob file .MB, its primary index .PX, its secondary indexes .Xnn/.Ynn and .XGn/.YGn)
// is written aside first, beside the file it replaces, under the one staging name
// os::asidePath gives ("~NAME.new"), and flushed to disk. Files that are to go (the indexes
// of a copied table's old content) are listed as well. Then apply():
//
//   1. writes the commit record "~TABLE.commit" beside the table: each staged file with the
//      file it replaces and each file to remove, then a checksum of it all. The record is
//      flushed, and so is the folder, which makes the staged files' names durable too. From
//      here on the commit is decided.
//   2. puts the staged files in place in one order: the table file, the blob file, the
//      primary index, the secondary indexes; then removes the files that are to go.
//   3. flushes the folder, removes the record and flushes the folder again, so that a
//      finished record never comes back. A record that cannot be removed is left: rolling
//      it forward again changes nothing.
//
// What a crash leaves, and what recover() (run by every statement and by every reader
// before it looks at a table) makes of it:
//   - before the record is whole: staged files, perhaps a torn record whose checksum fails.
//     No file of the table has changed: the staged files and the record go (roll back).
//   - with a whole record: the entries whose staged file is still there are put in place,
//     the files to go are removed, then the record (roll forward).
//   - without a record: staged files of a statement that never committed go (roll back).
// A failure, as opposed to a crash, rolls back at once when it comes before the first file
// is in place; after that the record stays for the next statement to roll forward.
// Statements recover holding the table file; a reader that finds the table held by another
// program's statement leaves the work to it.
//
// The table file goes first because it is the one another program is most likely to hold
// (Windows refuses to replace it then): failing there leaves everything as it was.
#pragma once

#include <string>
#include <vector>

namespace pdx {

// What a staged file is to its table; files are put in place in this order.
enum class FileRole { Table, Blobs, PrimaryIndex, SecondaryIndex };

class Commit {
public:
    // The files of the table whose file is `tablePath` (as it is or will be on disk).
    explicit Commit(std::string tablePath);
    // Removes what was staged when apply() did not decide the commit.
    ~Commit();
    Commit(const Commit&) = delete;
    Commit& operator=(const Commit&) = delete;

    // Where to write the new content of `target`; a leftover there is removed first.
    std::string stage(const std::string& target, FileRole role);
    // A file to remove when the commit is applied.
    void remove(const std::string& target);

    bool empty() const { return entries_.empty(); }
    // Puts every staged file in place and removes the files to go. Throws os::Error.
    void apply();

private:
    struct Entry {
        std::string staged;  // "" for a file to remove
        std::string target;
        FileRole role;
    };

    std::string tablePath_;
    std::vector<Entry> entries_;
    bool decided_ = false;
};

// Completes or undoes whatever an interrupted statement left beside the table whose file is
// `tablePath` (which need not exist). Throws os::Error.
void recover(const std::string& tablePath);

// Whether a commit record stands beside the table.
bool hasCommitRecord(const std::string& tablePath);
// Whether a killed statement left a record or staged files beside the table.
bool needsRecovery(const std::string& tablePath);

}  // namespace pdx
