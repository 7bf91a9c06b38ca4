// Copying a table file over another, with the companions that must follow it, in one commit.
#pragma once

#include <string>

namespace pdx {

// See pdx::copyTable. Throws pdx::Error naming the source, the target and the reason.
void copyTableFiles(const std::string& source, const std::string& target);

}  // namespace pdx
