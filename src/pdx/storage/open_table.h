// Opening a table file: found whatever the case of its name, header read and checked.
#pragma once

#include "os/fs.h"
#include "pdx/storage/blob_file.h"
#include "pdx/format/header.h"

#include <memory>
#include <string>

namespace pdx {

struct OpenTable {
    std::string path;      // the file's actual path
    os::File file;
    Header header;
    std::unique_ptr<BlobFile> blobs;  // null when the table has no blob fields or no .MB file
};

// Opens `table` (as the user named it) in the given mode. Throws pdx::Error naming it:
// missing, busy, unreadable, corrupt.
OpenTable openTable(const std::string& table, os::File::Mode mode);

// Refuses a table whose records this engine cannot decode (password-protected ones).
void requireReadableRecords(const Header& header, const std::string& table);

// Opens the .MB file of an open table when its fields need one.
void openBlobs(OpenTable& open, const std::string& table);

}  // namespace pdx
