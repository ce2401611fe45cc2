// frmPopUp: a small borderless message that hides itself after an interval
// or when it is clicked. One instance serves the whole program; a new message
// while it is showing moves it and restarts its timer.
#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

namespace vek::gui {

class PopUp : public QWidget {
    Q_OBJECT
  public:
    explicit PopUp(QWidget* parent = nullptr);

    // Shows the message at a screen position; sizes and position in twips,
    // the interval in milliseconds.
    void Show(const QString& message, int width, int height, int interval, int top, int left);
    // The same in the middle of the screen, centred by the size the pop-up
    // had before this call.
    void ShowCenterScreen(const QString& message, int width, int height, int interval);
    // The same at a position relative to a window.
    void ShowInForm(const QWidget* form, const QString& message, int width, int height,
                    int interval, int top, int left);

    QString Message() const;
    int Interval() const { return timer_.interval(); }

  protected:
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    void Start(int interval);

    QLabel* lblMessage_;
    QTimer timer_;
};

}  // namespace vek::gui
