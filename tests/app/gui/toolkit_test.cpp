// The window's building blocks: the dialog interface, the twips conversion,
// the glyph font and the aspect table's layouts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPainterPath>
#include <QRawFont>
#include <QWidget>

#include "app/gui/dialogs.h"
#include "app/gui/fonts.h"
#include "app/gui/twips.h"
#include "display/gui/table_grid.h"
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
    EXPECT_EQ(InstallProgramFonts(), QString());
    EXPECT_TRUE(QFontDatabase::families().contains(kGlyphFontFamily));
    const QRawFont raw = QRawFont::fromFont(QFont(kGlyphFontFamily, 14));
    ASSERT_TRUE(raw.isValid());
    EXPECT_EQ(raw.familyName(), kGlyphFontFamily);
    const char* letters = "sfghjSFGJaxcvbnmXCVBNM";
    const char16_t symbols[] = u"\u2609\u263F\u2640\u2642\u2643\u2644\u2645\u2646\u2647\u263D"
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
    InstallProgramFonts();
    EXPECT_EQ(QFontInfo(QFont("Arial", 10)).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(QFont("MS Sans Serif", 8)).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(QFont("Courier New", 10)).family(), "Liberation Mono");
}

class TableGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        for (int b = 1; b <= 10; ++b) glyphs[b] = QString(QChar("?sfghjSFGJa"[b]));
    }
    bool Shown(int i) const { return !grid.Cell(i)->isHidden(); }

    TableGrid grid;
    TableGrid::BodyGlyphs glyphs;
};

TEST_F(TableGridTest, TriangularLayoutHasGlyphRowDiagonalHeadersAndHidesTheLowerPart) {
    grid.LayoutTriangularTable(glyphs);
    EXPECT_EQ(grid.NumRows(), 11);
    EXPECT_EQ(grid.NumCols(), 10);
    EXPECT_EQ(Twips::Width(&grid), 10800);
    EXPECT_EQ(Twips::Height(&grid), 6270);
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(grid.CellText(10 + c), glyphs[c + 1]);
        EXPECT_TRUE(grid.CellIsGlyph(10 + c));
        EXPECT_EQ(grid.CellBackColor(10 + c), TableGrid::kHeaderCellColor);
    }
    // Row r (2..10) has the header of body r−1 at column r−2; left of it
    // everything is hidden, right of it the aspect cells stand empty on black.
    for (int r = 2; r <= 10; ++r) {
        const int header = r * 10 + r - 2;
        EXPECT_EQ(grid.CellText(header), glyphs[r - 1]);
        EXPECT_TRUE(Shown(header));
        for (int c = 0; c < r - 2; ++c) EXPECT_FALSE(Shown(r * 10 + c)) << r << "," << c;
        for (int c = r - 1; c < 10; ++c) {
            EXPECT_TRUE(Shown(r * 10 + c));
            EXPECT_EQ(grid.CellText(r * 10 + c), "");
            EXPECT_EQ(grid.CellBackColor(r * 10 + c), 0);
        }
    }
    for (int i = 110; i < TableGrid::kMaxNumCells; ++i) EXPECT_FALSE(Shown(i));
    // Cell 100 (row 10, column 0) is the corner cell; a cell's place follows
    // its row and column.
    EXPECT_EQ(grid.RowOf(100), 10);
    EXPECT_EQ(grid.ColOf(100), 0);
    EXPECT_EQ(Twips::Left(grid.Cell(57)), 7 * 1080);
    EXPECT_EQ(Twips::Top(grid.Cell(57)), 5 * 570);
}

TEST_F(TableGridTest, SquareLayoutHasHeadersOnBothSidesAndTheFourCorners) {
    grid.LayoutTriangularTable(glyphs);
    grid.SetCell(45, "Sqr\n1°0'", 255, 0, true);
    grid.LayoutSquareTable(glyphs, {"Tropical", "Transits", "Natal", "1st"});
    EXPECT_EQ(grid.NumCells(), 144);
    EXPECT_EQ(grid.RowOf(143), 11);
    EXPECT_EQ(grid.ColOf(143), 11);
    EXPECT_EQ(grid.CellText(0), "Tropical");
    EXPECT_EQ(grid.CellText(1), "Transits");
    EXPECT_EQ(grid.CellText(12), "Natal");
    EXPECT_EQ(grid.CellText(13), "1st");
    for (int k = 2; k < 12; ++k) {
        EXPECT_EQ(grid.CellText(12 + k), glyphs[k - 1]);       // row 1: chart A
        EXPECT_EQ(grid.CellText(k * 12 + 1), glyphs[k - 1]);   // column 1: chart B
        EXPECT_EQ(grid.CellBackColor(k * 12 + 1), TableGrid::kHeaderCellColor);
    }
    for (int i = 0; i < 144; ++i) EXPECT_TRUE(Shown(i));
    // The earlier layout's aspect cell is wiped.
    EXPECT_EQ(grid.CellText(45), "");
    EXPECT_FALSE(grid.CellBold(45));
}

TEST_F(TableGridTest, CellsShowColourAndBoldface) {
    grid.LayoutTriangularTable(glyphs);
    const int32_t red = 255;
    grid.SetCell(23, "Sqr\n0°40' -", red, 0, true);
    EXPECT_EQ(grid.CellForeColor(23), red);
    EXPECT_TRUE(grid.CellBold(23));
    EXPECT_EQ(grid.Cell(23)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(ColorFromValue(128 + 256 * 64), QColor(128, 64, 0));
    grid.ClearAllCells();
    for (int i = 0; i < TableGrid::kMaxNumCells; ++i) {
        EXPECT_FALSE(Shown(i));
        EXPECT_FALSE(grid.CellBold(i));
    }
}

}  // namespace
}  // namespace vek::gui
