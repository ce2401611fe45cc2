#include "gui/chart_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "gui/twips.h"
#include "paint/chart_painter.h"

namespace vek::gui {

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
    setObjectName("picGraphic");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void ChartView::SetHighlight(int item) {
    if (item == wheel_.highlight) return;
    wheel_.highlight = item;
    update();
}

QPoint ChartView::ToTwips(QPointF p) const {
    const double k = Scale();
    return QPoint(static_cast<int>(std::floor(p.x() / k)),
                  static_cast<int>(std::floor(p.y() / k)) - band_);
}

void ChartView::mouseMoveEvent(QMouseEvent* e) {
    QWidget::mouseMoveEvent(e);
    const QPoint t = ToTwips(e->position());
    emit PointerMoved(t.x(), t.y());
}

void ChartView::leaveEvent(QEvent* e) {
    QWidget::leaveEvent(e);
    emit PointerLeft();
}

void ChartView::Show(ChartWheel wheel, int top) {
    wheel_ = std::move(wheel);
    wheel_.highlight = -1;
    band_ = wheel_.legendBand;
    const WheelGeometry& g = wheel_.geometry;
    Twips::Place(this, g.left, top, g.width, g.height + band_);
    update();
}

double ChartView::Enlargement() const {
    const WheelGeometry& g = wheel_.geometry;
    // The box at the drawing's size (its pixels rounded from twips) is not
    // enlarged, so the drawing keeps its exact pixels there.
    if (g.width <= 0 || g.height <= 0 ||
        (width() <= Twips::ToPixels(g.width) && height() <= Twips::ToPixels(g.height + band_)))
        return 1;
    const double k = Twips::PixelsPerTwip();
    return std::max(1.0, std::min(width() / (g.width * k), height() / ((g.height + band_) * k)));
}

double ChartView::Scale() const {
    return Twips::PixelsPerTwip() * Enlargement();
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (Enlargement() > 1) {
        const Color c = wheel_.background;
        painter.fillRect(rect(), QColor(c.red(), c.green(), c.blue()));
    }
    const double k = Scale();
    painter.scale(k, k);
    painter.translate(0, band_);
    paint::PaintChart(painter, wheel_);
}

void ChartView::mouseReleaseEvent(QMouseEvent* e) {
    QWidget::mouseReleaseEvent(e);
    if (e->button() != Qt::RightButton) return;
    const QPoint t = ToTwips(e->position());
    emit RightClicked(t.x(), t.y());
}

}  // namespace vek::gui
