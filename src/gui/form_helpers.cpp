#include "gui/form_helpers.h"

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

#include "gui/twips.h"

namespace vek::gui {

namespace {

bool IsTextBox(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w);
}

// Clicks the button it watches when Return or Enter is pressed on it.
class ReturnClicker : public QObject {
  public:
    explicit ReturnClicker(QAbstractButton* button) : QObject(button), button_(button) {}

    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == button_ && e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (button_->isEnabled()) button_->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, e);
    }

  private:
    QAbstractButton* button_;
};

}  // namespace

void ClickOnReturn(QAbstractButton* button) {
    button->installEventFilter(new ReturnClicker(button));
}

void SetControlsEnabled(QWidget* form, bool value, bool withFrames, bool withTextBoxes,
                        bool withLabels) {
    for (QWidget* w : form->findChildren<QWidget*>()) {
        // The controls of windows the form owns (the viewer, dialogs) are
        // theirs, not the form's.
        if (w->window() != form->window()) continue;
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
            (withFrames && qobject_cast<QGroupBox*>(w)) || (withTextBoxes && IsTextBox(w)) ||
            (withLabels && qobject_cast<QLabel*>(w))) {
            w->setEnabled(value);
        }
    }
}

void SetControlsFontName(QWidget* form, const QString& family, bool withTextBoxes,
                         const QString& keepFamily) {
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (!keepFamily.isEmpty() && w->font().family() == keepFamily) continue;
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QGroupBox*>(w) || qobject_cast<QLabel*>(w) ||
            (withTextBoxes && IsTextBox(w))) {
            QFont f = w->font();
            f.setFamily(family);
            w->setFont(f);
        }
    }
}

bool FocusIfPossible(QAbstractButton* button) {
    if (!button || !button->isVisible() || !button->isEnabled()) return false;
    button->setFocus();
    return true;
}

QString TextBoxText(const std::string& text) {
    QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

void PutOnClipboard(const QString& text) {
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

QSize KeepAtLeast(QWidget* form, int minWidth, int minHeight) {
    int width = Twips::Width(form);
    int height = Twips::Height(form);
    if (width < minWidth || height < minHeight) {
        width = std::max(width, minWidth);
        height = std::max(height, minHeight);
        Twips::Resize(form, width, height);
    }
    return QSize(width, height);
}

bool KeepFrameOnScreen(QWidget* window) {
    if (!window || !window->isWindow() || window->isMinimized() || window->isMaximized() ||
        window->isFullScreen())
        return false;
    const QScreen* screen = window->screen();
    if (!screen) return false;
    const QRect avail = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    // A frame larger than the available area would be cut off wherever it
    // stood: the window shrinks to fit, as far as its minimum size allows.
    const QSize extra = frame.size() - window->size();
    QSize size = window->size();
    if (frame.width() > avail.width())
        size.setWidth(std::max(avail.width() - extra.width(), window->minimumWidth()));
    if (frame.height() > avail.height())
        size.setHeight(std::max(avail.height() - extra.height(), window->minimumHeight()));
    bool changed = false;
    if (size != window->size()) {
        window->resize(size);
        frame.setSize(window->size() + extra);
        changed = true;
    }
    int dx = 0, dy = 0;
    if (frame.right() > avail.right()) dx = avail.right() - frame.right();
    if (frame.left() + dx < avail.left()) dx = avail.left() - frame.left();
    if (frame.bottom() > avail.bottom()) dy = avail.bottom() - frame.bottom();
    if (frame.top() + dy < avail.top()) dy = avail.top() - frame.top();
    if (dx == 0 && dy == 0) return changed;
    window->move(window->pos() + QPoint(dx, dy));
    return true;
}

namespace {

// After a window is shown, the window manager frames it (and may move it)
// when it gets to it, which on a busy machine can take seconds. The keeper
// looks every kFramePollMs until the frame is there, for at most
// kFrameWaitMs, and keeps the frame on the screen from then on for
// kFrameWatchMs of moves and resizes.
constexpr int kFramePollMs = 100;
constexpr int kFrameWaitMs = 10000;
constexpr int kFrameWatchMs = 1500;

class FrameKeeper : public QObject {
  public:
    explicit FrameKeeper(QWidget* window) : QObject(window), window_(window) {
        setObjectName(kName);
        window->installEventFilter(this);
        poll_.setInterval(kFramePollMs);
        connect(&poll_, &QTimer::timeout, this, [this] { Poll(); });
    }
    static constexpr const char* kName = "vekFrameKeeper";

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched != window_) return false;
        switch (e->type()) {
            case QEvent::Show:
                shown_.start();
                framed_.invalidate();
                Check();
                poll_.start();
                break;
            case QEvent::Hide:
                poll_.stop();
                break;
            case QEvent::Move:
            case QEvent::Resize:
                if (!framed_.isValid() || framed_.elapsed() < kFrameWatchMs) Check();
                break;
            default:
                break;
        }
        return false;
    }

  private:
    // The window manager has framed the window once the frame is larger
    // than the window.
    bool Framed() const { return window_->frameGeometry().size() != window_->geometry().size(); }

    void Poll() {
        if (Framed()) {
            poll_.stop();
            framed_.start();
            KeepFrameOnScreen(window_);
        } else if (shown_.elapsed() >= kFrameWaitMs) {
            poll_.stop();  // no window manager, or a frameless window
        }
    }

    // After the event: the frame the window manager reports is current then.
    void Check() {
        if (pending_) return;
        pending_ = true;
        QTimer::singleShot(0, this, [this] {
            pending_ = false;
            KeepFrameOnScreen(window_);
        });
    }

    QWidget* window_;
    QTimer poll_;
    QElapsedTimer shown_;
    QElapsedTimer framed_;
    bool pending_ = false;
};

}  // namespace

void KeepFramesOnScreen(QWidget* window) {
    if (!window || window->findChild<QObject*>(FrameKeeper::kName, Qt::FindDirectChildrenOnly))
        return;
    new FrameKeeper(window);
}

}  // namespace vek::gui
