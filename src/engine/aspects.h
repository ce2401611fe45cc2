// The aspect primitives every search and display shares: normalising angles,
// the separation of two longitudes and the two forms of the aspect test.
#pragma once

#include <optional>

#include "engine/vek_types.h"

namespace vek {

// Brings an angle into [0, 2π). Non-finite input is returned unchanged.
double NormalizeAngle(double a);

// Angle of each aspect in radians, degrees / 360 × 2π.
double AspectAngleOf(Aspect aspect);

struct Separation {
    double s = 0;        // in [0, π]
    int direction = 0;   // -1, +1 or 0
};

// Smaller arc between longitudes a and b, and which way it runs.
Separation SeparationOf(double a, double b);

// The arc alone: SeparationOf(a, b).s without working out the direction.
double SeparationAngle(double a, double b);

// Separation × direction.
double SignedSeparation(double a, double b);

struct AspectTest {
    bool holds = false;
    double deviation = 0;  // |s − aspect angle|
};

// Aspect test on two longitudes with a given orb: holds when the deviation is
// strictly below the orb, a deviation within rounding (a few units in the last
// place) of the orb counting as equal to it. Negative longitudes never hold.
AspectTest TestAspect(double a, double b, Aspect aspect, double orb);
// The same on two positions: a body without one is in no aspect.
AspectTest TestAspect(SkyLongitude a, SkyLongitude b, Aspect aspect, double orb);

// Aspect test by longitudes with exactness (orb − deviation) / orb. When
// either longitude is negative it returns false and leaves exactness as it
// was; when the test fails exactness becomes −1.
bool AspectTestByLongitudes(const OrbTable& orbs, double a, double b, Aspect aspect,
                            OrbColumn column, double& exactness);

// The first aspect 1..7 that holds for the pair with the given orb column, or
// none; deviation receives that aspect's deviation.
std::optional<Aspect> ChooseAspect(const OrbTable& orbs, double a, double b, OrbColumn column,
                                   double& deviation);

}  // namespace vek
