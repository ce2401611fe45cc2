#include "time/stepping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vek {
namespace {

constexpr int kGmtPlus1 = 26;

// A World date row at a local time "HH:MM" (or "" for an empty time).
DateRows WorldAt(int year, int month, int day, const std::string& hhmm = "12:00") {
    DateRows rows;
    DateRowFields& r = rows.Row(kWorldDate);
    r.yearText = std::to_string(year);
    r.monthIndex = month;
    r.dayIndex = day;
    r.timeIndex = 0;
    for (int k = 1; k < kTimeEntries; ++k) {
        if (rows.TimeList()[k] == hhmm) r.timeIndex = k;
    }
    r.zoneIndex = kGmtPlus1;
    return rows;
}

std::string Shown(DateRows& rows) {
    const DateRowFields& r = rows.Row(kWorldDate);
    return std::to_string(r.dayIndex) + " " + rows.MonthList()[r.monthIndex] + " " + r.yearText +
           " " + rows.TimeList()[r.timeIndex];
}

std::string After(DateRows rows, int interval, int direction) {
    StepOutcome o = StepWorldDate(rows, interval, direction);
    EXPECT_TRUE(o.accepted);
    EXPECT_GT(o.julianDate, 0);
    return Shown(rows);
}

TEST(Step, DaysAndWeeksAcrossMonthAndYearEnds) {
    EXPECT_EQ(After(WorldAt(2010, 12, 31), kStepDay, kStepForward), "1 January 2011 12:00");
    EXPECT_EQ(After(WorldAt(2011, 1, 1), kStepDay, kStepBack), "31 December 2010 12:00");
    EXPECT_EQ(After(WorldAt(2011, 3, 1), kStepDay, kStepBack), "28 February 2011 12:00");
    EXPECT_EQ(After(WorldAt(2012, 3, 1), kStepDay, kStepBack), "29 February 2012 12:00");
    EXPECT_EQ(After(WorldAt(2011, 3, 3), kStepWeek, kStepBack), "24 February 2011 12:00");
    EXPECT_EQ(After(WorldAt(2012, 3, 3), kStepWeek, kStepBack), "25 February 2012 12:00");
    EXPECT_EQ(After(WorldAt(2011, 1, 3), kStepWeek, kStepBack), "27 December 2010 12:00");
    EXPECT_EQ(After(WorldAt(2010, 12, 28), kStepWeek, kStepForward), "4 January 2011 12:00");
    EXPECT_EQ(After(WorldAt(2012, 2, 25), kStepWeek, kStepForward), "3 March 2012 12:00");
}

TEST(Step, MonthsAndYearsClampToTheMonthEnd) {
    EXPECT_EQ(After(WorldAt(2011, 1, 31), kStepMonth, kStepForward), "28 February 2011 12:00");
    EXPECT_EQ(After(WorldAt(2012, 1, 31), kStepMonth, kStepForward), "29 February 2012 12:00");
    EXPECT_EQ(After(WorldAt(2011, 3, 31), kStepMonth, kStepBack), "28 February 2011 12:00");
    EXPECT_EQ(After(WorldAt(2011, 5, 31), kStepMonth, kStepForward), "30 June 2011 12:00");
    EXPECT_EQ(After(WorldAt(2010, 12, 15), kStepMonth, kStepForward), "15 January 2011 12:00");
    EXPECT_EQ(After(WorldAt(2011, 1, 15), kStepMonth, kStepBack), "15 December 2010 12:00");
    EXPECT_EQ(After(WorldAt(2012, 2, 29), kStepYear, kStepBack), "28 February 2011 12:00");
    EXPECT_EQ(After(WorldAt(2012, 2, 29), kStepYear, kStepForward), "28 February 2013 12:00");
}

TEST(Step, HalfHoursAcrossMidnight) {
    EXPECT_EQ(After(WorldAt(2011, 2, 28, "23:30"), kStepHalfHour, kStepForward),
              "1 March 2011 00:00");
    EXPECT_EQ(After(WorldAt(2010, 12, 31, "23:30"), kStepHalfHour, kStepForward),
              "1 January 2011 00:00");
    EXPECT_EQ(After(WorldAt(2011, 1, 1, "00:00"), kStepHalfHour, kStepBack),
              "31 December 2010 23:30");
    EXPECT_EQ(After(WorldAt(2011, 1, 1, "09:30"), kStepHalfHour, kStepForward),
              "1 January 2011 10:00");
    // An empty time counts as index 0.
    EXPECT_EQ(After(WorldAt(2011, 1, 1, ""), kStepHalfHour, kStepForward), "1 January 2011 00:00");
    EXPECT_EQ(After(WorldAt(2011, 1, 1, ""), kStepHalfHour, kStepBack), "31 December 2010 23:30");
}

TEST(Step, TheZoneStays) {
    DateRows rows = WorldAt(2011, 1, 1, "00:00");
    rows.Row(kWorldDate).zoneIndex = 14;
    StepWorldDate(rows, kStepHalfHour, kStepBack);
    EXPECT_EQ(rows.Row(kWorldDate).zoneIndex, 14);
}

// Many steps one way agree with the day numbers and Julian dates, and each
// step back undoes a step forward.
TEST(Step, LongWalksAgreeWithDayNumbers) {
    DateRows rows = WorldAt(1999, 12, 25, "22:00");
    double jd = rows.InputDateToAJDate(kWorldDate);
    for (int i = 0; i < 2000; ++i) {
        StepOutcome o = StepWorldDate(rows, kStepDay, kStepForward);
        ASSERT_TRUE(o.accepted);
        ASSERT_NEAR(o.julianDate, jd + 1, 1e-6) << Shown(rows);
        jd = o.julianDate;
    }
    for (int i = 0; i < 3000; ++i) {
        StepOutcome o = StepWorldDate(rows, kStepHalfHour, kStepBack);
        ASSERT_TRUE(o.accepted);
        ASSERT_NEAR(o.julianDate, jd - 1.0 / 48, 1e-6) << Shown(rows);
        jd = o.julianDate;
    }
    for (int i = 0; i < 300; ++i) {
        const std::string before = Shown(rows);
        ASSERT_TRUE(StepWorldDate(rows, kStepWeek, kStepForward).accepted);
        ASSERT_NEAR(rows.InputDateToAJDate(kWorldDate), jd + 7, 1e-6) << before;
        ASSERT_TRUE(StepWorldDate(rows, kStepWeek, kStepBack).accepted);
        ASSERT_EQ(Shown(rows), before);
        ASSERT_TRUE(StepWorldDate(rows, kStepWeek, kStepForward).accepted);
        jd += 7;
    }
}

// A step out of years 1..2799 is refused and the row put back as it was.
TEST(Step, LeavingTheAcceptedRangeIsRefusedAndRestored) {
    struct Case {
        DateRows rows;
        int interval;
        int direction;
        double code;
    };
    Case cases[] = {
        {WorldAt(1, 1, 1), kStepDay, kStepBack, kDateTooEarly},
        {WorldAt(1, 1, 1, "00:00"), kStepHalfHour, kStepBack, kDateTooEarly},
        {WorldAt(1, 1, 31), kStepMonth, kStepBack, kDateTooEarly},
        {WorldAt(1, 1, 5), kStepWeek, kStepBack, kDateTooEarly},
        {WorldAt(1, 6, 5), kStepYear, kStepBack, kDateTooEarly},
        {WorldAt(2799, 12, 31), kStepDay, kStepForward, kDateTooLate},
        {WorldAt(2799, 12, 31, "23:30"), kStepHalfHour, kStepForward, kDateTooLate},
        {WorldAt(2799, 3, 31), kStepYear, kStepForward, kDateTooLate},
    };
    for (Case& c : cases) {
        const std::string before = Shown(c.rows);
        const DateRowFields saved = c.rows.Row(kWorldDate);
        StepOutcome o = StepWorldDate(c.rows, c.interval, c.direction);
        EXPECT_FALSE(o.accepted) << before;
        EXPECT_EQ(o.julianDate, c.code) << before;
        EXPECT_EQ(Shown(c.rows), before);
        EXPECT_EQ(c.rows.Row(kWorldDate).yearText, saved.yearText);
        EXPECT_EQ(o.row.dayIndex, saved.dayIndex);
    }
}

// The window's order: step, compute, then restore when the compute's Julian
// date is negative.
TEST(Step, RestoreAfterTheCompute) {
    DateRows rows = WorldAt(1, 1, 1, "");
    const DateRowFields saved = ApplyStep(rows, kStepDay, kStepBack);
    EXPECT_EQ(rows.Row(kWorldDate).yearText, "0");
    EXPECT_EQ(rows.Row(kWorldDate).monthIndex, 12);
    const double computed = rows.InputDateToAJDate(kWorldDate);
    EXPECT_EQ(computed, kDateTooEarly);
    EXPECT_TRUE(RestoreIfRefused(rows, saved, computed));
    EXPECT_EQ(Shown(rows), "1 January 1 ");

    DateRows ok = WorldAt(2000, 1, 1);
    const DateRowFields before = ApplyStep(ok, kStepDay, kStepForward);
    EXPECT_FALSE(RestoreIfRefused(ok, before, ok.InputDateToAJDate(kWorldDate)));
    EXPECT_EQ(Shown(ok), "2 January 2000 12:00");
}

// A year box that already reads 0 must not step back to "year 1": the year
// is written without a minus sign, which the row would simply drop.
TEST(Step, YearsBelowZeroAreNotReadAsPositive) {
    DateRows rows = WorldAt(0, 6, 1);
    StepOutcome o = StepWorldDate(rows, kStepYear, kStepBack);
    EXPECT_FALSE(o.accepted);
    EXPECT_EQ(o.julianDate, kDateTooEarly);
    EXPECT_EQ(rows.Row(kWorldDate).yearText, "0");
}

TEST(Step, ThirtyDigitYearIsRefusedAndKept) {
    DateRows rows = WorldAt(2000, 1, 1);
    const std::string huge(30, '7');
    rows.Row(kWorldDate).yearText = huge;
    for (int interval = kStepHalfHour; interval <= kStepYear; ++interval) {
        for (int direction : {kStepForward, kStepBack}) {
            StepOutcome o = StepWorldDate(rows, interval, direction);
            EXPECT_FALSE(o.accepted);
            EXPECT_EQ(o.julianDate, kDateTooLate);
            EXPECT_EQ(rows.Row(kWorldDate).yearText, huge);
        }
    }
}

TEST(SteppingControls, IntervalIndexAfterRefill) {
    EXPECT_EQ(IntervalIndexAfterRefill(-1), kStepDay);
    EXPECT_EQ(IntervalIndexAfterRefill(4), kStepYear);
    EXPECT_EQ(IntervalIndexAfterRefill(5), kStepDay);
}

}  // namespace
}  // namespace vek
