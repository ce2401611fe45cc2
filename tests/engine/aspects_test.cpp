#include "engine/aspects.h"

#include <gtest/gtest.h>

#include "../fake_sky.h"
#include "engine/vocabulary.h"

namespace vek {
namespace {

using testing::DefaultOrbs;
using testing::Deg;

TEST(Separation, TakesTheShorterArcAcrossAries) {
    Separation s = SeparationOf(Deg(359), Deg(1));
    EXPECT_NEAR(s.s, Deg(2), 1e-12);
    EXPECT_EQ(s.direction, -1);  // 359° + 2° reaches 1°
    EXPECT_EQ(SeparationOf(Deg(1), Deg(359)).direction, 1);
    EXPECT_NEAR(SignedSeparation(Deg(359), Deg(1)), -Deg(2), 1e-12);
}

TEST(Separation, OppositePointsHaveAnArcOfHalfACircle) {
    Separation s = SeparationOf(Deg(10), Deg(190));
    EXPECT_NEAR(s.s, kPi, 1e-9);
}

TEST(AspectTest, DeviationEqualToOrbIsNoAspect) {
    OrbTable orbs = DefaultOrbs();
    orbs.orb[kConjunction][kOrbBase] = Deg(8);
    Chart c = testing::PlacedChart({{kSun, 0}, {kMercury, 8}});
    EXPECT_FALSE(AspectTestByBodies(c, orbs, kSun, kMercury, kConjunction).holds);
    c.longitude[kMercury][kChartA] = SkyLongitude(Deg(7.999));
    AspectTest t = AspectTestByBodies(c, orbs, kSun, kMercury, kConjunction);
    EXPECT_TRUE(t.holds);
    EXPECT_NEAR(t.deviation, Deg(7.999), 1e-9);
}

// Whether a pair exactly at the orb's edge is in aspect must not depend on
// where on the circle it stands, however the rounding of the longitudes
// falls; a hair inside the orb still holds everywhere.
TEST(AspectTest, EdgeOfTheOrbIsTheSameAllRoundTheCircle) {
    for (Aspect aspect : AllAspects()) {
        for (double orbDegrees : {1.0, 3.0, 6.0, 8.0, 9.5}) {
            const double orb = Deg(orbDegrees);
            const double angle = kAspects[aspect].degrees;
            for (double base = 0; base < 360; base += 0.25) {
                for (double sign : {-1.0, 1.0}) {
                    const double a = Deg(base);
                    const double edge = NormalizeAngle(Deg(base + angle + sign * orbDegrees));
                    const double inside =
                        NormalizeAngle(Deg(base + angle + sign * (orbDegrees - 1e-6)));
                    EXPECT_FALSE(TestAspect(a, edge, aspect, orb).holds)
                        << Index(aspect) << " " << orbDegrees << " " << base << " " << sign;
                    EXPECT_TRUE(TestAspect(a, inside, aspect, orb).holds)
                        << Index(aspect) << " " << orbDegrees << " " << base << " " << sign;
                }
            }
        }
    }
    EXPECT_FALSE(TestAspect(Deg(10), Deg(18), kConjunction, Deg(8)).holds);
    EXPECT_FALSE(TestAspect(Deg(100), Deg(108), kConjunction, Deg(8)).holds);
}

TEST(AspectTest, OrbZeroDisablesAndNegativeLongitudesNeverHold) {
    OrbTable e = DefaultOrbs();
    e.orb[kTrine][kOrbBase] = 0;
    double exactness = 0.5;
    EXPECT_FALSE(AspectTestByLongitudes(e, Deg(0), Deg(120), kTrine, kOrbBase, exactness));
    EXPECT_EQ(exactness, -1);
    exactness = 0.5;
    EXPECT_FALSE(AspectTestByLongitudes(e, -99, Deg(120), kSquare, kOrbBase, exactness));
    EXPECT_EQ(exactness, 0.5);  // untouched for a missing position
    double dev = 0;
    EXPECT_EQ(ChooseAspect(e, -100, Deg(0), kOrbBase, dev), std::nullopt);
}

TEST(AspectTest, ExactnessIsOneWhenExactAndFallsWithDeviation) {
    OrbTable e = DefaultOrbs();
    double exactness = 0;
    ASSERT_TRUE(AspectTestByLongitudes(e, Deg(0), Deg(90), kSquare, kOrbBase, exactness));
    EXPECT_NEAR(exactness, 1.0, 1e-9);
    ASSERT_TRUE(AspectTestByLongitudes(e, Deg(0), Deg(93), kSquare, kOrbBase, exactness));
    EXPECT_NEAR(exactness, 0.5, 1e-9);
}

TEST(ChooseAspect, FirstAspectInIndexOrderWinsWithWideOrbs) {
    OrbTable e = DefaultOrbs();
    for (Aspect a : AllAspects()) e.orb[a][kOrbBase] = Deg(40);
    double dev = 0;
    // 35° is within 40° of both the conjunction and the semisextile.
    EXPECT_EQ(ChooseAspect(e, Deg(0), Deg(35), kOrbBase, dev), kConjunction);
    EXPECT_NEAR(dev, Deg(35), 1e-9);
    // Columns are honoured: 2° off a square holds in column 0 but not column 1.
    e = DefaultOrbs();
    EXPECT_EQ(ChooseAspect(e, Deg(0), Deg(92.5), kOrbBase, dev), kSquare);
    EXPECT_EQ(ChooseAspect(e, Deg(0), Deg(92.5), kOrbPersonal, dev), std::nullopt);
}

TEST(AspectAngle, EachAspectHoldsAtItsOwnAngleOnly) {
    OrbTable e = DefaultOrbs();
    EXPECT_EQ(AspectAngleOf(kConjunction), 0.0);
    const double degrees[kAspectCount + 1] = {0, 0, 180, 90, 120, 60, 30, 150};
    for (Aspect a : AllAspects()) {
        const double d = degrees[Index(a)];
        EXPECT_NEAR(AspectAngleOf(a), Deg(d), 1e-15) << Index(a);
        double dev = 1;
        EXPECT_EQ(ChooseAspect(e, Deg(200), NormalizeAngle(Deg(200 + d)), kOrbBase, dev), a);
        EXPECT_NEAR(dev, 0, 1e-12) << Index(a);
    }
    // No aspect is numbered outside 1..7, so none reaches AspectAngleOf.
    EXPECT_EQ(AspectFromIndex(0), std::nullopt);
    EXPECT_EQ(AspectFromIndex(8), std::nullopt);
}

TEST(NormalizeAngle, BringsAnyFiniteValueIntoOneCircle) {
    EXPECT_NEAR(NormalizeAngle(-0.5), kTwoPi - 0.5, 1e-12);
    EXPECT_EQ(NormalizeAngle(kTwoPi), 0.0);
    double big = NormalizeAngle(1e12);
    EXPECT_GE(big, 0.0);
    EXPECT_LT(big, kTwoPi);
}

}  // namespace
}  // namespace vek
