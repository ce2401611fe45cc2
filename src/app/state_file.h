// Saved state files: the main window's input and nearly all settings in a
// 51-line text file (".vek" files and the automatic "vek.usr").
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "config/settings.h"
#include "engine/vek_types.h"
#include "time/date_row_fields.h"
#include "util/result.h"

namespace vek {

namespace platform {
class SettingsStore;
}

// Everything a state file holds: the window's three date rows, its mode and
// stepping interval, and the settings.
struct AppState {
    SlotArray<DateRowFields> dateRows;  // World date, 1st and 2nd birthdate
    Mode mode = Mode::World;                // the selected mode button
    int steppingIntervalIndex = 1;          // cboForwardBack: 0 half hour .. 4 year
    Settings settings;
};

inline constexpr int kStateFileLines = 51;
// No line of a state file is longer; the year box never needs more.
inline constexpr std::size_t kMaxStateLineLength = 1024;

// The file's text (CR LF line ends, "." as decimal separator in every
// locale); fails when a value cannot be written: a year text holding a line
// break or longer than kMaxStateLineLength, or an index or colour outside its
// range.
Result<std::string> StateFileText(const AppState& state);

// Saves the state. The dialog's zodiac option first takes the zodiac in
// force, so the file records that rather than a choice not yet accepted. The
// file is written to a temporary file beside it and renamed over the target
// only when complete: a failed save leaves any previous file untouched.
// When store is given, a successful save also writes the language there.
Status SaveStateFile(const std::string& path, AppState& state,
                     platform::SettingsStore* store = nullptr);

struct StateLoadOptions {
    // After a failed load the settings return to their defaults; once
    // start-up is complete the defaults are also applied to the engine.
    bool startupComplete = true;
    // When given, asked before that reset; false leaves the settings as read.
    std::function<bool()> confirmReset;
};

// Loads a state file into state. Each value is applied as it is read, so on
// an error the values read before it stay; the settings are then reset to
// their defaults (see StateLoadOptions). Reads at most what 51 lines can
// hold.
Status LoadStateFile(const std::string& path, AppState& state,
                     const StateLoadOptions& options = {});

// The same from the file's bytes.
Status LoadStateText(std::string_view text, AppState& state, const StateLoadOptions& options = {});

// The automatic state file: $XDG_DATA_HOME (or ~/.local/share), folder
// "Vantrel", file "vek.usr". The folder is created when missing.
std::string AutoStatePath();

}  // namespace vek
