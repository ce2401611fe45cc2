// Feeds arbitrary bytes to a date row: the first four bytes choose month,
// day, time and zone (any index, as a damaged state file may give), the rest
// is the year text. The conversions give an error code or a Julian date of
// the accepted range, agree with each other, and give the same answer twice.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "time/date_rows.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    vek::DateRows rows;
    rows.SetLocalZone(static_cast<int8_t>(data[0]) * 15);
    const std::optional<vek::DateSlot> slotOrNone = vek::DateSlotFromIndex(data[1] % 4);
    if (!slotOrNone) return 0;  // 3 is no slot
    const vek::DateSlot slot = *slotOrNone;
    vek::DateRowFields& r = rows.Row(slot);
    r.monthIndex = static_cast<int8_t>(data[0]);
    r.dayIndex = static_cast<int8_t>(data[1]) / 4;
    r.timeIndex = static_cast<int8_t>(data[2]);
    r.zoneIndex = static_cast<int8_t>(data[3]);
    r.yearText.assign(reinterpret_cast<const char*>(data) + 4, size - 4);

    const vek::Result<double> localDay = rows.LocalDayValue(slot);
    const vek::Result<vek::JulianDate> julianDate = rows.InputDateToAJDate(slot);
    const std::string text = rows.InputDateToString(slot, data[2] & 1);
    const std::string weekday = rows.WeekdayToolTip(slot);
    if (localDay.ok() != julianDate.ok()) std::abort();
    if (!julianDate) {
        const int code = julianDate.error().code;
        if (code != vek::kDateIncomplete && code != vek::kDateInvalid &&
            code != vek::kDateTooEarly && code != vek::kDateTooLate)
            std::abort();
        if (localDay.error().code != code || !text.empty() || !weekday.empty()) std::abort();
        return 0;
    }
    const double jd = julianDate->days;
    const double local = *localDay;
    if (!std::isfinite(jd) || jd < vek::kFirstDayNumber - 1.5 || jd > vek::kLastDayNumber + 1)
        std::abort();
    if (local < vek::kFirstDayNumber || local >= vek::kLastDayNumber + 1) std::abort();
    if (text.empty() || weekday.empty()) std::abort();
    // Whole minutes, and the same answer for the row as it now stands.
    const double minutes = jd * 1440.0 + 720.0;
    if (minutes != std::round(minutes)) std::abort();
    const vek::Result<vek::JulianDate> again = rows.InputDateToAJDate(slot);
    if (!again || again->days != jd) std::abort();
    return 0;
}
