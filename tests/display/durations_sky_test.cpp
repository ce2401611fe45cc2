// The searches and the durations report on the real sky: the engine's
// longitude wrapper with the ephemeris and the Pluto table.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "../program_texts.h"
#include "config/program_text.h"
#include "config/settings.h"
#include "display/aspect_explanation.h"
#include "display/durations_report.h"
#include "engine/aspect_instants.h"
#include "engine/aspects.h"
#include "engine/bounded_sky.h"
#include "engine/chart.h"
#include "engine/engine.h"
#include "engine/modes.h"
#include "time/aspect_search.h"
#include "time/date_rows.h"
#include "time/durations.h"
#include "time/zones.h"
#include "util/text.h"

namespace vek {
namespace {

class Sky : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_GT(testing::RealTextTable().Count(), 0);
        ASSERT_TRUE(std::filesystem::exists(std::string(VEK_BIN_DIR) + "/pluto.slx"));
    }

    void SetUp() override {
        engine.Initialize(VEK_BIN_DIR);
        const Status pluto = engine.LoadPlutoTable();
        ASSERT_TRUE(pluto) << pluto.message();
        SetOrbs(settings, engine.orbs);
        for (Aspect a : AllAspects())
            reportSettings.orbDegrees[a] = settings.accepted.OrbIndex[Index(a) - 1];
    }

    // Sets a slot to a date at 12:00 in a zone (index into the zone list).
    void SetDate(DateSlot slot, int year, int month, int day, int zoneIndex = kGreenwichZoneIndex) {
        DateRowFields& r = rows.Row(slot);
        r.yearText = std::to_string(year);
        r.monthIndex = month;
        r.dayIndex = day;
        r.timeIndex = kNoonTimeIndex;
        r.zoneIndex = zoneIndex;
    }

    Chart Compute(Mode mode) {
        SlotDates dates;
        for (DateSlot slot : AllDateSlots()) dates[slot] = rows.InputDateToAJDate(slot).value();
        return ComputeChart(engine, mode, dates);
    }

    DurationsReport Open(Mode mode) {
        const Chart chart = Compute(mode);
        DurationsReport report;
        OpenDurationsReport(report, engine, chart, ReportDatesFrom(rows, mode), reportSettings,
                            testing::RealTexts(kEnglish));
        return report;
    }

    // A search over the World date as the report sets it up; with `count`,
    // every position it asks for is counted there.
    AspectSearch Search(Mode mode, SearchStepping stepping, size_t* count = nullptr) {
        const ReportDates d = ReportDatesFrom(rows, mode);
        AspectSearch s(
            [this, count](Body b, JulianDate jd) {
                if (count) ++*count;
                return engine.Longitude(b, jd);
            },
            engine.orbs, d.worldLocalDayValue, d.worldZoneMinutes);
        if (ModeInfoOf(mode).personal) s.FixFirstBodyAt(d.birthJulianDate);
        s.SetStepping(stepping);
        return s;
    }

    static std::vector<DurationEntry> Entries(const DurationsReport& r) { return r.Entries(); }

    Engine engine;
    Settings settings;
    ReportSettings reportSettings;
    DateRows rows;
};

TEST_F(Sky, ThePlutoTablesEndsLeaveDatesUnknown) {
    // Transiting Pluto conjunct natal Pluto, born on the World date itself:
    // near the end of the table the end cannot be found, near its start the
    // beginning cannot.
    SetDate(kWorldDate, 2099, 7, 1);
    SetDate(kBirth1, 2099, 7, 1);
    DurationsReport late = Open(Mode::Personal1);
    bool found = false;
    for (const DurationEntry& e : Entries(late)) {
        if (e.first != kPluto || e.second != kPluto) continue;
        found = true;
        EXPECT_GT(e.beginning, 0);
        EXPECT_LE(e.beginning, 2488069 - 180);
        EXPECT_EQ(e.end, -1);
        EXPECT_FALSE(e.HasDuration());
    }
    EXPECT_TRUE(found);
    const std::string out = late.Output();
    const size_t at = out.find("tr.Pluto");
    ASSERT_NE(at, std::string::npos) << out;
    const std::string line = out.substr(at, out.find('\r', at) - at);
    EXPECT_NE(line.find("to unknown"), std::string::npos) << line;
    EXPECT_EQ(line.find('('), line.find("(0°0')")) << line;  // no duration

    SetDate(kWorldDate, 1600, 3, 1);
    SetDate(kBirth1, 1600, 3, 1);
    found = false;
    for (const DurationEntry& e : Entries(Open(Mode::Personal1))) {
        if (e.first != kPluto || e.second != kPluto) continue;
        found = true;
        EXPECT_EQ(e.beginning, -1);
        EXPECT_GT(e.end, 2305448 + 60);
    }
    EXPECT_TRUE(found);
}

TEST_F(Sky, LargeStepsOfSlowPairsFindTheDayByDayDates) {
    // Long aspects among Uranus, Neptune and Pluto: the 1960s conjunction of
    // Uranus and Pluto, the 1990s conjunction of Uranus and Neptune, the long
    // sextile of Neptune and Pluto, and aspects of Uranus and Neptune far
    // from the years of the Pluto table. The large steps overshoot by less
    // than a step, outward; where the orb is so wide that no step can leave
    // it they find the day-by-day date itself, and the walk of the Standard
    // stepping with the motion bounds, which then takes one-day steps, finds
    // the same with fewer positions.
    int compared = 0, wide = 0;
    size_t standardPositions = 0, largePositions = 0;
    for (int year : {1965, 1966, 1990, 1993, 1950, 1985, 2030, 2, 640, 811, 1136, 2335, 2507}) {
        SetDate(kWorldDate, year, 3, 1);
        const Chart chart = Compute(Mode::World);
        AspectSearch standard = Search(Mode::World, SearchStepping::Standard, &standardPositions);
        standard.UseMotionBounds(SkyMotionBounds(engine),
                                 [this](JulianDate jd) { return engine.ZodiacOffset(jd); });
        AspectSearch large = Search(Mode::World, SearchStepping::EveryMidnight, &largePositions);
        AspectSearch daily = Search(Mode::World, SearchStepping::DayByDay);
        for (const ShownAspect& a : AspectsOfChart(chart)) {
            if (a.first <= kSaturn || a.second <= kSaturn || a.second == kMoon) continue;
            SCOPED_TRACE(::testing::Message() << year << ": " << Index(a.first) << "-"
                                              << Index(a.second) << " aspect " << Index(a.aspect));
            const double b0 = standard.BeginningOfAspect(a.first, a.second, a.aspect, kOrbBase);
            const double e0 = standard.EndOfAspect(a.first, a.second, a.aspect, kOrbBase);
            const double b1 = large.BeginningOfAspect(a.first, a.second, a.aspect, kOrbBase);
            const double e1 = large.EndOfAspect(a.first, a.second, a.aspect, kOrbBase);
            const double b2 = daily.BeginningOfAspect(a.first, a.second, a.aspect, kOrbBase);
            const double e2 = daily.EndOfAspect(a.first, a.second, a.aspect, kOrbBase);
            ASSERT_GE(b2, 0);
            ASSERT_GE(e2, 0);
            EXPECT_EQ(b0, b1);
            EXPECT_EQ(e0, e1);
            EXPECT_LE(b1, b2);
            EXPECT_GT(b1, b2 - 11);
            EXPECT_GE(e1, e2);
            EXPECT_LT(e1, e2 + 11);
            const double motion = MaxDailyMotion(a.first) + MaxDailyMotion(a.second);
            if (engine.orbs.orb[a.aspect][kOrbBase] > 25 * motion + kTwoPi / 360) {
                EXPECT_EQ(b1, b2);
                EXPECT_EQ(e1, e2);
                ++wide;
            }
            ++compared;
        }
    }
    EXPECT_GE(compared, 10);
    EXPECT_GE(wide, 5);
    EXPECT_LT(standardPositions * 2, largePositions) << standardPositions << " of " << largePositions;
}

TEST_F(Sky, SlowWalksLeavingOutPositionsFindTheSameDates) {
    // Every aspect of world transits but the Moon's over five centuries, up
    // to the ends of the Pluto table, and at dates spread over the other
    // accepted years (without Pluto and the Moon), in several zones and both
    // zodiacs: walks that leave out the midnights the motion bounds decide
    // (for two of Uranus, Neptune and Pluto, those of the large steps) take
    // the same steps as walks that compute every one, with fewer positions.
    const int outside[] = {1, 5, 160, 430, 800, 1111, 1450, 1599, 2101, 2350, 2500, 2790, 2799};
    const int dates = 72 + static_cast<int>(std::size(outside));
    int compared = 0;
    size_t withBounds = 0, without = 0;
    for (int k = 0; k < dates; ++k) {
        engine.SiderealZodiac = k % 3 == 1;
        const int year = k >= 72 ? outside[k - 72] : k == 0 ? 1600 : (k == 71 ? 2099 : 1601 + 7 * k);
        SetDate(kWorldDate, year, 1 + (5 * k) % 12, 1 + (7 * k) % 28, (11 * k) % 40);
        const Chart chart = Compute(Mode::World);
        const ReportDates d = ReportDatesFrom(rows, Mode::World);
        auto counted = [this](size_t& n) {
            return [this, &n](Body b, JulianDate jd) {
                ++n;
                return engine.Longitude(b, jd);
            };
        };
        AspectSearch bounded(counted(withBounds), engine.orbs, d.worldLocalDayValue,
                             d.worldZoneMinutes);
        bounded.UseMotionBounds(SkyMotionBounds(engine),
                                [this](JulianDate jd) { return engine.ZodiacOffset(jd); });
        AspectSearch plain(counted(without), engine.orbs, d.worldLocalDayValue,
                           d.worldZoneMinutes);
        for (AspectSearch* s : {&bounded, &plain}) s->UseNamedZone(d.worldNamedZone);
        for (const ShownAspect& a : AspectsOfChart(chart)) {
            if (a.second == kMoon) continue;
            SCOPED_TRACE(::testing::Message() << year << ": " << Index(a.first) << "-"
                                              << Index(a.second) << " aspect " << Index(a.aspect));
            EXPECT_EQ(bounded.BeginningOfAspect(a.first, a.second, a.aspect, kOrbBase),
                      plain.BeginningOfAspect(a.first, a.second, a.aspect, kOrbBase));
            EXPECT_EQ(bounded.EndOfAspect(a.first, a.second, a.aspect, kOrbBase),
                      plain.EndOfAspect(a.first, a.second, a.aspect, kOrbBase));
            ++compared;
        }
    }
    EXPECT_GE(compared, 700) << compared;
    EXPECT_LT(withBounds, without * 9 / 10) << withBounds << " of " << without;
}

TEST_F(Sky, SkippingFindsWhatTestingEveryMidnightFinds) {
    // Every aspect but the Moon's, world transits and personal transits over
    // five centuries, in several zones, every other date in the sidereal
    // zodiac (its yearly correction steps move a transit against a natal
    // position).
    int compared = 0;
    for (int k = 0; k < 12; ++k) {
        engine.SiderealZodiac = k % 2 == 1;
        const int year = 1605 + 41 * k;
        SetDate(kWorldDate, year, 1 + k % 12, 1 + 2 * k, 6 + 3 * k);
        SetDate(kBirth1, year - 30 - k, 12 - k % 12, 28 - k, 20 + k);
        for (Mode mode : {Mode::World, Mode::Personal1}) {
            const Chart chart = Compute(mode);
            const OrbColumn column = ModeInfoOf(mode).searchColumn;
            AspectSearch fast = Search(mode, SearchStepping::Standard);
            AspectSearch every = Search(mode, SearchStepping::EveryMidnight);
            for (const ShownAspect& a : AspectsOfChart(chart)) {
                if (a.second == kMoon) continue;
                SCOPED_TRACE(::testing::Message() << year << " mode " << static_cast<int>(mode)
                                                  << ": " << Index(a.first) << "-" << Index(a.second));
                EXPECT_EQ(fast.BeginningOfAspect(a.first, a.second, a.aspect, column),
                          every.BeginningOfAspect(a.first, a.second, a.aspect, column));
                EXPECT_EQ(fast.EndOfAspect(a.first, a.second, a.aspect, column),
                          every.EndOfAspect(a.first, a.second, a.aspect, column));
                ++compared;
            }
        }
    }
    EXPECT_GE(compared, 100);
}

TEST_F(Sky, WorldTransitReportSortsAndWritesItsLines) {
    SetDate(kWorldDate, 1990, 1, 1);
    DurationsReport r = Open(Mode::World);
    ASSERT_GT(r.Entries().size(), 5u);
    EXPECT_TRUE(r.SortListVisible());
    EXPECT_TRUE(r.ShowDurationVisible());
    EXPECT_TRUE(r.showDuration());
    EXPECT_EQ(r.sortIndex(), kSortByDeviation);
    EXPECT_EQ(r.SortEntries().size(), 7u);
    EXPECT_EQ(r.Title().rfind("World transits on January 1, 1990, 12:00 (GMT).", 0), 0u)
        << r.Title();
    EXPECT_EQ(r.Caption(), "Durations: world transits");
    EXPECT_EQ(r.ClipboardText(), r.Title() + "\r\n\r\n" + r.Output());

    // Deviation order, closest first; every line is on the World date.
    double previous = -1;
    int moonLines = 0;
    for (const DurationEntry& e : Entries(r)) {
        EXPECT_GE(e.deviation, previous);
        previous = e.deviation;
        if (e.second == kMoon) {
            ++moonLines;
            EXPECT_FALSE(e.HasDates());
            continue;
        }
        EXPECT_LE(e.beginning, 2447893);
        EXPECT_GE(e.end, 2447893);
        EXPECT_EQ(e.duration, e.end - e.beginning + 1);
    }
    ASSERT_GT(moonLines, 0);
    const size_t allLines = r.Entries().size();

    // Ordering by end date with "Show duration" off switches it on and
    // leaves the Moon's lines out of the output.
    r.SetShowDuration(false);
    EXPECT_EQ(r.Output().find(" from "), std::string::npos);
    r.ChooseSort(kSortByEnd);
    EXPECT_TRUE(r.showDuration());
    const std::string out = r.Output();
    size_t lines = 0;
    for (size_t at = 0; (at = out.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    EXPECT_EQ(lines, allLines - static_cast<size_t>(moonLines));
    EXPECT_EQ(out.find("Moon"), std::string::npos);
    long previousEnd = -2;
    for (const DurationEntry& e : Entries(r)) {
        if (!e.HasDates()) continue;
        EXPECT_GE(e.end, previousEnd);
        previousEnd = e.end;
    }
    // Other orders keep the Moon's lines.
    r.ChooseSort(kSortByAspect);
    EXPECT_NE(r.Output().find("Moon"), std::string::npos);
}

TEST_F(Sky, PersonalTransitsWithoutTheMoon) {
    engine.IncludeMoon = false;
    SetDate(kWorldDate, 2024, 5, 10, 26);
    SetDate(kBirth2, 1971, 8, 21, 26);
    DurationsReport r = Open(Mode::Personal2);
    ASSERT_GT(r.Entries().size(), 3u);
    for (const DurationEntry& e : Entries(r)) {
        EXPECT_NE(e.second, kMoon);
        EXPECT_NE(e.first, kMoon);
        EXPECT_TRUE(e.HasDates());
    }
    EXPECT_EQ(r.SortEntries()[0], "natal planet");
    EXPECT_EQ(r.SortEntries()[3], "transits");
    EXPECT_EQ(r.Output().rfind("tr.", 0), 0u);
    EXPECT_EQ(r.Title().rfind("Personal transits to the natal chart of Aug. 21, 1971, 12:00 "
                              "(GMT+1:00) on May 10, 2024, 12:00 (GMT+1:00).",
                              0),
              0u)
        << r.Title();
}

// The exact instants agree with the day walk: the local day of a one-day
// walk's orb entry is the day the list begins on and that of its exit the
// day it ends on; a slow pair's large steps name days at or outside them.
// Every exact pass lies between entry and exit, exact to the arc second, and
// the Moon's aspects hold the World date between their instants. World
// transits in a named zone and at a fixed offset, personal transits in the
// sidereal zodiac.
TEST_F(Sky, ExactInstantsLieInTheDaysOfTheWalk) {
    reportSettings.exactTimes = true;
    struct Case {
        Mode mode;
        int year, month, day;
        const char* zone;  // "" for Greenwich
        bool sidereal;
    };
    int searched = 0, moon = 0, passes = 0;
    for (const Case& c :
         {Case{Mode::World, 1990, 1, 1, "", false},
          Case{Mode::World, 2026, 3, 28, "Europe/Berlin", false},
          Case{Mode::World, 2030, 1, 1, "", false}, Case{Mode::Personal1, 2026, 12, 8, "", true}}) {
        SCOPED_TRACE(::testing::Message() << c.year << "-" << c.month << "-" << c.day);
        engine.SiderealZodiac = c.sidereal;
        SetDate(kWorldDate, c.year, c.month, c.day);
        SetDate(kBirth1, 1960, 7, 4);
        const Chart chart = Compute(c.mode);
        ReportDates dates = ReportDatesFrom(rows, c.mode);
        TimeZone zone = TimeZone::Fixed(dates.worldZoneMinutes);
        if (*c.zone) {
            zone = TimeZone::Named(c.zone);
            dates.worldNamedZone = zone;
        }
        DurationsReport report, unshared;
        OpenDurationsReport(report, engine, chart, dates, reportSettings,
                            testing::RealTexts(kEnglish));
        // The searches that take their positions from the walks' cache find
        // the instants of those that ask the engine for every one.
        ReportSettings apart = reportSettings;
        apart.sharePositions = false;
        OpenDurationsReport(unshared, engine, chart, dates, apart, testing::RealTexts(kEnglish));
        ASSERT_EQ(report.Entries().size(), unshared.Entries().size());
        for (size_t i = 0; i < report.Entries().size(); ++i) {
            const std::optional<ExactTimes>& a = report.Entries()[i].exactTimes;
            const std::optional<ExactTimes>& b = unshared.Entries()[i].exactTimes;
            ASSERT_EQ(a.has_value(), b.has_value()) << i;
            if (!a) continue;
            const double second = 1.0 / 86400;
            EXPECT_NEAR(a->enters, b->enters, second / 10) << i;
            EXPECT_NEAR(a->leaves, b->leaves, second / 10) << i;
            ASSERT_EQ(a->exact.size(), b->exact.size()) << i;
            for (size_t k = 0; k < a->exact.size(); ++k)
                EXPECT_NEAR(a->exact[k], b->exact[k], second / 10) << i;
        }
        auto localDay = [&](double jd) {
            const Result<LocalDateTime> l = UniversalToLocal(jd, zone);
            return l ? static_cast<long>(l->dayNumber) : -1L;
        };
        for (const DurationEntry& e : report.Entries()) {
            SCOPED_TRACE(::testing::Message()
                         << Index(e.first) << "-" << Index(e.second) << " " << Index(e.aspect));
            ASSERT_TRUE(e.exactTimes);
            const ExactTimes& x = *e.exactTimes;
            ASSERT_FALSE(std::isnan(x.enters));
            ASSERT_FALSE(std::isnan(x.leaves));
            EXPECT_LT(x.enters, chart.jd[0].days);
            EXPECT_GT(x.leaves, chart.jd[0].days);
            const bool personal = ModeInfoOf(c.mode).personal;
            const double natal = *chart.longitude[e.first][1];
            for (const double jd : x.exact) {
                EXPECT_GT(jd, x.enters);
                EXPECT_LT(jd, x.leaves);
                const double lon1 = personal ? natal : *engine.Longitude(e.first, JulianDate(jd));
                const double lon2 = *engine.Longitude(e.second, JulianDate(jd));
                EXPECT_LT(std::fabs(SeparationOf(lon1, lon2).s - AspectAngleOf(e.aspect)),
                          kTwoPi / 360 / 3600);
                ++passes;
            }
            if (e.dates == EntryDates::MovingMoon) {
                ++moon;
                continue;
            }
            ASSERT_TRUE(e.HasDuration());
            if (e.first > kSaturn && e.second > kSaturn) {
                EXPECT_LE(e.beginning, localDay(x.enters));
                EXPECT_GE(e.end, localDay(x.leaves));
            } else {
                EXPECT_EQ(e.beginning, localDay(x.enters));
                EXPECT_EQ(e.end, localDay(x.leaves));
            }
            ++searched;
        }
    }
    engine.SiderealZodiac = false;
    EXPECT_GT(searched, 40);
    EXPECT_GE(moon, 4);
    EXPECT_GT(passes, 20);
}

// "Exact times" in the report model: off after opening and refused without
// the instants; on, every line is the plain line padded to a common column
// of its exact passes, the sort list gains the order by the first exact pass
// (passes in time order, lines without one last), and switching it off
// again while so sorted returns to the order by deviation.
TEST_F(Sky, ExactTimesColumnAndSortByTheFirstPass) {
    SetDate(kWorldDate, 1990, 1, 1);
    {
        DurationsReport plain = Open(Mode::World);
        EXPECT_FALSE(plain.HasExactTimes());
        plain.SetShowExact(true);
        EXPECT_FALSE(plain.showExact());
        plain.ChooseSort(kSortByPerfection);
        EXPECT_EQ(plain.sortIndex(), kSortByDeviation);
        EXPECT_EQ(plain.SortEntries().size(), 7u);
    }
    reportSettings.exactTimes = true;
    DurationsReport r = Open(Mode::World);
    ASSERT_TRUE(r.HasExactTimes());
    EXPECT_FALSE(r.showExact());
    const std::vector<DurationsReport::ShownLine> plain = r.ShownLines();
    ASSERT_GT(plain.size(), 10u);
    r.SetShowExact(true);
    ASSERT_EQ(r.SortEntries().size(), 8u);
    EXPECT_EQ(r.SortEntries()[7], "exact time");
    const std::vector<DurationsReport::ShownLine> shown = r.ShownLines();
    ASSERT_EQ(shown.size(), plain.size());
    size_t column = 0;
    int passes = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
        const std::string& t = shown[i].text;
        ASSERT_EQ(t.rfind(plain[i].text, 0), 0u) << t;
        const ExactTimes& x = *shown[i].entry.exactTimes;
        std::string expected = x.exact.empty() ? "not exact in this pass" : "exact";
        for (size_t k = 0; k < x.exact.size(); ++k)
            expected += (k ? ", " : " ") + IsoInstantText(x.exact[k], TimeZone::Fixed(0));
        passes += static_cast<int>(x.exact.size());
        ASSERT_GE(t.size(), expected.size());
        EXPECT_EQ(t.substr(t.size() - expected.size()), expected);
        const size_t c = TextLength(t) - TextLength(expected);
        if (i == 0) column = c;
        EXPECT_EQ(c, column) << t;
    }
    EXPECT_GT(passes, static_cast<int>(shown.size()) / 2);
    // Saturn conjunct Neptune perfected three times in 1989.
    EXPECT_NE(r.Output().find("exact 1989-03-"), std::string::npos);

    r.ChooseSort(kSortByPerfection);
    ASSERT_EQ(r.sortIndex(), kSortByPerfection);
    double last = -1;
    bool without = false;
    int moon = 0;
    for (const DurationsReport::ShownLine& l : r.ShownLines()) {
        const std::vector<double>& x = l.entry.exactTimes->exact;
        moon += l.entry.second == kMoon;
        if (x.empty()) {
            without = true;
            continue;
        }
        EXPECT_FALSE(without) << "a line with a pass after one without";
        EXPECT_GE(x.front(), last);
        last = x.front();
    }
    EXPECT_GT(moon, 0) << "the Moon's lines stay in the order by exact passes";
    r.SetShowExact(false);
    EXPECT_EQ(r.sortIndex(), kSortByDeviation);
    EXPECT_EQ(r.SortEntries().size(), 7u);
    EXPECT_EQ(r.Output().find("  exact "), std::string::npos);
}

// The explanation of a double-click adds the instants of the pass that holds
// after its text, which stays as it was: the orb entry, every exact pass
// and the exit to the minute in the World date's zone, as the durations
// list has them; in German with the German words; a named zone is named.
// The Moon's fixed text gets them too.
TEST_F(Sky, ExplanationsAddTheInstantsAfterTheirText) {
    SetDate(kWorldDate, 1990, 1, 1);
    const Chart chart = Compute(Mode::World);
    const ReportDates dates = ReportDatesFrom(rows, Mode::World);
    const AspectSearch search = Search(Mode::World, SearchStepping::Standard);
    for (const Language language : {kEnglish, kGerman}) {
        SCOPED_TRACE(language == kGerman ? "German" : "English");
        NameTables names;
        BuildNameTables(names, language);
        CellExplanationInput in;
        in.mode = Mode::World;
        in.numCols = 10;
        in.names = &names;
        in.texts = testing::RealTexts(language);
        in.orbs = &engine.orbs;
        in.search = &search;
        // Saturn (row 7) conjunct Neptune (column 7).
        in.cellIndex = 7 * 10 + 7;
        in.cellText = names.AspectAbbreviation[kConjunction] + "\r\n3°37'";
        const CellExplanation plain = ExplainCell(in);
        ASSERT_EQ(plain.action, CellExplanation::Action::Question);
        EXPECT_FALSE(plain.exact);
        in.exact.engine = &engine;
        in.exact.chart = &chart;
        in.exact.zone = TimeZone::Fixed(0);
        const CellExplanation e = ExplainCell(in);
        ASSERT_TRUE(e.exact);
        ASSERT_EQ(e.exact->exact.size(), 3u);
        ASSERT_EQ(e.text.rfind(plain.text, 0), 0u) << e.text;
        const ExactTimes& x = *e.exact;
        const std::string enters = language == kGerman ? "Tritt in den Orbis " : "Enters the orb ";
        const std::string exact = language == kGerman ? "Exakt " : "Exact ";
        const std::string leaves = language == kGerman ? "Verlässt den Orbis " : "Leaves the orb ";
        auto iso = [](double jd) { return IsoInstantText(jd, TimeZone::Fixed(0)); };
        EXPECT_EQ(e.text.substr(plain.text.size()),
                  "\n" + enters + iso(x.enters) + "\n" + exact + iso(x.exact[0]) + ", " +
                      iso(x.exact[1]) + ", " + iso(x.exact[2]) + "\n" + leaves + iso(x.leaves));
        EXPECT_EQ(iso(x.enters).substr(0, 10), "1988-10-15");
        // The question holds the explanation with its instants.
        EXPECT_EQ(e.question.rfind(e.text + "\n\n", 0), 0u);

        in.exact.zone = TimeZone::Named("Europe/Berlin");
        const CellExplanation berlin = ExplainCell(in);
        const std::string note = language == kGerman ? "\nZeiten in Europe/Berlin."
                                                     : "\nTimes in Europe/Berlin.";
        ASSERT_GT(berlin.text.size(), note.size());
        EXPECT_EQ(berlin.text.substr(berlin.text.size() - note.size()), note);
        EXPECT_NE(berlin.text.find("+01:00"), std::string::npos);

        // An aspect of the Moon: the fixed text, then the Moon's instants.
        in.exact.zone = TimeZone::Fixed(0);
        int moons = 0;
        for (const ShownAspect& a : AspectsOfChart(chart)) {
            if (a.second != kMoon) continue;
            in.cellIndex = (Index(a.first) + 1) * 10 + Index(a.second) - 1;
            in.cellText = names.AspectAbbreviation[a.aspect];
            const CellExplanation moon = ExplainCell(in);
            ASSERT_EQ(moon.action, CellExplanation::Action::MoonMessage);
            const std::string fixed =
                MoonExplanationText(in.texts, in.orbIndex[static_cast<size_t>(Index(a.aspect) - 1)]);
            ASSERT_EQ(moon.text.rfind(fixed + "\n" + enters, 0), 0u) << moon.text;
            ASSERT_TRUE(moon.exact);
            EXPECT_LT(moon.exact->enters, chart.jd[0].days);
            EXPECT_GT(moon.exact->leaves, chart.jd[0].days);
            ++moons;
        }
        EXPECT_GT(moons, 0);
    }
}

// Aspects to the extra points over five centuries, world and personal
// transits, every other date sidereal: the walk that skips the midnights it
// can rule out with the points' motion bounds finds the days that testing
// every midnight finds, the report lists each point aspect after the
// table's with the point in place of the natal body (personal) or of the
// second body (world), and the instants of its pass lie in the walk's days.
TEST_F(Sky, PointAspectsWalkTheDaysOfTheirInstants) {
    const std::vector<ExtraPoint> points(std::begin(kAllExtraPoints), std::end(kAllExtraPoints));
    reportSettings.points = points;
    reportSettings.exactTimes = true;
    int compared = 0, listed = 0;
    for (int k = 0; k < 12; ++k) {
        engine.SiderealZodiac = k % 2 == 1;
        const int year = 1605 + 41 * k;
        SetDate(kWorldDate, year, 1 + k % 12, 1 + 2 * k);
        SetDate(kBirth1, year - 30 - k, 12 - k % 12, 28 - k);
        for (Mode mode : {Mode::World, Mode::Personal1}) {
            const bool personal = mode == Mode::Personal1;
            const Chart chart = Compute(mode);
            const OrbColumn column = ModeInfoOf(mode).searchColumn;
            AspectSearch fast = Search(mode, SearchStepping::Standard);
            AspectSearch every = Search(mode, SearchStepping::EveryMidnight);
            const PointLongitudeFn source = [this](ExtraPoint p, JulianDate jd) {
                return ComputeExtraPoint(engine, p, jd.days, false).longitude;
            };
            fast.SetPointSource(source);
            every.SetPointSource(source);
            const std::vector<PointAspect> found = PointAspectsOfChart(engine, chart, points);
            for (const PointAspect& a : found) {
                if (a.body == kMoon) continue;
                SCOPED_TRACE(::testing::Message() << year << (personal ? " personal " : " world ")
                                                  << ExtraPointKey(a.point) << "-" << Index(a.body));
                const double b = fast.BeginningOfPointAspect(a.point, a.body, a.aspect, column);
                EXPECT_GE(b, 0);
                EXPECT_EQ(b, every.BeginningOfPointAspect(a.point, a.body, a.aspect, column));
                EXPECT_EQ(fast.EndOfPointAspect(a.point, a.body, a.aspect, column),
                          every.EndOfPointAspect(a.point, a.body, a.aspect, column));
                ++compared;
            }
            const DurationsReport r = Open(mode);
            const std::vector<DurationEntry> entries = Entries(r);
            size_t withPoint = 0;
            for (const DurationEntry& e : entries) {
                const std::optional<ExtraPoint> p = personal ? e.firstPoint : e.secondPoint;
                if (!p) {
                    EXPECT_FALSE(e.firstPoint || e.secondPoint);
                    continue;
                }
                ++withPoint;
                EXPECT_FALSE(personal ? e.secondPoint : e.firstPoint);
                ASSERT_TRUE(e.exactTimes || !e.HasDuration());
                if (e.OfMovingMoon() || !e.HasDuration()) continue;
                SCOPED_TRACE(::testing::Message() << year << " " << ExtraPointKey(*p));
                const double dayStart = e.beginning - 0.5, dayEnd = e.end + 0.5;  // GMT
                EXPECT_GE(e.exactTimes->enters, dayStart);
                EXPECT_LT(e.exactTimes->enters, dayStart + 1);
                EXPECT_GE(e.exactTimes->leaves, dayEnd - 1);
                EXPECT_LT(e.exactTimes->leaves, dayEnd);
                for (const double x : e.exactTimes->exact) {
                    EXPECT_GT(x, e.exactTimes->enters);
                    EXPECT_LT(x, e.exactTimes->leaves);
                }
            }
            EXPECT_EQ(withPoint, found.size());
            listed += static_cast<int>(withPoint);
            const std::string out = r.Output();
            if (personal && withPoint > 0) {
                EXPECT_TRUE(out.find("nat.True Node") != std::string::npos ||
                            out.find("nat.Mean Node") != std::string::npos ||
                            out.find("nat.Chiron") != std::string::npos)
                    << out;
            }
        }
    }
    engine.SiderealZodiac = false;
    EXPECT_GE(compared, 30);
    EXPECT_GE(listed, compared);
}

}  // namespace
}  // namespace vek
