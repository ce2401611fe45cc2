#include "cli/zoned_time.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "time/date_rows.h"
#include "time/dates.h"

namespace vek::cli {

namespace {

constexpr size_t kLocalPartLength = 16;  // "YYYY-MM-DDTHH:MM"
constexpr int kLargestRowZoneMinutes = 11 * 60 + 30;
constexpr int32_t kSecondsPerDay = 86400;
constexpr int32_t kHalfHour = 1800;

// Floor of a / b for b > 0.
int64_t FloorDiv(int64_t a, int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// "1985-03-15T14:30+01:00" for a local day and second with an offset in
// minutes.
std::string ArgumentText(int64_t dayNumber, int64_t second, int offsetMinutes) {
    CalendarDate d;
    d.dayNumber = static_cast<int32_t>(dayNumber);
    DayNumberToDate(d);
    const int m = std::abs(offsetMinutes);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d%c%02d:%02d", d.year, d.month, d.day,
                  static_cast<int>(second / 3600), static_cast<int>(second % 3600 / 60),
                  offsetMinutes < 0 ? '-' : '+', m / 60, m % 60);
    return text;
}

}  // namespace

Result<ZoneOptions> ReadZoneOptions(const Options& o) {
    ZoneOptions z;
    if (o.values.count("tz")) {
        const Result<TimeZone> zone = ParseTimeZone(o.Value("tz"));
        if (!zone) return Fail("--tz: " + zone.message());
        z.defaultZone = *zone;
    }
    if (o.values.count("fold")) {
        const std::string fold = o.Value("fold");
        if (fold == "earlier")
            z.fold = Fold::Earlier;
        else if (fold == "later")
            z.fold = Fold::Later;
        else
            return Fail("--fold " + Quoted(fold) + " is not earlier or later");
    }
    return z;
}

bool NeedsZoneLookup(std::string_view text) {
    return text.size() == kLocalPartLength ||
           (text.size() > kLocalPartLength &&
            (text.back() == ']' || text.find('[') != std::string_view::npos));
}

Result<ZonedArgument> ParseZonedDateTime(std::string_view text, const ZoneOptions& zones) {
    ZonedArgument out;
    if (!NeedsZoneLookup(text) || (text.size() == kLocalPartLength && !zones.defaultZone)) {
        // Z or an offset: the arithmetic of the minutes as it always was.
        const Result<double> jd = ParseDateTime(text);
        if (!jd) return jd.error();
        const Result<DateTimeFields> f = ParseDateTimeFields(text);
        out.julianDate = *jd;
        out.zone = TimeZone::Fixed(f->zoneMinutes);
        out.offsetSeconds = f->zoneMinutes * 60;
        return out;
    }
    const std::string_view local = text.substr(0, kLocalPartLength);
    const std::string_view rest = text.substr(kLocalPartLength);
    TimeZone zone;
    if (rest.empty()) {
        zone = *zones.defaultZone;
    } else {
        if (rest.front() != '[' || rest.back() != ']' || rest.size() < 3)
            return Fail(Quoted(text) +
                        " is not a date and time like 1985-03-15T14:47[Europe/Berlin] (zone Z, "
                        "+HH:MM / -HH:MM or a name in brackets)");
        const Result<TimeZone> named = ParseTimeZone(rest.substr(1, rest.size() - 2));
        if (!named) return named.error();
        zone = *named;
    }
    // The local part is checked as an argument with zone Z would be.
    const Result<DateTimeFields> fields = ParseDateTimeFields(std::string(local) + "Z");
    if (!fields) return fields.error();
    const DateTimeFields& f = *fields;
    const Result<int32_t> day = DayNumberOfFields(f, text);
    if (!day) return day.error();
    const int32_t dayNumber = *day;
    const Result<ZonedInstant> instant =
        LocalToUniversal(LocalMinute{dayNumber, f.hour * 60 + f.minute}, zone, zones.fold);
    if (!instant) {
        const int code = instant.error().code;
        if (code == kErrorLocalTimeSkipped || code == kErrorLocalTimeTwice)
            return Fail(instant.message() + "; choose one with --fold earlier or --fold later", code);
        return instant.error();
    }
    out.julianDate = instant->julianDate;
    out.zone = zone;
    out.offsetSeconds = instant->offsetSeconds;
    out.abbreviation = instant->abbreviation;
    out.zoneNamed = true;
    out.local = f;
    out.dayNumber = dayNumber;
    return out;
}

std::string ZoneUsedText(const ZonedArgument& a) {
    std::string text = ZoneLabel(a.zone, a.offsetSeconds);
    if (!a.abbreviation.empty() && a.abbreviation[0] != '+' && a.abbreviation[0] != '-')
        text += " (" + a.abbreviation + ")";
    return text;
}

bool UsesZoneOptions(std::string_view text, const ZoneOptions& zones) {
    return NeedsZoneLookup(text) && (text.size() > kLocalPartLength || zones.defaultZone);
}

bool FitsDateRow(const ZonedArgument& a) {
    return a.local.minute % 30 == 0 && a.offsetSeconds % kHalfHour == 0 &&
           std::abs(a.offsetSeconds) <= kLargestRowZoneMinutes * 60;
}

namespace {

// The nearest instant the lists hold: the nearest offset of the list (a
// half hour exactly between two goes to the one nearer Greenwich, as +5:45
// does for the computer's zone), then the instant at that offset rounded to
// the nearest half hour (halves to the earlier).
struct NearestInRow {
    int64_t dayNumber = 0;
    int64_t second = 0;      // of the local day
    int zoneMinutes = 0;     // a list offset
    int64_t movedSeconds = 0;  // how much later than the argument (negative: earlier)
};

NearestInRow NearestRowInstant(const ZonedArgument& a) {
    const DateTimeFields& f = a.local;
    const int32_t offset = a.offsetSeconds;
    NearestInRow n;
    n.zoneMinutes =
        std::min(kLargestRowZoneMinutes, (std::abs(offset) + kHalfHour / 2 - 1) / kHalfHour * 30);
    if (offset < 0) n.zoneMinutes = -n.zoneMinutes;
    const int64_t universal = static_cast<int64_t>(f.hour) * 3600 + f.minute * 60 - offset;
    const int64_t shifted = universal + n.zoneMinutes * 60;
    const int64_t rounded = FloorDiv(shifted + kHalfHour / 2 - 1, kHalfHour) * kHalfHour;
    const int64_t days = FloorDiv(rounded, kSecondsPerDay);
    n.dayNumber = a.dayNumber + days;
    n.second = rounded - days * kSecondsPerDay;
    n.movedSeconds = (rounded - n.zoneMinutes * 60) - universal;
    return n;
}

}  // namespace

DateRowFields DateRowOfZoned(const ZonedArgument& a) {
    DateRowFields row;
    if (FitsDateRow(a)) {
        const DateTimeFields& f = a.local;
        row.monthIndex = f.month;
        row.dayIndex = f.day;
        row.yearText = std::to_string(f.year);
        row.timeIndex = f.hour * 2 + f.minute / 30 + 1;
        row.zoneIndex = a.offsetSeconds / kHalfHour + kGreenwichZoneIndex;
        return row;
    }
    const NearestInRow n = NearestRowInstant(a);
    CalendarDate d;
    d.dayNumber = static_cast<int32_t>(n.dayNumber);
    DayNumberToDate(d);
    row.monthIndex = d.month;
    row.dayIndex = d.day;
    row.yearText = std::to_string(d.year);
    row.timeIndex = static_cast<int>(n.second / kHalfHour) + 1;
    row.zoneIndex = n.zoneMinutes / 30 + kGreenwichZoneIndex;
    return row;
}

std::string NotInDateRowMessage(const ZonedArgument& a, std::string_view option,
                                std::string_view text) {
    const NearestInRow n = NearestRowInstant(a);
    const int64_t minutes = (std::abs(n.movedSeconds) + 30) / 60;
    std::string nearest = ArgumentText(n.dayNumber, n.second, n.zoneMinutes);
    if (minutes != 0)
        nearest += " (" + std::to_string(minutes) + (minutes == 1 ? " minute " : " minutes ") +
                   (n.movedSeconds < 0 ? "earlier" : "later") + ")";
    else
        nearest += " (the same instant)";
    char time[8];
    std::snprintf(time, sizeof time, "%02d:%02d", a.local.hour, a.local.minute);
    return "--" + std::string(option) + ": " + Quoted(text) + " is " + time + " at " +
           OffsetText(a.offsetSeconds) +
           ", which a date row cannot hold (times and zones go in half hours, zones from "
           "-11:30 to +11:30); the nearest it holds is " +
           nearest;
}

std::string ExactDateText(const ZonedArgument& a, bool abbreviated, Language language) {
    char time[8];
    std::snprintf(time, sizeof time, "%02d:%02d", a.local.hour, a.local.minute);
    return DateText(a.dayNumber, abbreviated, language) + ", " + time + " (" +
           OffsetText(a.offsetSeconds) + ")";
}

}  // namespace vek::cli
