#include "gui/configure_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <initializer_list>
#include <optional>
#include <type_traits>
#include <variant>
#include <vector>

#include "gui/twips.h"

namespace vek::gui {

using configure_layout::kWidth;

namespace {

// Layout in twips.
constexpr int kMargin = 120;
constexpr int kInnerWidth = kWidth - 2 * kMargin;
constexpr int kControlHeight = 330;
constexpr int kLabelHeight = 270;
constexpr int kCheckHeight = 300;
constexpr int kButtonHeight = 400;
// The aspect rows: name, orb list, colour line.
constexpr int kAspectTop = 450;
constexpr int kAspectStep = 360;
constexpr int kNameWidth = 1560;
constexpr int kOrbLeft = kMargin + kNameWidth + 60;
constexpr int kOrbWidth = 780;
constexpr int kLineLeft = kOrbLeft + kOrbWidth + 120;
constexpr int kLineWidth = kWidth - kMargin - kLineLeft;
// The rows below them.
constexpr int kSetAllTop = kAspectTop + kAspectCount * kAspectStep + 60;
constexpr int kSetAllWidth = 3600;
constexpr int kProportionTop = kSetAllTop + kButtonHeight + 150;
constexpr int kProportionLabelWidth = 2400;
constexpr int kProportionListLeft = kMargin + kProportionLabelWidth + 60;
constexpr int kMidpointTop = kProportionTop + 2 * 390 + 60;
constexpr int kBoldTop = kMidpointTop + kControlHeight + 150;
constexpr int kZodiacTop = kBoldTop + 2 * kControlHeight + 180;
constexpr int kOptionsTop = kZodiacTop + 2 * kCheckHeight + 150;
constexpr int kHousesTop = kOptionsTop + 5 * kCheckHeight + 150;
constexpr int kHouseSystemRow = kHousesTop + kCheckHeight + 30;
constexpr int kHouseSystemLeft = kMargin + 1700;
constexpr int kNodesLeft = kMargin + 3560;
constexpr int kChironLeft = kMargin + 5000;
constexpr int kButtonsTop = kHouseSystemRow + kControlHeight + 150;
constexpr int kButtonWidth = (kInnerWidth - 120) / 2;
constexpr int kHeight = kButtonsTop + 2 * kButtonHeight + 80 + kMargin;

// The places in twips that the table below uses besides the rows above.
constexpr int kProportionNameLeft = kProportionListLeft + kOrbWidth + 100;
constexpr int kProportionNameWidth = kWidth - kMargin - kProportionNameLeft;
constexpr int kBoldRow = kBoldTop + kControlHeight + 30;
constexpr int kFactorLeft = kMargin + 2160;
constexpr int kOfOrbLeft = kFactorLeft + kOrbWidth + 100;
constexpr int kSecondButtonLeft = kMargin + kButtonWidth + 120;
constexpr int kSecondButtonRow = kButtonsTop + kButtonHeight + 80;

// The orb lists stand in this order from top to bottom: conjunction,
// opposition, trine, square, sextile, semisextile, quincunx.
constexpr std::array<int, kAspectCount> kAspectRowOrder = {0, 1, 3, 2, 4, 5, 6};

// No caption from the table: the control has none, or the dialog composes it.
constexpr std::optional<TextId> kNoCaption = std::nullopt;

// One control of the dialog that is not part of a control array: its
// member, name, place and caption.
struct ControlDescription {
    using C = ConfigureControls;
    using Member = std::variant<QLabel* C::*, QComboBox* C::*, QCheckBox* C::*,
                                QRadioButton* C::*, QPushButton* C::*>;
    Member member;
    const char* name;
    int left, top, width, height;  // twips
    std::optional<TextId> caption;
};

// Every control that is not part of a control array, from top to bottom.
using C = ConfigureControls;
const ControlDescription kControlTable[] = {
    {&C::Label1, "Label1", kMargin, 120, kInnerWidth, kLabelHeight, kTextSetOrbClickOnLines},
    {&C::cmdSetAllNonzeroOrbsToConjunctionOrb, "cmdSetAllNonzeroOrbsToConjunctionOrb", kMargin,
     kSetAllTop, kSetAllWidth, kButtonHeight, kTextSetAllNonzeroOrbs},
    {&C::Label3, "Label3", kMargin, kProportionTop, kProportionLabelWidth, 3 * 240, kNoCaption},
    {&C::lblPersonalTransits, "lblPersonalTransits", kProportionNameLeft, kProportionTop + 30,
     kProportionNameWidth, kLabelHeight, kTextPersonalTransitsLower},
    {&C::lblSynastry, "lblSynastry", kProportionNameLeft, kProportionTop + 390 + 30,
     kProportionNameWidth, kLabelHeight, kNoCaption},
    {&C::lblOrbForMidpoints, "lblOrbForMidpoints", kMargin, kMidpointTop + 30,
     kProportionLabelWidth, kLabelHeight, kTextOrbForMidpoints},
    {&C::cboOrbForMidpoints, "cboOrbForMidpoints", kProportionListLeft, kMidpointTop, 1000,
     kControlHeight, kNoCaption},
    {&C::chkUseBoldface, "chkUseBoldface", kMargin, kBoldTop, kInnerWidth, kCheckHeight,
     kTextUseBoldface},
    {&C::opt1DegOfOrb, "opt1DegOfOrb", kMargin + 240, kBoldRow, 1500, kCheckHeight, kTextOneDegree},
    {&C::optProportionOfOrb, "optProportionOfOrb", kMargin + 1860, kBoldRow, 280, kCheckHeight,
     kNoCaption},
    {&C::cboBoldfaceFactor, "cboBoldfaceFactor", kFactorLeft, kBoldRow - 15, kOrbWidth,
     kControlHeight, kNoCaption},
    {&C::lblOfOrb, "lblOfOrb_4", kOfOrbLeft, kBoldRow + 15, kWidth - kMargin - kOfOrbLeft,
     kLabelHeight, kTextOfOrb},
    {&C::lblZodiac, "lblZodiac", kMargin, kZodiacTop + 15, 1260, kLabelHeight, kNoCaption},
    {&C::optWesternAstrology, "optWesternAstrology", kMargin + 1320, kZodiacTop, 1800, kCheckHeight,
     kTextTropicalOption},
    {&C::optVedicAstrology, "optVedicAstrology", kMargin + 3180, kZodiacTop, 1800, kCheckHeight,
     kTextSiderealOption},
    {&C::chkKeepZodiac, "chkKeepZodiac", kMargin + 1320, kZodiacTop + kCheckHeight,
     kInnerWidth - 1320, kCheckHeight, kTextKeepSelectedZodiac},
    {&C::chkIncludeMoon, "chkIncludeMoon", kMargin, kOptionsTop, kInnerWidth, kCheckHeight,
     kTextIncludeMoon},
    {&C::chkDisplayNATZabbr, "chkDisplayNATZabbr", kMargin, kOptionsTop + kCheckHeight, kInnerWidth,
     kCheckHeight, kTextNorthAmericanZones},
    {&C::chkSuppressInnerPlanetAspectDisplay, "chkSuppressInnerPlanetAspectDisplay", kMargin,
     kOptionsTop + 2 * kCheckHeight, kInnerWidth, kCheckHeight, kTextSuppressInnerPlanetAspects},
    {&C::chkDisplayZodiacSectors, "chkDisplayZodiacSectors", kMargin,
     kOptionsTop + 3 * kCheckHeight, kInnerWidth, kCheckHeight, kTextDisplayZodiacSectors},
    {&C::chkSaveGraphicWithWhiteBackground, "chkSaveGraphicWithWhiteBackground", kMargin,
     kOptionsTop + 4 * kCheckHeight, kInnerWidth, kCheckHeight, kTextWhiteImageBackground},
    {&C::chkShowHouses, "chkShowHouses", kMargin, kHousesTop, kInnerWidth, kCheckHeight,
     kTextShowHouses},
    {&C::lblHouseSystem, "lblHouseSystem", kMargin + 240, kHouseSystemRow + 30,
     kHouseSystemLeft - kMargin - 300, kLabelHeight, kTextHouseSystemLabel},
    {&C::cboHouseSystem, "cboHouseSystem", kHouseSystemLeft, kHouseSystemRow, 1700, kControlHeight,
     kNoCaption},
    {&C::chkLunarNodes, "chkLunarNodes", kNodesLeft, kHouseSystemRow + 15,
     kChironLeft - kNodesLeft - 60, kCheckHeight, kTextLunarNodes},
    {&C::chkChiron, "chkChiron", kChironLeft, kHouseSystemRow + 15, kWidth - kMargin - kChironLeft,
     kCheckHeight, kTextChiron},
    {&C::cmdAccept, "cmdAccept", kMargin, kButtonsTop, kButtonWidth, kButtonHeight,
     kTextUseSettings},
    {&C::cmdCancel, "cmdCancel", kSecondButtonLeft, kButtonsTop, kButtonWidth, kButtonHeight,
     kTextCancel},
    {&C::cmdHide, "cmdHide", kSecondButtonLeft, kSecondButtonRow, kButtonWidth, kButtonHeight,
     kTextHide},
    {&C::cmdReset, "cmdReset", kMargin, kSecondButtonRow, kButtonWidth, kButtonHeight,
     kTextResetToDefault},
};

// A control of the dialog's kind W, named: labels show plain text, lists
// show sixteen entries at a time.
template <class W>
W* NewControl(QWidget* dialog, const QString& name) {
    auto* w = new W(dialog);
    w->setObjectName(name);
    if constexpr (std::is_same_v<W, QLabel>) w->setTextFormat(Qt::PlainText);
    if constexpr (std::is_same_v<W, QComboBox>) w->setMaxVisibleItems(16);
    return w;
}

// Each aspect's name, orb list and colour line.
void CreateAspectRows(ConfigureControls& c, QWidget* dialog) {
    QFont colorLineFont("MS Sans Serif", 8);
    colorLineFont.setBold(true);
    for (int i = 0; i < kAspectCount; ++i) {
        const QString n = QString::number(i);
        c.lblAspectName[i] = NewControl<QLabel>(dialog, "lblAspectName_" + n);
        c.cboOrb[i] = NewControl<QComboBox>(dialog, "cboOrb_" + n);
        QLabel* line = NewControl<QLabel>(dialog, "lblAspectColor_" + n);
        line->setText(ColorLineText());
        line->setFont(colorLineFont);
        line->setAutoFillBackground(true);
        line->setAlignment(Qt::AlignCenter);
        line->setCursor(Qt::PointingHandCursor);
        // The lines take the focus too, so the keys can change colours.
        line->setFocusPolicy(Qt::StrongFocus);
        c.lblAspectColor[i] = line;
    }
}

// The orb, proportion, midpoint and fraction lists with their entries.
void FillSettingLists(const ConfigureControls& c) {
    for (QComboBox* box : c.cboOrb) {
        for (int n = 0; n < kOrbListSize; ++n) {
            box->addItem(QString::fromStdString(OrbListText(n)), OrbListItemValue(n));
        }
    }
    for (QComboBox* box : c.cboPersonalOrbsProportion) {
        for (int n = 0; n < kProportionListSize; ++n) {
            box->addItem(QString::fromStdString(ProportionText(n)), ProportionDivisor(n));
        }
    }
    for (int n = 0; n < kMidpointOrbListSize; ++n) {
        c.cboOrbForMidpoints->addItem(QString::fromStdString(MidpointOrbText(n)));
    }
    for (int n = 0; n < kBoldfaceFractionListSize; ++n) {
        c.cboBoldfaceFactor->addItem(QString::fromStdString(BoldfaceFractionText(n)),
                                     BoldfaceFractionDivisor(n));
    }
}

void PlaceControlArrays(const ConfigureControls& c) {
    for (int row = 0; row < kAspectCount; ++row) {
        const int i = kAspectRowOrder[row];
        const int top = kAspectTop + row * kAspectStep;
        Twips::Place(c.lblAspectName[i], kMargin, top + 30, kNameWidth, kLabelHeight);
        Twips::Place(c.cboOrb[i], kOrbLeft, top, kOrbWidth, kControlHeight);
        // The black ground ends a little after the dashes.
        const int dashes = c.lblAspectColor[i]->fontMetrics().horizontalAdvance(ColorLineText());
        const int width = std::min(kLineWidth, Twips::FromPixels(dashes + 8));
        Twips::Place(c.lblAspectColor[i], kLineLeft, top + 30, width, kLabelHeight);
    }
    Twips::Place(c.cboOrb[kSetAllOrbList], kMargin + kSetAllWidth + 100, kSetAllTop + 35,
                 kOrbWidth, kControlHeight);
    for (int k = 0; k < 2; ++k) {
        Twips::Place(c.cboPersonalOrbsProportion[k], kProportionListLeft, kProportionTop + k * 390,
                     kOrbWidth, kControlHeight);
    }
}

void PlaceControls(ConfigureControls& c) {
    for (const ControlDescription& d : kControlTable) {
        std::visit([&](auto member) { Twips::Place(c.*member, d.left, d.top, d.width, d.height); },
                   d.member);
    }
    PlaceControlArrays(c);
}

void SetTabOrder(const ConfigureControls& c) {
    // Top to bottom as the window reads: each aspect's orb list and colour
    // line, "Set all" and its list, the proportions, the midpoint orb, the
    // boldface rule, the zodiac, the options, then the buttons.
    std::vector<QWidget*> order;
    for (int row = 0; row < kAspectCount; ++row) {
        order.push_back(c.cboOrb[kAspectRowOrder[row]]);
        order.push_back(c.lblAspectColor[kAspectRowOrder[row]]);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{c.cmdSetAllNonzeroOrbsToConjunctionOrb,
                                                      c.cboOrb[kSetAllOrbList],
                                                      c.cboPersonalOrbsProportion[0],
                                                      c.cboPersonalOrbsProportion[1],
                                                      c.cboOrbForMidpoints,
                                                      c.chkUseBoldface,
                                                      c.opt1DegOfOrb,
                                                      c.optProportionOfOrb,
                                                      c.cboBoldfaceFactor,
                                                      c.optWesternAstrology,
                                                      c.optVedicAstrology,
                                                      c.chkKeepZodiac,
                                                      c.chkIncludeMoon,
                                                      c.chkDisplayNATZabbr,
                                                      c.chkSuppressInnerPlanetAspectDisplay,
                                                      c.chkDisplayZodiacSectors,
                                                      c.chkSaveGraphicWithWhiteBackground,
                                                      c.chkShowHouses,
                                                      c.cboHouseSystem,
                                                      c.chkLunarNodes,
                                                      c.chkChiron,
                                                      c.cmdAccept,
                                                      c.cmdCancel,
                                                      c.cmdReset,
                                                      c.cmdHide})
        order.push_back(w);
    for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace

int configure_layout::DesignHeight() {
    return kHeight;
}

QString ColorLineText() {
    // 30 dashes.
    return QString(30, QLatin1Char('-'));
}

ConfigureControls CreateConfigureControls(QWidget* dialog) {
    ConfigureControls c;
    for (const ControlDescription& d : kControlTable) {
        std::visit(
            [&](auto member) {
                using W = std::remove_pointer_t<std::remove_reference_t<decltype(c.*member)>>;
                c.*member = NewControl<W>(dialog, d.name);
            },
            d.member);
    }
    CreateAspectRows(c, dialog);
    c.cboOrb[kSetAllOrbList] = NewControl<QComboBox>(dialog, "cboOrb_7");
    for (int k = 0; k < 2; ++k) {
        c.cboPersonalOrbsProportion[k] =
            NewControl<QComboBox>(dialog, "cboPersonalOrbsProportion_" + QString::number(k));
    }
    FillSettingLists(c);
    // The two groups of option buttons are independent of each other.
    for (QRadioButton* o :
         {c.opt1DegOfOrb, c.optProportionOfOrb, c.optWesternAstrology, c.optVedicAstrology}) {
        o->setAutoExclusive(false);
    }
    // Enter anywhere in the dialog is "Use settings", unless another button
    // has the focus; Escape is "Cancel" (reject).
    c.cmdAccept->setDefault(true);
    PlaceControls(c);
    SetTabOrder(c);
    return c;
}

void SetConfigureTexts(const ConfigureControls& c, const ProgramTexts& texts,
                       const NameTables& names) {
    auto pt = [&texts](TextId n) { return QString::fromStdString(texts.ProgramText(n)); };
    for (const ControlDescription& d : kControlTable) {
        if (!d.caption) continue;
        std::visit(
            [&](auto member) {
                if constexpr (!std::is_same_v<decltype(member), QComboBox* ConfigureControls::*>) {
                    (c.*member)->setText(pt(*d.caption));
                }
            },
            d.member);
    }
    // The captions made of more than one text, or changed.
    c.lblZodiac->setText(pt(kTextZodiac) + ":");
    c.Label3->setText(pt(kTextProportionOf) + "\n" + pt(kTextAboveOrbs) + "\n" +
                      pt(kTextForUseWith));
    for (Aspect a : AllAspects()) {
        c.lblAspectName[Index(a) - 1]->setText(QString::fromStdString(names.AspectName[a]));
    }
    // The house systems by their names; the list keeps its selection.
    const int system = c.cboHouseSystem->currentIndex();
    c.cboHouseSystem->clear();
    for (HouseSystem h : kAllHouseSystems)
        c.cboHouseSystem->addItem(pt(TextIdAt(kTextHouseSystemFirst, static_cast<int>(h))));
    c.cboHouseSystem->setCurrentIndex(system < 0 ? 0 : system);
    c.lblSynastry->setText(texts.language() == kGerman ? pt(kTextSynastry)
                                                       : pt(kTextSynastry).toLower());
}

}  // namespace vek::gui
