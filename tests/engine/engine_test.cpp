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
using testing::kBeforeData;
using testing::kAfterData;
using testing::kLibraryAfterData;

using testing::Deg;
using testing::FakeEngine;
using testing::kEpoch;
using testing::Sky;
using testing::Succeeded;

constexpr double kFirstInstant = 2305447.5;  // 1600 January 1, 0 h
constexpr double kEndInstant = 2488069.5;    // 2100 January 1, 0 h

// The libraries' numbers become positions and reasons, and the reasons go
// out again as the same numbers (the JSON "code"); a number that is no
// position never reads as one, even 0 next to a negative.
TEST(LongitudeWrapper, LibraryCodesBecomeReasonsAndBack) {
    EXPECT_EQ(SkyLongitude::FromCode(-99).Reason(), NoPosition::BeforeData);
    EXPECT_EQ(SkyLongitude::FromCode(-100).Reason(), NoPosition::AfterData);
    for (double other : {-1.0, -98.0, -0.001, std::nan(""), -std::numeric_limits<double>::infinity()}) {
        const SkyLongitude l = SkyLongitude::FromCode(other);
        EXPECT_FALSE(l.HasValue()) << other;
        EXPECT_EQ(l.Reason(), NoPosition::Failed) << other;
        EXPECT_EQ(l.Code(), -1) << other;
    }
    EXPECT_EQ(kBeforeData.Code(), -99);
    EXPECT_EQ(kAfterData.Code(), -100);
    const SkyLongitude zero = SkyLongitude::FromCode(0);
    ASSERT_TRUE(zero.HasValue());
    EXPECT_EQ(*zero, 0);
    EXPECT_EQ(zero.AsOptional(), std::optional<double>(0));
    EXPECT_EQ(kAfterData.AsOptional(), std::nullopt);
    EXPECT_EQ(kAfterData.ValueOr(7), 7);
    // The wrapper hands the library's reasons on, through the sidereal
    // correction too.
    Engine e = FakeEngine();
    e.SiderealZodiac = true;
    Sky().base[kSaturn] = testing::kLibraryBeforeData;
    EXPECT_EQ(e.Longitude(kSaturn, JulianDate(kEpoch)), kBeforeData);
    EXPECT_EQ(e.LaterLongitude(kSaturn, JulianDate(kEpoch)), kBeforeData);
}

TEST(LongitudeWrapper, MoonRangeEdges) {
    Engine e = FakeEngine();
    Sky().base[kMoon] = Deg(40);
    EXPECT_EQ(e.Longitude(kMoon, JulianDate(kFirstInstant - 1e-6)), kBeforeData);
    EXPECT_NEAR(*e.Longitude(kMoon, JulianDate(kFirstInstant)), Deg(40), 1e-12);
    EXPECT_NEAR(*e.Longitude(kMoon, JulianDate(kEndInstant - 1e-6)), Deg(40), 1e-12);
    EXPECT_EQ(e.Longitude(kMoon, JulianDate(kEndInstant)), kAfterData);
    EXPECT_EQ(e.Longitude(kMoon, JulianDate(0)), kBeforeData);
    EXPECT_EQ(e.Longitude(kMoon, JulianDate(1e12)), kAfterData);
}

TEST(LongitudeWrapper, BadInputGivesAFailureCode) {
    Engine e = FakeEngine();
    const double inf = std::numeric_limits<double>::infinity();
    for (double jd : {std::nan(""), inf, -inf}) {
        for (Body b : AllBodies()) EXPECT_EQ(e.Longitude(b, JulianDate(jd)), SkyLongitude()) << Index(b);
    }
    // Numbers outside 1..10 name no body, so they never reach Longitude.
    EXPECT_EQ(BodyFromIndex(0), std::nullopt);
    EXPECT_EQ(BodyFromIndex(11), std::nullopt);
    // A library answer that is not a number is a failure, not a position.
    Sky().base[kMars] = 0;
    Sky().speed[kMars] = std::nan("");
    EXPECT_EQ(e.Longitude(kMars, JulianDate(kEpoch + 1)), SkyLongitude());
    // No Pluto table loaded: no Pluto position.
    EXPECT_EQ(e.Longitude(kPluto, JulianDate(kEpoch)), SkyLongitude());
}

TEST(LongitudeWrapper, SiderealCorrectionOnlyForPositions) {
    Engine e = FakeEngine();
    e.SiderealZodiac = true;
    Sky().base[kVenus] = 0.1;
    const double v = *e.Longitude(kVenus, JulianDate(kEpoch));  // year 2000: ayanamsa 0.416314
    EXPECT_NEAR(v, 0.1 - 0.416314 + kTwoPi, 1e-12);
    EXPECT_GE(v, 0);
    EXPECT_LT(v, kTwoPi);
    // Year 2100 (2488070.0 is 2100 January 1.5): 100 × 243.8e-6 more.
    EXPECT_NEAR(*e.Longitude(kVenus, JulianDate(2488070.0)), 0.1 - 0.416314 - 0.02438 + kTwoPi, 1e-9);

    Sky().base[kMars] = -1;
    EXPECT_EQ(e.Longitude(kMars, JulianDate(kEpoch)), SkyLongitude());
    Sky().base[kJupiter] = kLibraryAfterData;
    EXPECT_EQ(e.Longitude(kJupiter, JulianDate(kEpoch)), kAfterData);
    EXPECT_EQ(e.Longitude(kMoon, JulianDate(kEndInstant)), kAfterData);
    EXPECT_EQ(e.Longitude(kMoon, JulianDate(kFirstInstant - 1)), kBeforeData);
    EXPECT_EQ(e.Longitude(kPluto, JulianDate(kEpoch)), SkyLongitude());
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
    auto flag = [&](Body b) { return e.Retrograde(b, e.Longitude(b, JulianDate(kEpoch)), JulianDate(kEpoch)); };
    EXPECT_TRUE(flag(kMars));
    EXPECT_FALSE(flag(kJupiter));
    EXPECT_TRUE(flag(kSaturn));
    EXPECT_FALSE(flag(kUranus));
    EXPECT_FALSE(flag(kSun));
    EXPECT_FALSE(e.Retrograde(kSaturn, kBeforeData, JulianDate(kEpoch)));
    // A later position that is missing says nothing about the motion.
    EXPECT_FALSE(RetrogradeFrom(kSaturn, SkyLongitude(3.0), SkyLongitude()));
    EXPECT_FALSE(RetrogradeFrom(kSaturn, SkyLongitude(0.5), kAfterData));
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
        EXPECT_FALSE(e.Retrograde(kJupiter, e.Longitude(kJupiter, JulianDate(jd)), JulianDate(jd))) << jd;
        EXPECT_TRUE(e.Retrograde(kSaturn, e.Longitude(kSaturn, JulianDate(jd)), JulianDate(jd))) << jd;
    }
    // Each position keeps the correction of its own year.
    const double last = newYear - kHalfHour;
    EXPECT_NEAR(*e.Longitude(kJupiter, JulianDate(newYear)) - *e.Longitude(kJupiter, JulianDate(last)),
                Deg(0.08) * kHalfHour - 243.8e-6, 1e-12);
    EXPECT_NEAR(*e.LaterLongitude(kJupiter, JulianDate(last)) - *e.Longitude(kJupiter, JulianDate(last)),
                Deg(0.08) * kHalfHour, 1e-12);
    // Jupiter approaches a natal position 1° ahead and the Sun 1° ahead of it.
    Sky().base[kSun] = Sky().base[kJupiter] + Deg(1);
    Sky().speed[kSun] = Deg(0.08);
    const double natal = *e.Longitude(kJupiter, JulianDate(last)) + Deg(1);
    EXPECT_EQ(e.TrendAgainstFixedLongitude(JulianDate(last), natal, kJupiter, kConjunction, Deg(1)), -1);
    Sky().speed[kSun] = Deg(0.09);
    const double d =
        TestAspect(e.Longitude(kJupiter, JulianDate(last)), e.Longitude(kSun, JulianDate(last)), kConjunction, 1).deviation;
    EXPECT_EQ(e.DeviationTrend(JulianDate(last), kJupiter, kSun, kConjunction, d), 1);
}

TEST(Trend, SignFollowsTheLaterDeviation) {
    Engine e = FakeEngine();
    // Sun at 10° gaining on Mars at 15°: the conjunction is applying.
    Sky().base[kSun] = Deg(10);
    Sky().speed[kSun] = Deg(1);
    Sky().base[kMars] = Deg(15);
    Sky().speed[kMars] = Deg(0.5);
    EXPECT_EQ(e.DeviationTrend(JulianDate(kEpoch), kSun, kMars, kConjunction, Deg(5)), -1);
    EXPECT_EQ(e.DeviationTrend(JulianDate(kEpoch), kMars, kSun, kConjunction, Deg(5)), -1);
    // Venus at 100° pulling away from the exact square with the Sun.
    Sky().base[kVenus] = Deg(100);
    Sky().speed[kVenus] = Deg(1.2);
    EXPECT_EQ(e.DeviationTrend(JulianDate(kEpoch), kSun, kVenus, kSquare, 0), 1);
    // Against a fixed natal position only the transit body moves.
    EXPECT_EQ(e.TrendAgainstFixedLongitude(JulianDate(kEpoch), Deg(12), kSun, kConjunction, Deg(2)), -1);
    EXPECT_EQ(e.TrendAgainstFixedLongitude(JulianDate(kEpoch), Deg(8), kSun, kConjunction, Deg(2)), 1);
    // Standing still: equal deviation.
    const double d = TestAspect(Deg(10), Deg(13), kConjunction, 1).deviation;
    EXPECT_EQ(TrendFrom(d, SkyLongitude(Deg(10)), SkyLongitude(Deg(13)), kConjunction), 0);
    // Missing later positions give no marker.
    EXPECT_EQ(TrendFrom(Deg(3), kAfterData, SkyLongitude(Deg(13)), kConjunction), 0);
}

TEST(LongitudeWrapper, PlatformEphemerisAndPlutoTableEdges) {
    const std::string folder = VEK_BIN_DIR;
    ASSERT_TRUE(std::filesystem::exists(folder + "/pluto.slx"));
    Engine e;
    e.Initialize(folder);
    ASSERT_TRUE(Succeeded(e.LoadPlutoTable()));
    for (Body b : {kPluto, kMoon}) {
        EXPECT_EQ(e.Longitude(b, JulianDate(kFirstInstant - 1e-6)), kBeforeData) << Index(b);
        EXPECT_EQ(e.Longitude(b, JulianDate(kFirstInstant - 1)), kBeforeData) << Index(b);
        EXPECT_TRUE(e.Longitude(b, JulianDate(kFirstInstant)).HasValue()) << Index(b);
        EXPECT_TRUE(e.Longitude(b, JulianDate(kEndInstant - 0.01)).HasValue()) << Index(b);
        EXPECT_EQ(e.Longitude(b, JulianDate(kEndInstant)), kAfterData) << Index(b);
    }
    const double inf = std::numeric_limits<double>::infinity();
    for (double jd : {std::nan(""), inf, -inf, 1e300, -1e300}) {
        for (Body b : AllBodies()) {
            const double l = *e.Longitude(b, JulianDate(jd));
            EXPECT_TRUE(l < 0 || (l >= 0 && l < kTwoPi)) << Index(b) << " " << jd;
            if (!std::isfinite(jd)) {
                EXPECT_LT(l, 0) << Index(b);
            }
        }
    }
    // Sidereal positions stay in range across the year.
    e.SiderealZodiac = true;
    for (Body b : AllBodies()) {
        const double l = *e.Longitude(b, JulianDate(kEpoch));
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
    EXPECT_EQ(e.Longitude(kPluto, JulianDate(kEpoch)), SkyLongitude());
    EXPECT_TRUE(e.Longitude(kSun, JulianDate(kEpoch)).HasValue());
}

}  // namespace
}  // namespace vek
