// The chart wheel: drawing it with glyph placement (one chart and two), and
// writing the annotated image as a PNG file. The results are those of real
// computes with default settings, the Moon included; the fonts come from the
// offscreen platform.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "app/compute.h"
#include "bench_setup.h"
#include "config/program_text.h"
#include "display/chart_image.h"
#include "display/version.h"
#include "display/chart_wheel.h"
#include "paint/chart_painter.h"

namespace {

struct Fixture {
    vek::Engine engine;
    vek::Settings settings;
    vek::ComputeResults world, personal;
    vek::DateRows rows;
    vek::ProgramTextTable textTable;
    vek::ProgramTexts texts;
    bool ready = false;

    Fixture() {
        vek::bench::StartOffscreenPainting();
        if (!vek::bench::LoadCore(textTable, engine)) return;
        texts = vek::ProgramTexts(textTable, vek::kEnglish);
        vek::ApplySettingsToEngine(settings, engine);
        vek::SlotDates dates;
        dates[vek::kWorldDate] = vek::JulianDate(2455382.1);  // July 2010
        dates[vek::kBirth1] = vek::JulianDate(2437120.5);     // July 1960
        vek::ComputeFromDates(engine, settings, texts, {vek::Mode::World, false, true}, dates,
                              world);
        vek::ComputeFromDates(engine, settings, texts, {vek::Mode::Personal1, false, true}, dates,
                              personal);
        ready = true;
    }

    vek::WheelInput Input(const vek::ComputeResults& r) const {
        return vek::MakeWheelInput(r.chart, r.table, engine.names, settings, texts);
    }
};

Fixture& Shared() {
    static Fixture f;
    return f;
}

void DrawBench(benchmark::State& state, const vek::ComputeResults& (*pick)(Fixture&)) {
    Fixture& f = Shared();
    if (!f.ready) {
        state.SkipWithError("no data");
        return;
    }
    const vek::GlyphInks& inks = vek::paint::MeasuredGlyphInks();
    const vek::WheelInput in = f.Input(pick(f));
    for (auto _ : state) {
        vek::ChartWheel w = vek::DrawChartWheel(in, inks);
        benchmark::DoNotOptimize(w.items.data());
    }
}

void BM_DrawWheel(benchmark::State& state) {
    DrawBench(state, [](Fixture& f) -> const vek::ComputeResults& { return f.world; });
}
BENCHMARK(BM_DrawWheel)->Unit(benchmark::kMillisecond);

void BM_DrawDoubleWheel(benchmark::State& state) {
    DrawBench(state, [](Fixture& f) -> const vek::ComputeResults& { return f.personal; });
}
BENCHMARK(BM_DrawDoubleWheel)->Unit(benchmark::kMillisecond);

// The image as "Save image as ..." writes it, at 1× and 2×.
void BM_WritePng(benchmark::State& state) {
    Fixture& f = Shared();
    if (!f.ready) {
        state.SkipWithError("no data");
        return;
    }
    const vek::ChartWheel shown =
        vek::DrawChartWheel(f.Input(f.world), vek::paint::MeasuredGlyphInks());
    vek::SavedImageInput in;
    in.version = vek::ProgramVersionText();
    in.rows = &f.rows;
    in.texts = f.texts;
    const vek::ChartWheel saved = vek::SavedChartImage(shown, in);
    QTemporaryDir dir;
    const QString path = dir.filePath("chart.png");
    for (auto _ : state) {
        const vek::Status s = vek::paint::WriteChartFile(saved, path, state.range(0));
        if (!s) state.SkipWithError(s.message().c_str());
    }
}
BENCHMARK(BM_WritePng)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
