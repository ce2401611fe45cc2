// Date-time arguments of vek-cli: "YYYY-MM-DDTHH:MM" with a zone, as its
// parts or as a Julian date in Universal Time.
#pragma once

#include <cstdint>
#include <string_view>

#include "util/result.h"

namespace vek::cli {

// The parts of a date-time argument "YYYY-MM-DDTHH:MM" with its zone.
struct DateTimeFields {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int zoneMinutes = 0;  // east of Greenwich
};

// Reads the parts of a date-time argument and checks its shape, the month,
// hour, minute and zone ranges, but not the calendar (the day may lie beyond
// the month's end, the year outside 1..2799).
Result<DateTimeFields> ParseDateTimeFields(std::string_view text);

// The day number of the fields' date, refusing years outside 1..2799 and
// dates that do not exist; TEXT is the argument the fields came from.
Result<int32_t> DayNumberOfFields(const DateTimeFields& f, std::string_view text);

// Parses "YYYY-MM-DDTHH:MM" followed by "Z" or "+HH:MM" / "-HH:MM" (at most
// 14 hours) into a Julian date in Universal Time. Years 1..2799. A failure
// names what is wrong.
Result<double> ParseDateTime(std::string_view text);

}  // namespace vek::cli
