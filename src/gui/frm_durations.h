// frmDurations, the report window: the durations of the current aspects in
// world and personal transits (sortable seven ways, with or without their
// dates), the natal report in natal aspects and synastry. The report model
// is the core's DurationsReport; the window binds it to its controls.
//
// Opening builds the report once. A build that takes longer than a blink
// goes on on a worker thread with its own copies of everything it reads,
// while the window shows its progress and stays responsive; hiding the
// window stops a build, and destroying the window waits for the worker.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "config/program_text.h"
#include "display/durations_report.h"
#include "engine/chart.h"
#include "engine/engine.h"
#include "time/durations.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vek::gui {

// Everything one report reads, copied from the main window when it opens.
struct DurationsRequest {
    Engine engine;  // orbs, names, Pluto table, zodiac, Moon setting
    Chart chart;    // the last compute's chart
    ReportDates dates;
    ReportSettings settings;
    ProgramTextTable textTable;
    Language language = kEnglish;
};

// Where the window goes, in twips, from the main window's frame and the top
// of its table (relative to the main window).
struct DurationsPlacement {
    int left = 0, top = 0, width = 0, height = 0;
};
DurationsPlacement PlaceDurationsWindow(Mode mode, int mainLeft, int mainTop, int mainWidth,
                                        int mainHeight, int tableTop, int cellHeight);

class FrmDurations : public QWidget {
    Q_OBJECT
  public:
    explicit FrmDurations(QWidget* parent = nullptr);
    ~FrmDurations() override;

    // Opens the report: shows the window and builds the report of `request`
    // in its language. While a build for an opening is under way, a second
    // call only brings the window to the front.
    void Report(std::unique_ptr<DurationsRequest> request);

    // A language switch: an open window builds its report again from
    // `request` (the same result in the new language), keeping the chosen
    // sort and "Show duration"; a hidden window does nothing, since the
    // next opening asks in the new language anyway.
    void Retranslate(std::unique_ptr<DurationsRequest> request);

    // True while a build is under way.
    bool Building() const { return static_cast<bool>(job_); }
    // The report on the screen; null before the first build and while one
    // is under way.
    const DurationsReport* Model() const;
    // The title line and the output as shown, line breaks as CR LF.
    std::string TitleText() const;
    std::string OutputText() const;
    // How many reports have been built (a test reads that one opening builds
    // once).
    int BuildCount() const { return buildCount_; }

    // The controls' commands.
    void ChooseSort(int index);
    void SetShowDuration(bool on);
    // "Exact times": the first time on, the report is built again with the
    // exact instants (keeping the sort and "Show duration"); afterwards it
    // only shows or hides their column. The choice stays for later reports.
    void SetExactTimes(bool on);
    void CopyToClipboard();

    // A build waits this long on the window's thread before it goes on in
    // the background and the window shows its progress (tests set 0).
    void SetBlinkMilliseconds(int ms) { blinkMs_ = ms; }
    // Called on the worker thread before each search (tests hold a build
    // there to close the window during it).
    void SetBuildObserver(std::function<void(int done, int total)> observer) {
        observer_ = std::move(observer);
    }

  signals:
    // A build has finished and its report is on the screen.
    void ReportShown();

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    struct Job;
    // The worker's part: the report, telling how far it has come and
    // stopping when the window asks.
    static void BuildReport(Job& job, const std::function<void(int, int)>& observer);
    void SetCaptions(const DurationsRequest& request);
    void StartBuild(std::unique_ptr<DurationsRequest> request);
    void KeepChoices();
    void FillSortList();
    void StopBuild();
    void JoinWorker();
    void OnBuilt(const std::shared_ptr<Job>& job);
    void ShowProgress();
    void ShowBuilding(bool building);
    void ShowReport();
    void WriteOutput();
    void WidenForLines();
    void ApplyLayout();
    void OnClose();

    std::shared_ptr<Job> job_;    // the build under way
    std::shared_ptr<Job> shown_;  // the report on the screen
    std::thread worker_;
    QTimer progressTimer_;
    int blinkMs_ = 100;
    int buildCount_ = 0;
    bool fillingList_ = false;
    // The sort and "Show duration" a rebuilt report takes over (−1: its own).
    int keptSort_ = -1;
    bool keptShowDuration_ = false;
    bool layingOut_ = false;
    std::function<void(int, int)> observer_;

    QLabel* lblTitle_ = nullptr;
    QLabel* lblSortBy_ = nullptr;
    QComboBox* cboSortBy_ = nullptr;
    QCheckBox* chkShowDuration_ = nullptr;
    QCheckBox* chkExactTimes_ = nullptr;
    QProgressBar* prgBuild_ = nullptr;
    QPlainTextEdit* txbOutput_ = nullptr;
    QPushButton* cmdCopy_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
};

}  // namespace vek::gui
