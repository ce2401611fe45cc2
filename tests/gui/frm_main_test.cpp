// The main window driven as a user drives it: start-up, "Now", the modes, a
// typed year, stepping, the language buttons, "Save", "Restore", "Clear",
// quitting and the size limits. Every question goes to scripted dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QWindow>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "../program_texts.h"
#include "config/program_text.h"
#include "display/results_text.h"
#include "gui/chart_view.h"
#include "gui/dialogs.h"
#include "gui/frm_main.h"
#include "gui/table_grid.h"
#include "gui/twips.h"
#include "platform/ephemeris.h"
#include "qt_app.h"
#include "time/date_rows.h"
#include "time/stepping.h"

namespace vek::gui {
namespace {

using test::App;

class FrmMainTest : public test::MainWindowTest<> {
  protected:
    QLineEdit* Year(int slot) const {
        return Find<QLineEdit>("txbYearCE_" + QString::number(slot));
    }
    static void WriteFile(const std::string& path, const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
    }
};


TEST_F(FrmMainTest, FirstStartShowsWorldTransitsForNowInTheTriangularTable) {
    FrmMain& w = Start();
    EXPECT_TRUE(w.StartupCompleted());
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_EQ(w.ComputedMode(), Mode::World);
    EXPECT_TRUE(Option("optPlanetary")->isChecked());
    EXPECT_EQ(Combo("cboMonthCE_0")->currentIndex(), 7);
    EXPECT_EQ(Combo("cboDayCE_0")->currentIndex(), 4);
    EXPECT_EQ(Year(0)->text(), "2010");
    EXPECT_EQ(Combo("cboHour_0")->currentText(), "14:30");
    EXPECT_EQ(Combo("cboTimezone_0")->currentText(), "GMT");
    EXPECT_TRUE(w.Grid()->isVisible());
    EXPECT_EQ(w.Grid()->NumCols(), 10);
    EXPECT_EQ(w.windowTitle(), PT(kTextProgramName) + " " + w.VersionText());
    EXPECT_EQ(w.VersionText(), "0.12");
    // The status line's tool tip names the version and the ephemeris that
    // gave the positions shown.
    const QString tip = Find<QLabel>("lblStatus")->toolTip();
    EXPECT_TRUE(tip.startsWith("VEK 0.12\nEphemeris: ")) << tip.toStdString();
    if (platform::ephemeris_files_available()) {
        EXPECT_TRUE(tip.contains("Swiss Ephemeris files (")) << tip.toStdString();
    }
    // It follows the ephemeris of the latest result.
    platform::use_analytical_ephemeris(true);
    Button("cmdCompute")->click();
    EXPECT_EQ(Find<QLabel>("lblStatus")->toolTip(),
              "VEK 0.12\nEphemeris: Moshier analytical ephemeris");
    platform::use_analytical_ephemeris(false);
    Button("cmdCompute")->click();
    EXPECT_EQ(Find<QLabel>("lblStatus")->toolTip(), tip);
    // The window shows the whole table and its summary: it stands at its
    // size limits, which lie above the lower bounds.
    EXPECT_EQ(w.width(), Twips::ToPixels(w.WidthLimit()));
    EXPECT_EQ(w.height(), Twips::ToPixels(w.HeightLimit()));
    EXPECT_GE(w.WidthLimit(), 10200);
    EXPECT_GE(w.HeightLimit(), 4800);
    const QRect table = w.Grid()->geometry();
    EXPECT_TRUE(w.rect().contains(table));
    EXPECT_FALSE(table.intersects(Find<QTextEdit>("txbReport")->geometry()));
    // Every caption comes from the program text.
    EXPECT_EQ(Button("cmdCompute")->text(), PT(kTextCompute));
    EXPECT_EQ(Find<QLabel>("Label1_2")->text(), PT(kTextSecondBirthdate));
    EXPECT_FALSE(PT(kTextCompute).isEmpty());
}

TEST_F(FrmMainTest, StartUpEndsWithAMessageWhenTheProgramTextOrThePlutoTableIsMissing) {
    env.dataFolder = Path("empty");
    QDir().mkpath(tmp.filePath("empty"));
    window = std::make_unique<FrmMain>(dialogs, env);
    QSignalSpy ended(window.get(), &FrmMain::Ended);
    EXPECT_FALSE(window->Load());
    EXPECT_TRUE(window->HasEnded());
    EXPECT_EQ(ended.count(), 1);
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(dialogs.asked()[0].text.contains("vek.dat"));
    EXPECT_EQ(dialogs.asked()[0].title, "");

    // The program text alone: the Pluto table is missing.
    dialogs.Clear();
    QFile::copy(QString(VEK_BIN_DIR) + "/vek.dat", tmp.filePath("empty/vek.dat"));
    window = std::make_unique<FrmMain>(dialogs, env);
    EXPECT_FALSE(window->Load());
    EXPECT_TRUE(window->HasEnded());
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].text, PT(kTextPlutoTableMissing));
    EXPECT_EQ(dialogs.asked()[0].title, PT(kTextDataMissingTitle));
    EXPECT_EQ(dialogs.asked()[0].icon, MessageIcon::Exclamation);
}

TEST_F(FrmMainTest, ABrokenAutomaticStateGivesWorldTransitsForNowAndDefaultSettings) {
    // Three good lines, then garbage where the day index belongs.
    WriteFile(env.autoStatePath, " 3 \r\nnot a number\r\n1999\r\n");
    FrmMain& w = Start();
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_EQ(w.ComputedMode(), Mode::World);
    EXPECT_EQ(Year(0)->text(), "2010");
    EXPECT_EQ(Combo("cboMonthCE_0")->currentIndex(), 7);
    EXPECT_EQ(w.CoreSettings().controls.orbIndex, Settings().controls.orbIndex);

    // Binary junk and an oversized file do no harm either.
    WriteFile(env.autoStatePath, std::string(4096, '\xff') + "\r\n\0\0\r\n");
    window.reset();
    FrmMain& w2 = Start();
    EXPECT_EQ(w2.ComputedMode(), Mode::World);
    EXPECT_TRUE(dialogs.asked().empty());
}

TEST_F(FrmMainTest, ASettingsFileTooLargeToReadIsNamedOnceAndLeftUntouched) {
    // Grown past the size limit: the settings cannot be read, so start-up
    // says so once, in the stored language's place the default (English),
    // and no value the program writes back replaces the file.
    QDir().mkpath(QString::fromStdString(env.configFolder));
    const std::string file = env.configFolder + "/VEK.conf";
    const std::string big = "[Software\\Vantrel\\VEK]\nLanguage=DE\nMoon=0\n#" +
                            std::string(platform::kMaxStoreFileSize, 'x') + "\n";
    WriteFile(file, big);
    FrmMain& w = Start();
    ASSERT_EQ(dialogs.Count(ScriptedDialogs::Kind::Message), 1);
    const auto& said = dialogs.asked().back();
    EXPECT_EQ(said.icon, MessageIcon::Exclamation);
    EXPECT_EQ(said.title, "Settings not read");
    EXPECT_TRUE(said.text.startsWith("The settings file " + QString::fromStdString(file) + " cannot be read: it is "
                                     "larger than " +
                                     QString::number(platform::kMaxStoreFileSize) + " bytes."))
        << said.text.toStdString();
    EXPECT_TRUE(w.CoreSettings().controls.includeMoon);  // the default, not the file's 0
    Option("optGerman")->click();
    window.reset();
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), big);

    // A readable file says nothing.
    WriteFile(file, "[Software\\Vantrel\\VEK]\nLanguage=DE\n");
    dialogs.Clear();
    Start();
    EXPECT_EQ(dialogs.Count(ScriptedDialogs::Kind::Message), 0);
    EXPECT_TRUE(Option("optGerman")->isChecked());
}

TEST_F(FrmMainTest, ModesComputeAndADateErrorKeepsThePreviousMode) {
    FrmMain& w = Start();
    // The 1st birthdate is empty: the natal mode is refused with the
    // message for an incomplete date, and world transits stay selected.
    Option("optNatal_0")->click();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].kind, ScriptedDialogs::Kind::Message);
    EXPECT_EQ(dialogs.asked()[0].text.toStdString(),
              DateErrorText(window->State().Texts(), kBirth1, kDateIncomplete));
    EXPECT_EQ(dialogs.asked()[0].title, PT(kTextInputErrorTitle));
    EXPECT_EQ(dialogs.asked()[0].icon, MessageIcon::Information);
    EXPECT_TRUE(Option("optPlanetary")->isChecked());
    EXPECT_EQ(w.ComputedMode(), Mode::World);

    EnterDate(kBirth1, 3, 21, "1970", 25, 26);
    Option("optNatal_0")->click();
    EXPECT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(w.ComputedMode(), Mode::Natal1);
    EXPECT_EQ(w.Grid()->NumCols(), 10);
    EXPECT_FALSE(Button("cmdForwardBack_0")->isEnabled());

    Option("optPersonal_0")->click();
    EXPECT_EQ(w.ComputedMode(), Mode::Personal1);
    EXPECT_EQ(w.Grid()->NumCols(), 12);
    Snapshot("personal_transits");
    EXPECT_TRUE(Button("cmdForwardBack_0")->isEnabled());
    EXPECT_TRUE(Find<QTextEdit>("txbReport1")->isVisible());
    EXPECT_FALSE(Find<QTextEdit>("txbReport")->isVisible());
    // The square table is taller: the window grows with its limits.
    EXPECT_EQ(w.height(), Twips::ToPixels(w.HeightLimit()));
    EXPECT_TRUE(w.rect().contains(Find<QTextEdit>("txbReport1")->geometry()));

    // Synastry needs the 2nd birthdate too.
    Option("optSynastry")->click();
    ASSERT_EQ(dialogs.asked().size(), 2u);
    EXPECT_EQ(dialogs.asked()[1].text.toStdString(),
              DateErrorText(window->State().Texts(), kBirth2, kDateIncomplete));
    EXPECT_EQ(dialogs.asked()[1].title, PT(kTextInputErrorTitle));
    EXPECT_TRUE(Option("optPersonal_0")->isChecked());
    EXPECT_EQ(w.ComputedMode(), Mode::Personal1);
}

TEST_F(FrmMainTest, NowAndAYearTypedWithEnterComputeWhenTheirRowTakesPart) {
    FrmMain& w = Start();
    QSignalSpy computed(&w, &FrmMain::Computed);
    EnterDate(kWorldDate, 1, 15, "1990", 1, 24);
    EXPECT_EQ(computed.count(), 0);
    QTest::keyClick(Year(0), Qt::Key_Return);
    EXPECT_EQ(computed.count(), 1);
    EXPECT_EQ(w.Results().DateJD[kWorldDate].days, 2447906.5);
    // The 1st birthdate takes no part in world transits.
    QTest::keyClicks(Year(1), "1970");
    QTest::keyClick(Year(1), Qt::Key_Return);
    EXPECT_EQ(computed.count(), 1);
    // Letters typed into a year box vanish at the next timer tick.
    Year(2)->clear();
    QTest::keyClicks(Year(2), "19x7a0");
    w.TimerTick();
    EXPECT_EQ(Year(2)->text(), "1970");

    Button("cmdNow")->click();
    EXPECT_EQ(computed.count(), 2);
    // In a natal mode "Now" only sets the World date.
    EnterDate(kBirth1, 3, 21, "1970", 25, 24);
    Option("optNatal_0")->click();
    EXPECT_EQ(computed.count(), 3);
    Button("cmdNow")->click();
    EXPECT_EQ(computed.count(), 3);
    EXPECT_EQ(Year(0)->text(), "2010");
    EXPECT_EQ(Combo("cboHour_0")->currentText(), "14:30");
}

TEST_F(FrmMainTest, TheTableTitleAndSummaryShowWhatTheComputeProduced) {
    FrmMain& w = Start();
    const ComputeResults& r = w.Results();
    EXPECT_EQ(Find<QLabel>("lblTitle")->text().toStdString(), r.title);
    EXPECT_FALSE(r.title.empty());
    QString summary = Find<QTextEdit>("txbReport")->toPlainText();
    EXPECT_EQ(summary, QString::fromStdString(r.summary).replace("\r\n", "\n"));
    for (int i = 0; i < kMaxNumCells; ++i) {
        EXPECT_EQ(w.Grid()->CellText(i),
                  QString::fromStdString(r.table.txbCell[i].text).replace("\r\n", "\n"));
        EXPECT_EQ(!w.Grid()->Cell(i)->isHidden(), r.table.txbCell[i].visible);
    }
    // The Sun's position cell: degrees, then its place in the sign.
    EXPECT_TRUE(w.Grid()->CellText(0).contains("°"));

    // "World date" switches the angles to radians for the next compute, and
    // back again.
    QTest::mouseClick(Find<QLabel>("Label1_0"), Qt::LeftButton);
    EXPECT_TRUE(w.Grid()->CellText(0).contains("°"));
    Button("cmdCompute")->click();
    EXPECT_FALSE(w.Grid()->CellText(0).contains("°"));
    EXPECT_TRUE(w.Grid()->CellText(0).contains("."));
    QTest::mouseClick(Find<QLabel>("Label1_0"), Qt::LeftButton);
    Button("cmdCompute")->click();
    EXPECT_TRUE(w.Grid()->CellText(0).contains("°"));
}

TEST_F(FrmMainTest, SteppingMovesTheWorldDateAndARefusedStepPutsItBack) {
    FrmMain& w = Start();
    EnterDate(kWorldDate, 12, 31, "2010", 25, 24);
    Choose("cboForwardBack", kStepDay);
    w.TimerTick();
    ASSERT_TRUE(Button("cmdForwardBack_0")->isEnabled());
    Button("cmdForwardBack_0")->click();
    EXPECT_EQ(Year(0)->text(), "2011");
    EXPECT_EQ(Combo("cboMonthCE_0")->currentIndex(), 1);
    EXPECT_EQ(Combo("cboDayCE_0")->currentIndex(), 1);
    EXPECT_GT(w.Results().DateJD[kWorldDate].days, 0);
    Button("cmdForwardBack_1")->click();
    EXPECT_EQ(Year(0)->text(), "2010");
    EXPECT_EQ(Combo("cboDayCE_0")->currentIndex(), 31);
    EXPECT_TRUE(dialogs.asked().empty());

    // One day back from 1 January of year 1 leaves the accepted range.
    EnterDate(kWorldDate, 1, 1, "1", 25, 24);
    Button("cmdForwardBack_1")->click();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].text.toStdString(),
              DateErrorText(window->State().Texts(), kWorldDate, kDateTooEarly));
    EXPECT_EQ(dialogs.asked()[0].title, PT(kTextInputErrorTitle));
    EXPECT_EQ(Year(0)->text(), "1");
    EXPECT_EQ(Combo("cboMonthCE_0")->currentIndex(), 1);
    EXPECT_EQ(Combo("cboDayCE_0")->currentIndex(), 1);

    // In personal transits a refused 1st birthdate gets that row's message,
    // and the World date keeps its step: only a refused World date goes back.
    EnterDate(kBirth1, 3, 21, "1970", 25, 24);
    Option("optPersonal_0")->click();
    ASSERT_EQ(w.ComputedMode(), Mode::Personal1);
    Choose("cboMonthCE_1", 0);
    w.TimerTick();
    ASSERT_TRUE(Button("cmdForwardBack_0")->isEnabled());
    Button("cmdForwardBack_0")->click();
    ASSERT_EQ(dialogs.asked().size(), 2u);
    EXPECT_EQ(dialogs.asked()[1].text.toStdString(),
              DateErrorText(window->State().Texts(), kBirth1, kDateIncomplete));
    EXPECT_EQ(Year(0)->text(), "1");
    EXPECT_EQ(Combo("cboDayCE_0")->currentIndex(), 2);

    // Natal modes do not step.
    EnterDate(kBirth1, 3, 21, "1970", 25, 24);
    Option("optNatal_0")->click();
    w.TimerTick();
    EXPECT_FALSE(Button("cmdForwardBack_0")->isEnabled());
    EXPECT_FALSE(Button("cmdForwardBack_1")->isEnabled());
    EXPECT_FALSE(Combo("cboForwardBack")->isEnabled());
}

TEST_F(FrmMainTest, LanguageSwitchRecaptionsEverythingRecomputesOnceAndIsStored) {
    FrmMain& w = Start();
    EnterDate(kWorldDate, 3, 5, "2011", 25, 24);
    Choose("cboForwardBack", kStepWeek);
    QSignalSpy computed(&w, &FrmMain::Computed);
    const QString englishCompute = Button("cmdCompute")->text();
    const QString englishMarch = Combo("cboMonthCE_0")->currentText();

    Option("optGerman")->click();
    Snapshot("german");
    EXPECT_EQ(window->State().language, kGerman);
    EXPECT_EQ(computed.count(), 1);
    EXPECT_EQ(Button("cmdCompute")->text(), PT(kTextCompute));
    EXPECT_NE(Button("cmdCompute")->text(), englishCompute);
    EXPECT_EQ(Combo("cboMonthCE_0")->currentText(), "März");
    EXPECT_EQ(Combo("cboForwardBack")->currentIndex(), kStepWeek);
    EXPECT_EQ(Find<QRadioButton>("optSynastry")->text(), PT(kTextSynastry));
    EXPECT_EQ(Find<QLabel>("Label1_0")->text(), PT(kTextWorldDate));
    EXPECT_EQ(platform::ReadLanguageSetting(platform::SettingsStore(env.configFolder)), Index(kGerman));
    // Mode and dates are unchanged.
    EXPECT_EQ(w.ComputedMode(), Mode::World);
    EXPECT_EQ(Year(0)->text(), "2011");
    // Qt's own buttons follow the interface language.
    auto cancelText = [] {
        QMessageBox box(QMessageBox::Question, "", "", QMessageBox::Yes | QMessageBox::Cancel);
        return box.button(QMessageBox::Cancel)->text();
    };
    EXPECT_EQ(cancelText(), "Abbrechen");

    Option("optEnglish")->click();
    EXPECT_EQ(cancelText(), "Cancel");
    EXPECT_EQ(computed.count(), 2);
    EXPECT_EQ(Button("cmdCompute")->text(), englishCompute);
    EXPECT_EQ(Combo("cboMonthCE_0")->currentText(), englishMarch);

    // The next start comes up in the stored language.
    Option("optGerman")->click();
    window.reset();
    Start();
    EXPECT_TRUE(Option("optGerman")->isChecked());
    EXPECT_EQ(window->State().language, kGerman);
}

TEST_F(FrmMainTest, QuitAsksAndSavesOnlyOnYesWhileTheCloseBoxEndsAtOnce) {
    Start();
    dialogs.QueueAnswer(Answer::Cancel);
    Button("cmdQuit")->click();
    EXPECT_FALSE(window->HasEnded());
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].text, PT(kTextSaveBeforeQuitting));
    EXPECT_EQ(dialogs.asked()[0].defaultButton, Answer::No);
    EXPECT_EQ(dialogs.asked()[0].title, Button("cmdQuit")->text());

    dialogs.QueueAnswer(Answer::No);
    Button("cmdQuit")->click();
    EXPECT_TRUE(window->HasEnded());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(env.autoStatePath)));

    window.reset();
    Start();
    Option("optPlanetary")->click();
    dialogs.QueueAnswer(Answer::Yes);
    Button("cmdQuit")->click();
    EXPECT_TRUE(window->HasEnded());
    EXPECT_TRUE(QFile::exists(QString::fromStdString(env.autoStatePath)));

    // The close box: no question, nothing saved.
    QFile::remove(QString::fromStdString(env.autoStatePath));
    window.reset();
    Start();
    dialogs.Clear();
    window->close();
    EXPECT_TRUE(window->HasEnded());
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(env.autoStatePath)));
}

TEST_F(FrmMainTest, QuitDoesNotAskWithinFiveTicksOfASave) {
    FrmMain& w = Start();
    Button("cmdSave")->click();
    EXPECT_TRUE(w.StateJustSaved());
    EXPECT_TRUE(dialogs.asked().empty());
    for (int i = 0; i < 5; ++i) w.TimerTick();
    EXPECT_TRUE(w.StateJustSaved());
    w.TimerTick();
    EXPECT_FALSE(w.StateJustSaved());
    dialogs.QueueAnswer(Answer::Cancel);
    Button("cmdQuit")->click();
    EXPECT_EQ(dialogs.Count(ScriptedDialogs::Kind::Question), 1);
    EXPECT_FALSE(w.HasEnded());

    Button("cmdSave")->click();
    Button("cmdQuit")->click();
    EXPECT_TRUE(w.HasEnded());
    EXPECT_EQ(dialogs.Count(ScriptedDialogs::Kind::Question), 1);
}

TEST_F(FrmMainTest, SaveAndRestoreBringBackTheDateRowsWithoutComputing) {
    FrmMain& w = Start();
    EnterDate(kBirth2, 8, 17, "1985", 10, 30);
    Button("cmdSave")->click();
    EnterDate(kBirth2, 2, 2, "2002", 3, 3);
    QSignalSpy computed(&w, &FrmMain::Computed);
    Button("cmdRestore")->click();
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_EQ(Combo("cboMonthCE_2")->currentIndex(), 8);
    EXPECT_EQ(Combo("cboDayCE_2")->currentIndex(), 17);
    EXPECT_EQ(Year(2)->text(), "1985");
    EXPECT_EQ(Combo("cboHour_2")->currentIndex(), 10);
    EXPECT_EQ(Combo("cboTimezone_2")->currentIndex(), 30);
    EXPECT_EQ(computed.count(), 0);

    // A state saved in synastry starts as world transits for its World date.
    EnterDate(kWorldDate, 5, 6, "2001", 25, 24);
    EnterDate(kBirth1, 3, 21, "1970", 25, 24);
    Option("optSynastry")->click();
    ASSERT_EQ(w.ComputedMode(), Mode::Synastry);
    Button("cmdSave")->click();
    window.reset();
    Start();
    EXPECT_EQ(window->ComputedMode(), Mode::World);
    EXPECT_TRUE(Option("optPlanetary")->isChecked());
    EXPECT_EQ(Year(0)->text(), "2001");
    EXPECT_EQ(Year(2)->text(), "1985");
}

TEST_F(FrmMainTest, SaveAndRestoreFailuresAreReportedUnderTheButtonsCaption) {
    // The state's folder is a file: nothing can be written there.
    WriteFile(Path("blocked"), "x");
    env.autoStatePath = Path("blocked") + "/vek.usr";
    FrmMain& w = Start();
    Button("cmdSave")->click();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dialogs.asked()[0].title, Button("cmdSave")->text());
    EXPECT_FALSE(dialogs.asked()[0].text.isEmpty());
    EXPECT_FALSE(w.StateJustSaved());

    // "Restore" of a broken file: the message, and the settings go back to
    // their defaults.
    dialogs.Clear();
    window.reset();
    env.autoStatePath = Path("vek.usr");
    Start();
    WriteFile(env.autoStatePath, " 1 \r\n 2 \r\n");
    Button("cmdRestore")->click();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].title, Button("cmdRestore")->text());
    EXPECT_EQ(dialogs.asked()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window->CoreSettings().controls.orbIndex, Settings().controls.orbIndex);
}

TEST_F(FrmMainTest, SaveAsAndLoadFromUseAFileOfTheUsersChoice) {
    FrmMain& w = Start();
    EnterDate(kBirth1, 3, 21, "1970", 25, 24);
    Option("optNatal_0")->click();
    ASSERT_EQ(w.ComputedMode(), Mode::Natal1);
    const QString chosen = QString::fromStdString(Path("mine.vek"));

    // Cancelling the dialog does nothing.
    dialogs.QueueFileName(std::nullopt);
    Button("cmdSaveAs")->click();
    EXPECT_FALSE(QFile::exists(chosen));
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].kind, ScriptedDialogs::Kind::SaveFile);
    EXPECT_EQ(dialogs.asked()[0].title, PT(kTextSaveStateTitle));
    EXPECT_EQ(dialogs.asked()[0].text, PT(kTextStateFiles) + " (*.vek) | *.vek");

    dialogs.Clear();
    dialogs.QueueFileName(chosen);
    Button("cmdSaveAs")->click();
    ASSERT_TRUE(QFile::exists(chosen));
    EXPECT_EQ(dialogs.Count(ScriptedDialogs::Kind::Message), 0);
    EXPECT_EQ(Find<QLabel>("lblStatus")->text(), PT(kTextSavedPrefix) + " " + chosen);

    // Another date and mode, then the file brings the saved ones back and
    // computes in the natal mode it was saved in.
    EnterDate(kBirth1, 7, 4, "1999", 25, 24);
    Option("optPlanetary")->click();
    dialogs.Clear();
    dialogs.QueueFileName(chosen);
    QSignalSpy computed(&w, &FrmMain::Computed);
    Button("cmdLoadState")->click();
    EXPECT_EQ(dialogs.Count(ScriptedDialogs::Kind::Message), 0);
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].kind, ScriptedDialogs::Kind::OpenFile);
    EXPECT_EQ(dialogs.asked()[0].title, PT(kTextLoadStateTitle));
    EXPECT_EQ(Year(1)->text(), "1970");
    EXPECT_EQ(Combo("cboMonthCE_1")->currentIndex(), 3);
    EXPECT_TRUE(Option("optNatal_0")->isChecked());
    EXPECT_EQ(w.ComputedMode(), Mode::Natal1);
    EXPECT_GE(computed.count(), 1);
    EXPECT_EQ(Find<QLabel>("lblStatus")->text(), PT(kTextLoadedPrefix) + " " + chosen);
    EXPECT_TRUE(w.StateJustSaved());
}

TEST_F(FrmMainTest, StateDialogsSuggestVekListAllFilesAndRememberTheirFolder) {
    const QString docs = tmp.filePath("Documents"), states = tmp.filePath("states");
    ASSERT_TRUE(QDir().mkpath(docs) && QDir().mkpath(states));
    env.documentsFolder = docs.toStdString();
    FrmMain& w = Start();
    w.show();

    // A name typed without an extension is saved as a ".vek" file.
    dialogs.QueueFileName(states + "/state1");
    Button("cmdSaveAs")->click();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].folder, docs);  // the first time: Documents
    EXPECT_EQ(dialogs.asked()[0].defaultSuffix, "vek");
    EXPECT_TRUE(QFile::exists(states + "/state1.vek"));
    EXPECT_FALSE(QFile::exists(states + "/state1"));
    EXPECT_EQ(Find<QLabel>("lblStatus")->text(),
              PT(kTextSavedPrefix) + " " + states + "/state1.vek");

    // Loading starts where the last state went and offers every file.
    dialogs.Clear();
    dialogs.QueueFileName(states + "/state1.vek");
    Button("cmdLoadState")->click();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].folder, states);
    EXPECT_EQ(dialogs.asked()[0].text,
              PT(kTextStateFiles) + " (*.vek) | *.vek | All files (*) | *");
    EXPECT_EQ(Find<QLabel>("lblStatus")->text(),
              PT(kTextLoadedPrefix) + " " + states + "/state1.vek");
    // The status line follows a language switch.
    w.ApplyLanguage(kGerman);
    EXPECT_EQ(Find<QLabel>("lblStatus")->text(), "Geladen: " + states + "/state1.vek");

    // The next start remembers the folder, and the window's place and size.
    w.move(w.pos() + QPoint(30, 20));
    QApplication::processEvents();
    const QRect frame = w.frameGeometry();
    const QSize size = w.size();
    window->close();
    window.reset();
    FrmMain& again = Start();
    again.show();
    QApplication::processEvents();
    EXPECT_EQ(again.frameGeometry().topLeft(), frame.topLeft());
    EXPECT_EQ(again.size(), size);
    dialogs.Clear();
    dialogs.QueueFileName(std::nullopt);
    Button("cmdLoadState")->click();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].folder, states);
}

TEST_F(FrmMainTest, LoadFromAFileThatIsNoStateFileChangesNothing) {
    FrmMain& w = Start();
    // Settings that are not the defaults, from a state file of the user's.
    dialogs.QueueFileName(QString(VEK_TEST_DATA_DIR) + "/state/expected.vek");
    Button("cmdLoadState")->click();
    ASSERT_EQ(dialogs.Count(ScriptedDialogs::Kind::Message), 0);
    ASSERT_NE(w.CoreSettings().controls.orbIndex, Settings().controls.orbIndex);
    EnterDate(kBirth2, 8, 17, "1985", 10, 30);
    Option("optNatal_1")->click();
    ASSERT_EQ(w.ComputedMode(), Mode::Natal2);
    dialogs.Clear();
    const auto orbsBefore = w.CoreSettings().controls.orbIndex;
    const int midpointBefore = w.CoreSettings().controls.midpointOrbIndex;
    WriteFile(Path("notes.vek"), "shopping list\r\nmilk\r\n");
    dialogs.QueueFileName(QString::fromStdString(Path("notes.vek")));
    QSignalSpy computed(&w, &FrmMain::Computed);
    Button("cmdLoadState")->click();
    ASSERT_EQ(dialogs.Count(ScriptedDialogs::Kind::Message), 1);
    const auto& message = dialogs.asked().back();
    EXPECT_EQ(message.title, PT(kTextLoadingFailed));
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    EXPECT_FALSE(message.text.isEmpty());
    EXPECT_EQ(computed.count(), 0);
    EXPECT_EQ(Year(2)->text(), "1985");
    EXPECT_TRUE(Option("optNatal_1")->isChecked());
    EXPECT_EQ(w.CoreSettings().controls.orbIndex, orbsBefore);
    EXPECT_EQ(w.CoreSettings().controls.midpointOrbIndex, midpointBefore);
    EXPECT_FALSE(Find<QLabel>("lblStatus")->text().contains("notes.vek"));
}

TEST_F(FrmMainTest, AStateSavedInANatalModeStartsInThatMode) {
    FrmMain& w = Start();
    EnterDate(kBirth2, 8, 17, "1985", 10, 30);
    Option("optNatal_1")->click();
    ASSERT_EQ(w.ComputedMode(), Mode::Natal2);
    Button("cmdSave")->click();
    window.reset();
    Start();
    EXPECT_EQ(window->ComputedMode(), Mode::Natal2);
    EXPECT_TRUE(Option("optNatal_1")->isChecked());
    EXPECT_EQ(Find<QLabel>("lblClickonAspect")->text(), "");
    EXPECT_TRUE(dialogs.asked().empty());
}

TEST_F(FrmMainTest, ClearEmptiesARowOnlyWhenAnsweredYes) {
    FrmMain& w = Start();
    EnterDate(kBirth1, 3, 21, "1970", 25, 26);
    w.TimerTick();
    ASSERT_FALSE(Button("cmdClear_1")->isHidden());
    EXPECT_TRUE(Button("cmdClear_2")->isHidden());
    for (Answer a : {Answer::No, Answer::Cancel}) {
        dialogs.QueueAnswer(a);
        Button("cmdClear_1")->click();
        EXPECT_EQ(Year(1)->text(), "1970");
        EXPECT_EQ(Combo("cboMonthCE_1")->currentIndex(), 3);
    }
    EXPECT_EQ(dialogs.asked()[0].text, PT(kTextClearAllEntriesOf) + " " +
                                           PT(kTextClearFirstBirthdateQuestion));
    EXPECT_EQ(dialogs.asked()[0].title, Button("cmdClear_1")->text());
    dialogs.QueueAnswer(Answer::Yes);
    Button("cmdClear_1")->click();
    EXPECT_EQ(Year(1)->text(), "");
    EXPECT_EQ(Combo("cboMonthCE_1")->currentIndex(), 0);
    EXPECT_EQ(Combo("cboTimezone_1")->currentIndex(), 0);
    w.TimerTick();
    EXPECT_TRUE(Button("cmdClear_1")->isHidden());
}

// Every caption fits its control in both languages, and no two controls of
// the upper part of the window overlap.
TEST_F(FrmMainTest, CaptionsFitTheirControlsInBothLanguages) {
    FrmMain& w = Start();
    for (const char* language : {"optEnglish", "optGerman"}) {
        Option(language)->click();
        for (QAbstractButton* b : w.findChildren<QAbstractButton*>()) {
            if (b->text().isEmpty()) continue;
            const int indicator = qobject_cast<QRadioButton*>(b) ? 24 : 8;
            EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()) + indicator, b->width())
                << language << " " << b->objectName().toStdString() << " \""
                << b->text().toStdString() << "\"";
        }
        for (QLabel* l : w.findChildren<QLabel*>()) {
            if (l->text().isEmpty() || l->objectName().startsWith("txbCell")) continue;
            EXPECT_LE(l->sizeHint().width(), l->width())
                << language << " " << l->objectName().toStdString();
        }
        for (QComboBox* c : w.findChildren<QComboBox*>()) {
            for (int i = 0; i < c->count(); ++i) {
                EXPECT_LE(c->fontMetrics().horizontalAdvance(c->itemText(i)) + 28, c->width())
                    << language << " " << c->objectName().toStdString() << " "
                    << c->itemText(i).toStdString();
            }
        }
        // The cells' texts fit too (the corner cell names the zodiac).
        for (int i = 0; i < kMaxNumCells; ++i) {
            QLabel* cell = w.Grid()->Cell(i);
            const QRect r = TableGrid::TextBounds(cell, cell->font());
            EXPECT_LE(r.width(), cell->width() - 4) << language << " cell " << i;
            EXPECT_LE(r.height(), cell->height() - 2) << language << " cell " << i;
        }
    }
    std::vector<QWidget*> top;
    for (QWidget* c : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!c->isHidden() && c->y() < w.Grid()->y()) top.push_back(c);
    }
    for (size_t i = 0; i < top.size(); ++i) {
        for (size_t j = i + 1; j < top.size(); ++j) {
            EXPECT_FALSE(top[i]->geometry().intersects(top[j]->geometry()))
                << top[i]->objectName().toStdString() << " / "
                << top[j]->objectName().toStdString();
        }
    }
}

TEST_F(FrmMainTest, ReturnClicksAFocusedButtonAndTabFollowsTheScreen) {
    FrmMain& w = Start();
    EnterDate(kWorldDate, 3, 5, "2011", 25, 24);
    QSignalSpy computed(&w, &FrmMain::Computed);
    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        Button("cmdCompute")->setFocus();
        QTest::keyClick(Button("cmdCompute"), static_cast<Qt::Key>(key));
    }
    EXPECT_EQ(computed.count(), 2);
    QTest::keyClick(Button("cmdForwardBack_0"), Qt::Key_Return);
    EXPECT_EQ(Combo("cboDayCE_0")->currentIndex(), 6);
    EXPECT_TRUE(dialogs.asked().empty());

    // The focus chain, keyboard controls only, as the screen reads.
    std::vector<QString> chain;
    QWidget* start = Combo("cboMonthCE_0");
    QWidget* at = start;
    do {
        if (at->focusPolicy() & Qt::TabFocus) chain.push_back(at->objectName());
        at = at->nextInFocusChain();
    } while (at != start && chain.size() < 100);
    auto position = [&](const char* name) {
        return std::find(chain.begin(), chain.end(), QString(name)) - chain.begin();
    };
    const char* const expected[] = {
        "cboMonthCE_0", "cboDayCE_0",  "txbYearCE_0",      "cboHour_0",      "cboTimezone_0",
        "cmdClear_0",   "cmdNow",      "cboMonthCE_1",     "cmdClear_1",     "cboMonthCE_2",
        "cmdClear_2",   "cmdCompute",  "cmdForwardBack_0", "cboForwardBack", "cmdForwardBack_1",
        "optPlanetary", "optSynastry", "cmdSave",          "cmdRestore",     "cmdQuit"};
    for (size_t i = 1; i < std::size(expected); ++i)
        EXPECT_LT(position(expected[i - 1]), position(expected[i]))
            << expected[i - 1] << " before " << expected[i];
    EXPECT_LT(position("cmdQuit"), static_cast<long>(chain.size()));
}

TEST_F(FrmMainTest, TheFrameStartsAtTheTopLeftOfTheScreen) {
    FrmMain& w = Start();
    const QPoint corner = w.screen()->availableGeometry().topLeft();
    EXPECT_EQ(w.frameGeometry().topLeft(), corner);
    ASSERT_NE(w.windowHandle(), nullptr);
    EXPECT_EQ(w.windowHandle()->framePosition(), corner);
}

TEST_F(FrmMainTest, TheWindowKeepsWithinItsSizeLimits) {
    FrmMain& w = Start();
    EnterDate(kBirth1, 3, 21, "1970", 25, 24);
    EnterDate(kBirth2, 9, 18, "1985", 10, 30);
    w.resize(Twips::ToPixels(9000), Twips::ToPixels(6000));
    EXPECT_EQ(w.width(), Twips::ToPixels(10200));
    EXPECT_EQ(w.height(), Twips::ToPixels(6000));
    // Larger than the layout is the user's choice, as far as the screen
    // goes; the layout fills it without scrolling.
    const QRect screen = w.screen()->availableGeometry();
    w.resize(Twips::ToPixels(30000), Twips::ToPixels(3000));
    EXPECT_GT(w.width(), Twips::ToPixels(w.WidthLimit()));
    EXPECT_LE(w.width(), screen.width());
    EXPECT_EQ(w.height(), Twips::ToPixels(4800));
    auto* scroll = w.findChild<QScrollArea*>("scrMain");
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->size(), w.size());
    EXPECT_EQ(scroll->widget()->width(), scroll->viewport()->width());
    // Smaller than the layout (but not than the least size): it scrolls, so
    // every control can still be reached.
    w.resize(Twips::ToPixels(11000), Twips::ToPixels(5000));
    EXPECT_EQ(w.width(), Twips::ToPixels(11000));
    EXPECT_TRUE(scroll->horizontalScrollBar()->isVisible() ||
                scroll->widget()->width() > scroll->viewport()->width());
    EXPECT_TRUE(scroll->widget()->isAncestorOf(Button("cmdQuit")));
    // A step keeps the size the user chose.
    w.resize(Twips::ToPixels(12000), Twips::ToPixels(7000));
    Button("cmdCompute")->click();
    EXPECT_EQ(w.width(), Twips::ToPixels(12000));
    // So do changes of mode (another layout) and back, and the chart.
    const QSize chosen = w.size();
    Find<QRadioButton>("optSynastry")->click();
    ASSERT_EQ(w.ComputedMode(), Mode::Synastry);
    EXPECT_EQ(w.size(), chosen);
    Find<QRadioButton>("optPlanetary")->click();
    ASSERT_EQ(w.ComputedMode(), Mode::World);
    EXPECT_EQ(w.size(), chosen);
    Button("cmdToggleGraphic")->click();
    ASSERT_TRUE(w.ChartShown());
    EXPECT_EQ(w.size(), chosen);
    Button("cmdToggleGraphic")->click();
    EXPECT_EQ(w.size(), chosen);
}

TEST_F(FrmMainTest, TheWindowFollowsTheLayoutUntilTheUserSizesIt) {
    FrmMain& w = Start();
    EnterDate(kBirth1, 3, 21, "1970", 25, 24);
    EnterDate(kBirth2, 9, 18, "1985", 10, 30);
    // Not sized by the user: a larger layout makes the window larger, a
    // smaller one smaller again, as far as the screen goes.
    const QSize world = w.size();
    Find<QRadioButton>("optSynastry")->click();
    ASSERT_EQ(w.ComputedMode(), Mode::Synastry);
    const QSize synastry = w.size();
    EXPECT_EQ(synastry, QSize(Twips::ToPixels(w.WidthLimit()), Twips::ToPixels(w.HeightLimit())));
    EXPECT_NE(w.size(), world);
    Find<QRadioButton>("optPlanetary")->click();
    EXPECT_EQ(w.size(), world);
}

}  // namespace
}  // namespace vek::gui

// ---------------------------------------------------------------------------
// The chart wheel

namespace vek::gui {
namespace {

class ChartWindowTest : public FrmMainTest {
  protected:
    void Toggle() { Button("cmdToggleGraphic")->click(); }
    ChartView* Chart() const { return window->Graphic(); }
    // The last message shown.
    const ScriptedDialogs::Asked& Last() const { return dialogs.asked().back(); }
};

TEST_F(ChartWindowTest, TheToggleSwitchesBetweenTableAndChartWithAllItsControls) {
    FrmMain& w = Start();
    QPushButton* toggle = Button("cmdToggleGraphic");
    QPushButton* saveAs = Button("cmdSaveAs");
    QPushButton* load = Button("cmdLoadState");
    QPushButton* run = Button("cmdRun");
    const QString tableTitle = Find<QLabel>("lblTitle")->text();
    EXPECT_EQ(toggle->text(), PT(kTextShowChart));
    EXPECT_EQ(saveAs->text(), PT(kTextSaveAs));
    EXPECT_TRUE(load->isVisible());
    EXPECT_FALSE(run->isVisible());
    EXPECT_FALSE(Chart()->isVisible());

    Toggle();
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_TRUE(w.ChartShown());
    EXPECT_FALSE(w.Grid()->isVisible());
    EXPECT_EQ(Chart()->objectName(), "picGraphic");
    EXPECT_EQ(Twips::Left(Chart()), 1200);
    EXPECT_EQ(Twips::Width(Chart()), 6000);
    // The drawing and the legend's band above it.
    EXPECT_EQ(Twips::Height(Chart()), 6000 + Chart()->Wheel().legendBand);
    EXPECT_GT(Chart()->Wheel().legendBand, 0);
    EXPECT_EQ(Chart()->y(), w.Grid()->y());
    EXPECT_EQ(toggle->text(), PT(kTextShowTable));
    EXPECT_EQ(saveAs->text(), PT(kTextSaveImageAs));
    EXPECT_EQ(saveAs->toolTip(), PT(kTextSaveImageTip));
    EXPECT_FALSE(load->isVisible());
    // World transits with the Moon: the run button is offered.
    EXPECT_TRUE(run->isVisible());
    EXPECT_EQ(run->text(), PT(kTextRun));
    // The chart's title ("°" for " degrees" in world transits).
    EXPECT_NE(Find<QLabel>("lblTitle")->text(), tableTitle);
    EXPECT_FALSE(Find<QLabel>("lblStatus")->isVisible());
    EXPECT_EQ(Find<QLabel>("lblClickonAspect")->text(),
              QString::fromStdString(w.Results().zodiacLabel));
    // The drawing is the current result's: ten glyphs, and a line for each
    // aspect the table shows.
    const ChartWheel& wheel = Chart()->Wheel();
    EXPECT_TRUE(wheel.drawn);
    EXPECT_EQ(wheel.Count(ChartRole::BodyGlyph), 10u);
    int shown = 0;
    for (const TableCell& c : w.Results().table.txbCell)
        if (c.kind == CellKind::Aspect && c.visible && c.aspect) ++shown;
    EXPECT_GT(shown, 0);
    EXPECT_EQ(wheel.Count(ChartRole::AspectLine), static_cast<size_t>(shown));
    Snapshot("chart_world");

    Toggle();
    EXPECT_FALSE(w.ChartShown());
    EXPECT_TRUE(w.Grid()->isVisible());
    EXPECT_EQ(toggle->text(), PT(kTextShowChart));
    EXPECT_EQ(saveAs->text(), PT(kTextSaveAs));
    EXPECT_TRUE(saveAs->toolTip().isEmpty());
    EXPECT_TRUE(load->isVisible());
    EXPECT_FALSE(run->isVisible());
    EXPECT_EQ(Find<QLabel>("lblTitle")->text(), tableTitle);
}

TEST_F(ChartWindowTest, EveryStepRedrawsTheChartAndTheModesPickTheirWheel) {
    FrmMain& w = Start();
    Toggle();
    ASSERT_TRUE(w.ChartShown());
    Choose("cboForwardBack", 2);  // a day: the Moon moves
    const ChartWheel::Anchor before = Chart()->Wheel().anchors[0][kMoon];
    Button("cmdForwardBack_0")->click();
    EXPECT_TRUE(w.ChartShown());
    const ChartWheel::Anchor after = Chart()->Wheel().anchors[0][kMoon];
    EXPECT_TRUE(before.x != after.x || before.y != after.y);
    Button("cmdForwardBack_1")->click();
    EXPECT_EQ(Chart()->Wheel().anchors[0][kMoon].x, before.x);
    EXPECT_EQ(Chart()->Wheel().anchors[0][kMoon].y, before.y);

    // Personal transits: the double wheel, still shown.
    EnterDate(kBirth1, 7, 4, "1960", 25, 14);
    Option("optPersonal_0")->click();
    ASSERT_EQ(w.ComputedMode(), Mode::Personal1);
    EXPECT_TRUE(w.ChartShown());
    EXPECT_TRUE(Chart()->Wheel().twoCharts);
    EXPECT_EQ(Twips::Width(Chart()), 9900);
    EXPECT_EQ(Twips::Height(Chart()), 6600 + Chart()->Wheel().legendBand);
    EXPECT_EQ(Chart()->Wheel().legendBlocks, (std::array<int, 2>{0, 1}));
    EXPECT_EQ(Chart()->Wheel().Count(ChartRole::BodyGlyph), 20u);
    EXPECT_EQ(Button("cmdToggleGraphic")->text(), PT(kTextShowTable));
    Snapshot("chart_personal");

    // Natal aspects: no run button.
    Option("optNatal_0")->click();
    EXPECT_FALSE(Chart()->Wheel().twoCharts);
    EXPECT_FALSE(Button("cmdRun")->isVisible());

    // A language switch redraws the chart with the legend in that language,
    // and the chart's captions fit their buttons.
    Option("optGerman")->click();
    EXPECT_TRUE(w.ChartShown());
    bool germanLegend = false;
    for (const ChartPrimitive& p : Chart()->Wheel().items)
        germanLegend =
            germanLegend || (p.role == ChartRole::Legend &&
                             QString::fromStdString(p.text) == PT(kTextLegendRetrograde));
    EXPECT_TRUE(germanLegend);
    // The zodiac line under the title follows the language too.
    EXPECT_EQ(Find<QLabel>("lblClickonAspect")->text(), PT(kTextTropicalZodiac));
    for (const char* name : {"cmdToggleGraphic", "cmdSaveAs"}) {
        QPushButton* b = Button(name);
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()) + 8, b->width()) << name;
    }
    EXPECT_EQ(Button("cmdToggleGraphic")->text(), PT(kTextShowTable));
    EXPECT_EQ(Button("cmdSaveAs")->text(), PT(kTextSaveImageAs));
    Snapshot("chart_natal_de");
}

TEST_F(ChartWindowTest, AnEnlargedWindowGivesTheChartTheRoom) {
    FrmMain& w = Start();
    w.show();
    Toggle();
    ASSERT_TRUE(w.ChartShown());
    const QSize before = Chart()->size();
    auto* summary = w.findChild<QTextEdit*>("txbReport");
    const int summaryLeft = summary->x();
    EXPECT_DOUBLE_EQ(Chart()->Enlargement(), 1.0);

    // 300 by 300 pixels more: the chart box grows by them, the drawing with
    // it (the same model, larger), the summary moves aside and stays in the
    // window.
    w.resize(w.width() + 300, w.height() + 300);
    QApplication::processEvents();
    EXPECT_EQ(Chart()->size(), before + QSize(300, 300));
    EXPECT_GT(Chart()->Enlargement(), 1.4);
    EXPECT_EQ(summary->x(), summaryLeft + 300);
    EXPECT_LE(summary->geometry().right(), w.width());
    EXPECT_FALSE(Chart()->geometry().intersects(summary->geometry()));
    // A step redraws at the same size; back to the layout's size, the chart
    // is drawn at its own size again.
    Button("cmdForwardBack_0")->click();
    EXPECT_EQ(Chart()->size(), before + QSize(300, 300));
    w.resize(Twips::ToPixels(w.WidthLimit()), Twips::ToPixels(w.HeightLimit()));
    QApplication::processEvents();
    EXPECT_EQ(Chart()->size(), before);
    EXPECT_EQ(summary->x(), summaryLeft);
    if (const QString dir = qEnvironmentVariable("VEK_SCREENSHOT_DIR"); !dir.isEmpty()) {
        w.resize(w.width() + 300, w.height() + 300);
        w.grab().save(dir + "/window-chart-enlarged.png");
    }
}

TEST_F(ChartWindowTest, ACrowdedChartWarnsAndLeavesTheTableShown) {
    // Glyphs so large that each covers the disc right of and below its
    // place: soon no place is free.
    static const GlyphInks huge = SolidGlyphInks(12000, 12000);
    env.glyphInks = &huge;
    FrmMain& w = Start();
    Toggle();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(Last().text, PT(kTextChartCrowded));
    EXPECT_EQ(Last().title, PT(kTextChart));
    EXPECT_EQ(Last().icon, MessageIcon::Exclamation);
    EXPECT_FALSE(w.ChartShown());
    EXPECT_TRUE(w.Grid()->isVisible());
    EXPECT_EQ(Button("cmdToggleGraphic")->text(), PT(kTextShowChart));
    EXPECT_TRUE(Button("cmdLoadState")->isVisible());
}

TEST_F(ChartWindowTest, SaveImageWritesTheAnnotatedChartAndReportsIt) {
    Start();
    Toggle();
    // Cancelled: nothing is written, nothing said.
    dialogs.QueueFileName(std::nullopt);
    Button("cmdSaveAs")->click();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].kind, ScriptedDialogs::Kind::SaveFile);
    // The title says what is saved; PNG at the screen's size first, then
    // larger PNG images, then SVG.
    EXPECT_EQ(dialogs.asked()[0].title, "Save the chart as PNG image or SVG drawing");
    EXPECT_EQ(dialogs.asked()[0].text,
              PT(kTextPngImages) + " (*.png) | *.png | " +
                  "PNG images, 2 times the size (*.png) | *.png | " +
                  "PNG images, 4 times the size (*.png) | *.png | " +
                  PT(kTextSvgImages) + " (*.svg) | *.svg");

    const QString png = tmp.filePath("chart.png");
    dialogs.QueueFileName(png);
    Button("cmdSaveAs")->click();
    EXPECT_EQ(Last().text, PT(kTextImageSaved) + "\n" + png);
    EXPECT_EQ(Last().title, PT(kTextSaveImageAs));
    EXPECT_EQ(Last().icon, MessageIcon::Information);
    QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 400);
    EXPECT_EQ(image.width(), image.height());
    // The legend leaves the chart on the screen too, until the next drawing.
    EXPECT_EQ(Chart()->Wheel().Count(ChartRole::Legend), 0u);
    Toggle();
    Toggle();
    EXPECT_EQ(Chart()->Wheel().Count(ChartRole::Legend), 5u);

    // SVG by its name.
    const QString svg = tmp.filePath("chart.svg");
    dialogs.QueueFileName(svg);
    Button("cmdSaveAs")->click();
    EXPECT_EQ(Last().text, PT(kTextImageSaved) + "\n" + svg);
    QFile f(svg);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("<svg"));

    // Any other name gets ".png": the contents always match the name, and a
    // chosen ".bmp" name is neither overwritten with PNG data nor removed.
    WriteFile(Path("old.bmp"), "BM old");
    dialogs.QueueFileName(tmp.filePath("old.bmp"));
    Button("cmdSaveAs")->click();
    EXPECT_EQ(Last().text, PT(kTextImageSaved) + "\n" + tmp.filePath("old.bmp.png"));
    EXPECT_FALSE(QImage(tmp.filePath("old.bmp.png")).isNull());
    QFile bmp(tmp.filePath("old.bmp"));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    EXPECT_EQ(bmp.readAll(), "BM old");

    // The larger sizes; a name without extension takes the filter's.
    dialogs.QueueFileName(tmp.filePath("big"), 2);
    Button("cmdSaveAs")->click();
    const QImage big(tmp.filePath("big.png"));
    ASSERT_FALSE(big.isNull());
    EXPECT_EQ(big.width(), 4 * image.width());
    dialogs.QueueFileName(tmp.filePath("drawing"), 3);
    Button("cmdSaveAs")->click();
    EXPECT_EQ(Last().text, PT(kTextImageSaved) + "\n" + tmp.filePath("drawing.svg"));
}

TEST_F(ChartWindowTest, AFailedSaveLeavesTheExistingFileAndSaysSo) {
    Start();
    Toggle();
    // The folder is a regular file: no one, root included, can write into it.
    WriteFile(Path("existing.png"), "earlier image");
    const QString target = tmp.filePath("existing.png") + "/chart.png";
    dialogs.QueueFileName(target);
    Button("cmdSaveAs")->click();
    ASSERT_EQ(dialogs.Count(ScriptedDialogs::Kind::Message), 1);
    EXPECT_TRUE(Last().text.startsWith(PT(kTextImageNotSaved) + "\n" + target + "\n"))
        << Last().text.toStdString();
    EXPECT_EQ(Last().icon, MessageIcon::Exclamation);
    EXPECT_FALSE(Last().text.contains(PT(kTextImageSaved)));
    QFile f(tmp.filePath("existing.png"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "earlier image");
    EXPECT_EQ(QDir(tmp.path()).entryList({"existing.png*"}, QDir::Files).size(), 1);
}

}  // namespace
}  // namespace vek::gui
