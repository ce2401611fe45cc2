#include "cli/compute_args.h"

#include <cstdio>
#include <cstdlib>

#include "app/state_file.h"
#include "cli/command.h"
#include "cli/date_time_args.h"
#include "display/houses_section.h"
#include "display/results_text.h"
#include "engine/modes.h"
#include "time/dates.h"
#include "util/paths.h"

namespace vek::cli {

namespace {

struct ModeName {
    const char* name;
    Mode mode;
};
constexpr ModeName kModes[] = {
    {"world", Mode::World},         {"natal1", Mode::Natal1},       {"natal2", Mode::Natal2},
    {"personal1", Mode::Personal1}, {"personal2", Mode::Personal2}, {"synastry", Mode::Synastry},
};

constexpr int kLargestZoneMinutes = 11 * 60 + 30;

// Puts a date-time argument into a date row, which takes times and zones in
// half hours only (zones up to ±11:30). The calendar itself is left to the
// row's conversion, which reports a bad date as the window does.
Status FillDateRow(const std::string& option, const std::string& text, DateRowFields& row) {
    const Result<DateTimeFields> fields = ParseDateTimeFields(text);
    if (!fields) return Fail("--" + option + ": " + fields.message());
    const DateTimeFields& f = *fields;
    if (f.day > 31)
        return Fail("--" + option + ": day " + std::to_string(f.day) + " does not exist");
    if (f.minute != 0 && f.minute != 30)
        return Fail("--" + option + ": " + Quoted(text) +
                    " cannot be entered in a date row: times go in half hours (:00 or :30)");
    if (f.zoneMinutes % 30 != 0 || f.zoneMinutes < -kLargestZoneMinutes ||
        f.zoneMinutes > kLargestZoneMinutes)
        return Fail("--" + option + ": " + Quoted(text) +
                    " cannot be entered in a date row: zones go in half hours from -11:30 to "
                    "+11:30");
    row.monthIndex = f.month;
    row.dayIndex = f.day;
    row.yearText = std::to_string(f.year);
    row.timeIndex = f.hour * 2 + f.minute / 30 + 1;
    row.zoneIndex = f.zoneMinutes / 30 + kGreenwichZoneIndex;
    return Ok();
}

// "+05:45" for an offset in minutes east, as a zone box takes it.
std::string OffsetArgumentText(int minutesEast) {
    const int m = std::abs(minutesEast);
    char text[16];
    std::snprintf(text, sizeof text, "%c%02d:%02d", minutesEast < 0 ? '-' : '+', m / 60, m % 60);
    return text;
}

// Puts a date argument read in a zone of the database (or through --tz) into
// a date row as the window's zone chooser does: the date in the lists, the
// time and the zone through SetTimeAndZone, which keeps a minute or a zone
// the lists lack as the row's own. So the row's conversion, its titles and
// its steps are the window's. A time the clocks skipped or showed twice
// keeps the meaning --fold chose.
Status FillZonedRow(DateSlot slot, const ZonedArgument& a, ComputeSession& s) {
    const DateTimeFields& f = a.local;
    s.rows.Row(slot) = DateRowFields(f.month, f.day, std::to_string(f.year), 0, 0);
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d", f.hour, f.minute);
    const std::string zone =
        a.zone.IsNamed() ? a.zone.name : OffsetArgumentText(a.zone.offsetMinutes);
    if (const Status set = s.rows.SetTimeAndZone(slot, time, zone); !set) return set;
    const Result<LocalTimeMeaning> meaning = s.rows.MeaningOfRowTime(slot);
    if (meaning && meaning->kind != LocalTimeMeaning::Unique) s.rows.Row(slot).fold = s.zones.fold;
    return Ok();
}

// Puts a date argument of the command line into a date row: the zone forms
// through the zone database, the fixed offsets as they always were.
Status ReadRowDate(DateSlot slot, const std::string& option, const std::string& text,
                   ComputeSession& s) {
    // A city's zone stands for --tz when the date has no zone of its own.
    ZoneOptions zones = s.zones;
    const std::optional<PlaceArgument>& place = s.places[slot];
    if (place && place->atlasPlace && !zones.defaultZone && text.size() == 16)
        zones.defaultZone = TimeZone::Named(place->atlasPlace->zone);
    if (!UsesZoneOptions(text, zones)) return FillDateRow(option, text, s.rows.Row(slot));
    const Result<ZonedArgument> zoned = ParseZonedDateTime(text, zones);
    if (!zoned) return Fail("--" + option + ": " + zoned.message());
    if (const Status filled = FillZonedRow(slot, *zoned, s); !filled)
        return Fail("--" + option + ": " + filled.message());
    s.zonesUsed.push_back({option, *zoned});
    return Ok();
}

// The places of the three dates, and the houses and points asked for.
Status ReadPlacesAndExtras(ComputeSession& s) {
    const char* const placeSuffixes[kDateSlotCount] = {"", "1", "2"};
    bool anyPlace = false;
    for (DateSlot slot : AllDateSlots()) {
        const Result<std::optional<PlaceArgument>> place =
            ReadPlaceOptions(s.options, placeSuffixes[Index(slot)]);
        if (!place) return place.error();
        s.places[slot] = *place;
        anyPlace = anyPlace || place->has_value();
    }
    const Result<ExtrasRequest> extras = ReadExtrasOptions(
        s.options, anyPlace, "--place, --place1 or --place2 (or --lat and --lon)");
    if (!extras) return extras.error();
    s.extras = *extras;
    return Ok();
}

}  // namespace

Result<double> ReadInstantOption(const char* option, ComputeSession& s) {
    const std::string text = s.options.Value(option);
    if (!UsesZoneOptions(text, s.zones)) {
        const Result<double> jd = ParseDateTime(text);
        if (!jd) return Fail(std::string("--") + option + ": " + jd.message());
        return jd;
    }
    const Result<ZonedArgument> zoned = ParseZonedDateTime(text, s.zones);
    if (!zoned) return Fail(std::string("--") + option + ": " + zoned.message());
    s.zonesUsed.push_back({option, *zoned});
    return zoned->julianDate;
}

void PrintZonesUsed(const ComputeSession& s) {
    for (const ComputeSession::ZoneUse& u : s.zonesUsed)
        std::printf("Zone of --%s: %s\n", u.option.c_str(), ZoneUsedText(u.argument).c_str());
}

void WriteZonesJson(JsonWriter& w, const ComputeSession& s) {
    if (s.zonesUsed.empty()) return;
    w.Key("zones").BeginArray();
    for (const ComputeSession::ZoneUse& u : s.zonesUsed) {
        const ZonedArgument& a = u.argument;
        w.BeginObject();
        w.Key("option").String(u.option);
        w.Key("zone").String(a.zone.IsNamed() ? a.zone.name : OffsetText(a.offsetSeconds));
        w.Key("offset").String(OffsetText(a.offsetSeconds));
        w.Key("offset_seconds").Int(a.offsetSeconds);
        w.Key("abbreviation").String(a.abbreviation);
        w.EndObject();
    }
    w.EndArray();
}

namespace {
// The date of a slot as the JSON and the text name it.
const char* SlotKey(DateSlot slot) {
    return slot == kWorldDate ? "world" : slot == kBirth1 ? "birth1" : "birth2";
}
}  // namespace

std::string ExtrasOfModeText(const ComputeSession& s) {
    if (s.extras.points.empty() && !s.extras.houses) return "";
    const ModeInfo& m = ModeInfoOf(s.results.ComputedMode);
    std::string out;
    for (int k = 0; k < m.slotCount; ++k) {
        const DateSlot slot = m.dateSlots[static_cast<size_t>(k)];
        out += ExtrasText(s.engine, s.Texts(), s.ComputedDate(slot), s.places[slot], s.extras,
                          SlotKey(slot));
    }
    return out;
}

Status WriteExtrasOfModeJson(JsonWriter& w, const ComputeSession& s) {
    if (s.extras.points.empty() && !s.extras.houses) return Ok();
    const ModeInfo& m = ModeInfoOf(s.results.ComputedMode);
    w.Key("extras").BeginArray();
    for (int k = 0; k < m.slotCount; ++k) {
        const DateSlot slot = m.dateSlots[static_cast<size_t>(k)];
        w.BeginObject();
        w.Key("date").String(SlotKey(slot));
        const Status written =
            WriteExtrasJson(w, s.engine, s.Texts(), s.ComputedDate(slot), s.places[slot], s.extras);
        if (!written) return Fail("--" + std::string(SlotKey(slot)) + ": " + written.message());
        w.EndObject();
    }
    w.EndArray();
    return Ok();
}

std::string HousesReportText(const ComputeSession& s) {
    if (!s.extras.houses) return "";
    const ModeInfo& m = ModeInfoOf(s.results.ComputedMode);
    std::string out;
    for (int k = 0; k < m.slotCount; ++k) {
        const DateSlot slot = m.dateSlots[static_cast<size_t>(k)];
        const std::optional<PlaceArgument>& place = s.places[slot];
        if (!place) continue;
        const double jd = s.ComputedDate(slot);
        const Result<HouseCusps> h = ComputeHouses(s.engine, jd, place->point, *s.extras.houses);
        if (!h) continue;
        std::vector<PointPosition> points;
        for (ExtraPoint p : s.extras.points) points.push_back(ComputeExtraPoint(s.engine, p, jd, false));
        if (!out.empty()) out += "\n";
        if (m.slotCount > 1) out += std::string(SlotKey(slot)) + ":\n";
        out += HousesSectionText(s.Texts(), s.engine.names, s.results.chart, k, *h,
                                 place->point.latitude, points);
    }
    return out;
}

const char* NameOfMode(Mode mode) {
    for (const ModeName& m : kModes)
        if (m.mode == mode) return m.name;
    return "none";
}

std::string TerminalLines(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

namespace {

// The mode of --mode; World when it is not given.
Result<Mode> ReadModeOption(const Options& o) {
    if (!o.values.count("mode")) return Mode::World;
    for (const ModeName& m : kModes)
        if (o.Value("mode") == m.name) return m.mode;
    return Fail("--mode " + Quoted(o.Value("mode")) +
                " is not world, natal1, natal2, personal1, personal2 or synastry");
}

// The options read before the texts are loaded: the command's own, the
// zones, the language and the mode. A failure has its message.
Status ReadLeadingOptions(const std::vector<std::string>& args, const OptionTable& options,
                          ComputeSession& s, Language& language) {
    if (const Status parsed = ParseOptions(args, options, s.options); !parsed) return parsed;
    const Result<ZoneOptions> zones = ReadZoneOptions(s.options);
    if (!zones) return zones.error();
    s.zones = *zones;
    const Result<Language> lang = ParseLanguage(s.options.Value("lang", "en"));
    if (!lang) return lang.error();
    language = *lang;
    const Result<Mode> mode = ReadModeOption(s.options);
    if (!mode) return mode.error();
    s.mode = *mode;
    return Ok();
}

// Takes the date rows and settings of --state, and its mode as "Load from
// ..." does when --mode is not given: natal aspects stay, every other mode
// shows world transits.
Status LoadStateOption(ComputeSession& s, bool modeGiven) {
    const std::string& path = s.options.Value("state");
    AppState state;
    if (const Status loaded = LoadStateFile(path, state); !loaded)
        return Fail(Quoted(path) + ": " + WithQuotedPath(loaded.message(), path));
    s.settings = state.settings;
    for (DateSlot slot : AllDateSlots()) s.rows.Row(slot) = state.dateRows[slot];
    if (!modeGiven)
        s.mode =
            state.mode == Mode::Natal1 || state.mode == Mode::Natal2 ? state.mode : Mode::World;
    return Ok();
}

// The date options of the rows, each replacing its row.
Status ReadRowDateOptions(ComputeSession& s) {
    const char* const rowOptions[kDateSlotCount] = {s.worldOption, "birth1", "birth2"};
    for (DateSlot slot : AllDateSlots()) {
        const char* option = rowOptions[Index(slot)];
        if (!s.options.values.count(option)) continue;
        if (const Status filled = ReadRowDate(slot, option, s.options.Value(option), s); !filled)
            return filled;
    }
    return Ok();
}

// As "Load from ...": when the row of the state file's mode holds no valid
// date, world transits for now, with a warning; a command without that
// fallback fails with the date's message.
Status FallBackFromAStateWithoutDate(const char* command, ComputeSession& s) {
    const DateSlot slot = s.mode == Mode::Natal1   ? kBirth1
                          : s.mode == Mode::Natal2 ? kBirth2
                                                   : kWorldDate;
    const Result<JulianDate> jd = s.rows.InputDateToAJDate(slot);
    if (jd) return Ok();
    const std::string dateError = DateErrorText(s.Texts(), slot, jd.error().code);
    if (!s.worldFallback) return Fail(dateError);
    std::fprintf(stderr, "vek-cli %s: %s; showing world transits for now\n", command,
                 dateError.c_str());
    s.rows.SetWorldDateToNow();
    s.mode = Mode::World;
    return Ok();
}

// The command's switches over the settings. The settings of a state file
// bring their own language; the command's stays.
void ApplySettingOptions(ComputeSession& s) {
    s.settings.accepted.CurrentLanguage = s.language;
    if (s.options.Has("no-moon"))
        s.settings.accepted.IncludeMoon = s.settings.controls.includeMoon = false;
    if (s.options.Has("sidereal"))
        s.settings.accepted.SiderealZodiac = s.settings.controls.sidereal = true;
}

}  // namespace

int RunComputeFromArguments(const char* command, const std::vector<std::string>& args,
                            const OptionTable& options, ComputeSession& s) {
    Language language = kEnglish;
    if (const Status read = ReadLeadingOptions(args, options, s, language); !read)
        return BadArguments(command, read.message());
    const bool modeGiven = s.options.values.count("mode") > 0;
    const bool stateGiven = s.options.values.count("state") > 0;

    if (const Status loaded = s.LoadTexts(ProgramFolder()); !loaded)
        return Failure(command, loaded.message());
    // Texts and month names, and so the dates of the report titles, in the
    // language.
    s.SetLanguage(language);
    s.rows.SetLocalZone(LocalZoneMinutes());
    if (stateGiven)
        if (const Status loaded = LoadStateOption(s, modeGiven); !loaded)
            return BadArguments(command, loaded.message());
    if (const Status places = ReadPlacesAndExtras(s); !places)
        return BadArguments(command, places.message());
    if (const Status dates = ReadRowDateOptions(s); !dates)
        return BadArguments(command, dates.message());
    if (stateGiven && !modeGiven)
        if (const Status fallen = FallBackFromAStateWithoutDate(command, s); !fallen)
            return BadArguments(command, fallen.message());
    ApplySettingOptions(s);

    if (const Status started = StartEngine(s.engine); !started)
        return Failure(command, started.message());
    const ComputeRequest request{s.mode, s.options.Has("radians"), false};
    if (const Status computed = s.Compute(request); !computed) {
        std::fprintf(stderr, "vek-cli %s: %s\n", command, computed.message().c_str());
        return 2;
    }
    return 0;
}

}  // namespace vek::cli
