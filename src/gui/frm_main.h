// frmMain, the main window: the three date rows, the six mode buttons, the
// compute and stepping commands, the language buttons, "Save", "Restore" and
// "Quit", and the aspect table with its title and summary. The window binds
// its controls to the core's models and shows what the core computes; it
// computes nothing itself.
//
// Control names: every control's objectName is its name; members of a control
// array carry their index after an underscore (cboMonthCE_0, txbCell_143).
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/compute.h"
#include "app/pattern_run.h"
#include "app/program_state.h"
#include "app/state_file.h"
#include "config/settings.h"
#include "display/aspect_explanation.h"
#include "display/chart_wheel.h"
#include "display/transit_graph.h"
#include "engine/engine.h"
#include "platform/settings_store.h"
#include "time/date_rows.h"
#include "time/durations.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTextEdit;
class QPushButton;
class QRadioButton;

class QTranslator;
class QUrl;

namespace vek::gui {

class ChartView;
class Dialogs;
class FrmRun;
class FrmConfigure;
class FrmDurations;
class FrmView;
class PopUp;
class TableGrid;

class FrmMain : public QWidget {
    Q_OBJECT
  public:
    // Where the window finds its data and keeps its state; tests replace the
    // clock and the folders.
    struct Environment {
        std::string dataFolder;     // program folder with vek.dat and pluto.slx
        std::string autoStatePath;  // vek.usr; empty: the per-user default
        std::string configFolder;   // the settings store; empty: the per-user default
        Clock clock = ReadSystemClock;
        // The computer's zone in minutes east of Greenwich; unset: asked of
        // the system.
        std::optional<int> localZoneMinutes;
        // The ink of the body glyphs that chart placement reads; unset: the
        // glyph font's.
        const GlyphInks* glyphInks = nullptr;
        // Opens a page with the program the desktop associates with it;
        // unset: QDesktopServices. Returns false when nothing opened it.
        std::function<bool(const QUrl&)> openUrl;
    };

    FrmMain(Dialogs& dialogs, Environment env, QWidget* parent = nullptr);
    ~FrmMain() override;

    // The start-up of the load event. Returns false when the program has to
    // end (the reason has been shown); the window is then closed.
    bool Load();

    // True once "Quit" or the close box has ended the program.
    bool HasEnded() const { return ended_; }

    // Commands, as the buttons run them.
    void Compute();  // cmdCompute
    void ShowWorldTransitsNow();
    void ApplyLanguage(int language);
    void TimerTick();  // Timer1

    // What the window holds, for the commands of other windows and tests.
    Mode SelectedMode() const;
    Mode ComputedMode() const { return computedMode_; }
    bool StartupCompleted() const { return blnStartupCompleted_; }
    bool StateJustSaved() const { return stateJustSaved_; }
    const ProgramState& State() const { return state_; }
    const DateRows& Rows() const { return state_.rows; }
    const Engine& CoreEngine() const { return state_.engine; }
    const ComputeResults& Results() const { return state_.results; }
    const Settings& CoreSettings() const { return state_.settings; }
    TableGrid* Grid() const { return picTable_; }
    ChartView* Graphic() const { return picGraphic_; }
    bool ChartShown() const;
    int WidthLimit() const { return widthLimit_; }    // twips
    int HeightLimit() const { return heightLimit_; }  // twips
    const std::string& AutoStatePath() const { return autoStatePath_; }
    QString VersionText() const;
    // The text viewer, once "Help" has created it.
    FrmView* Viewer() const { return frmView_; }
    // The run (frm_main_run.cpp): its dialog once the run button has created
    // it, whether a run is in progress, and Timer2, which paces it. A tick of
    // Timer2 is one step; tests call RunTick() instead of waiting.
    FrmRun* RunDialog() const { return frmRun_; }
    bool RunInProgress() const { return runInProgress_; }
    const QTimer& RunTimer() const { return Timer2_; }
    void RunTick();
    // The configuration dialog, once "Configure" has created it.
    FrmConfigure* Configuration() const;

    // Aspect explanations and the transit graph (frm_main_explain.cpp).
    // The graph is shown in the chart area in place of the table; while it
    // is, only "Save image as ...", the toggle and "Quit" are enabled.
    bool GraphShown() const { return graphShown_; }
    bool ConfigHiddenByGraph() const { return configHiddenByGraph_; }
    const TransitGraph& ShownTransitGraph() const { return transitGraph_; }
    // The configuration dialog as the graph needs it: the graph hides a
    // visible dialog and the toggle back to the table shows it again
    // (modeless). Unset functions count as a dialog that is not shown.
    struct ConfigDialogHooks {
        std::function<bool()> visible;
        std::function<void()> hide;
        std::function<void()> show;
    };
    void SetConfigDialogHooks(ConfigDialogHooks hooks) { configDialogHooks_ = std::move(hooks); }
    // The report window, once "Report" has opened it.
    FrmDurations* DurationsWindow() const { return frmDurations_; }

    // Opens the durations report (the natal report in natal aspects and
    // synastry) of the last result, with Timer1 paused meanwhile.
    void ShowDurationsReport();

  signals:
    // The program ends: "Quit" answered, or the close box.
    void Ended();
    // A compute finished and its results are on the screen.
    void Computed();

  protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    // Building the window.
    void CreateControls();
    void CreateDateRow(int slot);
    QPushButton* NewButton(const QString& name);
    QLabel* NewLabel(const QString& name);
    void PlaceControls();
    // Tab goes through the controls in the order the screen shows them.
    void SetTabOrder();
    // The frame, title bar included, at the top left of the screen.
    void PlaceAtTopLeft();
    // Qt's own texts (the buttons of message boxes) in the interface language.
    void ApplyQtTranslation(int language);
    void InitMainWindow();

    // Date rows: model <-> controls.
    void FillDateControls();
    void ShowRow(int slot);
    void FillStepList();
    void SyncRowFromControls(int slot);
    void OnRowEdited(int slot, bool daySelected);
    void MarkStale();

    // Modes.
    void OnModeClicked(Mode mode);
    void SelectMode(Mode mode);
    void RestoreMode();
    void EnableStepping();
    void UpdateHintLabel();
    bool SteppingAllowed() const;

    // The compute command's display side.
    void ShowResults();
    void ArrangeReportArea();
    void ApplySizeLimits(bool growToFit);
    void ApplyResizeRule();

    // Language.
    void SetLanguageDependentText();
    void RefreshWeekdayToolTips();

    // Buttons.
    void OnNow();
    void OnClear(int slot);
    void OnStep(int index);
    void OnSave();
    void OnRestore();
    void OnLoadState();
    void SaveStateAs();
    QString StateFileFilter() const;
    void OnQuit();
    void OnWorldDateLabel();
    // Help and the user manual's link (frm_main_help.cpp).
    void OnHelp();
    void CreateManualLink();
    void ArrangeManualLink(bool shown, int left, int top);
    void OnManualLink();
    void End();
    // "Configure" and its dialog (frm_main_configure.cpp).
    void CreateConfigureButton();
    void OnConfigure();
    void SetConfigureTexts();
    void HideConfigurationWhenMinimized();

    QString StandingStatusText() const;

    // The chart wheel and its image (frm_main_chart.cpp).
    void CreateChartControls();
    void LayoutCommandButtons();
    void UpdateSaveAsButton();
    void UpdateChartButtons();
    void OnToggleGraphic();
    bool DrawChart();
    void OnSaveAs();
    void SaveChartImage();
    QString ChartImageFilter() const;

    // The run until a pattern appears (frm_main_run.cpp).
    void CreateRunControls();
    void OnRun();
    void OnRunDialogFinished();
    void StartRun();
    void StopRun();
    void AbandonRun();
    void SetControlsEnabledForRun(bool enabled);
    void ShowRunStep();
    // Aspect explanations and the transit graph (frm_main_explain.cpp).
    void CreateExplanationHandlers();
    void OnCellDoubleClicked(int index);
    bool ShowTransitGraph(const CellExplanation& e, const ReportDates& dates);
    void OnGraphicRightClicked(int xTwips, int yTwips);
    void LeaveTransitGraph();
    // "Report" (frm_main_report.cpp).
    void CreateReportButton();
    void OnReport();

    // State files.
    AppState CurrentState() const;
    void ApplyState(const AppState& state);
    void ShowLoadedState();
    Status SaveState(const std::string& path);
    Status LoadState(const std::string& path);
    void RestoreAtStartup();
    void ShowConfirmation(QPushButton* button, TextId text);

    // Program text n in the window's language.
    QString PT(TextId n) const;

    Dialogs& dialogs_;
    Environment env_;
    // Texts, language, engine, date rows, settings and the last results.
    ProgramState state_;
    platform::SettingsStore store_;

    // Window variables.
    bool blnStartupCompleted_ = false;
    bool ended_ = false;
    bool loadingState_ = false;
    bool inputErrorReported_ = false;
    double lastDateError_ = 0;  // the World date's error code of the last compute, else 0
    bool steppingUnderWay_ = false;
    bool runInProgress_ = false;
    bool stateJustSaved_ = false;
    int stateTicks_ = 0;
    bool updatingControls_ = false;
    bool anglesInRadians_ = false;  // optRadians selected instead of optDegrees
    Mode computedMode_ = Mode::None;
    std::string autoStatePath_;
    int widthLimit_ = 0;
    int heightLimit_ = 0;
    int lastWidthLimit_ = 0;
    int lastHeightLimit_ = 0;
    // The transit graph shown, and the configuration dialog it hid.
    bool graphShown_ = false;
    bool configHiddenByGraph_ = false;
    TransitGraph transitGraph_;
    ConfigDialogHooks configDialogHooks_;

    // Controls.
    std::array<QLabel*, 3> Label1_{};
    std::array<QComboBox*, 3> cboMonthCE_{};
    std::array<QComboBox*, 3> cboDayCE_{};
    std::array<QLineEdit*, 3> txbYearCE_{};
    std::array<QComboBox*, 3> cboHour_{};
    std::array<QComboBox*, 3> cboTimezone_{};
    std::array<QPushButton*, 3> cmdClear_{};
    QPushButton* cmdNow_ = nullptr;
    QRadioButton* optPlanetary_ = nullptr;
    std::array<QRadioButton*, 2> optNatal_{};
    std::array<QRadioButton*, 2> optPersonal_{};
    QRadioButton* optSynastry_ = nullptr;
    QButtonGroup* modeGroup_ = nullptr;
    QPushButton* cmdCompute_ = nullptr;
    std::array<QPushButton*, 2> cmdForwardBack_{};
    QComboBox* cboForwardBack_ = nullptr;
    QGroupBox* fraLanguage_ = nullptr;
    QRadioButton* optEnglish_ = nullptr;
    QRadioButton* optGerman_ = nullptr;
    QPushButton* cmdSave_ = nullptr;
    QPushButton* cmdRestore_ = nullptr;
    QPushButton* cmdQuit_ = nullptr;
    QPushButton* cmdHelp_ = nullptr;
    FrmView* frmView_ = nullptr;  // created on the first "Help"
    QLabel* lblUserManual_ = nullptr;
    QLabel* lblURL_ = nullptr;
    QLabel* lblTitle_ = nullptr;
    QLabel* lblClickonAspect_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    TableGrid* picTable_ = nullptr;
    ChartView* picGraphic_ = nullptr;
    QPushButton* cmdRun_ = nullptr;
    QPushButton* cmdToggleGraphic_ = nullptr;
    QPushButton* cmdSaveAs_ = nullptr;
    QPushButton* cmdLoadState_ = nullptr;
    QTextEdit* txbReport_ = nullptr;
    QTextEdit* txbReport1_ = nullptr;
    PopUp* popUp_ = nullptr;
    QPushButton* cmdReport_ = nullptr;
    FrmDurations* frmDurations_ = nullptr;  // created on the first report
    QTimer Timer1_;
    std::unique_ptr<QTranslator> qtTranslator_;  // installed while German is chosen
    FrmRun* frmRun_ = nullptr;                   // created on the first run in world transits
    PatternRun run_;
    QTimer Timer2_;
    bool inRunTick_ = false;
    QPushButton* cmdConfigure_ = nullptr;
    QPointer<FrmConfigure> frmConfigure_;  // created by the first "Configure"
};

}  // namespace vek::gui
