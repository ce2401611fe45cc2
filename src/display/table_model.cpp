#include "display/table_model.h"

#include "engine/angle_text.h"
#include "engine/modes.h"
#include "util/text.h"

namespace vek {

const char* CellFontName(CellFont f) {
    return f == CellFont::Glyph ? kGlyphFontName : kTextFontName;
}

int CellFontSize(CellFont f) {
    return f == CellFont::Glyph ? kGlyphFontSize : kTextFontSize;
}

void TableModel::GetRowCol(int index, int numCols) {
    if (numCols < 1) {
        intRow = 0;
        intCol = 0;
        return;
    }
    intRow = index / numCols;
    intCol = index % numCols;
}

void TableModel::ClearAllCells() {
    for (TableCell& c : txbCell) {
        const CellFont font = c.font;  // fonts are reset by ResetCellFonts only
        c = TableCell{};
        c.font = font;
    }
}

void TableModel::ResetCellFonts() {
    for (int i = 0; i < intNumCells && i < kMaxNumCells; ++i) {
        txbCell[i].bold = false;
        txbCell[i].font = CellFont::Text;
    }
}

void TableModel::SetGlyphHeader(int index, Body body) {
    TableCell& c = txbCell[index];
    c.kind = CellKind::Header;
    c.body = body;
    c.background = kHeaderCellColor;
    c.bold = false;
    c.font = CellFont::Glyph;
    c.text = std::string(1, kBodies[body].glyph);
}

void TableModel::LayoutTriangularTable() {
    ResetCellFonts();
    layout = TableLayout::Triangular;
    intNumRows = 11;
    intNumCols = 10;
    intNumCells = 110;
    ClearAllCells();

    for (int i = 0; i < intNumCells; ++i) {
        GetRowCol(i, intNumCols);
        TableCell& c = txbCell[i];
        c.visible = true;
        if (intRow == 0) {
            c.kind = CellKind::Position;
            c.body = BodyFromIndex(intCol + 1);
        } else if (intRow == 1) {
            SetGlyphHeader(i, *BodyFromIndex(intCol + 1));
        }
    }
    for (int i = 0; i < intNumCells; ++i) {
        GetRowCol(i, intNumCols);
        if (intRow < 2) continue;
        TableCell& c = txbCell[i];
        if (intCol + 2 < intRow) {
            c.visible = false;
        } else if (intCol + 2 == intRow) {
            SetGlyphHeader(i, *BodyFromIndex(intRow - 1));
        } else {
            c.kind = CellKind::Aspect;
            c.first = BodyFromIndex(intRow - 1);
            c.second = BodyFromIndex(intCol + 1);
        }
    }
    txbCell[ZodiacCellIndex()].kind = CellKind::Zodiac;
}

void TableModel::LayoutSquareTable(Mode mode, bool sidereal, const ProgramTexts& texts) {
    ResetCellFonts();
    layout = TableLayout::Square;
    intNumRows = 12;
    intNumCols = 12;
    intNumCells = 144;
    ClearAllCells();

    for (int i = 0; i < intNumCells; ++i) {
        GetRowCol(i, intNumCols);
        TableCell& c = txbCell[i];
        c.visible = true;
        if (intRow == 1 || intCol == 1) c.background = kHeaderCellColor;
        if (intRow == 1 && intCol > 1) {
            SetGlyphHeader(i, *BodyFromIndex(intCol - 1));
        } else if (intCol == 1 && intRow > 1) {
            SetGlyphHeader(i, *BodyFromIndex(intRow - 1));
        } else if (intRow == 0 && intCol > 1) {
            c.kind = CellKind::Position;
            c.body = BodyFromIndex(intCol - 1);
            c.chart = 0;
        } else if (intCol == 0 && intRow > 1) {
            c.kind = CellKind::Position;
            c.body = BodyFromIndex(intRow - 1);
            c.chart = 1;
        } else if (intRow > 1 && intCol > 1) {
            c.kind = CellKind::Aspect;
            c.first = BodyFromIndex(intRow - 1);   // chart B
            c.second = BodyFromIndex(intCol - 1);  // chart A
        }
    }

    const bool synastry = mode == Mode::Synastry;
    const TextId cornerText[2][2] = {
        {sidereal ? kTextSiderealZodiac : kTextTropicalZodiac,
         synastry ? kTextCornerFirstChart : kTextTransits},
        {synastry ? kTextCornerSecondChart : kTextCornerNatal, synastry ? kTextSynastry
                                                               : mode == Mode::Personal2
                                                                   ? kTextCornerSecondNatal
                                                                   : kTextCornerFirstNatal},
    };
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 2; ++col) {
            TableCell& c = txbCell[row * intNumCols + col];
            c.kind = CellKind::Corner;
            c.background = kHeaderCellColor;
            c.text = texts.ProgramText(cornerText[row][col]);
        }
    }
}

void TableModel::SetCellStyle(OrbColumn orbColumn, int cellIndex, Aspect aspect, double deviation,
                              const Settings& settings, const OrbTable& orbs) {
    if (cellIndex < 0 || cellIndex >= kMaxNumCells) return;
    TableCell& c = txbCell[cellIndex];
    c.bold = IsBoldAspect(settings, orbs, aspect, orbColumn, deviation);
    c.foreground = settings.accepted.AspectColor[aspect];
}

int TableModel::GetTotalNumAspects(const NameTables& names) const {
    int total = 0;
    for (int i = 0; i < intNumCells && i < kMaxNumCells; ++i) {
        const TableCell& c = txbCell[i];
        if (c.kind != CellKind::Aspect) continue;
        for (const Aspect a : AllAspects()) {
            const std::string& abbreviation = names.AspectAbbreviation[a];
            if (!abbreviation.empty() && c.text.find(abbreviation) != std::string::npos) ++total;
        }
    }
    return total;
}

int TableModel::PositionCellIndex(Body b, int chart) const {
    const int body = Index(b);
    if (layout == TableLayout::Triangular) return chart == 0 ? body - 1 : -1;
    if (layout == TableLayout::Square) {
        if (chart == 0) return body + 1;
        if (chart == 1) return (body + 1) * intNumCols;
    }
    return -1;
}

int TableModel::AspectCellIndex(Body firstBody, Body secondBody) const {
    const int first = Index(firstBody), second = Index(secondBody);
    if (layout == TableLayout::Triangular) {
        if (first >= second) return -1;
        return (first + 1) * intNumCols + second - 1;
    }
    if (layout == TableLayout::Square) return (first + 1) * intNumCols + second + 1;
    return -1;
}

int TableModel::ZodiacCellIndex() const {
    return layout == TableLayout::Triangular ? 10 * intNumCols : -1;
}

int TableModel::CellTop(int index) const {
    return intNumCols > 0 ? index / intNumCols * kCellHeight : 0;
}

int TableModel::CellLeft(int index) const {
    return intNumCols > 0 ? index % intNumCols * kCellWidth : 0;
}

namespace {

// An orb in whole degrees, minutes only when not zero. The smallest orb of a
// column with every orb at 0 is an out-of-range marker (20 radians); it is
// written as 0°, like the largest.
std::string OrbText(double radians) {
    if (radians > kTwoPi) radians = 0;
    AngleTextOptions o;
    o.omitZeroMinutes = true;
    return AngleText(Radians(radians), o);
}

}  // namespace

std::string AddOrbToTitle(const ProgramTexts& texts, std::string_view title, OrbColumn orbColumn,
                          bool addPeriod, const OrbSummary& orbs) {
    const std::string largest = OrbText(orbs.OrbMaximum[orbColumn]);
    std::string result(title);
    if (orbs.UniformBaseOrbs) {
        result += "  " + texts.ProgramText(kTextOrb) + " " + largest;
        if (addPeriod) result += ".";
        return result;
    }
    return result + "  " + texts.ProgramText(kTextOrbs) + ": " +
           OrbText(orbs.OrbMinimum[orbColumn]) + " " + texts.ProgramText(kTextOrbsTo) + " " +
           largest;
}

std::string UpdateTitle(Mode mode, bool chartShown, const OrbSummary& orbs,
                        const ProgramTexts& texts) {
    TextId text = kTextWorldTransitsTitle;
    switch (mode) {
        case Mode::World:
            text = chartShown ? kTextWorldChartTitle : kTextWorldTransitsTitle;
            break;
        case Mode::Natal1:
            text = chartShown ? kTextNatal1ChartTitle : kTextNatal1Title;
            break;
        case Mode::Natal2:
            text = chartShown ? kTextNatal2ChartTitle : kTextNatal2Title;
            break;
        case Mode::Personal1:
            text = kTextPersonal1Title;
            break;
        case Mode::Personal2:
            text = kTextPersonal2Title;
            break;
        case Mode::Synastry:
            text = kTextSynastryTitle;
            break;
        case Mode::None:
            return "";
    }
    std::string title = texts.ProgramText(text);
    if (mode == Mode::World && chartShown)
        ReplaceAll(title, texts.language() == kGerman ? " Grad" : " degrees", "°");
    return AddOrbToTitle(texts, title, ModeInfoOf(mode).orbColumn, true, orbs);
}

}  // namespace vek
