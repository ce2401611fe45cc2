// Proleptic Gregorian calendar conversions, the weekday and the computer's
// time zone.
#pragma once

#include <cstdint>

namespace vek::platform {

// The record exchanged with the calendar routines.
struct CalendarDate {
    int32_t year = 0;
    int32_t month = 0;
    int32_t day = 0;
    int32_t calendar = 'G';
    int32_t dayNumber = 0;
    int32_t valid = 0;
};

// Day number (Julian Day Number) of year/month/day; sets d.valid to 1 for a
// real date and 0 otherwise (31 February, month 13, ...). Returns 0 when the
// date is not valid or its day number would not fit 32 bits.
int32_t date_to_jdn(CalendarDate& d);

// Fills year, month and day from d.dayNumber.
void jdn_to_date(CalendarDate& d);

// Weekday of a day number, 0 = Sunday.
int day_of_week(int32_t dayNumber);

// The computer's current zone offset in seconds west of Greenwich.
int32_t local_timezone();

// A zone in minutes east of Greenwich as the program takes the computer's
// zone: +5:45 becomes +5:30, the nearest entry of the zone lists; every other
// offset is kept.
int zone_as_listed(int minutesEast);

// Calendar year of a Julian date (the first output); the other outputs get
// month, day and 0. calendarLetter is accepted for the call's shape.
void julian_date(double jd, const char* calendarLetter, int32_t* year, int32_t* month,
                 int32_t* day, int32_t* unused);

// Calendar year of a Julian date, the common use of julian_date.
int32_t calendar_year_of(double jd);

}  // namespace vek::platform
