// The main form's own part of the file browser, and its two small windows:
// the about window and the web-address window.
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

void Form1::File1_Click() {
    // The name only, into the oscillator page's file-name box (hidden or not).
    if (auto* box = findChild<QLineEdit*>(QStringLiteral("txtELFFilename"))) box->setText(File1->fileName());
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
