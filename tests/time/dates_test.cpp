#include "time/dates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>

namespace vek {
namespace {

constexpr int32_t kJuly4th2010 = 2455382;
constexpr int32_t kJan1st2000 = 2451545;

TEST(TimeText, Edges) {
    EXPECT_EQ(TimeText(0.0, false), "00:00");
    EXPECT_EQ(TimeText(0.0, true), "00:00:00");
    EXPECT_EQ(TimeText(0.5, true), "12:00:00");
    EXPECT_EQ(TimeText(0.9999999999, true), "23:59:59");
    EXPECT_EQ(TimeText(1.0, false), "XX:XX:XX");
    EXPECT_EQ(TimeText(-0.1, false), "XX:XX:XX");
    EXPECT_EQ(TimeText(std::nan(""), true), "XX:XX:XX");
    EXPECT_EQ(TimeText(INFINITY, false), "XX:XX:XX");
}

// Every whole minute, computed as a fraction, is written as that minute and
// not one second earlier.
TEST(TimeText, WholeMinutesAreNotWrittenASecondEarly) {
    for (int k = 0; k < 1440; ++k) {
        char want[16];
        std::snprintf(want, sizeof want, "%02d:%02d:00", k / 60, k % 60);
        ASSERT_EQ(TimeText(k / 1440.0, true), want);
        // Also as the fraction of a local day value, where precision is lost.
        double v = 2455000.0 + k / 1440.0;
        ASSERT_EQ(TimeText(v - std::floor(v), true), want);
    }
}

double At(int hour, int minute) {
    return 2455000.0 + (hour * 60 + minute) / 1440.0;
}

std::string Rounded(double v) {
    RoundToHalfHour(v);
    double d = std::floor(v);
    return std::to_string(static_cast<long>(d) - 2455000) + " " + TimeText(v - d, false);
}

TEST(RoundToHalfHour, QuarterPastRoundsDown) {
    EXPECT_EQ(Rounded(At(10, 15)), "0 10:00");
    EXPECT_EQ(Rounded(At(10, 16)), "0 10:30");
    EXPECT_EQ(Rounded(At(10, 45)), "0 10:30");
    EXPECT_EQ(Rounded(At(10, 46)), "0 11:00");
    EXPECT_EQ(Rounded(At(10, 30)), "0 10:30");
    EXPECT_EQ(Rounded(At(0, 14)), "0 00:00");
    EXPECT_EQ(Rounded(At(23, 45)), "0 23:30");
}

TEST(RoundToHalfHour, LateEveningMovesToNextDay) {
    EXPECT_EQ(Rounded(At(23, 46)), "1 00:00");
    EXPECT_EQ(Rounded(At(23, 59) + 59.0 / 86400.0), "1 00:00");
}

TEST(RoundToHalfHour, ValuesWithoutTimeOrNotFiniteAreUnchanged) {
    double v = 2455000.0;
    RoundToHalfHour(v);
    EXPECT_EQ(v, 2455000.0);
    v = std::nan("");
    RoundToHalfHour(v);
    EXPECT_TRUE(std::isnan(v));
}

TEST(DateText, EnglishAndGerman) {
    EXPECT_EQ(DateText(kJuly4th2010, false, kEnglish), "July 4, 2010");
    EXPECT_EQ(DateText(kJuly4th2010, false, kGerman), "4.Juli 2010");
    EXPECT_EQ(DateText(kJuly4th2010, true, kEnglish), "July 4, 2010");
    EXPECT_EQ(DateText(kJuly4th2010 + 31, true, kEnglish), "Aug. 4, 2010");
    EXPECT_EQ(DateText(kJuly4th2010 + 62, true, kEnglish), "Sept. 4, 2010");
    EXPECT_EQ(DateText(kJuly4th2010 + 92, true, kGerman), "4.Okt. 2010");
    EXPECT_EQ(DateText(kJuly4th2010 - 61, true, kEnglish), "May 4, 2010");
    EXPECT_EQ(DateText(kJuly4th2010 - 122, true, kGerman), "4.März 2010");
    EXPECT_EQ(DateText(kJuly4th2010 - 122, false, kGerman), "4.März 2010");
    EXPECT_EQ(DateText(kJuly4th2010, false, LanguageFromCode(2)), "July 4, 2010");  // other codes: English
    EXPECT_EQ(DateText(kFirstDayNumber, false, kEnglish), "January 1, 1");
    EXPECT_EQ(DateText(kLastDayNumber, true, kGerman), "31.Dez. 2799");
}

TEST(DateText, WeekdayNames) {
    EXPECT_EQ(WeekdayName(kJan1st2000, kEnglish), "Saturday");
    EXPECT_EQ(WeekdayName(kJan1st2000, kGerman), "Samstag");
    EXPECT_EQ(WeekdayName(kJan1st2000 + 1, kGerman), "Sonntag");
    EXPECT_EQ(WeekdayName(kJan1st2000 + 5, kEnglish), "Thursday");
}

TEST(DateText, IsoDate) {
    CalendarDate d;
    d.dayNumber = kJuly4th2010;
    DayNumberToDate(d);
    EXPECT_EQ(IsoDateText(d), "2010-07-04");
    d.dayNumber = kJuly4th2010 + 160;
    DayNumberToDate(d);
    EXPECT_EQ(IsoDateText(d), "2010-12-11");
    // Years before 1000 keep four digits.
    for (auto [year, text] :
         {std::pair{999, "0999-05-28"}, {1, "0001-05-28"}, {85, "0085-05-28"}}) {
        d.year = year;
        d.month = 5;
        d.day = 28;
        d.dayNumber = DateToDayNumber(d);
        DayNumberToDate(d);
        EXPECT_EQ(IsoDateText(d), text);
    }
}

TEST(Calendar, LeapYearsAndMonthLengths) {
    EXPECT_EQ(DaysInMonth(2, 1900), 28);
    EXPECT_EQ(DaysInMonth(2, 2000), 29);
    EXPECT_EQ(DaysInMonth(2, 2011), 28);
    EXPECT_EQ(DaysInMonth(2, 2012), 29);
    EXPECT_EQ(DaysInMonth(4, 2011), 30);
    EXPECT_EQ(DaysInMonth(12, 2011), 31);
    EXPECT_EQ(DaysInMonth(0, 2011), 0);
    EXPECT_EQ(DaysInMonth(13, 2011), 0);
    EXPECT_TRUE(IsLeapYear(1900, 'J'));
    EXPECT_FALSE(IsLeapYear(1900, 'G'));
    EXPECT_FALSE(IsLeapYear(2011, 'J'));
}

TEST(Zone, MinutesEastRoundHalfToEven) {
    EXPECT_EQ(ZoneMinutesEast(18000), -300);  // New York, winter
    EXPECT_EQ(ZoneMinutesEast(-19800), 330);  // India
    EXPECT_EQ(ZoneMinutesEast(-20700), 345);  // Nepal
    EXPECT_EQ(ZoneMinutesEast(30), 0);        // -0.5 -> 0
    EXPECT_EQ(ZoneMinutesEast(90), -2);       // -1.5 -> -2
    EXPECT_EQ(ZoneMinutesEast(-150), 2);      // 2.5 -> 2
    EXPECT_EQ(ZoneMinutesEast(2000000000), -32768);
}

TEST(CurrentJulianDate, OfKnownReadings) {
    ClockReading noonGreenwich{2000, 1, 1, 12, 0, 0, 0};
    EXPECT_DOUBLE_EQ(JulianDateOf(noonGreenwich), 2451545.0);
    ClockReading newYork{2000, 1, 1, 7, 0, 0, 18000};
    EXPECT_DOUBLE_EQ(JulianDateOf(newYork), 2451545.0);
    ClockReading tokyo{2000, 1, 1, 21, 0, 0, -32400};
    EXPECT_DOUBLE_EQ(JulianDateOf(tokyo), 2451545.0);
    // The same instant read in different zones is the same Julian date, bit
    // for bit (1881 September 3, 23:30:07 UT).
    const double ut = JulianDateOf({1881, 9, 3, 23, 30, 7, 0});
    EXPECT_EQ(JulianDateOf({1881, 9, 3, 18, 30, 7, 18000}), ut);
    EXPECT_EQ(JulianDateOf({1881, 9, 4, 10, 0, 7, -37800}), ut);
    EXPECT_EQ(ut, (2408327 * 86400.0 - 43200 + 84607) / 86400.0);
}

// A clock that ticks across midnight between two readings. Reading date and
// time separately would combine 31 December with 00:00:00 and land a whole
// day early; one reading gives the true instant.
TEST(CurrentJulianDate, ReadsTheClockOnceAcrossMidnight) {
    int calls = 0;
    Clock straddling = [&calls]() {
        ++calls;
        if (calls == 1) return ClockReading{2010, 12, 31, 23, 59, 59, -3600};
        return ClockReading{2011, 1, 1, 0, 0, 0, -3600};
    };
    double jd = CurrentJulianDate(straddling);
    EXPECT_EQ(calls, 1);
    // The instant is 22:59:59 UT on 31 December 2010.
    EXPECT_NEAR(jd, 2455562.5 - 1.0 / 86400.0 - 1.0 / 24.0, 1e-9);
}

double UnixJulianDate() {
    return std::time(nullptr) / 86400.0 + 2440587.5;
}

class SystemClock : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        hadTz_ = tz != nullptr;
        if (hadTz_) savedTz_ = tz;
    }
    void TearDown() override {
        if (hadTz_) {
            setenv("TZ", savedTz_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    void UseZone(const char* tz) {
        setenv("TZ", tz, 1);
        tzset();
    }

  private:
    bool hadTz_ = false;
    std::string savedTz_;
};

TEST_F(SystemClock, AgreesWithUniversalTimeInAnyZone) {
    for (const char* tz : {"UTC0", "EST5EDT,M3.2.0,M11.1.0", "NPT-5:45", "XYZ+11:30"}) {
        UseZone(tz);
        double before = UnixJulianDate();
        double jd = CurrentJulianDate();
        double after = UnixJulianDate();
        EXPECT_GE(jd, before - 1e-6) << tz;
        EXPECT_LE(jd, after + 1e-6) << tz;
    }
    UseZone("NPT-5:45");
    EXPECT_EQ(LocalZoneMinutes(), 345);
    UseZone("XYZ+11:30");
    EXPECT_EQ(LocalZoneMinutes(), -690);
}

}  // namespace
}  // namespace vek
