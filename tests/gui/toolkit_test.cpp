// The window's building blocks: the dialog interface, the twips conversion,
// the glyph font and the aspect table's layouts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPainterPath>
#include <QRawFont>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "display/table_model.h"
#include "gui/dialogs.h"
#include "gui/fonts.h"
#include "gui/form_helpers.h"
#include "gui/popup.h"
#include "gui/table_grid.h"
#include "gui/twips.h"
#include "qt_app.h"

namespace vek::gui {
namespace {

using test::App;

TEST(ScriptedDialogs, AnswersFromTheQueueAndRecordsEveryQuestion) {
    ScriptedDialogs d;
    d.QueueAnswer(Answer::Yes);
    d.QueueAnswer(Answer::No);
    EXPECT_EQ(d.AskYesNoCancel("Save?", "Quit", Answer::No), Answer::Yes);
    d.Message("Bad date", "Input", MessageIcon::Information);
    EXPECT_EQ(d.AskYesNoCancel("Clear?", "Clear", Answer::Yes), Answer::No);
    // The queue is empty: Cancel, marked as not scripted.
    EXPECT_EQ(d.AskYesNoCancel("Again?", "Quit", Answer::No), Answer::Cancel);

    ASSERT_EQ(d.asked().size(), 4u);
    EXPECT_EQ(d.asked()[0].kind, ScriptedDialogs::Kind::Question);
    EXPECT_EQ(d.asked()[0].defaultButton, Answer::No);
    EXPECT_EQ(d.asked()[1].kind, ScriptedDialogs::Kind::Message);
    EXPECT_EQ(d.asked()[1].text, "Bad date");
    EXPECT_EQ(d.asked()[1].icon, MessageIcon::Information);
    EXPECT_EQ(d.asked()[2].title, "Clear");
    EXPECT_TRUE(d.asked()[2].scripted);
    EXPECT_FALSE(d.asked()[3].scripted);
    EXPECT_EQ(d.Count(ScriptedDialogs::Kind::Question), 3);
}

TEST(ScriptedDialogs, FileDialogsTakeNamesOrCancelFromTheQueue) {
    ScriptedDialogs d;
    d.QueueFileName(QString("/tmp/a.vek"));
    d.QueueFileName(std::nullopt);
    EXPECT_EQ(d.OpenFileName("Load", "State files (*.vek) | *.vek"), QString("/tmp/a.vek"));
    EXPECT_FALSE(d.SaveFileName("Save as", "x").has_value());
    EXPECT_FALSE(d.OpenFileName("Load", "x").has_value());  // nothing queued
    ASSERT_EQ(d.asked().size(), 3u);
    EXPECT_EQ(d.asked()[0].kind, ScriptedDialogs::Kind::OpenFile);
    EXPECT_EQ(d.asked()[1].kind, ScriptedDialogs::Kind::SaveFile);
    EXPECT_TRUE(d.asked()[1].scripted);
    EXPECT_FALSE(d.asked()[2].scripted);
}

TEST(QtFileFilter, TurnsDescriptionPatternPairsIntoQtFilters) {
    EXPECT_EQ(QtFileFilter("State files (*.vek) | *.vek"), "State files (*.vek)");
    EXPECT_EQ(QtFileFilter("Images|*.png|All|*.*"), "Images (*.png);;All (*.*)");
    EXPECT_EQ(QtFileFilter(""), "");
}

class TwipsTest : public ::testing::Test {
  protected:
    void SetUp() override { App(); }
    void TearDown() override { Twips::SetLogicalDpi(96); }
};

TEST_F(TwipsTest, FifteenTwipsMakeOnePixelAt96DpiAndScaleWithTheScreen) {
    Twips::SetLogicalDpi(96);
    EXPECT_EQ(Twips::ToPixels(15), 1);
    EXPECT_EQ(Twips::ToPixels(1440), 96);
    EXPECT_EQ(Twips::ToPixels(1080), 72);
    EXPECT_EQ(Twips::FromPixels(72), 1080);
    Twips::SetLogicalDpi(144);
    EXPECT_EQ(Twips::ToPixels(1440), 144);
    EXPECT_EQ(Twips::ToPixels(570), 57);
    Twips::SetLogicalDpi(0);  // refused: keeps 144
    EXPECT_EQ(Twips::LogicalDpi(), 144);
}

TEST_F(TwipsTest, PlacedControlsReadBackTheirDesignValuesAndTouchTheirNeighbours) {
    QWidget parent;
    QWidget a(&parent), b(&parent);
    // 1000 twips is 66.67 px: the read-back must still give 1000.
    Twips::Place(&a, 100, 2000, 1000, 285);
    Twips::Place(&b, 1100, 2000, 1000, 285);
    EXPECT_EQ(Twips::Left(&a), 100);
    EXPECT_EQ(Twips::Width(&a), 1000);
    EXPECT_EQ(Twips::Height(&a), 285);
    EXPECT_EQ(a.geometry().right() + 1, b.geometry().left());
    Twips::Move(&a, 300, 400);
    EXPECT_EQ(Twips::Top(&a), 400);
    EXPECT_EQ(Twips::Width(&a), 1000);
    // Moved behind the conversion's back: the pixels count.
    a.move(30, 40);
    EXPECT_EQ(Twips::Left(&a), 450);
}

TEST(GlyphFont, LoadsFromTheResourcesWithTheSymbolsAtTheGlyphLetters) {
    App();
    const Status fonts = InstallProgramFonts();
    EXPECT_TRUE(fonts) << fonts.message();
    EXPECT_TRUE(QFontDatabase::families().contains(kGlyphFontFamily));
    const QRawFont raw = QRawFont::fromFont(QFont(kGlyphFontFamily, 14));
    ASSERT_TRUE(raw.isValid());
    EXPECT_EQ(raw.familyName(), kGlyphFontFamily);
    const char* letters = "sfghjSFGJaxcvbnmXCVBNM";
    const char16_t symbols[] =
        u"\u2609\u263F\u2640\u2642\u2643\u2644\u2645\u2646\u2647\u263D"
        u"\u2648\u2649\u264A\u264B\u264C\u264D\u264E\u264F\u2650\u2651"
        u"\u2652\u2653";
    for (int i = 0; letters[i]; ++i) {
        const auto letter = raw.glyphIndexesForString(QString(QChar(letters[i])));
        const auto symbol = raw.glyphIndexesForString(QString(QChar(symbols[i])));
        ASSERT_EQ(letter.size(), 1);
        ASSERT_EQ(symbol.size(), 1);
        EXPECT_NE(letter[0], 0u) << letters[i];
        EXPECT_EQ(letter[0], symbol[0]) << letters[i];
        EXPECT_FALSE(raw.pathForGlyph(letter[0]).isEmpty()) << letters[i];
    }
    // Letters the glyph tables do not use stay unmapped.
    EXPECT_FALSE(raw.supportsCharacter(QChar('q')));
}

TEST(GlyphFont, WindowsFontNamesMapToMetricCompatibleFonts) {
    App();
    ASSERT_TRUE(InstallProgramFonts());
    EXPECT_EQ(QFontInfo(QFont("Arial", 10)).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(QFont("MS Sans Serif", 8)).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(QFont("Courier New", 10)).family(), "Liberation Mono");
}

TEST(PopUpTest, HidesAfterItsIntervalOrWhenClicked) {
    App();
    PopUp popUp;
    popUp.Show("Saved.", 2400, 300, 50, 1000, 2000);
    EXPECT_TRUE(popUp.isVisible());
    EXPECT_EQ(popUp.Message(), "Saved.");
    EXPECT_EQ(Twips::Width(&popUp), 2400);
    EXPECT_EQ(Twips::Left(&popUp), 2000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !popUp.isVisible(); }, 2000));

    // A new message while it shows restarts the timer; a click hides it.
    popUp.Show("One", 2400, 300, 60000, 0, 0);
    popUp.Show("Two", 2400, 300, 60000, 300, 0);
    EXPECT_EQ(popUp.Message(), "Two");
    EXPECT_EQ(Twips::Top(&popUp), 300);
    QTest::mouseClick(&popUp, Qt::LeftButton);
    EXPECT_FALSE(popUp.isVisible());
}

TEST(PopUpTest, CentresOnTheScreenByTheSizeItHadBefore) {
    App();
    PopUp popUp;  // designed 2400 × 300
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    popUp.ShowCenterScreen("Loading data ...", 2000, 300, 60000);
    EXPECT_EQ(popUp.x(), Twips::ToPixels(Twips::FromPixels(
                             screen.x() + (screen.width() - Twips::ToPixels(2400)) / 2)));
    EXPECT_EQ(popUp.width(), Twips::ToPixels(2000));
    popUp.hide();
}

// A window the screen can hold is only moved onto it; one wider or taller
// than the screen's free area shrinks to it (down to its minimum size) and
// then stands on it.
TEST(KeepFrameOnScreen, MovesAWindowOntoTheScreenAndShrinksOneLargerThanIt) {
    App();
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget small(nullptr, Qt::Window);
    small.setGeometry(avail.right() - 100, avail.top() + 10, 300, 200);
    small.show();
    EXPECT_TRUE(KeepFrameOnScreen(&small));
    EXPECT_EQ(small.size(), QSize(300, 200));
    EXPECT_EQ(small.frameGeometry().right(), avail.right());
    EXPECT_FALSE(KeepFrameOnScreen(&small));  // on the screen now

    QWidget wide(nullptr, Qt::Window);
    wide.setGeometry(avail.left() + 40, avail.top() + 10, avail.width() + 200, 200);
    wide.show();
    EXPECT_TRUE(KeepFrameOnScreen(&wide));
    EXPECT_EQ(wide.frameGeometry().width(), avail.width());
    EXPECT_EQ(wide.height(), 200);
    EXPECT_TRUE(avail.contains(wide.frameGeometry()));

    QWidget tall(nullptr, Qt::Window);
    tall.setMinimumWidth(avail.width() + 50);
    tall.setGeometry(avail.left(), avail.top(), avail.width() + 50, avail.height() + 80);
    tall.show();
    KeepFrameOnScreen(&tall);
    EXPECT_EQ(tall.frameGeometry().height(), avail.height());
    EXPECT_EQ(tall.width(), avail.width() + 50);  // its minimum
    EXPECT_EQ(tall.x(), avail.left());
}

// The application exists before the fixture's widgets are made.
class WithApp : public ::testing::Test {
  protected:
    WithApp() { App(); }
};

class TableGridTest : public WithApp {
  protected:
    bool Shown(int i) const { return !grid.Cell(i)->isHidden(); }

    // Every cell of the grid shows what the model holds.
    void ExpectShows(const TableModel& m) {
        for (int i = 0; i < kMaxNumCells; ++i) {
            const TableCell& c = m.txbCell[i];
            QString text = QString::fromStdString(c.text);
            text.replace("\r\n", "\n");
            EXPECT_EQ(grid.CellText(i), text) << i;
            EXPECT_EQ(Shown(i), c.visible) << i;
            EXPECT_EQ(grid.CellForeColor(i), c.foreground) << i;
            EXPECT_EQ(grid.CellBackColor(i), c.background) << i;
            EXPECT_EQ(grid.CellBold(i), c.bold) << i;
            EXPECT_EQ(grid.CellIsGlyph(i), c.font == CellFont::Glyph) << i;
            if (c.visible) {
                EXPECT_EQ(Twips::Left(grid.Cell(i)), m.CellLeft(i)) << i;
                EXPECT_EQ(Twips::Top(grid.Cell(i)), m.CellTop(i)) << i;
            }
        }
    }

    TableGrid grid;
};

TEST_F(TableGridTest, ShowsEveryCellOfBothLayoutsAsTheModelHasIt) {
    TableModel m;
    m.LayoutTriangularTable();
    m.txbCell[23].text = "Sqr\r\n0°40' -";
    m.txbCell[23].foreground = Rgb(255, 0, 0);
    m.txbCell[23].bold = true;
    grid.Show(m);
    EXPECT_EQ(Twips::Width(&grid), 10800);
    EXPECT_EQ(Twips::Height(&grid), 6270);
    ExpectShows(m);
    EXPECT_EQ(grid.CellText(23), "Sqr\n0°40' -");
    EXPECT_EQ(grid.Cell(23)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(grid.Cell(12)->font().family(), kGlyphFontFamily);

    // The square table replaces all of it.
    m.LayoutSquareTable(Mode::Synastry, false, ProgramTexts());
    grid.Show(m);
    EXPECT_EQ(Twips::Width(&grid), 12960);
    EXPECT_EQ(Twips::Height(&grid), 6840);
    ExpectShows(m);
    EXPECT_FALSE(grid.CellBold(23));
    EXPECT_EQ(ColorFromValue(Rgb(128, 64, 0)), QColor(128, 64, 0));
}

TEST_F(TableGridTest, LongTextsShrinkToFitAndTheNextTextGetsTheFullSizeBack) {
    TableModel m;
    m.LayoutTriangularTable();
    const int cell = m.ZodiacCellIndex();
    m.txbCell[cell].visible = true;
    m.txbCell[cell].text = "Siderischer Tierkreis mit langem Namen";
    grid.Show(m);
    QLabel* label = grid.Cell(cell);
    EXPECT_LT(label->font().pointSize(), kTextFontSize);
    const QRect r = TableGrid::TextBounds(label, label->font());
    EXPECT_LE(r.width(), label->width() - 4);
    EXPECT_LE(r.height(), label->height() - 2);
    m.txbCell[cell].text = "Tropical";
    grid.Show(m);
    EXPECT_EQ(label->font().pointSize(), kTextFontSize);
}

}  // namespace
}  // namespace vek::gui
