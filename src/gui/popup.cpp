#include "gui/popup.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "gui/fonts.h"
#include "gui/twips.h"

namespace vek::gui {

PopUp::PopUp(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("frmPopUp");
    setAttribute(Qt::WA_ShowWithoutActivating);
    lblMessage_ = new QLabel(this);
    lblMessage_->setObjectName("lblMessage");
    lblMessage_->setAlignment(Qt::AlignCenter);
    lblMessage_->setFont(QFont(kControlFontFamily, 8));
    lblMessage_->setAutoFillBackground(true);
    QPalette p = lblMessage_->palette();
    p.setColor(QPalette::Window, QColor(255, 255, 225));
    p.setColor(QPalette::WindowText, Qt::black);
    lblMessage_->setPalette(p);
    lblMessage_->setFrameStyle(QFrame::Box | QFrame::Plain);
    // The mouse-up on the label closes the pop-up.
    lblMessage_->setAttribute(Qt::WA_TransparentForMouseEvents);
    Twips::Resize(this, 2400, 300);
    timer_.setSingleShot(true);
    timer_.setInterval(2000);
    connect(&timer_, &QTimer::timeout, this, [this] {
        timer_.stop();
        hide();
    });
}

QString PopUp::Message() const {
    return lblMessage_->text();
}

void PopUp::Start(int interval) {
    timer_.setInterval(interval);
    timer_.start();
    show();
    raise();
}

void PopUp::Show(const QString& message, int width, int height, int interval, int top, int left) {
    lblMessage_->setText(message);
    Twips::Place(this, left, top, width, height);
    lblMessage_->setGeometry(0, 0, this->width(), this->height());
    Start(interval);
}

void PopUp::ShowCenterScreen(const QString& message, int width, int height, int interval) {
    QRect screen(0, 0, 1024, 768);
    if (const QScreen* s = QGuiApplication::primaryScreen()) screen = s->availableGeometry();
    const int top = Twips::FromPixels(screen.y() + (screen.height() - this->height()) / 2);
    const int left = Twips::FromPixels(screen.x() + (screen.width() - this->width()) / 2);
    Show(message, width, height, interval, top, left);
}

void PopUp::ShowInForm(const QWidget* form, const QString& message, int width, int height,
                       int interval, int top, int left) {
    lblMessage_->setText(message);
    // Positions are relative to the window's client area.
    const QPoint origin = form->mapToGlobal(QPoint(0, 0));
    Twips::Place(this, left + Twips::FromPixels(origin.x()), top + Twips::FromPixels(origin.y()),
                 width, height);
    lblMessage_->setGeometry(0, 0, this->width(), this->height());
    Start(interval);
}

void PopUp::mouseReleaseEvent(QMouseEvent*) {
    timer_.stop();
    hide();
}

}  // namespace vek::gui
