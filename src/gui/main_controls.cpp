#include "gui/main_controls.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QTextEdit>
#include <initializer_list>
#include <vector>

#include "display/table_model.h"
#include "gui/chart_view.h"
#include "gui/date_row.h"
#include "gui/form_helpers.h"
#include "gui/popup.h"
#include "gui/table_grid.h"
#include "gui/twips.h"

namespace vek::gui {

using namespace main_layout;

namespace {

// Layout of the window in twips.
constexpr int kRowTop = 150;   // top of the World date row
constexpr int kRowStep = 450;  // distance between the date rows
constexpr int kControlHeight = 330;
constexpr int kButtonHeight = 375;
// The compute and stepping row under the date rows.
constexpr int kCommandTop = kRowTop + 3 * kRowStep + 60;
// The mode buttons, one under the other, right of the date rows.
constexpr int kModeLeft = 8300, kModeWidth = 3500, kModeTop = 120, kModeStep = 285;
// "Now" and the block of buttons right of the modes.
constexpr int kNowLeft = 11900, kNowWidth = 1400;
constexpr int kHelpGap = 200;  // the help button's column stands this far right of "Now"
constexpr int kHelpLeft = kNowLeft + kNowWidth + kHelpGap;
constexpr int kTableTop = 2640;
// The command buttons right of the stepping row and in the title's row.
constexpr int kSaveAsLeft = 10900;
constexpr int kReportButtonWidth = 1120;
// "Report" stands just before "Save as ...", in the order of the command row.
constexpr int kReportLeft = kSaveAsLeft - 100 - kReportButtonWidth;

QPushButton* NewButton(QWidget* form, const QString& name) {
    auto* b = new QPushButton(form);
    b->setObjectName(name);
    b->setAutoDefault(false);
    ClickOnReturn(b);
    return b;
}

QLabel* NewLabel(QWidget* form, const QString& name) {
    auto* l = new QLabel(form);
    l->setObjectName(name);
    return l;
}

QTextEdit* NewReportBox(QWidget* form, const QString& name) {
    auto* t = new QTextEdit(form);
    t->setObjectName(name);
    t->setReadOnly(true);
    t->setAcceptRichText(false);
    t->setLineWrapMode(QTextEdit::WidgetWidth);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->document()->setDocumentMargin(2);
    return t;
}

// The date rows, "Now", the modes, the stepping row, the language frame and
// the buttons on the right.
void CreateInputControls(QWidget* form, DateRows& rows, MainControls& c) {
    for (DateSlot slot : AllDateSlots()) {
        c.dateRows[Index(slot)] = new DateRowWidget(rows, slot, form);
    }
    c.cmdNow = NewButton(form, "cmdNow");
    c.modeGroup = new QButtonGroup(form);
    auto mode = [&](const QString& name, Mode m) {
        auto* o = new QRadioButton(form);
        o->setObjectName(name);
        c.modeGroup->addButton(o, static_cast<int>(m));
        return o;
    };
    c.optPlanetary = mode("optPlanetary", Mode::World);
    c.optNatal[0] = mode("optNatal_0", Mode::Natal1);
    c.optNatal[1] = mode("optNatal_1", Mode::Natal2);
    c.optPersonal[0] = mode("optPersonal_0", Mode::Personal1);
    c.optPersonal[1] = mode("optPersonal_1", Mode::Personal2);
    c.optSynastry = mode("optSynastry", Mode::Synastry);
    c.cmdCompute = NewButton(form, "cmdCompute");
    c.cmdForwardBack[0] = NewButton(form, "cmdForwardBack_0");
    c.cmdForwardBack[1] = NewButton(form, "cmdForwardBack_1");
    c.cboForwardBack = new QComboBox(form);
    c.cboForwardBack->setObjectName("cboForwardBack");
    c.fraLanguage = new QGroupBox(form);
    c.fraLanguage->setObjectName("fraLanguage");
    c.optEnglish = new QRadioButton(c.fraLanguage);
    c.optEnglish->setObjectName("optEnglish");
    c.optGerman = new QRadioButton(c.fraLanguage);
    c.optGerman->setObjectName("optGerman");
    c.cmdSave = NewButton(form, "cmdSave");
    c.cmdRestore = NewButton(form, "cmdRestore");
    c.cmdQuit = NewButton(form, "cmdQuit");
    c.cmdHelp = NewButton(form, "cmdHelp");
}

// The manual's link, title, hint, status, table, summaries, the chart and
// the command buttons that act on the result.
void CreateResultControls(QWidget* form, MainControls& c) {
    c.lblUserManual = NewLabel(form, "lblUserManual");
    c.lblURL = NewLabel(form, "lblURL");
    c.lblURL->setTextFormat(Qt::RichText);
    c.lblURL->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    c.lblURL->setOpenExternalLinks(false);
    c.lblUserManual->hide();
    c.lblURL->hide();
    c.lblTitle = NewLabel(form, "lblTitle");
    c.lblClickonAspect = NewLabel(form, "lblClickonAspect");
    c.lblStatus = NewLabel(form, "lblStatus");
    for (QLabel* l : {c.lblTitle, c.lblClickonAspect, c.lblStatus}) {
        l->setTextFormat(Qt::PlainText);
    }
    c.picTable = new TableGrid(form);
    c.txbReport = NewReportBox(form, "txbReport");
    c.txbReport1 = NewReportBox(form, "txbReport1");
    // The two-chart summary is one line under the table.
    c.txbReport1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    c.popUp = new PopUp(form);
    c.picGraphic = new ChartView(form);
    c.picGraphic->hide();
    c.cmdRun = NewButton(form, "cmdRun");
    c.cmdToggleGraphic = NewButton(form, "cmdToggleGraphic");
    c.cmdSaveAs = NewButton(form, "cmdSaveAs");
    c.cmdLoadState = NewButton(form, "cmdLoadState");
    c.cmdRun->hide();
    c.cmdLoadState->hide();
    c.cmdReport = NewButton(form, "cmdReport");
    c.cmdReport->hide();
}

void PlaceControls(const MainControls& c) {
    for (DateSlot slot : AllDateSlots()) {
        c.dateRows[Index(slot)]->PlaceAt(kRowTop + Index(slot) * kRowStep);
    }
    QRadioButton* modes[6] = {c.optPlanetary,   c.optNatal[0],    c.optNatal[1],
                              c.optPersonal[0], c.optPersonal[1], c.optSynastry};
    for (int i = 0; i < 6; ++i) {
        Twips::Place(modes[i], kModeLeft, kModeTop + i * kModeStep, kModeWidth, kLabelHeight);
    }
    Twips::Place(c.cmdCompute, kMargin, kCommandTop, 1400, kButtonHeight);
    Twips::Place(c.cmdForwardBack[0], 1620, kCommandTop, 1100, kButtonHeight);
    Twips::Place(c.cboForwardBack, 2780, kCommandTop + 22, 1560, kControlHeight);
    Twips::Place(c.cmdForwardBack[1], 4400, kCommandTop, 1100, kButtonHeight);

    // "Now" is 1400 wide; the help button's column stands 200 right of it,
    // "Save" under "Now", "Restore" level with "Save" in the help column and
    // "Quit" 480 below "Restore"; the language frame sits under "Save".
    const int saveTop = kRowTop + kRowStep;
    Twips::Place(c.cmdNow, kNowLeft, kRowTop, kNowWidth, kButtonHeight);
    Twips::Place(c.cmdSave, kNowLeft, saveTop, kNowWidth, kButtonHeight);
    Twips::Place(c.cmdRestore, kHelpLeft, saveTop, kNowWidth, kButtonHeight);
    Twips::Place(c.cmdQuit, kHelpLeft, saveTop + 480, kNowWidth, kButtonHeight);
    Twips::Place(c.cmdHelp, kHelpLeft, kRowTop, kNowWidth, kButtonHeight);
    Twips::Place(c.fraLanguage, kNowLeft, saveTop + 420, kNowWidth, 900);
    Twips::Place(c.optEnglish, 120, 270, kNowWidth - 180, kLabelHeight);
    Twips::Place(c.optGerman, 120, 560, kNowWidth - 180, kLabelHeight);

    Twips::Place(c.lblTitle, kMargin, kTitleTop, 14800, kLabelHeight);
    Twips::Place(c.lblClickonAspect, kMargin, kHintTop, 14800, kLabelHeight);
    Twips::Move(c.picTable, kMargin, kTableTop);
    Twips::Place(c.txbReport, kMargin + 10 * kCellWidth + 120, kTableTop, kReportWidth,
                 11 * kCellHeight);
    Twips::Place(c.txbReport1, kMargin, kTableTop + 12 * kCellHeight + 120, 12 * kCellWidth, 360);
    Twips::Place(c.lblStatus, kMargin, kTableTop + 11 * kCellHeight + 150, 14500, kLabelHeight);
    // "Configure" stands in the column of "Help", "Restore" and "Quit",
    // under "Quit" and level with "Compute".
    Twips::Place(c.cmdConfigure, kHelpLeft, kCommandTop, kNowWidth, kButtonHeight);
}

// Each date row from left to right, "Now" after the World date it sets; the
// stepping row as it reads (forward, interval, back); then the modes and the
// buttons on the right, "Configure" last.
void SetTabOrder(const MainControls& c) {
    std::vector<QWidget*> order;
    for (DateSlot slot : AllDateSlots()) {
        const DateRowWidget* r = c.dateRows[Index(slot)];
        for (QWidget* w : std::initializer_list<QWidget*>{r->Month(), r->Day(), r->Year(),
                                                          r->Hour(), r->Zone(), r->ClearButton()})
            order.push_back(w);
        if (slot == kWorldDate) order.push_back(c.cmdNow);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             c.cmdCompute, c.cmdForwardBack[0], c.cboForwardBack, c.cmdForwardBack[1],
             c.optPlanetary, c.optNatal[0], c.optNatal[1], c.optPersonal[0], c.optPersonal[1],
             c.optSynastry, c.cmdSave, c.cmdHelp, c.cmdRestore, c.optEnglish, c.optGerman,
             c.cmdQuit})
        order.push_back(w);
    for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    QWidget::setTabOrder(c.cmdQuit, c.cmdConfigure);
}

}  // namespace

QRadioButton* MainControls::ModeButton(Mode mode) const {
    return qobject_cast<QRadioButton*>(modeGroup->button(static_cast<int>(mode)));
}

MainControls CreateMainControls(QWidget* form, DateRows& rows) {
    MainControls c;
    CreateInputControls(form, rows, c);
    CreateResultControls(form, c);
    LayoutCommandButtons(c);
    c.cmdConfigure = NewButton(form, "cmdConfigure");
    PlaceControls(c);
    SetTabOrder(c);
    return c;
}

void LayoutCommandButtons(const MainControls& c) {
    // "Run" and the toggle continue the stepping row; "Save image as ..."
    // and "Load from ..." stand at the right end of the title's row, which
    // leaves the title and the hint the room to their left.
    Twips::Place(c.cmdRun, 5600, kCommandTop, 1120, kButtonHeight);
    Twips::Place(c.cmdToggleGraphic, 6820, kCommandTop, 1400, kButtonHeight);
    Twips::Place(c.cmdSaveAs, kSaveAsLeft, kTitleTop, 1950, kButtonHeight);
    Twips::Place(c.cmdLoadState, kSaveAsLeft + 1950 + 100, kTitleTop, 1750, kButtonHeight);
    Twips::Place(c.cmdReport, kReportLeft, kTitleTop, kReportButtonWidth, kButtonHeight);
    for (QLabel* l : {c.lblTitle, c.lblClickonAspect})
        Twips::Resize(l, kReportLeft - 100 - Twips::Left(l), Twips::Height(l));
}

void SetMainTexts(const MainControls& c, const ProgramTexts& texts) {
    auto pt = [&](TextId n) { return QString::fromStdString(texts.ProgramText(n)); };
    c.fraLanguage->setTitle(pt(kTextLanguage));
    c.optEnglish->setText(pt(kTextEnglish));
    c.optGerman->setText(pt(kTextGerman));
    for (DateSlot slot : AllDateSlots()) {
        c.dateRows[Index(slot)]->SetTexts(pt(TextIdAt(kTextWorldDate, Index(slot))),
                                                        pt(kTextClear));
    }
    c.optPlanetary->setText(pt(kTextWorldTransitsButton));
    c.optNatal[0]->setText(pt(kTextNatal1Button));
    c.optNatal[1]->setText(pt(kTextNatal2Button));
    c.optPersonal[0]->setText(pt(kTextPersonal1Button));
    c.optPersonal[1]->setText(pt(kTextPersonal2Button));
    c.optSynastry->setText(pt(kTextSynastry));
    c.cmdSave->setText(pt(kTextSave));
    c.cmdQuit->setText(pt(kTextQuit));
    c.cmdHelp->setText(pt(kTextHelp));
    c.cmdNow->setText(pt(kTextNow));
    c.cmdRestore->setText(pt(kTextRestore));
    c.cmdCompute->setText(pt(kTextCompute));
    c.cmdForwardBack[0]->setText(pt(kTextForward));
    c.cmdForwardBack[1]->setText(pt(kTextBack));
    c.cmdReport->setText(pt(kTextReport));
    c.cmdConfigure->setText(pt(kTextConfigure));
}

}  // namespace vek::gui
