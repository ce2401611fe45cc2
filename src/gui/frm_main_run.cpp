// The main window's run: the run button, the run dialog in world transits,
// and Timer2, which steps the World date forward once per tick until the user
// stops the run or the chosen pattern appears. The steps, the stop test and
// the found message are the core's (PatternRun); the window shows each step's
// results and keeps its controls locked while the run goes on.
//
// Nothing here waits in a loop of its own: between two steps control returns
// to the application's event loop, so the window stays responsive and "Quit"
// works during a run.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

#include "app/pattern_run.h"
#include "config/text_ids.h"
#include "display/results_text.h"
#include "gui/chart_view.h"
#include "gui/dialogs.h"
#include "gui/frm_main.h"
#include "gui/frm_run.h"
#include "gui/table_grid.h"

namespace vek::gui {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

void FrmMain::CreateRunControls() {
    connect(cmdRun_, &QPushButton::clicked, this, &FrmMain::OnRun);
    // Timer2 runs only while the run waits for its next step.
    Timer2_.setSingleShot(true);
    connect(&Timer2_, &QTimer::timeout, this, &FrmMain::RunTick);
}

// The run button: in world transits an idle click asks the run dialog what
// to look for (the run starts when the dialog is left with "Run"); otherwise
// it starts a run, or stops the one in progress.
void FrmMain::OnRun() {
    if (!runInProgress_ && SelectedMode() == Mode::World) {
        if (!frmRun_) {
            frmRun_ = new FrmRun(this);
            connect(frmRun_, &QDialog::finished, this, &FrmMain::OnRunDialogFinished);
        }
        QStringList names;
        for (const std::string& n : state_.engine.names.PatternName) names << Q(n);
        frmRun_->Open(state_.Texts(), names, cmdToggleGraphic_);
        return;
    }
    if (runInProgress_) {
        StopRun();
    } else {
        StartRun();
    }
}

void FrmMain::OnRunDialogFinished() {
    if (ended_ || !frmRun_ || frmRun_->Cancelled() || runInProgress_) return;
    StartRun();
}

void FrmMain::StartRun() {
    RunChoice choice;
    choice.mode = SelectedMode();
    choice.interval = std::max(0, cboForwardBack_->currentIndex());
    // The dialog's choice counts in world transits only; elsewhere the run
    // goes on until it is stopped.
    if (choice.mode == Mode::World && frmRun_) {
        choice.target = frmRun_->Target();
        choice.quickly = frmRun_->RunQuickly();
    }
    run_.Start(choice);
    runInProgress_ = true;
    steppingUnderWay_ = true;
    cmdRun_->setText(PT(kTextStop));
    SetControlsEnabledForRun(false);
    // The first step is taken at once; the timer paces the ones after it.
    RunTick();
}

// The user's stop; the step under way, if any, has already finished.
void FrmMain::StopRun() {
    run_.Stop();
    Timer2_.stop();
    runInProgress_ = false;
    steppingUnderWay_ = false;
    cmdRun_->setText(PT(kTextRun));
    SetControlsEnabledForRun(true);
}

// The run ends without a word: the program ends, or the chart gives way to
// the table.
void FrmMain::AbandonRun() {
    run_.Stop();
    Timer2_.stop();
    runInProgress_ = false;
    steppingUnderWay_ = false;
    if (frmRun_) frmRun_->hide();
}

// Timer2's tick: one step forward, its compute and the stop test.
void FrmMain::RunTick() {
    if (inRunTick_ || ended_ || !run_.Stepping()) return;
    // While a message or question is up, the run waits for it.
    if (QApplication::activeModalWidget()) {
        Timer2_.start(run_.TickMilliseconds());
        return;
    }
    inRunTick_ = true;
    Timer2_.stop();
    const ComputeRequest request{run_.Choice().mode, anglesInRadians_, ChartShown()};
    std::string message;
    const PatternRun::Outcome outcome = run_.Step(state_, request, message);
    for (int slot = 0; slot < 3; ++slot) ShowRow(slot);
    switch (outcome) {
        case PatternRun::Outcome::Idle:
            break;
        case PatternRun::Outcome::Stepped:
            ShowRunStep();
            Timer2_.start(run_.TickMilliseconds());
            break;
        case PatternRun::Outcome::Refused:
            // The date is back as it was and stepping has ended; the button
            // still reads "Stop" and stops the run when pressed.
            steppingUnderWay_ = false;
            inputErrorReported_ = true;
            dialogs_.Message(Q(message), Q(DateErrorTitle(state_.Texts())),
                             MessageIcon::Information);
            break;
        case PatternRun::Outcome::Found:
            ShowRunStep();
            steppingUnderWay_ = false;
            dialogs_.Message(Q(message), Q(RunFoundTitle(state_.Texts())),
                             MessageIcon::Information);
            inRunTick_ = false;
            if (ended_) return;
            runInProgress_ = false;
            cmdRun_->setText(PT(kTextRun));
            SetControlsEnabledForRun(true);
            // As a click on the run button: in world transits the dialog comes
            // back, and its "Run" goes on from the date found.
            OnRun();
            return;
    }
    inRunTick_ = false;
}

void FrmMain::ShowRunStep() {
    computedMode_ = state_.results.ComputedMode;
    ShowResults();
    emit Computed();
}

// While a run goes on only the run button, "Quit" and the two summary boxes
// take input. Labels that only show something (title, hint, status) keep
// their look; the table and the chart take no clicks. Other windows (the run
// dialog, the viewer) keep their own states.
void FrmMain::SetControlsEnabledForRun(bool enabled) {
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w->window() != this) continue;
        if (w == lblTitle_ || w == lblClickonAspect_ || w == lblStatus_) continue;
        if (picTable_->isAncestorOf(w)) continue;
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QGroupBox*>(w) || qobject_cast<QLineEdit*>(w) ||
            qobject_cast<QTextEdit*>(w) || qobject_cast<QLabel*>(w)) {
            w->setEnabled(enabled);
        }
    }
    picTable_->setEnabled(enabled);
    picGraphic_->setEnabled(enabled);
    if (enabled) {
        // Stepping follows its own rule, as the one-second timer applies it.
        const bool step = SteppingAllowed();
        cmdForwardBack_[0]->setEnabled(step);
        cmdForwardBack_[1]->setEnabled(step);
        cboForwardBack_->setEnabled(step);
    } else {
        for (QWidget* w :
             std::initializer_list<QWidget*>{cmdRun_, cmdQuit_, txbReport_, txbReport1_})
            w->setEnabled(true);
    }
}

}  // namespace vek::gui
