// Cost of one position through the longitude wrapper and of a full chart
// (ten bodies with retrograde flags, 45 pairs with markers); the chart with
// Placidus houses and the three extra points as the compute adds them,
// against the plain chart in the same run; and the wheel's model of a natal
// chart with its houses and points against the one without.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <iterator>

#include "app/compute.h"
#include "bench_setup.h"
#include "display/chart_wheel.h"
#include "engine/chart.h"
#include "engine/chart_extras.h"
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
    for (auto _ : state) benchmark::DoNotOptimize(e.Longitude(vek::kMars, vek::JulianDate(NextJd())));
}
BENCHMARK(BM_WrapperPlanet);

void BM_WrapperMoon(benchmark::State& state) {
    const vek::Engine& e = BenchEngine();
    for (auto _ : state) benchmark::DoNotOptimize(e.Longitude(vek::kMoon, vek::JulianDate(NextJd())));
}
BENCHMARK(BM_WrapperMoon);

void BM_WrapperPluto(benchmark::State& state) {
    const vek::Engine& e = BenchEngine();
    for (auto _ : state) benchmark::DoNotOptimize(e.Longitude(vek::kPluto, vek::JulianDate(NextJd())));
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

// What a compute with houses turned on, a place and the nodes and Chiron
// chosen adds to the chart: the cusps and angles of the World date in
// Berlin and the three points with their motion, through ComputeChartExtras.
vek::ChartExtrasRequest BerlinHousesAndPoints() {
    vek::ChartExtrasRequest r;
    r.houses = true;
    r.system = vek::HouseSystem::Placidus;
    r.points.assign(std::begin(vek::kAllExtraPoints), std::end(vek::kAllExtraPoints));
    r.places[vek::kWorldDate] = vek::GeoPoint{52.52437, 13.41053};
    r.places[vek::kBirth1] = r.places[vek::kWorldDate];
    return r;
}

// range(0) 0: the plain chart of the World date; 1: the same chart with
// the houses and points. Both variants walk the same instants from the same
// start, so their medians compare the same work.
void BM_ChartWithHousesAndPoints(benchmark::State& state) {
    const vek::Engine& e = BenchEngine();
    const bool extras = state.range(0) != 0;
    const vek::ChartExtrasRequest request = BerlinHousesAndPoints();
    vek::SlotDates dates;
    long long n = 0;
    for (auto _ : state) {
        const double jd = 2451545.0 + std::fmod(0.0137 * static_cast<double>(n++), 36525.0);
        dates[vek::kWorldDate] = vek::JulianDate(jd);
        vek::Chart c = vek::ComputeChart(e, vek::Mode::World, dates);
        benchmark::DoNotOptimize(c.aspectCount);
        if (extras) {
            vek::ChartExtras x = vek::ComputeChartExtras(e, c, request);
            benchmark::DoNotOptimize(x.houses);
        }
    }
}
BENCHMARK(BM_ChartWithHousesAndPoints)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The wheel of a natal chart (1985-03-15 14:47 in Berlin) as the window
// draws it, with the glyphs' real ink: range(0) 1 with the houses and the
// three points, 0 without.
void BM_WheelModel(benchmark::State& state) {
    static struct Fixture {
        vek::Engine engine;
        vek::Settings settings;
        vek::ComputeResults results;
        vek::ChartExtras extras;
        vek::ProgramTextTable table;
        vek::ProgramTexts texts;
        bool ready = false;
        Fixture() {
            vek::bench::StartOffscreenPainting();
            if (!vek::bench::LoadCore(table, engine)) return;
            texts = vek::ProgramTexts(table, vek::kEnglish);
            vek::SlotDates dates;
            dates[vek::kBirth1] = vek::JulianDate(2446140.07431);
            vek::ComputeFromDates(engine, settings, texts, {vek::Mode::Natal1, false, true}, dates,
                                  results);
            extras = vek::ComputeChartExtras(engine, results.chart, BerlinHousesAndPoints());
            ready = extras.houses.has_value();
        }
    } f;
    if (!f.ready) {
        state.SkipWithError("no data or no houses");
        return;
    }
    vek::WheelInput in =
        vek::MakeWheelInput(f.results.chart, f.results.table, f.engine.names, f.settings, f.texts);
    if (state.range(0) != 0) in.extras = &f.extras;
    const vek::GlyphInks& inks = vek::paint::MeasuredGlyphInks();
    for (auto _ : state) {
        vek::ChartWheel w = vek::DrawChartWheel(in, inks);
        benchmark::DoNotOptimize(w.items.data());
    }
}
BENCHMARK(BM_WheelModel)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
