// The main window's three date rows as one part: it shows them from the
// model, says what their edits, a typed year, "Clear" and a click on the
// "World date" label do, asks about skipped or doubled times before a
// compute and keeps their weekday tool tips. The rows themselves are
// DateRowWidgets (date_row.h) over the core's DateRows.
#pragma once

#include <QObject>
#include <functional>

#include "app/program_state.h"

class QWidget;

namespace vek::gui {

class DateRowWidget;
class Dialogs;
struct MainControls;

class DateRowsPanel : public QObject {
    Q_OBJECT
  public:
    // What the rows ask of the window.
    struct Window {
        std::function<Mode()> selectedMode;
        // The compute command, as "Compute" runs it.
        std::function<void()> compute;
        // A list entry was chosen; the result shown no longer matches.
        std::function<void()> edited;
        // The year box was left: the result shown may no longer match.
        std::function<void()> yearLeft;
        // A click on "World date": the angles switch between degrees and
        // radians.
        std::function<void()> toggleAngles;
    };

    DateRowsPanel(QWidget* form, const MainControls& controls, const ProgramState& state,
                  Dialogs& dialogs, Window window);

    // The lists of every row filled anew (zone lists, month names).
    void FillLists();
    void ShowRow(DateSlot slot);
    void ShowAll();
    // The month names in the language of the lists.
    void ShowMonthNames();
    void RefreshWeekdayToolTips();
    // Timer1's tick: each row's "Clear" button follows its content.
    void Tick();
    void HideClearButtons();
    // A time its zone skipped or showed twice in a row that `mode` reads:
    // the user says which is meant.
    void AskFoldsFor(Mode mode);

  private:
    void Connect(DateRowWidget* row);
    // "Clear" of row `slot`, after a question.
    void OnClear(DateSlot slot);

    const MainControls& c_;
    const ProgramState& state_;
    Dialogs& dialogs_;
    Window window_;
};

}  // namespace vek::gui
