#include "display/transit_graph.h"

#include <cmath>

#include "engine/angle_text.h"
#include "engine/aspects.h"
#include "engine/engine.h"
#include "platform/calendar.h"
#include "time/dates.h"
#include "util/text.h"

namespace vek {

namespace {

constexpr Color kGraphGridColor = Rgb(64, 64, 64);
// Lines run through the middle of their pixels.
constexpr int kPixelMiddle = kTwipsPerPixel / 2;
// The scale's labels stand this far from the top.
constexpr int kScaleTop = 30;
// The title stands this many rows under the last plotted row.
constexpr int kTitleGap = 7;
// The last column a click reads (the plot and the half-width of a point).
constexpr int kLastReadColumn = kGraphMargin + 2 * kGraphHalfWidth + 5;

int Twips(int pixel) {
    return pixel * kTwipsPerPixel;
}

ChartPrimitive GraphText(int x, int y, std::string text) {
    ChartPrimitive p;
    p.kind = ChartPrimitive::Kind::Text;
    p.role = ChartRole::GraphText;
    p.x1 = x;
    p.y1 = y;
    p.text = std::move(text);
    p.font = ChartFont::Graph;
    p.color = kChartWhite;
    return p;
}

ChartPrimitive GraphLine(int x1, int y1, int x2, int y2, Color color) {
    ChartPrimitive p;
    p.kind = ChartPrimitive::Kind::Line;
    p.role = ChartRole::GraphGrid;
    p.x1 = x1;
    p.y1 = y1;
    p.x2 = x2;
    p.y2 = y2;
    p.color = color;
    p.width = 1;
    return p;
}

ChartPrimitive CurvePoint(const GraphPoint& g, Color color, int width) {
    ChartPrimitive p;
    p.kind = ChartPrimitive::Kind::Point;
    p.role = ChartRole::GraphCurve;
    p.x1 = Twips(g.column);
    p.y1 = Twips(g.row);
    p.color = color;
    p.width = width;
    return p;
}

// The ring of an exact pass on the exact column, white around the
// aspect's colour.
ChartPrimitive MarkRing(const TransitGraph::Mark& m, Color color) {
    ChartPrimitive ring;
    ring.kind = ChartPrimitive::Kind::Disc;
    ring.role = ChartRole::GraphMark;
    ring.x1 = Twips(kGraphExactColumn) + kPixelMiddle;
    ring.y1 = Twips(m.row) + kPixelMiddle;
    ring.r = Twips(kGraphMarkRadius);
    ring.color = kChartWhite;
    ring.fill = color;
    return ring;
}

// "2010-07-04" and "06:30" of a local day value.
void DateAndTime(double day, std::string& date, std::string& time) {
    const double whole = std::floor(day);
    CalendarDate d;
    d.dayNumber = static_cast<int32_t>(whole);
    DayNumberToDate(d);
    date = IsoDateText(d);
    time = TimeText(day - whole, false);
}

// Where the aspect is exact: the natal longitude for the conjunction, the
// point opposite for the opposition, otherwise the natal longitude plus or
// minus the aspect's angle, whichever lies nearer the transiting body.
double ExactPoint(double natal, double transiting, Aspect aspect) {
    if (aspect == kConjunction) return natal;
    if (aspect == kOpposition) return NormalizeAngle(natal + kPi);
    const double ahead = NormalizeAngle(natal + AspectAngleOf(aspect));
    const double behind = NormalizeAngle(natal - AspectAngleOf(aspect));
    return SeparationOf(ahead, transiting).s <= SeparationOf(behind, transiting).s ? ahead : behind;
}

// The points of one curve: at every row the transiting body's signed
// distance from the exact point, where it lies within the orb.
std::vector<GraphPoint> Curve(const LongitudeFn& longitude, Body body, double exact,
                              const TransitGraph& g) {
    std::vector<GraphPoint> points;
    for (int k = 0; k <= kGraphSteps; ++k) {
        const SkyLongitude lon = longitude(body, JulianDate(g.start + k * g.step));
        if (!lon) continue;
        const double difference = std::remainder(*lon - exact, kTwoPi);
        if (std::fabs(difference) > g.orb) continue;
        GraphPoint p;
        p.column =
            static_cast<int>(std::lround(kGraphExactColumn + difference * kGraphHalfWidth / g.orb));
        p.row = kGraphFirstRow + k;
        p.difference = difference;
        points.push_back(p);
    }
    return points;
}

// The exact point of one zodiac; false when a position is missing.
bool ExactPointIn(const LongitudeFn& longitude, const TransitGraphInput& in, double& exact) {
    const SkyLongitude natal = longitude(in.natalBody, JulianDate(in.natalJulianDate));
    const SkyLongitude transiting = longitude(in.transitBody, JulianDate(in.worldJulianDate));
    if (!natal || !transiting) return false;
    exact = ExactPoint(*natal, *transiting, in.aspect);
    return true;
}

void BuildDrawing(TransitGraph& g) {
    ChartWheel& w = g.drawing;
    w = ChartWheel();
    w.drawn = true;
    w.geometry = {kGraphBoxLeft, kGraphBoxWidth, kGraphBoxHeight, 0, 0, 0, 0, 0, 0};
    w.background = kChartBlack;
    const int left = Twips(kGraphMargin);
    const int right = Twips(kGraphMargin + 2 * kGraphHalfWidth);
    const int top = Twips(kGraphFirstRow) + kPixelMiddle;
    const int bottom = Twips(kGraphLastRow) + kPixelMiddle;
    // The time labels, one line each under an empty first line, and their
    // grid lines through the middle of each line.
    const int lineHeight = Twips(kGraphLabelRows);
    for (int k = 0; k < static_cast<int>(g.labels.size()); ++k) {
        ChartPrimitive t = GraphText(0, lineHeight * (k + 1), g.labels[k].text);
        t.underline = g.labels[k].marked;
        w.items.push_back(t);
        const int y = Twips(kGraphFirstRow + kGraphLabelRows * k) + kPixelMiddle;
        w.items.push_back(
            GraphLine(left, y, right, y, g.labels[k].marked ? kChartWhite : kGraphGridColor));
    }
    // The scale: grey lines at every 40 columns, the exact aspect dotted in
    // white, the labels along the top.
    for (int m = 1; m <= 7; ++m) {
        for (int side : {1, -1}) {
            const int x = Twips(kGraphExactColumn + side * kGraphScaleStep * m) + kPixelMiddle;
            w.items.push_back(GraphLine(x, top, x, bottom, kGraphGridColor));
        }
    }
    for (const TransitGraph::ScaleLabel& s : g.scale) {
        ChartPrimitive t = GraphText(Twips(s.column) + kPixelMiddle, kScaleTop, s.text);
        t.alignCenter = true;
        w.items.push_back(t);
    }
    // Dotted: every other pixel.
    for (int row = kGraphFirstRow; row <= kGraphLastRow; row += 2) {
        GraphPoint p;
        p.column = kGraphExactColumn;
        p.row = row;
        ChartPrimitive dot = CurvePoint(p, kChartWhite, 1);
        dot.role = ChartRole::GraphGrid;
        w.items.push_back(dot);
    }
    // The curve of the selected zodiac, then the grey one of the other, then
    // the marks of the exact passes on top.
    for (const GraphPoint& p : g.curve) w.items.push_back(CurvePoint(p, g.color, 2));
    for (const GraphPoint& p : g.otherCurve)
        w.items.push_back(CurvePoint(p, kGraphOtherZodiacColor, 1));
    for (const TransitGraph::Mark& m : g.marks) w.items.push_back(MarkRing(m, g.color));
    w.items.push_back(GraphText(0, Twips(kGraphLastRow + kTitleGap), g.title));
}

}  // namespace

LongitudeFn LongitudeInZodiac(const Engine& engine, bool sidereal) {
    return [&engine, sidereal](Body body, JulianDate jd) {
        const SkyLongitude lon = engine.Longitude(body, jd);
        if (!lon || engine.SiderealZodiac == sidereal) return lon;
        const double correction = Ayanamsa(platform::calendar_year_of(jd.days));
        return SkyLongitude(NormalizeAngle(sidereal ? *lon - correction : *lon + correction));
    };
}

std::string TransitGraphTitle(const ProgramTexts& texts, const NameTables& names, Body natalBody,
                              Body transitBody, Aspect aspect, double orb, bool sidereal) {
    const bool german = texts.language() == kGerman;
    const std::string& name = names.AspectName[aspect];
    std::string t = texts.ProgramText(kTextTransiting) + " " + names.BodyName[transitBody] + " " +
                    texts.ProgramText(kTextGraphIn) + " " + (german ? name : LowerCase(name)) +
                    " " + texts.ProgramText(kTextGraphTo) + " " +
                    texts.ProgramText(kTextNatalExplanation);
    t += german ? LowerCase(names.BodyName[natalBody]) : " " + names.BodyName[natalBody];
    t += "X, " + texts.ProgramText(kTextGraphOrb) + " " + AngleText(Radians(orb)) + ", ";
    if (german) {
        t += sidereal ? "siderischer Tk" : "tropischer Tk";
    } else {
        t += texts.ProgramText(sidereal ? kTextSiderealZodiacLower : kTextTropicalZodiacLower);
    }
    return t;
}

TransitGraph DrawTransitGraph(const TransitGraphInput& in) {
    TransitGraph g;
    if (!(in.orb > 0) || !(in.beginning >= 0) ||
        !(in.end >= in.beginning) || !in.longitude)
        return g;
    g.beginning = std::floor(in.beginning);
    g.span = std::floor(in.end) + 1 - g.beginning;
    g.step = g.span / kGraphSteps;
    g.start = g.beginning - in.zoneMinutes / 1440.0 - 0.5;
    g.orb = in.orb;
    g.color = in.color;
    if (!ExactPointIn(in.longitude, in, g.exactPoint)) return g;

    g.title = in.title;
    if (const size_t x = g.title.find('X'); x != std::string::npos)
        g.title.replace(x, 1, " (" + in.natalDate + ")");

    const double labelStep = g.span / (kGraphLabelCount - 1);
    for (int k = 0; k < kGraphLabelCount; ++k) {
        TransitGraph::Label l;
        l.day = g.beginning + k * labelStep;
        std::string date, time;
        DateAndTime(l.day, date, time);
        l.text = date + " " + time;
        if (g.markedLabel < 0 && l.day > in.worldLocalDayValue - labelStep / 2) {
            l.marked = true;
            g.markedLabel = k;
        }
        g.labels.push_back(std::move(l));
    }

    g.scale.push_back({kGraphExactColumn, "0°"});
    for (int m = 1; m <= 7; ++m) {
        const std::string text = AngleText(Radians(m * g.orb / 7.5));
        g.scale.push_back({kGraphExactColumn + kGraphScaleStep * m, text});
        g.scale.push_back({kGraphExactColumn - kGraphScaleStep * m, text});
    }

    // A pass stands on the row nearest its instant.
    for (const double jd : in.exactPasses) {
        if (!std::isfinite(jd)) continue;
        const double k = std::round((jd - g.start) / g.step);
        if (k < 0 || k > kGraphSteps) continue;
        TransitGraph::Mark m;
        m.day = std::round((jd + in.zoneMinutes / 1440.0 + 0.5) * 1440) / 1440;
        m.row = kGraphFirstRow + static_cast<int>(k);
        g.marks.push_back(m);
    }

    g.curve = Curve(in.longitude, in.transitBody, g.exactPoint, g);
    if (in.otherLongitude && ExactPointIn(in.otherLongitude, in, g.otherExactPoint))
        g.otherCurve = Curve(in.otherLongitude, in.transitBody, g.otherExactPoint, g);
    g.drawn = true;
    BuildDrawing(g);
    return g;
}

std::optional<GraphReading> ReadGraphAt(const TransitGraph& g, int xTwips, int yTwips) {
    if (!g.drawn) return std::nullopt;
    if (xTwips <= Twips(kGraphMargin) || xTwips >= Twips(kLastReadColumn)) return std::nullopt;
    if (yTwips < Twips(kGraphFirstRow) || yTwips > Twips(kGraphLastRow)) return std::nullopt;
    // The ring of a pass, and a pixel around it for the unsteady hand.
    const int reach = Twips(kGraphMarkRadius + 1);
    for (const TransitGraph::Mark& m : g.marks) {
        const int dx = xTwips - (Twips(kGraphExactColumn) + kPixelMiddle);
        const int dy = yTwips - (Twips(m.row) + kPixelMiddle);
        if (dx * dx + dy * dy > reach * reach) continue;
        GraphReading r;
        r.day = m.day;
        DateAndTime(r.day, r.date, r.time);
        r.exactPass = true;
        return r;
    }
    const long k =
        std::lround(static_cast<double>(yTwips - Twips(kGraphFirstRow)) / kTwipsPerPixel);
    GraphReading r;
    r.day = g.beginning + static_cast<double>(k) * g.step;
    DateAndTime(r.day, r.date, r.time);
    const double column = static_cast<double>(xTwips / kTwipsPerPixel);
    r.deviation = (column - kGraphExactColumn) * g.orb / kGraphHalfWidth;
    return r;
}

std::string GraphReadingText(const ProgramTexts& texts, const GraphReading& r) {
    std::string t =
        texts.ProgramText(kTextGraphDateTime) + "\n" + texts.ProgramText(kTextGraphDistance);
    ReplaceAll(t, "[time]", r.time);
    ReplaceAll(t, "[date]", r.date);
    ReplaceAll(t, "[exactness]", AngleText(Radians(std::fabs(r.deviation))));
    return t;
}

}  // namespace vek
