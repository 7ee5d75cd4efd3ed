#include "photoemission/photoemission_page.h"

#include <QLabel>
#include <array>
#include <cmath>
#include <limits>

#include "photoemission/formxps.h"
#include "platform/errors.h"
#include "platform/numbers.h"
#include "shared/calc_driver.h"
#include "shared/oscillator_model.h"
#include "shared/page_controls.h"
#include "shared/result_file.h"
#include "shared/window_surface.h"
#include "state/binder.h"
#include "state/module1.h"
#include "toolkit/tools.h"
#include "widgets/guard.h"
#include "widgets/services.h"

namespace kelvara {

namespace {

QString Fmt(double value, const char* pattern) { return QString::fromStdString(Format(value, pattern)); }

const QString kAngstrom = QStringLiteral("\u00C5");

// The reference line of the title box and of the result files.
QString ModelLine() { return QStringLiteral("Calculated with the photoelectron model with core hole"); }

// The highest primary energy the calculation gives right curves for (eV).
constexpr float kHighestEnergy = 100000.0f;

// The box names used in messages, by index of txtpar97Val.
const char* const kBoxNames[8] = {"Ep", "Estep", "Emin", "X0", "theta", "q-hole", "Emax", "n_integr"};

struct BoxRow {
    int index;
    const char* label;
    const char* defaultText;
    int column, row;
};
// Two columns of four rows: the grid on the left, the geometry on the right.
const BoxRow kRows[8] = {{0, "Ep = ", "1000", 0, 0}, {1, "Estep = ", "0.5", 0, 1}, {2, "Emin = ", "0.5", 0, 2},
                         {6, "Emax = ", "50", 0, 3}, {3, "X0 = ", "10", 1, 0},     {4, "\u03B8 =", "0", 1, 1},
                         {5, "q-hole=", "1", 1, 2},  {7, "n_integr=", "250", 1, 3}};

const char* const kSaveTitles[6] = {
    "keff():  Effective cross section for photo electron excited at depth X0 =",
    "keff_inf():   Effective cross section for electron travelling the distance X0/Cos(theta) in an infinite medium",
    "keff_medium_h():  Contribution to the effective cross section from the hole for electron travelling in the "
    "medium",
    "keff_medium_nh():  Contribution to the effective cross section when neglecting the hole for electron "
    "travelling in the medium ",
    "keff_vacuum_h():  Contribution from travlling in the vacuum to the effective cross section from the hole",
    "keff_vacuum_nh():  Contribution from travlling in the vacuum to the effective cross section when the hole is "
    "neglected"};
const char* const kSaveContinuations[6] = {"",
                                           " where X0 =",
                                           " for photo electron excited at depth X0 =",
                                           "for photo electron  excited at depth X0 =",
                                           " for photo electron excited at depth X0 =",
                                           " for photo electron excited at depth X0 ="};

SpectrumArray& CurveArray(PhotoemissionPage::Curve c) {
    namespace M = Module1;
    SpectrumArray* arrays[6] = {&M::Keff,           &M::keff_inf,      &M::keff_medium_h,
                                &M::keff_medium_nh, &M::keff_vacuum_h, &M::keff_vacuum_nh};
    return *arrays[static_cast<int>(c)];
}

} // namespace

QString PhotoemissionPage::CurveTitle() {
    return QStringLiteral("Effective cross section K(T) [eV^-1 \u00C5^-1] of the photoelectron model with core hole");
}

QString PhotoemissionPage::NotFiniteMessage() {
    return QStringLiteral("The calculation gave a result that is not a finite number: check the parameters and the "
                          "ELF data");
}

int PhotoemissionPage::GridPointCount(float Emin, float Estep, float Emax) {
    // The library's own count, from the quotient before any rounding to 32 bits.
    const double q = (static_cast<double>(Emax) - static_cast<double>(Emin)) / static_cast<double>(Estep) + 1.0;
    if (!std::isfinite(q) || q < 1.0) return 0;
    if (q >= 1001.0) return 1001;
    return static_cast<int>(q);
}

PhotoemissionPage::PhotoemissionPage(formXPS& form)
    : CalcPage(form, &form, form.framePhotoElectrons, QStringLiteral("PhotoemissionPage")), form_(form) {
    Frame* page = form.framePhotoElectrons;

    frameSetparPhotoem97 = MakeNamed<Frame>(page, QStringLiteral("frameSetparPhotoem97"), QStringLiteral("Parameters"));
    frameSetparPhotoem97->setGeometry(8, 88, 240, 124);
    for (const BoxRow& r : kRows) {
        const int x = 6 + r.column * 118;
        const int y = 20 + r.row * 25;
        const auto i = static_cast<std::size_t>(r.index);
        txtpar97[i] = MakeLabelBox(frameSetparPhotoem97, ArrayName(QStringLiteral("txtpar97"), r.index),
                                   QString::fromUtf8(r.label), x, y, r.column == 0 ? 54 : 62);
        txtpar97Val[i] = MakeNamed<TextBox>(frameSetparPhotoem97, ArrayName(QStringLiteral("txtpar97Val"), r.index),
                                            QString::fromUtf8(r.defaultText));
        txtpar97Val[i]->setGeometry(x + (r.column == 0 ? 54 : 62), y, r.column == 0 ? 56 : 50, 24);
    }
    txtpar97[4]->setToolTip(QStringLiteral("Emission angle from the surface normal (degrees)"));
    txtpar97[7]->setToolTip(QStringLiteral("number of points used in the integration over k"));
    txtpar97Val[7]->setToolTip(QStringLiteral("number of points used in the integration over k"));

    // The model-file box of the window names the model in memory when shown.
    ShowModelSourceWhenShown(page, form.txtELF_File_XPS);
    cmdCalcKeffphotoem97 =
        MakeButton(page, QStringLiteral("cmdCalcKeffphotoem97"), QStringLiteral("Calculate Keff"), 254, 108, 128);
    cmdSave97 = MakeButton(page, QStringLiteral("cmdSave97"), QStringLiteral("Save"), 254, 140, 128);

    // The show and sum buttons in the show frame: single curves on the left,
    // sums on the right.
    Frame* show = form.framePlotDurmel;
    // The single curves have the longer captions: the wider column.
    const auto button = [show](const char* name, const char* caption, int column, int row) {
        return MakeButton(show, QString::fromLatin1(name), QString::fromLatin1(caption), column == 0 ? 6 : 134,
                          20 + row * 26, column == 0 ? 124 : 104, 24);
    };
    cmdKeff = button("cmdKeff", "Keff", 0, 0);
    cmdkinf = button("cmdkinf", "K inf", 0, 1);
    cmdkmh = button("cmdkmh", "K medium hole", 0, 2);
    cmdkmo = button("cmdkmo", "K medium no hole", 0, 3);
    cmdKvh = button("cmdKvh", "K vac hole", 0, 4);
    cmdkvo = button("cmdkvo", "K vac no hole", 0, 5);
    cmdKh = button("cmdKh", "K hole total", 1, 0);
    cmdkm = button("cmdkm", "K medium total", 1, 1);
    cmdKnh = button("cmdKnh", "K no hole total", 1, 2);
    cmdKv = button("cmdKv", "K vacuum total", 1, 3);

    OnClick(cmdCalcKeffphotoem97, &PhotoemissionPage::cmdCalcKeffphotoem97_Click);
    OnClick(cmdSave97, &PhotoemissionPage::cmdSave97_Click);
    OnClick(cmdKeff, &PhotoemissionPage::cmdKeff_Click);
    OnClick(cmdkinf, &PhotoemissionPage::cmdkinf_Click);
    OnClick(cmdkmh, &PhotoemissionPage::cmdkmh_Click);
    OnClick(cmdkmo, &PhotoemissionPage::cmdkmo_Click);
    OnClick(cmdKvh, &PhotoemissionPage::cmdKvh_Click);
    OnClick(cmdkvo, &PhotoemissionPage::cmdkvo_Click);
    OnClick(cmdKh, &PhotoemissionPage::cmdKh_Click);
    OnClick(cmdkm, &PhotoemissionPage::cmdkm_Click);
    OnClick(cmdKnh, &PhotoemissionPage::cmdKnh_Click);
    OnClick(cmdKv, &PhotoemissionPage::cmdKv_Click);

    BuildSaveFrame(form.frameSave_xps(3));
}

void PhotoemissionPage::BuildSaveFrame(Frame* frame) {
    auto* caption = MakeNamed<QLabel>(frame, QStringLiteral("lblSaveFile97"), QStringLiteral(" File name:"));
    caption->setGeometry(8, 22, 72, 24);
    // Both boxes start empty and show their hints, which are never written.
    txtSaveFile97 = MakeNamed<TextBox>(frame, QStringLiteral("txtSaveFile97"));
    txtSaveFile97->setPlaceholderText(QStringLiteral("Enter file name here"));
    txtSaveFile97->setGeometry(82, 22, 300, 24);
    txtSaveFile97->setToolTip(QStringLiteral("Write the name of the file where you wish to save the data. "));
    SetBoxCaption(txtSaveFile97, QStringLiteral("File name"));
    // The description is the user's: typed lines go to the top of the file.
    txtDescription97 = new QPlainTextEdit(frame);
    txtDescription97->setObjectName(QStringLiteral("txtDescription97"));
    txtDescription97->setPlaceholderText(QStringLiteral("You may write info here to be stored with the data."));
    txtDescription97->setGeometry(8, 50, 374, 46);
    txtDescription97->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtDescription97->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtDescription97->setToolTip(
        QStringLiteral("The content of this text box is added to the top of the file. You may type additional lines "
                       "by clicking and typing directly in this text box."));
    const char* names[6] = {"cmdSavekeff_xps",      "cmdSavek_inf",    "cmdSavekmediumh",
                            "cmdSavekmediumnohole", "cmdSavekvachole", "cmdSavekvacnohole"};
    const char* captions[6] = {"Save Keff",       "Save K inf",        "Save K medium hole", "Save K medium no hole",
                               "Save K vac hole", "Save K vac no hole"};
    for (int k = 0; k < 6; ++k) {
        auto* b = MakeButton(frame, QString::fromLatin1(names[k]), QString::fromLatin1(captions[k]), 8 + (k % 2) * 188,
                             100 + (k / 2) * 25, 184, 24);
        saveButtons[static_cast<std::size_t>(k)] = b;
        const auto curve = static_cast<Curve>(k);
        connectGuarded(b, &QPushButton::clicked, this, [this, curve](bool) { SaveCurve(curve); });
    }
    auto* cancel = MakeButton(frame, QStringLiteral("cmdCancel1"), QStringLiteral("Cancel"), 8, 176, 100, 24);
    connectGuarded(cancel, &QPushButton::clicked, this, [this](bool) { form_.cmdCancel1_Click(); });
}

// ---- the calculation ------------------------------------------------------

void PhotoemissionPage::cmdCalcKeffphotoem97_Click() {
    namespace M = Module1;
    float Ep = 0.0f, X0 = 0.0f, Theta = 0.0f, qHole = 0.0f;
    int16_t n_integr = 0;
    // What the library gives back besides the curves, kept once the run is good.
    float imfp = 0.0f, areaHole = 0.0f, areaNoHole = 0.0f;

    // A refused box is named with its text, in the form every page uses.
    const auto refuse = [&](int box, const QString& problem) {
        throw BoxValueError(ErrorCode::InvalidCall, QString::fromLatin1(kBoxNames[box]),
                            txtpar97Val[static_cast<std::size_t>(box)]->text(), problem);
    };
    const auto single = [&](int box) {
        const QString text = txtpar97Val[static_cast<std::size_t>(box)]->text();
        float v = 0.0f;
        try {
            v = ToSingle(text.toStdString());
        } catch (const RuntimeError& e) {
            refuse(box, e.code() == ErrorCode::Overflow ? QStringLiteral("the number is too large.")
                        : text.isEmpty()                ? QStringLiteral("a number is needed.")
                                                        : QStringLiteral("this is not a number."));
        }
        if (!std::isfinite(v)) refuse(box, QStringLiteral("this is not a number."));
        // The driver names a grid it refuses with the box and its text.
        BoxReadLog::Record({QString::fromLatin1(kBoxNames[box]), text, v});
        return v;
    };

    CalcRecipe r = Recipe(CurveTitle());
    r.calculation = QStringLiteral("photoemission");
    r.readBoxes = [&] {
        Ep = single(0);
        // Above kHighestEnergy the integration over k, on its even grid of at
        // most 2*5000 intervals between the lowest and the highest momentum
        // transfer, no longer resolves the losses: the infinite-medium curve
        // then departs from that of the infinite-medium library, and far
        // above it the mean free paths fall towards 0.
        if (!(Ep > 0.0f && Ep <= kHighestEnergy))
            refuse(0, QStringLiteral("the value must be greater than 0 and at most %1 eV.")
                          .arg(QString::fromStdString(GeneralText(kHighestEnergy))));
        M::Estep = single(1);
        if (!(M::Estep > 0.0f)) refuse(1, QStringLiteral("the step must be greater than 0."));
        M::Emin = single(2);
        if (!(M::Emin > 0.0f))
            refuse(2, QStringLiteral("the value must be greater than 0 (a loss of 0 eV divides by zero)."));
        M::Emax = single(6);
        // A grid of fewer than two losses is refused by the driver, naming Emax.
        if (!(M::Emax < Ep)) refuse(6, QStringLiteral("every energy loss must be below Ep."));
        X0 = single(3);
        // The depths of every page: at least kShortestLength (BoxLength).
        if (!(X0 >= kShortestLength))
            refuse(3, RangeProblem(kShortestLength, std::numeric_limits<float>::max(), true, true,
                                   QStringLiteral("\u00C5")));
        Theta = single(4);
        if (!(Theta >= 0.0f && Theta < 90.0f))
            refuse(4, QStringLiteral("the value must be at least 0 and less than 90 degrees."));
        qHole = single(5);
        if (qHole < 0.0f) refuse(5, QStringLiteral("the charge of the core hole must not be negative."));
        const QString nText = txtpar97Val[7]->text();
        try {
            n_integr = ToInteger(nText.toStdString());
        } catch (...) {
            refuse(7, QStringLiteral("this is not a whole number from 1 to 5000."));
        }
        if (n_integr < 1 || n_integr > 5000) refuse(7, QStringLiteral("the value must be a whole number from 1 to 5000."));
    };
    r.primaryEnergy = [&] { return Ep; };
    r.pointCount = [] { return GridPointCount(M::Emin, M::Estep, M::Emax); };
    r.firstEnergy = [] { return M::Emin; };
    r.sums = SumPrecision::Single;
    r.callLibrary = [&] {
        // The library writes into scratch arrays first: the program-wide
        // curves change only when every value is a number.
        const int n = GridPointCount(M::Emin, M::Estep, M::Emax);
        std::array<SingleArray, 6> out{SingleArray(0, kResultUpper), SingleArray(0, kResultUpper),
                                       SingleArray(0, kResultUpper), SingleArray(0, kResultUpper),
                                       SingleArray(0, kResultUpper), SingleArray(0, kResultUpper)};
        try {
            M::durmel(&Ep, &M::Estep, &M::Emin, &M::Emax, &X0, &Theta, &n_integr, out[0].element1(), out[1].element1(),
                      out[2].element1(), out[3].element1(), out[4].element1(), out[5].element1(), &qHole,
                      M::W0.element1(), M::A0.element1(), M::Gamma.element1(), &M::Egap, M::Alfa.element1(), &M::NumOsc,
                      &M::Core_ac, &M::Core_bc, &imfp, &areaHole, &areaNoHole);
        } catch (const RuntimeError& e) {
            throw CalcFailure(QStringLiteral("The photoelectron library could not be called: ") +
                              QString::fromStdString(PlainReason(e)));
        }
        bool finite = std::isfinite(imfp) && std::isfinite(areaHole) && std::isfinite(areaNoHole);
        for (const SingleArray& a : out)
            for (int i = 1; i <= n; ++i) finite = finite && std::isfinite(a(i));
        if (!finite) throw CalcFailure(NotFiniteMessage());
        // The driver judges the totals and the mean free paths and gives the
        // curves back what they held when it finds one that is not physical.
        SpectrumArray* curves[6] = {&M::Keff,           &M::keff_inf,      &M::keff_medium_h,
                                    &M::keff_medium_nh, &M::keff_vacuum_h, &M::keff_vacuum_nh};
        for (int k = 0; k < 6; ++k)
            for (int i = 1; i <= n; ++i) (*curves[k])(i) = out[static_cast<std::size_t>(k)](i);
    };
    // The library's own mean free path ("Keff" shows it) is judged as well.
    r.afterCall = [&] {
        RequirePhysical(QStringLiteral("IMFP_Keff="), imfp, Fmt(static_cast<double>(imfp), "0.0000"));
        return true;
    };
    r.curves = {&M::Keff, &M::keff_inf, &M::keff_medium_h, &M::keff_medium_nh, &M::keff_vacuum_h, &M::keff_vacuum_nh};
    r.mainCurve = 0;
    r.areaLines = {{QStringLiteral("Area of total K = "), 0},
                   {QStringLiteral("Area of K for infinite medium = "), 1, true},
                   {QStringLiteral("Area of K_vacuum with effect of hole = "), 4},
                   {QStringLiteral("Area of K_vacuum without effect of hole = "), 5},
                   {QStringLiteral("Area of K_medium with effect of hole = "), 2},
                   {QStringLiteral("Area of K_medium without effect of hole = "), 3}};
    r.showResults = [&] {
        M::IMFPxps = imfp;
        M::XpsIntA = areaHole;
        M::XpsIntB = areaNoHole;
        form_.framePlotDurmel->show();
        form_.framePlotDurmel->raise();
    };
    r.onFailure = MessageOnFailure(CalculationFailedMessage());
    Run(r);
}

// ---- show and sum buttons -------------------------------------------------

void PhotoemissionPage::cmdKeff_Click() {
    ShowCurve(Module1::Keff, QStringLiteral("Keff ") + QStringLiteral("      IMFP_Keff=") +
                                 Fmt(static_cast<double>(Module1::IMFPxps), "0.0000"));
}
void PhotoemissionPage::cmdkinf_Click() { ShowCurve(Module1::keff_inf, QStringLiteral("Keff_inf ")); }
void PhotoemissionPage::cmdkmh_Click() { ShowCurve(Module1::keff_medium_h, QStringLiteral("keff_medium_h ")); }
void PhotoemissionPage::cmdkmo_Click() { ShowCurve(Module1::keff_medium_nh, QStringLiteral("keff_medium_nh ")); }
void PhotoemissionPage::cmdKvh_Click() { ShowCurve(Module1::keff_vacuum_h, QStringLiteral("keff_vacuum_h ")); }
void PhotoemissionPage::cmdkvo_Click() { ShowCurve(Module1::keff_vacuum_nh, QStringLiteral("keff_vacuum_nh ")); }

void PhotoemissionPage::ShowSum(const SingleArray& first, const SingleArray& second, const QString& text) {
    if (!ResultReady(first, Use::Show) || !ResultReady(second, Use::Show)) return;
    Tools().AddSpectra(first, second, Module1::PlotBuf);
    PlotResult(Module1::PlotBuf);
    float area = 0.0f;
    Tools().AREA(Module1::PlotBuf, area);
    window_.titleBox().setText(text + QStringLiteral("  Area=") + Fmt(static_cast<double>(area), "0.0000"));
}

void PhotoemissionPage::cmdKh_Click() {
    ShowSum(Module1::keff_medium_h, Module1::keff_vacuum_h, QStringLiteral("Keff contrib from hole"));
}
void PhotoemissionPage::cmdkm_Click() {
    ShowSum(Module1::keff_medium_h, Module1::keff_medium_nh, QStringLiteral("K medium total"));
}
void PhotoemissionPage::cmdKnh_Click() {
    ShowSum(Module1::keff_vacuum_nh, Module1::keff_medium_nh, QStringLiteral("Keff contrib from electr"));
}
void PhotoemissionPage::cmdKv_Click() {
    ShowSum(Module1::keff_vacuum_h, Module1::keff_vacuum_nh, QStringLiteral("K vacuum total"));
}

// ---- saving ---------------------------------------------------------------

void PhotoemissionPage::cmdSave97_Click() { ShowInFront(form_.frameSave_xps(3)); }

QStringList PhotoemissionPage::Header(Curve curve) const {
    const QString X0 = RunText(txtpar97Val[3]);
    const QString angle = QStringLiteral("Emission angle = ") + RunText(txtpar97Val[4]);
    const QString file = QStringLiteral("ELF function from the file ") + RunModelSource() +
                         QStringLiteral(". Primary energy = ") + RunText(txtpar97Val[0]) + QStringLiteral(" eV.");
    const QString description = txtDescription97->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const auto k = static_cast<std::size_t>(curve);
    if (curve == Curve::Keff)
        return {QString::fromLatin1(kSaveTitles[0]) + X0 + QStringLiteral(" ") + kAngstrom,
                ModelLine(),
                QStringLiteral("Effective charge of the hole = ") + RunText(txtpar97Val[5]) +
                    QStringLiteral(" electron charge units"),
                angle,
                file,
                description};
    return {QString::fromLatin1(kSaveTitles[k]),
            QString::fromLatin1(kSaveContinuations[k]) + X0 + QStringLiteral(" ") + kAngstrom,
            ModelLine(),
            angle,
            file,
            description};
}

void PhotoemissionPage::SaveCurve(Curve curve) {
    static const QString kNoResultLine;
    if (!ResultReady(CurveArray(curve))) return;
    SaveResultFileFromFirstEnergy(window_, txtSaveFile97->text(), CurveArray(curve), Header(curve),
                                  curve == Curve::Keff ? OwnResultText() : kNoResultLine);
}

} // namespace kelvara
