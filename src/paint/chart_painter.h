// Paints the chart wheel's drawing model with QPainter onto any paint
// device: the window's chart view, a PNG image or an SVG file. Needs only
// QtGui (and QtSvg for SVG files), so that vek-cli can write chart images
// without a window.
#pragma once

#include <QImage>
#include <QString>
#include <optional>
#include <string>

#include "display/chart_wheel.h"
#include "util/result.h"

class QFont;
class QPainter;

namespace vek::paint {

// Registers the glyph font "Starfont Sans" and the substitutes for "Arial".
// Returns an error description, empty on success. Safe to call repeatedly.
QString InstallChartFonts();

// The font of a chart text, sized in twips for a painter whose coordinates
// are twips.
QFont ChartQFont(ChartFont f, bool underline = false);

// Paints the whole drawing. The painter's coordinates must be twips (see
// TwipsToDevice); the background fills the picture box. With
// glyphsAsOutlines the glyph font's texts are painted as outlines (files
// that may be viewed where the font is missing).
void PaintChart(QPainter& painter, const ChartWheel& wheel, bool glyphsAsOutlines = false);

// Scales the painter from twips to device pixels: `scale` device pixels for
// every 15 twips (1 is the drawing's own resolution).
void TwipsToDevice(QPainter& painter, double scale);

// The drawing as an image of scale × its size in pixels.
QImage RenderChart(const ChartWheel& wheel, double scale);

// The drawing's own pixels, one for every 15 twips, each in the exact colour
// of what was painted there last: no smoothing, every text filled as its
// outline. What a click on the drawing reads.
QImage RenderChartPixels(const ChartWheel& wheel);

// The colour of the drawing's pixel at a point given in twips; none outside
// the drawing.
std::optional<Color> PixelColorAt(const ChartWheel& wheel, int xTwips, int yTwips);

// The ink of every body glyph at 15 twips a pixel, as the painter leaves
// it, and the glyph's text box; what glyph placement reads.
const GlyphInks& MeasuredGlyphInks();

// Writes the drawing to `path`: SVG when the file it names (SaveTarget: a
// link's target) ends in ".svg" (any case), PNG when it ends in ".png", any
// other name refused; `scale` pixels per drawing pixel. The image is made in
// memory and saved with WriteFileAtomically: under a temporary name in the
// target's folder, renamed over the target only when complete, so a failure
// leaves any earlier file as it was; a symbolic link stays a link.
Status WriteChartFile(const ChartWheel& wheel, const QString& path, double scale);

}  // namespace vek::paint
