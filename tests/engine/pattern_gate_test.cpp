#include "engine/pattern_gate.h"

#include <gtest/gtest.h>

#include <string>

#include "../succeeded.h"
#include "engine/chart.h"
#include "engine/engine.h"
#include "engine/midpoints.h"
#include "engine/modes.h"
#include "engine/patterns.h"

namespace vek {
namespace {

Chart WorldChart(const Engine& e, double jd) {
    Chart c;
    c.mode = Mode::World;
    c.bodyCount = e.BodyCountForSettings();
    c.jd[kChartA] = JulianDate(jd);
    for (Body b : c.ComputedBodies()) c.longitude[b][kChartA] = e.Longitude(b, JulianDate(jd));
    return c;
}

class PatternGateTest : public ::testing::Test {
  public:
    void SetUp() override {
        engine.Initialize(VEK_BIN_DIR);
        ASSERT_TRUE(testing::Succeeded(engine.LoadPlutoTable()));
        // Wide orbs: the figures hold often, so the gate opens and closes
        // many times in the span.
        for (Aspect a : AllAspects()) engine.orbs.orb[a][kOrbBase] = 8.0 / 360 * kTwoPi;
    }
    Engine engine;
};

// Day by day over six years with the ephemeris: wherever the finder finds
// the pattern on the chart of the day the gate is open. For the patterns that
// are their figure (grand trine, T-square, yod, 3-stellium) the gate is open
// exactly there, and the finder on the gated sky finds the chart's instances
// at every open day; for the others (kite, trapezium) it finds the chart's
// count. For those whose instances are their figure's triples one for one
// (grand trine, T-square, yod) the triples that hold are the chart's count.
TEST_F(PatternGateTest, OpensWhereThePatternHoldsAndMasksNothingItNeeds) {
    const double midpointOrb = MidpointOrbOfIndex(3);
    struct Case {
        Pattern pattern;
        bool exact;   // the gate opens exactly where the pattern holds
        bool counts;  // and counts the instances
    };
    for (const Case c :
         {Case{kGrandTrine, true, true}, Case{kTSquare, true, true}, Case{kYod, true, true},
          Case{kStellium3, true, false}, Case{kKite, false, false}, Case{kTrapezium, false, false},
          Case{kGrandCross, false, false}, Case{kMidpoint, false, false}}) {
        const MotionBounds bounds = SkyMotionBounds(engine);
        BoundedSky sky(engine, bounds, engine.BodyCountForSettings(), midpointOrb);
        PatternGate gate(c.pattern, engine.orbs, engine.BodyCountForSettings(), bounds);
        ASSERT_EQ(gate.CountsInstances(), c.counts) << Index(c.pattern);
        int held = 0, open = 0, several = 0;
        for (double jd = 2451545.0; jd < 2451545.0 + 6 * 365; jd += 1) {
            const Chart chart = WorldChart(engine, jd);
            const ChartTests tests(chart, engine.orbs, midpointOrb);
            const int count = c.pattern == kMidpoint
                                  ? static_cast<int>(FindMidpoints(tests).size())
                                  : FindPattern(tests, c.pattern).count;
            sky.MoveTo(jd);
            const bool opened = gate.Open(sky);
            const std::string what =
                "pattern " + std::to_string(Index(c.pattern)) + " at " + std::to_string(jd);
            held += count > 0;
            open += opened;
            if (count > 0) {
                ASSERT_TRUE(opened) << what;
            }
            if (c.exact) {
                ASSERT_EQ(opened, count > 0) << what;
            }
            if (c.counts) {
                ASSERT_EQ(gate.HoldingCount(), count) << what;
            }
            several += count > 1;
            if (!opened) continue;
            const GatedSky gated(sky, gate);
            if (c.pattern == kMidpoint) {
                ASSERT_EQ(FindMidpoints(gated).size(), static_cast<size_t>(count)) << what;
            } else {
                sky.SetExactDeviations(true);
                const PatternResult r = FindPattern(gated, c.pattern);
                sky.SetExactDeviations(false);
                ASSERT_EQ(r.count, count) << what;
                if (c.exact) {
                    ASSERT_TRUE(r.instances == FindPattern(tests, c.pattern).instances) << what;
                }
            }
        }
        // The comparison means something only where the pattern comes and goes.
        EXPECT_GT(held, 5) << Index(c.pattern);
        EXPECT_LT(open, 6 * 365 - 5) << Index(c.pattern);
        if (c.counts) {
            EXPECT_GT(several, 0) << Index(c.pattern);
        }
    }
}

// Orbs as wide as an aspect's angle let a body stand in that aspect with
// itself, outside any figure of three: the gate then never closes.
TEST_F(PatternGateTest, StaysOpenWhereABodyCanAspectItself) {
    engine.orbs.orb[kSextile][kOrbBase] = 61.0 / 360 * kTwoPi;
    const MotionBounds bounds = SkyMotionBounds(engine);
    BoundedSky sky(engine, bounds, engine.BodyCountForSettings(), 0);
    PatternGate yods(kYod, engine.orbs, engine.BodyCountForSettings(), bounds);
    PatternGate trines(kGrandTrine, engine.orbs, engine.BodyCountForSettings(), bounds);
    EXPECT_EQ(yods.TripleCount(), 0);
    EXPECT_FALSE(yods.Masks());
    EXPECT_GT(trines.TripleCount(), 0);
    for (double jd = 2451545.0; jd < 2451545.0 + 30; jd += 1) {
        sky.MoveTo(jd);
        EXPECT_TRUE(yods.Open(sky));
    }
}

}  // namespace
}  // namespace vek
