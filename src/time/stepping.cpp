#include "time/stepping.h"

#include "engine/modes.h"

#include <algorithm>
#include <cmath>

#include "time/dates.h"

namespace vek {

namespace {

void NextMonth(int& m, int& y) {
    if (++m > 12) {
        m = 1;
        ++y;
    }
}

void PreviousMonth(int& m, int& y) {
    if (--m < 1) {
        m = 12;
        --y;
    }
}

void NextDay(int& d, int& m, int& y) {
    if (++d > DaysInMonth(m, y)) {
        d = 1;
        NextMonth(m, y);
    }
}

void PreviousDay(int& d, int& m, int& y) {
    if (d > 1) {
        --d;
        return;
    }
    const int oldYear = y;
    PreviousMonth(m, y);
    d = DaysInMonth(m, oldYear);
}

}  // namespace

int IntervalIndexAfterRefill(int previousIndex) {
    return previousIndex >= 0 && previousIndex < kStepIntervalCount ? previousIndex : kStepDay;
}

bool SteppingEnabled(const DateRowFields& world, Mode mode, bool runInProgress,
                     bool explanationShown) {
    const bool complete = !world.yearText.empty() && world.monthIndex > 0 && world.dayIndex > 0 &&
                          world.timeIndex > 0 && (world.zoneIndex > 0 || world.zone.has_value());
    return complete && ModeReadsSlot(mode, kWorldDate) && !runInProgress && !explanationShown;
}

namespace {

// The time list entry, day, month and year of a date row while it steps.
struct RowCalendar {
    int halfHour;  // time list entry, 1 .. kTimeEntries - 1
    int day;
    int month;
    int year;
};

void StepHalfHour(RowCalendar& c, bool forward) {
    if (forward) {
        if (++c.halfHour > kTimeEntries - 1) {
            c.halfHour = 1;
            NextDay(c.day, c.month, c.year);
        }
    } else if (c.halfHour < 2) {
        c.halfHour = kTimeEntries - 1;
        PreviousDay(c.day, c.month, c.year);
    } else {
        --c.halfHour;
    }
}

void StepWeek(RowCalendar& c, bool forward) {
    if (forward) {
        c.day += 7;
        const int length = DaysInMonth(c.month, c.year);
        if (c.day > length) {
            c.day -= length;
            NextMonth(c.month, c.year);
        }
    } else {
        c.day -= 7;
        if (c.day < 1) {
            const int yearBefore = c.year;
            PreviousMonth(c.month, c.year);
            c.day += DaysInMonth(c.month, yearBefore);
        }
    }
}

void MoveRowCalendar(RowCalendar& c, int interval, bool forward) {
    switch (interval) {
        case kStepHalfHour:
            StepHalfHour(c, forward);
            break;
        case kStepDay:
            if (forward) {
                NextDay(c.day, c.month, c.year);
            } else {
                PreviousDay(c.day, c.month, c.year);
            }
            break;
        case kStepWeek:
            StepWeek(c, forward);
            break;
        case kStepMonth:
            if (forward) {
                NextMonth(c.month, c.year);
            } else {
                PreviousMonth(c.month, c.year);
            }
            break;
        case kStepYear:
            c.year += forward ? 1 : -1;
            break;
        default:
            break;
    }
}

}  // namespace

DateRowFields StepFields(const DateRowFields& row, int interval, int direction) {
    const int oldYear = YearValue(DigitsOnly(row.yearText));
    RowCalendar c{row.timeIndex, row.dayIndex, row.monthIndex, oldYear};
    MoveRowCalendar(c, interval, direction != kStepBack);

    DateRowFields stepped = row;
    stepped.timeIndex = c.halfHour;
    stepped.monthIndex = c.month;
    stepped.dayIndex = c.day;
    // The year box holds digits only: a minus sign would be dropped when the
    // row is read and turn year −1 into year 1, so anything below 0 is
    // written as 0, which is refused as before year 1 just the same.
    if (c.year != oldYear) stepped.yearText = std::to_string(c.year < 0 ? 0 : c.year);
    return stepped;
}

namespace {

// The calendar part of a step: time, day, month and year as StepFields
// gives them, a day the new month lacks moved back to its last day. An exact
// minute keeps its place within the half hour.
void StepCalendar(DateRows& rows, int interval, int direction) {
    DateRowFields& world = rows.Row(kWorldDate);
    const DateRowFields stepped = StepFields(world, interval, direction);
    world.timeIndex = stepped.timeIndex;
    world.monthIndex = stepped.monthIndex;
    world.dayIndex = stepped.dayIndex;
    world.yearText = stepped.yearText;
    if (world.exactMinute >= 0 && world.timeIndex > 0)
        world.exactMinute = (world.timeIndex - 1) * 30 + world.exactMinute % 30;
    if (interval == kStepMonth || interval == kStepYear) {
        // A row in a zone of its own may be refused for its zone (a skipped
        // time): only the calendar decides here.
        auto refused = [&] {
            return world.zone ? !rows.LocalDayValue(kWorldDate)
                              : !rows.InputDateToAJDate(kWorldDate);
        };
        while (refused() && world.dayIndex >= 29) --world.dayIndex;
    }
}

bool InNamedZone(const DateRowFields& row) {
    return row.zone && row.zone->IsNamed();
}

// One step of the World date in a named zone. A day, week, month or year
// goes by the calendar to the same clock time; a clock time the zone skipped
// or showed twice that day takes the offset in force before the change.
// Half an hour is half an hour of Universal Time, shown at the zone's clock.
// Gives the offset in force after the step and which meaning of the clock
// time that is; false (with the code) when the step is refused.
struct ZonedStep {
    int code = 0;  // an error code when refused
    int32_t offset = 0;
    Fold fold = Fold::Ask;
    bool onHalfHour = true;  // the clock shows a time of the time list
};

// The instant nearest to `julianDate` at which the zone's clock shows a
// whole minute, which a row can hold. Only an offset with seconds (local mean
// time, Berlin before 1893 at +0:53:28) moves it: half an hour across its
// change to a whole-minute offset lands between two minutes, and the nearer
// one is taken rather than the one before, so the step errs by 30 s at most.
// `localOf` gives the zone's local time of an instant.
template <class LocalOf>
double NearestWholeLocalMinute(double julianDate, LocalOf localOf) {
    const Result<LocalDateTime> local = localOf(julianDate);
    if (!local) return julianDate;
    const int second = local->secondOfDay % 60;
    if (second == 0) return julianDate;
    return julianDate + (second < 30 ? -second : 60 - second) / 86400.0;
}

// Half an hour in a named zone: half an hour of Universal Time, shown as the
// zone's clock reads then.
bool StepHalfHourInZone(DateRows& rows, int direction, const TimeZone& zone, ZonedStep& out) {
    DateRowFields& world = rows.Row(kWorldDate);
    const Result<JulianDate> now = rows.InputDateToAJDate(kWorldDate);
    if (!now) {
        out.code = now.error().code;
        return false;
    }
    const double next = now->days + (direction == kStepBack ? -1.0 : 1.0) / 48.0;
    auto localOf = [&zone](double julianDate) { return UniversalToLocal(julianDate, zone); };
    const Result<LocalDateTime> local = localOf(NearestWholeLocalMinute(next, localOf));
    if (!local || local->dayNumber < kFirstDayNumber || local->dayNumber > kLastDayNumber) {
        out.code = !local ? kStepOffsetNotInList
                          : (local->dayNumber < kFirstDayNumber ? kDateTooEarly : kDateTooLate);
        return false;
    }
    out.offset = local->offsetSeconds;
    const int minute = local->secondOfDay / 60;
    out.onHalfHour = local->secondOfDay % 1800 == 0;
    CalendarDate d;
    d.dayNumber = local->dayNumber;
    DayNumberToDate(d);
    world.monthIndex = d.month;
    world.dayIndex = d.day;
    world.yearText = std::to_string(d.year);
    world.timeIndex = minute / 30 + 1;
    world.exactMinute = minute % 30 == 0 ? -1 : minute;
    const Result<LocalTimeMeaning> meaning =
        MeaningOfLocalTime(LocalMinute{local->dayNumber, minute}, zone);
    if (meaning && meaning->kind == LocalTimeMeaning::Overlap)
        out.fold = meaning->earlierOffset == out.offset ? Fold::Earlier : Fold::Later;
    return true;
}

// A longer step in a named zone: the calendar moves, and the zone says which
// offset its clock has at the new time.
bool StepCalendarInZone(DateRows& rows, int interval, int direction, const TimeZone& zone,
                        ZonedStep& out) {
    DateRowFields& world = rows.Row(kWorldDate);
    StepCalendar(rows, interval, direction);
    const Result<double> t = rows.LocalDayValue(kWorldDate);
    if (!t) {
        out.code = t.error().code;
        return false;
    }
    const LocalMinute minute{static_cast<int32_t>(std::floor(*t)), MinuteOfDay(world)};
    const Result<LocalTimeMeaning> meaning = MeaningOfLocalTime(minute, zone);
    if (!meaning) {
        out.code = kStepOffsetNotInList;
        return false;
    }
    // Before the change: the later meaning of a skipped time, the earlier
    // one of a doubled time.
    switch (meaning->kind) {
        case LocalTimeMeaning::Gap:
            out.offset = meaning->laterOffset;
            out.fold = Fold::Later;
            break;
        case LocalTimeMeaning::Overlap:
            out.offset = meaning->earlierOffset;
            out.fold = Fold::Earlier;
            break;
        case LocalTimeMeaning::Unique:
            out.offset = meaning->earlierOffset;
            break;
    }
    out.onHalfHour = world.exactMinute < 0;
    return true;
}

bool StepInNamedZone(DateRows& rows, int interval, int direction, const TimeZone& zone,
                     ZonedStep& out) {
    return interval == kStepHalfHour ? StepHalfHourInZone(rows, direction, zone, out)
                                     : StepCalendarInZone(rows, interval, direction, zone, out);
}

}  // namespace

DateRowFields ApplyStep(DateRows& rows, int interval, int direction) {
    DateRowFields& world = rows.Row(kWorldDate);
    const DateRowFields saved = world;
    if (InNamedZone(world)) {
        // The row keeps its zone; the step decides which meaning a doubled
        // or skipped clock time has. A refused step is left to the
        // conversion after it, which refuses the row as it stands.
        const TimeZone zone = *world.zone;
        ZonedStep step;
        if (StepInNamedZone(rows, interval, direction, zone, step)) world.fold = step.fold;
        return saved;
    }
    StepCalendar(rows, interval, direction);
    return saved;
}

void RestoreWorldRow(DateRows& rows, const DateRowFields& saved) {
    DateRowFields& world = rows.Row(kWorldDate);
    world.timeIndex = saved.timeIndex;
    world.monthIndex = saved.monthIndex;
    world.dayIndex = saved.dayIndex;
    world.yearText = saved.yearText;
    world.exactMinute = saved.exactMinute;
    world.fold = saved.fold;
    if (world.zone) world.zoneIndex = saved.zoneIndex;
}

bool RestoreIfRefused(DateRows& rows, const DateRowFields& saved,
                      const Result<JulianDate>& julianDate) {
    if (julianDate) return false;
    RestoreWorldRow(rows, saved);
    return true;
}

StepOutcome StepWorldDate(DateRows& rows, int interval, int direction) {
    const DateRowFields saved = ApplyStep(rows, interval, direction);
    StepOutcome outcome;
    const Result<JulianDate> jd = rows.InputDateToAJDate(kWorldDate);
    if (RestoreIfRefused(rows, saved, jd))
        outcome.refusedCode = jd.error().code;
    else
        outcome.julianDate = *jd;
    outcome.row = rows.Row(kWorldDate);
    return outcome;
}

StepOutcome StepWorldDateInZone(DateRows& rows, int interval, int direction,
                                const TimeZone& zone) {
    DateRowFields& world = rows.Row(kWorldDate);
    // A row that holds its own zone steps in it.
    if (!zone.IsNamed() || world.zone) return StepWorldDate(rows, interval, direction);
    const DateRowFields saved = world;
    StepOutcome outcome;
    auto refuse = [&](int code) {
        world = saved;
        outcome.refusedCode = code;
        outcome.row = world;
        return outcome;
    };
    ZonedStep step;
    if (!StepInNamedZone(rows, interval, direction, zone, step)) return refuse(step.code);
    // The row holds the zone as its list offset: the step must land on the
    // lists.
    if (!step.onHalfHour) return refuse(kStepOffsetNotInList);
    const int offset = step.offset;
    if (offset % 1800 != 0 || offset < -(kZoneEntries / 2 - 1) * 1800 ||
        offset > (kZoneEntries / 2 - 1) * 1800)
        return refuse(kStepOffsetNotInList);
    world.zoneIndex = offset / 1800 + kGreenwichZoneIndex;
    const Result<JulianDate> jd = rows.InputDateToAJDate(kWorldDate);
    if (!jd) return refuse(jd.error().code);
    outcome.julianDate = *jd;
    outcome.row = world;
    return outcome;
}

namespace {

bool AllDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// Whether the World date row converts as it stands, without a conversion
// changing it, and has no zone of its own: then its steps can go by numbers.
bool StepsByNumbers(const DateRowFields& r, int interval) {
    if (r.zone || interval < 0 || interval >= kStepIntervalCount || !AllDigits(r.yearText))
        return false;
    const int year = YearValue(r.yearText);
    if (year < kFirstYear || year > kLastYear || r.monthIndex < 1 || r.monthIndex > 12 ||
        r.dayIndex < 1 || r.dayIndex > DaysInMonth(r.monthIndex, year))
        return false;
    if (r.timeIndex < 1 || r.timeIndex > kTimeEntries - 1 || r.zoneIndex < 1 ||
        r.zoneIndex > kZoneEntries - 1)
        return false;
    return r.exactMinute == -1 ||
           (r.exactMinute >= 0 && r.exactMinute < 1440 && r.exactMinute / 30 + 1 == r.timeIndex);
}

// Whether an offset in seconds is an entry of the zone list.
bool ListedOffset(int32_t offset) {
    constexpr int32_t kWidest = (kZoneEntries / 2 - 1) * 1800;
    return offset % 1800 == 0 && offset >= -kWidest && offset <= kWidest;
}

}  // namespace

WorldDateStepper::WorldDateStepper(const DateRows& rows, int interval, const TimeZone& zone)
    : interval_(interval),
      zone_(zone),
      named_(zone.IsNamed()),
      answers_(zone),
      start_(rows.Row(kWorldDate)) {
    if (!StepsByNumbers(start_, interval)) {
        rows_ = rows;
        previousRow_ = start_;
        return;
    }
    for (int i = 1; i < kZoneEntries; ++i) zoneMinutes_[i] = rows.ZoneList()[i].minutesEast;
    here_.year = YearValue(start_.yearText);
    here_.month = start_.monthIndex;
    here_.day = start_.dayIndex;
    here_.timeIndex = start_.timeIndex;
    here_.exactMinute = start_.exactMinute;
    here_.zoneIndex = start_.zoneIndex;
    CalendarDate date;
    date.year = here_.year;
    date.month = here_.month;
    date.day = here_.day;
    here_.dayNumber = DateToDayNumber(date);
    previous_ = here_;
    julianDays_ = JulianDaysOf(here_);
}

// The conversion of a row of the zone list, as InputDateToAJDate makes it.
double WorldDateStepper::JulianDaysOf(const RowNumbers& r) const {
    const int minute = r.exactMinute >= 0 ? r.exactMinute : (r.timeIndex - 1) * 30;
    const int64_t minutes =
        static_cast<int64_t>(r.dayNumber) * 1440 - 720 + minute - zoneMinutes_[r.zoneIndex];
    return static_cast<double>(minutes) / 1440.0;
}

// A step by the calendar, as StepCalendar takes it forward, and the refusal
// of the conversion after it (0 when none).
int WorldDateStepper::CalendarStep(RowNumbers& r) {
    RowCalendar c{r.timeIndex, r.day, r.month, r.year};
    MoveRowCalendar(c, interval_, true);
    if (c.year != r.year) r.yearTextKept = false;
    // Days from the day number before: the calendar moves one day forward
    // when a half hour passes midnight.
    int days = 0;
    if (interval_ == kStepDay || (interval_ == kStepHalfHour && c.halfHour == 1)) days = 1;
    if (interval_ == kStepWeek) days = 7;
    r.timeIndex = c.halfHour;
    r.day = c.day;
    r.month = c.month;
    r.year = c.year;
    r.dayNumber += days;
    if (r.exactMinute >= 0) r.exactMinute = (r.timeIndex - 1) * 30 + r.exactMinute % 30;
    if (r.year > kLastYear) return kDateTooLate;
    if (interval_ == kStepMonth || interval_ == kStepYear) {
        // A day the new month lacks moves back to its last day.
        r.day = std::min(r.day, DaysInMonth(r.month, r.year));
        CalendarDate date;
        date.year = r.year;
        date.month = r.month;
        date.day = r.day;
        r.dayNumber = DateToDayNumber(date);
    }
    return named_ ? OffsetInNamedZone(r) : 0;
}

// After a step by the calendar in a named zone: the list entry of the offset
// in force at the new clock time, as StepCalendarInZone and
// StepWorldDateInZone choose it.
int WorldDateStepper::OffsetInNamedZone(RowNumbers& r) {
    const int minute = r.exactMinute >= 0 ? r.exactMinute : (r.timeIndex - 1) * 30;
    const Result<LocalTimeMeaning> meaning = answers_.MeaningOf(LocalMinute{r.dayNumber, minute});
    if (!meaning || r.exactMinute >= 0) return kStepOffsetNotInList;
    const int32_t offset =
        meaning->kind == LocalTimeMeaning::Gap ? meaning->laterOffset : meaning->earlierOffset;
    if (!ListedOffset(offset)) return kStepOffsetNotInList;
    r.zoneIndex = offset / 1800 + kGreenwichZoneIndex;
    return 0;
}

// Half an hour of Universal Time in a named zone, as StepHalfHourInZone and
// StepWorldDateInZone take it.
int WorldDateStepper::HalfHourInNamedZone(RowNumbers& r) {
    const double next = JulianDaysOf(r) + 1.0 / 48.0;
    auto localOf = [this](double julianDate) { return answers_.LocalOf(julianDate); };
    const Result<LocalDateTime> local = localOf(NearestWholeLocalMinute(next, localOf));
    if (!local) return kStepOffsetNotInList;
    if (local->dayNumber < kFirstDayNumber) return kDateTooEarly;
    if (local->dayNumber > kLastDayNumber) return kDateTooLate;
    if (local->secondOfDay % 1800 != 0 || !ListedOffset(local->offsetSeconds))
        return kStepOffsetNotInList;
    CalendarDate d;
    d.dayNumber = local->dayNumber;
    DayNumberToDate(d);
    r.dayNumber = local->dayNumber;
    r.year = d.year;
    r.month = d.month;
    r.day = d.day;
    r.yearTextKept = false;
    r.timeIndex = local->secondOfDay / 1800 + 1;
    r.exactMinute = -1;
    r.zoneIndex = local->offsetSeconds / 1800 + kGreenwichZoneIndex;
    return 0;
}

bool WorldDateStepper::Step() {
    if (rows_) {
        DateRowFields before = rows_->Row(kWorldDate);
        const StepOutcome o = StepWorldDateInZone(*rows_, interval_, kStepForward, zone_);
        refusedCode_ = o.refusedCode;
        if (!o.julianDate) return false;
        previousRow_ = std::move(before);
        julianDays_ = o.julianDate->days;
        return true;
    }
    RowNumbers next = here_;
    refusedCode_ =
        named_ && interval_ == kStepHalfHour ? HalfHourInNamedZone(next) : CalendarStep(next);
    if (refusedCode_ != 0) return false;
    previous_ = here_;
    here_ = next;
    julianDays_ = JulianDaysOf(here_);
    return true;
}

void WorldDateStepper::Undo() {
    if (rows_) {
        rows_->Row(kWorldDate) = previousRow_;
        return;
    }
    here_ = previous_;
    julianDays_ = JulianDaysOf(here_);
}

DateRowFields WorldDateStepper::RowOf(const RowNumbers& r) const {
    DateRowFields row = start_;
    row.monthIndex = r.month;
    row.dayIndex = r.day;
    row.timeIndex = r.timeIndex;
    row.exactMinute = r.exactMinute;
    row.zoneIndex = r.zoneIndex;
    if (!r.yearTextKept) row.yearText = std::to_string(r.year);
    return row;
}

DateRowFields WorldDateStepper::Row() const {
    return rows_ ? rows_->Row(kWorldDate) : RowOf(here_);
}

DateRowFields WorldDateStepper::PreviousRow() const {
    return rows_ ? previousRow_ : RowOf(previous_);
}

}  // namespace vek
