// TQuery hands the engine its lines and lets the engine's errors through.
#include <gtest/gtest.h>

#include "db/query.h"
#include "pdx/error.h"
#include "temp_folder.h"

namespace {

TEST(TQuery, EngineErrorReachesTheCallerAndLinesStay) {
    TempFolder folder("query");
    db::TQuery query;
    query.SQL.Add("DELETE FROM \"" + folder.file("Missing.db") + "\"");
    query.SQL.Add("WHERE FKey<>1");
    EXPECT_THROW(query.ExecSQL(), pdx::Error);
    EXPECT_EQ(query.SQL.Count(), 2u);
}

TEST(TQuery, EmptyStatementIsTheEnginesError) {
    db::TQuery query;
    EXPECT_THROW(query.ExecSQL(), pdx::Error);
}

}  // namespace
