// frmMain, the main window: the three date rows, the six mode buttons, the
// compute and stepping commands, the language buttons, "Save", "Restore" and
// "Quit", and the aspect table with its title and summary. The window binds
// its controls to the core's models and shows what the core computes; it
// computes nothing itself.
//
// The window is a shell over its parts: the controls (main_controls.h, the
// date rows among them: date_row.h), the chart panel with the table, the
// wheel and the transit graph (chart_panel.h), the stepping and the run
// (run_controller.h), the state files (state_commands.h) and one value that
// says what the window is doing (view_state.h).
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/program_state.h"
#include "display/chart_wheel.h"
#include "display/transit_graph.h"
#include "gui/chart_panel.h"
#include "gui/main_controls.h"
#include "gui/view_state.h"
#include "platform/settings_store.h"
#include "time/dates.h"

class QScrollArea;
class QTranslator;
class QUrl;

namespace vek::gui {

class ChartView;
class Dialogs;
class FrmRun;
class FrmConfigure;
class FrmDurations;
class FrmView;
class FileFolders;
struct DurationsRequest;
class RunController;
class StateCommands;
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
        // The computer's zone name ("Europe/Berlin") that "Now" gives the
        // World date; unset: asked of the system, or none when
        // localZoneMinutes is given.
        std::optional<std::string> localZoneName;
        // The ink of the body glyphs that chart placement reads; unset: the
        // glyph font's.
        const GlyphInks* glyphInks = nullptr;
        // Opens a page with the program the desktop associates with it;
        // unset: QDesktopServices. Returns false when nothing opened it.
        std::function<bool(const QUrl&)> openUrl;
        // Where the file dialogs start the first time; empty: the user's
        // documents folder.
        std::string documentsFolder;
    };
    using ConfigDialogHooks = ChartPanel::ConfigDialogHooks;

    FrmMain(Dialogs& dialogs, Environment env, QWidget* parent = nullptr);
    ~FrmMain() override;

    // The start-up of the load event. Returns false when the program has to
    // end (the reason has been shown); the window is then closed.
    bool Load();

    // True once "Quit" or the close box has ended the program.
    bool HasEnded() const { return view_.ended; }

    // Commands, as the buttons run them.
    void Compute();  // cmdCompute
    void ShowWorldTransitsNow();
    void ApplyLanguage(Language language);
    void TimerTick();  // Timer1

    // What the window holds, for the commands of other windows and tests.
    Mode SelectedMode() const;
    Mode ComputedMode() const { return view_.computedMode; }
    bool StartupCompleted() const { return view_.blnStartupCompleted; }
    bool StateJustSaved() const { return view_.stateJustSaved; }
    const ProgramState& State() const { return state_; }
    const DateRows& Rows() const { return state_.rows; }
    const Engine& CoreEngine() const { return state_.engine; }
    const ComputeResults& Results() const { return state_.results; }
    const NameTables& Names() const { return state_.engine.names; }
    const Settings& CoreSettings() const { return state_.settings; }
    TableGrid* Grid() const { return ui_.picTable; }
    ChartView* Graphic() const { return ui_.picGraphic; }
    bool ChartShown() const;
    int WidthLimit() const { return widthLimit_; }    // twips
    int HeightLimit() const { return heightLimit_; }  // twips
    const std::string& AutoStatePath() const;
    QString VersionText() const;
    // The text viewer, once "Help" has created it.
    FrmView* Viewer() const { return frmView_; }
    // The run: its dialog once the run button has created it, whether a run
    // is in progress, and Timer2, which paces it. A tick of Timer2 is one
    // step; tests call RunTick() instead of waiting.
    FrmRun* RunDialog() const;
    bool RunInProgress() const { return view_.runInProgress; }
    const QTimer& RunTimer() const;
    void RunTick();
    // The configuration dialog, once "Configure" has created it.
    FrmConfigure* Configuration() const;

    // Aspect explanations and the transit graph. The graph is shown in the
    // chart area in place of the table; while it is, only "Save image as
    // ...", the toggle and "Quit" are enabled.
    bool GraphShown() const { return panel_->GraphShown(); }
    bool ConfigHiddenByGraph() const { return panel_->ConfigHiddenByGraph(); }
    const TransitGraph& ShownTransitGraph() const { return panel_->ShownTransitGraph(); }
    void SetConfigDialogHooks(ConfigDialogHooks hooks) {
        panel_->SetConfigDialogHooks(std::move(hooks));
    }
    // The report window, once "Report" has opened it.
    FrmDurations* DurationsWindow() const { return frmDurations_; }

    // Opens the durations report (the natal report in natal aspects and
    // synastry) of the last result, with Timer1 paused meanwhile.
    void ShowDurationsReport();
    // What a report of the last result reads, in the window's language.
    std::unique_ptr<DurationsRequest> DurationsRequestOfResult();

  signals:
    // The program ends: "Quit" answered, or the close box.
    void Ended();
    // A compute finished and its results are on the screen.
    void Computed();

  protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    // Building the window.
    void CreateParts();
    void ConnectControls();
    void ConnectDateRow(DateRowWidget* row);
    // The frame, title bar included, at the top left of the screen.
    void PlaceAtTopLeft();
    // The place and size the window had when the program last ended, when
    // they fit a screen there is now.
    void RestoreWindowPlace();
    // Qt's own texts (the buttons of message boxes) in the interface language.
    void ApplyQtTranslation(Language language);
    void InitMainWindow();
    // Start-up from the configuration on: the store, the zone lists, the
    // language, the Pluto table, the first result. False when it must end.
    bool LoadConfigurationAndData();
    void FinishStartup();

    // Date rows: model -> controls.
    void FillDateControls();
    void ShowRow(DateSlot slot);
    void ShowAllRows();
    void FillStepList();
    void OnRowEdited();
    void MarkStale();

    // Modes.
    void OnModeClicked();
    void SelectMode(Mode mode);
    void RestoreMode();
    void UpdateHintLabel();

    // The compute command's display side.
    void ShowResults();
    void ShowStepResults();
    void ArrangeReportArea();
    void ApplySizeLimits(bool growToFit);
    void ApplyResizeRule();
    // A window larger than its layout gives the room to the chart (or the
    // transit graph): the chart box grows by it, the summary moves aside.
    void ApplyEnlargement();
    // The size `wanted` (pixels) cut to the screen the window is on, its
    // frame included.
    QSize FitOnScreen(QSize wanted) const;

    // Language.
    void SetLanguageDependentText();
    void RefreshWeekdayToolTips();
    QString StandingStatusText() const;
    // The status line's tool tip: the program, its version and the ephemeris
    // in use.
    QString VersionToolTip() const;

    // Buttons.
    void OnNow();
    void OnClear(DateSlot slot);
    void OnQuit();
    void End();
    // Help and the user manual's link (frm_main_help.cpp).
    void OnHelp();
    // Open windows take the new language: the viewer (and the help file of
    // the language), the report window, the status line.
    void RetranslateOpenWindows();
    void ShowStatusText();
    void ArrangeManualLink(bool shown, int left, int top);
    void OnManualLink();
    // "Configure" and its dialog (frm_main_configure.cpp).
    void OnConfigure();
    void SetConfigureTexts();
    void HideConfigurationWhenMinimized();
    // The switch between table and chart (frm_main_chart.cpp).
    void UpdateSaveAsButton();
    void UpdateChartButtons();
    void OnToggleGraphic();
    void OnSaveAs();
    // "Report" (frm_main_report.cpp).
    void OnReport();

    // Program text n in the window's language.
    QString PT(TextId n) const;

    Dialogs& dialogs_;
    Environment env_;
    // Texts, language, engine, date rows, settings and the last results.
    ProgramState state_;
    platform::SettingsStore store_;
    ViewState view_;
    int widthLimit_ = 0;
    int heightLimit_ = 0;
    int lastWidthLimit_ = 0;
    int lastHeightLimit_ = 0;
    // The size the layout last gave the window, and whether the window has
    // since been given another one (dragged by the user): that size is kept
    // when the layout changes.
    QSize layoutSize_;
    bool userSized_ = false;
    // The size the program last asked the window system for, for
    // kRequestedSizeMs, and how often it was asked again since.
    void RequestSize(QSize size);
    QSize requestedSize_;
    QElapsedTimer requestedAt_;
    int reRequests_ = 0;
    static constexpr int kRequestedSizeMs = 1000;
    static constexpr int kReRequests = 3;

    // The controls stand on `content_`, inside a scroll area that fills the
    // window: a screen too small for the whole layout scrolls it instead of
    // hiding controls beyond its edge.
    QScrollArea* scroll_ = nullptr;
    QWidget* content_ = nullptr;
    MainControls ui_;
    ChartPanel* panel_ = nullptr;
    RunController* runner_ = nullptr;
    StateCommands* stateCommands_ = nullptr;
    FrmView* frmView_ = nullptr;            // created on the first "Help"
    FrmDurations* frmDurations_ = nullptr;  // created on the first report
    std::unique_ptr<FileFolders> folders_;  // the file dialogs' folders
    QPointer<FrmConfigure> frmConfigure_;   // created by the first "Configure"
    QTimer Timer1_;
    std::unique_ptr<QTranslator> qtTranslator_;  // installed while German is chosen
};

}  // namespace vek::gui
