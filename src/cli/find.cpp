// vek-cli find: every stretch of steps in a date range in which an aspect
// pattern holds, found as a run of the window finds it: the World date steps
// forward from --from by the interval, and after every step the run's stop
// test looks at the pattern's count. The first stretch therefore begins at the
// step where a run started at --from would stop.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <unistd.h>
#include <string>
#include <vector>

#include "app/pattern_search.h"
#include "cli/command.h"
#include "cli/compute_args.h"
#include "cli/date_time_args.h"
#include "cli/json_writer.h"
#include "display/results_text.h"
#include "engine/midpoints.h"
#include "engine/vocabulary.h"
#include "time/stepping.h"
#include "util/text.h"

namespace vek::cli {

namespace {

constexpr const char* kName = "find";
// ASCII names of the pattern slots, besides the names of the vocabulary.
constexpr const char* kPatternAliases[kPatternCount][2] = {
    {"grand-trine", "grand_trine"},     {"kite", "kite"},
    {"rectangle", "rectangle"},         {"t-square", "t_square"},
    {"grand-cross", "grand_cross"},     {"yod", "yod"},
    {"yod-kite", "yod_kite"},           {"trapezium", "trapezium"},
    {"stellium6", "6-stellium"},        {"stellium5", "5-stellium"},
    {"stellium4", "4-stellium"},        {"stellium3", "3-stellium"},
    {"grand-sextile", "grand_sextile"}, {"midpoint", "midpoint"},
};

struct StepName {
    const char* name;
    int interval;
};
constexpr StepName kSteps[] = {
    {"30m", kStepHalfHour}, {"1d", kStepDay},  {"1w", kStepWeek},
    {"1mo", kStepMonth},    {"1y", kStepYear},
};

// Lower case of the ASCII letters; other bytes (the ß and umlauts of the
// German names) stay.
std::string AsciiLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::optional<Pattern> PatternOfName(const std::string& name) {
    const std::string wanted = AsciiLower(name);
    for (Pattern p : AllPatterns()) {
        for (const char* n : kPatternNames[p])
            if (AsciiLower(n) == wanted) return p;
        for (const char* n : kPatternAliases[Index(p)])
            if (n == wanted) return p;
    }
    return std::nullopt;
}

// "YYYY-MM-DDTHH:MM+hh:mm" of a World date row: its own local time and zone.
std::string RowIsoText(const DateRowFields& row, double julianDate) {
    // A row in a zone of its own shows the offset in force at the step,
    // which the zone list may lack (+5:45).
    if (row.zone) return IsoInstantText(julianDate, *row.zone);
    const int minutes = row.timeIndex > 0 ? MinuteOfDay(row) : 12 * 60;
    const int zone = (row.zoneIndex - kGreenwichZoneIndex) * 30;
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d%c%02d:%02d",
                  YearValue(DigitsOnly(row.yearText)), row.monthIndex, row.dayIndex, minutes / 60,
                  minutes % 60, zone < 0 ? '-' : '+', std::abs(zone) / 60, std::abs(zone) % 60);
    return text;
}

std::string InstanceText(const PatternInstance& p, Pattern pattern, const PatternTexts& texts) {
    if (pattern == kMidpoint)
        return MidpointLine({p.bodies[0], p.bodies[1], p.bodies[2]}, PatternForm::Summary,
                            texts.names);
    return PatternLine(p, pattern, PatternForm::Summary, texts);
}

std::string JsonText(const ComputeSession& s, const PatternSearchResult& r, Pattern pattern,
                     const NameTables& names) {
    JsonWriter w;
    w.BeginDocument();
    w.Key("pattern").String(kPatternAliases[Index(pattern)][0]);
    WriteZonesJson(w, s);
    w.Key("steps").Int(r.steps);
    // The accepted dates ended the search before --to; the note on stderr
    // says where.
    w.Key("date_limit_reached").Bool(r.refusedCode.has_value());
    w.Key("stretches").BeginArray();
    for (const PatternStretch& s : r.stretches) {
        w.BeginObject();
        w.Key("first").String(RowIsoText(s.first, s.firstJD));
        w.Key("last").String(RowIsoText(s.last, s.lastJD));
        w.Key("first_jd").Number(s.firstJD, 6);
        w.Key("last_jd").Number(s.lastJD, 6);
        w.Key("steps").Int(s.steps);
        w.Key("instances").BeginArray();
        for (const PatternInstance& p : s.instances) {
            w.BeginObject();
            w.Key("bodies").BeginArray();
            for (int i = 0; i < p.size; ++i) w.String(names.BodyAbbreviation[p.bodies[static_cast<size_t>(i)]]);
            w.EndArray();
            w.Key("mean_deviation_degrees");
            if (p.hasMean)
                w.Number(p.meanDeviation * 180.0 / kPi, 4);
            else
                w.Null();
            w.EndObject();
        }
        w.EndArray();
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
    return w.Text();
}

const OptionTable kOptions = {
    {"pattern", "NAME",
     "the pattern: its name in English or German (\"Grand trine\", \"Großes Trigon\") or "
     "grand-trine, kite, rectangle, t-square, grand-cross, yod, yod-kite, trapezium, "
     "stellium3..stellium6, grand-sextile, midpoint (required)"},
    {"at-least", "N",
     "at least N instances of the pattern at once, 1 to 9, as \"Find at least\" of the run "
     "dialog (default: 1)"},
    {"from", "T", "the World date the run starts from; it is not tested itself (required)"},
    {"to", "T", "the last date tested (required)"},
    {"step", "STEP", "the step of the run: 30m, 1d, 1w, 1mo or 1y (default: 1d)"},
    {"first", nullptr, "stop at the first stretch, as a run stops at its first find"},
    {"mode", "MODE",
     "world, personal1 or personal2 (default: world); patterns are counted in world transits "
     "only, so personal transits find nothing"},
    kBirth1Option,
    kBirth2Option,
    kTzOption,
    kFoldOption,
    {"state", "FILE",
     "take the settings (orbs, zodiac, Moon) and birthdates from a state file saved by vek"},
    kLangOption,
    kNoMoonOption,
    kSiderealOption,
    {"json", nullptr, "JSON: the stretches with their dates and instances"},
};

const CommandHelp kHelp = {
    "the stretches of time in which an aspect pattern holds",
    "find --pattern NAME --from T --to T [--at-least N] [--step STEP] [--first] [--mode MODE] "
    "[--birth1 T] [--birth2 T] [--tz ZONE] [--fold earlier|later] [--state FILE] [--lang en|de] "
    "[--no-moon] [--sidereal] [--json]",
    "Steps the World date from --from to --to as a run of the window does and lists every "
    "stretch of steps in which the pattern holds: its first and last step (local time and zone "
    "of --from), the number of steps, and the instances at its first step with their mean "
    "deviation. \"Not found.\" when there is none.\n"
    "The date of --from is not tested itself: a run steps before it looks, so the first "
    "stretch begins where a run started at --from would stop. When --from names a zone (or "
    "takes --tz), the steps go in its local time: a day, week, month or year later at the same "
    "clock time in the offset in force then (a time the clocks skipped or showed twice takes "
    "the offset before the change), half an hour as half an hour of real time; each step shows "
    "its offset.\n" VEK_CLI_DATE_HELP
    " A --from at a minute or offset the lists lack steps "
    "as a row of the window holding it does.",
    &kOptions,
    {"find --pattern grand-trine --from 2000-01-01T12:00Z --to 2010-01-01T00:00Z --at-least 2",
     "find --pattern t-square --from 2026-12-08T12:00+01:00 --to 2027-12-08T12:00+01:00 "
     "--step 1w --first --json"},
};

// The progress line on a terminal: rewritten in place, wiped at the end.
class ProgressLine {
  public:
    ProgressLine(const ProgramTexts& texts, double totalDays)
        : texts_(texts), totalYears_(totalDays / 365.2425), shown_(::isatty(STDERR_FILENO) == 1) {}
    bool Shown() const { return shown_; }
    void Show(double daysDone, int found) {
        if (!shown_) return;
        char done[32], total[32];
        std::snprintf(done, sizeof done, "%.0f", std::floor(daysDone / 365.2425));
        std::snprintf(total, sizeof total, "%.0f", std::ceil(totalYears_));
        const std::string line = texts_.ProgramTextWithValues(
            kTextSearchProgress, {done, total, std::to_string(found), "", ""});
        std::fprintf(stderr, "\r\033[Kvek-cli find: %s", line.c_str());
        std::fflush(stderr);
        dirty_ = true;
    }
    void Wipe() {
        if (!dirty_) return;
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        dirty_ = false;
    }

  private:
    const ProgramTexts& texts_;
    double totalYears_;
    bool shown_;
    bool dirty_ = false;
};

// The options find refuses or requires, checked before anything is loaded;
// 0 when they are in order, else the exit status of the refusal.
int CheckOptionsBeforeLoading(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a == "--world" || a.rfind("--world=", 0) == 0)
            return BadArguments(kName, "--world is not an option of find; use --from");
        if (a == "--radians") return BadArguments(kName, "--radians is not an option of find");
    }
    Options o;
    if (const Status parsed = ParseOptions(args, kOptions, o); !parsed)
        return BadArguments(kName, parsed.message());
    for (const char* required : {"pattern", "from", "to"})
        if (!o.values.count(required))
            return BadArguments(kName, std::string("--") + required + " is required");
    const std::string mode = o.Value("mode", "world");
    if (mode != "world" && mode != "personal1" && mode != "personal2")
        return BadArguments(kName, "--mode " + Quoted(mode) + " is not world, personal1 or personal2");
    return 0;
}

// The pattern, count, step, end and zone of the search from the options of
// a session whose World date is the start; 0, or the exit status of a
// refusal.
int ReadSearchRequest(ComputeSession& s, PatternSearchRequest& request) {
    const Options& o = s.options;
    request.target.pattern = PatternOfName(o.Value("pattern"));
    if (!request.target.pattern)
        return BadArguments(kName, "--pattern " + Quoted(o.Value("pattern")) +
                                       " is no pattern (grand-trine, kite, rectangle, t-square, "
                                       "grand-cross, yod, yod-kite, trapezium, stellium3..6, "
                                       "grand-sextile, midpoint)");
    if (o.values.count("at-least")) {
        const std::string n = o.Value("at-least");
        if (n.size() != 1 || n[0] < '1' || n[0] > '9')
            return BadArguments(kName, "--at-least " + Quoted(n) + " is not a number 1..9");
        // One instance is what the run finds without "Find at least".
        if (n[0] >= '2') {
            request.target.twoOrMore = true;
            request.target.numToFindIndex = n[0] - '2';
        }
    }
    request.interval = -1;
    const std::string step = o.Value("step", "1d");
    for (const StepName& k : kSteps)
        if (step == k.name) request.interval = k.interval;
    if (request.interval < 0)
        return BadArguments(kName, "--step " + Quoted(step) + " is not 30m, 1d, 1w, 1mo or 1y");
    const Result<double> until = ReadInstantOption("to", s);
    if (!until) return BadArguments(kName, until.message());
    request.untilJD = *until;
    if (request.untilJD < s.results.DateJD[kWorldDate].days)
        return BadArguments(kName, "--to lies before --from");
    request.firstOnly = o.Has("first");
    for (const ComputeSession::ZoneUse& u : s.zonesUsed)
        if (u.option == s.worldOption) request.zone = u.argument.zone;
    return 0;
}

// One stretch as the terminal shows it: first and last step, its length,
// then the instances at its first step.
void PrintStretch(const PatternStretch& st, const PatternSearchRequest& request,
                  const ProgramTexts& texts, const PatternTexts& patternTexts) {
    const std::string length =
        request.firstOnly ? texts.ProgramText(kTextFirstStepOnly)
                          : std::to_string(st.steps) + (st.steps == 1 ? " step" : " steps");
    std::printf("%s .. %s  (%s)\n", RowIsoText(st.first, st.firstJD).c_str(),
                RowIsoText(st.last, st.lastJD).c_str(), length.c_str());
    for (const PatternInstance& p : st.instances)
        std::printf("  %s",
                    TerminalLines(InstanceText(p, *request.target.pattern, patternTexts)).c_str());
    std::fflush(stdout);
}

// Why a search ended before --to, when it did.
void ReportEarlyEnd(const PatternSearchResult& found, const PatternSearchRequest& request,
                    const ProgramTexts& texts) {
    if (found.refusedCode == kStepOffsetNotInList)
        std::fprintf(stderr,
                     "vek-cli find: after the last step the offset of %s is none a date row "
                     "holds (half hours up to -11:30 and +11:30). %s\n",
                     request.zone.name.c_str(), texts.ProgramText(kTextSearchEndsThere).c_str());
    else if (found.refusedCode)
        std::fprintf(stderr, "vek-cli find: %s %s\n",
                     DateErrorText(texts, kWorldDate, *found.refusedCode).c_str(),
                     texts.ProgramText(kTextSearchEndsThere).c_str());
}

int RunFind(const std::vector<std::string>& args) {
    if (const int refused = CheckOptionsBeforeLoading(args)) return refused;

    // --from is the World date the run starts from.
    ComputeSession s;
    s.worldFallback = false;
    s.worldOption = "from";
    const int status = RunComputeFromArguments(kName, args, kOptions, s);
    if (status != 0) return status;
    PatternSearchRequest request;
    if (const int refused = ReadSearchRequest(s, request)) return refused;

    const ProgramTexts texts = s.Texts();
    const PatternTexts patternTexts = PatternTextsOf(s.engine.names, texts);
    const bool json = s.options.Has("json");
    if (!json) {
        PrintZonesUsed(s);
        std::fflush(stdout);
    }
    // Each stretch is written and flushed as soon as it is complete, so an
    // interrupted search keeps what it found. JSON is one document, written
    // at the end.
    ProgressLine progress(texts, request.untilJD - s.results.DateJD[kWorldDate].days);
    if (!json)
        request.onStretch = [&](const PatternStretch& st) {
            progress.Wipe();
            PrintStretch(st, request, texts, patternTexts);
        };
    if (progress.Shown())
        request.onProgress = [&](double daysDone, int found) { progress.Show(daysDone, found); };

    PatternSearchResult found;
    // Patterns are counted in world transits only: a run in personal
    // transits never stops on one, so nothing is found there.
    if (s.mode == Mode::World) {
        Result<PatternSearchResult> searched = SearchPattern(s.engine, s.rows, s.settings, request);
        progress.Wipe();
        if (!searched) return Failure(kName, searched.message());
        found = std::move(searched).value();
    }
    ReportEarlyEnd(found, request, texts);

    if (json) {
        std::printf("%s\n", JsonText(s, found, *request.target.pattern, s.engine.names).c_str());
        return 0;
    }
    if (found.stretches.empty()) std::printf("Not found.\n");
    return 0;
}

}  // namespace

VEK_CLI_COMMAND(find, "find", kHelp, RunFind);

}  // namespace vek::cli
