// vek-cli places TEXT [--json] [--limit N]: the cities of the atlas whose
// name begins with TEXT, with country, coordinates and zone.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/json_writer.h"
#include "time/atlas.h"
#include "util/paths.h"
#include "util/text.h"

namespace vek::cli {

namespace {

constexpr const char* kName = "places";
constexpr size_t kDefaultLimit = 20;
constexpr size_t kLargestLimit = 1000;

const OptionTable kOptions = {
    {"limit", "N", "list at most N places (default: 20, at most 1000)"},
    {"lang", "en|de", "the names of cities and countries in English (default) or German"},
    {"json", nullptr, "JSON instead of text"},
};

const CommandHelp kHelp = {
    "find cities of the atlas with their coordinates and zone",
    "places TEXT [--limit N] [--lang en|de] [--json]",
    "Lists the cities of the offline atlas (the cities of geonames.org with more than 15000 "
    "people, from Debian's libgeonames) whose English or German name begins with TEXT, in any "
    "case and with or without accents: a city whose whole name is TEXT first, then the more "
    "populous first. \"Name, COUNTRY\" keeps those of a country code, country or state. Each "
    "line gives the name, state and country, the coordinates and the IANA zone, which "
    "--place, --place1 and --place2 of the other commands take.",
    &kOptions,
    {"places Berlin", "places \"Christchurch, GB\"", "places münchen --lang de --json"},
};

void PrintPlacesJson(const std::vector<const AtlasPlace*>& found, bool german) {
    JsonWriter w;
    w.BeginDocument().Key("places").BeginArray();
    for (const AtlasPlace* p : found) {
        w.BeginObject();
        w.Key("name").String(p->name);
        w.Key("german_name").String(p->germanName.empty() ? p->name : p->germanName);
        w.Key("state").String(p->state);
        w.Key("country_code").String(p->countryCode);
        w.Key("country").String(german && !p->germanCountry.empty() ? p->germanCountry
                                                                    : p->country);
        w.Key("latitude_deg").Number(p->point.latitude, 5);
        w.Key("longitude_deg").Number(p->point.longitude, 5);
        w.Key("coordinates").String(GeoPointText(p->point));
        w.Key("zone").String(p->zone);
        w.Key("population").Int(p->population);
        w.EndObject();
    }
    std::printf("%s\n", w.EndArray().EndObject().Text().c_str());
}

int RunPlaces(const std::vector<std::string>& args) {
    std::string text;
    std::vector<std::string> rest;
    bool haveText = false;
    for (const std::string& a : args) {
        if (!haveText && !a.empty() && a[0] != '-' && rest.empty()) {
            text = a;
            haveText = true;
        } else {
            rest.push_back(a);
        }
    }
    Options o;
    if (const Status parsed = ParseOptions(rest, kOptions, o); !parsed)
        return BadArguments(kName, parsed.message());
    if (!haveText || TrimTrailingBlanks(text).empty())
        return BadArguments(kName, "give the beginning of a city's name: vek-cli places Berlin");
    const Result<Language> language = ParseLanguage(o.Value("lang", "en"));
    if (!language) return BadArguments(kName, language.message());
    size_t limit = kDefaultLimit;
    if (o.values.count("limit")) {
        const std::string n = o.Value("limit");
        char* end = nullptr;
        const long v = std::strtol(n.c_str(), &end, 10);
        if (n.empty() || *end != '\0' || v < 1 || v > static_cast<long>(kLargestLimit))
            return BadArguments(kName, "--limit " + Quoted(n) + " is not a number from 1 to 1000");
        limit = static_cast<size_t>(v);
    }
    const Result<const Atlas*> atlas = ProgramAtlas(ProgramFolder());
    if (!atlas) return Failure(kName, atlas.message());
    const std::vector<const AtlasPlace*> found = (*atlas)->Find(text, limit);
    if (found.empty())
        return BadArguments(kName, "no place of the atlas begins with " + Quoted(text));
    const bool german = *language == kGerman;
    if (o.Has("json")) {
        PrintPlacesJson(found, german);
        return 0;
    }
    for (const AtlasPlace* p : found) {
        char coords[48];
        std::snprintf(coords, sizeof coords, "%9.5f %10.5f", p->point.latitude, p->point.longitude);
        std::printf("%s  %s  %s  %s\n", PadRight(AtlasPlaceTitle(*p, german), 48).c_str(),
                    PadRight(GeoPointText(p->point), 16).c_str(), coords, p->zone.c_str());
    }
    return 0;
}

}  // namespace

VEK_CLI_COMMAND(places, "places", kHelp, RunPlaces);

}  // namespace vek::cli
