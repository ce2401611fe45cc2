// The durations report of a full world-transit table (default orbs, Moon
// included) on two dates with long-lasting aspects of the slow planets:
// 1 January 1990 (Saturn, Uranus and Neptune together) and 1 January 2030.
// Each run opens the report as the window does: the chart, every search for
// beginning and end, the sort and the output text.
//   Plain:   every midnight of a one-day walk tested, every position asked
//            of the longitude wrapper (the straightforward way);
//   Shared:  the searches of one report share the positions they compute;
//   Skipping: one-day walks skip the midnights at which the aspect must
//            still hold;
//   Fast:    both, as the program runs;
//   Exact:   as Fast, and every line also with its exact instants (orb
//            entry, exact passes, orb exit) from the crossing search, as
//            vek-cli durations --exact and --json give them;
//   ExactUnbounded: as Exact, but the walks skip midnights by the bodies'
//            top speeds only, not by the motion bounds of the ephemeris.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_setup.h"
#include "config/program_text.h"
#include "config/settings.h"
#include "display/durations_report.h"
#include "engine/chart.h"
#include "engine/engine.h"
#include "time/date_rows.h"
#include "time/durations.h"

namespace {

struct Fixture {
    vek::ProgramTextTable texts;
    vek::Engine engine;
    vek::Settings settings;
    bool ready = false;

    Fixture() {
        if (!vek::bench::LoadCore(texts, engine)) return;
        vek::SetOrbs(settings, engine.orbs);
        ready = true;
    }
};

Fixture& Shared() {
    static Fixture f;
    return f;
}

// World date `year`-01-01 12:00 GMT.
vek::DateRows WorldDate(int year) {
    vek::DateRows rows;
    vek::DateRowFields& r = rows.Row(vek::kWorldDate);
    r.yearText = std::to_string(year);
    r.monthIndex = 1;
    r.dayIndex = 1;
    r.timeIndex = vek::kNoonTimeIndex;
    r.zoneIndex = vek::kGreenwichZoneIndex;
    return rows;
}

void RunReport(benchmark::State& state, int year, bool share, bool skip, bool exact = false,
               bool bounded = true) {
    Fixture& f = Shared();
    if (!f.ready) {
        state.SkipWithError("data files missing");
        return;
    }
    vek::DateRows rows = WorldDate(year);
    vek::ReportSettings rs;
    for (vek::Aspect a : vek::AllAspects())
        rs.orbDegrees[a] = f.settings.accepted.OrbIndex[vek::Index(a) - 1];
    rs.sharePositions = share;
    rs.stepping = skip ? vek::SearchStepping::Standard : vek::SearchStepping::EveryMidnight;
    rs.exactTimes = exact;
    rs.boundedWalks = bounded;
    size_t lines = 0, chars = 0;
    for (auto _ : state) {
        vek::SlotDates jd;
        jd[vek::kWorldDate] = rows.InputDateToAJDate(vek::kWorldDate).value();
        const vek::Chart chart = vek::ComputeChart(f.engine, vek::Mode::World, jd);
        const vek::ReportDates dates = vek::ReportDatesFrom(rows, vek::Mode::World);
        vek::DurationsReport report;
        vek::OpenDurationsReport(report, f.engine, chart, dates, rs,
                                 vek::ProgramTexts(f.texts, vek::kEnglish));
        const std::string out = report.Output();
        lines = report.Entries().size();
        chars = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["aspects"] = static_cast<double>(lines);
    state.counters["chars"] = static_cast<double>(chars);
}

void BM_Durations1990_Plain(benchmark::State& s) {
    RunReport(s, 1990, false, false);
}
BENCHMARK(BM_Durations1990_Plain)->Unit(benchmark::kMillisecond);
void BM_Durations1990_Shared(benchmark::State& s) {
    RunReport(s, 1990, true, false);
}
BENCHMARK(BM_Durations1990_Shared)->Unit(benchmark::kMillisecond);
void BM_Durations1990_Skipping(benchmark::State& s) {
    RunReport(s, 1990, false, true);
}
BENCHMARK(BM_Durations1990_Skipping)->Unit(benchmark::kMillisecond);
void BM_Durations1990_Fast(benchmark::State& s) {
    RunReport(s, 1990, true, true);
}
BENCHMARK(BM_Durations1990_Fast)->Unit(benchmark::kMillisecond);
void BM_Durations1990_Exact(benchmark::State& s) {
    RunReport(s, 1990, true, true, true);
}
BENCHMARK(BM_Durations1990_Exact)->Unit(benchmark::kMillisecond);
void BM_Durations1990_ExactUnbounded(benchmark::State& s) {
    RunReport(s, 1990, true, true, true, false);
}
BENCHMARK(BM_Durations1990_ExactUnbounded)->Unit(benchmark::kMillisecond);
void BM_Durations2030_Plain(benchmark::State& s) {
    RunReport(s, 2030, false, false);
}
BENCHMARK(BM_Durations2030_Plain)->Unit(benchmark::kMillisecond);
void BM_Durations2030_Shared(benchmark::State& s) {
    RunReport(s, 2030, true, false);
}
BENCHMARK(BM_Durations2030_Shared)->Unit(benchmark::kMillisecond);
void BM_Durations2030_Skipping(benchmark::State& s) {
    RunReport(s, 2030, false, true);
}
BENCHMARK(BM_Durations2030_Skipping)->Unit(benchmark::kMillisecond);
void BM_Durations2030_Fast(benchmark::State& s) {
    RunReport(s, 2030, true, true);
}
BENCHMARK(BM_Durations2030_Fast)->Unit(benchmark::kMillisecond);
void BM_Durations2030_Exact(benchmark::State& s) {
    RunReport(s, 2030, true, true, true);
}
BENCHMARK(BM_Durations2030_Exact)->Unit(benchmark::kMillisecond);
void BM_Durations2030_ExactUnbounded(benchmark::State& s) {
    RunReport(s, 2030, true, true, true, false);
}
BENCHMARK(BM_Durations2030_ExactUnbounded)->Unit(benchmark::kMillisecond);

}  // namespace
