#include "gui/frm_main.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QTextEdit>
#include <QTranslator>
#include <QWindow>
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
#include "gui/date_row.h"
#include "gui/dialogs.h"
#include "gui/fonts.h"
#include "gui/form_helpers.h"
#include "gui/frm_configure.h"
#include "gui/frm_durations.h"
#include "gui/places.h"
#include "gui/popup.h"
#include "gui/run_controller.h"
#include "gui/state_commands.h"
#include "gui/table_grid.h"
#include "gui/twips.h"
#include "platform/ephemeris.h"
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
    panel_ = new ChartPanel(this, ui_, state_, dialogs_, view_, env_.glyphInks);
    panel_->SetDurationsReport([this] { ShowDurationsReport(); });
    // The transit graph hides an open configuration dialog and the way back
    // to the table shows it again.
    panel_->SetConfigDialogHooks({[this] { return frmConfigure_ && frmConfigure_->isVisible(); },
                                  [this] {
                                      if (frmConfigure_) frmConfigure_->HideDialog();
                                  },
                                  [this] {
                                      if (frmConfigure_) frmConfigure_->Display();
                                  }});
    RunController::Window run;
    run.selectedMode = [this] { return SelectedMode(); };
    run.chartShown = [this] { return ChartShown(); };
    run.compute = [this] { Compute(); };
    run.showRows = [this] { ShowAllRows(); };
    run.showStepResults = [this] { ShowStepResults(); };
    runner_ = new RunController(this, ui_, state_, dialogs_, view_, std::move(run));
    StateCommands::Window files;
    files.selectedMode = [this] { return SelectedMode(); };
    files.selectMode = [this](Mode m) { SelectMode(m); };
    files.compute = [this] { Compute(); };
    files.showWorldTransitsNow = [this] { ShowWorldTransitsNow(); };
    files.showRow = [this](DateSlot slot) { ShowRow(slot); };
    files.chartShown = [this] { return ChartShown(); };
    files.toggleGraphic = [this] { OnToggleGraphic(); };
    stateCommands_ =
        new StateCommands(this, ui_, state_, store_, dialogs_, view_, std::move(files));
    folders_ = std::make_unique<FileFolders>(store_, Q(env_.documentsFolder));
    stateCommands_->SetFolders(folders_.get());
    panel_->SetFolders(folders_.get());
}

void FrmMain::ConnectDateRow(DateRowWidget* row) {
    const DateSlot slot = row->Slot();
    row->SetChooser(&dialogs_, [this] { return state_.Texts(); });
    connect(row, &DateRowWidget::Edited, this, &FrmMain::OnRowEdited);
    connect(row, &DateRowWidget::YearLeft, this, &FrmMain::MarkStale);
    connect(row, &DateRowWidget::YearEntered, this, [this, slot] {
        if (ModeReadsSlot(SelectedMode(), slot)) Compute();
    });
    connect(row, &DateRowWidget::ClearClicked, this, [this, slot] { OnClear(slot); });
    // A click on "World date" switches the angles between degrees and
    // radians; the other two labels do nothing.
    if (slot == kWorldDate) {
        connect(row, &DateRowWidget::LabelClicked, this,
                [this] { view_.anglesInRadians = !view_.anglesInRadians; });
    }
}

void FrmMain::ConnectControls() {
    for (DateRowWidget* row : ui_.dateRows) ConnectDateRow(row);
    connect(ui_.cmdNow, &QPushButton::clicked, this, &FrmMain::OnNow);
    for (QAbstractButton* b : ui_.modeGroup->buttons()) {
        connect(b, &QAbstractButton::clicked, this, &FrmMain::OnModeClicked);
    }
    connect(ui_.cmdCompute, &QPushButton::clicked, this, &FrmMain::Compute);
    connect(ui_.optEnglish, &QRadioButton::clicked, this, [this] { ApplyLanguage(kEnglish); });
    connect(ui_.optGerman, &QRadioButton::clicked, this, [this] { ApplyLanguage(kGerman); });
    connect(ui_.cmdQuit, &QPushButton::clicked, this, &FrmMain::OnQuit);
    connect(ui_.cmdHelp, &QPushButton::clicked, this, &FrmMain::OnHelp);
    connect(ui_.lblURL, &QLabel::linkActivated, this, [this] { OnManualLink(); });
    connect(ui_.cmdToggleGraphic, &QPushButton::clicked, this, &FrmMain::OnToggleGraphic);
    connect(ui_.cmdSaveAs, &QPushButton::clicked, this, &FrmMain::OnSaveAs);
    connect(ui_.cmdReport, &QPushButton::clicked, this, &FrmMain::OnReport);
    connect(ui_.cmdConfigure, &QPushButton::clicked, this, &FrmMain::OnConfigure);
}

void FrmMain::PlaceAtTopLeft() {
    // move() places a window by its frame; once the window is shown, the
    // frame is known and its position is set for the frame as well, so that
    // a window manager keeps the title bar on the screen.
    const QScreen* s = screen();
    const QPoint corner = s ? s->availableGeometry().topLeft() : QPoint(0, 0);
    move(corner);
    if (windowHandle()) windowHandle()->setFramePosition(corner);
}

void FrmMain::RestoreWindowPlace() {
    const QRect place = RememberedWindowPlace(store_, objectName());
    if (place.isEmpty()) return;
    move(place.topLeft());
    if (windowHandle()) windowHandle()->setFramePosition(place.topLeft());
    // Within the window's own limits.
    RequestSize(place.size().expandedTo(minimumSize()).boundedTo(maximumSize()));
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
    UpdateHintLabel();
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
    FillDateControls();

    for (DateRowWidget* row : ui_.dateRows) row->ClearButton()->hide();
    runner_->SetSteppingEnabled(false);

    // The stored language; selecting its button applies it.
    const Language language = LanguageFromCode(ReadLanguageSetting(store_));
    (language == kGerman ? ui_.optGerman : ui_.optEnglish)->setChecked(true);
    ApplyLanguage(language);

    PlaceAtTopLeft();

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
    PlaceAtTopLeft();
    // A settings file that cannot be read is left alone; the user hears of
    // it once, not at every value the program would have read from it.
    if (const Status readable = store_.Readable(); !readable)
        dialogs_.Message(Q(SettingsUnreadableText(store_.FilePath(), readable.error(),
                                                  platform::kMaxStoreFileSize, state_.Texts())),
                         PT(kTextSettingsUnreadableTitle), MessageIcon::Exclamation);
    stateCommands_->RestoreAtStartup();
    LayoutCommandButtons(ui_);
    UpdateSaveAsButton();
    UpdateChartButtons();

    setWindowTitle(PT(kTextProgramName) + " " + VersionText());
    ui_.cmdReport->show();
    RestoreWindowPlace();
    Timer1_.start();
    TimerTick();  // the controls' states are current from the first moment on
    UpdateHintLabel();

    // The window opens showing everything the first result needs; its size
    // is then the size limit.
    ApplySizeLimits(true);
    view_.blnStartupCompleted = true;
    ApplyResizeRule();
}

// ---------------------------------------------------------------------------
// Date rows

void FrmMain::FillDateControls() {
    for (DateRowWidget* row : ui_.dateRows) row->FillLists();
}

void FrmMain::ShowRow(DateSlot slot) {
    ui_.dateRows[Index(slot)]->ShowValues();
}

void FrmMain::ShowAllRows() {
    for (DateRowWidget* row : ui_.dateRows) row->ShowValues();
}

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
    if (!isVisible()) return;
    view_.statusPrefix = TextId{};
    ShowStatusText();
}

// The standing text, or the last save's or load's path behind its word, in
// the window's language.
void FrmMain::ShowStatusText() {
    ui_.lblStatus->setText(view_.statusPrefix == TextId{}
                               ? StandingStatusText()
                               : PT(view_.statusPrefix) + " " + Q(view_.statusPath));
}

void FrmMain::RefreshWeekdayToolTips() {
    for (DateRowWidget* row : ui_.dateRows) {
        row->RefreshWeekdayToolTip();
        row->ShowValues();
    }
}

// ---------------------------------------------------------------------------
// Modes

Mode FrmMain::SelectedMode() const {
    const int id = ui_.modeGroup->checkedId();
    return id < 0 ? Mode::None : static_cast<Mode>(id);
}

void FrmMain::SelectMode(Mode mode) {
    if (QAbstractButton* b = ui_.ModeButton(mode)) b->setChecked(true);
}

void FrmMain::OnModeClicked() {
    if (view_.loadingState) return;
    Compute();
    if (view_.inputErrorReported) RestoreMode();
    runner_->EnableStepping();
    UpdateHintLabel();
}

// After a date error the button of the mode computed before is selected
// again, without computing.
void FrmMain::RestoreMode() {
    view_.loadingState = true;
    if (view_.computedMode != Mode::None) SelectMode(view_.computedMode);
    view_.loadingState = false;
    view_.inputErrorReported = false;
}

void FrmMain::UpdateHintLabel() {
    ui_.lblClickonAspect->show();
    const bool hint = ModeInfoOf(SelectedMode()).transits;
    if (ChartShown()) {
        // In the interface's language, which may have changed since the
        // compute.
        ui_.lblClickonAspect->setText(
            Q(ZodiacLabel(state_.Texts(), state_.engine.SiderealZodiac, false)));
    } else {
        ui_.lblClickonAspect->setText(hint ? PT(kTextAspectHint) : QString());
    }
}

// ---------------------------------------------------------------------------
// The compute command

// The compute command: one call into the core, then its results are copied
// into the controls. A bad date row is reported and nothing else changes.
void FrmMain::Compute() {
    view_.inputErrorReported = false;
    view_.lastDateError = 0;
    const ComputeRequest request{SelectedMode(), view_.anglesInRadians, ChartShown()};
    // A time its zone skipped or showed twice: the user says which is meant
    // (cancelled, the compute names the row's problem).
    for (DateRowWidget* row : ui_.dateRows)
        if (ModeReadsSlot(request.mode, row->Slot())) row->AskFoldIfNeeded();
    DateRowFailure failed;
    const Status computed = state_.Compute(request, &failed);
    // The conversion fills in an empty time and zone, as the user sees.
    ShowAllRows();
    if (!computed) {
        view_.lastDateError = failed.slot == kWorldDate ? failed.code : 0;
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
    UpdateChartButtons();
    UpdateSaveAsButton();
}

void FrmMain::ArrangeReportArea() {
    const Mode m = view_.computedMode == Mode::None ? SelectedMode() : view_.computedMode;
    const int tableLeft = Twips::Left(ui_.picTable);
    const int tableTop = Twips::Top(ui_.picTable);
    const int tableWidth = Twips::Width(ui_.picTable);
    const int tableHeight = Twips::Height(ui_.picTable);
    if (!ModeInfoOf(m).twoCharts) {
        ui_.txbReport->show();
        ui_.txbReport1->hide();
        Twips::Place(ui_.txbReport, tableLeft + tableWidth + 120, tableTop, kReportWidth,
                     tableHeight);
        const int statusTop = tableTop + tableHeight + 150;
        Twips::Place(ui_.lblStatus, tableLeft, statusTop, tableWidth + 200 + kReportWidth,
                     kLabelHeight);
        ui_.lblStatus->setVisible(ui_.picTable->isVisible());
        ui_.lblStatus->setToolTip(VersionToolTip());
        heightLimit_ = statusTop + kLabelHeight + 700;
        widthLimit_ = Twips::Left(ui_.txbReport) + kReportWidth + 350;
        ArrangeManualLink(ui_.picTable->isVisible(), tableLeft, statusTop + kLabelHeight + 80);
    } else {
        ui_.txbReport1->show();
        ui_.txbReport->hide();
        // Below the table, or below the chart with its legend when that is
        // taller.
        const int chartBottom =
            ChartShown() ? Twips::Top(ui_.picGraphic) + Twips::Height(ui_.picGraphic) : 0;
        Twips::Place(ui_.txbReport1, tableLeft, std::max(tableTop + tableHeight, chartBottom) + 120,
                     tableWidth, 360);
        heightLimit_ = Twips::Top(ui_.txbReport1) + Twips::Height(ui_.txbReport1) + 700;
        widthLimit_ = Twips::Left(ui_.txbReport) + kReportWidth + 200;
        ui_.lblStatus->hide();
        ArrangeManualLink(false, 0, 0);
    }
    ApplySizeLimits(false);
    ApplyEnlargement();
}

void FrmMain::ApplySizeLimits(bool growToFit) {
    const QSize limit(Twips::ToPixels(widthLimit_), Twips::ToPixels(heightLimit_));
    const QSize lower(Twips::ToPixels(kMinWidth), Twips::ToPixels(kMinHeight));
    // A limit below the lower bound wins.
    // A limit below the lower bound wins; a window may be made as large as
    // the user likes (the chart grows with it), and the layout scrolls in a
    // window smaller than it.
    setMinimumSize(lower.boundedTo(limit).boundedTo(FitOnScreen(lower)));
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    content_->setMinimumSize(limit);
    // When the table's layout changes the window follows it, as far as the
    // screen allows, so that nothing it shows is cut off, until the user
    // gives it a size of their own: that size is kept through every change
    // of mode and view (what does not fit scrolls).
    const bool layoutChanged = widthLimit_ != lastWidthLimit_ || heightLimit_ != lastHeightLimit_;
    if (growToFit || (layoutChanged && !userSized_)) {
        layoutSize_ = FitOnScreen(limit);
        userSized_ = false;
        RequestSize(layoutSize_);
    }
    lastWidthLimit_ = widthLimit_;
    lastHeightLimit_ = heightLimit_;
}

void FrmMain::ApplyResizeRule() {
    if (isMinimized() || !view_.blnStartupCompleted) return;
    int w = Twips::FromPixels(width());
    int h = Twips::FromPixels(height());
    // The smallest size holds (unless the layout itself is smaller, or the
    // screen); larger is the user's choice.
    w = std::max(w, std::min(kMinWidth, widthLimit_));
    h = std::max(h, std::min(kMinHeight, heightLimit_));
    const QSize screenFit = FitOnScreen(QSize(Twips::ToPixels(w), Twips::ToPixels(h)));
    w = std::min(w, Twips::FromPixels(screenFit.width()));
    h = std::min(h, Twips::FromPixels(screenFit.height()));
    const QSize target(Twips::ToPixels(w), Twips::ToPixels(h));
    if (target != size()) RequestSize(target);
}

void FrmMain::RequestSize(QSize size) {
    requestedSize_ = size;
    requestedAt_.start();
    reRequests_ = 0;
    resize(size);
}

void FrmMain::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    scroll_->setGeometry(rect());
    // For a moment after the program asked for a size, a window manager
    // may still report sizes the window had on the way (the one it was
    // mapped with, the least size), even after the one asked for: they are
    // history, not the user's choice, and the size asked for is asked again.
    bool stale = false;
    if (e->spontaneous() && requestedSize_.isValid()) {
        if (requestedAt_.elapsed() >= kRequestedSizeMs) {
            requestedSize_ = QSize();
        } else if (e->size() != requestedSize_) {
            stale = true;
            if (++reRequests_ <= kReRequests) resize(requestedSize_);
        }
    }
    if (!stale) {
        // A size other than the layout's once the window is up is the
        // user's (dragged, or set by the window manager).
        if (view_.blnStartupCompleted && !isMinimized() && !isMaximized() && !isFullScreen())
            userSized_ = e->size() != layoutSize_;
        ApplyResizeRule();
    }
    ApplyEnlargement();
}

QSize FrmMain::FitOnScreen(QSize wanted) const {
    const QScreen* s = screen();
    if (!s) return wanted;
    // The frame around the window: known once the window manager has framed
    // it, else a usual title bar and border.
    QSize frame = frameGeometry().size() - geometry().size();
    if (frame.width() <= 0 && frame.height() <= 0) frame = QSize(10, 40);
    return wanted.boundedTo(s->availableGeometry().size() - frame);
}

void FrmMain::ApplyEnlargement() {
    if (!view_.blnStartupCompleted || widthLimit_ <= 0 || heightLimit_ <= 0) return;
    if (!ChartShown()) return;
    // The room beyond the layout, in whole pixels: none leaves every box at
    // its design size.
    const int dwPixels = std::max(0, width() - Twips::ToPixels(widthLimit_));
    const int dhPixels = std::max(0, height() - Twips::ToPixels(heightLimit_));
    const int dw = dwPixels > 0 ? Twips::FromPixels(dwPixels) : 0;
    const int dh = dhPixels > 0 ? Twips::FromPixels(dhPixels) : 0;
    const ChartWheel& wheel = ui_.picGraphic->Wheel();
    const WheelGeometry& g = wheel.geometry;
    Twips::Resize(ui_.picGraphic, g.width + dw, g.height + ui_.picGraphic->Band() + dh);
    const int tableTop = Twips::Top(ui_.picTable);
    const int tableLeft = Twips::Left(ui_.picTable);
    const int tableWidth = Twips::Width(ui_.picTable);
    const int tableHeight = Twips::Height(ui_.picTable);
    // What stands right of the chart and below it moves aside by the room
    // it takes.
    if (ui_.txbReport->isVisible()) {
        Twips::Place(ui_.txbReport, tableLeft + tableWidth + 120 + dw, tableTop, kReportWidth,
                     tableHeight + dh);
    }
    if (ui_.txbReport1->isVisible()) {
        const int chartBottom = Twips::Top(ui_.picGraphic) + Twips::Height(ui_.picGraphic);
        Twips::Place(ui_.txbReport1, tableLeft, std::max(tableTop + tableHeight, chartBottom) + 120,
                     tableWidth + dw, 360);
    }
    ui_.picGraphic->update();
}

// ---------------------------------------------------------------------------
// Language

void FrmMain::ApplyLanguage(Language language) {
    state_.SetLanguage(language);
    ApplyQtTranslation(state_.language);
    SetLanguageDependentText();
    WriteLanguageSetting(store_, Index(state_.language));
    if (view_.blnStartupCompleted) {
        RefreshWeekdayToolTips();
        if (view_.computedMode != Mode::None || SelectedMode() != Mode::None) Compute();
        RetranslateOpenWindows();
        FocusIfPossible(ui_.cmdCompute);
    }
}

void FrmMain::SetLanguageDependentText() {
    setWindowTitle(PT(kTextProgramName) + " " + VersionText());
    // The month lists have been refilled in the language.
    for (DateRowWidget* row : ui_.dateRows) row->ShowMonthNames();
    FillStepList();
    UpdateHintLabel();
    SetMainTexts(ui_, state_.Texts());
    UpdateSaveAsButton();
    UpdateChartButtons();
    SetConfigureTexts();
    ShowStatusText();
}

QString FrmMain::StandingStatusText() const {
    return PT(kTextProgramName) + " " + VersionText() + "  \u00B7  " + PT(kTextPublisher);
}

QString FrmMain::VersionToolTip() const {
    // The ephemeris that answered the latest positions of this thread, which
    // are those of the result just shown.
    return PT(kTextProgramName) + " " + VersionText() + "\n" +
           QString::fromStdString(state_.Texts().ProgramTextWithValues(
               kTextEphemerisInUse, {platform::ephemeris_in_use(), "", "", "", ""}));
}

void FrmMain::ApplyQtTranslation(Language language) {
    if (qtTranslator_) {
        QCoreApplication::removeTranslator(qtTranslator_.get());
        qtTranslator_.reset();
    }
    if (language != kGerman) return;
    auto translator = std::make_unique<QTranslator>();
    // Without Qt's translations installed the buttons stay English.
    if (!translator->load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return;
    QCoreApplication::installTranslator(translator.get());
    qtTranslator_ = std::move(translator);
}

// ---------------------------------------------------------------------------
// Timer1

void FrmMain::TimerTick() {
    for (DateRowWidget* row : ui_.dateRows) row->Tick();
    // The transit graph keeps the stepping disabled.
    runner_->SetSteppingEnabled(runner_->SteppingAllowed() && !panel_->GraphShown());
    ui_.lblStatus->setVisible(ui_.picTable->isVisible() && ui_.txbReport->isVisible());
    UpdateChartButtons();
    HideConfigurationWhenMinimized();
    if (view_.stateJustSaved) {
        if (++view_.stateTicks > 5) view_.stateJustSaved = false;
    }
}

// ---------------------------------------------------------------------------
// Buttons

void FrmMain::ShowWorldTransitsNow() {
    state_.rows.SetWorldDateToNow(env_.clock);
    ShowRow(kWorldDate);
    SelectMode(Mode::World);
    Compute();
    ui_.picTable->show();
}

void FrmMain::OnNow() {
    state_.rows.SetWorldDateToNow(env_.clock);
    ShowRow(kWorldDate);
    if (ModeInfoOf(SelectedMode()).transits) Compute();
}

void FrmMain::OnClear(DateSlot slot) {
    DateRowWidget* row = ui_.dateRows[Index(slot)];
    const QString text =
        PT(kTextClearAllEntriesOf) + " " + PT(TextIdAt(kTextClearWorldDateQuestion, Index(slot)));
    if (dialogs_.AskYesNoCancel(text, row->ClearButton()->text(), Answer::Yes) != Answer::Yes) {
        return;
    }
    row->Clear();
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
    if (frmDurations_) frmDurations_->hide();
    hide();
    emit Ended();
}

void FrmMain::closeEvent(QCloseEvent* e) {
    // The close box ends the program at once: no question, nothing saved.
    End();
    e->accept();
}

}  // namespace vek::gui
