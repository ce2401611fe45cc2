#include "gui/form_helpers.h"

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
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

}  // namespace vek::gui
