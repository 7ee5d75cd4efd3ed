// Pictures of the main window's pages at a chosen screen size, for looking at
// the layout: skipped unless KELVARA_SHOTS names a folder. The screen size is
// KELVARA_SHOT_SIZE ("1024x768", the default).
//   KELVARA_SHOTS=/tmp/shots KELVARA_SHOT_SIZE=1280x1024 build/tests/main_screenshot_test
#include <QDir>
#include <QPixmap>

#include "model96_support.h"

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
    f.option(6)->select();
    shot("elf_after_calc");
}
