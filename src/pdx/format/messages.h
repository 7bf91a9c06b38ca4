// The engine's Russian error messages, each naming the table.
#pragma once

#include "os/fs.h"
#include "pdx/error.h"

#include <string>

namespace pdx {

// "Таблица "<table>": <cause>"
Error tableError(const std::string& table, const std::string& cause);
// A failed file operation on the table (or one of its files), with the system's reason.
Error fileError(const std::string& table, const os::Error& error);
// The table's bytes contradict themselves.
Error corruptError(const std::string& table, const std::string& cause);

}  // namespace pdx
