// The three date rows of the main window (World date, 1st birthdate, 2nd
// birthdate) as a model: the contents of their month, day, time and zone
// lists, the state of each row's five controls, and the conversions of a row
// into a Julian date, a local day value or a display text.
//
// The window binds its combo boxes and year boxes to this model: it shows the
// lists below and reads and writes Row(slot). Some conversions change a row
// as a user would see it (an empty time becomes 12:00, an empty zone the
// computer's zone, the year text loses everything but its digits); the window
// shows the row again after calling them.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/vek_types.h"
#include "time/date_row_fields.h"
#include "time/dates.h"
#include "time/zones.h"
#include "util/result.h"

namespace vek {


// Number of entries of each list, the empty entry 0 included.
inline constexpr int kMonthEntries = 13;
inline constexpr int kDayEntries = 32;
inline constexpr int kTimeEntries = 49;  // 00:00 .. 23:30
inline constexpr int kZoneEntries = 48;  // GMT-11:30 .. GMT+11:30

inline constexpr int kNoonTimeIndex = kTimeEntries / 2 + 1;   // 25: 12:00
inline constexpr int kGreenwichZoneIndex = kZoneEntries / 2;  // 24: GMT

// Why a date row gives no date: the code of the failed answer of
// InputDateToAJDate and LocalDayValue (Error::code). Each code picks its own
// message, made above this layer (DateErrorText).
inline constexpr int kDateIncomplete = -1;  // no year, month or day
inline constexpr int kDateInvalid = -2;     // day beyond the month's end
inline constexpr int kDateTooEarly = -3;    // before 1 January of year 1
inline constexpr int kDateTooLate = -4;     // year 2800 or later
// A row in a zone of the database: the clocks skipped the row's time or
// showed it twice, and no meaning has been chosen (DateRowFields::fold).
inline constexpr int kDateTimeAmbiguous = -6;
// A row in a zone of the database that the database does not give (a state
// file from a computer with another database).
inline constexpr int kDateZoneUnknown = -7;

// The failure of a row's date with one of the codes above.
Error DateRowError(int code);

// One entry of a time-zone list: its text and its offset in minutes east of
// Greenwich (the entry's item value).
struct ZoneEntry {
    std::string text;
    int minutesEast = 0;
};

// List contents. Entry 0 is always the empty entry.
std::vector<std::string> MonthListEntries(Language language);  // full month names
std::vector<std::string> DayListEntries();                // "1" .. "31"
std::vector<std::string> TimeListEntries();               // "00:00" .. "23:30"
// "GMT-11:30" .. "GMT" .. "GMT+11:30", item value (index − 24) × 30; with
// North American names ten entries read "HAST" .. "NDT" instead.
std::vector<ZoneEntry> ZoneListEntries(bool northAmericanNames);

// The decimal digits of a year text, every other character removed.
std::string DigitsOnly(std::string_view text);

// The value of a text of digits; texts too long for any accepted year
// (thirty digits, say) give kYearValueTooLarge instead of overflowing.
inline constexpr int kYearValueTooLarge = 999999999;
int YearValue(std::string_view digits);

// Index of the first zone entry (1..47) whose value is `offset`, 0 when no
// entry has it (+8:45, +13:00, ...).
int DefaultZoneIndexFor(const std::vector<ZoneEntry>& zones, int offset);

// What SetTimeAndZone found wrong, as the code of its failure.
inline constexpr int kErrorBadTime = 24;
inline constexpr int kErrorBadZone = 25;

// Reads a time of day to the minute, "14:47" or "9:05" (00:00 to 23:59),
// into the minute of the day. A failure names the text in one line.
Result<int> ParseMinuteTime(std::string_view text);

// The minute of the day a row holds: its exact minute, else its list
// entry's; −1 when the time is empty.
int MinuteOfDay(const DateRowFields& row);

// The list entry of an offset in seconds east, 0 when the zone list lacks
// it.
int ZoneIndexOfOffset(int32_t offsetSeconds);

// Whether the zone is an offset, or a name the database gives a single
// offset for all time ("UTC", "Etc/GMT-3"): the zone list holds such a zone
// as well.
bool IsFixedZoneName(std::string_view name);

class DateRows {
  public:
    // Lists filled in English, zones with GMT names, every row empty, and
    // the computer's zone taken as Greenwich until SetLocalZone is called.
    DateRows();

    // The row of a slot.
    DateRowFields& Row(DateSlot slot) { return rows_[slot]; }
    const DateRowFields& Row(DateSlot slot) const { return rows_[slot]; }

    const std::vector<std::string>& MonthList() const { return months_; }
    const std::vector<std::string>& DayList() const { return days_; }
    const std::vector<std::string>& TimeList() const { return times_; }
    // The zone list, identical for the three rows.
    const std::vector<ZoneEntry>& ZoneList() const { return zones_; }
    vek::Language Language() const { return language_; }
    bool NorthAmericanNames() const { return northAmerican_; }

    // Fills the month, day and time lists (months in `language`), empties
    // every row's month, day and time choice and its year text.
    void FillDateLists(vek::Language language);
    // Refills the month lists in `language`, keeping each row's month (a
    // negative index becomes 0). Date and weekday texts of this model use
    // the language given here. The window refills the stepping interval list
    // at the same time.
    void FillMonthLists(vek::Language language);
    // Rebuilds the zone lists. Without `preserve` every row's zone becomes
    // the empty entry; with it each row keeps its index (and so its value).
    void SetUpTimezoneComboBoxes(bool preserve, bool northAmericanNames);

    // Takes the computer's zone (minutes east, LocalZoneMinutes) and derives
    // LocalZoneOffset and DefaultZoneIndex from it. Call after the zone lists
    // are filled.
    void SetLocalZone(int localZoneMinutes);
    int LocalZoneOffset() const { return localZoneOffset_; }
    int DefaultZoneIndex() const { return defaultZoneIndex_; }
    // The computer's own zone name ("Europe/Berlin"), which "Now" gives the
    // World date; "" (or a name of a fixed offset) keeps the zone list's
    // entry of LocalZoneOffset.
    void SetLocalZoneName(std::string name) { localZoneName_ = std::move(name); }
    const std::string& LocalZoneName() const { return localZoneName_; }

    // Gives a row a time and a zone as typed: the time "HH:MM" to the
    // minute, the zone a name of the tz database or an offset "+HH:MM"
    // (−14:00..+14:00). A time or offset the lists hold takes their entry
    // and drops the extra; an empty text leaves that part as it was. Either
    // text failing fails the whole with a one-line message and leaves the
    // row unchanged. A new time or zone forgets an earlier choice of fold.
    Status SetTimeAndZone(DateSlot slot, std::string_view timeText, std::string_view zoneText);
    // What the row's local time means in its zone: both offsets for a time
    // the clocks skipped or showed twice. Fails for a row without a valid
    // date or zone.
    Result<LocalTimeMeaning> MeaningOfRowTime(DateSlot slot);
    // The row's zone as the report titles and the row's tool tip name it:
    // "Europe/Berlin, GMT+2:00", "GMT+5:45", or the list entry's text.
    std::string ZoneText(DateSlot slot);
    // The offset in minutes east that the row's zone has at its date (the
    // list entry's value, or the named zone's offset in force); 0 when the
    // row has no valid date or zone.
    int OffsetMinutesInForce(DateSlot slot);

    // The Julian date (UT) of a slot's entries, or the failure with the
    // reason's code (kDateIncomplete, kDateInvalid, kDateTooEarly,
    // kDateTooLate, and for a zone of the database kDateTimeAmbiguous or
    // kDateZoneUnknown). Reduces the year text to
    // its digits, sets an empty time to 12:00 and an empty zone to the
    // default zone when there is one (an empty zone otherwise counts as
    // Greenwich).
    Result<JulianDate> InputDateToAJDate(DateSlot slot);
    // The local day value (day number + time of day, no zone) of a slot, or
    // the failure with its code. Also reduces the year text and sets an empty
    // time to 12:00; never touches the zone.
    Result<double> LocalDayValue(DateSlot slot);
    // "July 4, 2010, 12:00 (GMT-5:00)", with short month names when
    // abbreviated; "" when the slot holds no valid date.
    std::string InputDateToString(DateSlot slot, bool abbreviated);
    // The weekday of the slot's date for its day list's tool tip, "" when
    // the slot holds no valid date.
    std::string WeekdayToolTip(DateSlot slot);
    // Whether any of the slot's five controls holds a value (its "Clear"
    // button is shown then).
    bool HasAnyValue(DateSlot slot) const;

    // Sets the World date to the present moment: the local date, the time
    // rounded to the half hour, and the default zone. The clock is read once.
    void SetWorldDateToNow(const Clock& clock = ReadSystemClock);

  private:
    const std::string& ListZoneText(int index) const;
    // The Julian date of the row's local day value `t` in the row's own
    // zone, or the failure with its code; keeps zoneIndex on the offset in
    // force.
    Result<JulianDate> ZonedJulianDate(DateRowFields& r, double t, int32_t* offsetSeconds);

    SlotArray<DateRowFields> rows_;
    std::vector<std::string> months_;
    std::vector<std::string> days_;
    std::vector<std::string> times_;
    std::vector<ZoneEntry> zones_;
    vek::Language language_ = kEnglish;
    bool northAmerican_ = false;
    int localZoneOffset_ = 0;
    int defaultZoneIndex_ = kGreenwichZoneIndex;
    std::string localZoneName_;
};

}  // namespace vek
