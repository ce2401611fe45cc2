// Stepping the World date forward and back by half an hour, a day, a week, a
// month or a year, as the "Forward" and "Back" buttons and a run do.
//
// A step edits the World date's row as a user would (time, day, month, year
// text; the zone stays) and the window then runs the compute command. The
// window's part of one step:
//
//   DateRowFields saved = ApplyStep(rows, interval, direction);
//   clear PatternCount (all 14 slots) -- the caller's job, before the compute,
//                                        so a run never sees the counts of the
//                                        previous step;
//   run the compute (it converts the row, and shows the date message when
//                    the World date is refused);
//   if the compute refused the World date: RestoreWorldRow(rows, saved), and
//                    end the step (and a run);
//
// StepWorldDate does the same without a compute in between, for callers that
// only need the new row or the refusal.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/vek_types.h"
#include "time/date_row_fields.h"
#include "time/date_rows.h"
#include "time/zones.h"

namespace vek {

// Entries of the interval list (cboForwardBack).
enum StepInterval : int { kStepHalfHour = 0, kStepDay, kStepWeek, kStepMonth, kStepYear };
inline constexpr int kStepIntervalCount = 5;

// Index of the button pressed: 0 "Forward", 1 "Back".
enum StepDirection : int { kStepForward = 0, kStepBack = 1 };

// The interval list's index after it is refilled: kept when it had one,
// otherwise one day.
int IntervalIndexAfterRefill(int previousIndex);

// Whether "Forward" (and with it "Back" and the interval list) can be used:
// the World date's year text is not empty and its month, day, time and zone
// are chosen, the mode reads the World date, no run is in progress and no
// aspect explanation occupies the chart area.
bool SteppingEnabled(const DateRowFields& world, Mode mode, bool runInProgress,
                     bool explanationShown);

// The calendar arithmetic of one step on a row's time index, day, month and
// year, before months with fewer days are taken into account. An empty time
// counts as index 0: forward half an hour gives 00:00 of the same day, back
// half an hour 23:30 of the day before. A year below 0 is written as "0".
DateRowFields StepFields(const DateRowFields& row, int interval, int direction);

// Steps the World date of `rows` and returns the row as it was before. After a
// month or year step, a day that the new month lacks moves back to its last
// day (31 January + one month is 28 or 29 February; 29 February − one year is
// 28 February).
DateRowFields ApplyStep(DateRows& rows, int interval, int direction);

// Puts back the World date's time, month, day and year text (and the
// fold, and the listed zone of a row in a named zone) from `saved`.
void RestoreWorldRow(DateRows& rows, const DateRowFields& saved);
// When the Julian date computed after a step failed (the step left the
// accepted range, or another input error), restores the World date from
// `saved` and returns true.
bool RestoreIfRefused(DateRows& rows, const DateRowFields& saved,
                      const Result<JulianDate>& julianDate);

struct StepOutcome {
    // The new Julian date (UT); none when the step was refused.
    std::optional<JulianDate> julianDate;
    // Why the step was refused: a date row's error code (kDateTooLate ...)
    // or kStepOffsetNotInList; 0 when it was taken.
    int refusedCode = 0;
    // The World date row after the step, or as restored.
    DateRowFields row;

    bool accepted() const { return julianDate.has_value(); }
};

// One whole step without a compute: ApplyStep, the conversion of the new row
// and, when it is refused, the restore.
StepOutcome StepWorldDate(DateRows& rows, int interval, int direction);

// A step refused because the offset of the zone at the new date is none of
// the zone list's (not in half hours, or beyond ±11:30).
inline constexpr int kStepOffsetNotInList = -5;

// A step of a World date that was given in a named zone (a fixed zone steps
// as StepWorldDate does). A day, week, month or year goes by the calendar to
// the same clock time, and the row's zone becomes the offset in force then;
// a clock time the zone skipped or showed twice that day takes the offset
// in force before the change. Half an hour is half an hour of Universal
// Time, shown at the zone's clock, so the steps go on evenly through a
// change. A refused step (a date outside the accepted ones, or
// kStepOffsetNotInList) leaves the row as it was.
StepOutcome StepWorldDateInZone(DateRows& rows, int interval, int direction,
                                const TimeZone& zone);

// Steps the World date forward one interval at a time, step for step as
// repeated calls of StepWorldDateInZone(rows, interval, kStepForward, zone)
// would: the same Julian dates, the same rows and the same refusals, a
// refused step leaving the date where it was. It keeps the date as numbers
// and writes a row only when asked for one, so that a search's steps cost
// little. That holds for a row that converts as it stands (its year text
// all digits, its date, time and list zone chosen, an exact minute within
// its half hour) and has no zone of its own, stepped in a fixed or a named
// zone; a named zone's offsets are the row's, looked up once for each
// stretch of time in which they stay the same. Any
// other row (a zone of its own, a row a conversion would still change)
// steps a copy of the rows through StepWorldDateInZone.
class WorldDateStepper {
  public:
    // Starts at the World date of `rows`, which is not changed.
    WorldDateStepper(const DateRows& rows, int interval, const TimeZone& zone);

    // One step forward: true when it is taken (JulianDays() gives its date),
    // false when it is refused (RefusedCode() says why).
    bool Step();
    double JulianDays() const { return julianDays_; }
    int RefusedCode() const { return refusedCode_; }
    // Goes back to where the last step taken started.
    void Undo();

    // The World date row where the stepper stands, and where it stood
    // before the last step taken.
    DateRowFields Row() const;
    DateRowFields PreviousRow() const;
    // Whether the steps go by numbers rather than by the row.
    bool SteppingByNumbers() const { return !rows_; }

  private:
    // The parts of the row that a step changes.
    struct RowNumbers {
        int32_t dayNumber = 0;
        int year = 0;
        int month = 0;
        int day = 0;
        int timeIndex = 0;
        int exactMinute = -1;
        int zoneIndex = 0;
        bool yearTextKept = true;  // the year text is still the starting row's
    };

    int CalendarStep(RowNumbers& r);
    int HalfHourInNamedZone(RowNumbers& r);
    int OffsetInNamedZone(RowNumbers& r);
    double JulianDaysOf(const RowNumbers& r) const;
    DateRowFields RowOf(const RowNumbers& r) const;

    int interval_;
    TimeZone zone_;
    bool named_;  // the zone is one of the database
    ZoneAnswers answers_;  // its offsets, from as few lookups as will do
    DateRowFields start_;
    std::array<int, kZoneEntries> zoneMinutes_{};
    RowNumbers here_;
    RowNumbers previous_;
    // Stepping by the row: the rows stepped and the row before the last step.
    std::optional<DateRows> rows_;
    DateRowFields previousRow_;
    double julianDays_ = 0;
    int refusedCode_ = 0;
};

}  // namespace vek
