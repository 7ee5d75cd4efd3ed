#include "shared/file_browser.h"

#include <QFileInfo>

#include "widgets/guard.h"
#include "widgets/twips.h"
#include "widgets/services.h"

namespace kelvara {

namespace {
// Time for a burst of changes on the disk to end before the lists follow.
constexpr int kSettleMs = 100;
} // namespace

FileBrowser::FileBrowser(QWidget& form, const QString& number) : QObject(&form), watcher_(this), settle_(this) {
    setObjectName(QStringLiteral("FileBrowser") + number);
    drives = MakeNamed<DriveListBox>(&form, QStringLiteral("Drive") + number);
    folders = MakeNamed<DirListBox>(&form, QStringLiteral("Dir") + number);
    files = MakeNamed<FileListBox>(&form, QStringLiteral("File") + number);
    {
        // Start in the current folder of the process, on its drive.
        QSignalBlocker block(drives);
        drives->setDrive(DriveListBox::driveOf(folders->path()));
    }
    files->setPath(folders->path());
    watchFolder();
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connectGuarded(drives, &DriveListBox::driveChanged, this, [this] { DriveChange(); });
    connectGuarded(folders, &DirListBox::pathChanged, this, [this] { DirChange(); });
    connectGuarded(files, &QListWidget::itemClicked, this, [this](QListWidgetItem*) {
        if (onFileClick) onFileClick();
    });
    connectGuarded(files, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) { FileDblClick(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
    connectGuarded(&settle_, &QTimer::timeout, this, [this](auto&&...) { followDisk(); });
}

void FileBrowser::DriveChange() {
    try {
        folders->setPath(drives->drive());
    } catch (...) {
        // The drive cannot be read: the list goes back to the folder's drive
        // and the error is shown.
        QSignalBlocker block(drives);
        drives->setDrive(DriveListBox::driveOf(folders->path()));
        throw;
    }
}

void FileBrowser::DirChange() {
    files->setPath(folders->path());
    watchFolder();
}

void FileBrowser::FileDblClick() {
    const QString path = JoinPath(folders->path(), files->fileName());
    if (!services().startEditor(path))
        services().messageBox(QStringLiteral("The editor could not be started for ") + path);
}

void FileBrowser::followDisk() {
    if (QFileInfo(folders->path()).isDir()) {
        folders->refresh();
        files->refresh();
        // A folder removed and made again under the same name is watched anew.
        watchFolder();
        return;
    }
    // The folder is gone: up to the nearest folder that is left.
    QString left = folders->path();
    while (!QFileInfo(left).isDir()) {
        const QString parent = QFileInfo(left).absolutePath();
        if (parent == left) break;
        left = parent;
    }
    folders->setPath(left);
}

void FileBrowser::watchFolder() {
    const QStringList watched = watcher_.directories();
    if (watched == QStringList{folders->path()}) return;
    if (!watched.isEmpty()) watcher_.removePaths(watched);
    watcher_.addPath(folders->path());
}

void FileBrowser::place(double width, double folderBottom, double fileHeight) {
    PlaceTwips(files, width, 0, width, fileHeight);
    const double driveHeight = PixelsToTwipsY(drives->sizeHint().height());
    PlaceTwips(folders, 0, driveHeight, width, folderBottom - driveHeight);
    PlaceTwips(drives, 0, 0, width, driveHeight);
}

} // namespace kelvara
