#pragma once
// The calculation and the results of the photoemission window: an electron
// excited at the depth X0 below the surface (a photoelectron, or an Auger
// electron with a hole of charge 2) leaves it at the angle theta from the
// normal. "Calculate Keff" calls the photoelectron library on the grid Emin,
// Emin + Estep, ... up to Emax; the six curves (total, infinite medium, the
// medium and vacuum parts with and without the hole) are plotted through the
// show buttons, four sums of two through the sum buttons, and each curve is
// saved as a result file from the save frame.
#include <QPushButton>
#include <QStringList>
#include <array>

#include "platform/checked_array.h"
#include "shared/calc_page.h"
#include "widgets/controls.h"

namespace kelvara {

class formXPS;

class PhotoemissionPage : public CalcPage {
    Q_OBJECT
public:
    // Builds the parameter frame, the calculate, save and show frames' buttons
    // inside the window's frames.
    explicit PhotoemissionPage(formXPS& form);

    // The title line of the plot title box after a calculation.
    static QString CurveTitle();
    // Messages of a refused or failed run.
    static QString NotFiniteMessage();

    // The number of losses of the library's grid: (Emax - Emin)/Estep + 1
    // formed in double precision from the 32-bit values and truncated (0 for
    // an empty grid; 1001 stands for any grid above 1000 points).
    static int GridPointCount(float Emin, float Estep, float Emax);

    enum class Curve { Keff, Inf, MediumHole, MediumNoHole, VacuumHole, VacuumNoHole };
    // The six header lines of a curve's result file.
    QStringList Header(Curve curve) const;

    void cmdCalcKeffphotoem97_Click();
    void cmdKeff_Click();
    void cmdkinf_Click();
    void cmdkmh_Click();
    void cmdkmo_Click();
    void cmdKvh_Click();
    void cmdkvo_Click();
    void cmdKh_Click();
    void cmdkm_Click();
    void cmdKnh_Click();
    void cmdKv_Click();
    void cmdSave97_Click();

    Frame* frameSetparPhotoem97 = nullptr;
    std::array<TextBox*, 8> txtpar97{};    // labels
    std::array<TextBox*, 8> txtpar97Val{}; // Ep, Estep, Emin, X0, theta, q-hole, Emax, n_integr
    QPushButton* cmdCalcKeffphotoem97 = nullptr;
    QPushButton* cmdSave97 = nullptr;
    // Show frame.
    QPushButton* cmdKeff = nullptr;
    QPushButton* cmdkinf = nullptr;
    QPushButton* cmdkmh = nullptr;
    QPushButton* cmdkmo = nullptr;
    QPushButton* cmdKvh = nullptr;
    QPushButton* cmdkvo = nullptr;
    QPushButton* cmdKh = nullptr;
    QPushButton* cmdkm = nullptr;
    QPushButton* cmdKnh = nullptr;
    QPushButton* cmdKv = nullptr;
    // Save frame.
    TextBox* txtSaveFile97 = nullptr;
    QPlainTextEdit* txtDescription97 = nullptr;
    std::array<QPushButton*, 6> saveButtons{};

private:
    void ShowSum(const SingleArray& first, const SingleArray& second, const QString& text);
    void SaveCurve(Curve curve);
    void BuildSaveFrame(Frame* frame);

    formXPS& form_;
};

} // namespace kelvara
