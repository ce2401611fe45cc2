// Aspect patterns among the chart A positions: grand trine, kite, rectangle,
// T-square, grand cross, yod, yod-kite, trapezium, 3- to 6-stellium and grand
// sextile. Every finder is a set of nested loops over the body indices
// 1..bodyCount of a chart that applies the aspect test by bodies with the
// base orbs of the orb table (column 0), so a body without a position takes
// part in no pattern.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/vek_types.h"

namespace vek {

struct Chart;

struct NameTables;

// How the lines of a pattern are written: the summary form names the pattern
// and gives the mean deviation ("Grand trine: Su-Ju-Ne (orb 2°13')"); the
// report form lists the full body names only ("Sun-Jupiter-Neptune").
enum class PatternForm { Summary, Report };

// One instance of a pattern: its bodies in the order they are listed and the
// mean deviation of the aspects that make it up.
struct PatternInstance {
    std::array<Body, 6> bodies{};  // the first `size` are used
    int size = 0;
    double meanDeviation = 0;  // radians
    bool hasMean = true;       // the grand sextile has no mean

    bool operator==(const PatternInstance&) const = default;
};

// What one finder found: the instances in loop order and the count it
// reports. The count equals the number of instances except for the grand
// sextile, which counts 1 however many lines it finds.
struct PatternResult {
    std::vector<PatternInstance> instances;
    int count = 0;
};

PatternResult FindGrandTrines(const Chart& chart, const OrbTable& orbs);
PatternResult FindKites(const Chart& chart, const OrbTable& orbs);
PatternResult FindRectangles(const Chart& chart, const OrbTable& orbs);
PatternResult FindTSquares(const Chart& chart, const OrbTable& orbs);
PatternResult FindGrandCrosses(const Chart& chart, const OrbTable& orbs);
PatternResult FindYods(const Chart& chart, const OrbTable& orbs);
PatternResult FindYodKites(const Chart& chart, const OrbTable& orbs);
PatternResult FindTrapezia(const Chart& chart, const OrbTable& orbs);
// Every set of `size` (3..6) mutually conjunct bodies, in ascending order.
// Any other size finds nothing.
PatternResult FindStellia(const Chart& chart, const OrbTable& orbs, int size);
PatternResult FindGrandSextiles(const Chart& chart, const OrbTable& orbs);

// The finder of pattern slot 0..12 (slots 8..11 are the 6- down to the
// 3-stellium). Slot 13, the midpoint, finds nothing here.
PatternResult FindPattern(const Chart& chart, const OrbTable& orbs, Pattern pattern);

// The same finders on any source of the aspect tests (sky_tests.h); the
// chart versions above run them on the chart's positions.
class SkyTests;
PatternResult FindGrandTrines(const SkyTests& sky);
PatternResult FindKites(const SkyTests& sky);
PatternResult FindRectangles(const SkyTests& sky);
PatternResult FindTSquares(const SkyTests& sky);
PatternResult FindGrandCrosses(const SkyTests& sky);
PatternResult FindYods(const SkyTests& sky);
PatternResult FindYodKites(const SkyTests& sky);
PatternResult FindTrapezia(const SkyTests& sky);
PatternResult FindStellia(const SkyTests& sky, int size);
PatternResult FindGrandSextiles(const SkyTests& sky);
PatternResult FindPattern(const SkyTests& sky, Pattern pattern);

// One row of the pattern table: the pattern, its key in the JSON output,
// its finder on any source of the aspect tests and, for the stellia, the
// number of bodies. The midpoint has no finder here; its own search
// (midpoints.h) finds it.
struct PatternFinder {
    Pattern pattern;
    std::string_view key;
    PatternResult (*find)(const SkyTests& sky);
    int stelliumSize;
};

// The table row of a pattern.
const PatternFinder& PatternFinderOf(Pattern pattern);

// Stellium size of slots 8..11 (6, 5, 4, 3), 0 for the other slots.
int StelliumSizeOfSlot(Pattern pattern);

// The texts a pattern line is built from: the current name tables and the
// word that introduces the mean deviation in the summary form.
struct PatternTexts {
    const NameTables& names;
    std::string_view deviationWord;
};

// Line break at the end of every pattern line and after every block.
inline constexpr std::string_view kPatternLineBreak = "\r\n";

// One line of pattern `pattern` (slot 0..12), ending with a line break.
std::string PatternLine(const PatternInstance& p, Pattern pattern, PatternForm form,
                        const PatternTexts& texts);

// A finder's result as the program shows it: one line per instance, and the
// count (16-bit, as kept in the pattern counts).
struct PatternBlock {
    std::string text;
    int16_t count = 0;
};

PatternBlock FormatPattern(const PatternResult& r, Pattern pattern, PatternForm form,
                           const PatternTexts& texts);

// Runs the finder of slot 0..12 and formats its lines.
PatternBlock RunPatternFinder(const Chart& chart, const OrbTable& orbs, Pattern pattern,
                              PatternForm form, const PatternTexts& texts);

}  // namespace vek
