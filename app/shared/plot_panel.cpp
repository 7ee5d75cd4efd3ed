#include "shared/plot_panel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QRect>
#include <QScrollBar>

#include <QStatusBar>
#include <algorithm>

#include "shared/plot_readout.h"
#include "shared/program_shell.h"
#include "state/module1.h"
#include "widgets/controls.h"
#include "widgets/guard.h"
#include "widgets/picturebox.h"
#include "widgets/twips.h"

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
// Room between the column's boxes and the edges around them.
constexpr int kColumnGap = 6;

// The height a box `width` pixels wide needs to show `text` whole (lines
// wrapped at words, as the box wraps them).
int NeededHeight(const InfoBox& box, const QString& text, int width) {
    const QFontMetrics fm(box.font());
    // Frame, document margins and the vertical scroll bar.
    const int chrome = 2 * box.frameWidth() + 2 * 4 + 2;
    const int room = std::max(1, width - chrome - box.verticalScrollBar()->sizeHint().width());
    int height = 0;
    for (const QString& line : QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split('\n'))
        height += line.isEmpty() ? fm.lineSpacing()
                                 : fm.boundingRect(QRect(0, 0, room, 1 << 20), Qt::TextWordWrap, line).height();
    return height + chrome;
}
} // namespace

int PlotPanel::TextColumnWidth(int boxWidth) { return std::clamp(boxWidth / 4, std::min(250, boxWidth * 2 / 5), 420); }

void PlotPanel::PlaceBelow(int top, int width, int bottom, std::initializer_list<const QWidget*> panels) {
    const int least = std::max(1, (bottom - top) / 5);
    // The margin shrinks with the box: a few rounds settle the top.
    int y = top;
    for (int round = 0; round < 4; ++round) {
        const int height = std::max(least, bottom - y);
        // Two pixels of the margin stay clear for the pen of a curve at the top.
        const int overlap = std::max(0, static_cast<int>(Plot::TopMarginPixels(height, box->bottomReserve())) - 2);
        int next = top;
        for (const QWidget* panel : panels) next = std::max(next, panel->geometry().bottom() + 1 - overlap);
        if (next == y) break;
        y = next;
    }
    box->setGeometry(0, y, width, std::max(least, bottom - y));
    defaultPlace_ = box->geometry();
}

void PlotPanel::Redraw() {
    FitTextBoxes();
    plot.redraw(*box, Module1::StepTable);
}

void PlotPanel::IncreasePen() {
    IncreaseDrawWidth(*box);
    Redraw();
}

void PlotPanel::DecreasePen() {
    DecreaseDrawWidth(*box);
    Redraw();
}

QSize PlotPanel::LargePlotSize(const QSize& startUp, int top, int screenHeight) {
    const int margin = static_cast<int>(0.02 * screenHeight);
    const int width = std::max(TwipsToPixelsX(kLargePlotWidthTwips), startUp.width());
    int height = std::max(TwipsToPixelsY(kLargePlotHeightTwips), screenHeight - top - margin);
    // Always larger than the default plot.
    height = std::max(height, startUp.height() + TwipsToPixelsY(1000));
    return {width, height};
}

void PlotPanel::LargeSize() {
    const QWidget* window = box->parentWidget();
    const int shown =
        ShellExists() ? Shell().visibleClientSize().height() - window->y() : TwipsToPixelsY(ScreenHeightTwips());
    const QSize startUp = defaultPlace_.isValid() ? defaultPlace_.size() : box->size();
    box->resize(LargePlotSize(startUp, box->y(), shown));
    statusPanel->setVisible(true);
    Redraw();
}

void PlotPanel::SmallSize() {
    SetPlotSizeTwips(*box, kSmallPlotWidthTwips, kSmallPlotHeightTwips);
    Redraw();
}

void PlotPanel::DefaultSize() {
    if (defaultPlace_.isValid()) box->setGeometry(defaultPlace_);
    statusPanel->setVisible(true);
    Redraw();
}

void PlotPanel::SetTextColumnBelow(const QWidget* cover) {
    SetTextColumn(cover ? cover->geometry().bottom() + 1 - box->y() : 0);
}

void PlotPanel::SetTextColumn(int top) {
    if (columnTop_ < 0) {
        connect(title, &QPlainTextEdit::textChanged, this, [this] { FitTextBoxes(); });
        connect(areas, &QPlainTextEdit::textChanged, this, [this] { FitTextBoxes(); });
        box->installEventFilter(this);
        title->installEventFilter(this);
        areas->installEventFilter(this);
    }
    columnTop_ = std::max(0, top);
    FitTextBoxes();
}

bool PlotPanel::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    const bool shownOrHidden = t == QEvent::ShowToParent || t == QEvent::HideToParent;
    if ((watched == box && t == QEvent::Resize) || ((watched == title || watched == areas) && shownOrHidden))
        FitTextBoxes();
    return false;
}

void PlotPanel::FitTextBoxes() {
    if (columnTop_ < 0) return;
    const int strip = TextColumnWidth(box->width());
    box->setRightReserve(strip);
    const int left = box->width() - strip + kColumnGap;
    const int width = std::max(1, strip - 2 * kColumnGap);
    const int bottom = box->height() - box->bottomReserve() - kColumnGap;
    const int minimum = 3 * QFontMetrics(areas->font()).lineSpacing();
    int top = columnTop_ + kColumnGap;
    const bool areasShown = !areas->isHidden() && !areas->text().isEmpty();
    const int titleRoom = std::max(minimum, bottom - top - (areasShown ? minimum + kColumnGap : 0));
    title->setGeometry(left, top, width, std::min(NeededHeight(*title, title->text(), width), titleRoom));
    if (!title->isHidden()) top += title->height() + kColumnGap;
    const int height = std::min(NeededHeight(*areas, areas->text(), width), std::max(minimum, bottom - top));
    areas->setGeometry(left, top, width, height);
}

void PlotPanel::MouseDown(int /*Button*/, int /*Shift*/, double X, double /*Y*/) { MarkerMouseDown(plot, *box, X); }

void PlotPanel::MouseMove(int Button, int /*Shift*/, double X, double Y) {
    statusPanel->setText(QString::fromStdString(PlotReadout(plot, X, Y)));
    MarkerMouseMove(plot, *box, Button, X);
}

} // namespace kelvara
