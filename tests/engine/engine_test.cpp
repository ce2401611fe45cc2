#include "engine/engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "../fake_sky.h"
#include "../succeeded.h"
#include "../temp_folder.h"

namespace vek {
namespace {

using testing::Deg;
using testing::FakeEngine;
using testing::kEpoch;
using testing::Sky;
using testing::Succeeded;

constexpr double kFirstInstant = 2305447.5;  // 1600 January 1, 0 h
constexpr double kEndInstant = 2488069.5;    // 2100 January 1, 0 h

TEST(LongitudeWrapper, MoonRangeEdges) {
    Engine e = FakeEngine();
    Sky().base[kMoon] = Deg(40);
    EXPECT_EQ(e.Longitude(kMoon, kFirstInstant - 1e-6), kBeforeDataRange);
    EXPECT_NEAR(e.Longitude(kMoon, kFirstInstant), Deg(40), 1e-12);
    EXPECT_NEAR(e.Longitude(kMoon, kEndInstant - 1e-6), Deg(40), 1e-12);
    EXPECT_EQ(e.Longitude(kMoon, kEndInstant), kAfterDataRange);
    EXPECT_EQ(e.Longitude(kMoon, 0), kBeforeDataRange);
    EXPECT_EQ(e.Longitude(kMoon, 1e12), kAfterDataRange);
}

TEST(LongitudeWrapper, BadInputGivesAFailureCode) {
    Engine e = FakeEngine();
    const double inf = std::numeric_limits<double>::infinity();
    for (double jd : {std::nan(""), inf, -inf}) {
        for (Body b : AllBodies()) EXPECT_LT(e.Longitude(b, jd), 0) << Index(b);
    }
    // Numbers outside 1..10 name no body, so they never reach Longitude.
    EXPECT_EQ(BodyFromIndex(0), std::nullopt);
    EXPECT_EQ(BodyFromIndex(11), std::nullopt);
    // A library answer that is not a number is a failure, not a position.
    Sky().base[kMars] = 0;
    Sky().speed[kMars] = std::nan("");
    EXPECT_LT(e.Longitude(kMars, kEpoch + 1), 0);
    // No Pluto table loaded: no Pluto position.
    EXPECT_LT(e.Longitude(kPluto, kEpoch), 0);
}

TEST(LongitudeWrapper, SiderealCorrectionOnlyForPositions) {
    Engine e = FakeEngine();
    e.SiderealZodiac = true;
    Sky().base[kVenus] = 0.1;
    const double v = e.Longitude(kVenus, kEpoch);  // year 2000: ayanamsa 0.416314
    EXPECT_NEAR(v, 0.1 - 0.416314 + kTwoPi, 1e-12);
    EXPECT_GE(v, 0);
    EXPECT_LT(v, kTwoPi);
    // Year 2100 (2488070.0 is 2100 January 1.5): 100 × 243.8e-6 more.
    EXPECT_NEAR(e.Longitude(kVenus, 2488070.0), 0.1 - 0.416314 - 0.02438 + kTwoPi, 1e-9);

    Sky().base[kMars] = -1;
    EXPECT_EQ(e.Longitude(kMars, kEpoch), -1);
    Sky().base[kJupiter] = kAfterDataRange;
    EXPECT_EQ(e.Longitude(kJupiter, kEpoch), kAfterDataRange);
    EXPECT_EQ(e.Longitude(kMoon, kEndInstant), kAfterDataRange);
    EXPECT_EQ(e.Longitude(kMoon, kFirstInstant - 1), kBeforeDataRange);
    EXPECT_LT(e.Longitude(kPluto, kEpoch), 0);
}

TEST(Retrograde, DirectionOfMotionIncludingAcrossAries) {
    Engine e = FakeEngine();
    // Mars moves backwards across 0° Aries, Jupiter forwards across it.
    Sky().base[kMars] = 0.0001;
    Sky().speed[kMars] = -0.01;
    Sky().base[kJupiter] = kTwoPi - 0.0001;
    Sky().speed[kJupiter] = 0.01;
    Sky().base[kSaturn] = 3.0;
    Sky().speed[kSaturn] = -0.001;
    Sky().base[kUranus] = 3.0;
    Sky().speed[kUranus] = 0.001;
    Sky().base[kSun] = 1;
    Sky().speed[kSun] = -1;  // the Sun is never retrograde, however it moves
    auto flag = [&](Body b) { return e.Retrograde(b, e.Longitude(b, kEpoch), kEpoch); };
    EXPECT_TRUE(flag(kMars));
    EXPECT_FALSE(flag(kJupiter));
    EXPECT_TRUE(flag(kSaturn));
    EXPECT_FALSE(flag(kUranus));
    EXPECT_FALSE(flag(kSun));
    EXPECT_FALSE(e.Retrograde(kSaturn, -99, kEpoch));
    // A later position that is missing says nothing about the motion.
    EXPECT_FALSE(RetrogradeFrom(kSaturn, 3.0, -1));
    EXPECT_FALSE(RetrogradeFrom(kSaturn, 0.5, kAfterDataRange));
}

TEST(Retrograde, SiderealLastHalfHourOfAYearComparesWithOneCorrection) {
    Engine e = FakeEngine();
    e.SiderealZodiac = true;
    const double newYear = 2461406.5;  // 2027 January 1, 0 h UT
    // Jupiter moves forward by far less than the yearly step of the
    // correction in half an hour; Saturn moves backwards.
    Sky().base[kJupiter] = 1.0;
    Sky().speed[kJupiter] = Deg(0.08);
    Sky().base[kSaturn] = 2.0;
    Sky().speed[kSaturn] = Deg(-0.03);
    for (double jd : {newYear - 2 * kHalfHour, newYear - kHalfHour, newYear}) {
        EXPECT_FALSE(e.Retrograde(kJupiter, e.Longitude(kJupiter, jd), jd)) << jd;
        EXPECT_TRUE(e.Retrograde(kSaturn, e.Longitude(kSaturn, jd), jd)) << jd;
    }
    // Each position keeps the correction of its own year.
    const double last = newYear - kHalfHour;
    EXPECT_NEAR(e.Longitude(kJupiter, newYear) - e.Longitude(kJupiter, last),
                Deg(0.08) * kHalfHour - 243.8e-6, 1e-12);
    EXPECT_NEAR(e.LaterLongitude(kJupiter, last) - e.Longitude(kJupiter, last),
                Deg(0.08) * kHalfHour, 1e-12);
    // Jupiter approaches a natal position 1° ahead and the Sun 1° ahead of it.
    Sky().base[kSun] = Sky().base[kJupiter] + Deg(1);
    Sky().speed[kSun] = Deg(0.08);
    const double natal = e.Longitude(kJupiter, last) + Deg(1);
    EXPECT_EQ(e.TrendAgainstFixedLongitude(last, natal, kJupiter, kConjunction, Deg(1)), -1);
    Sky().speed[kSun] = Deg(0.09);
    const double d =
        TestAspect(e.Longitude(kJupiter, last), e.Longitude(kSun, last), kConjunction, 1).deviation;
    EXPECT_EQ(e.DeviationTrend(last, kJupiter, kSun, kConjunction, d), 1);
}

TEST(Trend, SignFollowsTheLaterDeviation) {
    Engine e = FakeEngine();
    // Sun at 10° gaining on Mars at 15°: the conjunction is applying.
    Sky().base[kSun] = Deg(10);
    Sky().speed[kSun] = Deg(1);
    Sky().base[kMars] = Deg(15);
    Sky().speed[kMars] = Deg(0.5);
    EXPECT_EQ(e.DeviationTrend(kEpoch, kSun, kMars, kConjunction, Deg(5)), -1);
    EXPECT_EQ(e.DeviationTrend(kEpoch, kMars, kSun, kConjunction, Deg(5)), -1);
    // Venus at 100° pulling away from the exact square with the Sun.
    Sky().base[kVenus] = Deg(100);
    Sky().speed[kVenus] = Deg(1.2);
    EXPECT_EQ(e.DeviationTrend(kEpoch, kSun, kVenus, kSquare, 0), 1);
    // Against a fixed natal position only the transit body moves.
    EXPECT_EQ(e.TrendAgainstFixedLongitude(kEpoch, Deg(12), kSun, kConjunction, Deg(2)), -1);
    EXPECT_EQ(e.TrendAgainstFixedLongitude(kEpoch, Deg(8), kSun, kConjunction, Deg(2)), 1);
    // Standing still: equal deviation.
    const double d = TestAspect(Deg(10), Deg(13), kConjunction, 1).deviation;
    EXPECT_EQ(TrendFrom(d, Deg(10), Deg(13), kConjunction), 0);
    // Missing later positions give no marker.
    EXPECT_EQ(TrendFrom(Deg(3), kAfterDataRange, Deg(13), kConjunction), 0);
}

TEST(LongitudeWrapper, PlatformEphemerisAndPlutoTableEdges) {
    const std::string folder = VEK_BIN_DIR;
    ASSERT_TRUE(std::filesystem::exists(folder + "/pluto.slx"));
    Engine e;
    e.Initialize(folder);
    ASSERT_TRUE(Succeeded(e.LoadPlutoTable()));
    for (Body b : {kPluto, kMoon}) {
        EXPECT_LT(e.Longitude(b, kFirstInstant - 1e-6), 0) << Index(b);
        EXPECT_EQ(e.Longitude(b, kFirstInstant - 1), kBeforeDataRange) << Index(b);
        EXPECT_GE(e.Longitude(b, kFirstInstant), 0) << Index(b);
        EXPECT_GE(e.Longitude(b, kEndInstant - 0.01), 0) << Index(b);
        EXPECT_EQ(e.Longitude(b, kEndInstant), kAfterDataRange) << Index(b);
    }
    const double inf = std::numeric_limits<double>::infinity();
    for (double jd : {std::nan(""), inf, -inf, 1e300, -1e300}) {
        for (Body b : AllBodies()) {
            const double l = e.Longitude(b, jd);
            EXPECT_TRUE(l < 0 || (l >= 0 && l < kTwoPi)) << Index(b) << " " << jd;
            if (!std::isfinite(jd)) {
                EXPECT_LT(l, 0) << Index(b);
            }
        }
    }
    // Sidereal positions stay in range across the year.
    e.SiderealZodiac = true;
    for (Body b : AllBodies()) {
        const double l = e.Longitude(b, kEpoch);
        EXPECT_GE(l, 0);
        EXPECT_LT(l, kTwoPi);
    }
}

// Without pluto.slx in the data folder the load fails with one line naming the
// file, and Pluto has no position while the other bodies still have theirs.
TEST(LongitudeWrapper, MissingPlutoTableFailsWithOneLine) {
    testing::TempFolder folder;
    Engine e;
    e.Initialize(folder.path());
    const Status loaded = e.LoadPlutoTable();
    ASSERT_FALSE(loaded);
    EXPECT_EQ(loaded.message(),
              "Pluto table " + e.DataFolder() + "pluto.slx does not exist or is not a file");
    EXPECT_LT(e.Longitude(kPluto, kEpoch), 0);
    EXPECT_GE(e.Longitude(kSun, kEpoch), 0);
}

}  // namespace
}  // namespace vek
