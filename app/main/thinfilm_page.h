#pragma once
// The thin-film page (frame2_2): an electron passing through a thin film.
// This part of the page holds the parameter boxes, the model-file box and the
// "Save" button that opens the save frame (enabled by a thin-film
// calculation); the page gives the header lines of its result files.
// "Read ELF file" reads the model selected in the file browser and hides the
// show frame.
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

    Frame* framesetparthinfilm = nullptr;
    std::array<TextBox*, 4> txtpartval{}; // Ep, t (thickness), Emax, Estep
    TextBox* txtELFfilethinfilm = nullptr;
    QPushButton* cmdReadELFModelAB92 = nullptr; // "Read ELF file"
    QPushButton* cmdSavetf = nullptr;
    Frame* framePlotthinfilm = nullptr;         // the show buttons, hidden until a calculation

    // The five header lines of the result file of each curve.
    enum class Curve { Keff, Ksurf, Kbulk };
    HeaderLines Header(Curve curve) const;

private:
    SaveFrameBoxes save_;
};

} // namespace kelvara
