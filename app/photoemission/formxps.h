#pragma once
// The photoemission window "XPS and AES": a second full-screen view of the
// program, created and laid out while the main form loads and then hidden.
// Top left its own file browser (Drive2 above Dir2, File2 beside them); to
// the right the frame "Photo and Auger Electrons" with the steps of a
// calculation (read a model, set the parameters, calculate), the info frame,
// the show frame and the save frame; below them the window's plot with its
// title box, areas box and status bar. "Main Menu" goes back to the main
// window.
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "shared/window_surface.h"
#include "widgets/controls.h"

namespace kelvara {

class FileBrowser;
class GeometrySketch;
class PhotoemissionPage;
class PlotPanel;

class formXPS : public QWidget, public WindowSurface {
    Q_OBJECT
public:
    explicit formXPS(QWidget* parent = nullptr);
    // Load event: full-screen layout, then visible.
    void Form_Load();
    // Element i of the save-frame array (only element 3 exists).
    Frame* frameSave_xps(int i) const;
    // Element i of the info-frame array (only element 3 exists).
    Frame* frameinfo_xps(int i) const;

    // The window's surface for the shared parts.
    PictureBox& plotBox() override;
    kelvara::Plot& plotState() override;
    InfoBox& titleBox() override;
    InfoBox& areasBox() override;
    QString browserFolder() const override;
    QString browserFileName() const override;
    void refreshBrowser() override;
    void ClearPlot() override;
    void PlotLossFunction() override;

    // The photoemission plot state (Plot_xps).
    kelvara::Plot& Plot_xps();
    PhotoemissionPage& page() const { return *page_; }

    // Handlers.
    void cmdReadELF_XPS_Click();
    void cmdMainMenu_Click();
    void cmdCancel_Click();
    void cmdCancel1_Click();
    // The View menu while this window is in front: the pen width and the
    // size of this window's plot, as in the main window.
    void mnuIncrease_Click();
    void mnuDecrease_Click();
    void mnuLargePlot_Click();
    void mnuSmallPlot_Click();
    void mnuDefaultPlot_Click();

    DriveListBox* Drive2 = nullptr;
    DirListBox* Dir2 = nullptr;
    FileListBox* File2 = nullptr;
    Frame* framePhotoElectrons = nullptr;
    QPushButton* cmdReadELF_XPS = nullptr;
    TextBox* txtELF_File_XPS = nullptr;
    QPushButton* cmdMainMenu = nullptr;
    InfoBox* txtinfo_xps3 = nullptr;
    GeometrySketch* sketch_xps = nullptr; // the geometry, in the info frame
    Frame* framePlotDurmel = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdCancel1 = nullptr;
    PictureBox* picPlot_xps = nullptr;
    InfoBox* Text2_xps = nullptr;
    InfoBox* txt_XPS_Areas = nullptr;

    // Set before the load when the program has already given the low-screen
    // warning at this start (the main form loads first and gives it).
    bool lowScreenWarningGiven = false;

    // The info text of the window.
    static QString InfoText();

private:
    // The loss-function plot of the model just read, on the grid 0.2 eV to
    // 100 eV.
    void PlotELF_xps();

    Frame* frameSave_xps3_ = nullptr;
    Frame* frameinfo_xps3_ = nullptr;
    FileBrowser* browser_ = nullptr;
    PlotPanel* plotPanel_ = nullptr;
    PhotoemissionPage* page_ = nullptr;
};

} // namespace kelvara
