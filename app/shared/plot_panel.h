#pragma once
// A window's plot panel: the picture box with its two energy-range marker
// lines, the plot title box and the areas box inside it, the status bar
// along its bottom whose first panel shows the cursor read-out, and the
// window's plot state. Moving the pointer over the box shows the read-out
// and drags a held marker line; pressing a button picks up the nearer line
// (shared/plot_readout.h). Each window builds one, under its own names.
#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>

#include <initializer_list>

#include "shared/plot.h"

class QLabel;
class QStatusBar;

namespace kelvara {

class InfoBox;
class PictureBox;

class PlotPanel : public QObject {
    Q_OBJECT
public:
    // The object names of the panel's controls in one window.
    struct Names {
        QString box;         // the picture box
        QString title;       // the plot title box
        QString areas;       // the areas box
        QString statusBar;   // the status bar
        QString statusPanel; // its read-out panel
    };

    // Builds the picture box (white background, line width 2) on `window`,
    // with its marker lines, its two boxes and its status bar, and connects
    // the pointer handlers.
    PlotPanel(QWidget* window, const Names& names);

    // Places the picture box at its window's left edge, `width` pixels wide,
    // from `top` down to `bottom` (pixels in the window). A panel of
    // `panels` (the frames over the window's upper part, which grow with
    // their controls on a low screen) may reach over the box's top margin but
    // never into the plot area: where one reaches lower, the box starts
    // further down. The box keeps at least a fifth of the room it was given.
    void PlaceBelow(int top, int width, int bottom, std::initializer_list<const QWidget*> panels);

    // The View menu on this plot; each draws the curves shown again at once.
    // Pen width + 1, and - 1 (never below 1).
    void IncreasePen();
    void DecreasePen();
    // "&LargePlot": at least the large size in twips and larger than the
    // default plot, down to the bottom of what the program's frame shows.
    void LargeSize();
    // "&SmallPlot": the small size in twips, at the box's place.
    void SmallSize();
    // "&DefaultPlot": back at the place PlaceBelow gave the box.
    void DefaultSize();
    // The size of the large plot for a default plot `startUp`, a box `top`
    // pixels below the window's top and a window `screenHeight` pixels high.
    static QSize LargePlotSize(const QSize& startUp, int top, int screenHeight);

    // SetTextColumn below `cover` (a frame of the same window over the top
    // of the box, or null for none), so that it hides no line of the boxes.
    void SetTextColumnBelow(const QWidget* cover);

    // Puts the title and areas boxes in a column along the right edge of the
    // picture box, in a strip that the plot's scale leaves out, so that no
    // curve is ever drawn under them; the column starts `top` pixels below
    // the box's top. The strip is about a quarter of the box's width. The
    // title box lies on top, the areas box below it (at the top when the
    // title is hidden), each as high as its text needs at the column's width,
    // together at most down to the status bar. They follow every change of
    // their texts, of the title's visibility and of the box's size.
    void SetTextColumn(int top);
    void FitTextBoxes();
    // The width of the strip for a picture box `boxWidth` pixels wide.
    static int TextColumnWidth(int boxWidth);

    PictureBox* box = nullptr;
    InfoBox* title = nullptr;
    InfoBox* areas = nullptr;
    QStatusBar* statusBar = nullptr;
    QLabel* statusPanel = nullptr;
    kelvara::Plot plot; // the window's plot state; its marker lines are the box's

private:
    int columnTop_ = -1; // -1: the boxes keep the places they are given
    QRect defaultPlace_;
    void Redraw();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void MouseDown(int Button, int Shift, double X, double Y);
    void MouseMove(int Button, int Shift, double X, double Y);
};

} // namespace kelvara
