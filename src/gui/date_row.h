// One date row of the main window: the label, the month list cboMonthCE, the
// day list cboDayCE, the year box txbYearCE, the time list cboHour, the zone
// list cboTimezone and the "Clear" button cmdClear of one slot. The time and
// zone lists end in an entry that opens the time and zone chooser, for a
// time to the minute and a zone of the tz database or any offset; while the
// row holds such a time or zone, its list shows it in an entry of its own
// before that last one. The row shows
// its slot of the date-rows model and writes every change the user makes back
// into it; what a change means for the rest of the window (stale results, a
// compute) it tells by its signals.
#pragma once

#include <QWidget>
#include <functional>

#include "config/program_text.h"
#include "time/date_rows.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vek::gui {

class Dialogs;

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

    // Where the chooser asks and where its texts come from; without it the
    // lists have no chooser entry.
    // atlasFolder gives the folder of the atlas, read when a place is first
    // typed.
    void SetChooser(Dialogs* dialogs, std::function<ProgramTexts()> texts,
                    std::function<std::string()> atlasFolder = {});
    // Opens the time and zone chooser, as the lists' last entries do, and
    // gives the row what was chosen. A time or zone that cannot be taken is
    // shown in one line and leaves the row as it was.
    void ChooseTimeAndZone();
    // Before a compute: when the row's zone skipped or doubled its time and
    // no meaning is chosen yet, asks which offset is meant. False when the
    // user cancelled.
    bool AskFoldIfNeeded();

    // Places the row with its top at `top` (twips); the columns are fixed.
    void PlaceAt(int top);
    // The month, day, time and zone lists filled from the model, then the
    // row's values shown.
    void FillLists();
    // The model's values of the slot in the controls.
    void ShowValues();
    // The month names again, in the language the model's lists are in, and
    // the chooser entries in the language of the texts.
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
    // Adds or removes the entries beyond the lists so that they show the
    // model's time and zone.
    void ShowExtraEntries();
    int ChooserTimeEntry() const;
    int ChooserZoneEntry() const;
    QString ChooserText(TextId id) const;

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

    Dialogs* dialogs_ = nullptr;
    std::function<ProgramTexts()> texts_;
    std::function<std::string()> atlasFolder_;
    // Whether the lists hold an entry for the model's exact minute or zone.
    bool timeExtraShown_ = false;
    bool zoneExtraShown_ = false;
};

}  // namespace vek::gui
