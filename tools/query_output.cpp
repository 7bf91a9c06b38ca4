#include "query_output.h"

#include <functional>

namespace {

std::string csvQuoted(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

// One line per row after a line of names, each value made printable by `field`.
void printRows(pdx::Query& query, std::ostream& out, char separator, const char* lineEnd,
               const std::function<std::string(const std::string&)>& field) {
    const auto& columns = query.columns();
    if (query.counts()) {
        query.next();
        out << pdx::formatValue(query.values()[0], columns[0]) << lineEnd;
        return;
    }
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i) out << separator;
        out << field(columns[i].name);
    }
    out << lineEnd;
    while (query.next()) {
        const auto& values = query.values();
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i) out << separator;
            out << field(pdx::formatValue(values[i], columns[i]));
        }
        out << lineEnd;
    }
}

}  // namespace

std::string tabEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    return out;
}

void printTabSeparated(pdx::Query& query, std::ostream& out) {
    printRows(query, out, '\t', "\n", tabEscaped);
}

void printCsv(pdx::Query& query, std::ostream& out) { printRows(query, out, ',', "\r\n", csvQuoted); }
