// The natal report: in natal aspects and synastry the durations window shows
// a prose report instead of the durations list: a heading, the aspects from
// the closest to the widest as sentences, a count of the aspects of each
// kind, and (natal aspects only) the aspect patterns of the chart.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/program_text.h"
#include "engine/vek_types.h"
#include "engine/vocabulary.h"

namespace vek {

struct Chart;
struct DurationEntry;

struct NatalReportInput {
    // The durations entries sorted by deviation, closest first.
    const std::vector<DurationEntry>* entries = nullptr;
    // The chart: the positions (the first body in chart A, the second in
    // chart B in synastry and chart A otherwise), the aspect counts and, for
    // the pattern finders, the natal chart as chart A; the pattern finders
    // apply the base orbs of `orbs`.
    const Chart* chart = nullptr;
    const OrbTable* orbs = nullptr;
    bool synastry = false;
    const NameTables* names = nullptr;
    ProgramTexts texts;        // the report's wording and language
    int W1 = 0;                // longest body name, as in the durations list
    int midpointOrbIndex = 2;  // the midpoint orb list's index
};

// Line break of the report texts: the natal report's and the durations
// list's.
inline constexpr std::string_view kReportLineBreak = "\r\n";

// The whole report, lines ending in CR LF. Empty without entries.
std::string NatalReport(const NatalReportInput& in);

}  // namespace vek
