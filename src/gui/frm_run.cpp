#include "gui/frm_run.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "config/text_ids.h"
#include "engine/vek_types.h"
#include "gui/twips.h"

namespace vek::gui {

namespace {

// The dialog's design in twips.
constexpr int kWidth = 4800;
constexpr int kHeight = 2700;
constexpr int kLeft = 240;    // the option buttons and "Run quickly"
constexpr int kIndent = 480;  // the controls that belong to "Run until finding"
constexpr int kLineHeight = 285;
constexpr int kListHeight = 330;
constexpr int kButtonTop = 2160, kButtonWidth = 1200, kButtonHeight = 375;
constexpr int kDistance = 120;  // from the main window's bottom and its chart button

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

FrmRun::FrmRun(QWidget* mainWindow) : QDialog(mainWindow) {
    setObjectName("frmRun");
    // The main window's look: its font, background and icon.
    if (mainWindow) {
        setFont(mainWindow->font());
        setPalette(mainWindow->palette());
        setWindowIcon(mainWindow->windowIcon());
    }
    setAutoFillBackground(true);
    setSizeGripEnabled(false);

    optRunUntilStopped_ = new QRadioButton(this);
    optRunUntilStopped_->setObjectName("optRunUntilStopped");
    optRunUntilFinding_ = new QRadioButton(this);
    optRunUntilFinding_->setObjectName("optRunUntilFinding");
    cboAspectPattern_ = new QComboBox(this);
    cboAspectPattern_->setObjectName("cboAspectPattern");
    cboAspectPattern_->setMaxVisibleItems(kPatternCount);
    // German puts the verb after the list.
    lblGefunden_ = new QLabel("gefunden", this);
    lblGefunden_->setObjectName("lblGefunden");
    chkTwoOrMore_ = new QCheckBox(this);
    chkTwoOrMore_->setObjectName("chkTwoOrMore");
    cboNumToFind_ = new QComboBox(this);
    cboNumToFind_->setObjectName("cboNumToFind");
    for (int n = 2; n <= 9; ++n) cboNumToFind_->addItem(QString::number(n));
    cboNumToFind_->setCurrentIndex(0);
    cboNumToFind_->setEnabled(false);
    chkRunQuickly_ = new QCheckBox(this);
    chkRunQuickly_->setObjectName("chkRunQuickly");
    cmdRun_ = new QPushButton(this);
    cmdRun_->setObjectName("cmdRun");
    cmdRun_->setDefault(true);
    cmdCancel_ = new QPushButton(this);
    cmdCancel_->setObjectName("cmdCancel");
    cmdCancel_->setAutoDefault(false);

    optRunUntilStopped_->setChecked(true);

    connect(cboAspectPattern_, &QComboBox::activated, this, &FrmRun::OnPatternChosen);
    connect(optRunUntilFinding_, &QRadioButton::clicked, this, &FrmRun::OnRunUntilFinding);
    connect(optRunUntilStopped_, &QRadioButton::clicked, this, &FrmRun::OnRunUntilStopped);
    connect(chkTwoOrMore_, &QCheckBox::clicked, this, &FrmRun::OnTwoOrMoreClicked);
    connect(cmdRun_, &QPushButton::clicked, this, &FrmRun::RunClicked);
    connect(cmdCancel_, &QPushButton::clicked, this, &FrmRun::reject);

    PlaceControls();
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void FrmRun::PlaceControls() {
    Twips::Resize(this, kWidth, kHeight);
    setFixedSize(size());
    const int wide = kWidth - 2 * kLeft;
    Twips::Place(optRunUntilStopped_, kLeft, 150, wide, kLineHeight);
    Twips::Place(optRunUntilFinding_, kLeft, 480, wide, kLineHeight);
    Twips::Place(cboAspectPattern_, kIndent, 810, 2400, kListHeight);
    Twips::Place(lblGefunden_, kIndent + 2400 + 90, 840, kWidth - kIndent - 2490 - kLeft,
                 kLineHeight);
    Twips::Place(chkTwoOrMore_, kIndent, 1260, 1620, kLineHeight);
    Twips::Place(cboNumToFind_, kIndent + 1680, 1238, 660, kListHeight);
    Twips::Place(chkRunQuickly_, kLeft, 1710, wide, kLineHeight);
    const int buttonsLeft = (kWidth - 2 * kButtonWidth - 120) / 2;
    Twips::Place(cmdRun_, buttonsLeft, kButtonTop, kButtonWidth, kButtonHeight);
    Twips::Place(cmdCancel_, buttonsLeft + kButtonWidth + 120, kButtonTop, kButtonWidth,
                 kButtonHeight);
}

void FrmRun::Open(const ProgramTexts& texts, const QStringList& patternNames, QWidget* anchor) {
    blnCancel_ = false;
    setWindowTitle(Q(texts.ProgramText(kTextRun)));
    optRunUntilStopped_->setText(Q(texts.ProgramText(kTextRunUntilStopped)));
    optRunUntilFinding_->setText(Q(texts.ProgramText(kTextRunUntilFinding)));
    chkTwoOrMore_->setText(Q(texts.ProgramText(kTextFindAtLeast)));
    chkRunQuickly_->setText(Q(texts.ProgramText(kTextRunQuickly)));
    cmdRun_->setText(Q(texts.ProgramText(kTextRun)));
    cmdCancel_->setText(Q(texts.ProgramText(kTextCancel)));
    lblGefunden_->setVisible(texts.language() == kGerman);
    // The count stands right after the caption of "Find at least".
    const int twoWidth = std::min(2400, Twips::FromPixels(chkTwoOrMore_->sizeHint().width()) + 60);
    Twips::Resize(chkTwoOrMore_, twoWidth, kLineHeight);
    Twips::Move(cboNumToFind_, kIndent + twoWidth + 60, Twips::Top(cboNumToFind_));

    // The names follow the language; the choice stays.
    cboAspectPattern_->clear();
    cboAspectPattern_->addItems(patternNames);
    cboAspectPattern_->setCurrentIndex(
        rememberedPattern_ < cboAspectPattern_->count() ? rememberedPattern_ : -1);
    // The count is open exactly while "Find at least" is ticked, whatever
    // else enabled it meanwhile.
    cboNumToFind_->setEnabled(chkTwoOrMore_->isChecked());

    PlaceBy(anchor);
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    cmdRun_->setFocus();
}

// The frame's bottom 120 twips above the main window's frame bottom, its left
// edge 120 twips left of the anchor's left edge. A window's frame is not known
// before it is first shown; the main window's frame stands in for it.
void FrmRun::PlaceBy(QWidget* anchor) {
    QWidget* main = parentWidget();
    if (!main) return;
    const QRect mainFrame = main->frameGeometry();
    const int frameExtra = testAttribute(Qt::WA_WState_Created)
                               ? frameGeometry().height() - height()
                               : mainFrame.height() - main->height();
    const int ownHeight = height() + std::max(0, frameExtra);
    const int top = mainFrame.y() + mainFrame.height() - ownHeight - Twips::ToPixels(kDistance);
    const int left = mainFrame.x() + (anchor ? anchor->x() : 0) - Twips::ToPixels(kDistance);
    move(left, top);
}

void FrmRun::OnPatternChosen(int index) {
    if (index < 0) return;
    optRunUntilFinding_->setChecked(true);
    OnRunUntilFinding();
    rememberedPattern_ = index;
    cmdRun_->setFocus();
}

void FrmRun::OnRunUntilFinding() {
    chkRunQuickly_->setEnabled(true);
    chkTwoOrMore_->setEnabled(cboAspectPattern_->isEnabled());
}

void FrmRun::OnRunUntilStopped() {
    chkTwoOrMore_->setEnabled(cboAspectPattern_->isEnabled());
}

void FrmRun::OnTwoOrMoreClicked() {
    const bool pattern = cboAspectPattern_->currentIndex() >= 0;
    // A count needs a pattern to count.
    if (chkTwoOrMore_->isChecked() && !pattern) chkTwoOrMore_->setChecked(false);
    cboNumToFind_->setEnabled(chkTwoOrMore_->isChecked());
    (pattern ? cmdRun_ : cmdCancel_)->setFocus();
}

void FrmRun::RunClicked() {
    if (optRunUntilFinding_->isChecked() && cboAspectPattern_->currentIndex() < 0) {
        optRunUntilStopped_->setChecked(true);
    }
    if (optRunUntilStopped_->isChecked()) {
        cboAspectPattern_->setCurrentIndex(-1);
        rememberedPattern_ = -1;
    }
    intAspectPatternToFind_ = cboAspectPattern_->currentIndex();
    blnCancel_ = false;
    accept();
}

void FrmRun::reject() {
    blnCancel_ = true;
    intAspectPatternToFind_ = cboAspectPattern_->currentIndex();
    QDialog::reject();
}

RunTarget FrmRun::Target() const {
    RunTarget t;
    t.pattern = PatternFromIndex(intAspectPatternToFind_);
    t.twoOrMore = chkTwoOrMore_->isChecked();
    t.numToFindIndex = std::max(0, cboNumToFind_->currentIndex());
    return t;
}

bool FrmRun::RunQuickly() const {
    return chkRunQuickly_->isChecked();
}

}  // namespace vek::gui
