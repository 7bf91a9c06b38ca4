// Paradox dates count days from 1 January of year 1 (that day is 1) in the proleptic
// Gregorian calendar; timestamps count milliseconds from the start of day 0.
#pragma once

#include <cstdint>

namespace pdx::calendar {

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

struct CivilDate {
    std::int64_t year;
    unsigned month;  // 1..12
    unsigned day;    // 1..31
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);
// The day number of a valid date.
std::int32_t dayNumber(int year, int month, int day);
CivilDate fromDayNumber(std::int64_t days);

}  // namespace pdx::calendar
