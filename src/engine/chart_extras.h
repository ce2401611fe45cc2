// What a chart shows beside its bodies when the user asks for it: the house
// cusps and angles of the one chart that carries houses, and the extra
// points (lunar nodes, Chiron) of each of its charts.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/chart.h"
#include "engine/engine.h"
#include "engine/extra_points.h"
#include "engine/geo_point.h"
#include "engine/houses.h"

namespace vek {

// What to compute, and the places of the three date slots.
struct ChartExtrasRequest {
    bool houses = false;
    HouseSystem system = HouseSystem::Placidus;
    std::vector<ExtraPoint> points;
    SlotArray<std::optional<GeoPoint>> places{};
};

struct ChartExtras {
    // The cusps of the chart that carries houses (see HouseChartOf), when
    // houses are asked for and its date has a place.
    std::optional<HouseCusps> houses;
    int housesChart = kChartA;
    double housesLatitude = 0;
    // The points of chart A and chart B (empty for a chart the mode lacks),
    // their longitudes only: their motion is not computed.
    std::array<std::vector<PointPosition>, 2> points;

    bool Empty() const { return !houses && points[0].empty() && points[1].empty(); }
};

// The chart whose houses a mode shows: the birth chart where the mode reads
// one (natal aspects, personal transits: the natal chart, synastry: the 1st
// birthdate), else the World date's.
int HouseChartOf(Mode mode);

// The houses and points of a computed chart. A date whose houses cannot be
// computed (outside the ephemeris's years) gets none.
ChartExtras ComputeChartExtras(const Engine& engine, const Chart& chart,
                               const ChartExtrasRequest& request);

}  // namespace vek
