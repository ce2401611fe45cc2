#include "engine/houses.h"

#include <cctype>
#include <cmath>
#include <string>

#include "engine/aspects.h"
#include "platform/ephemeris.h"

namespace vek {

namespace {

struct SystemInfo {
    HouseSystem system;
    const char* key;
    char letter;
};
constexpr SystemInfo kSystems[] = {
    {HouseSystem::Placidus, "placidus", 'P'},   {HouseSystem::Koch, "koch", 'K'},
    {HouseSystem::Equal, "equal", 'E'},         {HouseSystem::WholeSign, "whole-sign", 'W'},
    {HouseSystem::Regiomontanus, "regiomontanus", 'R'},
    {HouseSystem::Campanus, "campanus", 'C'},   {HouseSystem::Porphyry, "porphyry", 'O'},
};

const SystemInfo& InfoOf(HouseSystem system) {
    for (const SystemInfo& s : kSystems)
        if (s.system == system) return s;
    return kSystems[0];
}

constexpr double kSignWidth = kTwoPi / 12.0;

}  // namespace

const char* HouseSystemKey(HouseSystem system) {
    return InfoOf(system).key;
}

char HouseSystemLetter(HouseSystem system) {
    return InfoOf(system).letter;
}

std::optional<HouseSystem> HouseSystemOfKey(std::string_view key) {
    std::string lower;
    for (char c : key) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "whole" || lower == "wholesign" || lower == "whole_sign") lower = "whole-sign";
    for (const SystemInfo& s : kSystems)
        if (lower == s.key) return s.system;
    return std::nullopt;
}

Result<HouseCusps> ComputeHouses(const Engine& engine, double jd, const GeoPoint& place,
                                 HouseSystem system) {
    const platform::HouseCuspsResult r =
        platform::house_cusps(jd, place.latitude, place.longitude, HouseSystemLetter(system));
    if (r.status < 0) {
        if (std::fabs(place.latitude) > 90 || std::fabs(place.longitude) > 180)
            return Fail("the place lies outside latitudes -90..90 and longitudes -180..180");
        return Fail("no house cusps for this date: it lies outside the ephemeris's years");
    }
    HouseCusps h;
    h.asked = system;
    h.used = r.status == 1 ? HouseSystem::Porphyry : system;
    const double offset = engine.ZodiacOffset(JulianDate(jd));
    h.ascendant = NormalizeAngle(r.ascendant - offset);
    h.midheaven = NormalizeAngle(r.midheaven - offset);
    for (int i = 1; i <= 12; ++i) h.cusp[static_cast<size_t>(i)] = NormalizeAngle(r.cusp[i] - offset);
    if (h.used == HouseSystem::WholeSign && offset != 0) {
        // Whole signs of the zodiac in use: the first house is the sign of
        // the Ascendant.
        const double first = std::floor(h.ascendant / kSignWidth) * kSignWidth;
        for (int i = 1; i <= 12; ++i)
            h.cusp[static_cast<size_t>(i)] = NormalizeAngle(first + (i - 1) * kSignWidth);
    }
    return h;
}

int HouseOf(const HouseCusps& houses, double longitude) {
    if (!(longitude >= 0)) return 0;
    for (int i = 1; i <= 12; ++i) {
        const double start = houses.cusp[static_cast<size_t>(i)];
        const double end = houses.cusp[static_cast<size_t>(i % 12 + 1)];
        const double width = NormalizeAngle(end - start);
        if (NormalizeAngle(longitude - start) < width) return i;
    }
    return 12;
}

}  // namespace vek
