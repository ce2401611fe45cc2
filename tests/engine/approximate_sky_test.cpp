#include "engine/approximate_sky.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "../succeeded.h"
#include "engine/engine.h"

namespace vek {
namespace {

constexpr double kYear1 = 1721425.5;  // 1 January of year 1
constexpr double kYear2800 = 2743738.5;

// Sampled at irregular dates through all the accepted years, each body keeps
// within its bound of the engine's own tropical longitude, and the bound is
// that of the century of the date.
TEST(ApproximateSky, KeepsWithinItsBoundThroughTheAcceptedYears) {
    Engine e;
    e.Initialize(VEK_BIN_DIR);
    ASSERT_TRUE(testing::Succeeded(e.LoadPlutoTable()));
    const ApproximateSky sky;
    int samples = 0;
    for (Body b : AllBodies()) {
        if (b == kPluto) continue;
        double worst = 0;
        for (double jd = kYear1 + 0.37; jd < kYear2800; jd += 211.7) {
            const SkyLongitude exact = e.Longitude(b, JulianDate(jd));
            if (!exact) continue;  // the Moon has positions on fewer days
            const double off = std::fabs(std::remainder(sky.Longitude(b, JulianDate(jd)) - *exact, kTwoPi));
            const double bound = ApproximateSky::Bound(b, jd);
            ASSERT_LT(off, bound) << "body " << Index(b) << " at " << jd;
            worst = std::max(worst, off / bound);
            ++samples;
        }
        // A bound far above what the samples show would skip little.
        EXPECT_GT(worst, 0.2) << "body " << Index(b);
    }
    EXPECT_GT(samples, 38000);
}

// A date's longitude is the same whatever was asked before: the bound holds
// for each date on its own. One sky asks every body at every date in turn
// (several bodies at one instant, dates back and forth, in one span and in
// the next), each answer checked against a sky that asks nothing else.
TEST(ApproximateSky, ALongitudeDoesNotDependOnTheDatesAskedBefore) {
    const double dates[] = {2451545.0, 2451549.7, 2305447.5, 2451545.0, 2488069.2,
                            2451549.7, 2451549.9, 2451581.7, 2451837.3};
    const ApproximateSky asked;
    for (double jd : dates) {
        for (Body b : AllBodies()) {
            if (b == kPluto) continue;
            const ApproximateSky fresh;
            EXPECT_EQ(asked.Longitude(b, JulianDate(jd)), fresh.Longitude(b, JulianDate(jd))) << Index(b) << " " << jd;
        }
    }
}

TEST(ApproximateSky, HasNoBoundForPlutoNorOutsideTheAcceptedYears) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ApproximateSky::Bound(kPluto, 2451545.0), inf);
    EXPECT_LT(ApproximateSky::Bound(kMoon, 2451545.0), 0.001);
    EXPECT_EQ(ApproximateSky::Bound(kSun, kYear1 - 1), inf);
    EXPECT_LT(ApproximateSky::Bound(kSun, kYear1 + 1), 0.01);
    EXPECT_EQ(ApproximateSky::Bound(kMoon, kYear2800 + 400), inf);
    EXPECT_EQ(ApproximateSky::Bound(kMoon, std::nan("")), inf);
}

}  // namespace
}  // namespace vek
