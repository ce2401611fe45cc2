// frmConfigure, the configuration dialog: the orb of each aspect and its
// colour line, "Set all non-zero orbs to:", the proportions for personal
// transits and synastry, the orb for midpoints, the boldface rule, the zodiac
// and the on/off options, with "Use settings", "Cancel", "Hide" and "Reset to
// default". It is shown without blocking the main window.
//
// The dialog is a view over the settings model (display/settings.h): the
// model's working copy is what its controls show, every change the user makes
// goes straight into it, and its commands are the model's. The main window
// owns the model and reads it while the dialog is hidden.
//
// Control names: every control's objectName is its name; members of a
// control array carry their index after an underscore (cboOrb_7,
// lblAspectColor_0).
#pragma once

#include <QDialog>
#include <QPointer>
#include <QRect>
#include <array>
#include <functional>
#include <vector>

#include "config/program_text.h"
#include "config/settings.h"
#include "gui/configure_controls.h"
#include "engine/vocabulary.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vek::platform {
class SettingsStore;
}

namespace vek::gui {

class Dialogs;

// Where the dialog goes when it becomes active: beside the main window's
// right edge at the same height, or at the screen's right edge when the
// screen is too narrow; the main window then moves to stand left of it, but
// never beyond the screen's left edge. Frames in pixels.
struct BesidePlacement {
    int dialogLeft = 0;
    int dialogTop = 0;
    int mainLeft = 0;
};
BesidePlacement PlaceBesideMainWindow(const QRect& mainFrame, int dialogFrameWidth,
                                      const QRect& screen);

class FrmConfigure : public QDialog {
    Q_OBJECT
  public:
    // What the dialog asks of the main window.
    struct Hooks {
        // After "Use settings" has copied the settings into the engine: the
        // zone lists are rebuilt, a minimised main window is restored and the
        // compute command runs.
        std::function<void()> accepted;
        // Whether the main window's start-up has completed.
        std::function<bool()> startupComplete;
    };

    FrmConfigure(Dialogs& dialogs, Settings& settings, platform::SettingsStore& store,
                 QWidget* mainWindow, Hooks hooks);

    // Every caption in the interface language; the window caption is that
    // of the main window's "Configure" button.
    void SetLanguageDependentText(const ProgramTexts& texts, const NameTables& names,
                                  const QString& caption);

    // "Configure": shows the dialog without blocking the main window, brings
    // it to the front, and it becomes the active window.
    void Display();

    // Becoming the active window: placement beside the main window, the
    // accepted orbs, zodiac and colours shown, three on/off values reloaded
    // from the store, the snapshot for "Cancel" taken; the focus on "Cancel".
    void Activate();

    // The controls from the model (after anything else has changed it).
    void ShowSettings();

    // The commands, as the buttons and lists run them.
    void UseSettings();        // cmdAccept
    void CancelSettings();     // cmdCancel
    void HideDialog();         // cmdHide
    void ResetToDefault();     // cmdReset
    void SetAllNonzeroOrbs();  // cmdSetAllNonzeroOrbsToConjunctionOrb
    void OrbChosen(int list);  // cboOrb(list) changed
    // A mouse button released over colour line `line` (0..6, aspect line+1).
    void ColorLineReleased(int line, Qt::MouseButton button);

    // The colour a line is drawn in (0..6), as red + 256 × green + 65536 × blue.
    Color LineColor(int line) const;
    // The design size in twips: the width is fixed, the height may shrink
    // to kMinHeight.
    static int DesignWidth();
    static int DesignHeight();
    static constexpr int kMinHeight = 4700;

  protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  public slots:
    // Escape: "Cancel".
    void reject() override;

  private:
    // The controls from their table (configure_controls.h), watched by the
    // event filter.
    void CreateControls();
    void ConnectOrbLists();
    void ConnectOptions();
    void ConnectControls();
    void DrawColorLine(int line);
    void EnableBoldfaceControls();
    // Gives "Use settings" the focus when the dialog is visible and the
    // button enabled, after a choice made with the mouse; a choice made with
    // the keys leaves the focus where the user is working.
    void FocusAcceptButton();
    // A caption that does not fit its control gets the whole text as tool tip.
    void UpdateCutCaptionToolTips();
    QString PT(TextId n) const;
    bool StartupComplete() const;

    Dialogs& dialogs_;
    Settings& settings_;
    platform::SettingsStore& store_;
    QPointer<QWidget> mainWindow_;
    Hooks hooks_;
    ProgramTexts texts_;

    bool updating_ = false;  // the controls are being set from the model
    bool lastInputByKey_ = false;
    // The window that took over when the dialog was last deactivated: coming
    // back from another of the program's windows is becoming active again;
    // coming back from a message box of the dialog's own is not.
    QPointer<QWidget> leftFor_;

    ConfigureControls ui_;
};

}  // namespace vek::gui
