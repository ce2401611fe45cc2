// The arguments of "vek-cli compute" for commands that report on a compute's
// results: the mode, the date rows (from --world/--birth1/--birth2 or a state
// file), the language and the settings switches, then the compute itself.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/compute.h"
#include "app/program_state.h"
#include "cli/json_writer.h"
#include "cli/options.h"
#include "cli/place_args.h"
#include "cli/zoned_time.h"
#include "config/settings.h"
#include "engine/engine.h"
#include "time/date_rows.h"

namespace vek::cli {

// Everything a compute from the command line leaves behind: the program
// state it ran on (texts, language, engine, rows, settings, results), the
// options and the mode computed.
struct ComputeSession : ProgramState {
    Options options;  // also the command's own options
    // Whether a state file whose mode row holds no valid date falls back to
    // world transits for now, as "Load from ..." does, with a warning. A
    // command without world transits (the report) takes the date error as
    // its one error instead.
    bool worldFallback = true;
    // The option that gives the World date, named in its messages.
    const char* worldOption = "world";
    Mode mode = Mode::World;
    ZoneOptions zones;  // --tz and --fold
    // The date options given in a named zone (or through --tz), in the
    // order read, with the zone and offset each was read in.
    struct ZoneUse {
        std::string option;
        ZonedArgument argument;
    };
    std::vector<ZoneUse> zonesUsed;
    // The places of the dates (--place/--lat/--lon, --place1.., --place2..)
    // and the houses and points asked for, where the command takes them.
    SlotArray<std::optional<PlaceArgument>> places;
    ExtrasRequest extras;
    // The Julian date a slot was computed for.
    double ComputedDate(DateSlot slot) const { return results.DateJD[slot].days; }
};

// The options of the compute arguments as the commands' tables list them.
// The commands that take every mode share kAnyModeOption; the others word
// their own --mode, whose choices differ.
inline constexpr OptionSpec kAnyModeOption{
    "mode", "MODE",
    "world, natal1, natal2, personal1, personal2 or synastry (default: world; with --state the "
    "mode of the file when it is natal1 or natal2, else world)"};
inline constexpr OptionSpec kWorldOption{"world", "T", "the World date"};
inline constexpr OptionSpec kBirth1Option{"birth1", "T", "the 1st birthdate"};
inline constexpr OptionSpec kBirth2Option{"birth2", "T", "the 2nd birthdate"};
inline constexpr OptionSpec kStateOption{
    "state", "FILE",
    "take the date rows, the mode and the settings from a state file saved by vek "
    "(\"Save as ...\"); dates given as options replace those of the file"};
inline constexpr OptionSpec kLangOption{"lang", "en|de",
                                        "language of the texts and names (default: en)"};
inline constexpr OptionSpec kNoMoonOption{"no-moon", nullptr, "leave out the Moon"};
inline constexpr OptionSpec kSiderealOption{"sidereal", nullptr,
                                            "sidereal zodiac (default: tropical)"};
inline constexpr OptionSpec kJsonOption{"json", nullptr, "JSON instead of text"};
// Accepted by every compute, though only the aspect table shows it.
inline constexpr OptionSpec kHiddenRadiansOption{"radians", nullptr, nullptr};

// What the help of the commands on the date rows says of a date T.
#define VEK_CLI_DATE_HELP \
    "A date T is YYYY-MM-DDTHH:MM followed by Z, +HH:MM / -HH:MM or a tz zone in brackets " \
    "([Europe/Berlin]; the offset in force at that date), or nothing with --tz ZONE; a local " \
    "time the clocks skipped or showed twice needs --fold earlier|later. With Z or an offset, " \
    "as in the window's date rows, the minutes are :00 or :30 and the zones go from -11:30 to " \
    "+11:30 in half hours; a date in a named zone or through --tz may have any minute and " \
    "offset and is computed at its own instant. Years 1 to 2799. The zones used are named " \
    "before the results."

// Reads the compute arguments and the command's own options, all named in
// the command's table, loads the program text and the engine's data, and
// runs the compute. Returns 0 on success; otherwise the message has been
// printed on stderr and the result is the exit status (2 bad arguments or
// dates, 1 other failures).
int RunComputeFromArguments(const char* command, const std::vector<std::string>& args,
                            const OptionTable& options, ComputeSession& s);

// Reads the instant of a date option that is not a date row (find --to) as
// the rows' options are read: the three zone forms, --tz and --fold. A failure
// carries "--OPTION: " and the message.
Result<double> ReadInstantOption(const char* option, ComputeSession& s);

// "Zone of --world: Europe/Berlin, GMT+1:00 (CET)" on stdout, one line for
// each date option given in a named zone; nothing for the other forms.
void PrintZonesUsed(const ComputeSession& s);
// The same as the JSON key "zones": a list of {option, zone, offset,
// offset_seconds, abbreviation}; left out when no option named a zone.
void WriteZonesJson(JsonWriter& w, const ComputeSession& s);

// The points, places and houses of the dates of the computed mode as text
// (empty when none was asked for) and as the JSON key "extras".
std::string ExtrasOfModeText(const ComputeSession& s);
Status WriteExtrasOfModeJson(JsonWriter& w, const ComputeSession& s);
// The houses sections of the natal report for the dates of the mode that
// have a place (empty without one).
std::string HousesReportText(const ComputeSession& s);

// "world", "natal1", ... for a mode.
const char* NameOfMode(Mode mode);

// A text's CR LF line ends as LF for the terminal.
std::string TerminalLines(std::string text);

}  // namespace vek::cli
