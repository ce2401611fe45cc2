#include "engine/angle_text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "util/rounding.h"

namespace vek {
namespace {

double Deg(double d) {
    return d / 360.0 * kTwoPi;
}

class TextTest : public ::testing::Test {
  protected:
    void SetUp() override { BuildNameTables(names, kEnglish); }
    NameTables names;
};

TEST(RoundHalfToEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfToEven(0.5), 0);
    EXPECT_EQ(RoundHalfToEven(1.5), 2);
    EXPECT_EQ(RoundHalfToEven(2.5), 2);
    EXPECT_EQ(RoundHalfToEven(59.5), 60);
    EXPECT_EQ(RoundHalfToEven(2.5000001), 3);
    EXPECT_EQ(RoundHalfToEven(-0.0006), 0);
    EXPECT_EQ(RoundHalfToEven(-1.5), -2);
    EXPECT_EQ(RoundHalfToEven(-2.5), -2);
}

TEST(AngleText, WholeDegreesAndMinutesWithoutPadding) {
    EXPECT_EQ(AngleText(Radians(Deg(12 + 5.0 / 60))), "12°5'");
    EXPECT_EQ(AngleText(Radians(0)), "0°0'");
    // 0.125° = 7.5' is an exact half and goes to the even 8; 0.375° = 22.5'
    // goes down to 22.
    EXPECT_EQ(AngleText(Radians(Deg(10.125))), "10°8'");
    EXPECT_EQ(AngleText(Radians(Deg(10.375))), "10°22'");
    // A hair below a whole degree reads as that degree, not 11°60'.
    EXPECT_EQ(AngleText(Radians(Deg(11.9999999))), "12°0'");
    EXPECT_EQ(AngleText(Radians(Deg(11.995))), "12°0'");  // 59.7' carries
}

TEST(AngleText, NeverReaches360UnlessPlainCarry) {
    EXPECT_EQ(AngleText(Radians(Deg(359.9999))), "359°59'");
    EXPECT_EQ(AngleText(Radians(Deg(359.9999)), {.plainCarry = true}), "360°0'");
    EXPECT_EQ(AngleText(Radians(Deg(359.999999))), "359°59'");
    EXPECT_EQ(AngleText(Radians(kTwoPi)), "359°59'");
    EXPECT_EQ(AngleText(Radians(Deg(358.9999))), "359°0'");
}

TEST(AngleText, Switches) {
    EXPECT_EQ(AngleText(Radians(Deg(12)), {.omitZeroMinutes = true}), "12°");
    EXPECT_EQ(AngleText(Radians(Deg(12.5)), {.omitZeroMinutes = true}), "12°30'");
    EXPECT_EQ(AngleText(Radians(Deg(12 + 5.0 / 60)), {.keepUntrimmed = true}), "12° 5'");
    EXPECT_EQ(AngleText(Radians(-Deg(2.5))), "");
    EXPECT_EQ(AngleText(Radians(-Deg(2.5)), {.acceptNegatives = true}), "-2°30'");
    EXPECT_EQ(AngleText(Radians(-Deg(361)), {.acceptNegatives = true}), "");
}

TEST(AngleText, OutOfRangeAndNonFiniteGiveEmptyText) {
    EXPECT_EQ(AngleText(Radians(kTwoPi + 1e-9)), "");
    EXPECT_EQ(AngleText(Radians(-99)), "");
    EXPECT_EQ(AngleText(Radians(NAN)), "");
    EXPECT_EQ(AngleText(Radians(INFINITY), {.acceptNegatives = true}), "");
    EXPECT_EQ(AngleText(Radians(-INFINITY), {.acceptNegatives = true}), "");
}

TEST_F(TextTest, ShortPositionText) {
    EXPECT_EQ(PositionTextShort(Radians(Deg(42 + 5.0 / 60)), names), "12Tau5");
    EXPECT_EQ(PositionTextShort(Radians(Deg(59.995)), names), "0Gem0");  // carry into the next sign
    EXPECT_EQ(PositionTextShort(Radians(Deg(30 + 59.0 / 60)), names), "0Tau59");
    EXPECT_EQ(PositionTextShort(Radians(Deg(359.9999)), names), "29Pis59");
    EXPECT_EQ(PositionTextShort(Radians(kTwoPi), names), "29Pis59");
    EXPECT_EQ(PositionTextShort(Radians(kTwoPi + 1e-9), names), "");
    EXPECT_EQ(PositionTextShort(Radians(-100), names), "");
    EXPECT_EQ(PositionTextShort(Radians(NAN), names), "");
    NameTables de;
    BuildNameTables(de, kGerman);
    EXPECT_EQ(PositionTextShort(Radians(Deg(125.5)), de), "5Löw30");
}

TEST_F(TextTest, LongPositionTextRoundsButStaysInTheSign) {
    EXPECT_EQ(PositionTextLong(Radians(Deg(12.5)), names), "12° in Aries");   // 30' does not round up
    EXPECT_EQ(PositionTextLong(Radians(Deg(12.52)), names), "13° in Aries");  // 31' does
    EXPECT_EQ(PositionTextLong(Radians(Deg(29.75)), names), "29° in Aries");  // 29°45' stays
    EXPECT_EQ(PositionTextLong(Radians(Deg(359.9999)), names), "29° in Pisces");
    EXPECT_EQ(PositionTextLong(Radians(Deg(240)), names), "0° in Sagittarius");
    EXPECT_EQ(PositionTextLong(Radians(kTwoPi * 2), names), "");
}

}  // namespace
}  // namespace vek
