#include "display/chart_wheel.h"

#include <algorithm>
#include <cmath>

#include "display/chart_points_text.h"
#include "engine/angle_text.h"
#include "engine/modes.h"
#include "util/rounding.h"
#include "util/text.h"

namespace vek {

namespace {

// Glyphs of a chart that find no free place down to this radius make the
// chart too crowded to draw.
constexpr double kSmallestRadius = 100;
// Each failed test moves a glyph inward by 1 %.
constexpr double kRadiusStep = 0.99;
// The glyph's print origin lies this far up and left of its point.
constexpr int kGlyphOffset = 150;
// The sign ring: radius and print offset.
constexpr int kSignRadius = 800;
constexpr int kSignOffset = 50;
// An extra point's symbol takes this box in the occupancy raster, from its
// print origin, as a body glyph does.
constexpr int kPointBoxWidth = 260;
constexpr int kPointBoxHeight = 300;
// A text of the legend font stands this far above its middle.
constexpr int kLegendHalfHeight = 95;

// The legend column holds about 84 characters of its font on the single
// wheel; a note line longer than this wraps at a blank.
constexpr size_t kNoteLineChars = 76;

// Splits a text into lines of at most kNoteLineChars characters at its
// blanks; a word longer than a line stands on a line of its own.
void AppendWrapped(const std::string& text, std::vector<std::string>& lines) {
    std::string line;
    size_t start = 0;
    while (start <= text.size()) {
        size_t blank = text.find(' ', start);
        if (blank == std::string::npos) blank = text.size();
        const std::string word = text.substr(start, blank - start);
        if (!line.empty() && TextLength(line) + 1 + TextLength(word) > kNoteLineChars) {
            lines.push_back(line);
            line.clear();
        }
        line += line.empty() ? word : " " + word;
        start = blank + 1;
    }
    if (!line.empty()) lines.push_back(line);
}

ChartPrimitive Text(ChartRole role, int x, int y, std::string text, ChartFont font, Color color) {
    ChartPrimitive p;
    p.kind = ChartPrimitive::Kind::Text;
    p.role = role;
    p.x1 = x;
    p.y1 = y;
    p.text = std::move(text);
    p.font = font;
    p.color = color;
    return p;
}

ChartPrimitive Line(ChartRole role, int x1, int y1, int x2, int y2, Color color, int width) {
    ChartPrimitive p;
    p.kind = ChartPrimitive::Kind::Line;
    p.role = role;
    p.x1 = x1;
    p.y1 = y1;
    p.x2 = x2;
    p.y2 = y2;
    p.color = color;
    p.width = width;
    return p;
}

// The drawing under way: the model, its occupancy raster and the glyphs.
class WheelDrawing {
  public:
    WheelDrawing(const WheelInput& in, const GlyphInks& inks, const WheelGeometry& g, bool two)
        : in_(in), inks_(inks), g_(g), raster_(g.width, g.height) {
        w_.twoCharts = two;
        w_.geometry = g;
        w_.mode = in.chart ? in.chart->mode : Mode::None;
        bodyCount_ = in.includeMoon ? kMaxBodies : kMaxBodies - 1;
        if (in.chart) bodyCount_ = std::min(bodyCount_, in.chart->bodyCount);
    }

    void DrawDisc() {
        ChartPrimitive d;
        d.kind = ChartPrimitive::Kind::Disc;
        d.role = ChartRole::Disc;
        d.x1 = g_.cx;
        d.y1 = g_.cy;
        d.r = g_.discRadius;
        d.color = kChartWhite;
        d.fill = kChartBlack;
        w_.items.push_back(d);
        raster_.StartWithDisc(g_.cx, g_.cy, g_.discRadius);
    }

    void DrawSectorSpokes() {
        for (int k = 0; k < 12; ++k) {
            const double a = k * kPi / 6;
            w_.items.push_back(Line(ChartRole::Spoke, g_.cx, g_.cy,
                                    RoundHalfToEvenInt(g_.cx + g_.firstRadius * std::cos(a)),
                                    RoundHalfToEvenInt(g_.cy - g_.firstRadius * std::sin(a)),
                                    kChartLineColor, 1));
        }
    }

    SkyLongitude Longitude(Body body, int chart) const { return in_.chart->longitude[body][chart]; }

    // Places every glyph of one chart, from the last body to the first.
    // False when one of them found no place.
    bool PlaceGlyphs(int chart, bool opaqueBox) {
        if (!in_.chart) return true;
        for (const Body b : Bodies(bodyCount_).Reversed()) {
            const SkyLongitude position = Longitude(b, chart);
            if (!position) continue;
            const double lambda = *position;
            double r = g_.firstRadius;
            while (!IsGlyphSpaceFree(lambda, r)) {
                r *= kRadiusStep;
                if (r < kSmallestRadius) {
                    w_.crowded = true;
                    return false;
                }
            }
            ChartWheel::Anchor& a = w_.anchors[chart][b];
            a.placed = true;
            a.radius = r;
            a.x = RoundHalfToEvenInt(std::cos(lambda) * r + g_.cx - kGlyphOffset);
            a.y = RoundHalfToEvenInt(g_.cy - std::sin(lambda) * r - kGlyphOffset);
            const GlyphInk& ink = inks_[b];
            if (opaqueBox) raster_.StampBox(a.x, a.y, ink.boxWidth, ink.boxHeight);
            raster_.StampInk(ink, a.x, a.y);
        }
        return true;
    }

    bool IsGlyphSpaceFree(double lambda, double r) const {
        const int gx = RoundHalfToEvenInt(std::cos(lambda) * r + g_.cx);
        const int gy = RoundHalfToEvenInt(g_.cy - std::sin(lambda) * r);
        return raster_.IsGlyphSpaceFree(gx, gy, g_.testWidth, g_.testHeight);
    }

    // The aspect cells of the table: row and column give the two bodies.
    void DrawAspectLines() {
        if (!in_.table || !in_.names) return;
        const TableModel& t = *in_.table;
        TableModel rc;
        for (int i = 0; i < t.intNumCells && i < kMaxNumCells; ++i) {
            const TableCell& cell = t.txbCell[i];
            if (cell.kind != CellKind::Aspect || !cell.visible) continue;
            rc.GetRowCol(i, t.intNumCols);
            const int row = rc.intRow, col = rc.intCol;
            for (const Aspect a : AllAspects()) {
                const std::string& abbreviation = in_.names->AspectAbbreviation[a];
                if (abbreviation.empty() || cell.text.find(abbreviation) == std::string::npos ||
                    in_.aspectColor[a] == Color()) {
                    continue;
                }
                int from = 0, to = 0, fromChart = 0;
                if (w_.twoCharts) {
                    if (!in_.includeMoon && (row == 11 || col == 11)) continue;
                    from = row - 1;  // chart B
                    to = col - 1;    // chart A
                    fromChart = 1;
                } else {
                    if (!in_.includeMoon && col == 9) continue;
                    from = row - 1;
                    to = col + 1;
                }
                const std::optional<Body> fromBody = BodyFromIndex(from);
                const std::optional<Body> toBody = BodyFromIndex(to);
                if (!fromBody || !toBody) continue;
                if (in_.suppressInnerAspects &&
                    (kBodies[*fromBody].inner || kBodies[*toBody].inner)) {
                    continue;
                }
                const ChartWheel::Anchor& p = w_.anchors[static_cast<size_t>(fromChart)][*fromBody];
                const ChartWheel::Anchor& q = w_.anchors[0][*toBody];
                if (!p.placed || !q.placed) continue;  // a body without a position
                ChartPrimitive l = Line(ChartRole::AspectLine, p.x + kLineOffset, p.y + kLineOffset,
                                        q.x + kLineOffset, q.y + kLineOffset, in_.aspectColor[a],
                                        cell.bold ? 2 : 1);
                l.first = fromBody;
                l.second = toBody;
                l.aspect = a;
                l.chart = fromChart;
                w_.items.push_back(l);
            }
        }
    }

    void PrintGlyphs(int chart) {
        GlyphTables glyphs;
        FillGlyphTables(glyphs);
        for (const Body b : Bodies(bodyCount_).Reversed()) {
            const ChartWheel::Anchor& a = w_.anchors[chart][b];
            if (!a.placed) continue;
            const bool retro = in_.chart->retrograde[b][chart];
            ChartPrimitive p = Text(ChartRole::BodyGlyph, a.x, a.y, glyphs.PlanetGlyph[b],
                                    ChartFont::Glyph, kChartWhite);
            p.chart = chart;
            p.body = b;
            if (chart == 0) {
                p.underline = retro;
            } else {
                p.color = retro ? kRetrogradeBColor : kDirectBColor;
                p.opaque = true;
                p.fill = w_.background;
            }
            w_.items.push_back(p);
        }
    }

    void DrawSignGlyphs() {
        GlyphTables glyphs;
        FillGlyphTables(glyphs);
        for (int s = 0; s < kSignCount; ++s) {
            const double angle = s * kPi / 6 + kPi / 12;
            w_.items.push_back(
                Text(ChartRole::SignGlyph,
                     RoundHalfToEvenInt(g_.cx + kSignRadius * std::cos(angle) - kSignOffset),
                     RoundHalfToEvenInt(g_.cy - kSignRadius * std::sin(angle) - kSignOffset),
                     glyphs.SignGlyph[s], ChartFont::SignGlyph, kChartLineColor));
        }
    }

    // The two legend blocks in the band above the picture, and below them
    // the note where the house system asked for is undefined at the place.
    void PrintChartLegends(int first, int second, Color color) {
        const size_t lines =
            std::max(LegendBlockOf(first).lines.size(), LegendBlockOf(second).lines.size());
        const std::vector<std::string> note = HouseNoteLines();
        w_.legendBand = LegendBandHeight(lines + note.size(), 0);
        PrintChartLegend(first, color);
        PrintChartLegend(second, color);
        for (size_t i = 0; i < note.size(); ++i) {
            const LegendBlock& b = LegendBlockOf(first);
            ChartPrimitive p =
                Text(ChartRole::HouseNote, w_.twoCharts ? b.leftDouble : b.leftSingle,
                     static_cast<int>(lines + i) * kLegendLineStep - w_.legendBand, note[i],
                     ChartFont::Legend, color);
            p.opaque = true;
            p.fill = w_.background;
            w_.items.push_back(p);
        }
    }

    // The fallback note in two lines, split after its semicolon, when both
    // halves fit the legend's width; otherwise the whole note wrapped to
    // it. None when the houses are those asked for.
    std::vector<std::string> HouseNoteLines() const {
        if (!in_.extras || !in_.extras->houses || !in_.extras->houses->FellBack()) return {};
        const std::string note =
            HousesFallbackNote(in_.texts, *in_.extras->houses, in_.extras->housesLatitude);
        std::vector<std::string> lines;
        const size_t split = note.find("; ");
        if (split != std::string::npos) {
            lines = {note.substr(0, split + 1), note.substr(split + 2)};
            if (TextLength(lines[0]) <= kNoteLineChars &&
                TextLength(lines[1]) <= kNoteLineChars)
                return lines;
            lines.clear();
        }
        AppendWrapped(note, lines);
        return lines;
    }

    int X(double angle, double r) const {
        return RoundHalfToEvenInt(g_.cx + r * std::cos(angle));
    }
    int Y(double angle, double r) const {
        return RoundHalfToEvenInt(g_.cy - r * std::sin(angle));
    }

    // The houses of the chart that carries them: a cusp line from the ring
    // around the signs out to the rim for each house and its number in the
    // middle of it, then the Ascendant and the Midheaven wider and brighter,
    // labelled on a box of the disc's colour. None of it takes room from the
    // glyphs, which are placed before.
    void DrawHouses() {
        if (!in_.extras || !in_.extras->houses) return;
        const HouseCusps& h = *in_.extras->houses;
        const int rim = g_.discRadius - kTwipsPerPixel;
        for (int i = 1; i <= 12; ++i) {
            const double a = h.cusp[static_cast<size_t>(i)];
            ChartPrimitive l = Line(ChartRole::HouseCusp, X(a, kCuspInnerRadius),
                                    Y(a, kCuspInnerRadius), X(a, rim), Y(a, rim), kHouseCuspColor, 1);
            l.house = i;
            l.longitude = a;
            w_.items.push_back(l);
            const double next = h.cusp[static_cast<size_t>(i % 12 + 1)];
            const double middle = a + NormalizeAngle(next - a) / 2;
            ChartPrimitive n = Text(ChartRole::HouseNumber, X(middle, kHouseNumberRadius),
                                    Y(middle, kHouseNumberRadius) - kLegendHalfHeight,
                                    std::to_string(i), ChartFont::Legend, kHouseCuspColor);
            n.alignCenter = true;
            n.house = i;
            n.longitude = a;
            w_.items.push_back(n);
        }
        struct AngleMark {
            double longitude;
            TextId label;
            ChartAngle angle;
        };
        const AngleMark angles[] = {{h.ascendant, kTextAscendantLabel, ChartAngle::Ascendant},
                                    {h.midheaven, kTextMidheavenLabel, ChartAngle::Midheaven}};
        for (const auto& [a, label, angle] : angles) {
            ChartPrimitive l = Line(ChartRole::AngleLine, X(a, kCuspInnerRadius),
                                    Y(a, kCuspInnerRadius), X(a, rim), Y(a, rim), kAngleColor, 2);
            l.angle = angle;
            l.longitude = a;
            w_.items.push_back(l);
            ChartPrimitive t = Text(ChartRole::AngleLabel, X(a, kAngleLabelRadius),
                                    Y(a, kAngleLabelRadius) - kLegendHalfHeight,
                                    in_.texts.ProgramText(label), ChartFont::Legend, kAngleColor);
            t.angle = angle;
            t.longitude = a;
            t.alignCenter = true;
            t.opaque = true;
            t.fill = kChartBlack;
            w_.items.push_back(t);
        }
    }

    // The extra points of one chart find their places as the glyphs do,
    // after all of them, so the bodies stand where they stand without
    // points; a point that finds no place is left out.
    void PlacePoints(int chart) {
        if (!in_.extras) return;
        for (const PointPosition& pp : in_.extras->points[static_cast<size_t>(chart)]) {
            const double lambda = pp.longitude;
            if (lambda < 0) continue;
            double r = g_.firstRadius;
            while (r >= kSmallestRadius && !IsGlyphSpaceFree(lambda, r)) r *= kRadiusStep;
            if (r < kSmallestRadius) continue;
            const int x = RoundHalfToEvenInt(std::cos(lambda) * r + g_.cx - kGlyphOffset);
            const int y = RoundHalfToEvenInt(g_.cy - std::sin(lambda) * r - kGlyphOffset);
            raster_.StampBox(x, y, kPointBoxWidth, kPointBoxHeight);
            ChartPrimitive p = Text(ChartRole::PointGlyph, x + kLineOffset, y,
                                    in_.texts.ProgramText(PointSymbolText(pp.point)),
                                    ChartFont::Point, chart == 0 ? kPointAColor : kDirectBColor);
            p.alignCenter = true;
            p.chart = chart;
            p.point = pp.point;
            p.longitude = lambda;
            if (chart == 1) {
                p.opaque = true;
                p.fill = w_.background;
            }
            points_.push_back(p);
        }
    }

    static TextId PointSymbolText(ExtraPoint point) {
        switch (point) {
            case ExtraPoint::MeanNode:
                return kTextMeanNodeSymbol;
            case ExtraPoint::TrueNode:
                return kTextTrueNodeSymbol;
            case ExtraPoint::Chiron:
                return kTextChironSymbol;
        }
        return kTextChironSymbol;
    }

    void PrintPoints() {
        w_.items.insert(w_.items.end(), points_.begin(), points_.end());
    }

    void PrintChartLegend(int block, Color color) {
        const LegendBlock& b = LegendBlockOf(block);
        for (size_t i = 0; i < b.lines.size(); ++i) {
            ChartPrimitive p = Text(ChartRole::Legend, w_.twoCharts ? b.leftDouble : b.leftSingle,
                                    static_cast<int>(i) * kLegendLineStep - w_.legendBand,
                                    in_.texts.ProgramText(b.lines[i]), ChartFont::Legend, color);
            p.opaque = true;
            p.fill = w_.background;
            p.legendBlock = block;
            w_.items.push_back(p);
        }
        w_.legendBlocks[w_.legendBlocks[0] < 0 ? 0 : 1] = block;
    }

    ChartWheel& Model() { return w_; }

  private:
    const WheelInput& in_;
    const GlyphInks& inks_;
    WheelGeometry g_;
    GlyphSpaceRaster raster_;
    ChartWheel w_;
    int bodyCount_ = kMaxBodies;
    std::vector<ChartPrimitive> points_;
};

}  // namespace

const char* ChartFontFamily(ChartFont f) {
    if (f == ChartFont::Graph) return kGraphFontName;
    return f == ChartFont::Glyph || f == ChartFont::SignGlyph ? kGlyphFontName : kTextFontName;
}

double ChartFontPoints(ChartFont f) {
    switch (f) {
        case ChartFont::Glyph:
            return 14;
        case ChartFont::SignGlyph:
            return 8;
        case ChartFont::Legend:
            return 8.25;
        case ChartFont::Note:
            return 10;
        case ChartFont::Graph:
            return 8;
        case ChartFont::Point:
            return 11;
    }
    return 10;
}

GlyphInks SolidGlyphInks(int boxWidthTwips, int boxHeightTwips) {
    GlyphInks inks;
    GlyphInk g;
    g.boxWidth = boxWidthTwips;
    g.boxHeight = boxHeightTwips;
    g.width = (boxWidthTwips + kTwipsPerPixel - 1) / kTwipsPerPixel;
    g.height = (boxHeightTwips + kTwipsPerPixel - 1) / kTwipsPerPixel;
    g.ink.assign(static_cast<size_t>(g.width * g.height), 1);
    for (const Body b : AllBodies()) inks[b] = g;
    return inks;
}

const LegendBlock& LegendBlockOf(int block) {
    static const LegendBlock kBlocks[4] = {
        {{kTextLegendRetrograde, kTextLegendCloseAspect, kTextLegendRightClick}, 0, 1700, false},
        {{kTextLegendTransiting, kTextLegendNatal, kTextLegendRetrogradeNatal,
          kTextLegendRetrogradeTransit},
         7050,
         7050,
         false},
        {{kTextLegendFirstBirthdate, kTextLegendSecondBirthdate, kTextLegendRetrogradeSecond,
          kTextLegendRetrogradeFirst},
         7300,
         7300,
         false},
        {{kTextLegendAriesAt, kTextLegendAriesRight}, 4600, 4600, true},
    };
    return kBlocks[std::clamp(block, 0, 3)];
}

int LegendBandHeight(size_t lines1, size_t lines2) {
    constexpr int kGap = 60;
    return static_cast<int>(std::max(lines1, lines2)) * kLegendLineStep + kGap;
}

size_t ChartWheel::Count(ChartRole role) const {
    return static_cast<size_t>(std::count_if(
        items.begin(), items.end(), [&](const ChartPrimitive& p) { return p.role == role; }));
}

WheelInput MakeWheelInput(const Chart& chart, const TableModel& table, const NameTables& names,
                          const Settings& settings, const ProgramTexts& texts) {
    WheelInput in;
    in.chart = &chart;
    in.table = &table;
    in.names = &names;
    in.aspectColor = settings.accepted.AspectColor;
    in.includeMoon = settings.accepted.IncludeMoon;
    in.zodiacSectors = settings.accepted.ShowZodiacSectors;
    in.suppressInnerAspects = !settings.accepted.ShowInnerPlanetAspects;
    in.texts = texts;
    return in;
}

ChartWheel DrawWheel(const WheelInput& in, const GlyphInks& inks) {
    WheelDrawing d(in, inks, kSingleWheel, false);
    d.DrawDisc();
    if (in.zodiacSectors) d.DrawSectorSpokes();
    if (!d.PlaceGlyphs(0, false)) return std::move(d.Model());
    d.PlacePoints(0);
    // The legend stands above the picture, so it neither covers the disc
    // nor hides a glyph.
    d.PrintChartLegends(0, 3, kChartBlack);
    d.DrawHouses();
    d.DrawAspectLines();
    d.PrintGlyphs(0);
    d.PrintPoints();
    if (in.zodiacSectors) d.DrawSignGlyphs();
    d.Model().drawn = true;
    return std::move(d.Model());
}

ChartWheel DrawDoubleWheel(const WheelInput& in, const GlyphInks& inks) {
    WheelDrawing d(in, inks, kDoubleWheel, true);
    d.DrawDisc();
    if (in.zodiacSectors) d.DrawSectorSpokes();
    // Chart A in white on the disc, then chart B in black on boxes of the
    // background colour; each keeps its own anchors.
    if (!d.PlaceGlyphs(0, false) || !d.PlaceGlyphs(1, true)) return std::move(d.Model());
    d.PlacePoints(0);
    d.PlacePoints(1);
    const bool synastry = in.chart && in.chart->mode == Mode::Synastry;
    d.PrintChartLegends(0, synastry ? 2 : 1, kChartBlack);
    d.DrawHouses();
    d.DrawAspectLines();
    d.PrintGlyphs(0);
    d.PrintGlyphs(1);
    d.PrintPoints();
    if (in.zodiacSectors) d.DrawSignGlyphs();
    d.Model().drawn = true;
    return std::move(d.Model());
}

ChartWheel DrawChartWheel(const WheelInput& in, const GlyphInks& inks) {
    const bool two = in.chart && ModeInfoOf(in.chart->mode).twoCharts;
    return two ? DrawDoubleWheel(in, inks) : DrawWheel(in, inks);
}

// ---------------------------------------------------------------------------
// What the pointer is over

namespace {

// The box of a body glyph around its print origin, as wide as the aspect
// lines' ends are from it on either side.
constexpr int kGlyphBoxWidth = 2 * kLineOffset;
constexpr int kGlyphBoxHeight = 330;

double DistanceToSegment(double px, double py, const ChartPrimitive& l) {
    const double dx = l.x2 - l.x1, dy = l.y2 - l.y1;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - l.x1) * dx + (py - l.y1) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = l.x1 + t * dx - px, ey = l.y1 + t * dy - py;
    return std::sqrt(ex * ex + ey * ey);
}

// A body's or point's name, marked with its chart in the two-chart modes.
std::string ChartLabel(const std::string& name, int chart, const Chart& c,
                       const ProgramTexts& texts) {
    if (!c.twoCharts) return name;
    TextId id = kTextTransitingBody;
    if (c.mode == Mode::Synastry)
        id = chart == kChartB ? kTextSecondBirthdateBody : kTextFirstBirthdateBody;
    else if (chart == kChartB)
        id = kTextNatalBody;
    return texts.ProgramTextWithValues(id, {name, "", "", "", ""});
}

std::string BodyLabel(Body body, int chart, const Chart& c, const NameTables& names,
                      const ProgramTexts& texts) {
    return ChartLabel(names.BodyName[body], chart, c, texts);
}

// Half the width and the height of a text of the legend font as the house
// numbers and the angles' labels are printed (centred on x1, from y1 down).
constexpr int kLabelHalfWidth = 150;
constexpr int kLabelHeight = 200;
// The point's symbol box (centred on x1, from y1 down), as PlacePoints
// reserves it; each further character of a symbol (the nodes' "m" and "t")
// widens it by about the width of a letter of the point font.
constexpr int kPointHalfWidth = 130;
constexpr int kPointHeight = 300;
constexpr int kPointHalfWidthPerCharacter = 60;

// The characters of a UTF-8 text.
int CharacterCount(const std::string& text) {
    int n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

bool IsLineOf(ChartRole role) {
    return role == ChartRole::AspectLine || role == ChartRole::AngleLine ||
           role == ChartRole::HouseCusp;
}

// Which lines in reach go first: aspects, then the angles (which may lie
// on a cusp), then the cusps.
int LineRank(ChartRole role) {
    return role == ChartRole::AspectLine ? 0 : role == ChartRole::AngleLine ? 1 : 2;
}

}  // namespace

std::optional<ItemBox> PointerBoxOf(const ChartPrimitive& p) {
    switch (p.role) {
        case ChartRole::BodyGlyph:
            return ItemBox{p.x1, p.y1, kGlyphBoxWidth, kGlyphBoxHeight};
        case ChartRole::PointGlyph: {
            const int half = kPointHalfWidth +
                             kPointHalfWidthPerCharacter * std::max(0, CharacterCount(p.text) - 1);
            return ItemBox{p.x1 - half, p.y1, 2 * half, kPointHeight};
        }
        case ChartRole::HouseNumber:
        case ChartRole::AngleLabel:
            return ItemBox{p.x1 - kLabelHalfWidth, p.y1, 2 * kLabelHalfWidth, kLabelHeight};
        default:
            return std::nullopt;
    }
}

std::string HousesAndPointsItemName(const ChartPrimitive& item, const Chart& chart,
                                    const NameTables& names, const ProgramTexts& texts) {
    if (item.longitude < 0) return {};
    std::string name;
    if (item.role == ChartRole::PointGlyph && item.point) {
        name = ChartLabel(ExtraPointName(texts, *item.point), item.chart == 1 ? kChartB : kChartA,
                          chart, texts);
    } else if ((item.role == ChartRole::HouseCusp || item.role == ChartRole::HouseNumber) &&
               item.house >= 1 && item.house <= 12) {
        name = texts.ProgramTextWithValues(kTextHouseNamed,
                                           {std::to_string(item.house), "", "", "", ""});
    } else if ((item.role == ChartRole::AngleLine || item.role == ChartRole::AngleLabel) &&
               item.angle) {
        name = texts.ProgramText(*item.angle == ChartAngle::Ascendant ? kTextAscendant
                                                                      : kTextMidheaven);
    } else {
        return {};
    }
    return name + ": " + PositionTextLong(Radians(item.longitude), names);
}

const ChartPrimitive* BodyGlyphAt(const ChartWheel& w, int x, int y) {
    for (auto it = w.items.rbegin(); it != w.items.rend(); ++it) {
        const ChartPrimitive& p = *it;
        if (p.role != ChartRole::BodyGlyph) continue;
        if (x >= p.x1 && x < p.x1 + kGlyphBoxWidth && y >= p.y1 && y < p.y1 + kGlyphBoxHeight)
            return &p;
    }
    return nullptr;
}

const ChartPrimitive* AspectLineNear(const ChartWheel& w, int x, int y, int reach) {
    const ChartPrimitive* best = nullptr;
    double bestDistance = reach;
    for (const ChartPrimitive& p : w.items) {
        if (p.role != ChartRole::AspectLine) continue;
        const double d = DistanceToSegment(x, y, p);
        if (d <= bestDistance) {
            bestDistance = d;
            best = &p;
        }
    }
    return best;
}

std::string AspectLineName(const ChartPrimitive& line, const Chart& chart, const NameTables& names,
                           const ProgramTexts& texts) {
    if (line.role != ChartRole::AspectLine || !line.aspect || !line.first || !line.second)
        return {};
    const Body lineFirst = *line.first, lineSecond = *line.second;
    for (const PairResult& pr : chart.Pairs()) {
        const bool same = chart.twoCharts
                              ? pr.first == lineFirst && pr.second == lineSecond
                              : std::minmax(pr.first, pr.second) ==
                                    std::minmax(lineFirst, lineSecond);
        if (!same || pr.aspect != *line.aspect) continue;
        const std::string first =
            BodyLabel(lineFirst, chart.twoCharts ? kChartB : kChartA, chart, names, texts);
        const std::string second = BodyLabel(lineSecond, kChartA, chart, names, texts);
        return texts.ProgramTextWithValues(
            kTextAspectLineNamed,
            {first, names.AspectNoun[*line.aspect], second, AngleText(Radians(pr.deviation)), ""});
    }
    return {};
}

std::string BodyGlyphName(const ChartPrimitive& glyph, const Chart& chart, const NameTables& names,
                          const ProgramTexts& texts) {
    if (glyph.role != ChartRole::BodyGlyph || !glyph.body) return {};
    const int slot = glyph.chart == 1 ? kChartB : kChartA;
    const SkyLongitude lambda = chart.longitude[*glyph.body][slot];
    if (!lambda) return {};
    return BodyLabel(*glyph.body, slot, chart, names, texts) + ": " +
           PositionTextLong(Radians(*lambda), names);
}

int ItemAt(const ChartWheel& w, int x, int y, int reach) {
    if (const ChartPrimitive* p = BodyGlyphAt(w, x, y))
        return static_cast<int>(p - w.items.data());
    // The other printed items, the last painted first.
    for (size_t i = w.items.size(); i-- > 0;) {
        const ChartPrimitive& p = w.items[i];
        if (p.role == ChartRole::BodyGlyph) continue;
        const std::optional<ItemBox> box = PointerBoxOf(p);
        if (box && box->Holds(x, y)) return static_cast<int>(i);
    }
    int best = -1;
    double bestDistance = reach;
    int bestRank = 3;  // above every line's
    for (size_t i = 0; i < w.items.size(); ++i) {
        const ChartPrimitive& p = w.items[i];
        if (!IsLineOf(p.role)) continue;
        const double d = DistanceToSegment(x, y, p);
        const int rank = LineRank(p.role);
        if (d > reach) continue;
        // An aspect line in reach goes before an angle's line, which goes
        // before a cusp; of lines of one kind the nearest, of lines as near
        // the last painted.
        if (rank < bestRank || (rank == bestRank && d <= bestDistance)) {
            best = static_cast<int>(i);
            bestDistance = d;
            bestRank = rank;
        }
    }
    return best;
}

std::string ItemName(const ChartPrimitive& item, const Chart& chart, const NameTables& names,
                     const ProgramTexts& texts) {
    if (item.role == ChartRole::AspectLine) return AspectLineName(item, chart, names, texts);
    if (item.role == ChartRole::BodyGlyph) return BodyGlyphName(item, chart, names, texts);
    return HousesAndPointsItemName(item, chart, names, texts);
}

std::string TableCellName(const TableCell& cell, const Chart& chart, const NameTables& names,
                          const ProgramTexts& texts) {
    if (!cell.visible || cell.text.empty()) return {};
    ChartPrimitive p;
    if (cell.kind == CellKind::Aspect && cell.aspect) {
        p.role = ChartRole::AspectLine;
        p.first = cell.first;
        p.second = cell.second;
        p.aspect = cell.aspect;
        return AspectLineName(p, chart, names, texts);
    }
    if (cell.kind == CellKind::Position && cell.body) {
        p.role = ChartRole::BodyGlyph;
        p.body = cell.body;
        p.chart = cell.chart;
        return BodyGlyphName(p, chart, names, texts);
    }
    return {};
}

// ---------------------------------------------------------------------------
// Occupancy raster

GlyphSpaceRaster::GlyphSpaceRaster(int widthTwips, int heightTwips)
    : w_(std::max(0, widthTwips / kTwipsPerPixel)),
      h_(std::max(0, heightTwips / kTwipsPerPixel)),
      occupied_(static_cast<size_t>(w_) * static_cast<size_t>(h_), 1) {}

void GlyphSpaceRaster::StartWithDisc(int cx, int cy, int radius) {
    // A pixel is black when its centre lies inside the one-pixel rim.
    const double inner = radius - kTwipsPerPixel;
    for (int py = 0; py < h_; ++py) {
        const double dy = py * kTwipsPerPixel + kTwipsPerPixel / 2.0 - cy;
        for (int px = 0; px < w_; ++px) {
            const double dx = px * kTwipsPerPixel + kTwipsPerPixel / 2.0 - cx;
            occupied_[static_cast<size_t>(py) * w_ + px] =
                dx * dx + dy * dy <= inner * inner ? 0 : 1;
        }
    }
}

namespace {
// The pixel that holds a twip coordinate (floor division, also below 0).
int PixelOf(int twips) {
    return twips >= 0 ? twips / kTwipsPerPixel : -((-twips + kTwipsPerPixel - 1) / kTwipsPerPixel);
}
}  // namespace

void GlyphSpaceRaster::StampInk(const GlyphInk& ink, int xTwips, int yTwips) {
    // A print origin between two pixels spreads the ink over both.
    const int px0 = PixelOf(xTwips) + ink.left, py0 = PixelOf(yTwips) + ink.top;
    const int spreadX = xTwips % kTwipsPerPixel != 0 ? 1 : 0;
    const int spreadY = yTwips % kTwipsPerPixel != 0 ? 1 : 0;
    for (int y = 0; y < ink.height; ++y) {
        for (int x = 0; x < ink.width; ++x) {
            if (!ink.ink[static_cast<size_t>(y) * ink.width + x]) continue;
            for (int sy = 0; sy <= spreadY; ++sy) {
                for (int sx = 0; sx <= spreadX; ++sx) {
                    const int px = px0 + x + sx, py = py0 + y + sy;
                    if (px >= 0 && py >= 0 && px < w_ && py < h_)
                        occupied_[static_cast<size_t>(py) * w_ + px] = 1;
                }
            }
        }
    }
}

void GlyphSpaceRaster::StampBox(int xTwips, int yTwips, int widthTwips, int heightTwips) {
    if (widthTwips <= 0 || heightTwips <= 0) return;
    const int x0 = std::max(0, PixelOf(xTwips)), y0 = std::max(0, PixelOf(yTwips));
    const int x1 = std::min(w_ - 1, PixelOf(xTwips + widthTwips - 1));
    const int y1 = std::min(h_ - 1, PixelOf(yTwips + heightTwips - 1));
    for (int py = y0; py <= y1; ++py)
        for (int px = x0; px <= x1; ++px) occupied_[static_cast<size_t>(py) * w_ + px] = 1;
}

bool GlyphSpaceRaster::OccupiedAt(int xTwips, int yTwips) const {
    const int px = PixelOf(xTwips), py = PixelOf(yTwips);
    if (px < 0 || py < 0 || px >= w_ || py >= h_) return true;
    return occupied_[static_cast<size_t>(py) * w_ + px] != 0;
}

bool GlyphSpaceRaster::IsGlyphSpaceFree(int gx, int gy, int testWidth, int testHeight) const {
    for (int dx = 0; dx <= testWidth; dx += 10)
        for (int dy = 0; dy <= testHeight; dy += 10)
            if (OccupiedAt(gx + dx - kGlyphOffset, gy + dy - kGlyphOffset)) return false;
    return true;
}

}  // namespace vek
