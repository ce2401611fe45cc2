#include "engine/bounded_sky.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "../fake_sky.h"
#include "../succeeded.h"
#include "engine/aspects.h"
#include "engine/chart.h"
#include "engine/engine.h"
#include "engine/midpoints.h"
#include "engine/patterns.h"

namespace vek {
namespace {
using testing::kLibraryAfterData;

using testing::Deg;

double Step(double a, double b) {
    return std::remainder(b - a, kTwoPi);
}

// The accepted years 1 to 2799 as Julian dates (UT).
constexpr double kFirstAcceptedJD = 1721425.5;
constexpr double kEndAcceptedJD = 2743739.5;

// The ephemeris keeps within the bounds the skipping relies on, sampled at
// 3000 dates over the years each body has positions in (the planets 1 to
// 2799, Pluto and the Moon those of the Pluto table): the change over a day
// (a quarter day for the Moon) either way and the change of that change. The
// closer bounds of the motion forward and backward lie within a few per cent
// of what the samples reach, so that a bound much smaller would fail here.
TEST(BoundedSky, TheEphemerisKeepsWithinItsBounds) {
    Engine e;
    e.Initialize(VEK_BIN_DIR);
    ASSERT_TRUE(testing::Succeeded(e.LoadPlutoTable()));
    const MotionBounds m = SkyMotionBounds(e);
    // Pluto's bound is its table's largest step: 3' a day.
    EXPECT_NEAR(m.perDay[kPluto], Deg(0.05), 1e-12);
    for (Body b : AllBodies()) {
        const double h = b == kMoon ? 0.25 : 1;
        const double first = std::max(m.firstJD[b], kFirstAcceptedJD) + 1;
        const double end = std::min(m.endJD[b], kEndAcceptedJD) - 1;
        const double every = std::floor((end - first) / 3000) + 0.5;
        double largest = 0, largestChange = 0, least = 1e9, most = -1e9;
        for (double jd = first; jd < end; jd += every) {
            const double l0 = *e.Longitude(b, JulianDate(jd - h)), l1 = *e.Longitude(b, JulianDate(jd)),
                         l2 = *e.Longitude(b, JulianDate(jd + h));
            ASSERT_GE(std::min({l0, l1, l2}), 0) << Index(b) << " at " << jd;
            const double s1 = Step(l0, l1) / h, s2 = Step(l1, l2) / h;
            largest = std::max({largest, std::fabs(s1), std::fabs(s2)});
            least = std::min({least, s1, s2});
            most = std::max({most, s1, s2});
            largestChange = std::max(largestChange, std::fabs(s2 - s1) / h);
        }
        EXPECT_LE(largest, m.perDay[b] * (1 + 1e-9)) << "body " << Index(b);
        // A body said to move only forward never moves less than its bound.
        if (m.forwardPerDay[b] > 0) {
            EXPECT_GE(least, m.forwardPerDay[b]) << "body " << Index(b);
        }
        if (m.perDay2[b] > 0) {
            EXPECT_LT(largestChange, m.perDay2[b]) << "body " << Index(b);
        }
        EXPECT_LE(most, m.mostForward[b] * (1 + 1e-9)) << "body " << Index(b);
        EXPECT_GE(least, -m.mostBackward[b] * (1 + 1e-9)) << "body " << Index(b);
        // The bounds are not so loose that the skipping gains nothing.
        EXPECT_GT(largest, m.perDay[b] / 2) << "body " << Index(b);
        if (b != kPluto && b != kMoon) {
            EXPECT_GT(most, 0.9 * m.mostForward[b] - Deg(0.01)) << "body " << Index(b);
            EXPECT_LT(least, -m.mostBackward[b] + 0.1 * std::fabs(m.mostBackward[b]) + Deg(0.01))
                << "body " << Index(b);
        }
    }
}

// Mercury and Venus stand no farther from the Sun than their bounds, every
// day for forty years from 1974 and from 2537: any forty years come within
// 0.3° of the largest separations over all the accepted years. And the
// bounds are no looser than a degree and a half over those, or the aspects
// they rule out would be fewer.
TEST(BoundedSky, MercuryAndVenusKeepWithinTheirBoundsOfTheSun) {
    Engine e;
    e.Initialize(VEK_BIN_DIR);
    ASSERT_TRUE(testing::Succeeded(e.LoadPlutoTable()));
    const MotionBounds m = SkyMotionBounds(e);
    for (const double from : {2442048.5, 2648000.5}) {
        BodyArray<double> largest{};
        for (double jd = from; jd < from + 40 * 365.25; jd += 1) {
            const double sun = *e.Longitude(kSun, JulianDate(jd));
            for (Body b : {kMercury, kVenus})
                largest[b] = std::max(largest[b], std::fabs(Step(sun, *e.Longitude(b, JulianDate(jd)))));
        }
        for (Body b : {kMercury, kVenus}) {
            EXPECT_LT(largest[b], m.fromSun[b]) << "body " << Index(b) << " from " << from;
            EXPECT_GT(largest[b], m.fromSun[b] - Deg(1.5)) << "body " << Index(b) << " from " << from;
        }
    }
    EXPECT_EQ(m.fromSun[kMars], 0);
}

// Jupiter to Neptune keep within the bounds of their paths without the
// bending of light, sampled in runs of four positions 4 days apart at 4000
// dates from the year 1 to 2799, away from the Sun (the bending lasts a few
// days about a passage behind the Sun and shows there as a spike): the
// second and third differences.
TEST(BoundedSky, TheSlowPlanetsKeepWithinTheBoundsOfTheirPaths) {
    Engine e;
    e.Initialize(VEK_BIN_DIR);
    ASSERT_TRUE(testing::Succeeded(e.LoadPlutoTable()));
    const MotionBounds m = SkyMotionBounds(e);
    EXPECT_GT(m.deflection, 0);
    const double h = 4;
    const double every = std::floor((kEndAcceptedJD - kFirstAcceptedJD - 4 * h) / 4000) + 0.25;
    for (Body b : {kJupiter, kSaturn, kUranus, kNeptune}) {
        double largest2 = 0, largest3 = 0;
        int runs = 0;
        for (double jd = kFirstAcceptedJD; jd + 3 * h < kEndAcceptedJD; jd += every) {
            double l[4];
            bool nearSun = false;
            for (int i = 0; i < 4; ++i) {
                l[i] = *e.Longitude(b, JulianDate(jd + i * h));
                nearSun = nearSun || SeparationAngle(l[i], *e.Longitude(kSun, JulianDate(jd + i * h))) < Deg(10);
            }
            ASSERT_GE(std::min({l[0], l[1], l[2], l[3]}), 0) << Index(b) << " at " << jd;
            if (nearSun) continue;
            ++runs;
            const double d0 = Step(l[0], l[1]), d1 = Step(l[1], l[2]), d2 = Step(l[2], l[3]);
            largest2 = std::max({largest2, std::fabs(d1 - d0) / (h * h), std::fabs(d2 - d1) / (h * h)});
            largest3 = std::max(largest3, std::fabs(d2 - 2 * d1 + d0) / (h * h * h));
        }
        EXPECT_GT(runs, 3000) << "body " << Index(b);
        EXPECT_LT(largest2, m.smoothPerDay2[b]) << "body " << Index(b);
        EXPECT_LT(largest3, m.smoothPerDay3[b]) << "body " << Index(b);
        // Well below the bounds with the bending, or the estimates gain nothing.
        EXPECT_LT(m.smoothPerDay2[b], m.perDay2[b]) << "body " << Index(b);
        EXPECT_GT(largest2, m.smoothPerDay2[b] / 2) << "body " << Index(b);
        EXPECT_GT(largest3, m.smoothPerDay3[b] / 3) << "body " << Index(b);
    }
}

// On a sky of bodies at constant speeds within the bounds the answers are
// those of each instant's chart, while far fewer positions are computed than
// one per body and instant; a body without a position takes part in nothing.
TEST(BoundedSky, AnswersAsTheChartWithFewerPositions) {
    testing::FakeSky& sky = testing::Sky();
    sky = {};
    const double degreesPerDay[kMaxBodies + 1] = {0,     0.98, 1.9,  -0.6, 0.7, 0.2,
                                                  -0.08, 0.06, 0.03, 0.02, 13.2};
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
        for (Body b : c.ComputedBodies()) c.longitude[b][kChartA] = e.Longitude(b, JulianDate(jd));
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


// A sky of two bodies, the Sun and Mars, for the edge cases of the bounds:
// each longitude stands off a smooth path by up to the seam allowance, which
// flips sign at kSeamAt, and Mars has no position from kMarsEnd on.
struct EdgeSky {
    static inline double sun = 0, mars = 0, marsSpeed = 0, seam = 0;
    static inline double seamAt = 0, marsEnd = 1e9;
    static double Planet(int code, double jd, int /*year*/, double* /*speed*/) {
        const double off = jd >= seamAt ? seam : -seam;
        if (code == kBodies[kSun].libraryCode) return NormalizeAngle(sun - off);
        if (code == kBodies[kMars].libraryCode) {
            if (jd >= marsEnd) return kLibraryAfterData;
            return NormalizeAngle(mars + marsSpeed * (jd - kEpochJd) + off);
        }
        return Deg(200);  // Mercury and Venus stand still, out of the way
    }
    static double Moon(double) { return 0; }
    static constexpr double kEpochJd = 2451545.0;
};

class BoundedSkyEdges : public ::testing::Test {
  protected:
    void SetUp() override {
        engine.source = {EdgeSky::Planet, EdgeSky::Moon};
        testing::SetDefaultOrbs(engine.orbs);
        bounds = SkyMotionBounds(engine);
        // The Sun's smooth path stands still.
        bounds.perDay[kSun] = bounds.mostForward[kSun] = bounds.mostBackward[kSun] = 0;
        EdgeSky::seam = bounds.seam;
        EdgeSky::marsSpeed = bounds.mostForward[kMars];  // Mars at its largest motion
        EdgeSky::sun = Deg(10);
        EdgeSky::seamAt = 1e9;
        EdgeSky::marsEnd = 1e9;
    }
    // The aspect as the instant's chart has it.
    bool ChartTrine(double jd) const {
        const double s = *engine.Longitude(kSun, JulianDate(jd)), m = *engine.Longitude(kMars, JulianDate(jd));
        return s >= 0 && m >= 0 && TestAspect(s, m, kTrine, engine.orbs.orb[kTrine][kOrbBase]).holds;
    }
    Engine engine;
    MotionBounds bounds;
};

// Both bodies cross a seam between two queries, each stepping by twice the
// allowance (from one side of its smooth path to the other) and the two steps
// adding up: the separation moves by its largest motion and four allowances.
// Two days on it lies just inside the orb, where an estimate that allowed one
// seam per body would still see it outside.
TEST_F(BoundedSkyEdges, StepsAtASeamOfBothBodiesAreAllowedFor) {
    const double t0 = EdgeSky::kEpochJd, t1 = t0 + 2, s = bounds.seam, v = bounds.mostForward[kMars];
    const double orb = engine.orbs.orb[kTrine][kOrbBase];
    EdgeSky::seamAt = t0 + 1;
    // Observed separation at t0: 120° − orb − (2v + 3s); at t1 4s and 2v more.
    const double observed = Deg(120) - orb - (2 * v + 3 * s);
    EdgeSky::mars = EdgeSky::sun + observed + 2 * s;  // the offsets at t0 are −s and +s
    ASSERT_FALSE(ChartTrine(t0));
    ASSERT_TRUE(ChartTrine(t1));
    BoundedSky bounded(engine, bounds, Index(kMars), 0);
    bounded.MoveTo(t0);
    EXPECT_FALSE(bounded.Aspect(kSun, kMars, kTrine).holds);
    bounded.MoveTo(t1);
    EXPECT_TRUE(bounded.Aspect(kSun, kMars, kTrine).holds);
}

// The last instant of a body's positions is the end of its range, not in it:
// a query exactly there computes the position (none) rather than trusting an
// estimate from the day before.
TEST_F(BoundedSkyEdges, AQueryAtTheEndOfABodysPositionsFindsNoPosition) {
    const double end = EdgeSky::kEpochJd + 1;
    EdgeSky::marsEnd = end;
    EdgeSky::mars = EdgeSky::sun + Deg(120) - EdgeSky::marsSpeed * 1;  // exact trine at `end`
    bounds.endJD[kMars] = end;
    BoundedSky bounded(engine, bounds, Index(kMars), 0);
    bounded.MoveTo(end - 1);
    ASSERT_TRUE(ChartTrine(end - 1));
    EXPECT_TRUE(bounded.Aspect(kSun, kMars, kTrine).holds);
    bounded.MoveTo(end);
    ASSERT_FALSE(ChartTrine(end));
    EXPECT_FALSE(bounded.Aspect(kSun, kMars, kTrine).holds);
}

}  // namespace
}  // namespace vek
