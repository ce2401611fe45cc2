// The main window's six mode buttons: which mode is selected, a click that
// computes the mode (and goes back to the mode computed before when a date
// row is bad), and the hint under the title, which follows the mode and the
// view.
#pragma once

#include <functional>

#include "app/program_state.h"

namespace vek::gui {

struct MainControls;
struct ViewState;

class ModeButtons {
  public:
    // What the buttons ask of the window.
    struct Window {
        // The compute command, as "Compute" runs it.
        std::function<void()> compute;
        std::function<bool()> chartShown;
        // The stepping controls as a mode change leaves them.
        std::function<void()> enableStepping;
    };

    ModeButtons(const MainControls& controls, const ProgramState& state, ViewState& view,
                Window window);

    // The mode of the checked button; None when no button is checked.
    Mode SelectedMode() const;
    // Checks the mode's button without computing.
    void SelectMode(Mode mode);
    // A click on one of the buttons.
    void OnModeClicked();
    // The hint "click on an aspect" in transits, the zodiac over a chart.
    void UpdateHintLabel();

  private:
    void RestoreMode();

    const MainControls& c_;
    const ProgramState& state_;
    ViewState& view_;
    Window window_;
};

}  // namespace vek::gui
