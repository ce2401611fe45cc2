#include "time/dates.h"

#include <array>
#include <cmath>
#include <ctime>
#include <limits>

namespace vek {

namespace {

using Names12 = std::array<std::string, 13>;  // index 0 unused

const Names12 kMonthsEnglish = {"",        "January",  "February", "March",  "April",
                                "May",     "June",     "July",     "August", "September",
                                "October", "November", "December"};
const Names12 kMonthsEnglishShort = {"",     "Jan.", "Feb.",  "Mar.", "Apr.", "May", "June",
                                     "July", "Aug.", "Sept.", "Oct.", "Nov.", "Dec."};
const Names12 kMonthsGerman = {"",        "Januar",   "Februar", "März",   "April",
                               "Mai",     "Juni",     "Juli",    "August", "September",
                               "Oktober", "November", "Dezember"};
const Names12 kMonthsGermanShort = {"",     "Jan.", "Feb.",  "März", "Apr.", "Mai", "Juni",
                                    "Juli", "Aug.", "Sept.", "Okt.", "Nov.", "Dez."};

const std::array<std::string, 7> kWeekdaysEnglish = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                     "Thursday", "Friday", "Saturday"};
const std::array<std::string, 7> kWeekdaysGerman = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                                                    "Donnerstag", "Freitag", "Samstag"};

const std::string kEmpty;

bool IsGerman(Language language) {
    return language == kGerman;
}

std::string TwoDigits(int n) {
    std::string s = std::to_string(n);
    return n < 10 && n >= 0 ? "0" + s : s;
}

}  // namespace

const std::string& MonthName(int month, Language language) {
    if (month < 1 || month > 12) return kEmpty;
    return IsGerman(language) ? kMonthsGerman[month] : kMonthsEnglish[month];
}

const std::string& MonthShortName(int month, Language language) {
    if (month < 1 || month > 12) return kEmpty;
    return IsGerman(language) ? kMonthsGermanShort[month] : kMonthsEnglishShort[month];
}

const std::string& WeekdayNameOfCode(int weekday, Language language) {
    if (weekday < 0 || weekday > 6) return kEmpty;
    return IsGerman(language) ? kWeekdaysGerman[weekday] : kWeekdaysEnglish[weekday];
}

int32_t DateToDayNumber(CalendarDate& d) {
    return platform::date_to_jdn(d);
}

void DayNumberToDate(CalendarDate& d) {
    d.calendar = 'G';
    platform::jdn_to_date(d);
}

std::string WeekdayName(int32_t dayNumber, Language language) {
    return WeekdayNameOfCode(platform::day_of_week(dayNumber), language);
}

std::string DateText(int32_t dayNumber, bool abbreviated, Language language) {
    CalendarDate d;
    d.dayNumber = dayNumber;
    DayNumberToDate(d);
    const std::string& month =
        abbreviated ? MonthShortName(d.month, language) : MonthName(d.month, language);
    if (IsGerman(language)) {
        return std::to_string(d.day) + "." + month + " " + std::to_string(d.year);
    }
    return month + " " + std::to_string(d.day) + ", " + std::to_string(d.year);
}

std::string IsoDateText(const CalendarDate& d) {
    std::string year = std::to_string(d.year);
    if (d.year >= 0 && year.size() < 4) year.insert(0, 4 - year.size(), '0');
    return year + "-" + TwoDigits(d.month) + "-" + TwoDigits(d.day);
}

std::string TimeText(double x, bool withSeconds) {
    if (!(x >= 0.0 && x < 1.0)) return "XX:XX:XX";
    // A small nudge so that times meant as whole minutes, stored a hair
    // below, are not written one second early.
    if (x > 0.0 && x < 0.99999999) x += 1e-8;
    int s = static_cast<int>(std::floor(x * 86400.0));
    if (s >= 86400) s = 86399;
    std::string t = TwoDigits(s / 3600) + ":" + TwoDigits((s / 60) % 60);
    if (withSeconds) t += ":" + TwoDigits(s % 60);
    return t;
}

void RoundToHalfHour(double& v) {
    if (!std::isfinite(v)) return;
    double d = std::floor(v);
    double f = v - d;
    if (f == 0.0) return;
    int m = static_cast<int>(RoundHalfToEven(f * 1440.0));
    int h = m / 30;
    if (m % 30 > 15) {
        ++h;
        if (h == 48) {
            h = 0;
            d += 1.0;
        }
    }
    v = d + h / 48.0;
}

int16_t ZoneMinutesEast(int32_t secondsWest) {
    double minutes = RoundHalfToEven(-static_cast<double>(secondsWest) / 60.0);
    if (minutes > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
    if (minutes < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
    return static_cast<int16_t>(minutes);
}

int16_t LocalZoneMinutes() {
    return ZoneMinutesEast(platform::local_timezone());
}

ClockReading ReadSystemClock() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    ClockReading r;
    r.year = local.tm_year + 1900;
    r.month = local.tm_mon + 1;
    r.day = local.tm_mday;
    r.hour = local.tm_hour;
    r.minute = local.tm_min;
    r.second = local.tm_sec;
    r.zoneSecondsWest = static_cast<int32_t>(-local.tm_gmtoff);
    return r;
}

double JulianDateOf(const ClockReading& r) {
    CalendarDate d;
    d.year = r.year;
    d.month = r.month;
    d.day = r.day;
    d.calendar = 'G';
    int32_t n = DateToDayNumber(d);
    int z = ZoneMinutesEast(r.zoneSecondsWest);
    // Whole seconds since the epoch first and one division last, so that the
    // same instant gives the same Julian date in every zone.
    const int64_t seconds =
        static_cast<int64_t>(n) * 86400 - 43200 + r.hour * 3600 + r.minute * 60 + r.second - z * 60;
    return static_cast<double>(seconds) / 86400.0;
}

double CurrentJulianDate(const Clock& clock) {
    return JulianDateOf(clock ? clock() : ReadSystemClock());
}

bool IsLeapYear(int year, char calendar) {
    if (year % 4 != 0) return false;
    if (year % 100 == 0 && year % 400 != 0) return calendar == 'J';
    return true;
}

int DaysInMonth(int month, int year) {
    switch (month) {
        case 1:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 12:
            return 31;
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        case 2:
            return IsLeapYear(year, 'G') ? 29 : 28;
        default:
            return 0;
    }
}

}  // namespace vek
