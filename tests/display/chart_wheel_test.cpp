// The chart wheel's drawing model: glyph placement by the pixel rule, one
// line per shown aspect and nothing else, line widths and colours, the Moon
// and the sector options, a crowded chart, the double wheel's second chart,
// the legend, and the saved image's recolouring and annotation.
#include "display/chart_wheel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "../fake_sky.h"
#include "../program_texts.h"
#include "display/chart_image.h"
#include "engine/angle_text.h"
#include "engine/modes.h"

namespace vek {
namespace {
using testing::kAfterData;

double Deg(double d) {
    return d / 360.0 * kTwoPi;
}

// Glyph boxes of about the glyph font's size: 240 × 330 twips.
const GlyphInks& Inks() {
    static const GlyphInks inks = SolidGlyphInks(240, 330);
    return inks;
}

// Texts that read "text N": the tests see which program text went where.
ProgramTexts Texts(Language language = kEnglish) {
    return testing::NumberedTexts(language);
}

// A chart with every body spread around the circle, 36° apart, and its table
// laid out with empty aspect cells.
class WheelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        BuildNameTables(names, kEnglish);
        SetMode(Mode::World);
    }

    void SetMode(Mode mode) {
        chart = Chart();
        chart.mode = mode;
        chart.twoCharts = ModeInfoOf(mode).twoCharts;
        chart.bodyCount = kMaxBodies;
        for (Body b : AllBodies()) {
            chart.longitude[b][0] = SkyLongitude(Deg(36.0 * (Index(b) - 1) + 5));
            chart.longitude[b][1] = SkyLongitude(Deg(36.0 * (Index(b) - 1) + 23));
        }
        table = TableModel();
        if (chart.twoCharts) {
            table.LayoutSquareTable(mode, false, Texts());
        } else {
            table.LayoutTriangularTable();
        }
    }

    // Shows aspect `aspect` in the cell of a pair (as the chart lists it).
    void ShowAspect(Body first, Body second, Aspect aspect, bool bold = false) {
        const int i = table.AspectCellIndex(first, second);
        ASSERT_GE(i, 0) << Index(first) << "/" << Index(second);
        TableCell& c = table.txbCell[i];
        c.text = names.AspectAbbreviation[aspect] + "\r\n1°2' s";
        c.bold = bold;
        c.aspect = aspect;
        c.visible = true;
    }

    WheelInput Input() const {
        WheelInput in;
        in.chart = &chart;
        in.table = &table;
        in.names = &names;
        in.aspectColor = colors;
        in.includeMoon = includeMoon;
        in.zodiacSectors = sectors;
        in.suppressInnerAspects = suppressInner;
        in.texts = Texts();
        return in;
    }
    ChartWheel Draw() const { return DrawChartWheel(Input(), Inks()); }

    // (first, second, aspect) of every aspect line.
    static std::multiset<std::tuple<Body, Body, Aspect>> Lines(const ChartWheel& w) {
        std::multiset<std::tuple<Body, Body, Aspect>> s;
        for (const ChartPrimitive& p : w.items)
            if (p.role == ChartRole::AspectLine) s.insert({*p.first, *p.second, *p.aspect});
        return s;
    }
    static const ChartPrimitive* Glyph(const ChartWheel& w, int chart, Body body) {
        for (const ChartPrimitive& p : w.items)
            if (p.role == ChartRole::BodyGlyph && p.chart == chart && p.body == body) return &p;
        return nullptr;
    }

    Chart chart;
    TableModel table;
    NameTables names;
    AspectColors colors = DefaultAspectColors();
    bool includeMoon = true;
    bool sectors = true;
    bool suppressInner = false;
};

// Whether two boxes of w × h twips at two print origins overlap by more than
// `slack` twips (the test samples every 10 twips and reads 15-twip pixels, so
// boxes can be a pixel apart or overlap by one).
bool Overlap(const ChartWheel::Anchor& a, int aw, int ah, const ChartWheel::Anchor& b, int bw,
             int bh, int slack = kTwipsPerPixel) {
    return a.x + aw > b.x + slack && b.x + bw > a.x + slack && a.y + ah > b.y + slack &&
           b.y + bh > a.y + slack;
}

TEST_F(WheelTest, EveryGlyphStandsInsideTheRimAtItsLongitude) {
    const ChartWheel w = Draw();
    ASSERT_TRUE(w.drawn);
    EXPECT_FALSE(w.crowded);
    for (Body b : AllBodies()) {
        const ChartWheel::Anchor& a = w.anchors[0][b];
        ASSERT_TRUE(a.placed) << Index(b);
        // The first radius reaches the rim, so every glyph moves inward a few
        // steps of 1 %, and its whole test box lies inside the disc.
        EXPECT_LT(a.radius, 2900.0);
        EXPECT_GT(a.radius, 2500.0);
        for (int dx : {0, 250})
            for (int dy : {0, 300})
                EXPECT_LT(std::hypot(a.x + dx - 3000, a.y + dy - 3000), 2950.0) << Index(b);
        // The glyph's point lies at its longitude.
        const double angle = std::atan2(3000 - (a.y + 150), a.x + 150 - 3000);
        EXPECT_NEAR(std::remainder(angle - *chart.longitude[b][0], kTwoPi), 0, 0.002) << Index(b);
        const ChartPrimitive* g = Glyph(w, 0, b);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->x1, a.x);
        EXPECT_EQ(g->y1, a.y);
        EXPECT_EQ(g->color, kChartWhite);
        EXPECT_FALSE(g->opaque);
    }
}

TEST_F(WheelTest, ASecondBodyAtTheSameLongitudeMovesInwardUntilItsBoxIsClear) {
    for (double deg : {0.0, 45.0, 90.0, 200.0}) {
        chart.longitude[kSun][0] = chart.longitude[kMercury][0] = SkyLongitude(Deg(deg));
        chart.longitude[kVenus][0] = SkyLongitude(Deg(deg + 180));
        const ChartWheel w = Draw();
        ASSERT_TRUE(w.drawn);
        // Mercury is placed first (the loop runs down from the last body).
        const ChartWheel::Anchor& me = w.anchors[0][kMercury];
        const ChartWheel::Anchor& su = w.anchors[0][kSun];
        EXPECT_LT(su.radius, me.radius) << deg;
        EXPECT_FALSE(Overlap(su, 250, 300, me, 240, 330)) << deg;
        // One step further out the test box would still touch Mercury.
        ChartWheel::Anchor outer = su;
        const double r = su.radius / 0.99;
        outer.x = static_cast<int>(std::lround(std::cos(Deg(deg)) * r + 3000 - 150));
        outer.y = static_cast<int>(std::lround(3000 - std::sin(Deg(deg)) * r - 150));
        double farthest = 0;
        for (int dx : {0, 250})
            for (int dy : {0, 300})
                farthest = std::max(farthest, std::hypot(outer.x + dx - 3000, outer.y + dy - 3000));
        EXPECT_TRUE(Overlap(outer, 250, 300, me, 240, 330, -kTwipsPerPixel) ||
                    farthest > 2950 - 2 * kTwipsPerPixel)
            << deg;
    }
}

TEST_F(WheelTest, EveryShownAspectHasOneLineBetweenTheGlyphCentresAndNoOtherLineExists) {
    ShowAspect(kSun, kMars, kSquare);
    ShowAspect(kVenus, kMoon, kTrine);
    ShowAspect(kJupiter, kPluto, kConjunction, true);
    ShowAspect(kSaturn, kNeptune, kQuincunx);
    const ChartWheel w = Draw();
    ASSERT_TRUE(w.drawn);
    const std::multiset<std::tuple<Body, Body, Aspect>> want = {{kSun, kMars, kSquare},
                                                           {kVenus, kMoon, kTrine},
                                                           {kJupiter, kPluto, kConjunction},
                                                           {kSaturn, kNeptune, kQuincunx}};
    EXPECT_EQ(Lines(w), want);
    for (const ChartPrimitive& p : w.items) {
        if (p.role != ChartRole::AspectLine) continue;
        const ChartWheel::Anchor& a = w.anchors[0][*p.first];
        const ChartWheel::Anchor& b = w.anchors[0][*p.second];
        EXPECT_EQ(p.x1, a.x + 120);
        EXPECT_EQ(p.y1, a.y + 120);
        EXPECT_EQ(p.x2, b.x + 120);
        EXPECT_EQ(p.y2, b.y + 120);
        EXPECT_EQ(p.color, colors[*p.aspect]);
        // A bold cell (a close aspect) gives a line of width 2.
        EXPECT_EQ(p.width, p.aspect == kConjunction ? 2 : 1);
    }
    // Painting order: the legend under the lines, the lines under the glyphs.
    size_t lastLegend = 0, firstLine = w.items.size(), lastLine = 0, firstGlyph = w.items.size();
    for (size_t i = 0; i < w.items.size(); ++i) {
        const ChartRole role = w.items[i].role;
        if (role == ChartRole::Legend) lastLegend = i;
        if (role == ChartRole::AspectLine) lastLine = i, firstLine = std::min(firstLine, i);
        if (role == ChartRole::BodyGlyph) firstGlyph = std::min(firstGlyph, i);
    }
    EXPECT_LT(lastLegend, firstLine);
    EXPECT_LT(lastLine, firstGlyph);
}

TEST_F(WheelTest, AnAspectSwitchedOffOrAnEmptyCellDrawsNothing) {
    ShowAspect(kSun, kMars, kSquare);
    ShowAspect(kSun, kVenus, kSextile);
    colors[kSquare] = Color();
    // A cell whose text is not an aspect's (an empty aspect cell) is no line.
    table.txbCell[table.AspectCellIndex(kMercury, kJupiter)].visible = true;
    const ChartWheel w = Draw();
    const std::multiset<std::tuple<Body, Body, Aspect>> want = {{kSun, kVenus, kSextile}};
    EXPECT_EQ(Lines(w), want);
}

TEST_F(WheelTest, TheMoonExcludedHasNoGlyphAndNoLines) {
    ShowAspect(kVenus, kMoon, kTrine);
    ShowAspect(kSun, kMoon, kOpposition);
    ShowAspect(kSun, kMars, kSquare);
    ShowAspect(kMars, kPluto, kSextile);  // Pluto's column, next to the Moon's, stays
    includeMoon = false;
    const ChartWheel w = Draw();
    ASSERT_TRUE(w.drawn);
    EXPECT_FALSE(w.anchors[0][kMoon].placed);
    EXPECT_EQ(Glyph(w, 0, kMoon), nullptr);
    EXPECT_EQ(w.Count(ChartRole::BodyGlyph), 9u);
    const std::multiset<std::tuple<Body, Body, Aspect>> want = {{kSun, kMars, kSquare},
                                                           {kMars, kPluto, kSextile}};
    EXPECT_EQ(Lines(w), want);
}

TEST_F(WheelTest, ABodyWithoutAPositionHasNoGlyphAndNoLines) {
    chart.longitude[kPluto][0] = kAfterData;
    ShowAspect(kSun, kPluto, kTrine);
    ShowAspect(kSun, kMars, kSquare);
    const ChartWheel w = Draw();
    ASSERT_TRUE(w.drawn);
    EXPECT_EQ(Glyph(w, 0, kPluto), nullptr);
    EXPECT_EQ(Lines(w).size(), 1u);
}

TEST_F(WheelTest, HiddenInnerBodyAspectsDrawNoLines) {
    ShowAspect(kSun, kJupiter, kTrine);
    ShowAspect(kMars, kSaturn, kSquare);
    ShowAspect(kJupiter, kSaturn, kSextile);
    suppressInner = true;
    const std::multiset<std::tuple<Body, Body, Aspect>> want = {{kJupiter, kSaturn, kSextile}};
    EXPECT_EQ(Lines(Draw()), want);
}

TEST_F(WheelTest, SectorsGiveTwelveSpokesAndSignGlyphsOrNone) {
    ChartWheel w = Draw();
    EXPECT_EQ(w.Count(ChartRole::Spoke), 12u);
    EXPECT_EQ(w.Count(ChartRole::SignGlyph), 12u);
    for (const ChartPrimitive& p : w.items) {
        if (p.role == ChartRole::Spoke) {
            EXPECT_EQ(p.color, kChartLineColor);
            EXPECT_NEAR(std::hypot(p.x2 - p.x1, p.y2 - p.y1), 2900, 1);
        }
        if (p.role == ChartRole::SignGlyph) {
            // The sign ring lies close to the centre, inside the planets.
            EXPECT_NEAR(std::hypot(p.x1 + 50 - 3000, p.y1 + 50 - 3000), 800, 1);
            EXPECT_EQ(p.color, kChartLineColor);
        }
    }
    sectors = false;
    w = Draw();
    EXPECT_EQ(w.Count(ChartRole::Spoke), 0u);
    EXPECT_EQ(w.Count(ChartRole::SignGlyph), 0u);
    EXPECT_EQ(w.Count(ChartRole::BodyGlyph), 10u);
}

TEST_F(WheelTest, SpokesCountAsFreeSpaceForTheGlyphs) {
    // A glyph exactly on a spoke finds its place as without spokes.
    chart.longitude[kSun][0] = SkyLongitude(Deg(30));
    const ChartWheel with = Draw();
    sectors = false;
    const ChartWheel without = Draw();
    EXPECT_EQ(with.anchors[0][kSun].x, without.anchors[0][kSun].x);
    EXPECT_EQ(with.anchors[0][kSun].y, without.anchors[0][kSun].y);
}

TEST_F(WheelTest, ACrowdedChartStopsWithoutLinesOrLegend) {
    for (Body b : AllBodies()) chart.longitude[b][0] = SkyLongitude(Deg(90));
    ShowAspect(kSun, kMars, kConjunction);
    const ChartWheel w = Draw();
    EXPECT_TRUE(w.crowded);
    EXPECT_FALSE(w.drawn);
    EXPECT_EQ(w.Count(ChartRole::AspectLine), 0u);
    EXPECT_EQ(w.Count(ChartRole::Legend), 0u);
    // At 0° the boxes stand side by side and all ten fit.
    for (Body b : AllBodies()) chart.longitude[b][0] = SkyLongitude(Deg(0));
    EXPECT_TRUE(Draw().drawn);
}

TEST_F(WheelTest, SingleWheelLegendHasBlocksZeroAndThree) {
    const ChartWheel w = Draw();
    EXPECT_EQ(w.legendBlocks, (std::array<int, 2>{0, 3}));
    std::map<std::string, std::pair<int, int>> at;
    for (const ChartPrimitive& p : w.items) {
        if (p.role != ChartRole::Legend) continue;
        at[p.text] = {p.x1, p.y1};
        EXPECT_EQ(p.color, kChartBlack);
        EXPECT_TRUE(p.opaque);
        EXPECT_EQ(p.font, ChartFont::Legend);
    }
    // In a band above the picture: three lines and a gap, the last line
    // ending above the disc's top.
    EXPECT_EQ(w.legendBand, 3 * 210 + 60);
    const std::map<std::string, std::pair<int, int>> want = {{"text 104", {0, -690}},
                                                             {"text 105", {0, -480}},
                                                             {"text 106", {0, -270}},
                                                             {"text 107", {4600, -690}},
                                                             {"text 108", {4600, -480}}};
    EXPECT_EQ(at, want);
    for (const auto& [text, xy] : at) EXPECT_LE(xy.second + 210, 0) << text;
}

TEST_F(WheelTest, DoubleWheelPlacesChartBOnBoxesAndJoinsBToA) {
    SetMode(Mode::Personal1);
    // A chart B body on a chart A body moves inward past it.
    chart.longitude[kJupiter][1] = chart.longitude[kJupiter][0];
    chart.retrograde[kSaturn][1] = true;
    chart.retrograde[kMars][0] = true;
    ShowAspect(kSun, kMars, kTrine);     // chart B Sun, chart A Mars
    ShowAspect(kMoon, kVenus, kSquare);  // chart B Moon
    const ChartWheel w = Draw();
    ASSERT_TRUE(w.drawn);
    EXPECT_TRUE(w.twoCharts);
    EXPECT_EQ(w.geometry.cx, 4950);
    EXPECT_EQ(w.geometry.cy, 3300);
    EXPECT_LT(w.anchors[1][kJupiter].radius, w.anchors[0][kJupiter].radius);
    EXPECT_FALSE(Overlap(w.anchors[1][kJupiter], 250, 350, w.anchors[0][kJupiter], 240, 330));
    for (Body b : AllBodies()) {
        const ChartPrimitive* a = Glyph(w, 0, b);
        const ChartPrimitive* g = Glyph(w, 1, b);
        ASSERT_TRUE(a && g) << Index(b);
        EXPECT_EQ(a->underline, b == kMars);
        EXPECT_FALSE(g->underline);
        EXPECT_TRUE(g->opaque);
        EXPECT_EQ(g->fill, kChartBackground);
        EXPECT_EQ(g->color, b == kSaturn ? kRetrogradeBColor : kDirectBColor);
    }
    const std::multiset<std::tuple<Body, Body, Aspect>> want = {{kSun, kMars, kTrine},
                                                           {kMoon, kVenus, kSquare}};
    EXPECT_EQ(Lines(w), want);
    for (const ChartPrimitive& p : w.items) {
        if (p.role != ChartRole::AspectLine) continue;
        EXPECT_EQ(p.x1, w.anchors[1][*p.first].x + 120);
        EXPECT_EQ(p.y2, w.anchors[0][*p.second].y + 120);
    }
    EXPECT_EQ(w.legendBlocks, (std::array<int, 2>{0, 1}));

    // Without the Moon its row and column are skipped; Pluto's, next to
    // them, are not.
    ShowAspect(kPluto, kSaturn, kSextile);  // chart B Pluto
    ShowAspect(kVenus, kPluto, kOpposition);  // chart A Pluto
    includeMoon = false;
    const std::multiset<std::tuple<Body, Body, Aspect>> noMoon = {
        {kSun, kMars, kTrine}, {kPluto, kSaturn, kSextile}, {kVenus, kPluto, kOpposition}};
    EXPECT_EQ(Lines(Draw()), noMoon);
}

TEST_F(WheelTest, ThePointFindsTheGlyphOrTheNearestLineAndNamesThem) {
    ShowAspect(kSun, kMars, kTrine);
    chart.pairs[0] = {kSun, kMars, kTrine, Deg(2 + 13.0 / 60), 0.5, 1};
    chart.pairCount = 1;
    const ChartWheel w = Draw();
    ASSERT_TRUE(w.drawn);
    const ProgramTexts en = testing::RealTexts(kEnglish);
    const ChartPrimitive* line = nullptr;
    for (const ChartPrimitive& p : w.items)
        if (p.role == ChartRole::AspectLine) line = &p;
    ASSERT_NE(line, nullptr);

    // Halfway along the line and a little beside it: the line.
    const int mx = (line->x1 + line->x2) / 2, my = (line->y1 + line->y2) / 2;
    EXPECT_EQ(AspectLineNear(w, mx + 30, my, 60), line);
    EXPECT_EQ(AspectLineNear(w, mx + 600, my + 600, 60), nullptr);
    EXPECT_EQ(AspectLineName(*line, chart, names, en), "Sun trine Mars, 2°13' from exact");
    // A line the chart does not hold is not named.
    Chart other = chart;
    other.pairs[0].aspect = kSquare;
    EXPECT_EQ(AspectLineName(*line, other, names, en), "");

    // Over a glyph's box: that glyph, named with its place.
    const ChartWheel::Anchor& mars = w.anchors[0][kMars];
    const ChartPrimitive* g = BodyGlyphAt(w, mars.x + 100, mars.y + 150);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->body, kMars);
    EXPECT_EQ(BodyGlyphName(*g, chart, names, en),
              "Mars: " + PositionTextLong(Radians(*chart.longitude[kMars][0]), names));
    EXPECT_EQ(BodyGlyphAt(w, w.geometry.cx, w.geometry.cy), nullptr);

    // The item under the pointer: the glyph before a line through its box,
    // the line beside it, nothing in empty space; named as above.
    const int lineIndex = static_cast<int>(line - w.items.data());
    EXPECT_EQ(ItemAt(w, mx + 30, my, 60), lineIndex);
    EXPECT_EQ(ItemName(w.items[static_cast<size_t>(lineIndex)], chart, names, en),
              "Sun trine Mars, 2°13' from exact");
    const int glyphIndex = ItemAt(w, mars.x + kLineOffset, mars.y + kLineOffset, 60);
    ASSERT_GE(glyphIndex, 0);
    EXPECT_EQ(w.items[static_cast<size_t>(glyphIndex)].role, ChartRole::BodyGlyph);
    EXPECT_EQ(ItemAt(w, mx + 600, my + 600, 60), -1);

    // A table cell is named as its line or its glyph; empty cells, headers
    // and cells the chart does not hold are not.
    TableCell cell;
    cell.visible = true;
    cell.text = "Tri";
    cell.kind = CellKind::Aspect;
    cell.first = kSun;
    cell.second = kMars;
    cell.aspect = kTrine;
    EXPECT_EQ(TableCellName(cell, chart, names, en), "Sun trine Mars, 2°13' from exact");
    cell.aspect = kSquare;
    EXPECT_EQ(TableCellName(cell, chart, names, en), "");
    cell.kind = CellKind::Position;
    cell.body = kMars;
    EXPECT_EQ(TableCellName(cell, chart, names, en),
              "Mars: " + PositionTextLong(Radians(*chart.longitude[kMars][0]), names));
    cell.text.clear();  // the Moon's cell when it is left out
    EXPECT_EQ(TableCellName(cell, chart, names, en), "");
    cell.text = "h";
    cell.kind = CellKind::Header;
    EXPECT_EQ(TableCellName(cell, chart, names, en), "");
}

TEST_F(WheelTest, TwoChartsNameEachBodyWithItsChart) {
    SetMode(Mode::Personal1);
    ShowAspect(kSun, kMars, kSquare);  // natal Sun, transiting Mars
    chart.pairs[0] = {kSun, kMars, kSquare, Deg(0.5), 0.8, -1};
    chart.pairCount = 1;
    const ChartWheel w = Draw();
    const ChartPrimitive* line = AspectLineNear(
        w, w.anchors[1][kSun].x + kLineOffset, w.anchors[1][kSun].y + kLineOffset, 30);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(AspectLineName(*line, chart, names, testing::RealTexts(kEnglish)),
              "Sun (natal) square Mars (transit), 0°30' from exact");
    NameTables de;
    BuildNameTables(de, kGerman);
    EXPECT_EQ(AspectLineName(*line, chart, de, testing::RealTexts(kGerman)),
              "Sonne (Radix) Quadrat Mars (Transit), 0°30' vom exakten Aspekt entfernt");

    chart.mode = Mode::Synastry;
    EXPECT_EQ(AspectLineName(*line, chart, names, testing::RealTexts(kEnglish)),
              "Sun (2nd birthdate) square Mars (1st birthdate), 0°30' from exact");
}

TEST_F(WheelTest, SynastryLegendIsBlockTwo) {
    SetMode(Mode::Synastry);
    const ChartWheel w = Draw();
    EXPECT_EQ(w.legendBlocks, (std::array<int, 2>{0, 2}));
    for (const ChartPrimitive& p : w.items) {
        if (p.role != ChartRole::Legend) continue;
        EXPECT_EQ(p.x1, p.legendBlock == 0 ? 1700 : 7300) << p.text;
        // Four lines in block 2: the band holds them above the picture.
        EXPECT_LE(p.y1 + 210, 0) << p.text;
        EXPECT_GE(p.y1, -w.legendBand) << p.text;
    }
    EXPECT_EQ(w.legendBand, 4 * 210 + 60);
}

// ---------------------------------------------------------------------------
// The saved image

TEST(WhiteBackground, ColourRules) {
    EXPECT_EQ(WhiteBackgroundColor(kChartBlack), kChartWhite);             // disc
    EXPECT_EQ(WhiteBackgroundColor(kChartWhite), kChartBlack);             // glyphs
    EXPECT_EQ(WhiteBackgroundColor(Rgb(246, 250, 245)), kChartBlack);      // near-white
    EXPECT_EQ(WhiteBackgroundColor(Rgb(255, 255, 0)), Rgb(255, 192, 0));   // yellow
    EXPECT_EQ(WhiteBackgroundColor(Rgb(32, 32, 32)), Rgb(160, 160, 160));  // chart B
    EXPECT_EQ(WhiteBackgroundColor(kChartLineColor), Rgb(160, 160, 160));  // spokes
    EXPECT_EQ(WhiteBackgroundColor(kChartBackground), kChartBackground);   // surround
    EXPECT_EQ(WhiteBackgroundColor(Rgb(128, 128, 128)), Rgb(128, 128, 128));
    EXPECT_EQ(WhiteBackgroundColor(Rgb(255, 0, 255)), Rgb(255, 0, 255));
    EXPECT_EQ(WhiteBackgroundColor(kRetrogradeBColor), kRetrogradeBColor);
    EXPECT_EQ(WhiteBackgroundColor(Rgb(100, 100, 100)), Rgb(160, 160, 160));
}

class SavedImageTest : public WheelTest {
  protected:
    SavedImageInput ImageInput() {
        SavedImageInput in;
        in.texts = Texts();
        in.version = "0.12";
        in.rows = &rows;
        return in;
    }
    static std::vector<const ChartPrimitive*> Notes(const ChartWheel& w) {
        std::vector<const ChartPrimitive*> v;
        for (const ChartPrimitive& p : w.items)
            if (p.role == ChartRole::Note) v.push_back(&p);
        return v;
    }
    static const ChartPrimitive* NoteWith(const ChartWheel& w, const std::string& text) {
        for (const ChartPrimitive* p : Notes(w))
            if (p->text == text) return p;
        return nullptr;
    }
    DateRows rows;
};

TEST_F(SavedImageTest, WhiteBackgroundTurnsDiscWhiteGlyphsBlackAndYellowAmber) {
    ShowAspect(kSun, kMars, kConjunction);
    const ChartWheel shown = Draw();
    SavedImageInput in = ImageInput();
    in.whiteBackground = true;
    const ChartWheel saved = SavedChartImage(shown, in);
    for (const ChartPrimitive& p : saved.items) {
        switch (p.role) {
            case ChartRole::Disc:
                EXPECT_EQ(p.fill, kChartWhite);
                EXPECT_EQ(p.color, kChartBlack);
                break;
            case ChartRole::BodyGlyph:
                EXPECT_EQ(p.color, kChartBlack);
                break;
            case ChartRole::AspectLine:
                EXPECT_EQ(p.color, Rgb(255, 192, 0));
                break;
            case ChartRole::Spoke:
            case ChartRole::SignGlyph:
                EXPECT_EQ(p.color, Rgb(160, 160, 160));
                break;
            default:
                break;
        }
    }
    EXPECT_EQ(saved.background, kChartBackground);
    // The legend is gone, the rest follows in its order; without the option
    // the colours stay.
    EXPECT_EQ(shown.Count(ChartRole::Legend), 5u);
    EXPECT_EQ(saved.Count(ChartRole::Legend), 0u);
    // With it goes its band: the image is the picture box alone.
    EXPECT_GT(shown.legendBand, 0);
    EXPECT_EQ(saved.legendBand, 0);
    const ChartWheel plain = SavedChartImage(shown, ImageInput());
    size_t k = 0;
    for (const ChartPrimitive& p : shown.items) {
        if (p.role == ChartRole::Legend) continue;
        ASSERT_LT(k, plain.items.size());
        EXPECT_EQ(plain.items[k].role, p.role);
        EXPECT_EQ(plain.items[k].color, p.color);
        ++k;
    }
    EXPECT_EQ(plain.items.size() - k, plain.Count(ChartRole::Note));
}

TEST_F(SavedImageTest, AnnotationOfWorldTransits) {
    DateRowFields& r = rows.Row(kWorldDate);
    r.monthIndex = 7;
    r.dayIndex = 4;
    r.yearText = "2010";
    r.timeIndex = 30;  // 14:30
    r.zoneIndex = 24;  // GMT
    SavedImageInput in = ImageInput();
    in.suppressInnerAspects = true;
    const ChartWheel saved = SavedChartImage(Draw(), in);
    struct Want {
        const char* text;
        double x, y;
        Color color;
    };
    const Want wants[] = {
        {"text 92", 5, 0, kNoteGrey},          {"text 93", 5, 17, kNoteGrey},
        {"text 94", 5, 34, kNoteGrey},         {"0.12", 5, 51, kNoteGrey},
        {"www.vantrel.de", 263, 0, kNoteGrey}, {"/vek/vek.htm", 300, 17, kNoteGrey},
        {"text 4:", 328, 350, kNoteBlue},      {"2010-07-04", 308, 367, kNoteBlue},
        {"14:30 GMT", 288, 384, kNoteBlue},    {"text 49", 5, 332, kNoteBlue},
        {"text 102", 5, 367, kNoteBlue},       {"text 103", 5, 384, kNoteBlue},
    };
    for (const Want& w : wants) {
        const ChartPrimitive* p = NoteWith(saved, w.text);
        ASSERT_NE(p, nullptr) << w.text;
        EXPECT_EQ(p->x1, std::lround(w.x * 15)) << w.text;
        EXPECT_EQ(p->y1, std::lround(w.y * 15)) << w.text;
        EXPECT_EQ(p->color, w.color) << w.text;
        EXPECT_EQ(p->font, ChartFont::Note);
    }
}

TEST_F(SavedImageTest, ARowsOwnMinuteAndZoneAreWrittenAsTheyAreNotAsTheListsNearestEntries) {
    // The lists' entries would say 14:30 and nothing (the list lacks +5:45).
    DateRowFields& r = rows.Row(kWorldDate);
    r.monthIndex = 7;
    r.dayIndex = 4;
    r.yearText = "2010";
    ASSERT_TRUE(rows.SetTimeAndZone(kWorldDate, "14:47", "Asia/Kathmandu"));
    const ChartWheel saved = SavedChartImage(Draw(), ImageInput());
    EXPECT_NE(NoteWith(saved, "2010-07-04"), nullptr);
    ASSERT_NE(NoteWith(saved, "14:47 GMT+5:45"), nullptr);
    EXPECT_EQ(NoteWith(saved, "14:47 GMT+5:45")->y1, 384 * 15);
    // A minute in a listed zone: the minute and the list's own text.
    ASSERT_TRUE(rows.SetTimeAndZone(kWorldDate, "09:05", "+02:00"));
    EXPECT_NE(NoteWith(SavedChartImage(Draw(), ImageInput()), "09:05 GMT+2:00"), nullptr);
    // Berlin's local mean time keeps its seconds.
    r.yearText = "1880";
    ASSERT_TRUE(rows.SetTimeAndZone(kWorldDate, "12:00", "Europe/Berlin"));
    EXPECT_NE(NoteWith(SavedChartImage(Draw(), ImageInput()), "12:00 GMT+0:53:28"), nullptr);
}

TEST_F(SavedImageTest, TheNatalDateBlockStaysInsideTheImage) {
    SetMode(Mode::Natal1);
    rows.Row(kBirth1).yearText = "1960";
    const ChartWheel saved = SavedChartImage(Draw(), ImageInput());
    // The block starts at (3, 350); its second and third lines would start
    // 20 and 40 pixels further left, outside the image, so it moves right.
    ASSERT_NE(NoteWith(saved, "text 95:"), nullptr);
    EXPECT_EQ(NoteWith(saved, "text 95:")->x1, 43 * 15);
    EXPECT_EQ(NoteWith(saved, "1960-00-00")->x1, 23 * 15);
    for (const ChartPrimitive* p : Notes(saved)) EXPECT_GE(p->x1, 3 * 15) << p->text;
    // The zodiac stands in the lower right corner.
    EXPECT_TRUE(NoteWith(saved, "text 49")->alignRight);
    EXPECT_EQ(NoteWith(saved, "text 49")->x1, 395 * 15);
}

TEST_F(SavedImageTest, AnnotationOfSynastryInGerman) {
    SetMode(Mode::Synastry);
    rows.FillMonthLists(kGerman);
    rows.Row(kBirth1).yearText = "1960";
    rows.Row(kBirth1).monthIndex = 12;
    rows.Row(kBirth1).dayIndex = 31;
    SavedImageInput in = ImageInput();
    in.texts = Texts(kGerman);
    in.sidereal = true;
    in.suppressInnerAspects = true;
    in.orbSummary = "Orbs: 3° to 10°";
    const ChartWheel saved = SavedChartImage(Draw(), in);
    EXPECT_NE(NoteWith(saved, "Text 14 Text 169"), nullptr);
    ASSERT_NE(NoteWith(saved, "1960-12-31"), nullptr);
    EXPECT_EQ(NoteWith(saved, "1960-12-31")->x1, 94 * 15);
    EXPECT_NE(NoteWith(saved, "Text 96:"), nullptr);
    ASSERT_NE(NoteWith(saved, "Siderische Tk"), nullptr);
    EXPECT_EQ(NoteWith(saved, "Siderische Tk")->y1, std::lround(12.5 * 17 * 15));
    EXPECT_EQ(NoteWith(saved, "Orbs: 3° to 10°")->y1, 18 * 17 * 15);
    EXPECT_EQ(NoteWith(saved, "Text 98")->x1, 552 * 15);
    EXPECT_NE(NoteWith(saved, "www.vantrel.de/vek/de/vek.htm"), nullptr);
    EXPECT_EQ(NoteWith(saved, "www.vantrel.de/vek/de/vek.htm")->x1, (330 + 73) * 15);
}

}  // namespace
}  // namespace vek

namespace vek {
namespace {

TEST(GlyphSpaceRasterTest, DiscInteriorIsFreeAndInkIsStampedAtItsOffset) {
    GlyphSpaceRaster r(6000, 6000);
    EXPECT_TRUE(r.OccupiedAt(3000, 3000));  // nothing drawn: all occupied
    r.StartWithDisc(3000, 3000, 2950);
    EXPECT_FALSE(r.OccupiedAt(3000, 3000));
    EXPECT_FALSE(r.OccupiedAt(3000 + 2900, 3000));
    EXPECT_TRUE(r.OccupiedAt(3000 + 2950, 3000));  // the rim
    EXPECT_TRUE(r.OccupiedAt(20, 20));             // the surround
    EXPECT_TRUE(r.OccupiedAt(-1, 3000));           // outside the picture
    EXPECT_TRUE(r.OccupiedAt(3000, 6000));

    GlyphInk dot;
    dot.left = -2;
    dot.top = 1;
    dot.width = dot.height = 1;
    dot.ink = {1};
    r.StampInk(dot, 150 * 15, 150 * 15);  // on a pixel corner: no spreading
    EXPECT_TRUE(r.OccupiedAt(148 * 15, 151 * 15));
    EXPECT_FALSE(r.OccupiedAt(149 * 15, 151 * 15));
    EXPECT_FALSE(r.OccupiedAt(148 * 15, 150 * 15));
    // Between pixels the ink covers both neighbours.
    r.StampInk(dot, 100 * 15 + 7, 100 * 15);
    EXPECT_TRUE(r.OccupiedAt(98 * 15, 101 * 15));
    EXPECT_TRUE(r.OccupiedAt(99 * 15, 101 * 15));
    EXPECT_FALSE(r.OccupiedAt(100 * 15, 101 * 15));

    // The glyph test sees the stamped pixel from any box around it.
    EXPECT_FALSE(r.IsGlyphSpaceFree(148 * 15 + 100, 151 * 15 + 100, 250, 300));
    EXPECT_TRUE(r.IsGlyphSpaceFree(2000, 2000, 250, 300));
}

}  // namespace
}  // namespace vek

namespace vek {
namespace {

// Cusps 30° apart from 100°, the Ascendant on the first and the Midheaven
// at 10°.
HouseCusps EvenCusps(HouseSystem asked, HouseSystem used) {
    HouseCusps h;
    h.asked = asked;
    h.used = used;
    for (int i = 1; i <= 12; ++i)
        h.cusp[static_cast<size_t>(i)] = NormalizeAngle(Deg(100 + 30.0 * (i - 1)));
    h.ascendant = h.cusp[1];
    h.midheaven = Deg(10);
    return h;
}

// The angle at which a point of the drawing stands from the centre, in the
// wheel's sense (Aries at the right, counter-clockwise).
double AngleOf(const WheelGeometry& g, int x, int y) {
    return NormalizeAngle(std::atan2(g.cy - y, x - g.cx));
}

TEST_F(WheelTest, HousesGiveTwelveCuspsNumberedInTheirHousesAndTheAnglesMarked) {
    for (Mode mode : {Mode::Natal1, Mode::Personal1}) {
        SCOPED_TRACE(static_cast<int>(mode));
        SetMode(mode);
        const ChartWheel plain = Draw();
        ChartExtras extras;
        extras.houses = EvenCusps(HouseSystem::Placidus, HouseSystem::Placidus);
        WheelInput in = Input();
        in.texts = testing::RealTexts(kEnglish);
        in.extras = &extras;
        const ChartWheel w = DrawChartWheel(in, Inks());
        ASSERT_TRUE(w.drawn);
        const WheelGeometry& g = w.geometry;
        // The glyphs stand where they stand without houses.
        for (int k : {0, 1})
            for (Body b : AllBodies()) {
                EXPECT_EQ(w.anchors[k][b].x, plain.anchors[k][b].x);
                EXPECT_EQ(w.anchors[k][b].y, plain.anchors[k][b].y);
            }
        std::set<int> houses;
        for (const ChartPrimitive& p : w.items) {
            if (p.role == ChartRole::HouseCusp) {
                houses.insert(p.house);
                const double expected = extras.houses->cusp[static_cast<size_t>(p.house)];
                EXPECT_NEAR(AngleOf(g, p.x2, p.y2), expected, 0.01) << p.house;
                EXPECT_NEAR(std::hypot(p.x2 - g.cx, p.y2 - g.cy), g.discRadius, 20);
                EXPECT_NEAR(std::hypot(p.x1 - g.cx, p.y1 - g.cy), kCuspInnerRadius, 2);
            }
            if (p.role == ChartRole::HouseNumber) {
                // In the middle of its house: 15° after its cusp.
                const double middle = Deg(100 + 30.0 * (p.house - 1) + 15);
                EXPECT_NEAR(AngleOf(g, p.x1, p.y1 + 95), NormalizeAngle(middle), 0.01);
                EXPECT_EQ(p.text, std::to_string(p.house));
            }
        }
        EXPECT_EQ(houses.size(), 12u);
        EXPECT_EQ(w.Count(ChartRole::HouseNumber), 12u);
        EXPECT_EQ(w.Count(ChartRole::AngleLine), 2u);
        std::vector<std::string> labels;
        for (const ChartPrimitive& p : w.items)
            if (p.role == ChartRole::AngleLabel) labels.push_back(p.text);
        EXPECT_EQ(labels, (std::vector<std::string>{"ASC", "MC"}));
        EXPECT_EQ(w.Count(ChartRole::HouseNote), 0u);
        EXPECT_EQ(w.legendBand, plain.legendBand);
        // The houses lie under the aspect lines and the glyphs.
        size_t lastHouse = 0, firstGlyph = w.items.size();
        for (size_t i = 0; i < w.items.size(); ++i) {
            if (w.items[i].role == ChartRole::AngleLabel) lastHouse = i;
            if (w.items[i].role == ChartRole::BodyGlyph) firstGlyph = std::min(firstGlyph, i);
        }
        EXPECT_LT(lastHouse, firstGlyph);
    }
}

TEST_F(WheelTest, APolarFallbackIsNotedUnderTheLegendInTwoLines) {
    SetMode(Mode::Natal1);
    const ChartWheel plain = Draw();
    ChartExtras extras;
    extras.houses = EvenCusps(HouseSystem::Koch, HouseSystem::Porphyry);
    extras.housesLatitude = 69.6489;
    WheelInput in = Input();
    in.texts = ProgramTexts(testing::RealTextTable(), kEnglish);
    in.extras = &extras;
    const ChartWheel w = DrawChartWheel(in, Inks());
    std::vector<const ChartPrimitive*> note;
    for (const ChartPrimitive& p : w.items)
        if (p.role == ChartRole::HouseNote) note.push_back(&p);
    ASSERT_EQ(note.size(), 2u);
    EXPECT_EQ(note[0]->text.rfind("Koch houses are undefined at latitude 69°39'N", 0), 0u)
        << note[0]->text;
    EXPECT_EQ(note[1]->text, "the cusps shown are Porphyry's.");
    // The band grows by the two lines, which stand below the legend's and
    // above the picture.
    EXPECT_EQ(w.legendBand, plain.legendBand + 2 * kLegendLineStep);
    EXPECT_LT(note[1]->y1, 0);
    for (const ChartPrimitive& p : w.items)
        if (p.role == ChartRole::Legend) {
            EXPECT_LT(p.y1, note[0]->y1);
        }
    // A saved image keeps the note among its own.
    SavedImageInput saved;
    saved.texts = in.texts;
    const ChartWheel image = SavedChartImage(w, saved);
    EXPECT_EQ(image.Count(ChartRole::HouseNote), 0u);
    size_t found = 0;
    for (const ChartPrimitive& p : image.items)
        if (p.role == ChartRole::Note && (p.text == note[0]->text || p.text == note[1]->text)) {
            ++found;
            EXPECT_GE(p.y1, 0);
        }
    EXPECT_EQ(found, 2u);
}

TEST_F(WheelTest, APolarFallbackNoteWrapsToTheLegendsWidthInGerman) {
    SetMode(Mode::Natal1);
    ChartExtras extras;
    extras.houses = EvenCusps(HouseSystem::Placidus, HouseSystem::Porphyry);
    extras.housesLatitude = 69.6489;
    WheelInput in = Input();
    in.texts = testing::RealTexts(kGerman);
    in.extras = &extras;
    const ChartWheel w = DrawChartWheel(in, Inks());
    std::vector<std::string> lines;
    for (const ChartPrimitive& p : w.items)
        if (p.role == ChartRole::HouseNote) lines.push_back(p.text);
    // The German first half is longer than the legend column holds, so
    // the note runs on as one paragraph.
    ASSERT_EQ(lines.size(), 2u);
    std::string joined;
    for (const std::string& line : lines) {
        size_t chars = 0;
        for (const char c : line) chars += (c & 0xC0) != 0x80;
        EXPECT_LE(chars, 76u) << line;
        EXPECT_FALSE(line.empty() || line.front() == ' ' || line.back() == ' ') << line;
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined,
              "Placidus-Häuser sind auf der Breite 69°39'N nicht definiert (innerhalb des "
              "Polarkreises); gezeigt werden die Häuserspitzen nach Porphyrius.");
    EXPECT_EQ(w.legendBand, Draw().legendBand + 2 * kLegendLineStep);
}

TEST_F(WheelTest, ExtraPointsFindFreePlacesAfterTheBodiesAndSkipUnknownPositions) {
    SetMode(Mode::Personal1);
    const ChartWheel plain = Draw();
    ChartExtras extras;
    PointPosition node;
    node.point = ExtraPoint::MeanNode;
    node.longitude = *chart.longitude[kSun][0];  // on the Sun of chart A
    PointPosition chiron;
    chiron.point = ExtraPoint::Chiron;
    chiron.longitude = -98;  // no file covers the date
    extras.points[0] = {node, chiron};
    PointPosition trueNode;
    trueNode.point = ExtraPoint::TrueNode;
    trueNode.longitude = Deg(200);
    extras.points[1] = {trueNode};
    WheelInput in = Input();
    in.texts = testing::RealTexts(kGerman);
    in.extras = &extras;
    const ChartWheel w = DrawChartWheel(in, Inks());
    ASSERT_TRUE(w.drawn);
    for (int k : {0, 1})
        for (Body b : AllBodies()) EXPECT_EQ(w.anchors[k][b].radius, plain.anchors[k][b].radius);
    std::vector<const ChartPrimitive*> points;
    for (const ChartPrimitive& p : w.items)
        if (p.role == ChartRole::PointGlyph) points.push_back(&p);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0]->point, ExtraPoint::MeanNode);
    EXPECT_EQ(points[0]->chart, 0);
    EXPECT_EQ(points[0]->text, "☊m");
    EXPECT_EQ(points[1]->point, ExtraPoint::TrueNode);
    EXPECT_EQ(points[1]->text, "☊w");
    // Chart B's point stands on a box, as its glyphs do.
    EXPECT_TRUE(points[1]->opaque);
    EXPECT_FALSE(points[0]->opaque);
    // The node on the Sun moved inward, clear of the Sun's glyph box.
    const ChartWheel::Anchor& sun = w.anchors[0][kSun];
    ChartWheel::Anchor at;
    at.x = points[0]->x1 - kLineOffset;
    at.y = points[0]->y1;
    EXPECT_FALSE(Overlap(sun, 240, 330, at, 240, 300));
    EXPECT_LT(std::hypot(at.x + 150 - w.geometry.cx, at.y + 150 - w.geometry.cy), sun.radius);
    EXPECT_NEAR(AngleOf(w.geometry, at.x + 150, at.y + 150), node.longitude, 0.02);
    // Without extras nothing of them is drawn.
    for (ChartRole role : {ChartRole::PointGlyph, ChartRole::HouseCusp, ChartRole::AngleLabel})
        EXPECT_EQ(plain.Count(role), 0u);
}

}  // namespace
}  // namespace vek

namespace vek {
namespace {

// Over the houses and the points the pointer finds the cusp, the house
// number, the angle's line or label and the point, each named with its
// place; an angle lying on a cusp is the angle, an aspect line crossing a
// cusp is the aspect, and the glyphs stay first.
TEST_F(WheelTest, ThePointerNamesTheCuspsTheAnglesAndThePoints) {
    SetMode(Mode::Personal1);
    ShowAspect(kSun, kMars, kSquare);  // natal Sun, transiting Mars
    chart.pairs[0] = {kSun, kMars, kSquare, Deg(0.5), 0.8, -1};
    chart.pairCount = 1;
    ChartExtras extras;
    extras.houses = EvenCusps(HouseSystem::Placidus, HouseSystem::Placidus);  // ASC on cusp 1
    PointPosition node;
    node.point = ExtraPoint::MeanNode;
    node.longitude = Deg(60);
    PointPosition trueNode;
    trueNode.point = ExtraPoint::TrueNode;
    trueNode.longitude = Deg(200);
    extras.points[0] = {node};
    extras.points[1] = {trueNode};
    for (const Language language : {kEnglish, kGerman}) {
        SCOPED_TRACE(language == kGerman ? "German" : "English");
        NameTables n;
        BuildNameTables(n, language);
        WheelInput in = Input();
        in.texts = testing::RealTexts(language);
        in.names = &n;
        ShowAspect(kSun, kMars, kSquare);
        table.txbCell[static_cast<size_t>(table.AspectCellIndex(kSun, kMars))].text =
            n.AspectAbbreviation[kSquare];
        in.extras = &extras;
        const ChartWheel w = DrawChartWheel(in, Inks());
        ASSERT_TRUE(w.drawn);
        const WheelGeometry& g = w.geometry;
        const bool de = language == kGerman;
        auto nameAt = [&](int x, int y) {
            const int i = ItemAt(w, x, y, 60);
            return i < 0 ? std::string("-")
                         : ItemName(w.items[static_cast<size_t>(i)], chart, n, in.texts);
        };
        auto at = [&](double degrees, double r) {
            return std::pair<int, int>{
                static_cast<int>(std::lround(g.cx + r * std::cos(Deg(degrees)))),
                static_cast<int>(std::lround(g.cy - r * std::sin(Deg(degrees))))};
        };
        auto place = [&](double degrees) { return PositionTextLong(Radians(Deg(degrees)), n); };

        // On cusp 7 (280°) between the sign ring and the glyphs; a little
        // beside it still.
        auto [x7, y7] = at(280, 1700);
        EXPECT_EQ(nameAt(x7 + 30, y7), (de ? "Haus 7: " : "House 7: ") + place(280));
        // On the Ascendant, which is cusp 1 too: the angle.
        auto [xa, ya] = at(100, 1700);
        EXPECT_EQ(nameAt(xa, ya), (de ? "Aszendent: " : "Ascendant: ") + place(100));
        // Far from every line, inside the sign ring: nothing.
        EXPECT_EQ(nameAt(g.cx + 300, g.cy + 300), "-");

        // The middle of each printed item's box names it.
        std::map<std::string, std::string> named;
        for (const ChartPrimitive& p : w.items) {
            const std::string name = nameAt(p.x1, p.y1 + 100);
            if (p.role == ChartRole::HouseNumber && p.house == 4) named["house 4"] = name;
            if (p.role == ChartRole::AngleLabel && p.angle == ChartAngle::Midheaven)
                named["MC"] = name;
            if (p.role == ChartRole::PointGlyph) named[p.chart == 0 ? "A" : "B"] = name;
        }
        EXPECT_EQ(named["house 4"], (de ? "Haus 4: " : "House 4: ") + place(190));
        EXPECT_EQ(named["MC"], (de ? "Medium Coeli: " : "Midheaven: ") + place(10));
        EXPECT_EQ(named["A"],
                  (de ? "Mittlerer Mondknoten (Transit): " : "Mean Node (transit): ") + place(60));
        EXPECT_EQ(named["B"],
                  (de ? "Wahrer Mondknoten (Radix): " : "True Node (natal): ") + place(200));

        // Where the aspect line crosses a cusp the aspect is named; over a
        // glyph the glyph.
        const ChartPrimitive* line = nullptr;
        for (const ChartPrimitive& p : w.items)
            if (p.role == ChartRole::AspectLine) line = &p;
        ASSERT_NE(line, nullptr);
        bool crossed = false;
        for (const ChartPrimitive& c : w.items) {
            if (c.role != ChartRole::HouseCusp) continue;
            // The crossing of the two segments, when there is one.
            const double d = (line->x2 - line->x1) * double(c.y2 - c.y1) -
                             (line->y2 - line->y1) * double(c.x2 - c.x1);
            if (d == 0) continue;
            const double t = ((c.x1 - line->x1) * double(c.y2 - c.y1) -
                              (c.y1 - line->y1) * double(c.x2 - c.x1)) / d;
            const double u = ((c.x1 - line->x1) * double(line->y2 - line->y1) -
                              (c.y1 - line->y1) * double(line->x2 - line->x1)) / d;
            if (t < 0.1 || t > 0.9 || u < 0.05 || u > 0.95) continue;
            crossed = true;
            const int x = static_cast<int>(std::lround(line->x1 + t * (line->x2 - line->x1)));
            const int y = static_cast<int>(std::lround(line->y1 + t * (line->y2 - line->y1)));
            EXPECT_EQ(w.items[static_cast<size_t>(ItemAt(w, x, y, 60))].role,
                      ChartRole::AspectLine);
        }
        EXPECT_TRUE(crossed);
        const ChartWheel::Anchor& mars = w.anchors[0][kMars];
        EXPECT_EQ(w.items[static_cast<size_t>(ItemAt(w, mars.x + 100, mars.y + 150, 60))].role,
                  ChartRole::BodyGlyph);
    }
    // An item without its place is not named.
    ChartPrimitive cusp;
    cusp.role = ChartRole::HouseCusp;
    cusp.house = 3;
    EXPECT_EQ(ItemName(cusp, chart, names, testing::RealTexts(kEnglish)), "");
}

}  // namespace
}  // namespace vek
