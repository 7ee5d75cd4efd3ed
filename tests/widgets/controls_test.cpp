#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "offscreen_screen.h"
#include "platform/errors.h"
#include "widgets/controls.h"

using namespace kelvara;

TEST(Controls, OptionButtonFiresOnlyWhenBecomingSelected) {
    testsupport::UseOffscreenScreen(800, 600);
    QWidget box;
    auto* a = new OptionButton("a", &box);
    auto* b = new OptionButton("b", &box);
    int firedA = 0, firedB = 0;
    QObject::connect(a, &OptionButton::chosen, [&] { ++firedA; });
    QObject::connect(b, &OptionButton::chosen, [&] { ++firedB; });

    a->click();
    EXPECT_EQ(firedA, 1);
    a->click(); // already selected: nothing
    EXPECT_EQ(firedA, 1);
    b->click(); // a is cleared by b, which fires no click of a
    EXPECT_EQ(firedA, 1);
    EXPECT_EQ(firedB, 1);
    EXPECT_FALSE(a->value());

    b->clear(); // cleared by code: nothing fires, no button selected
    EXPECT_FALSE(a->value());
    EXPECT_FALSE(b->value());
    EXPECT_EQ(firedB, 1);
    b->click(); // the same option works again
    EXPECT_EQ(firedB, 2);
    b->clear();
    b->select();
    EXPECT_EQ(firedB, 3);
}

TEST(Controls, TextBoxChangeRunsInsideTheWritingStatementAndArraysByName) {
    testsupport::UseOffscreenScreen(800, 600);
    QWidget form;
    auto* t = MakeNamed<TextBox>(&form, ArrayName("txtpar96Val", 0));
    MakeNamed<TextBox>(&form, ArrayName("txtpar96Val", 1));
    QString seen;
    QObject::connect(t, &QLineEdit::textChanged, [&](const QString& s) { seen = s; });
    t->setText("3");
    EXPECT_EQ(seen, "3"); // already run when setText returns
    EXPECT_EQ(t->objectName(), "txtpar96Val_0");
    EXPECT_EQ(Element<TextBox>(&form, "txtpar96Val", 0), t);
    EXPECT_NE(Element<TextBox>(&form, "txtpar96Val", 1), nullptr);
    EXPECT_EQ(Element<TextBox>(&form, "txtpar96Val", 2), nullptr);

    InfoBox info;
    info.setText("line 1\r\n\r\nline 3");
    EXPECT_EQ(info.text(), "line 1\r\n\r\nline 3");
    EXPECT_EQ(info.document()->blockCount(), 3);
}

TEST(Controls, FolderAndFileListsFollowTheDisk) {
    testsupport::UseOffscreenScreen(800, 600);
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QDir(tmp.path()).mkdir("sub");
    for (const char* name : {"b.txt", "a file.dat"}) {
        QFile f(QDir(tmp.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    DirListBox dirs;
    int changes = 0;
    QObject::connect(&dirs, &DirListBox::pathChanged, [&] { ++changes; });
    dirs.setPath(tmp.path());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(dirs.path(), QDir::cleanPath(tmp.path()));
    // The current folder is selected; its sub-folder is listed below it.
    EXPECT_EQ(dirs.currentItem()->data(Qt::UserRole).toString(), dirs.path());
    EXPECT_EQ(dirs.item(dirs.count() - 1)->data(Qt::UserRole).toString(), QDir(tmp.path()).filePath("sub"));
    // Opening the sub-folder by activation.
    emit dirs.itemActivated(dirs.item(dirs.count() - 1));
    EXPECT_EQ(dirs.path(), QDir(tmp.path()).filePath("sub"));
    EXPECT_EQ(changes, 2);
    EXPECT_THROW(dirs.setPath(QDir(tmp.path()).filePath("missing")), RuntimeError);
    EXPECT_EQ(dirs.path(), QDir(tmp.path()).filePath("sub"));

    FileListBox files;
    files.setPath(tmp.path());
    ASSERT_EQ(files.count(), 2);
    EXPECT_EQ(files.item(0)->text(), "a file.dat"); // sorted by name, folders not listed
    EXPECT_EQ(files.fileName(), "");
    files.setFileName("a file.dat");
    EXPECT_EQ(files.fullPath(), QDir::toNativeSeparators(QDir(tmp.path()).filePath("a file.dat")));
    { QFile f(QDir(tmp.path()).filePath("c.txt")); ASSERT_TRUE(f.open(QIODevice::WriteOnly)); }
    files.refresh();
    EXPECT_EQ(files.count(), 3);
    EXPECT_EQ(files.fileName(), "a file.dat"); // the selection survives a refresh

    EXPECT_EQ(JoinPath("/", "x.txt"), QDir::toNativeSeparators("/x.txt"));
    EXPECT_EQ(JoinPath("/data", "x y.txt"), QDir::toNativeSeparators("/data/x y.txt"));

    DriveListBox drives;
    EXPECT_GT(drives.count(), 0);
    EXPECT_EQ(DriveListBox::driveOf(tmp.path()).isEmpty(), false);
}
