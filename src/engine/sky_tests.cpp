#include "engine/sky_tests.h"

#include "engine/chart.h"

namespace vek {

bool AtMidpointOf(double centre, double y, double z, double orb) {
    const double m = (y + z) / 2;
    if (SeparationAngle(m, centre) < orb) return true;
    return SeparationAngle(NormalizeAngle(m + kPi), centre) < orb;
}

int ChartTests::BodyCount() const {
    if (chart_.bodyCount < 0) return 0;
    return chart_.bodyCount > kMaxBodies ? kMaxBodies : chart_.bodyCount;
}

AspectTest ChartTests::Aspect(Body x, Body y, vek::Aspect aspect) const {
    return AspectTestByBodies(chart_, orbs_, x, y, aspect);
}

bool ChartTests::Distinct(Body x, Body y) const {
    const SkyLongitude a = chart_.longitude[x][kChartA];
    const SkyLongitude b = chart_.longitude[y][kChartA];
    return a && b && *a != *b;
}

bool ChartTests::AtMidpoint(Body centre, Body y, Body z) const {
    const SkyLongitude c = chart_.longitude[centre][kChartA];
    const SkyLongitude a = chart_.longitude[y][kChartA], b = chart_.longitude[z][kChartA];
    return c && a && b && AtMidpointOf(*c, *a, *b, midpointOrb_);
}

}  // namespace vek
