// The main window's "Configure" button and its side of the configuration
// dialog: creating the dialog, applying what it accepts, its captions on a
// language switch, and hiding it while the main window is minimised.
#include <QPushButton>
#include <algorithm>

#include "config/program_text.h"
#include "gui/form_helpers.h"
#include "gui/frm_configure.h"
#include "gui/frm_main.h"
#include "gui/twips.h"
#include "time/dates.h"

namespace vek::gui {

FrmConfigure* FrmMain::Configuration() const {
    return frmConfigure_.data();
}

void FrmMain::OnConfigure() {
    Timer1_.stop();
    if (!frmConfigure_) {
        FrmConfigure::Hooks hooks;
        hooks.startupComplete = [this] { return view_.blnStartupCompleted; };
        // "Use settings": the zone lists follow the North American choice,
        // keeping their selections; then the result is computed anew.
        hooks.accepted = [this] {
            state_.rows.SetUpTimezoneComboBoxes(true, state_.settings.controls.northAmericanZones);
            FillDateControls();
            if (isMinimized()) showNormal();
            Compute();
        };
        frmConfigure_ = new FrmConfigure(dialogs_, state_.settings, store_, this, hooks);
        KeepFramesOnScreen(frmConfigure_);
        // Whatever else changes the settings (a loaded state) shows in the
        // open dialog after the compute that follows it.
        connect(this, &FrmMain::Computed, frmConfigure_, [this] {
            if (frmConfigure_->isVisible()) frmConfigure_->ShowSettings();
        });
        SetConfigureTexts();
        // As high as the main window, within the dialog's own limits.
        const int height =
            std::clamp(Twips::Height(this), FrmConfigure::kMinHeight, FrmConfigure::DesignHeight());
        Twips::Resize(frmConfigure_, FrmConfigure::DesignWidth(), height);
    }
    frmConfigure_->Display();
    Timer1_.start();
}

void FrmMain::SetConfigureTexts() {
    if (frmConfigure_) {
        frmConfigure_->SetLanguageDependentText(state_.Texts(), state_.engine.names,
                                                ui_.cmdConfigure->text());
    }
}

void FrmMain::HideConfigurationWhenMinimized() {
    if (isMinimized() && frmConfigure_ && frmConfigure_->isVisible()) frmConfigure_->HideDialog();
}

}  // namespace vek::gui
