// One full compute of world transits as the Compute button runs it: date row
// conversion, positions with retrograde flags and markers through the
// ephemeris, the filled table, all pattern finders, the midpoint search and
// the summary text. Also a natal chart in radians and personal transits.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "app/compute.h"
#include "config/program_text.h"
#include "config/settings.h"
#include "platform/ephemeris.h"
#include "util/paths.h"

namespace {

const vek::ProgramTextTable& BenchTexts() {
    static const vek::ProgramTextTable* table = [] {
        vek::Result<vek::ProgramTextTable> loaded = vek::LoadProgramText(vek::ProgramFolder());
        if (!loaded) std::fprintf(stderr, "program text: %s\n", loaded.message().c_str());
        return new vek::ProgramTextTable(loaded ? std::move(loaded).value()
                                                : vek::ProgramTextTable());
    }();
    return *table;
}

vek::Engine& BenchEngine() {
    static vek::Engine* engine = [] {
        auto* e = new vek::Engine;
        e->Initialize(vek::ProgramFolder());
        const vek::Status pluto = e->LoadPlutoTable();
        if (!pluto) std::fprintf(stderr, "Pluto table: %s\n", pluto.message().c_str());
        std::fprintf(stderr, "Ephemeris: %s\n", vek::platform::ephemeris_in_use().c_str());
        return e;
    }();
    return *engine;
}

// A different date on every call (days and months cycle, years run through
// 1950..2049), so no position is ever asked for twice in a row.
void NextDate(vek::DateRowFields& row) {
    static int n = 0;
    ++n;
    row.monthIndex = 1 + n % 12;
    row.dayIndex = 1 + n % 28;
    row.yearText = std::to_string(1950 + n % 100);
    row.timeIndex = 1 + n % 48;
    row.zoneIndex = 1 + n % 47;
}

void RunMode(benchmark::State& state, vek::Mode mode, bool radians) {
    vek::Engine& engine = BenchEngine();
    vek::DateRows rows;
    vek::Settings settings;
    vek::ComputeResults results;
    const vek::ProgramTexts texts(BenchTexts(), vek::kEnglish);
    rows.Row(vek::kBirth1) = {7, 4, "1960", 25, 19};
    size_t chars = 0;
    int aspects = 0;
    for (auto _ : state) {
        NextDate(rows.Row(vek::kWorldDate));
        NextDate(rows.Row(vek::kBirth2));
        const vek::Status computed = vek::ComputeCommand(engine, rows, settings, texts,
                                                         {mode, radians, false}, results);
        if (!computed) {
            state.SkipWithError(computed.message().c_str());
            break;
        }
        chars = results.summary.size();
        aspects = results.chart.TotalAspects();
        benchmark::DoNotOptimize(results.table.txbCell.data());
    }
    state.counters["summary_chars"] = static_cast<double>(chars);
    state.counters["aspects"] = aspects;
}

void BM_ComputeWorldTransits(benchmark::State& state) {
    RunMode(state, vek::Mode::World, false);
}
BENCHMARK(BM_ComputeWorldTransits);

void BM_ComputeNatalRadians(benchmark::State& state) {
    RunMode(state, vek::Mode::Natal2, true);
}
BENCHMARK(BM_ComputeNatalRadians);

void BM_ComputePersonalTransits(benchmark::State& state) {
    RunMode(state, vek::Mode::Personal1, false);
}
BENCHMARK(BM_ComputePersonalTransits);

}  // namespace
