#include "platform/time_zones.h"

#include <date/tz.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>

namespace vek::platform {

namespace {

using std::chrono::seconds;
using SysSeconds = date::sys_seconds;
using LocalSeconds = date::local_seconds;

constexpr const char* kZoneFolder = "/usr/share/zoneinfo";

// The zone files list their transitions through 2037 and leave later years
// to a rule the library does not read, so it would keep the last offset of
// 2037 for ever (winter time all year in Berlin from 2038 on). A later
// instant of a zone that still changed its clocks in its last listed years
// takes the offsets of the last listed year with the same calendar: leap or
// not, and 1 January on the same weekday, so "last Sunday of March" falls on
// the same month day.
constexpr int kLastListedYear = 2037;
constexpr int kFirstCandidateYear = kLastListedYear - 27;  // 28 years hold every kind of year

int64_t DaysOfNewYear(int year) {
    return date::sys_days(date::year{year} / 1 / 1).time_since_epoch().count();
}

int YearOfSeconds(int64_t s) {
    const auto day = date::floor<date::days>(SysSeconds{seconds{s}});
    return int(date::year_month_day(day).year());
}

// The shift in seconds that moves an instant of `year` (after the listed
// years) onto the same month, day and time of an equivalent listed year.
int64_t ShiftToListedYear(int year) {
    const bool leap = date::year{year}.is_leap();
    const auto weekday = date::weekday(date::sys_days(date::year{year} / 1 / 1));
    for (int y = kLastListedYear; y >= kFirstCandidateYear; --y) {
        if (date::year{y}.is_leap() == leap &&
            date::weekday(date::sys_days(date::year{y} / 1 / 1)) == weekday) {
            return (DaysOfNewYear(y) - DaysOfNewYear(year)) * 86400;
        }
    }
    return 0;  // not reached: the 28 candidate years hold every kind of year
}

// Whether an offset period is the zone's last one and began in its last
// listed years, so the zone was still changing its clocks every year there.
bool IsLastYearlyPeriod(const date::sys_info& info) {
    return info.end.time_since_epoch().count() > DaysOfNewYear(kLastListedYear + 1) * 86400 &&
           info.begin.time_since_epoch().count() >= DaysOfNewYear(kLastListedYear - 1) * 86400;
}

// Zone names: letters, digits and "_+-/" only, no empty part, no "." or ".."
// part, so a name can never leave the zone folder.
bool WellFormedName(std::string_view name) {
    if (name.empty() || name.size() > 64 || name.front() == '/' || name.back() == '/') return false;
    for (char c : name) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                        c == '_' || c == '+' || c == '-' || c == '/';
        if (!ok) return false;
    }
    return name.find("//") == std::string_view::npos;
}

Error UnknownZone(std::string_view name) {
    return Fail("unknown time zone \"" + std::string(name) + "\"");
}

// The database's zone of that name, nullptr when there is none or the
// database cannot be read (the library reports both by throwing).
const date::time_zone* FindZone(std::string_view name) {
    if (!WellFormedName(name)) return nullptr;
    try {
        return date::locate_zone(name);
    } catch (const std::exception&) {
        return nullptr;
    }
}

ZoneOffset OffsetOf(const date::sys_info& info) {
    return ZoneOffset{int32_t(info.offset.count()), info.abbrev};
}

}  // namespace

bool IsZoneName(std::string_view name) {
    return FindZone(name) != nullptr;
}

namespace {

// Seconds beyond any the program asks about, for the open ends of the
// zone's first and last periods.
constexpr int64_t kFarSeconds = int64_t(1) << 50;

int64_t Clamped(SysSeconds t) {
    return std::clamp<int64_t>(t.time_since_epoch().count(), -kFarSeconds, kFarSeconds);
}

// The instants of a period as a stretch of seconds.
SameAnswer PeriodOf(const date::sys_info& info) {
    return SameAnswer{Clamped(info.begin), Clamped(info.end)};
}

// The local times that lie inside a period and two days or more from its
// ends: no two offsets differ by two days, so each of them is read
// in this period only.
SameAnswer LocalInsideOf(const date::sys_info& info) {
    const int64_t offset = info.offset.count();
    constexpr int64_t kMargin = 2 * 86400;
    return SameAnswer{Clamped(info.begin) + offset + kMargin, Clamped(info.end) + offset - kMargin};
}

SameAnswer Within(SameAnswer a, SameAnswer b) {
    return SameAnswer{std::max(a.from, b.from), std::min(a.until, b.until)};
}

SameAnswer Shifted(SameAnswer a, int64_t shift) {
    return SameAnswer{a.from - shift, a.until - shift};
}

// The seconds of a calendar year.
SameAnswer YearStretch(int year) {
    return SameAnswer{DaysOfNewYear(year) * 86400, DaysOfNewYear(year + 1) * 86400};
}

// Where the answer of a period holds, taken in the listed years (no shift):
// within the period, and before the first unlisted year for the zone's last
// yearly period, which takes a shift from there on.
SameAnswer Unshifted(SameAnswer inside, const date::sys_info& info) {
    if (!IsLastYearlyPeriod(info)) return inside;
    return Within(inside, SameAnswer{-kFarSeconds, DaysOfNewYear(kLastListedYear + 1) * 86400});
}

// Where the answer holds, or only the second asked about when that lies
// outside (near a change of the clocks).
void Report(SameAnswer* same, SameAnswer where, int64_t asked) {
    if (same == nullptr) return;
    *same = where.from <= asked && asked < where.until ? where : SameAnswer{asked, asked + 1};
}

}  // namespace

Result<ZoneOffset> ZoneOffsetAtInstant(std::string_view name, int64_t utSeconds,
                                       SameAnswer* same) {
    const date::time_zone* zone = FindZone(name);
    if (zone == nullptr) return UnknownZone(name);
    try {
        date::sys_info info = zone->get_info(SysSeconds{seconds{utSeconds}});
        SameAnswer where = Unshifted(PeriodOf(info), info);
        const int year = YearOfSeconds(utSeconds);
        if (year > kLastListedYear && IsLastYearlyPeriod(info)) {
            const int64_t shift = ShiftToListedYear(year);
            where = Within(PeriodOf(info), YearStretch(year));
            info = zone->get_info(SysSeconds{seconds{utSeconds + shift}});
            where = Within(where, Shifted(PeriodOf(info), shift));
        }
        Report(same, where, utSeconds);
        return OffsetOf(info);
    } catch (const std::exception& e) {
        return Fail(std::string("time zone ") + std::string(name) + ": " + e.what());
    }
}

namespace {

LocalTimeOffsets OffsetsOf(const date::local_info& info) {
    LocalTimeOffsets out;
    out.before = OffsetOf(info.first);
    switch (info.result) {
        case date::local_info::nonexistent:
            out.kind = LocalTimeKind::Gap;
            out.after = OffsetOf(info.second);
            break;
        case date::local_info::ambiguous:
            out.kind = LocalTimeKind::Overlap;
            out.after = OffsetOf(info.second);
            break;
        default:
            out.kind = LocalTimeKind::Unique;
            out.after = out.before;
            break;
    }
    return out;
}

}  // namespace

Result<LocalTimeOffsets> ZoneOffsetsAtLocalTime(std::string_view name, int64_t localSeconds,
                                                SameAnswer* same) {
    const date::time_zone* zone = FindZone(name);
    if (zone == nullptr) return UnknownZone(name);
    try {
        date::local_info info = zone->get_info(LocalSeconds{seconds{localSeconds}});
        // A time near a change of the clocks (a gap or an overlap) holds for
        // itself only.
        SameAnswer where{localSeconds, localSeconds + 1};
        if (info.result == date::local_info::unique)
            where = Unshifted(LocalInsideOf(info.first), info.first);
        const int year = YearOfSeconds(localSeconds);
        if (info.result == date::local_info::unique && year > kLastListedYear &&
            IsLastYearlyPeriod(info.first)) {
            const int64_t shift = ShiftToListedYear(year);
            where = Within(LocalInsideOf(info.first), YearStretch(year));
            info = zone->get_info(LocalSeconds{seconds{localSeconds + shift}});
            where = info.result == date::local_info::unique
                        ? Within(where, Shifted(LocalInsideOf(info.first), shift))
                        : SameAnswer{localSeconds, localSeconds + 1};
        }
        Report(same, where, localSeconds);
        return OffsetsOf(info);
    } catch (const std::exception& e) {
        return Fail(std::string("time zone ") + std::string(name) + ": " + e.what());
    }
}

std::vector<std::string> ZoneNames() {
    std::vector<std::string> names;
    try {
        for (const auto& zone : date::get_tzdb().zones) names.push_back(zone.name());
    } catch (const std::exception&) {
        return {};
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::string SystemZoneName() {
    std::string tz;
    if (const char* env = std::getenv("TZ"); env != nullptr && *env != '\0') {
        tz = env;
        if (tz.front() == ':') tz.erase(0, 1);
        // TZ may also hold a path into the zone folder.
        const std::string prefix = std::string(kZoneFolder) + "/";
        if (tz.rfind(prefix, 0) == 0) tz.erase(0, prefix.size());
        return WellFormedName(tz) ? tz : std::string();
    }
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::read_symlink("/etc/localtime", ec);
    if (!ec) {
        const std::string text = target.lexically_normal().string();
        const std::string marker = "zoneinfo/";
        const auto at = text.rfind(marker);
        if (at != std::string::npos) {
            std::string name = text.substr(at + marker.size());
            if (name.rfind("posix/", 0) == 0) name.erase(0, 6);
            if (WellFormedName(name)) return name;
        }
    }
    std::ifstream in("/etc/timezone");
    std::string line;
    if (in && std::getline(in, line)) {
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
        if (WellFormedName(line)) return line;
    }
    return {};
}

std::string ZoneDatabaseVersion() {
    // tzdata.zi begins with "# version 2025b".
    std::ifstream in(std::string(kZoneFolder) + "/tzdata.zi");
    std::string line;
    if (in && std::getline(in, line) && line.rfind("# version ", 0) == 0) return line.substr(10);
    return {};
}

}  // namespace vek::platform
