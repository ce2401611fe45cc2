// The transit graph of a personal transit: the model (393 positions in each
// zodiac) alone, and model plus painting into an image at 1× and 2×, as the
// window draws it after a double-click. The double wheel drawn and painted
// in the same run is the baseline: the other drawing of the chart area.
// Real positions of the ephemeris; the fonts come from the offscreen
// platform.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <string>

#include "app/compute.h"
#include "bench_setup.h"
#include "config/program_text.h"
#include "display/chart_wheel.h"
#include "display/transit_graph.h"
#include "paint/chart_painter.h"
#include "time/aspect_search.h"

namespace {

struct Fixture {
    vek::Engine engine;
    vek::Settings settings;
    vek::ComputeResults personal;
    vek::ProgramTextTable textTable;
    vek::ProgramTexts texts;
    vek::TransitGraphInput graph;
    bool ready = false;

    static constexpr double kWorld = 2455382.1;  // 4 July 2010
    static constexpr double kBirth = 2437120.5;  // 4 July 1960

    Fixture() {
        vek::bench::StartOffscreenPainting();
        if (!vek::bench::LoadCore(textTable, engine)) return;
        texts = vek::ProgramTexts(textTable, vek::kEnglish);
        vek::ApplySettingsToEngine(settings, engine);
        vek::SlotDates dates;
        dates[vek::kWorldDate] = vek::JulianDate(kWorld);
        dates[vek::kBirth1] = vek::JulianDate(kBirth);
        vek::ComputeFromDates(engine, settings, texts, {vek::Mode::Personal1, false, true}, dates,
                              personal);
        // The first transit of a planet the table shows, with its dates.
        const double localDay = kWorld + 0.5;
        vek::AspectSearch search([this](vek::Body body, vek::JulianDate jd) { return engine.Longitude(body, jd); },
                                 engine.orbs, localDay, 0);
        search.FixFirstBodyAt(vek::JulianDate(kBirth));
        bool found = false;
        for (const vek::TableCell& c : personal.table.txbCell) {
            if (c.kind != vek::CellKind::Aspect || !c.aspect || !c.first || !c.second ||
                c.second == vek::kMoon)
                continue;
            graph.natalBody = *c.first;
            graph.transitBody = *c.second;
            graph.aspect = *c.aspect;
            graph.beginning =
                search.BeginningOfAspect(*c.first, *c.second, *c.aspect, vek::kOrbPersonal);
            graph.end = search.EndOfAspect(*c.first, *c.second, *c.aspect, vek::kOrbPersonal);
            found = true;
            break;
        }
        graph.natalJulianDate = kBirth;
        graph.worldLocalDayValue = localDay;
        graph.worldJulianDate = kWorld;
        graph.orb = engine.orbs.orb[graph.aspect][vek::kOrbPersonal];
        graph.color = vek::DefaultAspectColor(graph.aspect);
        graph.longitude = vek::LongitudeInZodiac(engine, false);
        graph.otherLongitude = vek::LongitudeInZodiac(engine, true);
        graph.title = vek::TransitGraphTitle(texts, engine.names, graph.natalBody,
                                             graph.transitBody, graph.aspect, graph.orb, false);
        graph.natalDate = "1960-07-04";
        ready = found && vek::DrawTransitGraph(graph).drawn;
        if (!ready) std::fprintf(stderr, "no transit to draw\n");
    }
};

Fixture& Shared() {
    static Fixture f;
    return f;
}

void BM_TransitGraphModel(benchmark::State& state) {
    Fixture& f = Shared();
    if (!f.ready) {
        state.SkipWithError("no data");
        return;
    }
    for (auto _ : state) {
        vek::TransitGraph g = vek::DrawTransitGraph(f.graph);
        benchmark::DoNotOptimize(g.drawing.items.data());
    }
}
BENCHMARK(BM_TransitGraphModel)->Unit(benchmark::kMillisecond);

// Model and painting, at 1× and 2× the drawing's pixels.
void BM_TransitGraphDrawn(benchmark::State& state) {
    Fixture& f = Shared();
    if (!f.ready) {
        state.SkipWithError("no data");
        return;
    }
    for (auto _ : state) {
        const vek::TransitGraph g = vek::DrawTransitGraph(f.graph);
        QImage image = vek::paint::RenderChart(g.drawing, static_cast<double>(state.range(0)));
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_TransitGraphDrawn)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Baseline: the double wheel of the same result, drawn and painted.
void BM_DoubleWheelDrawn(benchmark::State& state) {
    Fixture& f = Shared();
    if (!f.ready) {
        state.SkipWithError("no data");
        return;
    }
    const vek::WheelInput in = vek::MakeWheelInput(f.personal.chart, f.personal.table,
                                                   f.engine.names, f.settings, f.texts);
    const vek::GlyphInks& inks = vek::paint::MeasuredGlyphInks();
    for (auto _ : state) {
        const vek::ChartWheel w = vek::DrawChartWheel(in, inks);
        QImage image = vek::paint::RenderChart(w, static_cast<double>(state.range(0)));
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DoubleWheelDrawn)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
