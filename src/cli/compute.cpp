// vek-cli compute: the results of the Compute button for a mode and its date
// rows: the title, the aspect table and the summary text, as text or JSON.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/compute.h"
#include "app/state_file.h"
#include "cli/command.h"
#include "cli/compute_args.h"
#include "cli/json_writer.h"
#include "cli/report_lines.h"
#include "config/program_text.h"
#include "display/results_text.h"
#include "engine/engine.h"
#include "engine/modes.h"
#include "engine/patterns.h"
#include "time/date_rows.h"
#include "time/dates.h"
#include "util/text.h"

namespace vek::cli {

namespace {

constexpr const char* kName = "compute";

// Keys of the counts in the JSON output.
constexpr const char* kAspectKeys[kAspectCount + 1] = {
    "", "conjunction", "opposition", "square", "trine", "sextile", "semisextile", "quincunx"};

// Lines of a cell as a terminal shows them: glyphs as body abbreviations,
// bold aspects marked with "*".
std::vector<std::string> CellLines(const TableCell& c, const NameTables& names) {
    std::vector<std::string> lines;
    if (!c.visible) return lines;
    if (c.kind == CellKind::Header) {
        lines.push_back(names.BodyAbbreviation[*c.body]);
        return lines;
    }
    size_t at = 0;
    while (at <= c.text.size()) {
        const size_t end = c.text.find(kLineBreak, at);
        if (end == std::string::npos) {
            lines.push_back(c.text.substr(at));
            break;
        }
        lines.push_back(c.text.substr(at, end - at));
        at = end + kLineBreak.size();
    }
    if (c.bold && !lines.empty()) lines[0] += "*";
    return lines;
}

std::string TableText(const TableModel& t, const NameTables& names) {
    const int rows = t.intNumRows;
    const int cols = t.intNumCols;
    std::vector<std::vector<std::string>> lines(t.intNumCells);
    std::vector<size_t> width(cols, 1);
    for (int i = 0; i < t.intNumCells; ++i) {
        lines[i] = CellLines(t.txbCell[i], names);
        for (const std::string& l : lines[i])
            width[i % cols] = std::max(width[i % cols], TextLength(l));
    }
    std::string out;
    for (int r = 0; r < rows; ++r) {
        size_t height = 1;
        for (int c = 0; c < cols; ++c) height = std::max(height, lines[r * cols + c].size());
        for (size_t k = 0; k < height; ++k) {
            std::string line;
            for (int c = 0; c < cols; ++c) {
                const std::vector<std::string>& cell = lines[r * cols + c];
                line += PadRight(k < cell.size() ? cell[k] : "", static_cast<int>(width[c]) + 2);
            }
            out += TrimTrailingBlanks(line) + "\n";
        }
    }
    return out;
}

// The aspects of the table by what they mean: the bodies in the order of
// the durations list, the aspect, how far from exact, whether it is applying
// or separating (transit modes only) and whether the boldface rule calls it
// close.
void WriteAspects(JsonWriter& w, const ComputeResults& r, const NameTables& names) {
    const Chart& chart = r.chart;
    const EntrySlots slots = EntrySlotsOf(r.ComputedMode);
    w.Key("aspects").BeginArray();
    for (const PairResult& p : chart.Pairs()) {
        if (!p.aspect) continue;
        const int cell = r.table.AspectCellIndex(p.first, p.second);
        if (cell < 0) continue;
        // Synastry pairs list the 2nd birthdate's body first; the durations
        // list names the 1st birthdate's first.
        const bool swap = r.ComputedMode == Mode::Synastry;
        w.BeginObject();
        WriteBodyJson(w, "first", swap ? p.second : p.first, slots.first, names);
        WriteBodyJson(w, "second", swap ? p.first : p.second, slots.second, names);
        w.Key("aspect").BeginObject();
        w.Key("index").Int(Index(*p.aspect));
        w.Key("name").String(names.AspectName[*p.aspect]);
        w.EndObject();
        w.Key("deviation_degrees").Number(p.deviation * 180.0 / kPi, 6);
        w.Key("motion");
        if (chart.hasMarkers && p.marker < 0)
            w.String("applying");
        else if (chart.hasMarkers && p.marker > 0)
            w.String("separating");
        else
            w.Null();
        w.Key("close").Bool(r.table.txbCell[static_cast<size_t>(cell)].bold);
        w.Key("cell").Int(cell);
        w.EndObject();
    }
    w.EndArray();
}

// The positions of each chart's bodies, in degrees whatever the table shows.
void WriteBodies(JsonWriter& w, const ComputeResults& r, const NameTables& names) {
    const Chart& chart = r.chart;
    const ModeInfo& mode = ModeInfoOf(r.ComputedMode);
    w.Key("bodies").BeginArray();
    for (int slot = 0; slot < (chart.twoCharts ? 2 : 1); ++slot) {
        for (Body b : chart.ComputedBodies()) {
            const SkyLongitude l = chart.longitude[b][slot];
            w.BeginObject();
            w.Key("index").Int(Index(b));
            w.Key("name").String(names.BodyName[b]);
            w.Key("date").String(NameOfDateSlot(mode.dateSlots[static_cast<size_t>(slot)]));
            if (l)
                w.Key("longitude_deg").Number(*l / kTwoPi * 360.0, 6);
            else
                w.Key("code").Int(static_cast<long long>(std::round(l.Code())));
            w.Key("retrograde").Bool(chart.retrograde[b][slot]);
            w.EndObject();
        }
    }
    w.EndArray();
}

Result<std::string> JsonText(const ComputeSession& s, const ComputeResults& r,
                             const NameTables& names) {
    JsonWriter w;
    w.BeginDocument();
    w.Key("mode").String(NameOfMode(r.ComputedMode));
    WriteZonesJson(w, s);
    w.Key("title").String(r.title);
    w.Key("date_jd").BeginArray();
    for (double jd : r.DateJD.values) w.Number(jd, 6);
    w.EndArray();
    w.Key("layout").String(r.table.layout == TableLayout::Square ? "square" : "triangular");
    w.Key("rows").Int(r.table.intNumRows);
    w.Key("columns").Int(r.table.intNumCols);
    w.Key("cells").BeginArray();
    for (int i = 0; i < r.table.intNumCells; ++i) {
        const TableCell& c = r.table.txbCell[i];
        if (!c.visible) continue;
        w.BeginObject();
        w.Key("index").Int(i);
        w.Key("row").Int(i / r.table.intNumCols);
        w.Key("column").Int(i % r.table.intNumCols);
        w.Key("text").String(c.text);
        w.Key("colour").Int(c.foreground.value());
        w.Key("background").Int(c.background.value());
        w.Key("bold").Bool(c.bold);
        w.Key("glyph_font").Bool(c.font == CellFont::Glyph);
        if (c.kind == CellKind::Header || c.kind == CellKind::Position)
            w.Key("body").String(names.BodyAbbreviation[*c.body]);
        w.EndObject();
    }
    w.EndArray();
    WriteBodies(w, r, names);
    WriteAspects(w, r, names);
    w.Key("aspect_counts").BeginObject();
    for (Aspect a : AllAspects()) w.Key(kAspectKeys[Index(a)]).Int(r.AspectCount[a]);
    w.EndObject();
    w.Key("total_aspects").Int(r.table.GetTotalNumAspects(names));
    w.Key("pattern_counts").BeginObject();
    if (!r.twoCharts)
        for (Pattern p : AllPatterns()) w.Key(PatternFinderOf(p).key).Int(r.PatternCount[p]);
    w.EndObject();
    w.Key("summary").String(r.summary);
    w.Key("retrograde").BeginObject();
    w.Key("count").Int(r.RetrogradeCount);
    w.Key("list").String(r.RetrogradeList);
    w.EndObject();
    if (const Status extras = WriteExtrasOfModeJson(w, s); !extras) return extras.error();
    w.EndObject();
    return w.Text();
}

const OptionTable kOptions = {
    kAnyModeOption,
    kWorldOption,
    kBirth1Option,
    kBirth2Option,
    kTzOption,
    kFoldOption,
    kStateOption,
    kLangOption,
    {"radians", nullptr, "positions in the table in radians instead of degrees"},
    kNoMoonOption,
    kSiderealOption,
    kPlaceOption,
    kLatOption,
    kLonOption,
    kPlace1Option,
    kLat1Option,
    kLon1Option,
    kPlace2Option,
    kLat2Option,
    kLon2Option,
    kHousesOption,
    kPointsOption,
    kJsonOption,
};

const CommandHelp kHelp = {
    "the aspect table, counts, patterns and midpoints of a mode",
    "compute --mode MODE [--world T] [--birth1 T] [--birth2 T] [--tz ZONE] [--fold earlier|later] "
    "[--state FILE] [--lang en|de] [--radians] [--no-moon] [--sidereal]\n"
    "        [--place CITY | --lat LAT --lon LON] [--place1 ...] [--place2 ...] [--houses SYSTEM] "
    "[--points LIST] [--json]",
    "What the Compute button of the window shows for a mode: the title, the aspect table "
    "(bodies by their abbreviations, close aspects marked with *) and the summary with the "
    "counts of aspects and patterns, the pattern instances, the midpoints and the retrograde "
    "bodies.\n"
    "Each mode needs its dates: world the World date, natal1 and natal2 the 1st or 2nd "
    "birthdate, personal1 and personal2 the World date and the 1st or 2nd birthdate, synastry "
    "both birthdates.\n"
    "A place for a date of the mode (--place for the World date, --place1 and --place2 for the "
    "birthdates, or --lat/--lon, --lat1/--lon1, --lat2/--lon2) adds its Ascendant, Midheaven "
    "and house cusps in the system of --houses (Placidus unless given), and --points the lunar "
    "nodes and Chiron of each date, after the summary. A city gives its zone to a date given "
    "without one.\n" VEK_CLI_DATE_HELP,
    &kOptions,
    {"compute --mode world --world 2026-12-08T12:00Z",
     "compute --mode personal1 --world 2026-12-08T12:00Z --birth1 1960-07-04T12:00-05:00 "
     "--lang de",
     "compute --mode synastry --birth1 1960-07-04T12:00-05:00 --birth2 1965-03-01T08:00Z "
     "--json",
     "compute --mode natal1 --birth1 1985-03-15T14:30[Europe/Berlin]",
     "compute --mode natal1 --birth1 1985-03-15T14:47 --place1 Berlin --points nodes,chiron"},
};

int RunCompute(const std::vector<std::string>& args) {
    ComputeSession s;
    const int status = RunComputeFromArguments(kName, args, kOptions, s);
    if (status != 0) return status;
    const ComputeResults& results = s.results;
    if (s.options.Has("json")) {
        const Result<std::string> json = JsonText(s, results, s.engine.names);
        if (!json) return BadArguments(kName, json.message());
        std::printf("%s\n", json->c_str());
        return 0;
    }
    PrintZonesUsed(s);
    std::printf("%s\n\n", results.title.c_str());
    std::printf("%s", TableText(results.table, s.engine.names).c_str());
    bool anyBold = false;
    for (const TableCell& c : results.table.txbCell) anyBold = anyBold || (c.visible && c.bold);
    if (anyBold) std::printf("(* bold)\n");
    std::printf("\n%s\n", TerminalLines(results.summary).c_str());
    if (const std::string extras = ExtrasOfModeText(s); !extras.empty())
        std::printf("\n%s", extras.c_str());
    return 0;
}

}  // namespace

VEK_CLI_COMMAND(compute, "compute", kHelp, RunCompute);

}  // namespace vek::cli
