// "Report" of the main window: the durations of the current aspects, or the
// natal report in natal aspects and synastry, in the report window, placed
// beside the table; a message when the table holds no aspect. Timer1 of the
// main window is paused while the report is being opened.
#pragma once

#include <functional>
#include <memory>

#include "app/program_state.h"

class QTimer;
class QWidget;

namespace vek::gui {

class Dialogs;
class FrmDurations;
struct DurationsRequest;
struct MainControls;
struct ViewState;

class ReportCommands {
  public:
    ReportCommands(QWidget* form, const MainControls& controls, ProgramState& state,
                   Dialogs& dialogs, const ViewState& view, QTimer& timer1,
                   std::function<Mode()> selectedMode);
    ~ReportCommands();

    // The report window, once "Report" has opened it.
    FrmDurations* Window() const { return frmDurations_; }

    // The button: the report, or the message that there is none.
    void OnReport();
    // Opens the report of the last result.
    void ShowReport();
    // What a report of the last result reads, in the window's language.
    std::unique_ptr<DurationsRequest> RequestOfResult();
    // An open report window takes the new language.
    void Retranslate();
    // The program ends: the report window goes too, and a build under way
    // stops.
    void Close();

  private:
    QWidget* form_;
    const MainControls& c_;
    ProgramState& state_;
    Dialogs& dialogs_;
    const ViewState& view_;
    QTimer& timer1_;
    std::function<Mode()> selectedMode_;
    FrmDurations* frmDurations_ = nullptr;  // created on the first report
};

}  // namespace vek::gui
