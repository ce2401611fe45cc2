// Angles and house cusps of a chart: Ascendant, Midheaven and the twelve
// cusps from Swiss Ephemeris's house routine, in the zodiac of the bodies.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "engine/engine.h"
#include "engine/geo_point.h"
#include "util/result.h"

namespace vek {

enum class HouseSystem { Placidus, Koch, Equal, WholeSign, Regiomontanus, Campanus, Porphyry };
inline constexpr HouseSystem kAllHouseSystems[] = {
    HouseSystem::Placidus,      HouseSystem::Koch,     HouseSystem::Equal,
    HouseSystem::WholeSign,     HouseSystem::Regiomontanus, HouseSystem::Campanus,
    HouseSystem::Porphyry};

// The command-line key of a system: "placidus", "koch", "equal",
// "whole-sign", "regiomontanus", "campanus", "porphyry".
const char* HouseSystemKey(HouseSystem system);
// Swiss Ephemeris's letter of a system.
char HouseSystemLetter(HouseSystem system);
// A key as above, in any case ("whole" and "wholesign" count too).
std::optional<HouseSystem> HouseSystemOfKey(std::string_view key);

struct HouseCusps {
    HouseSystem asked = HouseSystem::Placidus;
    // The system of the cusps: the one asked for, or Porphyry where the one
    // asked for is undefined (Placidus and Koch within the polar circles).
    HouseSystem used = HouseSystem::Placidus;
    std::array<double, 13> cusp{};  // cusps 1..12 in radians (index 0 unused)
    double ascendant = 0;           // radians
    double midheaven = 0;           // radians
    bool FellBack() const { return used != asked; }
};

// The angles and cusps at jd (UT) for a place, in the zodiac of the
// engine's bodies: in the sidereal zodiac every angle less the correction
// the bodies get (ZodiacOffset), and whole-sign cusps at the starts of the
// sidereal signs. Fails, in one line, for a date without positions.
Result<HouseCusps> ComputeHouses(const Engine& engine, double jd, const GeoPoint& place,
                                 HouseSystem system);

// The house (1..12) of a longitude among the cusps; 0 for a negative
// longitude.
int HouseOf(const HouseCusps& houses, double longitude);

}  // namespace vek
