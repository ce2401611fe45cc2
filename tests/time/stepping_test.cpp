#include "time/stepping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../date_answers.h"
#include "../succeeded.h"

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

namespace vek {
namespace {

// Every part of a row a step may touch, as one text.
std::string RowParts(const DateRowFields& r) {
    return std::to_string(r.dayIndex) + "." + std::to_string(r.monthIndex) + ". \"" + r.yearText +
           "\" time " + std::to_string(r.timeIndex) + " exact " + std::to_string(r.exactMinute) +
           " zone " + std::to_string(r.zoneIndex) + (r.zone ? " in " + r.zone->name : "") +
           " fold " + std::to_string(static_cast<int>(r.fold)) + (r.place ? " placed" : "");
}

bool SameRow(const DateRowFields& a, const DateRowFields& b) {
    return a.dayIndex == b.dayIndex && a.monthIndex == b.monthIndex && a.yearText == b.yearText &&
           a.timeIndex == b.timeIndex && a.exactMinute == b.exactMinute &&
           a.zoneIndex == b.zoneIndex && a.zone == b.zone && a.fold == b.fold &&
           a.place == b.place;
}

// A row of the lists at a minute of the day (with an exact minute where the
// time list lacks it).
DateRows RowAt(const std::string& yearText, int month, int day, int minute, int zoneIndex) {
    DateRows rows;
    DateRowFields& r = rows.Row(kWorldDate);
    r.yearText = yearText;
    r.monthIndex = month;
    r.dayIndex = day;
    r.timeIndex = minute / 30 + 1;
    r.exactMinute = minute % 30 == 0 ? -1 : minute;
    r.zoneIndex = zoneIndex;
    return rows;
}

constexpr int kGmt = kGreenwichZoneIndex;
constexpr int kGmtMinus930 = kGreenwichZoneIndex - 19;
constexpr int kEvery = 2000000;  // steps enough to reach the end of the dates

struct Walk {
    const char* what;
    DateRows rows;
    int interval;
    const char* zone;  // "" for the row's own list offset
    int steps;
    bool byNumbers;
};

// Walks the stepper and StepWorldDateInZone side by side: the same answer,
// Julian date (to the bit), refusal and row at every step, the same row
// before the step, and the same row again after going back one step now and
// then. A few refused steps are taken after the first.
void ExpectSameSteps(Walk& w) {
    SCOPED_TRACE(w.what);
    const TimeZone zone = *w.zone ? TimeZone::Named(w.zone) : TimeZone::Fixed(0);
    DateRows& rows = w.rows;
    WorldDateStepper stepper(rows, w.interval, zone);
    EXPECT_EQ(stepper.SteppingByNumbers(), w.byNumbers);
    int refused = 0;
    for (int k = 0; k < w.steps && refused < 3; ++k) {
        const DateRowFields before = rows.Row(kWorldDate);
        const StepOutcome o = StepWorldDateInZone(rows, w.interval, kStepForward, zone);
        const bool taken = stepper.Step();
        ASSERT_EQ(taken, o.accepted()) << "step " << k << " from " << RowParts(before);
        ASSERT_TRUE(SameRow(stepper.Row(), rows.Row(kWorldDate)))
            << "step " << k << ": " << RowParts(stepper.Row()) << " instead of "
            << RowParts(rows.Row(kWorldDate));
        if (!taken) {
            ASSERT_EQ(stepper.RefusedCode(), o.refusedCode) << "step " << k;
            ++refused;
            continue;
        }
        ASSERT_EQ(stepper.JulianDays(), o.julianDate->days) << "step " << k << " to "
                                                             << RowParts(o.row);
        ASSERT_TRUE(SameRow(stepper.PreviousRow(), before))
            << "step " << k << ": before " << RowParts(stepper.PreviousRow()) << " instead of "
            << RowParts(before);
        if (k % 997 == 0) {
            stepper.Undo();
            rows.Row(kWorldDate) = before;
            ASSERT_TRUE(SameRow(stepper.Row(), before)) << "step " << k << ": back at "
                                                        << RowParts(stepper.Row());
        }
    }
    if (w.steps == kEvery) {
        EXPECT_GT(refused, 0) << "the walk should reach a refusal";
    }
}

// Fixed zones: every interval from the first accepted dates (or near them)
// up to the refusal past the last, from month ends, a leap day, an exact
// minute and year texts with leading zeros.
TEST(WorldDateStepper, StepsAsTheRowInFixedZones) {
    Walk walks[] = {
        {"half hours from year 1", RowAt("1", 1, 1, 0, kGmtMinus930), kStepHalfHour, "", 60000,
         true},
        {"half hours to the end", RowAt("2799", 11, 30, 14 * 60 + 47, kGmtPlus1), kStepHalfHour,
         "", kEvery, true},
        {"days, all the dates", RowAt("1", 1, 1, 23 * 60 + 30, kGmt), kStepDay, "", kEvery, true},
        {"days from a year with zeros", RowAt("02700", 12, 31, 9 * 60 + 5, kGmtMinus930),
         kStepDay, "", kEvery, true},
        {"weeks, all the dates", RowAt("1", 1, 3, 12 * 60, kGmtPlus1), kStepWeek, "", kEvery,
         true},
        {"months from the 31st", RowAt("1", 1, 31, 6 * 60 + 30, kGmt), kStepMonth, "", kEvery,
         true},
        {"months from the 30th near the end", RowAt("2790", 8, 30, 0, kGmt), kStepMonth, "",
         kEvery, true},
        {"years from a leap day", RowAt("0004", 2, 29, 18 * 60, kGmtMinus930), kStepYear, "",
         kEvery, true},
        {"years from 31 December 2799", RowAt("2799", 12, 31, 12 * 60, kGmt), kStepYear, "", 5,
         true},
        // Rows a conversion would still change step the row itself.
        {"year text with a letter", RowAt("19x85", 3, 1, 0, kGmt), kStepDay, "", 400000, false},
        {"time 14:47 outside its half hour", RowAt("2799", 12, 1, 14 * 60 + 47, kGmt),
         kStepHalfHour, "", kEvery, false},
    };
    walks[10].rows.Row(kWorldDate).timeIndex = 3;
    for (Walk& w : walks) ExpectSameSteps(w);
    // A zone of the row's own.
    Walk own{"+5:45 of its own", RowAt("2799", 12, 20, 12 * 60, kGmt), kStepDay, "", kEvery,
             false};
    ASSERT_TRUE(testing::Succeeded(own.rows.SetTimeAndZone(kWorldDate, "", "+05:45")));
    ExpectSameSteps(own);
}

// Named zones: the offset in force after every step, through daylight
// saving (a half-hour shift on Lord Howe Island), changes of standard time
// (Caracas to -4:30 and back), times the clocks skipped or doubled, offsets
// the zone list lacks (Kathmandu's +5:45, Berlin's local mean time), an
// exact minute, and the end of the dates.
TEST(WorldDateStepper, StepsAsTheRowInNamedZones) {
    constexpr int kGmtMinus5 = kGreenwichZoneIndex - 10;
    constexpr int kGmtMinus4 = kGreenwichZoneIndex - 8;
    constexpr int kGmtPlus1030 = kGreenwichZoneIndex + 21;
    constexpr int kGmtPlus530 = kGreenwichZoneIndex + 11;
    Walk walks[] = {
        {"Berlin half hours", RowAt("1979", 1, 1, 0, kGmtPlus1), kStepHalfHour, "Europe/Berlin",
         60000, true},
        {"New York half hours", RowAt("2006", 3, 1, 0, kGmtMinus5), kStepHalfHour,
         "America/New_York", 40000, true},
        {"Lord Howe half hours", RowAt("2000", 1, 1, 0, kGmtPlus1030), kStepHalfHour,
         "Australia/Lord_Howe", 40000, true},
        {"Caracas half hours", RowAt("2007", 11, 1, 0, kGmtMinus4), kStepHalfHour,
         "America/Caracas", 20000, true},
        {"Berlin half hours from local mean time", RowAt("1893", 3, 31, 23 * 60, kGmtPlus1),
         kStepHalfHour, "Europe/Berlin", 20000, true},
        {"Berlin half hours to the end", RowAt("2799", 12, 20, 0, kGmtPlus1), kStepHalfHour,
         "Europe/Berlin", kEvery, true},
        {"Berlin half hours in years after the zone files' last", RowAt("2037", 12, 1, 0,
         kGmtPlus1), kStepHalfHour, "Europe/Berlin", 60000, true},
        {"New York half hours in 2400", RowAt("2400", 2, 1, 0, kGmtMinus5), kStepHalfHour,
         "America/New_York", 20000, true},
        {"Berlin days at 02:30", RowAt("1900", 1, 1, 2 * 60 + 30, kGmtPlus1), kStepDay,
         "Europe/Berlin", kEvery, true},
        {"New York days at 01:30", RowAt("1900", 1, 1, 60 + 30, kGmtMinus5), kStepDay,
         "America/New_York", 80000, true},
        {"Lord Howe days at 02:00", RowAt("1982", 1, 1, 2 * 60, kGmtPlus1030), kStepDay,
         "Australia/Lord_Howe", 40000, true},
        {"Caracas days", RowAt("1970", 1, 1, 12 * 60, kGmtMinus4), kStepDay, "America/Caracas",
         30000, true},
        {"Kathmandu days", RowAt("1985", 6, 1, 12 * 60, kGmtPlus530), kStepDay, "Asia/Kathmandu",
         kEvery, true},
        {"Berlin days at 14:47", RowAt("2000", 1, 1, 14 * 60 + 47, kGmtPlus1), kStepDay,
         "Europe/Berlin", 10, true},
        {"Berlin weeks", RowAt("1893", 4, 7, 2 * 60 + 30, kGmtPlus1), kStepWeek, "Europe/Berlin",
         kEvery, true},
        {"New York months from the 31st", RowAt("1890", 1, 31, 2 * 60, kGmtMinus5), kStepMonth,
         "America/New_York", kEvery, true},
        {"Lord Howe years from a leap day", RowAt("1984", 2, 29, 2 * 60, kGmtPlus1030),
         kStepYear, "Australia/Lord_Howe", kEvery, true},
        {"Berlin years from a year with zeros", RowAt("01900", 10, 31, 2 * 60 + 30, kGmtPlus1),
         kStepYear, "Europe/Berlin", kEvery, true},
        {"Berlin days from text with a letter", RowAt("2x799", 12, 1, 12 * 60, kGmtPlus1),
         kStepDay, "Europe/Berlin", kEvery, false},
    };
    for (Walk& w : walks) ExpectSameSteps(w);
}

}  // namespace
}  // namespace vek
