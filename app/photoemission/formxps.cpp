#include "photoemission/formxps.h"

#include <QListWidget>
#include <algorithm>

#include "photoemission/geometry_sketch.h"
#include "photoemission/photoemission_page.h"
#include "platform/crlf.h"
#include "platform/errors.h"
#include "shared/file_browser.h"
#include "shared/oscillator_model.h"
#include "shared/plot_panel.h"
#include "shared/program_shell.h"
#include "shared/screen_warning.h"
#include "state/module1.h"
#include "widgets/guard.h"
#include "widgets/picturebox.h"
#include "widgets/services.h"
#include "widgets/twips.h"

namespace kelvara {

namespace {

// Room left between a container's controls and its edges.
constexpr int kContainerMargin = 2;

QLabel* StepLabel(QWidget* parent, const QString& name, const QString& text, int x, int y, int w) {
    auto* label = MakeNamed<QLabel>(parent, name, text);
    label->setGeometry(x, y, w, 22);
    return label;
}

} // namespace

QString formXPS::InfoText() {
    return QStringLiteral("Use q=1 (1 core hole)for XPS and q=2 for Auger (2 core holes)") + kCrLf +
           QStringLiteral("All units are in \u00C5 and eV. ") + kCrLf + kCrLf +
           QStringLiteral("The start energy is Ep and the energy loss T.") + kCrLf +
           QStringLiteral("The cross sections are those of the photoelectron model with core hole.");
}

formXPS::formXPS(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("formXPS"));
    setWindowTitle(QStringLiteral("XPS and AES"));
    setAutoFillBackground(true);
    hide();

    // The window's own file browser, starting in the process's current folder.
    browser_ = new FileBrowser(*this, QStringLiteral("2"));
    Drive2 = browser_->drives;
    Dir2 = browser_->folders;
    File2 = browser_->files;

    // The plot with its title box, areas box, marker lines and status bar.
    plotPanel_ = new PlotPanel(this, {QStringLiteral("picPlot_xps"), QStringLiteral("Text2_xps"),
                                      QStringLiteral("txt_XPS_Areas"), QStringLiteral("sbStatusBar_xps"),
                                      QStringLiteral("sbStatusBar_xps_Panel1")});
    picPlot_xps = plotPanel_->box;
    Text2_xps = plotPanel_->title;
    txt_XPS_Areas = plotPanel_->areas;

    // The frame of the calculation steps.
    framePhotoElectrons =
        MakeNamed<Frame>(this, QStringLiteral("framePhotoElectrons"), QStringLiteral("Photo and Auger Electrons"));
    Frame* f = framePhotoElectrons;
    StepLabel(f, QStringLiteral("Label1_xps"), QStringLiteral("1. Click ELF data file in filelist"), 8, 18, 240);
    StepLabel(f, QStringLiteral("Label2_xps"), QStringLiteral("2. Press button:"), 8, 42, 96);
    cmdReadELF_XPS = MakeButton(f, QStringLiteral("cmdReadELF_XPS"), QStringLiteral("Read ELF"), 106, 40, 72);
    txtELF_File_XPS = MakeNamed<TextBox>(f, QStringLiteral("txtELF_File_XPS"));
    txtELF_File_XPS->setGeometry(182, 41, 200, 24);
    StepLabel(f, QStringLiteral("Label3_xps"), QStringLiteral("3.  Set the parameters:"), 8, 66, 200);
    StepLabel(f, QStringLiteral("Label4_xps"), QStringLiteral("4. Press button:"), 254, 86, 128);
    cmdMainMenu = MakeButton(f, QStringLiteral("cmdMainMenu"), QStringLiteral("Main Menu"), 254, 172, 128);

    frameinfo_xps3_ = MakeNamed<Frame>(f, ArrayName(QStringLiteral("frameinfo_xps"), 3), QStringLiteral("Info"));
    // The sketch of the geometry under the info text, which sits in its
    // empty upper left part.
    sketch_xps = MakeNamed<GeometrySketch>(frameinfo_xps3_, QStringLiteral("sketch_xps"));
    txtinfo_xps3 = MakeNamed<InfoBox>(frameinfo_xps3_, ArrayName(QStringLiteral("txtinfo_xps"), 3));
    txtinfo_xps3->setText(InfoText());
    txtinfo_xps3->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    // The show frame (over the info frame once a calculation has run) and the
    // save frame, both hidden.
    framePlotDurmel = MakeNamed<Frame>(f, QStringLiteral("framePlotDurmel"), QStringLiteral("Plot"));
    framePlotDurmel->setAutoFillBackground(true);
    framePlotDurmel->hide();
    frameSave_xps3_ =
        MakeNamed<Frame>(this, ArrayName(QStringLiteral("frameSave_xps"), 3), QStringLiteral("Save the Cross Section"));
    frameSave_xps3_->setAutoFillBackground(true);
    frameSave_xps3_->hide();

    page_ = new PhotoemissionPage(*this);
    cmdCancel = MakeButton(framePlotDurmel, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), 134, 150, 104, 24);
    cmdCancel1 = frameSave_xps3_->findChild<QPushButton*>(QStringLiteral("cmdCancel1"));

    connectGuarded(cmdReadELF_XPS, &QPushButton::clicked, this, [this](bool) { cmdReadELF_XPS_Click(); });
    connectGuarded(cmdMainMenu, &QPushButton::clicked, this, [this](bool) { cmdMainMenu_Click(); });
    connectGuarded(cmdCancel, &QPushButton::clicked, this, [this](bool) { cmdCancel_Click(); });
}

Frame* formXPS::frameSave_xps(int i) const {
    if (i != 3) kelvara::raise(ErrorCode::SubscriptOutOfRange);
    return frameSave_xps3_;
}

Frame* formXPS::frameinfo_xps(int i) const {
    if (i != 3) kelvara::raise(ErrorCode::SubscriptOutOfRange);
    return frameinfo_xps3_;
}

void formXPS::Form_Load() {
    const double W = ScreenWidthTwips();
    const double H = ScreenHeightTwips();
    PlaceTwips(this, 0, 0, W, H);
    setVisible(true);

    // The frame runs past the right edge of the window; its controls sit in
    // its left part, the info frame beside them.
    PlaceTwips(framePhotoElectrons, 0.36 * W, 0, 0.95 * W, 0.29 * H);
    PlaceTwips(frameinfo_xps3_, 0.38 * W, 0.018 * H, 0.24 * W, 0.27 * H);
    const double fw = WidthTwips(frameinfo_xps3_);
    const double fh = HeightTwips(frameinfo_xps3_);
    PlaceTwips(txtinfo_xps3, 0.02 * fw, 0.08 * fh, 0.44 * fw, 0.33 * fh);
    PlaceTwips(sketch_xps, 0.02 * fw, 0.08 * fh, 0.96 * fw, 0.9 * fh);
    // The show frame takes the info frame's place when it opens.
    framePlotDurmel->setGeometry(frameinfo_xps3_->geometry());

    browser_->place(0.18 * W, 0.3 * H, 0.3 * H);

    const double pt = HeightTwips(File2);
    PlaceTwips(picPlot_xps, 0, pt, 0.99 * W, 0.88 * H - pt);

    // The save frame at the main form's places for its own save frames (a
    // screen below 12000 twips high takes the larger frame).
    const bool lowScreen = H < 12000.0;
    if (lowScreen)
        PlaceTwips(frameSave_xps3_, 0.2 * W, 0.02 * H, 0.4 * W, 0.3 * H);
    else
        PlaceTwips(frameSave_xps3_, 0.2 * W, 0.04 * H, 0.31 * W, 0.2 * H);
    // A container too small for its controls (a low screen) grows, never
    // shrinks, so that nothing is cut off.
    for (QWidget* container : {static_cast<QWidget*>(framePlotDurmel), static_cast<QWidget*>(frameinfo_xps3_),
                               static_cast<QWidget*>(framePhotoElectrons), static_cast<QWidget*>(frameSave_xps3_)})
        if (const QPoint inner = FitContainers(container, kContainerMargin); inner != QPoint(0, 0))
            container->resize(std::max(container->width(), inner.x() + kContainerMargin),
                              std::max(container->height(), inner.y() + kContainerMargin));
    // The plot below the frames (grown on a low screen), within what the
    // frame of the program shows; its title and areas boxes in a column
    // along its right edge that no curve reaches, as in the main window.
    int bottom = picPlot_xps->geometry().bottom() + 1;
    if (ShellExists()) bottom = std::min(bottom, Shell().visibleClientSize().height() - y() - kContainerMargin);
    plotPanel_->PlaceBelow(File2->height(), picPlot_xps->width(), bottom, {framePhotoElectrons, frameSave_xps3_});
    plotPanel_->SetTextColumnBelow(framePhotoElectrons);
    FitToClientArea(*this, kContainerMargin);
    // The warning is given once a start: the main form gives it when it
    // loads first.
    if (lowScreen && !lowScreenWarningGiven)
        WarnWhenShown(ShellExists() ? Shell().frameWindow() : this, LowScreenWarning());

    Module1::AutoScale = True;
    Text2_xps->hide();
    // The areas box shows with the first calculation's areas.
    txt_XPS_Areas->hide();
    Plot_xps().LinEnergy1->setVisible(false);
    Plot_xps().LinEnergy2->setVisible(false);
    framePhotoElectrons->raise();
    frameSave_xps3_->raise();
}

// ---- the window's surface ------------------------------------------------

PictureBox& formXPS::plotBox() { return *picPlot_xps; }
kelvara::Plot& formXPS::plotState() { return plotPanel_->plot; }
kelvara::Plot& formXPS::Plot_xps() { return plotPanel_->plot; }
InfoBox& formXPS::titleBox() { return *Text2_xps; }
InfoBox& formXPS::areasBox() { return *txt_XPS_Areas; }
QString formXPS::browserFolder() const { return Dir2->path(); }
QString formXPS::browserFileName() const { return File2->fileName(); }
void formXPS::refreshBrowser() { File2->refresh(); }
void formXPS::ClearPlot() { picPlot_xps->cls(); }
void formXPS::PlotLossFunction() { PlotELF_xps(); }

// ---- reading the model ----------------------------------------------------

void formXPS::cmdReadELF_XPS_Click() {
    if (!ReadELFForPage(*this, txtELF_File_XPS, nullptr)) return;
    // The main window's plot box is shown; the main window itself stays hidden.
    if (ShellExists()) Shell().ShowMainWindowPlot();
}

void formXPS::PlotELF_xps() {
    // The loss function on the window's fixed grid; the grid stays in Estep
    // and Emax until the next calculation.
    Module1::Estep = 0.2f;
    Module1::Emax = 100.0f;
    Plot_xps().RangeMode = false;
    PlotModelLossFunction(*this);
}

// ---- navigation -------------------------------------------------------------

void formXPS::cmdMainMenu_Click() { Shell().ReturnToMainWindow(); }

void formXPS::cmdCancel_Click() { framePlotDurmel->hide(); }

void formXPS::cmdCancel1_Click() { frameSave_xps3_->hide(); }

// ---- View menu --------------------------------------------------------------

void formXPS::mnuIncrease_Click() { plotPanel_->IncreasePen(); }

void formXPS::mnuDecrease_Click() { plotPanel_->DecreasePen(); }

void formXPS::mnuLargePlot_Click() {
    plotPanel_->LargeSize();
    FitToClientArea(*this, kContainerMargin);
}

void formXPS::mnuSmallPlot_Click() { plotPanel_->SmallSize(); }

void formXPS::mnuDefaultPlot_Click() { plotPanel_->DefaultSize(); }

} // namespace kelvara
