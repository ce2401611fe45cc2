// The time and zone chooser of a date row: a time box for a time to the
// minute, a search box and the list of the zones whose names contain what
// was typed, each with the offset in force at the row's date. A typed offset
// (+05:45) or a zone picked from the list is taken with "OK"; a time or zone
// that cannot be taken is named in one line under the boxes and the chooser
// stays open.
#pragma once

#include <QDialog>

#include "gui/time_zone_request.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vek::gui {

class FrmZone : public QDialog {
    Q_OBJECT
  public:
    FrmZone(const TimeAndZoneRequest& request, QWidget* parent);

    // The time and the zone as they stand: the search text, or the name of
    // the entry picked in the list.
    TimeAndZone Answer() const;

    // Checks the answer; takes it when it can be taken, else shows why.
    void TryAccept();

    QLineEdit* TimeBox() const { return txbTime_; }
    QLineEdit* SearchBox() const { return txbZoneSearch_; }
    QListWidget* ZoneList() const { return lstZones_; }
    QLabel* ErrorLabel() const { return lblZoneError_; }

  private:
    // The search box, the list and the buttons.
    void ConnectControls();
    void FillList(const QString& search);

    const TimeAndZoneRequest& request_;
    QLineEdit* txbTime_ = nullptr;
    QLineEdit* txbZoneSearch_ = nullptr;
    QListWidget* lstZones_ = nullptr;
    QLabel* lblZoneError_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

}  // namespace vek::gui
