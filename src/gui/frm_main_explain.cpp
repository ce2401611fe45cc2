// The main window's explanations of single aspects: a double-click on an
// aspect cell tells when the aspect begins and ends, or draws the course of
// a personal transit as a graph in the chart area; a right-click on the
// graph reads back date, time and distance from exact, and a right-click on
// a line of the chart wheel names its aspect. The texts and the graph come
// from the core (display/aspect_explanation.h, display/transit_graph.h).
#include <QLabel>
#include <QPushButton>
#include <optional>

#include "display/aspect_explanation.h"
#include "display/transit_graph.h"
#include "engine/modes.h"
#include "gui/chart_view.h"
#include "gui/dialogs.h"
#include "gui/form_helpers.h"
#include "gui/frm_main.h"
#include "gui/table_grid.h"
#include "gui/twips.h"
#include "paint/chart_painter.h"
#include "time/dates.h"
#include "time/durations.h"

namespace vek::gui {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// The cell's text without a selection, the caret (when the cell shows one)
// at its end.
void CollapseSelection(QLabel* cell) {
    cell->setSelection(static_cast<int>(cell->text().size()), 0);
}

}  // namespace

void FrmMain::CreateExplanationHandlers() {
    connect(picTable_, &TableGrid::CellDoubleClicked, this, &FrmMain::OnCellDoubleClicked);
    connect(picGraphic_, &ChartView::RightClicked, this, &FrmMain::OnGraphicRightClicked);
}

void FrmMain::OnCellDoubleClicked(int index) {
    if (index < 0 || index >= kMaxNumCells) return;
    graphShown_ = false;
    configHiddenByGraph_ = false;
    QLabel* cell = picTable_->Cell(index);
    const Mode mode = computedMode_;
    if (!ModeInfoOf(mode).transits) {
        // Natal aspects and synastry do not move in time: nothing to explain.
        FocusIfPossible(cmdCompute_);
        return;
    }

    CellExplanationInput in;
    in.mode = mode;
    in.cellIndex = index;
    in.numCols = state_.results.table.intNumCols;
    in.cellText = state_.results.table.txbCell[static_cast<size_t>(index)].text;
    in.names = &state_.engine.names;
    in.texts = state_.Texts();
    in.colors = state_.settings.accepted.AspectColor;
    in.orbs = &state_.engine.orbs;
    in.orbIndex = state_.settings.accepted.OrbIndex;
    const ReportDates dates = ReportDatesFrom(state_.rows, mode);
    AspectSearch search([this](int body, double jd) { return state_.engine.Longitude(body, jd); },
                        state_.engine.orbs, dates.worldLocalDayValue, dates.worldZoneMinutes);
    if (ModeInfoOf(mode).personal) search.FixFirstBodyAt(dates.birthJulianDate);
    in.search = &search;
    const CellExplanation e = ExplainCell(in);

    switch (e.action) {
        case CellExplanation::Action::Nothing:
        case CellExplanation::Action::FocusOnly:
            return;
        case CellExplanation::Action::ClearSelection:
            CollapseSelection(cell);
            return;
        case CellExplanation::Action::MoonMessage:
            dialogs_.Message(Q(e.text), Q(e.title), MessageIcon::Information);
            return;
        case CellExplanation::Action::Graph:
            if (ShowTransitGraph(e, dates)) return;
            break;
        case CellExplanation::Action::Question:
            break;
    }
    const QString question =
        Q(e.question.empty() ? DurationsQuestion(in.texts, mode, e.text) : e.question);
    if (dialogs_.AskYesNo(question, Q(e.title), Answer::No) == Answer::Yes) ShowDurationsReport();
    FocusIfPossible(cmdCompute_);
    CollapseSelection(cell);
}

// Draws the graph of a personal transit whose beginning and end are known
// and shows it in place of the table. False when no graph could be drawn.
bool FrmMain::ShowTransitGraph(const CellExplanation& e, const ReportDates& dates) {
    const int slot = computedMode_ == Mode::Personal2 ? kBirth2 : kBirth1;
    const Engine& engine = state_.engine;
    const bool sidereal = engine.SiderealZodiac;
    TransitGraphInput g;
    g.natalBody = e.p;
    g.transitBody = e.q;
    g.aspect = e.aspect;
    g.zoneMinutes = dates.worldZoneMinutes;
    g.beginning = e.beginning;
    g.end = e.end;
    g.natalJulianDate = dates.birthJulianDate;
    g.worldLocalDayValue = dates.worldLocalDayValue;
    g.worldJulianDate = state_.rows.InputDateToAJDate(kWorldDate);
    g.orb = engine.orbs.orb[e.aspect][kOrbPersonal];
    g.color = state_.settings.accepted.AspectColor[static_cast<size_t>(e.aspect)];
    g.longitude = LongitudeInZodiac(engine, sidereal);
    g.otherLongitude = LongitudeInZodiac(engine, !sidereal);
    g.title = TransitGraphTitle(state_.Texts(), engine.names, e.p, e.q, e.aspect, g.orb, sidereal);
    CalendarDate birth;
    birth.dayNumber = static_cast<int32_t>(std::floor(state_.rows.LocalDayValue(slot)));
    DayNumberToDate(birth);
    g.natalDate = IsoDateText(birth);
    TransitGraph graph = DrawTransitGraph(g);
    if (!graph.drawn) return false;

    transitGraph_ = std::move(graph);
    lblClickonAspect_->clear();
    picGraphic_->Show(transitGraph_.drawing, Twips::Top(picTable_));
    cmdToggleGraphic_->setText(PT(kTextShowTable));
    cmdToggleGraphic_->show();
    picGraphic_->show();
    picGraphic_->raise();
    picTable_->hide();

    graphShown_ = true;
    picGraphic_->setToolTip(PT(kTextGraphTip));
    lblStatus_->hide();
    cmdRun_->hide();
    cmdLoadState_->hide();
    // Everything but saving, the way back to the table and quitting waits
    // until the table is shown again; the text boxes too, so that no compute
    // can replace the graph behind the user's back.
    SetControlsEnabled(this, false, false, true, true);
    cmdSaveAs_->setText(PT(kTextSaveImageAs));
    cmdSaveAs_->setToolTip(PT(kTextSaveImageTip));
    for (QPushButton* b : {cmdSaveAs_, cmdToggleGraphic_, cmdQuit_}) b->setEnabled(true);
    if (configDialogHooks_.visible && configDialogHooks_.visible()) {
        if (configDialogHooks_.hide) configDialogHooks_.hide();
        configHiddenByGraph_ = true;
    }
    return true;
}

// The toggle leaves the graph: the configuration dialog it hid comes back,
// and the text boxes it disabled work again (the toggle enables the rest).
void FrmMain::LeaveTransitGraph() {
    if (configHiddenByGraph_ && configDialogHooks_.show) configDialogHooks_.show();
    configHiddenByGraph_ = false;
    graphShown_ = false;
    SetControlsEnabled(this, true, false, true, false);
}

void FrmMain::OnGraphicRightClicked(int xTwips, int yTwips) {
    if (!picGraphic_->isVisible()) return;
    if (graphShown_) {
        picGraphic_->setToolTip(QString());
        // Only a point of something drawn in the plot is read: black is
        // empty space.
        const Color c = paint::PixelColorAt(picGraphic_->Wheel(), xTwips, yTwips);
        if (c <= 0) return;
        const std::optional<GraphReading> r = ReadGraphAt(transitGraph_, xTwips, yTwips);
        if (!r) return;
        dialogs_.Message(Q(GraphReadingText(state_.Texts(), *r)), PT(kTextTransitGraph),
                         MessageIcon::None);
        return;
    }
    const Color c = paint::PixelColorAt(picGraphic_->Wheel(), xTwips, yTwips);
    if (c < 0) return;
    const std::string text =
        WheelLineText(c, state_.settings.accepted.AspectColor, state_.engine.names);
    if (!text.empty()) dialogs_.Message(Q(text), kWheelLineTitle, MessageIcon::None);
}

}  // namespace vek::gui
