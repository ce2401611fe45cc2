#include "engine/midpoints.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "../fake_sky.h"
#include "engine/aspects.h"
#include "engine/vocabulary.h"

namespace vek {
namespace {
using testing::kAfterData;

using testing::Deg;

constexpr int kOrb1Degree = 3;  // list index of the 1° midpoint orb

// Conjunction orb 8°; every body is without a position until placed.
OrbTable MidpointOrbs() {
    OrbTable orbs = testing::DefaultOrbs();
    orbs.orb[kConjunction][kOrbBase] = Deg(8);
    return orbs;
}
const OrbTable kOrbs = MidpointOrbs();
using testing::PlacedChart;

TEST(Midpoints, OrbListIndexZeroIsFiveArcMinutesAndUnknownIndicesFindNothing) {
    EXPECT_NEAR(MidpointOrbOfIndex(0), Deg(5.0 / 60), 1e-15);
    EXPECT_NEAR(MidpointOrbOfIndex(3), Deg(1), 1e-15);
    EXPECT_NEAR(MidpointOrbOfIndex(7), Deg(3), 1e-15);
    EXPECT_EQ(MidpointOrbOfIndex(8), 0);
    EXPECT_EQ(MidpointOrbOfIndex(-1), 0);

    // Mars 4' off the midpoint: inside 5', outside with any index off the list.
    Chart e = PlacedChart({{kSun, 10}, {kMars, 20 + 4.0 / 60}, {kJupiter, 30}});
    EXPECT_EQ(FindMidpoints(e, kOrbs, 0).size(), 1u);
    e.longitude[kMars][kChartA] = SkyLongitude(Deg(20 + 6.0 / 60));
    EXPECT_TRUE(FindMidpoints(e, kOrbs, 0).empty());
    EXPECT_EQ(FindMidpoints(e, kOrbs, 1).size(), 1u);
    EXPECT_TRUE(FindMidpoints(e, kOrbs, 8).empty());
    EXPECT_TRUE(FindMidpoints(e, kOrbs, -5).empty());
}

TEST(Midpoints, TripleMetFromSeveralLoopOrdersIsListedOnce) {
    Chart e = PlacedChart({{kSun, 10}, {kMars, 20}, {kJupiter, 30}});
    EXPECT_EQ(FindMidpoints(e, kOrbs, kOrb1Degree),
              (std::vector<Midpoint>{{kSun, kMars, kJupiter}}));
}

TEST(Midpoints, MidpointAcrossAriesIsFoundThroughTheOppositePoint) {
    // The plain mean of 350° and 10° is 180°; its opposite point 0° is the
    // midpoint that counts.
    Chart e = PlacedChart({{kVenus, 350}, {kSaturn, 10}, {kUranus, 0.5}});
    EXPECT_EQ(FindMidpoints(e, kOrbs, kOrb1Degree),
              (std::vector<Midpoint>{{kVenus, kUranus, kSaturn}}));
    e.longitude[kUranus][kChartA] = SkyLongitude(Deg(181.5));
    EXPECT_TRUE(FindMidpoints(e, kOrbs, kOrb1Degree).empty());
}

TEST(Midpoints, ConjunctionsAreSkipped) {
    // Sun and Mars 6° apart are conjunct: they are never the outer pair.
    Chart e = PlacedChart({{kSun, 10}, {kMars, 16}, {kJupiter, 13}});
    EXPECT_TRUE(FindMidpoints(e, kOrbs, kOrb1Degree).empty());
    // Nor is a body opposite their midpoint, whatever the body numbers.
    for (Body third : {kMoon, kMercury, kJupiter, kPluto}) {
        e = PlacedChart({{kVenus, 10}, {kMars, 16}, {third, 193}});
        EXPECT_TRUE(FindMidpoints(e, kOrbs, kOrb1Degree).empty()) << Index(third);
    }
    // Jupiter at the midpoint of Sun and Saturn but conjunct with the Sun.
    e = PlacedChart({{kSun, 10}, {kSaturn, 24}, {kJupiter, 17}});
    EXPECT_TRUE(FindMidpoints(e, kOrbs, kOrb1Degree).empty());
    // The opposite point of the same midpoint is not conjunct with either.
    e.longitude[kJupiter][kChartA] = SkyLongitude(Deg(197));
    EXPECT_EQ(FindMidpoints(e, kOrbs, kOrb1Degree),
              (std::vector<Midpoint>{{kSun, kJupiter, kSaturn}}));
}

TEST(Midpoints, MoonNeverTakesPart) {
    // Moon at 200° would be opposite the Sun-Jupiter midpoint, and the
    // Sun-Moon midpoint at 30° would hold Jupiter if the Moon were at 50°.
    Chart e = PlacedChart({{kSun, 10}, {kJupiter, 30}, {kMoon, 200}});
    EXPECT_TRUE(FindMidpoints(e, kOrbs, kOrb1Degree).empty());
    e.longitude[kMoon][kChartA] = SkyLongitude(Deg(50));
    EXPECT_TRUE(FindMidpoints(e, kOrbs, kOrb1Degree).empty());
    // Pluto, the last body that takes part, in the Moon's place.
    e.longitude[kPluto][kChartA] = SkyLongitude(Deg(50));
    EXPECT_EQ(FindMidpoints(e, kOrbs, kOrb1Degree),
              (std::vector<Midpoint>{{kSun, kJupiter, kPluto}}));
}

TEST(Midpoints, TripleTestRejectsMissingAndEqualLongitudes) {
    Chart e = PlacedChart({{kSun, 10}, {kMars, 20}, {kJupiter, 30}});
    Midpoint m;
    EXPECT_TRUE(TestMidpointTriple(e, kSun, kMars, kJupiter, Deg(1), m));
    EXPECT_EQ(m, (Midpoint{kSun, kMars, kJupiter}));
    e.longitude[kJupiter][kChartA] = kAfterData;
    EXPECT_FALSE(TestMidpointTriple(e, kSun, kMars, kJupiter, Deg(1), m));
    // Two bodies on the same point: each is at the "midpoint" of itself and
    // the other, which is no midpoint at all.
    e.longitude[kJupiter][kChartA] = SkyLongitude(Deg(10));
    EXPECT_FALSE(TestMidpointTriple(e, kSun, kMars, kJupiter, Deg(1), m));
}

TEST(Midpoints, FirstCentreInTestOrderWins) {
    // A grand trine: every body is opposite the midpoint of the other two, so
    // the body tried first as the centre decides the line.
    Chart e = PlacedChart({{kSun, 0}, {kMars, 120}, {kJupiter, 240}});
    Midpoint m;
    ASSERT_TRUE(TestMidpointTriple(e, kMars, kSun, kJupiter, Deg(1), m));
    EXPECT_EQ(m.centre, kMars);
    ASSERT_TRUE(TestMidpointTriple(e, kSun, kMars, kJupiter, Deg(1), m));
    EXPECT_EQ(m.centre, kSun);
    // The search meets the triple as (Su, Ma, Ju), (Su, Ju, Ma) and (Ma, Su, Ju).
    EXPECT_EQ(FindMidpoints(e, kOrbs, kOrb1Degree),
              (std::vector<Midpoint>{{kMars, kSun, kJupiter}, {kSun, kMars, kJupiter}}));
}

TEST(Midpoints, SummaryAndReportLines) {
    NameTables en, de;
    BuildNameTables(en, kEnglish);
    BuildNameTables(de, kGerman);
    Chart e = PlacedChart({{kSun, 10}, {kMars, 20}, {kJupiter, 30}});
    PatternBlock b = CheckForMidpoint(e, kOrbs, kOrb1Degree, PatternForm::Summary, en);
    EXPECT_EQ(b.text, "Midpoint: Su-Ma-Ju\r\n");
    EXPECT_EQ(b.count, 1);
    b = CheckForMidpoint(e, kOrbs, kOrb1Degree, PatternForm::Report, en);
    EXPECT_EQ(b.text, "Sun-Mars-Jupiter\r\n");
    EXPECT_EQ(b.count, 1);
    EXPECT_EQ(MidpointLine({kSun, kMars, kJupiter}, PatternForm::Summary, de),
              "Halbsumme: So-Ma-Ju\r\n");
    EXPECT_EQ(MidpointLine({kVenus, kUranus, kSaturn}, PatternForm::Report, de),
              "Venus-Uranus-Saturn\r\n");
    // Nothing found: no text and no count.
    b = CheckForMidpoint(e, kOrbs, 99, PatternForm::Summary, en);
    EXPECT_TRUE(b.text.empty());
    EXPECT_EQ(b.count, 0);
}

}  // namespace
}  // namespace vek
