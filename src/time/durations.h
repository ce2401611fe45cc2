// The durations list as data: one entry for every aspect the table shows,
// telling in world and personal transits when each aspect began and when it
// will end, and the stable sort by a key column. The texts that show the
// list live with the report (display/durations_report.h).
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/extra_points.h"
#include "engine/vek_types.h"
#include "engine/vocabulary.h"
#include "time/aspect_search.h"

namespace vek {

class DateRows;
class Engine;
struct Chart;

// ---------------------------------------------------------------------------
// The entries

// An aspect of the table, its bodies in the order of the durations line:
//   world transits, natal aspects: the lower body index first;
//   personal transits: the natal body first, the transiting body second;
//   synastry: the body of the 1st birthdate first, of the 2nd second.
struct ShownAspect {
    Body first = kSun;
    Body second = kSun;
    Aspect aspect = kConjunction;
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

// Which dates an entry has.
enum class EntryDates : uint8_t {
    Searched,    // world and personal transits: the searches' day numbers
    MovingMoon,  // transits, an aspect of the moving Moon: not searched
    Natal,       // natal aspects and synastry: no dates
};

// The instants of an aspect to the minute, from the crossing search: when it
// came within orb, every exact pass while it holds (a retrograde station
// brings three), and when it leaves the orb, as Julian dates (UT). NaN where
// the search found none: a position missing in the span, or an edge beyond
// the span the day walk gave.
struct ExactTimes {
    double enters = NAN;
    std::vector<double> exact;
    double leaves = NAN;
};

// One entry of the list.
struct DurationEntry {
    Body first = kSun;
    Body second = kSun;
    // An aspect of a moving body to an extra point: in world transits the
    // point stands in place of the second body (it comes after the ten), in
    // personal transits in place of the first, the natal one. The body field
    // it replaces is unused.
    std::optional<ExtraPoint> firstPoint;
    std::optional<ExtraPoint> secondPoint;
    Aspect aspect = kConjunction;
    double deviation = 0;  // radians, rounded to the six decimals the list keeps
    EntryDates dates = EntryDates::Natal;
    long beginning = -1;  // day numbers of searched dates; −1 unknown or none
    long end = -1;
    long duration = 0;  // end − beginning + 1 when both are known
    // World and personal transits, when asked for (DurationsInput::exact).
    std::optional<ExactTimes> exactTimes;

    bool HasDates() const { return dates == EntryDates::Searched; }
    bool HasDuration() const { return HasDates() && beginning >= 0 && end >= 0; }
    // The numbers of the two parties in the list's orders: a body's number,
    // or a point's after the bodies (PointNumber).
    int FirstNumber() const { return firstPoint ? PointNumber(*firstPoint) : Index(first); }
    int SecondNumber() const { return secondPoint ? PointNumber(*secondPoint) : Index(second); }
    // The moving body of transits is the Moon: the second body, or the first
    // where a point stands second.
    bool OfMovingMoon() const { return secondPoint ? first == kMoon : second == kMoon; }
};

// An aspect of a moving body to an extra point that holds at the World date.
struct PointAspect {
    ExtraPoint point = ExtraPoint::MeanNode;
    Body body = kSun;
    Aspect aspect = kConjunction;
    double deviation = 0;  // radians
};

// The aspects of the moving bodies 1..the chart's count to the points: in
// world transits the points at the World date, in personal transits at the
// birthdate (chart B), with the orb column of the mode; each pair its first
// aspect in index order, as the table's pairs. Points first, then bodies.
std::vector<PointAspect> PointAspectsOfChart(const Engine& engine, const Chart& chart,
                                             const std::vector<ExtraPoint>& points);

// An entry: the deviation rounded to six decimals (halves as the decimal
// text conversion rounds them); with EntryDates::Searched the floors of
// `beginning` and `end` (kUnknownDate = −1 when not found) and the duration.
DurationEntry MakeDurationEntry(Body first, Body second, Aspect aspect, double deviation,
                                EntryDates dates, double beginning = -1, double end = -1);

// What GetDurations reads from the main window and the engine.
struct DurationsInput {
    Mode mode = Mode::None;  // the mode the table was computed in
    std::vector<ShownAspect> aspects;
    // The computed chart: the positions of chart A and chart B.
    const Chart* chart = nullptr;
    bool includeMoon = true;
    // Aspects to extra points, listed after those of the table (transit
    // modes only; their searches need the search's point source).
    std::vector<PointAspect> pointAspects;
    // The searches of world and personal transits (personal transits: set up
    // with the first body fixed at the birthdate). Without it the dates are
    // unknown.
    const AspectSearch* search = nullptr;
    // With an engine, every entry of world and personal transits gets its
    // exact instants (ExactTimesOf); `zone` is the World date's zone, whose
    // local midnights the day walk tested.
    // `positions`, when set, gives the bodies' positions as the engine's
    // wrapper does (the cache the walks share, so that a search reuses the
    // positions of the midnights its walks ended at).
    struct Exact {
        const Engine* engine = nullptr;
        TimeZone zone;
        LongitudeFn positions;
    } exact;
    // Called before each entry with the entries done and their count, and
    // once more when all are done; returning false ends the list there (a
    // report built on another thread is stopped this way).
    std::function<bool(int done, int total)> progress;
};

// The exact instants of an aspect of a transit chart that holds at the
// chart's World date: the pass of the aspect that holds then, searched in
// [from, to], an interval in which the aspect holds at neither end (the
// local midnights at which the day walk stopped; for the moving Moon, a few
// days either side). The first body is the natal one in personal transits.
// The bodies' positions come from `positions` when given (as in
// DurationsInput::Exact), else from the engine's wrapper.
ExactTimes ExactTimesOf(const Engine& engine, const Chart& chart, Body first, Body second,
                        Aspect aspect, double from, double to,
                        const LongitudeFn* positions = nullptr);
// The same for a moving body's aspect to an extra point (natal in personal
// transits); for the moving Moon `beginning` and `end` are ignored and its
// pass is searched a few days either side, as ExactTimesForDays does.
std::optional<ExactTimes> PointExactTimesForDays(const Engine& engine, const Chart& chart,
                                                 const PointAspect& aspect, long beginning,
                                                 long end, const TimeZone& zone,
                                                 const LongitudeFn* positions = nullptr);

// The Universal Time at which a local day of a zone begins, as the day walk
// takes it (a fixed offset: the day number − offset − ½).
std::optional<double> StartOfDayIn(long dayNumber, const TimeZone& zone);

// The exact instants of an aspect of a transit chart as the list gives them:
// for the moving Moon (second body 10) searched a few days either side of
// the World date; for the others between the local midnight that begins the
// day walk's first day and the one that ends its last (day numbers of
// `zone`). None when either day is negative (unknown).
std::optional<ExactTimes> ExactTimesForDays(const Engine& engine, const Chart& chart, Body first,
                                            Body second, Aspect aspect, long beginning, long end,
                                            const TimeZone& zone,
                                            const LongitudeFn* positions = nullptr);

// Builds the entries, one per aspect, in table order. In world and personal
// transits each entry not of the moving Moon runs BeginningOfAspect and
// EndOfAspect.
std::vector<DurationEntry> GetDurations(const DurationsInput& in);

// ---------------------------------------------------------------------------
// Sorting

// The seven sort choices of the list.
inline constexpr int kSortChoiceCount = 7;
enum SortChoice : int {
    kSortByFirstBody = 0,
    kSortByAspect,
    kSortByDeviation,
    kSortBySecondBody,
    kSortByBeginning,
    kSortByEnd,
    kSortByDuration,
    // With exact instants only: the first exact pass, earliest first; the
    // entries without one (never exact in their pass, or not searched) come
    // last, in the order they had.
    kSortByPerfection,
};

// Sorts the list in ascending order of a sort choice's key; entries with
// equal keys keep their order (the sort is stable), so a list in table order
// stays in table order among equals. A choice outside 0..7 leaves the list
// as it is.
//
// The keys are those of the list as it was written in fixed columns and
// compared as text from a key column to the end of the line, and they keep
// that order:
//   first body:  first, second, aspect, deviation, dates;
//   aspect:      aspect, deviation, dates;
//   deviation:   deviation, dates;
//   second body: second, first, aspect, deviation, dates;
//   beginning:   dates (beginning, end, duration);
//   end:         end, duration;
//   duration:    duration.
// Numbers compare as right-aligned text: a shorter number first, a minus
// sign before any digit, so an unknown date (−1) comes before every known
// day number. Where a date field is blank (the moving Moon, a duration of
// unknown dates) it comes first; natal entries' dashes come last.
void SortDurations(std::vector<DurationEntry>& list, int choice);

// ---------------------------------------------------------------------------
// What the report needs of the date rows

struct ReportDates {
    // LocalDayValue of the World date; none when the mode does not read it or
    // the row holds no valid date.
    std::optional<double> worldLocalDayValue;
    int worldZoneMinutes = 0;        // item value of the World date's zone
    // The named zone the World date was given in, when it was (the row holds
    // only its offset at that date): the searches then walk its local days.
    TimeZone worldNamedZone;
    std::string worldDateText;       // InputDateToString as the title wants it
    std::string birthDateText[2];
    // Personal transits: the birthdate's Julian date, none when the row holds
    // no valid date.
    std::optional<JulianDate> birthJulianDate;
};

// Reads them from the date rows for a mode (this may set an empty time to
// 12:00 and an empty zone to the default zone, as every conversion does).
ReportDates ReportDatesFrom(DateRows& rows, Mode mode);

}  // namespace vek
