#include "engine/patterns.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "../fake_sky.h"
#include "engine/aspects.h"
#include "engine/pattern_findings.h"
#include "engine/vocabulary.h"
#include "util/paths.h"

namespace vek {
namespace {
using testing::kAfterData;

using testing::Deg;

// The default base orbs; the charts have no position for any body but those
// the tests place.
const OrbTable kOrbs = testing::DefaultOrbs();
using testing::PlacedChart;

using Lines = std::vector<std::vector<int>>;

Lines BodiesOf(const PatternResult& r) {
    Lines out;
    for (const PatternInstance& p : r.instances) {
        std::vector<int> numbers;
        for (int m = 0; m < p.size; ++m) numbers.push_back(Index(p.bodies[m]));
        out.push_back(numbers);
    }
    return out;
}

int TotalInstances(const Chart& e) {
    int n = 0;
    for (Pattern p : AllPatterns())
        if (p != kMidpoint) n += static_cast<int>(FindPattern(e, kOrbs, p).instances.size());
    return n;
}

TEST(Patterns, GrandTrineWithinOrbsGivesOneLineAndItsMeanDeviation) {
    Chart e = PlacedChart({{kSun, 0}, {kJupiter, 122}, {kNeptune, 239}});
    PatternResult r = FindGrandTrines(e, kOrbs);
    EXPECT_EQ(BodiesOf(r), (Lines{{1, 5, 8}}));
    EXPECT_EQ(r.count, 1);
    // Deviations 2°, 1° and 3°.
    EXPECT_NEAR(r.instances[0].meanDeviation, Deg(2), 1e-9);
    EXPECT_EQ(TotalInstances(e), 1);
}

TEST(Patterns, GrandCrossAlsoYieldsItsFourTSquares) {
    Chart e = PlacedChart({{kSun, 0}, {kMercury, 90}, {kVenus, 180}, {kMars, 270}});
    PatternResult cross = FindGrandCrosses(e, kOrbs);
    EXPECT_EQ(BodiesOf(cross), (Lines{{1, 2, 3, 4}}));
    EXPECT_EQ(cross.count, 1);
    PatternResult t = FindTSquares(e, kOrbs);
    EXPECT_EQ(BodiesOf(t), (Lines{{1, 2, 3}, {1, 4, 3}, {2, 1, 4}, {2, 3, 4}}));
    EXPECT_EQ(t.count, 4);
}

TEST(Patterns, GrandCrossInAnyIndexOrderIsFoundOnce) {
    Chart e = PlacedChart({{kSun, 0}, {kMercury, 180}, {kVenus, 91}, {kMars, 272}});
    PatternResult cross = FindGrandCrosses(e, kOrbs);
    ASSERT_EQ(BodiesOf(cross), (Lines{{1, 3, 2, 4}}));
    // Squares 1-3 1°, 1-4 2°, 3-2 1°, 2-4 2°; oppositions 1-2 0°, 3-4 1°.
    EXPECT_NEAR(cross.instances[0].meanDeviation, Deg((1 + 2 + 1 + 2 + 0 + 1) / 6.0), 1e-9);
}

// Bodies 1..6 at 0°, 60°, ... 300°.
TEST(Patterns, SixBodiesSixtyDegreesApart) {
    Chart e = PlacedChart({{kSun, 0}, {kMercury, 60}, {kVenus, 120}, {kMars, 180}, {kJupiter, 240}, {kSaturn, 300}});
    EXPECT_EQ(BodiesOf(FindGrandTrines(e, kOrbs)), (Lines{{1, 3, 5}, {2, 4, 6}}));
    PatternResult kites = FindKites(e, kOrbs);
    EXPECT_EQ(
        BodiesOf(kites),
        (Lines{
            {5, 1, 3, 2}, {1, 3, 5, 4}, {3, 5, 1, 6}, {4, 6, 2, 1}, {6, 2, 4, 3}, {2, 4, 6, 5}}));
    EXPECT_EQ(kites.count, 6);
    // The rectangle 1-4-3-6 comes back as 3-6-1-4: another rectangle was kept
    // in between, so it is not recognised as met before.
    PatternResult rect = FindRectangles(e, kOrbs);
    EXPECT_EQ(BodiesOf(rect), (Lines{{1, 4, 3, 6}, {1, 4, 5, 2}, {2, 5, 6, 3}, {3, 6, 1, 4}}));
    EXPECT_EQ(rect.count, 4);
    PatternResult trap = FindTrapezia(e, kOrbs);
    EXPECT_EQ(
        BodiesOf(trap),
        (Lines{
            {1, 4, 3, 2}, {1, 4, 5, 6}, {2, 5, 4, 3}, {2, 5, 6, 1}, {3, 6, 1, 2}, {3, 6, 5, 4}}));
    EXPECT_EQ(trap.count, 6);
    PatternResult sextile = FindGrandSextiles(e, kOrbs);
    EXPECT_EQ(BodiesOf(sextile), (Lines{{1, 3, 5, 2, 4, 6}}));
    EXPECT_EQ(sextile.count, 1);
    EXPECT_FALSE(sextile.instances[0].hasMean);
    for (Pattern p : {kTSquare, kGrandCross, kYod, kYodKite, kStellium3})
        EXPECT_TRUE(FindPattern(e, kOrbs, p).instances.empty()) << Index(p);
}

TEST(Patterns, GrandSextileCountsOneHoweverManyLines) {
    // Bodies 7 and 8 double bodies 1 and 2, so two sets of six bodies form a
    // grand sextile.
    Chart e =
        PlacedChart({{kSun, 0}, {kMercury, 60}, {kVenus, 120}, {kMars, 180}, {kJupiter, 240}, {kSaturn, 300}, {kUranus, 1}, {kNeptune, 61}});
    PatternResult r = FindGrandSextiles(e, kOrbs);
    EXPECT_EQ(
        BodiesOf(r),
        (Lines{{1, 3, 5, 2, 4, 6}, {1, 3, 5, 4, 6, 8}, {2, 4, 6, 3, 5, 7}, {3, 5, 7, 4, 6, 8}}));
    EXPECT_EQ(r.count, 1);
}

TEST(Patterns, RectangleMetAgainFromItsSecondOppositionIsDropped) {
    Chart e = PlacedChart({{kSun, 0}, {kMercury, 240}, {kVenus, 180}, {kMars, 60}});
    PatternResult r = FindRectangles(e, kOrbs);
    EXPECT_EQ(BodiesOf(r), (Lines{{1, 3, 2, 4}}));
    EXPECT_EQ(r.count, 1);
}

TEST(Patterns, KiteMeanCoversTrinesOppositionAndSextiles) {
    // Trine deviations 1°, 1°, 0°; apex 181° opposite body 1 (1°) and sextile
    // to the others (0°, 0°).
    Chart e = PlacedChart({{kSun, 0}, {kMercury, 121}, {kVenus, 241}, {kMars, 181}});
    PatternResult r = FindKites(e, kOrbs);
    ASSERT_EQ(BodiesOf(r), (Lines{{1, 2, 3, 4}}));
    EXPECT_NEAR(r.instances[0].meanDeviation, Deg(0.5), 1e-9);
}

TEST(Patterns, YodAndYodKite) {
    Chart e = PlacedChart({{kSun, 0}, {kMercury, 61}, {kVenus, 210}, {kMars, 30}});
    PatternResult yod = FindYods(e, kOrbs);
    ASSERT_EQ(BodiesOf(yod), (Lines{{1, 3, 2}}));
    // Sextile 1°, quincunxes 0° and 1°.
    EXPECT_NEAR(yod.instances[0].meanDeviation, Deg(2.0 / 3), 1e-9);
    PatternResult kite = FindYodKites(e, kOrbs);
    ASSERT_EQ(BodiesOf(kite), (Lines{{1, 3, 2, 4}}));
    // Opposition 0°, semisextiles 1° (to body 2) and 0°.
    EXPECT_NEAR(kite.instances[0].meanDeviation, Deg(3.0 / 6), 1e-9);

    // An apex numbered between or below the sextile's bodies, and a fourth
    // body numbered below all three.
    e = PlacedChart({{kMercury, 0}, {kJupiter, 60}, {kVenus, 210}, {kSun, 30}});
    EXPECT_EQ(BodiesOf(FindYods(e, kOrbs)), (Lines{{2, 3, 5}}));
    EXPECT_EQ(BodiesOf(FindYodKites(e, kOrbs)), (Lines{{2, 3, 5, 1}}));
    e = PlacedChart({{kMars, 0}, {kSaturn, 60}, {kSun, 210}, {kMercury, 30}});
    EXPECT_EQ(BodiesOf(FindYods(e, kOrbs)), (Lines{{4, 1, 6}}));
    EXPECT_EQ(BodiesOf(FindYodKites(e, kOrbs)), (Lines{{4, 1, 6, 2}}));
}

TEST(Patterns, EverySubsetOfConjunctBodiesIsItsOwnStellium) {
    // Bodies 1..7 within 6°: every pair is conjunct with the 10° orb.
    Chart e = PlacedChart({{kSun, 0}, {kMercury, 1}, {kVenus, 2}, {kMars, 3}, {kJupiter, 4}, {kSaturn, 5}, {kUranus, 6}});
    EXPECT_EQ(FindStellia(e, kOrbs, 6).count, 7);
    EXPECT_EQ(FindStellia(e, kOrbs, 5).count, 21);
    EXPECT_EQ(FindStellia(e, kOrbs, 3).count, 35);
    EXPECT_EQ(BodiesOf(FindStellia(e, kOrbs, 6)).front(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(BodiesOf(FindStellia(e, kOrbs, 6)).back(), (std::vector<int>{2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(FindStellia(e, kOrbs, 7).instances.empty());
    EXPECT_TRUE(FindStellia(e, kOrbs, 2).instances.empty());
}

TEST(Patterns, StelliumNeedsEveryPairConjunctAndAveragesThem) {
    // 1-3 is the only pair more than 10° apart.
    Chart e = PlacedChart({{kSun, 0}, {kMercury, 8}, {kVenus, 16}, {kMars, 8.5}});
    EXPECT_EQ(BodiesOf(FindStellia(e, kOrbs, 3)), (Lines{{1, 2, 4}, {2, 3, 4}}));
    // 1-2: 8°, 1-4: 8.5°, 2-4: 0.5°.
    EXPECT_NEAR(FindStellia(e, kOrbs, 3).instances[0].meanDeviation, Deg(17.0 / 3), 1e-9);
    EXPECT_TRUE(FindStellia(e, kOrbs, 4).instances.empty());
}

TEST(Patterns, BodyWithoutPositionIsInNoPattern) {
    Chart e = PlacedChart({{kSun, 0}, {kMercury, 60}, {kVenus, 120}, {kMars, 180}, {kJupiter, 240}, {kSaturn, 300}});
    e.longitude[kVenus][kChartA] = kAfterData;
    for (Pattern p : AllPatterns()) {
        if (p == kMidpoint) continue;
        for (const PatternInstance& inst : FindPattern(e, kOrbs, p).instances)
            for (int m = 0; m < inst.size; ++m)
                EXPECT_NE(inst.bodies[m], kVenus) << "pattern " << Index(p);
    }
    // Three bodies that would be a stellium if a negative number were read as
    // an angle: it is no position.
    Chart s = PlacedChart({{kSun, 0}, {kMercury, 1}});
    s.longitude[kVenus][kChartA] = SkyLongitude(-0.001);
    EXPECT_TRUE(FindStellia(s, kOrbs, 3).instances.empty());
}

TEST(Patterns, MoonTakesPartOnlyWhenCounted) {
    Chart e = PlacedChart({{kSun, 0}, {kMercury, 120}, {kMoon, 240}});
    EXPECT_EQ(FindGrandTrines(e, kOrbs).count, 1);
    e.bodyCount = 9;
    EXPECT_EQ(FindGrandTrines(e, kOrbs).count, 0);
}

NameTables Names(Language language) {
    NameTables t;
    BuildNameTables(t, language);
    return t;
}

TEST(PatternText, SummaryAndReportForms) {
    const NameTables en = Names(kEnglish);
    const PatternTexts texts{en, "dev"};
    Chart e = PlacedChart({{kSun, 0}, {kJupiter, 122}, {kNeptune, 239}});
    PatternBlock b = RunPatternFinder(e, kOrbs, kGrandTrine, PatternForm::Summary, texts);
    EXPECT_EQ(b.text, "Grand trine: Su-Ju-Ne (dev 2°0')\r\n");
    EXPECT_EQ(b.count, 1);
    b = RunPatternFinder(e, kOrbs, kGrandTrine, PatternForm::Report, texts);
    EXPECT_EQ(b.text, "Sun-Jupiter-Neptune\r\n");

    // The grand sextile line has no mean; one count for two lines.
    e = PlacedChart({{kSun, 0}, {kMercury, 60}, {kVenus, 120}, {kMars, 180}, {kJupiter, 240}, {kSaturn, 300}, {kUranus, 1}, {kNeptune, 61}});
    b = RunPatternFinder(e, kOrbs, kGrandSextile, PatternForm::Summary, texts);
    EXPECT_EQ(b.text,
              "Grand sextile: Su-Ve-Ju-Me-Ma-Sa\r\nGrand sextile: Su-Ve-Ju-Ma-Sa-Ne\r\n"
              "Grand sextile: Me-Ma-Sa-Ve-Ju-Ur\r\nGrand sextile: Ve-Ju-Ur-Ma-Sa-Ne\r\n");
    EXPECT_EQ(b.count, 1);
}

TEST(AllPatterns, LargestStelliumOnlyAndUntouchedSlotsKeepTheirCounts) {
    const NameTables en = Names(kEnglish);
    Chart e = PlacedChart({{kSun, 0}, {kMercury, 1}, {kVenus, 2}, {kMars, 3}});
    PatternFindings f = FindAllPatterns(e, kOrbs, 3, PatternForm::Summary, {en, "dev"});
    EXPECT_EQ(f.stelliumSlot, kStellium4);
    EXPECT_TRUE(f.blocks[kStellium3].text.empty());  // smaller sizes are not searched
    // Conjunctions 1°, 2°, 3°, 1°, 2°, 1°: mean 1°40'.
    EXPECT_EQ(PatternSection(f), "4-Stellium: Su-Me-Ve-Ma (dev 1°40')\r\n\r\n");

    PatternArray<int16_t> counts;
    for (int16_t& c : counts.values) c = 7;
    StorePatternCounts(f, counts);
    for (Pattern p : AllPatterns()) {
        if (p == kStellium4)
            EXPECT_EQ(counts[p], 1);
        else if (p == kStellium3)
            EXPECT_EQ(counts[p], 0) << "smaller stellium sizes are cleared";
        else
            EXPECT_EQ(counts[p], 7) << "slot " << Index(p) << " had nothing to report";
    }
}

TEST(AllPatterns, BlocksFollowSlotOrderEachEndedByALineBreak) {
    const NameTables en = Names(kEnglish);
    Chart e = PlacedChart({{kSun, 0}, {kMercury, 60}, {kVenus, 120}, {kMars, 180}, {kJupiter, 240}, {kSaturn, 300}});
    PatternFindings f = FindAllPatterns(e, kOrbs, 3, PatternForm::Summary, {en, "dev"});
    const std::string section = PatternSection(f);
    size_t at = 0;
    for (Pattern p : AllPatterns()) {
        if (f.blocks[p].text.empty()) continue;
        EXPECT_EQ(section.compare(at, f.blocks[p].text.size(), f.blocks[p].text), 0) << Index(p);
        at += f.blocks[p].text.size();
        EXPECT_EQ(section.compare(at, 2, "\r\n"), 0) << Index(p);
        at += 2;
    }
    EXPECT_EQ(at, section.size());
    EXPECT_NE(section.find("Grand sextile: Su-Ve-Ju-Me-Ma-Sa\r\n\r\nMidpoint: "),
              std::string::npos);

    PatternArray<int16_t> counts{};
    StorePatternCounts(f, counts);
    const int16_t expected[kPatternCount] = {2, 6, 4, 0, 0, 0, 0,
                                             6, 0, 0, 0, 0, 1, f.blocks[kMidpoint].count};
    for (Pattern p : AllPatterns()) EXPECT_EQ(counts[p], expected[Index(p)]) << Index(p);
    EXPECT_GT(counts[kMidpoint], 0);
}

}  // namespace
}  // namespace vek
