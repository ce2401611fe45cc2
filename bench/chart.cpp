// Cost of one position through the longitude wrapper and of a full chart
// (ten bodies with retrograde flags, 45 pairs with markers).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

#include "engine/chart.h"
#include "engine/engine.h"
#include "platform/ephemeris.h"
#include "util/paths.h"

namespace {

vek::Engine& BenchEngine() {
    static vek::Engine* engine = [] {
        auto* e = new vek::Engine;
        e->Initialize(vek::ProgramFolder());
        const vek::Status pluto = e->LoadPlutoTable();
        if (!pluto) std::fprintf(stderr, "Pluto table: %s\n", pluto.message().c_str());
        const double orbs[8] = {0, 10, 9, 6, 7, 4, 3, 3};
        for (vek::Aspect a : vek::AllAspects()) {
            vek::OrbColumnArray<double>& orb = e->orbs.orb[a];
            orb[vek::kOrbBase] = orbs[vek::Index(a)] / 360.0 * vek::kTwoPi;
            orb[vek::kOrbPersonal] = orb[vek::kOrbSynastry] = orb[vek::kOrbBase] / 3;
        }
        std::fprintf(stderr, "Ephemeris: %s\n", vek::platform::ephemeris_in_use().c_str());
        return e;
    }();
    return *engine;
}

// A new instant on every call, so no cache inside the ephemeris helps; the
// instants cycle through the century from 2000 on, inside every data range.
double NextJd() {
    static long long n = 0;
    return 2451545.0 + std::fmod(0.0137 * static_cast<double>(n++), 36525.0);
}

void BM_WrapperPlanet(benchmark::State& state) {
    const vek::Engine& e = BenchEngine();
    for (auto _ : state) benchmark::DoNotOptimize(e.Longitude(vek::kMars, NextJd()));
}
BENCHMARK(BM_WrapperPlanet);

void BM_WrapperMoon(benchmark::State& state) {
    const vek::Engine& e = BenchEngine();
    for (auto _ : state) benchmark::DoNotOptimize(e.Longitude(vek::kMoon, NextJd()));
}
BENCHMARK(BM_WrapperMoon);

void BM_WrapperPluto(benchmark::State& state) {
    const vek::Engine& e = BenchEngine();
    for (auto _ : state) benchmark::DoNotOptimize(e.Longitude(vek::kPluto, NextJd()));
}
BENCHMARK(BM_WrapperPluto);

void BM_FullChartWorld(benchmark::State& state) {
    const vek::Engine& e = BenchEngine();
    vek::SlotDates dates;
    for (auto _ : state) {
        dates[vek::kWorldDate] = vek::JulianDate(NextJd());
        vek::Chart c = vek::ComputeChart(e, vek::Mode::World, dates);
        benchmark::DoNotOptimize(c.aspectCount);
    }
}
BENCHMARK(BM_FullChartWorld)->Unit(benchmark::kMicrosecond);

void BM_FullChartPersonal(benchmark::State& state) {
    const vek::Engine& e = BenchEngine();
    vek::SlotDates dates;
    dates[vek::kBirth1] = vek::JulianDate(2444000.5);
    for (auto _ : state) {
        dates[vek::kWorldDate] = vek::JulianDate(NextJd());
        vek::Chart c = vek::ComputeChart(e, vek::Mode::Personal1, dates);
        benchmark::DoNotOptimize(c.aspectCount);
    }
}
BENCHMARK(BM_FullChartPersonal)->Unit(benchmark::kMicrosecond);

}  // namespace
