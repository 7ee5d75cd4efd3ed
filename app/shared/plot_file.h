#pragma once
// Saving the plotted curve as a two-column file and printing the plot.
//
// The plot file: the separator line "@" (quoted, as a list-write line), then
// one list-write line per point: the energy E0 + (i-1)*dE (i = 1..N, point 1
// at the array's first energy, as the plot draws it and the two-column writer
// writes it) and the value, unchanged.
#include <QString>

#include <string>

#include "platform/checked_array.h"

class QPagedPaintDevice;
class QPainter;

namespace kelvara {

class Plot;

// Filter of the save dialog: all files, then text files (the one to preselect).
QString PlotSaveFilter();
QString PlotSaveSelectedFilter();

// Writes the curve to `path` (an existing file is replaced). Sets the plot's
// PlotE0 and PlotDE from slots 2 and 3 first. The file is written beside the
// target and renamed over it at the end, so a failure (a path that cannot be
// created, a point count beyond the array) leaves any existing file as it was.
// Returns false on failure, without a message.
bool SavePlotFile(const QString& path, const SingleArray& spectrum, Plot& plot);

// Asks for a file name through the file-dialog service (opening in `folder`,
// e.g. the file browser's folder) and saves the curve there. Returns the path
// written, or an empty text when the dialog was cancelled or the file could
// not be written (nothing is written then, and the user is told with the
// path).
QString SavePlotThroughDialog(const SingleArray& spectrum, Plot& plot, const QString& folder = QString());

// A path longer than 30 characters shortened to its first 14 characters,
// "..." and its last 13; shorter paths unchanged.
QString ShortenedPath(const QString& path);

// What the printed page shows besides the curve.
struct PrintPlotPage {
    QString fileName;  // name of the selected file (shortened when long)
    float areaK = 0;   // area of K(T), printed as "Area = " & Format(area, "0.000")
    int copies = 1;    // copies asked for in the print dialog
    // 1: the program draws the page once for each copy; any other value: one
    // page, the copies left to the printer.
    int arrangement = 1;
    int fontPointSize = 10;
};

// Prints `spectrum` (the second spectrum) on the device with the y mapping
// of the plot's last drawing and its tick step: axes, the curve in black, x
// ticks with whole-number labels from the spectrum's first energy, eleven y
// labels in "Scientific" with their marks, the file name and the area line
// below the plot. Sets the plot's PlotN and FirstTick. Returns false (quietly)
// when anything fails; pages already drawn stay.
bool PrintPlot(QPagedPaintDevice& device, const SingleArray& spectrum, Plot& plot, const PrintPlotPage& page);
// Draws one printed page into a painter whose device is `width` x `height`
// pixels, with the plot state as it stands. Raises on a run-time error (the
// page then holds what was drawn so far).
void PaintPrintPage(QPainter& painter, double width, double height, const SingleArray& spectrum,
                    const Plot& plot, const PrintPlotPage& page);

} // namespace kelvara
