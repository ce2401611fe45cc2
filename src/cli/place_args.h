// The place of a date on the command line (--place/--lat/--lon for the
// World date, --place1/--lat1/--lon1 and --place2/--lat2/--lon2 for the
// birthdates), the house system (--houses) and the extra points (--points),
// and how the angles, houses and points are printed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/json_writer.h"
#include "cli/options.h"
#include "config/program_text.h"
#include "engine/extra_points.h"
#include "engine/geo_point.h"
#include "engine/houses.h"
#include "time/atlas.h"

namespace vek::cli {

inline constexpr OptionSpec kPlaceOption{
    "place", "CITY",
    "the World date's place from the atlas (vek-cli places): its coordinates give the houses, "
    "its zone that of a date given without one; \"Name, COUNTRY\" chooses among equal names"};
inline constexpr OptionSpec kLatOption{
    "lat", "LAT", "the World date's latitude instead of --place: 52.52, -33.87 or 52°31'N"};
inline constexpr OptionSpec kLonOption{
    "lon", "LON", "the World date's longitude: 13.405, -46.63 or 13°24'E"};
inline constexpr OptionSpec kPlace1Option{"place1", "CITY", "the 1st birthdate's place (as --place)"};
inline constexpr OptionSpec kLat1Option{"lat1", "LAT", "the 1st birthdate's latitude (as --lat)"};
inline constexpr OptionSpec kLon1Option{"lon1", "LON", "the 1st birthdate's longitude (as --lon)"};
inline constexpr OptionSpec kPlace2Option{"place2", "CITY", "the 2nd birthdate's place (as --place)"};
inline constexpr OptionSpec kLat2Option{"lat2", "LAT", "the 2nd birthdate's latitude (as --lat)"};
inline constexpr OptionSpec kLon2Option{"lon2", "LON", "the 2nd birthdate's longitude (as --lon)"};
inline constexpr OptionSpec kHousesOption{
    "houses", "SYSTEM",
    "house system of the cusps where a place is given: placidus (default), koch, equal, "
    "whole-sign, regiomontanus, campanus or porphyry"};
inline constexpr OptionSpec kPointsOption{
    "points", "LIST", "extra points, comma-separated: nodes (mean and true), mean-node, "
                      "true-node, chiron"};

// A place as the options gave it.
struct PlaceArgument {
    std::string option;  // "place1", or "lat1" for coordinates
    GeoPoint point;
    const AtlasPlace* atlasPlace = nullptr;  // the city chosen, for --placeN
};

// Reads --placeSUFFIX or --latSUFFIX with --lonSUFFIX; none when neither is
// given. Failures carry "--option: " and one line.
Result<std::optional<PlaceArgument>> ReadPlaceOptions(const Options& o, const std::string& suffix);

// --houses and --points. Houses need a place (anyPlace); a place without
// --houses gets Placidus.
struct ExtrasRequest {
    std::optional<HouseSystem> houses;
    std::vector<ExtraPoint> points;
};
Result<ExtrasRequest> ReadExtrasOptions(const Options& o, bool anyPlace, const char* placeOptions);

// The points, place and houses of one date as text lines after the bodies'
// lines ("label" names the date in two-chart output, else empty).
std::string ExtrasText(const Engine& engine, const ProgramTexts& texts, double jd,
                       const std::optional<PlaceArgument>& place, const ExtrasRequest& request,
                       const std::string& label);

// The same as JSON keys: "points", "place", "houses" (each only when asked).
// A date whose houses cannot be computed gives a failure message.
Status WriteExtrasJson(JsonWriter& w, const Engine& engine, const ProgramTexts& texts, double jd,
                       const std::optional<PlaceArgument>& place, const ExtrasRequest& request);

}  // namespace vek::cli
