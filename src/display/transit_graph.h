// The transit graph: the course of one personal transit over its whole
// duration, drawn in the chart area. Time runs downward in 392 steps from the
// local start of the day the transit begins to the end of the day it ends;
// across, the transiting body's distance from the exact aspect to the natal
// body, exact in the middle and the orb at either edge. A second, grey curve
// shows the same transit in the zodiac that is not selected, and a small
// ring on the exact column marks each instant the transit is exact.
//
// The graph is laid out in pixels of 15 twips: 29 time labels down the left
// with a grid line each, the scale along the top, the curves between the
// columns 120 and 720 and the title under the last row. The drawing is a
// ChartWheel drawing (primitives in twips) that the chart painter paints on
// the screen and into PNG and SVG files alike.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/program_text.h"
#include "config/settings.h"
#include "display/chart_wheel.h"
#include "engine/vocabulary.h"
#include "time/aspect_search.h"

namespace vek {

class Engine;

// The picture box while it shows the graph, in twips.
inline constexpr int kGraphBoxLeft = 750;
inline constexpr int kGraphBoxWidth = 10950;
inline constexpr int kGraphBoxHeight = 6600;

// The plot, in pixels of 15 twips.
inline constexpr int kGraphMargin = 120;     // left edge of the plot
inline constexpr int kGraphHalfWidth = 300;  // from the exact aspect to the orb
inline constexpr int kGraphExactColumn = kGraphMargin + kGraphHalfWidth;
inline constexpr int kGraphFirstRow = 21;  // row of the first step
inline constexpr int kGraphSteps = 392;    // rows 21..413
inline constexpr int kGraphLastRow = kGraphFirstRow + kGraphSteps;
inline constexpr int kGraphLabelCount = 29;  // time labels, one every 14 rows
inline constexpr int kGraphLabelRows = 14;
inline constexpr int kGraphScaleStep = 40;  // columns between scale lines: orb / 7.5

inline constexpr Color kGraphOtherZodiacColor = Rgb(128, 128, 128);
// The ring of an exact pass: its radius in pixels, white around the
// aspect's colour.
inline constexpr int kGraphMarkRadius = 4;

// Longitudes of the engine in one zodiac, whatever zodiac the engine is set
// to: a sidereal longitude is the tropical one less the correction of the
// instant's calendar year. The engine must outlive the function.
LongitudeFn LongitudeInZodiac(const Engine& engine, bool sidereal);

// The graph's title before the birthdate is put in: "Transiting Mars in
// square to natal SunX, orb 2°40', tropical zodiac" ("Transit: Mars in
// Quadrat zu RadixsonneX, Orbis 2°40', tropischer Tk"). The "X" marks where
// the birthdate goes.
std::string TransitGraphTitle(const ProgramTexts& texts, const NameTables& names, Body natalBody,
                              Body transitBody, Aspect aspect, double orb, bool sidereal);

struct TransitGraphInput {
    Body natalBody = kSun;
    Body transitBody = kSun;
    Aspect aspect = kConjunction;
    int zoneMinutes = 0;  // the World date's zone, minutes east of Greenwich
    // Day numbers of the dates on which the transit begins and ends.
    double beginning = kUnknownDate;
    double end = kUnknownDate;
    double natalJulianDate = 0;     // the birthdate, UT
    double worldLocalDayValue = 0;  // the World date, for the marked label
    double worldJulianDate = 0;     // the World date, UT: picks the exact point
    double orb = 0;                 // radians: the aspect's personal-transit orb
    Color color;                    // the aspect's colour
    LongitudeFn longitude;          // the selected zodiac
    LongitudeFn otherLongitude;     // the other zodiac (no grey curve when unset)
    std::string title;              // with its "X"
    std::string natalDate;          // the birthdate as "1960-07-04"
    // The instants (UT) at which the transit is exact (ExactTimes::exact);
    // each within the plotted days gets a mark.
    std::vector<double> exactPasses;
};

// A point of a curve: pixel column and row, and the signed distance from
// the exact aspect in radians (positive: the transiting body is ahead).
struct GraphPoint {
    int column = 0;
    int row = 0;
    double difference = 0;
};

struct TransitGraph {
    // False when the input cannot make a graph (no orb, no dates, dates in
    // the wrong order, no positions).
    bool drawn = false;
    double beginning = 0;  // day number of the first date
    double span = 0;       // days: end + 1 − beginning
    double step = 0;       // days per row: span / 392
    double start = 0;      // Julian date (UT) of the first row: local midnight
    double orb = 0;
    Color color;                 // the aspect's colour
    double exactPoint = 0;       // longitude of the exact aspect, selected zodiac
    double otherExactPoint = 0;  // in the other zodiac

    struct Label {
        double day = 0;    // local day value: day number + time of day
        std::string text;  // "2010-07-04 06:00"
        bool marked = false;
    };
    std::vector<Label> labels;  // 29, top to bottom
    int markedLabel = -1;       // the first label not before the World date

    struct ScaleLabel {
        int column = 0;
        std::string text;
    };
    std::vector<ScaleLabel> scale;  // "0°" at the middle, then ± m·orb/7.5

    // The mark of an exact pass: its instant as a local day value of the
    // graph's zone and the pixel row it stands on (column kGraphExactColumn).
    struct Mark {
        double day = 0;
        int row = 0;
    };
    std::vector<Mark> marks;

    std::vector<GraphPoint> curve;       // selected zodiac, the aspect's colour
    std::vector<GraphPoint> otherCurve;  // the other zodiac, grey
    std::string title;                   // the birthdate put in

    ChartWheel drawing;  // what the painter paints
};

// Builds the graph and its drawing.
TransitGraph DrawTransitGraph(const TransitGraphInput& in);

// What a click on the plot reads back: the instant of the row (counted from
// the first date's day number, in local time) and the distance of the
// column from the exact aspect.
struct GraphReading {
    double day = 0;        // local day value
    std::string date;      // "2010-07-04"
    std::string time;      // "06:30"
    double deviation = 0;  // radians, signed
    bool exactPass = false;  // read on the mark of an exact pass
};

// The reading at a point in twips; nothing outside the plot (columns 120 to
// 725, rows 21 to 413). On the ring of an exact pass it reads that pass: its
// instant to the minute and no distance from exact.
std::optional<GraphReading> ReadGraphAt(const TransitGraph& graph, int xTwips, int yTwips);

// "Date and time: 2010-07-04, 06:30\nDistance from exact: 1°5'".
std::string GraphReadingText(const ProgramTexts& texts, const GraphReading& reading);

}  // namespace vek
