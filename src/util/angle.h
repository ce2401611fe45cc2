// The full and half circle as the program has always written them; every
// angle inside the core is in radians, degrees appear only in texts.
#pragma once

namespace vek {

inline constexpr double kTwoPi = 6.28318530717959;
inline constexpr double kPi = 3.14159265358979;

}  // namespace vek
