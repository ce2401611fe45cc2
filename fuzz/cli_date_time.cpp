// Feeds arbitrary bytes to vek-cli's date-time argument parser. A text that
// parses gives a Julian date of the accepted years; every message is one
// printable line of valid UTF-8, whatever the argument held.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cli/date_time_args.h"
#include "cli/options.h"
#include "util/utf8.h"

namespace {

void CheckMessage(const std::string& m) {
    if (m.empty() || m.size() > 400) std::abort();
    for (size_t i = 0; i < m.size();) {
        const auto c = static_cast<unsigned char>(m[i]);
        if (c < 0x20 || c == 0x7F) std::abort();
        const size_t n = c < 0x80 ? 1 : vek::Utf8SequenceLength(m, i);
        if (n == 0) std::abort();
        i += n;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckMessage(vek::cli::Quoted(text));
    const vek::Result<vek::cli::DateTimeFields> fields = vek::cli::ParseDateTimeFields(text);
    const vek::Result<double> parsed = vek::cli::ParseDateTime(text);
    const std::string fieldsError = fields.message();
    const std::string error = parsed.message();
    if (!fields) {
        CheckMessage(fieldsError);
        if (error != fieldsError) std::abort();
        return 0;
    }
    const vek::cli::DateTimeFields& f = *fields;
    if (f.month < 1 || f.month > 12 || f.hour > 23 || f.minute > 59 || f.zoneMinutes < -14 * 60 ||
        f.zoneMinutes > 14 * 60)
        std::abort();
    if (!parsed) {
        CheckMessage(error);
        return 0;
    }
    const double jd = *parsed;
    // Years 1..2799, zones up to 14 hours either way.
    if (!std::isfinite(jd) || jd < 1721425.5 - 1 || jd > 2743738.5 + 1) std::abort();
    // Whole minutes: the same instant always gives the same Julian date.
    const double minutes = jd * 1440.0 + 720.0;
    if (std::fabs(minutes - std::round(minutes)) > 1e-3) std::abort();
    return 0;
}
