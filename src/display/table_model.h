// The aspect table as a model: the grid of 144 cells under the main window's
// title, its two layouts (triangular for one chart, square for two), the look
// of every kind of cell, the boldface and colour rule of aspect cells, and
// the title line with its orb summary. The window copies every cell into its
// text boxes; vek-cli prints them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "config/program_text.h"
#include "config/settings.h"
#include "engine/vek_types.h"
#include "engine/vocabulary.h"

namespace vek {

inline constexpr int kMaxNumCells = 144;  // cells 0..143
inline constexpr int kCellWidth = 1080;   // twips
inline constexpr int kCellHeight = 570;   // twips

inline constexpr Color kPositionCellColor = Rgb(230, 255, 230);  // positions, zodiac cell
inline constexpr Color kHeaderCellColor = Rgb(200, 200, 220);    // glyphs, square corner

// Font of a cell: text cells use "Arial" 10, glyph headers "Starfont Sans" 14.
enum class CellFont { Text, Glyph };
inline constexpr const char* kTextFontName = "Arial";
inline constexpr int kTextFontSize = 10;
inline constexpr const char* kGlyphFontName = "Starfont Sans";
inline constexpr int kGlyphFontSize = 14;

const char* CellFontName(CellFont f);
int CellFontSize(CellFont f);

// What a cell stands for in the current layout.
enum class CellKind {
    Unused,    // hidden, or outside the layout
    Position,  // a body's longitude
    Header,    // a body's glyph
    Corner,    // the square table's four top-left cells
    Zodiac,    // the triangular table's bottom-left cell: the zodiac in use
    Aspect,    // a pair of bodies; empty when they are in no aspect
};

struct TableCell {
    std::string text;
    bool visible = false;
    Color background;
    Color foreground;  // text colour
    bool bold = false;
    CellFont font = CellFont::Text;

    CellKind kind = CellKind::Unused;
    // Position and header cells: the body and, for position cells, the
    // chart (0 chart A, 1 chart B).
    std::optional<Body> body;
    int chart = 0;
    // Aspect cells: the pair, as the chart lists it (single chart: first <
    // second; two charts: first is the chart B body, second the chart A
    // body), and the aspect written into the cell (none while empty).
    std::optional<Body> first;
    std::optional<Body> second;
    std::optional<Aspect> aspect;

    bool operator==(const TableCell&) const = default;
};

enum class TableLayout { None, Triangular, Square };

class TableModel {
  public:
    // All 144 cells empty and hidden, no layout.
    TableModel() { ClearAllCells(); }

    std::array<TableCell, kMaxNumCells> txbCell;
    TableLayout layout = TableLayout::None;
    int intNumRows = 0;
    int intNumCols = 0;
    int intNumCells = 0;
    // Results of the last GetRowCol.
    int intRow = 0;
    int intCol = 0;

    // intRow = index ÷ numCols, intCol = index mod numCols. A column count
    // below 1 gives row and column 0.
    void GetRowCol(int index, int numCols);

    // Every cell 0..143: no text, hidden, background and text colour 0, not
    // bold, no role.
    void ClearAllCells();
    // Every cell of the current layout: not bold, the text font.
    void ResetCellFonts();

    // World transits and natal aspects: 11 rows × 10 columns. Row 0 holds
    // the positions, row 1 the glyphs of bodies 1..10, rows 2..10 a row
    // header at column r − 2 followed by the aspect cells of body r − 1; the
    // cells left of a row header are hidden, among them the zodiac cell
    // (row 10, column 0) until the compute shows it.
    void LayoutTriangularTable();
    // Personal transits and synastry: 12 × 12. Row 0 holds chart A's
    // positions (columns 2..11), column 0 chart B's (rows 2..11), row 1 and
    // column 1 the glyphs, the four top-left cells the corner texts for the
    // mode and zodiac, in the language of `texts`.
    void LayoutSquareTable(Mode mode, bool sidereal, const ProgramTexts& texts);

    // Boldface and text colour of an aspect cell: bold by the settings'
    // boldface rule with the orb of `orbColumn` (strict comparisons), text
    // colour = the aspect's colour.
    void SetCellStyle(OrbColumn orbColumn, int cellIndex, Aspect aspect, double deviation,
                      const Settings& settings, const OrbTable& orbs);

    // The number of aspects the table shows: over the aspect cells of the
    // layout, 1 for each aspect abbreviation (current language, case
    // sensitive) that a cell's text contains.
    int GetTotalNumAspects(const NameTables& names) const;

    // Cell of a body's position: single chart row 0, column body − 1; two
    // charts chart A row 0, column body + 1 and chart B column 0, row
    // body + 1. −1 without a layout.
    int PositionCellIndex(Body body, int chart) const;
    // Cell of a pair (first, second) as the chart lists it. −1 when the
    // layout has no such cell.
    int AspectCellIndex(Body first, Body second) const;
    // Row 10, column 0 of the triangular table; −1 in the square table.
    int ZodiacCellIndex() const;

    // Size of the grid and place of a cell, in twips.
    int WidthTwips() const { return intNumCols * kCellWidth; }
    int HeightTwips() const { return intNumRows * kCellHeight; }
    int CellTop(int index) const;
    int CellLeft(int index) const;

  private:
    void SetGlyphHeader(int index, Body body);
};

// The title with the orb summary of `orbColumn` appended: with all non-zero
// base orbs equal "title  Orb 8°" (and "." when addPeriod), otherwise
// "title  Orbs: 3° to 10°". Angles in whole degrees, minutes only when not
// zero.
std::string AddOrbToTitle(const ProgramTexts& texts, std::string_view title, OrbColumn orbColumn,
                          bool addPeriod, const OrbSummary& orbs);

// The caption of the title label for a mode: the table or chart title with
// its orb summary. In world transits with the chart shown " degrees" (" Grad"
// in German) becomes "°". In the language of `texts`.
std::string UpdateTitle(Mode mode, bool chartShown, const OrbSummary& orbs,
                        const ProgramTexts& texts);

}  // namespace vek
