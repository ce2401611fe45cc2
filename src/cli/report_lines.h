// What "vek-cli durations" and "vek-cli report" share: the report window's
// model opened on a compute's results, and the JSON form of its lines and
// their bodies, which "vek-cli compute" also writes for its aspects.
#pragma once

#include <string>

#include "cli/compute_args.h"
#include "cli/json_writer.h"
#include "display/durations_report.h"
#include "time/durations.h"

namespace vek::cli {

// Opens the report as the "Report" button does, on the session's results;
// with `exactTimes` the entries get their exact instants, and `worldZone`
// (when given) receives the zone of the World date they are written in.
void OpenReport(ComputeSession& s, DurationsReport& report, bool exactTimes = false,
                TimeZone* worldZone = nullptr);

// The message the "Report" button shows when the table holds no aspect, or
// "" when it holds one.
std::string NoAspectsMessage(const ComputeSession& s);

// "1990-01-01" for a day number.
std::string IsoDateOfDayNumber(long dayNumber);

// The name of a date slot as the options name it: "world", "birth1",
// "birth2".
const char* NameOfDateSlot(DateSlot slot);

// The date slots whose charts the first and the second body of a durations
// line (and of an aspect of "compute --json") stand in: in personal transits
// the birthdate's body comes first, in synastry the 1st birthdate's.
struct EntrySlots {
    DateSlot first = kWorldDate;
    DateSlot second = kWorldDate;
};
EntrySlots EntrySlotsOf(Mode mode);

// A body as a JSON object under `key`: its number, its name and the date
// slot of its chart.
void WriteBodyJson(JsonWriter& w, const char* key, Body body, DateSlot slot,
                   const NameTables& names);

// One entry as a JSON object: its bodies, aspect and deviation (radians and
// degrees), and, when `withDates`, its beginning and end as ISO dates and its
// duration in days (null when unknown, and for the moving Moon), and with
// `zone` its exact instants in that zone; `text` is its display line (left
// out when empty). An extra point of the entry is written as a body is, with
// its number after the bodies', its name from `texts` and its key under
// "point".
void WriteEntryJson(JsonWriter& w, const DurationEntry& e, Mode mode, const NameTables& names,
                    bool withDates, const std::string& text, const TimeZone* zone = nullptr,
                    const ProgramTexts* texts = nullptr);

}  // namespace vek::cli
