#include "platform/calendar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vek::platform {
namespace {

CalendarDate Ymd(int32_t y, int32_t m, int32_t d) {
    CalendarDate c;
    c.year = y;
    c.month = m;
    c.day = d;
    return c;
}

int32_t Jdn(int32_t y, int32_t m, int32_t d) {
    CalendarDate c = Ymd(y, m, d);
    return date_to_jdn(c);
}

bool Valid(int32_t y, int32_t m, int32_t d) {
    CalendarDate c = Ymd(y, m, d);
    date_to_jdn(c);
    return c.valid != 0;
}

TEST(Calendar, KnownDayNumbers) {
    EXPECT_EQ(Jdn(1, 1, 1), 1721426);
    EXPECT_EQ(Jdn(2799, 12, 31), 2743738);
    EXPECT_EQ(Jdn(2000, 1, 1), 2451545);
    EXPECT_EQ(Jdn(2010, 7, 4), 2455382);
    EXPECT_EQ(Jdn(1582, 10, 15), 2299161);  // proleptic: no jump at the reform
    EXPECT_EQ(Jdn(1582, 10, 4), 2299150);
}

// Every day of years 1..2799 converts to its day number and back, and
// consecutive days have consecutive day numbers.
TEST(Calendar, RoundTripOverAcceptedYears) {
    const int kDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int32_t expected = 1721426;
    for (int32_t y = 1; y <= 2799; ++y) {
        bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        for (int32_t m = 1; m <= 12; ++m) {
            int last = kDays[m] + (m == 2 && leap ? 1 : 0);
            for (int32_t d = 1; d <= last; ++d, ++expected) {
                CalendarDate c = Ymd(y, m, d);
                ASSERT_EQ(date_to_jdn(c), expected) << y << "-" << m << "-" << d;
                ASSERT_NE(c.valid, 0);
                CalendarDate back;
                back.dayNumber = expected;
                jdn_to_date(back);
                ASSERT_EQ(back.year, y);
                ASSERT_EQ(back.month, m);
                ASSERT_EQ(back.day, d);
            }
            EXPECT_FALSE(Valid(y, m, last + 1)) << y << "-" << m;
        }
    }
    EXPECT_EQ(expected, 2743738 + 1);
}

TEST(Calendar, ValidityOfMonthEnds) {
    EXPECT_FALSE(Valid(2011, 2, 29));
    EXPECT_TRUE(Valid(2012, 2, 29));
    EXPECT_FALSE(Valid(1900, 2, 29));
    EXPECT_TRUE(Valid(2000, 2, 29));
    EXPECT_FALSE(Valid(2010, 4, 31));
    EXPECT_TRUE(Valid(2010, 4, 30));
    EXPECT_FALSE(Valid(2010, 2, 31));
    EXPECT_FALSE(Valid(2010, 0, 1));
    EXPECT_FALSE(Valid(2010, 13, 1));
    EXPECT_FALSE(Valid(2010, 1, 0));
    EXPECT_FALSE(Valid(2010, 1, -5));
}

TEST(Calendar, ExtremeYearsAreRefusedWithoutOverflow) {
    CalendarDate c = Ymd(std::numeric_limits<int32_t>::max(), 12, 31);
    EXPECT_EQ(date_to_jdn(c), 0);
    EXPECT_EQ(c.valid, 0);
    c = Ymd(std::numeric_limits<int32_t>::min(), 1, 1);
    EXPECT_EQ(date_to_jdn(c), 0);
    EXPECT_EQ(c.valid, 0);
    CalendarDate back;
    back.dayNumber = std::numeric_limits<int32_t>::max();
    jdn_to_date(back);  // must not overflow
    EXPECT_GE(back.month, 1);
    EXPECT_LE(back.month, 12);
}

TEST(Calendar, DayOfWeek) {
    EXPECT_EQ(day_of_week(2451545), 6);  // 1 January 2000, Saturday
    EXPECT_EQ(day_of_week(2455382), 0);  // 4 July 2010, Sunday
    EXPECT_EQ(day_of_week(1721426), 1);  // 1 January 1, Monday
    EXPECT_EQ(day_of_week(-1), 0);       // the day before day 0, a Monday
    EXPECT_EQ(day_of_week(-2), 6);       // negative day numbers stay in 0..6
}

TEST(Calendar, YearOfAJulianDate) {
    EXPECT_EQ(calendar_year_of(2451545.0), 2000);
    EXPECT_EQ(calendar_year_of(2451544.5), 2000);  // midnight starting 1 January
    EXPECT_EQ(calendar_year_of(2451544.49), 1999);
    EXPECT_EQ(calendar_year_of(std::nan("")), 0);
    EXPECT_EQ(calendar_year_of(1e300), calendar_year_of(2.0e9));
}

}  // namespace
}  // namespace vek::platform
