// pxlib as the independent yardstick: it writes the same table, and deletes rows one by one.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

// Writes the jingle table with pxlib (an unkeyed table).
void createWithPxlib(const std::string& path, std::int64_t rows);

struct OneByOne {
    std::int64_t rows = 0;
    std::int64_t deleted = 0;
    double seconds = 0;
};

// Deletes the rows whose FKey is not kKeptCategory, one PX_delete_record call each.
OneByOne deleteOneByOneWithPxlib(const std::string& path);

}  // namespace bench
