// picGraphic: the picture box that shows the chart wheel in place of the
// table. It keeps the drawing model of the last drawing and paints it
// whenever the window needs it, at the screen's resolution.
#pragma once

#include <QWidget>

#include "display/chart_wheel.h"

namespace vek::gui {

class ChartView : public QWidget {
    Q_OBJECT
  public:
    explicit ChartView(QWidget* parent = nullptr);

    // Keeps a drawing and sizes the box to it (top given in twips).
    void Show(ChartWheel wheel, int top);
    const ChartWheel& Wheel() const { return wheel_; }
    ChartWheel& Wheel() { return wheel_; }

  signals:
    // The right mouse button released over the drawing, at a point in the
    // drawing's twips.
    void RightClicked(int xTwips, int yTwips);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    ChartWheel wheel_;
};

}  // namespace vek::gui
