// The date toolkit: day numbers, calendar and time texts in English and
// German, the computer's clock and time zone, and the current Julian date.
//
// Time scales used throughout the program:
//   day number      the Julian Day Number of a proleptic Gregorian date
//                   (1 January of year 1 is 1721426);
//   local day value day number + time of day as a fraction (no zone);
//   Julian date     day number − 0.5 + time of day − zone / 1440, in UT.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/vek_types.h"
#include "platform/calendar.h"
#include "util/rounding.h"

namespace vek {

using platform::CalendarDate;

// Day numbers of the first and last date the program accepts.
inline constexpr int32_t kFirstDayNumber = 1721426;  // 1 January 1
inline constexpr int32_t kLastDayNumber = 2743738;   // 31 December 2799
inline constexpr int kFirstYear = 1;
inline constexpr int kLastYear = 2799;

// Month names (month 1..12) and weekday names (0 = Sunday .. 6). Language 1
// is German, every other code English. Out-of-range numbers give "".
const std::string& MonthName(int month, Language language);
const std::string& MonthShortName(int month, Language language);
const std::string& WeekdayNameOfCode(int weekday, Language language);

// Day number of d's year/month/day; the caller reads d.valid afterwards
// (0 for an impossible date such as 31 February).
int32_t DateToDayNumber(CalendarDate& d);

// Fills d's year, month and day from d.dayNumber (and sets calendar "G").
void DayNumberToDate(CalendarDate& d);

// "Saturday" / "Samstag" for the weekday of a day number.
std::string WeekdayName(int32_t dayNumber, Language language);

// The date of a day number: "July 4, 2010" / "4.Juli 2010"; abbreviated
// "Aug. 4, 2010" / "4.Okt. 2010".
std::string DateText(int32_t dayNumber, bool abbreviated, Language language);

// "2010-07-04", ISO 8601: four-digit year ("0999-05-28"), two-digit month and
// two-digit day.
std::string IsoDateText(const CalendarDate& d);

// "HH:MM" or, with seconds, "HH:MM:SS" for a fraction of a day; any value
// outside [0, 1) (and NaN) gives "XX:XX:XX".
std::string TimeText(double fraction, bool withSeconds);

// Rounds the time of day of a local day value to the nearest half hour;
// exactly a quarter past a half hour rounds down. A value with no time of
// day, or one that is not finite, is left unchanged.
void RoundToHalfHour(double& localDayValue);

// A zone given in seconds west of Greenwich as whole minutes east, rounded
// half to even (negative in the Americas).
int16_t ZoneMinutesEast(int32_t secondsWest);

// The computer's zone in minutes east of Greenwich.
int16_t LocalZoneMinutes();

// One reading of a clock: the local date, the local time of day (hours
// 0..23) and the zone in force at that same instant.
struct ClockReading {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int32_t zoneSecondsWest = 0;
};

// A source of clock readings. The system clock is the default; tests pass
// their own.
using Clock = std::function<ClockReading()>;

// Reads the system clock once.
ClockReading ReadSystemClock();

// The Julian date (UT) of a clock reading.
double JulianDateOf(const ClockReading& r);

// The current Julian date in UT. The clock is read exactly once, so date,
// time and zone belong to the same instant even right at midnight.
double CurrentJulianDate(const Clock& clock = ReadSystemClock);

// Leap year rule: calendar letter 'J' (Julian) makes every fourth year a
// leap year; any other letter uses the Gregorian rule.
bool IsLeapYear(int year, char calendar = 'G');

// Days of a month of a Gregorian year; 0 for a month number outside 1..12.
int DaysInMonth(int month, int year);

}  // namespace vek
