// The compute command: turns the date rows of the current mode and the
// settings into one set of results (positions, the filled aspect table, the
// title, the summary text with aspect counts, patterns, midpoints and
// retrograde bodies, and the pattern counts a run watches). The window
// copies the results into its controls; vek-cli prints them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/program_text.h"
#include "config/settings.h"
#include "display/table_model.h"
#include "engine/chart.h"
#include "engine/chart_extras.h"
#include "engine/engine.h"
#include "engine/vek_types.h"
#include "time/date_rows.h"
#include "util/result.h"

namespace vek {

// What the window passes besides the date rows and the settings.
struct ComputeRequest {
    Mode mode = Mode::World;  // the selected mode button
    bool radians = false;     // "Radians" selected instead of "Degrees"
    bool chartShown = false;  // the chart wheel is on screen instead of the table
};

// Everything one compute leaves behind.
struct ComputeResults {
    Mode ComputedMode = Mode::None;
    // Julian dates of the three date slots: those the last compute converted,
    // the others as the compute before left them. The next compute starts
    // from them.
    SlotDates DateJD{};
    Chart chart;        // positions, retrograde flags and every tested pair
    TableModel table;   // every cell's text, colours, font and boldface
    std::string title;  // caption of the title label
    // The summary: the box txbReport in single-chart modes, txbReport1 in
    // two-chart modes (twoCharts).
    std::string summary;
    bool twoCharts = false;
    AspectArray<int16_t> AspectCount{};
    // Counts of the patterns (slot order). A compute only overwrites the
    // slots whose finder found something (and clears the smaller stellium
    // sizes below a reported one); the others keep their earlier value, and
    // two-chart computes leave all of them alone.
    PatternArray<int16_t> PatternCount{};
    int RetrogradeCount = 0;     // chart A, single-chart modes in degrees only
    std::string RetrogradeList;  // "Ma Ju ": abbreviations, each followed by a blank
    std::string zodiacLabel;     // the hint label's caption while the chart is shown
    // The houses of the chart's date with a place and the extra points, as
    // the accepted settings ask for them; empty when they ask for none.
    ChartExtras extras;
};

// The invalid date row that stopped a compute, as the message box needs it.
struct DateRowFailure {
    std::optional<DateSlot> slot;  // none when no row failed
    int code = 0;       // kDateIncomplete .. kDateZoneUnknown
    std::string title;  // caption of the message box
};

// One compute. Converts the date rows the mode needs (the conversion may
// set an empty time to 12:00 and an empty zone to the default zone, as the
// window shows) into `results.DateJD`. The first invalid row stops it: the
// compute fails with the message (slot name and the text for the row's code)
// and the code, and neither the engine nor `results` is touched; `failedRow`,
// when given, then names the row. Otherwise the engine takes the settings
// (orb table, zodiac, Moon, colours, language), computes the chart, and
// `results` is replaced, except for the pattern-count slots that keep their
// value (see ComputeResults). Mode::None computes nothing. Texts (title,
// corner cells, summary, messages) come from `texts`.
Status ComputeCommand(Engine& engine, DateRows& rows, const Settings& settings,
                      const ProgramTexts& texts, const ComputeRequest& request,
                      ComputeResults& results, DateRowFailure* failedRow = nullptr);

// What the accepted settings and the rows' places ask the chart to show
// beside its bodies.
ChartExtrasRequest ChartExtrasRequestOf(const DateRows& rows, const Settings& settings);

// The same from the Julian dates of the three date slots, which become
// results.DateJD.
void ComputeFromDates(Engine& engine, const Settings& settings, const ProgramTexts& texts,
                      const ComputeRequest& request, const SlotDates& dates,
                      ComputeResults& results);

// Hands the settings the engine reads to the engine: orb table and summary,
// zodiac, "Include Moon", aspect colours and the language of the names.
void ApplySettingsToEngine(const Settings& settings, Engine& engine);

// Writes the chart, table, title and summary of a computed chart, with the
// engine's settings as applied.
void FillResults(const Chart& chart, const Engine& engine, const Settings& settings,
                 const ProgramTexts& texts, const ComputeRequest& request, ComputeResults& results);

}  // namespace vek
