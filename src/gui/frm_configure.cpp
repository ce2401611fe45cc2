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
#include <iterator>
#include <optional>
#include <vector>

#include "gui/configure_controls.h"
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

// The German title of the reset question: the caption of the button reads
// the same, but the question keeps its title if the caption is shortened.
const QString kResetTitleGerman = QStringLiteral("Auf Grundeinstellung zurücksetzen");

QColor ToQColor(Color c) {
    return QColor(c.red(), c.green(), c.blue());
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
    return configure_layout::kWidth;
}

int FrmConfigure::DesignHeight() {
    return configure_layout::DesignHeight();
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
    ConnectControls();
    SetControlsFontName(this, kControlFontFamily, false, "MS Sans Serif");

    // The width stays that of the design; the height may shrink to
    // kMinHeight, never grow beyond the design.
    setFixedWidth(Twips::ToPixels(DesignWidth()));
    setMinimumHeight(Twips::ToPixels(kMinHeight));
    setMaximumHeight(Twips::ToPixels(DesignHeight()));
    Twips::Resize(this, DesignWidth(), DesignHeight());
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

void FrmConfigure::CreateControls() {
    ui_ = CreateConfigureControls(this);
    // Where the last change came from: keys or the mouse; the colour lines
    // also take their clicks and keys through the filter.
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w->focusPolicy() != Qt::NoFocus) w->installEventFilter(this);
    }
}

void FrmConfigure::ConnectControls() {
    ConnectOrbLists();
    ConnectOptions();
    connect(ui_.cmdSetAllNonzeroOrbsToConjunctionOrb, &QPushButton::clicked, this,
            &FrmConfigure::SetAllNonzeroOrbs);
    connect(ui_.cmdAccept, &QPushButton::clicked, this, &FrmConfigure::UseSettings);
    connect(ui_.cmdCancel, &QPushButton::clicked, this, &FrmConfigure::CancelSettings);
    connect(ui_.cmdHide, &QPushButton::clicked, this, &FrmConfigure::HideDialog);
    connect(ui_.cmdReset, &QPushButton::clicked, this, &FrmConfigure::ResetToDefault);
}

void FrmConfigure::ConnectOrbLists() {
    ConfigControls& c = settings_.controls;
    // A list's selection goes into the model as it changes, by mouse, keys
    // or wheel; the dialog's own changes come from the model.
    for (int i = 0; i < kOrbListCount; ++i) {
        connect(ui_.cboOrb[i], &QComboBox::currentIndexChanged, this, [this, i] {
            if (!updating_) OrbChosen(i);
        });
        connect(ui_.cboOrb[i], &QComboBox::activated, this, [this, i] {
            if (i != kSetAllOrbList) FocusAcceptButton();
        });
    }
    auto list = [this](QComboBox* box, int& target) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, box, &target] {
            if (!updating_ && box->currentIndex() >= 0) target = box->currentIndex();
        });
        connect(box, &QComboBox::activated, this, [this] { FocusAcceptButton(); });
    };
    list(ui_.cboPersonalOrbsProportion[0], c.proportionIndex[0]);
    list(ui_.cboPersonalOrbsProportion[1], c.proportionIndex[1]);
    list(ui_.cboBoldfaceFactor, c.boldfaceFractionIndex);
    list(ui_.cboOrbForMidpoints, c.midpointOrbIndex);
}

void FrmConfigure::ConnectOptions() {
    ConfigControls& c = settings_.controls;
    auto box = [this](QCheckBox* check, bool& target) {
        connect(check, &QCheckBox::toggled, this, [this, &target](bool on) {
            if (!updating_) target = on;
        });
        connect(check, &QCheckBox::clicked, this, [this] { FocusAcceptButton(); });
    };
    box(ui_.chkIncludeMoon, c.includeMoon);
    box(ui_.chkDisplayNATZabbr, c.northAmericanZones);
    box(ui_.chkSuppressInnerPlanetAspectDisplay, c.suppressInnerPlanetAspects);
    box(ui_.chkDisplayZodiacSectors, c.zodiacSectors);
    box(ui_.chkSaveGraphicWithWhiteBackground, c.whiteImageBackground);
    box(ui_.chkKeepZodiac, c.keepSelectedZodiac);
    box(ui_.chkUseBoldface, c.useBoldface);
    connect(ui_.chkUseBoldface, &QCheckBox::toggled, this, [this] { EnableBoldfaceControls(); });
    box(ui_.chkShowHouses, c.extras.houses);
    box(ui_.chkLunarNodes, c.extras.lunarNodes);
    box(ui_.chkChiron, c.extras.chiron);
    connect(ui_.chkShowHouses, &QCheckBox::toggled, this,
            [this](bool on) { ui_.cboHouseSystem->setEnabled(on); });
    connect(ui_.cboHouseSystem, &QComboBox::currentIndexChanged, this, [this, &c](int i) {
        if (!updating_ && i >= 0 && i < static_cast<int>(std::size(kAllHouseSystems)))
            c.extras.system = kAllHouseSystems[i];
    });
    connect(ui_.cboHouseSystem, &QComboBox::activated, this, [this] { FocusAcceptButton(); });

    // Each pair of option buttons: a click selects its button.
    auto pair = [this](QRadioButton* on, QRadioButton* off, std::function<void()> apply) {
        connect(on, &QRadioButton::clicked, this, [this, on, off, apply] {
            on->setChecked(true);
            off->setChecked(false);
            apply();
            FocusAcceptButton();
        });
    };
    pair(ui_.opt1DegOfOrb, ui_.optProportionOfOrb,
         [&c] { c.boldfaceThreshold = BoldfaceThreshold::OneDegree; });
    pair(ui_.optProportionOfOrb, ui_.opt1DegOfOrb,
         [&c] { c.boldfaceThreshold = BoldfaceThreshold::FractionOfOrb; });
    pair(ui_.optWesternAstrology, ui_.optVedicAstrology, [&c] { c.sidereal = false; });
    pair(ui_.optVedicAstrology, ui_.optWesternAstrology, [&c] { c.sidereal = true; });
}

// ---------------------------------------------------------------------------
// Texts

void FrmConfigure::SetLanguageDependentText(const ProgramTexts& texts, const NameTables& names,
                                            const QString& caption) {
    texts_ = texts;
    setWindowTitle(caption);
    SetConfigureTexts(ui_, texts, names);
    UpdateCutCaptionToolTips();
}

void FrmConfigure::UpdateCutCaptionToolTips() {
    for (QWidget* w : findChildren<QWidget*>()) {
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            text = b->text();
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            if (l->text() == ColorLineText()) continue;
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
    return aspect ? settings_.controls.color[*aspect] : Color();
}

void FrmConfigure::DrawColorLine(int line) {
    QLabel* l = ui_.lblAspectColor[line];
    QPalette p = l->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, ToQColor(LineColor(line)));
    l->setPalette(p);
}

void FrmConfigure::EnableBoldfaceControls() {
    const bool on = ui_.chkUseBoldface->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{ui_.opt1DegOfOrb, ui_.optProportionOfOrb,
                                                      ui_.cboBoldfaceFactor, ui_.lblOfOrb}) {
        w->setEnabled(on);
    }
}

void FrmConfigure::ShowSettings() {
    updating_ = true;
    const ConfigControls& c = settings_.controls;
    for (int i = 0; i < kOrbListCount; ++i) ui_.cboOrb[i]->setCurrentIndex(c.orbIndex[i]);
    for (int k = 0; k < 2; ++k)
        ui_.cboPersonalOrbsProportion[k]->setCurrentIndex(c.proportionIndex[k]);
    ui_.cboOrbForMidpoints->setCurrentIndex(c.midpointOrbIndex);
    ui_.chkUseBoldface->setChecked(c.useBoldface);
    ui_.opt1DegOfOrb->setChecked(c.boldfaceThreshold == BoldfaceThreshold::OneDegree);
    ui_.optProportionOfOrb->setChecked(c.boldfaceThreshold == BoldfaceThreshold::FractionOfOrb);
    ui_.cboBoldfaceFactor->setCurrentIndex(c.boldfaceFractionIndex);
    ui_.optWesternAstrology->setChecked(!c.sidereal);
    ui_.optVedicAstrology->setChecked(c.sidereal);
    ui_.chkKeepZodiac->setChecked(c.keepSelectedZodiac);
    ui_.chkIncludeMoon->setChecked(c.includeMoon);
    ui_.chkDisplayNATZabbr->setChecked(c.northAmericanZones);
    ui_.chkSuppressInnerPlanetAspectDisplay->setChecked(c.suppressInnerPlanetAspects);
    ui_.chkDisplayZodiacSectors->setChecked(c.zodiacSectors);
    ui_.chkSaveGraphicWithWhiteBackground->setChecked(c.whiteImageBackground);
    ui_.chkShowHouses->setChecked(c.extras.houses);
    ui_.cboHouseSystem->setCurrentIndex(static_cast<int>(c.extras.system));
    ui_.cboHouseSystem->setEnabled(c.extras.houses);
    ui_.chkLunarNodes->setChecked(c.extras.lunarNodes);
    ui_.chkChiron->setChecked(c.extras.chiron);
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
    FocusIfPossible(ui_.cmdCancel);
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
        const QString title = texts_.language() == kGerman ? kResetTitleGerman : ui_.cmdReset->text();
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
    ui_.cboPersonalOrbsProportion[0]->setFocus();
}

void FrmConfigure::OrbChosen(int list) {
    const int index = std::max(0, ui_.cboOrb[list]->currentIndex());
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
    if (isVisible() && ui_.cmdAccept->isEnabled()) ui_.cmdAccept->setFocus();
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
        if (watched != ui_.lblAspectColor[line]) continue;
        if (e->type() == QEvent::MouseButtonRelease) {
            auto* m = static_cast<QMouseEvent*>(e);
            if (ui_.lblAspectColor[line]->rect().contains(m->position().toPoint())) {
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
            ui_.lblAspectColor[line]->setFrameStyle(
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
