#include "cli/zoned_time.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "time/date_rows.h"
#include "time/dates.h"

namespace vek::cli {

namespace {

constexpr size_t kLocalPartLength = 16;  // "YYYY-MM-DDTHH:MM"

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

}  // namespace vek::cli
