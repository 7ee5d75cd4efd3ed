#pragma once
// The Model A/B page (frame2_0): an electron backscattered from a surface at
// normal incidence and exit. This part of the page holds the parameter boxes,
// the model-file box and the "Save" button that opens the page's save frame;
// the page gives the header lines of its result files. "Read ELF file"
// reads the model selected in the file browser and hides the show frame.
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

    Frame* frameSetparModelAB92 = nullptr;
    std::array<TextBox*, 4> txtparABVal{}; // Ep, Estep, Emax, a (the depth X0)
    TextBox* txtELFfileAB = nullptr;       // element 0 of the control array
    QPushButton* cmdELFfile92 = nullptr;   // "Read ELF file"
    QPushButton* cmdSaveKModelsAB = nullptr;
    Frame* frameShowModelAB = nullptr;     // the show buttons, hidden until a calculation

    // The five header lines of the result file of each curve.
    enum class Curve { ModelA, ModelB, ModelA_in, ModelA_out };
    HeaderLines Header(Curve curve) const;

private:
    SaveFrameBoxes save_;
};

} // namespace kelvara
