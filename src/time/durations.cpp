#include "time/durations.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "engine/aspect_instants.h"
#include "engine/aspects.h"
#include "engine/bounded_sky.h"
#include "engine/chart.h"
#include "engine/engine.h"
#include "engine/modes.h"
#include "engine/pluto_table.h"
#include "time/date_rows.h"

namespace vek {

namespace {
// The moving Moon's aspects last at most a day or two: its pass is searched
// this many days either side of the World date.
constexpr double kMoonSpan = 3;
// The instants the exact searches may ask positions for: the days of the
// Moon and of the Pluto table.
constexpr double kFirstExactJD = PlutoTable::kFirstDay - 0.5;
constexpr double kLastExactJD = PlutoTable::kLastDay + 0.5 - 1e-6;
}  // namespace

namespace {

// Number of characters of an integer in decimal, the minus sign included.
int TextLength(long n) {
    int length = n < 0 ? 2 : 1;
    for (long m = n / 10; m != 0; m /= 10) ++length;
    return length;
}

// The order of two integers written right-aligned in fields of one width and
// compared as text: the shorter text first (its extra leading blank is the
// lowest character), then a minus sign before any digit, then digit by
// digit. For non-negative numbers that is numeric order; two negative
// numbers of one length come in the order of their magnitude.
int CompareRightAligned(long a, long b) {
    const int la = TextLength(a), lb = TextLength(b);
    if (la != lb) return la < lb ? -1 : 1;
    if ((a < 0) != (b < 0)) return a < 0 ? -1 : 1;
    if (a == b) return 0;
    if (a >= 0) return a < b ? -1 : 1;
    return a > b ? -1 : 1;
}

int Compare(double a, double b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The rank of a date field's text: blanks, numbers, dashes.
enum FieldRank { kBlankField = 0, kNumberField = 1, kDashField = 2 };

FieldRank DatesRank(const DurationEntry& e) {
    switch (e.dates) {
        case EntryDates::MovingMoon:
            return kBlankField;
        case EntryDates::Searched:
            return kNumberField;
        default:
            return kDashField;
    }
}

FieldRank DurationRank(const DurationEntry& e) {
    if (e.dates == EntryDates::Natal) return kDashField;
    return e.HasDuration() ? kNumberField : kBlankField;
}

int CompareDuration(const DurationEntry& a, const DurationEntry& b) {
    const FieldRank ra = DurationRank(a), rb = DurationRank(b);
    if (ra != rb) return ra < rb ? -1 : 1;
    return ra == kNumberField ? CompareRightAligned(a.duration, b.duration) : 0;
}

// The date fields from the beginning (or from the end) to the duration.
int CompareDates(const DurationEntry& a, const DurationEntry& b, bool fromBeginning) {
    const FieldRank ra = DatesRank(a), rb = DatesRank(b);
    if (ra != rb) return ra < rb ? -1 : 1;
    if (ra != kNumberField) return 0;
    if (fromBeginning) {
        if (int c = CompareRightAligned(a.beginning, b.beginning)) return c;
    }
    if (int c = CompareRightAligned(a.end, b.end)) return c;
    return CompareDuration(a, b);
}

// The aspect, the deviation and the dates: the end of every key that starts
// before the dates. Deviations below 10 radians are written with one digit
// before the point, so their text order is their numeric order.
int CompareFromAspect(const DurationEntry& a, const DurationEntry& b) {
    if (int c = CompareRightAligned(Index(a.aspect), Index(b.aspect))) return c;
    if (int c = Compare(a.deviation, b.deviation)) return c;
    return CompareDates(a, b, true);
}

int CompareByChoice(const DurationEntry& a, const DurationEntry& b, int choice) {
    switch (choice) {
        case kSortByFirstBody:
            if (int c = CompareRightAligned(a.FirstNumber(), b.FirstNumber())) return c;
            if (int c = CompareRightAligned(a.SecondNumber(), b.SecondNumber())) return c;
            return CompareFromAspect(a, b);
        case kSortByAspect:
            return CompareFromAspect(a, b);
        case kSortByDeviation:
            if (int c = Compare(a.deviation, b.deviation)) return c;
            return CompareDates(a, b, true);
        case kSortBySecondBody:
            if (int c = CompareRightAligned(a.SecondNumber(), b.SecondNumber())) return c;
            if (int c = CompareRightAligned(a.FirstNumber(), b.FirstNumber())) return c;
            return CompareFromAspect(a, b);
        case kSortByBeginning:
            return CompareDates(a, b, true);
        case kSortByEnd:
            return CompareDates(a, b, false);
        case kSortByDuration:
            return CompareDuration(a, b);
        default:
            return 0;
    }
}

// The chart column (0 chart A, 1 chart B) of the first and second body of a
// durations line.
void ChartColumns(Mode mode, int& firstColumn, int& secondColumn) {
    firstColumn = 0;
    secondColumn = 0;
    if (ModeInfoOf(mode).personal) {
        firstColumn = 1;  // the natal chart
    } else if (mode == Mode::Synastry) {
        secondColumn = 1;  // the 2nd birthdate
    }
}

}  // namespace

std::vector<ShownAspect> AspectsShownInTable(Mode mode, int numCols,
                                             const std::vector<std::string>& cellTexts,
                                             const NameTables& names) {
    std::vector<ShownAspect> out;
    if (numCols < 1) return out;
    for (size_t i = 0; i < cellTexts.size(); ++i) {
        const int row = static_cast<int>(i) / numCols;
        const int col = static_cast<int>(i) % numCols;
        for (const Aspect a : AllAspects()) {
            const std::string& abbreviation = names.AspectAbbreviation[a];
            if (abbreviation.empty() || cellTexts[i].find(abbreviation) == std::string::npos)
                continue;
            int first = 0, second = 0;
            if (ModeInfoOf(mode).personal) {
                first = row - 1;
                second = col - 1;
            } else if (mode == Mode::Synastry) {
                first = col - 1;
                second = row - 1;
            } else {
                first = row - 1;
                second = col + 1;
            }
            const std::optional<Body> b1 = BodyFromIndex(first), b2 = BodyFromIndex(second);
            if (b1 && b2) out.push_back({*b1, *b2, a});
        }
    }
    return out;
}

std::vector<ShownAspect> AspectsOfChart(const Chart& chart) {
    std::vector<ShownAspect> out;
    for (const PairResult& p : chart.Pairs()) {
        if (!p.aspect) continue;
        if (chart.mode == Mode::Synastry) {
            // The pair lists the 2nd birthdate's body (chart B) first.
            out.push_back({p.second, p.first, *p.aspect});
        } else {
            out.push_back({p.first, p.second, *p.aspect});
        }
    }
    return out;
}

DurationEntry MakeDurationEntry(Body first, Body second, Aspect aspect, double deviation,
                                EntryDates dates, double beginning, double end) {
    DurationEntry e;
    e.first = first;
    e.second = second;
    e.aspect = aspect;
    // The list keeps six decimals: the value of the decimal text.
    char buf[64];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, deviation, std::chars_format::fixed, 6);
    double rounded = 0;
    if (ec == std::errc()) std::from_chars(buf, p, rounded);
    e.deviation = rounded;
    e.dates = dates;
    if (dates == EntryDates::Searched) {
        e.beginning = static_cast<long>(std::floor(beginning));
        e.end = static_cast<long>(std::floor(end));
        if (e.beginning >= 0 && e.end >= 0) e.duration = e.end - e.beginning + 1;
    }
    return e;
}

std::optional<double> StartOfDayIn(long dayNumber, const TimeZone& zone) {
    if (zone.IsNamed()) {
        if (dayNumber <= 0 || dayNumber > 2147483646L) return std::nullopt;
        const Result<double> start = StartOfLocalDay(static_cast<int32_t>(dayNumber), zone);
        if (!start) return std::nullopt;
        return *start;
    }
    return static_cast<double>(dayNumber) - zone.offsetMinutes / 1440.0 - 0.5;
}

namespace {

// The pass of a pair's aspect that holds at the World date `at`, searched in
// [from, to]; lon1 and lon2 are the pair's longitudes then.
ExactTimes ExactTimesOfPair(const Engine& engine, const AspectPair& pair, double orb,
                            SkyLongitude lon1, SkyLongitude lon2, double at, double from,
                            double to, const LongitudeFn* positions) {
    ExactTimes out;
    if (!lon1 || !lon2) return out;
    const Aspect aspect = pair.aspect;
    // The branch on which the aspect holds now.
    int branch = 0;
    for (const int b : AspectBranches(aspect))
        if (std::fabs(BranchDeviation(*lon1, *lon2, aspect, b)) < orb) branch = b;
    if (branch == 0) return out;
    from = std::max(from, kFirstExactJD);
    to = std::min(to, kLastExactJD);
    if (!(from <= at && at <= to)) return out;
    const Result<std::vector<AspectInstant>> found =
        FindAspectInstants(engine, SkyMotionBounds(engine), pair, orb, from, to, branch, positions);
    if (!found) return out;
    // The pass that holds at the World date: the last entry before it and
    // the first exit after it, and the exact passes between.
    for (const AspectInstant& i : *found) {
        if (i.event == AspectEvent::Exact) {
            out.exact.push_back(i.jd);
        } else if (i.jd <= at) {
            // A pass that began, or one that ended, before the World date.
            out.enters = i.event == AspectEvent::Enters ? i.jd : NAN;
            out.exact.clear();
        } else {
            if (i.event == AspectEvent::Leaves) out.leaves = i.jd;
            break;
        }
    }
    return out;
}

// The local midnights that begin the first day and end the last one.
std::optional<std::pair<double, double>> SpanOfDays(long beginning, long end,
                                                    const TimeZone& zone) {
    if (beginning < 0 || end < 0) return std::nullopt;
    const auto from = StartOfDayIn(beginning, zone);
    const auto to = StartOfDayIn(end + 1, zone);
    if (!from || !to) return std::nullopt;
    return std::make_pair(*from, *to);
}

}  // namespace

ExactTimes ExactTimesOf(const Engine& engine, const Chart& chart, Body first, Body second,
                        Aspect aspect, double from, double to, const LongitudeFn* positions) {
    const bool personal = ModeInfoOf(chart.mode).personal;
    const double orb = engine.orbs.orb[aspect][ModeInfoOf(chart.mode).searchColumn];
    AspectPair pair{first, second, aspect, std::nullopt};
    if (personal) pair.fixedFirst = chart.longitude[first][1].AsOptional();
    const SkyLongitude lon1 = personal ? chart.longitude[first][1] : chart.longitude[first][0];
    const SkyLongitude lon2 = chart.longitude[second][0];
    return ExactTimesOfPair(engine, pair, orb, lon1, lon2, chart.jd[0].days, from, to, positions);
}

std::optional<ExactTimes> PointExactTimesForDays(const Engine& engine, const Chart& chart,
                                                 const PointAspect& a, long beginning, long end,
                                                 const TimeZone& zone,
                                                 const LongitudeFn* positions) {
    const bool personal = ModeInfoOf(chart.mode).personal;
    const double orb = engine.orbs.orb[a.aspect][ModeInfoOf(chart.mode).searchColumn];
    const SkyLongitude lon1 = SkyLongitude(
        ComputeExtraPoint(engine, a.point, (personal ? chart.jd[1] : chart.jd[0]).days, false).longitude);
    AspectPair pair{kSun, a.body, a.aspect, std::nullopt, a.point};
    if (personal) pair.fixedFirst = lon1.AsOptional();
    const SkyLongitude lon2 = chart.longitude[a.body][0];
    const double at = chart.jd[0].days;
    if (a.body == kMoon)
        return ExactTimesOfPair(engine, pair, orb, lon1, lon2, at, at - kMoonSpan, at + kMoonSpan,
                                positions);
    const auto span = SpanOfDays(beginning, end, zone);
    if (!span) return std::nullopt;
    return ExactTimesOfPair(engine, pair, orb, lon1, lon2, at, span->first, span->second,
                            positions);
}

std::optional<ExactTimes> ExactTimesForDays(const Engine& engine, const Chart& chart, Body first,
                                            Body second, Aspect aspect, long beginning, long end,
                                            const TimeZone& zone, const LongitudeFn* positions) {
    if (second == kMoon) {
        const double at = chart.jd[0].days;
        return ExactTimesOf(engine, chart, first, second, aspect, at - kMoonSpan, at + kMoonSpan,
                            positions);
    }
    const auto span = SpanOfDays(beginning, end, zone);
    if (!span) return std::nullopt;
    return ExactTimesOf(engine, chart, first, second, aspect, span->first, span->second,
                        positions);
}

std::vector<PointAspect> PointAspectsOfChart(const Engine& engine, const Chart& chart,
                                             const std::vector<ExtraPoint>& points) {
    std::vector<PointAspect> out;
    const ModeInfo& m = ModeInfoOf(chart.mode);
    if (!m.transits) return out;
    const double at = (m.personal ? chart.jd[1] : chart.jd[0]).days;
    for (const ExtraPoint p : points) {
        const double lp = ComputeExtraPoint(engine, p, at, false).longitude;
        if (!(lp >= 0)) continue;
        for (const Body b : chart.ComputedBodies()) {
            const SkyLongitude lb = chart.longitude[b][0];
            if (!lb) continue;
            for (const Aspect a : AllAspects()) {
                double exactness = -1;
                if (AspectTestByLongitudes(engine.orbs, lp, *lb, a, m.searchColumn, exactness)) {
                    out.push_back(
                        {p, b, a, std::fabs(SeparationOf(lp, *lb).s - AspectAngleOf(a))});
                    break;
                }
            }
        }
    }
    return out;
}

namespace {

// The source of positions the exact searches of a list take; null for the
// engine's wrapper.
const LongitudeFn* ExactPositions(const DurationsInput& in) {
    return in.exact.positions ? &in.exact.positions : nullptr;
}

// The entries of the aspects to extra points, after the table's: the point
// in place of the second body in world transits, of the first (natal) one in
// personal transits; the moving Moon's not walked, as in the table's.
void AddPointEntries(const DurationsInput& in, OrbColumn column,
                     std::vector<DurationEntry>& entries) {
    const bool personal = ModeInfoOf(in.mode).personal;
    for (const PointAspect& p : in.pointAspects) {
        if (!in.includeMoon && p.body == kMoon) continue;
        const bool moon = p.body == kMoon;
        double b = kUnknownDate, f = kUnknownDate;
        if (!moon && in.search) {
            b = in.search->BeginningOfPointAspect(p.point, p.body, p.aspect, column);
            f = in.search->EndOfPointAspect(p.point, p.body, p.aspect, column);
        }
        DurationEntry e = MakeDurationEntry(personal ? kSun : p.body, personal ? p.body : kSun,
                                            p.aspect, p.deviation,
                                            moon ? EntryDates::MovingMoon : EntryDates::Searched,
                                            b, f);
        (personal ? e.firstPoint : e.secondPoint) = p.point;
        if (in.exact.engine && (moon || e.HasDuration()))
            e.exactTimes = PointExactTimesForDays(*in.exact.engine, *in.chart, p, e.beginning,
                                                  e.end, in.exact.zone, ExactPositions(in));
        entries.push_back(std::move(e));
    }
}

}  // namespace

std::vector<DurationEntry> GetDurations(const DurationsInput& in) {
    std::vector<DurationEntry> entries;
    if (!in.chart) return entries;
    const Chart& chart = *in.chart;
    const bool transits = ModeInfoOf(in.mode).transits;
    const OrbColumn column = ModeInfoOf(in.mode).searchColumn;
    int firstColumn = 0, secondColumn = 0;
    ChartColumns(in.mode, firstColumn, secondColumn);
    const int total = static_cast<int>(in.aspects.size());
    int done = 0;
    for (const ShownAspect& s : in.aspects) {
        if (in.progress && !in.progress(done, total)) return entries;
        ++done;
        if (!in.includeMoon && s.second == kMoon) continue;
        // A shown aspect's bodies both have a position.
        const double lon1 = *chart.longitude[s.first][firstColumn];
        const double lon2 = *chart.longitude[s.second][secondColumn];
        const double deviation = std::fabs(SeparationOf(lon1, lon2).s - AspectAngleOf(s.aspect));
        if (!transits) {
            entries.push_back(
                MakeDurationEntry(s.first, s.second, s.aspect, deviation, EntryDates::Natal));
        } else if (s.second == kMoon) {
            entries.push_back(
                MakeDurationEntry(s.first, s.second, s.aspect, deviation, EntryDates::MovingMoon));
            if (in.exact.engine)
                entries.back().exactTimes =
                    ExactTimesForDays(*in.exact.engine, chart, s.first, s.second, s.aspect, -1, -1,
                                      in.exact.zone, ExactPositions(in));
        } else if (in.search) {
            const double b = in.search->BeginningOfAspect(s.first, s.second, s.aspect, column);
            const double f = in.search->EndOfAspect(s.first, s.second, s.aspect, column);
            entries.push_back(MakeDurationEntry(s.first, s.second, s.aspect, deviation,
                                                EntryDates::Searched, b, f));
            DurationEntry& e = entries.back();
            if (in.exact.engine && e.HasDuration())
                e.exactTimes = ExactTimesForDays(*in.exact.engine, chart, s.first, s.second,
                                                 s.aspect, e.beginning, e.end, in.exact.zone,
                                                 ExactPositions(in));
        } else {
            entries.push_back(MakeDurationEntry(s.first, s.second, s.aspect, deviation,
                                                EntryDates::Searched, kUnknownDate, kUnknownDate));
        }
    }
    if (transits) AddPointEntries(in, column, entries);
    if (in.progress) in.progress(total, total);
    return entries;
}

// ---------------------------------------------------------------------------

namespace {

// The first exact pass of an entry; +inf when it has none.
double FirstPerfection(const DurationEntry& e) {
    if (!e.exactTimes || e.exactTimes->exact.empty()) return INFINITY;
    return e.exactTimes->exact.front();
}

}  // namespace

void SortDurations(std::vector<DurationEntry>& list, int choice) {
    if (choice == kSortByPerfection) {
        std::stable_sort(list.begin(), list.end(), [](const DurationEntry& a, const DurationEntry& b) {
            return FirstPerfection(a) < FirstPerfection(b);
        });
        return;
    }
    if (choice < 0 || choice >= kSortChoiceCount) return;
    std::stable_sort(list.begin(), list.end(),
                     [choice](const DurationEntry& a, const DurationEntry& b) {
                         return CompareByChoice(a, b, choice) < 0;
                     });
}

ReportDates ReportDatesFrom(DateRows& rows, Mode mode) {
    ReportDates d;
    const bool personal = ModeInfoOf(mode).personal;
    if (ModeInfoOf(mode).transits) {
        if (const Result<double> day = rows.LocalDayValue(kWorldDate)) d.worldLocalDayValue = *day;
        (void)rows.InputDateToAJDate(kWorldDate);  // an empty zone becomes the default zone
        d.worldZoneMinutes = rows.OffsetMinutesInForce(kWorldDate);
        // A zone of the database walks its own local days.
        if (const auto& zone = rows.Row(kWorldDate).zone; zone && zone->IsNamed())
            d.worldNamedZone = *zone;
        d.worldDateText = rows.InputDateToString(kWorldDate, personal);
    }
    switch (mode) {
        case Mode::Natal1:
            d.birthDateText[0] = rows.InputDateToString(kBirth1, false);
            break;
        case Mode::Natal2:
            d.birthDateText[0] = rows.InputDateToString(kBirth2, false);
            break;
        case Mode::Personal1:
        case Mode::Personal2: {
            const DateSlot slot = mode == Mode::Personal1 ? kBirth1 : kBirth2;
            if (const Result<JulianDate> jd = rows.InputDateToAJDate(slot)) d.birthJulianDate = *jd;
            d.birthDateText[0] = rows.InputDateToString(slot, true);
            break;
        }
        case Mode::Synastry:
            d.birthDateText[0] = rows.InputDateToString(kBirth1, false);
            d.birthDateText[1] = rows.InputDateToString(kBirth2, false);
            break;
        default:
            break;
    }
    return d;
}

}  // namespace vek
