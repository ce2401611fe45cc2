#include "engine/chart_extras.h"

#include "engine/modes.h"

namespace vek {

int HouseChartOf(Mode mode) {
    const ModeInfo& m = ModeInfoOf(mode);
    for (int k = 0; k < m.slotCount; ++k)
        if (m.dateSlots[static_cast<size_t>(k)] != kWorldDate) return k;
    return kChartA;
}

ChartExtras ComputeChartExtras(const Engine& engine, const Chart& chart,
                               const ChartExtrasRequest& request) {
    ChartExtras out;
    const ModeInfo& m = ModeInfoOf(chart.mode);
    const int housesChart = request.houses ? HouseChartOf(chart.mode) : -1;
    for (int k = 0; k < m.slotCount; ++k) {
        // Only the places: the wheel needs no more, and the speeds would
        // cost as much again as the points (the true node's and Chiron's
        // more).
        for (ExtraPoint p : request.points)
            out.points[static_cast<size_t>(k)].push_back(
                ComputeExtraPoint(engine, p, chart.jd[k].days, /*withMotion=*/false));
        // The houses right after the points of their chart: the ephemeris
        // still holds the nutation of that instant.
        if (k != housesChart) continue;
        const std::optional<GeoPoint>& place = request.places[m.dateSlots[static_cast<size_t>(k)]];
        if (!place) continue;
        Result<HouseCusps> h = ComputeHouses(engine, chart.jd[k].days, *place, request.system);
        if (h) {
            out.houses = *h;
            out.housesChart = k;
            out.housesLatitude = place->latitude;
        }
    }
    return out;
}

}  // namespace vek
