// Feeds bytes to the Pluto table loader two ways: as a whole table, and as a
// damage to the real table (a few bytes overwritten at a chosen place), so the
// loader sees complete tables too. A table that loads answers every date with
// a longitude in [0, 2π) or one of its out-of-range values.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/pluto_table.h"
#include "engine/vek_types.h"

namespace {

std::string g_table;  // data/pluto.slx

void CheckLoaded(const vek::PlutoTable& table, const uint8_t* data, size_t size) {
    const double dates[] = {vek::PlutoTable::kFirstDay - 0.5, vek::PlutoTable::kFirstDay + 0.25,
                            2451545.0, vek::PlutoTable::kLastDay + 0.49};
    for (double jd : dates) {
        const double l = table.LongitudeAt(jd);
        if (!(l >= 0 && l < vek::kTwoPi)) std::abort();
    }
    // Dates taken from the input, whatever they are.
    for (size_t i = 0; i + sizeof(double) <= size && i < 64; i += sizeof(double)) {
        double jd;
        std::memcpy(&jd, data + i, sizeof jd);
        const double l = table.LongitudeAt(jd);
        if (!(l >= 0 && l < vek::kTwoPi) && l != -1.0 && l != vek::kBeforeDataRange &&
            l != vek::kAfterDataRange)
            std::abort();
    }
}

void CheckFailed(const vek::PlutoTable& table, const std::string& error) {
    if (table.IsLoaded() || error.empty() || error.find('\n') != std::string::npos) std::abort();
    if (table.LongitudeAt(2451545.0) != -1.0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::ifstream in(VEK_SOURCE_DATA_DIR "/pluto.slx", std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    g_table = s.str();
    if (g_table.empty()) std::abort();  // the fuzzer needs the real table
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    vek::PlutoTable table;
    std::string content;
    if (data[0] & 1) {
        content.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    } else {
        // Bytes 1..4 choose the place in the real table, the rest is written there.
        if (size < 5) return 0;
        uint32_t at;
        std::memcpy(&at, data + 1, sizeof at);
        content = g_table;
        at %= static_cast<uint32_t>(content.size());
        const size_t n = std::min(size - 5, content.size() - at);
        std::memcpy(content.data() + at, data + 5, n);
        if (data[0] & 2) content.resize(at + n);  // cut the table there
    }
    const vek::Status loaded = table.LoadFromString(content);
    if (loaded) {
        CheckLoaded(table, data, size);
    } else {
        CheckFailed(table, loaded.message());
    }
    return 0;
}
