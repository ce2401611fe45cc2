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

    // Keeps a drawing and sizes the box to it and the legend's band above
    // it (top given in twips).
    void Show(ChartWheel wheel, int top);
    // The band above the drawing that the box shows, in twips.
    int Band() const { return band_; }
    // A box made larger than its drawing shows the drawing enlarged to fill
    // it, keeping its proportions, from its top left corner; the room left
    // over on one side shows the background. 1 at the drawing's own size.
    double Enlargement() const;
    const ChartWheel& Wheel() const { return wheel_; }
    ChartWheel& Wheel() { return wheel_; }

  signals:
    // The right mouse button released over the drawing, at a point in the
    // drawing's twips (above the picture, in the legend's band, y < 0).
    void RightClicked(int xTwips, int yTwips);
    // The pointer moved over the drawing (a point in its twips, as above),
    // or left it.
    void PointerMoved(int xTwips, int yTwips);
    void PointerLeft();

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

  public:
    // The item under the pointer, painted emphasised (−1: none).
    void SetHighlight(int item);
    int Highlight() const { return wheel_.highlight; }
    // Device-independent pixels per twip of the drawing as shown.
    double Scale() const;

  private:
    QPoint ToTwips(QPointF p) const;

    ChartWheel wheel_;
    // The legend's band of the drawing as shown: it stays when a saved
    // image takes the legend off the drawing, so the drawing does not move.
    int band_ = 0;
};

}  // namespace vek::gui
