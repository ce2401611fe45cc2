// The exact instants of aspects from the crossing search:
//   TransitsYear:   a year of exact transits of the ten bodies to a birth
//                   chart (every aspect, both branches), as vek-cli transits
//                   lists them;
//   AmongYear:      a year of exact aspects among the ten moving bodies;
//   Dense:          the baseline for both, the same instants from sampling
//                   every body every hour and bisecting each sign change;
//   PairDecade:     one slow pair (Uranus–Neptune) over ten years with its
//                   orb edges, the search a durations line runs.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "bench_setup.h"
#include "engine/aspect_instants.h"
#include "engine/aspects.h"
#include "engine/bounded_sky.h"
#include "engine/engine.h"
#include "platform/ephemeris.h"

namespace {

constexpr double kBirth = 2437120.208333;  // 1960 July 4, 17:00 UT
constexpr double kFrom = 2461041.5;        // 2026 January 1
constexpr double kYear = 365.0;

// Positions asked of the ephemeris (the Pluto table is not counted).
long positions = 0;
double CountedPlanet(int code, double jd, int year, double* speed) {
    ++positions;
    return vek::platform::planet_longitude_speed(code, jd, year, speed);
}
double CountedMoon(double t) {
    ++positions;
    return vek::platform::moon_position(t);
}

struct Fixture {
    vek::ProgramTextTable texts;
    vek::Engine engine;
    vek::MotionBounds motion;
    vek::BodyArray<vek::SkyLongitude> natal{};
    bool ready = false;
    Fixture() {
        if (!vek::bench::LoadCore(texts, engine)) return;
        motion = vek::SkyMotionBounds(engine);
        engine.source = {CountedPlanet, CountedMoon};
        for (const vek::Body b : vek::AllBodies()) natal[b] = engine.Longitude(b, vek::JulianDate(kBirth));
        ready = true;
    }
};

Fixture& Shared() {
    static Fixture f;
    return f;
}

// Runs a search of a year of exact aspects and counts what it found and the
// positions it asked per run.
template <class Search>
void RunYear(benchmark::State& state, Search search) {
    Fixture& f = Shared();
    if (!f.ready) return state.SkipWithError("data files missing");
    size_t found = 0;
    positions = 0;
    for (auto _ : state) {
        const vek::Result<std::vector<vek::ExactAspect>> r = search(f);
        if (!r) return state.SkipWithError(r.message().c_str());
        found = r->size();
        benchmark::DoNotOptimize(r->data());
    }
    state.counters["exact"] = static_cast<double>(found);
    state.counters["positions"] =
        static_cast<double>(positions) / static_cast<double>(state.iterations());
}

void BM_ExactTransitsYear(benchmark::State& state) {
    RunYear(state, [](const Fixture& f) {
        return vek::FindExactTransits(f.engine, f.motion, f.natal, 10, kFrom, kFrom + kYear);
    });
}
BENCHMARK(BM_ExactTransitsYear)->Unit(benchmark::kMillisecond);

void BM_ExactAspectsAmongYear(benchmark::State& state) {
    RunYear(state, [](const Fixture& f) {
        return vek::FindExactAspectsAmong(f.engine, f.motion, 10, kFrom, kFrom + kYear);
    });
}
BENCHMARK(BM_ExactAspectsAmongYear)->Unit(benchmark::kMillisecond);

// The baseline: every body every hour, each sign change of a target bisected
// to a second.
void BM_ExactTransitsYear_Dense(benchmark::State& state) {
    Fixture& f = Shared();
    if (!f.ready) return state.SkipWithError("data files missing");
    std::vector<double> targets;
    for (const vek::Body n : vek::AllBodies())
        for (const vek::Aspect a : vek::AllAspects())
            for (const int b : vek::AspectBranches(a))
                targets.push_back(*f.natal[n] + b * vek::AspectAngleOf(a));
    size_t found = 0;
    const double step = 1.0 / 24;
    for (auto _ : state) {
        found = 0;
        for (const vek::Body m : vek::AllBodies()) {
            double t0 = kFrom, l0 = *f.engine.Longitude(m, vek::JulianDate(t0));
            for (double t1 = kFrom + step; t1 <= kFrom + kYear; t1 += step) {
                const double l1 = *f.engine.Longitude(m, vek::JulianDate(t1));
                for (const double target : targets) {
                    const double y0 = std::remainder(l0 - target, vek::kTwoPi);
                    const double y1 = std::remainder(l1 - target, vek::kTwoPi);
                    if ((y0 >= 0) == (y1 >= 0) || std::fabs(y0 - y1) > 3) continue;
                    double lo = t0, hi = t1, ylo = y0;
                    while (hi - lo > 1.0 / 86400) {
                        const double mid = (lo + hi) / 2;
                        const double ym =
                            std::remainder(*f.engine.Longitude(m, vek::JulianDate(mid)) - target, vek::kTwoPi);
                        if ((ym >= 0) == (ylo >= 0)) {
                            lo = mid;
                            ylo = ym;
                        } else {
                            hi = mid;
                        }
                    }
                    ++found;
                }
                t0 = t1;
                l0 = l1;
            }
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["exact"] = static_cast<double>(found);
}
BENCHMARK(BM_ExactTransitsYear_Dense)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PairDecadeWithOrb(benchmark::State& state) {
    Fixture& f = Shared();
    if (!f.ready) return state.SkipWithError("data files missing");
    const vek::AspectPair pair{vek::kUranus, vek::kNeptune, vek::kConjunction, std::nullopt};
    size_t found = 0;
    for (auto _ : state) {
        const auto r = vek::FindAspectInstants(f.engine, f.motion, pair, 10 * vek::kTwoPi / 360,
                                               2446066.5, 2446066.5 + 3652.5);
        if (!r) return state.SkipWithError(r.message().c_str());
        found = r->size();
        benchmark::DoNotOptimize(r->data());
    }
    state.counters["instants"] = static_cast<double>(found);
}
BENCHMARK(BM_PairDecadeWithOrb)->Unit(benchmark::kMillisecond);

}  // namespace
