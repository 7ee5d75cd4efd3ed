#pragma once
// What the user does with a plot besides producing a curve: the cursor
// read-out, dragging the two energy-range marker lines, the Es step control
// of the spectrum-joining parameters and the pen width of the View menu.
// These work on a window's Plot and picture box; the window connects its
// controls to them.
#include <functional>
#include <string>

namespace kelvara {

class Plot;
class PictureBox;

// --- read-out -----------------------------------------------------------------

// The data point under the pointer (X, Y in the box's user scale), mapped with
// the last drawing's state: x as a 32-bit float, y in 64 bits.
struct PlotPoint {
    float x;
    double y;
};
PlotPoint PointerValue(const Plot& plot, double X, double Y);
// The format of the y value: "##.###" for 0.1 <= |y| <= 1000, "Scientific"
// below and above.
const char* ReadoutYFormat(double y);
// "x: " & Format(x, "#.#0") & ", y: " & Format(y, f).
std::string ReadoutText(float x, double y);
// The text for the status bar when the pointer is at (X, Y).
std::string PlotReadout(const Plot& plot, double X, double Y);

// --- energy-range marker lines ----------------------------------------------

// Half-width (user units) of the zone around a marker line in which the
// pointer picks it up.
constexpr double kMarkerGrip = 0.5;
// True when X lies strictly within kMarkerGrip of X1.
bool NearMarker(double X, double lineX1);

// Mouse down on the picture box: while range mode is on and the first marker
// is visible, picks up the marker near the pointer (DragLine, Dragging) and
// sets the box's pointer (the west-east arrow over a marker, else default).
// The button is not examined. Needs both marker lines of the plot.
void MarkerMouseDown(Plot& plot, PictureBox& box, double X);
// Mouse move, after the read-out: while range mode is on, the pointer
// feedback and, with the left button alone held and a marker picked up,
// moves that marker (never below 0; the other marker is pushed to stay one
// unit apart on its side). Then, in every mode, RangeStart and RangeWidth are
// updated from the marker positions.
void MarkerMouseMove(Plot& plot, PictureBox& box, int Button, double X);
// RangeStart = PlotXRange/100 * marker1.X1 + PlotE0 and RangeWidth =
// PlotXRange/100 * marker2.X1 (no change without marker lines).
void UpdateRangeFromMarkers(Plot& plot);
// Puts the plot into range mode: DragLine 1, the first marker at x = 0 and
// the second at x = 70, each from y = 100 down to 0, both visible.
void PlaceRangeMarkers(Plot& plot);

// --- Es step control ------------------------------------------------------------

// Down: Es - step written as text; then, when that text's number is below
// 0.1, "0.1". Up: Es + step, no upper limit. Each text written goes through
// `write` in order (a box's change handler runs for each write). A text that
// is not a number raises TypeMismatch before anything is written.
void StepDown(const std::string& esText, const std::string& stepText,
              const std::function<void(const std::string&)>& write);
void StepUp(const std::string& esText, const std::string& stepText,
            const std::function<void(const std::string&)>& write);
// The smallest Es the down step leaves.
constexpr const char* kMinimumEsText = "0.1";

// --- View menu: pen width and plot size -------------------------------------

int IncreasedDrawWidth(int width);        // width + 1
int DecreasedDrawWidth(int width);        // at least 2, then - 1: never below 1
void IncreaseDrawWidth(PictureBox& box);  // "&Increase"
void DecreaseDrawWidth(PictureBox& box);  // "&Decrease"

// Plot sizes of "&LargePlot" and "&SmallPlot", in twips.
constexpr double kLargePlotWidthTwips = 12000;
constexpr double kLargePlotHeightTwips = 7000;
constexpr double kSmallPlotWidthTwips = 8000;
constexpr double kSmallPlotHeightTwips = 3900;
// Resizes the box (keeping its position) to a size given in twips.
void SetPlotSizeTwips(PictureBox& box, double widthTwips, double heightTwips);

} // namespace kelvara
