// The chart wheel as a drawing model: a dark disc on which the bodies stand as
// glyphs at their ecliptic longitudes and every aspect the table shows is a
// coloured line between two glyphs. DrawWheel draws one chart (world
// transits, natal aspects), DrawDoubleWheel two (personal transits,
// synastry). The result is a list of primitives in twips (discs, lines and
// texts, in painting order) together with the glyph anchors; a front end
// paints it, tests read it.
//
// Glyph placement reads what has been drawn so far, pixel by pixel, at 15
// twips a pixel: a glyph position is free when every sampled pixel of its box
// is black (the disc) or the spoke colour. The model keeps those pixels in a
// small raster of its own, so placement needs no screen; the ink of each body
// glyph at that resolution comes from whoever renders the glyph font.
#pragma once

#include <array>
#include <optional>
#include <cstdint>
#include <string>
#include <vector>

#include "config/program_text.h"
#include "config/settings.h"
#include "display/table_model.h"
#include "engine/chart.h"
#include "engine/chart_extras.h"
#include "engine/vocabulary.h"

namespace vek {

inline constexpr int kTwipsPerPixel = 15;

inline constexpr Color kChartLineColor = Rgb(64, 64, 64);      // spokes, sign glyphs
inline constexpr Color kChartBackground = Rgb(224, 224, 224);  // around the disc
inline constexpr Color kChartWhite = Rgb(255, 255, 255);
inline constexpr Color kChartBlack = Color();
inline constexpr Color kRetrogradeBColor = Rgb(32, 32, 255);  // chart B glyph, retrograde
inline constexpr Color kDirectBColor = Rgb(32, 32, 32);       // chart B glyph, direct
inline constexpr Color kHouseCuspColor = Rgb(150, 118, 52);   // cusp lines and numbers
inline constexpr Color kAngleColor = Rgb(226, 168, 48);       // Ascendant and Midheaven
inline constexpr Color kPointAColor = Rgb(96, 176, 255);      // extra points of chart A

// The transit graph's font; the painter maps it to a monospaced font that
// is installed.
inline constexpr const char* kGraphFontName = "Courier New";

// Fonts of the drawing. Sizes in points; a point is 20 twips.
enum class ChartFont {
    Glyph,      // "Starfont Sans" 14: body glyphs
    SignGlyph,  // "Starfont Sans" 8: sign glyphs
    Legend,     // "Arial" 8.25: legend lines
    Note,       // "Arial" 10: the annotation of a saved image
    Graph,      // "Courier New" 8: the transit graph's texts
    Point,      // "Arial" 11: the extra points' symbols
};
const char* ChartFontFamily(ChartFont f);
double ChartFontPoints(ChartFont f);
inline int ChartFontTwips(ChartFont f) {
    return static_cast<int>(ChartFontPoints(f) * 20 + 0.5);
}

// What a primitive stands for.
enum class ChartRole {
    Disc,
    Spoke,
    AspectLine,
    BodyGlyph,
    SignGlyph,
    Legend,
    Note,
    // The transit graph: time and scale labels and the title, the grid and
    // scale lines, the points of the two curves, the marks of the exact
    // passes.
    GraphText,
    GraphGrid,
    GraphCurve,
    GraphMark,
    // Houses: the twelve cusp lines (Ascendant and Midheaven among them,
    // wider), the house numbers, the "ASC" and "MC" labels, and the note
    // where the system asked for is undefined at the place.
    HouseCusp,
    AngleLine,
    HouseNumber,
    AngleLabel,
    HouseNote,
    // An extra point (lunar node, Chiron) of chart `chart`.
    PointGlyph,
};

// The two angles the wheel marks.
enum class ChartAngle { Ascendant, Midheaven };

struct ChartPrimitive {
    // Point: a square of width × width pixels whose top-left pixel is the
    // one at (x1, y1), moved up and left by (width − 1) / 2 pixels.
    enum class Kind { Disc, Line, Text, Point };
    Kind kind = Kind::Line;
    ChartRole role = ChartRole::Spoke;
    // Disc: centre (x1, y1), radius r. Line: from (x1, y1) to (x2, y2).
    // Text: print position (x1, y1), the top-left corner of the text; with
    // alignRight (x1, y1) is its top-right corner.
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0, r = 0;
    Color color;  // line, outline or text colour
    Color fill;   // disc interior; text box of an opaque text
    int width = 1;    // line width in pixels
    std::string text;
    ChartFont font = ChartFont::Glyph;
    bool underline = false;
    bool opaque = false;  // text printed on a box of `fill`
    bool alignRight = false;
    bool alignCenter = false;  // (x1, y1) is the middle of the text's top edge
    // Body glyphs: chart 0 (A) or 1 (B) and body 1..10. Aspect lines: the
    // chart B (two charts) or first body, the other body, and the aspect.
    int chart = 0;
    std::optional<Body> body;
    std::optional<Body> first, second;
    std::optional<Aspect> aspect;
    int legendBlock = -1;  // legend lines: block 0..3
    int house = 0;         // cusp lines and house numbers: the house 1..12
    std::optional<ExtraPoint> point;  // extra points
    // The Ascendant's or the Midheaven's line and label.
    std::optional<ChartAngle> angle;
    // Cusp lines, house numbers, angles and points: the longitude they
    // stand for (radians; a house number stands for its cusp), which the
    // pointer's name gives; −1 for the other items.
    double longitude = -1;
};

// Ink of one body glyph at 15 twips a pixel, printed with its top-left corner
// at pixel (0, 0): width × height cells, row by row, non-zero where the glyph
// leaves any ink; cell (0, 0) is pixel (left, top). boxWidth and boxHeight
// are the size of the glyph's text box in twips (an opaque print fills it).
struct GlyphInk {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> ink;
    int boxWidth = 0;
    int boxHeight = 0;
};
using GlyphInks = BodyArray<GlyphInk>;

// Every body glyph inked over its whole box of w × h twips: a stand-in for
// the glyph font where its shapes do not matter.
GlyphInks SolidGlyphInks(int boxWidthTwips, int boxHeightTwips);

// Geometry of the two drawings, in twips.
struct WheelGeometry {
    int left, width, height;  // the picture box
    int cx, cy;               // centre
    int discRadius;
    int firstRadius;  // spoke length and first glyph radius
    int testWidth, testHeight;
};
inline constexpr WheelGeometry kSingleWheel = {1200, 6000, 6000, 3000, 3000, 2950, 2900, 250, 300};
inline constexpr WheelGeometry kDoubleWheel = {1200, 9900, 6600, 4950, 3300, 3250, 3200, 250, 350};

// Legend blocks: the program texts of the lines, the left edge in the
// single and the double wheel, and whether the text background stays opaque
// after the block.
struct LegendBlock {
    std::vector<TextId> lines;
    int leftSingle;
    int leftDouble;
    bool opaqueAfter;
};
const LegendBlock& LegendBlockOf(int block);  // 0..3
inline constexpr int kLegendLineStep = 210;
// The band above the picture that holds legend blocks of the given line
// counts: room for the longer block and a small gap to the disc.
int LegendBandHeight(size_t lines1, size_t lines2);

// Everything the drawing reads of the current result.
struct WheelInput {
    const Chart* chart = nullptr;
    const TableModel* table = nullptr;
    const NameTables* names = nullptr;  // aspect abbreviations as the cells show them
    AspectColors aspectColor = DefaultAspectColors();
    bool includeMoon = true;
    bool zodiacSectors = true;          // "Include sectors of the zodiac in charts"
    bool suppressInnerAspects = false;  // "Don't show aspects including inner planets"
    ProgramTexts texts;                 // the legend's, in the current language
    // The houses and extra points to draw; none when null or empty.
    const ChartExtras* extras = nullptr;
};

// The input from a compute's chart and table with the accepted settings.
WheelInput MakeWheelInput(const Chart& chart, const TableModel& table, const NameTables& names,
                          const Settings& settings, const ProgramTexts& texts);

struct ChartWheel {
    bool twoCharts = false;
    Mode mode = Mode::None;
    // False when a glyph found no free place down to radius 100: the drawing
    // stopped there and must not be shown (the caller warns).
    bool drawn = false;
    bool crowded = false;
    WheelGeometry geometry = kSingleWheel;
    Color background = kChartBackground;
    std::vector<ChartPrimitive> items;
    // Print origin of each body's glyph (chart 0 = A, 1 = B), in twips.
    struct Anchor {
        bool placed = false;
        int x = 0, y = 0;
        double radius = 0;  // where the free place was found
    };
    std::array<BodyArray<Anchor>, 2> anchors{};
    std::array<int, 2> legendBlocks = {-1, -1};
    // The legend stands in a band of this many twips above the picture box
    // (its lines at y from −legendBand), clear of the disc and the glyphs;
    // 0 without a legend. The window shows the band above the drawing.
    int legendBand = 0;
    // The item the pointer is over (an index into items), painted
    // emphasised; −1 for none. Never part of a saved image.
    int highlight = -1;

    int WidthPixels() const { return geometry.width / kTwipsPerPixel; }
    int HeightPixels() const { return geometry.height / kTwipsPerPixel; }
    size_t Count(ChartRole role) const;
};

// The houses: cusp lines run from this radius out to the disc's rim, the
// house numbers and the angles' labels stand on these radii (twips).
inline constexpr int kCuspInnerRadius = 1000;
inline constexpr int kHouseNumberRadius = 1180;
inline constexpr int kAngleLabelRadius = 1560;

// Aspect lines start and end here, relative to a glyph's print origin.
inline constexpr int kLineOffset = 120;

// The single wheel (world transits, natal aspects) and the double wheel
// (personal transits, synastry). DrawChartWheel picks by the chart's mode.
ChartWheel DrawWheel(const WheelInput& in, const GlyphInks& inks);
ChartWheel DrawDoubleWheel(const WheelInput& in, const GlyphInks& inks);
ChartWheel DrawChartWheel(const WheelInput& in, const GlyphInks& inks);

// ---------------------------------------------------------------------------
// What the pointer is over

// The body glyph whose box holds a point of the drawing (twips), the last
// painted first; null over none.
const ChartPrimitive* BodyGlyphAt(const ChartWheel& w, int x, int y);
// The aspect line nearest to a point, when it passes within `reach` twips;
// null otherwise.
const ChartPrimitive* AspectLineNear(const ChartWheel& w, int x, int y, int reach);

// The name of an aspect line: both bodies (in two charts each with its
// chart), the aspect and its deviation, as "Sun square Mars, 2°13' from
// exact"; empty when the chart holds no such aspect.
std::string AspectLineName(const ChartPrimitive& line, const Chart& chart, const NameTables& names,
                           const ProgramTexts& texts);
// The name of a body glyph: the body (with its chart) and its place in the
// zodiac, as "Mars (natal): 12° in Aries".
std::string BodyGlyphName(const ChartPrimitive& glyph, const Chart& chart, const NameTables& names,
                          const ProgramTexts& texts);

// The box the pointer finds a printed item in and that its emphasis
// frames (twips): body glyphs, extra points, house numbers and the labels
// of the angles; none for the other items.
struct ItemBox {
    int left = 0, top = 0, width = 0, height = 0;
    bool Holds(int x, int y) const {
        return x >= left && x < left + width && y >= top && y < top + height;
    }
};
std::optional<ItemBox> PointerBoxOf(const ChartPrimitive& item);

// The name of an extra point, a house or an angle: the point (with its
// chart in the two-chart modes), "House 7" or "Ascendant", and the place in
// the zodiac, as "True Node (natal): 3° in Aries"; empty for other items.
std::string HousesAndPointsItemName(const ChartPrimitive& item, const Chart& chart,
                                    const NameTables& names, const ProgramTexts& texts);

// What the pointer is over at a point (twips): the body glyph there, else an
// extra point, a house number or an angle's label, else the nearest line
// within `reach`, an aspect line before an angle's line before a cusp; its
// index in items, −1 for none.
int ItemAt(const ChartWheel& w, int x, int y, int reach);
// The name of an item as AspectLineName, BodyGlyphName or
// HousesAndPointsItemName give it; empty for any other item.
std::string ItemName(const ChartPrimitive& item, const Chart& chart, const NameTables& names,
                     const ProgramTexts& texts);
// The name of a table cell: an aspect cell as its line, a position cell as
// its body's glyph; empty for the other cells and for empty ones.
std::string TableCellName(const TableCell& cell, const Chart& chart, const NameTables& names,
                          const ProgramTexts& texts);

// The occupancy of a drawing at 15 twips a pixel: which pixels hold
// something other than the black disc or the spoke colour. Outside the
// picture everything counts as occupied.
class GlyphSpaceRaster {
  public:
    GlyphSpaceRaster(int widthTwips, int heightTwips);
    // Occupied everywhere except the disc's interior (inside its one-pixel rim).
    void StartWithDisc(int cx, int cy, int radius);
    void StampInk(const GlyphInk& ink, int xTwips, int yTwips);
    void StampBox(int xTwips, int yTwips, int widthTwips, int heightTwips);
    bool OccupiedAt(int xTwips, int yTwips) const;
    // The pixel test for a glyph whose box starts at (gx − 150, gy − 150).
    bool IsGlyphSpaceFree(int gx, int gy, int testWidth, int testHeight) const;

  private:
    int w_, h_;
    std::vector<uint8_t> occupied_;
};

}  // namespace vek
