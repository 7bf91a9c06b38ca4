// What every entry point of the engine does with an error on its way out: a failed file
// operation becomes an engine error, and the error names the table the caller named.
#pragma once

#include "os/fs.h"
#include "pdx/error.h"

#include <string>
#include <utility>

namespace pdx {

// The engine error for a failed file operation.
Error systemError(const os::Error& error);

// Runs `work` on behalf of the table the caller calls `table`.
template <class Work>
decltype(auto) forTable(const std::string& table, Work&& work) {
    try {
        return std::forward<Work>(work)();
    } catch (const os::Error& e) {
        throw systemError(e).about(table);
    } catch (const Error& e) {
        throw e.about(table);
    }
}

}  // namespace pdx
