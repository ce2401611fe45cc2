// The main window's switch between the aspect table and the chart wheel:
// the toggle button, the buttons whose captions and visibility follow the
// view ("Run", "Save as ...", "Load from ..."), and "Save as ...", which
// saves the chart as an image while it is shown and the state otherwise.
#pragma once

#include <QString>
#include <functional>

#include "app/program_state.h"

class QWidget;

namespace vek::gui {

class ChartPanel;
class RunController;
class StateCommands;
struct MainControls;
struct ViewState;

class ChartViewCommands {
  public:
    // What the commands ask of the window.
    struct Window {
        std::function<Mode()> selectedMode;
        // The summary, the status line and the manual's link around the
        // table or the chart, and the window's size from them.
        std::function<void()> arrangeReportArea;
        std::function<void()> updateHintLabel;
        // Timer1's tick, so the controls' states follow the new view at once.
        std::function<void()> timerTick;
    };

    ChartViewCommands(QWidget* form, const MainControls& controls, const ProgramState& state,
                      const ViewState& view, ChartPanel& panel, RunController& runner,
                      StateCommands& files, Window window);

    bool ChartShown() const;
    // "Save as ..." names what it saves; "Load from ..." goes with the table.
    void UpdateSaveAsButton();
    // The toggle's caption, the run button and the status label as the chart
    // or the table is shown.
    void UpdateChartButtons();
    void OnToggleGraphic();
    void OnSaveAs();

  private:
    QString PT(TextId n) const;

    QWidget* form_;
    const MainControls& c_;
    const ProgramState& state_;
    const ViewState& view_;
    ChartPanel& panel_;
    RunController& runner_;
    StateCommands& files_;
    Window window_;
};

}  // namespace vek::gui
