// Helpers shared by the SQL tests.
#pragma once

#include "pdx/error.h"
#include "pdx/sql/ast.h"
#include "pdx/sql/literal.h"

#include <gtest/gtest.h>

#include <string>

// Runs `action` as the engine's entry points run their work for a table: an error leaving it
// names the table.
template <typename Action>
decltype(auto) onTable(const std::string& table, Action&& action) {
    try {
        return action();
    } catch (const pdx::Error& error) {
        throw error.about(table);
    }
}

// Runs `action`, expecting a pdx::Error whose message contains every one of `parts`.
template <typename Action>
void expectError(Action&& action, std::initializer_list<std::string> parts) {
    try {
        action();
        ADD_FAILURE() << "no error; expected one mentioning " << *parts.begin();
    } catch (const pdx::Error& error) {
        std::string message = error.what();
        for (const auto& part : parts) {
            EXPECT_NE(message.find(part), std::string::npos)
                << "message: " << message << "\nmissing: " << part;
        }
    }
}

// Renders a condition with full parentheses, so that the tree's shape shows in one string.
inline std::string render(const pdx::sql::Expr& e) {
    using pdx::sql::Expr;
    static const char* ops[] = {"=", "<>", "<", "<=", ">", ">="};
    switch (e.kind) {
    case Expr::Kind::And: return "(" + render(*e.left) + " AND " + render(*e.right) + ")";
    case Expr::Kind::Or: return "(" + render(*e.left) + " OR " + render(*e.right) + ")";
    case Expr::Kind::Not: return "NOT " + render(*e.left);
    case Expr::Kind::IsNull: return "[" + e.field + "] IS NULL";
    case Expr::Kind::IsNotNull: return "[" + e.field + "] IS NOT NULL";
    case Expr::Kind::Compare:
        return "[" + e.field + "]" + ops[static_cast<int>(e.op)] + pdx::sql::literalText(e.literal);
    }
    return "?";
}
