#include "time/stepping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../date_answers.h"

namespace vek {
namespace {

using testing::CodeOf;
using testing::DaysOf;

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
    EXPECT_TRUE(o.accepted());
    EXPECT_GT(DaysOf(o.julianDate), 0);
    EXPECT_EQ(o.refusedCode, 0);
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
    double jd = DaysOf(rows.InputDateToAJDate(kWorldDate));
    for (int i = 0; i < 2000; ++i) {
        StepOutcome o = StepWorldDate(rows, kStepDay, kStepForward);
        ASSERT_TRUE(o.accepted());
        ASSERT_NEAR(DaysOf(o.julianDate), jd + 1, 1e-6) << Shown(rows);
        jd = DaysOf(o.julianDate);
    }
    for (int i = 0; i < 3000; ++i) {
        StepOutcome o = StepWorldDate(rows, kStepHalfHour, kStepBack);
        ASSERT_TRUE(o.accepted());
        ASSERT_NEAR(DaysOf(o.julianDate), jd - 1.0 / 48, 1e-6) << Shown(rows);
        jd = DaysOf(o.julianDate);
    }
    for (int i = 0; i < 300; ++i) {
        const std::string before = Shown(rows);
        ASSERT_TRUE(StepWorldDate(rows, kStepWeek, kStepForward).accepted());
        ASSERT_NEAR(DaysOf(rows.InputDateToAJDate(kWorldDate)), jd + 7, 1e-6) << before;
        ASSERT_TRUE(StepWorldDate(rows, kStepWeek, kStepBack).accepted());
        ASSERT_EQ(Shown(rows), before);
        ASSERT_TRUE(StepWorldDate(rows, kStepWeek, kStepForward).accepted());
        jd += 7;
    }
}

// A step out of years 1..2799 is refused and the row put back as it was.
TEST(Step, LeavingTheAcceptedRangeIsRefusedAndRestored) {
    struct Case {
        DateRows rows;
        int interval;
        int direction;
        int code;
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
        EXPECT_FALSE(o.accepted()) << before;
        EXPECT_EQ(o.refusedCode, c.code) << before;
        EXPECT_EQ(Shown(c.rows), before);
        EXPECT_EQ(c.rows.Row(kWorldDate).yearText, saved.yearText);
        EXPECT_EQ(o.row.dayIndex, saved.dayIndex);
    }
}

// The window's order: step, compute, then restore when the compute refused
// the World date.
TEST(Step, RestoreAfterTheCompute) {
    DateRows rows = WorldAt(1, 1, 1, "");
    const DateRowFields saved = ApplyStep(rows, kStepDay, kStepBack);
    EXPECT_EQ(rows.Row(kWorldDate).yearText, "0");
    EXPECT_EQ(rows.Row(kWorldDate).monthIndex, 12);
    const Result<JulianDate> computed = rows.InputDateToAJDate(kWorldDate);
    EXPECT_EQ(CodeOf(computed), kDateTooEarly);
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
    EXPECT_FALSE(o.accepted());
    EXPECT_EQ(o.refusedCode, kDateTooEarly);
    EXPECT_EQ(rows.Row(kWorldDate).yearText, "0");
}

TEST(Step, ThirtyDigitYearIsRefusedAndKept) {
    DateRows rows = WorldAt(2000, 1, 1);
    const std::string huge(30, '7');
    rows.Row(kWorldDate).yearText = huge;
    for (int interval = kStepHalfHour; interval <= kStepYear; ++interval) {
        for (int direction : {kStepForward, kStepBack}) {
            StepOutcome o = StepWorldDate(rows, interval, direction);
            EXPECT_FALSE(o.accepted());
            EXPECT_EQ(o.refusedCode, kDateTooLate);
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

namespace vek {
namespace {

// Steps in a named zone: the row's zone entry and the instant after a step.
struct ZoneStep {
    std::string shown;
    int zoneIndex = 0;
    double julianDate = 0;  // NaN when refused
    int refusedCode = 0;
    bool accepted = false;
};

ZoneStep StepIn(DateRows& rows, int interval, int direction, const char* zone) {
    const StepOutcome o = StepWorldDateInZone(rows, interval, direction, TimeZone::Named(zone));
    return {Shown(rows), rows.Row(kWorldDate).zoneIndex, DaysOf(o.julianDate), o.refusedCode,
            o.accepted()};
}

constexpr int kGmtPlus2 = 28;
constexpr double kHour = 1.0 / 24;

TEST(StepInZone, DaysKeepTheClockTimeAndTakeTheOffsetInForce) {
    // Berlin goes to summer time on 29 March 2026 at 01:00 UT: a day step
    // from noon of the 28th is noon of the 29th at +2:00, 23 hours later.
    DateRows rows = WorldAt(2026, 3, 28);
    const double before = DaysOf(rows.InputDateToAJDate(kWorldDate));
    ZoneStep s = StepIn(rows, kStepDay, kStepForward, "Europe/Berlin");
    ASSERT_TRUE(s.accepted);
    EXPECT_EQ(s.shown, "29 March 2026 12:00");
    EXPECT_EQ(s.zoneIndex, kGmtPlus2);
    EXPECT_NEAR(s.julianDate - before, 23 * kHour, 1e-9);
    // And back again.
    s = StepIn(rows, kStepDay, kStepBack, "Europe/Berlin");
    EXPECT_EQ(s.zoneIndex, kGmtPlus1);
    EXPECT_NEAR(s.julianDate, before, 1e-9);
    // A fixed zone steps as the plain step does.
    DateRows fixed = WorldAt(2026, 3, 28);
    const StepOutcome f =
        StepWorldDateInZone(fixed, kStepDay, kStepForward, TimeZone::Fixed(60));
    EXPECT_EQ(fixed.Row(kWorldDate).zoneIndex, kGmtPlus1);
    EXPECT_NEAR(DaysOf(f.julianDate) - before, 24 * kHour, 1e-9);
}

TEST(StepInZone, SkippedAndDoubledClockTimesTakeTheOffsetBeforeTheChange) {
    // 02:30 did not exist on 29 March 2026: at +1:00 it is 01:30 UT.
    DateRows gap = WorldAt(2026, 3, 28, "02:30");
    ZoneStep s = StepIn(gap, kStepDay, kStepForward, "Europe/Berlin");
    ASSERT_TRUE(s.accepted);
    EXPECT_EQ(s.zoneIndex, kGmtPlus1);
    // 02:30 came twice on 25 October 2026: the first, at +2:00.
    DateRows twice = WorldAt(2026, 10, 24, "02:30");
    twice.Row(kWorldDate).zoneIndex = kGmtPlus2;
    s = StepIn(twice, kStepDay, kStepForward, "Europe/Berlin");
    ASSERT_TRUE(s.accepted);
    EXPECT_EQ(s.shown, "25 October 2026 02:30");
    EXPECT_EQ(s.zoneIndex, kGmtPlus2);
}

TEST(StepInZone, HalfHoursGoEvenlyThroughAChangeOfTheClocks) {
    // 01:30 CET is 00:30 UT; half an hour later the clocks show 03:00 CEST.
    DateRows rows = WorldAt(2026, 3, 29, "01:30");
    const double before = DaysOf(rows.InputDateToAJDate(kWorldDate));
    ZoneStep s = StepIn(rows, kStepHalfHour, kStepForward, "Europe/Berlin");
    ASSERT_TRUE(s.accepted);
    EXPECT_EQ(s.shown, "29 March 2026 03:00");
    EXPECT_EQ(s.zoneIndex, kGmtPlus2);
    EXPECT_NEAR(s.julianDate - before, 0.5 * kHour, 1e-9);
    s = StepIn(rows, kStepHalfHour, kStepBack, "Europe/Berlin");
    EXPECT_EQ(s.shown, "29 March 2026 01:30");
    EXPECT_EQ(s.zoneIndex, kGmtPlus1);
}

TEST(StepInZone, AnOffsetTheListLacksRefusesTheStepAndKeepsTheRow) {
    // Kathmandu went from +5:30 to +5:45 on 1 January 1986.
    DateRows rows = WorldAt(1985, 12, 31);
    rows.Row(kWorldDate).zoneIndex = kGreenwichZoneIndex + 11;  // +5:30
    const DateRowFields before = rows.Row(kWorldDate);
    ZoneStep s = StepIn(rows, kStepDay, kStepForward, "Asia/Kathmandu");
    EXPECT_FALSE(s.accepted);
    EXPECT_EQ(s.refusedCode, kStepOffsetNotInList);
    EXPECT_EQ(s.shown, "31 December 1985 12:00");
    EXPECT_EQ(rows.Row(kWorldDate).zoneIndex, before.zoneIndex);
    // A step out of the accepted dates is refused with its date code.
    DateRows late = WorldAt(2799, 12, 31);
    s = StepIn(late, kStepDay, kStepForward, "Europe/Berlin");
    EXPECT_FALSE(s.accepted);
    EXPECT_EQ(s.refusedCode, kDateTooLate);
    EXPECT_EQ(s.shown, "31 December 2799 12:00");
}

}  // namespace
}  // namespace vek
