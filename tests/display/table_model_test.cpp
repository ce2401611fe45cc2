#include "display/table_model.h"

#include <gtest/gtest.h>

#include "config/program_text.h"

namespace vek {
namespace {

// The tests name bodies by their numbers 1..10, as the table's rows and
// columns count them.
Body B(int n) {
    return BodyFromIndex(n).value();
}

double Deg(double d) {
    return d / 360.0 * kTwoPi;
}

// Program texts the table uses, worded so the tests can tell them apart.
class TableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Result<ProgramTextTable> loaded = ProgramTextTable::Parse(
            "14 en: Synastry\n14 de: Synastrie\n"
            "23 en: World transits\n23 de: Welttransite\n"
            "24 en: Natal 1\n24 de: Radix 1\n"
            "25 en: Natal 2\n25 de: Radix 2\n"
            "26 en: Chart of the world on 360 degrees\n"
            "26 de: Grafik der Welt in 360 Grad\n"
            "27 en: Chart natal 1\n27 de: Grafik Radix 1\n"
            "28 en: Chart natal 2\n28 de: Grafik Radix 2\n"
            "29 en: Personal 1\n29 de: Persönlich 1\n"
            "30 en: Personal 2\n30 de: Persönlich 2\n"
            "31 en: Synastry title\n31 de: Synastrie-Titel\n"
            "33 en: Orb\n33 de: Orbis\n34 en: Orbs\n34 de: Orben\n"
            "35 en: to\n35 de: bis\n"
            "46 en: Sidereal zodiac\n46 de: Siderisch\n"
            "47 en: Tropical zodiac\n47 de: Tropisch\n"
            "68 en: Transits\n68 de: Transite\n69 en: 1st birth\n69 de: 1. Geburt\n"
            "70 en: 2nd birth\n70 de: 2. Geburt\n71 en: Natal\n71 de: Radix\n"
            "75 en: 1st chart\n75 de: 1. Horoskop\n"
            "76 en: 2nd chart\n76 de: 2. Horoskop\n");
        ASSERT_TRUE(loaded) << loaded.message();
        table = std::move(loaded).value();
        en_texts = ProgramTexts(table, kEnglish);
        de_texts = ProgramTexts(table, kGerman);
    }
    ProgramTextTable table;
    ProgramTexts en_texts;
    ProgramTexts de_texts;
};

int Index(int row, int col, int numCols) {
    return row * numCols + col;
}

TEST_F(TableTest, TriangularLayoutRowsHeadersAndHiddenPart) {
    TableModel t;
    t.LayoutTriangularTable();
    EXPECT_EQ(t.layout, TableLayout::Triangular);
    EXPECT_EQ(t.intNumRows, 11);
    EXPECT_EQ(t.intNumCols, 10);
    EXPECT_EQ(t.intNumCells, 110);
    EXPECT_EQ(t.WidthTwips(), 10 * 1080);
    EXPECT_EQ(t.HeightTwips(), 11 * 570);

    const char glyphs[] = "sfghjSFGJa";
    for (int c = 0; c < 10; ++c) {
        const TableCell& pos = t.txbCell[c];
        EXPECT_EQ(pos.kind, CellKind::Position);
        EXPECT_EQ(pos.body, B(c + 1));
        EXPECT_TRUE(pos.visible);
        const TableCell& h = t.txbCell[Index(1, c, 10)];
        EXPECT_EQ(h.kind, CellKind::Header);
        EXPECT_EQ(h.text, std::string(1, glyphs[c]));
        EXPECT_EQ(h.font, CellFont::Glyph);
        EXPECT_EQ(h.background, kHeaderCellColor);
    }
    for (int r = 2; r <= 10; ++r) {
        for (int c = 0; c < 10; ++c) {
            const TableCell& cell = t.txbCell[Index(r, c, 10)];
            if (c + 2 < r) {
                EXPECT_FALSE(cell.visible) << r << "," << c;
            } else if (c + 2 == r) {
                EXPECT_EQ(cell.kind, CellKind::Header);
                EXPECT_EQ(cell.text, std::string(1, glyphs[r - 2]));
                EXPECT_TRUE(cell.visible);
            } else {
                EXPECT_EQ(cell.kind, CellKind::Aspect);
                EXPECT_EQ(cell.first, B(r - 1));
                EXPECT_EQ(cell.second, B(c + 1));
                EXPECT_TRUE(cell.visible);
                EXPECT_EQ(cell.background, Color());
                EXPECT_EQ(cell.font, CellFont::Text);
                EXPECT_EQ(t.AspectCellIndex(B(r - 1), B(c + 1)), Index(r, c, 10));
            }
        }
    }
    // The zodiac cell waits hidden for the compute.
    EXPECT_EQ(t.ZodiacCellIndex(), 100);
    EXPECT_EQ(t.txbCell[100].kind, CellKind::Zodiac);
    EXPECT_FALSE(t.txbCell[100].visible);
    for (int i = 110; i < kMaxNumCells; ++i) EXPECT_FALSE(t.txbCell[i].visible);
    EXPECT_EQ(t.AspectCellIndex(B(2), B(1)), -1);
    EXPECT_EQ(t.PositionCellIndex(B(10), 0), 9);
    EXPECT_EQ(t.PositionCellIndex(B(1), 1), -1);
}

TEST_F(TableTest, SquareLayoutCornerTextsFollowModeAndZodiac) {
    TableModel t;
    t.LayoutSquareTable(Mode::Personal2, false, en_texts);
    EXPECT_EQ(t.intNumCells, 144);
    EXPECT_EQ(t.txbCell[Index(0, 0, 12)].text, "Tropical zodiac");
    EXPECT_EQ(t.txbCell[Index(0, 1, 12)].text, "Transits");
    EXPECT_EQ(t.txbCell[Index(1, 0, 12)].text, "Natal");
    EXPECT_EQ(t.txbCell[Index(1, 1, 12)].text, "2nd birth");
    for (int i : {0, 1, 12, 13}) {
        EXPECT_EQ(t.txbCell[i].background, kHeaderCellColor);
        EXPECT_EQ(t.txbCell[i].font, CellFont::Text);
    }
    t.LayoutSquareTable(Mode::Personal1, true, en_texts);
    EXPECT_EQ(t.txbCell[0].text, "Sidereal zodiac");
    EXPECT_EQ(t.txbCell[13].text, "1st birth");
    t.LayoutSquareTable(Mode::Synastry, false, en_texts);
    EXPECT_EQ(t.txbCell[1].text, "1st chart");
    EXPECT_EQ(t.txbCell[12].text, "2nd chart");
    EXPECT_EQ(t.txbCell[13].text, "Synastry");
    // The corner texts come in the language of the texts given.
    t.LayoutSquareTable(Mode::Synastry, false, de_texts);
    EXPECT_EQ(t.txbCell[1].text, "1. Horoskop");
    EXPECT_EQ(t.txbCell[13].text, "Synastrie");

    // Glyphs along row 1 and column 1, positions along row 0 and column 0.
    EXPECT_EQ(t.txbCell[Index(1, 2, 12)].text, "s");
    EXPECT_EQ(t.txbCell[Index(1, 11, 12)].text, "a");
    EXPECT_EQ(t.txbCell[Index(11, 1, 12)].text, "a");
    EXPECT_EQ(t.txbCell[Index(11, 1, 12)].font, CellFont::Glyph);
    EXPECT_EQ(t.PositionCellIndex(B(1), 0), Index(0, 2, 12));
    EXPECT_EQ(t.PositionCellIndex(B(10), 1), Index(11, 0, 12));
    EXPECT_EQ(t.txbCell[Index(11, 0, 12)].chart, 1);
    // Chart B body 3 (row 4) against chart A body 7 (column 8).
    EXPECT_EQ(t.AspectCellIndex(B(3), B(7)), Index(4, 8, 12));
    const TableCell& a = t.txbCell[Index(4, 8, 12)];
    EXPECT_EQ(a.kind, CellKind::Aspect);
    EXPECT_EQ(a.first, B(3));
    EXPECT_EQ(a.second, B(7));
    EXPECT_EQ(a.background, Color());
}

TEST_F(TableTest, NewLayoutLeavesNothingOfThePreviousOne) {
    TableModel t;
    t.LayoutSquareTable(Mode::Synastry, false, en_texts);
    t.txbCell[143].text = "Con";
    t.txbCell[143].bold = true;
    t.LayoutTriangularTable();
    for (int i = 110; i < kMaxNumCells; ++i) {
        EXPECT_FALSE(t.txbCell[i].visible);
        EXPECT_TRUE(t.txbCell[i].text.empty());
        EXPECT_EQ(t.txbCell[i].font, CellFont::Text);
    }
    // Cell 23 was the Moon's column glyph of the square table and is an empty
    // aspect cell now.
    EXPECT_EQ(t.txbCell[Index(3, 1, 10)].font, CellFont::Glyph);  // row header of body 2
    EXPECT_EQ(t.txbCell[Index(2, 3, 10)].font, CellFont::Text);
    EXPECT_TRUE(t.txbCell[Index(2, 3, 10)].text.empty());
    EXPECT_FALSE(t.txbCell[143].bold);
}

TEST_F(TableTest, GetRowColArithmetic) {
    TableModel t;
    t.GetRowCol(143, 12);
    EXPECT_EQ(t.intRow, 11);
    EXPECT_EQ(t.intCol, 11);
    t.GetRowCol(100, 10);
    EXPECT_EQ(t.intRow, 10);
    EXPECT_EQ(t.intCol, 0);
    t.GetRowCol(5, 0);
    EXPECT_EQ(t.intRow, 0);
    EXPECT_EQ(t.intCol, 0);
}

TEST_F(TableTest, BoldfaceThresholdsAreStrictAndColourIsTheAspectColour) {
    Settings s;
    OrbTable e;
    SetOrbs(s, e);
    TableModel t;
    t.LayoutSquareTable(Mode::Synastry, false, en_texts);
    const int cell = t.AspectCellIndex(B(1), B(1));

    // "1 degree": exactly one degree is not bold, just below is.
    const double oneDegree = 1.0 / 360 * kTwoPi;
    t.SetCellStyle(kOrbBase, cell, kSquare, oneDegree, s, e);
    EXPECT_FALSE(t.txbCell[cell].bold);
    EXPECT_EQ(t.txbCell[cell].foreground, Rgb(255, 0, 0));
    t.SetCellStyle(kOrbBase, cell, kSquare, oneDegree * 0.999, s, e);
    EXPECT_TRUE(t.txbCell[cell].bold);

    // Fraction of the orb (1/4 by default) of the given column: the synastry
    // column (6°/3/4 = 0.5°) and the base column (1.5°) give different
    // answers for 0.7°.
    s.controls.boldfaceThreshold = BoldfaceThreshold::FractionOfOrb;
    t.SetCellStyle(kOrbSynastry, cell, kSquare, Deg(0.7), s, e);
    EXPECT_FALSE(t.txbCell[cell].bold);
    t.SetCellStyle(kOrbBase, cell, kSquare, Deg(0.7), s, e);
    EXPECT_TRUE(t.txbCell[cell].bold);
    const double threshold = e.orb[kTrine][kOrbSynastry] / 4;
    t.SetCellStyle(kOrbSynastry, cell, kTrine, threshold, s, e);
    EXPECT_FALSE(t.txbCell[cell].bold);
    EXPECT_EQ(t.txbCell[cell].foreground, Rgb(0, 255, 0));

    // Boldface off; a switched-off colour is written as 0.
    s.controls.useBoldface = false;
    s.accepted.AspectColor[kTrine] = Color();
    t.SetCellStyle(kOrbBase, cell, kTrine, 0, s, e);
    EXPECT_FALSE(t.txbCell[cell].bold);
    EXPECT_EQ(t.txbCell[cell].foreground, Color());
}

TEST_F(TableTest, TotalNumberOfAspectsCountsAbbreviationsInAspectCells) {
    NameTables en;
    BuildNameTables(en, kEnglish);
    TableModel t;
    t.LayoutTriangularTable();
    t.txbCell[t.AspectCellIndex(B(1), B(2))].text = "Con\r\n2°0' -";
    t.txbCell[t.AspectCellIndex(B(3), B(9))].text = "Qui\r\n0°5' +";
    t.txbCell[t.AspectCellIndex(B(4), B(10))].text = "Sqr\r\n1°0'";
    t.txbCell[0].text = "12°3'\r\n12Ari3";  // position cells never count
    EXPECT_EQ(t.GetTotalNumAspects(en), 3);
    NameTables de;
    BuildNameTables(de, kGerman);
    EXPECT_EQ(t.GetTotalNumAspects(de), 1);  // only "Qui" reads the same in German
}

TEST_F(TableTest, OrbSummaryInTitles) {
    OrbSummary all8;
    for (OrbColumn c : {kOrbBase, kOrbPersonal, kOrbSynastry})
        all8.OrbMaximum[c] = all8.OrbMinimum[c] = Deg(8);
    all8.UniformBaseOrbs = true;
    EXPECT_EQ(UpdateTitle(Mode::World, false, all8, en_texts), "World transits  Orb 8°.");
    EXPECT_EQ(AddOrbToTitle(en_texts, "T", kOrbBase, false, all8), "T  Orb 8°");

    OrbSummary half = all8;
    half.OrbMaximum[kOrbBase] = half.OrbMinimum[kOrbBase] = Deg(8.5);
    EXPECT_EQ(UpdateTitle(Mode::Natal2, false, half, en_texts), "Natal 2  Orb 8°30'.");

    // Default orbs, proportion 1/3: columns 1 and 2 hold thirds.
    Settings s;
    OrbTable e;
    SetOrbs(s, e);
    EXPECT_EQ(UpdateTitle(Mode::Natal1, false, e.summary, en_texts), "Natal 1  Orbs: 3° to 10°");
    EXPECT_EQ(UpdateTitle(Mode::Personal1, false, e.summary, en_texts),
              "Personal 1  Orbs: 1° to 3°20'");
    s.controls.proportionIndex[1] = 1;  // synastry 1/2
    SetOrbs(s, e);
    EXPECT_EQ(UpdateTitle(Mode::Synastry, true, e.summary, en_texts),
              "Synastry title  Orbs: 1°30' to 5°");

    // Chart titles; " degrees" becomes "°" in world transits only.
    EXPECT_EQ(UpdateTitle(Mode::World, true, all8, en_texts),
              "Chart of the world on 360°  Orb 8°.");
    EXPECT_EQ(UpdateTitle(Mode::Natal1, true, all8, en_texts), "Chart natal 1  Orb 8°.");
    EXPECT_EQ(UpdateTitle(Mode::World, true, all8, de_texts), "Grafik der Welt in 360°  Orbis 8°.");

    // Every orb 0: no aspect is possible; both ends read 0°.
    OrbSummary none;
    none.OrbMinimum[kOrbBase] = 20;
    EXPECT_EQ(UpdateTitle(Mode::World, false, none, en_texts), "World transits  Orbs: 0° to 0°");
    EXPECT_EQ(UpdateTitle(Mode::None, false, all8, en_texts), "");
}

}  // namespace
}  // namespace vek
