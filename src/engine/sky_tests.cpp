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
    const double a = chart_.longitude[x][kChartA];
    const double b = chart_.longitude[y][kChartA];
    return a >= 0 && b >= 0 && a != b;
}

bool ChartTests::AtMidpoint(Body centre, Body y, Body z) const {
    return AtMidpointOf(chart_.longitude[centre][kChartA], chart_.longitude[y][kChartA],
                        chart_.longitude[z][kChartA], midpointOrb_);
}

}  // namespace vek
