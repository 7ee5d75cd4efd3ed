// The file browser of the main form and the two small windows it opens.
#include <QComboBox>
#include <QDir>

#include "main/form1.h"
#include "main/formabout.h"
#include "main/forms.h"
#include "main/frmbrowser.h"
#include "shared/program_shell.h"
#include "widgets/services.h"
#include "widgets/twips.h"

namespace kelvara {

void Form1::Drive1_Change() {
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

void Form1::Dir1_Change() { File1->setPath(Dir1->path()); }

void Form1::File1_Click() {
    if (auto* box = findChild<QLineEdit*>(QStringLiteral("txtELFFilename"))) box->setText(File1->fileName());
}

void Form1::File1_DblClick() {
    const QString path = JoinPath(Dir1->path(), File1->fileName());
    if (!services().startEditor(path)) services().messageBox(QStringLiteral("The editor could not be started for ") + path);
}

void Form1::ShowAbout() {
    formAbout& about = Forms::formAbout();
    about.show();
    about.raise();
    about.activateWindow();
}

void Form1::ShowWebBrowser() {
    frmBrowser& browser = Forms::frmBrowser();
    browser.show();
    QWidget& frame = *Shell().frameWindow();
    const auto place = [](QWidget* w) {
        w->setGeometry(TwipsToPixelsX(100), TwipsToPixelsY(100), TwipsToPixelsX(12000), TwipsToPixelsY(10000));
    };
    place(&frame);
    place(&browser);
    browser.cboAddress->setEditText(QStringLiteral("http://www.example.org/"));
    browser.cboAddress->setFocus();
    browser.setWindowState(Qt::WindowMaximized);
    frame.setWindowState(Qt::WindowNoState);
    browser.show();
}

} // namespace kelvara
