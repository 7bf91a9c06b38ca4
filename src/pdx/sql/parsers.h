// The parts of the statement parser: one function for each statement after its first
// keyword, and the WHERE condition.
#pragma once

#include "pdx/sql/ast.h"
#include "pdx/sql/token_stream.h"

#include <memory>

namespace pdx::sql {

Delete parseDelete(TokenStream& tokens);            // after DELETE
CreateTable parseCreateTable(TokenStream& tokens);  // after CREATE
Insert parseInsert(TokenStream& tokens);            // after INSERT
Select parseSelect(TokenStream& tokens);            // after SELECT
std::shared_ptr<const Expr> parseCondition(TokenStream& tokens);

}  // namespace pdx::sql
