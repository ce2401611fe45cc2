// The durations list as data: one entry for every aspect the table shows,
// telling in world and personal transits when each aspect began and when it
// will end, and the stable sort by a key column. The texts that show the
// list live with the report (display/durations_report.h).
//
// Entries are kept as fixed-column strings and sorted as plain strings from a
// key column.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/vek_types.h"
#include "engine/vocabulary.h"
#include "time/aspect_search.h"

namespace vek {

class DateRows;
struct Chart;

// ---------------------------------------------------------------------------
// The fixed-column entries

// An aspect of the table, its bodies in the order of the durations line:
//   world transits, natal aspects: the lower body index first;
//   personal transits: the natal body first, the transiting body second;
//   synastry: the body of the 1st birthdate first, of the 2nd second.
struct ShownAspect {
    int first = 0;
    int second = 0;
    int aspect = 0;
    bool operator==(const ShownAspect&) const = default;
};

// The aspects a table shows, in cell order: for every cell 0..n − 1 and
// every aspect 1..7 whose abbreviation (current language) the cell's text
// contains, the two bodies from the cell's row and column. numCols is 10 for
// the triangular table of world transits and natal aspects, 12 for the square
// table of personal transits and synastry.
std::vector<ShownAspect> AspectsShownInTable(Mode mode, int numCols,
                                             const std::vector<std::string>& cellTexts,
                                             const NameTables& names);

// The aspects of a computed chart in table order, bodies ordered as above.
std::vector<ShownAspect> AspectsOfChart(const Chart& chart);

// Entry columns (1-based): 1–2 first body, 3–4 second body, 5–6 first body
// again, 7–8 aspect, 9 blank, 10–17 deviation in radians ("0.012345"),
// 18–25 beginning day number, 26–33 end day number (−1 unknown), 34–39
// duration in days (blank when a date is unknown). The dates part (18–39) is
// 22 blanks for an aspect of the moving Moon and 22 "-" in natal aspects and
// synastry.
inline constexpr int kEntryDatesColumn = 18;
inline constexpr int kEntryDatesWidth = 22;
inline constexpr int kEntryLength = 39;

// Columns 1–17: the bodies, the aspect and the deviation. The decimal
// separator is always ".", whatever the locale.
std::string DurationEntryHead(int first, int second, int aspect, double deviation);
// Columns 18–39 for known or unknown (negative) dates.
std::string DurationEntryDates(double beginning, double end);

// An entry read back.
struct DurationEntry {
    int first = 0;
    int second = 0;
    int aspect = 0;
    double deviation = 0;
    bool hasDates = false;  // columns 18–33 hold numbers
    long beginning = -1;
    long end = -1;
    bool hasDuration = false;
    long duration = 0;
};
DurationEntry ReadDurationEntry(std::string_view entry);

// What GetDurations reads from the main window and the engine.
struct DurationsInput {
    Mode mode = Mode::None;  // the mode the table was computed in
    std::vector<ShownAspect> aspects;
    // The computed chart: the positions of chart A and chart B.
    const Chart* chart = nullptr;
    bool includeMoon = true;
    // The searches of world and personal transits (personal transits: set up
    // with the first body fixed at the birthdate). Without it the dates are
    // unknown.
    const AspectSearch* search = nullptr;
};

// Builds the entries, one per aspect, in table order. In world and personal
// transits each entry not of the moving Moon runs BeginningOfAspect and
// EndOfAspect.
std::vector<std::string> GetDurations(const DurationsInput& in);

// ---------------------------------------------------------------------------
// Sorting

// Sorts list[first..last] (0-based, inclusive) by the text of each entry from
// `keyColumn` (1-based) to its end, compared as plain byte strings. Without
// `reverse` the range ends in descending key order, with it in ascending
// order. Entries with equal keys keep their order in the list in both cases
// (the sort is stable), so a list in table order stays in table order among
// equals. A range outside the list is clipped.
void QuickSort(bool reverse, std::vector<std::string>& list, int first, int last, int keyColumn);

// The seven sort choices: list index → key column (1, 7, 9, 3, 18, 26, 34).
inline constexpr int kSortChoiceCount = 7;
inline constexpr std::array<int, kSortChoiceCount> kSortKeyColumn = {1, 7, 9, 3, 18, 26, 34};
enum SortChoice : int {
    kSortByFirstBody = 0,
    kSortByAspect,
    kSortByDeviation,
    kSortBySecondBody,
    kSortByBeginning,
    kSortByEnd,
    kSortByDuration,
};

// ---------------------------------------------------------------------------
// What the report needs of the date rows

struct ReportDates {
    double worldLocalDayValue = -1;  // LocalDayValue of the World date
    int worldZoneMinutes = 0;        // item value of the World date's zone
    std::string worldDateText;       // InputDateToString as the title wants it
    std::string birthDateText[2];
    double birthJulianDate = 0;  // personal transits: the birthdate's Julian date
};

// Reads them from the date rows for a mode (this may set an empty time to
// 12:00 and an empty zone to the default zone, as every conversion does).
ReportDates ReportDatesFrom(DateRows& rows, Mode mode);

}  // namespace vek
