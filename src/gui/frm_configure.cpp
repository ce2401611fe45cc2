#include "gui/frm_configure.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <initializer_list>
#include <optional>
#include <type_traits>
#include <variant>
#include <vector>

#include "gui/dialogs.h"
#include "gui/fonts.h"
#include "gui/form_helpers.h"
#include "gui/twips.h"
#include "platform/settings_store.h"

namespace vek::gui {

namespace {

// The aspect of the orb and colour line `line` (0..6); none outside.
std::optional<Aspect> AspectOfLine(int line) {
    return AspectFromIndex(line + 1);
}

// Layout in twips.
constexpr int kMargin = 120;
constexpr int kWidth = 6300;
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
constexpr int kButtonsTop = kOptionsTop + 5 * kCheckHeight + 150;
constexpr int kButtonWidth = (kInnerWidth - 120) / 2;
constexpr int kHeight = kButtonsTop + 2 * kButtonHeight + 80 + kMargin;

// The orb lists stand in this order from top to bottom: conjunction,
// opposition, trine, square, sextile, semisextile, quincunx.
constexpr std::array<int, kAspectCount> kAspectRowOrder = {0, 1, 3, 2, 4, 5, 6};

// The line drawn in an aspect's colour: 30 dashes on black.
const QString kColorLineText = QString(30, QLatin1Char('-'));

// The German title of the reset question: the caption of the button reads
// the same, but the question keeps its title if the caption is shortened.
const QString kResetTitleGerman = QStringLiteral("Auf Grundeinstellung zurücksetzen");

QColor ToQColor(Color c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

}  // namespace

BesidePlacement PlaceBesideMainWindow(const QRect& mainFrame, int dialogFrameWidth,
                                      const QRect& screen) {
    BesidePlacement p;
    const int screenRight = screen.x() + screen.width();
    p.dialogTop = mainFrame.y();
    p.dialogLeft = std::min(mainFrame.x() + mainFrame.width(), screenRight - dialogFrameWidth);
    // A dialog wider than the screen keeps its title bar on the screen.
    p.dialogLeft = std::max(p.dialogLeft, screen.x());
    p.mainLeft = std::max(p.dialogLeft - mainFrame.width(), screen.x());
    return p;
}

int FrmConfigure::DesignWidth() {
    return kWidth;
}

int FrmConfigure::DesignHeight() {
    return kHeight;
}

FrmConfigure::FrmConfigure(Dialogs& dialogs, Settings& settings, platform::SettingsStore& store,
                           QWidget* mainWindow, Hooks hooks)
    : QDialog(mainWindow),
      dialogs_(dialogs),
      settings_(settings),
      store_(store),
      mainWindow_(mainWindow),
      hooks_(std::move(hooks)) {
    setObjectName("frmConfigure");
    setModal(false);
    setSizeGripEnabled(false);
    if (mainWindow) setWindowIcon(mainWindow->windowIcon());
    setFont(QFont(kControlFontFamily, 8));
    CreateControls();
    PlaceControls();
    SetTabOrder();
    ConnectControls();
    SetControlsFontName(this, kControlFontFamily, false, "MS Sans Serif");

    // The width stays that of the design; the height may shrink to
    // kMinHeight, never grow beyond the design.
    setFixedWidth(Twips::ToPixels(kWidth));
    setMinimumHeight(Twips::ToPixels(kMinHeight));
    setMaximumHeight(Twips::ToPixels(kHeight));
    Twips::Resize(this, kWidth, kHeight);
    ShowSettings();
}

QString FrmConfigure::PT(TextId n) const {
    return QString::fromStdString(texts_.ProgramText(n));
}

bool FrmConfigure::StartupComplete() const {
    return !hooks_.startupComplete || hooks_.startupComplete();
}

// ---------------------------------------------------------------------------
// Building the window

namespace {

// The places in twips that the table below uses besides the rows above.
constexpr int kProportionNameLeft = kProportionListLeft + kOrbWidth + 100;
constexpr int kProportionNameWidth = kWidth - kMargin - kProportionNameLeft;
constexpr int kBoldRow = kBoldTop + kControlHeight + 30;
constexpr int kFactorLeft = kMargin + 2160;
constexpr int kOfOrbLeft = kFactorLeft + kOrbWidth + 100;
constexpr int kSecondButtonLeft = kMargin + kButtonWidth + 120;
constexpr int kSecondButtonRow = kButtonsTop + kButtonHeight + 80;

// No caption from the table: the control has none, or the dialog composes it.
constexpr std::optional<TextId> kNoCaption = std::nullopt;

}  // namespace

struct FrmConfigure::ControlDescription {
    using Member = std::variant<QLabel* FrmConfigure::*, QComboBox* FrmConfigure::*,
                                QCheckBox* FrmConfigure::*, QRadioButton* FrmConfigure::*,
                                QPushButton* FrmConfigure::*>;
    Member member;
    const char* name;
    int left, top, width, height;  // twips
    std::optional<TextId> caption;
};

// Every control that is not part of a control array, from top to bottom.
const std::vector<FrmConfigure::ControlDescription>& FrmConfigure::ControlTable() {
    using F = FrmConfigure;
    static const std::vector<ControlDescription> table = {
        {&F::Label1_, "Label1", kMargin, 120, kInnerWidth, kLabelHeight, kTextSetOrbClickOnLines},
        {&F::cmdSetAllNonzeroOrbsToConjunctionOrb_, "cmdSetAllNonzeroOrbsToConjunctionOrb", kMargin,
         kSetAllTop, kSetAllWidth, kButtonHeight, kTextSetAllNonzeroOrbs},
        {&F::Label3_, "Label3", kMargin, kProportionTop, kProportionLabelWidth, 3 * 240,
         kNoCaption},
        {&F::lblPersonalTransits_, "lblPersonalTransits", kProportionNameLeft, kProportionTop + 30,
         kProportionNameWidth, kLabelHeight, kTextPersonalTransitsLower},
        {&F::lblSynastry_, "lblSynastry", kProportionNameLeft, kProportionTop + 390 + 30,
         kProportionNameWidth, kLabelHeight, kNoCaption},
        {&F::lblOrbForMidpoints_, "lblOrbForMidpoints", kMargin, kMidpointTop + 30,
         kProportionLabelWidth, kLabelHeight, kTextOrbForMidpoints},
        {&F::cboOrbForMidpoints_, "cboOrbForMidpoints", kProportionListLeft, kMidpointTop, 1000,
         kControlHeight, kNoCaption},
        {&F::chkUseBoldface_, "chkUseBoldface", kMargin, kBoldTop, kInnerWidth, kCheckHeight,
         kTextUseBoldface},
        {&F::opt1DegOfOrb_, "opt1DegOfOrb", kMargin + 240, kBoldRow, 1500, kCheckHeight,
         kTextOneDegree},
        {&F::optProportionOfOrb_, "optProportionOfOrb", kMargin + 1860, kBoldRow, 280,
         kCheckHeight, kNoCaption},
        {&F::cboBoldfaceFactor_, "cboBoldfaceFactor", kFactorLeft, kBoldRow - 15, kOrbWidth,
         kControlHeight, kNoCaption},
        {&F::lblOfOrb_, "lblOfOrb_4", kOfOrbLeft, kBoldRow + 15, kWidth - kMargin - kOfOrbLeft,
         kLabelHeight, kTextOfOrb},
        {&F::lblZodiac_, "lblZodiac", kMargin, kZodiacTop + 15, 1260, kLabelHeight, kNoCaption},
        {&F::optWesternAstrology_, "optWesternAstrology", kMargin + 1320, kZodiacTop, 1800,
         kCheckHeight, kTextTropicalOption},
        {&F::optVedicAstrology_, "optVedicAstrology", kMargin + 3180, kZodiacTop, 1800,
         kCheckHeight, kTextSiderealOption},
        {&F::chkKeepZodiac_, "chkKeepZodiac", kMargin + 1320, kZodiacTop + kCheckHeight,
         kInnerWidth - 1320, kCheckHeight, kTextKeepSelectedZodiac},
        {&F::chkIncludeMoon_, "chkIncludeMoon", kMargin, kOptionsTop, kInnerWidth, kCheckHeight,
         kTextIncludeMoon},
        {&F::chkDisplayNATZabbr_, "chkDisplayNATZabbr", kMargin, kOptionsTop + kCheckHeight,
         kInnerWidth, kCheckHeight, kTextNorthAmericanZones},
        {&F::chkSuppressInnerPlanetAspectDisplay_, "chkSuppressInnerPlanetAspectDisplay", kMargin,
         kOptionsTop + 2 * kCheckHeight, kInnerWidth, kCheckHeight,
         kTextSuppressInnerPlanetAspects},
        {&F::chkDisplayZodiacSectors_, "chkDisplayZodiacSectors", kMargin,
         kOptionsTop + 3 * kCheckHeight, kInnerWidth, kCheckHeight, kTextDisplayZodiacSectors},
        {&F::chkSaveGraphicWithWhiteBackground_, "chkSaveGraphicWithWhiteBackground", kMargin,
         kOptionsTop + 4 * kCheckHeight, kInnerWidth, kCheckHeight, kTextWhiteImageBackground},
        {&F::cmdAccept_, "cmdAccept", kMargin, kButtonsTop, kButtonWidth, kButtonHeight,
         kTextUseSettings},
        {&F::cmdCancel_, "cmdCancel", kSecondButtonLeft, kButtonsTop, kButtonWidth, kButtonHeight,
         kTextCancel},
        {&F::cmdHide_, "cmdHide", kSecondButtonLeft, kSecondButtonRow, kButtonWidth, kButtonHeight,
         kTextHide},
        {&F::cmdReset_, "cmdReset", kMargin, kSecondButtonRow, kButtonWidth, kButtonHeight,
         kTextResetToDefault},
    };
    return table;
}

namespace {

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

}  // namespace

void FrmConfigure::CreateControls() {
    for (const ControlDescription& d : ControlTable()) {
        std::visit(
            [&](auto member) {
                using W = std::remove_pointer_t<std::remove_reference_t<decltype(this->*member)>>;
                this->*member = NewControl<W>(this, d.name);
            },
            d.member);
    }
    CreateAspectRows();
    cboOrb_[kSetAllOrbList] = NewControl<QComboBox>(this, "cboOrb_7");
    for (int k = 0; k < 2; ++k) {
        cboPersonalOrbsProportion_[k] =
            NewControl<QComboBox>(this, "cboPersonalOrbsProportion_" + QString::number(k));
    }
    FillSettingLists();
    // The two groups of option buttons are independent of each other.
    for (QRadioButton* o :
         {opt1DegOfOrb_, optProportionOfOrb_, optWesternAstrology_, optVedicAstrology_}) {
        o->setAutoExclusive(false);
    }
    // Enter anywhere in the dialog is "Use settings", unless another button
    // has the focus; Escape is "Cancel" (reject).
    cmdAccept_->setDefault(true);

    // Where the last change came from: keys or the mouse.
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w->focusPolicy() != Qt::NoFocus) w->installEventFilter(this);
    }
}

// Each aspect's name, orb list and colour line.
void FrmConfigure::CreateAspectRows() {
    QFont colorLineFont("MS Sans Serif", 8);
    colorLineFont.setBold(true);
    for (int i = 0; i < kAspectCount; ++i) {
        const QString n = QString::number(i);
        lblAspectName_[i] = NewControl<QLabel>(this, "lblAspectName_" + n);
        cboOrb_[i] = NewControl<QComboBox>(this, "cboOrb_" + n);
        QLabel* line = NewControl<QLabel>(this, "lblAspectColor_" + n);
        line->setText(kColorLineText);
        line->setFont(colorLineFont);
        line->setAutoFillBackground(true);
        line->setAlignment(Qt::AlignCenter);
        line->setCursor(Qt::PointingHandCursor);
        // The lines take the focus too, so the keys can change colours.
        line->setFocusPolicy(Qt::StrongFocus);
        line->installEventFilter(this);
        lblAspectColor_[i] = line;
    }
}

void FrmConfigure::FillSettingLists() {
    for (QComboBox* c : cboOrb_) {
        for (int n = 0; n < kOrbListSize; ++n) {
            c->addItem(QString::fromStdString(OrbListText(n)), OrbListItemValue(n));
        }
    }
    for (QComboBox* c : cboPersonalOrbsProportion_) {
        for (int n = 0; n < kProportionListSize; ++n) {
            c->addItem(QString::fromStdString(ProportionText(n)), ProportionDivisor(n));
        }
    }
    for (int n = 0; n < kMidpointOrbListSize; ++n) {
        cboOrbForMidpoints_->addItem(QString::fromStdString(MidpointOrbText(n)));
    }
    for (int n = 0; n < kBoldfaceFractionListSize; ++n) {
        cboBoldfaceFactor_->addItem(QString::fromStdString(BoldfaceFractionText(n)),
                                    BoldfaceFractionDivisor(n));
    }
}

void FrmConfigure::PlaceControls() {
    for (const ControlDescription& d : ControlTable()) {
        std::visit([&](auto member) { Twips::Place(this->*member, d.left, d.top, d.width, d.height); },
                   d.member);
    }
    PlaceControlArrays();
}

void FrmConfigure::PlaceControlArrays() {
    for (int row = 0; row < kAspectCount; ++row) {
        const int i = kAspectRowOrder[row];
        const int top = kAspectTop + row * kAspectStep;
        Twips::Place(lblAspectName_[i], kMargin, top + 30, kNameWidth, kLabelHeight);
        Twips::Place(cboOrb_[i], kOrbLeft, top, kOrbWidth, kControlHeight);
        // The black ground ends a little after the dashes.
        const int dashes = lblAspectColor_[i]->fontMetrics().horizontalAdvance(kColorLineText);
        const int width = std::min(kLineWidth, Twips::FromPixels(dashes + 8));
        Twips::Place(lblAspectColor_[i], kLineLeft, top + 30, width, kLabelHeight);
    }
    Twips::Place(cboOrb_[kSetAllOrbList], kMargin + kSetAllWidth + 100, kSetAllTop + 35, kOrbWidth,
                 kControlHeight);
    for (int k = 0; k < 2; ++k) {
        Twips::Place(cboPersonalOrbsProportion_[k], kProportionListLeft, kProportionTop + k * 390,
                     kOrbWidth, kControlHeight);
    }
}

void FrmConfigure::SetTabOrder() {
    // Top to bottom as the window reads: each aspect's orb list and colour
    // line, "Set all" and its list, the proportions, the midpoint orb, the
    // boldface rule, the zodiac, the options, then the buttons.
    std::vector<QWidget*> order;
    for (int row = 0; row < kAspectCount; ++row) {
        order.push_back(cboOrb_[kAspectRowOrder[row]]);
        order.push_back(lblAspectColor_[kAspectRowOrder[row]]);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{cmdSetAllNonzeroOrbsToConjunctionOrb_,
                                                      cboOrb_[kSetAllOrbList],
                                                      cboPersonalOrbsProportion_[0],
                                                      cboPersonalOrbsProportion_[1],
                                                      cboOrbForMidpoints_,
                                                      chkUseBoldface_,
                                                      opt1DegOfOrb_,
                                                      optProportionOfOrb_,
                                                      cboBoldfaceFactor_,
                                                      optWesternAstrology_,
                                                      optVedicAstrology_,
                                                      chkKeepZodiac_,
                                                      chkIncludeMoon_,
                                                      chkDisplayNATZabbr_,
                                                      chkSuppressInnerPlanetAspectDisplay_,
                                                      chkDisplayZodiacSectors_,
                                                      chkSaveGraphicWithWhiteBackground_,
                                                      cmdAccept_,
                                                      cmdCancel_,
                                                      cmdReset_,
                                                      cmdHide_})
        order.push_back(w);
    for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void FrmConfigure::ConnectControls() {
    ConnectOrbLists();
    ConnectOptions();
    connect(cmdSetAllNonzeroOrbsToConjunctionOrb_, &QPushButton::clicked, this,
            &FrmConfigure::SetAllNonzeroOrbs);
    connect(cmdAccept_, &QPushButton::clicked, this, &FrmConfigure::UseSettings);
    connect(cmdCancel_, &QPushButton::clicked, this, &FrmConfigure::CancelSettings);
    connect(cmdHide_, &QPushButton::clicked, this, &FrmConfigure::HideDialog);
    connect(cmdReset_, &QPushButton::clicked, this, &FrmConfigure::ResetToDefault);
}

void FrmConfigure::ConnectOrbLists() {
    ConfigControls& c = settings_.controls;
    // A list's selection goes into the model as it changes, by mouse, keys
    // or wheel; the dialog's own changes come from the model.
    for (int i = 0; i < kOrbListCount; ++i) {
        connect(cboOrb_[i], &QComboBox::currentIndexChanged, this, [this, i] {
            if (!updating_) OrbChosen(i);
        });
        connect(cboOrb_[i], &QComboBox::activated, this, [this, i] {
            if (i != kSetAllOrbList) FocusAcceptButton();
        });
    }
    auto list = [this](QComboBox* box, int& target) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, box, &target] {
            if (!updating_ && box->currentIndex() >= 0) target = box->currentIndex();
        });
        connect(box, &QComboBox::activated, this, [this] { FocusAcceptButton(); });
    };
    list(cboPersonalOrbsProportion_[0], c.proportionIndex[0]);
    list(cboPersonalOrbsProportion_[1], c.proportionIndex[1]);
    list(cboBoldfaceFactor_, c.boldfaceFractionIndex);
    list(cboOrbForMidpoints_, c.midpointOrbIndex);
}

void FrmConfigure::ConnectOptions() {
    ConfigControls& c = settings_.controls;
    auto box = [this](QCheckBox* check, bool& target) {
        connect(check, &QCheckBox::toggled, this, [this, &target](bool on) {
            if (!updating_) target = on;
        });
        connect(check, &QCheckBox::clicked, this, [this] { FocusAcceptButton(); });
    };
    box(chkIncludeMoon_, c.includeMoon);
    box(chkDisplayNATZabbr_, c.northAmericanZones);
    box(chkSuppressInnerPlanetAspectDisplay_, c.suppressInnerPlanetAspects);
    box(chkDisplayZodiacSectors_, c.zodiacSectors);
    box(chkSaveGraphicWithWhiteBackground_, c.whiteImageBackground);
    box(chkKeepZodiac_, c.keepSelectedZodiac);
    box(chkUseBoldface_, c.useBoldface);
    connect(chkUseBoldface_, &QCheckBox::toggled, this, [this] { EnableBoldfaceControls(); });

    // Each pair of option buttons: a click selects its button.
    auto pair = [this](QRadioButton* on, QRadioButton* off, std::function<void()> apply) {
        connect(on, &QRadioButton::clicked, this, [this, on, off, apply] {
            on->setChecked(true);
            off->setChecked(false);
            apply();
            FocusAcceptButton();
        });
    };
    pair(opt1DegOfOrb_, optProportionOfOrb_,
         [&c] { c.boldfaceThreshold = BoldfaceThreshold::OneDegree; });
    pair(optProportionOfOrb_, opt1DegOfOrb_,
         [&c] { c.boldfaceThreshold = BoldfaceThreshold::FractionOfOrb; });
    pair(optWesternAstrology_, optVedicAstrology_, [&c] { c.sidereal = false; });
    pair(optVedicAstrology_, optWesternAstrology_, [&c] { c.sidereal = true; });
}

// ---------------------------------------------------------------------------
// Texts

void FrmConfigure::SetLanguageDependentText(const ProgramTexts& texts, const NameTables& names,
                                            const QString& caption) {
    texts_ = texts;
    setWindowTitle(caption);
    for (const ControlDescription& d : ControlTable()) {
        if (!d.caption) continue;
        std::visit(
            [&](auto member) {
                if constexpr (!std::is_same_v<decltype(member), QComboBox* FrmConfigure::*>) {
                    (this->*member)->setText(PT(*d.caption));
                }
            },
            d.member);
    }
    // The captions made of more than one text, or changed.
    lblZodiac_->setText(PT(kTextZodiac) + ":");
    Label3_->setText(PT(kTextProportionOf) + "\n" + PT(kTextAboveOrbs) + "\n" +
                     PT(kTextForUseWith));
    for (Aspect a : AllAspects()) {
        lblAspectName_[Index(a) - 1]->setText(QString::fromStdString(names.AspectName[a]));
    }
    lblSynastry_->setText(texts.language() == kGerman ? PT(kTextSynastry)
                                                      : PT(kTextSynastry).toLower());
    UpdateCutCaptionToolTips();
}

void FrmConfigure::UpdateCutCaptionToolTips() {
    for (QWidget* w : findChildren<QWidget*>()) {
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            text = b->text();
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            if (l->text() == kColorLineText) continue;
            text = l->text();
        } else {
            continue;
        }
        const bool cut = !text.isEmpty() && w->sizeHint().width() > w->width();
        w->setToolTip(cut ? text : QString());
    }
}

// ---------------------------------------------------------------------------
// Model -> controls

Color FrmConfigure::LineColor(int line) const {
    const std::optional<Aspect> aspect = AspectOfLine(line);
    return aspect ? settings_.controls.color[*aspect] : 0;
}

void FrmConfigure::DrawColorLine(int line) {
    QLabel* l = lblAspectColor_[line];
    QPalette p = l->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, ToQColor(LineColor(line)));
    l->setPalette(p);
}

void FrmConfigure::EnableBoldfaceControls() {
    const bool on = chkUseBoldface_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{opt1DegOfOrb_, optProportionOfOrb_,
                                                      cboBoldfaceFactor_, lblOfOrb_}) {
        w->setEnabled(on);
    }
}

void FrmConfigure::ShowSettings() {
    updating_ = true;
    const ConfigControls& c = settings_.controls;
    for (int i = 0; i < kOrbListCount; ++i) cboOrb_[i]->setCurrentIndex(c.orbIndex[i]);
    for (int k = 0; k < 2; ++k)
        cboPersonalOrbsProportion_[k]->setCurrentIndex(c.proportionIndex[k]);
    cboOrbForMidpoints_->setCurrentIndex(c.midpointOrbIndex);
    chkUseBoldface_->setChecked(c.useBoldface);
    opt1DegOfOrb_->setChecked(c.boldfaceThreshold == BoldfaceThreshold::OneDegree);
    optProportionOfOrb_->setChecked(c.boldfaceThreshold == BoldfaceThreshold::FractionOfOrb);
    cboBoldfaceFactor_->setCurrentIndex(c.boldfaceFractionIndex);
    optWesternAstrology_->setChecked(!c.sidereal);
    optVedicAstrology_->setChecked(c.sidereal);
    chkKeepZodiac_->setChecked(c.keepSelectedZodiac);
    chkIncludeMoon_->setChecked(c.includeMoon);
    chkDisplayNATZabbr_->setChecked(c.northAmericanZones);
    chkSuppressInnerPlanetAspectDisplay_->setChecked(c.suppressInnerPlanetAspects);
    chkDisplayZodiacSectors_->setChecked(c.zodiacSectors);
    chkSaveGraphicWithWhiteBackground_->setChecked(c.whiteImageBackground);
    for (int line = 0; line < kAspectCount; ++line) DrawColorLine(line);
    EnableBoldfaceControls();
    updating_ = false;
}

// ---------------------------------------------------------------------------
// Showing and becoming active

void FrmConfigure::Display() {
    // Shown again while it is the active window, it does not become active
    // anew; otherwise it does, once: the activation that follows is not
    // counted again (changeEvent).
    const bool wasActive = isVisible() && isActiveWindow();
    if (isMinimized()) showNormal();
    show();
    raise();
    leftFor_ = nullptr;
    activateWindow();
    if (!wasActive) Activate();
}

void FrmConfigure::Activate() {
    if (isMinimized()) showNormal();
    if (mainWindow_ && !mainWindow_->isMinimized() && !mainWindow_->isMaximized() &&
        !mainWindow_->isFullScreen()) {
        const QScreen* s = mainWindow_->screen();
        const QRect screen = s ? s->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);
        const QRect mainFrame = mainWindow_->frameGeometry();
        const BesidePlacement p = PlaceBesideMainWindow(mainFrame, frameGeometry().width(), screen);
        move(p.dialogLeft, p.dialogTop);
        if (p.mainLeft != mainFrame.x()) {
            mainWindow_->move(p.mainLeft, mainFrame.y());
            if (QWindow* w = mainWindow_->windowHandle()) {
                w->setFramePosition(QPoint(p.mainLeft, mainFrame.y()));
            }
        }
    }
    ActivateConfiguration(settings_, store_);
    ShowSettings();
    FocusIfPossible(cmdCancel_);
}

void FrmConfigure::changeEvent(QEvent* e) {
    QDialog::changeEvent(e);
    if (e->type() != QEvent::ActivationChange) return;
    if (!isActiveWindow()) {
        leftFor_ = QApplication::activeWindow();
        return;
    }
    // Back from another window of the program that is not a message box or
    // file dialog of our own: the dialog becomes the active window again.
    QWidget* from = leftFor_;
    leftFor_ = nullptr;
    if (from && from != this && !qobject_cast<QDialog*>(from) && isVisible()) Activate();
}

// ---------------------------------------------------------------------------
// Commands

void FrmConfigure::UseSettings() {
    settings_.Accept();
    // An accepted choice persists: the on/off values the store keeps are
    // written, so the next start, and the reload each time the dialog
    // becomes active, find what is in force.
    WriteTZDispToRegistry(settings_, store_);
    WriteDisplayZodiacSectorsToRegistry(settings_, store_);
    WriteIncludeMoonToRegistry(settings_, store_);
    WriteInnerPlanetAspectDisplayToRegistry(settings_, store_);
    WriteSaveGraphicWithWhiteBackgroundToRegistry(settings_, store_);
    if (hooks_.accepted) hooks_.accepted();
}

void FrmConfigure::CancelSettings() {
    settings_.Cancel();
    ShowSettings();
    hide();
}

void FrmConfigure::HideDialog() {
    hide();
}

void FrmConfigure::reject() {
    CancelSettings();
}

void FrmConfigure::ResetToDefault() {
    if (isVisible() && StartupComplete()) {
        const QString title = texts_.language() == kGerman ? kResetTitleGerman : cmdReset_->text();
        const Answer a = dialogs_.AskYesNo(
            PT(kTextResetQuestion) + "\n" + PT(kTextDoYouWantToContinue), title, Answer::Yes);
        if (a == Answer::No) return;
    }
    settings_.ResetToDefault(/*startupComplete=*/false);
    ShowSettings();
    if (StartupComplete()) UseSettings();
}

void FrmConfigure::SetAllNonzeroOrbs() {
    const QString orb =
        QString::fromStdString(OrbListText(settings_.controls.orbIndex[kSetAllOrbList]));
    QString question = PT(kTextSetAllOrbsQuestion);
    question.replace("NEW_ORB", orb);
    if (dialogs_.AskYesNo(question, PT(kTextSetAllOrbsTitle), Answer::Yes) == Answer::No) return;
    settings_.SetAllNonzeroOrbs();
    ShowSettings();
    cboPersonalOrbsProportion_[0]->setFocus();
}

void FrmConfigure::OrbChosen(int list) {
    const int index = std::max(0, cboOrb_[list]->currentIndex());
    if (list != kSetAllOrbList) {
        settings_.controls.orbIndex[list] = index;
        return;
    }
    if (!settings_.SelectSetAllOrb(index, StartupComplete())) {
        ShowSettings();
        dialogs_.Message("Cannot set all non-zero orbs to zero.", "Set all",
                         MessageIcon::Information);
    }
}

void FrmConfigure::ColorLineReleased(int line, Qt::MouseButton button) {
    const std::optional<Aspect> aspect = AspectOfLine(line);
    if (!aspect) return;
    if (button == Qt::LeftButton) {
        settings_.LeftClickColor(*aspect);
    } else {
        settings_.OtherClickColor(*aspect);
    }
    DrawColorLine(line);
}

void FrmConfigure::FocusAcceptButton() {
    if (lastInputByKey_) return;
    if (isVisible() && cmdAccept_->isEnabled()) cmdAccept_->setFocus();
}

// ---------------------------------------------------------------------------
// Events

bool FrmConfigure::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
        case QEvent::KeyPress:
            lastInputByKey_ = true;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
            lastInputByKey_ = false;
            break;
        default:
            break;
    }
    for (int line = 0; line < kAspectCount; ++line) {
        if (watched != lblAspectColor_[line]) continue;
        if (e->type() == QEvent::MouseButtonRelease) {
            auto* m = static_cast<QMouseEvent*>(e);
            if (lblAspectColor_[line]->rect().contains(m->position().toPoint())) {
                ColorLineReleased(line, m->button());
            }
            return true;
        }
        if (e->type() == QEvent::KeyPress) {
            // Space steps through the palette as a left click does; Delete
            // switches the colour off and back on as a right click does.
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Space) {
                ColorLineReleased(line, Qt::LeftButton);
                return true;
            }
            if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
                ColorLineReleased(line, Qt::RightButton);
                return true;
            }
        }
        if (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut) {
            // A focused line shows a frame in the colour of the text around it.
            lblAspectColor_[line]->setFrameStyle(
                e->type() == QEvent::FocusIn ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
        }
    }
    return QDialog::eventFilter(watched, e);
}

void FrmConfigure::closeEvent(QCloseEvent* e) {
    // The close box is "Cancel", as Escape is: the changes not yet used are
    // dropped and the dialog hides, kept for the next "Configure". (Resetting
    // every setting here would throw away the user's orbs and colours.)
    e->ignore();
    CancelSettings();
}

}  // namespace vek::gui
