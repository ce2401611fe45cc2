#include "gui/run_controller.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <algorithm>
#include <initializer_list>

#include "config/text_ids.h"
#include "display/results_text.h"
#include "engine/modes.h"
#include "gui/chart_view.h"
#include "gui/dialogs.h"
#include "gui/form_helpers.h"
#include "gui/frm_run.h"
#include "gui/main_controls.h"
#include "gui/table_grid.h"
#include "gui/view_state.h"
#include "time/stepping.h"

namespace vek::gui {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

RunController::RunController(QWidget* form, const MainControls& controls, ProgramState& state,
                             Dialogs& dialogs, ViewState& view, Window window)
    : QObject(form),
      form_(form),
      c_(controls),
      state_(state),
      dialogs_(dialogs),
      view_(view),
      window_(std::move(window)) {
    for (int k = 0; k < 2; ++k) {
        connect(c_.cmdForwardBack[static_cast<size_t>(k)], &QPushButton::clicked, this,
                [this, k] { Step(k); });
    }
    connect(c_.cboForwardBack, &QComboBox::activated, this, [this] {
        if (form_->isVisible()) FocusIfPossible(c_.cmdForwardBack[0]);
    });
    connect(c_.cmdRun, &QPushButton::clicked, this, &RunController::OnRun);
    Timer2_.setSingleShot(true);
    connect(&Timer2_, &QTimer::timeout, this, &RunController::RunTick);
}

// ---------------------------------------------------------------------------
// Stepping

// The stepping routine of "Forward" (0) and "Back" (1): one step. A run
// steps on Timer2 instead.
void RunController::Step(int direction) {
    if (view_.runInProgress) return;
    view_.steppingUnderWay = true;
    const int interval = std::max(0, c_.cboForwardBack->currentIndex());
    const DateRowFields saved = ApplyStep(state_.rows, interval, direction);
    window_.showRows();
    // The counts belong to this step alone.
    state_.results.PatternCount = {};
    window_.compute();
    // A step out of the accepted range has been reported by the compute;
    // the World date goes back to what it was.
    if (view_.lastDateError) {
        RestoreWorldRow(state_.rows, saved);
        window_.showRows();
    }
    view_.steppingUnderWay = false;
}

bool RunController::SteppingAllowed() const {
    return SteppingEnabled(state_.rows.Row(kWorldDate), window_.selectedMode(),
                           view_.runInProgress, false);
}

void RunController::EnableStepping() {
    SetSteppingEnabled(ModeInfoOf(window_.selectedMode()).transits && !view_.runInProgress);
}

void RunController::SetSteppingEnabled(bool enabled) {
    c_.cmdForwardBack[0]->setEnabled(enabled);
    c_.cmdForwardBack[1]->setEnabled(enabled);
    c_.cboForwardBack->setEnabled(enabled);
}

// ---------------------------------------------------------------------------
// The run

// In world transits an idle click asks the run dialog what to look for (the
// run starts when the dialog is left with "Run"); otherwise it starts a run,
// or stops the one in progress.
void RunController::OnRun() {
    if (!view_.runInProgress && window_.selectedMode() == Mode::World) {
        if (!frmRun_) {
            frmRun_ = new FrmRun(form_);
            KeepFramesOnScreen(frmRun_);
            connect(frmRun_, &QDialog::finished, this, &RunController::OnRunDialogFinished);
        }
        QStringList names;
        for (const std::string& n : state_.engine.names.PatternName.values) names << Q(n);
        frmRun_->Open(state_.Texts(), names, c_.cmdToggleGraphic);
        return;
    }
    if (view_.runInProgress) {
        StopRun();
    } else {
        StartRun();
    }
}

void RunController::OnRunDialogFinished() {
    if (view_.ended || !frmRun_ || frmRun_->Cancelled() || view_.runInProgress) return;
    StartRun();
}

void RunController::StartRun() {
    RunChoice choice;
    choice.mode = window_.selectedMode();
    choice.interval = std::max(0, c_.cboForwardBack->currentIndex());
    // The dialog's choice counts in world transits only; elsewhere the run
    // goes on until it is stopped.
    if (choice.mode == Mode::World && frmRun_) {
        choice.target = frmRun_->Target();
        choice.quickly = frmRun_->RunQuickly();
    }
    run_.Start(choice);
    view_.runInProgress = true;
    view_.steppingUnderWay = true;
    c_.cmdRun->setText(Q(state_.Texts().ProgramText(kTextStop)));
    SetControlsEnabledForRun(false);
    // The first step is taken at once; the timer paces the ones after it.
    RunTick();
}

// The user's stop; the step under way, if any, has already finished.
void RunController::StopRun() {
    run_.Stop();
    Timer2_.stop();
    view_.runInProgress = false;
    view_.steppingUnderWay = false;
    c_.cmdRun->setText(Q(state_.Texts().ProgramText(kTextRun)));
    SetControlsEnabledForRun(true);
}

void RunController::AbandonRun() {
    run_.Stop();
    Timer2_.stop();
    view_.runInProgress = false;
    view_.steppingUnderWay = false;
    if (frmRun_) frmRun_->hide();
}

void RunController::RunTick() {
    if (inRunTick_ || view_.ended || !run_.Stepping()) return;
    // While a message or question is up, the run waits for it.
    if (QApplication::activeModalWidget()) {
        Timer2_.start(run_.TickMilliseconds());
        return;
    }
    inRunTick_ = true;
    Timer2_.stop();
    const ComputeRequest request{run_.Choice().mode, view_.anglesInRadians, window_.chartShown()};
    std::string message;
    const PatternRun::Outcome outcome = run_.Step(state_, request, message);
    window_.showRows();
    switch (outcome) {
        case PatternRun::Outcome::Idle:
            break;
        case PatternRun::Outcome::Stepped:
            window_.showStepResults();
            Timer2_.start(run_.TickMilliseconds());
            break;
        case PatternRun::Outcome::Refused:
            // The date is back as it was and stepping has ended; the button
            // still reads "Stop" and stops the run when pressed.
            view_.steppingUnderWay = false;
            view_.inputErrorReported = true;
            dialogs_.Message(Q(message), Q(DateErrorTitle(state_.Texts())),
                             MessageIcon::Information);
            break;
        case PatternRun::Outcome::Found:
            window_.showStepResults();
            view_.steppingUnderWay = false;
            dialogs_.Message(Q(message), Q(RunFoundTitle(state_.Texts())),
                             MessageIcon::Information);
            inRunTick_ = false;
            OnFound();
            return;
    }
    inRunTick_ = false;
}

// After the found message: the run has ended, and as after a click on the run
// button, in world transits the dialog comes back and its "Run" goes on from
// the date found.
void RunController::OnFound() {
    if (view_.ended) return;
    view_.runInProgress = false;
    c_.cmdRun->setText(Q(state_.Texts().ProgramText(kTextRun)));
    SetControlsEnabledForRun(true);
    OnRun();
}

// While a run goes on only the run button, "Quit" and the two summary boxes
// take input. Labels that only show something (title, hint, status) keep
// their look; the table and the chart take no clicks. Other windows (the run
// dialog, the viewer) keep their own states.
void RunController::SetControlsEnabledForRun(bool enabled) {
    for (QWidget* w : form_->findChildren<QWidget*>()) {
        if (w->window() != form_) continue;
        if (w == c_.lblTitle || w == c_.lblClickonAspect || w == c_.lblStatus) continue;
        if (c_.picTable->isAncestorOf(w)) continue;
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QGroupBox*>(w) || qobject_cast<QLineEdit*>(w) ||
            qobject_cast<QTextEdit*>(w) || qobject_cast<QLabel*>(w)) {
            w->setEnabled(enabled);
        }
    }
    c_.picTable->setEnabled(enabled);
    c_.picGraphic->setEnabled(enabled);
    if (enabled) {
        // Stepping follows its own rule, as the one-second timer applies it.
        SetSteppingEnabled(SteppingAllowed());
    } else {
        for (QWidget* w : std::initializer_list<QWidget*>{c_.cmdRun, c_.cmdQuit, c_.txbReport,
                                                          c_.txbReport1})
            w->setEnabled(true);
    }
}

}  // namespace vek::gui
