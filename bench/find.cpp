// The pattern search of vek-cli find: daily steps of world transits from
// 1600 to 2100 looking for grand trines and for T-squares as vek-cli searches,
// and for the ratio the plain loop that computes every body at every step over
// the same range; over ten years also the loop of full computes
// (table, summary, all patterns) with the run's stop test after every step.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "app/compute.h"
#include "app/pattern_search.h"
#include "app/program_state.h"
#include "util/paths.h"

namespace {

vek::ProgramState& BenchState() {
    static vek::ProgramState* state = [] {
        auto* s = new vek::ProgramState;
        const vek::Status texts = s->LoadTexts(vek::ProgramFolder());
        if (!texts) std::fprintf(stderr, "program text: %s\n", texts.message().c_str());
        s->engine.Initialize(vek::ProgramFolder());
        const vek::Status pluto = s->engine.LoadPlutoTable();
        if (!pluto) std::fprintf(stderr, "Pluto table: %s\n", pluto.message().c_str());
        s->SetLanguage(vek::kEnglish);
        vek::ApplySettingsToEngine(s->settings, s->engine);
        return s;
    }();
    return *state;
}

constexpr double kJan1_2100 = 2488069.5;
constexpr double kJan1_1610 = 2309100.5;

void Search(benchmark::State& st, vek::Pattern pattern, double untilJD, vek::SearchMethod method) {
    vek::ProgramState& s = BenchState();
    size_t stretches = 0;
    double positions = 0, steps = 0;
    for (auto _ : st) {
        s.rows.Row(vek::kWorldDate) = {1, 1, "1600", 25, vek::kGreenwichZoneIndex};
        vek::PatternSearchRequest request{{pattern, false, 0}, vek::kStepDay, untilJD, false};
        request.method = method;
        const vek::Result<vek::PatternSearchResult> r =
            vek::SearchPattern(s.engine, s.rows, s.settings, request);
        if (!r) st.SkipWithError(r.message().c_str());
        stretches = r ? r->stretches.size() : 0;
        positions = r ? static_cast<double>(r->positions) : 0;
        steps = r ? r->steps : 0;
        benchmark::DoNotOptimize(stretches);
    }
    st.counters["stretches"] = static_cast<double>(stretches);
    st.counters["positions_per_step"] = steps > 0 ? positions / steps : 0;
}

// 500 years of daily steps, one pattern: the search as vek-cli runs it (skipping,
// on two threads) for two patterns, the skipping on one thread, and the plain
// loop that computes every body at every step. CPU times are of the whole
// process, both threads.
void BM_FindGrandTrines1600To2100(benchmark::State& st) {
    Search(st, vek::kGrandTrine, kJan1_2100, vek::SearchMethod::Automatic);
}
BENCHMARK(BM_FindGrandTrines1600To2100)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->MeasureProcessCPUTime()
    ->ReportAggregatesOnly(true);

void BM_FindTSquares1600To2100(benchmark::State& st) {
    Search(st, vek::kTSquare, kJan1_2100, vek::SearchMethod::Automatic);
}

// The same skipping on one thread.
void BM_FindGrandTrinesOneThread1600To2100(benchmark::State& st) {
    Search(st, vek::kGrandTrine, kJan1_2100, vek::SearchMethod::Skipping);
}
BENCHMARK(BM_FindGrandTrinesOneThread1600To2100)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->MeasureProcessCPUTime()
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_FindTSquares1600To2100)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->MeasureProcessCPUTime()
    ->ReportAggregatesOnly(true);

void BM_StepByStepGrandTrines1600To2100(benchmark::State& st) {
    Search(st, vek::kGrandTrine, kJan1_2100, vek::SearchMethod::StepByStep);
}
BENCHMARK(BM_StepByStepGrandTrines1600To2100)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->MeasureProcessCPUTime()
    ->ReportAggregatesOnly(true);

void BM_FindGrandTrines1600To1610(benchmark::State& st) {
    Search(st, vek::kGrandTrine, kJan1_1610, vek::SearchMethod::Skipping);
}
BENCHMARK(BM_FindGrandTrines1600To1610)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// The plain loop: step, clear the counts, full compute, stop test.
void BM_StepByStepComputes1600To1610(benchmark::State& st) {
    vek::ProgramState& s = BenchState();
    const vek::RunTarget target{vek::kGrandTrine, false, 0};
    int finds = 0;
    for (auto _ : st) {
        s.rows.Row(vek::kWorldDate) = {1, 1, "1600", 25, vek::kGreenwichZoneIndex};
        finds = 0;
        for (;;) {
            vek::ApplyStep(s.rows, vek::kStepDay, vek::kStepForward);
            for (int16_t& c : s.results.PatternCount.values) c = 0;
            if (!s.Compute({vek::Mode::World, false, false})) break;
            if (s.results.DateJD[vek::kWorldDate].days > kJan1_1610) break;
            if (vek::RunTargetFound(target, s.results.PatternCount)) ++finds;
        }
        benchmark::DoNotOptimize(finds);
    }
    st.counters["finds"] = finds;
}
BENCHMARK(BM_StepByStepComputes1600To1610)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
