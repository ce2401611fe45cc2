// The ephemeris remembered by body and date, for tests that compare searches
// over the same dates many times: every search and every setting sees the
// same positions, computed once. (Sidereal longitudes are made from these by
// the engine.)
#pragma once

#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "engine/engine.h"
#include "platform/ephemeris.h"

namespace vek::test {

inline std::unordered_map<uint64_t, double>& Remembered(int which) {
    static std::unordered_map<uint64_t, double> planets[9], moon;
    return which == 0 ? moon : planets[which];
}
inline uint64_t RememberedKey(double x) {
    uint64_t k;
    std::memcpy(&k, &x, sizeof k);
    return k;
}
inline double RememberedPlanet(int code, double jd, int year, double* speed) {
    if (code < 1 || code > 8) return platform::planet_longitude_speed(code, jd, year, speed);
    auto [it, added] = Remembered(code).try_emplace(RememberedKey(jd), 0.0);
    if (added) it->second = platform::planet_longitude_speed(code, jd, year, nullptr);
    return it->second;
}
inline double RememberedMoon(double t) {
    auto [it, added] = Remembered(0).try_emplace(RememberedKey(t), 0.0);
    if (added) it->second = platform::moon_position(t);
    return it->second;
}
// Gives the engine the remembered positions.
inline void UseRememberedSky(Engine& engine) { engine.source = {RememberedPlanet, RememberedMoon}; }

}  // namespace vek::test
