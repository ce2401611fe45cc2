#include "time/date_rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <type_traits>

#include "../date_answers.h"

namespace vek {
namespace {

using testing::CodeOf;
using testing::DaysOf;

// A row as a user would fill it: month, day, year text, time index and zone index.
void Fill(DateRows& rows, DateSlot slot, int month, int day, const std::string& year, int time = 0,
          int zone = 0) {
    DateRowFields& r = rows.Row(slot);
    r.monthIndex = month;
    r.dayIndex = day;
    r.yearText = year;
    r.timeIndex = time;
    r.zoneIndex = zone;
}

int TimeIndexOf(int hour, int minute) {
    return hour * 2 + minute / 30 + 1;
}
int ZoneIndexOf(int minutesEast) {
    return minutesEast / 30 + kGreenwichZoneIndex;
}

TEST(DateLists, MonthDayAndTimeEntries) {
    DateRows rows;
    rows.FillDateLists(kGerman);
    ASSERT_EQ(rows.MonthList().size(), 13u);
    EXPECT_EQ(rows.MonthList()[0], "");
    EXPECT_EQ(rows.MonthList()[3], "März");
    rows.FillMonthLists(kEnglish);
    EXPECT_EQ(rows.MonthList()[3], "March");
    ASSERT_EQ(rows.DayList().size(), 32u);
    EXPECT_EQ(rows.DayList()[1], "1");
    EXPECT_EQ(rows.DayList()[31], "31");
    ASSERT_EQ(rows.TimeList().size(), 49u);
    EXPECT_EQ(rows.TimeList()[0], "");
    EXPECT_EQ(rows.TimeList()[1], "00:00");
    EXPECT_EQ(rows.TimeList()[2], "00:30");
    EXPECT_EQ(rows.TimeList()[kNoonTimeIndex], "12:00");
    EXPECT_EQ(rows.TimeList()[48], "23:30");
}

TEST(DateLists, LanguageChangeKeepsTheMonth) {
    DateRows rows;
    rows.Row(kWorldDate).monthIndex = 10;
    rows.Row(kBirth1).monthIndex = -1;
    rows.FillMonthLists(kGerman);
    EXPECT_EQ(rows.Row(kWorldDate).monthIndex, 10);
    EXPECT_EQ(rows.Row(kBirth1).monthIndex, 0);
    EXPECT_EQ(rows.MonthList()[10], "Oktober");
}

TEST(ZoneList, GmtTextsAndValues) {
    std::vector<ZoneEntry> z = ZoneListEntries(false);
    ASSERT_EQ(z.size(), 48u);
    EXPECT_EQ(z[0].text, "");
    EXPECT_EQ(z[1].text, "GMT-11:30");
    EXPECT_EQ(z[2].text, "GMT-11:00");
    EXPECT_EQ(z[14].text, "GMT-5:00");
    EXPECT_EQ(z[23].text, "GMT-0:30");
    EXPECT_EQ(z[24].text, "GMT");
    EXPECT_EQ(z[25].text, "GMT+0:30");
    EXPECT_EQ(z[26].text, "GMT+1:00");
    EXPECT_EQ(z[35].text, "GMT+5:30");
    EXPECT_EQ(z[47].text, "GMT+11:30");
    for (int i = 1; i < 48; ++i) {
        EXPECT_EQ(z[i].minutesEast, (i - 24) * 30) << i;
        EXPECT_EQ(z[i].text.substr(0, 3), "GMT") << i;
    }
}

TEST(ZoneList, NorthAmericanNamesReplaceTenTextsOnly) {
    std::vector<ZoneEntry> gmt = ZoneListEntries(false);
    std::vector<ZoneEntry> na = ZoneListEntries(true);
    ASSERT_EQ(na.size(), gmt.size());
    const std::pair<int, const char*> names[] = {
        {4, "HAST"},     {6, "AKST/HADT"}, {8, "PST/AKDT"}, {10, "MST/PDT"}, {12, "CST/MDT"},
        {14, "EST/CDT"}, {16, "AST/EDT"},  {17, "NST"},     {18, "ADT"},     {19, "NDT"}};
    int replaced = 0;
    for (size_t i = 0; i < na.size(); ++i) {
        EXPECT_EQ(na[i].minutesEast, gmt[i].minutesEast) << i;
        if (na[i].text != gmt[i].text) ++replaced;
    }
    EXPECT_EQ(replaced, 10);
    for (const auto& [index, text] : names) EXPECT_EQ(na[index].text, text);
    EXPECT_EQ(na[17].minutesEast, -210);
    EXPECT_EQ(na[4].minutesEast, -600);
}

TEST(ZoneList, RebuildKeepsEachSelectionWhenAsked) {
    DateRows rows;
    rows.Row(kWorldDate).zoneIndex = 14;
    rows.Row(kBirth1).zoneIndex = 35;
    rows.Row(kBirth2).zoneIndex = 0;
    rows.SetUpTimezoneComboBoxes(true, true);
    EXPECT_TRUE(rows.NorthAmericanNames());
    EXPECT_EQ(rows.Row(kWorldDate).zoneIndex, 14);
    EXPECT_EQ(rows.ZoneList()[rows.Row(kWorldDate).zoneIndex].text, "EST/CDT");
    EXPECT_EQ(rows.ZoneList()[rows.Row(kWorldDate).zoneIndex].minutesEast, -300);
    EXPECT_EQ(rows.Row(kBirth1).zoneIndex, 35);
    EXPECT_EQ(rows.Row(kBirth2).zoneIndex, 0);
    rows.SetUpTimezoneComboBoxes(true, false);
    EXPECT_EQ(rows.ZoneList()[rows.Row(kWorldDate).zoneIndex].text, "GMT-5:00");
    rows.SetUpTimezoneComboBoxes(false, false);
    for (DateSlot s : AllDateSlots()) EXPECT_EQ(rows.Row(s).zoneIndex, 0);
}

TEST(ZoneList, DefaultZoneOfTheComputer) {
    DateRows rows;
    rows.SetLocalZone(60);
    EXPECT_EQ(rows.DefaultZoneIndex(), 26);
    rows.SetLocalZone(0);
    EXPECT_EQ(rows.DefaultZoneIndex(), 24);  // Greenwich, not the empty entry
    rows.SetLocalZone(345);                  // Nepal shows as +5:30
    EXPECT_EQ(rows.LocalZoneOffset(), 330);
    EXPECT_EQ(rows.DefaultZoneIndex(), 35);
    rows.SetLocalZone(-210);
    EXPECT_EQ(rows.DefaultZoneIndex(), 17);
    rows.SetLocalZone(525);  // +8:45 has no entry
    EXPECT_EQ(rows.DefaultZoneIndex(), 0);
    rows.SetLocalZone(780);  // +13:00 lies beyond the list
    EXPECT_EQ(rows.DefaultZoneIndex(), 0);
}

TEST(InputDate, ErrorCodes) {
    DateRows rows;
    Fill(rows, kWorldDate, 2, 29, "2011");
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kWorldDate)), kDateInvalid);
    Fill(rows, kWorldDate, 2, 29, "2012");
    EXPECT_GT(DaysOf(rows.InputDateToAJDate(kWorldDate)), 0);
    Fill(rows, kWorldDate, 4, 31, "2012");
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kWorldDate)), kDateInvalid);
    Fill(rows, kWorldDate, 0, 1, "2012");
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kWorldDate)), kDateIncomplete);
    Fill(rows, kWorldDate, 1, 0, "2012");
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kWorldDate)), kDateIncomplete);
    Fill(rows, kWorldDate, 1, 1, "");
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kWorldDate)), kDateIncomplete);
    Fill(rows, kWorldDate, 1, 1, "year");  // all letters: empty after reduction
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kWorldDate)), kDateIncomplete);
    EXPECT_EQ(rows.Row(kWorldDate).yearText, "");
    Fill(rows, kWorldDate, 1, 1, "0");
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kWorldDate)), kDateTooEarly);
    Fill(rows, kWorldDate, 1, 1, "1", 1, kGreenwichZoneIndex);  // the first day accepted, 0 h UT
    EXPECT_EQ(DaysOf(rows.InputDateToAJDate(kWorldDate)), kFirstDayNumber - 0.5);
    Fill(rows, kWorldDate, 1, 1, "0001", 1, kGreenwichZoneIndex);
    EXPECT_EQ(DaysOf(rows.InputDateToAJDate(kWorldDate)), kFirstDayNumber - 0.5);
    Fill(rows, kWorldDate, 12, 31, "2799");
    EXPECT_GT(DaysOf(rows.InputDateToAJDate(kWorldDate)), 0);
    Fill(rows, kWorldDate, 1, 1, "2800");
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kWorldDate)), kDateTooLate);
    // Indices no list has (a damaged state file) count as no choice.
    Fill(rows, kWorldDate, 13, 1, "2000");
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kWorldDate)), kDateIncomplete);
    Fill(rows, kWorldDate, 1, 32, "2000");
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kWorldDate)), kDateIncomplete);
    Fill(rows, kWorldDate, -1, 1, "2000");
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kWorldDate)), kDateIncomplete);
    // A slot number outside 0..2 names no row and cannot be asked for.
    EXPECT_EQ(DateSlotFromIndex(3), std::nullopt);
    static_assert(!std::is_invocable_v<decltype(&DateRows::InputDateToAJDate), DateRows&, int>);
}

// A refused row answers a failure rather than a date: each reason keeps its
// code and has a message of its own, and the local day value fails alike.
TEST(InputDate, RefusalsAreFailuresWithTheirReason) {
    DateRows rows;
    struct Case {
        int month, day;
        const char* year;
        int code;
    };
    std::set<std::string> messages;
    for (const Case& c : {Case{2, 29, "2011", kDateInvalid}, Case{0, 1, "2012", kDateIncomplete},
                          Case{1, 1, "0", kDateTooEarly}, Case{1, 1, "2800", kDateTooLate}}) {
        Fill(rows, kWorldDate, c.month, c.day, c.year);
        const Result<JulianDate> jd = rows.InputDateToAJDate(kWorldDate);
        ASSERT_FALSE(jd.ok()) << c.year;
        EXPECT_EQ(jd.error().code, c.code) << c.year;
        const Result<double> local = rows.LocalDayValue(kWorldDate);
        ASSERT_FALSE(local.ok()) << c.year;
        EXPECT_EQ(local.error().code, c.code) << c.year;
        messages.insert(jd.message());
    }
    messages.insert(DateRowError(kDateTimeAmbiguous).message);
    messages.insert(DateRowError(kDateZoneUnknown).message);
    EXPECT_EQ(messages.size(), 6u);
    EXPECT_EQ(messages.count(""), 0u);
    Fill(rows, kWorldDate, 2, 29, "2012");
    const Result<JulianDate> leap = rows.InputDateToAJDate(kWorldDate);
    ASSERT_TRUE(leap.ok());
}

TEST(InputDate, LongYearTextsAreTooLateWithoutOverflow) {
    DateRows rows;
    Fill(rows, kBirth1, 1, 1, std::string(30, '9'));
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kBirth1)), kDateTooLate);
    Fill(rows, kBirth1, 1, 1, "123456789012345678901234567890");
    EXPECT_EQ(CodeOf(rows.LocalDayValue(kBirth1)), kDateTooLate);
    Fill(rows, kBirth1, 1, 1, "4294969306");  // 2010 + 2^32
    EXPECT_EQ(CodeOf(rows.InputDateToAJDate(kBirth1)), kDateTooLate);
    // Leading zeros do not count.
    Fill(rows, kBirth1, 1, 1, std::string(26, '0') + "2010");
    EXPECT_GT(DaysOf(rows.InputDateToAJDate(kBirth1)), 0);
}

TEST(InputDate, YearTextIsReducedToDigits) {
    DateRows rows;
    Fill(rows, kBirth2, 7, 4, "20a1x0", TimeIndexOf(12, 0), ZoneIndexOf(0));
    EXPECT_DOUBLE_EQ(DaysOf(rows.InputDateToAJDate(kBirth2)), 2455382.0);
    EXPECT_EQ(rows.Row(kBirth2).yearText, "2010");
    Fill(rows, kBirth2, 7, 4, "-2010", TimeIndexOf(12, 0), ZoneIndexOf(0));
    EXPECT_DOUBLE_EQ(DaysOf(rows.InputDateToAJDate(kBirth2)), 2455382.0);
}

TEST(InputDate, TimeAndZone) {
    DateRows rows;
    Fill(rows, kWorldDate, 1, 1, "2000", TimeIndexOf(0, 0), ZoneIndexOf(60));
    EXPECT_EQ(rows.ZoneList()[rows.Row(kWorldDate).zoneIndex].text, "GMT+1:00");
    EXPECT_NEAR(DaysOf(rows.InputDateToAJDate(kWorldDate)), 2451545 - 0.5 - 1.0 / 24, 1e-9);
    Fill(rows, kWorldDate, 7, 4, "2010", TimeIndexOf(23, 30), ZoneIndexOf(-300));
    EXPECT_NEAR(DaysOf(rows.InputDateToAJDate(kWorldDate)), 2455382 - 0.5 + 23.5 / 24 + 5.0 / 24, 1e-9);
}

// Written in any zone of the list, one instant is one Julian date, bit for
// bit: 1881 September 3, 23:30 UT is 18:30 at GMT-5:00 and 10:00 on the 4th
// at GMT+10:30. The dates around it cover every half hour of a day.
TEST(InputDate, OneInstantOneJulianDateInEveryZone) {
    DateRows rows;
    const int64_t firstUt = (int64_t{2408327} * 1440 - 720) - 2 * 1440;  // 1881-09-01 0 h UT
    for (int64_t ut = firstUt; ut < firstUt + 4 * 1440; ut += 30) {
        const double expected = static_cast<double>(ut) / 1440.0;
        for (int zone = 1; zone < kZoneEntries; ++zone) {
            const int east = rows.ZoneList()[zone].minutesEast;
            const int64_t local = ut + 720 + east;  // minutes since day number 0, 0 h
            CalendarDate d;
            d.dayNumber = static_cast<int32_t>(local / 1440);
            DayNumberToDate(d);
            Fill(rows, kWorldDate, d.month, d.day, std::to_string(d.year),
                 static_cast<int>(local % 1440) / 30 + 1, zone);
            ASSERT_EQ(DaysOf(rows.InputDateToAJDate(kWorldDate)), expected) << ut << " " << east;
        }
    }
}

TEST(InputDate, EmptyTimeBecomesNoonAndEmptyZoneTheDefault) {
    DateRows rows;
    rows.SetLocalZone(120);
    Fill(rows, kBirth1, 7, 4, "2010");
    EXPECT_NEAR(DaysOf(rows.LocalDayValue(kBirth1)), 2455382.5, 1e-9);
    EXPECT_EQ(rows.Row(kBirth1).timeIndex, kNoonTimeIndex);
    EXPECT_EQ(rows.Row(kBirth1).zoneIndex, 0);  // the local day value leaves the zone alone
    EXPECT_NEAR(DaysOf(rows.InputDateToAJDate(kBirth1)), 2455382.0 - 2.0 / 24, 1e-9);
    EXPECT_EQ(rows.Row(kBirth1).zoneIndex, ZoneIndexOf(120));
    // A computer zone without an entry leaves the zone empty, counted as 0.
    rows.SetLocalZone(525);
    Fill(rows, kBirth1, 7, 4, "2010");
    EXPECT_NEAR(DaysOf(rows.InputDateToAJDate(kBirth1)), 2455382.0, 1e-9);
    EXPECT_EQ(rows.Row(kBirth1).zoneIndex, 0);
}

TEST(InputDate, DisplayTexts) {
    DateRows rows;
    Fill(rows, kWorldDate, 7, 4, "2010", TimeIndexOf(12, 0), ZoneIndexOf(-300));
    EXPECT_EQ(rows.InputDateToString(kWorldDate, false), "July 4, 2010, 12:00 (GMT-5:00)");
    rows.SetUpTimezoneComboBoxes(true, true);
    EXPECT_EQ(rows.InputDateToString(kWorldDate, false), "July 4, 2010, 12:00 (EST/CDT)");
    rows.Row(kWorldDate).monthIndex = 10;
    rows.Row(kWorldDate).timeIndex = TimeIndexOf(9, 30);
    rows.FillMonthLists(kGerman);
    EXPECT_EQ(rows.InputDateToString(kWorldDate, true), "4.Okt. 2010, 09:30 (EST/CDT)");
    EXPECT_EQ(rows.WeekdayToolTip(kWorldDate), "Montag");
    rows.Row(kWorldDate).dayIndex = 0;
    EXPECT_EQ(rows.InputDateToString(kWorldDate, true), "");
    EXPECT_EQ(rows.WeekdayToolTip(kWorldDate), "");
}

// A clock that always reads the given local time in the given zone.
Clock FixedClock(int y, int mo, int d, int h, int mi, int s, int minutesEast) {
    return [=]() { return ClockReading{y, mo, d, h, mi, s, -minutesEast * 60}; };
}

std::string WorldRow(DateRows& rows) {
    const DateRowFields& r = rows.Row(kWorldDate);
    return r.yearText + "-" + std::to_string(r.monthIndex) + "-" + std::to_string(r.dayIndex) +
           " " + rows.TimeList()[r.timeIndex] + " " + rows.ZoneList()[r.zoneIndex].text;
}

TEST(Now, RoundsToTheHalfHour) {
    DateRows rows;
    rows.SetLocalZone(-300);
    rows.SetWorldDateToNow(FixedClock(2010, 7, 4, 14, 15, 0, -300));
    EXPECT_EQ(WorldRow(rows), "2010-7-4 14:00 GMT-5:00");
    rows.SetWorldDateToNow(FixedClock(2010, 7, 4, 14, 16, 0, -300));
    EXPECT_EQ(WorldRow(rows), "2010-7-4 14:30 GMT-5:00");
    rows.SetWorldDateToNow(FixedClock(2010, 12, 31, 23, 50, 0, -300));
    EXPECT_EQ(WorldRow(rows), "2011-1-1 00:00 GMT-5:00");
    rows.SetWorldDateToNow(FixedClock(2010, 7, 4, 0, 0, 0, -300));
    EXPECT_EQ(WorldRow(rows), "2010-7-4 00:00 GMT-5:00");
}

// The row "Now" writes converts back to the clock's instant, to within the
// quarter hour of rounding, also where the zone list lacks the exact offset.
TEST(Now, RowConvertsBackToTheInstant) {
    const int zones[] = {0, -300, 60, 345, 330, -690};
    for (int zone : zones) {
        DateRows rows;
        rows.SetLocalZone(zone);
        Clock clock = FixedClock(2012, 2, 29, 23, 41, 7, zone);
        rows.SetWorldDateToNow(clock);
        EXPECT_NEAR(DaysOf(rows.InputDateToAJDate(kWorldDate)), CurrentJulianDate(clock), 15.0 / 1440 + 1e-9)
            << zone;
    }
}

}  // namespace
}  // namespace vek
