#pragma once
// The Model 96 page (frame2_3): an electron backscattered from a surface at
// any incidence and exit angle. The user reads a model, sets Ep, the loss grid
// (Estep, Emax), the depth X0 and the two angles, and presses "Calculate Keff";
// the any-angle library fills Kvi, Kvo, Kmi, Kmo and Keff and returns three
// mean free paths. The page plots Keff, writes its own mean free paths and
// the areas of the five curves, and opens the "Plot" frame whose buttons
// plot the other curves. The "IMFP -eff" panel shows the library's mean free
// paths beside the core parameters.
#include <QPushButton>
#include <array>

#include "platform/checked_array.h"
#include "shared/calc_page.h"
#include "widgets/controls.h"

namespace kelvara {

class Form1;

class Model96Page : public CalcPage {
    Q_OBJECT
public:
    explicit Model96Page(Form1& form);

    // The title line of the plot title box after a calculation.
    static QString CurveTitle();
    // The message of a calculation that fails for a reason the driver does not
    // name (it names a missing model, a missing library and results that are
    // not physical).
    static QString FailureMessage();

    // The five header lines of the result file of each curve.
    enum class Curve { Keff, MediumIn, MediumOut, VacuumIn, VacuumOut };
    HeaderLines Header(Curve curve) const;

    void cmdCalcKeffModel96_Click();
    void cmdKeff_Click();
    void cmdKvi_Click();
    void cmdkvo_Click();
    void cmdkmi_Click();
    void cmdkmo_Click();
    void cmdShowIMFP_eff_Click();

    Frame* frameSetparModel96 = nullptr;
    std::array<TextBox*, 6> txtpar96{};    // labels
    std::array<TextBox*, 6> txtpar96Val{}; // Ep, Estep, Emax, X0, theta1, theta2
    TextBox* txtELFfile96 = nullptr;       // element 3 of the control array
    QPushButton* cmdELFfile96 = nullptr;
    QPushButton* cmdCalcKeffModel96 = nullptr;
    QPushButton* cmdShowIMFP_eff = nullptr;
    QPushButton* cmdSave96 = nullptr;
    Frame* frameShowModel96 = nullptr;
    QPushButton* cmdKeff = nullptr;
    QPushButton* cmdKvi = nullptr;
    QPushButton* cmdkvo = nullptr;
    QPushButton* cmdkmi = nullptr;
    QPushButton* cmdkmo = nullptr;
    std::array<Frame*, 2> frameshowIMFP{}; // the panel and its inner frame
    std::array<TextBox*, 10> txt_IMFPeff{};
    QPushButton* cmdCancelShowIMFP = nullptr;

protected:
    void ForgetShownResults() override;

private:
    SaveFrameBoxes save_;
};

} // namespace kelvara
