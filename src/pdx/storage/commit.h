// Writing a table's files aside and putting them in place: the temp names a statement uses,
// and their clean-up after a run that was killed half way.
#pragma once

#include <string>

namespace pdx {

// The deterministic aside name of a file: beside it, so that replacing is atomic.
std::string asidePath(const std::string& path);

// Removes a file written aside after a failure, keeping the failure's own error.
void removeQuietly(const std::string& path) noexcept;

// Removes what a killed statement may have left beside the table.
void removeLeftovers(const std::string& tablePath);

}  // namespace pdx
