#include "main/file_browser.h"

#include "widgets/guard.h"
#include "widgets/services.h"

namespace kelvara {

FileBrowser::FileBrowser(QWidget& form) : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("FileBrowser"));
    Drive1 = MakeNamed<DriveListBox>(&form, QStringLiteral("Drive1"));
    Dir1 = MakeNamed<DirListBox>(&form, QStringLiteral("Dir1"));
    File1 = MakeNamed<FileListBox>(&form, QStringLiteral("File1"));
    {
        // Start in the current folder of the process, on its drive.
        QSignalBlocker block(Drive1);
        Drive1->setDrive(DriveListBox::driveOf(Dir1->path()));
    }
    File1->setPath(Dir1->path());
    connectGuarded(Drive1, &DriveListBox::driveChanged, this, [this] { Drive1_Change(); });
    connectGuarded(Dir1, &DirListBox::pathChanged, this, [this] { Dir1_Change(); });
    connectGuarded(File1, &QListWidget::itemClicked, this, [this](QListWidgetItem*) { File1_Click(); });
    connectGuarded(File1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) { File1_DblClick(); });
}

void FileBrowser::Drive1_Change() {
    try {
        Dir1->setPath(Drive1->drive());
    } catch (...) {
        // The drive cannot be read: the list goes back to the folder's drive
        // and the error is shown.
        QSignalBlocker block(Drive1);
        Drive1->setDrive(DriveListBox::driveOf(Dir1->path()));
        throw;
    }
}

void FileBrowser::Dir1_Change() { File1->setPath(Dir1->path()); }

void FileBrowser::File1_Click() {
    if (auto* box = form_.findChild<QLineEdit*>(QStringLiteral("txtELFFilename"))) box->setText(File1->fileName());
}

void FileBrowser::File1_DblClick() {
    const QString path = JoinPath(Dir1->path(), File1->fileName());
    if (!services().startEditor(path))
        services().messageBox(QStringLiteral("The editor could not be started for ") + path);
}

} // namespace kelvara
