// vek-cli transits: every exact aspect in a span, one line each in time
// order: of the moving bodies to a birth chart, or among the moving bodies.
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/json_writer.h"
#include "cli/place_args.h"
#include "cli/zoned_time.h"
#include "config/program_text.h"
#include "config/text_ids.h"
#include "display/chart_points_text.h"
#include "engine/aspect_instants.h"
#include "engine/bounded_sky.h"
#include "engine/engine.h"
#include "engine/pluto_table.h"
#include "util/paths.h"
#include "util/text.h"

namespace vek::cli {

namespace {

constexpr const char* kName = "transits";

// The span must lie where every body has a position (the Moon's and the
// Pluto table's days), and reach at most this many days.
constexpr double kFirstJD = PlutoTable::kFirstDay - 0.5;
constexpr double kEndJD = PlutoTable::kLastDay + 0.5;
constexpr double kLongestSpan = 100 * 366.0;

const OptionTable kOptions = {
    {"from", "T", "the start of the span (required); its zone is the zone of the output"},
    {"to", "T", "the end of the span (required), at most 100 years later"},
    {"birth", "T",
     "the birth instant: the exact aspects of the moving bodies to its chart (default: among "
     "the moving bodies)"},
    kTzOption,
    kFoldOption,
    {"lang", "en|de", "language of the names (default: en)"},
    {"sidereal", nullptr, "sidereal zodiac (default: tropical)"},
    {"no-moon", nullptr, "leave out the Moon"},
    {"points", "LIST",
     "extra points that the moving bodies aspect, comma-separated: nodes (mean and true), "
     "mean-node, true-node, chiron; natal points with --birth, else the points as they move"},
    {"json", nullptr, "JSON: one entry per exact aspect with its instant and Julian date"},
};

const CommandHelp kHelp = {
    "every exact aspect in a span, to a birth chart or among the moving bodies",
    "transits --from T --to T [--birth T] [--tz ZONE] [--fold earlier|later] [--lang en|de] "
    "[--sidereal] [--no-moon] [--points LIST] [--json]",
    "Lists, in time order, every instant in the span at which an aspect is exact: with --birth "
    "between each moving body and each body of the birth chart (the same body too), else "
    "between every two moving bodies; the seven aspects, both ways round for those other than "
    "the conjunction and the opposition. A line gives the instant to the minute in the zone of "
    "--from, the moving body, the aspect and the other body, and r when the moving body is "
    "retrograde then. A planet that turns near an aspect is exact there three times. The span "
    "lies between 1600-01-01 and 2100-01-01, where the Moon and Pluto have positions.\n"
    "With --points the moving bodies also aspect the lunar nodes and Chiron: with --birth the "
    "points of the birth chart, else the points as they move at each instant; the points do "
    "not aspect one another. Chiron needs the asteroid files of the ephemeris for the dates.\n"
    "A date T is YYYY-MM-DDTHH:MM followed by Z, +HH:MM / -HH:MM (any minute, zones up to 14 "
    "hours) or a tz zone in brackets ([Europe/Berlin]; the offset in force at that date), or "
    "nothing with --tz ZONE; a local time the clocks skipped or showed twice needs --fold "
    "earlier|later.",
    &kOptions,
    {"transits --from 2026-01-01T00:00Z --to 2027-01-01T00:00Z --birth 1960-07-04T12:00-05:00",
     "transits --from 2026-03-01T00:00[Europe/Berlin] --to 2026-04-01T00:00Z --no-moon --lang de",
     "transits --from 2026-01-01T00:00Z --to 2026-02-01T00:00Z --birth 1985-03-15T14:47 "
     "--tz Europe/Berlin --json",
     "transits --from 2026-01-01T00:00Z --to 2027-01-01T00:00Z --birth 1960-07-04T12:00-05:00 "
     "--points nodes,chiron --no-moon"},
};

Result<ZonedArgument> Instant(const Options& o, const ZoneOptions& zones, const char* option) {
    Result<ZonedArgument> a = ParseZonedDateTime(o.Value(option), zones);
    if (!a) return Error{std::string("--") + option + ": " + a.message()};
    return a;
}

// What the options ask for, checked: the span, the birth instant if any and
// the language.
struct TransitsRequest {
    ZonedArgument from;
    ZonedArgument to;
    std::optional<ZonedArgument> birth;
    Language language = kEnglish;
    std::vector<ExtraPoint> points;
};

Result<TransitsRequest> ReadTransitsRequest(const Options& o) {
    if (!o.values.count("from") || !o.values.count("to"))
        return Error{"--from and --to are required"};
    const Result<ZoneOptions> zones = ReadZoneOptions(o);
    if (!zones) return zones.error();
    TransitsRequest r;
    const Result<ZonedArgument> from = Instant(o, *zones, "from");
    if (!from) return from.error();
    r.from = *from;
    const Result<ZonedArgument> to = Instant(o, *zones, "to");
    if (!to) return to.error();
    r.to = *to;
    if (o.values.count("birth")) {
        const Result<ZonedArgument> b = Instant(o, *zones, "birth");
        if (!b) return b.error();
        r.birth = *b;
    }
    if (!(r.to.julianDate > r.from.julianDate)) return Error{"--to must lie after --from"};
    if (r.from.julianDate < kFirstJD || r.to.julianDate > kEndJD)
        return Error{
            "the span must lie between 1600-01-01T00:00Z and "
            "2100-01-01T00:00Z, where the Moon and Pluto have positions"};
    if (r.to.julianDate - r.from.julianDate > kLongestSpan)
        return Error{"the span may reach at most 100 years"};
    const Result<Language> lang = ParseLanguage(o.Value("lang", "en"));
    if (!lang) return lang.error();
    r.language = *lang;
    if (o.values.count("points")) {
        const Result<std::vector<ExtraPoint>> points = ParseExtraPoints(o.Value("points"));
        if (!points) return Error{"--points: " + points.message()};
        r.points = *points;
    }
    return r;
}

// The name of the other party of a line: a body or a point.
std::string OtherName(const Engine& engine, const ProgramTexts& texts, const ExactAspect& x) {
    return x.otherPoint ? ExtraPointName(texts, *x.otherPoint) : engine.names.BodyName[x.other];
}

bool MovingRetrograde(const Engine& engine, const ExactAspect& x) {
    return engine.Retrograde(x.moving, engine.Longitude(x.moving, JulianDate(x.jd)), JulianDate(x.jd));
}

void PrintTransitsJson(const Engine& engine, const ProgramTexts& texts, const TransitsRequest& r,
                       const TimeZone& zone, const std::vector<ExactAspect>& found) {
    JsonWriter w;
    w.BeginDocument();
    w.Key("mode").String(r.birth ? "personal" : "world");
    w.Key("from").String(IsoInstantText(r.from.julianDate, zone));
    w.Key("to").String(IsoInstantText(r.to.julianDate, zone));
    if (r.birth) w.Key("birth_jd").Number(r.birth->julianDate, 6);
    w.Key("sidereal").Bool(engine.SiderealZodiac);
    w.Key("exact").BeginArray();
    for (const ExactAspect& x : found) {
        w.BeginObject();
        w.Key("instant").String(IsoInstantText(x.jd, zone));
        w.Key("jd_ut").Number(x.jd, 6);
        w.Key("moving").BeginObject();
        w.Key("index").Int(Index(x.moving));
        w.Key("name").String(engine.names.BodyName[x.moving]);
        w.Key("retrograde").Bool(MovingRetrograde(engine, x));
        w.EndObject();
        w.Key("other").BeginObject();
        w.Key("index").Int(OtherNumber(x));
        w.Key("name").String(OtherName(engine, texts, x));
        w.Key("natal").Bool(r.birth.has_value());
        if (x.otherPoint) w.Key("point").String(ExtraPointKey(*x.otherPoint));
        w.EndObject();
        w.Key("aspect").BeginObject();
        w.Key("index").Int(Index(x.aspect));
        w.Key("name").String(engine.names.AspectName[x.aspect]);
        w.EndObject();
        w.EndObject();
    }
    w.EndArray().EndObject();
    std::printf("%s\n", w.Text().c_str());
}

void PrintTransitsText(const Engine& engine, const ProgramTexts& texts, const TransitsRequest& r,
                       const TimeZone& zone, const std::vector<ExactAspect>& found) {
    for (const ZonedArgument* a : {&r.from, &r.to})
        if (a->zoneNamed) std::printf("Zone: %s\n", ZoneUsedText(*a).c_str());
    size_t widest = 0;
    for (const Body b : Bodies(engine.BodyCountForSettings()))
        widest = std::max(widest, engine.names.BodyName[b].size());
    // The other column takes the points' names too.
    size_t widestOther = widest;
    for (const ExtraPoint p : r.points)
        widestOther = std::max(widestOther, TextLength(ExtraPointName(texts, p)));
    for (const ExactAspect& x : found) {
        std::string moving = engine.names.BodyName[x.moving];
        std::string other = OtherName(engine, texts, x);
        if (r.birth) {
            moving = texts.ProgramTextWithValues(kTextTransitingBody, {moving, "", "", "", ""});
            other = texts.ProgramTextWithValues(kTextNatalBody, {other, "", "", "", ""});
        }
        std::string line = IsoInstantText(x.jd, zone) + "  " + PadRight(moving, widest + 10) +
                           "  " + PadRight(engine.names.AspectName[x.aspect], 11) + "  " +
                           PadRight(other, static_cast<int>(widestOther) + 8);
        if (MovingRetrograde(engine, x)) line += "  r";
        std::printf("%s\n", TrimTrailingBlanks(line).c_str());
    }
}

// The exact aspects of the moving bodies to the points asked for: natal
// points at the birth instant, or the points as they move. A point without a
// position there (Chiron beyond its files) is named in one line.
Result<std::vector<ExactAspect>> TransitsToPoints(const Engine& engine, const ProgramTexts& texts,
                                                  const TransitsRequest& r,
                                                  const MotionBounds& motion, int count) {
    std::vector<PointPosition> points;
    for (const ExtraPoint p : r.points) {
        // The moving points must have positions throughout the span; the
        // files that give them cover whole centuries, so both ends tell.
        const std::vector<double> instants =
            r.birth ? std::vector<double>{r.birth->julianDate}
                    : std::vector<double>{r.from.julianDate, r.to.julianDate};
        for (const double jd : instants) {
            const PointPosition pos = ComputeExtraPoint(engine, p, jd, false);
            if (!(pos.longitude >= 0))
                return Error{std::string(r.birth ? "--birth: " : "--points: ") +
                             PointMissingNote(texts, pos, jd)};
            if (r.birth) points.push_back(pos);
        }
        if (!r.birth) points.push_back({p});
    }
    return FindExactAspectsToPoints(engine, motion, points, r.birth.has_value(), count,
                                    r.from.julianDate, r.to.julianDate);
}

int RunTransits(const std::vector<std::string>& args) {
    Options o;
    const Status parsed = ParseOptions(args, kOptions, o);
    if (!parsed) return BadArguments(kName, parsed.message());
    const Result<TransitsRequest> request = ReadTransitsRequest(o);
    if (!request) return BadArguments(kName, request.message());
    const TransitsRequest& r = *request;

    const Result<ProgramTextTable> table = LoadProgramText(ProgramFolder());
    if (!table) return Failure(kName, table.message());
    const ProgramTexts texts(*table, r.language);
    Engine engine;
    if (const Status started = StartEngine(engine); !started)
        return Failure(kName, started.message());
    engine.SetLanguage(r.language);
    engine.SiderealZodiac = o.Has("sidereal");
    engine.IncludeMoon = !o.Has("no-moon");
    const int count = engine.BodyCountForSettings();
    const MotionBounds motion = SkyMotionBounds(engine);

    BodyArray<SkyLongitude> natal{};
    if (r.birth) {
        for (const Body b : Bodies(count)) natal[b] = engine.Longitude(b, JulianDate(r.birth->julianDate));
        bool any = false;
        for (const Body b : Bodies(count)) any = any || natal[b].HasValue();
        if (!any)
            return BadArguments(kName,
                                "--birth: the birth chart has no positions (the Moon and "
                                "Pluto have them from 1600 to 2100, the planets always)");
    }
    const Result<std::vector<ExactAspect>> found =
        r.birth ? FindExactTransits(engine, motion, natal, count, r.from.julianDate,
                                    r.to.julianDate)
                : FindExactAspectsAmong(engine, motion, count, r.from.julianDate, r.to.julianDate);
    if (!found) return Failure(kName, found.message());
    std::vector<ExactAspect> all = *found;
    if (!r.points.empty()) {
        const Result<std::vector<ExactAspect>> toPoints =
            TransitsToPoints(engine, texts, r, motion, count);
        if (!toPoints) return BadArguments(kName, toPoints.message());
        all.insert(all.end(), toPoints->begin(), toPoints->end());
        SortExactAspects(all);
    }

    const TimeZone zone =
        r.from.zone.IsNamed() ? r.from.zone : TimeZone::Fixed(r.from.offsetSeconds / 60);
    if (o.Has("json")) {
        PrintTransitsJson(engine, texts, r, zone, all);
    } else {
        PrintTransitsText(engine, texts, r, zone, all);
    }
    return 0;
}

}  // namespace

VEK_CLI_COMMAND(transits, "transits", kHelp, RunTransits);

}  // namespace vek::cli
