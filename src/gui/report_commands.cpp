#include "gui/report_commands.h"

#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "display/table_model.h"
#include "engine/modes.h"
#include "gui/dialogs.h"
#include "gui/form_helpers.h"
#include "gui/frm_durations.h"
#include "gui/main_controls.h"
#include "gui/table_grid.h"
#include "gui/twips.h"
#include "gui/view_state.h"
#include "time/durations.h"

namespace vek::gui {

namespace {

// The height of a table cell, in twips.
constexpr int kCellHeight = 570;

}  // namespace

ReportCommands::ReportCommands(QWidget* form, const MainControls& controls,
                               ProgramState& state, Dialogs& dialogs, const ViewState& view,
                               QTimer& timer1, std::function<Mode()> selectedMode)
    : form_(form),
      c_(controls),
      state_(state),
      dialogs_(dialogs),
      view_(view),
      timer1_(timer1),
      selectedMode_(std::move(selectedMode)) {}

ReportCommands::~ReportCommands() = default;

void ReportCommands::OnReport() {
    // With extra points turned on, the transits may aspect them though the
    // table holds no aspect: the report lists those.
    const std::vector<ExtraPoint> points = state_.settings.accepted.Extras.Points();
    const bool any =
        view_.computedMode != Mode::None &&
        (state_.results.table.GetTotalNumAspects(state_.engine.names) > 0 ||
         (!points.empty() &&
          !PointAspectsOfChart(state_.engine, state_.results.chart, points).empty()));
    if (!any) {
        const bool personal = ModeInfoOf(selectedMode_()).personal;
        const TextId text = personal ? kTextNoTransitsToReport : kTextNoAspectsToReport;
        dialogs_.Message(QString::fromStdString(state_.Texts().ProgramText(text)),
                         c_.cmdReport->text(), MessageIcon::Information);
        return;
    }
    ShowReport();
}

// The report gets its own copies of what it reads: it may be built on
// another thread while the main window goes on.
std::unique_ptr<DurationsRequest> ReportCommands::RequestOfResult() {
    auto request = std::make_unique<DurationsRequest>();
    request->engine = state_.engine;
    request->chart = state_.results.chart;
    request->dates = ReportDatesFrom(state_.rows, state_.results.chart.mode);
    request->settings = ReportSettingsOf(state_.settings);
    // The points the chart was computed with: their aspects follow the
    // table's, as in vek-cli durations --points.
    request->settings.points = state_.settings.accepted.Extras.Points();
    request->textTable = state_.textTable;
    request->language = state_.language;
    return request;
}

void ReportCommands::ShowReport() {
    if (view_.computedMode == Mode::None) return;
    const bool timerWasRunning = timer1_.isActive();
    timer1_.stop();

    auto request = RequestOfResult();

    if (!frmDurations_) {
        frmDurations_ = new FrmDurations(form_);
        KeepFramesOnScreen(frmDurations_);
    }
    // The report window wears the main window's colours.
    frmDurations_->setPalette(form_->palette());
    if (!frmDurations_->isVisible() && !frmDurations_->isMaximized()) {
        DurationsPlacement p = PlaceDurationsWindow(
            state_.results.chart.mode, Twips::Left(form_), Twips::Top(form_), Twips::Width(form_),
            Twips::Height(form_), Twips::Top(c_.picTable), kCellHeight);
        // A window that would reach below the screen moves up until it fits.
        if (const QScreen* s = form_->screen()) {
            const int screenBottom = Twips::FromPixels(s->availableGeometry().bottom());
            const int screenTop = Twips::FromPixels(s->availableGeometry().top());
            if (p.top + p.height > screenBottom)
                p.top = std::max(screenTop, screenBottom - p.height);
        }
        Twips::Place(frmDurations_, p.left, p.top, p.width, p.height);
    }
    frmDurations_->Report(std::move(request));

    if (timerWasRunning) timer1_.start();
}

void ReportCommands::Retranslate() {
    if (frmDurations_ && frmDurations_->isVisible() && view_.computedMode != Mode::None)
        frmDurations_->Retranslate(RequestOfResult());
}

void ReportCommands::Close() {
    if (frmDurations_) frmDurations_->hide();
}

}  // namespace vek::gui
