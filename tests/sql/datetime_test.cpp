#include "pdx/format/calendar.h"

#include <gtest/gtest.h>

using namespace pdx::calendar;

namespace {

TEST(DayNumber, CountsFromFirstOfJanuaryOfYearOne) {
    EXPECT_EQ(dayNumber(1, 1, 1), 1);
    EXPECT_EQ(dayNumber(1, 12, 31), 365);
    EXPECT_EQ(dayNumber(2, 1, 1), 366);
    // fields/date7.db: 2018-01-01, 2018-01-02 and 2018-02-01.
    EXPECT_EQ(dayNumber(2018, 1, 1), 736695);
    EXPECT_EQ(dayNumber(2018, 1, 2), 736696);
    EXPECT_EQ(dayNumber(2018, 2, 1), 736726);
    // Leap years: 1900 is not one, 2000 is.
    EXPECT_EQ(dayNumber(1900, 3, 1) - dayNumber(1900, 2, 28), 1);
    EXPECT_EQ(dayNumber(2000, 3, 1) - dayNumber(2000, 2, 28), 2);
    EXPECT_EQ(dayNumber(9999, 12, 31), 3652059);
}

}  // namespace
