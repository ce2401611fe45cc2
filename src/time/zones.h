// Time zones as the user gives them, a fixed offset from Greenwich or a named
// zone of the tz database, and the conversions between a local date and time
// to the minute and a Julian date in Universal Time.
//
// A named zone is read with its history: the offset in force at the date in
// question, daylight saving included. A local time the clocks skipped (a
// gap) or showed twice (an overlap) has two possible offsets; the
// conversions report both and convert only when the caller has chosen one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "util/result.h"

namespace vek {

// Fixed offsets reach from −14:00 to +14:00 in whole minutes.
inline constexpr int kMaxZoneOffsetMinutes = 14 * 60;

// Error codes of the conversions, for callers that react to the kind of
// failure (the message says the same in words).
inline constexpr int kErrorUnknownZone = 20;
inline constexpr int kErrorLocalTimeSkipped = 21;  // inside a gap
inline constexpr int kErrorLocalTimeTwice = 22;    // inside an overlap
inline constexpr int kErrorOutOfRange = 23;        // a minute or day outside the accepted range

// A zone: a fixed offset in minutes east of Greenwich, or, when `name` is not
// empty, the database's zone of that name (offsetMinutes is then unused).
struct TimeZone {
    std::string name;
    int offsetMinutes = 0;

    bool IsNamed() const { return !name.empty(); }
    static TimeZone Fixed(int minutesEast) { return TimeZone{"", minutesEast}; }
    static TimeZone Named(std::string zoneName) { return TimeZone{std::move(zoneName), 0}; }
    bool operator==(const TimeZone&) const = default;
};

// Reads an offset "Z", "+HH:MM" or "-HH:MM" (−14:00..+14:00) into minutes
// east. A failure names what is wrong in one line.
Result<int> ParseZoneOffset(std::string_view text);

// Reads a zone: an offset as ParseZoneOffset takes it, or a zone name of the
// database ("Europe/Berlin", "UTC"). An unknown name fails with
// kErrorUnknownZone.
Result<TimeZone> ParseTimeZone(std::string_view text);

// An offset in seconds east as the zone lists write it: "GMT" for zero,
// else "GMT+2:00", "GMT-9:30", "GMT+5:45", and seconds where the offset has
// them ("GMT+0:53:28", local mean time).
std::string OffsetText(int32_t offsetSeconds);

// "Europe/Berlin, GMT+2:00" for a named zone, "GMT+2:00" for a fixed one.
std::string ZoneLabel(const TimeZone& zone, int32_t offsetSeconds);

// A local date and time to the minute: the day number of the date and the
// minute of the day, 0..1439.
struct LocalMinute {
    int32_t dayNumber = 0;
    int minute = 0;
};

// Which of the two meanings of a skipped or doubled local time to take:
// Earlier gives the earlier instant, Later the later one. Ask takes neither
// and fails with a message naming both.
enum class Fold { Ask, Earlier, Later };

// What a local time means in a zone. For a unique time both offsets are the
// same. For a gap or an overlap `earlier` is the offset that makes the local
// time the earlier instant and `later` the one that makes it the later
// instant; in an overlap that is the offset before the change and the one
// after it, in a gap the other way round.
struct LocalTimeMeaning {
    enum Kind { Unique, Gap, Overlap } kind = Unique;
    int32_t earlierOffset = 0;  // seconds east
    int32_t laterOffset = 0;
    std::string earlierAbbreviation;  // "CEST"; "" for a fixed offset
    std::string laterAbbreviation;
};

Result<LocalTimeMeaning> MeaningOfLocalTime(LocalMinute local, const TimeZone& zone);

// An instant with the offset used to reach it.
struct ZonedInstant {
    double julianDate = 0;   // UT
    int32_t offsetSeconds = 0;
    std::string abbreviation;  // "" for a fixed offset
};

// The Julian date (UT) of a local time in a zone. A gap or an overlap with
// Fold::Ask fails with kErrorLocalTimeSkipped or kErrorLocalTimeTwice and a
// message naming the local time, the zone and both offsets.
Result<ZonedInstant> LocalToUniversal(LocalMinute local, const TimeZone& zone,
                                      Fold fold = Fold::Ask);

// The offset (seconds east) in force in a zone at a Julian date (UT).
Result<int32_t> OffsetAtInstant(double julianDate, const TimeZone& zone);

// A local date and time to the second with the offset in force.
struct LocalDateTime {
    int32_t dayNumber = 0;
    int32_t secondOfDay = 0;  // 0..86399
    int32_t offsetSeconds = 0;
    std::string abbreviation;
};

// The local date and time of a Julian date (UT) in a zone, the instant
// rounded to the nearest second.
Result<LocalDateTime> UniversalToLocal(double julianDate, const TimeZone& zone);

// MeaningOfLocalTime and UniversalToLocal for one zone, for a caller that
// asks about many nearby times (a search's steps): the database's answer is
// kept with the stretch of time in which it gives the same one, and a
// question inside that stretch gets it without a lookup. The answers are
// those of the two functions.
class ZoneAnswers {
  public:
    explicit ZoneAnswers(TimeZone zone) : zone_(std::move(zone)) {}

    Result<LocalTimeMeaning> MeaningOf(LocalMinute local);
    Result<LocalDateTime> LocalOf(double julianDate);

  private:
    TimeZone zone_;
    // The local seconds [meaningFrom_, meaningUntil_) that mean meaning_,
    // and the instants [offsetFrom_, offsetUntil_) of offset_; empty at
    // first.
    int64_t meaningFrom_ = 0;
    int64_t meaningUntil_ = 0;
    LocalTimeMeaning meaning_;
    int64_t offsetFrom_ = 0;
    int64_t offsetUntil_ = 0;
    int32_t offset_ = 0;
    std::string abbreviation_;
};

// An instant to the minute as ISO 8601 with the offset in force in the zone
// then, "2026-12-08T14:05+01:00" ("+00:00" for Greenwich); with seconds in
// both where the offset has them (local mean time). Empty when the instant
// cannot be converted.
std::string IsoInstantText(double julianDate, const TimeZone& zone);

// The Julian date (UT) at which a local day of the zone begins: its
// midnight, or, where the clocks skipped midnight, the instant they jumped.
Result<double> StartOfLocalDay(int32_t dayNumber, const TimeZone& zone);

// The zone names of the database whose name contains `text` (case does not
// matter), sorted; all of them for an empty text.
std::vector<std::string> MatchingZoneNames(std::string_view text);

}  // namespace vek
