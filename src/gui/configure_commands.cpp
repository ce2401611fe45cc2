#include "gui/configure_commands.h"

#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "gui/form_helpers.h"
#include "gui/main_controls.h"
#include "gui/twips.h"

namespace vek::gui {

ConfigureCommands::ConfigureCommands(QWidget* form, const MainControls& controls,
                                     ProgramState& state, platform::SettingsStore& store,
                                     Dialogs& dialogs, QTimer& timer1, FrmConfigure::Hooks hooks)
    : form_(form),
      c_(controls),
      state_(state),
      store_(store),
      dialogs_(dialogs),
      timer1_(timer1),
      hooks_(std::move(hooks)) {}

void ConfigureCommands::OnConfigure() {
    timer1_.stop();
    if (!frmConfigure_) {
        frmConfigure_ = new FrmConfigure(dialogs_, state_.settings, store_, form_, hooks_);
        KeepFramesOnScreen(frmConfigure_);
        SetTexts();
        // As high as the main window, within the dialog's own limits.
        const int height = std::clamp(Twips::Height(form_), FrmConfigure::kMinHeight,
                                      FrmConfigure::DesignHeight());
        Twips::Resize(frmConfigure_, FrmConfigure::DesignWidth(), height);
    }
    frmConfigure_->Display();
    timer1_.start();
}

void ConfigureCommands::SetTexts() {
    if (frmConfigure_) {
        frmConfigure_->SetLanguageDependentText(state_.Texts(), state_.engine.names,
                                                c_.cmdConfigure->text());
    }
}

void ConfigureCommands::HideWhenMinimized() {
    if (form_->isMinimized() && DialogVisible()) frmConfigure_->HideDialog();
}

void ConfigureCommands::ShowSettingsIfVisible() {
    if (DialogVisible()) frmConfigure_->ShowSettings();
}

}  // namespace vek::gui
