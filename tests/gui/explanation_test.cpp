// Explanations of single aspects in the main window: double-clicks on aspect
// cells in every mode, the transit graph of a personal transit with the
// window it locks, right-clicks on the graph and on the chart wheel, and
// saving the graph. Every question goes to scripted dialogs.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "../program_texts.h"
#include "app/state_file.h"
#include "display/aspect_explanation.h"
#include "display/transit_graph.h"
#include "engine/modes.h"
#include "gui/chart_view.h"
#include "gui/dialogs.h"
#include "gui/frm_configure.h"
#include "gui/frm_durations.h"
#include "gui/frm_main.h"
#include "gui/frm_view.h"
#include "gui/table_grid.h"
#include "gui/twips.h"
#include "paint/chart_painter.h"
#include "qt_app.h"
#include "time/date_rows.h"
#include "util/text.h"

namespace vek::gui {
namespace {

using test::App;

// Scripted answers; with VEK_SCREENSHOT_DIR set, a question is also shown in
// a real message box, which is saved there as a picture before it closes.
// Whether the durations report window is open.
bool ReportShown(const FrmMain& w) {
    return w.DurationsWindow() != nullptr && w.DurationsWindow()->isVisible();
}

class PictureDialogs : public ScriptedDialogs {
  public:
    QString pictureName;  // the next question's picture

    Answer AskYesNo(const QString& text, const QString& title, Answer defaultButton) override {
        const QString dir = qEnvironmentVariable("VEK_SCREENSHOT_DIR");
        if (!dir.isEmpty() && !pictureName.isEmpty()) {
            const QString file = dir + "/" + pictureName + ".png";
            QTimer::singleShot(200, [file] {
                if (QWidget* box = QApplication::activeModalWidget()) {
                    box->grab().save(file);
                    box->close();
                }
            });
            QtDialogs(nullptr).AskYesNo(text, title, defaultButton);
            pictureName.clear();
        }
        return ScriptedDialogs::AskYesNo(text, title, defaultButton);
    }
};

class ExplanationTest : public test::MainWindowTest<PictureDialogs> {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_GT(testing::RealTextTable().Count(), 0);
        // World date 4 July 2010 at 12:00 GMT; 1st birthdate 4 July 1960 at
        // 12:00 GMT−5; 2nd birthdate 1 March 1965 at 8:00 GMT.
        state.dateRows[kWorldDate] = {7, 4, "2010", kNoonTimeIndex, kGreenwichZoneIndex};
        state.dateRows[kBirth1] = {7, 4, "1960", kNoonTimeIndex, kGreenwichZoneIndex - 10};
        state.dateRows[kBirth2] = {3, 1, "1965", 17, kGreenwichZoneIndex};
        state.mode = Mode::World;
        state.steppingIntervalIndex = 2;  // a day
    }

    // Starts the window from `state` as its automatic state file.
    FrmMain& Start() {
        const Status saved = SaveStateFile(env.autoStatePath, state);
        EXPECT_TRUE(saved) << saved.message();
        FrmMain& w = MainWindowTest::Start();
        dialogs.Clear();
        return w;
    }

    // The first shown aspect cell of the table that `accept` takes.
    int FindAspectCell(const std::function<bool(const TableCell&)>& accept) const {
        const TableModel& t = window->Results().table;
        for (int i = 0; i < t.intNumCells; ++i) {
            const TableCell& c = t.txbCell[static_cast<size_t>(i)];
            if (c.kind == CellKind::Aspect && c.visible && c.aspect && accept(c)) return i;
        }
        return -1;
    }
    // The transiting (world transits: second) body of an aspect cell.
    static bool MovingMoon(const TableCell& c) { return c.second == kMoon || c.first == kMoon; }

    void DoubleClick(int cell) {
        QLabel* label = window->Grid()->Cell(cell);
        QTest::mouseDClick(label, Qt::LeftButton, {}, label->rect().center());
    }

    // The settings as the configuration dialog leaves them after "Use
    // settings", then the compute that dialog runs.
    void ChangeSettings(const std::function<void(Settings&)>& change) {
        change(const_cast<Settings&>(window->CoreSettings()));
        window->Compute();
    }

    AppState state;
};

TEST_F(ExplanationTest, AMoonAspectShowsFourHoursForEveryDegreeOfOrb) {
    for (int orb : {3, 5}) {
        SCOPED_TRACE(orb);
        state.settings.accepted.OrbIndex.fill(orb);
        state.settings.controls.orbIndex.fill(orb);
        Start();
        // Step a day at a time until the Moon is in an aspect.
        int cell = -1;
        for (int day = 0; day < 10 && cell < 0; ++day) {
            cell = FindAspectCell([](const TableCell& c) { return c.second == kMoon; });
            if (cell < 0) Button("cmdForwardBack_0")->click();
        }
        ASSERT_GE(cell, 0);
        const TableCell& c = window->Results().table.txbCell[static_cast<size_t>(cell)];
        DoubleClick(cell);
        ASSERT_EQ(dialogs.asked().size(), 1u);
        const ScriptedDialogs::Asked& a = dialogs.asked()[0];
        EXPECT_EQ(a.kind, ScriptedDialogs::Kind::Message);
        EXPECT_EQ(a.icon, MessageIcon::Information);
        const NameTables& names = window->CoreEngine().names;
        EXPECT_EQ(a.title.toStdString(), names.BodyName[*c.first] + " " +
                                             names.AspectPhrase[*c.aspect] + " " +
                                             names.BodyName[kMoon]);
        QString expected = PT(kTextMoonExplanation);
        expected.replace("12", QString::number(4 * orb));
        // The fixed text as it was, then the Moon's own instants.
        EXPECT_TRUE(a.text.startsWith(expected + "\nEnters the orb ")) << a.text.toStdString();
        EXPECT_TRUE(a.text.contains("\nLeaves the orb ")) << a.text.toStdString();
        EXPECT_EQ(a.text.contains("12 hours"), orb == 3);
        EXPECT_EQ(a.text.contains("20 hours"), orb == 5);
    }
}

TEST_F(ExplanationTest, AWorldTransitExplainsItsDatesAndOffersTheDurations) {
    FrmMain& w = Start();
    const int cell = FindAspectCell([](const TableCell& c) { return !MovingMoon(c); });
    ASSERT_GE(cell, 0);
    const TableCell& c = w.Results().table.txbCell[static_cast<size_t>(cell)];
    const NameTables& names = w.CoreEngine().names;
    Find<QLineEdit>("txbYearCE_0")->setFocus();

    dialogs.QueueAnswer(Answer::No);
    DoubleClick(cell);
    ASSERT_EQ(dialogs.asked().size(), 1u);
    const ScriptedDialogs::Asked a = dialogs.asked()[0];
    EXPECT_EQ(a.kind, ScriptedDialogs::Kind::Question);
    EXPECT_TRUE(a.scripted);
    EXPECT_EQ(a.defaultButton, Answer::No);
    EXPECT_EQ(a.title.toStdString(), names.BodyName[*c.first] + " " + names.AspectPhrase[*c.aspect] +
                                         " " + names.BodyName[*c.second]);
    const std::string name = LowerCase(names.AspectName[*c.aspect]);
    EXPECT_TRUE(a.text.startsWith("With an orb of ")) << a.text.toStdString();
    EXPECT_TRUE(a.text.contains(QString::fromStdString(" this " + name + "\nbegins on ")));
    EXPECT_TRUE(a.text.contains("2010")) << a.text.toStdString();
    EXPECT_TRUE(a.text.endsWith("\n\nShow the durations of all current world transits?"));
    // After the dates, on lines of their own, the instants of the pass to
    // the minute in the World date's zone (GMT).
    const qsizetype dates = a.text.indexOf(".\nEnters the orb 20");
    ASSERT_GT(dates, 0) << a.text.toStdString();
    const QString instants = a.text.mid(dates + 2).section("\n\n", 0, 0);
    const QStringList lines = instants.split('\n');
    ASSERT_EQ(lines.size(), 3) << instants.toStdString();
    EXPECT_TRUE(QRegularExpression("^Enters the orb 20\\d\\d-\\d\\d-\\d\\dT\\d\\d:\\d\\d\\+00:00$")
                    .match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("Exact 20") || lines[1] == "Not exact in this pass")
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("Leaves the orb 20")) << lines[2].toStdString();
    EXPECT_FALSE(ReportShown(w));
    EXPECT_EQ(w.focusWidget(), Button("cmdCompute"));
    EXPECT_FALSE(w.Grid()->Cell(cell)->hasSelectedText());

    // "Yes" opens the durations report.
    dialogs.QueueAnswer(Answer::Yes);
    DoubleClick(cell);
    EXPECT_TRUE(ReportShown(w));
    EXPECT_FALSE(w.GraphShown());
    EXPECT_TRUE(w.Grid()->isVisible());
}

TEST_F(ExplanationTest, ACellWhoseAspectIsSwitchedOffOnlyLosesItsSelection) {
    FrmMain& w = Start();
    const int cell = FindAspectCell([](const TableCell& c) { return !MovingMoon(c); });
    ASSERT_GE(cell, 0);
    const Aspect aspect = *w.Results().table.txbCell[static_cast<size_t>(cell)].aspect;
    ChangeSettings([aspect](Settings& s) { s.accepted.AspectColor[aspect] = Color(); });
    // The cell still holds the aspect, black on black.
    ASSERT_EQ(w.Results().table.txbCell[static_cast<size_t>(cell)].aspect, aspect);
    QLabel* label = w.Grid()->Cell(cell);
    label->setSelection(0, 3);
    ASSERT_TRUE(label->hasSelectedText());
    DoubleClick(cell);
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_FALSE(label->hasSelectedText());
    EXPECT_FALSE(ReportShown(w));
    EXPECT_FALSE(w.GraphShown());

    // An empty cell does nothing at all.
    const TableModel& t = w.Results().table;
    for (int i = 0; i < t.intNumCells; ++i) {
        const TableCell& c = t.txbCell[static_cast<size_t>(i)];
        if (c.kind == CellKind::Aspect && c.visible && !c.aspect) {
            DoubleClick(i);
            break;
        }
    }
    EXPECT_TRUE(dialogs.asked().empty());
}

TEST_F(ExplanationTest, InNatalAspectsAndSynastryADoubleClickOnlyMovesTheFocus) {
    FrmMain& w = Start();
    for (const char* mode : {"optNatal_0", "optNatal_1", "optSynastry"}) {
        SCOPED_TRACE(mode);
        Find<QRadioButton>(mode)->click();
        ASSERT_NE(w.ComputedMode(), Mode::World);
        const int cell = FindAspectCell([](const TableCell&) { return true; });
        ASSERT_GE(cell, 0);
        Find<QLineEdit>("txbYearCE_0")->setFocus();
        ASSERT_NE(w.focusWidget(), Button("cmdCompute"));
        DoubleClick(cell);
        EXPECT_TRUE(dialogs.asked().empty());
        EXPECT_EQ(w.focusWidget(), Button("cmdCompute"));
        EXPECT_TRUE(w.Grid()->isVisible());
    }
}

TEST_F(ExplanationTest, ARightClickOnAWheelLineNamesItsAspectAndNothingElseDoes) {
    FrmMain& w = Start();
    Button("cmdToggleGraphic")->click();
    ASSERT_TRUE(w.ChartShown());
    // A trine or a sextile line; the other aspect gets the same colour.
    const ChartPrimitive* line = nullptr;
    for (int day = 0; day < 10 && !line; ++day) {
        for (const ChartPrimitive& p : w.Graphic()->Wheel().items)
            if (p.role == ChartRole::AspectLine && (p.aspect == kTrine || p.aspect == kSextile))
                line = &p;
        if (!line) Button("cmdForwardBack_0")->click();
    }
    ASSERT_NE(line, nullptr);
    ChangeSettings([](Settings& s) { s.accepted.AspectColor[kSextile] = Rgb(0, 255, 0); });
    ASSERT_TRUE(w.ChartShown());
    const ChartWheel& wheel = w.Graphic()->Wheel();
    line = nullptr;
    for (const ChartPrimitive& p : wheel.items)
        if (p.role == ChartRole::AspectLine && (p.aspect == kTrine || p.aspect == kSextile))
            line = &p;
    ASSERT_NE(line, nullptr);

    const double k = Twips::PixelsPerTwip();
    auto rightClick = [&](int x, int y) {
        // The box shows the legend's band above the drawing.
        QTest::mouseClick(w.Graphic(), Qt::RightButton, {},
                          QPoint(static_cast<int>(x * k),
                                 static_cast<int>((y + w.Graphic()->Band()) * k)));
    };
    // A point of the line drawn in its colour (not under a glyph).
    std::optional<QPoint> onLine;
    for (int i = 20; i <= 80 && !onLine; ++i) {
        const int x = line->x1 + (line->x2 - line->x1) * i / 100;
        const int y = line->y1 + (line->y2 - line->y1) * i / 100;
        const int cx = x / kTwipsPerPixel * kTwipsPerPixel + 7;
        const int cy = y / kTwipsPerPixel * kTwipsPerPixel + 7;
        if (paint::PixelColorAt(wheel, cx, cy) == Rgb(0, 255, 0) &&
            AspectLineNear(wheel, cx, cy, 45) == line && !BodyGlyphAt(wheel, cx, cy))
            onLine = QPoint(cx, cy);
    }
    ASSERT_TRUE(onLine);
    // Both bodies, the aspect (not its colour: two aspects share it) and the
    // deviation, under a title short enough to be read whole.
    const NameTables& names = w.Names();
    const QString named =
        QString::fromStdString(names.BodyName[*line->first] + " " + names.AspectNoun[*line->aspect] +
                               " " + names.BodyName[*line->second] + ", ");
    rightClick(onLine->x(), onLine->y());
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].title, PT(kTextChart));
    EXPECT_TRUE(dialogs.asked()[0].text.startsWith(named)) << dialogs.asked()[0].text.toStdString();
    EXPECT_TRUE(dialogs.asked()[0].text.endsWith("' from exact"));
    EXPECT_EQ(dialogs.asked()[0].icon, MessageIcon::None);

    // Hovering over the line emphasises it and names it in the tool tip;
    // off it, neither.
    auto hover = [&](int x, int y) {
        QTest::mouseMove(w.Graphic(), QPoint(static_cast<int>(x * k),
                                             static_cast<int>((y + w.Graphic()->Band()) * k)));
        QApplication::processEvents();
    };
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    hover(onLine->x(), onLine->y());
    EXPECT_EQ(w.Graphic()->Highlight(), static_cast<int>(line - wheel.items.data()));
    EXPECT_EQ(w.Graphic()->toolTip(), dialogs.asked()[0].text);
    // The emphasis is painted: the line is wider.
    auto lineInk = [&](const ChartWheel& drawn) {
        const QImage image = paint::RenderChart(drawn, 1);
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == qRgb(0, 255, 0);
        return n;
    };
    ChartWheel plain = wheel;
    plain.highlight = -1;
    EXPECT_GT(lineInk(wheel), lineInk(plain) + 20);

    // The grey around the disc, the rim and the black of the disc name
    // nothing; a glyph names its body; a left click does nothing.
    dialogs.Clear();
    const WheelGeometry& g = wheel.geometry;
    rightClick(7, 7);
    rightClick(g.cx + g.discRadius / kTwipsPerPixel * kTwipsPerPixel - 8, g.cy + 7);
    std::optional<QPoint> black, glyph;
    for (int y = g.cy - 1500; y < g.cy + 1500 && !black; y += 15)
        if (paint::PixelColorAt(wheel, g.cx + 1507, y) == Color()) black = QPoint(g.cx + 1507, y);
    const ChartWheel::Anchor& sun = wheel.anchors[0][kSun];
    for (int y = sun.y; y < sun.y + 300 && !glyph; y += 15)
        for (int x = sun.x; x < sun.x + 250 && !glyph; x += 15)
            if (paint::PixelColorAt(wheel, x + 7, y + 7) == Rgb(255, 255, 255))
                glyph = QPoint(x + 7, y + 7);
    ASSERT_TRUE(black);
    ASSERT_TRUE(glyph);
    rightClick(black->x(), black->y());
    hover(black->x(), black->y());
    EXPECT_EQ(w.Graphic()->Highlight(), -1);
    EXPECT_EQ(w.Graphic()->toolTip(), QString());
    QTest::mouseClick(w.Graphic(), Qt::LeftButton, {},
                      QPoint(static_cast<int>(onLine->x() * k), static_cast<int>(onLine->y() * k)));
    EXPECT_TRUE(dialogs.asked().empty());
    rightClick(glyph->x(), glyph->y());
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_TRUE(dialogs.asked()[0].text.startsWith(QString::fromStdString(names.BodyName[kSun]) + ": "));
    hover(glyph->x(), glyph->y());
    EXPECT_EQ(w.Graphic()->toolTip(), dialogs.asked()[0].text);
    ASSERT_GE(w.Graphic()->Highlight(), 0);
    EXPECT_EQ(wheel.items[static_cast<size_t>(w.Graphic()->Highlight())].body, kSun);
}

TEST_F(ExplanationTest, HoveringOverATableCellEmphasisesAndNamesIt) {
    FrmMain& w = Start();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const int cell = FindAspectCell([](const TableCell&) { return true; });
    ASSERT_GE(cell, 0);
    const TableCell& c = w.Results().table.txbCell[static_cast<size_t>(cell)];
    const NameTables& names = w.Names();
    QLabel* label = w.Grid()->Cell(cell);
    EXPECT_TRUE(label->toolTip().startsWith(QString::fromStdString(
        names.BodyName[*c.first] + " " + names.AspectNoun[*c.aspect] + " " + names.BodyName[*c.second])))
        << label->toolTip().toStdString();
    const QColor normal = label->palette().color(QPalette::Light);
    QTest::mouseMove(label, label->rect().center());
    QApplication::processEvents();
    EXPECT_EQ(w.Grid()->Hovered(), cell);
    EXPECT_EQ(label->palette().color(QPalette::Light), ColorFromValue(TableGrid::kHoverBorderColor));
    // A glyph header names nothing and is not emphasised; the cell left
    // goes back to its border.
    const int header = w.Results().table.intNumCols;  // row 1, column 0: Sun's glyph
    ASSERT_EQ(w.Results().table.txbCell[static_cast<size_t>(header)].kind, CellKind::Header);
    QLabel* glyph = w.Grid()->Cell(header);
    EXPECT_EQ(glyph->toolTip(), QString());
    QTest::mouseMove(glyph, glyph->rect().center());
    QApplication::processEvents();
    EXPECT_EQ(w.Grid()->Hovered(), -1);
    EXPECT_EQ(label->palette().color(QPalette::Light), normal);
    // A position cell names its body.
    QLabel* position = w.Grid()->Cell(0);
    EXPECT_TRUE(position->toolTip().startsWith(QString::fromStdString(names.BodyName[kSun]) + ": "));
}

// ---------------------------------------------------------------------------
// The transit graph

class TransitGraphTest : public ExplanationTest {
  protected:
    // Personal transits to the 1st birthdate, and a transit of a planet.
    int StartPersonal() {
        Start();
        Find<QRadioButton>("optPersonal_0")->click();
        EXPECT_EQ(window->ComputedMode(), Mode::Personal1);
        return FindAspectCell([](const TableCell& c) { return c.second != kMoon; });
    }
    void ShowGraph() {
        const int cell = StartPersonal();
        ASSERT_GE(cell, 0);
        DoubleClick(cell);
        ASSERT_TRUE(dialogs.asked().empty());
        ASSERT_TRUE(window->GraphShown());
    }
    void RightClickAt(int xTwips, int yTwips) {
        const double k = Twips::PixelsPerTwip();
        QTest::mouseClick(window->Graphic(), Qt::RightButton, {},
                          QPoint(static_cast<int>(xTwips * k), static_cast<int>(yTwips * k)));
    }
};

TEST_F(TransitGraphTest, APersonalTransitDrawsTheGraphAndLeavesOnlySaveToggleAndQuit) {
    int hidden = 0, shown = 0;
    const int cell = StartPersonal();
    ASSERT_GE(cell, 0);
    FrmMain& w = *window;
    // The help viewer is open: a window of its own, which the graph leaves
    // alone.
    Button("cmdHelp")->click();
    ASSERT_NE(w.Viewer(), nullptr);
    QPushButton* closeHelp = w.Viewer()->findChild<QPushButton*>("cmdClose");
    ASSERT_NE(closeHelp, nullptr);
    w.SetConfigDialogHooks({[] { return true; }, [&] { ++hidden; }, [&] { ++shown; }});
    const TableCell c = w.Results().table.txbCell[static_cast<size_t>(cell)];
    DoubleClick(cell);
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_FALSE(ReportShown(w));
    ASSERT_TRUE(w.GraphShown());
    EXPECT_TRUE(w.ConfigHiddenByGraph());
    EXPECT_EQ(hidden, 1);

    ChartView* graphic = w.Graphic();
    EXPECT_TRUE(graphic->isVisible());
    EXPECT_FALSE(w.Grid()->isVisible());
    EXPECT_EQ(Twips::Left(graphic), 750);
    EXPECT_EQ(Twips::Width(graphic), 10950);
    EXPECT_EQ(Twips::Height(graphic), 6600);
    EXPECT_EQ(graphic->y(), w.Grid()->y());
    EXPECT_EQ(graphic->toolTip(), PT(kTextGraphTip));
    EXPECT_TRUE(Find<QLabel>("lblClickonAspect")->text().isEmpty());
    EXPECT_EQ(Button("cmdToggleGraphic")->text(), PT(kTextShowTable));
    EXPECT_EQ(Button("cmdSaveAs")->text(), PT(kTextSaveImageAs));
    EXPECT_FALSE(Button("cmdRun")->isVisible());

    // The graph of the cell's transit: natal body (row), transiting body
    // (column), the aspect's colour, the birthdate in the title.
    const TransitGraph& g = w.ShownTransitGraph();
    EXPECT_EQ(graphic->Wheel().items.size(), g.drawing.items.size());
    EXPECT_FALSE(g.curve.empty());
    const NameTables& names = w.CoreEngine().names;
    const std::string title = g.title;
    EXPECT_EQ(title.rfind("Transiting " + names.BodyName[*c.second] + " in ", 0), 0u) << title;
    EXPECT_NE(title.find("natal " + names.BodyName[*c.first] + " (1960-07-04), orb "),
              std::string::npos)
        << title;
    EXPECT_NE(title.find(", tropical zodiac"), std::string::npos);
    for (const ChartPrimitive& p : g.drawing.items)
        if (p.role == ChartRole::GraphCurve && p.width == 2) {
            EXPECT_EQ(p.color, w.CoreSettings().accepted.AspectColor[*c.aspect]);
        }
    Snapshot("transit_graph");

    // Everything else waits, the timer's tick included.
    for (const char* name : {"cmdCompute", "cmdNow", "cmdForwardBack_0", "cmdForwardBack_1",
                             "cmdSave", "cmdRestore", "cmdHelp"})
        EXPECT_FALSE(Button(name)->isEnabled()) << name;
    for (const char* name : {"optPlanetary", "optPersonal_0", "optSynastry", "optGerman"})
        EXPECT_FALSE(Find<QRadioButton>(name)->isEnabled()) << name;
    EXPECT_FALSE(Find<QComboBox>("cboMonthCE_0")->isEnabled());
    EXPECT_FALSE(Find<QComboBox>("cboForwardBack")->isEnabled());
    EXPECT_FALSE(Find<QLineEdit>("txbYearCE_0")->isEnabled());
    EXPECT_FALSE(Find<QLabel>("lblTitle")->isEnabled());
    for (const char* name : {"cmdSaveAs", "cmdToggleGraphic", "cmdQuit"})
        EXPECT_TRUE(Button(name)->isEnabled()) << name;
    EXPECT_TRUE(closeHelp->isEnabled());
    EXPECT_TRUE(w.Viewer()->findChild<QWidget*>("txbText1")->isEnabled());
    w.TimerTick();
    EXPECT_FALSE(Button("cmdForwardBack_0")->isEnabled());
    EXPECT_FALSE(Button("cmdRun")->isVisible());

    // The toggle goes back to the table and gives everything back, the
    // configuration dialog included.
    Button("cmdToggleGraphic")->click();
    EXPECT_FALSE(w.GraphShown());
    EXPECT_FALSE(w.ConfigHiddenByGraph());
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(w.Grid()->isVisible());
    EXPECT_FALSE(graphic->isVisible());
    EXPECT_TRUE(graphic->toolTip().isEmpty());
    EXPECT_EQ(Button("cmdToggleGraphic")->text(), PT(kTextShowChart));
    for (const char* name : {"cmdCompute", "cmdNow", "cmdForwardBack_0", "cmdSave", "cmdHelp"})
        EXPECT_TRUE(Button(name)->isEnabled()) << name;
    EXPECT_TRUE(Find<QRadioButton>("optPlanetary")->isEnabled());
    EXPECT_TRUE(Find<QLineEdit>("txbYearCE_0")->isEnabled());
    EXPECT_TRUE(Find<QComboBox>("cboMonthCE_0")->isEnabled());

    // A dialog that was not open stays closed.
    w.SetConfigDialogHooks({[] { return false; }, [&] { ++hidden; }, [&] { ++shown; }});
    DoubleClick(cell);
    ASSERT_TRUE(w.GraphShown());
    EXPECT_FALSE(w.ConfigHiddenByGraph());
    Button("cmdToggleGraphic")->click();
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(shown, 1);
}

TEST_F(TransitGraphTest, TheGraphHidesTheOpenConfigurationDialogAndTheToggleBringsItBack) {
    const int cell = StartPersonal();
    ASSERT_GE(cell, 0);
    FrmMain& w = *window;
    Button("cmdConfigure")->click();
    ASSERT_NE(w.Configuration(), nullptr);
    ASSERT_TRUE(w.Configuration()->isVisible());
    DoubleClick(cell);
    ASSERT_TRUE(w.GraphShown());
    EXPECT_TRUE(w.ConfigHiddenByGraph());
    EXPECT_FALSE(w.Configuration()->isVisible());
    Button("cmdToggleGraphic")->click();
    EXPECT_FALSE(w.GraphShown());
    EXPECT_TRUE(w.Configuration()->isVisible());

    // Hidden by the user first, it stays hidden through the graph.
    w.Configuration()->HideDialog();
    DoubleClick(cell);
    ASSERT_TRUE(w.GraphShown());
    EXPECT_FALSE(w.ConfigHiddenByGraph());
    Button("cmdToggleGraphic")->click();
    EXPECT_FALSE(w.Configuration()->isVisible());
}

TEST_F(TransitGraphTest, ARightClickReadsBackACurvePointAndNothingOnBlack) {
    ShowGraph();
    const TransitGraph& g = window->ShownTransitGraph();
    const ChartWheel& drawing = window->Graphic()->Wheel();
    // A black point of the plot, between grid lines and away from the curves.
    std::optional<QPoint> black;
    for (int col = 130; col < 710 && !black; ++col) {
        const int x = col * kTwipsPerPixel + 7, y = (kGraphFirstRow + 7) * kTwipsPerPixel + 7;
        if (paint::PixelColorAt(drawing, x, y) == Color() && ReadGraphAt(g, x, y)) black = QPoint(x, y);
    }
    ASSERT_TRUE(black);
    RightClickAt(black->x(), black->y());
    EXPECT_TRUE(dialogs.asked().empty());
    // A label left of the plot is not read either.
    RightClickAt(7 * kTwipsPerPixel, (kGraphFirstRow + 14) * kTwipsPerPixel + 7);
    EXPECT_TRUE(dialogs.asked().empty());
    EXPECT_EQ(window->Graphic()->toolTip(), QString());  // a right-click clears it

    // A point of the curve in the aspect's colour, away from the marks of
    // the exact passes.
    ASSERT_FALSE(g.marks.empty());
    GraphPoint p = g.curve.front();
    for (const GraphPoint& q : g.curve) {
        bool far = true;
        for (const TransitGraph::Mark& m : g.marks) far &= std::abs(q.row - m.row) > 10;
        if (far && std::abs(q.column - kGraphExactColumn) > 20) p = q;
    }
    const int x = p.column * kTwipsPerPixel + 7, y = p.row * kTwipsPerPixel + 7;
    ASSERT_NE(paint::PixelColorAt(drawing, x, y), Color());
    RightClickAt(x, y);
    ASSERT_EQ(dialogs.asked().size(), 1u);
    const ScriptedDialogs::Asked& a = dialogs.asked()[0];
    EXPECT_EQ(a.title, PT(kTextTransitGraph));
    EXPECT_EQ(a.icon, MessageIcon::None);
    const std::optional<GraphReading> r = ReadGraphAt(g, x, y);
    ASSERT_TRUE(r);
    EXPECT_EQ(a.text.toStdString(), GraphReadingText(window->State().Texts(), *r));
    EXPECT_TRUE(a.text.startsWith("Date and time: " + QString::fromStdString(r->date)));
    EXPECT_NEAR(r->deviation, p.difference, g.orb / kGraphHalfWidth);
    EXPECT_FALSE(r->exactPass);

    // The mark of an exact pass reads back its instant, no distance.
    const TransitGraph::Mark& m = g.marks.front();
    const int mx = kGraphExactColumn * kTwipsPerPixel + 7, my = m.row * kTwipsPerPixel + 7;
    ASSERT_EQ(paint::PixelColorAt(drawing, mx, my), g.color);
    RightClickAt(mx, my);
    ASSERT_EQ(dialogs.asked().size(), 2u);
    const std::optional<GraphReading> exact = ReadGraphAt(g, mx, my);
    ASSERT_TRUE(exact);
    EXPECT_TRUE(exact->exactPass);
    EXPECT_EQ(exact->day, m.day);
    EXPECT_EQ(dialogs.asked()[1].text.toStdString(),
              GraphReadingText(window->State().Texts(), *exact));
}

TEST_F(TransitGraphTest, SavingWhileTheGraphIsShownWritesTheGraph) {
    ShowGraph();
    const TransitGraph& g = window->ShownTransitGraph();
    const QString png = tmp.filePath("graph.png");
    dialogs.QueueFileName(png);
    Button("cmdSaveAs")->click();
    ASSERT_EQ(dialogs.asked().size(), 2u);
    EXPECT_EQ(dialogs.asked()[0].title, PT(kTextSaveGraphImageTitle));
    EXPECT_EQ(dialogs.asked()[1].text, PT(kTextImageSaved) + "\n" + png);
    QImage image(png);
    ASSERT_FALSE(image.isNull());
    // The graph's size, as shown: no legend, no annotation.
    const double scale = double(image.width()) / (kGraphBoxWidth / kTwipsPerPixel);
    EXPECT_GE(scale, 1.0);
    EXPECT_EQ(image.height(), qRound(kGraphBoxHeight / kTwipsPerPixel * scale));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
    const GraphPoint& p = g.curve[g.curve.size() / 2];
    const QColor at = image.pixelColor(int((p.column + 0.5) * scale), int((p.row + 0.5) * scale));
    EXPECT_EQ(Rgb(at.red(), at.green(), at.blue()),
              paint::PixelColorAt(window->Graphic()->Wheel(), p.column * 15 + 7, p.row * 15 + 7));
    // Still the graph afterwards.
    EXPECT_TRUE(window->GraphShown());
    EXPECT_TRUE(window->Graphic()->isVisible());

    const QString svg = tmp.filePath("graph.svg");
    dialogs.QueueFileName(svg);
    Button("cmdSaveAs")->click();
    EXPECT_EQ(dialogs.asked().back().text, PT(kTextImageSaved) + "\n" + svg);
    QFile f(svg);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray content = f.readAll();
    EXPECT_TRUE(content.contains("<svg"));
    EXPECT_TRUE(content.contains("1960-07-04"));
}

TEST_F(TransitGraphTest, GermanTitlesTextsAndQuestion) {
    state.settings.accepted.CurrentLanguage = kGerman;
    const int cell = StartPersonal();
    ASSERT_GE(cell, 0);
    Find<QRadioButton>("optGerman")->click();
    ASSERT_EQ(window->State().language, kGerman);
    dialogs.Clear();
    DoubleClick(cell);
    ASSERT_TRUE(window->GraphShown());
    const std::string& title = window->ShownTransitGraph().title;
    EXPECT_EQ(title.rfind("Transit: ", 0), 0u) << title;
    EXPECT_NE(title.find(" zu Radix"), std::string::npos) << title;
    EXPECT_NE(title.find("(1960-07-04), Orbis "), std::string::npos) << title;
    EXPECT_NE(title.find(", tropischer Tk"), std::string::npos) << title;
    EXPECT_EQ(window->Graphic()->toolTip(), PT(kTextGraphTip));
    Snapshot("transit_graph_de");
    Button("cmdToggleGraphic")->click();

    // World transits in German: the German explanation and question.
    Find<QRadioButton>("optPlanetary")->click();
    const int world = FindAspectCell([](const TableCell& c) { return !MovingMoon(c); });
    ASSERT_GE(world, 0);
    dialogs.pictureName = "explanation_de";
    dialogs.QueueAnswer(Answer::No);
    DoubleClick(world);
    ASSERT_EQ(dialogs.asked().size(), 1u);
    const QString q = dialogs.asked()[0].text;
    EXPECT_TRUE(q.startsWith("Bei einem Orbis von ")) << q.toStdString();
    EXPECT_TRUE(q.endsWith("\n\nDie Dauer aller aktuellen Welttransite sehen?")) << q.toStdString();

    // And the English question for the pictures.
    Find<QRadioButton>("optEnglish")->click();
    dialogs.Clear();
    dialogs.pictureName = "explanation_en";
    dialogs.QueueAnswer(Answer::No);
    DoubleClick(FindAspectCell([](const TableCell& c) { return !MovingMoon(c); }));
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_TRUE(dialogs.asked()[0].text.startsWith("With an orb of "));
}

}  // namespace
}  // namespace vek::gui
