#pragma once
// The file browser of both windows: a drive list above a folder list, and the
// file list beside them (Drive1/Dir1/File1 on the main form, Drive2/Dir2/File2
// on the photoemission window). Choosing a drive or folder fills the lists
// below it; a double click on a file opens it in the editor; what a single
// click does is the window's. The lists follow the disk: a file or folder
// made, renamed or removed by another program shows at once, and when the
// folder itself goes the browser moves up to the nearest folder that is left.
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>

#include "widgets/controls.h"

namespace kelvara {

class FileBrowser : public QObject {
    Q_OBJECT
public:
    // Builds the three lists on `form`, named "Drive", "Dir" and "File"
    // followed by `number`, starting in the process's current folder on its
    // drive.
    FileBrowser(QWidget& form, const QString& number);

    DriveListBox* drives = nullptr;
    DirListBox* folders = nullptr;
    FileListBox* files = nullptr;

    // Runs on a single click on a file (the window's own handler).
    std::function<void()> onFileClick;

    // Lists the folder again as the disk holds it now.
    void followDisk();

    // Lays the lists out at the window's top left (twips): the folder list
    // `width` wide under the drive list down to `folderBottom`, the file list
    // beside them, `fileHeight` high.
    void place(double width, double folderBottom, double fileHeight);

private:
    void DriveChange();
    void DirChange();
    void FileDblClick();
    void watchFolder();

    QFileSystemWatcher watcher_;
    // Many changes in a row (a program writing several files) list the
    // folder once.
    QTimer settle_;
};

} // namespace kelvara
