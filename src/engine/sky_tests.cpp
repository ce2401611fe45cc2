#include "engine/sky_tests.h"

#include "engine/chart.h"

namespace vek {

namespace {
bool IsBody(int b) {
    return b >= 1 && b <= kMaxBodies;
}
}  // namespace

bool AtMidpointOf(double centre, double y, double z, double orb) {
    const double m = (y + z) / 2;
    if (SeparationAngle(m, centre) < orb) return true;
    return SeparationAngle(NormalizeAngle(m + kPi), centre) < orb;
}

int ChartTests::BodyCount() const {
    if (chart_.bodyCount < 0) return 0;
    return chart_.bodyCount > kMaxBodies ? kMaxBodies : chart_.bodyCount;
}

AspectTest ChartTests::Aspect(int x, int y, int aspect) const {
    return AspectTestByBodies(chart_, orbs_, x, y, aspect);
}

bool ChartTests::Distinct(int x, int y) const {
    if (!IsBody(x) || !IsBody(y)) return false;
    const double a = chart_.longitude[x][kChartA];
    const double b = chart_.longitude[y][kChartA];
    return a >= 0 && b >= 0 && a != b;
}

bool ChartTests::AtMidpoint(int centre, int y, int z) const {
    if (!IsBody(centre) || !IsBody(y) || !IsBody(z)) return false;
    return AtMidpointOf(chart_.longitude[centre][kChartA], chart_.longitude[y][kChartA],
                        chart_.longitude[z][kChartA], midpointOrb_);
}

}  // namespace vek
