#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>

#include "main/formabout.h"
#include "main/frmbrowser.h"
#include "photoemission/formxps.h"
#include "program_fixture.h"

using namespace kelvara;

namespace {
void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

// Runs the event loop until `done` holds, for five seconds at most.
template <typename Done>
bool WaitFor(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 5000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}
} // namespace

TEST(FileBrowser, DriveFolderFileChainClickAndDoubleClick) {
    testsupport::UseOffscreenScreen(1280, 1024);
    auto p = testsupport::StartProgram();
    Form1& f = *p.form;
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QDir(tmp.path()).mkdir("models");
    touch(QDir(tmp.path()).filePath("models/my model.elf"));
    touch(QDir(tmp.path()).filePath("top.txt"));

    // Folder -> files.
    f.Dir1->setPath(tmp.path());
    EXPECT_EQ(f.File1->path(), QDir::cleanPath(tmp.path()));
    ASSERT_EQ(f.File1->count(), 1);
    emit f.Dir1->itemActivated(f.Dir1->item(f.Dir1->count() - 1)); // open "models"
    EXPECT_EQ(f.File1->path(), QDir(tmp.path()).filePath("models"));
    ASSERT_EQ(f.File1->count(), 1);

    // A new file shows after a refresh.
    touch(QDir(tmp.path()).filePath("models/second.elf"));
    f.File1->refresh();
    EXPECT_EQ(f.File1->count(), 2);

    // Single click: the name (only) goes to the oscillator page's box, hidden or not.
    QListWidgetItem* item = f.File1->findItems("my model.elf", Qt::MatchExactly).value(0);
    ASSERT_NE(item, nullptr);
    f.File1->setCurrentItem(item);
    emit f.File1->itemClicked(item);
    auto* name = f.findChild<QLineEdit*>("txtELFFilename");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), "my model.elf");

    // Double click: the editor gets the full path as one argument, blank included.
    emit f.File1->itemDoubleClicked(item);
    ASSERT_EQ(p.services->editorPaths.size(), 1);
    EXPECT_EQ(p.services->editorPaths[0],
              QDir::toNativeSeparators(QDir(tmp.path()).filePath("models/my model.elf")));
    // An editor that cannot start is reported, the program goes on.
    p.services->editorStarts = false;
    emit f.File1->itemDoubleClicked(item);
    ASSERT_EQ(p.services->messages.size(), 1);
    EXPECT_TRUE(p.services->messages[0].text.contains("my model.elf"));

    // Drive -> folder -> files: choosing the drive of the folder lists its root.
    const QString drive = DriveListBox::driveOf(tmp.path());
    int other = -1;
    for (int i = 0; i < f.Drive1->count(); ++i)
        if (f.Drive1->itemData(i).toString() != drive) other = i;
    if (other >= 0) {
        f.Drive1->setCurrentIndex(other); // fires the change chain
        const int at = f.Drive1->findData(drive);
        f.Drive1->setCurrentIndex(at);
        EXPECT_EQ(f.Dir1->path(), QDir::cleanPath(drive));
        EXPECT_EQ(f.File1->path(), QDir::cleanPath(drive));
    }
}

TEST(FileBrowser, BothWindowsFollowTheDiskAndShowAnotherFolderFromTheTop) {
    testsupport::UseOffscreenScreen(1280, 1024);
    auto p = testsupport::StartProgram();
    QWidget* const windows[] = {p.form, &Forms::formXPS()};
    for (QWidget* window : windows) {
        const QString n = window == p.form ? "1" : "2";
        SCOPED_TRACE(n.toStdString());
        auto* dirs = window->findChild<DirListBox*>("Dir" + n);
        auto* files = window->findChild<FileListBox*>("File" + n);
        ASSERT_TRUE(dirs && files);
        QTemporaryDir tmp;
        ASSERT_TRUE(tmp.isValid());
        const QDir top(tmp.path());
        top.mkdir("sub");
        for (int i = 0; i < 80; ++i) {
            touch(top.filePath(QString("f%1.txt").arg(i, 2, 10, QChar('0'))));
            touch(top.filePath(QString("sub/g%1.txt").arg(i, 2, 10, QChar('0'))));
        }
        dirs->setPath(tmp.path());
        files->setFileName("f10.txt");
        QScrollBar* bar = files->verticalScrollBar();
        ASSERT_GT(bar->maximum(), 0);
        bar->setValue(bar->maximum());
        const int scrolled = bar->value();

        // Made and removed by another program: the list follows by itself,
        // the selection and the scroll position stay.
        touch(top.filePath("made.elf"));
        EXPECT_TRUE(WaitFor([&] { return !files->findItems("made.elf", Qt::MatchExactly).isEmpty(); }));
        EXPECT_EQ(files->fileName(), "f10.txt");
        EXPECT_EQ(bar->value(), scrolled);
        QFile::remove(top.filePath("made.elf"));
        EXPECT_TRUE(WaitFor([&] { return files->findItems("made.elf", Qt::MatchExactly).isEmpty(); }));
        EXPECT_EQ(files->count(), 80);
        top.mkdir("new folder");
        EXPECT_TRUE(WaitFor([&] { return !dirs->findItems("new folder", Qt::MatchEndsWith).isEmpty(); }));

        // Another folder: from the top, nothing selected.
        dirs->setPath(top.filePath("sub"));
        EXPECT_EQ(files->count(), 80);
        EXPECT_EQ(bar->value(), 0);
        EXPECT_EQ(files->fileName(), "");

        // The folder shown is removed: the browser moves up to the folder left.
        ASSERT_TRUE(QDir(top.filePath("sub")).removeRecursively());
        EXPECT_TRUE(WaitFor([&] { return dirs->path() == QDir::cleanPath(tmp.path()); }));
        EXPECT_EQ(files->path(), QDir::cleanPath(tmp.path()));
        EXPECT_TRUE(p.services->messages.isEmpty());
    }
}

TEST(FileBrowser, UnreadableDriveIsReportedAndTheBrowserStays) {
    testsupport::UseOffscreenScreen(1280, 1024);
    auto p = testsupport::StartProgram();
    Form1& f = *p.form;
    const QString before = f.Dir1->path();
    f.Drive1->addItem("gone", "/no/such/drive/here");
    f.Drive1->setCurrentIndex(f.Drive1->count() - 1);
    ASSERT_EQ(p.services->messages.size(), 1);
    EXPECT_TRUE(p.services->messages[0].text.contains("Path not found"));
    EXPECT_EQ(f.Dir1->path(), before);
    EXPECT_EQ(f.Drive1->drive(), DriveListBox::driveOf(before));
}

TEST(SmallWindows, AboutOpensOnceClosesWithOkAndExitEndsEverything) {
    testsupport::UseOffscreenScreen(1280, 1024);
    auto p = testsupport::StartProgram();
    Form1& f = *p.form;
    f.findChild<QPushButton*>("cmd_AboutTORVIK")->click();
    ASSERT_TRUE(Forms::formAboutExists());
    formAbout* about = &Forms::formAbout();
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), "About");
    // The menu item shows the same instance.
    Forms::MDIForm1().findChild<QAction*>("mnuAbout")->trigger();
    EXPECT_EQ(&Forms::formAbout(), about);
    for (int i = 0; i <= 10; ++i) {
        EXPECT_TRUE(about->line(i)->isVisible());
        EXPECT_EQ(about->line(i)->font().bold(), i == 1 || i == 7) << i;
        EXPECT_EQ(about->line(i)->text(), formAbout::LineText(i));
    }
    EXPECT_TRUE(about->line(6)->text().isEmpty());
    about->findChild<QPushButton*>("cmdOK")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::formAboutExists());

    // The web-address window: a box and no browsing.
    f.ShowWebBrowser();
    frmBrowser& web = Forms::frmBrowser();
    EXPECT_TRUE(web.isVisible());
    EXPECT_FALSE(web.cboAddress->currentText().isEmpty());
    EXPECT_FALSE(web.timTimer->isActive());

    // "Exit": every window closes.
    f.findChild<QPushButton*>("cmd_AboutTORVIK")->click();
    f.findChild<QPushButton*>("cmdExitMain")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Forms::MDIForm1().isVisible());
    EXPECT_FALSE(Forms::formAboutExists());
    EXPECT_FALSE(web.isVisible());
    EXPECT_TRUE(p.services->messages.isEmpty());
}

TEST(SmallWindows, FileExitMenuUnloadsTheStartUpFrame) {
    testsupport::UseOffscreenScreen(1280, 1024);
    auto p = testsupport::StartProgram();
    Forms::MDIForm1().findChild<QAction*>("mnuExit")->trigger();
    EXPECT_FALSE(Forms::MDIForm1().isVisible());
    EXPECT_FALSE(p.form->isVisible());
}
