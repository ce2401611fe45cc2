#include "time/date_rows.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "platform/calendar.h"
#include "util/text.h"

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

Result<int> ParseMinuteTime(std::string_view text) {
    int hours = 0, minutes = 0;
    size_t i = 0;
    auto digits = [&](int& v, size_t most) {
        const size_t from = i;
        while (i < text.size() && i - from < most && text[i] >= '0' && text[i] <= '9')
            v = v * 10 + (text[i++] - '0');
        return i > from;
    };
    const bool read = digits(hours, 2) && i < text.size() && text[i++] == ':' &&
                      i + 2 == text.size() && digits(minutes, 2);
    std::string shown;
    for (char c : text.substr(0, 40)) shown += (c >= 0x20 && c < 0x7f) ? c : '?';
    if (!read) return Fail("the time \"" + shown + "\" is not of the form HH:MM");
    if (hours > 23 || minutes > 59)
        return Fail("the time " + shown + " is not a time of day (00:00 to 23:59)");
    return hours * 60 + minutes;
}

int MinuteOfDay(const DateRowFields& row) {
    if (row.exactMinute >= 0 && row.exactMinute < 1440) return row.exactMinute;
    return Selected(row.timeIndex, kTimeEntries) > 0 ? (row.timeIndex - 1) * 30 : -1;
}

int ZoneIndexOfOffset(int32_t offsetSeconds) {
    if (offsetSeconds % 1800 != 0) return 0;
    const int index = offsetSeconds / 1800 + kGreenwichZoneIndex;
    return index > 0 && index < kZoneEntries ? index : 0;
}

bool IsFixedZoneName(std::string_view name) {
    for (const char* fixed : {"UTC", "UCT", "GMT", "GMT0", "GMT+0", "GMT-0", "Greenwich",
                              "Universal", "Zulu", "Etc/UTC", "Etc/UCT", "Etc/Universal",
                              "Etc/Zulu", "Etc/Greenwich"}) {
        if (name == fixed) return true;
    }
    return name.rfind("Etc/GMT", 0) == 0;
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

Error DateRowError(int code) {
    const char* reason = code == kDateIncomplete ? "the date has no year, month or day"
                         : code == kDateInvalid  ? "the day lies beyond the end of its month"
                         : code == kDateTooEarly ? "the date lies before 1 January of the year 1"
                         : code == kDateTooLate  ? "the date lies in the year 2800 or later"
                         : code == kDateTimeAmbiguous
                             ? "the zone's clocks skipped or repeated the time, and no meaning is chosen"
                             : "the zone is not in this computer's time-zone database";
    return Fail(reason, code);
}

Result<double> DateRows::LocalDayValue(DateSlot slot) {
    DateRowFields& r = rows_[slot];
    r.yearText = DigitsOnly(r.yearText);
    const int month = Selected(r.monthIndex, kMonthEntries);
    const int day = Selected(r.dayIndex, kDayEntries);
    if (r.yearText.empty() || day == 0 || month == 0) return DateRowError(kDateIncomplete);
    const int year = YearValue(r.yearText);
    if (year < kFirstYear) return DateRowError(kDateTooEarly);
    if (year > kLastYear) return DateRowError(kDateTooLate);

    CalendarDate date;
    date.year = year;
    date.month = month;
    date.day = day;
    date.calendar = 'G';
    const int32_t n = DateToDayNumber(date);
    if (!date.valid) return DateRowError(kDateInvalid);
    if (n < kFirstDayNumber) return DateRowError(kDateTooEarly);
    if (n > kLastDayNumber) return DateRowError(kDateTooLate);

    if (Selected(r.timeIndex, kTimeEntries) == 0) {
        r.timeIndex = kNoonTimeIndex;
        r.exactMinute = -1;
    }
    return n + MinuteOfDay(r) / 1440.0;
}

Result<JulianDate> DateRows::ZonedJulianDate(DateRowFields& r, double t, int32_t* offsetSeconds) {
    const LocalMinute local{static_cast<int32_t>(std::floor(t)), MinuteOfDay(r)};
    const Result<ZonedInstant> instant = LocalToUniversal(local, *r.zone, r.fold);
    if (!instant) {
        const int code = instant.error().code;
        return DateRowError(code == kErrorLocalTimeSkipped || code == kErrorLocalTimeTwice
                                ? kDateTimeAmbiguous
                                : kDateZoneUnknown);
    }
    r.zoneIndex = ZoneIndexOfOffset(instant->offsetSeconds);
    if (offsetSeconds) *offsetSeconds = instant->offsetSeconds;
    return JulianDate(instant->julianDate);
}

Result<JulianDate> DateRows::InputDateToAJDate(DateSlot slot) {
    const Result<double> local = LocalDayValue(slot);
    if (!local) return local.error();
    const double t = *local;
    DateRowFields& r = rows_[slot];
    if (r.zone) return ZonedJulianDate(r, t, nullptr);
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
        day * 1440 - 720 + MinuteOfDay(r) - offset;
    return JulianDate(static_cast<double>(minutes) / 1440.0);
}

const std::string& DateRows::ListZoneText(int index) const {
    return zones_[Selected(index, kZoneEntries)].text;
}

std::string DateRows::ZoneText(DateSlot slot) {
    DateRowFields& r = rows_[slot];
    if (!r.zone) return ListZoneText(r.zoneIndex);
    const Result<double> t = LocalDayValue(slot);
    int32_t offset = 0;
    if (!t || !ZonedJulianDate(r, *t, &offset)) {
        // No offset in force to name: the zone alone.
        return r.zone->IsNamed() ? r.zone->name : OffsetText(r.zone->offsetMinutes * 60);
    }
    return ZoneLabel(*r.zone, offset);
}

int DateRows::OffsetMinutesInForce(DateSlot slot) {
    DateRowFields& r = rows_[slot];
    if (!r.zone) {
        const int zone = Selected(r.zoneIndex, kZoneEntries);
        return zone > 0 ? zones_[static_cast<size_t>(zone)].minutesEast : 0;
    }
    const Result<double> t = LocalDayValue(slot);
    int32_t offset = 0;
    if (!t || !ZonedJulianDate(r, *t, &offset)) return 0;
    // Local mean time has seconds; the searches' midnights go by minutes.
    return static_cast<int>(std::lround(offset / 60.0));
}

Result<LocalTimeMeaning> DateRows::MeaningOfRowTime(DateSlot slot) {
    const Result<double> t = LocalDayValue(slot);
    if (!t) return Fail("the row holds no valid date");
    const DateRowFields& r = rows_[slot];
    const TimeZone zone = r.zone ? *r.zone : TimeZone::Fixed(OffsetMinutesInForce(slot));
    return MeaningOfLocalTime(LocalMinute{static_cast<int32_t>(std::floor(*t)), MinuteOfDay(r)},
                              zone);
}

Status DateRows::SetTimeAndZone(DateSlot slot, std::string_view timeText,
                                std::string_view zoneText) {
    const std::string timeTrimmed = TrimBlanks(timeText);
    std::string zoneTrimmed = TrimBlanks(zoneText);
    std::optional<int> minute;
    if (!timeTrimmed.empty()) {
        const Result<int> m = ParseMinuteTime(timeTrimmed);
        if (!m) return Fail(m.message(), kErrorBadTime);
        minute = *m;
    }
    std::optional<TimeZone> zone;
    if (!zoneTrimmed.empty()) {
        // "GMT+5:45" as the lists write it, and one-digit hours, are offsets too.
        if (zoneTrimmed.rfind("GMT", 0) == 0 && zoneTrimmed.size() > 3 &&
            (zoneTrimmed[3] == '+' || zoneTrimmed[3] == '-'))
            zoneTrimmed.erase(0, 3);
        if ((zoneTrimmed[0] == '+' || zoneTrimmed[0] == '-') && zoneTrimmed.size() == 5 &&
            zoneTrimmed[2] == ':')
            zoneTrimmed.insert(1, "0");
        const Result<TimeZone> z = ParseTimeZone(zoneTrimmed);
        if (!z) return Fail(z.message(), kErrorBadZone);
        zone = *z;
    }
    DateRowFields& r = rows_[slot];
    if (minute) {
        r.timeIndex = *minute / 30 + 1;
        r.exactMinute = *minute % 30 == 0 ? -1 : *minute;
        r.fold = Fold::Ask;
    }
    if (zone) {
        r.fold = Fold::Ask;
        // A name of a fixed offset ("UTC", "Etc/GMT-14") is that offset.
        if (zone->IsNamed() && IsFixedZoneName(zone->name)) {
            const Result<int32_t> offset = OffsetAtInstant(2451545.0, *zone);
            if (offset && *offset % 60 == 0) zone = TimeZone::Fixed(*offset / 60);
        }
        const int listed = zone->IsNamed() ? 0 : ZoneIndexOfOffset(zone->offsetMinutes * 60);
        if (listed > 0) {
            r.zone.reset();
            r.zoneIndex = listed;
        } else {
            r.zone = zone;
            r.zoneIndex = 0;
        }
    }
    return Ok();
}

std::string DateRows::InputDateToString(DateSlot slot, bool abbreviated) {
    const Result<double> v = LocalDayValue(slot);
    if (!v) return "";
    const DateRowFields& r = rows_[slot];
    const int minute = MinuteOfDay(r);
    const std::string time = r.exactMinute >= 0 ? TwoDigits(minute / 60) + ":" + TwoDigits(minute % 60)
                                                : times_[Selected(r.timeIndex, kTimeEntries)];
    return DateText(static_cast<int32_t>(std::floor(*v)), abbreviated, language_) + ", " + time +
           " (" + ZoneText(slot) + ")";
}

std::string DateRows::WeekdayToolTip(DateSlot slot) {
    const Result<double> v = LocalDayValue(slot);
    if (!v || *v <= 0) return "";
    return WeekdayName(static_cast<int32_t>(std::floor(*v)), language_);
}

bool DateRows::HasAnyValue(DateSlot slot) const {
    const DateRowFields& r = rows_[slot];
    return r.monthIndex > 0 || r.dayIndex > 0 || !r.yearText.empty() || r.timeIndex > 0 ||
           r.zoneIndex > 0 || r.HasExtras() || r.place.has_value();
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
    r.exactMinute = -1;
    r.zoneIndex = defaultZoneIndex_;
    r.zone.reset();
    r.fold = Fold::Ask;
    if (localZoneName_.empty() || IsFixedZoneName(localZoneName_)) return;
    // The computer's own zone by name, so that stepping follows its daylight
    // saving. The time was rounded in the offset of the computer's zone:
    // where the zone shows that time twice, that offset says which.
    const Result<TimeZone> named = ParseTimeZone(localZoneName_);
    if (!named) return;
    r.zone = *named;
    const Result<LocalTimeMeaning> meaning =
        MeaningOfLocalTime(LocalMinute{date.dayNumber, MinuteOfDay(r)}, *named);
    if (meaning && meaning->kind != LocalTimeMeaning::Unique)
        r.fold = meaning->earlierOffset == localZoneOffset_ * 60 ? Fold::Earlier : Fold::Later;
    int32_t offset = 0;
    if (!ZonedJulianDate(r, v, &offset)) {
        // The zone cannot say (no database): the list's entry stays.
        r.zone.reset();
        r.fold = Fold::Ask;
        r.zoneIndex = defaultZoneIndex_;
    }
}

}  // namespace vek
