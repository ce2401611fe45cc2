// The main window's "Report": the durations of the current aspects, or the
// natal report in natal aspects and synastry, in the report window; a
// message when the table holds no aspect.
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <memory>

#include "display/table_model.h"
#include "engine/modes.h"
#include "gui/dialogs.h"
#include "gui/form_helpers.h"
#include "gui/frm_durations.h"
#include "gui/frm_main.h"
#include "gui/table_grid.h"
#include "gui/twips.h"

namespace vek::gui {

namespace {

// The height of a table cell, in twips.
constexpr int kCellHeight = 570;

}  // namespace

void FrmMain::OnReport() {
    const bool any = view_.computedMode != Mode::None &&
                     state_.results.table.GetTotalNumAspects(state_.engine.names) > 0;
    if (!any) {
        const bool personal = ModeInfoOf(SelectedMode()).personal;
        dialogs_.Message(PT(personal ? kTextNoTransitsToReport : kTextNoAspectsToReport),
                         ui_.cmdReport->text(), MessageIcon::Information);
        return;
    }
    ShowDurationsReport();
}

// The report gets its own copies of what it reads: it may be built on
// another thread while this window goes on.
std::unique_ptr<DurationsRequest> FrmMain::DurationsRequestOfResult() {
    auto request = std::make_unique<DurationsRequest>();
    request->engine = state_.engine;
    request->chart = state_.results.chart;
    request->dates = ReportDatesFrom(state_.rows, state_.results.chart.mode);
    request->settings = ReportSettingsOf(state_.settings);
    request->textTable = state_.textTable;
    request->language = state_.language;
    return request;
}

void FrmMain::ShowDurationsReport() {
    if (view_.computedMode == Mode::None) return;
    const bool timerWasRunning = Timer1_.isActive();
    Timer1_.stop();

    auto request = DurationsRequestOfResult();

    const bool created = !frmDurations_;
    if (created) {
        frmDurations_ = new FrmDurations(this);
        KeepFramesOnScreen(frmDurations_);
    }
    // The report window wears the main window's colours.
    frmDurations_->setPalette(palette());
    if (!frmDurations_->isVisible() && !frmDurations_->isMaximized()) {
        DurationsPlacement p = PlaceDurationsWindow(
            state_.results.chart.mode, Twips::Left(this), Twips::Top(this), Twips::Width(this),
            Twips::Height(this), Twips::Top(ui_.picTable), kCellHeight);
        // A window that would reach below the screen moves up until it fits.
        if (const QScreen* s = screen()) {
            const int screenBottom = Twips::FromPixels(s->availableGeometry().bottom());
            const int screenTop = Twips::FromPixels(s->availableGeometry().top());
            if (p.top + p.height > screenBottom)
                p.top = std::max(screenTop, screenBottom - p.height);
        }
        Twips::Place(frmDurations_, p.left, p.top, p.width, p.height);
    }
    frmDurations_->Report(std::move(request));

    if (timerWasRunning) Timer1_.start();
}

}  // namespace vek::gui
