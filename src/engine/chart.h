// The positions and aspects of one computation in one of the modes: what the
// compute command writes into the table and the summary.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "engine/aspects.h"
#include "engine/engine.h"

namespace vek {

// Chart slots: A is the world date (or the only chart), B the natal chart of
// personal transits or the second birthdate of synastry.
enum ChartSlot : int { kChartA = 0, kChartB = 1 };

// One tested pair of bodies.
//   Single-chart modes: `first` < `second`, both chart A bodies.
//   Two-chart modes: `first` is the chart B body, `second` the chart A body.
struct PairResult {
    Body first = kSun;
    Body second = kSun;
    std::optional<Aspect> aspect;  // none when the pair is in no aspect
    double deviation = 0;   // |separation − aspect angle| when there is an aspect
    double exactness = -1;  // (orb − deviation) / orb in (0, 1]; −1 without aspect
    int marker = 0;         // −1 applying, +1 separating, 0 equal or no marker
};

inline constexpr int kMaxPairs = kMaxBodies * kMaxBodies;

struct Chart {
    Mode mode = Mode::None;
    bool twoCharts = false;
    bool hasMarkers = false;  // false in synastry
    OrbColumn orbColumn = kOrbBase;
    int bodyCount = 0;  // bodies 1..bodyCount were computed; later entries stay 0
    double jd[2] = {0, 0};
    BodyArray<std::array<SkyLongitude, 2>> longitude{};
    BodyArray<std::array<bool, 2>> retrograde{};
    // Every pair whose two bodies have a position, in table order: single-chart
    // row by row (b, then j > b), two-chart by chart B body, then chart A body.
    PairResult pairs[kMaxPairs];
    int pairCount = 0;
    AspectArray<int16_t> aspectCount{};

    std::span<const PairResult> Pairs() const { return {pairs, static_cast<size_t>(pairCount)}; }
    // The bodies this chart computed.
    BodyRange ComputedBodies() const { return Bodies(bodyCount); }
    int TotalAspects() const;
};

// Aspect test by bodies: chart A longitudes of bodies i and j, orb column 0.
AspectTest AspectTestByBodies(const Chart& chart, const OrbTable& orbs, Body i, Body j,
                              Aspect aspect);

// Julian date of chart A or B for a mode from the three date slots; 0 for a
// chart the mode does not use.
JulianDate ChartDate(Mode mode, ChartSlot slot, const SlotDates& dates);

// Computes a chart from the given date slots with the engine's settings,
// orb table and positions. The chart is the one result of a compute: the
// engine keeps no copy of it. Every body is computed once at its instant and at
// most once half an hour later; those later positions serve both the
// retrograde flags and the markers.
Chart ComputeChart(const Engine& engine, Mode mode, const SlotDates& dates);

}  // namespace vek
