#include "engine/bounded_sky.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../fake_sky.h"
#include "../succeeded.h"
#include "engine/chart.h"
#include "engine/engine.h"
#include "engine/midpoints.h"
#include "engine/patterns.h"

namespace vek {
namespace {

using testing::Deg;

double Step(double a, double b) {
    return std::remainder(b - a, kTwoPi);
}

// The ephemeris keeps within the bounds the skipping relies on, sampled
// every 61 days from 1600 to 2100: the change over a day (a quarter day for
// the Moon) and the change of that change.
TEST(BoundedSky, TheEphemerisKeepsWithinItsBounds) {
    Engine e;
    e.Initialize(VEK_BIN_DIR);
    ASSERT_TRUE(testing::Succeeded(e.LoadPlutoTable()));
    const MotionBounds m = SkyMotionBounds(e);
    // Pluto's bound is its table's largest step: 3' a day.
    EXPECT_NEAR(m.perDay[kPluto], Deg(0.05), 1e-12);
    for (Body b : AllBodies()) {
        const double h = b == kMoon ? 0.25 : 1;
        double largest = 0, largestChange = 0;
        for (double jd = 2305450.5; jd < 2488060; jd += 61) {
            const double l0 = e.Longitude(b, jd - h), l1 = e.Longitude(b, jd),
                         l2 = e.Longitude(b, jd + h);
            ASSERT_GE(std::min({l0, l1, l2}), 0) << Index(b) << " at " << jd;
            const double s1 = Step(l0, l1) / h, s2 = Step(l1, l2) / h;
            largest = std::max({largest, std::fabs(s1), std::fabs(s2)});
            largestChange = std::max(largestChange, std::fabs(s2 - s1) / h);
        }
        EXPECT_LE(largest, m.perDay[b] * (1 + 1e-9)) << "body " << Index(b);
        if (m.perDay2[b] > 0) {
            EXPECT_LT(largestChange, m.perDay2[b]) << "body " << Index(b);
        }
        // The bounds are not so loose that the skipping gains nothing.
        EXPECT_GT(largest, m.perDay[b] / 2) << "body " << Index(b);
    }
}

// On a sky of bodies at constant speeds within the bounds the answers are
// those of each instant's chart, while far fewer positions are computed than
// one per body and instant; a body without a position takes part in nothing.
TEST(BoundedSky, AnswersAsTheChartWithFewerPositions) {
    testing::FakeSky& sky = testing::Sky();
    sky = {};
    const double degreesPerDay[kMaxBodies + 1] = {0,    0.98, 1.9,  -0.6, 0.7, 0.2,
                                                  -0.1, 0.06, 0.03, 0.02, 13.2};
    for (Body b : AllBodies()) {
        sky.base[b] = Deg(37.0 * Index(b));
        sky.speed[b] = Deg(degreesPerDay[Index(b)]);
    }
    Engine e;
    e.source = {testing::FakePlanet, testing::FakeMoon};
    testing::SetDefaultOrbs(e.orbs);
    // Pluto from a table of its own: constant-speed lines are enough here.
    MotionBounds bounds = SkyMotionBounds(e);
    bounds.perDay[kPluto] = Deg(0.05);
    bounds.perDay2[kPluto] = 0;
    int64_t charts = 0;
    BoundedSky bounded(e, bounds, kMaxBodies - 1, MidpointOrbOfIndex(3));
    PatternArray<int> found{};
    for (double jd = 2451545.0; jd < 2451545.0 + 2000; jd += 1) {
        // Pluto (no table loaded) has no position: only pairs of the others.
        Chart c;
        c.bodyCount = kMaxBodies - 1;
        for (Body b : c.ComputedBodies()) c.longitude[b][kChartA] = e.Longitude(b, jd);
        charts += c.bodyCount;
        const ChartTests exact(c, e.orbs, MidpointOrbOfIndex(3));
        bounded.MoveTo(jd);
        for (Pattern p : AllPatterns()) {
            if (p == kMidpoint) continue;
            const int n = FindPattern(exact, p).count;
            ASSERT_EQ(FindPattern(bounded, p).count, n) << "pattern " << Index(p) << " at " << jd;
            if (n > 0) ++found[p];
        }
        ASSERT_EQ(FindMidpoints(bounded), FindMidpoints(exact)) << jd;
        if (!FindMidpoints(exact).empty()) ++found[kMidpoint];
        for (Body x : AllBodies())
            for (Aspect a : AllAspects())
                ASSERT_EQ(bounded.Aspect(x, kPluto, a).holds, false);
    }
    EXPECT_GT(found[kGrandTrine] + found[kTSquare], 0);
    EXPECT_GT(found[kMidpoint], 0);
    EXPECT_LT(bounded.PositionsComputed() * 3, charts);
}

}  // namespace
}  // namespace vek
