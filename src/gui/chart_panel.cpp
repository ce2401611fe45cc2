#include "gui/chart_panel.h"

#include <QCursor>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <optional>

#include "display/chart_image.h"
#include "display/version.h"
#include "display/results_text.h"
#include "engine/modes.h"
#include "gui/chart_view.h"
#include "gui/dialogs.h"
#include "gui/form_helpers.h"
#include "gui/main_controls.h"
#include "gui/places.h"
#include "gui/table_grid.h"
#include "gui/twips.h"
#include "gui/view_state.h"
#include "paint/chart_painter.h"
#include "time/dates.h"

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

// The image's sizes offered as PNG filters: the screen's, then larger.
constexpr int kImageSizes[] = {1, 2, 4};
constexpr int kSvgFilter = 3;

// PNG first, as the default, then the larger PNG sizes; a name ending in
// ".svg" (or the last filter) gives a drawing.
QString ChartImageFilter(const ProgramTexts& texts) {
    QString filter = Q(texts.ProgramText(kTextPngImages)) + " (*.png) | *.png | ";
    for (int i = 1; i < 3; ++i) {
        filter += Q(texts.ProgramTextWithValues(kTextPngImagesScaled,
                                                {std::to_string(kImageSizes[i]), "", "", "", ""})) +
                  " (*.png) | *.png | ";
    }
    return filter + Q(texts.ProgramText(kTextSvgImages)) + " (*.svg) | *.svg";
}

}  // namespace

ChartPanel::ChartPanel(QWidget* form, const MainControls& controls, ProgramState& state,
                       Dialogs& dialogs, const ViewState& view, const GlyphInks* glyphInks)
    : QObject(form),
      form_(form),
      c_(controls),
      state_(state),
      dialogs_(dialogs),
      view_(view),
      glyphInks_(glyphInks) {
    connect(c_.picTable, &TableGrid::CellDoubleClicked, this, &ChartPanel::OnCellDoubleClicked);
    connect(c_.picGraphic, &ChartView::RightClicked, this, &ChartPanel::OnGraphicRightClicked);
    connect(c_.picGraphic, &ChartView::PointerMoved, this, &ChartPanel::OnGraphicHovered);
    connect(c_.picGraphic, &ChartView::PointerLeft, this, [this] {
        if (!graphShown_) {
            c_.picGraphic->SetHighlight(-1);
            c_.picGraphic->setToolTip(QString());
        }
    });
}

QString ChartPanel::PT(TextId n) const {
    return Q(state_.Texts().ProgramText(n));
}

bool ChartPanel::ChartShown() const {
    return c_.picGraphic && c_.picGraphic->isVisible();
}

// ---------------------------------------------------------------------------
// The wheel

bool ChartPanel::DrawChart() {
    WheelInput in = MakeWheelInput(state_.results.chart, state_.results.table,
                                   state_.engine.names, state_.settings, state_.Texts());
    in.extras = &state_.results.extras;
    ChartWheel wheel = DrawChartWheel(in, glyphInks_ ? *glyphInks_ : paint::MeasuredGlyphInks());
    if (!wheel.drawn) {
        dialogs_.Message(PT(kTextChartCrowded), PT(kTextChart), MessageIcon::Exclamation);
        ShowTable();
        return false;
    }
    c_.picGraphic->Show(std::move(wheel), Twips::Top(c_.picTable));
    c_.picGraphic->setToolTip(QString());
    c_.cmdToggleGraphic->setText(PT(kTextShowTable));
    c_.picGraphic->show();
    c_.picGraphic->raise();
    c_.picTable->hide();
    return true;
}

void ChartPanel::ShowTable() {
    c_.picGraphic->hide();
    c_.picTable->show();
}

// ---------------------------------------------------------------------------
// Explanations of single aspects

CellExplanationInput ChartPanel::ExplanationInput(int index) const {
    CellExplanationInput in;
    in.mode = view_.computedMode;
    in.cellIndex = index;
    in.numCols = state_.results.table.intNumCols;
    in.cellText = state_.results.table.txbCell[static_cast<size_t>(index)].text;
    in.names = &state_.engine.names;
    in.texts = state_.Texts();
    in.colors = state_.settings.accepted.AspectColor;
    in.orbs = &state_.engine.orbs;
    in.orbIndex = state_.settings.accepted.OrbIndex;
    return in;
}

void ChartPanel::OnCellDoubleClicked(int index) {
    if (index < 0 || index >= kMaxNumCells) return;
    graphShown_ = false;
    configHiddenByGraph_ = false;
    QLabel* cell = c_.picTable->Cell(index);
    const Mode mode = view_.computedMode;
    if (!ModeInfoOf(mode).transits) {
        // Natal aspects and synastry do not move in time: nothing to explain.
        FocusIfPossible(c_.cmdCompute);
        return;
    }
    CellExplanationInput in = ExplanationInput(index);
    const ReportDates dates = ReportDatesFrom(state_.rows, mode);
    AspectSearch search([this](Body body, JulianDate jd) { return state_.engine.Longitude(body, jd); },
                        state_.engine.orbs, dates.worldLocalDayValue, dates.worldZoneMinutes);
    search.UseNamedZone(dates.worldNamedZone);
    if (ModeInfoOf(mode).personal) search.FixFirstBodyAt(dates.birthJulianDate);
    in.search = &search;
    in.exact.engine = &state_.engine;
    in.exact.chart = &state_.results.chart;
    in.exact.zone = dates.worldNamedZone.IsNamed() ? dates.worldNamedZone
                                                   : TimeZone::Fixed(dates.worldZoneMinutes);
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
    if (dialogs_.AskYesNo(question, Q(e.title), Answer::No) == Answer::Yes && showDurations_) {
        showDurations_();
    }
    FocusIfPossible(c_.cmdCompute);
    CollapseSelection(cell);
}

std::optional<TransitGraphInput> ChartPanel::GraphInput(const CellExplanation& e,
                                                        const ReportDates& dates) const {
    const DateSlot slot = view_.computedMode == Mode::Personal2 ? kBirth2 : kBirth1;
    const Result<JulianDate> world = state_.rows.InputDateToAJDate(kWorldDate);
    const Result<double> birthDay = state_.rows.LocalDayValue(slot);
    if (!world || !birthDay || !dates.worldLocalDayValue || !dates.birthJulianDate)
        return std::nullopt;
    const Engine& engine = state_.engine;
    const bool sidereal = engine.SiderealZodiac;
    TransitGraphInput g;
    g.natalBody = e.p;
    g.transitBody = e.q;
    g.aspect = e.aspect;
    g.zoneMinutes = dates.worldZoneMinutes;
    g.beginning = e.beginning;
    g.end = e.end;
    g.natalJulianDate = dates.birthJulianDate->days;
    g.worldLocalDayValue = *dates.worldLocalDayValue;
    g.worldJulianDate = world->days;
    g.orb = engine.orbs.orb[e.aspect][kOrbPersonal];
    g.color = state_.settings.accepted.AspectColor[e.aspect];
    g.longitude = LongitudeInZodiac(engine, sidereal);
    g.otherLongitude = LongitudeInZodiac(engine, !sidereal);
    g.title = TransitGraphTitle(state_.Texts(), engine.names, e.p, e.q, e.aspect, g.orb, sidereal);
    if (e.exact) g.exactPasses = e.exact->exact;
    CalendarDate birth;
    birth.dayNumber = static_cast<int32_t>(std::floor(*birthDay));
    DayNumberToDate(birth);
    g.natalDate = IsoDateText(birth);
    return g;
}

// Draws the graph of a personal transit whose beginning and end are known
// and shows it in place of the table. False when no graph could be drawn.
bool ChartPanel::ShowTransitGraph(const CellExplanation& e, const ReportDates& dates) {
    const std::optional<TransitGraphInput> input = GraphInput(e, dates);
    if (!input) return false;
    TransitGraph graph = DrawTransitGraph(*input);
    if (!graph.drawn) return false;

    transitGraph_ = std::move(graph);
    c_.lblClickonAspect->clear();
    c_.picGraphic->Show(transitGraph_.drawing, Twips::Top(c_.picTable));
    c_.cmdToggleGraphic->setText(PT(kTextShowTable));
    c_.cmdToggleGraphic->show();
    c_.picGraphic->show();
    c_.picGraphic->raise();
    c_.picTable->hide();
    graphShown_ = true;
    c_.picGraphic->setToolTip(PT(kTextGraphTip));
    LockForGraph();
    return true;
}

// Everything but saving, the way back to the table and quitting waits until
// the table is shown again; the text boxes too, so that no compute can
// replace the graph behind the user's back.
void ChartPanel::LockForGraph() {
    c_.lblStatus->hide();
    c_.cmdRun->hide();
    c_.cmdLoadState->hide();
    SetControlsEnabled(form_, false, false, true, true);
    c_.cmdSaveAs->setText(PT(kTextSaveImageAs));
    c_.cmdSaveAs->setToolTip(PT(kTextSaveImageTip));
    for (QPushButton* b : {c_.cmdSaveAs, c_.cmdToggleGraphic, c_.cmdQuit}) b->setEnabled(true);
    if (configDialogHooks_.visible && configDialogHooks_.visible()) {
        if (configDialogHooks_.hide) configDialogHooks_.hide();
        configHiddenByGraph_ = true;
    }
}

void ChartPanel::LeaveTransitGraph() {
    if (configHiddenByGraph_ && configDialogHooks_.show) configDialogHooks_.show();
    configHiddenByGraph_ = false;
    graphShown_ = false;
    SetControlsEnabled(form_, true, false, true, false);
}

void ChartPanel::OnGraphicRightClicked(int xTwips, int yTwips) {
    if (!c_.picGraphic->isVisible()) return;
    const std::optional<Color> c = paint::PixelColorAt(c_.picGraphic->Wheel(), xTwips, yTwips);
    if (graphShown_) {
        c_.picGraphic->setToolTip(QString());
        // Only a point of something drawn in the plot is read: black is
        // empty space.
        if (!c || *c == Color()) return;
        const std::optional<GraphReading> r = ReadGraphAt(transitGraph_, xTwips, yTwips);
        if (!r) return;
        dialogs_.Message(Q(GraphReadingText(state_.Texts(), *r)), PT(kTextTransitGraph),
                         MessageIcon::None);
        return;
    }
    if (!c) return;
    const QString text = WheelItemText(xTwips, yTwips);
    if (!text.isEmpty()) dialogs_.Message(text, PT(kTextChart), MessageIcon::None);
}

int ChartPanel::WheelItemAt(int xTwips, int yTwips) const {
    // Four pixels of the screen either side of a line, however large the
    // drawing is shown.
    const int reach = std::max(45, static_cast<int>(4 / c_.picGraphic->Scale()));
    return ItemAt(c_.picGraphic->Wheel(), xTwips, yTwips, reach);
}

QString ChartPanel::WheelItemText(int xTwips, int yTwips) const {
    const int item = WheelItemAt(xTwips, yTwips);
    if (item < 0) return QString();
    return Q(ItemName(c_.picGraphic->Wheel().items[static_cast<size_t>(item)],
                      state_.results.chart, state_.engine.names, state_.Texts()));
}

void ChartPanel::OnGraphicHovered(int xTwips, int yTwips) {
    if (graphShown_ || !c_.picGraphic->isVisible()) return;
    const int item = WheelItemAt(xTwips, yTwips);
    const QString text = WheelItemText(xTwips, yTwips);
    c_.picGraphic->SetHighlight(text.isEmpty() ? -1 : item);
    if (text != c_.picGraphic->toolTip()) {
        c_.picGraphic->setToolTip(text);
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(QCursor::pos(), text, c_.picGraphic);
    }
}

// ---------------------------------------------------------------------------
// Saving the image

void ChartPanel::ReportImageSaved(const QString& path, const Status& written) {
    if (written) {
        dialogs_.Message(PT(kTextImageSaved) + "\n" + path, c_.cmdSaveAs->text(),
                         MessageIcon::Information);
    } else {
        dialogs_.Message(PT(kTextImageNotSaved) + "\n" + path + "\n" + Q(written.message()),
                         c_.cmdSaveAs->text(), MessageIcon::Exclamation);
    }
}

void ChartPanel::SaveChartImage() {
    int filter = 0;
    Dialogs::FileRequest request;
    request.title = PT(graphShown_ ? kTextSaveGraphImageTitle : kTextSaveChartImageTitle);
    request.filter = ChartImageFilter(state_.Texts());
    request.folder = folders_ ? folders_->StartFolder(FileKind::Image) : QString();
    request.filterIndex = &filter;
    const std::optional<QString> chosen = dialogs_.SaveFile(request);
    if (!chosen || chosen->isEmpty()) return;
    if (folders_) folders_->Remember(FileKind::Image, *chosen);
    QString path = *chosen;
    // The file's contents always match its name: PNG, or SVG for ".svg"; a
    // name without either gets the one of the filter chosen.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != "png" && suffix != "svg") path += filter == kSvgFilter ? ".svg" : ".png";
    // At the screen's resolution (a high-dpi screen saves a sharper image),
    // times the size chosen.
    const int size = filter >= 0 && filter < kSvgFilter ? kImageSizes[filter] : 1;
    const double scale =
        size * std::max(1.0, c_.picGraphic->devicePixelRatioF() * Twips::LogicalDpi() / 96.0);
    // The transit graph is saved as it is shown.
    if (graphShown_) {
        ReportImageSaved(path, paint::WriteChartFile(c_.picGraphic->Wheel(), path, scale));
        return;
    }
    // The legend leaves the chart before the copy is made; it reappears with
    // the next drawing.
    ChartWheel& shown = c_.picGraphic->Wheel();
    shown.highlight = -1;
    RemoveLegend(shown);
    c_.picGraphic->update();

    SavedImageInput in;
    in.texts = state_.Texts();
    in.whiteBackground = state_.settings.accepted.WhiteImageBackground;
    in.suppressInnerAspects = !state_.settings.accepted.ShowInnerPlanetAspects;
    in.sidereal = state_.settings.accepted.SiderealZodiac;
    in.version = ProgramVersionText();
    in.orbSummary = AnnotationOrbSummary(in.texts, view_.computedMode, state_.engine.orbs.summary);
    in.rows = &state_.rows;
    ReportImageSaved(path, paint::WriteChartFile(SavedChartImage(shown, in), path, scale));
}

}  // namespace vek::gui
