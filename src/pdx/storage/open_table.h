// Opening a table file: found whatever the case of its name, an interrupted commit completed,
// header read and checked.
#pragma once

#include "os/fs.h"
#include "pdx/format/header.h"
#include "pdx/storage/blob_file.h"

#include <memory>
#include <string>

namespace pdx {

struct OpenTable {
    std::string path;  // the file's actual path
    os::File file;
    Header header;
    std::unique_ptr<BlobFile> blobs;  // null when the table has no blob fields or no .MB file
};

// Opens the table file `table` names in the given mode. Throws pdx::Error or os::Error:
// missing, busy, unreadable, corrupt.
OpenTable openTable(const std::string& table, os::File::Mode mode);

// Reads and checks the header of an open table file (or of a file laid out like one).
Header readHeader(const os::File& file, HeaderOf kind = HeaderOf::Table);

// Refuses a table whose records this engine cannot decode: a protected one whose key is not
// where its format keeps it.
void requireReadableRecords(const Header& header);

// Opens the .MB file of an open table when its fields need one.
void openBlobs(OpenTable& open);

}  // namespace pdx
