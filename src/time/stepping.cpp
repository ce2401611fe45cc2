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
                          world.timeIndex > 0 && world.zoneIndex > 0;
    return complete && ModeReadsSlot(mode, kWorldDate) && !runInProgress && !explanationShown;
}

DateRowFields StepFields(const DateRowFields& row, int interval, int direction) {
    const bool forward = direction != kStepBack;
    int h = row.timeIndex;
    int m = row.monthIndex;
    int d = row.dayIndex;
    const int oldYear = YearValue(DigitsOnly(row.yearText));
    int y = oldYear;

    switch (interval) {
        case kStepHalfHour:
            if (forward) {
                if (++h > kTimeEntries - 1) {
                    h = 1;
                    NextDay(d, m, y);
                }
            } else {
                if (h < 2) {
                    h = kTimeEntries - 1;
                    PreviousDay(d, m, y);
                } else {
                    --h;
                }
            }
            break;
        case kStepDay:
            if (forward) {
                NextDay(d, m, y);
            } else {
                PreviousDay(d, m, y);
            }
            break;
        case kStepWeek:
            if (forward) {
                d += 7;
                const int length = DaysInMonth(m, y);
                if (d > length) {
                    d -= length;
                    NextMonth(m, y);
                }
            } else {
                d -= 7;
                if (d < 1) {
                    const int yearBefore = y;
                    PreviousMonth(m, y);
                    d += DaysInMonth(m, yearBefore);
                }
            }
            break;
        case kStepMonth:
            if (forward) {
                NextMonth(m, y);
            } else {
                PreviousMonth(m, y);
            }
            break;
        case kStepYear:
            y += forward ? 1 : -1;
            break;
        default:
            break;
    }

    DateRowFields stepped = row;
    stepped.timeIndex = h;
    stepped.monthIndex = m;
    stepped.dayIndex = d;
    // The year box holds digits only: a minus sign would be dropped when the
    // row is read and turn year −1 into year 1, so anything below 0 is
    // written as 0, which is refused as before year 1 just the same.
    if (y != oldYear) stepped.yearText = std::to_string(y < 0 ? 0 : y);
    return stepped;
}

DateRowFields ApplyStep(DateRows& rows, int interval, int direction) {
    DateRowFields& world = rows.Row(kWorldDate);
    const DateRowFields saved = world;
    const DateRowFields stepped = StepFields(world, interval, direction);
    world.timeIndex = stepped.timeIndex;
    world.monthIndex = stepped.monthIndex;
    world.dayIndex = stepped.dayIndex;
    world.yearText = stepped.yearText;
    if (interval == kStepMonth || interval == kStepYear) {
        while (rows.InputDateToAJDate(kWorldDate) < 0 && world.dayIndex >= 29) --world.dayIndex;
    }
    return saved;
}

bool RestoreIfRefused(DateRows& rows, const DateRowFields& saved, double julianDate) {
    if (!(julianDate < 0) && !std::isnan(julianDate)) return false;
    DateRowFields& world = rows.Row(kWorldDate);
    world.timeIndex = saved.timeIndex;
    world.monthIndex = saved.monthIndex;
    world.dayIndex = saved.dayIndex;
    world.yearText = saved.yearText;
    return true;
}

StepOutcome StepWorldDate(DateRows& rows, int interval, int direction) {
    const DateRowFields saved = ApplyStep(rows, interval, direction);
    StepOutcome outcome;
    outcome.julianDate = rows.InputDateToAJDate(kWorldDate);
    outcome.accepted = !RestoreIfRefused(rows, saved, outcome.julianDate);
    outcome.row = rows.Row(kWorldDate);
    return outcome;
}

StepOutcome StepWorldDateInZone(DateRows& rows, int interval, int direction,
                                const TimeZone& zone) {
    if (!zone.IsNamed()) return StepWorldDate(rows, interval, direction);
    DateRowFields& world = rows.Row(kWorldDate);
    const DateRowFields saved = world;
    StepOutcome outcome;
    auto refuse = [&](double code) {
        world = saved;
        outcome.julianDate = code;
        outcome.row = world;
        return outcome;
    };
    int32_t offset = 0;
    if (interval == kStepHalfHour) {
        const double now = rows.InputDateToAJDate(kWorldDate);
        if (now < 0) return refuse(now);
        const double next = now + (direction == kStepBack ? -1.0 : 1.0) / 48.0;
        const Result<LocalDateTime> local = UniversalToLocal(next, zone);
        if (!local) return refuse(kStepOffsetNotInList);
        offset = local->offsetSeconds;
        if (local->secondOfDay % 1800 != 0) return refuse(kStepOffsetNotInList);
        CalendarDate d;
        d.dayNumber = local->dayNumber;
        DayNumberToDate(d);
        world.monthIndex = d.month;
        world.dayIndex = d.day;
        world.yearText = std::to_string(d.year);
        world.timeIndex = local->secondOfDay / 1800 + 1;
    } else {
        ApplyStep(rows, interval, direction);
        const double t = rows.LocalDayValue(kWorldDate);
        if (t < 0) return refuse(t);
        const LocalMinute minute{static_cast<int32_t>(std::floor(t)), (world.timeIndex - 1) * 30};
        const Result<LocalTimeMeaning> meaning = MeaningOfLocalTime(minute, zone);
        if (!meaning) return refuse(kStepOffsetNotInList);
        // Before the change: the later meaning of a skipped time, the earlier
        // one of a doubled time.
        offset = meaning->kind == LocalTimeMeaning::Gap ? meaning->laterOffset
                                                        : meaning->earlierOffset;
    }
    if (offset % 1800 != 0 || offset < -(kZoneEntries / 2 - 1) * 1800 ||
        offset > (kZoneEntries / 2 - 1) * 1800)
        return refuse(kStepOffsetNotInList);
    world.zoneIndex = offset / 1800 + kGreenwichZoneIndex;
    outcome.julianDate = rows.InputDateToAJDate(kWorldDate);
    if (outcome.julianDate < 0) return refuse(outcome.julianDate);
    outcome.accepted = true;
    outcome.row = world;
    return outcome;
}

}  // namespace vek
