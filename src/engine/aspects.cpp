#include "engine/aspects.h"

#include <cmath>

#include "engine/vocabulary.h"

namespace vek {

namespace {
// Rounds to 6 decimals, halves to even, for the direction comparison.
double Round6(double x) {
    return std::nearbyint(x * 1e6);
}
// A deviation this close to the orb counts as equal to it: a few units in the
// last place of a longitude near 2π, the rounding that converting and
// subtracting longitudes can leave. Without it a pair exactly at the orb's
// edge would be in aspect in one part of the circle and not in another.
constexpr double kOrbEdgeTolerance = 8 * 0x1p-50;
}  // namespace

double NormalizeAngle(double a) {
    if (!std::isfinite(a)) return a;
    // fmod keeps huge values from looping; the loops then settle the edges
    // exactly as repeated addition and subtraction would.
    if (a < -kTwoPi || a >= 2 * kTwoPi) a = std::fmod(a, kTwoPi);
    while (a < 0) a += kTwoPi;
    while (a >= kTwoPi) a -= kTwoPi;
    return a;
}

double AspectAngleOf(Aspect aspect) {
    return ToRadians(Degrees(kAspects[aspect].degrees)).value;
}

double SeparationAngle(double a, double b) {
    double d1 = a - b;
    if (d1 < 0) d1 += kTwoPi;
    double d2 = b - a;
    if (d2 < 0) d2 += kTwoPi;
    return d1 <= d2 ? d1 : d2;
}

Separation SeparationOf(double a, double b) {
    Separation r;
    r.s = SeparationAngle(a, b);
    if (Round6(NormalizeAngle(a + r.s)) == Round6(b)) {
        r.direction = -1;
    } else if (Round6(NormalizeAngle(b + r.s)) == Round6(a)) {
        r.direction = 1;
    }
    return r;
}

double SignedSeparation(double a, double b) {
    Separation s = SeparationOf(a, b);
    return s.s * s.direction;
}

AspectTest TestAspect(double a, double b, Aspect aspect, double orb) {
    AspectTest t;
    if (a < 0 || b < 0) return t;
    t.deviation = std::fabs(SeparationAngle(a, b) - AspectAngleOf(aspect));
    t.holds = t.deviation < orb - kOrbEdgeTolerance;
    return t;
}

AspectTest TestAspect(SkyLongitude a, SkyLongitude b, Aspect aspect, double orb) {
    if (!a || !b) return {};
    return TestAspect(*a, *b, aspect, orb);
}

bool AspectTestByLongitudes(const OrbTable& orbs, double a, double b, Aspect aspect,
                            OrbColumn column, double& exactness) {
    if (a < 0 || b < 0) return false;
    double orb = orbs.orb[aspect][column];
    AspectTest t = TestAspect(a, b, aspect, orb);
    if (!t.holds) {
        exactness = -1;
        return false;
    }
    exactness = (orb - t.deviation) / orb;
    return true;
}

std::optional<Aspect> ChooseAspect(const OrbTable& orbs, double a, double b, OrbColumn column,
                                   double& deviation) {
    if (a < 0 || b < 0) return std::nullopt;
    for (const Aspect asp : AllAspects()) {
        AspectTest t = TestAspect(a, b, asp, orbs.orb[asp][column]);
        if (t.holds) {
            deviation = t.deviation;
            return asp;
        }
    }
    return std::nullopt;
}

}  // namespace vek
