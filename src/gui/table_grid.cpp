#include "gui/table_grid.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <functional>

#include "gui/twips.h"

namespace vek::gui {

QColor ColorFromValue(Color value) {
    return QColor(value.red(), value.green(), value.blue());
}

namespace {

// Cell texts break their lines with CR LF; a label breaks at LF.
QString DisplayText(const std::string& text) {
    QString t = QString::fromStdString(text);
    t.replace("\r\n", "\n");
    return t;
}

// A cell: a label whose text can be selected with the mouse, as in a text
// box, and which reports a double-click.
class CellLabel : public QLabel {
  public:
    CellLabel(QWidget* parent, std::function<void()> onDoubleClick,
              std::function<void(bool)> onHover)
        : QLabel(parent),
          onDoubleClick_(std::move(onDoubleClick)),
          onHover_(std::move(onHover)) {}

  protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        QLabel::mouseDoubleClickEvent(e);
        if (e->button() == Qt::LeftButton) onDoubleClick_();
    }
    void enterEvent(QEnterEvent* e) override {
        QLabel::enterEvent(e);
        onHover_(true);
    }
    void leaveEvent(QEvent* e) override {
        QLabel::leaveEvent(e);
        onHover_(false);
    }

  private:
    std::function<void()> onDoubleClick_;
    std::function<void(bool)> onHover_;
};

// The border of a cell: a thin grey line, as a sunken text box shows it, or
// the hover colour.
void SetBorder(QPalette& p, bool hovered) {
    const QColor c = hovered ? ColorFromValue(TableGrid::kHoverBorderColor) : QColor(160, 160, 160);
    p.setColor(QPalette::Light, c);
    p.setColor(QPalette::Dark, c);
}

}  // namespace

TableGrid::TableGrid(QWidget* parent) : QFrame(parent) {
    setObjectName("picTable");
    setFrameShape(QFrame::NoFrame);
    for (int i = 0; i < kMaxNumCells; ++i) {
        auto* cell = new CellLabel(
            this, [this, i] { emit CellDoubleClicked(i); },
            [this, i](bool in) {
                if (in)
                    SetHovered(i);
                else if (hovered_ == i)
                    SetHovered(-1);
            });
        cell->setObjectName(QString("txbCell_%1").arg(i));
        cell->setTextInteractionFlags(Qt::TextSelectableByMouse);
        cell->setAlignment(Qt::AlignCenter);
        cell->setAutoFillBackground(true);
        cell->setTextFormat(Qt::PlainText);
        cell->setWordWrap(true);
        cell->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        cell->setLineWidth(1);
        cell->hide();
        cells_[i] = cell;
        // Differs from every real cell, so that the first Show sets it all.
        shown_[i].text = "\x01";
    }
}

void TableGrid::SetColors(int index, Color fore, Color back) {
    QLabel* cell = cells_[index];
    fore_[index] = fore;
    back_[index] = back;
    QPalette p = cell->palette();
    p.setColor(QPalette::Window, ColorFromValue(back));
    p.setColor(QPalette::WindowText, ColorFromValue(fore));
    SetBorder(p, index == hovered_);
    cell->setPalette(p);
}

void TableGrid::SetHovered(int index) {
    if (index >= 0) {
        const TableCell& c = shown_[static_cast<size_t>(index)];
        const bool names = c.visible && !c.text.empty() &&
                           ((c.kind == CellKind::Aspect && c.aspect) ||
                            c.kind == CellKind::Position);
        if (!names) index = -1;
    }
    if (index == hovered_) return;
    const int was = hovered_;
    hovered_ = index;
    for (int i : {was, index}) {
        if (i < 0) continue;
        QPalette p = cells_[i]->palette();
        SetBorder(p, i == hovered_);
        cells_[i]->setPalette(p);
    }
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
    if (f != cell->font()) cell->setFont(f);
}

void TableGrid::ShowCell(int index, const TableCell& c) {
    // Only what changed is handed to the label: a step redraws few cells.
    TableCell& was = shown_[index];
    QLabel* cell = cells_[index];
    if (c.foreground != was.foreground || c.background != was.background || was.text == "\x01") {
        SetColors(index, c.foreground, c.background);
    }
    if (c.text != was.text || c.font != was.font || c.bold != was.bold || was.text == "\x01") {
        // The model's font first: a text set smaller to fit may be followed
        // by one that fits at full size.
        glyph_[index] = c.font == CellFont::Glyph;
        QFont f(CellFontName(c.font), CellFontSize(c.font));
        f.setBold(c.bold);
        cell->setFont(f);
        cell->setText(DisplayText(c.text));
        FitText(index);
    }
    if (c.visible != was.visible || was.text == "\x01") cell->setVisible(c.visible);
    was = c;
}

void TableGrid::Show(const TableModel& model) {
    if (model.intNumRows != numRows_ || model.intNumCols != numCols_) {
        numRows_ = model.intNumRows;
        numCols_ = model.intNumCols;
        Twips::Resize(this, model.WidthTwips(), model.HeightTwips());
        for (int i = 0; i < kMaxNumCells; ++i) {
            if (i < model.intNumCells) {
                Twips::Place(cells_[i], model.CellLeft(i), model.CellTop(i), kCellWidth,
                             kCellHeight);
            }
        }
    }
    for (int i = 0; i < kMaxNumCells; ++i) ShowCell(i, model.txbCell[i]);
    // The cell under the pointer may name nothing any more.
    if (hovered_ >= 0) {
        const int h = hovered_;
        SetHovered(-1);
        SetHovered(h);
    }
}

QString TableGrid::CellText(int index) const {
    return cells_[index]->text();
}

bool TableGrid::CellBold(int index) const {
    return cells_[index]->font().bold();
}

}  // namespace vek::gui
