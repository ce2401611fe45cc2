#include "cli/compute_args.h"

#include <cstdio>

#include "app/state_file.h"
#include "cli/command.h"
#include "cli/date_time_args.h"
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

// Puts a date argument of the command line into a date row: the zone forms
// through the zone database, the fixed offsets as they always were.
Status ReadRowDate(DateSlot slot, const std::string& option, const std::string& text,
                   ComputeSession& s) {
    DateRowFields& row = s.rows.Row(slot);
    // A city's zone stands for --tz when the date has no zone of its own.
    ZoneOptions zones = s.zones;
    const std::optional<PlaceArgument>& place = s.places[slot];
    if (place && place->atlasPlace && !zones.defaultZone && text.size() == 16)
        zones.defaultZone = TimeZone::Named(place->atlasPlace->zone);
    if (!UsesZoneOptions(text, zones)) return FillDateRow(option, text, row);
    const Result<ZonedArgument> zoned = ParseZonedDateTime(text, zones);
    if (!zoned) return Fail("--" + option + ": " + zoned.message());
    const bool fits = FitsDateRow(*zoned);
    if (!fits && !s.exactDates) return Fail(NotInDateRowMessage(*zoned, option, text));
    row = DateRowOfZoned(*zoned);
    if (!fits) s.exactDate[slot] = *zoned;
    s.zonesUsed.push_back({option, *zoned});
    return Ok();
}

// The compute command on the session, with the dates the rows cannot hold at
// their own instants.
Status ComputeSessionDates(ComputeSession& s, const ComputeRequest& request) {
    bool exact = false;
    for (const std::optional<ZonedArgument>& e : s.exactDate.values) exact = exact || e.has_value();
    if (!exact || request.mode == Mode::None) return s.Compute(request);
    const ModeInfo& m = ModeInfoOf(request.mode);
    double jd[kDateSlotCount] = {s.results.DateJD[kWorldDate], s.results.DateJD[kBirth1],
                                 s.results.DateJD[kBirth2]};
    for (int k = 0; k < m.slotCount; ++k) {
        const DateSlot slot = m.dateSlots[static_cast<size_t>(k)];
        double& slotJD = jd[Index(slot)];
        if (s.exactDate[slot]) {
            slotJD = s.exactDate[slot]->julianDate;
            continue;
        }
        slotJD = s.rows.InputDateToAJDate(slot);
        if (slotJD < 0) return Fail(DateErrorText(s.Texts(), slot, slotJD));
    }
    ComputeFromDates(s.engine, s.settings, s.Texts(), request, jd, s.results);
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

int RunComputeFromArguments(const char* command, const std::vector<std::string>& args,
                            const OptionTable& options, ComputeSession& s) {
    Options& o = s.options;
    if (const Status parsed = ParseOptions(args, options, o); !parsed)
        return BadArguments(command, parsed.message());
    const Result<ZoneOptions> zones = ReadZoneOptions(o);
    if (!zones) return BadArguments(command, zones.message());
    s.zones = *zones;

    const Result<Language> language = ParseLanguage(o.Value("lang", "en"));
    if (!language) return BadArguments(command, language.message());
    const bool modeGiven = o.values.count("mode") > 0;
    s.mode = Mode::World;
    if (modeGiven) {
        s.mode = Mode::None;
        for (const ModeName& m : kModes)
            if (o.Value("mode") == m.name) s.mode = m.mode;
        if (s.mode == Mode::None)
            return BadArguments(command, "--mode " + Quoted(o.Value("mode")) +
                                             " is not world, natal1, natal2, personal1, "
                                             "personal2 or synastry");
    }

    const Status loaded = s.LoadTexts(ProgramFolder());
    if (!loaded) return Failure(command, loaded.message());
    // Texts and month names, and so the dates of the report titles, in the
    // language.
    s.SetLanguage(*language);
    s.rows.SetLocalZone(LocalZoneMinutes());
    if (o.values.count("state")) {
        AppState state;
        const Status loaded = LoadStateFile(o.Value("state"), state);
        if (!loaded)
            return BadArguments(command, Quoted(o.Value("state")) + ": " +
                                             WithQuotedPath(loaded.message(), o.Value("state")));
        s.settings = state.settings;
        for (DateSlot slot : AllDateSlots()) s.rows.Row(slot) = state.dateRows[slot];
        // As "Load from ...": natal aspects stay, every other mode shows
        // world transits.
        if (!modeGiven)
            s.mode =
                state.mode == Mode::Natal1 || state.mode == Mode::Natal2 ? state.mode : Mode::World;
    }
    if (const Status places = ReadPlacesAndExtras(s); !places)
        return BadArguments(command, places.message());
    const char* const rowOptions[kDateSlotCount] = {s.worldOption, "birth1", "birth2"};
    for (DateSlot slot : AllDateSlots()) {
        const char* option = rowOptions[Index(slot)];
        if (!o.values.count(option)) continue;
        const Status filled = ReadRowDate(slot, option, o.Value(option), s);
        if (!filled) return BadArguments(command, filled.message());
    }
    if (o.values.count("state") && !modeGiven) {
        // As "Load from ...": when the row of the mode holds no valid date,
        // the window shows world transits for now.
        const DateSlot slot =
            s.mode == Mode::Natal1 ? kBirth1 : s.mode == Mode::Natal2 ? kBirth2 : kWorldDate;
        if (const double jd = s.rows.InputDateToAJDate(slot); jd <= 0) {
            const std::string dateError = DateErrorText(s.Texts(), slot, jd);
            if (!s.worldFallback) return BadArguments(command, dateError);
            std::fprintf(stderr, "vek-cli %s: %s; showing world transits for now\n", command,
                         dateError.c_str());
            s.rows.SetWorldDateToNow();
            s.mode = Mode::World;
        }
    }
    // The settings of a state file bring their own language; the command's
    // stays.
    s.settings.accepted.CurrentLanguage = s.language;
    if (o.Has("no-moon")) s.settings.accepted.IncludeMoon = s.settings.controls.includeMoon = false;
    if (o.Has("sidereal")) s.settings.accepted.SiderealZodiac = s.settings.controls.sidereal = true;

    if (const Status started = StartEngine(s.engine); !started)
        return Failure(command, started.message());

    const ComputeRequest request{s.mode, o.Has("radians"), false};
    const Status computed = ComputeSessionDates(s, request);
    if (!computed) {
        std::fprintf(stderr, "vek-cli %s: %s\n", command, computed.message().c_str());
        return 2;
    }
    return 0;
}

}  // namespace vek::cli
