#include "gui/frm_durations.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "engine/modes.h"
#include "gui/fonts.h"
#include "gui/form_helpers.h"
#include "gui/twips.h"
#include "platform/ephemeris.h"

namespace vek::gui {

namespace {

// Sizes in twips.
constexpr int kMinWidth = 8000;
constexpr int kMinHeight = 3000;
constexpr int kMargin = 120;
constexpr int kTitleTop = 100, kTitleHeight = 480;
constexpr int kSortTop = 640, kSortHeight = 360;
constexpr int kOutputTop = 1100;
constexpr int kButtonHeight = 400;
constexpr int kCopyWidth = 3270, kCloseWidth = 1400;
constexpr int kProgressWidth = 2500;
// How often the progress of a build in the background is shown.
constexpr int kProgressIntervalMs = 50;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

bool HasPointLines(const DurationsReport& r) {
    const std::vector<DurationEntry>& entries = r.Entries();
    return std::any_of(entries.begin(), entries.end(), [](const DurationEntry& e) {
        return e.firstPoint.has_value() || e.secondPoint.has_value();
    });
}

}  // namespace

DurationsPlacement PlaceDurationsWindow(Mode mode, int mainLeft, int mainTop, int mainWidth,
                                        int mainHeight, int tableTop, int cellHeight) {
    DurationsPlacement p;
    // Below the table's first rows in world transits, whose triangular table
    // leaves room at the bottom left; lower down in the other modes. The
    // bottom stands 200 twips below the main window's.
    p.left = mainLeft;
    p.width = mainWidth - 2000;
    p.top =
        mode == Mode::World ? tableTop + mainTop + 2 * cellHeight + 250 : tableTop + mainTop + 2150;
    p.height = mainTop + mainHeight + 200 - p.top;
    p.width = std::max(p.width, kMinWidth);
    p.height = std::max(p.height, kMinHeight);
    return p;
}

// One build: its own copies of what it reads, the report it makes, and what
// the two threads tell each other.
struct FrmDurations::Job {
    DurationsRequest request;
    DurationsReport report;
    std::atomic<bool> cancel{false};
    std::atomic<int> done{0};
    std::atomic<int> total{0};
    std::mutex mutex;
    std::condition_variable finishedSignal;
    bool finished = false;  // guarded by mutex
};

FrmDurations::FrmDurations(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("frmDurations");
    lblTitle_ = new QLabel(this);
    lblTitle_->setObjectName("lblTitle");
    lblTitle_->setWordWrap(true);
    lblTitle_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblSortBy_ = new QLabel(this);
    lblSortBy_->setObjectName("lblSortBy");
    cboSortBy_ = new QComboBox(this);
    cboSortBy_->setObjectName("cboSortBy");
    chkShowDuration_ = new QCheckBox(this);
    chkShowDuration_->setObjectName("chkShowDuration");
    chkExactTimes_ = new QCheckBox(this);
    chkExactTimes_->setObjectName("chkExactTimes");
    prgBuild_ = new QProgressBar(this);
    prgBuild_->setObjectName("prgBuild");
    prgBuild_->setTextVisible(false);
    prgBuild_->hide();
    txbOutput_ = new QPlainTextEdit(this);
    txbOutput_->setObjectName("txbOutput");
    txbOutput_->setReadOnly(true);
    txbOutput_->setLineWrapMode(QPlainTextEdit::NoWrap);
    cmdCopy_ = new QPushButton(this);
    cmdCopy_->setObjectName("cmdCopy");
    cmdClose_ = new QPushButton(this);
    cmdClose_->setObjectName("cmdClose");
    for (QPushButton* b : {cmdCopy_, cmdClose_}) b->setAutoDefault(false);

    QFont controlFont(kControlFontFamily, 8);
    setFont(controlFont);
    SetControlsFontName(this, kControlFontFamily, false);
    // The lines are columns: a fixed-pitch font keeps them.
    txbOutput_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    connect(cboSortBy_, &QComboBox::currentIndexChanged, this, &FrmDurations::ChooseSort);
    connect(chkShowDuration_, &QCheckBox::toggled, this, &FrmDurations::SetShowDuration);
    connect(chkExactTimes_, &QCheckBox::toggled, this, &FrmDurations::SetExactTimes);
    connect(cmdCopy_, &QPushButton::clicked, this, &FrmDurations::CopyToClipboard);
    connect(cmdClose_, &QPushButton::clicked, this, &FrmDurations::OnClose);
    progressTimer_.setInterval(kProgressIntervalMs);
    connect(&progressTimer_, &QTimer::timeout, this, &FrmDurations::ShowProgress);

    Twips::Resize(this, 12000, 5000);
    ApplyLayout();
}

FrmDurations::~FrmDurations() {
    // The worker may still be searching: it stops at its next entry, and the
    // window waits for it before anything it could reach goes away.
    if (job_) job_->cancel = true;
    JoinWorker();
}

void FrmDurations::Report(std::unique_ptr<DurationsRequest> request) {
    if (isMinimized() || isMaximized()) showNormal();
    show();
    raise();
    activateWindow();
    // The report of this opening is being built: it is not built twice.
    if (job_ || !request) return;
    keptSort_ = -1;
    SetCaptions(*request);
    StartBuild(std::move(request));
}

void FrmDurations::KeepChoices() {
    if (shown_ && shown_->report.IsTransitMode()) {
        keptSort_ = shown_->report.sortIndex();
        keptShowDuration_ = shown_->report.showDuration();
    } else if (!job_) {
        keptSort_ = -1;
    }
}

void FrmDurations::Retranslate(std::unique_ptr<DurationsRequest> request) {
    if (!isVisible() || !request) return;
    KeepChoices();
    StopBuild();
    SetCaptions(*request);
    StartBuild(std::move(request));
}

void FrmDurations::SetCaptions(const DurationsRequest& request) {
    const ProgramTexts texts(request.textTable, request.language);
    auto text = [&texts](TextId n) { return Q(texts.ProgramText(n)); };
    lblSortBy_->setText(text(kTextSortBy));
    chkShowDuration_->setText(text(kTextShowDuration));
    chkExactTimes_->setText(text(kTextExactTimes));
    cmdCopy_->setText(text(kTextCopyToClipboard));
    cmdClose_->setText(text(kTextClose));
    setWindowTitle(text(kTextReport));
}

void FrmDurations::StartBuild(std::unique_ptr<DurationsRequest> request) {
    JoinWorker();  // a stopped build ends first
    auto job = std::make_shared<Job>();
    job->request = std::move(*request);
    // The instants cost as much again as the dates: they are searched only
    // while "Exact times" is ticked.
    job->request.settings.exactTimes = chkExactTimes_->isChecked();
    job_ = job;
    shown_.reset();
    ++buildCount_;
    ShowBuilding(true);

    worker_ = std::thread([this, job, observer = observer_] {
        BuildReport(*job, observer);
        // Swiss Ephemeris keeps files open for each thread.
        platform::release_thread();
        {
            std::lock_guard<std::mutex> lock(job->mutex);
            job->finished = true;
        }
        job->finishedSignal.notify_all();
        // The window waits for this thread before it goes away, so it is
        // still there to receive the call; a call still queued then is
        // dropped with it.
        QMetaObject::invokeMethod(
            this, [this, job] { OnBuilt(job); }, Qt::QueuedConnection);
    });

    // Most reports are ready within a blink: they are shown at once, without
    // a flash of the progress bar.
    bool finished = false;
    {
        std::unique_lock<std::mutex> lock(job->mutex);
        finished = job->finishedSignal.wait_for(lock, std::chrono::milliseconds(blinkMs_),
                                                [&job] { return job->finished; });
    }
    if (finished) {
        OnBuilt(job);
    } else {
        ShowProgress();
        progressTimer_.start();
    }
}

void FrmDurations::StopBuild() {
    if (!job_) return;
    job_->cancel = true;
    job_.reset();
    progressTimer_.stop();
    ShowBuilding(false);
}

void FrmDurations::JoinWorker() {
    if (worker_.joinable()) worker_.join();
}

void FrmDurations::OnBuilt(const std::shared_ptr<Job>& job) {
    if (job != job_) {
        // A stopped build, or one shown already: its thread has ended.
        if (!job_) JoinWorker();
        return;
    }
    JoinWorker();
    job_.reset();
    progressTimer_.stop();
    shown_ = job;
    job->report.SetShowExact(chkExactTimes_->isChecked());
    if (keptSort_ >= 0 && job->report.IsTransitMode()) {
        job->report.ChooseSort(keptSort_);
        job->report.SetShowDuration(keptShowDuration_);
    }
    keptSort_ = -1;
    ShowBuilding(false);
    ShowReport();
    emit ReportShown();
}

void FrmDurations::ShowProgress() {
    if (!job_) return;
    const int total = job_->total.load();
    prgBuild_->setRange(0, std::max(total, 1));
    prgBuild_->setValue(std::min(job_->done.load(), std::max(total, 1)));
}

void FrmDurations::ShowBuilding(bool building) {
    prgBuild_->setVisible(building);
    prgBuild_->setValue(0);
    cboSortBy_->setEnabled(!building);
    chkShowDuration_->setEnabled(!building);
    chkExactTimes_->setEnabled(!building);
    cmdCopy_->setEnabled(!building);
    if (building) {
        setCursor(Qt::BusyCursor);
        lblTitle_->clear();
        txbOutput_->clear();
        lblSortBy_->hide();
        cboSortBy_->hide();
        chkShowDuration_->hide();
        chkExactTimes_->hide();
        ApplyLayout();
    } else {
        unsetCursor();
    }
}

void FrmDurations::ShowReport() {
    const DurationsReport& r = shown_->report;
    setWindowTitle(Q(r.Caption()));
    lblTitle_->setText(Q(r.Title()));
    FillSortList();
    lblSortBy_->setVisible(r.SortListVisible());
    cboSortBy_->setVisible(r.SortListVisible());
    {
        const QSignalBlocker blockCheck(chkShowDuration_);
        chkShowDuration_->setChecked(r.showDuration());
    }
    chkShowDuration_->setVisible(r.ShowDurationVisible());
    chkExactTimes_->setVisible(r.ShowDurationVisible());
    ApplyLayout();
    WriteOutput();
    txbOutput_->moveCursor(QTextCursor::Start);
}

void FrmDurations::FillSortList() {
    const DurationsReport& r = shown_->report;
    const QSignalBlocker blockList(cboSortBy_);
    fillingList_ = true;
    cboSortBy_->clear();
    for (const std::string& entry : r.SortEntries()) cboSortBy_->addItem(Q(entry));
    cboSortBy_->setCurrentIndex(r.sortIndex());
    fillingList_ = false;
}

void FrmDurations::WriteOutput() {
    // The exact passes, and the points' names in the name columns, make
    // the lines longer than the window was made for.
    if (shown_ && (shown_->report.showExact() || HasPointLines(shown_->report))) WidenForLines();
    txbOutput_->setPlainText(TextBoxText(OutputText()));
}

void FrmDurations::WidenForLines() {
    // The window grows to show the lines whole, as far as its screen
    // allows, and moves left when it would reach past the screen's edge.
    const QFontMetrics fm(txbOutput_->font());
    int longest = 0;
    for (const DurationsReport::ShownLine& l : shown_->report.ShownLines())
        longest = std::max(longest, fm.horizontalAdvance(QString::fromStdString(l.text)));
    const int frame = width() - txbOutput_->viewport()->width();
    const int wanted = longest + frame + txbOutput_->verticalScrollBar()->sizeHint().width() +
                       2 * static_cast<int>(txbOutput_->document()->documentMargin()) +
                       4 * fm.averageCharWidth();
    if (wanted <= width()) return;
    QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, wanted, height());
    // The frame counts too: the window's own once the window manager has
    // framed it, else the main window's, which it gets alike. Wider lines
    // than that scroll.
    int frameExtra = frameGeometry().width() - width();
    if (frameExtra == 0 && parentWidget()) {
        const QWidget* main = parentWidget()->window();
        frameExtra = main->frameGeometry().width() - main->width();
    }
    const int w = std::max(std::min(wanted, available.width() - frameExtra), width());
    if (x() + w + frameExtra > available.right() + 1)
        move(std::max(available.left(), available.right() + 1 - w - frameExtra), y());
    resize(w, height());
}

const DurationsReport* FrmDurations::Model() const {
    return shown_ ? &shown_->report : nullptr;
}

std::string FrmDurations::TitleText() const {
    return shown_ ? shown_->report.Title() : std::string();
}

std::string FrmDurations::OutputText() const {
    return shown_ ? shown_->report.Output() : std::string();
}

void FrmDurations::ChooseSort(int index) {
    if (fillingList_ || !shown_ || index < 0) return;
    DurationsReport& r = shown_->report;
    r.ChooseSort(index);
    {
        const QSignalBlocker blockList(cboSortBy_);
        cboSortBy_->setCurrentIndex(r.sortIndex());
    }
    {
        // The date orders switch "Show duration" on.
        const QSignalBlocker blockCheck(chkShowDuration_);
        chkShowDuration_->setChecked(r.showDuration());
    }
    WriteOutput();
    FocusIfPossible(cmdClose_);
}

void FrmDurations::SetShowDuration(bool on) {
    if (!shown_) return;
    shown_->report.SetShowDuration(on);
    {
        const QSignalBlocker blockCheck(chkShowDuration_);
        chkShowDuration_->setChecked(on);
    }
    WriteOutput();
}

void FrmDurations::SetExactTimes(bool on) {
    {
        const QSignalBlocker blockCheck(chkExactTimes_);
        chkExactTimes_->setChecked(on);
    }
    if (!shown_ || !shown_->report.IsTransitMode()) return;
    if (on && !shown_->report.HasExactTimes()) {
        // The same report once more, with the instants.
        auto request = std::make_unique<DurationsRequest>(shown_->request);
        KeepChoices();
        StartBuild(std::move(request));
        return;
    }
    shown_->report.SetShowExact(on);
    FillSortList();
    WriteOutput();
}

void FrmDurations::CopyToClipboard() {
    if (shown_) PutOnClipboard(TextBoxText(shown_->report.ClipboardText()));
    FocusIfPossible(cmdClose_);
}

void FrmDurations::OnClose() {
    if (isMinimized() || isMaximized()) showNormal();
    hide();
}

void FrmDurations::closeEvent(QCloseEvent* e) {
    // Closing keeps the window for the next report.
    e->ignore();
    OnClose();
}

void FrmDurations::hideEvent(QHideEvent* e) {
    // Hiding ends the opening and a build still under way; minimising (a hide
    // the system sends) keeps both.
    if (!e->spontaneous()) StopBuild();
    QWidget::hideEvent(e);
}

void FrmDurations::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (!isMinimized()) ApplyLayout();
}

void FrmDurations::ApplyLayout() {
    if (layingOut_) return;
    layingOut_ = true;
    const QSize size = KeepAtLeast(this, kMinWidth, kMinHeight);
    const int width = size.width();
    const int height = size.height();
    const int inner = width - 2 * kMargin;
    Twips::Place(lblTitle_, kMargin, kTitleTop, inner, kTitleHeight);
    Twips::Place(lblSortBy_, kMargin, kSortTop + 30, 1700, 300);
    Twips::Place(cboSortBy_, kMargin + 1750, kSortTop, 2600, kSortHeight);
    Twips::Place(chkShowDuration_, kMargin + 4550, kSortTop + 20, 2800, 320);
    Twips::Place(chkExactTimes_, kMargin + 7450, kSortTop + 20, 2800, 320);
    Twips::Place(prgBuild_, width - kMargin - kProgressWidth, kSortTop + 30, kProgressWidth, 300);
    const int buttonTop = height - kButtonHeight - 120;
    // The natal report has no sort row: its text moves up into the room.
    const int outputTop = shown_ && !shown_->report.IsTransitMode() ? kSortTop : kOutputTop;
    Twips::Place(txbOutput_, kMargin, outputTop, inner, buttonTop - 100 - outputTop);
    // A caption longer than the English one widens its button.
    const int copyWidth = std::max(kCopyWidth, Twips::FromPixels(cmdCopy_->sizeHint().width()));
    const int closeWidth = std::max(kCloseWidth, Twips::FromPixels(cmdClose_->sizeHint().width()));
    Twips::Place(cmdCopy_, kMargin, buttonTop, copyWidth, kButtonHeight);
    Twips::Place(cmdClose_, width - kMargin - closeWidth, buttonTop, closeWidth, kButtonHeight);
    layingOut_ = false;
}

void FrmDurations::BuildReport(Job& job, const std::function<void(int, int)>& observer) {
    ReportSettings settings = job.request.settings;
    settings.progress = [&job, &observer](int done, int total) {
        job.done = done;
        job.total = total;
        if (observer) observer(done, total);
        return !job.cancel.load();
    };
    OpenDurationsReport(job.report, job.request.engine, job.request.chart, job.request.dates,
                        settings, ProgramTexts(job.request.textTable, job.request.language));
}

}  // namespace vek::gui
