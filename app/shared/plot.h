#pragma once
// The plot component: draws one spectrum array as a line graph into a
// window's picture box - axes, the zero line, the curve in a palette colour,
// x ticks with whole-number labels and eleven y labels in scientific form.
// Each window owns one Plot (the main window's `Plot`, the photoemission
// window's `Plot_xps`); the object keeps that window's plot state between
// drawings, which the cursor read-out, the savers and the printout use.
//
// Plot does not clear the box: callers Cls it first for a fresh graph, and a
// second call without clearing overlays another curve (with AutoScale off on
// the y range of the first).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/checked_array.h"

namespace kelvara {

class PictureBox;
class PictureLine;

// The program-wide inputs of every plot: the AutoScale flag (non-zero: the
// plot takes its y range from the curve; zero: it keeps the range of the
// previous drawing) and the table of x tick steps (elements 0 to 6).
struct PlotShared {
    const int16_t& AutoScale;
    const IntegerArray& StepTable;
};

class Plot {
public:
    // --- window state (all zero / off when the window is created) ---------
    int16_t PlotN = 0;       // number of points drawn
    float PlotE0 = 0.0f;     // energy at the left end of the x axis
    float PlotDE = 0.0f;     // energy step of the spectrum
    float PlotXRange = 0.0f; // energy width of the x axis
    double PlotYMin = 0.0;   // y value at the bottom of the plot area
    double PlotYMax = 0.0;   // y value at the top of the plot area
    double PlotYRange = 0.0; // PlotYMax - PlotYMin
    bool RangeMode = false;  // the x axis is set by the two marker lines
    float RangeStart = 0.0f; // energy start of the axis in range mode
    float RangeWidth = 0.0f; // energy width of the axis in range mode
    bool YmaxMode = false;   // fixed upper y bound on
    float YmaxValue = 0.0f;  // the fixed upper y bound
    float TickStep = 0.0f;   // x tick step of the last drawing (0: none chosen yet)
    double TickDev = 0.0;    // distance of the best step candidate
    float FirstTick = 0.0f;  // value of the first x tick
    int DragLine = 0;        // marker line held by the pointer (1 or 2)
    bool Dragging = false;   // a marker line is held

    // The window's two energy-range marker lines (inside its picture box);
    // hidden by every drawing in range mode. May stay null.
    PictureLine* LinEnergy1 = nullptr;
    PictureLine* LinEnergy2 = nullptr;

    // Draws `spectrum` (slot 1 point count, slot 2 first energy, slot 3 step,
    // values from slot 4) in palette colour `CurveColor` (0..15). Never
    // throws: a run-time error ends the drawing quietly, keeping everything
    // drawn and every state value assigned so far.
    void draw(PictureBox& box, const SingleArray& spectrum, int32_t CurveColor, const PlotShared& shared);

    // Draws again, on a cleared box, every curve drawn into `box` since it
    // was last cleared, each as it was drawn (its colour, its AutoScale flag,
    // the y range it found): the picture after a change of the box's size or
    // pen width. Returns false, leaving the box alone, when no curve was
    // drawn since the last Cls.
    bool redraw(PictureBox& box, const IntegerArray& stepTable);

    // The margin above the plot area, in pixels, of a box `height` pixels
    // high whose lowest `bottomReserve` pixels are left out (the scale that
    // every drawing sets): what may lie over the box's top edge without
    // covering the plot area.
    static double TopMarginPixels(int height, int bottomReserve);

    // The tick step for an axis of the given width: the table entry nearest
    // to a eleventh of the width, the earlier (larger) of two equally near;
    // keeps `TickStep` when no entry is nearer than the table's first entry.
    // Updates TickStep and TickDev.
    void chooseTickStep(const IntegerArray& stepTable);
    // The first x tick for the current PlotE0, PlotXRange and TickStep (the
    // decimal rules of the tick table; when they give no tick on the axis,
    // the first multiple of the step at or above the axis start). Updates
    // FirstTick; leaves it when TickStep is not a table step.
    void chooseFirstTick();

private:
    // A curve as it was drawn since the box's last Cls.
    struct DrawnCurve {
        SingleArray spectrum;
        int32_t color;
        int16_t autoScale;
        double yMin, yMax, yRange; // the y range before the drawing
    };
    std::vector<DrawnCurve> drawn_;
    const PictureBox* drawnBox_ = nullptr;
    long long drawnClear_ = -1;
    void drawCurve(PictureBox& box, const SingleArray& spectrum, int32_t CurveColor, const PlotShared& shared);
};

// The text forms the first-tick rules work on: T(v) the general text of a
// float, S(v) the same with a leading sign position (a blank for values of 0
// and above) and without the zero before the point of a value below 1.
std::string TickText(float value);
std::string SignedTickText(float value);

} // namespace kelvara
