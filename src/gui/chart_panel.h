// The chart area of the main window and what it shows of a result: the
// aspect table picTable, the chart wheel and the transit graph on
// picGraphic. The panel draws the wheel of the current result, explains an
// aspect cell on a double-click (the dates of the aspect, or the graph of a
// personal transit), answers right-clicks on the wheel and the graph, and
// saves the chart or the graph as an image. The drawings are core models
// (display/chart_wheel.h, display/transit_graph.h).
#pragma once

#include <QObject>
#include <functional>
#include <optional>

#include "app/program_state.h"
#include "display/aspect_explanation.h"
#include "display/chart_wheel.h"
#include "display/transit_graph.h"
#include "time/durations.h"

class QWidget;

namespace vek::gui {

class FileFolders;

class Dialogs;
struct MainControls;
struct ViewState;

class ChartPanel : public QObject {
    Q_OBJECT
  public:
    // The configuration dialog as the graph needs it: the graph hides a
    // visible dialog and the way back to the table shows it again
    // (modeless). Unset functions count as a dialog that is not shown.
    struct ConfigDialogHooks {
        std::function<bool()> visible;
        std::function<void()> hide;
        std::function<void()> show;
    };

    // `form` is the main window whose controls `controls` are; `glyphInks`
    // (may be null: the glyph font's) is what chart placement reads.
    ChartPanel(QWidget* form, const MainControls& controls, ProgramState& state, Dialogs& dialogs,
               const ViewState& view, const GlyphInks* glyphInks);

    // The wheel (or the graph) is on the screen in place of the table.
    bool ChartShown() const;
    // The transit graph is shown; while it is, only "Save image as ...", the
    // toggle and "Quit" are enabled.
    bool GraphShown() const { return graphShown_; }
    bool ConfigHiddenByGraph() const { return configHiddenByGraph_; }
    const TransitGraph& ShownTransitGraph() const { return transitGraph_; }
    void SetConfigDialogHooks(ConfigDialogHooks hooks) { configDialogHooks_ = std::move(hooks); }
    // What a "Yes" to the durations question opens.
    void SetDurationsReport(std::function<void()> show) { showDurations_ = std::move(show); }
    // Where the image dialog starts and what it remembers.
    void SetFolders(FileFolders* folders) { folders_ = folders; }

    // Draws the chart of the current result and shows it in place of the
    // table. A chart too crowded for its glyphs is not shown: the warning
    // names it, the table stays (or comes back) and false is returned.
    bool DrawChart();
    // The table in place of the chart.
    void ShowTable();
    // The toggle leaves the graph: the configuration dialog it hid comes
    // back, and the text boxes it disabled work again.
    void LeaveTransitGraph();
    // "Save image as ...": the chart without its legend, annotated, or the
    // graph as it is shown; only a complete file replaces the chosen one.
    void SaveChartImage();

    // A double-click on aspect cell `index`.
    void OnCellDoubleClicked(int index);
    // The right mouse button released over the chart area.
    void OnGraphicRightClicked(int xTwips, int yTwips);
    // The pointer over the wheel: the line or glyph under it is emphasised
    // and named in the tool tip (the names a right-click gives).
    void OnGraphicHovered(int xTwips, int yTwips);

  private:
    QString PT(TextId n) const;
    int WheelItemAt(int xTwips, int yTwips) const;
    QString WheelItemText(int xTwips, int yTwips) const;
    CellExplanationInput ExplanationInput(int index) const;
    bool ShowTransitGraph(const CellExplanation& e, const ReportDates& dates);
    // What the graph is drawn from; none when the World date or the
    // birthdate gives no date.
    std::optional<TransitGraphInput> GraphInput(const CellExplanation& e,
                                                const ReportDates& dates) const;
    void LockForGraph();
    void ReportImageSaved(const QString& path, const Status& written);

    QWidget* form_;
    const MainControls& c_;
    ProgramState& state_;
    Dialogs& dialogs_;
    const ViewState& view_;
    const GlyphInks* glyphInks_;
    std::function<void()> showDurations_;
    // The transit graph shown, and the configuration dialog it hid.
    bool graphShown_ = false;
    bool configHiddenByGraph_ = false;
    TransitGraph transitGraph_;
    ConfigDialogHooks configDialogHooks_;
    FileFolders* folders_ = nullptr;
};

}  // namespace vek::gui
