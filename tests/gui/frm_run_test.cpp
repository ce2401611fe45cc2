// The run until a pattern appears, as the user drives it: the run dialog on
// its own and in both languages, the run button's availability, runs that
// stop on the user's click, on a find and on a step out of the dates, and
// "Quit" during a run. Timer2 never has to elapse: the tests call its tick.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <vector>

#include "../program_texts.h"
#include "app/pattern_search.h"
#include "config/text_ids.h"
#include "display/results_text.h"
#include "engine/vocabulary.h"
#include "gui/dialogs.h"
#include "gui/frm_main.h"
#include "gui/frm_run.h"
#include "gui/twips.h"
#include "platform/settings_store.h"
#include "qt_app.h"
#include "time/date_rows.h"
#include "time/stepping.h"

namespace vek::gui {
namespace {

using test::App;

class RunWindowTest : public test::MainWindowTest<> {
  protected:
    QPushButton* RunButton() const { return Button("cmdRun"); }
    FrmRun* Dialog() const { return window->RunDialog(); }
    template <class T>
    T* InDialog(const char* name) const {
        return test::FindIn<T>(Dialog(), name);
    }
    // The World date at 12:00 GMT, computed, the chart shown and the run
    // button's state current.
    void WorldDate(int month, int day, const QString& year, int interval = kStepDay) {
        Choose(Find<QComboBox>("cboMonthCE_0"), month);
        Choose(Find<QComboBox>("cboDayCE_0"), day);
        Find<QLineEdit>("txbYearCE_0")->setText(year);
        emit Find<QLineEdit>("txbYearCE_0")->textEdited(year);
        Choose(Find<QComboBox>("cboHour_0"), 25);
        Choose(Find<QComboBox>("cboTimezone_0"), kGreenwichZoneIndex);
        Choose(Find<QComboBox>("cboForwardBack"), interval);
        Button("cmdCompute")->click();
        if (!window->ChartShown()) Button("cmdToggleGraphic")->click();
        window->TimerTick();
    }
    // The run button opens the dialog; the dialog is left with "Run" after
    // the pattern (−1: none) and the count (0: no "Find at least") are
    // chosen.
    void RunFromDialog(std::optional<Pattern> pattern, int atLeast = 0, bool quickly = false) {
        ASSERT_TRUE(RunButton()->isVisible());
        RunButton()->click();
        ASSERT_NE(Dialog(), nullptr);
        ASSERT_TRUE(Dialog()->isVisible());
        if (pattern) Choose(InDialog<QComboBox>("cboAspectPattern"), Index(*pattern));
        QCheckBox* two = InDialog<QCheckBox>("chkTwoOrMore");
        if (two->isChecked() != (atLeast >= 2)) two->click();
        if (atLeast >= 2) InDialog<QComboBox>("cboNumToFind")->setCurrentIndex(atLeast - 2);
        QCheckBox* quick = InDialog<QCheckBox>("chkRunQuickly");
        if (quick->isChecked() != quickly) quick->click();
        InDialog<QPushButton>("cmdRun")->click();
    }
    // Ticks Timer2 while it is waiting, at most `limit` times; returns the
    // ticks.
    int TickWhileStepping(int limit) {
        int ticks = 0;
        while (ticks < limit && window->RunTimer().isActive()) {
            window->RunTick();
            ++ticks;
        }
        return ticks;
    }
    double WorldJD() const { return window->Results().DateJD[kWorldDate]; }
    const DateRowFields& WorldRow() const { return window->Rows().Row(kWorldDate); }

    // Every control of the main window that takes input, with its state.
    std::vector<QWidget*> InputControls() const {
        std::vector<QWidget*> all;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->window() != window.get()) continue;
            if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w))
                all.push_back(w);
        }
        return all;
    }
    // Only the run button, "Quit" and the summary boxes take input.
    void ExpectLockedForRun() const {
        for (QWidget* w : InputControls()) {
            const QString n = w->objectName();
            const bool open =
                n == "cmdRun" || n == "cmdQuit" || n == "txbReport" || n == "txbReport1";
            EXPECT_EQ(w->isEnabled(), open) << n.toStdString();
        }
        EXPECT_FALSE(Find<QLabel>("Label1_0")->isEnabled());
    }
    void ExpectUnlocked() const {
        for (QWidget* w : InputControls())
            EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    }

};

// ---------------------------------------------------------------------------
// The dialog

TEST_F(RunWindowTest, RunDialogShowsItsCaptionsListAndCountsInEitherLanguage) {
    Start();
    WorldDate(7, 4, "2010");
    RunButton()->click();
    FrmRun* d = Dialog();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(d->isModal());
    EXPECT_EQ(d->windowTitle(), PT(kTextRun));
    EXPECT_EQ(InDialog<QRadioButton>("optRunUntilStopped")->text(), PT(kTextRunUntilStopped));
    EXPECT_EQ(InDialog<QRadioButton>("optRunUntilFinding")->text(), PT(kTextRunUntilFinding));
    EXPECT_EQ(InDialog<QCheckBox>("chkTwoOrMore")->text(), PT(kTextFindAtLeast));
    EXPECT_EQ(InDialog<QCheckBox>("chkRunQuickly")->text(), PT(kTextRunQuickly));
    EXPECT_EQ(InDialog<QPushButton>("cmdRun")->text(), PT(kTextRun));
    EXPECT_EQ(InDialog<QPushButton>("cmdCancel")->text(), PT(kTextCancel));
    EXPECT_FALSE(InDialog<QLabel>("lblGefunden")->isVisible());
    // First shown: until stopped, nothing ticked, no pattern, the count "2"
    // closed.
    EXPECT_TRUE(InDialog<QRadioButton>("optRunUntilStopped")->isChecked());
    EXPECT_FALSE(InDialog<QCheckBox>("chkTwoOrMore")->isChecked());
    EXPECT_FALSE(InDialog<QCheckBox>("chkRunQuickly")->isChecked());
    QComboBox* list = InDialog<QComboBox>("cboAspectPattern");
    QComboBox* count = InDialog<QComboBox>("cboNumToFind");
    EXPECT_EQ(list->currentIndex(), -1);
    ASSERT_EQ(list->count(), kPatternCount);
    for (Pattern p : AllPatterns()) EXPECT_EQ(list->itemText(Index(p)), kPatternNames[p][0]);
    ASSERT_EQ(count->count(), 8);
    EXPECT_EQ(count->itemText(0), "2");
    EXPECT_EQ(count->itemText(7), "9");
    EXPECT_EQ(count->currentText(), "2");
    EXPECT_FALSE(count->isEnabled());
    EXPECT_TRUE(InDialog<QPushButton>("cmdRun")->hasFocus() ||
                QApplication::focusWidget() == InDialog<QPushButton>("cmdRun") ||
                d->focusWidget() == InDialog<QPushButton>("cmdRun"));
    // Its frame stands 120 twips above the main window's bottom and 120
    // twips left of the chart button.
    const QRect main = window->frameGeometry();
    EXPECT_NEAR(d->frameGeometry().bottom(), main.bottom() - Twips::ToPixels(120), 1);
    EXPECT_NEAR(d->frameGeometry().left(),
                main.left() + Button("cmdToggleGraphic")->x() - Twips::ToPixels(120), 1);
    InDialog<QPushButton>("cmdCancel")->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(d->Cancelled());
    EXPECT_FALSE(window->RunInProgress());

    // German: the same dialog, hidden meanwhile, now in German with the
    // verb after the list.
    Find<QRadioButton>("optGerman")->click();
    window->TimerTick();
    RunButton()->click();
    EXPECT_EQ(Dialog(), d);
    EXPECT_EQ(d->windowTitle(), PT(kTextRun));
    EXPECT_EQ(PT(kTextRun), "Suchlauf");
    EXPECT_EQ(InDialog<QPushButton>("cmdCancel")->text(), "Abbrechen");
    EXPECT_TRUE(InDialog<QLabel>("lblGefunden")->isVisible());
    EXPECT_EQ(InDialog<QLabel>("lblGefunden")->text(), "gefunden");
    for (Pattern p : AllPatterns()) EXPECT_EQ(list->itemText(Index(p)), kPatternNames[p][1]);
    // Escape is the close box: cancelled.
    QTest::keyClick(d, Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(d->Cancelled());
    EXPECT_FALSE(window->RunInProgress());
}

TEST_F(RunWindowTest, RunDialogKeepsItsRulesAndRemembersTheChoice) {
    Start();
    WorldDate(7, 4, "2010");
    RunButton()->click();
    QCheckBox* two = InDialog<QCheckBox>("chkTwoOrMore");
    QComboBox* count = InDialog<QComboBox>("cboNumToFind");
    QComboBox* list = InDialog<QComboBox>("cboAspectPattern");
    // No pattern: "Find at least" does not stay ticked.
    two->click();
    EXPECT_FALSE(two->isChecked());
    EXPECT_FALSE(count->isEnabled());
    // Choosing a pattern chooses "Run until finding".
    Choose(list, Index(kKite));
    EXPECT_TRUE(InDialog<QRadioButton>("optRunUntilFinding")->isChecked());
    EXPECT_TRUE(InDialog<QCheckBox>("chkRunQuickly")->isEnabled());
    two->click();
    EXPECT_TRUE(two->isChecked());
    EXPECT_TRUE(count->isEnabled());
    count->setCurrentIndex(3);
    two->click();
    EXPECT_FALSE(count->isEnabled());
    two->click();
    InDialog<QPushButton>("cmdCancel")->click();
    EXPECT_TRUE(Dialog()->Cancelled());
    EXPECT_EQ(Dialog()->AspectPatternToFind(), kKite);

    // Shown again: the pattern, the tick and the count are as they were left,
    // even after the main window enabled all its controls meanwhile.
    Button("cmdToggleGraphic")->click();
    Button("cmdToggleGraphic")->click();
    window->TimerTick();
    RunButton()->click();
    EXPECT_EQ(list->currentIndex(), Index(kKite));
    EXPECT_TRUE(two->isChecked());
    EXPECT_TRUE(count->isEnabled());
    EXPECT_EQ(count->currentText(), "5");
    EXPECT_EQ(Dialog()->Target().numToFindIndex, 3);

    // "Run until stopped" forgets the pattern when the run starts.
    InDialog<QRadioButton>("optRunUntilStopped")->click();
    InDialog<QPushButton>("cmdRun")->click();
    EXPECT_FALSE(Dialog()->Cancelled());
    EXPECT_EQ(Dialog()->AspectPatternToFind(), std::nullopt);
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_TRUE(window->RunInProgress());
    RunButton()->click();
    EXPECT_FALSE(window->RunInProgress());
    RunButton()->click();
    EXPECT_EQ(list->currentIndex(), -1);
    InDialog<QPushButton>("cmdCancel")->click();
}

// With VEK_SCREENSHOT_DIR set the dialog is saved there in both languages.
TEST_F(RunWindowTest, RunDialogPicturesInBothLanguages) {
    Start();
    WorldDate(7, 4, "2010");
    const QString dir = qEnvironmentVariable("VEK_SCREENSHOT_DIR");
    for (Language language : {kEnglish, kGerman}) {
        Find<QRadioButton>(language == kGerman ? "optGerman" : "optEnglish")->click();
        window->TimerTick();
        RunButton()->click();
        ASSERT_TRUE(Dialog()->isVisible());
        Choose(InDialog<QComboBox>("cboAspectPattern"), Index(kGrandTrine));
        if (!InDialog<QCheckBox>("chkTwoOrMore")->isChecked())
            InDialog<QCheckBox>("chkTwoOrMore")->click();
        // Every caption fits its control.
        for (QAbstractButton* b : Dialog()->findChildren<QAbstractButton*>()) {
            EXPECT_LE(b->sizeHint().width(), b->width()) << b->objectName().toStdString();
        }
        for (QWidget* w : Dialog()->findChildren<QWidget*>()) {
            if (w->isVisible()) {
                EXPECT_TRUE(Dialog()->rect().contains(w->geometry()))
                    << w->objectName().toStdString();
            }
        }
        if (!dir.isEmpty())
            Dialog()->grab().save(
                dir + (language == kGerman ? "/run-dialog-de.png" : "/run-dialog-en.png"));
        InDialog<QPushButton>("cmdCancel")->click();
    }
}

// ---------------------------------------------------------------------------
// The run button

TEST_F(RunWindowTest, RunButtonIsNotOfferedForTheHalfHourWithoutTheMoon) {
    {
        platform::SettingsStore store(env.configFolder);
        WriteStoredSwitch(store, platform::StoredSwitch::Moon, false);
    }
    Start();
    ASSERT_FALSE(window->CoreSettings().accepted.IncludeMoon);
    WorldDate(7, 4, "2010", kStepDay);
    EXPECT_TRUE(RunButton()->isVisible());
    EXPECT_EQ(RunButton()->text(), PT(kTextRun));
    Choose(Find<QComboBox>("cboForwardBack"), kStepHalfHour);
    window->TimerTick();
    EXPECT_FALSE(RunButton()->isVisible());
    // Natal aspects never run; the table hides the button too.
    Choose(Find<QComboBox>("cboForwardBack"), kStepWeek);
    window->TimerTick();
    EXPECT_TRUE(RunButton()->isVisible());
    Button("cmdToggleGraphic")->click();
    window->TimerTick();
    EXPECT_FALSE(RunButton()->isVisible());

    // With the Moon the half hour runs.
    window.reset();
    {
        platform::SettingsStore store(env.configFolder);
        WriteStoredSwitch(store, platform::StoredSwitch::Moon, true);
    }
    Start();
    WorldDate(7, 4, "2010", kStepHalfHour);
    EXPECT_TRUE(RunButton()->isVisible());
}

// ---------------------------------------------------------------------------
// Runs

TEST_F(RunWindowTest, RunUntilFindingWithoutAPatternRunsUntilStopped) {
    Start();
    WorldDate(7, 4, "2010");
    const double start = WorldJD();
    RunButton()->click();
    // "Run until finding" without a pattern becomes "Run until stopped".
    InDialog<QRadioButton>("optRunUntilFinding")->click();
    InDialog<QPushButton>("cmdRun")->click();
    EXPECT_TRUE(InDialog<QRadioButton>("optRunUntilStopped")->isChecked());
    EXPECT_EQ(Dialog()->AspectPatternToFind(), std::nullopt);
    ASSERT_TRUE(window->RunInProgress());
    EXPECT_EQ(RunButton()->text(), PT(kTextStop));
    // The first step is taken at once; Timer2 waits a second for the next.
    EXPECT_DOUBLE_EQ(WorldJD(), start + 1);
    EXPECT_TRUE(window->RunTimer().isActive());
    EXPECT_EQ(window->RunTimer().interval(), 1000);
    ExpectLockedForRun();
    // The one-second timer keeps the stop button as it is.
    window->TimerTick();
    EXPECT_EQ(RunButton()->text(), PT(kTextStop));
    EXPECT_TRUE(RunButton()->isVisible());
    EXPECT_FALSE(Button("cmdForwardBack_0")->isEnabled());

    EXPECT_EQ(TickWhileStepping(40), 40);
    EXPECT_DOUBLE_EQ(WorldJD(), start + 41);
    EXPECT_EQ(WorldRow().monthIndex, 8);
    EXPECT_EQ(WorldRow().dayIndex, 14);
    EXPECT_EQ(Find<QLineEdit>("txbYearCE_0")->text(), "2010");
    EXPECT_EQ(Find<QComboBox>("cboDayCE_0")->currentIndex(), 14);
    // The chart follows every step.
    EXPECT_TRUE(window->ChartShown());
    EXPECT_EQ(Find<QTextEdit>("txbReport")->toPlainText(),
              QString::fromStdString(window->Results().summary).replace("\r\n", "\n"));
    EXPECT_TRUE(dialogs.asked().empty());

    RunButton()->click();
    EXPECT_FALSE(window->RunInProgress());
    EXPECT_FALSE(window->RunTimer().isActive());
    EXPECT_EQ(RunButton()->text(), PT(kTextRun));
    ExpectUnlocked();
    window->RunTick();
    EXPECT_DOUBLE_EQ(WorldJD(), start + 41);

    // "Run quickly": a tenth of a second between steps in world transits.
    RunFromDialog(std::nullopt, 0, true);
    EXPECT_EQ(window->RunTimer().interval(), 100);
    RunButton()->click();
    EXPECT_FALSE(window->RunInProgress());
}

// At 12:00 GMT from 4 July 2010 two T-squares stand from the 5th on; the
// third comes on the 8th.
TEST_F(RunWindowTest, RunFindsAtLeastThreeOnlyWhereThreeCoexist) {
    Start();
    WorldDate(7, 5, "2010");
    EXPECT_EQ(window->Results().PatternCount[kTSquare], 2);
    WorldDate(7, 4, "2010");
    std::vector<int> counts;
    QObject::connect(window.get(), &FrmMain::Computed, window.get(),
                     [&] { counts.push_back(window->Results().PatternCount[kTSquare]); });
    RunFromDialog(kTSquare, 3);
    TickWhileStepping(400);
    ASSERT_FALSE(window->RunInProgress());
    ASSERT_GE(counts.size(), 1u);
    EXPECT_GE(counts.back(), 3);
    // The steps with one or two T-squares went by without a stop (the run
    // passes over them without showing them).
    for (size_t i = 0; i + 1 < counts.size(); ++i) EXPECT_LT(counts[i], 3) << i;
    EXPECT_EQ(WorldRow().monthIndex, 7);
    EXPECT_EQ(WorldRow().dayIndex, 8);
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].kind, ScriptedDialogs::Kind::Message);
    EXPECT_EQ(dialogs.asked()[0].icon, MessageIcon::Information);
    EXPECT_EQ(dialogs.asked()[0].title, PT(kTextRunTitle));
    const QString count = QString::fromStdString(CountInWords(counts.back(), kEnglish));
    EXPECT_EQ(dialogs.asked()[0].text, count + " T-squares found.");
    // The dialog is back with the same choice; its "Run" goes on from the
    // date found, one step on first (and over the steps without three).
    ASSERT_TRUE(Dialog()->isVisible());
    EXPECT_EQ(InDialog<QComboBox>("cboAspectPattern")->currentIndex(), Index(kTSquare));
    EXPECT_TRUE(InDialog<QCheckBox>("chkTwoOrMore")->isChecked());
    EXPECT_EQ(RunButton()->text(), PT(kTextRun));
    const double found = WorldJD();
    counts.clear();
    InDialog<QPushButton>("cmdRun")->click();
    EXPECT_EQ(counts.size(), 1u);
    EXPECT_GE(WorldJD(), found + 1);
    if (window->RunInProgress())
        RunButton()->click();
    else
        InDialog<QPushButton>("cmdCancel")->click();
}

TEST_F(RunWindowTest, RunCancelledAfterAFindLeavesTheFoundDateAndTheControls) {
    Start();
    WorldDate(7, 4, "2010");
    RunFromDialog(kGrandTrine);
    TickWhileStepping(100);
    ASSERT_FALSE(window->RunInProgress());
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].text, QString(kPatternNames[kGrandTrine][0]) + " found.");
    ASSERT_TRUE(Dialog()->isVisible());
    InDialog<QPushButton>("cmdCancel")->click();
    EXPECT_FALSE(window->RunInProgress());
    EXPECT_FALSE(window->RunTimer().isActive());
    // 20 July 2010 stays in the World date row, and every control is open.
    EXPECT_EQ(WorldRow().monthIndex, 7);
    EXPECT_EQ(WorldRow().dayIndex, 20);
    EXPECT_EQ(Find<QComboBox>("cboDayCE_0")->currentIndex(), 20);
    EXPECT_GT(window->Results().PatternCount[kGrandTrine], 0);
    ExpectUnlocked();
    EXPECT_EQ(RunButton()->text(), PT(kTextRun));
    EXPECT_TRUE(RunButton()->isVisible());
}

// The date a run of the window finds is the first stretch vek-cli find
// lists for the same World date, interval and target.
TEST_F(RunWindowTest, RunFindsTheFirstStretchOfTheSearch) {
    Start();
    WorldDate(7, 4, "2010", kStepWeek);
    PatternSearchRequest request;
    request.target = {kGrandTrine, true, 0};
    request.interval = kStepWeek;
    request.untilJD = WorldJD() + 20 * 365.25;
    request.firstOnly = true;
    DateRows rows = window->Rows();
    const Result<PatternSearchResult> searched =
        SearchPattern(window->CoreEngine(), rows, window->CoreSettings(), request);
    ASSERT_TRUE(searched) << searched.message();
    ASSERT_FALSE(searched->stretches.empty());
    const PatternStretch& first = searched->stretches[0];

    RunFromDialog(kGrandTrine, 2);
    TickWhileStepping(2000);
    ASSERT_FALSE(window->RunInProgress());
    EXPECT_DOUBLE_EQ(WorldJD(), first.firstJD);
    EXPECT_EQ(WorldRow().yearText, first.first.yearText);
    EXPECT_EQ(WorldRow().monthIndex, first.first.monthIndex);
    EXPECT_EQ(WorldRow().dayIndex, first.first.dayIndex);
    EXPECT_GE(window->Results().PatternCount[kGrandTrine], 2);
    EXPECT_EQ(static_cast<int>(first.instances.size()),
              window->Results().PatternCount[kGrandTrine]);
    InDialog<QPushButton>("cmdCancel")->click();
}

TEST_F(RunWindowTest, RunStepOutOfTheDatesEndsSteppingWithTheStopButton) {
    Start();
    WorldDate(12, 30, "2799");
    RunFromDialog(kKite);
    EXPECT_EQ(WorldRow().dayIndex, 31);
    TickWhileStepping(5);
    // The step into the year 2800 is refused: the date is put back, the
    // message names it, and the run waits for its stop.
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].text.toStdString(),
              DateErrorText(window->State().Texts(), kWorldDate, kDateTooLate));
    EXPECT_EQ(dialogs.asked()[0].title, PT(kTextInputErrorTitle));
    EXPECT_EQ(WorldRow().yearText, "2799");
    EXPECT_EQ(WorldRow().dayIndex, 31);
    EXPECT_EQ(Find<QLineEdit>("txbYearCE_0")->text(), "2799");
    EXPECT_TRUE(window->RunInProgress());
    EXPECT_FALSE(window->RunTimer().isActive());
    EXPECT_EQ(RunButton()->text(), PT(kTextStop));
    ExpectLockedForRun();
    RunButton()->click();
    EXPECT_FALSE(window->RunInProgress());
    EXPECT_EQ(RunButton()->text(), PT(kTextRun));
    ExpectUnlocked();
    EXPECT_FALSE(Dialog()->isVisible());
}

TEST_F(RunWindowTest, RunInPersonalTransitsStartsWithoutTheDialog) {
    Start();
    WorldDate(7, 4, "2010");
    Choose(Find<QComboBox>("cboMonthCE_1"), 3);
    Choose(Find<QComboBox>("cboDayCE_1"), 21);
    Find<QLineEdit>("txbYearCE_1")->setText("1970");
    emit Find<QLineEdit>("txbYearCE_1")->textEdited("1970");
    Find<QRadioButton>("optPersonal_0")->click();
    ASSERT_EQ(window->ComputedMode(), Mode::Personal1);
    window->TimerTick();
    ASSERT_TRUE(RunButton()->isVisible());
    const double start = WorldJD();
    RunButton()->click();
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_TRUE(window->RunInProgress());
    EXPECT_EQ(window->RunTimer().interval(), 1000);
    TickWhileStepping(9);
    EXPECT_DOUBLE_EQ(WorldJD(), start + 10);
    EXPECT_EQ(window->ComputedMode(), Mode::Personal1);
    EXPECT_TRUE(dialogs.asked().empty());
    RunButton()->click();
    EXPECT_FALSE(window->RunInProgress());
}

TEST_F(RunWindowTest, RunQuitDuringARunEndsTheProgramCleanly) {
    Start();
    WorldDate(7, 4, "2010");
    QSignalSpy ended(window.get(), &FrmMain::Ended);
    RunFromDialog(std::nullopt);
    TickWhileStepping(3);
    ASSERT_TRUE(window->RunInProgress());
    QPushButton* quit = Button("cmdQuit");
    ASSERT_TRUE(quit->isEnabled());
    dialogs.QueueAnswer(Answer::No);
    quit->click();
    EXPECT_TRUE(window->HasEnded());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(window->RunInProgress());
    EXPECT_FALSE(window->RunTimer().isActive());
    EXPECT_FALSE(window->isVisible());
    const double at = WorldJD();
    window->RunTick();
    EXPECT_DOUBLE_EQ(WorldJD(), at);
    // The question was the only one, and no step ran after it.
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].kind, ScriptedDialogs::Kind::Question);
    window.reset();
}

}  // namespace
}  // namespace vek::gui
