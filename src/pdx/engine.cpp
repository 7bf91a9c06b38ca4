#include "pdx/engine.h"
#include "pdx/error.h"

namespace pdx {
std::int64_t execute(std::string_view) { throw Error("не реализовано"); }
}  // namespace pdx
