// Feeds arbitrary bytes to the state file loader, then saves what was loaded
// and loads that again: a state that loads must also save and reload.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/state_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vek::AppState state;
    if (!vek::LoadStateText(text, state)) return 0;

    const vek::Result<std::string> saved = vek::StateFileText(state);
    if (!saved) std::abort();  // everything loaded is within range
    vek::AppState again;
    if (!vek::LoadStateText(*saved, again)) std::abort();
    // Loading what was saved and saving it again is stable.
    const vek::Result<std::string> savedAgain = vek::StateFileText(again);
    if (!savedAgain || *savedAgain != *saved) std::abort();
    return 0;
}
