// Positions one at a time, as the compute and the searches in time ask for
// them: a planet, the Moon (from the files where installed and from the
// analytical ephemeris), loading the Pluto table and one Pluto lookup.
// Each call moves the date on, so that no result is served from a cache.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/pluto_table.h"
#include "platform/ephemeris.h"
#include "util/paths.h"

namespace {

constexpr double kStart = 2415020.5;  // 1900 January 1
constexpr double kSpan = 73000.0;     // about two centuries

double NextDate(double& offset) {
    offset += 0.37;
    if (offset > kSpan) offset = 0;
    return kStart + offset;
}

void PlanetCall(benchmark::State& state) {
    vek::platform::use_analytical_ephemeris(state.range(0) != 0);
    double offset = 0;
    for (auto _ : state) {
        double speed;
        benchmark::DoNotOptimize(
            vek::platform::planet_longitude_speed(4, NextDate(offset), 2000, &speed));
    }
    state.SetLabel(vek::platform::ephemeris_in_use());
    vek::platform::use_analytical_ephemeris(false);
}
BENCHMARK(PlanetCall)->ArgName("analytical")->Arg(0)->Arg(1);

void MoonCall(benchmark::State& state) {
    vek::platform::use_analytical_ephemeris(state.range(0) != 0);
    double offset = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vek::platform::moon_position(NextDate(offset) - 2451545.0));
    }
    state.SetLabel(vek::platform::ephemeris_in_use());
    vek::platform::use_analytical_ephemeris(false);
}
BENCHMARK(MoonCall)->ArgName("analytical")->Arg(0)->Arg(1);

std::string TablePath() {
    return vek::JoinPath(vek::ProgramFolder(), "pluto.slx");
}

void PlutoTableLoad(benchmark::State& state) {
    const std::string path = TablePath();
    for (auto _ : state) {
        vek::PlutoTable table;
        const vek::Status loaded = table.Load(path);
        if (!loaded) {
            state.SkipWithError(loaded.message().c_str());
            break;
        }
        benchmark::DoNotOptimize(table.IsLoaded());
    }
}
BENCHMARK(PlutoTableLoad)->Unit(benchmark::kMillisecond);

void PlutoLookup(benchmark::State& state) {
    vek::PlutoTable table;
    const vek::Status loaded = table.Load(TablePath());
    if (!loaded) {
        state.SkipWithError(loaded.message().c_str());
        return;
    }
    double offset = 0;
    for (auto _ : state) benchmark::DoNotOptimize(table.LongitudeAt(NextDate(offset)));
}
BENCHMARK(PlutoLookup);

}  // namespace
