// vek-cli report: the natal report of natal aspects (1st or 2nd birthdate)
// or the synastry report, as the report window shows it.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/compute_args.h"
#include "cli/json_writer.h"
#include "cli/report_lines.h"
#include "time/durations.h"

namespace vek::cli {

namespace {

constexpr const char* kName = "report";

const OptionTable kOptions = {
    {"mode", "MODE",
     "natal1, natal2 or synastry; may be left out with a --state file saved in natal1 or "
     "natal2"},
    kBirth1Option,
    kBirth2Option,
    {"world", "T", nullptr},
    kTzOption,
    kFoldOption,
    kStateOption,
    kLangOption,
    kNoMoonOption,
    kSiderealOption,
    kPlace1Option,
    kLat1Option,
    kLon1Option,
    kPlace2Option,
    kLat2Option,
    kLon2Option,
    kHousesOption,
    kPointsOption,
    {"json", nullptr, "JSON: the report's text and one entry per aspect"},
    kHiddenRadiansOption,
};

const CommandHelp kHelp = {
    "the natal report of a birthdate or the synastry report",
    "report --mode natal1|natal2|synastry [--birth1 T] [--birth2 T] [--tz ZONE] "
    "[--fold earlier|later] [--state FILE] [--lang en|de] [--no-moon] [--sidereal]\n"
    "        [--place1 CITY | --lat1 LAT --lon1 LON] [--place2 ...] [--houses SYSTEM] "
    "[--points LIST] [--json]",
    "The report the report window writes for natal aspects (natal1, natal2: the aspects of one "
    "birthdate) and for synastry (the 1st birthdate against the 2nd): its title and one "
    "paragraph per aspect. natal1 needs --birth1, natal2 --birth2, synastry both.\n"
    "World and personal transits have the durations list instead (vek-cli durations).\n"
    "With a place for a birthdate (--place1 or --lat1 and --lon1, --place2 ...) a houses "
    "section follows: the house system (--houses, Placidus unless given), the Ascendant and the "
    "Midheaven in their signs and the house of each body and of each point of --points.\n"
    VEK_CLI_DATE_HELP,
    &kOptions,
    {"report --mode natal1 --birth1 1960-07-04T12:00-05:00",
     "report --mode synastry --birth1 1960-07-04T12:00-05:00 --birth2 1965-03-01T08:00Z "
     "--lang de",
     "report --mode natal1 --birth1 1985-03-15T14:30 --tz Europe/Berlin",
     "report --mode natal1 --birth1 1985-03-15T14:47 --place1 Berlin --points nodes,chiron"},
};

int RunReport(const std::vector<std::string>& args) {
    ComputeSession s;
    s.worldFallback = false;
    if (int status = RunComputeFromArguments(kName, args, kOptions, s)) return status;
    if (s.mode != Mode::Natal1 && s.mode != Mode::Natal2 && s.mode != Mode::Synastry)
        return BadArguments(kName, std::string("the report is written for natal aspects and "
                                               "synastry; --mode ") +
                                       NameOfMode(s.mode) +
                                       " has the durations list (vek-cli durations)");
    const bool json = s.options.Has("json");

    const std::string none = NoAspectsMessage(s);
    DurationsReport report;
    if (none.empty()) OpenReport(s, report);
    const std::string houses = HousesReportText(s);

    if (json) {
        JsonWriter w;
        w.BeginDocument();
        w.Key("mode").String(NameOfMode(s.mode));
        WriteZonesJson(w, s);
        if (!none.empty()) {
            w.Key("message").String(none);
            if (!houses.empty()) w.Key("houses_report").String(houses);
            w.Key("lines").BeginArray().EndArray().EndObject();
            std::printf("%s\n", w.Text().c_str());
            return 0;
        }
        if (!houses.empty()) w.Key("houses_report").String(houses);
        w.Key("caption").String(report.Caption());
        w.Key("title").String(report.Title());
        w.Key("report").String(report.Output());
        w.Key("lines").BeginArray();
        for (const DurationEntry& entry : report.Entries())
            WriteEntryJson(w, entry, s.mode, s.engine.names, false, "");
        w.EndArray().EndObject();
        std::printf("%s\n", w.Text().c_str());
        return 0;
    }
    PrintZonesUsed(s);
    if (!none.empty()) {
        std::printf("%s\n", none.c_str());
    } else {
        std::printf("%s", TerminalLines(report.ClipboardText()).c_str());
    }
    if (!houses.empty()) std::printf("\n%s", houses.c_str());
    return 0;
}

}  // namespace

VEK_CLI_COMMAND(report, "report", kHelp, RunReport);

}  // namespace vek::cli
