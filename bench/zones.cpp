// Converting a local date and time to Universal Time: with a fixed offset
// (the baseline, plain arithmetic) and with a named zone of the tz
// database, whose offset at that date is looked up. Each call moves the date
// on by a little over a week, so the named zones' lookups cover the years
// 1900-2100 and are not served from one period. The database is read once
// before timing starts.
#include <benchmark/benchmark.h>

#include "time/dates.h"
#include "time/zones.h"

namespace {

constexpr int32_t kFirstDay = 2415021;  // 1900 January 1
constexpr int32_t kDays = 73000;        // about two centuries

vek::LocalMinute NextLocal(int32_t& offset) {
    offset += 8;
    if (offset > kDays) offset = 0;
    return {kFirstDay + offset, (offset * 37) % 1440};
}

void ConvertLocalTime(benchmark::State& state, vek::TimeZone zone) {
    int32_t offset = 0;
    (void)vek::LocalToUniversal(NextLocal(offset), zone, vek::Fold::Earlier);
    for (auto _ : state) {
        const vek::Result<vek::ZonedInstant> r =
            vek::LocalToUniversal(NextLocal(offset), zone, vek::Fold::Earlier);
        benchmark::DoNotOptimize(r.ok());
    }
}
BENCHMARK_CAPTURE(ConvertLocalTime, fixed_offset, vek::TimeZone::Fixed(60));
BENCHMARK_CAPTURE(ConvertLocalTime, europe_berlin, vek::TimeZone::Named("Europe/Berlin"));
BENCHMARK_CAPTURE(ConvertLocalTime, america_new_york, vek::TimeZone::Named("America/New_York"));
BENCHMARK_CAPTURE(ConvertLocalTime, pacific_chatham, vek::TimeZone::Named("Pacific/Chatham"));

void ConvertInstant(benchmark::State& state) {
    const vek::TimeZone zone = vek::TimeZone::Named("Europe/Berlin");
    double jd = kFirstDay;
    (void)vek::UniversalToLocal(jd, zone);
    for (auto _ : state) {
        jd += 8.3;
        if (jd > kFirstDay + kDays) jd = kFirstDay;
        benchmark::DoNotOptimize(vek::UniversalToLocal(jd, zone).ok());
    }
}
BENCHMARK(ConvertInstant);

// Parsing a zone name, which checks it against the database.
void ParseZoneName(benchmark::State& state) {
    (void)vek::ParseTimeZone("Asia/Kathmandu");
    for (auto _ : state) benchmark::DoNotOptimize(vek::ParseTimeZone("Asia/Kathmandu").ok());
}
BENCHMARK(ParseZoneName);

}  // namespace
