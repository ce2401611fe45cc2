// vek-cli positions: the longitudes of the bodies at one instant.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/compute.h"
#include "cli/command.h"
#include "cli/date_time_args.h"
#include "cli/json_writer.h"
#include "cli/place_args.h"
#include "cli/zoned_time.h"
#include "config/program_text.h"
#include "display/chart_table.h"
#include "display/results_text.h"
#include "engine/angle_text.h"
#include "engine/chart.h"
#include "engine/engine.h"
#include "platform/ephemeris.h"
#include "util/paths.h"
#include "util/text.h"

namespace vek::cli {

namespace {

constexpr const char* kName = "positions";

const OptionTable kOptions = {
    {"at", "T",
     "the instant: YYYY-MM-DDTHH:MM followed by Z, +HH:MM / -HH:MM (zones up to 14 hours, "
     "any minute, years 1 to 2799) or a tz zone in brackets, [Europe/Berlin]; nothing after it "
     "with --tz (required)"},
    kTzOption,
    kFoldOption,
    {"lang", "en|de", "language of the body names (default: en)"},
    {"sidereal", nullptr, "sidereal zodiac (default: tropical)"},
    {"no-moon", nullptr, "leave out the Moon"},
    kPlaceOption,
    kLatOption,
    kLonOption,
    kHousesOption,
    kPointsOption,
    {"json", nullptr, "JSON: longitudes in degrees with their texts"},
};

const CommandHelp kHelp = {
    "the longitudes of the Sun, Moon and planets at one instant",
    "positions --at T [--tz ZONE] [--fold earlier|later] [--lang en|de] [--sidereal] "
    "[--no-moon] [--place CITY | --lat LAT --lon LON] [--houses SYSTEM] [--points LIST] [--json]",
    "Prints the Julian date, the ephemeris in use, the zodiac and one line per body: its "
    "number, name, geocentric longitude in degrees, the same in degrees and minutes and in the "
    "sign, and r when it is retrograde. A date in a named zone also gets the zone and the "
    "offset it had then.\n"
    "With a place (--place from the atlas, or --lat and --lon) the Ascendant, the Midheaven and "
    "the twelve house cusps follow in the house system of --houses (Placidus unless given); "
    "where the system is undefined (Placidus and Koch within the polar circles) a line says so "
    "and the cusps are Porphyry's. A place from the atlas also gives its zone to an --at "
    "without one. --points adds the lunar nodes and Chiron.",
    &kOptions,
    {"positions --at 2026-12-08T12:00Z",
     "positions --at 1960-07-04T12:00-05:00 --sidereal --lang de --json",
     "positions --at 1985-03-15T14:47[Europe/Berlin]",
     "positions --at 1985-03-15T14:47 --place Berlin --houses koch --points nodes,chiron"},
};

// The positions as one JSON object.
Status PrintPositionsJson(const Engine& engine, const ProgramTexts& texts, const Chart& c,
                          const ZonedArgument& at, const std::string& ephemeris,
                          const std::string& zodiac, const std::optional<PlaceArgument>& place,
                          const ExtrasRequest& extras) {
    const double jd = at.julianDate;
    JsonWriter w;
    w.BeginDocument();
    w.Key("jd_ut").Number(jd, 6);
    if (at.zoneNamed) {
        w.Key("zone").String(at.zone.IsNamed() ? at.zone.name : OffsetText(at.offsetSeconds));
        w.Key("offset").String(OffsetText(at.offsetSeconds));
        w.Key("offset_seconds").Int(at.offsetSeconds);
    }
    w.Key("ephemeris").String(ephemeris);
    w.Key("zodiac").String(zodiac);
    w.Key("sidereal").Bool(engine.SiderealZodiac);
    w.Key("bodies").BeginArray();
    for (Body b : c.ComputedBodies()) {
        const SkyLongitude position = c.longitude[b][kChartA];
        // The texts of a missing position are those of its code.
        const double l = position.Code();
        w.BeginObject();
        w.Key("index").Int(Index(b));
        w.Key("name").String(engine.names.BodyName[b]);
        if (position) {
            w.Key("longitude_deg").Number(l / kTwoPi * 360.0, 6);
        } else {
            w.Key("code").Int(static_cast<long long>(std::round(l)));
        }
        w.Key("retrograde").Bool(c.retrograde[b][kChartA]);
        w.Key("angle_text").String(AngleText(Radians(l)));
        w.Key("position_text").String(PositionTextShort(Radians(l), engine.names));
        w.EndObject();
    }
    w.EndArray();
    if (const Status written = WriteExtrasJson(w, engine, texts, jd, place, extras); !written)
        return written;
    w.EndObject();
    std::printf("%s\n", w.Text().c_str());
    return Ok();
}

// The positions as the terminal shows them, one line per body.
void PrintPositionsText(const Engine& engine, const ProgramTexts& texts, const Chart& c,
                        const ZonedArgument& at, const std::string& ephemeris,
                        const std::string& zodiac, const std::optional<PlaceArgument>& place,
                        const ExtrasRequest& extras) {
    const double jd = at.julianDate;
    std::printf("Julian date (UT): %.6f\n", jd);
    if (at.zoneNamed) std::printf("Zone: %s\n", ZoneUsedText(at).c_str());
    std::printf("Ephemeris: %s\n", ephemeris.c_str());
    std::printf("Zodiac: %s\n", zodiac.c_str());
    for (Body b : c.ComputedBodies()) {
        const SkyLongitude position = c.longitude[b][kChartA];
        std::string line =
            (Index(b) < 10 ? " " : "") + std::to_string(Index(b)) + "  " + PadRight(engine.names.BodyName[b], 9);
        if (position) {
            const double l = *position;
            char deg[32];
            std::snprintf(deg, sizeof deg, "%11.6f", l / kTwoPi * 360.0);
            line += deg;
            line += "  " + PadRight(AngleText(Radians(l)), 8) + "  " +
                    PadRight(PositionTextShort(Radians(l), engine.names), 8);
            if (c.retrograde[b][kChartA]) line += "  r";
        } else {
            line += PadRight("", 10) + MissingPositionMark(position);
        }
        std::printf("%s\n", TrimTrailingBlanks(line).c_str());
    }
    std::printf("%s", ExtrasText(engine, texts, jd, place, extras, "").c_str());
}

int RunPositions(const std::vector<std::string>& args) {
    Options o;
    const Status parsed = ParseOptions(args, kOptions, o);
    if (!parsed) return BadArguments(kName, parsed.message());
    if (!o.values.count("at")) return BadArguments(kName, "--at is required");
    Result<ZoneOptions> zones = ReadZoneOptions(o);
    if (!zones) return BadArguments(kName, zones.message());
    const Result<std::optional<PlaceArgument>> place = ReadPlaceOptions(o, "");
    if (!place) return BadArguments(kName, place.message());
    const Result<ExtrasRequest> extras =
        ReadExtrasOptions(o, place->has_value(), "--place CITY or --lat and --lon");
    if (!extras) return BadArguments(kName, extras.message());
    // A city's zone stands for --tz when the instant has no zone of its own.
    if (*place && (*place)->atlasPlace && !zones->defaultZone && o.Value("at").size() == 16)
        zones->defaultZone = TimeZone::Named((*place)->atlasPlace->zone);
    const Result<ZonedArgument> at = ParseZonedDateTime(o.Value("at"), *zones);
    if (!at) return BadArguments(kName, at.message());
    const double jd = at->julianDate;
    const Result<Language> lang = ParseLanguage(o.Value("lang", "en"));
    if (!lang) return BadArguments(kName, lang.message());
    const Language language = *lang;

    const Result<ProgramTextTable> table = LoadProgramText(ProgramFolder());
    if (!table) return Failure(kName, table.message());
    const ProgramTexts texts(*table, language);
    Engine engine;
    if (const Status started = StartEngine(engine); !started)
        return Failure(kName, started.message());
    engine.SetLanguage(language);
    engine.SiderealZodiac = o.Has("sidereal");
    engine.IncludeMoon = !o.Has("no-moon");

    SlotDates dates;
    dates[kWorldDate] = JulianDate(jd);
    const Chart c = ComputeChart(engine, Mode::World, dates);
    const std::string zodiac = ZodiacLabel(texts, engine.SiderealZodiac, false);
    const std::string ephemeris = platform::ephemeris_in_use();

    if (o.Has("json")) {
        const Status printed =
            PrintPositionsJson(engine, texts, c, *at, ephemeris, zodiac, *place, *extras);
        if (!printed) return BadArguments(kName, printed.message());
    } else {
        PrintPositionsText(engine, texts, c, *at, ephemeris, zodiac, *place, *extras);
    }
    return 0;
}

}  // namespace

VEK_CLI_COMMAND(positions, "positions", kHelp, RunPositions);

}  // namespace vek::cli
