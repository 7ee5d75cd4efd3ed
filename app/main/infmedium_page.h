#pragma once
// The infinite-medium page (frame2_1): an electron travelling in an infinite
// medium. The user reads a model, sets Ep and the loss grid (Emax, Estep; the
// box array has no index 1), and presses "Calculate K(T)"; the
// infinite-medium library fills Kbulk (shared with the thin-film page: the
// last run wins). The page plots it and writes its mean free paths; it has
// no areas and no show buttons. "Read ELF file" reads the model selected in
// the file browser; "Save" opens the save frame.
#include <QPushButton>
#include <map>

#include "shared/calc_page.h"
#include "widgets/controls.h"

namespace kelvara {

class Form1;

class InfiniteMediumPage : public CalcPage {
    Q_OBJECT
public:
    explicit InfiniteMediumPage(Form1& form);

    // The title line of the plot title box after a calculation.
    static QString CurveTitle();
    // The message of a calculation that fails for a reason the driver does not
    // name (it names a missing model, a missing library and results that are
    // not physical).
    static QString FailureMessage();

    void cmdCalcKInfFilm_Click();

    Frame* framesetparInf = nullptr;
    std::map<int, TextBox*> txtparInfVal; // 0 Ep, 2 Emax, 3 Estep
    TextBox* txtELFfileInf = nullptr;
    QPushButton* cmdReadELFInf = nullptr; // "Read ELF file"
    QPushButton* cmdCalcKInfFilm = nullptr;
    QPushButton* cmdSaveK = nullptr;

    // The five header lines of the page's result file.
    HeaderLines Header() const;

private:
    SaveFrameBoxes save_;
};

} // namespace kelvara
