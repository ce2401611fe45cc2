// Date-time arguments with named time zones: "1985-03-15T14:47[Europe/Berlin]",
// or a date and time without a zone taken in the zone of --tz, with --fold
// choosing the meaning of a local time the clocks skipped or showed twice.
// Arguments with Z or an offset are read exactly as before.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/date_time_args.h"
#include "cli/options.h"
#include "time/date_row_fields.h"
#include "time/zones.h"
#include "util/result.h"

namespace vek::cli {

inline constexpr OptionSpec kTzOption{
    "tz", "ZONE",
    "the zone of the dates given without one: a tz name (vek-cli zones lists them) or +HH:MM"};
inline constexpr OptionSpec kFoldOption{
    "fold", "earlier|later",
    "for a local time the clocks skipped or showed twice: the earlier or the later instant "
    "(default: refuse such a time)"};

// The zone and fold options of a command.
struct ZoneOptions {
    std::optional<TimeZone> defaultZone;  // --tz
    Fold fold = Fold::Ask;                // --fold
};
Result<ZoneOptions> ReadZoneOptions(const Options& o);

// An instant given on the command line and how it was reached.
struct ZonedArgument {
    double julianDate = 0;  // UT
    TimeZone zone;
    int32_t offsetSeconds = 0;
    std::string abbreviation;
    // Whether the argument named its zone, or took it from --tz: only then
    // do the outputs add the zone they used.
    bool zoneNamed = false;
    // The local date and time as given (zoneMinutes unused) and its day number.
    DateTimeFields local;
    int32_t dayNumber = 0;
};

// Whether an argument is of the new kind: a zone in brackets, or no zone at
// all (then it takes --tz).
bool NeedsZoneLookup(std::string_view text);

// Reads "YYYY-MM-DDTHH:MM" followed by Z, +HH:MM / -HH:MM or [ZONE], or with
// nothing after it when --tz gives the zone. A failure names what is wrong
// in one line; a skipped or doubled local time names both offsets and
// --fold.
Result<ZonedArgument> ParseZonedDateTime(std::string_view text, const ZoneOptions& zones);

// "Europe/Berlin, GMT+2:00 (CEST)" for the text outputs.
std::string ZoneUsedText(const ZonedArgument& a);

// Whether a date argument of a date row is read by ParseZonedDateTime: a zone
// in brackets, or no zone with --tz given. The other arguments keep the date
// rows' own reading and messages.
bool UsesZoneOptions(std::string_view text, const ZoneOptions& zones);

}  // namespace vek::cli
