#include "pdx/sql/datetime.h"

#include "pdx/format/calendar.h"

namespace pdx::sql {

namespace {

using calendar::dayNumber;
using calendar::daysInMonth;

// Reads exactly `count` digits.
bool readDigits(std::string_view& text, std::size_t count, int& value) {
    if (text.size() < count) return false;
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    text.remove_prefix(count);
    return true;
}

// One to three digits of a second: ".5" is 500 ms.
bool readFraction(std::string_view& text, int& milliseconds) {
    std::size_t count = 0;
    while (count < text.size() && text[count] >= '0' && text[count] <= '9') ++count;
    if (count < 1 || count > 3 || !readDigits(text, count, milliseconds)) return false;
    for (; count < 3; ++count) milliseconds *= 10;
    return true;
}

bool readChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

std::optional<Date> readDate(std::string_view& text) {
    int year = 0, month = 0, day = 0;
    if (!readDigits(text, 4, year) || !readChar(text, '-') || !readDigits(text, 2, month) ||
        !readChar(text, '-') || !readDigits(text, 2, day)) {
        return std::nullopt;
    }
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) return std::nullopt;
    return Date{dayNumber(year, month, day)};
}

std::optional<Time> readTime(std::string_view& text) {
    int hours = 0, minutes = 0, seconds = 0, milliseconds = 0;
    if (!readDigits(text, 2, hours) || !readChar(text, ':') || !readDigits(text, 2, minutes))
        return std::nullopt;
    if (readChar(text, ':')) {
        if (!readDigits(text, 2, seconds)) return std::nullopt;
        if (readChar(text, '.') && !readFraction(text, milliseconds)) return std::nullopt;
    }
    if (hours > 23 || minutes > 59 || seconds > 59) return std::nullopt;
    return Time{((hours * 60 + minutes) * 60 + seconds) * 1000 + milliseconds};
}

}  // namespace

std::optional<Date> parseDate(std::string_view text) {
    auto date = readDate(text);
    return text.empty() ? date : std::nullopt;
}

std::optional<Time> parseTime(std::string_view text) {
    auto time = readTime(text);
    return text.empty() ? time : std::nullopt;
}

std::optional<Timestamp> parseTimestamp(std::string_view text) {
    auto date = readDate(text);
    if (!date) return std::nullopt;
    Time time{0};
    if (!text.empty()) {
        if (!readChar(text, ' ') && !readChar(text, 'T')) return std::nullopt;
        auto read = readTime(text);
        if (!read || !text.empty()) return std::nullopt;
        time = *read;
    }
    return Timestamp{static_cast<double>(date->days * calendar::kMillisecondsPerDay + time.milliseconds)};
}

}  // namespace pdx::sql
