#pragma once
// Form1: the main form. It works like a menu with five pages.
//
// What Form1 owns: the containers and the navigation between them - the start
// menu Frame4 with its six option buttons, the pages frame2_0..frame2_4 (each
// with its info frame frameinfo_i and info box txtinfo_i and its "Main menu"
// button), the save frames frameSave_0..frameSave_3 (with their "Cancel"
// buttons), Frame3, framePlotRange, frameYmax and the line Line6. Its parts
// live in classes of their own: the joining panel Frame1 (joining_panel.h),
// the file browser Drive1/Dir1/File1 (shared/file_browser.h), the plot panel picPlot
// with Text2 and txtAreas inside it (shared/plot_panel.h) and the page
// navigator (page_navigator.h, one table row per page). Form1 is the main
// window's surface for the shared parts (shared/window_surface.h). Every
// control carries its name as object name; element i of a control array is
// named "name_i", so anything can be found with findChild<T*>("name_i").
//
// How to add the contents of a page (or a panel):
//  1. A calculation page is one file pair deriving from CalcPage
//     (shared/calc_page.h tells what it states); another page or panel is a
//     class in its own file, e.g. app/main/elf_page.h/.cpp:
//       class ElfPage : public QObject {
//       public: explicit ElfPage(Form1& form);   // parent: &form
//       };
//     Inside the constructor use the Form1& it receives, never Forms::Form1()
//     (the form reference is set only once the constructor has returned).
//     Its constructor builds the page's controls as children of form.page(4)
//     (or form.frameSave(3), form.Frame3, ...), gives every control its object
//     name and connects each handler with connectGuarded() (widgets/guard.h)
//     so that no run-time error can end the program.
//  2. Add one line to Form1::BuildPages() in form1_pages.cpp:
//       new Model96Page(*this);
//  3. Controls placed by the start-up layout (screen fractions) are placed in
//     Form1::Form_Load; a page that needs to place its own controls after the
//     layout connects to the signal layoutDone(). After the layoutDone()
//     handlers have run, every container smaller than the controls it holds
//     (a screen too small for the layout fractions) is grown, and the form
//     with it, so that no control is cut off.
//  Controls that a page owns but that the navigation touches (Line2_0, Line2_2,
//  frameshowIMFP_0, frameCheckSumRules, LinEnergy1, LinEnergy2) are looked up
//  by object name; when they are absent the navigation step is skipped. The
//  handler cmdCancelShowIMFP_Click() is here for the page that creates
//  frameshowIMFP_0 and its "Cancel" button to connect.
//
// picPlot is created in one function, CreatePicPlot(), as the main window's
// plot panel (shared/plot_panel.h: picture box, Text2 and txtAreas inside it,
// status bar, plot state and read-out).
#include <QWidget>
#include <array>

#include "main/page_navigator.h"
#include "platform/checked_array.h"
#include "shared/plot.h"
#include "shared/window_surface.h"
#include "widgets/controls.h"
#include "widgets/picturebox.h"

class QComboBox;
class QLabel;
class QStatusBar;

namespace kelvara {

class FileBrowser;
class PlotPanel;
class JoiningPanel;

class Form1 : public QWidget, public WindowSurface {
    Q_OBJECT
public:
    static constexpr int kPages = 5;
    static constexpr int kSaveFrames = 4;

    explicit Form1(QWidget* parent = nullptr);

    // Load event: start-up layout and defaults.
    void Form_Load();

    // Containers.
    Frame* page(int i) const;          // frame2_i, i = 0..4
    Frame* frameinfo(int i) const;     // inside page i
    InfoBox* txtinfo(int i) const;     // inside frameinfo i
    Frame* frameSave(int i) const;     // frameSave_i, i = 0..3
    OptionButton* option(int n) const; // Option1..Option6

    Frame* Frame4 = nullptr;         // start menu
    Frame* Frame1 = nullptr;         // "Adjust parameters" (on page 0)
    Frame* Frame3 = nullptr;         // "Plot Intermediate Spectra"
    Frame* framePlotRange = nullptr; // "Set Max Energy in rivmer plot"
    Frame* frameYmax = nullptr;      // "Set Ymax of rivmer plot"
    // The file browser's lists (shared/file_browser.h).
    DriveListBox* Drive1 = nullptr;
    DirListBox* Dir1 = nullptr;
    FileListBox* File1 = nullptr;
    PictureBox* picPlot = nullptr; // the plot area
    InfoBox* Text2 = nullptr;      // plot title box (several lines), inside picPlot
    InfoBox* txtAreas = nullptr;   // areas box, inside picPlot
    // The joining panel (joining_panel.h) and its boxes.
    JoiningPanel& joining() { return *joining_; }
    TextBox* Text1 = nullptr; // Es, in Frame1
    TextBox* Text3 = nullptr; // En1, in Frame1
    TextBox* Text4 = nullptr; // En2, in Frame1
    LineControl* Line6 = nullptr;

    // ---- used by the pages, the start-up frame's menus and the other windows
    void cmdCancelShowIMFP_Click(); // "Cancel" in frameshowIMFP_0
    void ShowAbout();
    void ShowWebBrowser();

    // ---- the window's surface for the shared parts (shared/window_surface.h)
    // Clears the plot area (the picture box's Cls) and tells plotCleared().
    void ClearPlot() override;
    // The main window's plot state (read-out, savers, printout).
    kelvara::Plot& plotState() override { return plot(); }
    PictureBox& plotBox() override { return *picPlot; }
    InfoBox& titleBox() override { return *Text2; }
    InfoBox& areasBox() override { return *txtAreas; }
    QString browserFolder() const override;
    QString browserFileName() const override;
    void refreshBrowser() override;
    // "Plot ELF" on the grid of the ELF page's boxes.
    void PlotLossFunction() override;

    // The info texts the options put into the info boxes.
    static QString InfoText(int page);

    // ---- plot: read-out, panels, step control, view menu (form1_plot.cpp)
    QStatusBar* sbStatusBar = nullptr;   // inside picPlot, along its bottom (plot panel)
    QLabel* sbStatusBarPanel1 = nullptr; // its first panel: the cursor read-out
    QComboBox* cboIncr1 = nullptr;       // Es step, in Frame1 (joining panel)
    TextBox* txtYmax = nullptr;          // in frameYmax
    OptionButton* otpNewRange = nullptr; // in framePlotRange
    float AreaK = 0.0f;                  // area of K(T), printed below the plot (set by the K(T) tools)

    void Command3_Click(); // "Plot the combined spectrum" in Frame3
    void mnuIncrease_Click();
    void mnuDecrease_Click();
    void mnuLargePlot_Click();
    void mnuSmallPlot_Click();
    // "&DefaultPlot": the plot back at its start-up place and size.
    void mnuDefaultPlot_Click();
    void mnuPlotIntermediateSpectra_Click();
    void SaveSecondSpectrum();
    void PrintPlot();
    void SetPlotRangeLines();
    void ShowYmaxPanel();
    void ReplotSecondSpectrum();

signals:
    // Text1 has changed (told by the joining panel); the spectrum-joining
    // procedure connects here.
    void Text1Changed();
    // The plot area has been cleared.
    void plotCleared();
    // "Exit" of the Y-max panel: the fixed upper y bound is switched off.
    void ymaxModeSwitchedOff();
    // The start-up layout has been applied.
    void layoutDone();

private:
    // ---- start-up ------------------------------------------------------
    void ColorSmoothingFrame();

    // ---- navigation (the page navigator's table, page_navigator.h) -------
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Option5_Click();
    void Option6_Click();
    void Command12_Click();             // "Main menu", page 0
    void Command6_Click();              // "Main menu", page 1
    void Command10_Click();             // "Main menu", page 2
    void Command11_Click();             // "Main menu", page 3
    void cmdCancelELF_Click(int index); // "Main menu", page 4
    void cmdCancel1_Click();            // "Cancel" in frameSave_3
    void Command8_Click();              // "Cancel" in frameSave_3
    void Command16_Click();             // "Cancel" in frameSave_0
    void Command9_Click();              // "Cancel" in frameSave_1
    void Command14_Click();             // "Cancel" in frameSave_2
    void Command4_Click();              // "Exit" in Frame3
    void Command5_Click();              // "Exit" in frameYmax
    void cmdExitMain_Click();           // "Exit" on the start menu
    void cmd_AboutTORVIK_Click();

    // ---- joining panel and plot panels (form1_plot.cpp) ------------------
    void cmdPlot_Click();
    void cmdPlotInelastic_Click();
    void cmdPlotSpectra2_Click();
    void otpNewRange_Click();
    void cmdClose_Click();
    void txtYmax_Change();
    void cmdSavePlotLoss_Click();
    // The plot buttons and the savers of the intermediate spectra; `name`
    // names the spectrum in the status bar and in the message.
    void PlotIntermediate(const SingleArray& spectrum, const QString& name);
    void SaveCurve(const SingleArray& curve, const QString& name);
    // A spectrum array without points (its point count rounds to none).
    static bool IsEmptySpectrum(const SingleArray& spectrum);

    void BuildStartMenu();
    void BuildPagesFrames();
    void BuildPanels();
    void BuildBrowser();
    // A single click on a file in File1.
    void File1_Click();
    void CreatePicPlot();
    void BuildPages();      // the page contents (form1_pages.cpp)
    void BuildPlotPanels(); // plot controls and handlers (form1_plot.cpp)
    void EnsureDefaultControls();
    void PlaceSaveFrames(bool lowScreen);
    // The message once the program's frame window is on the screen.
    void WarnWhenShown(const QString& message);
    // Grows the containers and the form that are smaller than the controls
    // they hold (a screen too small for the layout fractions).
    void KeepControlsReachable();
    // The plot from the file list's bottom (or below the pages and panels
    // where they reach lower) down to its start-up bottom, within what the
    // frame shows; remembered as the default plot.
    void PlacePlotBelowPanels();
    // Hides / raises a control found by object name, when it exists.
    void hideNamed(const QString& name);
    void raiseNamed(const QString& name);

    friend class PageNavigator;
    JoiningPanel* joining_ = nullptr;
    FileBrowser* browser_ = nullptr;
    // The plot panel: picture box, title and areas boxes, status bar, plot state.
    PlotPanel* plotPanel_ = nullptr;
    kelvara::Plot& plot();
    PageNavigator navigator_{*this};
    std::array<Frame*, kPages> frame2_{};
    std::array<Frame*, kPages> frameinfo_{};
    std::array<InfoBox*, kPages> txtinfo_{};
    std::array<Frame*, kSaveFrames> frameSave_{};
    std::array<OptionButton*, 7> options_{}; // index 1..6
    // The column of the title and areas boxes below `cover` where it reaches
    // over the plot (null: from the plot's top).
    void KeepPlotBoxesClearOf(const QWidget* cover);
    // Draws the curves of the plot again at its present size and pen width.
};

} // namespace kelvara
