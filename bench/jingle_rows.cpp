#include "jingle_rows.h"

#include "pdx/engine.h"

#include <cstdio>

namespace bench {

namespace {

constexpr std::int64_t kRowsPerInsert = 10'000;

std::string numbered(const char* format, std::int64_t n) {
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<long long>(n));
    return text;
}

}  // namespace

JingleRow jingleRow(std::int64_t index) {
    return {static_cast<std::int32_t>(index % kCategories + 1), numbered("Jingle number %lld", index),
            numbered("C:\\Jingles\\j%07lld.wav", index), numbered("Studio %lld", index % 50)};
}

const char* jingleColumns() { return "(FKey INTEGER, Title CHAR(40), FileName CHAR(40), Artist CHAR(16))"; }

void createWithEngine(const std::string& path, std::int64_t rows) {
    pdx::execute("CREATE TABLE \"" + path + "\" " + jingleColumns());
    for (std::int64_t first = 0; first < rows; first += kRowsPerInsert) {
        std::string statement = "INSERT INTO \"" + path + "\" VALUES ";
        for (std::int64_t i = first; i < rows && i < first + kRowsPerInsert; ++i) {
            JingleRow row = jingleRow(i);
            statement += (i == first ? "(" : ", (") + std::to_string(row.fkey) + ", '" + row.title + "', '" +
                         row.fileName + "', '" + row.artist + "')";
        }
        pdx::execute(statement);
    }
}

}  // namespace bench
