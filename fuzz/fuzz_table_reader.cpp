// Opens any bytes as a table file and reads every record. Only pdx::Error may escape the
// reader, and it must not crash, hang or read out of bounds.
#include "pdx/error.h"
#include "pdx/table.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

const std::string tablePath = "/tmp/jingleconv-fuzz-" + std::to_string(getpid()) + ".db";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (std::FILE* file = std::fopen(tablePath.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    try {
        pdx::Table table(tablePath);
        const auto& fields = table.fields();
        auto cursor = table.records();
        while (cursor.next()) {
            const auto& values = cursor.values();
            for (std::size_t i = 0; i < values.size() && i < fields.size(); ++i)
                pdx::formatValue(values[i], fields[i]);
        }
    } catch (const pdx::Error&) {
    }
    return 0;
}
