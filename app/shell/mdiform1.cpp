#include "shell/mdiform1.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>

#include "main/form1.h"
#include "main/formabout.h"
#include "main/frmbrowser.h"
#include "photoemission/formxps.h"
#include "shell/forms.h"
#include "widgets/guard.h"

namespace kelvara {

MDIForm1::MDIForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Kelvara"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    RegisterShell(this);

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

    BuildViewMenu();

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

MDIForm1::~MDIForm1() { UnregisterShell(this); }

void MDIForm1::BuildViewMenu() {
    mnuView_ = menuBar()->addMenu(QStringLiteral("&View"));
    mnuView_->setObjectName(QStringLiteral("mnuView"));
    // Each item acts on the window in front: the photoemission window while
    // it is shown, the main form otherwise. An item without a handler of the
    // photoemission window is disabled while that window is in front.
    using MainHandler = void (Form1::*)();
    using XpsHandler = void (formXPS::*)();
    const auto item = [this](QMenu* menu, const char* name, const char* caption, MainHandler main, XpsHandler xps) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        if (!xps) mainOnly_.append(a);
        connectGuarded(a, &QAction::triggered, this, [main, xps](bool) {
            if (PhotoemissionInFront()) {
                if (xps) (Forms::formXPS().*xps)();
            } else {
                (Forms::Form1().*main)();
            }
        });
    };
    QMenu* pointSize = mnuView_->addMenu(QStringLiteral("Set&Pointsize"));
    pointSize->setObjectName(QStringLiteral("mnuSetPointsize"));
    item(pointSize, "mnuIncrease", "&Increase", &Form1::mnuIncrease_Click, &formXPS::mnuIncrease_Click);
    item(pointSize, "mnuDecrease", "&Decrease", &Form1::mnuDecrease_Click, &formXPS::mnuDecrease_Click);
    QMenu* screenSize = mnuView_->addMenu(QStringLiteral("ScreenSize"));
    screenSize->setObjectName(QStringLiteral("mnuScreenSize"));
    item(screenSize, "mnuLargePlot", "&LargePlot", &Form1::mnuLargePlot_Click, &formXPS::mnuLargePlot_Click);
    item(screenSize, "mnuSmallPlot", "&SmallPlot", &Form1::mnuSmallPlot_Click, &formXPS::mnuSmallPlot_Click);
    item(screenSize, "mnuDefaultPlot", "&DefaultPlot", &Form1::mnuDefaultPlot_Click, &formXPS::mnuDefaultPlot_Click);
    item(mnuView_, "mnuPlotIntermediateSpectra", "Plot Intermediate Spectra", &Form1::mnuPlotIntermediateSpectra_Click,
         nullptr);
    connect(mnuView_, &QMenu::aboutToShow, this, [this] { EnableViewItems(); });
}

bool MDIForm1::PhotoemissionInFront() { return Forms::formXPSExists() && !Forms::formXPS().isHidden(); }

void MDIForm1::EnableViewItems() {
    const bool main = !PhotoemissionInFront();
    for (QAction* a : mainOnly_) a->setEnabled(main);
}

void MDIForm1::setClientSize(int width, int height) { client_->resize(width, height); }

QSize MDIForm1::visibleClientSize() const {
    if (isVisible()) return scroll_->maximumViewportSize();
    // Before the frame is shown: its size less the menu bar and the frame of
    // the scrolling area.
    const int frame = 2 * scroll_->frameWidth();
    return {width() - frame, height() - menuBar()->sizeHint().height() - frame};
}

void MDIForm1::Form_Load() {
    // Making the main form visible loads it first.
    Form1& form = Forms::Form1();
    form.show();
    formXPS& xps = Forms::formXPS();
    xps.hide();
}

void MDIForm1::ShowPhotoemissionWindow() {
    formXPS& xps = Forms::formXPS();
    xps.show();
    xps.raise();
    EnableViewItems();
}

void MDIForm1::ReturnToMainWindow() {
    if (Forms::formXPSExists()) Forms::formXPS().hide();
    Form1& form = Forms::Form1();
    form.show();
    form.option(5)->clear();
    EnableViewItems();
}

void MDIForm1::ShowMainWindowPlot() { Forms::Form1().picPlot->show(); }

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
