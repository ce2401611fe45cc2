#include "gui/chart_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "gui/twips.h"
#include "paint/chart_painter.h"

namespace vek::gui {

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
    setObjectName("picGraphic");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::Show(ChartWheel wheel, int top) {
    wheel_ = std::move(wheel);
    const WheelGeometry& g = wheel_.geometry;
    Twips::Place(this, g.left, top, g.width, g.height);
    update();
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const double k = Twips::PixelsPerTwip();
    painter.scale(k, k);
    paint::PaintChart(painter, wheel_);
}

void ChartView::mouseReleaseEvent(QMouseEvent* e) {
    QWidget::mouseReleaseEvent(e);
    if (e->button() != Qt::RightButton) return;
    const double k = Twips::PixelsPerTwip();
    emit RightClicked(static_cast<int>(std::floor(e->position().x() / k)),
                      static_cast<int>(std::floor(e->position().y() / k)));
}

}  // namespace vek::gui
