#include "shared/plot_panel.h"

#include <QEvent>
#include <QLabel>
#include <QScrollBar>

#include <algorithm>
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

namespace {
// The size a box needs to show `text` whole: at least `place`'s size, at most
// `limit`; lines wrap at the width found.
QSize FittedSize(const InfoBox& box, const QString& text, const QSize& place, const QSize& limit) {
    const QFontMetrics fm(box.font());
    // Frame, document margins and the vertical scroll bar.
    const int chrome = 2 * box.frameWidth() + 2 * 4 + 2 + box.verticalScrollBar()->sizeHint().width();
    const QStringList lines = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split('\n');
    int natural = 0;
    for (const QString& line : lines) natural = std::max(natural, fm.horizontalAdvance(line));
    const int width = std::clamp(natural + chrome, place.width(), std::max(place.width(), limit.width()));
    const int room = std::max(1, width - chrome);
    int rows = 0;
    for (const QString& line : lines) rows += std::max(1, (fm.horizontalAdvance(line) + room - 1) / room);
    const int height = std::clamp(rows * fm.lineSpacing() + 2 * box.frameWidth() + 2 * 4 + 2, place.height(),
                                  std::max(place.height(), limit.height()));
    return {width, height};
}
} // namespace

void PlotPanel::SetTextBoxPlaces(const QRect& titlePlace, const QRect& areasPlace) {
    const bool first = titlePlace_.isNull();
    titlePlace_ = titlePlace;
    areasPlace_ = areasPlace;
    if (first) {
        connect(title, &QPlainTextEdit::textChanged, this, [this] { FitTextBoxes(); });
        connect(areas, &QPlainTextEdit::textChanged, this, [this] { FitTextBoxes(); });
    }
    FitTextBoxes();
}

void PlotPanel::FitTextBoxes() {
    if (titlePlace_.isNull()) return;
    const QSize limit(box->width() / 2, box->height() / 2);
    const QSize t = FittedSize(*title, title->text(), titlePlace_.size(), limit);
    title->setGeometry(titlePlace_.right() + 1 - t.width(), titlePlace_.top(), t.width(), t.height());
    const QSize a = FittedSize(*areas, areas->text(), areasPlace_.size(), limit);
    const int top = std::max(areasPlace_.top(), title->geometry().bottom() + 6);
    areas->setGeometry(areasPlace_.right() + 1 - a.width(), top, a.width(), a.height());
}

void PlotPanel::MouseDown(int /*Button*/, int /*Shift*/, double X, double /*Y*/) { MarkerMouseDown(plot, *box, X); }

void PlotPanel::MouseMove(int Button, int /*Shift*/, double X, double Y) {
    statusPanel->setText(QString::fromStdString(PlotReadout(plot, X, Y)));
    MarkerMouseMove(plot, *box, Button, X);
}

} // namespace kelvara
