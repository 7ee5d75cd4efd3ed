#pragma once
// The Model A/B page (frame2_0): an electron backscattered from a surface at
// normal incidence and exit. The user reads a model, sets Ep, the loss grid
// (Estep, Emax) and the depth a, and presses "Calculate Keff"; the
// normal-geometry library fills KModelA, KModelB, KModelA_in and KModelA_out.
// The page plots Model B, writes the mean free paths from the Model B curve
// and the areas of the four curves, and opens the "Plot" frame whose buttons
// plot each curve. "Read ELF file" reads the model selected in the file
// browser and hides the show frame; "Save" opens the page's save frame.
#include <QPushButton>
#include <array>

#include "shared/calc_page.h"
#include "widgets/controls.h"

namespace kelvara {

class Form1;

class ModelABPage : public CalcPage {
    Q_OBJECT
public:
    explicit ModelABPage(Form1& form);

    // The title lines of the Model A and Model B curves (the calculation
    // shows the Model B one above its mean free paths).
    static QString ModelATitle();
    static QString ModelBTitle();
    // The message of a calculation that fails for a reason the driver does not
    // name (it names a missing model, a missing library and results that are
    // not physical).
    static QString FailureMessage();

    void cmdCalcKeffModelAB_Click();
    void cmdKModelA_Click();
    void KModelA_in_Click();
    void cmdKModlB_Click();
    void cmdKModelA_out_Click();

    Frame* frameSetparModelAB92 = nullptr;
    std::array<TextBox*, 4> txtparABVal{}; // Ep, Estep, Emax, a (the depth X0)
    TextBox* txtELFfileAB = nullptr;       // element 0 of the control array
    QPushButton* cmdELFfile92 = nullptr;   // "Read ELF file"
    QPushButton* cmdCalcKeffModelAB = nullptr;
    QPushButton* cmdSaveKModelsAB = nullptr;
    Frame* frameShowModelAB = nullptr;     // the show buttons, hidden until a calculation
    QPushButton* cmdKModelA = nullptr;
    QPushButton* KModelA_in = nullptr;
    QPushButton* cmdKModlB = nullptr;
    QPushButton* cmdKModelA_out = nullptr;

    // The five header lines of the result file of each curve.
    enum class Curve { ModelA, ModelB, ModelA_in, ModelA_out };
    HeaderLines Header(Curve curve) const;

private:
    SaveFrameBoxes save_;
};

} // namespace kelvara
