#include "gui/frm_main.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTextDocument>
#include <QTextEdit>
#include <QTranslator>
#include <QWindow>
#include <initializer_list>
#include <vector>

#include "app/compute.h"
#include "config/program_text.h"
#include "display/chart_image.h"
#include "display/results_text.h"
#include "engine/angle_text.h"
#include "engine/modes.h"
#include "gui/dialogs.h"
#include "gui/fonts.h"
#include "gui/form_helpers.h"
#include "gui/frm_durations.h"
#include "gui/popup.h"
#include "gui/table_grid.h"
#include "gui/twips.h"
#include "time/stepping.h"

namespace vek::gui {

namespace {

// Layout of the window in twips.
constexpr int kMargin = 120;
constexpr int kRowTop = 150;   // top of the World date row
constexpr int kRowStep = 450;  // distance between the date rows
constexpr int kControlHeight = 330;
constexpr int kButtonHeight = 375;
constexpr int kLabelHeight = 270;
// Columns of a date row.
constexpr int kLabelLeft = kMargin, kLabelWidth = 1380;
constexpr int kMonthLeft = 1560, kMonthWidth = 1500;
constexpr int kDayLeft = 3120, kDayWidth = 660;
constexpr int kYearLeft = 3840, kYearWidth = 720;
constexpr int kHourLeft = 4620, kHourWidth = 900;
constexpr int kZoneLeft = 5580, kZoneWidth = 1560;
constexpr int kClearLeft = 7200, kClearWidth = 900;
// The compute and stepping row under the date rows.
constexpr int kCommandTop = kRowTop + 3 * kRowStep + 60;
// The mode buttons, one under the other, right of the date rows.
constexpr int kModeLeft = 8300, kModeWidth = 3500, kModeTop = 120, kModeStep = 285;
// "Now" and the block of buttons right of the modes.
constexpr int kNowLeft = 11900, kNowWidth = 1400;
constexpr int kHelpGap = 200;  // the help button's column stands this far right of "Now"
// Title, hint and table.
constexpr int kTitleTop = 2000, kHintTop = 2280;
constexpr int kTableTop = 2640;
constexpr int kReportWidth = 3700;
// Lower bounds of the window size.
constexpr int kMinWidth = 10200, kMinHeight = 4800;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

QString FrmMain::PT(TextId n) const {
    return QString::fromStdString(state_.Texts().ProgramText(n));
}

FrmMain::FrmMain(Dialogs& dialogs, Environment env, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      env_(std::move(env)),
      store_(env_.configFolder.empty() ? platform::SettingsStore()
                                       : platform::SettingsStore(env_.configFolder)) {
    setObjectName("frmMain");
    setAttribute(Qt::WA_DeleteOnClose, false);
    CreateControls();
    Timer1_.setInterval(1000);
    connect(&Timer1_, &QTimer::timeout, this, &FrmMain::TimerTick);
}

FrmMain::~FrmMain() = default;

QString FrmMain::VersionText() const {
    return QString::fromStdString(ProgramVersionText());
}

// ---------------------------------------------------------------------------
// Building the window

QPushButton* FrmMain::NewButton(const QString& name) {
    auto* b = new QPushButton(this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    // Return and Enter click a focused button as Space does.
    b->installEventFilter(this);
    return b;
}

QLabel* FrmMain::NewLabel(const QString& name) {
    auto* l = new QLabel(this);
    l->setObjectName(name);
    return l;
}

void FrmMain::CreateDateRow(int slot) {
    const QString n = QString::number(slot);
    Label1_[slot] = NewLabel("Label1_" + n);
    Label1_[slot]->installEventFilter(this);
    auto combo = [&](const QString& name) {
        auto* c = new QComboBox(this);
        c->setObjectName(name + "_" + n);
        c->setMaxVisibleItems(16);
        return c;
    };
    cboMonthCE_[slot] = combo("cboMonthCE");
    cboDayCE_[slot] = combo("cboDayCE");
    txbYearCE_[slot] = new QLineEdit(this);
    txbYearCE_[slot]->setObjectName("txbYearCE_" + n);
    cboHour_[slot] = combo("cboHour");
    cboTimezone_[slot] = combo("cboTimezone");
    cmdClear_[slot] = NewButton("cmdClear_" + n);

    for (QComboBox* c : {cboMonthCE_[slot], cboDayCE_[slot], cboHour_[slot], cboTimezone_[slot]}) {
        // The model follows every change the user makes, by mouse, keys or
        // wheel; the window's own changes are made from the model.
        connect(c, &QComboBox::currentIndexChanged, this, [this, slot] {
            if (!updatingControls_) SyncRowFromControls(slot);
        });
    }
    for (QComboBox* c : {cboMonthCE_[slot], cboHour_[slot], cboTimezone_[slot]}) {
        connect(c, &QComboBox::activated, this, [this, slot] { OnRowEdited(slot, false); });
    }
    connect(cboDayCE_[slot], &QComboBox::activated, this,
            [this, slot] { OnRowEdited(slot, true); });
    connect(txbYearCE_[slot], &QLineEdit::textEdited, this, [this, slot](const QString& t) {
        if (!updatingControls_) state_.rows.Row(slot).yearText = t.toStdString();
    });
    connect(txbYearCE_[slot], &QLineEdit::editingFinished, this, [this] { MarkStale(); });
    connect(txbYearCE_[slot], &QLineEdit::returnPressed, this, [this, slot] {
        if (ModeReadsSlot(SelectedMode(), slot)) Compute();
    });
    connect(cmdClear_[slot], &QPushButton::clicked, this, [this, slot] { OnClear(slot); });
}

void FrmMain::CreateControls() {
    for (int slot = 0; slot < 3; ++slot) CreateDateRow(slot);
    cmdNow_ = NewButton("cmdNow");
    connect(cmdNow_, &QPushButton::clicked, this, &FrmMain::OnNow);

    modeGroup_ = new QButtonGroup(this);
    auto mode = [&](const QString& name, Mode m) {
        auto* o = new QRadioButton(this);
        o->setObjectName(name);
        modeGroup_->addButton(o, static_cast<int>(m));
        connect(o, &QRadioButton::clicked, this, [this, m] { OnModeClicked(m); });
        return o;
    };
    optPlanetary_ = mode("optPlanetary", Mode::World);
    optNatal_[0] = mode("optNatal_0", Mode::Natal1);
    optNatal_[1] = mode("optNatal_1", Mode::Natal2);
    optPersonal_[0] = mode("optPersonal_0", Mode::Personal1);
    optPersonal_[1] = mode("optPersonal_1", Mode::Personal2);
    optSynastry_ = mode("optSynastry", Mode::Synastry);

    cmdCompute_ = NewButton("cmdCompute");
    connect(cmdCompute_, &QPushButton::clicked, this, &FrmMain::Compute);
    cmdForwardBack_[0] = NewButton("cmdForwardBack_0");
    cmdForwardBack_[1] = NewButton("cmdForwardBack_1");
    for (int k = 0; k < 2; ++k) {
        connect(cmdForwardBack_[k], &QPushButton::clicked, this, [this, k] { OnStep(k); });
    }
    cboForwardBack_ = new QComboBox(this);
    cboForwardBack_->setObjectName("cboForwardBack");
    connect(cboForwardBack_, &QComboBox::activated, this, [this] {
        if (isVisible()) FocusIfPossible(cmdForwardBack_[0]);
    });

    fraLanguage_ = new QGroupBox(this);
    fraLanguage_->setObjectName("fraLanguage");
    optEnglish_ = new QRadioButton(fraLanguage_);
    optEnglish_->setObjectName("optEnglish");
    optGerman_ = new QRadioButton(fraLanguage_);
    optGerman_->setObjectName("optGerman");
    connect(optEnglish_, &QRadioButton::clicked, this, [this] { ApplyLanguage(kEnglish); });
    connect(optGerman_, &QRadioButton::clicked, this, [this] { ApplyLanguage(kGerman); });

    cmdSave_ = NewButton("cmdSave");
    cmdRestore_ = NewButton("cmdRestore");
    cmdQuit_ = NewButton("cmdQuit");
    connect(cmdSave_, &QPushButton::clicked, this, &FrmMain::OnSave);
    connect(cmdRestore_, &QPushButton::clicked, this, &FrmMain::OnRestore);
    connect(cmdQuit_, &QPushButton::clicked, this, &FrmMain::OnQuit);
    cmdHelp_ = NewButton("cmdHelp");
    connect(cmdHelp_, &QPushButton::clicked, this, &FrmMain::OnHelp);
    CreateManualLink();

    lblTitle_ = NewLabel("lblTitle");
    lblClickonAspect_ = NewLabel("lblClickonAspect");
    lblStatus_ = NewLabel("lblStatus");
    for (QLabel* l : {lblTitle_, lblClickonAspect_, lblStatus_}) {
        l->setTextFormat(Qt::PlainText);
    }

    picTable_ = new TableGrid(this);
    auto report = [&](const QString& name) {
        auto* t = new QTextEdit(this);
        t->setObjectName(name);
        t->setReadOnly(true);
        t->setAcceptRichText(false);
        t->setLineWrapMode(QTextEdit::WidgetWidth);
        t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        t->document()->setDocumentMargin(2);
        return t;
    };
    txbReport_ = report("txbReport");
    txbReport1_ = report("txbReport1");
    // The two-chart summary is one line under the table.
    txbReport1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    popUp_ = new PopUp(this);
    CreateChartControls();
    CreateReportButton();
    PlaceControls();
    SetTabOrder();
    CreateConfigureButton();
}

void FrmMain::SetTabOrder() {
    // Each date row from left to right, "Now" after the World date it sets;
    // the stepping row as it reads (forward, interval, back); then the modes
    // and the buttons on the right.
    std::vector<QWidget*> order;
    for (int slot = 0; slot < 3; ++slot) {
        for (QWidget* w :
             std::initializer_list<QWidget*>{cboMonthCE_[slot], cboDayCE_[slot], txbYearCE_[slot],
                                             cboHour_[slot], cboTimezone_[slot], cmdClear_[slot]})
            order.push_back(w);
        if (slot == kWorldDate) order.push_back(cmdNow_);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             cmdCompute_, cmdForwardBack_[0], cboForwardBack_, cmdForwardBack_[1], optPlanetary_,
             optNatal_[0], optNatal_[1], optPersonal_[0], optPersonal_[1], optSynastry_, cmdSave_,
             cmdHelp_, cmdRestore_, optEnglish_, optGerman_, cmdQuit_})
        order.push_back(w);
    for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
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

void FrmMain::PlaceControls() {
    for (int slot = 0; slot < 3; ++slot) {
        const int top = kRowTop + slot * kRowStep;
        Twips::Place(Label1_[slot], kLabelLeft, top + 30, kLabelWidth, kLabelHeight);
        Twips::Place(cboMonthCE_[slot], kMonthLeft, top, kMonthWidth, kControlHeight);
        Twips::Place(cboDayCE_[slot], kDayLeft, top, kDayWidth, kControlHeight);
        Twips::Place(txbYearCE_[slot], kYearLeft, top, kYearWidth, kControlHeight);
        Twips::Place(cboHour_[slot], kHourLeft, top, kHourWidth, kControlHeight);
        Twips::Place(cboTimezone_[slot], kZoneLeft, top, kZoneWidth, kControlHeight);
        Twips::Place(cmdClear_[slot], kClearLeft, top, kClearWidth, kControlHeight);
    }
    QRadioButton* modes[6] = {optPlanetary_,   optNatal_[0],    optNatal_[1],
                              optPersonal_[0], optPersonal_[1], optSynastry_};
    for (int i = 0; i < 6; ++i) {
        Twips::Place(modes[i], kModeLeft, kModeTop + i * kModeStep, kModeWidth, kLabelHeight);
    }
    Twips::Place(cmdCompute_, kMargin, kCommandTop, 1400, kButtonHeight);
    Twips::Place(cmdForwardBack_[0], 1620, kCommandTop, 1100, kButtonHeight);
    Twips::Place(cboForwardBack_, 2780, kCommandTop + 22, 1560, kControlHeight);
    Twips::Place(cmdForwardBack_[1], 4400, kCommandTop, 1100, kButtonHeight);

    // "Now" is 1400 wide; the help button's column stands 200 right of it,
    // "Save" under "Now", "Restore" level with "Save" in the help column and
    // "Quit" 480 below "Restore"; the language frame sits under "Save".
    const int helpLeft = kNowLeft + kNowWidth + kHelpGap;
    const int saveTop = kRowTop + kRowStep;
    Twips::Place(cmdNow_, kNowLeft, kRowTop, kNowWidth, kButtonHeight);
    Twips::Place(cmdSave_, kNowLeft, saveTop, kNowWidth, kButtonHeight);
    Twips::Place(cmdRestore_, helpLeft, saveTop, kNowWidth, kButtonHeight);
    Twips::Place(cmdQuit_, helpLeft, saveTop + 480, kNowWidth, kButtonHeight);
    Twips::Place(cmdHelp_, helpLeft, kRowTop, kNowWidth, kButtonHeight);
    Twips::Place(fraLanguage_, kNowLeft, saveTop + 420, kNowWidth, 900);
    Twips::Place(optEnglish_, 120, 270, kNowWidth - 180, kLabelHeight);
    Twips::Place(optGerman_, 120, 560, kNowWidth - 180, kLabelHeight);

    Twips::Place(lblTitle_, kMargin, kTitleTop, 14800, kLabelHeight);
    Twips::Place(lblClickonAspect_, kMargin, kHintTop, 14800, kLabelHeight);
    Twips::Move(picTable_, kMargin, kTableTop);
    Twips::Place(txbReport_, kMargin + 10 * kCellWidth + 120, kTableTop, kReportWidth,
                 11 * kCellHeight);
    Twips::Place(txbReport1_, kMargin, kTableTop + 12 * kCellHeight + 120, 12 * kCellWidth, 360);
    Twips::Place(lblStatus_, kMargin, kTableTop + 11 * kCellHeight + 150, 14500, kLabelHeight);
}

void FrmMain::InitMainWindow() {
    autoStatePath_ = env_.autoStatePath.empty() ? vek::AutoStatePath() : env_.autoStatePath;
    computedMode_ = Mode::None;
    runInProgress_ = false;
    inputErrorReported_ = false;
    anglesInRadians_ = false;
    lblTitle_->clear();
    picTable_->hide();
    txbReport_->hide();
    txbReport1_->hide();
}

// ---------------------------------------------------------------------------
// Start-up

bool FrmMain::Load() {
    blnStartupCompleted_ = false;
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
    Twips::Move(lblTitle_, kMargin, kTitleTop);
    Twips::Move(lblClickonAspect_, kMargin, kHintTop);
    UpdateHintLabel();
    setProperty("tag", "VEK");

    state_.engine.Initialize(env_.dataFolder);
    InitMainWindow();
    state_.rows.FillDateLists(kEnglish);

    // The configuration: defaults, then the values kept in the store.
    state_.settings = Settings();
    const int localZone = env_.localZoneMinutes ? *env_.localZoneMinutes : LocalZoneMinutes();
    CreateConfiguration(state_.settings, store_, localZone);
    state_.rows.SetUpTimezoneComboBoxes(false, state_.settings.controls.northAmericanZones);
    state_.rows.SetLocalZone(localZone);
    FillDateControls();

    for (QPushButton* b : cmdClear_) b->hide();
    cmdForwardBack_[0]->setEnabled(false);
    cmdForwardBack_[1]->setEnabled(false);
    cboForwardBack_->setEnabled(false);

    // The stored language; selecting its button applies it.
    const int language = ReadLanguageSetting(store_) == kGerman ? kGerman : kEnglish;
    (language == kGerman ? optGerman_ : optEnglish_)->setChecked(true);
    ApplyLanguage(language);

    PlaceAtTopLeft();

    // The Pluto table, with a note on the screen while it loads.
    popUp_->ShowCenterScreen("Loading data ...", 2000, 300, 2000);
    QApplication::processEvents();
    if (!state_.engine.LoadPlutoTable()) {
        popUp_->hide();
        show();
        dialogs_.Message(PT(kTextPlutoTableMissing), PT(kTextDataMissingTitle),
                         MessageIcon::Exclamation);
        End();
        return false;
    }

    show();
    PlaceAtTopLeft();
    RestoreAtStartup();
    LayoutCommandButtons();
    UpdateSaveAsButton();
    UpdateChartButtons();

    setWindowTitle(PT(kTextProgramName) + " " + VersionText());
    cmdReport_->show();
    Timer1_.start();
    TimerTick();  // the controls' states are current from the first moment on
    UpdateHintLabel();

    // The window opens showing everything the first result needs; its size
    // is then the size limit.
    ApplySizeLimits(true);
    blnStartupCompleted_ = true;
    ApplyResizeRule();
    return true;
}

// ---------------------------------------------------------------------------
// Date rows

void FrmMain::FillDateControls() {
    updatingControls_ = true;
    for (int slot = 0; slot < 3; ++slot) {
        auto fill = [](QComboBox* c, const std::vector<std::string>& entries) {
            const int keep = c->currentIndex();
            c->clear();
            for (const std::string& e : entries) c->addItem(QString::fromStdString(e));
            c->setCurrentIndex(keep);
        };
        fill(cboMonthCE_[slot], state_.rows.MonthList());
        fill(cboDayCE_[slot], state_.rows.DayList());
        fill(cboHour_[slot], state_.rows.TimeList());
        cboTimezone_[slot]->clear();
        for (const ZoneEntry& z : state_.rows.ZoneList()) {
            cboTimezone_[slot]->addItem(QString::fromStdString(z.text), z.minutesEast);
        }
    }
    updatingControls_ = false;
    for (int slot = 0; slot < 3; ++slot) ShowRow(slot);
}

void FrmMain::ShowRow(int slot) {
    updatingControls_ = true;
    const DateRowFields& r = state_.rows.Row(slot);
    cboMonthCE_[slot]->setCurrentIndex(r.monthIndex);
    cboDayCE_[slot]->setCurrentIndex(r.dayIndex);
    if (txbYearCE_[slot]->text().toStdString() != r.yearText) {
        txbYearCE_[slot]->setText(QString::fromStdString(r.yearText));
    }
    cboHour_[slot]->setCurrentIndex(r.timeIndex);
    cboTimezone_[slot]->setCurrentIndex(r.zoneIndex);
    updatingControls_ = false;
}

void FrmMain::FillStepList() {
    const int keep = cboForwardBack_->currentIndex();
    cboForwardBack_->clear();
    for (const std::string& t : StepIntervalTexts(state_.Texts())) cboForwardBack_->addItem(Q(t));
    cboForwardBack_->setCurrentIndex(IntervalIndexAfterRefill(keep));
}

void FrmMain::SyncRowFromControls(int slot) {
    DateRowFields& r = state_.rows.Row(slot);
    r.monthIndex = std::max(0, cboMonthCE_[slot]->currentIndex());
    r.dayIndex = std::max(0, cboDayCE_[slot]->currentIndex());
    r.timeIndex = std::max(0, cboHour_[slot]->currentIndex());
    r.zoneIndex = std::max(0, cboTimezone_[slot]->currentIndex());
}

void FrmMain::OnRowEdited(int slot, bool daySelected) {
    if (updatingControls_) return;
    SyncRowFromControls(slot);
    if (daySelected) {
        cboDayCE_[slot]->setToolTip(QString::fromStdString(state_.rows.WeekdayToolTip(slot)));
    }
    MarkStale();
    if (cmdCompute_->isEnabled() && !steppingUnderWay_) cmdCompute_->setFocus();
}

void FrmMain::MarkStale() {
    if (!isVisible()) return;
    lblStatus_->setText(StandingStatusText());
}

void FrmMain::RefreshWeekdayToolTips() {
    for (int slot = 0; slot < 3; ++slot) {
        cboDayCE_[slot]->setToolTip(QString::fromStdString(state_.rows.WeekdayToolTip(slot)));
        ShowRow(slot);
    }
}

// ---------------------------------------------------------------------------
// Modes

Mode FrmMain::SelectedMode() const {
    const int id = modeGroup_->checkedId();
    return id < 0 ? Mode::None : static_cast<Mode>(id);
}

void FrmMain::SelectMode(Mode mode) {
    if (QAbstractButton* b = modeGroup_->button(static_cast<int>(mode))) b->setChecked(true);
}

void FrmMain::OnModeClicked(Mode) {
    if (loadingState_) return;
    Compute();
    if (inputErrorReported_) RestoreMode();
    EnableStepping();
    UpdateHintLabel();
}

void FrmMain::RestoreMode() {
    loadingState_ = true;
    if (computedMode_ != Mode::None) SelectMode(computedMode_);
    loadingState_ = false;
    inputErrorReported_ = false;
}

bool FrmMain::SteppingAllowed() const {
    return SteppingEnabled(state_.rows.Row(kWorldDate), SelectedMode(), runInProgress_, false);
}

void FrmMain::EnableStepping() {
    const Mode m = SelectedMode();
    const bool on = ModeInfoOf(m).transits && !runInProgress_;
    cmdForwardBack_[0]->setEnabled(on);
    cmdForwardBack_[1]->setEnabled(on);
    cboForwardBack_->setEnabled(on);
}

void FrmMain::UpdateHintLabel() {
    lblClickonAspect_->show();
    const Mode m = SelectedMode();
    const bool hint = ModeInfoOf(m).transits;
    if (ChartShown()) {
        // In the interface's language, which may have changed since the
        // compute.
        lblClickonAspect_->setText(
            Q(ZodiacLabel(state_.Texts(), state_.engine.SiderealZodiac, false)));
    } else {
        lblClickonAspect_->setText(hint ? PT(kTextAspectHint) : QString());
    }
}

// ---------------------------------------------------------------------------
// The compute command

// The compute command: one call into the core, then its results are copied
// into the controls. A bad date row is reported and nothing else changes.
void FrmMain::Compute() {
    inputErrorReported_ = false;
    lastDateError_ = 0;
    const ComputeRequest request{SelectedMode(), anglesInRadians_, ChartShown()};
    DateRowFailure failed;
    const Status computed = state_.Compute(request, &failed);
    // The conversion fills in an empty time and zone, as the user sees.
    for (int slot = 0; slot < 3; ++slot) ShowRow(slot);
    if (!computed) {
        lastDateError_ = failed.slot == kWorldDate ? failed.code : 0;
        dialogs_.Message(Q(computed.message()), Q(failed.title), MessageIcon::Information);
        inputErrorReported_ = true;
        return;
    }
    if (state_.results.ComputedMode == Mode::None) return;
    computedMode_ = state_.results.ComputedMode;
    ShowResults();
    emit Computed();
}

void FrmMain::ShowResults() {
    lblTitle_->setText(Q(state_.results.title));
    picTable_->Show(state_.results.table);
    QTextEdit* box = state_.results.twoCharts ? txbReport1_ : txbReport_;
    box->setPlainText(Q(state_.results.summary));
    // The chart, when shown, is drawn again for the new result; a chart too
    // crowded to draw gives way to the table.
    if (!ChartShown()) {
        picTable_->show();
    } else if (!DrawChart()) {
        lblTitle_->setText(Q(UpdateTitle(state_.results.ComputedMode, false,
                                         state_.engine.orbs.summary, state_.Texts())));
    }
    ArrangeReportArea();
    UpdateChartButtons();
    UpdateSaveAsButton();
}

void FrmMain::ArrangeReportArea() {
    const Mode m = computedMode_ == Mode::None ? SelectedMode() : computedMode_;
    const bool square = ModeInfoOf(m).twoCharts;
    const int tableLeft = Twips::Left(picTable_);
    const int tableTop = Twips::Top(picTable_);
    const int tableWidth = Twips::Width(picTable_);
    const int tableHeight = Twips::Height(picTable_);
    if (!square) {
        txbReport_->show();
        txbReport1_->hide();
        Twips::Place(txbReport_, tableLeft + tableWidth + 120, tableTop, kReportWidth, tableHeight);
        const int statusTop = tableTop + tableHeight + 150;
        Twips::Place(lblStatus_, tableLeft, statusTop, tableWidth + 200 + kReportWidth,
                     kLabelHeight);
        lblStatus_->setVisible(picTable_->isVisible());
        heightLimit_ = statusTop + kLabelHeight + 700;
        widthLimit_ = Twips::Left(txbReport_) + kReportWidth + 350;
        ArrangeManualLink(picTable_->isVisible(), tableLeft, statusTop + kLabelHeight + 80);
    } else {
        txbReport1_->show();
        txbReport_->hide();
        Twips::Place(txbReport1_, tableLeft, tableTop + tableHeight + 120, tableWidth, 360);
        heightLimit_ = Twips::Top(txbReport1_) + Twips::Height(txbReport1_) + 700;
        widthLimit_ = Twips::Left(txbReport_) + kReportWidth + 200;
        lblStatus_->hide();
        ArrangeManualLink(false, 0, 0);
    }
    ApplySizeLimits(false);
}

void FrmMain::ApplySizeLimits(bool growToFit) {
    const QSize limit(Twips::ToPixels(widthLimit_), Twips::ToPixels(heightLimit_));
    const QSize lower(Twips::ToPixels(kMinWidth), Twips::ToPixels(kMinHeight));
    // A limit below the lower bound wins.
    setMinimumSize(lower.boundedTo(limit));
    setMaximumSize(limit);
    // When the table's layout changes the window follows it, so that nothing
    // it shows is cut off; a size the user chose is kept otherwise.
    if (growToFit || widthLimit_ != lastWidthLimit_ || heightLimit_ != lastHeightLimit_) {
        resize(limit);
    }
    lastWidthLimit_ = widthLimit_;
    lastHeightLimit_ = heightLimit_;
}

void FrmMain::ApplyResizeRule() {
    if (isMinimized() || !blnStartupCompleted_) return;
    int w = Twips::FromPixels(width());
    int h = Twips::FromPixels(height());
    w = std::min(std::max(w, kMinWidth), widthLimit_);
    h = std::min(std::max(h, kMinHeight), heightLimit_);
    const QSize target(Twips::ToPixels(w), Twips::ToPixels(h));
    if (target != size()) resize(target);
}

void FrmMain::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    ApplyResizeRule();
}

// ---------------------------------------------------------------------------
// Language

void FrmMain::ApplyLanguage(int language) {
    state_.SetLanguage(language);
    ApplyQtTranslation(state_.language);
    SetLanguageDependentText();
    WriteLanguageSetting(store_, state_.language);
    if (blnStartupCompleted_) {
        RefreshWeekdayToolTips();
        if (computedMode_ != Mode::None || SelectedMode() != Mode::None) Compute();
        FocusIfPossible(cmdCompute_);
    }
}

void FrmMain::SetLanguageDependentText() {
    setWindowTitle(PT(kTextProgramName) + " " + VersionText());
    // The month lists have been refilled in the language.
    {
        updatingControls_ = true;
        for (int slot = 0; slot < 3; ++slot) {
            for (int m = 1;
                 m < cboMonthCE_[slot]->count() && m < int(state_.rows.MonthList().size()); ++m) {
                cboMonthCE_[slot]->setItemText(m,
                                               QString::fromStdString(state_.rows.MonthList()[m]));
            }
        }
        updatingControls_ = false;
    }
    FillStepList();
    UpdateHintLabel();

    fraLanguage_->setTitle(PT(kTextLanguage));
    optEnglish_->setText(PT(kTextEnglish));
    optGerman_->setText(PT(kTextGerman));
    for (int slot = 0; slot < 3; ++slot) {
        Label1_[slot]->setText(PT(TextIdAt(kTextWorldDate, slot)));
        cmdClear_[slot]->setText(PT(kTextClear));
    }
    optPlanetary_->setText(PT(kTextWorldTransitsButton));
    optNatal_[0]->setText(PT(kTextNatal1Button));
    optNatal_[1]->setText(PT(kTextNatal2Button));
    optPersonal_[0]->setText(PT(kTextPersonal1Button));
    optPersonal_[1]->setText(PT(kTextPersonal2Button));
    optSynastry_->setText(PT(kTextSynastry));
    cmdSave_->setText(PT(kTextSave));
    cmdQuit_->setText(PT(kTextQuit));
    cmdHelp_->setText(PT(kTextHelp));
    cmdNow_->setText(PT(kTextNow));
    cmdRestore_->setText(PT(kTextRestore));
    cmdCompute_->setText(PT(kTextCompute));
    cmdForwardBack_[0]->setText(PT(kTextForward));
    cmdForwardBack_[1]->setText(PT(kTextBack));
    cmdReport_->setText(PT(kTextReport));
    UpdateSaveAsButton();
    UpdateChartButtons();
    SetConfigureTexts();
    if (lblStatus_->text().isEmpty() || !blnStartupCompleted_) {
        lblStatus_->setText(StandingStatusText());
    }
}

QString FrmMain::StandingStatusText() const {
    return PT(kTextProgramName) + " " + VersionText() + "  \u00B7  " + PT(kTextPublisher);
}

// ---------------------------------------------------------------------------
// Timer1

void FrmMain::TimerTick() {
    for (int slot = 0; slot < 3; ++slot) {
        DateRowFields& r = state_.rows.Row(slot);
        const std::string digits = DigitsOnly(r.yearText);
        if (digits != r.yearText) {
            r.yearText = digits;
            ShowRow(slot);
        }
        cmdClear_[slot]->setVisible(state_.rows.HasAnyValue(slot));
        cboDayCE_[slot]->setToolTip(QString::fromStdString(state_.rows.WeekdayToolTip(slot)));
        ShowRow(slot);
    }
    // The transit graph keeps the stepping disabled.
    const bool step = SteppingAllowed() && !graphShown_;
    cmdForwardBack_[0]->setEnabled(step);
    cmdForwardBack_[1]->setEnabled(step);
    cboForwardBack_->setEnabled(step);
    lblStatus_->setVisible(picTable_->isVisible() && txbReport_->isVisible());
    UpdateChartButtons();
    HideConfigurationWhenMinimized();
    if (stateJustSaved_) {
        if (++stateTicks_ > 5) stateJustSaved_ = false;
    }
}

// ---------------------------------------------------------------------------
// Buttons

void FrmMain::ShowWorldTransitsNow() {
    state_.rows.SetWorldDateToNow(env_.clock);
    ShowRow(kWorldDate);
    SelectMode(Mode::World);
    Compute();
    picTable_->show();
}

void FrmMain::OnNow() {
    state_.rows.SetWorldDateToNow(env_.clock);
    ShowRow(kWorldDate);
    const Mode m = SelectedMode();
    if (ModeInfoOf(m).transits) Compute();
}

void FrmMain::OnClear(int slot) {
    const QString text =
        PT(kTextClearAllEntriesOf) + " " + PT(TextIdAt(kTextClearWorldDateQuestion, slot));
    if (dialogs_.AskYesNoCancel(text, cmdClear_[slot]->text(), Answer::Yes) != Answer::Yes) {
        return;
    }
    DateRowFields& r = state_.rows.Row(slot);
    r = DateRowFields();
    ShowRow(slot);
}

// The stepping routine of "Forward" (0) and "Back" (1): one step. A run
// steps on Timer2 instead (frm_main_run.cpp).
void FrmMain::OnStep(int direction) {
    if (runInProgress_) return;
    steppingUnderWay_ = true;
    const int interval = std::max(0, cboForwardBack_->currentIndex());
    const DateRowFields saved = ApplyStep(state_.rows, interval, direction);
    ShowRow(kWorldDate);
    // The counts belong to this step alone.
    std::fill(std::begin(state_.results.PatternCount), std::end(state_.results.PatternCount), 0);
    Compute();
    // A step out of the accepted range has been reported by the compute;
    // the World date goes back to what it was.
    if (RestoreIfRefused(state_.rows, saved, lastDateError_)) ShowRow(kWorldDate);
    steppingUnderWay_ = false;
}

// ---------------------------------------------------------------------------
// State files

AppState FrmMain::CurrentState() const {
    AppState s;
    for (int slot = 0; slot < 3; ++slot) s.dateRows[slot] = state_.rows.Row(slot);
    s.mode = SelectedMode() == Mode::None ? Mode::World : SelectedMode();
    s.steppingIntervalIndex = cboForwardBack_->currentIndex();
    s.settings = state_.settings;
    return s;
}

void FrmMain::ApplyState(const AppState& state) {
    // The mode buttons ignore their clicks while a state is applied.
    loadingState_ = true;
    auto within = [](int index, size_t count) {
        return index >= 0 && index < static_cast<int>(count) ? index : 0;
    };
    for (int slot = 0; slot < 3; ++slot) {
        DateRowFields r = state.dateRows[slot];
        r.monthIndex = within(r.monthIndex, state_.rows.MonthList().size());
        r.dayIndex = within(r.dayIndex, state_.rows.DayList().size());
        r.timeIndex = within(r.timeIndex, state_.rows.TimeList().size());
        r.zoneIndex = within(r.zoneIndex, state_.rows.ZoneList().size());
        state_.rows.Row(slot) = r;
        ShowRow(slot);
    }
    SelectMode(state.mode == Mode::None ? Mode::World : state.mode);
    cboForwardBack_->setCurrentIndex(within(state.steppingIntervalIndex, cboForwardBack_->count()));
    state_.settings = state.settings;
    loadingState_ = false;
}

Status FrmMain::SaveState(const std::string& path) {
    AppState state = CurrentState();
    Status saved = SaveStateFile(path, state, &store_);
    if (saved) {
        state_.settings = state.settings;
        stateJustSaved_ = true;
        stateTicks_ = 0;
    }
    return saved;
}

Status FrmMain::LoadState(const std::string& path) {
    AppState state = CurrentState();
    StateLoadOptions options;
    options.startupComplete = blnStartupCompleted_;
    options.store = &store_;
    Status loaded = LoadStateFile(path, state, options);
    // What was read before an error stays, as it does in the controls.
    ApplyState(state);
    return loaded;
}

void FrmMain::RestoreAtStartup() {
    // A missing or broken automatic state shows world transits for now; a
    // broken one has already put the settings back to their defaults.
    if (!autoStatePath_.empty() && QFile::exists(QString::fromStdString(autoStatePath_)) &&
        LoadState(autoStatePath_)) {
        ShowLoadedState();
        return;
    }
    ShowWorldTransitsNow();
}

// After a state is loaded: natal aspects stay in their mode, every other mode
// becomes world transits; the row the mode reads is computed when it holds a
// valid date, otherwise world transits for now are shown.
void FrmMain::ShowLoadedState() {
    int row = kWorldDate;
    if (SelectedMode() == Mode::Natal1) {
        row = kBirth1;
    } else if (SelectedMode() == Mode::Natal2) {
        row = kBirth2;
    } else {
        SelectMode(Mode::World);
    }
    const double jd = state_.rows.InputDateToAJDate(row);
    ShowRow(row);
    if (jd > 0) {
        Compute();
        picTable_->show();
        return;
    }
    ShowWorldTransitsNow();
}

void FrmMain::ShowConfirmation(QPushButton* button, TextId text) {
    popUp_->ShowInForm(this, PT(text), 2400, 300, 2000, Twips::Top(button) + 475,
                       Twips::Left(button) - 2450);
}

void FrmMain::OnSave() {
    const Status saved = SaveState(autoStatePath_);
    if (!saved) {
        dialogs_.Message(Q(saved.message()), cmdSave_->text(), MessageIcon::Exclamation);
    } else {
        ShowConfirmation(cmdSave_, kTextStateSaved);
    }
    FocusIfPossible(cmdCompute_);
}

void FrmMain::OnRestore() {
    if (!QFile::exists(QString::fromStdString(autoStatePath_))) return;
    const Status loaded = LoadState(autoStatePath_);
    if (!loaded) {
        dialogs_.Message(Q(loaded.message()), cmdRestore_->text(), MessageIcon::Exclamation);
    } else {
        ShowConfirmation(cmdRestore_, kTextStateRestored);
    }
}

QString FrmMain::StateFileFilter() const {
    return PT(kTextStateFiles) + " (*.vek) | *.vek";
}

// "Save as ..." while the table is shown: the whole state into a file of the
// user's choice, the name taken as the dialog gives it.
void FrmMain::SaveStateAs() {
    const std::optional<QString> chosen =
        dialogs_.SaveFileName(PT(kTextSaveStateTitle), StateFileFilter());
    if (!chosen || chosen->isEmpty()) return;
    const Status saved = SaveState(chosen->toStdString());
    if (!saved) {
        dialogs_.Message(Q(saved.message()), cmdSaveAs_->text(), MessageIcon::Exclamation);
        return;
    }
    popUp_->ShowInForm(this, PT(kTextStateSaved), 2400, 300, 2000, Twips::Top(cmdSaveAs_) + 350,
                       Twips::Left(cmdSaveAs_) + 100);
    lblStatus_->setText(PT(kTextSavedPrefix) + " " + *chosen);
}

// "Load from ...": a state file of the user's choice. The file is read into a
// copy first, so a file that cannot be loaded leaves the window's state and
// settings as they were.
void FrmMain::OnLoadState() {
    const std::optional<QString> chosen =
        dialogs_.OpenFileName(PT(kTextLoadStateTitle), StateFileFilter());
    if (!chosen || chosen->isEmpty()) return;
    AppState state = CurrentState();
    StateLoadOptions options;
    options.startupComplete = blnStartupCompleted_;
    options.store = &store_;
    const Status loaded = LoadStateFile(chosen->toStdString(), state, options);
    if (!loaded) {
        dialogs_.Message(Q(loaded.message()), PT(kTextLoadingFailed), MessageIcon::Exclamation);
        return;
    }
    if (ChartShown()) OnToggleGraphic();
    ApplyState(state);
    ShowLoadedState();
    lblStatus_->setText(PT(kTextLoadedPrefix) + " " + *chosen);
    stateJustSaved_ = true;
    stateTicks_ = 0;
}

void FrmMain::OnQuit() {
    if (stateJustSaved_) {
        End();
        return;
    }
    switch (dialogs_.AskYesNoCancel(PT(kTextSaveBeforeQuitting), cmdQuit_->text(), Answer::No)) {
        case Answer::Cancel:
            return;
        case Answer::Yes:
            // A failed save does not keep the program open.
            static_cast<void>(SaveState(autoStatePath_));
            End();
            return;
        case Answer::No:
            End();
            return;
    }
}

void FrmMain::OnWorldDateLabel() {
    anglesInRadians_ = !anglesInRadians_;
}

void FrmMain::End() {
    if (ended_) return;
    ended_ = true;
    Timer1_.stop();
    AbandonRun();
    popUp_->hide();
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

void FrmMain::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
}

void FrmMain::ApplyQtTranslation(int language) {
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

bool FrmMain::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* button = qobject_cast<QPushButton*>(watched);
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (button && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            if (button->isEnabled()) button->click();
            return true;
        }
    }
    if (watched == Label1_[0] && e->type() == QEvent::MouseButtonRelease) {
        OnWorldDateLabel();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace vek::gui
