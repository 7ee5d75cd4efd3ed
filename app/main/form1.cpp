#include "main/form1.h"

#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QResizeEvent>
#include <QTimer>

#include <algorithm>
#include <utility>

#include "main/elf_page.h"
#include "main/forms.h"
#include "main/frmsmooth.h"
#include "main/joining_panel.h"
#include "shared/file_browser.h"
#include "shared/page_controls.h"
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
const char* const kPageCaptions[Form1::kPages] = {
    "Electron backscattered from a surface. Normal incidence and exit angles",
    "ELECTRON TRAVELLING IN AN INFINITE MEDIUM",
    "ELECTRON PASSING THROUGH A THIN FILM",
    "Electron backscattered from a surface. Any incidence and exit angles",
    "ELF data",
};

// Room left between a container's content and its edges.
constexpr int kContentMargin = 6;

} // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kelvara"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);

    BuildBrowser();
    CreatePicPlot();
    BuildPagesFrames();
    BuildPanels();
    BuildStartMenu();
    BuildPlotPanels();
    BuildPages();
    EnsureDefaultControls();
}

Frame* Form1::page(int i) const { return frame2_.at(static_cast<std::size_t>(i)); }
Frame* Form1::frameinfo(int i) const { return frameinfo_.at(static_cast<std::size_t>(i)); }
InfoBox* Form1::txtinfo(int i) const { return txtinfo_.at(static_cast<std::size_t>(i)); }
Frame* Form1::frameSave(int i) const { return frameSave_.at(static_cast<std::size_t>(i)); }
OptionButton* Form1::option(int n) const { return options_.at(static_cast<std::size_t>(n)); }

// ---- construction --------------------------------------------------------

void Form1::BuildBrowser() {
    browser_ = new FileBrowser(*this, QStringLiteral("1"));
    Drive1 = browser_->drives;
    Dir1 = browser_->folders;
    File1 = browser_->files;
    browser_->onFileClick = [this] { File1_Click(); };
}

void Form1::CreatePicPlot() {
    plotPanel_ = new PlotPanel(this, {QStringLiteral("picPlot"), QStringLiteral("Text2"), QStringLiteral("txtAreas"),
                                      QStringLiteral("sbStatusBar"), QStringLiteral("sbStatusBarPanel1")});
    picPlot = plotPanel_->box;
    Text2 = plotPanel_->title;
    txtAreas = plotPanel_->areas;
    sbStatusBar = plotPanel_->statusBar;
    sbStatusBarPanel1 = plotPanel_->statusPanel;
    // The title box shows whenever it holds a title, over the curve of the
    // page that wrote it.
    connect(Text2, &QPlainTextEdit::textChanged, this, [this] { Text2->setVisible(!Text2->text().isEmpty()); });
}

void Form1::BuildPagesFrames() {
    for (int i = 0; i < kPages; ++i) {
        auto* page =
            MakeNamed<Frame>(this, ArrayName(QStringLiteral("frame2"), i), QString::fromUtf8(kPageCaptions[i]));
        page->setAutoFillBackground(true);
        frame2_[static_cast<std::size_t>(i)] = page;
        auto* info = MakeNamed<Frame>(page, ArrayName(QStringLiteral("frameinfo"), i), QStringLiteral("Info"));
        frameinfo_[static_cast<std::size_t>(i)] = info;
        auto* box = MakeNamed<InfoBox>(info, ArrayName(QStringLiteral("txtinfo"), i));
        txtinfo_[static_cast<std::size_t>(i)] = box;
    }
    // "Main menu" of each page, at the page's lower left corner.
    const int y = 230;
    connectGuarded(MakeButton(page(0), QStringLiteral("Command12"), QStringLiteral("Main menu"), 10, y, 90),
                   &QPushButton::clicked, this, [this](bool) { Command12_Click(); });
    connectGuarded(MakeButton(page(1), QStringLiteral("Command6"), QStringLiteral("Main menu"), 10, y, 90),
                   &QPushButton::clicked, this, [this](bool) { Command6_Click(); });
    connectGuarded(MakeButton(page(2), QStringLiteral("Command10"), QStringLiteral("Main menu"), 10, y, 90),
                   &QPushButton::clicked, this, [this](bool) { Command10_Click(); });
    connectGuarded(MakeButton(page(3), QStringLiteral("Command11"), QStringLiteral("Main menu"), 10, y, 90),
                   &QPushButton::clicked, this, [this](bool) { Command11_Click(); });
    connectGuarded(
        MakeButton(page(4), ArrayName(QStringLiteral("cmdCancelELF"), 0), QStringLiteral("Main menu"), 10, y, 90),
        &QPushButton::clicked, this, [this](bool) { cmdCancelELF_Click(0); });
}

void Form1::BuildPanels() {
    // Save frames: 0 on page 0, 3 on page 3, 1 and 2 on the form.
    QWidget* saveParents[kSaveFrames] = {page(0), this, this, page(3)};
    for (int i = 0; i < kSaveFrames; ++i) {
        auto* f = MakeNamed<Frame>(saveParents[i], ArrayName(QStringLiteral("frameSave"), i),
                                   QStringLiteral("Save the Cross Section"));
        f->setAutoFillBackground(true);
        frameSave_[static_cast<std::size_t>(i)] = f;
    }
    connectGuarded(MakeButton(frameSave(0), QStringLiteral("Command16"), QStringLiteral("Cancel"), 10, 150, 90),
                   &QPushButton::clicked, this, [this](bool) { Command16_Click(); });
    connectGuarded(MakeButton(frameSave(1), QStringLiteral("Command9"), QStringLiteral("Cancel"), 10, 150, 90),
                   &QPushButton::clicked, this, [this](bool) { Command9_Click(); });
    connectGuarded(MakeButton(frameSave(2), QStringLiteral("Command14"), QStringLiteral("Cancel"), 10, 150, 90),
                   &QPushButton::clicked, this, [this](bool) { Command14_Click(); });
    connectGuarded(MakeButton(frameSave(3), QStringLiteral("cmdCancel1"), QStringLiteral("Cancel"), 10, 150, 90),
                   &QPushButton::clicked, this, [this](bool) { cmdCancel1_Click(); });
    connectGuarded(MakeButton(frameSave(3), QStringLiteral("Command8"), QStringLiteral("Cancel"), 110, 150, 90),
                   &QPushButton::clicked, this, [this](bool) { Command8_Click(); });

    // Joining panel on page 0.
    joining_ = new JoiningPanel(*this, page(0));
    Frame1 = joining_->Frame1;
    Text1 = joining_->Text1;
    Text3 = joining_->Text3;
    Text4 = joining_->Text4;
    cboIncr1 = joining_->cboIncr1;

    Frame3 = MakeNamed<Frame>(this, QStringLiteral("Frame3"), QStringLiteral("Plot Intermediate Spectra"));
    Frame3->setAutoFillBackground(true);
    connectGuarded(MakeButton(Frame3, QStringLiteral("Command4"), QStringLiteral("Exit"), 10, 200, 90),
                   &QPushButton::clicked, this, [this](bool) { Command4_Click(); });

    framePlotRange =
        MakeNamed<Frame>(this, QStringLiteral("framePlotRange"), QStringLiteral("Set Max Energy in rivmer plot"));
    framePlotRange->setAutoFillBackground(true);
    frameYmax = MakeNamed<Frame>(this, QStringLiteral("frameYmax"), QStringLiteral("Set Ymax of rivmer plot"));
    frameYmax->setAutoFillBackground(true);
    connectGuarded(MakeButton(frameYmax, QStringLiteral("Command5"), QStringLiteral("Exit"), 10, 200, 90),
                   &QPushButton::clicked, this, [this](bool) { Command5_Click(); });

    Line6 = MakeNamed<LineControl>(this, QStringLiteral("Line6"), Qt::Horizontal);
}

void Form1::BuildStartMenu() {
    Frame4 = MakeNamed<Frame>(this, QStringLiteral("Frame4"), QStringLiteral("Select from the list below"));
    Frame4->setAutoFillBackground(true);
    struct Choice {
        int n;
        const char* caption;
    };
    const Choice order[6] = {
        {6, "Set Material Parameters"},
        {1, "Electron travelling in a homogeneous isotropic medium"},
        {3, "Electron passing through a thin film"},
        {2, "Electron reflected from a surface. Normal incidence and exit angles"},
        {4, "Electron reflected from a surface. Any incidence and exit angle"},
        {5, "Photon- and Auger excited electrons"},
    };
    for (int k = 0; k < 6; ++k) {
        const int n = order[k].n;
        auto* b =
            MakeNamed<OptionButton>(Frame4, QStringLiteral("Option%1").arg(n), QString::fromUtf8(order[k].caption));
        b->setGeometry(20, 36 + k * 34, 560, 28);
        options_[static_cast<std::size_t>(n)] = b;
    }
    connectGuarded(option(1), &OptionButton::chosen, this, [this] { Option1_Click(); });
    connectGuarded(option(2), &OptionButton::chosen, this, [this] { Option2_Click(); });
    connectGuarded(option(3), &OptionButton::chosen, this, [this] { Option3_Click(); });
    connectGuarded(option(4), &OptionButton::chosen, this, [this] { Option4_Click(); });
    connectGuarded(option(5), &OptionButton::chosen, this, [this] { Option5_Click(); });
    connectGuarded(option(6), &OptionButton::chosen, this, [this] { Option6_Click(); });

    auto* infoFrame = MakeNamed<Frame>(Frame4, QStringLiteral("frameStartInfo"), QStringLiteral("Information"));
    infoFrame->setGeometry(20, 250, 560, 110);
    auto* note = new QLabel(QStringLiteral("Choose a geometry above. Each page has a \"Main menu\" button that "
                                           "brings you back here. Double click a folder in the folder list to open "
                                           "it; click a file in the file list to select it, double click it to "
                                           "edit it."),
                            infoFrame);
    note->setObjectName(QStringLiteral("lblStartInfo"));
    note->setWordWrap(true);
    note->setGeometry(10, 22, 420, 80);
    connectGuarded(
        MakeButton(infoFrame, QStringLiteral("cmd_AboutTORVIK"), QStringLiteral("About Kelvara"), 440, 40, 110, 30),
        &QPushButton::clicked, this, [this](bool) { cmd_AboutTORVIK_Click(); });
    connectGuarded(MakeButton(Frame4, QStringLiteral("cmdExitMain"), QStringLiteral("Exit"), 20, 375, 100, 30),
                   &QPushButton::clicked, this, [this](bool) { cmdExitMain_Click(); });
}

void Form1::EnsureDefaultControls() {
    // The oscillator page's file-name box, which the file browser fills.
    if (!findChild<QLineEdit*>(QStringLiteral("txtELFFilename"))) {
        auto* label = new QLabel(QStringLiteral("File name"), page(4));
        label->setGeometry(10, 30, 70, 24);
        auto* box = MakeNamed<TextBox>(page(4), QStringLiteral("txtELFFilename"));
        box->setGeometry(85, 30, 200, 24);
    }
}

// ---- start-up ------------------------------------------------------------

void Form1::ColorSmoothingFrame() {
    frmSmooth& smooth = Forms::frmSmooth();
    QPalette pal = smooth.frameSmooth->palette();
    pal.setColor(QPalette::Window, QColor(0, 128, 128));
    smooth.frameSmooth->setPalette(pal);
    smooth.frameSmooth->setAutoFillBackground(true);
}

void Form1::PlaceSaveFrames(bool lowScreen) {
    const double W = Module1::ScrWidth;
    const double H = Module1::ScrHeight;
    if (!lowScreen) {
        PlaceTwips(frameSave(0), 0.2 * W, 0.04 * H, 0.31 * W, 0.2 * H);
        PlaceTwips(frameSave(1), 0.6 * W, 0.04 * H, 0.27 * W, 0.2 * H);
        PlaceTwips(frameSave(2), 0.6 * W, 0.04 * H, 0.27 * W, 0.2 * H);
        PlaceTwips(frameSave(3), 0.2 * W, 0.04 * H, 0.31 * W, 0.2 * H);
    } else {
        PlaceTwips(frameSave(0), 0.1 * W, 0.02 * H, 0.4 * W, 0.3 * H);
        PlaceTwips(frameSave(1), 0.55 * W, 0.02 * H, 0.4 * W, 0.3 * H);
        PlaceTwips(frameSave(2), 0.55 * W, 0.02 * H, 0.4 * W, 0.3 * H);
        PlaceTwips(frameSave(3), 0.2 * W, 0.02 * H, 0.4 * W, 0.3 * H);
    }
    // A hidden frame gets its resize event only when it is shown: the
    // frames' contents are fitted to the new sizes now.
    for (int i = 0; i < kSaveFrames; ++i) {
        QResizeEvent resized(frameSave(i)->size(), QSize());
        QCoreApplication::sendEvent(frameSave(i), &resized);
    }
}

void Form1::Form_Load() {
    namespace M = Module1;
    ColorSmoothingFrame();

    M::ScrHeight = static_cast<float>(ScreenHeightTwips());
    M::ScrWidth = static_cast<float>(ScreenWidthTwips());
    const double W = M::ScrWidth;
    const double H = M::ScrHeight;

    PlaceTwips(this, LeftTwips(this), 0, W, H);
    Shell().setClientSize(width(), height());
    setVisible(true);

    for (int i = 0; i < kPages; ++i) page(i)->hide();
    Line6->hide();
    for (int i = 0; i <= 2; ++i) frameSave(i)->hide();
    Frame1->hide();
    Forms::frmSmooth().frameSmooth->hide();

    Frame4->raise();
    PlaceTwips(Frame4, 0.4 * W, 0, 0.7 * W, 0.7 * H);

    for (int i = 0; i < kPages; ++i) {
        PlaceTwips(page(i), 0.36 * W, 0, 0.95 * W, 0.295 * H);
        PlaceTwips(frameinfo(i), 0.38 * W, 0.018 * H, 0.24 * W, 0.27 * H);
        const double fw = WidthTwips(frameinfo(i));
        const double fh = HeightTwips(frameinfo(i));
        PlaceTwips(txtinfo(i), 0.02 * fw, 0.055 * fh, 0.44 * fw, 0.33 * fh);
    }

    PlaceTwips(Forms::frmSmooth().frameSmooth, 0.36 * W, 0, 0.63 * W, 0.29 * H);

    for (int i = 0; i < kSaveFrames; ++i) frameSave(i)->hide();
    PlaceSaveFrames(false);

    PlaceTwips(Frame3, 0.4 * W, 0, 0.5 * W, 0.32 * H);
    browser_->place(0.18 * W, 0.31 * H, 0.3 * H);

    const double pt = HeightTwips(File1);
    PlaceTwips(picPlot, 0, pt, 0.99 * W, 0.88 * H - pt);

    if (H < 12000.0) {
        WarnWhenShown(LowScreenWarning());
        PlaceSaveFrames(true);
        raiseNamed(QStringLiteral("frameCheckSumRules"));
    }

    M::AutoScale = True;

    PlaceTwips(framePlotRange, 0.4 * W, 0.01 * H, 0.3 * W, 0.3 * H);
    PlaceTwips(frameYmax, 0.4 * W, 0.01 * H, 0.3 * W, 0.3 * H);

    Text2->hide();

    Text1->setText(QStringLiteral("3"));
    Text3->setText(QStringLiteral("10"));
    Text4->setText(QStringLiteral("25"));

    framePlotRange->hide();
    frameYmax->hide();
    Frame3->hide();
    plot().LinEnergy1->setVisible(false);
    plot().LinEnergy2->setVisible(false);
    plot().RangeMode = false;

    const int16_t steps[7] = {200, 100, 50, 20, 10, 5, 1};
    for (int i = 0; i <= 6; ++i) M::StepTable(i) = steps[i];

    // Stacking: the pages, then the panels that open over them, then the
    // start menu in front.
    for (int i = 0; i < kPages; ++i) page(i)->raise();
    for (QWidget* w :
         {static_cast<QWidget*>(frameSave(1)), static_cast<QWidget*>(frameSave(2)), static_cast<QWidget*>(Frame3),
          static_cast<QWidget*>(framePlotRange), static_cast<QWidget*>(frameYmax)})
        w->raise();
    Frame4->raise();

    emit layoutDone();
    // On a low screen the pages and panels grow with their controls: the plot
    // moves down below them.
    FitContainers(this, kContentMargin);
    PlacePlotBelowPanels();
    KeepControlsReachable();
}

void Form1::PlacePlotBelowPanels() {
    // The plot ends where the start-up layout puts its bottom, or above the
    // bottom of what the frame shows without scrolling.
    int bottom = picPlot->geometry().bottom() + 1;
    if (ShellExists()) bottom = std::min(bottom, Shell().visibleClientSize().height() - y() - kContentMargin);
    plotPanel_->PlaceBelow(
        File1->height(), picPlot->width(), bottom,
        {page(0), page(1), page(2), page(3), page(4), frameSave(1), frameSave(2), Frame3, framePlotRange, frameYmax});
    // The title and areas boxes in a column at the plot's right edge, clear
    // of every curve (shared/plot_panel.h).
    KeepPlotBoxesClearOf(nullptr);
    // The line above the plot area.
    Line6->setGeometry(0, picPlot->y() - 2, picPlot->width(), 2);
}

void Form1::KeepControlsReachable() {
    // The form fills what the frame shows; on a screen too small for the
    // layout fractions a container may be smaller than the controls it
    // holds, or the form smaller than the controls of its containers: they
    // grow (never shrink) so that nothing is cut off, and the start-up frame
    // scrolls over a form larger than its window.
    FitToClientArea(*this, kContentMargin);
}

// ---- helpers -------------------------------------------------------------

void Form1::KeepPlotBoxesClearOf(const QWidget* cover) {
    // A page over the top margin of the plot would hide the first lines of
    // the title box: the column starts below it. None (the start menu): at
    // the top of the plot.
    plotPanel_->SetTextColumnBelow(cover);
}

void Form1::WarnWhenShown(const QString& message) {
    kelvara::WarnWhenShown(ShellExists() ? Shell().frameWindow() : window(), message);
}

void Form1::hideNamed(const QString& name) {
    if (QWidget* w = findChild<QWidget*>(name)) w->hide();
}

void Form1::raiseNamed(const QString& name) {
    if (QWidget* w = findChild<QWidget*>(name)) w->raise();
}

void Form1::ClearPlot() {
    picPlot->cls();
    // The read-out of a curve that is no longer shown goes with it.
    sbStatusBarPanel1->clear();
    emit plotCleared();
}

kelvara::Plot& Form1::plot() { return plotPanel_->plot; }

QString Form1::browserFolder() const { return Dir1->path(); }
QString Form1::browserFileName() const { return File1->fileName(); }
void Form1::refreshBrowser() { File1->refresh(); }
void Form1::PlotLossFunction() {
    try {
        cmdPlotELF_Click(*this);
    } catch (const BoxValueError& e) {
        // The ELF page's grid boxes: the model itself was read.
        services().messageBox(e.message());
    }
}

} // namespace kelvara
