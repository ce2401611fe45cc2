// What the main window is doing, in one value that its parts share: how far
// start-up has come, whether the program has ended, what the last compute
// left behind, and whether a step, a run or a state load is under way. The
// window and its controllers read and write this value instead of keeping
// flags of their own.
#pragma once

#include <optional>
#include <string>

#include "config/text_ids.h"
#include "engine/modes.h"

namespace vek::gui {

struct ViewState {
    // False from the start of the load event until its end; many handlers do
    // less meanwhile (no recomputation, no questions).
    bool blnStartupCompleted = false;
    // "Quit" or the close box has ended the program.
    bool ended = false;
    // A state is being applied: the mode buttons ignore their clicks.
    bool loadingState = false;
    // The last compute reported a bad date row; a mode click then goes back
    // to the mode computed before.
    bool inputErrorReported = false;
    // The World date's error code when the last compute refused it.
    std::optional<int> lastDateError;
    // From the start of a step (or of a run's steps) until it returns.
    bool steppingUnderWay = false;
    // A run is in progress, from its start until "Stop", a find or the end.
    bool runInProgress = false;
    // A save or a load happened within the last five ticks of Timer1
    // (stateTicks counts them): "Quit" then ends without asking.
    bool stateJustSaved = false;
    int stateTicks = 0;
    // optRadians is selected instead of optDegrees.
    bool anglesInRadians = false;
    // The mode of the last compute that produced results, None before.
    Mode computedMode = Mode::None;
    // What the status line says besides its standing text: the program
    // text before the path (none: the standing text) and the path, so that
    // a language switch can write it again.
    TextId statusPrefix{};
    std::string statusPath;
};

}  // namespace vek::gui
