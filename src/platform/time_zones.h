// The system's time-zone database (the IANA tz files under
// /usr/share/zoneinfo) through the date/tz library: which zone names exist
// and which offset a named zone had at an instant or at a local time, with
// the zone's whole history (daylight saving, changes of standard time, local
// mean time before a zone's first rule).
//
// Instants here are seconds since 1970-01-01 00:00 UT; local times are
// seconds since 1970-01-01 00:00 on the zone's own clock. Offsets are seconds
// east of Greenwich.
//
// The database is read on first use, not at start-up: listing the zone
// folder takes some milliseconds. Every function here may be called from any
// thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "util/result.h"

namespace vek::platform {

// The offset a zone has at one instant and the name the database gives it
// there ("CEST", "LMT", "+0545").
struct ZoneOffset {
    int32_t seconds = 0;
    std::string abbreviation;
};

// What a local time means in a zone. Unique: one offset (`before`, equal to
// `after`). Gap: the clocks skipped this time; `before` is the offset in force
// until the skip, `after` the one from it on. Overlap: the clocks showed this
// time twice, first with `before`, then with `after`.
enum class LocalTimeKind { Unique, Gap, Overlap };

struct LocalTimeOffsets {
    LocalTimeKind kind = LocalTimeKind::Unique;
    ZoneOffset before;
    ZoneOffset after;
};

// Whether `name` is a zone name of the database (case as spelled there).
bool IsZoneName(std::string_view name);

// Where an answer below holds: the seconds [from, until) around the one asked
// about (instants or local times, as asked) for which the same question
// gets the very same answer. It may be narrower than the offset's whole
// period; near a change of the clocks it is the one second asked about.
struct SameAnswer {
    int64_t from = 0;
    int64_t until = 0;
};

// The offset of zone `name` at instant `utSeconds`. Fails with a one-line
// message for a name the database does not know.
Result<ZoneOffset> ZoneOffsetAtInstant(std::string_view name, int64_t utSeconds,
                                       SameAnswer* same = nullptr);

// The offsets a local time of zone `name` may have.
Result<LocalTimeOffsets> ZoneOffsetsAtLocalTime(std::string_view name, int64_t localSeconds,
                                                SameAnswer* same = nullptr);

// Every zone name of the database, sorted, old names kept as links
// ("Asia/Calcutta") included. Empty when the database cannot be read.
std::vector<std::string> ZoneNames();

// The computer's own zone name ("Europe/Berlin") as the TZ variable or
// /etc/localtime names it, without reading the database; "" when neither
// names a zone.
std::string SystemZoneName();

// The version of the database in use ("2025b"), "" when it is unknown.
std::string ZoneDatabaseVersion();

}  // namespace vek::platform
