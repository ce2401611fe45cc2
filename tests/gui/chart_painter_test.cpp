// The chart painter: the glyph ink placement reads, the pixels of a painted
// and of a saved chart (disc, glyphs, lines, the white-background copy), and
// writing PNG and SVG files in one piece.
#include "paint/chart_painter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <cmath>

#include "../program_texts.h"
#include "display/chart_image.h"
#include "qt_app.h"

namespace vek::paint {
namespace {

double Deg(double d) {
    return d / 360.0 * kTwoPi;
}

class PainterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gui::test::App();
        ASSERT_TRUE(InstallChartFonts().isEmpty());
        BuildNameTables(names, kEnglish);
        chart.mode = Mode::World;
        chart.bodyCount = kMaxBodies;
        for (Body b : AllBodies()) chart.longitude[b][0] = SkyLongitude(Deg(36.0 * (Index(b) - 1) + 5));
        table.LayoutTriangularTable();
        // A conjunction between two bodies far apart: a long yellow line.
        TableCell& c = table.txbCell[table.AspectCellIndex(kSun, kMars)];
        c.text = "Con";
        c.visible = true;
        in.chart = &chart;
        in.table = &table;
        in.names = &names;
        in.texts = testing::NumberedTexts(kEnglish);
    }

    QColor At(const QImage& image, double xTwips, double yTwips) const {
        return image.pixelColor(static_cast<int>(xTwips / 15), static_cast<int>(yTwips / 15));
    }

    Chart chart;
    TableModel table;
    NameTables names;
    WheelInput in;
};

TEST_F(PainterTest, GlyphInkIsMeasuredForEveryBody) {
    const GlyphInks& inks = MeasuredGlyphInks();
    for (Body b : AllBodies()) {
        const GlyphInk& g = inks[b];
        int ink = 0;
        for (uint8_t v : g.ink) ink += v;
        // A 14-point glyph: about 16 × 22 pixels of box, a good part inked.
        EXPECT_GT(ink, 20) << Index(b);
        EXPECT_LT(ink, g.width * g.height) << Index(b);
        EXPECT_GT(g.boxWidth, 150) << Index(b);
        EXPECT_LT(g.boxWidth, 400) << Index(b);
        EXPECT_GT(g.boxHeight, 250) << Index(b);
        EXPECT_LT(g.boxHeight, 400) << Index(b);
    }
}

// The box the pointer finds a point in, and that its emphasis frames,
// holds the point's symbol as the point font prints it, in both languages
// (the nodes' symbols carry a letter).
TEST_F(PainterTest, APointsPointerBoxHoldsItsPrintedSymbol) {
    const QFontMetricsF fm(ChartQFont(ChartFont::Point, false));
    for (Language language : {kEnglish, kGerman}) {
        const ProgramTexts texts = testing::RealTexts(language);
        for (TextId id : {kTextMeanNodeSymbol, kTextTrueNodeSymbol, kTextChironSymbol}) {
            ChartPrimitive p;
            p.kind = ChartPrimitive::Kind::Text;
            p.role = ChartRole::PointGlyph;
            p.font = ChartFont::Point;
            p.alignCenter = true;
            p.x1 = 2000;
            p.y1 = 1000;
            p.text = texts.ProgramText(id);
            SCOPED_TRACE(p.text);
            const std::optional<ItemBox> box = PointerBoxOf(p);
            ASSERT_TRUE(box.has_value());
            const double half = fm.horizontalAdvance(QString::fromStdString(p.text)) / 2;
            EXPECT_LE(box->left, p.x1 - half);
            EXPECT_GE(box->left + box->width, p.x1 + half);
            EXPECT_GE(box->height, fm.height());
            // Not much more than the symbol either: the neighbours stay
            // the pointer's.
            EXPECT_LT(box->width, 2 * half + 150);
        }
    }
}

TEST_F(PainterTest, AspectLinesEndInsideTheGlyphsTheyJoin) {
    // Lines end 120 twips right of and below a glyph's print origin: that
    // point lies inside the box of the glyph's ink, near its middle.
    const GlyphInks& inks = MeasuredGlyphInks();
    for (Body b : AllBodies()) {
        const GlyphInk& g = inks[b];
        int x0 = g.width, y0 = g.height, x1 = -1, y1 = -1;
        for (int y = 0; y < g.height; ++y) {
            for (int x = 0; x < g.width; ++x) {
                if (!g.ink[static_cast<size_t>(y) * g.width + x]) continue;
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
        }
        x0 += g.left, x1 += g.left, y0 += g.top, y1 += g.top;
        const double end = double(kLineOffset) / kTwipsPerPixel;  // 8 pixels
        EXPECT_GT(end, x0 + 1) << Index(b);
        EXPECT_LT(end, x1 - 1) << Index(b);
        EXPECT_GT(end, y0 + 1) << Index(b);
        EXPECT_LT(end, y1 - 1) << Index(b);
        // Within a quarter of the ink's size from its middle.
        EXPECT_NEAR(end, (x0 + x1 + 1) / 2.0, (x1 - x0 + 1) / 4.0) << Index(b);
        EXPECT_NEAR(end, (y0 + y1 + 1) / 2.0, (y1 - y0 + 1) / 4.0) << Index(b);
    }
}

TEST_F(PainterTest, PaintedGlyphsStayOnTheDiscAndOffEachOther) {
    // Three bodies at one longitude: each moves inward past the others.
    chart.longitude[kSun][0] = chart.longitude[kMercury][0] = chart.longitude[kVenus][0] = SkyLongitude(Deg(60));
    const ChartWheel w = DrawChartWheel(in, MeasuredGlyphInks());
    ASSERT_TRUE(w.drawn);
    // Paint each glyph alone and check that no two inks share a pixel and
    // that every ink lies on the black disc of the full painting.
    const QImage full = RenderChart(w, 1);
    std::vector<QImage> alone;
    for (Body b : AllBodies()) {
        ChartWheel one = w;
        one.items.clear();
        for (const ChartPrimitive& p : w.items)
            if (p.role == ChartRole::BodyGlyph && p.body == b) one.items.push_back(p);
        one.background = kChartBlack;
        alone.push_back(RenderChart(one, 1));
    }
    for (int y = 0; y < full.height(); ++y) {
        for (int x = 0; x < full.width(); ++x) {
            int inked = 0;
            for (const QImage& a : alone) inked += qGray(a.pixel(x, y)) > 0 ? 1 : 0;
            ASSERT_LE(inked, 1) << x << "," << y;
            if (inked) {
                const double r = std::hypot(x + 0.5 - 200, y + 0.5 - 200);
                ASSERT_LT(r, 2950.0 / 15 - 1) << x << "," << y;
            }
        }
    }
}

TEST_F(PainterTest, TheWhiteCopyTurnsDiscWhiteGlyphsBlackAndTheYellowLineAmber) {
    const ChartWheel w = DrawChartWheel(in, MeasuredGlyphInks());
    ASSERT_TRUE(w.drawn);
    const ChartPrimitive* line = nullptr;
    for (const ChartPrimitive& p : w.items)
        if (p.role == ChartRole::AspectLine) line = &p;
    ASSERT_NE(line, nullptr);
    const double mx = (line->x1 + line->x2) / 2.0, my = (line->y1 + line->y2) / 2.0;
    // A point of the disc away from spokes, signs and glyphs.
    const double dx = 3000 + 1800 * std::cos(Deg(20)), dy = 3000 - 1800 * std::sin(Deg(20));
    const ChartWheel::Anchor sun = w.anchors[0][kSun];

    SavedImageInput plainIn;
    plainIn.texts = in.texts;
    const QImage plain = RenderChart(SavedChartImage(w, plainIn), 1);
    SavedImageInput whiteIn = plainIn;
    whiteIn.whiteBackground = true;
    const QImage white = RenderChart(SavedChartImage(w, whiteIn), 1);

    EXPECT_EQ(At(plain, dx, dy), QColor(0, 0, 0));
    EXPECT_EQ(At(white, dx, dy), QColor(255, 255, 255));
    // The line's pixel next to its midpoint.
    QPoint onLine(-1, -1);
    for (int y = int(my / 15) - 1; y <= int(my / 15) + 1; ++y)
        for (int x = int(mx / 15) - 1; x <= int(mx / 15) + 1; ++x)
            if (plain.pixelColor(x, y) == QColor(255, 255, 0)) onLine = QPoint(x, y);
    ASSERT_NE(onLine, QPoint(-1, -1));
    EXPECT_EQ(white.pixelColor(onLine), QColor(255, 192, 0));
    EXPECT_EQ(At(white, 10, 5990), QColor(224, 224, 224));
    // The Sun's glyph: its bright pixels on the black disc are dark on the
    // white one.
    int brightInk = 0, darkInk = 0;
    for (int y = sun.y / 15; y < (sun.y + 300) / 15; ++y) {
        for (int x = sun.x / 15; x < (sun.x + 250) / 15; ++x) {
            if (qGray(plain.pixel(x, y)) > 200) {
                ++brightInk;
                if (qGray(white.pixel(x, y)) < 200) ++darkInk;
            }
        }
    }
    EXPECT_GT(brightInk, 10);
    EXPECT_EQ(darkInk, brightInk);
}

TEST_F(PainterTest, FilesAreWrittenInOnePieceOrNotAtAll) {
    QTemporaryDir dir;
    const ChartWheel w = DrawChartWheel(in, MeasuredGlyphInks());
    const QString png = dir.filePath("c.png");
    ASSERT_TRUE(WriteChartFile(w, png, 2).ok());
    EXPECT_EQ(QImage(png).size(), QSize(800, 800));
    const QString svg = dir.filePath("c.SVG");
    ASSERT_TRUE(WriteChartFile(w, svg, 1).ok());
    QFile f(svg);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("<svg"));
    EXPECT_TRUE(text.contains("text 104"));   // the texts stay text
    EXPECT_FALSE(text.contains("Starfont"));  // the glyphs are outlines
    // Drawn back, the SVG shows the same chart: the disc, and each glyph's
    // ink where the PNG has it.
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    QImage back(400, 400, QImage::Format_RGB32);
    back.fill(Qt::white);
    QPainter painter(&back);
    renderer.render(&painter);
    painter.end();
    if (qEnvironmentVariableIsSet("VEK_SCREENSHOT_DIR"))
        back.save(qEnvironmentVariable("VEK_SCREENSHOT_DIR") + "/svg_drawn_back.png");
    const QImage direct = RenderChart(w, 1);
    EXPECT_EQ(back.pixelColor(260, 130), QColor(0, 0, 0));
    EXPECT_EQ(direct.pixelColor(260, 130), QColor(0, 0, 0));
    EXPECT_EQ(back.pixelColor(5, 395), QColor(224, 224, 224));
    for (Body b : AllBodies()) {
        const ChartWheel::Anchor& a = w.anchors[0][b];
        int bright = 0;
        for (int y = a.y / 15; y < (a.y + 300) / 15; ++y)
            for (int x = a.x / 15; x < (a.x + 250) / 15; ++x)
                bright += qGray(back.pixel(x, y)) > 128;
        EXPECT_GT(bright, 3) << Index(b);
    }

    // Under a regular file: a failure naming the path, the file unchanged.
    QFile plainFile(dir.filePath("plain"));
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    plainFile.write("unchanged");
    plainFile.close();
    const Status s = WriteChartFile(w, dir.filePath("plain") + "/c.png", 1);
    EXPECT_FALSE(s.ok());
    EXPECT_NE(s.message().find("plain/c.png"), std::string::npos);
    ASSERT_TRUE(plainFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(plainFile.readAll(), "unchanged");
    EXPECT_FALSE(WriteChartFile(w, png, 0).ok());
    EXPECT_EQ(QImage(png).size(), QSize(800, 800));  // the earlier file stays

    // Through a symbolic link: the link stays and its target is the image.
    const QString link = dir.filePath("link.png");
    ASSERT_TRUE(QFile::link(png, link));
    ASSERT_TRUE(WriteChartFile(w, link, 1).ok());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), QFileInfo(png).absoluteFilePath());
    EXPECT_EQ(QImage(png).size(), QSize(400, 400));
    EXPECT_TRUE(QDir(dir.path()).entryList({".vek-tmp-*"}, QDir::Files | QDir::Hidden).isEmpty());
}

}  // namespace
}  // namespace vek::paint
