// A chart with houses and the three extra points against today's chart (the
// ten bodies with retrograde flags and every pair), and the atlas: a lookup
// by the beginning of a name, and reading the whole atlas on first use.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "engine/chart.h"
#include "engine/engine.h"
#include "engine/extra_points.h"
#include "engine/houses.h"
#include "time/atlas.h"
#include "util/files.h"
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
        return e;
    }();
    return *engine;
}

// A new instant on every call, as in bench_chart, so no cache helps.
double NextJd() {
    static long long n = 0;
    return 2451545.0 + std::fmod(0.0137 * static_cast<double>(n++), 36525.0);
}

void BM_ChartToday(benchmark::State& state) {
    const vek::Engine& e = BenchEngine();
    vek::SlotDates dates;
    for (auto _ : state) {
        dates[vek::kWorldDate] = vek::JulianDate(NextJd());
        vek::Chart c = vek::ComputeChart(e, vek::Mode::World, dates);
        benchmark::DoNotOptimize(c.aspectCount);
    }
}
BENCHMARK(BM_ChartToday)->Unit(benchmark::kMicrosecond);

// state.range(0): 1 with the points' motion (their retrograde flags), 0
// positions only.
void BM_ChartWithHousesAndPoints(benchmark::State& state) {
    const bool motion = state.range(0) != 0;
    const vek::Engine& e = BenchEngine();
    const vek::GeoPoint berlin{52.52437, 13.41053};
    vek::SlotDates dates;
    for (auto _ : state) {
        const double jd = NextJd();
        dates[vek::kWorldDate] = vek::JulianDate(jd);
        vek::Chart c = vek::ComputeChart(e, vek::Mode::World, dates);
        benchmark::DoNotOptimize(c.aspectCount);
        vek::Result<vek::HouseCusps> h = vek::ComputeHouses(e, jd, berlin, vek::HouseSystem::Placidus);
        benchmark::DoNotOptimize(h);
        for (vek::ExtraPoint p : vek::kAllExtraPoints) {
            vek::PointPosition pos = vek::ComputeExtraPoint(e, p, jd, motion);
            benchmark::DoNotOptimize(pos);
        }
    }
}
BENCHMARK(BM_ChartWithHousesAndPoints)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_AtlasPrefixLookup(benchmark::State& state) {
    const vek::Result<const vek::Atlas*> atlas = vek::ProgramAtlas(vek::ProgramFolder());
    if (!atlas) {
        state.SkipWithError(atlas.message().c_str());
        return;
    }
    // Short prefixes match the most places: "Sa" matches over a thousand.
    const char* prefixes[] = {"Sa", "Ber", "Münch", "sao p", "Kath", "Christchurch, GB", "B", "Xyz"};
    size_t i = 0;
    for (auto _ : state) {
        auto found = (*atlas)->Find(prefixes[i++ % 8], 20);
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_AtlasPrefixLookup)->Unit(benchmark::kMicrosecond);

void BM_AtlasFirstUse(benchmark::State& state) {
    const std::string path = vek::JoinPath(vek::ProgramFolder(), vek::kAtlasFileName);
    for (auto _ : state) {
        vek::Result<std::string> text = vek::ReadRegularFile(path, 64u << 20);
        if (!text) {
            state.SkipWithError(text.message().c_str());
            return;
        }
        vek::Result<vek::Atlas> atlas = vek::Atlas::Parse(*text);
        benchmark::DoNotOptimize(atlas);
    }
}
BENCHMARK(BM_AtlasFirstUse)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

namespace {
void BM_PartHouses(benchmark::State& state) {
    const vek::Engine& e = BenchEngine();
    for (auto _ : state) {
        auto h = vek::ComputeHouses(e, NextJd(), {52.5, 13.4}, vek::HouseSystem::Placidus);
        benchmark::DoNotOptimize(h);
    }
}
BENCHMARK(BM_PartHouses)->Unit(benchmark::kMicrosecond);
void BM_PartPoint(benchmark::State& state) {
    const vek::Engine& e = BenchEngine();
    const auto p = static_cast<vek::ExtraPoint>(state.range(0));
    for (auto _ : state) {
        auto pos = vek::ComputeExtraPoint(e, p, NextJd(), state.range(1) != 0);
        benchmark::DoNotOptimize(pos);
    }
}
BENCHMARK(BM_PartPoint)->ArgsProduct({{1, 2, 3}, {0, 1}})->Unit(benchmark::kMicrosecond);
}  // namespace
