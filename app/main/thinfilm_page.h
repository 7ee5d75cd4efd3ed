#pragma once
// The thin-film page (frame2_2): an electron passing through a thin film.
// The user reads a model, sets Ep, the film thickness t and the loss grid
// (Emax, Estep), and presses "Calculate Keff"; the thin-film library fills
// Keff (shared with the Model 96 and photoemission calculations) with its
// surface part Ksurf and bulk part Kbulk (shared with the infinite-medium
// page): the last run wins. The page plots Keff, writes its mean free paths
// and the three areas, enables "Save" (which opens the save frame) and opens
// the "Plot" frame whose buttons plot each curve. "Read ELF file" reads the
// model selected in the file browser and hides the show frame.
#include <QPushButton>
#include <array>

#include "shared/calc_page.h"
#include "widgets/controls.h"

namespace kelvara {

class Form1;

class ThinFilmPage : public CalcPage {
    Q_OBJECT
public:
    explicit ThinFilmPage(Form1& form);

    // The title line of the plot title box after a calculation and of "Keff".
    static QString CurveTitle();
    // The message of a calculation that fails for a reason the driver does not
    // name (it names a missing model, a missing library and results that are
    // not physical).
    static QString FailureMessage();

    void cmdCalcKeffthinfilm_Click();
    void cmdKefftf_Click();
    void cmdShowKsurf_Click();
    void cmdShowKvol_Click();

    Frame* framesetparthinfilm = nullptr;
    std::array<TextBox*, 4> txtpartval{}; // Ep, t (thickness), Emax, Estep
    TextBox* txtELFfilethinfilm = nullptr;
    QPushButton* cmdReadELFModelAB92 = nullptr; // "Read ELF file"
    QPushButton* cmdCalcKeffthinfilm = nullptr;
    QPushButton* cmdSavetf = nullptr;
    Frame* framePlotthinfilm = nullptr;         // the show buttons, hidden until a calculation
    QPushButton* cmdKefftf = nullptr;
    QPushButton* cmdShowKsurf = nullptr;
    QPushButton* cmdShowKvol = nullptr;

    // The five header lines of the result file of each curve.
    enum class Curve { Keff, Ksurf, Kbulk };
    HeaderLines Header(Curve curve) const;

private:
    SaveFrameBoxes save_;
};

} // namespace kelvara
