// Window positions and sizes are designed in twips (1/1440 inch). This is the
// one place that turns them into Qt's device-independent pixels: 15 twips make
// one pixel on a 96 dpi screen, and a screen with another logical resolution
// scales the whole design with it. Qt multiplies device-independent pixels by
// the device pixel ratio itself, so high-dpi screens (QT_SCALE_FACTOR=2, a
// 2× display) keep the same proportions at twice the sharpness.
#pragma once

class QWidget;
class QRect;

namespace vek::gui {

class Twips {
  public:
    // The logical dots per inch that the conversion uses. Set from the
    // primary screen when the application starts; 96 until then.
    static void SetLogicalDpi(double dpi);
    static void UseScreenDpi();
    static double LogicalDpi();

    static int ToPixels(int twips);
    // Device-independent pixels per twip, for painters that draw in twips.
    static double PixelsPerTwip();
    static int FromPixels(int pixels);

    // Places a widget with a geometry given in twips.
    static void Place(QWidget* w, int left, int top, int width, int height);
    static void Move(QWidget* w, int left, int top);
    static void Resize(QWidget* w, int width, int height);

    // The widget's geometry read back in twips.
    static int Left(const QWidget* w);
    static int Top(const QWidget* w);
    static int Width(const QWidget* w);
    static int Height(const QWidget* w);

  private:
    static double dpi_;
};

}  // namespace vek::gui
