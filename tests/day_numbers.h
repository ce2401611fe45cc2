// The day number of a calendar date, for tests that write dates plainly.
#pragma once

#include <cstdint>

#include "time/dates.h"

namespace vek::testing {

inline int32_t Day(int year, int month, int day) {
    CalendarDate d;
    d.year = year;
    d.month = month;
    d.day = day;
    return DateToDayNumber(d);
}

}  // namespace vek::testing
