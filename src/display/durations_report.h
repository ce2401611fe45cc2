// The durations report shown by the report window and vek-cli: the sort
// list, the display line of every entry, the title, caption and clipboard
// text; in natal aspects and synastry the same model writes the natal report
// instead of the lines.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "config/program_text.h"
#include "display/natal_report.h"
#include "engine/vek_types.h"
#include "engine/vocabulary.h"
#include "time/aspect_search.h"
#include "time/durations.h"

namespace vek {

class Engine;
struct Chart;
struct Settings;

// Entries of the sort list (world transits: "first planet" .. "duration";
// personal transits: "natal planet" and "transits" in place of the first and
// the second planet, lower-cased in English). Empty in natal aspects and
// synastry.
std::vector<std::string> SortChoiceTexts(Mode mode, const ProgramTexts& texts);

// ---------------------------------------------------------------------------
// Display lines

struct DurationsWidths {
    int W1 = 0;   // longest body name of bodies 1..9
    int W2 = 0;   // longest aspect noun + 10
    int WD = 19;  // "September 30, 9999,"
};
DurationsWidths ComputeDurationsWidths(const NameTables& names);

// "1 day", "364 days", "1 year", "1 year, 1 day", "2 years, 3 days" in the
// wording of the program texts.
std::string DurationText(const ProgramTexts& texts, long days);

// What the display lines need besides an entry.
struct DisplayTexts {
    NameTables names;
    ProgramTexts programTexts;  // also the language of the dates
    DurationsWidths widths;
    // Base orb of each aspect in whole degrees (index 1..7), for the Moon's
    // estimate of four hours per degree of orb.
    AspectArray<int> orbDegrees{};
};

// The display line of one entry (Mode::Personal1/2 write "tr." lines).
std::string DurationDisplayLine(const DurationEntry& e, Mode mode, bool showDuration,
                                const DisplayTexts& t);

// An instant as the exact times write it, to the minute in `zone` with its
// offset ("2026-12-01T03:12+01:00"); "unknown" when it is NaN or outside
// what the zone can convert.
std::string ExactInstantText(double jd, const TimeZone& zone, const ProgramTexts& texts);

// The column of exact passes that the "exact times" option adds to a line:
// "exact 2026-12-01T03:12+01:00, 2026-12-20T17:40+01:00" in `zone`, to the
// minute; "not exact in this pass" when the aspect comes within orb and
// leaves it without being exact; "unknown" when the entry has no instants
// (its dates were not found).
std::string ExactColumnText(const DurationEntry& e, const TimeZone& zone,
                            const ProgramTexts& texts);

// The line of instants that vek-cli durations --exact writes below an
// entry's line: "enters the orb 2026-12-01T03:12+01:00, exact ..., leaves
// the orb ...", "unknown" where one was not found; empty when the entry has
// none.
std::string ExactTimesLine(const DurationEntry& e, const TimeZone& zone, const ProgramTexts& texts);

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
        // The orb table the chart was computed with; natal aspects and
        // synastry hand it and durations.chart to the pattern finders of the
        // natal report, with the midpoint orb.
        const OrbTable* orbTable = nullptr;
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
    // The entries in list order.
    const std::vector<DurationEntry>& Entries() const { return entries_; }

    // The sort list: its entries, whether it is shown (transit modes with
    // more than one aspect), the selected index (−1 none).
    std::vector<std::string> SortEntries() const;
    bool SortListVisible() const;
    int sortIndex() const { return sortIndex_; }

    // "Show duration": shown in transit modes only.
    bool ShowDurationVisible() const { return IsTransitMode(); }
    bool showDuration() const { return showDuration_; }

    // Choosing a sort entry: sorts by its key; the beginning, end and
    // duration choices switch "Show duration" on. An index outside 0..6 is
    // ignored, and so is 7 (by the first exact pass) unless the exact times
    // are shown.
    void ChooseSort(int index);
    // Toggling "Show duration" (rewrites the output).
    void SetShowDuration(bool on) { showDuration_ = on; }

    // "Exact times": whether the entries were built with their exact
    // instants (ReportSettings::exactTimes), and whether the lines show the
    // column of exact passes. Off after Open; it can be switched on only
    // when the instants were built, and it adds the sort by the first exact
    // pass to the sort list. Switching it off while sorted by exact passes
    // sorts by deviation, as the report opens.
    bool HasExactTimes() const { return exactBuilt_; }
    bool showExact() const { return showExact_; }
    void SetShowExact(bool on);
    // The zone the instants are written in (the World date's).
    const TimeZone& ExactZone() const { return setup_.durations.exact.zone; }

    // The lines the output shows in transit modes, in list order: each entry
    // and its display line. With the beginning or end order the
    // lines of the moving Moon are left out. With the exact times shown,
    // every line is padded to the longest and gets its column of exact
    // passes after two blanks.
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
    std::vector<DurationEntry> entries_;
    std::string natalReport_;
    int sortIndex_ = -1;
    bool showDuration_ = false;
    bool exactBuilt_ = false;
    bool showExact_ = false;
};
// ---------------------------------------------------------------------------
// Opening the report from a computed chart

// The settings the report reads besides the engine's.
struct ReportSettings {
    AspectArray<int> orbDegrees{};  // base orb of aspect 1..7 in degrees
    int midpointOrbIndex = 2;
    // How the searches step, and whether the searches of one report share
    // the positions they compute (other values only to measure what the
    // defaults save).
    SearchStepping stepping = SearchStepping::Standard;
    bool sharePositions = true;
    // Whether the walks leave out the midnights the ephemeris' motion
    // bounds decide (AspectSearch::UseMotionBounds).
    bool boundedWalks = true;
    // Whether the entries get their exact instants (ExactTimes).
    bool exactTimes = false;
    // Extra points whose aspects from the moving bodies follow the table's
    // (world and personal transits); with points the name column is as wide
    // as their names.
    std::vector<ExtraPoint> points;
    // Told how far the searches have come; returning false stops the report
    // (see DurationsInput::progress). May be empty.
    std::function<bool(int done, int total)> progress;
};

// The report settings the program's settings give: the accepted base orbs
// and the midpoint orb.
ReportSettings ReportSettingsOf(const Settings& settings);

// Opens `report` on the chart of the last compute: the engine supplies the
// orb table, names, zodiac and the longitude wrapper, which the searches of
// this one report reach through a LongitudeCache; the report is written in
// the language of `texts`.
void OpenDurationsReport(DurationsReport& report, const Engine& engine, const Chart& chart,
                         const ReportDates& dates, const ReportSettings& settings,
                         const ProgramTexts& texts);

}  // namespace vek
