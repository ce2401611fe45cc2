#include "time/zones.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/time_zones.h"
#include "time/dates.h"

namespace vek {

namespace {

// The day number of 1970-01-01, where the database's seconds count from.
constexpr int64_t kEpochDayNumber = 2440588;
constexpr int64_t kSecondsPerDay = 86400;

int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// What the user typed, safe to show on one line: printable ASCII only, the
// rest as '?', and cut after 40 characters.
std::string Shown(std::string_view text) {
    std::string out;
    for (char c : text.substr(0, 40)) out += (c >= 0x20 && c < 0x7f) ? c : '?';
    if (text.size() > 40) out += "...";
    return out;
}

bool ReadTwoDigits(std::string_view s, size_t at, int& value) {
    if (at + 2 > s.size() || s[at] < '0' || s[at] > '9' || s[at + 1] < '0' || s[at + 1] > '9')
        return false;
    value = (s[at] - '0') * 10 + (s[at + 1] - '0');
    return true;
}

int64_t LocalSecondsOf(LocalMinute local) {
    return (int64_t(local.dayNumber) - kEpochDayNumber) * kSecondsPerDay + int64_t(local.minute) * 60;
}

// The Julian date of a local time at an offset: whole seconds first and one
// division last, so a whole-minute offset gives the very value the minute
// arithmetic of the date rows gives.
double JulianDateAt(LocalMinute local, int32_t offsetSeconds) {
    const int64_t s = int64_t(local.dayNumber) * kSecondsPerDay - kSecondsPerDay / 2 +
                      int64_t(local.minute) * 60 - offsetSeconds;
    return static_cast<double>(s) / double(kSecondsPerDay);
}

std::string LocalText(LocalMinute local) {
    CalendarDate d;
    d.dayNumber = local.dayNumber;
    DayNumberToDate(d);
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d", local.minute / 60, local.minute % 60);
    return IsoDateText(d) + " " + time;
}

Status CheckLocal(LocalMinute local) {
    if (local.minute < 0 || local.minute >= 1440)
        return Fail("minute of the day " + std::to_string(local.minute) + " is outside 0..1439",
                    kErrorOutOfRange);
    if (local.dayNumber < kFirstDayNumber || local.dayNumber > kLastDayNumber)
        return Fail("day number " + std::to_string(local.dayNumber) + " is outside the years 1..2799",
                    kErrorOutOfRange);
    return Ok();
}

}  // namespace

Result<int> ParseZoneOffset(std::string_view text) {
    if (text == "Z") return 0;
    int hours = 0, minutes = 0;
    if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || !ReadTwoDigits(text, 1, hours) ||
        text[3] != ':' || !ReadTwoDigits(text, 4, minutes))
        return Fail("zone offset \"" + Shown(text) + "\" is not Z, +HH:MM or -HH:MM");
    if (minutes > 59 || hours * 60 + minutes > kMaxZoneOffsetMinutes)
        return Fail("zone offset " + std::string(text) + " is outside -14:00..+14:00");
    return (text[0] == '-' ? -1 : 1) * (hours * 60 + minutes);
}

Result<TimeZone> ParseTimeZone(std::string_view text) {
    if (text.empty()) return Fail("no time zone given");
    if (text == "Z" || text[0] == '+' || text[0] == '-') {
        const Result<int> minutes = ParseZoneOffset(text);
        if (!minutes) return minutes.error();
        return TimeZone::Fixed(*minutes);
    }
    if (!platform::IsZoneName(text))
        return Fail("unknown time zone \"" + Shown(text) + "\"", kErrorUnknownZone);
    return TimeZone::Named(std::string(text));
}

std::string OffsetText(int32_t offsetSeconds) {
    if (offsetSeconds == 0) return "GMT";
    const int32_t a = offsetSeconds < 0 ? -offsetSeconds : offsetSeconds;
    char text[24];
    if (a % 60 == 0)
        std::snprintf(text, sizeof text, "GMT%c%d:%02d", offsetSeconds < 0 ? '-' : '+', a / 3600,
                      a / 60 % 60);
    else
        std::snprintf(text, sizeof text, "GMT%c%d:%02d:%02d", offsetSeconds < 0 ? '-' : '+',
                      a / 3600, a / 60 % 60, a % 60);
    return text;
}

std::string ZoneLabel(const TimeZone& zone, int32_t offsetSeconds) {
    return zone.IsNamed() ? zone.name + ", " + OffsetText(offsetSeconds) : OffsetText(offsetSeconds);
}

namespace {

// A named zone's meaning of a local time, and where the same holds.
Result<LocalTimeMeaning> NamedMeaning(const std::string& name, int64_t localSeconds,
                                      platform::SameAnswer* same) {
    const Result<platform::LocalTimeOffsets> found =
        platform::ZoneOffsetsAtLocalTime(name, localSeconds, same);
    if (!found) return Fail(found.message(), kErrorUnknownZone);
    const platform::LocalTimeOffsets& o = *found;
    LocalTimeMeaning m;
    if (o.kind == platform::LocalTimeKind::Unique) {
        m.earlierOffset = m.laterOffset = o.before.seconds;
        m.earlierAbbreviation = m.laterAbbreviation = o.before.abbreviation;
        return m;
    }
    m.kind = o.kind == platform::LocalTimeKind::Gap ? LocalTimeMeaning::Gap : LocalTimeMeaning::Overlap;
    // The larger offset puts the same clock time at the earlier instant.
    const bool beforeFirst = o.before.seconds >= o.after.seconds;
    const platform::ZoneOffset& earlier = beforeFirst ? o.before : o.after;
    const platform::ZoneOffset& later = beforeFirst ? o.after : o.before;
    m.earlierOffset = earlier.seconds;
    m.laterOffset = later.seconds;
    m.earlierAbbreviation = earlier.abbreviation;
    m.laterAbbreviation = later.abbreviation;
    return m;
}

}  // namespace

Result<LocalTimeMeaning> MeaningOfLocalTime(LocalMinute local, const TimeZone& zone) {
    if (Status s = CheckLocal(local); !s) return s.error();
    LocalTimeMeaning m;
    if (!zone.IsNamed()) {
        if (std::abs(zone.offsetMinutes) > kMaxZoneOffsetMinutes)
            return Fail("zone offset " + OffsetText(zone.offsetMinutes * 60) +
                            " is outside -14:00..+14:00",
                        kErrorOutOfRange);
        m.earlierOffset = m.laterOffset = zone.offsetMinutes * 60;
        return m;
    }
    return NamedMeaning(zone.name, LocalSecondsOf(local), nullptr);
}

Result<ZonedInstant> LocalToUniversal(LocalMinute local, const TimeZone& zone, Fold fold) {
    const Result<LocalTimeMeaning> found = MeaningOfLocalTime(local, zone);
    if (!found) return found.error();
    const LocalTimeMeaning& m = *found;
    if (m.kind != LocalTimeMeaning::Unique && fold == Fold::Ask) {
        // The offsets before and after the change, in the order they held.
        const bool gap = m.kind == LocalTimeMeaning::Gap;
        const int32_t from = gap ? m.laterOffset : m.earlierOffset;
        const int32_t to = gap ? m.earlierOffset : m.laterOffset;
        return Fail(LocalText(local) + (gap ? " does not exist in " : " occurs twice in ") +
                        zone.name + " (clocks went from " + OffsetText(from) + " to " +
                        OffsetText(to) + "): earlier " + OffsetText(m.earlierOffset) + " or later " +
                        OffsetText(m.laterOffset),
                    gap ? kErrorLocalTimeSkipped : kErrorLocalTimeTwice);
    }
    const bool later = fold == Fold::Later;
    ZonedInstant out;
    out.offsetSeconds = later ? m.laterOffset : m.earlierOffset;
    out.abbreviation = later ? m.laterAbbreviation : m.earlierAbbreviation;
    out.julianDate = JulianDateAt(local, out.offsetSeconds);
    return out;
}

namespace {

Result<int64_t> SecondsOfJulianDate(double julianDate) {
    // A little wider than the accepted years, so an instant near either end
    // still converts in any zone.
    if (!(julianDate >= kFirstDayNumber - 2.0 && julianDate <= kLastDayNumber + 2.0))
        return Fail("Julian date outside the years 1..2799", kErrorOutOfRange);
    return static_cast<int64_t>(
        std::llround((julianDate - (double(kEpochDayNumber) - 0.5)) * double(kSecondsPerDay)));
}

}  // namespace

Result<int32_t> OffsetAtInstant(double julianDate, const TimeZone& zone) {
    const Result<int64_t> s = SecondsOfJulianDate(julianDate);
    if (!s) return s.error();
    if (!zone.IsNamed()) return zone.offsetMinutes * 60;
    const Result<platform::ZoneOffset> o = platform::ZoneOffsetAtInstant(zone.name, *s);
    if (!o) return Fail(o.message(), kErrorUnknownZone);
    return o->seconds;
}

namespace {

// The local date and time of an instant at an offset.
LocalDateTime LocalAt(int64_t utSeconds, int32_t offsetSeconds, const std::string& abbreviation) {
    LocalDateTime out;
    out.offsetSeconds = offsetSeconds;
    out.abbreviation = abbreviation;
    const int64_t local = utSeconds + offsetSeconds;
    const int64_t days = FloorDiv(local, kSecondsPerDay);
    out.dayNumber = static_cast<int32_t>(days + kEpochDayNumber);
    out.secondOfDay = static_cast<int32_t>(local - days * kSecondsPerDay);
    return out;
}

}  // namespace

Result<LocalDateTime> UniversalToLocal(double julianDate, const TimeZone& zone) {
    const Result<int64_t> s = SecondsOfJulianDate(julianDate);
    if (!s) return s.error();
    if (!zone.IsNamed()) return LocalAt(*s, zone.offsetMinutes * 60, "");
    const Result<platform::ZoneOffset> o = platform::ZoneOffsetAtInstant(zone.name, *s);
    if (!o) return Fail(o.message(), kErrorUnknownZone);
    return LocalAt(*s, o->seconds, o->abbreviation);
}

Result<LocalTimeMeaning> ZoneAnswers::MeaningOf(LocalMinute local) {
    if (!zone_.IsNamed()) return MeaningOfLocalTime(local, zone_);
    if (Status s = CheckLocal(local); !s) return s.error();
    const int64_t seconds = LocalSecondsOf(local);
    if (seconds >= meaningFrom_ && seconds < meaningUntil_) return meaning_;
    platform::SameAnswer same;
    Result<LocalTimeMeaning> m = NamedMeaning(zone_.name, seconds, &same);
    if (m) {
        meaning_ = *m;
        meaningFrom_ = same.from;
        meaningUntil_ = same.until;
    }
    return m;
}

Result<LocalDateTime> ZoneAnswers::LocalOf(double julianDate) {
    if (!zone_.IsNamed()) return UniversalToLocal(julianDate, zone_);
    const Result<int64_t> s = SecondsOfJulianDate(julianDate);
    if (!s) return s.error();
    if (*s < offsetFrom_ || *s >= offsetUntil_) {
        platform::SameAnswer same;
        const Result<platform::ZoneOffset> o = platform::ZoneOffsetAtInstant(zone_.name, *s, &same);
        if (!o) return Fail(o.message(), kErrorUnknownZone);
        offset_ = o->seconds;
        abbreviation_ = o->abbreviation;
        offsetFrom_ = same.from;
        offsetUntil_ = same.until;
    }
    return LocalAt(*s, offset_, abbreviation_);
}

std::string IsoInstantText(double julianDate, const TimeZone& zone) {
    if (!std::isfinite(julianDate)) return "";
    const Result<LocalDateTime> l = UniversalToLocal(std::round(julianDate * 1440) / 1440, zone);
    if (!l) return "";
    CalendarDate d;
    d.dayNumber = l->dayNumber;
    DayNumberToDate(d);
    const int32_t off = l->offsetSeconds < 0 ? -l->offsetSeconds : l->offsetSeconds;
    const bool seconds = off % 60 != 0;
    char buf[64];
    if (seconds) {
        std::snprintf(buf, sizeof buf, "T%02d:%02d:%02d%c%02d:%02d:%02d", l->secondOfDay / 3600,
                      l->secondOfDay / 60 % 60, l->secondOfDay % 60,
                      l->offsetSeconds < 0 ? '-' : '+', off / 3600, off / 60 % 60, off % 60);
    } else {
        std::snprintf(buf, sizeof buf, "T%02d:%02d%c%02d:%02d", l->secondOfDay / 3600,
                      l->secondOfDay / 60 % 60, l->offsetSeconds < 0 ? '-' : '+', off / 3600,
                      off / 60 % 60);
    }
    return IsoDateText(d) + buf;
}

Result<double> StartOfLocalDay(int32_t dayNumber, const TimeZone& zone) {
    const LocalMinute midnight{dayNumber, 0};
    const Result<LocalTimeMeaning> m = MeaningOfLocalTime(midnight, zone);
    if (!m) return m.error();
    // Where midnight was skipped the day begins at the jump, which is the
    // later of the two instants 00:00 may mean; a midnight shown twice
    // begins the day at its first showing.
    const Result<ZonedInstant> start = LocalToUniversal(
        midnight, zone, m->kind == LocalTimeMeaning::Gap ? Fold::Later : Fold::Earlier);
    if (!start) return start.error();
    return start->julianDate;
}

std::vector<std::string> MatchingZoneNames(std::string_view text) {
    auto lower = [](std::string_view s) {
        std::string out(s);
        for (char& c : out)
            if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        return out;
    };
    const std::string wanted = lower(text);
    std::vector<std::string> out;
    for (const std::string& name : platform::ZoneNames())
        if (lower(name).find(wanted) != std::string::npos) out.push_back(name);
    return out;
}

}  // namespace vek
