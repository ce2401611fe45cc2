#include "gui/mode_buttons.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>

#include "config/program_text.h"
#include "display/results_text.h"
#include "engine/modes.h"
#include "gui/main_controls.h"
#include "gui/view_state.h"

namespace vek::gui {

ModeButtons::ModeButtons(const MainControls& controls, const ProgramState& state,
                         ViewState& view, Window window)
    : c_(controls), state_(state), view_(view), window_(std::move(window)) {}

Mode ModeButtons::SelectedMode() const {
    const int id = c_.modeGroup->checkedId();
    return id < 0 ? Mode::None : static_cast<Mode>(id);
}

void ModeButtons::SelectMode(Mode mode) {
    if (QAbstractButton* b = c_.ModeButton(mode)) b->setChecked(true);
}

void ModeButtons::OnModeClicked() {
    if (view_.loadingState) return;
    window_.compute();
    if (view_.inputErrorReported) RestoreMode();
    window_.enableStepping();
    UpdateHintLabel();
}

// After a date error the button of the mode computed before is selected
// again, without computing.
void ModeButtons::RestoreMode() {
    view_.loadingState = true;
    if (view_.computedMode != Mode::None) SelectMode(view_.computedMode);
    view_.loadingState = false;
    view_.inputErrorReported = false;
}

void ModeButtons::UpdateHintLabel() {
    c_.lblClickonAspect->show();
    const bool hint = ModeInfoOf(SelectedMode()).transits;
    if (window_.chartShown()) {
        // In the interface's language, which may have changed since the
        // compute.
        c_.lblClickonAspect->setText(QString::fromStdString(
            ZodiacLabel(state_.Texts(), state_.engine.SiderealZodiac, false)));
    } else {
        c_.lblClickonAspect->setText(
            hint ? QString::fromStdString(state_.Texts().ProgramText(kTextAspectHint))
                 : QString());
    }
}

}  // namespace vek::gui
