// The durations report: one line for every aspect the table shows, sortable
// in seven ways, telling in world and personal transits when each aspect
// began, when it will end and how long it lasts.
//
// The list is kept as fixed-column entries (DurationLines), sorted as plain
// strings from a key column, and written out as display lines. The report
// window and vek-cli share the DurationsReport model below; in natal aspects
// and synastry the same model writes the natal report instead of the lines.
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
class Engine;
struct Chart;

// ---------------------------------------------------------------------------
// Padding and case of texts (UTF-8, widths in characters)

// Number of characters (code points) of a UTF-8 text.
size_t TextLength(std::string_view s);
// Blanks on the right up to `width`; a longer text, or a negative width,
// leaves the text unchanged.
std::string PadRight(std::string_view s, int width);
// Blanks on the left (right-aligned) likewise.
std::string PadLeft(std::string_view s, int width);
// A..Z to a..z and the first character to upper case; other characters,
// umlauts included, stay as they are.
std::string LowerCase(std::string_view s);
std::string UpperFirst(std::string_view s);

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
    // BodyLongitude of the computed charts (chart A index 0, chart B 1) and
    // AspectAngle.
    const EngineArrays* arrays = nullptr;
    bool includeMoon = true;
    // The searches of world and personal transits (personal transits: set up
    // with the first body fixed at the birthdate). Without it the dates are
    // unknown.
    const AspectSearch* search = nullptr;
};

// Orb column of the searches: 0 in world transits and natal aspects, 1
// otherwise.
int SearchColumnOfMode(Mode mode);

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

// Entries of the sort list in the current language (world transits: texts
// 60..66; personal transits: 67 and 68 in place of 60 and 63, lower-cased in
// English). Empty in natal aspects and synastry.
std::vector<std::string> SortChoiceTexts(Mode mode, int language);

// ---------------------------------------------------------------------------
// Display lines

struct DurationsWidths {
    int W1 = 0;   // longest body name of bodies 1..9
    int W2 = 0;   // longest aspect noun + 10
    int WD = 19;  // "September 30, 9999,"
};
DurationsWidths ComputeDurationsWidths(const NameTables& names);

// "1 day", "364 days", "1 year", "1 year, 1 day", "2 years, 3 days" in the
// wording of the program texts (171, 174, 175, 176).
std::string DurationText(long days);

// What the display lines need besides an entry.
struct DisplayTexts {
    NameTables names;
    int language = kEnglish;
    DurationsWidths widths;
    // Base orb of each aspect in whole degrees (index 1..7), for the Moon's
    // estimate of four hours per degree of orb.
    std::array<int, kAspectCount + 1> orbDegrees{};
};

// The display line of one entry (Mode::Personal1/2 write "tr." lines).
std::string DurationDisplayLine(const DurationEntry& e, Mode mode, bool showDuration,
                                const DisplayTexts& t);

// ---------------------------------------------------------------------------
// The report model shared by the window and vek-cli

class DurationsReport {
  public:
    // Everything the report reads when it opens.
    struct Setup {
        DurationsInput durations;
        DisplayTexts texts;
        // The title line: `InputDateToString` of the World date (full month
        // names in world transits, abbreviated in personal transits); of the
        // birthdate of the personal or natal option (abbreviated), or in
        // synastry of the 1st and the 2nd birthdate; the orb summary and the
        // zodiac.
        std::string worldDateText;
        std::string birthDateText[2];
        OrbSummary orbs;
        bool sidereal = false;
        // Natal aspects and synastry: the chart (positions, AspectCount, the
        // arrays the pattern finders read) and the midpoint orb for the natal
        // report.
        const EngineArrays* natalArrays = nullptr;
        int midpointOrbIndex = 2;
    };

    // Builds the list (GetDurations) and what the window shows on opening:
    // in world and personal transits "Show duration" on and sorted by
    // deviation; in natal aspects and synastry sorted by deviation with the
    // natal report as output. The pointers of `setup` are used only during
    // this call.
    void Open(const Setup& setup);

    Mode mode() const { return setup_.durations.mode; }
    bool IsTransitMode() const;
    const std::vector<std::string>& DurationLines() const { return lines_; }

    // The sort list: its entries, whether it is shown (transit modes with
    // more than one aspect), the selected index (−1 none).
    std::vector<std::string> SortEntries() const;
    bool SortListVisible() const;
    int sortIndex() const { return sortIndex_; }

    // "Show duration": shown in transit modes only.
    bool ShowDurationVisible() const { return IsTransitMode(); }
    bool showDuration() const { return showDuration_; }

    // Choosing a sort entry: sorts by its key column; the beginning, end and
    // duration choices switch "Show duration" on. An index outside 0..6 is
    // ignored.
    void ChooseSort(int index);
    // Toggling "Show duration" (rewrites the output).
    void SetShowDuration(bool on) { showDuration_ = on; }

    // The lines the output shows in transit modes, in list order: each entry
    // read back and its display line. With the beginning or end order the
    // lines of the moving Moon are left out.
    struct ShownLine {
        DurationEntry entry;
        std::string text;
    };
    std::vector<ShownLine> ShownLines() const;

    // The report text (txbOutput): the shown lines, each ending in CR LF, or
    // the natal report.
    std::string Output() const;
    // The title line (lblTitle) and the window caption.
    std::string Title() const;
    std::string Caption() const;
    // What "Copy to clipboard" puts on the clipboard: the title line, two
    // line breaks and the output.
    std::string ClipboardText() const;

  private:
    Setup setup_;
    std::vector<std::string> lines_;
    std::string natalReport_;
    int sortIndex_ = -1;
    bool showDuration_ = false;
};

// ---------------------------------------------------------------------------
// Opening the report from a computed chart

// What the report needs of the date rows.
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

// The settings the report reads besides the engine's.
struct ReportSettings {
    std::array<int, kAspectCount + 1> orbDegrees{};  // base orb of aspect 1..7 in degrees
    int midpointOrbIndex = 2;
    // How the searches step, and whether the searches of one report share
    // the positions they compute (other values only to measure what the
    // defaults save).
    SearchStepping stepping = SearchStepping::Standard;
    bool sharePositions = true;
};

// Opens `report` on the chart of the last compute: the engine supplies the
// orb table, names, language, zodiac and the longitude wrapper, which the
// searches of this one report reach through a LongitudeCache.
void OpenDurationsReport(DurationsReport& report, const Engine& engine, const Chart& chart,
                         const ReportDates& dates, const ReportSettings& settings);

// Line break of the report texts.
inline constexpr std::string_view kReportLineBreak = "\r\n";

}  // namespace vek
