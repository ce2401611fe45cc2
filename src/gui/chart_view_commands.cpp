#include "gui/chart_view_commands.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "app/pattern_run.h"
#include "config/program_text.h"
#include "display/results_text.h"
#include "gui/chart_panel.h"
#include "gui/chart_view.h"
#include "gui/form_helpers.h"
#include "gui/main_controls.h"
#include "gui/run_controller.h"
#include "gui/state_commands.h"
#include "gui/view_state.h"

namespace vek::gui {

ChartViewCommands::ChartViewCommands(QWidget* form, const MainControls& controls,
                                     const ProgramState& state, const ViewState& view,
                                     ChartPanel& panel, RunController& runner,
                                     StateCommands& files, Window window)
    : form_(form),
      c_(controls),
      state_(state),
      view_(view),
      panel_(panel),
      runner_(runner),
      files_(files),
      window_(std::move(window)) {}

QString ChartViewCommands::PT(TextId n) const {
    return QString::fromStdString(state_.Texts().ProgramText(n));
}

bool ChartViewCommands::ChartShown() const {
    return panel_.ChartShown();
}

void ChartViewCommands::UpdateSaveAsButton() {
    QFont f = c_.cmdSaveAs->font();
    f.setBold(false);
    c_.cmdSaveAs->setFont(f);
    c_.cmdSaveAs->show();
    c_.cmdSaveAs->setText(PT(ChartShown() ? kTextSaveImageAs : kTextSaveAs));
    c_.cmdLoadState->setText(PT(kTextLoadFrom));
    c_.cmdLoadState->setVisible(!ChartShown());
}

void ChartViewCommands::UpdateChartButtons() {
    const bool chart = ChartShown();
    c_.cmdToggleGraphic->setText(PT(chart ? kTextShowTable : kTextShowChart));
    // While a run goes on the button is its stop button and stays, whatever
    // the chart does.
    c_.cmdRun->setText(PT(view_.runInProgress ? kTextStop : kTextRun));
    const bool offered = RunButtonOffered(
        chart, /*explanationShown=*/panel_.GraphShown(), !c_.cmdToggleGraphic->isHidden(),
        window_.selectedMode(), c_.cboForwardBack->currentIndex(),
        state_.settings.accepted.IncludeMoon);
    c_.cmdRun->setVisible(view_.runInProgress || offered);
    if (chart) c_.lblStatus->hide();
}

void ChartViewCommands::OnToggleGraphic() {
    c_.picGraphic->setToolTip(QString());
    QApplication::processEvents();
    if (panel_.GraphShown()) panel_.LeaveTransitGraph();
    SetControlsEnabled(form_, true, false, false, true);
    if (ChartShown()) {
        c_.cmdToggleGraphic->setText(PT(kTextShowChart));
        panel_.ShowTable();
        c_.cmdRun->hide();
        // Leaving the chart stops a run and a repeated stepping.
        runner_.AbandonRun();
    } else if (view_.computedMode != Mode::None) {
        panel_.DrawChart();
        c_.cmdRun->setText(PT(kTextRun));
    }
    c_.cmdSaveAs->setToolTip(ChartShown() ? PT(kTextSaveImageTip) : QString());
    // The title of the chart differs from the table's.
    if (view_.computedMode != Mode::None) {
        c_.lblTitle->setText(QString::fromStdString(UpdateTitle(
            view_.computedMode, ChartShown(), state_.engine.orbs.summary, state_.Texts())));
    }
    window_.arrangeReportArea();
    UpdateChartButtons();
    UpdateSaveAsButton();
    window_.updateHintLabel();
    window_.timerTick();
    c_.cmdLoadState->setVisible(!ChartShown());
}

void ChartViewCommands::OnSaveAs() {
    if (ChartShown()) {
        panel_.SaveChartImage();
    } else {
        files_.SaveStateAs();
    }
}

}  // namespace vek::gui
