#include "shared/plot_panel.h"

#include <QEvent>
#include <QLabel>
#include <QStatusBar>

#include "shared/plot_readout.h"
#include "widgets/controls.h"
#include "widgets/guard.h"
#include "widgets/picturebox.h"

namespace kelvara {

namespace {

constexpr int kStatusBarHeight = 20;

// Keeps the status bar along the bottom edge of the picture box whenever the
// box changes its size (start-up layout, the View menu's plot sizes).
class StatusBarPlacer : public QObject {
public:
    StatusBarPlacer(QWidget* box, QStatusBar* bar) : QObject(box), bar_(bar) {
        box->installEventFilter(this);
        place(box);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) place(static_cast<QWidget*>(watched));
        return false;
    }

private:
    void place(const QWidget* box) {
        bar_->setGeometry(0, box->height() - kStatusBarHeight, box->width(), kStatusBarHeight);
    }
    QStatusBar* bar_;
};

} // namespace

PlotPanel::PlotPanel(QWidget* window, const Names& names) : QObject(window) {
    box = new PictureBox(window);
    box->setObjectName(names.box);
    box->setBackColor(RGB(255, 255, 255));
    box->setDrawWidth(2);
    plot.LinEnergy1 = box->addLine();
    plot.LinEnergy2 = box->addLine();
    title = MakeNamed<InfoBox>(box, names.title);
    areas = MakeNamed<InfoBox>(box, names.areas);

    statusBar = MakeNamed<QStatusBar>(box, names.statusBar);
    statusBar->setSizeGripEnabled(false);
    statusPanel = MakeNamed<QLabel>(statusBar, names.statusPanel);
    statusPanel->setMinimumWidth(280);
    statusBar->addWidget(statusPanel);
    new StatusBarPlacer(box, statusBar);
    // The plot is drawn above the status bar, so that the read-out never
    // covers the x labels.
    box->setBottomReserve(kStatusBarHeight);

    connectGuarded(box, &PictureBox::mouseDown, this,
                   [this](int b, int s, double x, double y) { MouseDown(b, s, x, y); });
    connectGuarded(box, &PictureBox::mouseMove, this,
                   [this](int b, int s, double x, double y) { MouseMove(b, s, x, y); });
}

void PlotPanel::MouseDown(int /*Button*/, int /*Shift*/, double X, double /*Y*/) { MarkerMouseDown(plot, *box, X); }

void PlotPanel::MouseMove(int Button, int /*Shift*/, double X, double Y) {
    statusPanel->setText(QString::fromStdString(PlotReadout(plot, X, Y)));
    MarkerMouseMove(plot, *box, Button, X);
}

} // namespace kelvara
