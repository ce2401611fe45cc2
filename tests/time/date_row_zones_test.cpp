// Date rows with a time to the minute and a zone of their own (a name of the
// tz database or an offset the list lacks): what they convert to, how they
// are written, how bad input is refused, "Now" in the computer's named zone
// and stepping that keeps the zone.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../date_answers.h"
#include "../day_numbers.h"
#include "engine/modes.h"
#include "time/date_rows.h"
#include "time/dates.h"
#include "time/durations.h"
#include "time/stepping.h"
#include "time/zones.h"

namespace vek {
namespace {

constexpr double kSecond = 1.0 / 86400;

using testing::Day;
using testing::CodeOf;
using testing::DaysOf;

// The Julian date of a UT date and time.
double Ut(int year, int month, int day, int hour, int minute) {
    return Day(year, month, day) - 0.5 + (hour * 60 + minute) / 1440.0;
}

class RowZones : public ::testing::Test {
  protected:
    void SetDate(DateSlot slot, int year, int month, int day) {
        DateRowFields& r = rows.Row(slot);
        r.yearText = std::to_string(year);
        r.monthIndex = month;
        r.dayIndex = day;
    }
    // A row in the zone and at the time as the chooser gives them.
    void Enter(DateSlot slot, int year, int month, int day, const char* time, const char* zone) {
        SetDate(slot, year, month, day);
        ASSERT_TRUE(rows.SetTimeAndZone(slot, time, zone));
    }
    DateRowFields& World() { return rows.Row(kWorldDate); }
    DateRows rows;
};

TEST_F(RowZones, AMinuteAndANamedZoneConvertWithTheOffsetInForceAndNameIt) {
    for (const DateSlot slot : AllDateSlots()) {
        Enter(slot, 2010, 7, 4, "14:47", "Europe/Berlin");
        EXPECT_NEAR(DaysOf(rows.InputDateToAJDate(slot)), Ut(2010, 7, 4, 12, 47), kSecond);
        EXPECT_EQ(rows.InputDateToString(slot, false),
                  "July 4, 2010, 14:47 (Europe/Berlin, GMT+2:00)");
        // The list entry of the offset in force follows the zone.
        EXPECT_EQ(rows.Row(slot).zoneIndex, kGreenwichZoneIndex + 4);
        EXPECT_EQ(rows.Row(slot).timeIndex, 14 * 2 + 1 + 1);  // 14:30, the half hour it lies in
    }
    // In winter the same zone has its standard offset; German month names.
    rows.FillMonthLists(kGerman);
    SetDate(kBirth1, 1985, 1, 15);
    EXPECT_NEAR(DaysOf(rows.InputDateToAJDate(kBirth1)), Ut(1985, 1, 15, 13, 47), kSecond);
    EXPECT_EQ(rows.InputDateToString(kBirth1, true), "15.Jan. 1985, 14:47 (Europe/Berlin, GMT+1:00)");
    EXPECT_EQ(rows.WeekdayToolTip(kBirth1), "Dienstag");
    EXPECT_DOUBLE_EQ(DaysOf(rows.LocalDayValue(kBirth1)), Day(1985, 1, 15) + (14 * 60 + 47) / 1440.0);

    // Offsets the list lacks, in whole minutes: Nepal, Chatham, Kiribati.
    Enter(kBirth2, 2000, 1, 1, "00:00", "+05:45");
    EXPECT_NEAR(DaysOf(rows.InputDateToAJDate(kBirth2)), Ut(1999, 12, 31, 18, 15), kSecond);
    EXPECT_EQ(rows.InputDateToString(kBirth2, false), "1.Januar 2000, 00:00 (GMT+5:45)");
    EXPECT_EQ(rows.Row(kBirth2).zoneIndex, 0);
    ASSERT_TRUE(rows.SetTimeAndZone(kBirth2, "", "Pacific/Chatham"));
    EXPECT_NEAR(DaysOf(rows.InputDateToAJDate(kBirth2)), Ut(1999, 12, 31, 10, 15), kSecond);  // +13:45
    ASSERT_TRUE(rows.SetTimeAndZone(kBirth2, "", "+14:00"));
    EXPECT_NEAR(DaysOf(rows.InputDateToAJDate(kBirth2)), Ut(1999, 12, 31, 10, 0), kSecond);
}

TEST_F(RowZones, WhatTheListsHoldTakesTheirEntriesAndDropsTheExtras) {
    Enter(kWorldDate, 2010, 7, 4, "14:47", "+05:45");
    ASSERT_TRUE(World().HasExtras());
    // A half hour and a listed offset, typed as the chooser takes them.
    ASSERT_TRUE(rows.SetTimeAndZone(kWorldDate, "9:30", "GMT+1:00"));
    EXPECT_EQ(World().timeIndex, 9 * 2 + 2);
    EXPECT_EQ(World().exactMinute, -1);
    EXPECT_EQ(World().zoneIndex, kGreenwichZoneIndex + 2);
    EXPECT_FALSE(World().zone.has_value());
    // A name of a fixed offset is that offset: UTC the list's GMT, and
    // Etc/GMT-14 (the sign as POSIX has it) +14:00, which the list lacks.
    ASSERT_TRUE(rows.SetTimeAndZone(kWorldDate, "", "UTC"));
    EXPECT_EQ(World().zoneIndex, kGreenwichZoneIndex);
    EXPECT_FALSE(World().zone.has_value());
    ASSERT_TRUE(rows.SetTimeAndZone(kWorldDate, "", "Etc/GMT-14"));
    ASSERT_TRUE(World().zone.has_value());
    EXPECT_EQ(*World().zone, TimeZone::Fixed(14 * 60));
    // With nothing beyond the lists the text is the list's, as always.
    ASSERT_TRUE(rows.SetTimeAndZone(kWorldDate, "12:00", "-05:00"));
    EXPECT_FALSE(World().HasExtras());
    EXPECT_EQ(rows.InputDateToString(kWorldDate, false), "July 4, 2010, 12:00 (GMT-5:00)");
}

TEST_F(RowZones, BadTimesAndZonesAreRefusedInOneLineAndChangeNothing) {
    Enter(kWorldDate, 2010, 7, 4, "14:47", "Europe/Berlin");
    const DateRowFields before = World();
    struct Case {
        const char* time;
        const char* zone;
        int code;
        const char* says;
    };
    for (const Case& c : {Case{"25:00", "", kErrorBadTime, "25:00"},
                          Case{"12:60", "Asia/Kathmandu", kErrorBadTime, "12:60"},
                          Case{"1447", "", kErrorBadTime, "1447"},
                          Case{"10:00", "+14:30", kErrorBadZone, "+14:30"},
                          Case{"", "Mars/Olympus", kErrorBadZone, "Mars/Olympus"},
                          Case{"", "Europe/Berlin]", kErrorBadZone, "Europe/Berlin]"},
                          Case{"", "+5:4", kErrorBadZone, "+5:4"}}) {
        const Status s = rows.SetTimeAndZone(kWorldDate, c.time, c.zone);
        ASSERT_FALSE(s) << c.time << " " << c.zone;
        EXPECT_EQ(s.error().code, c.code) << c.time << " " << c.zone;
        EXPECT_NE(s.message().find(c.says), std::string::npos) << s.message();
        EXPECT_EQ(s.message().find('\n'), std::string::npos);
        EXPECT_EQ(World().exactMinute, before.exactMinute);
        EXPECT_EQ(World().timeIndex, before.timeIndex);
        EXPECT_EQ(World().zone, before.zone);
    }
}

TEST_F(RowZones, ASkippedOrDoubledTimeNeedsAChoiceOfOffset) {
    // Berlin 1980: summer time began 6 April at 02:00, ended 28 September at 03:00.
    Enter(kWorldDate, 1980, 4, 6, "02:30", "Europe/Berlin");
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kWorldDate)), kDateTimeAmbiguous);
    Result<LocalTimeMeaning> m = rows.MeaningOfRowTime(kWorldDate);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->kind, LocalTimeMeaning::Gap);
    World().fold = Fold::Earlier;
    EXPECT_NEAR(DaysOf(rows.InputDateToAJDate(kWorldDate)), Ut(1980, 4, 6, 0, 30), kSecond);
    World().fold = Fold::Later;
    EXPECT_NEAR(DaysOf(rows.InputDateToAJDate(kWorldDate)), Ut(1980, 4, 6, 1, 30), kSecond);
    EXPECT_EQ(rows.InputDateToString(kWorldDate, false),
              "April 6, 1980, 02:30 (Europe/Berlin, GMT+1:00)");

    // A new time forgets the choice.
    SetDate(kWorldDate, 1980, 9, 28);
    ASSERT_TRUE(rows.SetTimeAndZone(kWorldDate, "02:30", ""));
    EXPECT_EQ(World().fold, Fold::Ask);
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kWorldDate)), kDateTimeAmbiguous);
    EXPECT_EQ(rows.InputDateToString(kWorldDate, false),
              "September 28, 1980, 02:30 (Europe/Berlin)");
    m = rows.MeaningOfRowTime(kWorldDate);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->kind, LocalTimeMeaning::Overlap);
    World().fold = Fold::Later;
    EXPECT_NEAR(DaysOf(rows.InputDateToAJDate(kWorldDate)), Ut(1980, 9, 28, 1, 30), kSecond);

    // The southern hemisphere: Sydney's clocks went back on 5 April 2020.
    Enter(kBirth1, 2020, 4, 5, "02:30", "Australia/Sydney");
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kBirth1)), kDateTimeAmbiguous);
    rows.Row(kBirth1).fold = Fold::Earlier;
    EXPECT_NEAR(DaysOf(rows.InputDateToAJDate(kBirth1)), Ut(2020, 4, 4, 15, 30), kSecond);  // +11:00
}

TEST_F(RowZones, DaySteppingKeepsTheClockTimeAcrossDaylightSaving) {
    Enter(kWorldDate, 2010, 3, 27, "14:47", "Europe/Berlin");
    const double before = DaysOf(rows.InputDateToAJDate(kWorldDate));
    StepOutcome s = StepWorldDate(rows, kStepDay, kStepForward);
    ASSERT_TRUE(s.accepted());
    EXPECT_EQ(World().dayIndex, 28);
    EXPECT_EQ(World().exactMinute, 14 * 60 + 47);
    // The night was an hour short.
    EXPECT_NEAR(DaysOf(s.julianDate) - before, 23.0 / 24, kSecond);
    EXPECT_EQ(rows.InputDateToString(kWorldDate, false),
              "March 28, 2010, 14:47 (Europe/Berlin, GMT+2:00)");
    s = StepWorldDate(rows, kStepDay, kStepBack);
    ASSERT_TRUE(s.accepted());
    EXPECT_NEAR(DaysOf(s.julianDate), before, kSecond);

    // Half an hour of a minute time keeps its minute within the half hour.
    s = StepWorldDate(rows, kStepHalfHour, kStepForward);
    EXPECT_EQ(World().exactMinute, 15 * 60 + 17);
    EXPECT_NEAR(DaysOf(s.julianDate) - before, 1.0 / 48, kSecond);

    // A day onto a skipped time takes the offset in force before the change
    // without asking; the next day is an ordinary day again.
    Enter(kWorldDate, 2010, 3, 27, "02:30", "Europe/Berlin");
    s = StepWorldDate(rows, kStepDay, kStepForward);
    ASSERT_TRUE(s.accepted());
    EXPECT_EQ(World().fold, Fold::Later);
    EXPECT_NEAR(DaysOf(s.julianDate), Ut(2010, 3, 28, 1, 30), kSecond);
    s = StepWorldDate(rows, kStepDay, kStepForward);
    EXPECT_EQ(World().fold, Fold::Ask);
    EXPECT_NEAR(DaysOf(s.julianDate), Ut(2010, 3, 29, 0, 30), kSecond);
}

TEST_F(RowZones, HalfHourSteppingGoesOnEvenlyThroughTheChangeInAZoneOfTheRow) {
    // 31 October 2010, Berlin: 03:00 summer time became 02:00 winter time.
    Enter(kWorldDate, 2010, 10, 31, "01:30", "Europe/Berlin");
    const char* clock[] = {"02:00", "02:30", "02:00", "02:30", "03:00"};
    double jd = DaysOf(rows.InputDateToAJDate(kWorldDate));
    for (const char* expected : clock) {
        const StepOutcome s = StepWorldDate(rows, kStepHalfHour, kStepForward);
        ASSERT_TRUE(s.accepted()) << expected;
        EXPECT_NEAR(DaysOf(s.julianDate) - jd, 1.0 / 48, kSecond) << expected;
        jd = DaysOf(s.julianDate);
        EXPECT_EQ(rows.TimeList()[static_cast<size_t>(World().timeIndex)], expected);
    }
    // Back again through both halves of the doubled hour.
    for (int k = 0; k < 5; ++k) {
        const StepOutcome s = StepWorldDate(rows, kStepHalfHour, kStepBack);
        ASSERT_TRUE(s.accepted());
        EXPECT_NEAR(jd - DaysOf(s.julianDate), 1.0 / 48, kSecond);
        jd = DaysOf(s.julianDate);
    }
    EXPECT_NEAR(jd, Ut(2010, 10, 30, 23, 30), kSecond);
    // A refused step puts the whole row back.
    Enter(kWorldDate, 2799, 12, 31, "23:47", "Asia/Kathmandu");
    const DateRowFields last = World();
    EXPECT_FALSE(StepWorldDate(rows, kStepDay, kStepForward).accepted());
    EXPECT_EQ(World().dayIndex, last.dayIndex);
    EXPECT_EQ(World().exactMinute, last.exactMinute);
}

TEST_F(RowZones, AZoneTheListLacksStillLetsTheRowStep) {
    // Kathmandu's +5:45 has no list entry, so the zone list shows none; the
    // row's own zone is its value all the same.
    Enter(kWorldDate, 2026, 3, 20, "12:00", "Asia/Kathmandu");
    ASSERT_EQ(World().zoneIndex, 0);
    EXPECT_TRUE(SteppingEnabled(World(), Mode::World, false, false));
    DateRowFields empty = World();
    empty.zone.reset();
    EXPECT_FALSE(SteppingEnabled(empty, Mode::World, false, false));
}

TEST_F(RowZones, HalfHourSteppingOutOfLocalMeanTimeLandsOnTheNearestMinute) {
    // Berlin left local mean time (+0:53:28) for +1:00 at 1893-04-01 00:00.
    // Half an hour from 23:30 LMT is 00:06:32 CET, which a row cannot hold:
    // the step takes 00:07, 28 s late, not 00:06, 32 s early.
    Enter(kWorldDate, 1893, 3, 31, "23:30", "Europe/Berlin");
    const double before = DaysOf(rows.InputDateToAJDate(kWorldDate));
    const StepOutcome s = StepWorldDate(rows, kStepHalfHour, kStepForward);
    ASSERT_TRUE(s.accepted());
    EXPECT_EQ(World().dayIndex, 1);
    EXPECT_EQ(World().exactMinute, 7);
    EXPECT_NEAR(DaysOf(s.julianDate) - before, 1.0 / 48 + 28 * kSecond, 0.5 * kSecond);
    // From there on the steps are whole half hours again.
    const StepOutcome next = StepWorldDate(rows, kStepHalfHour, kStepForward);
    EXPECT_NEAR(DaysOf(next.julianDate) - DaysOf(s.julianDate), 1.0 / 48, 0.5 * kSecond);
    EXPECT_EQ(World().exactMinute, 37);
}

TEST_F(RowZones, NowNamesTheComputersZoneUnlessItIsAFixedOffset) {
    const Clock clock = [] {
        ClockReading r;
        r.year = 2024;
        r.month = 7;
        r.day = 1;
        r.hour = 14;
        r.minute = 10;
        r.zoneSecondsWest = -7200;
        return r;
    };
    rows.SetLocalZone(120);
    rows.SetLocalZoneName("Europe/Berlin");
    rows.SetWorldDateToNow(clock);
    ASSERT_TRUE(World().zone.has_value());
    EXPECT_EQ(World().zone->name, "Europe/Berlin");
    EXPECT_EQ(rows.InputDateToString(kWorldDate, false),
              "July 1, 2024, 14:00 (Europe/Berlin, GMT+2:00)");
    rows.SetLocalZone(0);
    for (const char* fixed : {"UTC", "Etc/UTC", ""}) {
        rows.SetLocalZoneName(fixed);
        rows.SetWorldDateToNow(clock);
        EXPECT_FALSE(World().zone.has_value()) << fixed;
        EXPECT_EQ(World().zoneIndex, kGreenwichZoneIndex) << fixed;
    }
}

TEST_F(RowZones, TheReportsWalkTheLocalDaysOfTheWorldDatesNamedZone) {
    Enter(kWorldDate, 2010, 7, 4, "14:47", "America/New_York");
    const ReportDates d = ReportDatesFrom(rows, Mode::World);
    EXPECT_EQ(d.worldNamedZone, TimeZone::Named("America/New_York"));
    EXPECT_EQ(d.worldZoneMinutes, -240);
    EXPECT_EQ(d.worldDateText, "July 4, 2010, 14:47 (America/New_York, GMT-4:00)");
    // An offset of its own is no named zone, but its offset counts.
    ASSERT_TRUE(rows.SetTimeAndZone(kWorldDate, "", "+05:45"));
    const ReportDates fixed = ReportDatesFrom(rows, Mode::World);
    EXPECT_FALSE(fixed.worldNamedZone.IsNamed());
    EXPECT_EQ(fixed.worldZoneMinutes, 345);
}

}  // namespace
}  // namespace vek
