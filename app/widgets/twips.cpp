#include "widgets/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace kelvara {

namespace {
constexpr double kTwipsPerInch = 1440.0;

const QScreen* screen() { return QGuiApplication::primaryScreen(); }

double perPixel(double dpi) { return dpi > 0.0 ? kTwipsPerInch / dpi : 15.0; }

int toPixels(double twips, double perPx) {
    return static_cast<int>(std::lround(twips / perPx));
}
} // namespace

double TwipsPerPixelX() { return screen() ? perPixel(screen()->logicalDotsPerInchX()) : 15.0; }
double TwipsPerPixelY() { return screen() ? perPixel(screen()->logicalDotsPerInchY()) : 15.0; }

double ScreenWidthTwips() { return screen() ? screen()->size().width() * TwipsPerPixelX() : 0.0; }
double ScreenHeightTwips() { return screen() ? screen()->size().height() * TwipsPerPixelY() : 0.0; }

int TwipsToPixelsX(double twips) { return toPixels(twips, TwipsPerPixelX()); }
int TwipsToPixelsY(double twips) { return toPixels(twips, TwipsPerPixelY()); }
double PixelsToTwipsX(int pixels) { return pixels * TwipsPerPixelX(); }
double PixelsToTwipsY(int pixels) { return pixels * TwipsPerPixelY(); }

void PlaceTwips(QWidget* widget, double left, double top, double width, double height) {
    // Round the edges, not the sizes, so that neighbouring containers meet.
    const int x0 = TwipsToPixelsX(left);
    const int y0 = TwipsToPixelsY(top);
    const int x1 = TwipsToPixelsX(left + width);
    const int y1 = TwipsToPixelsY(top + height);
    widget->setGeometry(x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0));
}

double LeftTwips(const QWidget* widget) { return PixelsToTwipsX(widget->x()); }
double WidthTwips(const QWidget* widget) { return PixelsToTwipsX(widget->width()); }
double HeightTwips(const QWidget* widget) { return PixelsToTwipsY(widget->height()); }

} // namespace kelvara
