// The aspect table of a computed chart: lays the table out for the chart's
// mode and writes every position, aspect and zodiac cell, with the colours
// and boldface of the settings.
#pragma once

#include <string>

#include "config/program_text.h"
#include "config/settings.h"
#include "display/table_model.h"
#include "engine/chart.h"
#include "engine/vocabulary.h"

namespace vek {

// How the cells write a chart.
struct ChartTableOptions {
    bool inRadians = false;   // four decimals of radians instead of degrees
    bool includeMoon = true;  // the Moon's position cell is left empty without it
    bool sidereal = false;    // the square table's corner names the zodiac
    std::string zodiacLabel;  // the zodiac cell of the triangular table
};

void FillChartTable(const Chart& chart, const NameTables& names, const Settings& settings,
                    const OrbTable& orbs, const ProgramTexts& texts,
                    const ChartTableOptions& options, TableModel& table);

// The mark of a position cell without a position: "<" before the data
// range, ">" after it, "?" for any other failure.
std::string MissingPositionMark(SkyLongitude longitude);

}  // namespace vek
