// What "vek-cli durations" and "vek-cli report" share: the report window's
// model opened on a compute's results, and the JSON form of its lines.
#pragma once

#include <string>

#include "cli/compute_args.h"
#include "cli/json_writer.h"
#include "display/durations_report.h"
#include "time/durations.h"

namespace vek::cli {

// Opens the report as the "Report" button does, on the session's results.
void OpenReport(ComputeSession& s, DurationsReport& report);

// The message the "Report" button shows when the table holds no aspect, or
// "" when it holds one.
std::string NoAspectsMessage(const ComputeSession& s);

// "1990-01-01" for a day number.
std::string IsoDateOfDayNumber(long dayNumber);

// One entry as a JSON object: its bodies, aspect and deviation, and, when
// `withDates`, its beginning and end as ISO dates and its duration in days
// (null when unknown, and for the moving Moon); `text` is its display line
// (left out when empty).
void WriteEntryJson(JsonWriter& w, const DurationEntry& e, const NameTables& names, bool withDates,
                    const std::string& text);

}  // namespace vek::cli
