// frmMain, the main window: the three date rows, the six mode buttons, the
// compute and stepping commands, the language buttons, "Save", "Restore" and
// "Quit", and the aspect table with its title and summary. The window binds
// its controls to the core's models and shows what the core computes; it
// computes nothing itself.
//
// The window is a shell over its parts: the controls (main_controls.h), the
// three date rows (date_rows_panel.h over date_row.h), the six mode buttons
// (mode_buttons.h), the chart panel with the table, the wheel and the transit
// graph (chart_panel.h), the switch between table and chart with "Save as
// ..." (chart_view_commands.h), the status line (status_line.h), the
// window's size and report area (window_layout.h), the stepping and the run
// (run_controller.h), the state files (state_commands.h), "Help" and the
// manual's link (help_commands.h), "Report" (report_commands.h),
// "Configure" (configure_commands.h) and one value that says what the
// window is doing (view_state.h).
#pragma once

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
#include "gui/qt_translation.h"
#include "gui/view_state.h"
#include "platform/settings_store.h"
#include "time/dates.h"

class QScrollArea;
class QUrl;

namespace vek::gui {

class ChartView;
class ChartViewCommands;
class ConfigureCommands;
class DateRowsPanel;
class Dialogs;
class FrmRun;
class FrmConfigure;
class FrmDurations;
class FrmView;
class FileFolders;
class HelpCommands;
class MainWindowLayout;
class ModeButtons;
struct DurationsRequest;
class ReportCommands;
class RunController;
class StateCommands;
class StatusLine;
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
    int WidthLimit() const;   // twips
    int HeightLimit() const;  // twips
    const std::string& AutoStatePath() const;
    QString VersionText() const;
    // The text viewer, once "Help" has created it.
    FrmView* Viewer() const;
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
    FrmDurations* DurationsWindow() const;

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
    // The status line, the mode buttons and the switch between table and
    // chart.
    void CreateViewParts();
    // "Help", "Report" and "Configure" with what they open.
    void CreateCommands();
    void ConnectControls();
    void InitMainWindow();
    // Start-up from the configuration on: the store, the zone lists, the
    // language, the Pluto table, the first result. False when it must end.
    bool LoadConfigurationAndData();
    void FinishStartup();

    // The interval list in the window's language; an edited date row leaves
    // the status line's path and gives "Compute" the focus.
    void FillStepList();
    void OnRowEdited();
    void MarkStale();


    // The compute command's display side.
    void ShowResults();
    void ShowStepResults();
    // The summary, the status line and the manual's link around the table,
    // and the window's size from them (window_layout.h).
    void ArrangeReportArea();

    // Language.
    void SetLanguageDependentText();

    // Buttons.
    void OnNow();
    void OnQuit();
    void End();
    // Open windows take the new language: the viewer (and the help file of
    // the language), the report window, the status line.
    void RetranslateOpenWindows();

    // Program text n in the window's language.
    QString PT(TextId n) const;

    Dialogs& dialogs_;
    Environment env_;
    // Texts, language, engine, date rows, settings and the last results.
    ProgramState state_;
    platform::SettingsStore store_;
    ViewState view_;
    // The controls stand on `content_`, inside a scroll area that fills the
    // window: a screen too small for the whole layout scrolls it instead of
    // hiding controls beyond its edge.
    QScrollArea* scroll_ = nullptr;
    QWidget* content_ = nullptr;
    MainControls ui_;
    DateRowsPanel* rows_ = nullptr;
    ChartPanel* panel_ = nullptr;
    std::unique_ptr<MainWindowLayout> layout_;  // the window's size and report area
    RunController* runner_ = nullptr;
    StateCommands* stateCommands_ = nullptr;
    std::unique_ptr<ModeButtons> modes_;            // the six mode buttons and the hint
    std::unique_ptr<ChartViewCommands> chartView_;  // table or chart, "Save as ..."
    std::unique_ptr<StatusLine> status_;            // the line under the table
    std::unique_ptr<HelpCommands> help_;            // "Help" and the manual's link
    std::unique_ptr<ReportCommands> report_;        // "Report" and its window
    std::unique_ptr<ConfigureCommands> configure_;  // "Configure" and its dialog
    std::unique_ptr<FileFolders> folders_;          // the file dialogs' folders
    QTimer Timer1_;
    QtTranslation qtTranslation_;
};

}  // namespace vek::gui
