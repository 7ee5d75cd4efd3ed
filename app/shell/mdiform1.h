#pragma once
// The start-up frame: the program's main window. Its client area holds the
// main form and the photoemission window, each as large as the screen; the
// client area scrolls when the frame is smaller than the screen, so every
// control stays reachable.
#include <QList>
#include <QMainWindow>

#include "shared/program_shell.h"

class QScrollArea;
class QAction;
class QMenu;

namespace kelvara {

class MDIForm1 : public QMainWindow, public ProgramShell {
    Q_OBJECT
public:
    explicit MDIForm1(QWidget* parent = nullptr);
    ~MDIForm1() override;

    // Load event: creates the main form (running its load) and shows it, then
    // creates the photoemission window (laid out by its own load) hidden.
    void Form_Load();
    // Unloads the frame: every window of the program closes and the program ends.
    void Unload() override;

    QWidget* clientArea() const override { return client_; }
    QWidget* frameWindow() override { return this; }
    // Sizes the client area (pixels) to hold a form of this size.
    void setClientSize(int width, int height) override;
    QSize visibleClientSize() const override;
    void ShowPhotoemissionWindow() override;
    void ReturnToMainWindow() override;
    void ShowMainWindowPlot() override;
    // Menus, for later additions (the view menu comes with the plot).
    QMenu* fileMenu() const { return mnuFile_; }
    // "&View": pen width and plot size of the plot of the window in front,
    // and the main form's intermediate-spectra panel.
    QMenu* viewMenu() const { return mnuView_; }

    void mnuExit_Click();
    void mnuAbout_Click();

private:
    QScrollArea* scroll_ = nullptr;
    QWidget* client_ = nullptr;
    QMenu* mnuFile_ = nullptr;
    QMenu* mnuView_ = nullptr;
    QList<QAction*> mainOnly_; // View items of the main form alone
    void BuildViewMenu();
    // The photoemission window is shown (the View menu acts on it).
    static bool PhotoemissionInFront();
    // Disables the View items of the main form alone while the
    // photoemission window is in front.
    void EnableViewItems();
};

} // namespace kelvara
