#include "display/durations_report.h"
#include "time/durations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "../program_texts.h"
#include "config/program_text.h"
#include "display/natal_report.h"
#include "engine/aspects.h"
#include "engine/chart.h"

namespace vek {
namespace {

constexpr double kDeg = kTwoPi / 360.0;
constexpr long kJan1 = 2447893;  // 1 January 1990
constexpr long kJan7 = 2447899;

class Durations : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_GT(testing::RealTextTable().Count(), 0); }

    static DisplayTexts Texts(Language language) {
        DisplayTexts t;
        BuildNameTables(t.names, language);
        t.programTexts = testing::RealTexts(language);
        t.widths = ComputeDurationsWidths(t.names);
        for (Aspect a : AllAspects()) t.orbDegrees[a] = 3;
        t.orbDegrees[kConjunction] = 10;
        return t;
    }
};

// The tests write bodies and aspects by their numbers, as the list's
// columns show them; each number here names a body 1..10 or an aspect 1..7.
Body B(int n) {
    return BodyFromIndex(n).value();
}
Aspect A(int n) {
    return AspectFromIndex(n).value();
}
DurationEntry MakeDurationEntry(int first, int second, int aspect, double deviation,
                                EntryDates dates, double beginning = -1, double end = -1) {
    return vek::MakeDurationEntry(B(first), B(second), A(aspect), deviation, dates, beginning,
                                  end);
}

DurationEntry Entry(Body first, Body second, Aspect aspect, double deviation, long b, long e) {
    return vek::MakeDurationEntry(first, second, aspect, deviation, EntryDates::Searched,
                                  static_cast<double>(b), static_cast<double>(e));
}
DurationEntry Entry(int first, int second, int aspect, double deviation, long b, long e) {
    return Entry(B(first), B(second), A(aspect), deviation, b, e);
}

DurationEntry MoonEntry(Body first, Aspect aspect, double deviation) {
    return vek::MakeDurationEntry(first, kMoon, aspect, deviation, EntryDates::MovingMoon);
}
DurationEntry MoonEntry(int first, int aspect, double deviation) {
    return MoonEntry(B(first), A(aspect), deviation);
}

TEST_F(Durations, DurationTextInYearsAndDays) {
    const ProgramTexts en = testing::RealTexts(kEnglish);
    EXPECT_EQ(DurationText(en, 1), "1 day");
    EXPECT_EQ(DurationText(en, 2), "2 days");
    EXPECT_EQ(DurationText(en, 364), "364 days");
    EXPECT_EQ(DurationText(en, 365), "1 year");
    EXPECT_EQ(DurationText(en, 366), "1 year, 1 day");
    EXPECT_EQ(DurationText(en, 367), "1 year, 2 days");
    EXPECT_EQ(DurationText(en, 731), "2 years, 1 day");
    EXPECT_EQ(DurationText(en, 3653), "10 years, 1 day");
    // Years count as 365.2425 days, and the rest from whole days.
    EXPECT_EQ(DurationText(en, 3652), "9 years, 365 days");
    // 200 Gregorian years are 73048.5 days, 200 Julian ones 73050.
    EXPECT_EQ(DurationText(en, 73049), "200 years, 1 day");
    const ProgramTexts de = testing::RealTexts(kGerman);
    EXPECT_EQ(DurationText(de, 1), "1 Tag");
    EXPECT_EQ(DurationText(de, 366), "1 Jahr, 1 Tag");
    EXPECT_EQ(DurationText(de, 800), "2 Jahre, 70 Tage");
}

TEST_F(Durations, EntriesKeepSixDecimalsAndTheirKindOfDates) {
    const DurationEntry e = Entry(3, 10, 5, 0.0123456, kJan1, kJan7);
    EXPECT_EQ(e.first, kVenus);
    EXPECT_EQ(e.second, kMoon);
    EXPECT_EQ(e.aspect, kSextile);
    EXPECT_EQ(e.deviation, 0.012346);  // rounded to what the list keeps
    EXPECT_TRUE(e.HasDates());
    EXPECT_EQ(e.beginning, kJan1);
    EXPECT_EQ(e.end, kJan7);
    EXPECT_TRUE(e.HasDuration());
    EXPECT_EQ(e.duration, 7);
    // Dates are the floors of the searches' answers.
    const DurationEntry late =
        MakeDurationEntry(3, 10, 5, 0, EntryDates::Searched, kJan1 + 0.75, kJan7 + 0.25);
    EXPECT_EQ(late.beginning, kJan1);
    EXPECT_EQ(late.duration, 7);

    const DurationEntry unknown = Entry(3, 10, 5, 0.0123456, kJan1, -1);
    EXPECT_TRUE(unknown.HasDates());
    EXPECT_EQ(unknown.end, -1);
    EXPECT_FALSE(unknown.HasDuration());
    for (EntryDates kind : {EntryDates::MovingMoon, EntryDates::Natal}) {
        const DurationEntry none = MakeDurationEntry(3, 10, 5, 0.0123456, kind, kJan1, kJan7);
        EXPECT_FALSE(none.HasDates());
        EXPECT_FALSE(none.HasDuration());
        EXPECT_EQ(none.beginning, -1);
        EXPECT_EQ(none.end, -1);
        EXPECT_EQ(none.second, kMoon);
    }
}

// The order of `sorted` as indices into `table` (entries compared by value).
std::string OrderOf(const std::vector<DurationEntry>& table,
                    const std::vector<DurationEntry>& sorted) {
    auto same = [](const DurationEntry& a, const DurationEntry& b) {
        return a.first == b.first && a.second == b.second && a.aspect == b.aspect &&
               a.deviation == b.deviation && a.dates == b.dates && a.beginning == b.beginning &&
               a.end == b.end;
    };
    std::string r;
    for (const DurationEntry& s : sorted)
        for (size_t i = 0; i < table.size(); ++i)
            if (same(s, table[i])) r += std::to_string(i);
    return r;
}

TEST_F(Durations, SortKeepsTableOrderAmongEqualKeys) {
    const std::vector<DurationEntry> table = {
        MakeDurationEntry(1, 4, 3, 0.02, EntryDates::Natal),  // 0
        MakeDurationEntry(2, 4, 1, 0.01, EntryDates::Natal),  // 1
        MakeDurationEntry(1, 3, 3, 0.02, EntryDates::Natal),  // 2: same deviation as 0
        MakeDurationEntry(5, 6, 4, 0.03, EntryDates::Natal),  // 3
    };
    std::vector<DurationEntry> list = table;
    SortDurations(list, kSortByDeviation);
    EXPECT_EQ(OrderOf(table, list), "1023");

    // By aspect, then deviation; by second body, then first body.
    list = table;
    SortDurations(list, kSortByAspect);
    EXPECT_EQ(OrderOf(table, list), "1023");
    list = table;
    SortDurations(list, kSortBySecondBody);
    EXPECT_EQ(OrderOf(table, list), "2013");
    list = table;
    SortDurations(list, kSortByFirstBody);
    EXPECT_EQ(OrderOf(table, list), "2013");

    // A choice off the list leaves the list alone.
    list = table;
    SortDurations(list, kSortChoiceCount);
    SortDurations(list, -1);
    EXPECT_EQ(OrderOf(table, list), "0123");
}

TEST_F(Durations, ManyEqualKeysKeepTheirOrder) {
    // Forty entries with equal dates and three deviations, told apart by
    // their bodies, which neither key reads: long runs of equal keys that a
    // sort which is not stable reorders.
    std::vector<DurationEntry> table;
    for (int i = 0; i < 40; ++i)
        table.push_back(
            Entry(B(1 + i % 10), B(1 + i / 10), kTrine, 0.01 * ((i * 7) % 3), kJan1, kJan7));
    auto bodies = [](const std::vector<DurationEntry>& list) {
        std::vector<std::pair<int, int>> r;
        for (const DurationEntry& e : list) r.emplace_back(Index(e.first), Index(e.second));
        return r;
    };

    std::vector<DurationEntry> expected;
    for (double deviation : {0.0, 0.01, 0.02})
        for (const DurationEntry& e : table)
            if (e.deviation == deviation) expected.push_back(e);
    std::vector<DurationEntry> list = table;
    SortDurations(list, kSortByDeviation);
    EXPECT_EQ(bodies(list), bodies(expected));

    // Every date key is equal: the list stays in table order.
    for (int choice : {kSortByBeginning, kSortByEnd, kSortByDuration}) {
        list = table;
        SortDurations(list, choice);
        EXPECT_EQ(bodies(list), bodies(table)) << "choice " << choice;
    }
}

// An entry written in the fixed columns the list once kept: bodies, first
// body again, aspect, deviation, then beginning, end and duration
// right-aligned in 8, 8 and 6 columns (blank for the moving Moon, dashes
// without dates).
std::string FixedColumns(const DurationEntry& e) {
    auto right = [](long n, size_t width) {
        const std::string t = std::to_string(n);
        return std::string(width > t.size() ? width - t.size() : 0, ' ') + t;
    };
    char deviation[32];
    auto [end, ec] = std::to_chars(deviation, deviation + sizeof deviation, e.deviation,
                                   std::chars_format::fixed, 6);
    std::string t = right(Index(e.first), 2) + right(Index(e.second), 2) +
                    right(Index(e.first), 2) + " " + std::to_string(Index(e.aspect)) + " " +
                    std::string(deviation, end);
    if (e.dates == EntryDates::MovingMoon) return t + std::string(22, ' ');
    if (e.dates == EntryDates::Natal) return t + std::string(22, '-');
    t += right(e.beginning, 8) + right(e.end, 8);
    return t + (e.HasDuration() ? right(e.duration, 6) : std::string(6, ' '));
}

TEST_F(Durations, TypedKeysSortAsTheFixedColumnTextDid) {
    // Each choice compared the text from its column to the end of the line.
    const size_t keyColumn[kSortChoiceCount] = {1, 7, 9, 3, 18, 26, 34};
    const double deviations[] = {0, 0.01, 0.0123454, 0.0123456, 0.5, 3.1415926};
    const long beginnings[] = {-1, -12, -123, 5, 42, 2447893, 2447899};
    const long lengths[] = {0, 1, 9, 99, 9999, 99999};
    std::mt19937 random(20240601);
    auto pick = [&random](const auto& values) { return values[random() % std::size(values)]; };
    for (bool natal : {false, true}) {
        for (int trial = 0; trial < 20; ++trial) {
            std::vector<DurationEntry> table;
            for (int i = 0; i < 60; ++i) {
                const int first = 1 + static_cast<int>(random() % 10);
                const int second = 1 + static_cast<int>(random() % 10);
                const int aspect = 1 + static_cast<int>(random() % 7);
                const double deviation = pick(deviations);
                if (natal) {
                    table.push_back(
                        MakeDurationEntry(first, second, aspect, deviation, EntryDates::Natal));
                } else if (random() % 5 == 0) {
                    table.push_back(MoonEntry(first, aspect, deviation));
                } else {
                    const long b = pick(beginnings);
                    long e = b < 0 ? pick(beginnings) : b + pick(lengths);
                    if (random() % 6 == 0) e = -1;
                    table.push_back(Entry(first, second, aspect, deviation, b, e));
                }
            }
            for (int choice = 0; choice < kSortChoiceCount; ++choice) {
                std::vector<std::string> text;
                for (const DurationEntry& e : table) text.push_back(FixedColumns(e));
                const size_t from = keyColumn[choice] - 1;
                std::stable_sort(text.begin(), text.end(),
                                 [from](const std::string& a, const std::string& b) {
                                     return a.substr(from) < b.substr(from);
                                 });
                std::vector<DurationEntry> list = table;
                SortDurations(list, choice);
                std::vector<std::string> typed;
                for (const DurationEntry& e : list) typed.push_back(FixedColumns(e));
                ASSERT_EQ(typed, text) << "choice " << choice << ", trial " << trial;
            }
        }
    }
}

TEST_F(Durations, DateKeysPutUnknownAndMoonLinesFirst) {
    const std::vector<DurationEntry> table = {
        Entry(1, 4, 3, 0.02, kJan1, kJan7),
        MoonEntry(1, 3, 0.01),
        Entry(1, 9, 1, 0.02, -1, kJan7 + 400),
        Entry(1, 8, 1, 0.02, kJan1 - 30, -1),
    };
    std::vector<DurationEntry> list = table;
    SortDurations(list, kSortByBeginning);
    EXPECT_EQ(OrderOf(table, list), "1230");
    list = table;
    SortDurations(list, kSortByEnd);
    EXPECT_EQ(OrderOf(table, list), "1302");
    // Lines without a duration come first, in table order.
    list = table;
    SortDurations(list, kSortByDuration);
    EXPECT_EQ(OrderOf(table, list), "1230");
}

TEST_F(Durations, DisplayLinesInWorldAndPersonalTransits) {
    const DisplayTexts en = Texts(kEnglish);
    const double d = (2 + 13 / 60.0) * kDeg;
    const DurationEntry e = Entry(kSun, kMars, kSquare, d, kJan1, kJan7);
    EXPECT_EQ(DurationDisplayLine(e, Mode::World, false, en),
              "Sun     square (2°13')        Mars   ");
    EXPECT_EQ(DurationDisplayLine(e, Mode::World, true, en),
              "Sun     square (2°13')        Mars    from January 1, 1990,    "
              "to January 7, 1990    (7 days)");
    EXPECT_EQ(DurationDisplayLine(e, Mode::Personal2, false, en),
              "tr.Mars       square (2°13')        nat.Sun      ");

    // An unknown date shows the unknown text and no duration.
    const DurationEntry open = Entry(kSun, kPluto, kSquare, d, kJan1, -1);
    EXPECT_EQ(DurationDisplayLine(open, Mode::World, true, en),
              "Sun     square (2°13')        Pluto   from January 1, 1990,    "
              "to unknown            ");

    // The Moon carries the estimate of four hours per degree of orb.
    const DurationEntry moon = MoonEntry(kSun, kConjunction, 0.5 * kDeg);
    EXPECT_EQ(DurationDisplayLine(moon, Mode::World, true, en),
              "Sun     conjunct (0°30')      Moon    (Moon: about 40 hours within orb)");
    const DurationEntry moonSextile = MoonEntry(kSun, kSextile, 0.5 * kDeg);
    EXPECT_NE(DurationDisplayLine(moonSextile, Mode::World, true, en).find("about 12 hours"),
              std::string::npos);
}

TEST_F(Durations, GermanLinesPadByCharactersNotBytes) {
    const DisplayTexts de = Texts(kGerman);
    // 4 March 2010 to 3 March 2011: "4.März 2010" is 11 characters in 12 bytes.
    const DurationEntry e = Entry(kSun, kMars, kTrine, 1 * kDeg, 2455260, 2455260 + 364);
    EXPECT_EQ(DurationDisplayLine(e, Mode::World, true, de),
              "Sonne   Trigon (1°0')         Mars    von 4.März 2010         "
              "bis 3.März 2011        (1 Jahr)");
}

TEST_F(Durations, AspectsAreReadFromTheTableCells) {
    NameTables en;
    BuildNameTables(en, kEnglish);
    // Triangular table, 10 columns: row 3, column 5 is Mercury–Saturn.
    std::vector<std::string> cells(110);
    cells[35] = "Sqr\r\n2°13' -";
    cells[1] = "12°5'\r\n12Ari5";  // a position cell: no aspect
    EXPECT_EQ(AspectsShownInTable(Mode::World, 10, cells, en),
              (std::vector<ShownAspect>{{kMercury, kSaturn, kSquare}}));

    // Square table, 12 columns: row 2 (chart B body 1), column 5 (chart A
    // body 4).
    std::vector<std::string> square(144);
    square[2 * 12 + 5] = "Tri\r\n1°0'";
    square[11 * 12 + 11] = "Con\r\n0°1'";
    EXPECT_EQ(AspectsShownInTable(Mode::Personal1, 12, square, en),
              (std::vector<ShownAspect>{{kSun, kMars, kTrine}, {kMoon, kMoon, kConjunction}}));
    EXPECT_EQ(AspectsShownInTable(Mode::Synastry, 12, square, en),
              (std::vector<ShownAspect>{{kMars, kSun, kTrine}, {kMoon, kMoon, kConjunction}}));

    // German cells carry German abbreviations.
    NameTables de;
    BuildNameTables(de, kGerman);
    EXPECT_TRUE(AspectsShownInTable(Mode::World, 10, cells, de).empty());
    cells[35] = "Qua\r\n2°13'";
    EXPECT_EQ(AspectsShownInTable(Mode::World, 10, cells, de).size(), 1u);
}

// A natal chart with the given positions in degrees (bodies without one
// have none), default orbs and its aspects counted.
struct NatalChart {
    Chart chart;
    OrbTable orbs;
    std::vector<ShownAspect> aspects;

    explicit NatalChart(const std::vector<std::pair<Body, double>>& positions,
                        const std::vector<std::pair<Body, double>>& second = {}) {
        const double orbDegrees[kAspectCount + 1] = {0, 10, 9, 6, 7, 4, 3, 3};
        for (Aspect a : AllAspects())
            for (double& orb : orbs.orb[a].values) orb = orbDegrees[Index(a)] * kDeg;
        for (Body b : AllBodies()) chart.longitude[b][0] = SkyLongitude();
        for (Body b : AllBodies()) chart.longitude[b][1] = SkyLongitude();
        for (auto [b, lon] : positions) chart.longitude[b][0] = SkyLongitude(lon * kDeg);
        for (auto [b, lon] : second) chart.longitude[b][1] = SkyLongitude(lon * kDeg);
        chart.bodyCount = kMaxBodies;
        const bool two = !second.empty();
        for (Body b : AllBodies()) {
            for (Body j : two ? AllBodies() : BodiesAfter(b, kMaxBodies)) {
                double dev = 0;
                const SkyLongitude lb = chart.longitude[b][0], lj = chart.longitude[j][two ? 1 : 0];
                if (!lb || !lj) continue;
                const std::optional<Aspect> a = ChooseAspect(orbs, *lb, *lj, kOrbBase, dev);
                if (!a) continue;
                aspects.push_back({b, j, *a});
                ++chart.aspectCount[*a];
            }
        }
    }

    std::string Report(Mode mode, Language language) const {
        DurationsReport report;
        DurationsReport::Setup s;
        s.durations.mode = mode;
        s.durations.aspects = aspects;
        s.durations.chart = &chart;
        BuildNameTables(s.texts.names, language);
        s.texts.programTexts = testing::RealTexts(language);
        s.texts.widths = ComputeDurationsWidths(s.texts.names);
        s.orbTable = &orbs;
        report.Open(s);
        EXPECT_FALSE(report.SortListVisible());
        EXPECT_FALSE(report.ShowDurationVisible());
        return report.Output();
    }
};

TEST_F(Durations, NatalReportOfOneAspect) {
    const NatalChart c({{kSun, 12}, {kMars, 104.5}});
    EXPECT_EQ(c.Report(Mode::Natal1, kEnglish),
              "There is only one aspect in this natal chart.\r\n\r\n"
              "The closest aspect is Sun (12° in Aries) square Mars (14° in Cancer), "
              "2°30' from exact.\r\n\r\n");
}

TEST_F(Durations, NatalReportOfTwoAspects) {
    // Two aspects: the closest and the next closest, no remaining list, no
    // counts and no patterns.
    const NatalChart c({{kSun, 10}, {kMars, 102}, {kSaturn, 225}});
    EXPECT_EQ(c.Report(Mode::Natal1, kEnglish),
              "There are two aspects in this natal chart.\r\n\r\n"
              "The closest aspect is Sun (10° in Aries) square Mars (12° in Cancer), "
              "2°0' from exact.\r\n"
              "The next closest is Mars (12° in Cancer) trine Saturn (15° in Scorpio), "
              "3°0' from exact.\r\n\r\n");
}

TEST_F(Durations, NatalReportOfAGrandTrine) {
    // Three trines of 1°, 3° and 4°: a grand trine, and no midpoint (Jupiter
    // lies 1° from the midpoint of the Sun and Saturn).
    const NatalChart c({{kSun, 10}, {kJupiter, 131}, {kSaturn, 254}});
    EXPECT_EQ(c.Report(Mode::Natal1, kEnglish),
              "There are three aspects in this natal chart.\r\n\r\n"
              "The closest aspect is Sun (10° in Aries) trine Jupiter (11° in Leo), "
              "1°0' from exact.\r\n"
              "The next closest is Jupiter (11° in Leo) trine Saturn (14° in Sagittarius), "
              "3°0' from exact.\r\n\r\n"
              "The remaining aspects, from the closest to the widest:\r\n"
              "Sun (10° in Aries) trine Saturn (14° in Sagittarius), 4°0' from exact.\r\n"
              "\r\nThere are no conjunctions, no oppositions, no squares, three trines, "
              "no sextiles, no semisextiles and no quincunxes.\r\n"
              "\r\nThere is one grand trine: Sun-Jupiter-Saturn\r\n"
              "\r\nThese are all the aspect patterns of the chart.\r\n");

    const std::string de = c.Report(Mode::Natal1, kGerman);
    EXPECT_EQ(de.substr(0, de.find('\r')), "In diesem Radix gibt es drei Aspekte.");
    EXPECT_NE(de.find("Es gibt keine Konjunktion, keine Opposition, keine Quadrat, drei Trigon"),
              std::string::npos);
    EXPECT_NE(de.find("Es gibt die Figur Großes Trigon: Sonne-Jupiter-Saturn"), std::string::npos);
}

TEST_F(Durations, NatalReportCountsPatternsAndSaysWhenThereAreNone) {
    // Four bodies in two oppositions and four squares: a grand cross, and a
    // T-square for every three of them.
    const NatalChart cross({{kSun, 0}, {kMars, 92}, {kJupiter, 181}, {kSaturn, 273}});
    const std::string r = cross.Report(Mode::Natal1, kEnglish);
    EXPECT_NE(r.find("There is one grand cross: "), std::string::npos) << r;
    EXPECT_NE(r.find("There are four T-squares:\r\n"), std::string::npos) << r;
    EXPECT_NE(r.find("There are no conjunctions, two oppositions, four squares,"),
              std::string::npos);

    // Three scattered aspects form no pattern.
    const NatalChart loose({{kSun, 0}, {kMars, 60}, {kJupiter, 150}, {kSaturn, 250}});
    const std::string l = loose.Report(Mode::Natal1, kEnglish);
    EXPECT_NE(l.find("There are three aspects"), std::string::npos) << l;
    EXPECT_EQ(l.substr(l.size() - 33), "\r\nThere are no aspect patterns.\r\n");
}

TEST_F(Durations, NatalReportOfExactAspects) {
    const NatalChart c({{kSun, 10}, {kMoon, 100}, {kMars, 190}});
    const std::string r = c.Report(Mode::Natal1, kEnglish);
    EXPECT_NE(r.find("The closest aspect is Sun (10° in Aries) opposite Mars (10° in Libra), "
                     "exact to the arc minute.\r\n"),
              std::string::npos)
        << r;
    EXPECT_NE(r.find("Also exact is Sun (10° in Aries) square Moon (10° in Cancer).\r\n"),
              std::string::npos)
        << r;
}

TEST_F(Durations, SynastryReportMarksTheChartsAndHasNoPatterns) {
    // Five aspects between the charts; the two closest (1°) in table order.
    // Venus(1) and Mars(2), 147° apart, stand exactly at the quincunx's 3° orb:
    // no aspect.
    const NatalChart c({{kSun, 10}, {kVenus, 40}}, {{kSun, 131}, {kMars, 253}, {kMoon, 12}});
    const std::string r = c.Report(Mode::Synastry, kEnglish);
    EXPECT_EQ(r.substr(0, r.find('\r')), "There are five aspects in this synastry.");
    EXPECT_NE(r.find("The closest aspect is Sun(1) (10° in Aries) trine Sun(2) (11° in Leo), "
                     "1°0' from exact.\r\n"
                     "The next closest is Venus(1) (10° in Taurus) square Sun(2) (11° in Leo), "
                     "1°0' from exact.\r\n"),
              std::string::npos)
        << r;
    EXPECT_NE(r.find("There is one conjunction, "), std::string::npos);
    EXPECT_EQ(r.find("pattern"), std::string::npos);
    const std::string de = c.Report(Mode::Synastry, kGerman);
    EXPECT_EQ(de.substr(0, de.find('\r')), "In dieser Synastrie gibt es fünf Aspekte.");
}

}  // namespace
}  // namespace vek

namespace vek {
namespace {

// The list tells how far it has come before each entry and at the end, and
// a caller (a report built on another thread) can stop it between entries.
TEST(DurationsProgress, IsToldAndStopsTheListBetweenEntries) {
    Chart chart;
    chart.mode = Mode::Natal1;
    for (Body b : Bodies(4)) chart.longitude[b][0] = SkyLongitude(Index(b) * 30 * kDeg);
    DurationsInput in;
    in.mode = Mode::Natal1;
    in.chart = &chart;
    in.aspects = {{kSun, kMercury, kSemisextile}, {kSun, kVenus, kSextile}, {kMercury, kMars, kSextile}};
    std::vector<std::pair<int, int>> told;
    in.progress = [&told](int done, int total) {
        told.emplace_back(done, total);
        return true;
    };
    EXPECT_EQ(GetDurations(in).size(), 3u);
    EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));

    told.clear();
    in.progress = [&told](int done, int total) {
        told.emplace_back(done, total);
        return done < 2;
    };
    const std::vector<DurationEntry> stopped = GetDurations(in);
    ASSERT_EQ(stopped.size(), 2u);
    EXPECT_EQ(stopped[1].second, kVenus);
    EXPECT_EQ(told.back(), std::make_pair(2, 3));
}

}  // namespace
}  // namespace vek
