// The main window's stepping and its run: "Forward" and "Back" move the World
// date by the interval of cboForwardBack and recompute; the run button turns
// stepping into a run that steps forward once per tick of Timer2 until the
// user stops it or, in world transits, the pattern chosen in the run dialog
// appears. The steps, the stop test and the found message are the core's
// (time/stepping.h, app/pattern_run.h); the controller keeps the window's
// controls locked while a run goes on.
//
// Nothing here waits in a loop of its own: between two steps control returns
// to the application's event loop, so the window stays responsive and "Quit"
// works during a run.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "app/pattern_run.h"
#include "app/program_state.h"

class QWidget;

namespace vek::gui {

class Dialogs;
class FrmRun;
struct MainControls;
struct ViewState;

class RunController : public QObject {
    Q_OBJECT
  public:
    // What the controller asks of the window.
    struct Window {
        std::function<Mode()> selectedMode;
        std::function<bool()> chartShown;
        // The compute command, as "Compute" runs it.
        std::function<void()> compute;
        // Every date row shown from the model again.
        std::function<void()> showRows;
        // The results of a run's step on the screen.
        std::function<void()> showStepResults;
    };

    RunController(QWidget* form, const MainControls& controls, ProgramState& state,
                  Dialogs& dialogs, ViewState& view, Window window);

    FrmRun* RunDialog() const { return frmRun_; }
    const QTimer& RunTimer() const { return Timer2_; }

    // One step of "Forward" (0) or "Back" (1).
    void Step(int direction);
    // The run button.
    void OnRun();
    // Timer2's tick: one step forward, its compute and the stop test.
    void RunTick();
    // The run ends without a word: the program ends, or the chart gives way
    // to the table.
    void AbandonRun();

    // Whether "Forward", "Back" and the interval list can be used now.
    bool SteppingAllowed() const;
    // The stepping controls as a mode change leaves them.
    void EnableStepping();
    // The stepping controls enabled (or not).
    void SetSteppingEnabled(bool enabled);

  private:
    void OnRunDialogFinished();
    void StartRun();
    void StopRun();
    void OnFound();
    void SetControlsEnabledForRun(bool enabled);

    QWidget* form_;
    const MainControls& c_;
    ProgramState& state_;
    Dialogs& dialogs_;
    ViewState& view_;
    Window window_;
    FrmRun* frmRun_ = nullptr;  // created on the first run in world transits
    PatternRun run_;
    // Paces the run: it runs only while the run waits for its next step.
    QTimer Timer2_;
    bool inRunTick_ = false;
};

}  // namespace vek::gui
