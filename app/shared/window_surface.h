#pragma once
// What a calculating window gives the parts that every window uses: its plot
// (picture box and plot state), its plot title box and areas box, its file
// browser and its loss-function plot. The main form and the photoemission
// window each implement this once; the calculation driver, the page base, the
// model read buttons and the result-file saving work on it alone, so neither
// window depends on the other.
#include <QString>
#include <cstdint>

#include "platform/checked_array.h"

class QWidget;

namespace kelvara {

class InfoBox;
class PictureBox;
class Plot;

class WindowSurface {
public:
    virtual ~WindowSurface() = default;

    // The window's picture box and its plot state (read-out, savers, printout).
    virtual PictureBox& plotBox() = 0;
    virtual kelvara::Plot& plotState() = 0;
    // The plot title box (several lines) and the areas box inside the plot.
    virtual InfoBox& titleBox() = 0;
    virtual InfoBox& areasBox() = 0;
    // The window's file browser: its folder, the selected file's name (empty
    // when none) and a refresh of its file list.
    virtual QString browserFolder() const = 0;
    virtual QString browserFileName() const = 0;
    virtual void refreshBrowser() = 0;
    // Clears the plot (the picture box's Cls and what the window does then).
    virtual void ClearPlot() = 0;
    // The loss-function plot of the program-wide model on the window's own
    // grid, run after a model file was read. Raises on a failure.
    virtual void PlotLossFunction() = 0;

    // Draws a spectrum array in palette colour `color` with the program-wide
    // AutoScale flag and tick table (overlays unless ClearPlot ran first).
    void Plot(const SingleArray& spectrum, int32_t color);
};

} // namespace kelvara
