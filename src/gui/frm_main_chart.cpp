// The main window's chart wheel: the button that switches between table and
// chart, the drawing after every compute while the chart is shown, and
// "Save image as ...", which writes the annotated chart as a PNG (or SVG)
// file.
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include "app/pattern_run.h"
#include "config/program_text.h"
#include "display/chart_image.h"
#include "display/chart_wheel.h"
#include "engine/modes.h"
#include "gui/chart_view.h"
#include "gui/dialogs.h"
#include "gui/form_helpers.h"
#include "gui/frm_main.h"
#include "gui/table_grid.h"
#include "gui/twips.h"
#include "paint/chart_painter.h"

namespace vek::gui {

namespace {

// The command buttons' row and their places, in twips.
constexpr int kButtonTop = 150 + 3 * 450 + 60;
constexpr int kButtonHeight = 375;
constexpr int kTitleTop = 2000;
constexpr int kSaveAsLeft = 10900;
// "Report" stands just before "Save as ...", in the order of the command row.
constexpr int kReportWidth = 1120;
constexpr int kReportLeft = kSaveAsLeft - 100 - kReportWidth;

}  // namespace

void FrmMain::CreateChartControls() {
    picGraphic_ = new ChartView(this);
    picGraphic_->hide();
    cmdRun_ = NewButton("cmdRun");
    cmdToggleGraphic_ = NewButton("cmdToggleGraphic");
    cmdSaveAs_ = NewButton("cmdSaveAs");
    cmdLoadState_ = NewButton("cmdLoadState");
    cmdRun_->hide();
    cmdLoadState_->hide();
    connect(cmdToggleGraphic_, &QPushButton::clicked, this, &FrmMain::OnToggleGraphic);
    connect(cmdSaveAs_, &QPushButton::clicked, this, &FrmMain::OnSaveAs);
    connect(cmdLoadState_, &QPushButton::clicked, this, &FrmMain::OnLoadState);
    CreateRunControls();
    LayoutCommandButtons();
    CreateExplanationHandlers();
}

void FrmMain::LayoutCommandButtons() {
    // "Run" and the toggle continue the stepping row; "Save image as ..."
    // and "Load from ..." stand at the right end of the title's row, which
    // leaves the title and the hint the room to their left.
    Twips::Place(cmdRun_, 5600, kButtonTop, 1120, kButtonHeight);
    Twips::Place(cmdToggleGraphic_, 6820, kButtonTop, 1400, kButtonHeight);
    Twips::Place(cmdSaveAs_, kSaveAsLeft, kTitleTop, 1950, kButtonHeight);
    Twips::Place(cmdLoadState_, kSaveAsLeft + 1950 + 100, kTitleTop, 1750, kButtonHeight);
    if (cmdReport_) Twips::Place(cmdReport_, kReportLeft, kTitleTop, kReportWidth, kButtonHeight);
    const int labelsEnd = cmdReport_ ? kReportLeft : kSaveAsLeft;
    for (QLabel* l : {lblTitle_, lblClickonAspect_})
        Twips::Resize(l, labelsEnd - 100 - Twips::Left(l), Twips::Height(l));
}

bool FrmMain::ChartShown() const {
    return picGraphic_ && picGraphic_->isVisible();
}

void FrmMain::UpdateSaveAsButton() {
    QFont f = cmdSaveAs_->font();
    f.setBold(false);
    cmdSaveAs_->setFont(f);
    cmdSaveAs_->show();
    cmdSaveAs_->setText(PT(ChartShown() ? kTextSaveImageAs : kTextSaveAs));
    cmdLoadState_->setText(PT(kTextLoadFrom));
    cmdLoadState_->setVisible(!ChartShown());
}

// The toggle's caption, the run button and the status label as the chart
// or the table is shown.
void FrmMain::UpdateChartButtons() {
    const bool chart = ChartShown();
    cmdToggleGraphic_->setText(PT(chart ? kTextShowTable : kTextShowChart));
    // While a run goes on the button is its stop button and stays, whatever
    // the chart does.
    cmdRun_->setText(PT(runInProgress_ ? kTextStop : kTextRun));
    const bool offered = RunButtonOffered(
        chart, /*explanationShown=*/graphShown_, !cmdToggleGraphic_->isHidden(), SelectedMode(),
        cboForwardBack_->currentIndex(), state_.settings.accepted.IncludeMoon);
    cmdRun_->setVisible(runInProgress_ || offered);
    if (chart) lblStatus_->hide();
}

// Draws the chart of the current result and shows it in place of the table.
// A chart too crowded for its glyphs is not shown: the warning names it, and
// the table stays (or comes back) on the screen.
bool FrmMain::DrawChart() {
    const WheelInput in = MakeWheelInput(state_.results.chart, state_.results.table,
                                         state_.engine.names, state_.settings, state_.Texts());
    ChartWheel wheel =
        DrawChartWheel(in, env_.glyphInks ? *env_.glyphInks : paint::MeasuredGlyphInks());
    if (!wheel.drawn) {
        dialogs_.Message(PT(kTextChartCrowded), PT(kTextChart), MessageIcon::Exclamation);
        picGraphic_->hide();
        picTable_->show();
        return false;
    }
    picGraphic_->Show(std::move(wheel), Twips::Top(picTable_));
    cmdToggleGraphic_->setText(PT(kTextShowTable));
    picGraphic_->show();
    picGraphic_->raise();
    picTable_->hide();
    return true;
}

void FrmMain::OnToggleGraphic() {
    picGraphic_->setToolTip(QString());
    QApplication::processEvents();
    if (graphShown_) LeaveTransitGraph();
    SetControlsEnabled(this, true, false, false, true);
    if (ChartShown()) {
        cmdToggleGraphic_->setText(PT(kTextShowChart));
        picGraphic_->hide();
        picTable_->show();
        cmdRun_->hide();
        // Leaving the chart stops a run and a repeated stepping.
        AbandonRun();
    } else if (computedMode_ != Mode::None) {
        DrawChart();
        cmdRun_->setText(PT(kTextRun));
    }
    cmdSaveAs_->setToolTip(ChartShown() ? PT(kTextSaveImageTip) : QString());
    // The title of the chart differs from the table's.
    if (computedMode_ != Mode::None) {
        lblTitle_->setText(QString::fromStdString(
            UpdateTitle(computedMode_, ChartShown(), state_.engine.orbs.summary, state_.Texts())));
    }
    ArrangeReportArea();
    UpdateChartButtons();
    UpdateSaveAsButton();
    UpdateHintLabel();
    TimerTick();
    cmdLoadState_->setVisible(!ChartShown());
}

void FrmMain::OnSaveAs() {
    if (ChartShown()) {
        SaveChartImage();
    } else {
        SaveStateAs();
    }
}

// PNG first, as the default; a name ending in ".svg" gives a drawing.
QString FrmMain::ChartImageFilter() const {
    return PT(kTextPngImages) + " (*.png) | *.png | " + PT(kTextSvgImages) + " (*.svg) | *.svg";
}

// "Save image as ...": the chart without its legend, annotated, written in
// one piece. Only a complete file replaces the chosen one.
void FrmMain::SaveChartImage() {
    const std::optional<QString> chosen =
        dialogs_.SaveFileName(PT(kTextSaveChartTitle), ChartImageFilter());
    if (!chosen || chosen->isEmpty()) return;
    QString path = *chosen;
    // The file's contents always match its name: PNG, or SVG for ".svg".
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != "png" && suffix != "svg") path += ".png";
    // At the screen's resolution: a high-dpi screen saves a sharper image.
    const double scale = picGraphic_->devicePixelRatioF() * Twips::LogicalDpi() / 96.0;
    auto report = [&](const Status& written) {
        if (written) {
            dialogs_.Message(PT(kTextImageSaved) + "\n" + path, cmdSaveAs_->text(),
                             MessageIcon::Information);
        } else {
            dialogs_.Message(PT(kTextImageNotSaved) + "\n" + path + "\n" +
                                 QString::fromStdString(written.message()),
                             cmdSaveAs_->text(), MessageIcon::Exclamation);
        }
    };
    // The transit graph is saved as it is shown.
    if (graphShown_) {
        report(paint::WriteChartFile(picGraphic_->Wheel(), path, std::max(1.0, scale)));
        return;
    }

    // The legend leaves the chart before the copy is made; it reappears with
    // the next drawing.
    ChartWheel& shown = picGraphic_->Wheel();
    RemoveLegend(shown);
    picGraphic_->update();

    SavedImageInput in;
    in.texts = state_.Texts();
    in.whiteBackground = state_.settings.accepted.WhiteImageBackground;
    in.suppressInnerAspects = !state_.settings.accepted.ShowInnerPlanetAspects;
    in.sidereal = state_.settings.accepted.SiderealZodiac;
    in.version = ProgramVersionText();
    in.orbSummary = AnnotationOrbSummary(in.texts, computedMode_, state_.engine.orbs.summary);
    in.rows = &state_.rows;
    report(paint::WriteChartFile(SavedChartImage(shown, in), path, std::max(1.0, scale)));
}

}  // namespace vek::gui
