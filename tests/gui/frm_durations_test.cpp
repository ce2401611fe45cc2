// The report window opened by the main window's "Report": the durations of
// world and personal transits as vek-cli writes them, sorting, "Show
// duration", the clipboard, the natal report, the message without aspects,
// and a build in the background that the window can stop and outlive.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "config/program_text.h"
#include "engine/vek_types.h"
#include "gui/dialogs.h"
#include "gui/form_helpers.h"
#include "gui/frm_configure.h"
#include "gui/frm_durations.h"
#include "gui/frm_main.h"
#include "gui/frm_view.h"
#include "gui/table_grid.h"
#include "gui/twips.h"
#include "qt_app.h"
#include "time/date_rows.h"

namespace vek::gui {
namespace {

using test::App;

// A build held at a point on the worker thread until the test lets it go.
struct Gate {
    std::mutex m;
    std::condition_variable cv;
    bool reached = false;
    bool open = false;

    void Hold() {
        std::unique_lock<std::mutex> lock(m);
        reached = true;
        cv.notify_all();
        cv.wait(lock, [this] { return open; });
    }
    void WaitUntilReached() {
        std::unique_lock<std::mutex> lock(m);
        cv.wait(lock, [this] { return reached; });
    }
    void Open() {
        std::lock_guard<std::mutex> lock(m);
        open = true;
        cv.notify_all();
    }
};

class DurationsWindowTest : public test::MainWindowTest<> {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        window = std::make_unique<FrmMain>(dialogs, env);
        ASSERT_TRUE(window->Load());
    }

    // "Report" clicked; the window it opens.
    FrmDurations& OpenReport() {
        Button("cmdReport")->click();
        FrmDurations* d = window->DurationsWindow();
        EXPECT_NE(d, nullptr);
        // On a busy machine the first build may outlast the quick wait and
        // go on in the background: wait for it to be shown, not for a time.
        // The report is shown from this thread's event loop, so it cannot
        // slip by between the check and the spy.
        if (d != nullptr && d->Building()) {
            QSignalSpy shown(d, &FrmDurations::ReportShown);
            EXPECT_TRUE(shown.wait(60000));
        }
        return *d;
    }

    void EnterBirthdate(DateSlot slot, int month, int day, const QString& year) {
        EnterDate(slot, month, day, year, kNoonTimeIndex, kGreenwichZoneIndex);
    }

    // What vek-cli writes for these arguments.
    static std::string VekCli(const QStringList& args) {
        QProcess p;
        p.start(QString(VEK_BIN_DIR) + "/vek-cli", args);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return p.readAllStandardOutput().toStdString();
    }

    // The window's title and lines as vek-cli prints them: the title, an
    // empty line and the output, line breaks as LF.
    static std::string AsPrinted(const FrmDurations& d) {
        return TextBoxText(d.TitleText() + "\r\n\r\n" + d.OutputText()).toStdString();
    }


};

TEST_F(DurationsWindowTest, DurationsWindowShowsTheLinesOfVekCliAndSortsByEnd) {
    // World transits on 4 July 2010, 14:30 GMT, English and German.
    for (const bool german : {false, true}) {
        SCOPED_TRACE(german ? "German" : "English");
        if (german) Option("optGerman")->click();
        // "Report" stands on the title's row just before "Save as ...", clear
        // of the title and the hint.
        QPushButton* report = Button("cmdReport");
        EXPECT_TRUE(report->isVisible());
        EXPECT_EQ(report->text(), PT(kTextReport));
        EXPECT_LT(report->geometry().right(), Button("cmdSaveAs")->geometry().left());
        EXPECT_EQ(report->geometry().top(), Button("cmdSaveAs")->geometry().top());
        for (const char* label : {"lblTitle", "lblClickonAspect"})
            EXPECT_FALSE(
                report->geometry().intersects(test::FindIn<QLabel>(window.get(), label)->geometry()))
                << label;
        FrmDurations& d = OpenReport();
        ASSERT_FALSE(d.Building());
        ASSERT_NE(d.Model(), nullptr);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.windowTitle(), QString::fromStdString(d.Model()->Caption()));
        EXPECT_TRUE(d.windowTitle().startsWith(PT(kTextDurationsCaption)));
        Snapshot(d, german ? "durations_world_de" : "durations_world_en");
        Snapshot(*window, german ? "main_report_de" : "main_report_en");

        const QStringList args = {
            "durations",         "--mode", "world", "--world", "2010-07-04T14:30Z", "--lang",
            german ? "de" : "en"};
        const std::string cli = VekCli(args);
        EXPECT_EQ(AsPrinted(d), cli);
        // The text box shows the same lines.
        EXPECT_EQ(test::FindIn<QPlainTextEdit>(&d, "txbOutput")->toPlainText(),
                  TextBoxText(d.OutputText()));
        EXPECT_EQ(test::FindIn<QLabel>(&d, "lblTitle")->text().toStdString(), d.TitleText());

        // Sorted by exactness with "Show duration" on; the Moon has lines.
        auto* sortBy = test::FindIn<QComboBox>(&d, "cboSortBy");
        auto* show = test::FindIn<QCheckBox>(&d, "chkShowDuration");
        EXPECT_TRUE(sortBy->isVisible());
        EXPECT_EQ(sortBy->count(), 7);
        EXPECT_EQ(sortBy->currentIndex(), 2);
        EXPECT_TRUE(show->isChecked());
        int moonLines = 0;
        for (const auto& l : d.Model()->ShownLines()) moonLines += l.entry.second == kMoon;
        ASSERT_GT(moonLines, 0);

        // "Show duration" off: the lines lose their dates.
        show->click();
        EXPECT_FALSE(show->isChecked());
        EXPECT_EQ(d.OutputText().find(PT(kTextDatesFrom).toStdString()), std::string::npos);

        // Sorting by the end switches it on again and leaves the Moon out.
        sortBy->setCurrentIndex(5);
        EXPECT_TRUE(show->isChecked());
        for (const auto& l : d.Model()->ShownLines()) EXPECT_NE(l.entry.second, kMoon);
        EXPECT_EQ(AsPrinted(d), VekCli(args + QStringList{"--no-duration", "--sort", "5"}));
        EXPECT_EQ(test::FindIn<QPlainTextEdit>(&d, "txbOutput")->toPlainText(),
                  TextBoxText(d.OutputText()));

        test::FindIn<QPushButton>(&d, "cmdClose")->click();
        EXPECT_FALSE(d.isVisible());
    }
}

// "Exact times": off when the window opens; ticked, the report is built once
// more with the instants and its lines are those of vek-cli durations
// --exact (without the instants' lines below them), in both languages, also
// sorted by the first exact pass; the clipboard takes what is shown, and the
// choice stays for the next opening. Unticked, the lines are the plain ones.
TEST_F(DurationsWindowTest, ExactTimesShowTheLinesOfVekCliExact) {
    auto withoutInstantLines = [](const std::string& text) {
        std::istringstream in(text);
        std::string line, out;
        while (std::getline(in, line))
            if (line.rfind("    ", 0) != 0) out += line + "\n";
        return out;
    };
    auto waitForBuild = [](FrmDurations& d) {
        if (d.Building()) {
            QSignalSpy shown(&d, &FrmDurations::ReportShown);
            ASSERT_TRUE(shown.wait(60000));
        }
    };
    for (const bool german : {false, true}) {
        SCOPED_TRACE(german ? "German" : "English");
        if (german) Option("optGerman")->click();
        FrmDurations& d = OpenReport();
        auto* exact = test::FindIn<QCheckBox>(&d, "chkExactTimes");
        auto* sortBy = test::FindIn<QComboBox>(&d, "cboSortBy");
        EXPECT_TRUE(exact->isVisible());
        EXPECT_EQ(exact->text(), PT(kTextExactTimes));
        const QStringList args = {"durations", "--mode", "world", "--world", "2010-07-04T14:30Z",
                                  "--lang", german ? "de" : "en"};
        if (!german) {
            EXPECT_FALSE(exact->isChecked());
            EXPECT_EQ(sortBy->count(), 7);
            EXPECT_EQ(AsPrinted(d), VekCli(args));
            exact->click();
            waitForBuild(d);
        }
        ASSERT_NE(d.Model(), nullptr);
        EXPECT_TRUE(exact->isChecked());
        EXPECT_TRUE(d.Model()->showExact());
        EXPECT_EQ(sortBy->count(), 8);
        EXPECT_EQ(sortBy->currentIndex(), 2);
        EXPECT_EQ(AsPrinted(d), withoutInstantLines(VekCli(args + QStringList{"--exact"})));
        EXPECT_EQ(test::FindIn<QPlainTextEdit>(&d, "txbOutput")->toPlainText(),
                  TextBoxText(d.OutputText()));
        EXPECT_NE(d.OutputText().find("  " + PT(kTextExactPass).toStdString() + " 20"),
                  std::string::npos);
        Snapshot(d, german ? "durations_exact_de" : "durations_exact_en");

        sortBy->setCurrentIndex(7);
        EXPECT_EQ(d.Model()->sortIndex(), 7);
        EXPECT_EQ(AsPrinted(d),
                  withoutInstantLines(VekCli(args + QStringList{"--exact", "--sort", "7"})));
        test::FindIn<QPushButton>(&d, "cmdCopy")->click();
        EXPECT_EQ(QApplication::clipboard()->text(),
                  test::FindIn<QLabel>(&d, "lblTitle")->text() + "\n\n" +
                      test::FindIn<QPlainTextEdit>(&d, "txbOutput")->toPlainText());

        // Off: the plain lines, by deviation, without rebuilding.
        const int builds = d.BuildCount();
        exact->click();
        EXPECT_FALSE(d.Building());
        EXPECT_EQ(d.BuildCount(), builds);
        EXPECT_EQ(sortBy->count(), 7);
        EXPECT_EQ(AsPrinted(d), VekCli(args));
        // On again: the instants are there already.
        exact->click();
        EXPECT_EQ(d.BuildCount(), builds);
        EXPECT_TRUE(d.Model()->showExact());
        test::FindIn<QPushButton>(&d, "cmdClose")->click();
    }
}

// The lunar nodes and Chiron turned on in the configuration: the report
// lists the moving bodies' aspects to them after the table's, as vek-cli
// durations --points does, in world and personal transits, in every order,
// with the exact times, and when the explanation of a cell offers it. Off
// again, the lines are those without points.
TEST_F(DurationsWindowTest, PointsTurnedOnAddTheirLinesAsVekCliDurationsPoints) {
    auto turnPoints = [this](bool on) {
        Button("cmdConfigure")->click();
        FrmConfigure* c = window->Configuration();
        ASSERT_NE(c, nullptr);
        for (const char* box : {"chkLunarNodes", "chkChiron"}) {
            auto* check = test::FindIn<QCheckBox>(c, box);
            if (check->isChecked() != on) check->click();
        }
        test::FindIn<QPushButton>(c, "cmdAccept")->click();
    };
    auto pointLines = [](const FrmDurations& d) {
        int n = 0;
        for (const auto& l : d.Model()->ShownLines())
            n += l.entry.firstPoint.has_value() || l.entry.secondPoint.has_value();
        return n;
    };
    const QStringList world = {"durations", "--mode", "world", "--world", "2010-07-04T14:30Z"};
    const QStringList points = {"--points", "nodes,chiron"};
    turnPoints(true);
    {
        FrmDurations& d = OpenReport();
        ASSERT_NE(d.Model(), nullptr);
        EXPECT_GT(pointLines(d), 0);
        // In world transits the point stands in the second place.
        for (const auto& l : d.Model()->ShownLines()) EXPECT_FALSE(l.entry.firstPoint);
        EXPECT_EQ(AsPrinted(d), VekCli(world + points));
        Snapshot(d, "durations_points_en");
        auto* sortBy = test::FindIn<QComboBox>(&d, "cboSortBy");
        // Each order as chosen on opening: lines of equal keys keep the
        // places the order before left them in, as vek-cli's do.
        for (int sort = 0; sort <= 6; ++sort) {
            SCOPED_TRACE(sort);
            test::FindIn<QPushButton>(&d, "cmdClose")->click();
            ASSERT_EQ(&OpenReport(), &d);
            sortBy->setCurrentIndex(sort);
            EXPECT_EQ(AsPrinted(d),
                      VekCli(world + points + QStringList{"--sort", QString::number(sort)}));
        }
        // The exact times: the column of every line, the points' too, and
        // the order by the first exact pass.
        test::FindIn<QPushButton>(&d, "cmdClose")->click();
        ASSERT_EQ(&OpenReport(), &d);
        test::FindIn<QCheckBox>(&d, "chkExactTimes")->click();
        if (d.Building()) {
            QSignalSpy shown(&d, &FrmDurations::ReportShown);
            ASSERT_TRUE(shown.wait(60000));
        }
        sortBy->setCurrentIndex(7);
        std::istringstream cli(VekCli(world + points + QStringList{"--exact", "--sort", "7"}));
        std::string line, lines;
        while (std::getline(cli, line))
            if (line.rfind("    ", 0) != 0) lines += line + "\n";
        EXPECT_EQ(AsPrinted(d), lines);
        for (const auto& l : d.Model()->ShownLines()) {
            if (l.entry.secondPoint) {
                EXPECT_NE(l.text.find(PT(kTextExactPass).toStdString()), std::string::npos)
                    << l.text;
            }
        }
        test::FindIn<QCheckBox>(&d, "chkExactTimes")->click();
        test::FindIn<QPushButton>(&d, "cmdClose")->click();
    }

    // Personal transits: the natal points, in the natal body's place, in
    // German.
    Option("optGerman")->click();
    EnterBirthdate(kBirth1, 7, 4, "1960");
    Option("optPersonal_0")->click();
    {
        FrmDurations& d = OpenReport();
        ASSERT_NE(d.Model(), nullptr);
        EXPECT_GT(pointLines(d), 0);
        for (const auto& l : d.Model()->ShownLines()) EXPECT_FALSE(l.entry.secondPoint);
        EXPECT_EQ(AsPrinted(d), VekCli(QStringList{"durations", "--mode", "personal1", "--world",
                                                   "2010-07-04T14:30Z", "--birth1",
                                                   "1960-07-04T12:00Z", "--lang", "de"} +
                                       points));
        Snapshot(d, "durations_points_personal_de");
        test::FindIn<QPushButton>(&d, "cmdClose")->click();
    }

    // The explanation of a cell offers the durations: they come with the
    // points' lines.
    Option("optEnglish")->click();
    Option("optPlanetary")->click();
    const TableModel& t = window->Results().table;
    int cell = -1;
    for (int i = 0; i < t.intNumCells && cell < 0; ++i) {
        const TableCell& c = t.txbCell[static_cast<size_t>(i)];
        if (c.kind == CellKind::Aspect && c.visible && c.aspect && c.first != kMoon &&
            c.second != kMoon)
            cell = i;
    }
    ASSERT_GE(cell, 0);
    dialogs.Clear();
    dialogs.QueueAnswer(Answer::Yes);
    QLabel* label = window->Grid()->Cell(cell);
    QTest::mouseDClick(label, Qt::LeftButton, {}, label->rect().center());
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].kind, ScriptedDialogs::Kind::Question);
    FrmDurations* d = window->DurationsWindow();
    ASSERT_NE(d, nullptr);
    if (d->Building()) {
        QSignalSpy shown(d, &FrmDurations::ReportShown);
        ASSERT_TRUE(shown.wait(60000));
    }
    ASSERT_NE(d->Model(), nullptr);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(AsPrinted(*d), VekCli(world + points));
    test::FindIn<QPushButton>(d, "cmdClose")->click();

    // Off again: the report without points.
    turnPoints(false);
    FrmDurations& plain = OpenReport();
    EXPECT_EQ(pointLines(plain), 0);
    EXPECT_EQ(AsPrinted(plain), VekCli(world));
}

TEST_F(DurationsWindowTest, AnOpenReportAndHelpFollowALanguageSwitch) {
    FrmDurations& d = OpenReport();
    ASSERT_NE(d.Model(), nullptr);
    d.ChooseSort(5);
    ASSERT_EQ(d.Model()->sortIndex(), 5);
    Button("cmdHelp")->click();
    FrmView* viewer = window->Viewer();
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(viewer->isVisible());

    Option("optGerman")->click();
    // The report is built again in German, in the sort chosen.
    QSignalSpy shown(&d, &FrmDurations::ReportShown);
    if (d.Building()) {
        ASSERT_TRUE(shown.wait(20000));
    }
    ASSERT_NE(d.Model(), nullptr);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.Model()->sortIndex(), 5);
    const QStringList args = {"durations", "--mode",       "world", "--world",
                              "2010-07-04T14:30Z", "--lang", "de",  "--no-duration",
                              "--sort",    "5"};
    EXPECT_EQ(AsPrinted(d), VekCli(args));
    EXPECT_EQ(d.windowTitle(), QString::fromStdString(d.Model()->Caption()));
    EXPECT_EQ(test::FindIn<QPushButton>(&d, "cmdClose")->text(), "Schließen");
    EXPECT_EQ(test::FindIn<QComboBox>(&d, "cboSortBy")->itemText(0).toStdString(),
              SortChoiceTexts(Mode::World, window->State().Texts())[0]);

    // The help viewer shows the German help with German buttons.
    EXPECT_EQ(viewer->Filename(), std::string(VEK_BIN_DIR) + "/vek_help_de.txt");
    EXPECT_EQ(viewer->windowTitle(), "Hilfe");
    EXPECT_TRUE(
        test::FindIn<QPlainTextEdit>(viewer, "txbText1")->toPlainText().contains("Benutzerhandbuch"));
    EXPECT_EQ(test::FindIn<QPushButton>(viewer, "cmdClose")->text(), "Schließen");
}

TEST_F(DurationsWindowTest, DurationsWindowCopiesTitleAndOutput) {
    FrmDurations& d = OpenReport();
    ASSERT_NE(d.Model(), nullptr);
    test::FindIn<QComboBox>(&d, "cboSortBy")->setCurrentIndex(0);
    QApplication::clipboard()->setText("something else");
    test::FindIn<QPushButton>(&d, "cmdCopy")->click();
    const QString copied = QApplication::clipboard()->text();
    // The title line, two line breaks and the lines as shown.
    const QString title = test::FindIn<QLabel>(&d, "lblTitle")->text();
    const QString output = test::FindIn<QPlainTextEdit>(&d, "txbOutput")->toPlainText();
    EXPECT_FALSE(title.isEmpty());
    EXPECT_FALSE(output.isEmpty());
    EXPECT_EQ(copied, title + "\n\n" + output);
    EXPECT_TRUE(copied.startsWith("World transits on July 4, 2010"));
}

TEST_F(DurationsWindowTest, DurationsWindowReportWithoutAspectsGivesAMessage) {
    // A state whose orbs are all 0°: the table shows no aspect.
    std::ifstream in(std::string(VEK_TEST_DATA_DIR) + "/state/expected.vek", std::ios::binary);
    std::string line, state;
    for (int n = 1; std::getline(in, line); ++n)
        state += (n >= 33 && n <= 40 ? "0\r" : line) + "\n";
    const QString path = tmp.filePath("no-orbs.vek");
    std::ofstream(path.toStdString(), std::ios::binary) << state;
    dialogs.QueueFileName(path);
    Button("cmdLoadState")->click();
    ASSERT_EQ(dialogs.Count(ScriptedDialogs::Kind::Message), 0);

    struct Case {
        const char* option;
        TextId message;
    };
    for (const Case& c : {Case{"optPersonal_0", kTextNoTransitsToReport},
                          Case{"optPlanetary", kTextNoAspectsToReport},
                          Case{"optNatal_0", kTextNoAspectsToReport}}) {
        SCOPED_TRACE(c.option);
        Option(c.option)->click();
        dialogs.Clear();
        Button("cmdReport")->click();
        ASSERT_EQ(dialogs.asked().size(), 1u);
        EXPECT_EQ(dialogs.asked()[0].kind, ScriptedDialogs::Kind::Message);
        EXPECT_EQ(dialogs.asked()[0].text, PT(c.message));
        EXPECT_EQ(dialogs.asked()[0].title, PT(kTextReport));
        EXPECT_EQ(dialogs.asked()[0].icon, MessageIcon::Information);
        EXPECT_TRUE(window->DurationsWindow() == nullptr);
    }
    // The lunar nodes turned on find no aspect within orbs of 0° either.
    Button("cmdConfigure")->click();
    test::FindIn<QCheckBox>(window->Configuration(), "chkLunarNodes")->click();
    test::FindIn<QPushButton>(window->Configuration(), "cmdAccept")->click();
    ASSERT_TRUE(window->CoreSettings().accepted.Extras.lunarNodes);
    Option("optPlanetary")->click();
    dialogs.Clear();
    Button("cmdReport")->click();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].text, PT(kTextNoAspectsToReport));
    EXPECT_TRUE(window->DurationsWindow() == nullptr);
}

TEST_F(DurationsWindowTest, DurationsWindowShowsTheNatalReport) {
    EnterBirthdate(kBirth1, 3, 21, "1970");
    EnterBirthdate(kBirth2, 11, 2, "1985");
    struct Case {
        const char* option;
        const char* cliMode;
        TextId caption;
    };
    for (const Case& c : {Case{"optNatal_0", "natal1", kTextNatalReportCaption},
                          Case{"optSynastry", "synastry", kTextSynastryReportCaption}}) {
        SCOPED_TRACE(c.option);
        Option(c.option)->click();
        ASSERT_TRUE(dialogs.asked().empty()) << dialogs.asked()[0].text.toStdString();
        FrmDurations& d = OpenReport();
        ASSERT_NE(d.Model(), nullptr);
        EXPECT_EQ(d.windowTitle(), PT(c.caption));
        // No sort list and no "Show duration": the report is prose.
        EXPECT_FALSE(test::FindIn<QComboBox>(&d, "cboSortBy")->isVisible());
        EXPECT_FALSE(test::FindIn<QCheckBox>(&d, "chkShowDuration")->isVisible());
        const std::string cli = VekCli({"report", "--mode", c.cliMode, "--birth1",
                                        "1970-03-21T12:00Z", "--birth2", "1985-11-02T12:00Z"});
        EXPECT_EQ(AsPrinted(d), cli);
        EXPECT_NE(d.OutputText().find("aspects in this"), std::string::npos);
        if (std::string(c.cliMode) == "natal1") Snapshot(d, "durations_natal_en");
    }
}

TEST_F(DurationsWindowTest, DurationsWindowBuildsInTheBackgroundAndStops) {
    FrmDurations& d = OpenReport();
    ASSERT_NE(d.Model(), nullptr);
    const std::string quick = d.OutputText();
    EXPECT_EQ(d.BuildCount(), 1);
    test::FindIn<QPushButton>(&d, "cmdClose")->click();

    // Every build goes to the background; this one is held after its first
    // search and stopped by closing the window.
    d.SetBlinkMilliseconds(0);
    Gate gate;
    d.SetBuildObserver([&gate](int done, int) {
        if (done == 1) gate.Hold();
    });
    QSignalSpy shown(&d, &FrmDurations::ReportShown);
    Button("cmdReport")->click();
    gate.WaitUntilReached();
    EXPECT_TRUE(d.Building());
    EXPECT_EQ(d.Model(), nullptr);
    auto* progress = test::FindIn<QProgressBar>(&d, "prgBuild");
    // The window goes on meanwhile: its progress timer shows the held
    // build's first search (a minute at most on a loaded machine).
    QElapsedTimer waited;
    waited.start();
    while (progress->value() != 1 && waited.elapsed() < 60000) QTest::qWait(10);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->value(), 1);
    EXPECT_GT(progress->maximum(), 1);
    // A second click during the build does not build again.
    Button("cmdReport")->click();
    EXPECT_EQ(d.BuildCount(), 2);

    test::FindIn<QPushButton>(&d, "cmdClose")->click();
    EXPECT_FALSE(d.Building());
    EXPECT_FALSE(progress->isVisible());
    gate.Open();
    QTest::qWait(200);
    EXPECT_EQ(shown.count(), 0);
    EXPECT_EQ(d.Model(), nullptr);

    // The next opening builds in the background to the end.
    d.SetBuildObserver(nullptr);
    Button("cmdReport")->click();
    // As long as the build runs, however slow a loaded machine makes it: the
    // window shows the report in the same step that ends the build.
    while (shown.count() == 0 && d.Building()) shown.wait(100);
    ASSERT_EQ(shown.count(), 1);
    EXPECT_EQ(d.BuildCount(), 3);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(d.OutputText(), quick);
}

TEST_F(DurationsWindowTest, DurationsWindowGoesAwayDuringABuild) {
    FrmDurations& d = OpenReport();
    d.SetBlinkMilliseconds(0);
    Gate gate;
    d.SetBuildObserver([&gate](int done, int) {
        if (done == 1) gate.Hold();
    });
    test::FindIn<QPushButton>(&d, "cmdClose")->click();
    Button("cmdReport")->click();
    gate.WaitUntilReached();
    ASSERT_TRUE(d.Building());
    // The program ends while the worker is held: the window waits for it.
    std::thread release([&gate] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        gate.Open();
    });
    window.reset();
    release.join();
    QTest::qWait(50);  // nothing queued for the window arrives any more
}

TEST(DurationsWindowPlacement, DurationsWindowStandsBelowTheTable) {
    // World transits: two cell rows below the table's top; the bottom 200
    // below the main window's.
    const DurationsPlacement w =
        PlaceDurationsWindow(Mode::World, 300, 100, 15000, 11000, 2640, 570);
    EXPECT_EQ(w.left, 300);
    EXPECT_EQ(w.width, 13000);
    EXPECT_EQ(w.top, 2640 + 100 + 2 * 570 + 250);
    EXPECT_EQ(w.top + w.height, 100 + 11000 + 200);
    const DurationsPlacement p =
        PlaceDurationsWindow(Mode::Personal1, 0, 0, 15000, 11000, 2640, 570);
    EXPECT_EQ(p.top, 2640 + 2150);
    EXPECT_EQ(p.top + p.height, 11200);
    // A small main window still gives a usable report window.
    const DurationsPlacement s = PlaceDurationsWindow(Mode::Synastry, 0, 0, 9000, 4800, 2640, 570);
    EXPECT_GE(s.width, 8000);
    EXPECT_GE(s.height, 3000);
}

}  // namespace
}  // namespace vek::gui
