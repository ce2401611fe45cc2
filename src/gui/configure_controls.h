// The controls of the configuration dialog and where they stand: this file
// creates them from a table of control descriptions (member, name, place,
// caption), adds the control arrays (the aspect rows, the "set all" orb list,
// the two proportion lists), fills the lists, sets the tab order of the
// screen and writes the captions. Each control's objectName is its name;
// members of a control array carry their index after an underscore
// (cboOrb_7, lblAspectColor_0). The dialog (frm_configure.h) binds them.
#pragma once

#include <QString>
#include <array>

#include "config/program_text.h"
#include "config/settings.h"
#include "engine/vocabulary.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace vek::gui {

// The dialog's design size in twips: the width is fixed, the height may
// shrink.
namespace configure_layout {
inline constexpr int kWidth = 6300;
int DesignHeight();
}  // namespace configure_layout

struct ConfigureControls {
    // The orb lists of the seven aspects (0..6) and the "set all" list.
    std::array<QComboBox*, kOrbListCount> cboOrb{};
    std::array<QLabel*, kAspectCount> lblAspectName{};
    // The line in each aspect's colour (0..6), which a click changes.
    std::array<QLabel*, kAspectCount> lblAspectColor{};
    QPushButton* cmdSetAllNonzeroOrbsToConjunctionOrb = nullptr;
    // Personal transits (0) and synastry (1).
    std::array<QComboBox*, 2> cboPersonalOrbsProportion{};
    QComboBox* cboOrbForMidpoints = nullptr;
    QCheckBox* chkUseBoldface = nullptr;
    QRadioButton* opt1DegOfOrb = nullptr;
    QRadioButton* optProportionOfOrb = nullptr;
    QComboBox* cboBoldfaceFactor = nullptr;
    QLabel* lblOfOrb = nullptr;
    QRadioButton* optWesternAstrology = nullptr;  // tropical zodiac
    QRadioButton* optVedicAstrology = nullptr;    // sidereal zodiac
    QCheckBox* chkKeepZodiac = nullptr;
    QCheckBox* chkIncludeMoon = nullptr;
    QCheckBox* chkDisplayNATZabbr = nullptr;  // North American zone names
    QCheckBox* chkSuppressInnerPlanetAspectDisplay = nullptr;
    QCheckBox* chkDisplayZodiacSectors = nullptr;
    QCheckBox* chkSaveGraphicWithWhiteBackground = nullptr;
    // The chart's houses, their system and the extra points.
    QCheckBox* chkShowHouses = nullptr;
    QLabel* lblHouseSystem = nullptr;
    QComboBox* cboHouseSystem = nullptr;  // in the order of kAllHouseSystems
    QCheckBox* chkLunarNodes = nullptr;
    QCheckBox* chkChiron = nullptr;
    QPushButton* cmdAccept = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHide = nullptr;
    QPushButton* cmdReset = nullptr;
    QLabel* lblZodiac = nullptr;
    QLabel* lblPersonalTransits = nullptr;
    QLabel* lblSynastry = nullptr;
    QLabel* lblOrbForMidpoints = nullptr;
    QLabel* Label1 = nullptr;  // "Set orb, click on lines"
    QLabel* Label3 = nullptr;  // "Proportion of above orbs for use with"
};

// The text of a colour line: dashes drawn in the aspect's colour on black.
QString ColorLineText();

// Creates every control of the dialog on `dialog`, named, with its list
// entries, placed, in the tab order of the screen.
ConfigureControls CreateConfigureControls(QWidget* dialog);

// The captions in the language of `texts`, the aspect names from `names`.
void SetConfigureTexts(const ConfigureControls& c, const ProgramTexts& texts,
                       const NameTables& names);

}  // namespace vek::gui
