// The houses section of a natal report: the house system, the Ascendant and
// the Midheaven in their signs, and the house of each body and point.
#pragma once

#include <string>
#include <vector>

#include "config/program_text.h"
#include "engine/chart.h"
#include "engine/extra_points.h"
#include "engine/houses.h"
#include "engine/vocabulary.h"

namespace vek {

// The section of chart `chartIndex` (0 or 1) for a place at `latitude`,
// lines ending in "\n":
//   Houses (Placidus)
//   Ascendant: 21° in Taurus
//   Midheaven: 22° in Capricorn
//   Sun in house 9
// A body or point without a position is left out; where the system asked
// for is undefined at the place, its note follows the heading.
std::string HousesSectionText(const ProgramTexts& texts, const NameTables& names,
                              const Chart& chart, int chartIndex, const HouseCusps& houses,
                              double latitude, const std::vector<PointPosition>& points);

}  // namespace vek
