#include "main/mdiform1.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>

#include "main/form1.h"
#include "main/formabout.h"
#include "main/frmbrowser.h"
#include "main/forms.h"
#include "platform/guard.h"

namespace kelvara {

MDIForm1::MDIForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Kelvara"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("MDIClient"));
    scroll_->setWidgetResizable(false);
    client_ = new QWidget;
    client_->setObjectName(QStringLiteral("MDIClientArea"));
    scroll_->setWidget(client_);
    setCentralWidget(scroll_);

    mnuFile_ = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile_->setObjectName(QStringLiteral("mnuFile"));
    QAction* exit = mnuFile_->addAction(QStringLiteral("&Exit"));
    exit->setObjectName(QStringLiteral("mnuExit"));
    connectGuarded(exit, &QAction::triggered, this, [this](bool) { mnuExit_Click(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&About"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* about = help->addAction(QStringLiteral("&Copyright"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    connectGuarded(about, &QAction::triggered, this, [this](bool) { mnuAbout_Click(); });

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        setGeometry(avail);
        setClientSize(screen->size().width(), screen->size().height());
    }
}

void MDIForm1::setClientSize(int width, int height) { client_->resize(width, height); }

void MDIForm1::Form_Load() {
    // Making the main form visible loads it first.
    Form1& form = Forms::Form1();
    form.show();
}

void MDIForm1::Unload() {
    // Every other window of the program closes with the frame.
    if (Forms::formAboutExists()) Forms::formAbout().close();
    if (Forms::frmBrowserExists()) Forms::frmBrowser().close();
    close();
    QCoreApplication::quit();
}

void MDIForm1::mnuExit_Click() { Forms::MDIForm1().Unload(); }

void MDIForm1::mnuAbout_Click() { Forms::Form1().ShowAbout(); }

} // namespace kelvara
