// Pictures of the main window's pages at a chosen screen size, for looking at
// the layout: skipped unless KELVARA_SHOTS names a folder. The screen size is
// KELVARA_SHOT_SIZE ("1024x768", the default).
//   KELVARA_SHOTS=/tmp/shots KELVARA_SHOT_SIZE=1280x1024 build/tests/main_screenshot_test
#include <QDir>
#include <QLineEdit>
#include <QPixmap>

#include "main/formabout.h"
#include "main/forms.h"
#include "model96_support.h"
#include "photoemission/formxps.h"

using namespace kelvara;
using namespace kelvara::testsupport;

TEST(Screenshots, EveryPageOfTheMainWindow) {
    const QString folder = qEnvironmentVariable("KELVARA_SHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "set KELVARA_SHOTS to a folder";
    const QStringList size = qEnvironmentVariable("KELVARA_SHOT_SIZE", QStringLiteral("1024x768")).split('x');
    ASSERT_EQ(size.size(), 2);
    const int width = size[0].toInt(), height = size[1].toInt();
    if (!UseOffscreenScreen(width, height)) GTEST_SKIP() << "another screen in this process";
    SetLibraryFolder(QStringLiteral(KELVARA_BIN_DIR));
    const Program p = StartProgram();
    QCoreApplication::processEvents();
    Form1& f = *p.form;
    QWidget& frame = Forms::MDIForm1();
    QDir().mkpath(folder);
    const auto shot = [&](const char* name) {
        QCoreApplication::processEvents();
        const QString path = QDir(folder).filePath(QStringLiteral("%1_%2x%3.png").arg(name).arg(width).arg(height));
        EXPECT_TRUE(frame.grab().save(path)) << path.toStdString();
    };
    f.Dir1->setPath(QStringLiteral(KELVARA_SOURCE_DIR "/examples"));
    f.File1->setFileName(QStringLiteral("semiconductor_si_like.elf"));
    shot("start");
    f.option(6)->select();
    Click(&f, "cmdReadELFdata");
    shot("elf");
    Click(&f, "cmdCancelELF_0");
    f.option(4)->select();
    Click(&f, "cmdELFfile96");
    Click(&f, "cmdCalcKeffModel96");
    shot("model96");
    // The View menu's plot sizes redraw the curve at once.
    f.mnuSmallPlot_Click();
    shot("model96_small");
    f.mnuLargePlot_Click();
    shot("model96_large");
    f.mnuDefaultPlot_Click();
    Click(&f, "cmdSave96");
    shot("model96_save");
    Click(&f, "Command11");
    // Every other page after a calculation, then the oscillator page after one.
    struct PageRun {
        int option;
        const char *read, *calc, *back, *name;
    };
    for (const PageRun& r : {PageRun{2, "cmdELFfile92", "cmdCalcKeffModelAB", "Command12", "modelab"},
                             PageRun{3, "cmdReadELFModelAB92", "cmdCalcKeffthinfilm", "Command10", "thinfilm"},
                             PageRun{1, "cmdReadELFInf", "cmdCalcKInfFilm", "Command6", "infmedium"}}) {
        f.option(r.option)->select();
        Click(&f, r.read);
        Click(&f, r.calc);
        shot(r.name);
        Click(&f, r.back);
    }
    // The infinite medium on a coarse grid (Estep 2, Emax 20).
    f.option(1)->select();
    f.findChild<QLineEdit*>(QStringLiteral("txtparInfVal_3"))->setText(QStringLiteral("2"));
    f.findChild<QLineEdit*>(QStringLiteral("txtparInfVal_2"))->setText(QStringLiteral("20"));
    Click(&f, "cmdCalcKInfFilm");
    shot("infmedium_coarse");
    Click(&f, "Command6");
    f.option(6)->select();
    shot("elf_after_calc");
    // The free-electron model on the oscillator page.
    f.File1->setFileName(QStringLiteral("free_electron_metal.elf"));
    Click(&f, "cmdReadELFdata");
    shot("elf_free_electron");
    Click(&f, "cmdCancelELF_0");

    // The photoemission window: a calculation, one of its show buttons, and
    // Keff on a fine grid.
    f.option(5)->select();
    formXPS& xps = Forms::formXPS();
    xps.Dir2->setPath(QStringLiteral(KELVARA_SOURCE_DIR "/examples"));
    xps.File2->setFileName(QStringLiteral("semiconductor_si_like.elf"));
    Click(&xps, "cmdReadELF_XPS");
    shot("xps_elf");
    Click(&xps, "cmdCalcKeffphotoem97");
    shot("xps_keff");
    Click(&xps, "cmdkmh");
    shot("xps_kmh");
    xps.findChild<QLineEdit*>(QStringLiteral("txtpar97Val_1"))->setText(QStringLiteral("0.01"));
    xps.findChild<QLineEdit*>(QStringLiteral("txtpar97Val_2"))->setText(QStringLiteral("0.01"));
    xps.findChild<QLineEdit*>(QStringLiteral("txtpar97Val_6"))->setText(QStringLiteral("10"));
    Click(&xps, "cmdCalcKeffphotoem97");
    shot("xps_fine");
    // The View menu acts on this window's plot.
    xps.mnuLargePlot_Click();
    shot("xps_large");
    xps.mnuDefaultPlot_Click();
    Click(&xps, "cmdMainMenu");

    // The about window.
    Click(&f, "cmd_AboutTORVIK");
    QCoreApplication::processEvents();
    formAbout& about = Forms::formAbout();
    about.grab().save(QDir(folder).filePath(QStringLiteral("about_%1x%2.png").arg(width).arg(height)));
    about.cmdOK_Click();
}
