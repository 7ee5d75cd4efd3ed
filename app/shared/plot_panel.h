#pragma once
// A window's plot panel: the picture box with its two energy-range marker
// lines, the plot title box and the areas box inside it, the status bar
// along its bottom whose first panel shows the cursor read-out, and the
// window's plot state. Moving the pointer over the box shows the read-out
// and drags a held marker line; pressing a button picks up the nearer line
// (shared/plot_readout.h). Each window builds one, under its own names.
#include <QObject>
#include <QRect>
#include <QString>

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

    // The places the window's layout gives the title and areas boxes. From
    // then on each box is sized to its text whenever the text changes: it
    // keeps its top and its right edge and grows to the left and down (to at
    // most half the plot's width and height), never smaller than its place;
    // the areas box moves below the title box when they would overlap.
    void SetTextBoxPlaces(const QRect& titlePlace, const QRect& areasPlace);
    void FitTextBoxes();

    PictureBox* box = nullptr;
    InfoBox* title = nullptr;
    InfoBox* areas = nullptr;
    QStatusBar* statusBar = nullptr;
    QLabel* statusPanel = nullptr;
    kelvara::Plot plot; // the window's plot state; its marker lines are the box's

private:
    QRect titlePlace_;
    QRect areasPlace_;
    void MouseDown(int Button, int Shift, double X, double Y);
    void MouseMove(int Button, int Shift, double X, double Y);
};

} // namespace kelvara
