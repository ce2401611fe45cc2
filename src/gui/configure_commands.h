// "Configure" of the main window and its side of the configuration dialog:
// the dialog is created on the first click, as high as the main window, and
// shown beside it without blocking it; its captions follow the language, it
// hides while the main window is minimised, and it shows settings that
// something else changed (a loaded state) after the compute that follows.
#pragma once

#include <QPointer>

#include "app/program_state.h"
#include "gui/frm_configure.h"

class QTimer;
class QWidget;

namespace vek::platform {
class SettingsStore;
}

namespace vek::gui {

class Dialogs;
struct MainControls;

class ConfigureCommands {
  public:
    // `hooks` is what the dialog asks of the main window.
    ConfigureCommands(QWidget* form, const MainControls& controls, ProgramState& state,
                      platform::SettingsStore& store, Dialogs& dialogs, QTimer& timer1,
                      FrmConfigure::Hooks hooks);

    // The dialog, once "Configure" has created it.
    FrmConfigure* Dialog() const { return frmConfigure_.data(); }
    bool DialogVisible() const { return frmConfigure_ && frmConfigure_->isVisible(); }

    // The button, with Timer1 paused meanwhile.
    void OnConfigure();
    // The dialog's captions in the window's language.
    void SetTexts();
    void HideWhenMinimized();
    // After a compute: an open dialog shows the settings as they are.
    void ShowSettingsIfVisible();

  private:
    QWidget* form_;
    const MainControls& c_;
    ProgramState& state_;
    platform::SettingsStore& store_;
    Dialogs& dialogs_;
    QTimer& timer1_;
    FrmConfigure::Hooks hooks_;
    QPointer<FrmConfigure> frmConfigure_;  // created by the first "Configure"
};

}  // namespace vek::gui
