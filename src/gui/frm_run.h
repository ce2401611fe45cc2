// frmRun, the run dialog: what a run of the main window looks for in world
// transits. "Run until stopped", or "Run until finding" one of the fourteen
// aspect patterns, optionally at least 2..9 of them at once, and "Run
// quickly". The dialog is created once and only hidden afterwards, so it keeps
// the last choice.
//
// It is modal without a nested event loop: Open() shows it and returns at
// once; the dialog's "Run" and "Cancel" (or its close box, or Escape) hide it
// and emit finished(), on which the main window starts the run or not.
#pragma once

#include <QDialog>
#include <QStringList>

#include "config/program_text.h"
#include "display/results_text.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vek::gui {

class FrmRun : public QDialog {
    Q_OBJECT
  public:
    // `mainWindow` lends the dialog its background and icon.
    explicit FrmRun(QWidget* mainWindow);

    // Shows the dialog: the captions and the pattern list (names in pattern
    // index order) in the interface language, the remembered pattern chosen
    // again, the dialog's bottom 120 twips above the main window's bottom
    // edge and its left edge 120 twips left of `anchor` (the chart button).
    void Open(const ProgramTexts& texts, const QStringList& patternNames, QWidget* anchor);

    // What the dialog was left with.
    bool Cancelled() const { return blnCancel_; }
    // The pattern chosen; none to run until stopped.
    std::optional<Pattern> AspectPatternToFind() const {
        return PatternFromIndex(intAspectPatternToFind_);
    }
    // The run's target: the pattern (none until stopped) and "Find at least".
    RunTarget Target() const;
    bool RunQuickly() const;

    // The dialog's commands, as its buttons run them.
    void RunClicked();
    void reject() override;  // "Cancel", the close box and Escape

  private:
    void OnPatternChosen(int index);
    void OnRunUntilFinding();
    void OnRunUntilStopped();
    void OnTwoOrMoreClicked();
    void PlaceControls();
    void PlaceBy(QWidget* anchor);

    bool blnCancel_ = false;
    int intAspectPatternToFind_ = -1;
    int rememberedPattern_ = -1;  // the list index chosen last, restored on Open

    QRadioButton* optRunUntilStopped_ = nullptr;
    QRadioButton* optRunUntilFinding_ = nullptr;
    QComboBox* cboAspectPattern_ = nullptr;
    QLabel* lblGefunden_ = nullptr;
    QCheckBox* chkTwoOrMore_ = nullptr;
    QComboBox* cboNumToFind_ = nullptr;
    QCheckBox* chkRunQuickly_ = nullptr;
    QPushButton* cmdRun_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

}  // namespace vek::gui
