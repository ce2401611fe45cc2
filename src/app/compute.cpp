#include "app/compute.h"

#include "display/chart_table.h"
#include "display/results_text.h"
#include "engine/modes.h"
#include "engine/pattern_findings.h"
#include "engine/patterns.h"

namespace vek {

void ApplySettingsToEngine(const Settings& settings, Engine& engine) {
    SetOrbs(settings, engine.orbs);
    engine.SiderealZodiac = settings.accepted.SiderealZodiac;
    engine.IncludeMoon = settings.accepted.IncludeMoon;
    engine.AspectColor = settings.accepted.AspectColor;
    const Language language = settings.accepted.CurrentLanguage;
    if (engine.Language() != language) engine.SetLanguage(language);
}

Status ComputeCommand(Engine& engine, DateRows& rows, const Settings& settings,
                      const ProgramTexts& texts, const ComputeRequest& request,
                      ComputeResults& results, DateRowFailure* failedRow) {
    const ModeInfo& m = ModeInfoOf(request.mode);
    const auto& slots = m.dateSlots;
    const int n = m.slotCount;
    if (n == 0) return Ok();
    SlotDates dates = results.DateJD;
    for (int k = 0; k < n; ++k) {
        const DateSlot slot = slots[static_cast<size_t>(k)];
        const Result<JulianDate> slotJD = rows.InputDateToAJDate(slot);
        if (!slotJD) {
            const int code = slotJD.error().code;
            if (failedRow) *failedRow = {slot, code, DateErrorTitle(texts)};
            return Fail(DateErrorText(texts, slot, code), code);
        }
        dates[slot] = *slotJD;
    }
    ComputeFromDates(engine, settings, texts, request, dates, results);
    const ChartExtrasRequest extras = ChartExtrasRequestOf(rows, settings);
    results.extras = extras.houses || !extras.points.empty()
                         ? ComputeChartExtras(engine, results.chart, extras)
                         : ChartExtras();
    return Ok();
}

ChartExtrasRequest ChartExtrasRequestOf(const DateRows& rows, const Settings& settings) {
    ChartExtrasRequest r;
    const ChartExtrasChoice& c = settings.accepted.Extras;
    r.houses = c.houses;
    r.system = c.system;
    r.points = c.Points();
    for (DateSlot s : AllDateSlots())
        if (const std::optional<RowPlace>& place = rows.Row(s).place) r.places[s] = place->point;
    return r;
}

void ComputeFromDates(Engine& engine, const Settings& settings, const ProgramTexts& texts,
                      const ComputeRequest& request, const SlotDates& dates,
                      ComputeResults& results) {
    if (request.mode == Mode::None) return;
    ApplySettingsToEngine(settings, engine);
    results.DateJD = dates;
    results.chart = ComputeChart(engine, request.mode, dates);
    FillResults(results.chart, engine, settings, texts, request, results);
}

namespace {

// The retrograde bodies of chart A in body order: their number and their
// abbreviations, each followed by a blank.
void ListRetrogradeBodies(const Chart& chart, const NameTables& names, ComputeResults& results) {
    results.RetrogradeCount = 0;
    results.RetrogradeList.clear();
    for (const Body body : chart.ComputedBodies()) {
        if (!chart.retrograde[body][kChartA]) continue;
        ++results.RetrogradeCount;
        results.RetrogradeList += names.BodyAbbreviation[body] + " ";
    }
}

}  // namespace

void FillResults(const Chart& chart, const Engine& engine, const Settings& settings,
                 const ProgramTexts& texts, const ComputeRequest& request,
                 ComputeResults& results) {
    const Mode mode = chart.mode;
    const bool two = chart.twoCharts;
    const OrbTable& orbs = engine.orbs;

    results.ComputedMode = mode;
    if (&results.chart != &chart) results.chart = chart;
    results.twoCharts = two;
    results.title = UpdateTitle(mode, request.chartShown, orbs.summary, texts);
    results.zodiacLabel = ZodiacLabel(texts, engine.SiderealZodiac, false);
    results.AspectCount = chart.aspectCount;

    const ChartTableOptions options{request.radians, engine.IncludeMoon, engine.SiderealZodiac,
                                    results.zodiacLabel};
    FillChartTable(chart, engine.names, settings, orbs, texts, options, results.table);

    if (two) {
        results.RetrogradeCount = 0;
        results.RetrogradeList.clear();
        results.summary = TwoChartSummary(results.AspectCount, engine.names, texts);
        return;
    }
    // The count of retrograde bodies is written in degrees only.
    if (request.radians) {
        results.RetrogradeCount = 0;
        results.RetrogradeList.clear();
    } else {
        ListRetrogradeBodies(chart, engine.names, results);
    }
    const PatternFindings findings =
        FindAllPatterns(chart, orbs, settings.controls.midpointOrbIndex, PatternForm::Summary,
                        PatternTextsOf(engine.names, texts));
    StorePatternCounts(findings, results.PatternCount);
    results.summary =
        SingleChartSummary(results.AspectCount, engine.names, texts, PatternSection(findings),
                           results.RetrogradeCount, results.RetrogradeList);
}

}  // namespace vek
