// Paradox dates count days from 1 January of year 1 (that day is 1); this turns them into
// calendar dates.
#pragma once

#include <cstdint>

namespace pdx::calendar {

struct CivilDate {
    std::int64_t year;
    unsigned month;  // 1..12
    unsigned day;    // 1..31
};

CivilDate fromDayNumber(std::int64_t days);

}  // namespace pdx::calendar
