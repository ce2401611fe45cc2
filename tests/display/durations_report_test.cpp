#include "display/durations_report.h"
#include "time/durations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../program_texts.h"
#include "display/natal_report.h"
#include "display/program_text.h"
#include "engine/aspects.h"

namespace vek {
namespace {

constexpr double kDeg = kTwoPi / 360.0;
constexpr long kJan1 = 2447893;  // 1 January 1990
constexpr long kJan7 = 2447899;

class Durations : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_GT(testing::RealTextTable().Count(), 0); }

    static DisplayTexts Texts(int language) {
        DisplayTexts t;
        BuildNameTables(t.names, language);
        t.programTexts = testing::RealTexts(language);
        t.widths = ComputeDurationsWidths(t.names);
        for (int a = 1; a <= kAspectCount; ++a) t.orbDegrees[a] = 3;
        t.orbDegrees[kConjunction] = 10;
        return t;
    }
};

DurationEntry Entry(int first, int second, int aspect, double deviation, long b, long e) {
    return ReadDurationEntry(DurationEntryHead(first, second, aspect, deviation) +
                             DurationEntryDates(static_cast<double>(b), static_cast<double>(e)));
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
    const ProgramTexts de = testing::RealTexts(kGerman);
    EXPECT_EQ(DurationText(de, 1), "1 Tag");
    EXPECT_EQ(DurationText(de, 366), "1 Jahr, 1 Tag");
    EXPECT_EQ(DurationText(de, 800), "2 Jahre, 70 Tage");
}

TEST_F(Durations, EntriesHaveFixedColumnsAndReadBack) {
    const std::string head = DurationEntryHead(3, 10, 5, 0.0123456);
    EXPECT_EQ(head, " 310 3 5 0.012346");
    EXPECT_EQ(DurationEntryDates(kJan1, kJan7), " 2447893 2447899     7");
    EXPECT_EQ(DurationEntryDates(kUnknownDate, kJan7), "      -1 2447899      ");
    EXPECT_EQ(DurationEntryDates(kJan1, kUnknownDate).size(), 22u);

    const DurationEntry e = ReadDurationEntry(head + DurationEntryDates(kJan1, kJan7));
    EXPECT_EQ(e.first, 3);
    EXPECT_EQ(e.second, 10);
    EXPECT_EQ(e.aspect, 5);
    EXPECT_DOUBLE_EQ(e.deviation, 0.012346);
    EXPECT_TRUE(e.hasDates);
    EXPECT_EQ(e.beginning, kJan1);
    EXPECT_EQ(e.end, kJan7);
    EXPECT_TRUE(e.hasDuration);
    EXPECT_EQ(e.duration, 7);

    const DurationEntry unknown = ReadDurationEntry(head + DurationEntryDates(kJan1, -1));
    EXPECT_TRUE(unknown.hasDates);
    EXPECT_EQ(unknown.end, -1);
    EXPECT_FALSE(unknown.hasDuration);
    for (char fill : {' ', '-'}) {
        const DurationEntry none = ReadDurationEntry(head + std::string(22, fill));
        EXPECT_FALSE(none.hasDates);
        EXPECT_FALSE(none.hasDuration);
        EXPECT_EQ(none.second, 10);
    }
}

TEST_F(Durations, SortKeepsTableOrderAmongEqualKeys) {
    const std::string dates(22, ' ');
    const std::vector<std::string> table = {
        DurationEntryHead(1, 4, 3, 0.02) + dates,  // 0
        DurationEntryHead(2, 4, 1, 0.01) + dates,  // 1
        DurationEntryHead(1, 3, 3, 0.02) + dates,  // 2: same deviation as 0
        DurationEntryHead(5, 6, 4, 0.03) + dates,  // 3
    };
    auto order = [&](const std::vector<std::string>& sorted) {
        std::string r;
        for (const std::string& s : sorted)
            for (size_t i = 0; i < table.size(); ++i)
                if (s == table[i]) r += std::to_string(i);
        return r;
    };

    std::vector<std::string> list = table;
    QuickSort(true, list, 0, 3, kSortKeyColumn[kSortByDeviation]);
    EXPECT_EQ(order(list), "1023");
    list = table;
    QuickSort(false, list, 0, 3, kSortKeyColumn[kSortByDeviation]);
    EXPECT_EQ(order(list), "3021");

    // By aspect, then deviation; by second body, then first body.
    list = table;
    QuickSort(true, list, 0, 3, kSortKeyColumn[kSortByAspect]);
    EXPECT_EQ(order(list), "1023");
    list = table;
    QuickSort(true, list, 0, 3, kSortKeyColumn[kSortBySecondBody]);
    EXPECT_EQ(order(list), "2013");
    list = table;
    QuickSort(true, list, 0, 3, kSortKeyColumn[kSortByFirstBody]);
    EXPECT_EQ(order(list), "2013");

    // Only the given range moves; a range beyond the list is clipped.
    list = table;
    QuickSort(true, list, 2, 3, kSortKeyColumn[kSortByDeviation]);
    EXPECT_EQ(order(list), "0123");
    QuickSort(true, list, -5, 99, kSortKeyColumn[kSortByDeviation]);
    EXPECT_EQ(order(list), "1023");
}

TEST_F(Durations, DateKeysPutUnknownAndMoonLinesFirst) {
    const std::vector<std::string> table = {
        DurationEntryHead(1, 4, 3, 0.02) + DurationEntryDates(kJan1, kJan7),
        DurationEntryHead(1, 10, 3, 0.01) + std::string(22, ' '),
        DurationEntryHead(1, 9, 1, 0.02) + DurationEntryDates(-1, kJan7 + 400),
        DurationEntryHead(1, 8, 1, 0.02) + DurationEntryDates(kJan1 - 30, -1),
    };
    std::vector<std::string> list = table;
    QuickSort(true, list, 0, 3, kSortKeyColumn[kSortByBeginning]);
    EXPECT_EQ(list, (std::vector<std::string>{table[1], table[2], table[3], table[0]}));
    list = table;
    QuickSort(true, list, 0, 3, kSortKeyColumn[kSortByEnd]);
    EXPECT_EQ(list, (std::vector<std::string>{table[1], table[3], table[0], table[2]}));
    // Lines without a duration come first, in table order.
    list = table;
    QuickSort(true, list, 0, 3, kSortKeyColumn[kSortByDuration]);
    EXPECT_EQ(list, (std::vector<std::string>{table[1], table[2], table[3], table[0]}));
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
    const DurationEntry moon = ReadDurationEntry(
        DurationEntryHead(kSun, kMoon, kConjunction, 0.5 * kDeg) + std::string(22, ' '));
    EXPECT_EQ(DurationDisplayLine(moon, Mode::World, true, en),
              "Sun     conjunct (0°30')      Moon    (Moon: about 40 hours within orb)");
    const DurationEntry moonSextile = ReadDurationEntry(
        DurationEntryHead(kSun, kMoon, kSextile, 0.5 * kDeg) + std::string(22, ' '));
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
    EngineArrays arrays;
    std::vector<ShownAspect> aspects;

    explicit NatalChart(const std::vector<std::pair<int, double>>& positions,
                        const std::vector<std::pair<int, double>>& second = {}) {
        FillAspectAngles(arrays.AspectAngle);
        const double orbs[kAspectCount + 1] = {0, 10, 9, 6, 7, 4, 3, 3};
        for (int a = 1; a <= kAspectCount; ++a)
            for (int c = 0; c < 3; ++c) arrays.OrbTable[a][c] = orbs[a] * kDeg;
        for (int b = 1; b <= kMaxBodies; ++b) arrays.BodyLongitude[b][0] = -1;
        for (int b = 1; b <= kMaxBodies; ++b) arrays.BodyLongitude[b][1] = -1;
        for (auto [b, lon] : positions) arrays.BodyLongitude[b][0] = lon * kDeg;
        for (auto [b, lon] : second) arrays.BodyLongitude[b][1] = lon * kDeg;
        arrays.BodyCount = kMaxBodies;
        const bool two = !second.empty();
        for (int b = 1; b <= kMaxBodies; ++b) {
            for (int j = two ? 1 : b + 1; j <= kMaxBodies; ++j) {
                double dev = 0;
                const int a = ChooseAspect(arrays, arrays.BodyLongitude[b][0],
                                           arrays.BodyLongitude[j][two ? 1 : 0], 0, dev);
                if (a == 0) continue;
                aspects.push_back({b, j, a});
                ++arrays.AspectCount[a];
            }
        }
    }

    std::string Report(Mode mode, int language) const {
        DurationsReport report;
        DurationsReport::Setup s;
        s.durations.mode = mode;
        s.durations.aspects = aspects;
        s.durations.arrays = &arrays;
        BuildNameTables(s.texts.names, language);
        s.texts.programTexts = testing::RealTexts(language);
        s.texts.widths = ComputeDurationsWidths(s.texts.names);
        s.natalArrays = &arrays;
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
    // Six aspects between the charts; the two closest (1°) in table order.
    const NatalChart c({{kSun, 10}, {kVenus, 40}}, {{kSun, 131}, {kMars, 253}, {kMoon, 12}});
    const std::string r = c.Report(Mode::Synastry, kEnglish);
    EXPECT_EQ(r.substr(0, r.find('\r')), "There are six aspects in this synastry.");
    EXPECT_NE(r.find("The closest aspect is Sun(1) (10° in Aries) trine Sun(2) (11° in Leo), "
                     "1°0' from exact.\r\n"
                     "The next closest is Venus(1) (10° in Taurus) square Sun(2) (11° in Leo), "
                     "1°0' from exact.\r\n"),
              std::string::npos)
        << r;
    EXPECT_NE(r.find("There is one conjunction, "), std::string::npos);
    EXPECT_EQ(r.find("pattern"), std::string::npos);
    const std::string de = c.Report(Mode::Synastry, kGerman);
    EXPECT_EQ(de.substr(0, de.find('\r')), "In dieser Synastrie gibt es sechs Aspekte.");
}

}  // namespace
}  // namespace vek
