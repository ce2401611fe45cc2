// All pattern finders and the midpoint search on a busy chart: a hexagon of
// six bodies with three more doubling it and the Moon between them, which
// yields grand trines, kites, rectangles, trapezia, grand sextiles, stellia
// and midpoints.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/aspects.h"
#include "engine/chart.h"
#include "engine/midpoints.h"
#include "engine/pattern_findings.h"
#include "engine/patterns.h"
#include "engine/vocabulary.h"

namespace {

double Deg(double d) {
    return d / 360.0 * vek::kTwoPi;
}

vek::OrbTable BaseOrbs() {
    vek::OrbTable orbs;
    const double base[8] = {0, 10, 9, 6, 7, 4, 3, 3};
    for (vek::Aspect a : vek::AllAspects()) orbs.orb[a][vek::kOrbBase] = Deg(base[vek::Index(a)]);
    return orbs;
}

vek::Chart BusyChart() {
    vek::Chart c;
    c.mode = vek::Mode::World;
    const double lon[11] = {0, 0, 60.5, 120, 181, 240, 299, 2, 62, 121.5, 30};
    for (vek::Body b : vek::AllBodies()) c.longitude[b][vek::kChartA] = vek::SkyLongitude(Deg(lon[vek::Index(b)]));
    c.bodyCount = 10;
    return c;
}

void BM_AllPatternsSummary(benchmark::State& state) {
    const vek::Chart e = BusyChart();
    const vek::OrbTable orbs = BaseOrbs();
    vek::NameTables names;
    vek::BuildNameTables(names, vek::kEnglish);
    const vek::PatternTexts texts{names, "mean deviation"};
    size_t chars = 0;
    for (auto _ : state) {
        vek::PatternFindings f = vek::FindAllPatterns(e, orbs, 3, vek::PatternForm::Summary, texts);
        std::string section = vek::PatternSection(f);
        chars = section.size();
        benchmark::DoNotOptimize(section.data());
    }
    state.counters["chars"] = static_cast<double>(chars);
}
BENCHMARK(BM_AllPatternsSummary);

void BM_FindersOnly(benchmark::State& state) {
    const vek::Chart e = BusyChart();
    const vek::OrbTable orbs = BaseOrbs();
    int instances = 0;
    for (auto _ : state) {
        instances = 0;
        for (vek::Pattern p : vek::AllPatterns())
            if (p != vek::kMidpoint) instances += static_cast<int>(vek::FindPattern(e, orbs, p).instances.size());
        benchmark::DoNotOptimize(instances);
    }
    state.counters["instances"] = instances;
}
BENCHMARK(BM_FindersOnly);

void BM_Midpoints(benchmark::State& state) {
    const vek::Chart e = BusyChart();
    const vek::OrbTable orbs = BaseOrbs();
    size_t found = 0;
    for (auto _ : state) {
        found = vek::FindMidpoints(e, orbs, 3).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["midpoints"] = static_cast<double>(found);
}
BENCHMARK(BM_Midpoints);

}  // namespace
