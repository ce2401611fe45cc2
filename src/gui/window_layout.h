// The main window's geometry: after a compute it arranges the summary, the
// status line and the user manual's link around the table (or the chart),
// which gives the size the layout needs (the size limit); the window follows
// that size, as far as the screen allows, until the user gives it one of
// their own, which is then kept through every change of mode and view. Room
// beyond the layout goes to the chart.
#pragma once

#include <QElapsedTimer>
#include <QRect>
#include <QSize>
#include <functional>

class QResizeEvent;
class QWidget;

namespace vek::gui {

struct MainControls;
struct ViewState;

// Where the user manual's link stands under the table (twips), and whether
// it is shown.
struct ManualLinkPlace {
    bool shown = false;
    int left = 0;
    int top = 0;
};

class MainWindowLayout {
  public:
    // `window` is the main window, `content` the widget inside its scroll
    // area that carries the controls; `chartShown` says whether the chart
    // stands in place of the table.
    MainWindowLayout(QWidget* window, QWidget* content, const MainControls& ui,
                     const ViewState& view, std::function<bool()> chartShown);

    // Places the summary of one chart beside the table, or that of two
    // charts below the table or the chart, and the status line, and sets
    // the size limit from them. Returns the place of the manual's link.
    ManualLinkPlace ArrangeReportArea(bool twoCharts);
    // The window's least size from the limit; with `growToFit`, or when
    // the layout changed and the user has not sized the window, the window
    // takes the limit's size (cut to the screen).
    void ApplySizeLimits(bool growToFit);
    // The smallest size holds, and the screen bounds the window.
    void ApplyResizeRule();
    // A window larger than its layout gives the room to the chart (or the
    // transit graph): the chart box grows by it, the summary moves aside.
    void ApplyEnlargement();
    // Asks the window system for `size` (pixels) and remembers it for a
    // moment, so that sizes reported on the way are not taken for the user's.
    void RequestSize(QSize size);
    // The frame, title bar included, at the top left of the screen.
    void PlaceAtTopLeft();
    // The place and size `place` (pixels) the window had when the program
    // last ended, when it fits a screen there is now (see
    // RememberedWindowPlace); an empty one changes nothing.
    void RestorePlace(const QRect& place);
    // The main window's resize event, after Qt's own handling.
    void Resized(const QResizeEvent& e);

    int WidthLimit() const { return widthLimit_; }    // twips
    int HeightLimit() const { return heightLimit_; }  // twips

  private:
    // The size `wanted` (pixels) cut to the screen the window is on, its
    // frame included.
    QSize FitOnScreen(QSize wanted) const;

    QWidget* window_;
    QWidget* content_;
    const MainControls& ui_;
    const ViewState& view_;
    std::function<bool()> chartShown_;
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
    QSize requestedSize_;
    QElapsedTimer requestedAt_;
    int reRequests_ = 0;
    static constexpr int kRequestedSizeMs = 1000;
    static constexpr int kReRequests = 3;
};

}  // namespace vek::gui
