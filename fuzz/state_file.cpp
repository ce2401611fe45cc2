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
    if (!vek::LoadStateText(text, state).empty()) return 0;

    std::string error;
    const std::string saved = vek::StateFileText(state, error);
    if (!error.empty()) std::abort();  // everything loaded is within range
    vek::AppState again;
    if (!vek::LoadStateText(saved, again).empty()) std::abort();
    std::string error2;
    // Loading what was saved and saving it again is stable.
    if (vek::StateFileText(again, error2) != saved) std::abort();
    return 0;
}
