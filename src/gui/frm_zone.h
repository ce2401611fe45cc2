// The time and zone chooser of a date row: a time box for a time to the
// minute, a search box and the list of the zones whose names contain what
// was typed, each with the offset in force at the row's date. A typed offset
// (+05:45) or a zone picked from the list is taken with "OK"; a time or zone
// that cannot be taken is named in one line under the boxes and the chooser
// stays open. Below them the row's place: a city of the atlas, picked from
// the list of those whose names begin with what was typed, which also puts
// its zone into the zone box, or coordinates typed.
#pragma once

#include <QDialog>
#include <vector>

#include "gui/time_zone_request.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QVBoxLayout;

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
    QLineEdit* PlaceBox() const { return txbPlace_; }
    QListWidget* PlaceList() const { return lstPlaces_; }

  private:
    // The search box, the list and the buttons.
    void ConnectControls();
    void FillList(const QString& search);
    // The cities matching the place box; the one picked gives its zone to
    // the zone box.
    void FillPlaces(const QString& search);
    void TakeZoneOfPlace();
    void AddPlaceControls(QVBoxLayout* layout);

    const TimeAndZoneRequest& request_;
    QLineEdit* txbTime_ = nullptr;
    QLineEdit* txbZoneSearch_ = nullptr;
    QListWidget* lstZones_ = nullptr;
    QLabel* lblZoneError_ = nullptr;
    QLineEdit* txbPlace_ = nullptr;
    QListWidget* lstPlaces_ = nullptr;
    std::vector<PlaceEntry> places_;  // the entries of lstPlaces_, in order
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

}  // namespace vek::gui
