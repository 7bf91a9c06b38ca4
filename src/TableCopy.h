// Copying a Paradox table file over another, with the companions that must follow it.
#pragma once

#include <stdexcept>
#include <string>

// A copy that failed: names the source, the target and the system's reason.
class CopyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Copies the table file `source` to `target` (both full paths of .db files), replacing it.
// The source's blob file (.MB, any case) is copied beside the target under the target's
// name with the source's extension; the target's other blob files and its index files
// (.PX, .Xnn/.Ynn, .XGn/.YGn, any case) are removed, as they belong to the old content.
// Other companions (.VAL) stay. The new blob file is put in place only after the table
// file, so a failure never leaves a table pointing at a missing blob file.
// Throws CopyError.
void copyTable(const std::string& source, const std::string& target);
