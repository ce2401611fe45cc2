// Rounding to the nearest integer with exact halves going to the even
// neighbour, as the angle, time and zone texts need it.
#pragma once

#include <cmath>

namespace vek {

// Rounds half to even (2.5 → 2, 3.5 → 4), independent of the FPU mode.
inline double RoundHalfToEven(double x) {
    const double f = std::floor(x);
    const double diff = x - f;
    if (diff > 0.5) return f + 1;
    if (diff < 0.5) return f;
    return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

// The same as an int, for coordinates (the value must fit an int).
inline int RoundHalfToEvenInt(double x) {
    return static_cast<int>(RoundHalfToEven(x));
}

}  // namespace vek
