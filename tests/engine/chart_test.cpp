#include "engine/chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "../fake_sky.h"

namespace vek {
namespace {

using testing::Deg;
using testing::FakeEngine;
using testing::kEpoch;
using testing::Sky;

// Bodies spread so that no pair is in aspect: 0°, 13°, 47°, 73°, 107°, ...
const double kSpread[kMaxBodies + 1] = {0, 0, 13, 47, 73, 107, 137, 163, 197, 223, 253};

void SpreadBodies() {
    for (Body b : AllBodies()) {
        Sky().base[b] = Deg(kSpread[Index(b)]);
        Sky().speed[b] = Deg(0.1 * Index(b));
    }
}

const PairResult* FindPair(const Chart& c, Body first, Body second) {
    for (const PairResult& p : c.Pairs())
        if (p.first == first && p.second == second) return &p;
    return nullptr;
}

TEST(Chart, SingleChartPairOrderSkipsBodiesWithoutPosition) {
    Engine e = FakeEngine();
    SlotDates dates;
    SpreadBodies();
    dates[kBirth1] = JulianDate(kEpoch);
    const Chart c = ComputeChart(e, Mode::Natal1, dates);
    EXPECT_EQ(c.jd[kChartA], kEpoch);
    EXPECT_EQ(c.orbColumn, kOrbBase);
    EXPECT_EQ(c.longitude[kPluto][kChartA], SkyLongitude());  // no table loaded: failed
    // Bodies 1..8 and 10: 9 bodies, 36 pairs, row by row.
    ASSERT_EQ(c.pairCount, 36);
    std::vector<std::pair<Body, Body>> order;
    for (const PairResult& p : c.Pairs()) order.emplace_back(p.first, p.second);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    EXPECT_EQ(order.front(), std::make_pair(kSun, kMercury));
    EXPECT_EQ(order.back(), std::make_pair(kNeptune, kMoon));
    for (const PairResult& p : c.Pairs()) {
        EXPECT_LT(p.first, p.second);
        EXPECT_NE(p.first, kPluto);
        EXPECT_NE(p.second, kPluto);
    }
}

TEST(Chart, AspectsMarkersAndCounts) {
    Engine e = FakeEngine();
    SlotDates dates;
    SpreadBodies();
    // Sun 10° gaining on Mercury 15°: applying conjunction. Venus exactly
    // square the Sun and pulling away: separating square.
    Sky().base[kSun] = Deg(10);
    Sky().speed[kSun] = Deg(1);
    Sky().base[kMercury] = Deg(15);
    Sky().speed[kMercury] = Deg(0.5);
    Sky().base[kVenus] = Deg(100);
    Sky().speed[kVenus] = Deg(1.2);
    dates[kWorldDate] = JulianDate(kEpoch);
    const Chart c = ComputeChart(e, Mode::World, dates);

    const PairResult* conj = FindPair(c, kSun, kMercury);
    ASSERT_NE(conj, nullptr);
    EXPECT_EQ(conj->aspect, kConjunction);
    EXPECT_NEAR(conj->deviation, Deg(5), 1e-9);
    EXPECT_NEAR(conj->exactness, 0.5, 1e-9);  // orb 10°
    EXPECT_EQ(conj->marker, -1);
    EXPECT_EQ(conj->marker,
              e.DeviationTrend(JulianDate(kEpoch), kSun, kMercury, kConjunction, conj->deviation));
    const PairResult* sq = FindPair(c, kSun, kVenus);
    ASSERT_NE(sq, nullptr);
    EXPECT_EQ(sq->aspect, kSquare);
    EXPECT_NEAR(sq->exactness, 1, 1e-9);
    EXPECT_EQ(sq->marker, 1);
    const PairResult* none = FindPair(c, kMars, kJupiter);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->aspect, std::nullopt);
    EXPECT_EQ(none->marker, 0);
    EXPECT_EQ(none->exactness, -1);

    int tally[kAspectCount + 1] = {};
    for (const PairResult& p : c.Pairs()) ++tally[p.aspect ? Index(*p.aspect) : 0];
    for (Aspect a : AllAspects()) EXPECT_EQ(c.aspectCount[a], tally[Index(a)]) << Index(a);
    EXPECT_EQ(c.TotalAspects(), c.pairCount - tally[0]);
    // The pattern finders loop over the chart's bodies.
    EXPECT_EQ(c.bodyCount, 10);
}

TEST(Chart, MoonExcludedInEveryMode) {
    for (Mode mode : {Mode::World, Mode::Personal1, Mode::Synastry}) {
        Engine e = FakeEngine();
        SpreadBodies();
        // The Moon conjunct everything would show up at once if it were used.
        for (Body b : AllBodies()) Sky().base[b] = Deg(Index(b));
        e.IncludeMoon = false;
        SlotDates dates;
        for (DateSlot s : AllDateSlots()) dates[s] = JulianDate(kEpoch);
        const Chart c = ComputeChart(e, mode, dates);
        EXPECT_EQ(c.bodyCount, 9);
        for (const PairResult& p : c.Pairs()) {
            EXPECT_NE(p.first, kMoon);
            EXPECT_NE(p.second, kMoon);
        }
        EXPECT_EQ(c.pairCount, c.twoCharts ? 64 : 28);  // 8 bodies with a position
        for (const auto& call : Sky().calls) EXPECT_NE(call.first, kMoon);
    }
}

TEST(Chart, PersonalTransitsIncludeTheSameBodyAndMoveOnlyTheTransit) {
    Engine e = FakeEngine();
    SlotDates dates;
    SpreadBodies();
    dates[kWorldDate] = JulianDate(kEpoch + 100);
    dates[kBirth2] = JulianDate(kEpoch + 100);  // natal chart equal to the transits
    dates[kBirth1] = JulianDate(kEpoch);
    const Chart c = ComputeChart(e, Mode::Personal2, dates);
    EXPECT_TRUE(c.twoCharts);
    EXPECT_EQ(c.orbColumn, kOrbPersonal);
    EXPECT_EQ(c.jd[kChartA], kEpoch + 100);
    EXPECT_EQ(c.jd[kChartB], kEpoch + 100);
    ASSERT_EQ(c.pairCount, 81);
    // Chart B body first, then chart A body.
    EXPECT_EQ(c.pairs[0].first, kSun);
    EXPECT_EQ(c.pairs[0].second, kSun);
    EXPECT_EQ(c.pairs[1].first, kSun);
    EXPECT_EQ(c.pairs[1].second, kMercury);
    for (Body b : AllBodies()) {
        if (b == kPluto) continue;
        const PairResult* p = FindPair(c, b, b);
        ASSERT_NE(p, nullptr) << Index(b);
        EXPECT_EQ(p->aspect, kConjunction);
        EXPECT_NEAR(p->exactness, 1, 1e-9);
        EXPECT_EQ(p->marker, 1) << Index(b);  // the transit body leaves its natal place
    }
    EXPECT_EQ(c.aspectCount[kConjunction], 9);
}

TEST(Chart, SynastryUsesItsOwnOrbColumnAndHasNoMarkers) {
    Engine e = FakeEngine();
    SlotDates dates;
    SpreadBodies();
    dates[kBirth1] = JulianDate(kEpoch);
    dates[kBirth2] = JulianDate(kEpoch + 10);  // bodies moved 0.1° × b × 10 = b degrees
    e.orbs.orb[kConjunction][kOrbPersonal] = Deg(5);
    e.orbs.orb[kConjunction][kOrbSynastry] = Deg(2.5);
    const Chart c = ComputeChart(e, Mode::Synastry, dates);
    EXPECT_FALSE(c.hasMarkers);
    EXPECT_EQ(c.orbColumn, kOrbSynastry);
    for (Body b : AllBodies()) {
        if (b == kPluto) continue;
        const PairResult* p = FindPair(c, b, b);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->aspect, Index(b) < 3 ? std::optional(kConjunction) : std::nullopt)
            << Index(b);
        EXPECT_EQ(p->marker, 0);
    }
}

TEST(Chart, RetrogradeFlagsPerChart) {
    Engine e = FakeEngine();
    SlotDates dates;
    SpreadBodies();
    Sky().base[kMars] = 0.0001;
    Sky().speed[kMars] = -0.01;  // backwards across 0° Aries
    Sky().base[kSaturn] = 1.0;
    Sky().speed[kSaturn] = -0.001;
    dates[kWorldDate] = JulianDate(kEpoch);
    dates[kBirth1] = JulianDate(kEpoch - 20000);  // Mars and Saturn far away, still retrograde
    const Chart c = ComputeChart(e, Mode::Personal1, dates);
    for (int slot : {kChartA, kChartB}) {
        EXPECT_TRUE(c.retrograde[kMars][slot]);
        EXPECT_TRUE(c.retrograde[kSaturn][slot]);
        EXPECT_FALSE(c.retrograde[kJupiter][slot]);
        EXPECT_FALSE(c.retrograde[kSun][slot]);
        EXPECT_FALSE(c.retrograde[kPluto][slot]);  // no position
    }
}

TEST(Chart, SiderealFlagsAndMarkersInTheLastHalfHourOfAYear) {
    Engine e = FakeEngine();
    SpreadBodies();
    e.SiderealZodiac = true;
    // Slow forward motion, less than the yearly step of the sidereal correction
    // in half an hour; Saturn is conjunct its natal place and moving on.
    for (Body b : AllBodies()) Sky().speed[b] = Deg(0.01 * Index(b));
    const double last = 2461406.5 - kHalfHour;  // 2026 December 31, 23:30 UT
    SlotDates dates;
    dates[kWorldDate] = JulianDate(last);
    dates[kBirth1] = JulianDate(last - 0.5);
    for (Mode mode : {Mode::World, Mode::Personal1}) {
        const Chart c = ComputeChart(e, mode, dates);
        for (Body b : AllBodies()) EXPECT_FALSE(c.retrograde[b][kChartA]) << Index(b);
    }
    const Chart c = ComputeChart(e, Mode::Personal1, dates);
    const PairResult* saturn = FindPair(c, kSaturn, kSaturn);
    ASSERT_NE(saturn, nullptr);
    EXPECT_EQ(saturn->aspect, kConjunction);
    EXPECT_EQ(saturn->marker, 1);
}

TEST(Chart, EveryBodyIsComputedAtMostOncePerInstant) {
    Engine e = FakeEngine();
    SlotDates dates;
    SpreadBodies();
    // Many aspects, so that markers are needed for most pairs.
    for (Body b : AllBodies()) Sky().base[b] = Deg(Index(b) % 2 ? 0 : 120);
    dates[kWorldDate] = JulianDate(kEpoch);
    dates[kBirth1] = JulianDate(kEpoch - 5000);
    for (Mode mode : {Mode::World, Mode::Personal1}) {
        Sky().calls.clear();
        const Chart c = ComputeChart(e, mode, dates);
        EXPECT_GT(c.TotalAspects(), 10);
        std::set<std::pair<Body, double>> distinct(Sky().calls.begin(), Sky().calls.end());
        EXPECT_EQ(distinct.size(), Sky().calls.size());
        // Now and half an hour later for chart A; chart B's later positions
        // only for the retrograde flags (Sun and Moon never need them).
        const size_t planetsAndMoon = 9;
        EXPECT_EQ(Sky().calls.size(),
                  mode == Mode::World ? 2 * planetsAndMoon : 2 * planetsAndMoon + 9 + 7);
    }
}

TEST(Chart, NoModeComputesNothing) {
    Engine e = FakeEngine();
    SlotDates dates;
    const Chart c = ComputeChart(e, Mode::None, dates);
    EXPECT_EQ(c.pairCount, 0);
    EXPECT_EQ(c.bodyCount, 0);
    EXPECT_TRUE(Sky().calls.empty());
}

}  // namespace
}  // namespace vek
