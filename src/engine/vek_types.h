// Index orders, angle constants and the orb table of the settings.
#pragma once

#include <cstdint>

namespace vek {

// The full and half circle as the program has always written them; every
// angle inside the engine is in radians.
inline constexpr double kTwoPi = 6.28318530717959;
inline constexpr double kPi = 3.14159265358979;

// Bodies 1..10 (0 unused). Without the Moon only 1..9 are computed.
enum Body : int {
    kSun = 1,
    kMercury,
    kVenus,
    kMars,
    kJupiter,
    kSaturn,
    kUranus,
    kNeptune,
    kPluto,
    kMoon
};
inline constexpr int kMaxBodies = 10;

// Aspects 1..7 (0 unused), in the order in which a pair's aspect is chosen.
enum Aspect : int {
    kConjunction = 1,
    kOpposition,
    kSquare,
    kTrine,
    kSextile,
    kSemisextile,
    kQuincunx
};
inline constexpr int kAspectCount = 7;

inline constexpr int kSignCount = 12;

// Patterns 0..13: the slot of each pattern's count after a compute.
enum Pattern : int {
    kGrandTrine = 0,
    kKite,
    kRectangle,
    kTSquare,
    kGrandCross,
    kYod,
    kYodKite,
    kTrapezium,
    kStellium6,
    kStellium5,
    kStellium4,
    kStellium3,
    kGrandSextile,
    kMidpoint
};
inline constexpr int kPatternCount = 14;

// Date slots.
enum DateSlot : int { kWorldDate = 0, kBirth1 = 1, kBirth2 = 2 };

// Languages of the interface.
enum Language : int { kEnglish = 0, kGerman = 1 };

// A negative longitude means that no position is available.
inline constexpr double kBeforeDataRange = -99.0;
inline constexpr double kAfterDataRange = -100.0;

// Modes as recorded in ComputedMode (0 = nothing computed).
enum class Mode : int {
    None = 0,
    World = 1,
    Natal1 = 2,
    Natal2 = 3,
    Personal1 = 4,
    Personal2 = 5,
    Synastry = 6
};

// Orb columns: base orb, personal transits, synastry.
enum OrbColumn : int { kOrbBase = 0, kOrbPersonal = 1, kOrbSynastry = 2 };

// Largest and smallest orb above 0 of each orb column, and whether all base
// orbs above 0 are the same.
struct OrbSummary {
    double OrbMaximum[3] = {0, 0, 0};
    double OrbMinimum[3] = {0, 0, 0};
    bool UniformBaseOrbs = false;
};

// The orbs a compute applies, built from the settings (SetOrbs): the orb of
// every aspect 1..7 in each orb column, in radians, and their summary. The
// results of a compute live in its Chart.
struct OrbTable {
    double orb[kAspectCount + 1][3] = {};
    OrbSummary summary;
};

}  // namespace vek
