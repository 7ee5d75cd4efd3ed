#include "main/spectrum_tools.h"

#include <QCheckBox>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <exception>
#include <string>

#include "main/form1.h"
#include "main/forms.h"
#include "main/frmsmooth.h"
#include "platform/numbers.h"
#include "platform/rounding.h"
#include "platform/textfile.h"
#include "state/binder.h"
#include "toolkit/tools.h"

namespace kelvara {

namespace M = Module1;

namespace {

// Size of the work arrays (elements 0..5000).
constexpr int kWorkUpper = 5000;

// Raises "Subscript out of range" when the point count of `s` (as the
// libraries read it, truncated, and as the toolkit reads it, rounded) is not
// finite or names more points than the array holds.
void RequireFits(const SpectrumArray& s) {
    const double v = s(1);
    if (!std::isfinite(v) || std::max(std::trunc(v), RoundHalfEven(v)) > SpectrumRoom(s.upper()))
        raise(ErrorCode::SubscriptOutOfRange);
}

// Raises unless `s` has elements 1..upper.
void RequireElements(const SpectrumArray& s, int upper) {
    if (!s.inBounds(1) || !s.inBounds(upper)) raise(ErrorCode::SubscriptOutOfRange);
}

float BoxSingle(const QLineEdit* box) { return ToSingle(box->text().toStdString()); }
double BoxDouble(const QLineEdit* box) { return ToDouble(box->text().toStdString()); }
int16_t BoxInteger(const QLineEdit* box) { return ToInteger(box->text().toStdString()); }

// Writes v into the box as the general text of the number.
void SetNumber(QLineEdit* box, double v) { box->setText(QString::fromStdString(GeneralText(v))); }

// Adds `step` to the number in `box`.
void StepBox(QLineEdit* box, double step) { SetNumber(box, BoxDouble(box) + step); }

// Puts the number in `box` into lo..hi (the box is written only when it was
// outside).
void ClampBox(QLineEdit* box, double lo, double hi) {
    const double v = BoxDouble(box);
    if (v > hi)
        SetNumber(box, hi);
    else if (v < lo)
        SetNumber(box, lo);
}

} // namespace

SpectrumTools::SpectrumTools(Form1& form) : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("SpectrumTools"));
}

frmSmooth& SpectrumTools::smoothForm() const { return Forms::frmSmooth(); }

// ---- joining and K(T) ----------------------------------------------------------

void SpectrumTools::Text1_Change() {
    try {
        Norm(M::PlotBuf);
        LK_CrossSct(M::PlotBuf, M::Spec2);
        form_.ClearPlot();
        form_.Plot(M::Spec2, 0);
    } catch (const std::exception&) {
        // Ends quietly.
    }
}

void SpectrumTools::Norm(SpectrumArray& spectrum) {
    try {
        float dJoin = BoxSingle(form_.Text1);
        float dWinHi = BoxSingle(form_.Text3);
        float dWinLo = BoxSingle(form_.Text4);
        // The library reads each input up to its last point and writes up to
        // 4997 points.
        RequireFits(M::SpecMeas);
        RequireFits(M::SpecInel);
        RequireElements(spectrum, kSpectrumPoints + 3);
        M::NormArea(M::SpecMeas.element1(), M::SpecInel.element1(), spectrum.element1(), &dJoin, &dWinHi, &dWinLo);
    } catch (const std::exception&) {
        // Ends quietly; the joined spectrum keeps what it held.
    }
}

void SpectrumTools::LK_CrossSct(SpectrumArray& spectrum, SpectrumArray& KSpec) {
    if (!SpectrumLoaded) return;
    // The library reads the input up to its last point and writes at most
    // the count less four points after the three header slots.
    RequireFits(spectrum);
    const int n = static_cast<int>(std::trunc(spectrum(1)));
    RequireElements(KSpec, std::max(3, n - 1));
    float PeakLow = 2.0f;
    float PeakHigh = 2.0f;
    float MinRange = 8.0f;
    M::LCROSS(spectrum.element1(), KSpec.element1(), &PeakLow, &PeakHigh, &MinRange, &form_.AreaK);
    form_.Text2->setVisible(true);
    form_.Text2->setText(QStringLiteral(" Area =  ") + QString::fromStdString(Format(form_.AreaK, "###0.000")));
}

// ---- area and peak ---------------------------------------------------------------

namespace {
// A spectrum that fits its array gives the plot its first energy and step;
// returns its point count.
int16_t TakeAxis(const SpectrumArray& spectrum, Plot& plot) {
    RequireFits(spectrum);
    const int16_t n = CInt(spectrum(1));
    plot.PlotE0 = spectrum(2);
    plot.PlotDE = spectrum(3);
    return n;
}
} // namespace

void SpectrumTools::AREA(const SpectrumArray& spectrum, float& Ap) {
    Plot& plot = form_.plotState();
    const int16_t n = TakeAxis(spectrum, plot);
    float sum = 0.0f;
    for (int i = 1; i <= n; ++i) sum = CSng(static_cast<double>(sum) + spectrum(i + 3));
    Ap = CSng(static_cast<double>(plot.PlotDE) * sum);
}

void SpectrumTools::E_peak(const SpectrumArray& spectrum, float& Ep, float& AIP) {
    Plot& plot = form_.plotState();
    const int16_t n = TakeAxis(spectrum, plot);
    float ep = 0.0f;
    float aip = 0.0f;
    for (int i = 1; i <= n; ++i) {
        if (spectrum(i + 3) > aip) {
            aip = spectrum(i + 3);
            ep = CSng(static_cast<double>(plot.PlotE0) + i * static_cast<double>(plot.PlotDE));
        }
    }
    Ep = ep;
    AIP = aip;
}

// ---- spectrum files ----------------------------------------------------------------

bool ReadSpectrumRows(const QString& File, SingleArray& x, SingleArray& y, int room, int& n) {
    try {
        // The reader takes the whole file and closes it at once.
        TextFileReader in(File.toStdString());
        bool marker = false;
        while (!marker && !in.eof()) {
            const std::string item = in.inputItem();
            marker = !item.empty() && item[0] == '@';
        }
        if (!marker) return false;
        room = std::min({room, x.upper(), y.upper()});
        int rows = 0;
        while (!in.eof()) {
            if (rows + 1 > room) return false; // more rows than fit
            const float e = in.inputSingle();
            const float v = in.inputSingle();
            ++rows;
            x(rows) = e;
            y(rows) = v;
        }
        n = rows;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool SpectrumTools::ReadSpectr(const QString& File, SpectrumArray& Spectr) {
    try {
        // Rows into work arrays first: the spectrum changes only once the
        // whole file has been read.
        SingleArray x(0, kWorkUpper);
        SingleArray y(0, kWorkUpper);
        int n = 0;
        if (!ReadSpectrumRows(File, x, y, std::min(kWorkUpper, Spectr.upper()), n)) return false;
        if (n < 4) return false; // the first three rows give way to the header: no point

        const float de = CSng(Div(static_cast<double>(x(n)) - x(1), n - 1));
        RequireElements(Spectr, n);
        for (int i = 4; i <= n; ++i) Spectr(i) = y(i);
        Spectr(1) = static_cast<float>(n - 3);
        Spectr(2) = x(4);
        Spectr(3) = de;
        Plot& plot = form_.plotState();
        plot.PlotDE = de;
        plot.PlotE0 = x(4);
        SpectrumLoaded = true;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void SpectrumTools::ReadSpectrumToSmooth() {
    M::AutoScale = True;
    const QString name = form_.File1->fileName();
    if (name.isEmpty()) return;
    SpectrumPath = JoinPath(form_.Dir1->path(), name);
    if (ReadSpectr(SpectrumPath, M::SpecMeas)) smoothForm().txtReadFileName->setText(name);
    form_.ClearPlot();
    form_.Plot(M::SpecMeas, 0);
}

// ---- scaled loss curve -----------------------------------------------------------

void SpectrumTools::BuildScaledLossCurve() {
    try {
        if (!SpectrumLoaded) return;
        const float factor = BoxSingle(smoothForm().txtFactor);
        Tools_cls& tools = Tools();
        SingleArray t(0, kWorkUpper);
        tools.Multiply(M::SpecMeas, t, factor);
        const float de = t(3);
        const float e0 = M::SpecInel(2);
        const float em = M::SpecMeas(2);

        // The curve is built in a work array and replaces PlotBuf when whole.
        SpectrumArray curve(0, kSpectrumUpper);
        int k = 0;
        auto next = [&] {
            ++k;
            if (k > kSpectrumPoints) raise(ErrorCode::SubscriptOutOfRange);
            return k + 3;
        };
        float e = CSng(static_cast<double>(e0) - de);
        while (e < em) {
            const int slot = next();
            e = CSng(static_cast<double>(e) + de);
            tools.Interpolate(e, curve(slot), M::SpecInel);
        }
        const int16_t nt = CInt(t(1));
        for (int j = 1; j <= nt; ++j) {
            const int slot = next();
            e = CSng(static_cast<double>(e) + de);
            tools.Interpolate(e, curve(slot), t);
        }
        curve(1) = static_cast<float>(k);
        curve(2) = e0;
        curve(3) = de;
        for (int i = 1; i <= k + 3; ++i) M::PlotBuf(i) = curve(i);
        Plot& plot = form_.plotState();
        plot.PlotDE = de;
        plot.PlotE0 = e0;
        form_.ClearPlot();
        form_.Plot(M::PlotBuf, 0);
    } catch (const std::exception&) {
        // Ends quietly; PlotBuf keeps what it held.
    }
}

void SpectrumTools::RescaleLossCurve() {
    try {
        form_.plotState().YmaxValue = BoxSingle(smoothForm().txtFactor);
        BuildScaledLossCurve();
        form_.ClearPlot();
        form_.Plot(M::PlotBuf, 0);
    } catch (const std::exception&) {
        // Ends quietly.
    }
}

// ---- smoothing panel -----------------------------------------------------------------

void SpectrumTools::ShowSmoothingPanel() {
    form_.Frame4->hide();
    form_.ClearPlot();
    form_.Text2->setText(QString());
    frmSmooth& s = smoothForm();
    s.frameSmooth->raise();
    s.frameSmooth->setVisible(true);
    // The smoothing window lies over the main form; only its frame takes
    // room, so the browser and the plot around it stay in reach.
    const QRect frame = s.frameSmooth->geometry();
    s.setGeometry(QRect(form_.pos(), QSize(frame.right() + 1, frame.bottom() + 1)));
    s.setMask(QRegion(frame));
    s.show();
    s.raise();
    for (int i = 0; i < Form1::kPages; ++i) form_.page(i)->hide();
}

void SpectrumTools::CloseSmoothingPanel() {
    M::AutoScale = True;
    form_.ClearPlot();
    frmSmooth& s = smoothForm();
    s.frameSmooth->hide();
    s.hide();
    for (int n = 1; n <= 4; ++n) form_.option(n)->setEnabled(true);
    form_.Frame4->setVisible(true);
}

void SpectrumTools::CheckShowOriginal() {
    if (smoothForm().chkShowOriginal->isChecked()) M::AutoScale = True;
}

void SpectrumTools::ClampSmoothParamTo5() {
    try {
        ClampBox(smoothForm().txtm, 2, 5);
        SmoothSpectrum();
    } catch (const std::exception&) {
        // Ends quietly.
    }
}

void SpectrumTools::ClampSmoothParamTo20() {
    try {
        ClampBox(smoothForm().txtns, 2, 20);
        SmoothSpectrum();
    } catch (const std::exception&) {
        // Ends quietly.
    }
}

void SpectrumTools::SmoothSpectrum() {
    try {
        frmSmooth& s = smoothForm();
        const int16_t ns = BoxInteger(s.txtns);
        const int16_t m = BoxInteger(s.txtm);
        RequireFits(M::SpecMeas);
        // Smoothed into a work array: PlotBuf changes only when the smoothing
        // could be done.
        SpectrumArray smoothed(0, kSpectrumUpper);
        if (!Tools().smooth(M::SpecMeas, smoothed, m, ns)) return;
        const QString input = s.txtReadFileName->text();
        s.txtPeakDescript->setText(QStringLiteral("Savitzky-Golay smoothing of the file ") + input +
                                   QStringLiteral(". Smoothing parameters ns = ") + s.txtns->text() +
                                   QStringLiteral(" and m = ") + s.txtm->text());
        s.txtFileName->setText(QStringLiteral("smo") + input);
        const int last = std::max(3, CInt(M::SpecMeas(1)) + 3);
        for (int i = 1; i <= last; ++i) M::PlotBuf(i) = smoothed(i);
        form_.ClearPlot();
        form_.Plot(M::PlotBuf, 0);
        if (s.chkShowOriginal->isChecked()) {
            M::AutoScale = False;
            form_.Plot(M::SpecMeas, 4);
        }
    } catch (const std::exception&) {
        // Ends quietly.
    }
}

void SpectrumTools::MakeSmoothedFileName() {
    frmSmooth& s = smoothForm();
    s.txtFileName->setText(QStringLiteral("smo") + s.txtReadFileName->text());
}

void SpectrumTools::StepUpHundredth() {
    try {
        QLineEdit* box = smoothForm().txtFactor;
        SetNumber(box, std::min(BoxDouble(box) + 0.01, 3.0));
    } catch (const std::exception&) {
        // Ends quietly.
    }
}

void SpectrumTools::StepDownHalf() { StepBox(smoothForm().txtFactor, -0.5); }
void SpectrumTools::StepUpHalf() { StepBox(smoothForm().txtFactor, 0.5); }
void SpectrumTools::StepDownOne() { StepBox(smoothForm().txtm, -1); }
void SpectrumTools::StepUpOne() { StepBox(smoothForm().txtm, 1); }
void SpectrumTools::StepDownOne2() { StepBox(smoothForm().txtns, -1); }
void SpectrumTools::StepUpOne2() { StepBox(smoothForm().txtns, 1); }

} // namespace kelvara
