// Where a function of time passes through a level: the one crossing search that
// the exact instants of aspects stand on.
//
// The function is known only by its values and by bounds on how fast it may
// change. A bound on the rate rules out a crossing near a value far from
// zero; a bound on the second derivative rules out a dip between two values
// of the same sign and proves that a sign change between two values is the
// only crossing between them. Where neither decides, the interval is halved.
// In spans where no bound on the second derivative holds (rough spans), only
// the rate and a bound on the distance from a smooth path decide, and a sign
// change is halved down to the tolerance; where the path is proven
// monotonic and the function keeps its sign, the halving is followed without
// asking the function at the midpoints whose side is known.
// A crossing proven single is refined by regula falsi (Illinois) to a
// tolerance of about a second. So every crossing is found, also the two or
// three passes a retrograde station brings, down to passes closer together
// than the tolerance, which count as one.
//
// An angle is compared with a level modulo 2π: the difference jumps from π to
// −π half a circle away from the level. With steps short enough that the
// function cannot travel half a circle, a sign change too large for the rate
// bound is such a wrap and no crossing. Many levels are searched on the same
// values: the transits of one body to every point of a chart are one search.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "util/result.h"

namespace vek {

struct ChangeBounds {
    // |f'| ≤ rate per day; must be positive.
    double rate = 0;
    // |f''| ≤ accel per day² away from the nodes; 0 when no bound is known.
    double accel = 0;
    // Nodes at nodeStart + k × nodeSpacing (spacing 0: none) where the slope
    // may change abruptly, as in a table interpolated linearly between
    // rounded entries. Across nodes f stands off a path whose second
    // derivative keeps within `accel` by at most nodeNoise.
    double nodeSpacing = 0;
    double nodeStart = 0;
    double nodeNoise = 0;
    // The function is an angle: it is compared with each level modulo 2π,
    // the difference taken into [−π, π].
    bool angle = false;
    // Spans [from, to] (sorted, disjoint) in which `accel` does not bound f''
    // itself: there f stands off a path whose second derivative keeps within
    // `accel` by at most roughNoise, and the rate bound still holds. Such as
    // a planet passing behind the Sun, where the bending of light turns its
    // apparent motion within minutes.
    std::vector<std::pair<double, double>> rough{};
    double roughNoise = 0;
    // In the rough spans f stands off that path only in the direction of
    // its own sign (f is a planet's elongation from the Sun, whose bending
    // moves the planet away from the Sun): there f and the path change sign
    // together, and a chord of f steep enough for the path to be monotonic
    // holds a single crossing of the level 0.
    bool roughKeepsSign = false;
};

struct Crossing {
    double jd = 0;
    int direction = 0;  // +1 from below the level to above, −1 from above to below
    int level = 0;      // which of the levels searched
    bool operator==(const Crossing&) const = default;
};

// Passes closer together than this (days, about a second) count as one.
inline constexpr double kCrossingTolerance = 1.0 / 86400;

// A function of time (Julian date UT); NaN where it has no value.
using TimeFunction = std::function<double(double jd)>;

struct CrossingSpan {
    double from = 0;
    double to = 0;
    // Instants at which f may jump (sorted); f there is the value after the
    // jump. A jump across zero is a crossing at that instant.
    std::vector<double> jumps;
};

// Every crossing of each level in [from, to], in time order; the levels
// share the values computed. A value exactly at a level counts as above it.
// Fails when the function has no value at an instant the search asks, or
// the bounds or the span make no sense. Without `angle` the function must
// not wrap.
Result<std::vector<Crossing>> FindCrossings(const TimeFunction& f, const ChangeBounds& bounds,
                                            const CrossingSpan& span,
                                            const std::vector<double>& levels = {0.0});

}  // namespace vek
