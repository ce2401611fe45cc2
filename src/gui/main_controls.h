// The controls of the main window and where they stand. The window, its
// chart panel, its run controller and its state commands all work on these
// controls; this file creates them, names them (each control's objectName is
// its name, members of a control array carry their index after an
// underscore: optNatal_0, txbCell_143), places them and sets their texts.
#pragma once

#include <QString>
#include <array>

#include "config/program_text.h"
#include "engine/modes.h"
#include "time/date_rows.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTextEdit;
class QWidget;

namespace vek::gui {

class ChartView;
class DateRowWidget;
class PopUp;
class TableGrid;

// Places in twips that the window's arrangement after a compute needs.
namespace main_layout {
inline constexpr int kMargin = 120;
inline constexpr int kLabelHeight = 270;
inline constexpr int kReportWidth = 3700;  // txbReport
// The lower bounds of the window's size.
inline constexpr int kMinWidth = 10200;
inline constexpr int kMinHeight = 4800;
inline constexpr int kTitleTop = 2000;
inline constexpr int kHintTop = 2280;
}  // namespace main_layout

struct MainControls {
    std::array<DateRowWidget*, kDateSlotCount> dateRows{};
    QPushButton* cmdNow = nullptr;
    // The six mode buttons; their ids in modeGroup are the modes.
    QButtonGroup* modeGroup = nullptr;
    QRadioButton* optPlanetary = nullptr;
    std::array<QRadioButton*, 2> optNatal{};
    std::array<QRadioButton*, 2> optPersonal{};
    QRadioButton* optSynastry = nullptr;
    QPushButton* cmdCompute = nullptr;
    // "Forward" (0) and "Back" (1), and the interval list between them.
    std::array<QPushButton*, 2> cmdForwardBack{};
    QComboBox* cboForwardBack = nullptr;
    QGroupBox* fraLanguage = nullptr;
    QRadioButton* optEnglish = nullptr;
    QRadioButton* optGerman = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdQuit = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdConfigure = nullptr;
    // The user manual's label and link under the table.
    QLabel* lblUserManual = nullptr;
    QLabel* lblURL = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblClickonAspect = nullptr;  // the hint under the title
    QLabel* lblStatus = nullptr;         // the status line under the table
    TableGrid* picTable = nullptr;
    ChartView* picGraphic = nullptr;
    // The one-chart summary beside the table and the two-chart one under it.
    QTextEdit* txbReport = nullptr;
    QTextEdit* txbReport1 = nullptr;
    QPushButton* cmdRun = nullptr;
    QPushButton* cmdToggleGraphic = nullptr;
    QPushButton* cmdSaveAs = nullptr;
    QPushButton* cmdLoadState = nullptr;
    QPushButton* cmdReport = nullptr;
    PopUp* popUp = nullptr;

    QRadioButton* ModeButton(Mode mode) const;
};

// Creates every control of the window on `form`, named and placed, with the
// tab order of the screen; the date rows show `rows`.
MainControls CreateMainControls(QWidget* form, DateRows& rows);

// "Run", the toggle, "Report", "Save as ..." and "Load from ..." in their
// places; the title and the hint end before "Report".
void LayoutCommandButtons(const MainControls& c);

// The captions of the window's controls in the language of `texts`.
void SetMainTexts(const MainControls& c, const ProgramTexts& texts);

}  // namespace vek::gui
