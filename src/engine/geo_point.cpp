#include "engine/geo_point.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vek {

namespace {

enum class Axis { Latitude, Longitude };

std::string Quote(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Degrees from their parts: degrees, minutes, seconds; only the last may have
// a fraction (52.5°31' says two things). A failure says why, or nothing.
Result<double> DegreesOfParts(const std::vector<std::string>& numbers) {
    if (numbers.empty()) return Fail("no number");
    if (numbers.size() > 3) return Fail("more than degrees, minutes and seconds");
    double parts[3] = {0, 0, 0};
    for (size_t k = 0; k < numbers.size(); ++k) {
        const std::string& n = numbers[k];
        char* end = nullptr;
        parts[k] = std::strtod(n.c_str(), &end);
        if (end != n.c_str() + n.size() || !std::isfinite(parts[k])) return Fail("");
        if (k + 1 < numbers.size() && n.find('.') != std::string::npos)
            return Fail("only the last part may have decimals");
    }
    if (numbers.size() > 1 && parts[1] >= 60) return Fail("minutes must be below 60");
    if (numbers.size() > 2 && parts[2] >= 60) return Fail("seconds must be below 60");
    return parts[0] + parts[1] / 60.0 + parts[2] / 3600.0;
}

// Reads one coordinate: the number parts and the side.
Result<double> ParseAngle(std::string_view text, Axis axis) {
    const char* what = axis == Axis::Latitude ? "latitude" : "longitude";
    const char* example = axis == Axis::Latitude ? "52.52, -33.87 or 52°31'N" : "13.4, -46.6 or 13°24'E";
    const double limit = axis == Axis::Latitude ? 90.0 : 180.0;
    auto bad = [&](const std::string& why) {
        return Fail(Quote(text) + " is not a " + what + (why.empty() ? "" : " (" + why + ")") +
                    ": write it as " + example);
    };
    int side = 0;  // +1 north/east, −1 south/west
    bool sideLetter = false;
    std::vector<std::string> numbers;
    std::string current;
    auto endNumber = [&] {
        if (!current.empty()) numbers.push_back(current);
        current.clear();
    };
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c >= '0' && c <= '9') || c == '.') {
            current += static_cast<char>(c);
            ++i;
            continue;
        }
        endNumber();
        if (c == '-' || c == '+') {
            if (side != 0 || !numbers.empty()) return bad("a sign stands only before the number");
            side = c == '-' ? -1 : 1;
            ++i;
        } else if (IsBlank(static_cast<char>(c)) || c == '\'' || c == '"') {
            ++i;
        } else if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xB0) {
            i += 2;  // °
        } else if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
                   (static_cast<unsigned char>(text[i + 2]) == 0xB2 ||
                    static_cast<unsigned char>(text[i + 2]) == 0xB3)) {
            i += 3;  // ′ ″
        } else {
            const char letter = static_cast<char>(c & ~0x20);
            const bool ns = letter == 'N' || letter == 'S';
            const bool ew = letter == 'E' || letter == 'W';
            if (!ns && !ew) return bad("");
            if ((axis == Axis::Latitude) != ns)
                return bad(std::string(1, static_cast<char>(c)) + " is the hemisphere of a " +
                           (ns ? "latitude" : "longitude"));
            if (sideLetter || side != 0) return bad("two signs or hemispheres");
            side = letter == 'S' || letter == 'W' ? -1 : 1;
            sideLetter = true;
            ++i;
        }
    }
    endNumber();
    const Result<double> value = DegreesOfParts(numbers);
    if (!value) return bad(value.message());
    const double degrees = *value;
    if (degrees > limit) return bad(std::string(what) + " goes up to " + (axis == Axis::Latitude ? "90" : "180") + "°");
    return side < 0 ? -degrees : degrees;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

Result<double> ParseLatitude(std::string_view text) {
    return ParseAngle(Trim(text), Axis::Latitude);
}

Result<double> ParseLongitude(std::string_view text) {
    return ParseAngle(Trim(text), Axis::Longitude);
}

Result<GeoPoint> ParseGeoPoint(std::string_view text) {
    text = Trim(text);
    std::string_view lat, lon;
    if (const size_t comma = text.find(','); comma != std::string_view::npos) {
        lat = text.substr(0, comma);
        lon = text.substr(comma + 1);
    } else if (const size_t ns = text.find_first_of("NSns"); ns != std::string_view::npos &&
                                                             ns > 0) {
        lat = text.substr(0, ns + 1);
        lon = text.substr(ns + 1);
    } else if (const size_t blank = text.find_first_of(" \t"); blank != std::string_view::npos) {
        lat = text.substr(0, blank);
        lon = text.substr(blank + 1);
    } else {
        return Fail(Quote(text) +
                    " is not a place: give latitude and longitude, as 52.52, 13.405 or "
                    "52°31'N 13°24'E");
    }
    const Result<double> la = ParseLatitude(lat);
    if (!la) return la.error();
    const Result<double> lo = ParseLongitude(lon);
    if (!lo) return lo.error();
    return GeoPoint{*la, *lo};
}

std::string GeoPointText(const GeoPoint& p) {
    auto part = [](double v, char plus, char minus) {
        const long minutes = std::lround(std::fabs(v) * 60.0);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%ld°%02ld'%c", minutes / 60, minutes % 60,
                      v < 0 && minutes != 0 ? minus : plus);
        return std::string(buf);
    };
    return part(p.latitude, 'N', 'S') + " " + part(p.longitude, 'E', 'W');
}

}  // namespace vek
