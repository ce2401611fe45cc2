// "Report" clicked in the main window until the report window shows the
// durations, for the chart of bench_durations' slowest case: world transits
// on 1 January 1990, 12:00 GMT (Saturn, Uranus and Neptune together), default
// orbs, the Moon included. Each run copies what the report reads, builds it
// (within the blink, on the worker thread), fills the window and closes it
// again. Runs on Qt's offscreen platform unless QT_QPA_PLATFORM names another.
//
// Compare with BM_Durations1990_Fast of bench_durations, the report alone.
// The time is the clock's, which a loaded machine stretches; the counter
// cpu_ms is the processor time of all threads per opening, which it does not.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <ctime>
#include <memory>

#include "gui/dialogs.h"
#include "gui/frm_durations.h"
#include "gui/frm_main.h"
#include "util/paths.h"

namespace {

double ProcessCpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

vek::ClockReading NewYear1990() {
    vek::ClockReading r;
    r.year = 1990;
    r.month = 1;
    r.day = 1;
    r.hour = 12;
    r.minute = 0;
    r.zoneSecondsWest = 0;
    return r;
}

QApplication& App() {
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "bench_durations_window";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *app;
}

void BM_DurationsWindow1990(benchmark::State& state) {
    App();
    QTemporaryDir tmp;
    vek::gui::ScriptedDialogs dialogs;
    vek::gui::FrmMain::Environment env;
    env.dataFolder = vek::ProgramFolder();
    env.autoStatePath = tmp.filePath("vek.usr").toStdString();
    env.configFolder = tmp.filePath("config").toStdString();
    env.clock = NewYear1990;
    env.localZoneMinutes = 0;
    vek::gui::FrmMain window(dialogs, env);
    if (!window.Load()) {
        state.SkipWithError("data files missing");
        return;
    }
    auto* report = window.findChild<QPushButton*>("cmdReport");
    size_t lines = 0;
    const double cpuBefore = ProcessCpuMilliseconds();
    for (auto _ : state) {
        report->click();
        vek::gui::FrmDurations* d = window.DurationsWindow();
        // A build that outlasts the blink finishes in the background.
        while (d->Building()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (!d->Model()) {
            state.SkipWithError("no report");
            return;
        }
        lines = d->Model()->Entries().size();
        d->hide();
    }
    state.counters["cpu_ms"] = benchmark::Counter(ProcessCpuMilliseconds() - cpuBefore,
                                                  benchmark::Counter::kAvgIterations);
    state.counters["aspects"] = static_cast<double>(lines);
}
// The build runs on the worker thread: the time that counts is the clock's.
BENCHMARK(BM_DurationsWindow1990)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
