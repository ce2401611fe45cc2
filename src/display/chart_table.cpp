#include "display/chart_table.h"

#include <cmath>

#include "display/results_text.h"
#include "engine/angle_text.h"

namespace vek {

namespace {

// An angle as the cells show it: four decimals of radians, or degrees and
// minutes.
std::string CellAngle(double radians, bool inRadians) {
    return inRadians ? RadiansText(Radians(radians)) : AngleText(Radians(radians));
}

void FillPositionCell(TableCell& cell, const Chart& chart, const NameTables& names, Body body,
                      int slot, const ChartTableOptions& options) {
    cell.foreground = Color();
    cell.background = kPositionCellColor;
    if (body == kMoon && !options.includeMoon) {
        cell.text.clear();
        return;
    }
    const SkyLongitude position = chart.longitude[body][static_cast<size_t>(slot)];
    if (!position) {
        cell.text = MissingPositionMark(position);
        return;
    }
    const double l = *position;
    if (options.inRadians) {
        cell.text = RadiansText(Radians(l));
    } else {
        cell.text = AngleText(Radians(l));
        if (chart.retrograde[body][static_cast<size_t>(slot)]) cell.text += " r";
        cell.text += kLineBreak;
        cell.text += PositionTextShort(Radians(l), names);
    }
}

void FillAspectCells(const Chart& chart, const NameTables& names, const Settings& settings,
                     const OrbTable& orbs, bool inRadians, TableModel& t) {
    for (const PairResult& p : chart.Pairs()) {
        if (!p.aspect) continue;
        const int index = t.AspectCellIndex(p.first, p.second);
        if (index < 0) continue;
        TableCell& cell = t.txbCell[index];
        cell.aspect = p.aspect;
        cell.text = names.AspectAbbreviation[*p.aspect];
        cell.text += kLineBreak;
        cell.text += CellAngle(p.deviation, inRadians);
        if (chart.hasMarkers && p.marker < 0) cell.text += " -";
        if (chart.hasMarkers && p.marker > 0) cell.text += " +";
        // The aspect's own orb column decides the boldface threshold: the
        // column whose orb admitted the aspect.
        t.SetCellStyle(chart.orbColumn, index, *p.aspect, p.deviation, settings, orbs);
    }
}

}  // namespace

std::string MissingPositionMark(SkyLongitude longitude) {
    switch (longitude.Reason()) {
    case NoPosition::BeforeData: return "<";
    case NoPosition::AfterData: return ">";
    case NoPosition::Failed: break;
    }
    return "?";
}

void FillChartTable(const Chart& chart, const NameTables& names, const Settings& settings,
                    const OrbTable& orbs, const ProgramTexts& texts,
                    const ChartTableOptions& options, TableModel& t) {
    const bool two = chart.twoCharts;
    if (two)
        t.LayoutSquareTable(chart.mode, options.sidereal, texts);
    else
        t.LayoutTriangularTable();

    // Position cells of every body, the Moon's left empty when it is
    // excluded.
    for (int slot = 0; slot < (two ? 2 : 1); ++slot)
        for (Body body : AllBodies()) {
            const int index = t.PositionCellIndex(body, slot);
            if (index >= 0) FillPositionCell(t.txbCell[index], chart, names, body, slot, options);
        }

    FillAspectCells(chart, names, settings, orbs, options.inRadians, t);

    if (!two) {
        TableCell& zodiac = t.txbCell[t.ZodiacCellIndex()];
        zodiac.text = options.zodiacLabel;
        zodiac.foreground = Color();
        zodiac.background = kPositionCellColor;
        zodiac.visible = true;
    }
}

}  // namespace vek
