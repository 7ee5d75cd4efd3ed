#pragma once
// The file browser of the main form: the drive list Drive1 above the folder
// list Dir1, and the file list File1 beside them. Choosing a drive or folder
// fills the lists below it; a click on a file puts its name into the ELF
// page's file-name box, a double click opens the file in the editor.
#include <QObject>

#include "widgets/controls.h"

namespace kelvara {

class FileBrowser : public QObject {
    Q_OBJECT
public:
    // Builds the three lists on `form`, starting in the process's current
    // folder on its drive.
    explicit FileBrowser(QWidget& form);

    DriveListBox* Drive1 = nullptr;
    DirListBox* Dir1 = nullptr;
    FileListBox* File1 = nullptr;

private:
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void File1_DblClick();

    QWidget& form_;
};

} // namespace kelvara
