// vek-cli durations: the durations report of world or personal transits as
// the report window shows it: the title line and one line per aspect with
// its beginning, end and duration.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/compute_args.h"
#include "cli/json_writer.h"
#include "cli/place_args.h"
#include "cli/report_lines.h"
#include "time/durations.h"

namespace vek::cli {

namespace {

constexpr const char* kName = "durations";

const OptionTable kOptions = {
    {"mode", "MODE", "world, personal1 or personal2 (default: world)"},
    kWorldOption,
    kBirth1Option,
    kBirth2Option,
    kTzOption,
    kFoldOption,
    kStateOption,
    kLangOption,
    kNoMoonOption,
    kSiderealOption,
    {"sort", "0..7",
     "order of the lines: 0 first body, 1 aspect, 2 deviation (default), 3 second body, "
     "4 beginning, 5 end, 6 duration, 7 first exact pass (with --exact)"},
    {"no-duration", nullptr,
     "leave out the duration column (orders 4 to 6 bring it back, as in the window)"},
    {"exact", nullptr,
     "the report window's \"Exact times\": each line ends in its exact passes; below it the "
     "instants to the minute at which the aspect came within orb, was exact (each pass) and "
     "leaves the orb, in the World date's zone"},
    {"points", "LIST",
     "extra points that the moving bodies aspect, listed after the table's aspects: nodes "
     "(mean and true), mean-node, true-node, chiron; the natal points in personal transits, "
     "the points of the World date in world transits"},
    {"json", nullptr, "JSON: the title and one entry per line with its dates and exact instants"},
    kHiddenRadiansOption,
};

const CommandHelp kHelp = {
    "beginning, end and duration of the aspects of world or personal transits",
    "durations --mode world|personal1|personal2 [--world T] [--birth1 T] [--birth2 T] "
    "[--tz ZONE] [--fold earlier|later] [--state FILE] [--lang en|de] [--no-moon] [--sidereal] "
    "[--sort 0..7] [--no-duration] "
    "[--exact] [--points LIST] [--json]",
    "The durations list of the report window for world transits (needs --world) or personal "
    "transits (needs --world and --birth1 or --birth2): the title line and one line per aspect "
    "of the compute with the date it began, the date it ends and how long it lasts.\n"
    "The days are the local days of the World date's zone; in a named zone each day is the day "
    "of the offset in force then, so the days across a change to or from daylight saving stay "
    "local days. Natal aspects and synastry have the report instead (vek-cli report).\n"
    "With --exact (and in JSON always) each aspect also gets, to the minute, the instant it came "
    "within orb, every exact pass (three where a planet turns inside the orb) and the instant it "
    "leaves the orb, the Moon's aspects too; the lines end in the exact passes as the report "
    "window shows them with \"Exact times\" ticked. The dates of the line stay those of the day-by-day "
    "walk, which tests the local midnights: the days of the instants, except that two bodies "
    "beyond Saturn walk in steps of up to eleven days and may name a day that much earlier or "
    "later.\n" VEK_CLI_DATE_HELP,
    &kOptions,
    {"durations --mode world --world 2026-12-08T12:00Z --sort 4",
     "durations --mode personal1 --world 2026-12-08T12:00Z --birth1 1960-07-04T12:00-05:00 "
     "--json",
     "durations --mode world --world 2026-03-20T12:00 --tz Europe/Berlin"},
};

// No aspect to list: the message, as text or in an empty JSON list.
void PrintNoAspects(const ComputeSession& s, const std::string& none, bool json) {
    if (json) {
        JsonWriter w;
        w.BeginDocument().Key("mode").String(NameOfMode(s.mode));
        WriteZonesJson(w, s);
        w.Key("message").String(none).Key("lines").BeginArray().EndArray().EndObject();
        std::printf("%s\n", w.Text().c_str());
    } else {
        PrintZonesUsed(s);
        std::printf("%s\n", none.c_str());
    }
}

void PrintDurationsJson(const ComputeSession& s, const DurationsReport& report,
                        const TimeZone& zone) {
    JsonWriter w;
    w.BeginDocument();
    w.Key("mode").String(NameOfMode(s.mode));
    WriteZonesJson(w, s);
    w.Key("caption").String(report.Caption());
    w.Key("title").String(report.Title());
    w.Key("sort").Int(report.sortIndex());
    w.Key("sort_text").String(report.SortEntries()[static_cast<size_t>(report.sortIndex())]);
    w.Key("show_duration").Bool(report.showDuration());
    w.Key("lines").BeginArray();
    const ProgramTexts texts = s.Texts();
    for (const DurationsReport::ShownLine& l : report.ShownLines())
        WriteEntryJson(w, l.entry, s.mode, s.engine.names, true, l.text, &zone, &texts);
    w.EndArray().EndObject();
    std::printf("%s\n", w.Text().c_str());
}

// The report as the window's clipboard text, or with the instants of each
// line below it, indented.
void PrintDurationsText(const ComputeSession& s, const DurationsReport& report,
                        const TimeZone& zone, bool exact) {
    PrintZonesUsed(s);
    if (!exact) {
        std::printf("%s", TerminalLines(report.ClipboardText()).c_str());
        return;
    }
    std::string text = report.Title() + "\n\n";
    for (const DurationsReport::ShownLine& l : report.ShownLines()) {
        text += l.text + "\n";
        const std::string instants = ExactTimesLine(l.entry, zone, s.Texts());
        if (!instants.empty()) text += "    " + instants + "\n";
    }
    std::printf("%s", TerminalLines(text).c_str());
}

int RunDurations(const std::vector<std::string>& args) {
    ComputeSession s;
    if (int status = RunComputeFromArguments(kName, args, kOptions, s)) return status;
    const std::string sortText = s.options.Value("sort", "2");
    const bool exactLines = s.options.Has("exact") && !s.options.Has("json");
    const int sortCount = exactLines ? kSortChoiceCount + 1 : kSortChoiceCount;
    if (sortText.size() != 1 || sortText[0] < '0' || sortText[0] >= '0' + sortCount)
        return BadArguments(kName, "--sort " + Quoted(sortText) +
                                       " is not one of 0 (first body), 1 (aspect), 2 (deviation), "
                                       "3 (second body), 4 (beginning), 5 (end), 6 (duration)" +
                                       (exactLines ? ", 7 (first exact pass)" : ""));
    const int sort = sortText[0] - '0';
    if (s.mode != Mode::World && s.mode != Mode::Personal1 && s.mode != Mode::Personal2)
        return BadArguments(kName, std::string("durations are listed in world and personal "
                                               "transits; --mode ") +
                                       NameOfMode(s.mode) +
                                       " has the natal report (vek-cli report)");
    const bool json = s.options.Has("json");

    const std::string none = NoAspectsMessage(s);
    if (!none.empty() && s.extras.points.empty()) {
        PrintNoAspects(s, none, json);
        return 0;
    }

    const bool exact = json || s.options.Has("exact");
    DurationsReport report;
    TimeZone zone;
    OpenReport(s, report, exact, &zone);
    // With points the list may hold their aspects though the table holds none.
    if (report.Entries().empty()) {
        PrintNoAspects(s, none, json);
        return 0;
    }
    // As in the window: unticking "Show duration" and then choosing an order;
    // the beginning, end and duration orders tick it again.
    if (s.options.Has("no-duration")) report.SetShowDuration(false);
    // As ticking "Exact times" (the JSON lines keep their text without it).
    if (exactLines) report.SetShowExact(true);
    report.ChooseSort(sort);

    if (json) {
        PrintDurationsJson(s, report, zone);
    } else {
        PrintDurationsText(s, report, zone, exact);
    }
    return 0;
}

}  // namespace

VEK_CLI_COMMAND(durations, "durations", kHelp, RunDurations);

}  // namespace vek::cli
