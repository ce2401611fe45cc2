// The main window's switch between the aspect table and the chart wheel:
// the toggle button, the buttons whose captions and visibility follow the
// view, and "Save as ...", which saves the chart as an image while it is
// shown and the state otherwise.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "app/pattern_run.h"
#include "config/program_text.h"
#include "display/results_text.h"
#include "gui/chart_view.h"
#include "gui/form_helpers.h"
#include "gui/frm_main.h"
#include "gui/run_controller.h"
#include "gui/state_commands.h"
#include "gui/table_grid.h"

namespace vek::gui {

bool FrmMain::ChartShown() const {
    return panel_ && panel_->ChartShown();
}

void FrmMain::UpdateSaveAsButton() {
    QFont f = ui_.cmdSaveAs->font();
    f.setBold(false);
    ui_.cmdSaveAs->setFont(f);
    ui_.cmdSaveAs->show();
    ui_.cmdSaveAs->setText(PT(ChartShown() ? kTextSaveImageAs : kTextSaveAs));
    ui_.cmdLoadState->setText(PT(kTextLoadFrom));
    ui_.cmdLoadState->setVisible(!ChartShown());
}

// The toggle's caption, the run button and the status label as the chart
// or the table is shown.
void FrmMain::UpdateChartButtons() {
    const bool chart = ChartShown();
    ui_.cmdToggleGraphic->setText(PT(chart ? kTextShowTable : kTextShowChart));
    // While a run goes on the button is its stop button and stays, whatever
    // the chart does.
    ui_.cmdRun->setText(PT(view_.runInProgress ? kTextStop : kTextRun));
    const bool offered = RunButtonOffered(
        chart, /*explanationShown=*/panel_->GraphShown(), !ui_.cmdToggleGraphic->isHidden(),
        SelectedMode(), ui_.cboForwardBack->currentIndex(),
        state_.settings.accepted.IncludeMoon);
    ui_.cmdRun->setVisible(view_.runInProgress || offered);
    if (chart) ui_.lblStatus->hide();
}

void FrmMain::OnToggleGraphic() {
    ui_.picGraphic->setToolTip(QString());
    QApplication::processEvents();
    if (panel_->GraphShown()) panel_->LeaveTransitGraph();
    SetControlsEnabled(this, true, false, false, true);
    if (ChartShown()) {
        ui_.cmdToggleGraphic->setText(PT(kTextShowChart));
        panel_->ShowTable();
        ui_.cmdRun->hide();
        // Leaving the chart stops a run and a repeated stepping.
        runner_->AbandonRun();
    } else if (view_.computedMode != Mode::None) {
        panel_->DrawChart();
        ui_.cmdRun->setText(PT(kTextRun));
    }
    ui_.cmdSaveAs->setToolTip(ChartShown() ? PT(kTextSaveImageTip) : QString());
    // The title of the chart differs from the table's.
    if (view_.computedMode != Mode::None) {
        ui_.lblTitle->setText(QString::fromStdString(UpdateTitle(
            view_.computedMode, ChartShown(), state_.engine.orbs.summary, state_.Texts())));
    }
    ArrangeReportArea();
    UpdateChartButtons();
    UpdateSaveAsButton();
    UpdateHintLabel();
    TimerTick();
    ui_.cmdLoadState->setVisible(!ChartShown());
}

void FrmMain::OnSaveAs() {
    if (ChartShown()) {
        panel_->SaveChartImage();
    } else {
        stateCommands_->SaveStateAs();
    }
}

}  // namespace vek::gui
