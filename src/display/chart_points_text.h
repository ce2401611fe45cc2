// Names and notes of the angles, houses and extra points in the program's
// languages.
#pragma once

#include <string>

#include "config/program_text.h"
#include "engine/extra_points.h"
#include "engine/houses.h"

namespace vek {

std::string ExtraPointName(const ProgramTexts& texts, ExtraPoint point);
std::string HouseSystemName(const ProgramTexts& texts, HouseSystem system);

// Where the system asked for is undefined at the place: "Placidus houses
// are undefined at latitude 69°39'N (within the polar circle); the cusps
// shown are Porphyry's." Empty when the cusps are those asked for.
std::string HousesFallbackNote(const ProgramTexts& texts, const HouseCusps& houses,
                               double latitude);

// Why a point has no position at jd (a date no installed file covers, or
// one outside the ephemeris's years): "Chiron has no position on January 1,
// 600: the installed ephemeris files do not cover that date." Empty when the
// point has a position.
std::string PointMissingNote(const ProgramTexts& texts, const PointPosition& position, double jd);

}  // namespace vek
