#include "shared/plot_readout.h"

#include <cmath>

#include "platform/numbers.h"
#include "platform/rounding.h"
#include "shared/plot.h"
#include "widgets/picturebox.h"
#include "widgets/twips.h"

namespace kelvara {

// --- read-out -------------------------------------------------------------------

PlotPoint PointerValue(const Plot& plot, double X, double Y) {
    const float x = CSng(static_cast<double>(plot.PlotXRange) / 100.0 * X + plot.PlotE0);
    const double y = plot.PlotYRange / 100.0 * Y + plot.PlotYMin;
    return {x, y};
}

const char* ReadoutYFormat(double y) {
    const double a = std::fabs(y);
    return (a >= 0.1 && a <= 1000.0) ? "##.###" : "Scientific";
}

std::string ReadoutText(float x, double y) {
    return "x: " + Format(x, "#.#0") + ", y: " + Format(y, ReadoutYFormat(y));
}

std::string PlotReadout(const Plot& plot, double X, double Y) {
    const PlotPoint p = PointerValue(plot, X, Y);
    return ReadoutText(p.x, p.y);
}

// --- marker lines ----------------------------------------------------------------

bool NearMarker(double X, double lineX1) {
    return lineX1 - kMarkerGrip < X && X < lineX1 + kMarkerGrip;
}

void MarkerMouseDown(Plot& plot, PictureBox& box, double X) {
    PictureLine* l1 = plot.LinEnergy1;
    PictureLine* l2 = plot.LinEnergy2;
    if (!plot.RangeMode || !l1 || !l2 || !l1->isVisible()) return;
    if (NearMarker(X, l1->X1())) {
        plot.DragLine = 1;
        box.setMousePointer(PictureBox::PointerSizeWE);
        plot.Dragging = true;
    } else if (NearMarker(X, l2->X1())) {
        plot.DragLine = 2;
        box.setMousePointer(PictureBox::PointerSizeWE);
        plot.Dragging = true;
    } else {
        box.setMousePointer(PictureBox::PointerDefault);
        plot.Dragging = false;
    }
}

void MarkerMouseMove(Plot& plot, PictureBox& box, int Button, double X) {
    PictureLine* l1 = plot.LinEnergy1;
    PictureLine* l2 = plot.LinEnergy2;
    if (plot.RangeMode && l1 && l2) {
        if (Button == 0 && (NearMarker(X, l1->X1()) || NearMarker(X, l2->X1())))
            box.setMousePointer(PictureBox::PointerSizeWE);
        else
            box.setMousePointer(PictureBox::PointerDefault);

        if (Button == 1 && plot.Dragging) {
            if (plot.DragLine == 1) {
                l1->setX1(X < 0 ? 0 : X);
                l1->setX2(X < 0 ? 0 : X);
                if (l1->X1() > l2->X1()) l2->setX1(l1->X1() + 1);
                if (l1->X2() > l2->X2()) l2->setX2(l1->X2() + 1);
            } else if (plot.DragLine == 2) {
                l2->setX1(X < 0 ? 0 : X);
                l2->setX2(X < 0 ? 0 : X);
                if (l2->X1() < l1->X1()) l1->setX1(l2->X1() - 1);
                if (l2->X2() < l1->X2()) l1->setX2(l2->X2() - 1);
            }
        }
    }
    UpdateRangeFromMarkers(plot);
}

void UpdateRangeFromMarkers(Plot& plot) {
    if (!plot.LinEnergy1 || !plot.LinEnergy2) return;
    plot.RangeStart = CSng(static_cast<double>(plot.PlotXRange) / 100.0 * plot.LinEnergy1->X1() + plot.PlotE0);
    plot.RangeWidth = CSng(static_cast<double>(plot.PlotXRange) / 100.0 * plot.LinEnergy2->X1());
}

void PlaceRangeMarkers(Plot& plot) {
    plot.RangeMode = true;
    plot.DragLine = 1;
    if (plot.LinEnergy1) {
        plot.LinEnergy1->setPosition(0, 100, 0, 0);
        plot.LinEnergy1->setVisible(true);
    }
    if (plot.LinEnergy2) {
        plot.LinEnergy2->setPosition(70, 100, 70, 0);
        plot.LinEnergy2->setVisible(true);
    }
}

// --- Es step control -----------------------------------------------------------

void StepDown(const std::string& esText, const std::string& stepText,
              const std::function<void(const std::string&)>& write) {
    const float step = ToSingle(stepText);
    const float v = ToSingle(esText);
    const std::string lowered = GeneralText(CSng(static_cast<double>(v) - step));
    write(lowered);
    if (ToDouble(lowered) < 0.1) write(kMinimumEsText);
}

void StepUp(const std::string& esText, const std::string& stepText,
            const std::function<void(const std::string&)>& write) {
    const float step = ToSingle(stepText);
    const float v = ToSingle(esText);
    write(GeneralText(CSng(static_cast<double>(v) + step)));
}

// --- View menu --------------------------------------------------------------------

int IncreasedDrawWidth(int width) { return width + 1; }

int DecreasedDrawWidth(int width) { return (width < 2 ? 2 : width) - 1; }

void IncreaseDrawWidth(PictureBox& box) { box.setDrawWidth(IncreasedDrawWidth(box.drawWidth())); }

void DecreaseDrawWidth(PictureBox& box) { box.setDrawWidth(DecreasedDrawWidth(box.drawWidth())); }

void SetPlotSizeTwips(PictureBox& box, double widthTwips, double heightTwips) {
    box.resize(TwipsToPixelsX(widthTwips), TwipsToPixelsY(heightTwips));
}

} // namespace kelvara
