#include "cli/date_time_args.h"

#include <cstdint>

#include "cli/options.h"
#include "platform/calendar.h"

namespace vek::cli {

namespace {

constexpr const char* kDateTimeExample = "2026-12-08T14:30+01:00";
constexpr int kMaxZoneMinutes = 14 * 60;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads `count` digits at text[pos]; false when any is not a digit.
bool ReadDigits(std::string_view text, size_t pos, size_t count, int& value) {
    if (pos + count > text.size()) return false;
    value = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        if (!IsDigit(text[i])) return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

Result<DateTimeFields> ParseDateTimeFields(std::string_view text) {
    const std::string shape = Quoted(text) + " is not a date and time like " + kDateTimeExample +
                              " (zone Z or +HH:MM / -HH:MM)";
    if (text.empty())
        return Fail(std::string("no date and time given; expected e.g. ") + kDateTimeExample);
    DateTimeFields f;
    if (text.size() < 17 || !ReadDigits(text, 0, 4, f.year) || text[4] != '-' ||
        !ReadDigits(text, 5, 2, f.month) || text[7] != '-' || !ReadDigits(text, 8, 2, f.day) ||
        text[10] != 'T' || !ReadDigits(text, 11, 2, f.hour) || text[13] != ':' ||
        !ReadDigits(text, 14, 2, f.minute))
        return Fail(shape);
    std::string_view zone = text.substr(16);
    if (zone != "Z") {
        int zh, zm;
        if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || !ReadDigits(zone, 1, 2, zh) ||
            zone[3] != ':' || !ReadDigits(zone, 4, 2, zm))
            return Fail(shape);
        if (zm > 59 || zh * 60 + zm > kMaxZoneMinutes)
            return Fail("zone offset " + std::string(zone) + " is outside -14:00..+14:00");
        f.zoneMinutes = (zone[0] == '-' ? -1 : 1) * (zh * 60 + zm);
    }
    if (f.month < 1 || f.month > 12)
        return Fail("month " + std::to_string(f.month) + " does not exist");
    if (f.hour > 23) return Fail("hour " + std::to_string(f.hour) + " is outside 00..23");
    if (f.minute > 59) return Fail("minute " + std::to_string(f.minute) + " is outside 00..59");
    return f;
}

Result<int32_t> DayNumberOfFields(const DateTimeFields& f, std::string_view text) {
    if (f.year < 1 || f.year > 2799)
        return Fail("year " + std::to_string(f.year) + " is outside 1..2799");
    platform::CalendarDate d;
    d.year = f.year;
    d.month = f.month;
    d.day = f.day;
    const int32_t dayNumber = platform::date_to_jdn(d);
    if (!d.valid) return Fail(Quoted(text.substr(0, 10)) + " is not a date");
    return dayNumber;
}

Result<double> ParseDateTime(std::string_view text) {
    const Result<DateTimeFields> fields = ParseDateTimeFields(text);
    if (!fields) return fields.error();
    const DateTimeFields& f = *fields;
    const Result<int32_t> day = DayNumberOfFields(f, text);
    if (!day) return day.error();
    const int32_t dayNumber = *day;
    // The day number counts from noon; local midnight is half a day earlier.
    // Whole minutes first and one division last, as the date rows do: the
    // same instant gives the same Julian date in every zone.
    const int64_t minutes =
        static_cast<int64_t>(dayNumber) * 1440 - 720 + f.hour * 60 + f.minute - f.zoneMinutes;
    return static_cast<double>(minutes) / 1440.0;
}

}  // namespace vek::cli
