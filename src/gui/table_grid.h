// The aspect table on the main window: the picture box picTable with its 144
// cells txbCell(0..143). The grid shows a TableModel of the core (layout,
// texts, colours, boldface, fonts) cell by cell; it decides nothing itself.
#pragma once

#include <QFrame>
#include <QString>
#include <array>
#include <cstdint>

#include "display/table_model.h"

class QLabel;

namespace vek::gui {

// A colour as red + 256 × green + 65536 × blue.
QColor ColorFromValue(Color value);

class TableGrid : public QFrame {
    Q_OBJECT
  public:
    explicit TableGrid(QWidget* parent = nullptr);

    // Copies every cell of the model into its text box and sizes the grid to
    // the model's layout.
    void Show(const TableModel& model);

    QLabel* Cell(int index) const { return cells_[index]; }
    int NumRows() const { return numRows_; }
    int NumCols() const { return numCols_; }

    // The cell's look, read back.
    QString CellText(int index) const;
    Color CellForeColor(int index) const { return fore_[index]; }
    Color CellBackColor(int index) const { return back_[index]; }
    bool CellBold(int index) const;
    bool CellIsGlyph(int index) const { return glyph_[index]; }

    // The cell under the pointer, its border emphasised; −1 for none. Only
    // a cell that names something (an aspect, a position) is emphasised.
    int Hovered() const { return hovered_; }
    void SetHovered(int index);
    static constexpr Color kHoverBorderColor = Rgb(0, 120, 215);

    // Where a cell's text goes in a font: word-wrapped within the cell.
    static QRect TextBounds(const QLabel* cell, const QFont& font);

  signals:
    // A double-click with the left button on a cell, after the cell has
    // selected the word under the pointer.
    void CellDoubleClicked(int index);

  private:
    void ShowCell(int index, const TableCell& cell);
    void SetColors(int index, Color fore, Color back);
    void FitText(int index);

    std::array<QLabel*, kMaxNumCells> cells_{};
    std::array<Color, kMaxNumCells> fore_{};
    std::array<Color, kMaxNumCells> back_{};
    std::array<bool, kMaxNumCells> glyph_{};
    std::array<TableCell, kMaxNumCells> shown_{};
    int numRows_ = 0;
    int numCols_ = 0;
    int hovered_ = -1;
};

}  // namespace vek::gui
