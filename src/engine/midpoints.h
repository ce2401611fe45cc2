// Midpoints: triples of bodies in which one body stands at the midpoint of
// the other two, within the midpoint orb chosen in the settings. Only the Sun
// to Pluto take part; the Moon never does.
#pragma once

#include <string>
#include <vector>

#include "engine/patterns.h"
#include "engine/sky_tests.h"
#include "engine/vek_types.h"

namespace vek {

// Number of entries in the midpoint orb list (5', 0.25°, 0.5°, 1°, 1.5°, 2°,
// 2.5°, 3°).
inline constexpr int kMidpointOrbChoices = 8;

// The midpoint orb of a list index in radians; 0 (finds nothing) for an index
// outside the list.
double MidpointOrbOfIndex(int index);

// A midpoint: `centre` stands at the midpoint of the two outer bodies, listed
// with the smaller index first.
struct Midpoint {
    Body lower = kSun;
    Body centre = kSun;
    Body upper = kSun;

    bool operator==(const Midpoint&) const = default;
};

// Triple test of chart A bodies e, f, g with the given orb: each body is
// tried as the centre in the order e, f, g against the plain mean of the
// other two and against the point opposite it; the first centre that passes
// is taken.
// Returns false for a triple with a missing position or with two exactly
// equal longitudes.
bool TestMidpointTriple(const Chart& chart, Body b1, Body b2, Body b3, double orb, Midpoint& out);
// The same on any source of the tests, with its midpoint orb.
bool TestMidpointTriple(const SkyTests& sky, Body b1, Body b2, Body b3, Midpoint& out);

// Every midpoint of the chart, each listed once, in the order first met. Pairs
// in conjunction are never the outer pair, and a body conjunct with either
// outer body is never the centre.
std::vector<Midpoint> FindMidpoints(const Chart& chart, const OrbTable& orbs, int orbIndex);
// The same on any source of the tests, with its midpoint orb.
std::vector<Midpoint> FindMidpoints(const SkyTests& sky);

// One midpoint line: outer-centre-outer, abbreviations in the summary form
// (after "Midpoint: "), full names in the report form; ends with a line break.
std::string MidpointLine(const Midpoint& m, PatternForm form, const NameTables& names);

// The midpoint search as the summary and the report use it: the lines and
// their number.
PatternBlock CheckForMidpoint(const Chart& chart, const OrbTable& orbs, int orbIndex,
                              PatternForm form, const NameTables& names);

}  // namespace vek
