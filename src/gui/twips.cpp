#include "gui/twips.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <cmath>

namespace vek::gui {

double Twips::dpi_ = 96.0;

void Twips::SetLogicalDpi(double dpi) {
    if (dpi > 0 && std::isfinite(dpi)) dpi_ = dpi;
}

void Twips::UseScreenDpi() {
    if (const QScreen* s = QGuiApplication::primaryScreen()) SetLogicalDpi(s->logicalDotsPerInch());
}

double Twips::LogicalDpi() {
    return dpi_;
}

int Twips::ToPixels(int twips) {
    return static_cast<int>(std::lround(twips * dpi_ / 1440.0));
}

double Twips::PixelsPerTwip() {
    return dpi_ / 1440.0;
}

int Twips::FromPixels(int pixels) {
    return static_cast<int>(std::lround(pixels * 1440.0 / dpi_));
}

namespace {

// The geometry a widget was given in twips, so that reading it back gives the
// design values rather than values rounded through pixels.
constexpr const char* kTwipsProperty = "vekTwips";

QRect PixelRect(const QRect& t) {
    const int x0 = Twips::ToPixels(t.x());
    const int y0 = Twips::ToPixels(t.y());
    // Converting the edges rather than the sizes keeps neighbouring controls
    // that touch in twips touching in pixels.
    return QRect(x0, y0, Twips::ToPixels(t.x() + t.width()) - x0,
                 Twips::ToPixels(t.y() + t.height()) - y0);
}

// The widget's geometry in twips: the stored design values while the widget
// still stands where they put it, otherwise its pixels converted.
QRect TwipRect(const QWidget* w) {
    const QVariant v = w->property(kTwipsProperty);
    if (v.isValid()) {
        const QRect t = v.toRect();
        const QRect p = w->isWindow() ? QRect(w->pos(), w->size()) : w->geometry();
        if (PixelRect(t) == p) return t;
    }
    const QRect p = w->isWindow() ? QRect(w->pos(), w->size()) : w->geometry();
    return QRect(Twips::FromPixels(p.x()), Twips::FromPixels(p.y()), Twips::FromPixels(p.width()),
                 Twips::FromPixels(p.height()));
}

void SetTwipRect(QWidget* w, const QRect& t) {
    w->setProperty(kTwipsProperty, t);
    const QRect p = PixelRect(t);
    if (w->isWindow()) {
        w->move(p.topLeft());
        w->resize(p.size());
    } else {
        w->setGeometry(p);
    }
}

}  // namespace

void Twips::Place(QWidget* w, int left, int top, int width, int height) {
    SetTwipRect(w, QRect(left, top, width, height));
}

void Twips::Move(QWidget* w, int left, int top) {
    const QRect t = TwipRect(w);
    SetTwipRect(w, QRect(left, top, t.width(), t.height()));
}

void Twips::Resize(QWidget* w, int width, int height) {
    const QRect t = TwipRect(w);
    SetTwipRect(w, QRect(t.x(), t.y(), width, height));
}

int Twips::Left(const QWidget* w) {
    return TwipRect(w).x();
}
int Twips::Top(const QWidget* w) {
    return TwipRect(w).y();
}
int Twips::Width(const QWidget* w) {
    return TwipRect(w).width();
}
int Twips::Height(const QWidget* w) {
    return TwipRect(w).height();
}

}  // namespace vek::gui
