// Tables in code pages the engine has no table for, checked against pxlib: one pxlib wrote
// in Shift-JIS (932), and a real table in GBK (936) that the engine writes to.
#include "pdx/table.h"
#include "pxlib_oracle.h"
#include "table_fixtures.h"

#include <gtest/gtest.h>

namespace {

// ジングル, ソ (a trail byte of 0x5C, ASCII's backslash) and 名前 in Shift-JIS.
const std::string kJingle = "\x83\x57\x83\x93\x83\x4F\x83\x8B";
const std::string kSo = "\x83\x5C";
const std::string kNameField = "\x96\xBC\x91\x4F";

TEST(SystemCodePagePxlib, TableWrittenByPxlibReadsAndShrinks) {
    TempFolder folder("pxlib-932");
    const std::string path = folder.file("jp.db");
    oracle::writeAlphaTable(path, 932,
                            {{kNameField, pdx::FieldType::Alpha, 12}, {"Kind", pdx::FieldType::Alpha, 4}},
                            {{kJingle, "5"}, {kSo, "6"}, {"plain", ""}});
    {
        const pdx::Table table(path);
        EXPECT_EQ(table.info().codePage, 932);
        EXPECT_EQ(table.fields()[0].name, "名前");
        const auto rows = table.readAll();
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[0][0], pdx::Value(std::string("ジングル")));
        EXPECT_EQ(rows[1][0], pdx::Value(std::string("ソ")));
        EXPECT_EQ(rows[2][0], pdx::Value(std::string("plain")));
    }
    EXPECT_EQ(pdx::execute("DELETE FROM " + sqlName(path) + " WHERE \"名前\" = 'ソ'"), 1);
    const oracle::PxTable px = oracle::read(path);
    ASSERT_EQ(px.records, 2);
    EXPECT_EQ(px.rows[0][0], pdx::Value(kJingle));
    EXPECT_EQ(px.rows[1][0], pdx::Value(std::string("plain")));
}

TEST(SystemCodePagePxlib, RealGbkTableTakesChineseText) {
    TempFolder folder("pxlib-936");
    const std::string path = copySample(folder, "misc/GENERAL.DB");
    EXPECT_EQ(pdx::Table(path).info().codePage, 936);
    EXPECT_EQ(pdx::execute("INSERT INTO " + sqlName(path) + " (ID, NAME) VALUES (4, '中文歌')"), 1);
    const oracle::PxTable px = oracle::read(path);
    ASSERT_EQ(px.records, 4);
    // The table is keyed by ID: 4 comes third.
    EXPECT_EQ(px.rows[2][1], pdx::Value(std::string("\xD6\xD0\xCE\xC4\xB8\xE8")));
    EXPECT_EQ(pdx::Table(path).readAll()[2][1], pdx::Value(std::string("中文歌")));
}

}  // namespace
