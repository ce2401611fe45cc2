#include "paint/chart_painter.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <cmath>
#include <string_view>

#include "util/files.h"

// The resource file lives in the static paint library; registering it here
// keeps the linker from dropping it.
static void InitPaintResources() {
    Q_INIT_RESOURCE(paint);
}

namespace vek::paint {

namespace {

QColor ToQColor(Color c) {
    return QColor(c.red(), c.green(), c.blue());
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// Where a text printed with its top-left corner at (x, y) has its baseline,
// and the box an opaque print fills.
QRectF TextBox(const ChartPrimitive& p, const QFontMetricsF& fm) {
    const double w = fm.horizontalAdvance(Q(p.text));
    const double x = p.alignRight ? p.x1 - w : (p.alignCenter ? p.x1 - w / 2 : p.x1);
    return QRectF(x, p.y1, w, fm.height());
}

bool IsGlyphFont(ChartFont f) {
    return f == ChartFont::Glyph || f == ChartFont::SignGlyph;
}

// How texts are painted: with the font, or as outlines (filled paths) for
// the glyph font only or for every text.
enum class TextOutlines { None, Glyphs, All };

void PaintText(QPainter& painter, const ChartPrimitive& p, TextOutlines outlines) {
    const QFont font = ChartQFont(p.font, p.underline);
    const QFontMetricsF fm(font);
    QRectF box = TextBox(p, fm);
    if (p.font == ChartFont::Glyph) {
        // The glyph font's symbols sit at different places within their
        // advance; each body glyph is moved sideways so that the middle of
        // its ink is where the aspect lines end.
        const QRectF ink = fm.tightBoundingRect(Q(p.text));
        box.translate(p.x1 + kLineOffset - (box.left() + ink.center().x()), 0);
    }
    if (p.opaque) painter.fillRect(box, ToQColor(p.fill));
    const QPointF baseline(box.left(), box.top() + fm.ascent());
    if (outlines == TextOutlines::All ||
        (outlines == TextOutlines::Glyphs && IsGlyphFont(p.font))) {
        // A file viewed elsewhere has no glyph font: the glyphs go in as
        // outlines (with their underline).
        QPainterPath path;
        path.addText(baseline, font, Q(p.text));
        painter.fillPath(path, ToQColor(p.color));
        return;
    }
    painter.setFont(font);
    painter.setPen(ToQColor(p.color));
    painter.drawText(baseline, Q(p.text));
}

}  // namespace

QString InstallChartFonts() {
    static int fontId = -2;
    if (fontId == -2) {
        InitPaintResources();
        if (QFontDatabase::families().contains(kGlyphFontName)) {
            fontId = -3;  // already there (the window registers it too)
        } else {
            fontId = QFontDatabase::addApplicationFont(":/paint/StarfontSans.ttf");
        }
        QFont::insertSubstitutions("Arial", {"Liberation Sans", "Arimo", "DejaVu Sans"});
        QFont::insertSubstitutions(kGraphFontName,
                                   {"Liberation Mono", "Cousine", "DejaVu Sans Mono"});
    }
    if (fontId == -1) return "The glyph font could not be loaded from the program's resources.";
    if (!QFontDatabase::families().contains(kGlyphFontName))
        return QString("The glyph font \"") + kGlyphFontName + "\" is not available.";
    return QString();
}

QFont ChartQFont(ChartFont f, bool underline) {
    QFont font(ChartFontFamily(f));
    // Pixel sizes in twips: the painter's coordinates are twips.
    font.setPixelSize(ChartFontTwips(f));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setUnderline(underline);
    return font;
}

void TwipsToDevice(QPainter& painter, double scale) {
    painter.scale(scale / kTwipsPerPixel, scale / kTwipsPerPixel);
}

namespace {

// The item under the pointer: a line drawn again three pixels wider, a
// glyph framed in white.
void PaintHighlight(QPainter& painter, const ChartPrimitive& p) {
    if (p.role == ChartRole::AspectLine || p.role == ChartRole::AngleLine ||
        p.role == ChartRole::HouseCusp) {
        QPen pen(ToQColor(p.color), (p.width + 3) * kTwipsPerPixel);
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
        painter.drawLine(QPointF(p.x1, p.y1), QPointF(p.x2, p.y2));
    } else if (p.role == ChartRole::BodyGlyph) {
        painter.setPen(QPen(ToQColor(kChartWhite), kTwipsPerPixel));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(p.x1 - 30, p.y1 - 15, 2 * kLineOffset + 60, 360));
    } else if (const std::optional<ItemBox> box = PointerBoxOf(p)) {
        // Points, house numbers and the angles' labels: a frame in their
        // own colour around the box the pointer finds them in, and around
        // all of the printed text where a font prints it wider.
        QRectF frame(box->left, box->top, box->width, box->height);
        frame = frame.united(TextBox(p, QFontMetricsF(ChartQFont(p.font, p.underline))));
        painter.setPen(QPen(ToQColor(p.color), kTwipsPerPixel));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(frame.adjusted(-15, -15, 15, 15));
    }
}

void PaintDrawing(QPainter& painter, const ChartWheel& wheel, TextOutlines outlines) {
    painter.save();
    // At the drawing's own resolution lines and discs are drawn without
    // smoothing, every pixel in its exact colour, as glyph placement and
    // the white-background rule read them; finer devices smooth them.
    const double scale = painter.deviceTransform().m11() * kTwipsPerPixel;
    painter.setRenderHint(QPainter::Antialiasing, scale > 1.01);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRectF(0, -wheel.legendBand, wheel.geometry.width,
                            wheel.geometry.height + wheel.legendBand),
                     ToQColor(wheel.background));
    for (const ChartPrimitive& p : wheel.items) {
        switch (p.kind) {
            case ChartPrimitive::Kind::Disc: {
                // The rim is one pixel wide.
                painter.setPen(QPen(ToQColor(p.color), kTwipsPerPixel));
                painter.setBrush(ToQColor(p.fill));
                painter.drawEllipse(QPointF(p.x1, p.y1), p.r, p.r);
                painter.setBrush(Qt::NoBrush);
                break;
            }
            case ChartPrimitive::Kind::Line: {
                QPen pen(ToQColor(p.color), p.width * kTwipsPerPixel);
                pen.setCapStyle(Qt::RoundCap);
                painter.setPen(pen);
                painter.drawLine(QPointF(p.x1, p.y1), QPointF(p.x2, p.y2));
                break;
            }
            case ChartPrimitive::Kind::Point: {
                const int w = std::max(1, p.width);
                const int back = (w - 1) / 2 * kTwipsPerPixel;
                painter.fillRect(
                    QRectF(p.x1 - back, p.y1 - back, w * kTwipsPerPixel, w * kTwipsPerPixel),
                    ToQColor(p.color));
                break;
            }
            case ChartPrimitive::Kind::Text:
                PaintText(painter, p, outlines);
                break;
        }
    }
    if (wheel.highlight >= 0 && static_cast<size_t>(wheel.highlight) < wheel.items.size())
        PaintHighlight(painter, wheel.items[static_cast<size_t>(wheel.highlight)]);
    painter.restore();
}

}  // namespace

void PaintChart(QPainter& painter, const ChartWheel& wheel, bool glyphsAsOutlines) {
    PaintDrawing(painter, wheel, glyphsAsOutlines ? TextOutlines::Glyphs : TextOutlines::None);
}

QImage RenderChartPixels(const ChartWheel& wheel) {
    QImage image(std::max(1, wheel.WidthPixels()), std::max(1, wheel.HeightPixels()),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TwipsToDevice(painter, 1);
    PaintDrawing(painter, wheel, TextOutlines::All);
    painter.end();
    return image;
}

std::optional<Color> PixelColorAt(const ChartWheel& wheel, int xTwips, int yTwips) {
    if (xTwips < 0 || yTwips < 0) return std::nullopt;
    const int x = xTwips / kTwipsPerPixel;
    const int y = yTwips / kTwipsPerPixel;
    if (x >= wheel.WidthPixels() || y >= wheel.HeightPixels()) return std::nullopt;
    const QRgb c = RenderChartPixels(wheel).pixel(x, y);
    return Rgb(qRed(c), qGreen(c), qBlue(c));
}

QImage RenderChart(const ChartWheel& wheel, double scale) {
    const int w = static_cast<int>(std::lround(wheel.WidthPixels() * scale));
    const int h = static_cast<int>(std::lround(wheel.HeightPixels() * scale));
    QImage image(std::max(1, w), std::max(1, h), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TwipsToDevice(painter, scale);
    PaintChart(painter, wheel);
    painter.end();
    return image;
}

const GlyphInks& MeasuredGlyphInks() {
    static const GlyphInks inks = [] {
        InstallChartFonts();
        GlyphInks result;
        GlyphTables glyphs;
        FillGlyphTables(glyphs);
        const QFont font = ChartQFont(ChartFont::Glyph);
        const QFontMetricsF fm(font);
        for (Body b : AllBodies()) {
            ChartPrimitive p;
            p.kind = ChartPrimitive::Kind::Text;
            p.text = glyphs.PlanetGlyph[b];
            p.font = ChartFont::Glyph;
            p.color = kChartWhite;
            const QRectF box = TextBox(p, fm);
            GlyphInk& ink = result[b];
            ink.boxWidth = static_cast<int>(std::ceil(box.width()));
            ink.boxHeight = static_cast<int>(std::ceil(box.height()));
            // Room around the text box for ink outside the advance.
            constexpr int kMargin = 4;
            ink.left = ink.top = -kMargin;
            ink.width = ink.boxWidth / kTwipsPerPixel + 2 * kMargin;
            ink.height = ink.boxHeight / kTwipsPerPixel + 2 * kMargin;
            QImage image(ink.width, ink.height, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            TwipsToDevice(painter, 1);
            painter.translate(kMargin * kTwipsPerPixel, kMargin * kTwipsPerPixel);
            painter.setRenderHint(QPainter::TextAntialiasing, true);
            PaintText(painter, p, TextOutlines::None);
            painter.end();
            ink.ink.assign(static_cast<size_t>(ink.width * ink.height), 0);
            for (int y = 0; y < ink.height; ++y)
                for (int x = 0; x < ink.width; ++x)
                    ink.ink[static_cast<size_t>(y) * ink.width + x] =
                        qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
        return result;
    }();
    return inks;
}

Status WriteChartFile(const ChartWheel& wheel, const QString& path, double scale) {
    if (!(scale > 0) || scale > 16) return Fail("The scale must lie between 0 and 16.");
    // The image is made in memory and saved in one piece, as every file of
    // the user's is (a link stays a link, a failure leaves the old file).
    // The file that is replaced decides the format, not the name of a link
    // to it: a link "chart.png" to "notes.txt" must not turn the notes into
    // an image.
    const std::string named = QFile::encodeName(path).toStdString();
    const Result<std::string> target = SaveTarget(named);
    if (!target) return target.error();
    const QString suffix = QFileInfo(QFile::decodeName(target->c_str())).suffix();
    const bool svg = suffix.compare("svg", Qt::CaseInsensitive) == 0;
    if (!svg && suffix.compare("png", Qt::CaseInsensitive) != 0)
        return Fail("Cannot write " + named + ": " +
                    (*target == named ? std::string("the name")
                                      : "the file it links to, " + *target + ",") +
                    " does not end in .png or .svg");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        const QSize size(static_cast<int>(std::lround(wheel.WidthPixels() * scale)),
                         static_cast<int>(std::lround(wheel.HeightPixels() * scale)));
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle("VEK chart");
        QPainter painter;
        if (!painter.begin(&generator))
            return Fail(path.toStdString() + ": the SVG drawing could not be started.");
        TwipsToDevice(painter, scale);
        PaintChart(painter, wheel, true);
        painter.end();
    } else {
        QImageWriter writer(&buffer, "png");
        if (!writer.write(RenderChart(wheel, scale)))
            return Fail(path.toStdString() + ": " + writer.errorString().toStdString());
    }
    buffer.close();
    return WriteFileAtomically(named, std::string_view(bytes.constData(), bytes.size()));
}

}  // namespace vek::paint
