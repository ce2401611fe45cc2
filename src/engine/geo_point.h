// A place on the Earth and the texts that give one: decimal degrees
// ("52.52", "-33.87", "13.4E") or degrees, minutes and seconds with the
// hemisphere ("52°31'N", "13°24'30\"E", "33 52 S").
#pragma once

#include <string>
#include <string_view>

#include "util/result.h"

namespace vek {

// Geographic coordinates in degrees: latitude north positive (−90..90),
// longitude east positive (−180..180).
struct GeoPoint {
    double latitude = 0;
    double longitude = 0;
    bool operator==(const GeoPoint&) const = default;
};

// A latitude or a longitude alone. A sign or a hemisphere letter (N/S for a
// latitude, E/W for a longitude, either case, before or after the number)
// gives the side; "°", "'", "\"" (and ′ ″) or blanks separate degrees,
// minutes and seconds. Failures name the text and what is wrong, in one line.
Result<double> ParseLatitude(std::string_view text);
Result<double> ParseLongitude(std::string_view text);

// Both in one text, latitude first: "52.52, 13.405", "52°31'N 13°24'E",
// "52.52 13.405".
Result<GeoPoint> ParseGeoPoint(std::string_view text);

// "52°31'N 13°24'E": whole minutes, rounded.
std::string GeoPointText(const GeoPoint& p);

}  // namespace vek
