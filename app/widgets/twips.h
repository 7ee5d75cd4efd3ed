#pragma once
// Twips: the program measures screen and layout sizes in twips, 1440 to the
// logical inch, which is 15 twips a pixel at 96 dpi. The factor is taken from
// the logical DPI of the primary screen.
#include <QRect>

class QWidget;

namespace kelvara {

double TwipsPerPixelX();
double TwipsPerPixelY();

// Size of the primary screen in twips.
double ScreenWidthTwips();
double ScreenHeightTwips();

// Conversions, rounded to the nearest pixel.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
double PixelsToTwipsX(int pixels);
double PixelsToTwipsY(int pixels);

// Places a widget at a rectangle given in twips (relative to its parent).
void PlaceTwips(QWidget* widget, double left, double top, double width, double height);
// Geometry pieces in twips.
double LeftTwips(const QWidget* widget);
double WidthTwips(const QWidget* widget);
double HeightTwips(const QWidget* widget);

} // namespace kelvara
