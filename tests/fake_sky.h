// A sky of bodies moving at constant speed, standing in for the ephemeris in
// engine tests: longitude = base + speed × (jd − kEpoch).
#pragma once

#include <initializer_list>
#include <ostream>
#include <utility>
#include <vector>

#include "engine/aspects.h"
#include "engine/chart.h"
#include "engine/engine.h"

namespace vek {
// Test failures show a position as its radians or its reason.
inline void PrintTo(const SkyLongitude& l, std::ostream* os) {
    if (l) {
        *os << *l;
    } else {
        *os << (l.Reason() == NoPosition::BeforeData  ? "before the data"
                : l.Reason() == NoPosition::AfterData ? "after the data"
                                                      : "failed");
    }
}
}  // namespace vek

namespace vek::testing {

inline constexpr double kEpoch = 2451545.0;  // 2000 January 1.5

// Positions outside the data, and the numbers the libraries answer for them.
inline constexpr SkyLongitude kBeforeData = SkyLongitude::Missing(NoPosition::BeforeData);
inline constexpr SkyLongitude kAfterData = SkyLongitude::Missing(NoPosition::AfterData);
inline constexpr double kLibraryBeforeData = kBeforeData.Code();
inline constexpr double kLibraryAfterData = kAfterData.Code();

inline double Deg(double d) {
    return d / 360.0 * kTwoPi;
}

struct FakeSky {
    BodyArray<double> base{};                    // radians; a negative base is returned as is
    BodyArray<double> speed{};                   // radians per day
    std::vector<std::pair<Body, double>> calls;  // (body, jd) of every position asked for
};

inline FakeSky& Sky() {
    static FakeSky sky;
    return sky;
}

inline double SkyPosition(Body body, double jd) {
    Sky().calls.emplace_back(body, jd);
    if (Sky().base[body] < 0) return Sky().base[body];
    return NormalizeAngle(Sky().base[body] + Sky().speed[body] * (jd - kEpoch));
}

inline double FakePlanet(int code, double jd, int /*year*/, double* /*speed*/) {
    for (Body b : Bodies(Index(kNeptune)))
        if (kBodies[b].libraryCode == code) return SkyPosition(b, jd);
    return -1;
}

inline double FakeMoon(double t) {
    return SkyPosition(kMoon, t + 2451545.0);
}

// The default orbs: base 10, 9, 6, 7, 4, 3, 3 degrees, both proportions 1/3.
inline void SetDefaultOrbs(OrbTable& orbs) {
    const double base[kAspectCount + 1] = {0, 10, 9, 6, 7, 4, 3, 3};
    for (Aspect a : AllAspects()) {
        orbs.orb[a][kOrbBase] = Deg(base[Index(a)]);
        orbs.orb[a][kOrbPersonal] = Deg(base[Index(a)]) / 3;
        orbs.orb[a][kOrbSynastry] = Deg(base[Index(a)]) / 3;
    }
}

inline OrbTable DefaultOrbs() {
    OrbTable orbs;
    SetDefaultOrbs(orbs);
    return orbs;
}

// A world-transit chart of all ten bodies in which no body has a position;
// tests place the bodies they need in chart A.
inline Chart EmptyChart() {
    Chart c;
    c.mode = Mode::World;
    c.bodyCount = kMaxBodies;
    for (Body b : AllBodies()) c.longitude[b][kChartA] = kBeforeData;
    return c;
}

// EmptyChart with bodies placed at the given degrees.
inline Chart PlacedChart(std::initializer_list<std::pair<Body, double>> placed) {
    Chart c = EmptyChart();
    for (auto [body, degrees] : placed) c.longitude[body][kChartA] = SkyLongitude(Deg(degrees));
    return c;
}

// An engine on a fresh fake sky (every body at 0°, standing still; Pluto has
// no table and so no position) with the default orbs.
inline Engine FakeEngine() {
    Sky() = FakeSky{};
    Engine e;
    e.source = {FakePlanet, FakeMoon};
    SetDefaultOrbs(e.orbs);
    return e;
}

}  // namespace vek::testing
