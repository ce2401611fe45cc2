// The transit graph as a model: where the curve lies, its scale and labels,
// the marked label, the reading of a point and the title; and the
// longitudes of the other zodiac on the real sky.
#include "display/transit_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "../day_numbers.h"
#include "../fake_sky.h"
#include "../program_texts.h"
#include "engine/angle_text.h"
#include "engine/aspects.h"
#include "engine/engine.h"
#include "time/dates.h"

namespace vek {
namespace {
using testing::kAfterData;

using testing::Deg;

using testing::Day;

// Natal Sun at 10°; Mars moves 0.5° a day and stands exactly trine (130°)
// at noon UT of 4 July 2010.
constexpr double kNoon = 2455382.0;
SkyLongitude Sky(Body body, JulianDate jd) {
    if (body == kSun) return SkyLongitude(Deg(10));
    return SkyLongitude(NormalizeAngle(Deg(130) + Deg(0.5) * (jd.days - kNoon)));
}

class TransitGraphModel : public ::testing::Test {
  protected:
    void SetUp() override {
        in.natalBody = kSun;
        in.transitBody = kMars;
        in.aspect = kTrine;
        in.orb = Deg(2);  // Mars takes 8 days from edge to edge
        in.beginning = Day(2010, 6, 30);
        in.end = Day(2010, 7, 7);  // eight days: 30 June to 7 July
        in.natalJulianDate = kNoon - 18000;
        in.worldLocalDayValue = Day(2010, 7, 4) + 0.5;
        in.worldJulianDate = kNoon;
        in.color = Rgb(0, 255, 0);
        in.longitude = Sky;
        in.title = "Graph X, end";
        in.natalDate = "1961-02-19";
    }
    TransitGraphInput in;
};

TEST_F(TransitGraphModel, TheCurveCrossesTheMiddleWhenTheAspectIsExact) {
    const TransitGraph g = DrawTransitGraph(in);
    ASSERT_TRUE(g.drawn);
    EXPECT_NEAR(g.exactPoint, Deg(130), 1e-12);
    EXPECT_EQ(g.span, 8);
    EXPECT_DOUBLE_EQ(g.step, 8.0 / 392);
    // Local midnight that starts 30 June, in UT (zone GMT).
    EXPECT_DOUBLE_EQ(g.start, Day(2010, 6, 30) - 0.5);
    ASSERT_FALSE(g.curve.empty());
    // Noon of 4 July lies 4.5 days after the start: row 21 + 4.5 / step.
    const int exactRow = kGraphFirstRow + static_cast<int>(std::lround(4.5 / g.step));
    const auto at = std::find_if(g.curve.begin(), g.curve.end(),
                                 [&](const GraphPoint& p) { return p.row == exactRow; });
    ASSERT_NE(at, g.curve.end());
    EXPECT_NEAR(at->column, kGraphExactColumn, 1);
    // Moving forward in longitude, the curve goes from left to right and
    // stays within the orb.
    for (size_t i = 1; i < g.curve.size(); ++i) {
        EXPECT_GT(g.curve[i].row, g.curve[i - 1].row);
        EXPECT_GE(g.curve[i].column, g.curve[i - 1].column);
    }
    for (const GraphPoint& p : g.curve) {
        EXPECT_LE(std::fabs(p.difference), g.orb);
        EXPECT_GE(p.column, kGraphMargin);
        EXPECT_LE(p.column, kGraphMargin + 2 * kGraphHalfWidth);
        EXPECT_GE(p.row, kGraphFirstRow);
        EXPECT_LE(p.row, kGraphLastRow);
    }
    // Mars comes within 2° four days before the exact noon, half a day
    // after the start: the curve leaves out the first 1/16 of the rows.
    EXPECT_NEAR(static_cast<double>(g.curve.size()), 393 - 392.0 / 16, 2);
    EXPECT_NEAR(g.curve.front().row, kGraphFirstRow + 392 / 16, 1);
    EXPECT_NEAR(g.curve.front().column, kGraphMargin, 1);
}

TEST_F(TransitGraphModel, TheExactPointIsTheSideOfTheNatalBodyTheTransitIsOn) {
    // Mars near 250°: the trine on the other side.
    in.longitude = [](Body body, JulianDate jd) {
        return SkyLongitude(body == kSun ? Deg(10)
                                         : NormalizeAngle(Deg(248) + Deg(0.5) * (jd.days - kNoon)));
    };
    EXPECT_NEAR(DrawTransitGraph(in).exactPoint, Deg(250), 1e-12);
    in.aspect = kOpposition;
    EXPECT_NEAR(DrawTransitGraph(in).exactPoint, Deg(190), 1e-9);
    in.aspect = kConjunction;
    EXPECT_NEAR(DrawTransitGraph(in).exactPoint, Deg(10), 1e-12);
    // A conjunction across 0° Aries: distances are taken the short way.
    in.longitude = [](Body body, JulianDate jd) {
        return SkyLongitude(body == kSun ? Deg(359.5)
                                         : NormalizeAngle(Deg(359) + Deg(0.5) * (jd.days - kNoon)));
    };
    const TransitGraph g = DrawTransitGraph(in);
    ASSERT_FALSE(g.curve.empty());
    for (const GraphPoint& p : g.curve) EXPECT_LE(std::fabs(p.difference), in.orb);
}

TEST_F(TransitGraphModel, TimeLabelsScaleAndTheMarkedLabel) {
    TransitGraph g = DrawTransitGraph(in);
    ASSERT_EQ(g.labels.size(), 29u);
    EXPECT_EQ(g.labels.front().text, "2010-06-30 00:00");
    EXPECT_EQ(g.labels[1].text, "2010-06-30 06:51");  // 8 days / 28 = 6 h 51 min
    EXPECT_EQ(g.labels.back().text, "2010-07-08 00:00");
    // The World date's noon lies 4.5 days in: label 16 at 4.57 days is the
    // first not earlier than half a label interval before it.
    EXPECT_EQ(g.markedLabel, 16);
    EXPECT_EQ(std::count_if(g.labels.begin(), g.labels.end(),
                            [](const TransitGraph::Label& l) { return l.marked; }),
              1);
    // Its grid line is white, the others grey.
    int white = 0, grey = 0;
    for (const ChartPrimitive& p : g.drawing.items) {
        if (p.role != ChartRole::GraphGrid || p.kind != ChartPrimitive::Kind::Line || p.y1 != p.y2)
            continue;
        (p.color == Rgb(255, 255, 255) ? white : grey) += 1;
        if (p.color == Rgb(255, 255, 255)) {
            EXPECT_EQ(p.y1, (kGraphFirstRow + 14 * 16) * kTwipsPerPixel + 7);
        }
    }
    EXPECT_EQ(white, 1);
    EXPECT_EQ(grey, 28);
    // A World date before the graph marks the first label.
    in.worldLocalDayValue = in.beginning - 3;
    EXPECT_EQ(DrawTransitGraph(in).markedLabel, 0);

    // The scale: 0° in the middle, then every 40 columns an orb / 7.5.
    in.orb = Deg(7.5);
    g = DrawTransitGraph(in);
    ASSERT_EQ(g.scale.size(), 15u);
    EXPECT_EQ(g.scale[0].column, 420);
    EXPECT_EQ(g.scale[0].text, "0°");
    for (const TransitGraph::ScaleLabel& s : g.scale) {
        if (s.column == 420) continue;
        const int m = std::abs(s.column - 420) / 40;
        EXPECT_EQ(std::abs(s.column - 420), 40 * m);
        EXPECT_EQ(s.text, std::to_string(m) + "°0'");
    }
    in.orb = Deg(8);
    EXPECT_EQ(DrawTransitGraph(in).scale[1].text, "1°4'");
}

TEST_F(TransitGraphModel, TheDrawingHoldsBothCurvesAndTheTitle) {
    // The other zodiac: everything 0.5° further back, the natal Sun 0.3°.
    in.otherLongitude = [](Body body, JulianDate jd) {
        return SkyLongitude(NormalizeAngle(*Sky(body, jd) - Deg(body == kSun ? 0.3 : 0.5)));
    };
    const TransitGraph g = DrawTransitGraph(in);
    ASSERT_TRUE(g.drawn);
    EXPECT_NEAR(g.otherExactPoint, Deg(129.7), 1e-9);
    ASSERT_FALSE(g.otherCurve.empty());
    // 0.2° behind: the grey curve lies 0.2 / 2 × 300 = 30 columns left of
    // the coloured one at the same row.
    for (const GraphPoint& p : g.otherCurve) {
        const auto same = std::find_if(g.curve.begin(), g.curve.end(),
                                       [&](const GraphPoint& c) { return c.row == p.row; });
        if (same != g.curve.end()) {
            EXPECT_NEAR(same->column - p.column, 30, 1);
        }
    }
    const ChartWheel& w = g.drawing;
    EXPECT_EQ(w.geometry.left, 750);
    EXPECT_EQ(w.geometry.width, 10950);
    EXPECT_EQ(w.geometry.height, 6600);
    EXPECT_EQ(w.background, Color());
    size_t coloured = 0, greyPoints = 0;
    for (const ChartPrimitive& p : w.items) {
        if (p.role != ChartRole::GraphCurve) continue;
        if (p.color == in.color && p.width == 2) ++coloured;
        if (p.color == kGraphOtherZodiacColor && p.width == 1) ++greyPoints;
    }
    EXPECT_EQ(coloured, g.curve.size());
    EXPECT_EQ(greyPoints, g.otherCurve.size());
    // The title under the last row, the birthdate put in for its "X".
    EXPECT_EQ(g.title, "Graph  (1961-02-19), end");
    const ChartPrimitive& title = w.items.back();
    EXPECT_EQ(title.text, g.title);
    EXPECT_EQ(title.y1, (kGraphLastRow + 7) * kTwipsPerPixel);
    EXPECT_EQ(title.font, ChartFont::Graph);
}

TEST_F(TransitGraphModel, APointReadsBackItsInstantAndDistance) {
    const TransitGraph g = DrawTransitGraph(in);
    const GraphPoint& p = g.curve[g.curve.size() / 2];
    const auto r = ReadGraphAt(g, p.column * kTwipsPerPixel + 7, p.row * kTwipsPerPixel + 7);
    ASSERT_TRUE(r);
    // Counted from the first date's day number in local time.
    EXPECT_DOUBLE_EQ(r->day, g.beginning + (p.row - kGraphFirstRow) * g.step);
    EXPECT_NEAR(r->deviation, p.difference, g.orb / kGraphHalfWidth);
    std::string date, time;
    CalendarDate d;
    d.dayNumber = static_cast<int32_t>(std::floor(r->day));
    DayNumberToDate(d);
    EXPECT_EQ(r->date, IsoDateText(d));
    EXPECT_EQ(r->time, TimeText(r->day - std::floor(r->day), false));
    const std::string text = GraphReadingText(testing::RealTexts(kEnglish), *r);
    EXPECT_EQ(text, "Date and time: " + r->date + ", " + r->time +
                        "\nDistance from exact: " + AngleText(Radians(std::fabs(r->deviation))));

    // Outside the plot: the labels on the left, the scale above, the title.
    EXPECT_FALSE(ReadGraphAt(g, 1800, 3000));
    EXPECT_FALSE(ReadGraphAt(g, 6300, 300));
    EXPECT_FALSE(ReadGraphAt(g, 6300, 6300));
    EXPECT_FALSE(ReadGraphAt(g, 10900, 3000));
    EXPECT_TRUE(ReadGraphAt(g, 1815, 315));
    EXPECT_TRUE(ReadGraphAt(g, 10800, 6195));
}

// Each exact pass within the plotted days is a ring on the exact column at
// the row of its instant, over the curve, painted in the aspect's colour;
// a click on the ring reads that pass to the minute in the graph's zone,
// a click beside it the row as before. Passes outside the days get none.
TEST_F(TransitGraphModel, ExactPassesAreMarkedAndReadBackToTheMinute) {
    in.zoneMinutes = 120;
    in.exactPasses = {kNoon + 7.0 / 1440, kNoon + 40, NAN};
    const TransitGraph g = DrawTransitGraph(in);
    ASSERT_TRUE(g.drawn);
    ASSERT_EQ(g.marks.size(), 1u);
    const TransitGraph::Mark& m = g.marks[0];
    EXPECT_EQ(m.row, kGraphFirstRow +
                         static_cast<int>(std::lround((kNoon + 7.0 / 1440 - g.start) / g.step)));
    // The curve crosses the exact column at the mark's row.
    bool crossed = false;
    for (const GraphPoint& p : g.curve)
        crossed |= std::abs(p.row - m.row) <= 1 && std::abs(p.column - kGraphExactColumn) <= 1;
    EXPECT_TRUE(crossed);
    // In the drawing after the curves.
    int rings = 0;
    size_t lastCurve = 0, ring = 0;
    for (size_t i = 0; i < g.drawing.items.size(); ++i) {
        const ChartPrimitive& p = g.drawing.items[i];
        if (p.role == ChartRole::GraphCurve) lastCurve = i;
        if (p.role != ChartRole::GraphMark) continue;
        ++rings;
        ring = i;
        EXPECT_EQ(p.kind, ChartPrimitive::Kind::Disc);
        EXPECT_EQ(p.fill, in.color);
        EXPECT_EQ(p.x1 / kTwipsPerPixel, kGraphExactColumn);
        EXPECT_EQ(p.y1 / kTwipsPerPixel, m.row);
    }
    EXPECT_EQ(rings, 1);
    EXPECT_GT(ring, lastCurve);

    const int x = kGraphExactColumn * kTwipsPerPixel + 7, y = m.row * kTwipsPerPixel + 7;
    for (const int dx : {0, 45, -45}) {
        const auto r = ReadGraphAt(g, x + dx, y + (dx ? 15 : 0));
        ASSERT_TRUE(r);
        EXPECT_TRUE(r->exactPass);
        EXPECT_EQ(r->date, "2010-07-04");
        EXPECT_EQ(r->time, "14:07");  // 12:07 UT at GMT+2
        EXPECT_EQ(r->deviation, 0);
        EXPECT_EQ(GraphReadingText(testing::RealTexts(kEnglish), *r),
                  "Date and time: 2010-07-04, 14:07\nDistance from exact: " + AngleText(Radians(0)));
    }
    const auto beside = ReadGraphAt(g, x + 8 * kTwipsPerPixel, y);
    ASSERT_TRUE(beside);
    EXPECT_FALSE(beside->exactPass);
    EXPECT_DOUBLE_EQ(beside->day, g.beginning + (m.row - kGraphFirstRow) * g.step);

    // Without passes the drawing is the one of before.
    in.exactPasses.clear();
    const TransitGraph plain = DrawTransitGraph(in);
    EXPECT_TRUE(plain.marks.empty());
    EXPECT_EQ(plain.drawing.items.size() + 1, g.drawing.items.size());
}

TEST_F(TransitGraphModel, InputThatMakesNoGraphIsRefused) {
    TransitGraphInput bad = in;
    bad.end = bad.beginning - 1;
    EXPECT_FALSE(DrawTransitGraph(bad).drawn);
    bad = in;
    bad.orb = 0;
    EXPECT_FALSE(DrawTransitGraph(bad).drawn);
    bad = in;
    bad.beginning = kUnknownDate;
    EXPECT_FALSE(DrawTransitGraph(bad).drawn);
    bad = in;
    bad.longitude = [](Body, JulianDate) { return kAfterData; };
    EXPECT_FALSE(DrawTransitGraph(bad).drawn);
    EXPECT_TRUE(DrawTransitGraph(bad).drawing.items.empty());
    EXPECT_FALSE(ReadGraphAt(DrawTransitGraph(bad), 6300, 3000));
}

TEST(TransitGraphTitle, NamesTransitNatalBodyOrbAndZodiac) {
    ASSERT_GT(testing::RealTextTable().Count(), 0);
    NameTables en, de;
    BuildNameTables(en, kEnglish);
    BuildNameTables(de, kGerman);
    EXPECT_EQ(
        TransitGraphTitle(testing::RealTexts(kEnglish), en, kSun, kMars, kSquare, Deg(2), false),
        "Transiting Mars in square to natal SunX, orb 2°0', tropical zodiac");
    EXPECT_EQ(TransitGraphTitle(testing::RealTexts(kEnglish), en, kMoon, kPluto, kTrine, Deg(7) / 3,
                                true),
              "Transiting Pluto in trine to natal MoonX, orb 2°20', sidereal zodiac");
    EXPECT_EQ(
        TransitGraphTitle(testing::RealTexts(kGerman), de, kSun, kMars, kSquare, Deg(2), false),
        "Transit: Mars in Quadrat zu RadixsonneX, Orbis 2°0', tropischer Tk");
    EXPECT_EQ(
        TransitGraphTitle(testing::RealTexts(kGerman), de, kSun, kMars, kSquare, Deg(2), true),
        "Transit: Mars in Quadrat zu RadixsonneX, Orbis 2°0', siderischer Tk");
}

TEST(TransitGraphZodiac, LongitudesOfEitherZodiacWhateverTheEngineIsSetTo) {
    ASSERT_TRUE(std::filesystem::exists(std::string(VEK_BIN_DIR) + "/pluto.slx"));
    Engine engine;
    engine.Initialize(VEK_BIN_DIR);
    ASSERT_TRUE(engine.LoadPlutoTable());
    const JulianDate jd(2437120.0);  // 1960
    for (Body body : {kSun, kMars, kPluto, kMoon}) {
        engine.SiderealZodiac = false;
        const double tropical = *engine.Longitude(body, jd);
        engine.SiderealZodiac = true;
        const double sidereal = *engine.Longitude(body, jd);
        ASSERT_GE(tropical, 0);
        EXPECT_GT(SeparationOf(tropical, sidereal).s, Deg(20));  // about 23° in 1960
        for (bool set : {false, true}) {
            engine.SiderealZodiac = set;
            EXPECT_NEAR(*LongitudeInZodiac(engine, false)(body, jd), tropical, 1e-12) << Index(body);
            EXPECT_NEAR(*LongitudeInZodiac(engine, true)(body, jd), sidereal, 1e-12) << Index(body);
        }
    }
    EXPECT_EQ(LongitudeInZodiac(engine, false)(kSun, JulianDate(-1e9)),
              engine.Longitude(kSun, JulianDate(-1e9)));
}

}  // namespace
}  // namespace vek
