#include "app/compute.h"

#include <cmath>

#include "display/results_text.h"
#include "engine/angle_text.h"
#include "engine/modes.h"
#include "engine/patterns.h"

namespace vek {

namespace {


// An angle as the cells show it: four decimals of radians, or degrees and
// minutes.
std::string CellAngle(double radians, bool inRadians) {
    return inRadians ? RadiansText(radians) : AngleText(radians);
}

void FillPositionCell(TableCell& cell, const Chart& chart, const Engine& engine, Body body, int slot,
                      bool inRadians) {
    cell.foreground = 0;
    cell.background = kPositionCellColor;
    if (body == kMoon && !engine.IncludeMoon) {
        cell.text.clear();
        return;
    }
    const double l = chart.longitude[body][static_cast<size_t>(slot)];
    if (l < 0) {
        cell.text = MissingPositionMark(l);
    } else if (inRadians) {
        cell.text = RadiansText(l);
    } else {
        cell.text = AngleText(l);
        if (chart.retrograde[body][static_cast<size_t>(slot)]) cell.text += " r";
        cell.text += kLineBreak;
        cell.text += PositionTextShort(l, engine.names);
    }
}

}  // namespace

std::string MissingPositionMark(double longitude) {
    const double code = std::round(longitude);
    if (code == kBeforeDataRange) return "<";
    if (code == kAfterDataRange) return ">";
    return "?";
}

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
    double jd[3] = {results.DateJD[kWorldDate], results.DateJD[kBirth1], results.DateJD[kBirth2]};
    for (int k = 0; k < n; ++k) {
        const DateSlot slot = slots[static_cast<size_t>(k)];
        double& slotJD = jd[Index(slot)];
        slotJD = rows.InputDateToAJDate(slot);
        if (slotJD < 0) {
            if (failedRow) *failedRow = {slot, slotJD, DateErrorTitle(texts)};
            return Fail(DateErrorText(texts, slot, slotJD), static_cast<int>(slotJD));
        }
    }
    ComputeFromDates(engine, settings, texts, request, jd, results);
    return Ok();
}

void ComputeFromDates(Engine& engine, const Settings& settings, const ProgramTexts& texts,
                      const ComputeRequest& request, const double (&dateJD)[3],
                      ComputeResults& results) {
    if (request.mode == Mode::None) return;
    ApplySettingsToEngine(settings, engine);
    for (DateSlot s : AllDateSlots()) results.DateJD[s] = dateJD[Index(s)];
    results.chart = ComputeChart(engine, request.mode, dateJD);
    FillResults(results.chart, engine, settings, texts, request, results);
}

void FillResults(const Chart& chart, const Engine& engine, const Settings& settings,
                 const ProgramTexts& texts, const ComputeRequest& request,
                 ComputeResults& results) {
    const Mode mode = chart.mode;
    const bool inRadians = request.radians;
    const bool two = chart.twoCharts;
    const OrbTable& orbs = engine.orbs;
    TableModel& t = results.table;

    results.ComputedMode = mode;
    if (&results.chart != &chart) results.chart = chart;
    results.twoCharts = two;
    results.title = UpdateTitle(mode, request.chartShown, orbs.summary, texts);
    results.zodiacLabel = ZodiacLabel(texts, engine.SiderealZodiac, false);
    results.RetrogradeCount = 0;
    results.RetrogradeList.clear();

    if (two)
        t.LayoutSquareTable(mode, engine.SiderealZodiac, texts);
    else
        t.LayoutTriangularTable();

    // Position cells of every body, the Moon's left empty when it is
    // excluded.
    for (int slot = 0; slot < (two ? 2 : 1); ++slot) {
        for (Body body : AllBodies()) {
            const int index = t.PositionCellIndex(body, slot);
            if (index < 0) continue;
            FillPositionCell(t.txbCell[index], chart, engine, body, slot, inRadians);
            if (!two && !inRadians && Index(body) <= chart.bodyCount &&
                chart.retrograde[body][static_cast<size_t>(slot)]) {
                ++results.RetrogradeCount;
                results.RetrogradeList += engine.names.BodyAbbreviation[body] + " ";
            }
        }
    }

    // Aspect cells in pair order.
    results.AspectCount = chart.aspectCount;
    for (const PairResult& p : chart.Pairs()) {
        if (!p.aspect) continue;
        const int index = t.AspectCellIndex(p.first, p.second);
        if (index < 0) continue;
        TableCell& cell = t.txbCell[index];
        cell.aspect = p.aspect;
        cell.text = engine.names.AspectAbbreviation[*p.aspect];
        cell.text += kLineBreak;
        cell.text += CellAngle(p.deviation, inRadians);
        if (chart.hasMarkers && p.marker < 0) cell.text += " -";
        if (chart.hasMarkers && p.marker > 0) cell.text += " +";
        // The aspect's own orb column decides the boldface threshold: the
        // column whose orb admitted the aspect.
        t.SetCellStyle(chart.orbColumn, index, *p.aspect, p.deviation, settings, orbs);
    }

    if (!two) {
        TableCell& zodiac = t.txbCell[t.ZodiacCellIndex()];
        zodiac.text = results.zodiacLabel;
        zodiac.foreground = 0;
        zodiac.background = kPositionCellColor;
        zodiac.visible = true;

        const PatternFindings findings =
            FindAllPatterns(chart, orbs, settings.controls.midpointOrbIndex, PatternForm::Summary,
                            PatternTextsOf(engine.names, texts));
        StorePatternCounts(findings, results.PatternCount);
        results.summary =
            SingleChartSummary(results.AspectCount, engine.names, texts, PatternSection(findings),
                               results.RetrogradeCount, results.RetrogradeList);
    } else {
        results.summary = TwoChartSummary(results.AspectCount, engine.names, texts);
    }
}

}  // namespace vek
