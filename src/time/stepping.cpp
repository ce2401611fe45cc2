#include "time/stepping.h"

#include "engine/modes.h"

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
double NearestWholeLocalMinute(double julianDate, const TimeZone& zone) {
    const Result<LocalDateTime> local = UniversalToLocal(julianDate, zone);
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
    const Result<LocalDateTime> local = UniversalToLocal(NearestWholeLocalMinute(next, zone), zone);
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

}  // namespace vek
