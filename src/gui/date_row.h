// One date row of the main window: the label, the month list cboMonthCE, the
// day list cboDayCE, the year box txbYearCE, the time list cboHour, the zone
// list cboTimezone and the "Clear" button cmdClear of one slot. The row shows
// its slot of the date-rows model and writes every change the user makes back
// into it; what a change means for the rest of the window (stale results, a
// compute) it tells by its signals.
#pragma once

#include <QWidget>

#include "time/date_rows.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vek::gui {

class DateRowWidget : public QWidget {
    Q_OBJECT
  public:
    // The row of `slot`; its controls are named with the slot after an
    // underscore (cboMonthCE_0).
    DateRowWidget(DateRows& rows, DateSlot slot, QWidget* parent);

    DateSlot Slot() const { return slot_; }
    QLabel* Label() const { return Label1_; }
    QComboBox* Month() const { return cboMonthCE_; }
    QComboBox* Day() const { return cboDayCE_; }
    QLineEdit* Year() const { return txbYearCE_; }
    QComboBox* Hour() const { return cboHour_; }
    QComboBox* Zone() const { return cboTimezone_; }
    QPushButton* ClearButton() const { return cmdClear_; }

    // Places the row with its top at `top` (twips); the columns are fixed.
    void PlaceAt(int top);
    // The month, day, time and zone lists filled from the model, then the
    // row's values shown.
    void FillLists();
    // The model's values of the slot in the controls.
    void ShowValues();
    // The month names again, in the language the model's lists are in.
    void ShowMonthNames();
    void SetTexts(const QString& label, const QString& clear);
    // The weekday of the row's date as the day list's tool tip.
    void RefreshWeekdayToolTip();
    // The one-second timer's share: the year reduced to its digits, "Clear"
    // shown exactly when the row holds a value, the weekday tool tip.
    void Tick();
    // Empties the row (model and controls).
    void Clear();

  signals:
    // The user chose an entry of one of the four lists.
    void Edited();
    // The year box lost the focus.
    void YearLeft();
    // Enter in the year box.
    void YearEntered();
    void ClearClicked();
    // A click on the row's label.
    void LabelClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    QComboBox* NewList(const char* name);
    void ConnectControls();
    void ReadLists();
    void OnListChosen(bool daySelected);

    DateRows& rows_;
    const DateSlot slot_;
    // The window's own changes to the controls are made from the model and
    // are not written back.
    bool updatingControls_ = false;

    QLabel* Label1_ = nullptr;
    QComboBox* cboMonthCE_ = nullptr;
    QComboBox* cboDayCE_ = nullptr;
    QLineEdit* txbYearCE_ = nullptr;
    QComboBox* cboHour_ = nullptr;
    QComboBox* cboTimezone_ = nullptr;
    QPushButton* cmdClear_ = nullptr;
};

}  // namespace vek::gui
