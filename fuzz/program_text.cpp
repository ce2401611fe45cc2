// Feeds arbitrary bytes to the program-text loader and reads back every text
// it claims to hold.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/program_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const vek::Result<vek::ProgramTextTable> r =
        vek::ProgramTextTable::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (r) {
        for (int n = -1; n <= vek::kMaxProgramTextNumber + 1; ++n) {
            (void)r->Get(n, 0);
            (void)r->Get(n, 1);
            (void)r->Has(n, 2);
        }
    } else {
        (void)vek::ProgramTextLoadMessage(r.error().code, "fuzz");
    }
    return 0;
}
