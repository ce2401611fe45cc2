#include "platform/calendar.h"

#include <cmath>
#include <ctime>
#include <limits>

namespace vek::platform {

namespace {
bool IsLeap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysIn(int64_t y, int m) {
    static const int kDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m];
}

// Floor division for possibly negative numerators.
int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Julian Day Number of a proleptic Gregorian date (valid for all years).
int64_t Jdn(int64_t y, int64_t m, int64_t d) {
    int64_t a = FloorDiv(14 - m, 12);
    int64_t yy = y + 4800 - a;
    int64_t mm = m + 12 * a - 3;
    return d + FloorDiv(153 * mm + 2, 5) + 365 * yy + FloorDiv(yy, 4) - FloorDiv(yy, 100) +
           FloorDiv(yy, 400) - 32045;
}

void FromJdn(int64_t jdn, int64_t& y, int64_t& m, int64_t& d) {
    int64_t a = jdn + 32044;
    int64_t b = FloorDiv(4 * a + 3, 146097);
    int64_t c = a - FloorDiv(146097 * b, 4);
    int64_t dd = FloorDiv(4 * c + 3, 1461);
    int64_t e = c - FloorDiv(1461 * dd, 4);
    int64_t mm = FloorDiv(5 * e + 2, 153);
    d = e - FloorDiv(153 * mm + 2, 5) + 1;
    m = mm + 3 - 12 * FloorDiv(mm, 10);
    y = 100 * b + dd - 4800 + FloorDiv(mm, 10);
}
}  // namespace

int32_t date_to_jdn(CalendarDate& d) {
    d.valid = 0;
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > DaysIn(d.year, d.month)) return 0;
    int64_t n = Jdn(d.year, d.month, d.day);
    if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
        return 0;
    d.valid = 1;
    return static_cast<int32_t>(n);
}

void jdn_to_date(CalendarDate& d) {
    int64_t y, m, day;
    FromJdn(d.dayNumber, y, m, day);
    d.year = static_cast<int32_t>(y);
    d.month = static_cast<int32_t>(m);
    d.day = static_cast<int32_t>(day);
}

int day_of_week(int32_t dayNumber) {
    // JDN 0 was a Monday; weekday 0 is Sunday.
    int64_t w = (static_cast<int64_t>(dayNumber) + 1) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

int32_t local_timezone() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<int32_t>(-local.tm_gmtoff);
}

int zone_as_listed(int minutesEast) {
    return minutesEast == 5 * 60 + 45 ? 5 * 60 + 30 : minutesEast;
}

void julian_date(double jd, const char* /*calendarLetter*/, int32_t* year, int32_t* month,
                 int32_t* day, int32_t* unused) {
    int32_t y = 0, m = 0, d = 0;
    if (std::isfinite(jd)) {
        // Clamp to what a 32-bit day number can hold before converting.
        double n = std::floor(jd + 0.5);
        if (n > 2.0e9) n = 2.0e9;
        if (n < -2.0e9) n = -2.0e9;
        CalendarDate c;
        c.dayNumber = static_cast<int32_t>(n);
        jdn_to_date(c);
        y = c.year;
        m = c.month;
        d = c.day;
    }
    if (year) *year = y;
    if (month) *month = m;
    if (day) *day = d;
    if (unused) *unused = 0;
}

int32_t calendar_year_of(double jd) {
    int32_t y = 0;
    julian_date(jd, "A", &y, nullptr, nullptr, nullptr);
    return y;
}

}  // namespace vek::platform
