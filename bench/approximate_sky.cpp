// The approximate longitudes as the pattern search asks them: instants moving
// forward a day at a time from 1600 to 2100, each body once every few days,
// several bodies at one instant. Per body each call at an instant of its own
// (with what an instant shares), and the mix of bodies over shared instants.
#include <benchmark/benchmark.h>

#include "engine/approximate_sky.h"
#include "engine/engine.h"
#include "util/paths.h"

namespace {

constexpr double kJan1_1600 = 2305447.5;
constexpr double kJan1_2100 = 2488069.5;

// Delta T needs the ephemeris folder.
void LoadEphemeris() {
    static vek::Engine* engine = [] {
        auto* e = new vek::Engine;
        e->Initialize(vek::ProgramFolder());
        return e;
    }();
    benchmark::DoNotOptimize(engine);
}

// One body every four days, each call at a new instant.
void BM_ApproximateLongitude(benchmark::State& st) {
    LoadEphemeris();
    const vek::Body body = *vek::BodyFromIndex(static_cast<int>(st.range(0)));
    const vek::ApproximateSky sky;
    double jd = kJan1_1600 + 0.25;
    double sum = 0;
    for (auto _ : st) {
        sum += sky.Longitude(body, vek::JulianDate(jd));
        jd += 4;
        if (jd > kJan1_2100) jd = kJan1_1600 + 0.25;
    }
    benchmark::DoNotOptimize(sum);
    st.SetItemsProcessed(st.iterations());
}
BENCHMARK(BM_ApproximateLongitude)->DenseRange(1, 8)->Arg(10);

// Daily instants; each body asks every fourth day, the bodies spread over the
// four days so that two or three share an instant.
void BM_ApproximateSkyDailyMix(benchmark::State& st) {
    LoadEphemeris();
    const vek::ApproximateSky sky;
    double sum = 0;
    int64_t calls = 0;
    for (auto _ : st) {
        for (double jd = kJan1_1600 + 0.25; jd < kJan1_1600 + 4000; jd += 1) {
            const int day = static_cast<int>(jd - kJan1_1600);
            for (vek::Body b : vek::AllBodies()) {
                if (b == vek::kPluto || vek::Index(b) % 4 != day % 4) continue;
                sum += sky.Longitude(b, vek::JulianDate(jd));
                ++calls;
            }
        }
    }
    benchmark::DoNotOptimize(sum);
    st.SetItemsProcessed(calls);
}
BENCHMARK(BM_ApproximateSkyDailyMix)->Unit(benchmark::kMillisecond);

}  // namespace
