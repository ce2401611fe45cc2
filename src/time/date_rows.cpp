#include "time/date_rows.h"

#include <cmath>
#include <cstdint>

#include "platform/calendar.h"

namespace vek {

namespace {

// Program texts: the slots' names and the messages of the error codes.

// An index outside its list counts as the empty entry.
int Selected(int index, int entries) {
    return index > 0 && index < entries ? index : 0;
}

std::string TwoDigits(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

// North American names shown instead of the GMT texts of these entries.
struct NorthAmericanName {
    int index;
    const char* text;
};
constexpr NorthAmericanName kNorthAmericanNames[] = {
    {19, "NDT"},     {18, "ADT"},     {17, "NST"},     {16, "AST/EDT"},  {14, "EST/CDT"},
    {12, "CST/MDT"}, {10, "MST/PDT"}, {8, "PST/AKDT"}, {6, "AKST/HADT"}, {4, "HAST"}};

}  // namespace

std::vector<std::string> MonthListEntries(Language language) {
    std::vector<std::string> list{""};
    for (int m = 1; m <= 12; ++m) list.push_back(MonthName(m, language));
    return list;
}

std::vector<std::string> DayListEntries() {
    std::vector<std::string> list{""};
    for (int d = 1; d < kDayEntries; ++d) list.push_back(std::to_string(d));
    return list;
}

std::vector<std::string> TimeListEntries() {
    std::vector<std::string> list{""};
    for (int k = 1; k < kTimeEntries; ++k) {
        int minutes = (k - 1) * 30;
        list.push_back(TwoDigits(minutes / 60) + (minutes % 60 ? ":30" : ":00"));
    }
    return list;
}

std::vector<ZoneEntry> ZoneListEntries(bool northAmericanNames) {
    std::vector<ZoneEntry> list{{"", 0}};
    for (int h = 11; h >= 0; --h) {
        list.push_back({"GMT-" + std::to_string(h) + ":30", 0});
        list.push_back({h > 0 ? "GMT-" + std::to_string(h) + ":00" : "GMT", 0});
    }
    for (int h = 0; h <= 11; ++h) {
        if (h > 0) list.push_back({"GMT+" + std::to_string(h) + ":00", 0});
        list.push_back({"GMT+" + std::to_string(h) + ":30", 0});
    }
    const int count = static_cast<int>(list.size());
    for (int i = 1; i < count; ++i) list[i].minutesEast = (i - count / 2) * 30;
    if (northAmericanNames) {
        for (const NorthAmericanName& n : kNorthAmericanNames) list[n.index].text = n.text;
    }
    return list;
}

std::string DigitsOnly(std::string_view text) {
    std::string digits;
    for (char c : text) {
        if (c >= '0' && c <= '9') digits.push_back(c);
    }
    return digits;
}

int YearValue(std::string_view digits) {
    long long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') continue;
        value = value * 10 + (c - '0');
        if (value >= kYearValueTooLarge) return kYearValueTooLarge;
    }
    return static_cast<int>(value);
}

int DefaultZoneIndexFor(const std::vector<ZoneEntry>& zones, int offset) {
    for (size_t i = 1; i < zones.size(); ++i) {
        if (zones[i].minutesEast == offset) return static_cast<int>(i);
    }
    return 0;
}

DateRows::DateRows() {
    FillDateLists(kEnglish);
    SetUpTimezoneComboBoxes(false, false);
    SetLocalZone(0);
}

void DateRows::FillDateLists(vek::Language language) {
    days_ = DayListEntries();
    times_ = TimeListEntries();
    for (DateRowFields& r : rows_.values) {
        r.monthIndex = 0;
        r.dayIndex = 0;
        r.timeIndex = 0;
        r.yearText.clear();
    }
    FillMonthLists(language);
}

void DateRows::FillMonthLists(vek::Language language) {
    language_ = language;
    months_ = MonthListEntries(language);
    for (DateRowFields& r : rows_.values) {
        if (r.monthIndex < 0) r.monthIndex = 0;
    }
}

void DateRows::SetUpTimezoneComboBoxes(bool preserve, bool northAmericanNames) {
    SlotArray<int> kept{};
    for (const DateSlot s : AllDateSlots()) {
        kept[s] = preserve ? Selected(rows_[s].zoneIndex, kZoneEntries) : 0;
    }
    zones_ = ZoneListEntries(northAmericanNames);
    northAmerican_ = northAmericanNames;
    for (const DateSlot s : AllDateSlots()) rows_[s].zoneIndex = kept[s];
}

void DateRows::SetLocalZone(int localZoneMinutes) {
    localZoneOffset_ = platform::zone_as_listed(localZoneMinutes);
    defaultZoneIndex_ = DefaultZoneIndexFor(zones_, localZoneOffset_);
}

double DateRows::LocalDayValue(DateSlot slot) {
    DateRowFields& r = rows_[slot];
    r.yearText = DigitsOnly(r.yearText);
    const int month = Selected(r.monthIndex, kMonthEntries);
    const int day = Selected(r.dayIndex, kDayEntries);
    if (r.yearText.empty() || day == 0 || month == 0) return kDateIncomplete;
    const int year = YearValue(r.yearText);
    if (year < kFirstYear) return kDateTooEarly;
    if (year > kLastYear) return kDateTooLate;

    CalendarDate date;
    date.year = year;
    date.month = month;
    date.day = day;
    date.calendar = 'G';
    const int32_t n = DateToDayNumber(date);
    if (!date.valid) return kDateInvalid;
    if (n < kFirstDayNumber) return kDateTooEarly;
    if (n > kLastDayNumber) return kDateTooLate;

    if (Selected(r.timeIndex, kTimeEntries) == 0) r.timeIndex = kNoonTimeIndex;
    return n + (r.timeIndex - 1) * 30 / 1440.0;
}

double DateRows::InputDateToAJDate(DateSlot slot) {
    const double t = LocalDayValue(slot);
    if (t < 0) return t;
    DateRowFields& r = rows_[slot];
    if (Selected(r.zoneIndex, kZoneEntries) == 0 && defaultZoneIndex_ > 0 &&
        defaultZoneIndex_ < kZoneEntries) {
        r.zoneIndex = defaultZoneIndex_;
    }
    const int zone = Selected(r.zoneIndex, kZoneEntries);
    const int offset = zone > 0 ? zones_[zone].minutesEast : 0;
    // Whole minutes since the Julian date's epoch first and one division
    // last: the same instant gives the same Julian date in every zone.
    const int64_t day = static_cast<int64_t>(std::floor(t));
    const int64_t minutes =
        day * 1440 - 720 + (Selected(r.timeIndex, kTimeEntries) - 1) * 30 - offset;
    return static_cast<double>(minutes) / 1440.0;
}

const std::string& DateRows::ZoneText(int index) const {
    return zones_[Selected(index, kZoneEntries)].text;
}

std::string DateRows::InputDateToString(DateSlot slot, bool abbreviated) {
    const double v = LocalDayValue(slot);
    if (v < 0) return "";
    const DateRowFields& r = rows_[slot];
    return DateText(static_cast<int32_t>(std::floor(v)), abbreviated, language_) + ", " +
           times_[Selected(r.timeIndex, kTimeEntries)] + " (" + ZoneText(r.zoneIndex) + ")";
}

std::string DateRows::WeekdayToolTip(DateSlot slot) {
    const double v = LocalDayValue(slot);
    if (v <= 0) return "";
    return WeekdayName(static_cast<int32_t>(std::floor(v)), language_);
}

bool DateRows::HasAnyValue(DateSlot slot) const {
    const DateRowFields& r = rows_[slot];
    return r.monthIndex > 0 || r.dayIndex > 0 || !r.yearText.empty() || r.timeIndex > 0 ||
           r.zoneIndex > 0;
}

void DateRows::SetWorldDateToNow(const Clock& clock) {
    double v = CurrentJulianDate(clock) + 0.5 + localZoneOffset_ / 1440.0;
    RoundToHalfHour(v);
    const double day = std::floor(v);
    if (!(std::fabs(day) < 2.0e9)) return;  // a broken clock reading: leave the row

    CalendarDate date;
    date.dayNumber = static_cast<int32_t>(day);
    DayNumberToDate(date);
    DateRowFields& r = rows_[kWorldDate];
    r.monthIndex = date.month;
    r.dayIndex = date.day;
    r.yearText = std::to_string(date.year);

    // The time entry from the rounded time's text, as the list shows it.
    const std::string hm = TimeText(v - day, false);
    const int hours = (hm[0] - '0') * 10 + (hm[1] - '0');
    r.timeIndex = hours * 2 + 1 + (hm.compare(3, 2, "30") == 0 ? 1 : 0);
    r.zoneIndex = defaultZoneIndex_;
}

}  // namespace vek
