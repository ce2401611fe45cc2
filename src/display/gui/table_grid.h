// The aspect table on the main window: the picture box picTable with its 144
// cells txbCell(0..143), each 1080 × 570 twips, laid out as the triangular
// table (11 rows × 10 columns: world transits, natal aspects) or the square
// table (12 × 12: personal transits, synastry). The grid lays itself out and
// shows what the compute command puts into its cells; it computes nothing.
#pragma once

#include <QFrame>
#include <QString>
#include <array>
#include <cstdint>

class QLabel;

namespace vek::gui {

// A colour as red + 256 × green + 65536 × blue.
QColor ColorFromValue(int32_t value);

class TableGrid : public QFrame {
    Q_OBJECT
public:
    static constexpr int kMaxNumCells = 144;  // intMaxNumCells
    static constexpr int kCellWidth = 1080;   // intCellWidth, twips
    static constexpr int kCellHeight = 570;   // intCellHeight, twips
    static constexpr int32_t kPositionCellColor = 230 + 256 * 255 + 65536 * 230;
    static constexpr int32_t kHeaderCellColor = 200 + 256 * 200 + 65536 * 220;
    static constexpr int kCellFontSize = 10;
    static constexpr int kGlyphFontSize = 14;

    // Glyphs of bodies 1..10 (index 0 unused).
    using BodyGlyphs = std::array<QString, 11>;

    explicit TableGrid(QWidget* parent = nullptr);

    QLabel* Cell(int index) const { return cells_[index]; }
    int NumRows() const { return numRows_; }
    int NumCols() const { return numCols_; }
    int NumCells() const { return numRows_ * numCols_; }
    bool IsSquare() const { return numCols_ == 12; }

    // Row and column of a cell index for the current layout.
    int RowOf(int index) const { return index / numCols_; }
    int ColOf(int index) const { return index % numCols_; }

    // Every cell: empty, hidden, black on black, not bold.
    void ClearAllCells();
    // The cells of the current layout: not bold, the cell font.
    void ResetCellFonts();

    // The triangular table: position row, glyph row, glyph row headers on the
    // diagonal, the part below the diagonal hidden.
    void LayoutTriangularTable(const BodyGlyphs& glyphs);
    // The square table: chart A along the top, chart B down the left side,
    // and the four corner cells with their texts.
    void LayoutSquareTable(const BodyGlyphs& glyphs, const std::array<QString, 4>& cornerTexts);

    // Fills one cell; colours as 24-bit values.
    void SetCell(int index, const QString& text, int32_t foreColor, int32_t backColor, bool bold);
    void SetCellVisible(int index, bool visible);

    // The cell's look, read back.
    QString CellText(int index) const;
    int32_t CellForeColor(int index) const;
    int32_t CellBackColor(int index) const;
    bool CellBold(int index) const;
    bool CellIsGlyph(int index) const;

    // Where a cell's text goes in a font: word-wrapped within the cell.
    static QRect TextBounds(const QLabel* cell, const QFont& font);

    // Re-places the cells after a change of the twips scale.
    void Relayout();

private:
    void SetGlyphHeader(int index, const QString& glyph);
    void SetColors(int index, int32_t fore, int32_t back);
    void SetCellFont(int index, bool glyph, bool bold);
    void FitText(int index);

    std::array<QLabel*, kMaxNumCells> cells_{};
    std::array<int32_t, kMaxNumCells> fore_{};
    std::array<int32_t, kMaxNumCells> back_{};
    std::array<bool, kMaxNumCells> glyph_{};
    int numRows_ = 11;
    int numCols_ = 10;
};

}  // namespace vek::gui
