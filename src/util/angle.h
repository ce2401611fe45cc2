// The full and half circle as the program has always written them; every
// angle inside the core is in radians, degrees appear only in texts.
#pragma once

namespace vek {

inline constexpr double kTwoPi = 6.28318530717959;
inline constexpr double kPi = 3.14159265358979;

// An angle in degrees, as the program's tables and lists give it, and one in
// radians, as the core computes with it. Only an explicit Degrees(d) or
// Radians(r) makes one, and ToRadians converts, so a number of degrees is not
// taken for radians where an angle is written as a text.
struct Degrees {
    constexpr explicit Degrees(double d) : value(d) {}
    double value;
};
struct Radians {
    constexpr explicit Radians(double r) : value(r) {}
    double value;
};
constexpr Radians ToRadians(Degrees d) {
    return Radians(d.value / 360.0 * kTwoPi);
}

}  // namespace vek
