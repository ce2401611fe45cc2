#include "gui/chart_view.h"

#include <QPainter>

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

}  // namespace vek::gui
