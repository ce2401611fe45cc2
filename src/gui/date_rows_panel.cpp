#include "gui/date_rows_panel.h"

#include <QPushButton>
#include <QWidget>

#include "engine/modes.h"
#include "gui/date_row.h"
#include "gui/dialogs.h"
#include "gui/main_controls.h"

namespace vek::gui {

DateRowsPanel::DateRowsPanel(QWidget* form, const MainControls& controls,
                             const ProgramState& state, Dialogs& dialogs, Window window)
    : QObject(form), c_(controls), state_(state), dialogs_(dialogs), window_(std::move(window)) {
    for (DateRowWidget* row : c_.dateRows) Connect(row);
}

void DateRowsPanel::Connect(DateRowWidget* row) {
    const DateSlot slot = row->Slot();
    row->SetChooser(
        &dialogs_, [this] { return state_.Texts(); },
        [this] { return state_.engine.DataFolder(); });
    connect(row, &DateRowWidget::Edited, this, [this] { window_.edited(); });
    connect(row, &DateRowWidget::YearLeft, this, [this] { window_.yearLeft(); });
    connect(row, &DateRowWidget::YearEntered, this, [this, slot] {
        if (ModeReadsSlot(window_.selectedMode(), slot)) window_.compute();
    });
    connect(row, &DateRowWidget::ClearClicked, this, [this, slot] { OnClear(slot); });
    // A click on "World date" switches the angles between degrees and
    // radians; the other two labels do nothing.
    if (slot == kWorldDate) {
        connect(row, &DateRowWidget::LabelClicked, this, [this] { window_.toggleAngles(); });
    }
}

void DateRowsPanel::OnClear(DateSlot slot) {
    DateRowWidget* row = c_.dateRows[Index(slot)];
    const ProgramTexts texts = state_.Texts();
    const QString text = QString::fromStdString(
        texts.ProgramText(kTextClearAllEntriesOf) + " " +
        texts.ProgramText(TextIdAt(kTextClearWorldDateQuestion, Index(slot))));
    if (dialogs_.AskYesNoCancel(text, row->ClearButton()->text(), Answer::Yes) != Answer::Yes) {
        return;
    }
    row->Clear();
}

void DateRowsPanel::FillLists() {
    for (DateRowWidget* row : c_.dateRows) row->FillLists();
}

void DateRowsPanel::ShowRow(DateSlot slot) {
    c_.dateRows[Index(slot)]->ShowValues();
}

void DateRowsPanel::ShowAll() {
    for (DateRowWidget* row : c_.dateRows) row->ShowValues();
}

void DateRowsPanel::ShowMonthNames() {
    for (DateRowWidget* row : c_.dateRows) row->ShowMonthNames();
}

void DateRowsPanel::RefreshWeekdayToolTips() {
    for (DateRowWidget* row : c_.dateRows) {
        row->RefreshWeekdayToolTip();
        row->ShowValues();
    }
}

void DateRowsPanel::Tick() {
    for (DateRowWidget* row : c_.dateRows) row->Tick();
}

void DateRowsPanel::HideClearButtons() {
    for (DateRowWidget* row : c_.dateRows) row->ClearButton()->hide();
}

void DateRowsPanel::AskFoldsFor(Mode mode) {
    for (DateRowWidget* row : c_.dateRows)
        if (ModeReadsSlot(mode, row->Slot())) row->AskFoldIfNeeded();
}

}  // namespace vek::gui
