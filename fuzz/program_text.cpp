// Feeds arbitrary bytes to the program-text loader and reads back every text
// it claims to hold.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "display/program_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vek::ProgramTextTable table;
    const int r = table.LoadFromString(std::string_view(reinterpret_cast<const char*>(data), size));
    if (r > 0) {
        for (int n = -1; n <= vek::kMaxProgramTextNumber + 1; ++n) {
            (void)table.Get(n, 0);
            (void)table.Get(n, 1);
            (void)table.Has(n, 2);
        }
    } else {
        (void)vek::ProgramTextLoadMessage(r, "fuzz");
        (void)table.FailureMessage("fuzz");
    }
    return 0;
}
