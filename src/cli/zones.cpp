// vek-cli zones [TEXT] [--json]: the zone names of the tz database that
// contain TEXT, each with the offset in force now.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/json_writer.h"
#include "time/dates.h"
#include "time/zones.h"

namespace {

const vek::cli::OptionTable kOptions = {
    {"json", nullptr, "JSON instead of text"},
};

const vek::cli::CommandHelp kHelp = {
    "list time-zone names with their offset now",
    "zones [TEXT] [--json]",
    "Lists the zone names of the system's tz database that contain TEXT (any case; all of them "
    "without TEXT), one a line with the offset and its abbreviation in force at this moment.",
    &kOptions,
    {"zones berl", "zones america/ --json"},
};

int RunZones(const std::vector<std::string>& args) {
    std::string text;
    std::vector<std::string> rest;
    for (const std::string& a : args) {
        if (text.empty() && !a.empty() && a[0] != '-' && rest.empty())
            text = a;
        else
            rest.push_back(a);
    }
    vek::cli::Options o;
    if (const vek::Status parsed = vek::cli::ParseOptions(rest, kOptions, o); !parsed)
        return vek::cli::BadArguments("zones", parsed.message());

    const std::vector<std::string> names = vek::MatchingZoneNames(text);
    if (names.empty())
        return vek::cli::Failure("zones", "no zone name contains " + vek::cli::Quoted(text));
    const double now = vek::CurrentJulianDate();
    const bool json = o.Has("json");
    vek::cli::JsonWriter w;
    if (json) w.BeginDocument().Key("zones").BeginArray();
    for (const std::string& name : names) {
        const vek::Result<vek::LocalDateTime> local =
            vek::UniversalToLocal(now, vek::TimeZone::Named(name));
        if (!local) return vek::cli::Failure("zones", local.message());
        if (json) {
            w.BeginObject()
                .Key("zone").String(name)
                .Key("offset").String(vek::OffsetText(local->offsetSeconds))
                .Key("offset_seconds").Int(local->offsetSeconds)
                .Key("abbreviation").String(local->abbreviation)
                .EndObject();
        } else {
            std::printf("%-32s %-12s %s\n", name.c_str(), vek::OffsetText(local->offsetSeconds).c_str(),
                        local->abbreviation.c_str());
        }
    }
    if (json) std::printf("%s\n", w.EndArray().EndObject().Text().c_str());
    return 0;
}

}  // namespace

VEK_CLI_COMMAND(zones, "zones", kHelp, RunZones);
