#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRect>
#include <QScrollArea>
#include <QScrollBar>

#include "main/formabout.h"
#include "main/forms.h"
#include "main/frmsmooth.h"
#include "photoemission/formxps.h"
#include "program_fixture.h"
#include "widgets/picturebox.h"
#include "widgets/twips.h"

using namespace kelvara;

namespace {
const QString kWarning = "Screen resolution may be too low to provide full functionality of the program. The "
                         "screen resolution must be at least 1024x765 and preferably 1152x864";

// Expects the widget (relative to its parent) at the given fractions of the
// screen in pixels, within one pixel on every edge. With `grown` a container
// may be larger than its fractions (a screen too small for the controls it
// holds), never smaller.
bool gGrown = false;
void expectAt(const QWidget* w, double x, double y, double width, double height) {
    ASSERT_NE(w, nullptr);
    SCOPED_TRACE(w->objectName().toStdString());
    EXPECT_NEAR(w->x(), x, 1.0);
    EXPECT_NEAR(w->y(), y, 1.0);
    if (gGrown) {
        EXPECT_GE(w->x() + w->width(), x + width - 1.0);
        EXPECT_GE(w->y() + w->height(), y + height - 1.0);
    } else {
        EXPECT_NEAR(w->x() + w->width(), x + width, 1.0);
        EXPECT_NEAR(w->y() + w->height(), y + height, 1.0);
    }
}

bool isContainer(const QWidget* w) {
    return qobject_cast<const QGroupBox*>(w) != nullptr || w->metaObject() == &QWidget::staticMetaObject;
}

// Every control of the form (hidden ones included, since pages and panels
// are shown later) lies wholly inside each container around it and inside
// the form: nothing is cut off.
void expectNothingCutOff(const QWidget* container, QRect visible, int& controls) {
    for (QObject* o : container->children()) {
        auto* c = qobject_cast<QWidget*>(o);
        if (!c || c->isWindow()) continue;
        const QRect r(c->mapTo(container->window(), QPoint(0, 0)), c->size());
        if (isContainer(c)) {
            expectNothingCutOff(c, visible.intersected(r), controls);
        } else {
            ++controls;
            EXPECT_TRUE(visible.contains(r))
                << c->objectName().toStdString() << " in " << container->objectName().toStdString();
        }
    }
}
void expectNothingCutOff(Form1& f) {
    int controls = 0;
    expectNothingCutOff(&f, QRect(f.mapTo(f.window(), QPoint(0, 0)), f.size()), controls);
    EXPECT_GT(controls, 100);
}

void expectSaveFrames(Form1& f, bool second, double W, double H) {
    if (!second) {
        expectAt(f.frameSave(0), 0.2 * W, 0.04 * H, 0.31 * W, 0.2 * H);
        expectAt(f.frameSave(1), 0.6 * W, 0.04 * H, 0.27 * W, 0.2 * H);
        expectAt(f.frameSave(2), 0.6 * W, 0.04 * H, 0.27 * W, 0.2 * H);
        expectAt(f.frameSave(3), 0.2 * W, 0.04 * H, 0.31 * W, 0.2 * H);
        expectAt(Forms::formXPS().frameSave_xps(3), 0.2 * W, 0.04 * H, 0.31 * W, 0.2 * H);
    } else {
        expectAt(f.frameSave(0), 0.1 * W, 0.02 * H, 0.4 * W, 0.3 * H);
        expectAt(f.frameSave(1), 0.55 * W, 0.02 * H, 0.4 * W, 0.3 * H);
        expectAt(f.frameSave(2), 0.55 * W, 0.02 * H, 0.4 * W, 0.3 * H);
        expectAt(f.frameSave(3), 0.2 * W, 0.02 * H, 0.4 * W, 0.3 * H);
        expectAt(Forms::formXPS().frameSave_xps(3), 0.2 * W, 0.02 * H, 0.4 * W, 0.3 * H);
    }
}

// A window of the client area fills what the frame shows (the screen less
// the menu bar), larger only where its controls need the room.
void expectFillsWhatTheFrameShows(const QWidget* w) {
    SCOPED_TRACE(w->objectName().toStdString());
    const QSize shown = Shell().visibleClientSize();
    EXPECT_EQ(w->pos(), QPoint(0, 0));
    if (gGrown) {
        EXPECT_GE(w->width(), shown.width());
        EXPECT_GE(w->height(), shown.height());
    } else {
        EXPECT_EQ(w->size(), shown);
    }
}

// Every container of the layout at its fraction of a W x H pixel screen.
void expectLayout(Form1& f, double W, double H) {
    expectFillsWhatTheFrameShows(&f);
    expectAt(f.Frame4, 0.4 * W, 0, 0.7 * W, 0.7 * H);
    for (int i = 0; i < Form1::kPages; ++i) {
        expectAt(f.page(i), 0.36 * W, 0, 0.95 * W, 0.295 * H);
        expectAt(f.frameinfo(i), 0.38 * W, 0.018 * H, 0.24 * W, 0.27 * H);
        const double fw = f.frameinfo(i)->width(), fh = f.frameinfo(i)->height();
        expectAt(f.txtinfo(i), 0.02 * fw, 0.055 * fh, 0.44 * fw, 0.33 * fh);
    }
    expectAt(f.Frame3, 0.4 * W, 0, 0.5 * W, 0.32 * H);
    expectAt(f.File1, 0.18 * W, 0, 0.18 * W, 0.3 * H);
    expectAt(f.Drive1, 0, 0, 0.18 * W, f.Drive1->height());
    expectAt(f.Dir1, 0, f.Drive1->height(), 0.18 * W, 0.31 * H - f.Drive1->height());
    // The plot from the file list's bottom; where pages grew with their
    // controls (a low screen) it starts lower, below them.
    const double pt = f.File1->height();
    if (gGrown) {
        EXPECT_EQ(f.picPlot->x(), 0);
        EXPECT_GE(f.picPlot->y(), pt - 1.0);
        EXPECT_NEAR(f.picPlot->width(), 0.99 * W, 1.0);
        EXPECT_NEAR(f.picPlot->geometry().bottom() + 1, 0.88 * H, 1.0);
    } else {
        expectAt(f.picPlot, 0, pt, 0.99 * W, 0.88 * H - pt);
    }
    // The title and areas boxes in a strip along the plot's right edge that
    // the plot's scale leaves out.
    const int pw = f.picPlot->width(), strip = f.picPlot->rightReserve();
    EXPECT_GE(strip, std::min(pw / 5, 400));
    for (const QWidget* box : {f.Text2, f.txtAreas}) {
        EXPECT_GE(box->x(), pw - strip) << box->objectName().toStdString();
        EXPECT_LT(box->geometry().right(), pw) << box->objectName().toStdString();
    }
    expectAt(f.framePlotRange, 0.4 * W, 0.01 * H, 0.3 * W, 0.3 * H);
    expectAt(f.frameYmax, 0.4 * W, 0.01 * H, 0.3 * W, 0.3 * H);
    expectFillsWhatTheFrameShows(&Forms::formXPS());
    expectAt(Forms::frmSmooth().frameSmooth, 0.36 * W, 0, 0.63 * W, 0.29 * H);
}

// What start-up leaves, whatever the screen.
void expectStartState(Form1& f) {
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.Frame4->isVisible());
    for (int i = 0; i < Form1::kPages; ++i) EXPECT_TRUE(f.page(i)->isHidden());
    for (int i = 0; i < Form1::kSaveFrames; ++i) EXPECT_TRUE(f.frameSave(i)->isHidden());
    for (QWidget* w :
         {static_cast<QWidget*>(f.Frame1), static_cast<QWidget*>(f.Frame3), static_cast<QWidget*>(f.framePlotRange),
          static_cast<QWidget*>(f.frameYmax), static_cast<QWidget*>(f.Line6)})
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
    EXPECT_TRUE(f.Text2->isHidden());
    EXPECT_FALSE(f.txtAreas->isHidden());
    EXPECT_TRUE(f.picPlot->isVisible());
    EXPECT_EQ(f.Text1->text(), "3");
    EXPECT_EQ(f.Text3->text(), "10");
    EXPECT_EQ(f.Text4->text(), "25");
    EXPECT_TRUE(Forms::formXPSExists());
    EXPECT_FALSE(Forms::formXPS().isVisible());
    EXPECT_FALSE(Forms::frmSmooth().isVisible());
    EXPECT_EQ(Forms::frmSmooth().frameSmooth->palette().color(QPalette::Window), QColor(0, 128, 128));
    EXPECT_EQ(Module1::AutoScale, True);
    const int steps[7] = {200, 100, 50, 20, 10, 5, 1};
    for (int i = 0; i <= 6; ++i) EXPECT_EQ(Module1::StepTable(i), steps[i]);
    for (int n = 1; n <= 6; ++n) EXPECT_FALSE(f.option(n)->value());
}
} // namespace

TEST(StartUp, ScreenJustBelow12000TwipsWarnsOnceAndPlacesTheSaveFramesAgain) {
    if (!testsupport::UseOffscreenScreen(1280, 799)) GTEST_SKIP() << "another screen in this process";
    auto p = testsupport::StartProgram({.showFrame = false});
    EXPECT_FLOAT_EQ(Module1::ScrHeight, 799 * 15.0f);
    EXPECT_FLOAT_EQ(Module1::ScrWidth, 1280 * 15.0f);
    // The warning waits for the program's window: not before it is shown,
    // and only once the event loop runs after showing it.
    QCoreApplication::processEvents();
    EXPECT_TRUE(p.services->messages.isEmpty());
    Forms::MDIForm1().show();
    EXPECT_TRUE(p.services->messages.isEmpty());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    ASSERT_EQ(p.services->messages.size(), 1);
    EXPECT_EQ(p.services->messages[0].text, kWarning);
    EXPECT_TRUE(p.services->messages[0].title.isEmpty()); // the default title
    expectSaveFrames(*p.form, true, 1280, 799);
    expectStartState(*p.form);
}

TEST(StartUp, Screen12000TwipsHighNoWarningAndFractionsOfTheScreen) {
    if (!testsupport::UseOffscreenScreen(1280, 800)) GTEST_SKIP() << "another screen in this process";
    auto p = testsupport::StartProgram();
    EXPECT_FLOAT_EQ(Module1::ScrHeight, 12000.0f);
    EXPECT_TRUE(p.services->messages.isEmpty());
    // The pages and the save frames hold more than their fractions of this
    // screen's height: they grow.
    gGrown = true;
    expectSaveFrames(*p.form, false, 1280, 800);
    expectLayout(*p.form, 1280, 800);
    expectNothingCutOff(*p.form);
    expectStartState(*p.form);
}

TEST(StartUp, LargeScreenFractionsOfTheScreen) {
    if (!testsupport::UseOffscreenScreen(2560, 1600)) GTEST_SKIP() << "another screen in this process";
    auto p = testsupport::StartProgram();
    EXPECT_TRUE(p.services->messages.isEmpty());
    expectSaveFrames(*p.form, false, 2560, 1600);
    expectLayout(*p.form, 2560, 1600);
    expectNothingCutOff(*p.form);
    expectStartState(*p.form);
}

TEST(StartUp, SmallScreenKeepsEveryControlReachable) {
    if (!testsupport::UseOffscreenScreen(800, 600)) GTEST_SKIP() << "another screen in this process";
    auto p = testsupport::StartProgram();
    QCoreApplication::processEvents();
    ASSERT_EQ(p.services->messages.size(), 1);
    gGrown = true;
    expectLayout(*p.form, 800, 600);
    // Containers (and the form) too small for their controls have grown.
    EXPECT_GT(p.form->width(), 800);
    EXPECT_GT(p.form->Frame4->width(), 0.7 * 800 + 1);
    expectNothingCutOff(*p.form);
    // The frame is smaller than the form (menu bar, frame): its client area
    // holds the whole form and scrolls.
    QWidget* client = Forms::ClientArea();
    EXPECT_GE(client->width(), p.form->width());
    EXPECT_GE(client->height(), p.form->height());

    // The large plot of the View menu reaches below the form: it grows too.
    p.form->mnuLargePlot_Click();
    EXPECT_GE(p.form->height(), p.form->picPlot->y() + p.form->picPlot->height());
    EXPECT_GE(client->height(), p.form->height());
}

namespace {
// The "ELF data" page as shown on a W x H screen: no control or frame covers
// another one (a control inside a frame is not covered by it), every control
// lies within the screen's width, number boxes hold a seven-digit number and
// buttons their caption at the font of the page.
void expectElfPageReadable(int W) {
    auto p = testsupport::StartProgram();
    Form1& f = *p.form;
    f.option(6)->select();
    QWidget* page = f.page(4);
    ASSERT_TRUE(page->isVisible());
    // An example model in the table.
    f.Dir1->setPath(QStringLiteral(KELVARA_SOURCE_DIR "/examples"));
    f.File1->setFileName(QStringLiteral("oxide_sio2_like.elf"));
    page->findChild<QPushButton*>(QStringLiteral("cmdReadELFdata"))->click();
    ASSERT_FALSE(page->findChild<QLineEdit*>(QStringLiteral("txtfsum"))->text().isEmpty());
    // The oscillator rows scroll inside their area: the area is the item, and
    // every row lies within its width and can be scrolled into view.
    auto* rows = page->findChild<QScrollArea*>(QStringLiteral("scrollOscillators"));
    ASSERT_NE(rows, nullptr);
    QScrollBar* bar = rows->verticalScrollBar();
    for (int i : {1, 20}) {
        bar->setValue(i == 1 ? bar->minimum() : bar->maximum());
        auto* w0 = page->findChild<QLineEdit*>(QStringLiteral("txtw0_%1").arg(i));
        const QRect shown(w0->mapTo(rows->viewport(), QPoint(0, 0)), w0->size());
        EXPECT_TRUE(rows->viewport()->rect().contains(shown)) << i;
    }
    std::vector<QWidget*> items;
    for (QWidget* w : page->findChildren<QWidget*>())
        if (w->isVisibleTo(page) && !w->isWindow() && w->parentWidget() && !rows->isAncestorOf(w) &&
            (isContainer(w) || w->parentWidget() == page || isContainer(w->parentWidget())) &&
            (qobject_cast<QLineEdit*>(w) || qobject_cast<QPushButton*>(w) || qobject_cast<QLabel*>(w) ||
             qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QGroupBox*>(w) || w == rows))
            items.push_back(w);
    ASSERT_GT(items.size(), 25u);
    const auto rect = [page](QWidget* w) { return QRect(w->mapTo(page, QPoint(0, 0)), w->size()); };
    const int visibleRight = W - page->x();
    for (QWidget* a : items) {
        SCOPED_TRACE(a->objectName().toStdString());
        EXPECT_LE(rect(a).right(), visibleRight) << "beyond the screen";
        for (QWidget* b : items) {
            if (a >= b || a->isAncestorOf(b) || b->isAncestorOf(a)) continue;
            // The sum-rule panel lies in the info frame's area, below its box.
            const auto hosted = [&f](QWidget* guest, QWidget* host) {
                QWidget* panel = f.findChild<QWidget*>(QStringLiteral("frameCheckSumRules"));
                return host == f.frameinfo(4) && (guest == panel || panel->isAncestorOf(guest));
            };
            if (hosted(a, b) || hosted(b, a)) continue;
            EXPECT_FALSE(rect(a).intersects(rect(b))) << "covers " << b->objectName().toStdString();
        }
        const QFontMetrics fm(a->font());
        if (auto* button = qobject_cast<QPushButton*>(a)) {
            for (const QString& line : button->text().split('\n'))
                EXPECT_GE(button->width(), fm.horizontalAdvance(line) + 8) << "caption cut";
        }
    }
    for (const char* name :
         {"txtfsum", "txtRef_Index", "txt_Core_ac", "txt_Core_bc", "txtE_Gap", "txtE_step", "txtE_max"}) {
        auto* box = page->findChild<QLineEdit*>(QString::fromLatin1(name));
        ASSERT_NE(box, nullptr) << name;
        EXPECT_GE(box->width(), QFontMetrics(box->font()).horizontalAdvance(QStringLiteral("0.9771528")) + 8) << name;
    }
    // Every number the program wrote shows whole, from its first digit.
    for (QLineEdit* box : page->findChildren<QLineEdit*>()) {
        if (box->text().isEmpty() || box->objectName() == QStringLiteral("txtELFFilename")) continue;
        EXPECT_GE(box->width(), QFontMetrics(box->font()).horizontalAdvance(box->text()) + 8)
            << box->objectName().toStdString() << " " << box->text().toStdString();
        EXPECT_EQ(box->cursorPosition(), 0) << box->objectName().toStdString();
    }
    // The plot's title and areas boxes are not hidden under the page.
    EXPECT_GT(f.picPlot->y() + f.Text2->y(), page->geometry().bottom());
    EXPECT_GT(f.picPlot->y() + f.txtAreas->y(), page->geometry().bottom());
    auto* cell = page->findChild<QLineEdit*>(QStringLiteral("txtA0_1"));
    EXPECT_GE(cell->width(), QFontMetrics(cell->font()).horizontalAdvance(QStringLiteral("210.1440")) + 8);
}

// The save frames as they open: the boxes and buttons inside each frame
// never overlap, every caption shows whole, and on page 3 the frame's title
// leaves the model-file box readable where the screen is at least 800 high.
void expectSaveFramesReadable(int H) {
    Form1& f = Forms::Form1();
    for (int i = 0; i < Form1::kSaveFrames; ++i) {
        Frame* frame = f.frameSave(i);
        SCOPED_TRACE(frame->objectName().toStdString());
        const QList<QWidget*> kids = frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        ASSERT_GE(kids.size(), 5);
        for (QWidget* a : kids) {
            EXPECT_LE(a->geometry().right(), frame->width() - 1) << a->objectName().toStdString();
            EXPECT_LE(a->geometry().bottom(), frame->height() - 1) << a->objectName().toStdString();
            if (auto* b = qobject_cast<QPushButton*>(a)) {
                EXPECT_GE(b->width(), QFontMetrics(b->font()).horizontalAdvance(b->text()) + 8)
                    << b->objectName().toStdString();
            }
            for (QWidget* b : kids) {
                if (a < b) {
                    EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                        << a->objectName().toStdString() << " covers " << b->objectName().toStdString();
                }
            }
        }
    }
    if (H >= 800) {
        auto* model = f.page(3)->findChild<QLineEdit*>(QStringLiteral("txtELFfile96_3"));
        ASSERT_NE(model, nullptr);
        EXPECT_LT(model->geometry().bottom(), f.frameSave(3)->y());
    }
}
} // namespace

TEST(StartUp, ElfPageReadableAt1024x768) {
    if (!testsupport::UseOffscreenScreen(1024, 768)) GTEST_SKIP() << "another screen in this process";
    expectElfPageReadable(1024);
    expectSaveFramesReadable(768);
}

TEST(StartUp, ElfPageReadableAt1280x1024) {
    if (!testsupport::UseOffscreenScreen(1280, 1024)) GTEST_SKIP() << "another screen in this process";
    expectElfPageReadable(1280);
    expectSaveFramesReadable(1024);
}

TEST(StartUp, ElfPageReadableAt1920x1080) {
    if (!testsupport::UseOffscreenScreen(1920, 1080)) GTEST_SKIP() << "another screen in this process";
    expectElfPageReadable(1920);
    expectSaveFramesReadable(1080);
}

// The smallest screen the program accepts: on every page, and in the
// photoemission window, no page or panel reaches into the plot area (the
// top of the y axis of a drawn curve lies below each of them), and the frame
// shows both windows whole, without scroll bars.
TEST(StartUp, PlotBelowEveryPanelAndNoScrollBarsAt1024x768) {
    if (!testsupport::UseOffscreenScreen(1024, 768)) GTEST_SKIP() << "another screen in this process";
    auto p = testsupport::StartProgram();
    Form1& f = *p.form;
    formXPS& xps = Forms::formXPS();
    SingleArray curve(0, 100);
    curve(1) = 20;
    curve(3) = 1;
    for (int k = 4; k <= 23; ++k) curve(k) = static_cast<float>(k);
    auto* scroll = Forms::MDIForm1().findChild<QScrollArea*>("MDIClient");
    ASSERT_NE(scroll, nullptr);
    // The panels of a window against the top of its plot area, in the window.
    const auto expectClear = [&](QWidget* window, PictureBox* box, std::initializer_list<QWidget*> panels) {
        QCoreApplication::processEvents();
        const double axisTop = box->y() + box->toPixelY(100) - 1; // less the pen
        for (QWidget* panel : panels)
            EXPECT_LE(panel->geometry().bottom(), axisTop) << panel->objectName().toStdString();
        EXPECT_LE(QRect(window->pos(), window->size()).bottom(), scroll->viewport()->height() - 1);
        EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
        EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
    };
    for (int option : {6, 1, 3, 2, 4}) {
        SCOPED_TRACE(option);
        f.option(option)->select();
        f.Plot(curve, 0);
        expectClear(&f, f.picPlot,
                    {f.page(0), f.page(1), f.page(2), f.page(3), f.page(4), f.frameSave(1), f.frameSave(2), f.Frame3});
        f.findChild<QPushButton*>(option == 6   ? "cmdCancelELF_0"
                                  : option == 1 ? "Command6"
                                  : option == 3 ? "Command10"
                                  : option == 2 ? "Command12"
                                                : "Command11")
            ->click();
    }
    f.option(5)->select();
    ASSERT_TRUE(xps.isVisible());
    xps.Plot(curve, 0);
    expectClear(&xps, xps.picPlot_xps, {xps.framePhotoElectrons, xps.frameSave_xps(3)});
    xps.cmdMainMenu->click();
    f.ClearPlot();
}

// The about window on the smallest screen the program accepts: each of its
// eleven lines lies inside the frame and shows whole, and the window lies on
// the screen.
TEST(StartUp, AboutLinesInsideTheFrameAt1024x768) {
    if (!testsupport::UseOffscreenScreen(1024, 768)) GTEST_SKIP() << "another screen in this process";
    auto p = testsupport::StartProgram();
    p.form->findChild<QPushButton*>("cmd_AboutTORVIK")->click();
    formAbout& about = Forms::formAbout();
    QCoreApplication::processEvents();
    auto* frame = about.findChild<QGroupBox*>("frameCopyright");
    ASSERT_NE(frame, nullptr);
    const QRect inside = frame->contentsRect();
    for (int i = 0; i <= 10; ++i) {
        QLineEdit* line = about.line(i);
        EXPECT_EQ(line->parentWidget(), frame) << i;
        EXPECT_TRUE(inside.contains(line->geometry())) << i;
        EXPECT_GE(line->width(), QFontMetrics(line->font()).horizontalAdvance(line->text()) + 8) << i;
    }
    EXPECT_LE(about.width(), 1024);
    EXPECT_LE(about.height(), 768);
    about.cmdOK_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::formAboutExists());
}
