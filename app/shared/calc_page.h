#pragma once
// The base of every calculation page, in either window.
//
// A page states only what is its own: its boxes, its library call, its
// arrays, its texts, its failure path and the header lines of its result
// files. The window's plumbing (plot, title box, areas box, file browser)
// comes from the window's surface (shared/window_surface.h).
//
// How a new page is added:
//  1. One file pair, e.g. app/main/modelab_page.h/.cpp, with a class derived
//     from CalcPage. Its constructor receives the window (and the window's
//     frame for the page) and builds the page:
//       - its boxes:        MakeParameterFrame(...) (shared/page_controls.h)
//       - its model file:   ModelFile("txtELFfileAB_0", "cmdELFfile92", frameShow)
//       - its buttons:      OnClick(MakeButton(...), &MyPage::cmdCalc_Click)
//       - its save frame:   SaveFrame(frame, {.., {"cmdSaveKModelB", "Save K Model B",
//                             &Module1::KModelB, [this] { return Header(...); }, true}, ..})
//  2. One registration line in the window's page list (Form1::BuildPages in
//     app/main/form1_pages.cpp; the photoemission window's own list).
//
// Its "Calculate" handler fills a recipe and runs it:
//     CalcRecipe r = Recipe(CurveTitle());              // title line of the title box
//     r.calculation = "Model A/B";                      // named when another page's curve is replaced
//     r.readBoxes = [&] { Ep = BoxSingle(box0); Module1::Estep = BoxSingle(box1); ... };
//     r.primaryEnergy = [&] { return Ep; };
//     r.callLibrary = [&] { Module1::senvik(&Ep, &Module1::Estep, ...); };
//     r.libraryCount = [] { return TruncatedPointCount(Module1::Emax, Module1::Estep); };
//     r.curves = {&Module1::KModelA, &Module1::KModelB, ...}; r.mainCurve = 1;
//     r.totalLabel = "ModelB: Total IMFP = "; r.unit = "Å"; r.areaLines = {{"Area of ...", 1}, ...};
//     r.showResults = [this] { frameShow->show(); };
//     r.onFailure = MessageOnFailure(FailureMessage()); // or nothing: quiet
//     Run(r);
// The photoemission calculation sets r.sums = SumPrecision::Single,
// r.firstEnergy = [] { return Module1::Emin; } and r.pointCount (its library
// counts its grid from Emin).
#include <QHash>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/checked_array.h"
#include "shared/calc_driver.h"
#include "shared/page_controls.h"
#include "shared/result_file.h"
#include "widgets/controls.h"
#include "widgets/guard.h"

namespace kelvara {

class WindowSurface;

class CalcPage : public QObject {
    Q_OBJECT
public:
    // `page`: the window's frame that holds the page (the page's controls are
    // its children; the page object itself is a child of the window).
    CalcPage(WindowSurface& window, QObject* owner, QWidget* page, const QString& objectName);

    // One save button of the page's save frame: writes `curve` (a program-wide
    // result array) under the header lines `header` gives; `withResultText`:
    // the result line is ResultText, else there is none.
    struct SaveButton {
        const char* name;
        const char* caption;
        const SingleArray* curve;
        std::function<HeaderLines()> header;
        bool withResultText;
    };
    // The boxes of a save frame.
    struct SaveFrameBoxes {
        TextBox* fileName = nullptr;
        InfoBox* description = nullptr;
    };

protected:
    // A recipe with the window's plumbing filled in (WindowRecipe).
    CalcRecipe Recipe(const QString& titleLine) const;
    // Runs the page's calculation (RunCalculation). The page's save and show
    // buttons use a curve only while it holds the page's last run, which
    // ended Done. A run that ends Done shows the window's title box with its
    // mean free paths, and its files quote the page's boxes as they were at
    // its end (RunText). A run that does not end Done leaves nothing of an
    // earlier one on show: the window's areas and title boxes are emptied and
    // hidden, the plot is cleared while it still shows a curve the page drew,
    // and the page empties what it shows of its own (ForgetShownResults).
    CalcOutcome Run(const CalcRecipe& recipe);
    // What a button does with a curve: writes it into a file or shows it.
    enum class Use { Save, Show };
    // Whether a save or show button may use `curve` now: the page's last run
    // ended Done and no other calculation has written the curve since (the
    // shared arrays keep the last run of any page); a save also needs the
    // oscillator model of that run, which the file names and lists. Otherwise
    // the user is told why nothing is written or shown, and which calculation
    // replaced the curve.
    bool ResultReady(const SingleArray& curve, Use use = Use::Save) const;
    // The same for a button that shows what the page's last run gave besides
    // its curves (the library's mean free paths): the run ended Done, or no
    // run has been made yet (`allowBeforeFirstRun`).
    bool RunResultReady(Use use, bool allowBeforeFirstRun) const;
    // ResultText as the page's last run that ended Done left it: the result
    // line of the page's files, whatever a later run of another page wrote.
    const QString& OwnResultText() const { return resultText_; }
    // The text a box of the page held when the page's last run that ended
    // Done ended: the header lines of the page's files quote the boxes of
    // the run that made the curve, not what the boxes hold now.
    const QString& RunText(const QLineEdit* box) const;
    // The source of the oscillator model of that run (ModelSourceText), for
    // the header line that names the model file.
    const QString& RunModelSource() const { return runModelSource_; }
    // After a run that did not end Done: the page empties and hides what it
    // shows of its own results (e.g. a panel of mean free paths).
    virtual void ForgetShownResults() {}
    // A failure path that shows `message` in a message box.
    static std::function<void()> MessageOnFailure(const QString& message);
    // A show button's body: when ResultReady(curve, Use::Show), the curve
    // cleared and plotted in colour 0 and the title box set to `title`.
    void ShowCurve(const SingleArray& curve, const QString& title);
    // The curve cleared and plotted in colour 0, as a result of the page.
    void PlotResult(const SingleArray& curve);
    // The page's model-file box and its "Read ELF file" button.
    ModelFileControls ModelFile(const QString& boxName, const QString& buttonName, QWidget* frameToHide);
    // A frame made visible and put in front (the "Save" and panel buttons).
    static void ShowInFront(QWidget* frame);

    // Connects a button's click to a handler of the page, through the guard.
    template <typename Page>
    void OnClick(QPushButton* button, void (Page::*handler)()) {
        auto* self = static_cast<Page*>(this);
        connectGuarded(button, &QPushButton::clicked, this, [self, handler](bool) { (self->*handler)(); });
    }

    // Fills a save frame ("Save the Cross Section"): the file-name box with
    // its label, the description box and the save buttons (three to a row,
    // above the frame's "Cancel" buttons). `width`: the room inside the frame.
    // Both boxes start empty and show their hints ("Enter file name here",
    // `description`) as placeholder texts, which are never written.
    SaveFrameBoxes SaveFrame(QWidget* frame, int width, const QString& label, const char* fileNameBox,
                             const char* descriptionBox, const QString& description,
                             const std::vector<SaveButton>& buttons);

    WindowSurface& window_;
    QWidget* page_;

private:
    // Tells the user why nothing is written or shown (`why`: the reason).
    static void Refuse(Use use, const QString& why);
    // Whether the program-wide model is still that of the page's last run
    // (for a save; otherwise the user is told).
    bool ModelOfRunInUse(Use use) const;

    SaveFrameBoxes saveBoxes_;
    // The results of the page's calculation: none yet, those of its last run
    // (which ended Done), or none since its last run did not end Done.
    enum class Results { None, Ready, Lost };
    Results results_ = Results::None;
    // The number of the page's last run that ended Done (LastDoneRun) and the
    // ResultText it left.
    std::uint64_t run_ = 0;
    QString resultText_;
    // The oscillator model of that run (ModelValues): a file saved under
    // another model would name and list the wrong one.
    std::vector<float> model_;
    // The texts of the page's boxes (every line box under page_) and the
    // model's source at the end of that run (RunText, RunModelSource).
    QHash<const QLineEdit*, QString> runTexts_;
    QString runModelSource_;
    // The plot's clear count (PictureBox::clearCount) when the page last drew
    // a result: while it is unchanged, the plot shows that result.
    long long ownPlot_ = -1;
};

} // namespace kelvara
