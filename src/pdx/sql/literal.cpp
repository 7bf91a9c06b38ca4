#include "pdx/sql/literal.h"

namespace pdx::sql {

std::string literalText(const Literal& literal) {
    struct Visitor {
        std::string operator()(Null) const { return "NULL"; }
        std::string operator()(const Number& n) const { return n.text; }
        std::string operator()(const std::string& s) const {
            std::string out = "'";
            for (char c : s) out += c == '\'' ? std::string("''") : std::string(1, c);
            return out + "'";
        }
        std::string operator()(bool b) const { return b ? "TRUE" : "FALSE"; }
    };
    return std::visit(Visitor{}, literal);
}

}  // namespace pdx::sql
