#include "display/gui/table_grid.h"

#include <QFontMetrics>
#include <QLabel>
#include <algorithm>
#include <QPalette>

#include "app/gui/fonts.h"
#include "app/gui/twips.h"

namespace vek::gui {

QColor ColorFromValue(int32_t value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

TableGrid::TableGrid(QWidget* parent) : QFrame(parent) {
    setObjectName("picTable");
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    for (int i = 0; i < kMaxNumCells; ++i) {
        auto* cell = new QLabel(this);
        cell->setObjectName(QString("txbCell_%1").arg(i));
        cell->setAlignment(Qt::AlignCenter);
        cell->setAutoFillBackground(true);
        cell->setTextFormat(Qt::PlainText);
        cell->setWordWrap(true);
        cell->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        cell->setLineWidth(1);
        cells_[i] = cell;
    }
    // Cell 0 starts as the design gives it; the others are its copies.
    for (int i = 0; i < kMaxNumCells; ++i) {
        Twips::Place(cells_[i], 0, 0, kCellWidth, kCellHeight);
        SetColors(i, 0, kPositionCellColor);
        SetCellFont(i, false, false);
        cells_[i]->setVisible(i == 0);
    }
}

void TableGrid::SetColors(int index, int32_t fore, int32_t back) {
    QLabel* cell = cells_[index];
    fore_[index] = fore;
    back_[index] = back;
    QPalette p = cell->palette();
    p.setColor(QPalette::Window, ColorFromValue(back));
    p.setColor(QPalette::WindowText, ColorFromValue(fore));
    // The cell's border: a thin grey line, as a sunken text box shows it.
    p.setColor(QPalette::Light, QColor(160, 160, 160));
    p.setColor(QPalette::Dark, QColor(160, 160, 160));
    cell->setPalette(p);
}

void TableGrid::SetCellFont(int index, bool glyph, bool bold) {
    glyph_[index] = glyph;
    QFont f(glyph ? kGlyphFontFamily : kControlFontFamily, glyph ? kGlyphFontSize : kCellFontSize);
    f.setBold(bold);
    cells_[index]->setFont(f);
}

QRect TableGrid::TextBounds(const QLabel* cell, const QFont& font) {
    return QFontMetrics(font).boundingRect(QRect(0, 0, cell->width() - 4, 10000),
                                           Qt::AlignCenter | Qt::TextWordWrap, cell->text());
}

void TableGrid::FitText(int index) {
    // A text wider than its cell (a long zodiac name in the corner) breaks
    // between its words and, if it still does not fit, is set smaller rather
    // than cut off.
    QLabel* cell = cells_[index];
    QFont f = cell->font();
    auto fits = [&](const QFont& font) {
        const QRect r = TextBounds(cell, font);
        return r.width() <= cell->width() - 4 && r.height() <= cell->height() - 2;
    };
    while (f.pointSize() > 6 && !fits(f)) f.setPointSize(f.pointSize() - 1);
    cell->setFont(f);
}

void TableGrid::ClearAllCells() {
    for (int i = 0; i < kMaxNumCells; ++i) {
        cells_[i]->clear();
        cells_[i]->hide();
        SetColors(i, 0, 0);
        SetCellFont(i, false, false);
    }
}

void TableGrid::ResetCellFonts() {
    for (int i = 0; i < NumCells(); ++i) SetCellFont(i, false, false);
}

void TableGrid::SetGlyphHeader(int index, const QString& glyph) {
    SetColors(index, 0, kHeaderCellColor);
    SetCellFont(index, true, false);
    cells_[index]->setText(glyph);
}

void TableGrid::Relayout() {
    Twips::Resize(this, numCols_ * kCellWidth, numRows_ * kCellHeight);
    for (int i = 0; i < kMaxNumCells; ++i) {
        const int row = i / numCols_;
        const int col = i % numCols_;
        if (row < numRows_) {
            Twips::Place(cells_[i], col * kCellWidth, row * kCellHeight, kCellWidth, kCellHeight);
        }
    }
}

void TableGrid::LayoutTriangularTable(const BodyGlyphs& glyphs) {
    ResetCellFonts();
    hide();
    numRows_ = 11;
    numCols_ = 10;
    ClearAllCells();
    Relayout();
    for (int i = 0; i < NumCells(); ++i) {
        cells_[i]->show();
        if (RowOf(i) == 1) SetGlyphHeader(i, glyphs[ColOf(i) + 1]);
    }
    for (int i = 0; i < NumCells(); ++i) {
        const int row = RowOf(i);
        const int col = ColOf(i);
        if (col + 2 < row) cells_[i]->hide();
        if (row == col + 2) SetGlyphHeader(i, glyphs[row - 1]);
    }
}

void TableGrid::LayoutSquareTable(const BodyGlyphs& glyphs,
                                  const std::array<QString, 4>& cornerTexts) {
    ResetCellFonts();
    hide();
    numRows_ = 12;
    numCols_ = 12;
    ClearAllCells();
    Relayout();
    for (int i = 0; i < NumCells(); ++i) {
        const int row = RowOf(i);
        const int col = ColOf(i);
        cells_[i]->show();
        if (row == 1 || col == 1) SetColors(i, 0, kHeaderCellColor);
        if (row == 1 && col > 1) SetGlyphHeader(i, glyphs[col - 1]);
        if (col == 1 && row > 1) SetGlyphHeader(i, glyphs[row - 1]);
    }
    // The corner cells (0,0), (0,1), (1,0), (1,1).
    const int corners[4] = {0, 1, 12, 13};
    for (int k = 0; k < 4; ++k) {
        SetColors(corners[k], 0, kHeaderCellColor);
        cells_[corners[k]]->setText(cornerTexts[k]);
        FitText(corners[k]);
    }
}

void TableGrid::SetCell(int index, const QString& text, int32_t foreColor, int32_t backColor,
                        bool bold) {
    if (index < 0 || index >= kMaxNumCells) return;
    SetColors(index, foreColor, backColor);
    SetCellFont(index, false, bold);
    cells_[index]->setText(text);
    FitText(index);
}

void TableGrid::SetCellVisible(int index, bool visible) {
    if (index >= 0 && index < kMaxNumCells) cells_[index]->setVisible(visible);
}

QString TableGrid::CellText(int index) const {
    return cells_[index]->text();
}
int32_t TableGrid::CellForeColor(int index) const {
    return fore_[index];
}
int32_t TableGrid::CellBackColor(int index) const {
    return back_[index];
}
bool TableGrid::CellBold(int index) const {
    return cells_[index]->font().bold();
}
bool TableGrid::CellIsGlyph(int index) const {
    return glyph_[index];
}

}  // namespace vek::gui
