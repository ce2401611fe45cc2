// The natal report: in natal aspects and synastry the durations window shows
// a prose report instead of the durations list: a heading, the aspects from
// the closest to the widest as sentences, a count of the aspects of each
// kind, and (natal aspects only) the aspect patterns of the chart.
#pragma once

#include <string>
#include <vector>

#include "display/program_text.h"
#include "engine/vek_types.h"
#include "engine/vocabulary.h"

namespace vek {

struct NatalReportInput {
    // The durations entries sorted by deviation, closest first.
    const std::vector<std::string>* lines = nullptr;
    // BodyLongitude (the first body in chart column 0, the second in column 1
    // in synastry and 0 otherwise), AspectCount and, for the pattern finders,
    // the natal chart as chart A with BodyCount and OrbTable.
    const EngineArrays* arrays = nullptr;
    bool synastry = false;
    const NameTables* names = nullptr;
    ProgramTexts texts;        // the report's wording and language
    int W1 = 0;                // longest body name, as in the durations list
    int midpointOrbIndex = 2;  // the midpoint orb list's index
};

// The whole report, lines ending in CR LF. Empty without entries.
std::string NatalReport(const NatalReportInput& in);

}  // namespace vek
