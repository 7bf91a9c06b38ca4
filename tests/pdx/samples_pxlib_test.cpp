// Every real table's values as pxlib reads them, protected ones included: the engine reads
// the same.
#include "pdx/table.h"
#include "pxlib_oracle.h"
#include "samples_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using samples::Sample;

const std::string kSamples = PDX_SAMPLES;

class SampleValuesAgainstPxlib : public ::testing::TestWithParam<Sample> {};

// Values compared with pxlib's for every field pxlib decodes (it skips blobs; BCD as text).
TEST_P(SampleValuesAgainstPxlib, Match) {
    const Sample& s = GetParam();
    const std::string path = kSamples + "/" + s.path;
    const pdx::Table table(path);
    const auto ours = table.readAll();
    const oracle::PxTable theirs = oracle::read(path);
    ASSERT_EQ(theirs.records, s.records);
    ASSERT_EQ(ours.size(), theirs.rows.size());
    for (std::size_t r = 0; r < ours.size(); ++r) {
        for (std::size_t f = 0; f < table.fields().size(); ++f) {
            const auto& field = table.fields()[f];
            const pdx::Value& expected = theirs.rows[r][f];
            const pdx::Value& actual = ours[r][f];
            SCOPED_TRACE(std::string(s.path) + " record " + std::to_string(r) + " field " + field.name);
            switch (field.type) {
            case pdx::FieldType::Memo:
            case pdx::FieldType::FormattedMemo:
            case pdx::FieldType::Blob:
            case pdx::FieldType::Ole:
            case pdx::FieldType::Graphic: break;
            case pdx::FieldType::Alpha:
                // pxlib hands out the stored bytes; ours are UTF-8, equal for ASCII text.
                if (const auto* text = std::get_if<std::string>(&expected)) {
                    const bool ascii =
                        std::all_of(text->begin(), text->end(), [](char c) { return (c & 0x80) == 0; });
                    if (ascii) {
                        EXPECT_EQ(actual, expected);
                    }
                } else {
                    EXPECT_EQ(actual, expected);
                }
                break;
            case pdx::FieldType::Bcd:
                if (std::holds_alternative<std::monostate>(expected)) {
                    EXPECT_EQ(actual, expected);
                } else {
                    // pxlib prints every nibble (even ones above 9) and a bare trailing point;
                    // the digits both readers agree on are those up to the first such nibble.
                    const std::string theirs = std::get<std::string>(expected);
                    const std::string mine = pdx::formatValue(actual, field);
                    std::size_t same = 0;
                    while (same < theirs.size() && same < mine.size() && theirs[same] == mine[same]) ++same;
                    const bool theirsEnds =
                        same == theirs.size() || theirs.substr(same) == "." ||
                        !(std::isdigit(static_cast<unsigned char>(theirs[same])) || theirs[same] == '.');
                    EXPECT_TRUE(theirsEnds && same >= std::min<std::size_t>(3, mine.size()))
                        << mine << " vs pxlib " << theirs;
                }
                break;
            default: EXPECT_EQ(actual, expected);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleValuesAgainstPxlib, ::testing::ValuesIn(samples::kReadable),
                         [](const auto& info) { return samples::testName(info.param); });
// pxlib decodes protected tables too (their blob files it cannot read).
INSTANTIATE_TEST_SUITE_P(Protected, SampleValuesAgainstPxlib, ::testing::ValuesIn(samples::kProtected),
                         [](const auto& info) { return samples::testName(info.param); });

}  // namespace
