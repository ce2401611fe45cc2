// The searches and the durations report on the real sky: the engine's
// longitude wrapper with the ephemeris and the Pluto table.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../program_texts.h"
#include "config/program_text.h"
#include "config/settings.h"
#include "display/durations_report.h"
#include "engine/aspect_instants.h"
#include "engine/aspects.h"
#include "engine/chart.h"
#include "engine/engine.h"
#include "engine/modes.h"
#include "time/aspect_search.h"
#include "time/date_rows.h"
#include "time/durations.h"
#include "time/zones.h"

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
        double dates[3];
        for (DateSlot slot : AllDateSlots()) dates[Index(slot)] = rows.InputDateToAJDate(slot);
        return ComputeChart(engine, mode, dates);
    }

    DurationsReport Open(Mode mode) {
        const Chart chart = Compute(mode);
        DurationsReport report;
        OpenDurationsReport(report, engine, chart, ReportDatesFrom(rows, mode), reportSettings,
                            testing::RealTexts(kEnglish));
        return report;
    }

    // A search over the World date as the report sets it up.
    AspectSearch Search(Mode mode, SearchStepping stepping) {
        const ReportDates d = ReportDatesFrom(rows, mode);
        AspectSearch s([this](Body b, double jd) { return engine.Longitude(b, jd); }, engine.orbs,
                       d.worldLocalDayValue, d.worldZoneMinutes);
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
    // sextile of Neptune and Pluto.
    int compared = 0;
    for (int year : {1965, 1966, 1990, 1993, 1950, 1985, 2030}) {
        SetDate(kWorldDate, year, 3, 1);
        const Chart chart = Compute(Mode::World);
        AspectSearch large = Search(Mode::World, SearchStepping::Standard);
        AspectSearch daily = Search(Mode::World, SearchStepping::DayByDay);
        for (const ShownAspect& a : AspectsOfChart(chart)) {
            if (a.first <= kSaturn || a.second <= kSaturn || a.second == kMoon) continue;
            SCOPED_TRACE(::testing::Message() << year << ": " << Index(a.first) << "-" << Index(a.second));
            const double b1 = large.BeginningOfAspect(a.first, a.second, a.aspect, kOrbBase);
            const double b2 = daily.BeginningOfAspect(a.first, a.second, a.aspect, kOrbBase);
            const double e1 = large.EndOfAspect(a.first, a.second, a.aspect, kOrbBase);
            const double e2 = daily.EndOfAspect(a.first, a.second, a.aspect, kOrbBase);
            ASSERT_GE(b2, 0);
            ASSERT_GE(e2, 0);
            // The large steps may overshoot by less than a step, outward.
            EXPECT_LE(b1, b2);
            EXPECT_GT(b1, b2 - 11);
            EXPECT_GE(e1, e2);
            EXPECT_LT(e1, e2 + 11);
            ++compared;
        }
    }
    EXPECT_GE(compared, 5);
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
        DurationsReport report;
        OpenDurationsReport(report, engine, chart, dates, reportSettings,
                            testing::RealTexts(kEnglish));
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
            EXPECT_LT(x.enters, chart.jd[0]);
            EXPECT_GT(x.leaves, chart.jd[0]);
            const bool personal = ModeInfoOf(c.mode).personal;
            const double natal = chart.longitude[e.first][1];
            for (const double jd : x.exact) {
                EXPECT_GT(jd, x.enters);
                EXPECT_LT(jd, x.leaves);
                const double lon1 = personal ? natal : engine.Longitude(e.first, jd);
                const double lon2 = engine.Longitude(e.second, jd);
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

}  // namespace
}  // namespace vek
