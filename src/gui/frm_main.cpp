#include "gui/frm_main.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QTextEdit>
#include <algorithm>

#include "app/compute.h"
#include "config/program_text.h"
#include "config/settings.h"
#include "display/chart_image.h"
#include "display/file_view.h"
#include "display/results_text.h"
#include "display/version.h"
#include "engine/modes.h"
#include "gui/chart_view.h"
#include "gui/chart_view_commands.h"
#include "gui/configure_commands.h"
#include "gui/date_rows_panel.h"
#include "gui/dialogs.h"
#include "gui/fonts.h"
#include "gui/form_helpers.h"
#include "gui/frm_configure.h"
#include "gui/frm_durations.h"
#include "gui/help_commands.h"
#include "gui/mode_buttons.h"
#include "gui/places.h"
#include "gui/popup.h"
#include "gui/report_commands.h"
#include "gui/run_controller.h"
#include "gui/state_commands.h"
#include "gui/status_line.h"
#include "gui/table_grid.h"
#include "gui/twips.h"
#include "gui/window_layout.h"
#include "platform/time_zones.h"
#include "time/stepping.h"

namespace vek::gui {

using namespace main_layout;

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

QString FrmMain::PT(TextId n) const {
    return Q(state_.Texts().ProgramText(n));
}

FrmMain::FrmMain(Dialogs& dialogs, Environment env, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      env_(std::move(env)),
      store_(env_.configFolder.empty() ? platform::SettingsStore()
                                       : platform::SettingsStore(env_.configFolder)) {
    setObjectName("frmMain");
    setAttribute(Qt::WA_DeleteOnClose, false);
    KeepFramesOnScreen(this);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("scrMain");
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    content_ = new QWidget;
    content_->setObjectName("picContent");
    scroll_->setWidget(content_);
    ui_ = CreateMainControls(content_, state_.rows);
    CreateParts();
    ConnectControls();
    Timer1_.setInterval(1000);
    connect(&Timer1_, &QTimer::timeout, this, &FrmMain::TimerTick);
}

FrmMain::~FrmMain() = default;

QString FrmMain::VersionText() const {
    return Q(ProgramVersionText());
}

// ---------------------------------------------------------------------------
// Building the window

void FrmMain::CreateParts() {
    DateRowsPanel::Window rowsWindow;
    rowsWindow.selectedMode = [this] { return SelectedMode(); };
    rowsWindow.compute = [this] { Compute(); };
    rowsWindow.edited = [this] { OnRowEdited(); };
    rowsWindow.yearLeft = [this] { MarkStale(); };
    rowsWindow.toggleAngles = [this] { view_.anglesInRadians = !view_.anglesInRadians; };
    rows_ = new DateRowsPanel(this, ui_, state_, dialogs_, std::move(rowsWindow));
    layout_ = std::make_unique<MainWindowLayout>(this, content_, ui_, view_,
                                                 [this] { return ChartShown(); });
    panel_ = new ChartPanel(this, ui_, state_, dialogs_, view_, env_.glyphInks);
    panel_->SetDurationsReport([this] { ShowDurationsReport(); });
    // The transit graph hides an open configuration dialog and the way back
    // to the table shows it again.
    panel_->SetConfigDialogHooks({[this] { return configure_->DialogVisible(); },
                                  [this] {
                                      if (Configuration()) Configuration()->HideDialog();
                                  },
                                  [this] {
                                      if (Configuration()) Configuration()->Display();
                                  }});
    RunController::Window run;
    run.selectedMode = [this] { return SelectedMode(); };
    run.chartShown = [this] { return ChartShown(); };
    run.compute = [this] { Compute(); };
    run.showRows = [this] { rows_->ShowAll(); };
    run.showStepResults = [this] { ShowStepResults(); };
    runner_ = new RunController(this, ui_, state_, dialogs_, view_, std::move(run));
    StateCommands::Window files;
    files.selectedMode = [this] { return SelectedMode(); };
    files.selectMode = [this](Mode m) { modes_->SelectMode(m); };
    files.compute = [this] { Compute(); };
    files.showWorldTransitsNow = [this] { ShowWorldTransitsNow(); };
    files.showRow = [this](DateSlot slot) { rows_->ShowRow(slot); };
    files.chartShown = [this] { return ChartShown(); };
    files.toggleGraphic = [this] { chartView_->OnToggleGraphic(); };
    stateCommands_ =
        new StateCommands(this, ui_, state_, store_, dialogs_, view_, std::move(files));
    CreateViewParts();
    CreateCommands();
    folders_ = std::make_unique<FileFolders>(store_, Q(env_.documentsFolder));
    stateCommands_->SetFolders(folders_.get());
    panel_->SetFolders(folders_.get());
}

void FrmMain::CreateViewParts() {
    status_ = std::make_unique<StatusLine>(ui_, state_, view_);
    ModeButtons::Window modes;
    modes.compute = [this] { Compute(); };
    modes.chartShown = [this] { return ChartShown(); };
    modes.enableStepping = [this] { runner_->EnableStepping(); };
    modes_ = std::make_unique<ModeButtons>(ui_, state_, view_, std::move(modes));
    ChartViewCommands::Window chart;
    chart.selectedMode = [this] { return SelectedMode(); };
    chart.arrangeReportArea = [this] { ArrangeReportArea(); };
    chart.updateHintLabel = [this] { modes_->UpdateHintLabel(); };
    chart.timerTick = [this] { TimerTick(); };
    chartView_ = std::make_unique<ChartViewCommands>(this, ui_, state_, view_, *panel_, *runner_,
                                                     *stateCommands_, std::move(chart));
}

void FrmMain::CreateCommands() {
    help_ = std::make_unique<HelpCommands>(this, ui_, state_, dialogs_, env_.dataFolder,
                                           env_.openUrl);
    report_ = std::make_unique<ReportCommands>(this, ui_, state_, dialogs_, view_, Timer1_,
                                               [this] { return SelectedMode(); });
    FrmConfigure::Hooks hooks;
    hooks.startupComplete = [this] { return view_.blnStartupCompleted; };
    // "Use settings": the zone lists follow the North American choice,
    // keeping their selections; then the result is computed anew.
    hooks.accepted = [this] {
        state_.rows.SetUpTimezoneComboBoxes(true, state_.settings.controls.northAmericanZones);
        rows_->FillLists();
        if (isMinimized()) showNormal();
        Compute();
    };
    configure_ = std::make_unique<ConfigureCommands>(this, ui_, state_, store_, dialogs_, Timer1_,
                                                     std::move(hooks));
    // Whatever else changes the settings (a loaded state) shows in the open
    // dialog after the compute that follows it.
    connect(this, &FrmMain::Computed, this, [this] { configure_->ShowSettingsIfVisible(); });
}

void FrmMain::ConnectControls() {
    connect(ui_.cmdNow, &QPushButton::clicked, this, &FrmMain::OnNow);
    for (QAbstractButton* b : ui_.modeGroup->buttons()) {
        connect(b, &QAbstractButton::clicked, this, [this] { modes_->OnModeClicked(); });
    }
    connect(ui_.cmdCompute, &QPushButton::clicked, this, &FrmMain::Compute);
    connect(ui_.optEnglish, &QRadioButton::clicked, this, [this] { ApplyLanguage(kEnglish); });
    connect(ui_.optGerman, &QRadioButton::clicked, this, [this] { ApplyLanguage(kGerman); });
    connect(ui_.cmdQuit, &QPushButton::clicked, this, &FrmMain::OnQuit);
    connect(ui_.cmdHelp, &QPushButton::clicked, this, [this] { help_->OnHelp(); });
    connect(ui_.lblURL, &QLabel::linkActivated, this, [this] { help_->OnManualLink(); });
    connect(ui_.cmdToggleGraphic, &QPushButton::clicked, this,
            [this] { chartView_->OnToggleGraphic(); });
    connect(ui_.cmdSaveAs, &QPushButton::clicked, this, [this] { chartView_->OnSaveAs(); });
    connect(ui_.cmdReport, &QPushButton::clicked, this, [this] { report_->OnReport(); });
    connect(ui_.cmdConfigure, &QPushButton::clicked, this, [this] { configure_->OnConfigure(); });
}

void FrmMain::InitMainWindow() {
    stateCommands_->SetAutoStatePath(env_.autoStatePath.empty() ? vek::AutoStatePath()
                                                                : env_.autoStatePath);
    view_.computedMode = Mode::None;
    view_.runInProgress = false;
    view_.inputErrorReported = false;
    view_.anglesInRadians = false;
    ui_.lblTitle->clear();
    ui_.picTable->hide();
    ui_.txbReport->hide();
    ui_.txbReport1->hide();
}

int FrmMain::WidthLimit() const {
    return layout_->WidthLimit();
}

int FrmMain::HeightLimit() const {
    return layout_->HeightLimit();
}

FrmView* FrmMain::Viewer() const {
    return help_->Viewer();
}

FrmDurations* FrmMain::DurationsWindow() const {
    return report_->Window();
}

FrmConfigure* FrmMain::Configuration() const {
    return configure_->Dialog();
}

void FrmMain::ShowDurationsReport() {
    report_->ShowReport();
}

std::unique_ptr<DurationsRequest> FrmMain::DurationsRequestOfResult() {
    return report_->RequestOfResult();
}

const std::string& FrmMain::AutoStatePath() const {
    return stateCommands_->AutoStatePath();
}

FrmRun* FrmMain::RunDialog() const {
    return runner_->RunDialog();
}

const QTimer& FrmMain::RunTimer() const {
    return runner_->RunTimer();
}

void FrmMain::RunTick() {
    runner_->RunTick();
}

// ---------------------------------------------------------------------------
// Start-up

bool FrmMain::Load() {
    view_.blnStartupCompleted = false;
    Timer1_.stop();

    // The program text: nothing can be shown without it.
    const Status loaded = state_.LoadTexts(env_.dataFolder);
    if (!loaded) {
        dialogs_.Message(Q(loaded.message()), QString(), MessageIcon::Critical);
        End();
        return false;
    }

    QFont controlFont(kControlFontFamily, 8);
    setFont(controlFont);
    SetControlsFontName(this, kControlFontFamily, true, kGlyphFontFamily);
    Twips::Move(ui_.lblTitle, kMargin, kTitleTop);
    Twips::Move(ui_.lblClickonAspect, kMargin, kHintTop);
    modes_->UpdateHintLabel();
    setProperty("tag", "VEK");

    state_.engine.Initialize(env_.dataFolder);
    InitMainWindow();
    state_.rows.FillDateLists(kEnglish);
    if (!LoadConfigurationAndData()) return false;
    FinishStartup();
    return true;
}

bool FrmMain::LoadConfigurationAndData() {
    // The configuration: defaults, then the values kept in the store.
    state_.settings = Settings();
    const int localZone = env_.localZoneMinutes ? *env_.localZoneMinutes : LocalZoneMinutes();
    CreateConfiguration(state_.settings, store_, localZone);
    state_.rows.SetUpTimezoneComboBoxes(false, state_.settings.controls.northAmericanZones);
    state_.rows.SetLocalZone(localZone);
    // "Now" names the computer's own zone; a test that fixes the offset
    // names the zone too, or none.
    state_.rows.SetLocalZoneName(env_.localZoneName ? *env_.localZoneName
                                 : env_.localZoneMinutes ? std::string()
                                                         : platform::SystemZoneName());
    rows_->FillLists();

    rows_->HideClearButtons();
    runner_->SetSteppingEnabled(false);

    // The stored language; selecting its button applies it.
    const Language language = LanguageFromCode(ReadLanguageSetting(store_));
    (language == kGerman ? ui_.optGerman : ui_.optEnglish)->setChecked(true);
    ApplyLanguage(language);

    layout_->PlaceAtTopLeft();

    // The Pluto table, with a note on the screen while it loads.
    ui_.popUp->ShowCenterScreen("Loading data ...", 2000, 300, 2000);
    QApplication::processEvents();
    if (!state_.engine.LoadPlutoTable()) {
        ui_.popUp->hide();
        show();
        dialogs_.Message(PT(kTextPlutoTableMissing), PT(kTextDataMissingTitle),
                         MessageIcon::Exclamation);
        End();
        return false;
    }
    return true;
}

void FrmMain::FinishStartup() {
    show();
    layout_->PlaceAtTopLeft();
    // A settings file that cannot be read is left alone; the user hears of
    // it once, not at every value the program would have read from it.
    if (const Status readable = store_.Readable(); !readable)
        dialogs_.Message(Q(SettingsUnreadableText(store_.FilePath(), readable.error(),
                                                  platform::kMaxStoreFileSize, state_.Texts())),
                         PT(kTextSettingsUnreadableTitle), MessageIcon::Exclamation);
    stateCommands_->RestoreAtStartup();
    LayoutCommandButtons(ui_);
    chartView_->UpdateSaveAsButton();
    chartView_->UpdateChartButtons();

    setWindowTitle(PT(kTextProgramName) + " " + VersionText());
    ui_.cmdReport->show();
    layout_->RestorePlace(RememberedWindowPlace(store_, objectName()));
    Timer1_.start();
    TimerTick();  // the controls' states are current from the first moment on
    modes_->UpdateHintLabel();

    // The window opens showing everything the first result needs; its size
    // is then the size limit.
    layout_->ApplySizeLimits(true);
    view_.blnStartupCompleted = true;
    layout_->ApplyResizeRule();
}

// ---------------------------------------------------------------------------
// Date rows

void FrmMain::FillStepList() {
    QComboBox* list = ui_.cboForwardBack;
    const int keep = list->currentIndex();
    list->clear();
    for (const std::string& t : StepIntervalTexts(state_.Texts())) list->addItem(Q(t));
    list->setCurrentIndex(IntervalIndexAfterRefill(keep));
}

void FrmMain::OnRowEdited() {
    MarkStale();
    if (ui_.cmdCompute->isEnabled() && !view_.steppingUnderWay) ui_.cmdCompute->setFocus();
}

void FrmMain::MarkStale() {
    if (isVisible()) status_->ForgetPath();
}

// ---------------------------------------------------------------------------
// Modes

Mode FrmMain::SelectedMode() const {
    return modes_->SelectedMode();
}

bool FrmMain::ChartShown() const {
    return panel_ && panel_->ChartShown();
}

// ---------------------------------------------------------------------------
// The compute command

// The compute command: one call into the core, then its results are copied
// into the controls. A bad date row is reported and nothing else changes.
void FrmMain::Compute() {
    view_.inputErrorReported = false;
    view_.lastDateError.reset();
    const ComputeRequest request{SelectedMode(), view_.anglesInRadians, ChartShown()};
    // A time its zone skipped or showed twice: the user says which is meant
    // (cancelled, the compute names the row's problem).
    rows_->AskFoldsFor(request.mode);
    DateRowFailure failed;
    const Status computed = state_.Compute(request, &failed);
    // The conversion fills in an empty time and zone, as the user sees.
    rows_->ShowAll();
    if (!computed) {
        if (failed.slot == kWorldDate) view_.lastDateError = failed.code;
        dialogs_.Message(Q(computed.message()), Q(failed.title), MessageIcon::Information);
        view_.inputErrorReported = true;
        return;
    }
    if (state_.results.ComputedMode == Mode::None) return;
    view_.computedMode = state_.results.ComputedMode;
    ShowResults();
    emit Computed();
}

void FrmMain::ShowStepResults() {
    view_.computedMode = state_.results.ComputedMode;
    ShowResults();
    emit Computed();
}

void FrmMain::ShowResults() {
    ui_.lblTitle->setText(Q(state_.results.title));
    ui_.picTable->Show(state_.results.table);
    // Each aspect and position cell names what it shows in its tool tip.
    for (int i = 0; i < kMaxNumCells; ++i) {
        ui_.picTable->Cell(i)->setToolTip(
            Q(TableCellName(state_.results.table.txbCell[static_cast<size_t>(i)],
                            state_.results.chart, state_.engine.names, state_.Texts())));
    }
    QTextEdit* box = state_.results.twoCharts ? ui_.txbReport1 : ui_.txbReport;
    box->setPlainText(Q(state_.results.summary));
    // The chart, when shown, is drawn again for the new result; a chart too
    // crowded to draw gives way to the table.
    if (!ChartShown()) {
        ui_.picTable->show();
    } else if (!panel_->DrawChart()) {
        ui_.lblTitle->setText(Q(UpdateTitle(state_.results.ComputedMode, false,
                                            state_.engine.orbs.summary, state_.Texts())));
    }
    ArrangeReportArea();
    chartView_->UpdateChartButtons();
    chartView_->UpdateSaveAsButton();
}

void FrmMain::ArrangeReportArea() {
    const Mode m = view_.computedMode == Mode::None ? SelectedMode() : view_.computedMode;
    const bool twoCharts = ModeInfoOf(m).twoCharts;
    const ManualLinkPlace link = layout_->ArrangeReportArea(twoCharts);
    if (!twoCharts) ui_.lblStatus->setToolTip(status_->VersionToolTip());
    help_->ArrangeManualLink(link.shown, link.left, link.top);
    layout_->ApplySizeLimits(false);
    layout_->ApplyEnlargement();
}

void FrmMain::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    scroll_->setGeometry(rect());
    if (layout_) layout_->Resized(*e);
}

// ---------------------------------------------------------------------------
// Language

void FrmMain::ApplyLanguage(Language language) {
    state_.SetLanguage(language);
    qtTranslation_.Apply(state_.language);
    SetLanguageDependentText();
    WriteLanguageSetting(store_, Index(state_.language));
    if (view_.blnStartupCompleted) {
        rows_->RefreshWeekdayToolTips();
        if (view_.computedMode != Mode::None || SelectedMode() != Mode::None) Compute();
        RetranslateOpenWindows();
        FocusIfPossible(ui_.cmdCompute);
    }
}

void FrmMain::SetLanguageDependentText() {
    setWindowTitle(PT(kTextProgramName) + " " + VersionText());
    // The month lists have been refilled in the language.
    rows_->ShowMonthNames();
    FillStepList();
    modes_->UpdateHintLabel();
    SetMainTexts(ui_, state_.Texts());
    chartView_->UpdateSaveAsButton();
    chartView_->UpdateChartButtons();
    configure_->SetTexts();
    status_->Show();
}

void FrmMain::RetranslateOpenWindows() {
    status_->Show();
    help_->Retranslate();
    report_->Retranslate();
}

// ---------------------------------------------------------------------------
// Timer1

void FrmMain::TimerTick() {
    rows_->Tick();
    // The transit graph keeps the stepping disabled.
    runner_->SetSteppingEnabled(runner_->SteppingAllowed() && !panel_->GraphShown());
    ui_.lblStatus->setVisible(ui_.picTable->isVisible() && ui_.txbReport->isVisible());
    chartView_->UpdateChartButtons();
    configure_->HideWhenMinimized();
    if (view_.stateJustSaved) {
        if (++view_.stateTicks > 5) view_.stateJustSaved = false;
    }
}

// ---------------------------------------------------------------------------
// Buttons

void FrmMain::ShowWorldTransitsNow() {
    state_.rows.SetWorldDateToNow(env_.clock);
    rows_->ShowRow(kWorldDate);
    modes_->SelectMode(Mode::World);
    Compute();
    ui_.picTable->show();
}

void FrmMain::OnNow() {
    state_.rows.SetWorldDateToNow(env_.clock);
    rows_->ShowRow(kWorldDate);
    if (ModeInfoOf(SelectedMode()).transits) Compute();
}

void FrmMain::OnQuit() {
    if (view_.stateJustSaved) {
        End();
        return;
    }
    switch (dialogs_.AskYesNoCancel(PT(kTextSaveBeforeQuitting), ui_.cmdQuit->text(), Answer::No)) {
        case Answer::Cancel:
            return;
        case Answer::Yes:
            // A failed save does not keep the program open.
            static_cast<void>(stateCommands_->SaveState(AutoStatePath()));
            End();
            return;
        case Answer::No:
            End();
            return;
    }
}

void FrmMain::End() {
    if (view_.ended) return;
    view_.ended = true;
    // The next start puts the window where it is now.
    if (isVisible() && !isMinimized() && !isMaximized()) RememberWindowPlace(store_, this);
    Timer1_.stop();
    runner_->AbandonRun();
    ui_.popUp->hide();
    // The report window goes too, and a build under way stops.
    report_->Close();
    hide();
    emit Ended();
}

void FrmMain::closeEvent(QCloseEvent* e) {
    // The close box ends the program at once: no question, nothing saved.
    End();
    e->accept();
}

}  // namespace vek::gui
