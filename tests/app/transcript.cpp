#include "transcript.h"

std::string escapeValue(const std::string& value) {
    std::string out;
    for (char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default: out += c;
        }
    }
    return out;
}

std::string unescapeValue(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        char c = value[++i];
        out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
    }
    return out;
}

std::string DialogSeen::encode() const {
    std::string line = escapeValue(icon);
    for (const std::string* field :
         {&title, &text, &buttons, &defaultButton, &escapeButton, &centred, &modal, &linesWhole, &answer})
        line += "\t" + escapeValue(*field);
    return line;
}

DialogSeen DialogSeen::decode(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == '\t')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    fields.resize(10);
    for (std::string& field : fields) field = unescapeValue(field);
    return {fields[0], fields[1], fields[2], fields[3], fields[4],
            fields[5], fields[6], fields[7], fields[8], fields[9]};
}
