#include "shared/calc_driver.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "platform/crlf.h"
#include "platform/errors.h"
#include "platform/numbers.h"
#include "platform/rounding.h"
#include "shared/page_controls.h"
#include "shared/window_surface.h"
#include "widgets/controls.h"
#include "widgets/services.h"

namespace kelvara {

namespace {


[[noreturn]] void NotFinite() { raise(ErrorCode::Overflow, "The result is not a finite number"); }

// The message for a value of the grid or the primary energy that the
// calculation cannot use, naming its box and the text it holds.
QString OutOfRange(const BoxReadLog& log, const QString& box, float value, const QString& problem) {
    const BoxReading* reading = log.find(box);
    const QString text = reading ? reading->text : QString::fromStdString(GeneralText(value));
    return BoxValueError(ErrorCode::Overflow, reading ? reading->box : box, text, problem).message();
}

} // namespace

QString TooManyPointsMessage() { return QStringLiteral("max number of points is 1000"); }

QString InvalidGridMessage() {
    return QStringLiteral("Invalid energy grid: Estep must be greater than 0 and Emax must not be negative");
}

int16_t RoundedPointCount(float Emax, float Estep) {
    if (Estep == 0.0f) raise(ErrorCode::DivisionByZero);
    // The quotient of the two single-precision values, as the window forms it.
    const float quotient = Emax / Estep;
    return CInt(static_cast<double>(quotient));
}

int TruncatedPointCount(float Emax, float Estep, int cap) {
    const double quotient = static_cast<double>(Emax) / static_cast<double>(Estep);
    if (!std::isfinite(quotient) || quotient < 1.0) return 0;
    if (quotient >= static_cast<double>(cap)) return cap;
    return static_cast<int>(quotient);
}

double RewriteAsSpectrum(SpectrumArray& curve, int count, float e0, float step, SumPrecision precision) {
    using Module1::PlotBuf;
    for (int i = 1; i <= count; ++i) PlotBuf(i) = curve(i);
    curve(1) = static_cast<float>(count);
    curve(2) = e0;
    curve(3) = step;
    double sum = 0.0;
    float single = 0.0f;
    for (int i = 1; i <= count; ++i) {
        curve(i + 3) = PlotBuf(i);
        if (precision == SumPrecision::Single)
            single += PlotBuf(i);
        else
            sum += PlotBuf(i);
    }
    return precision == SumPrecision::Single ? static_cast<double>(single) : sum;
}

MeanFreePaths ComputeMeanFreePaths(double mainArea, float Ep, float ac, float bc) {
    // The logarithm is defined for a positive energy only.
    if (!(Ep > 0.0f)) raise(ErrorCode::InvalidCall);
    MeanFreePaths p;
    p.valence = 1.0 / mainArea;
    p.core = static_cast<double>(Ep) / (static_cast<double>(ac) * (std::log(static_cast<double>(Ep)) + bc));
    p.total = 1.0 / (1.0 / p.valence + 1.0 / p.core);
    return p;
}

bool AllFinite(const MeanFreePaths& p) {
    return std::isfinite(p.total) && std::isfinite(p.valence) && std::isfinite(p.core);
}

QString MeanFreePathText(const MeanFreePaths& p, const QString& totalLabel, const QString& unit,
                         bool startsWithLineBreak) {
    const auto f = [](double v) { return QString::fromStdString(Format(v, "0.00")); };
    QString text = startsWithLineBreak ? kCrLf : QString();
    text += totalLabel + f(p.total) + unit + kCrLf;
    text += QStringLiteral("Valence electr. contrib. IMFPv = ") + f(p.valence) + unit + kCrLf;
    text += QStringLiteral("Core electr. contrib. IMFPc = ") + f(p.core) + unit;
    return text;
}

QString AreaLineText(const QString& label, double area) {
    return label + QString::fromStdString(Format(area, "Scientific")) + QStringLiteral(" (\u00C5^-1)");
}

void ClearAndPlot(WindowSurface& window, const SingleArray& curve) {
    window.ClearPlot();
    window.Plot(curve, 0);
}

CalcRecipe WindowRecipe(WindowSurface& window, const QString& titleLine) {
    CalcRecipe r;
    r.plotCurve = [&window](const SpectrumArray& curve) { ClearAndPlot(window, curve); };
    r.showTitle = [&window, titleLine](const QString& result) {
        window.titleBox().setText(titleLine + kCrLf + result);
    };
    r.showAreas = [&window](const QString& text) {
        window.areasBox().setText(text);
        window.areasBox().show();
        return window.areasBox().text();
    };
    return r;
}

CalcOutcome RunCalculation(const CalcRecipe& r) {
    BusyPointer hourglass;
    BoxReadLog boxes;
    try {
        r.readBoxes();
        const float Estep = Module1::Estep;
        const float Emax = Module1::Emax;
        // A zero or negative step, a negative maximum or a primary energy that
        // is not positive is refused before anything is touched, naming its
        // box (a negative count would pass the limit, a zero step divide by
        // zero, and the core path needs ln Ep).
        const auto refuse = [&boxes](const char* box, float value, const char* problem) {
            services().messageBox(OutOfRange(boxes, QString::fromLatin1(box), value, QString::fromLatin1(problem)));
            return CalcOutcome::InvalidGrid;
        };
        if (!(Estep > 0.0f)) return refuse("Estep", Estep, "the step must be greater than 0.");
        if (!(Emax >= 0.0f)) return refuse("Emax", Emax, "the maximum must not be negative.");
        if (r.primaryEnergy) {
            const float Ep = r.primaryEnergy();
            if (!(Ep > 0.0f)) return refuse("Ep", Ep, "the energy must be greater than 0.");
        }
        // A quotient beyond the 16-bit count is far above the limit as well.
        const double quotient = static_cast<double>(Emax / Estep);
        if (!(quotient < 32767.0)) {
            services().messageBox(TooManyPointsMessage());
            return CalcOutcome::TooManyPoints;
        }
        const int n = r.pointCount ? r.pointCount() : RoundedPointCount(Emax, Estep);
        if (n > 1000) {
            services().messageBox(TooManyPointsMessage());
            return CalcOutcome::TooManyPoints;
        }

        r.callLibrary();
        const bool usable = r.afterCall ? r.afterCall() : true;

        // Only the points the library wrote: where it truncates to one less
        // than the rounded count, the last slot would hold an old value.
        const int count =
            r.pointCount ? std::max(0, n) : std::max(0, std::min<int>(n, r.libraryCount ? r.libraryCount() : n));
        const float e0 = r.firstEnergy ? r.firstEnergy() : 0.0f;
        std::vector<double> areas(r.curves.size(), 0.0);
        for (std::size_t k = 0; k < r.curves.size(); ++k) {
            const double sum = RewriteAsSpectrum(*r.curves[k], count, e0, Estep, r.sums);
            // In single precision the area is a 32-bit product as well.
            areas[k] = r.sums == SumPrecision::Single ? static_cast<double>(static_cast<float>(sum) * Estep)
                                                       : sum * static_cast<double>(Estep);
        }

        const auto main = static_cast<std::size_t>(r.mainCurve);
        r.plotCurve(*r.curves.at(main));

        if (!usable) NotFinite();
        const MeanFreePaths paths = ComputeMeanFreePaths(areas.at(main), r.primaryEnergy(), Module1::Core_ac,
                                                         Module1::Core_bc);
        if (!AllFinite(paths)) NotFinite();
        QStringList lines;
        for (const AreaLine& line : r.areaLines) {
            const double area = areas.at(static_cast<std::size_t>(line.curve));
            if (!std::isfinite(area)) NotFinite();
            lines << AreaLineText(line.label, area);
        }

        const QString result = MeanFreePathText(paths, r.totalLabel, r.unit, r.resultStartsWithLineBreak);
        Module1::ResultText = result;
        if (r.showTitle) r.showTitle(result);
        if (!r.areaLines.empty()) {
            const QString shown = r.showAreas(lines.join(kCrLf));
            Module1::ResultText = result + kCrLf + kCrLf + shown;
        }
        if (r.showResults) r.showResults();
        return CalcOutcome::Done;
    } catch (const BoxValueError& e) {
        // A box that does not hold a usable number: named with its text,
        // before anything is computed.
        services().messageBox(e.message());
        return CalcOutcome::InvalidGrid;
    } catch (...) {
        if (r.onFailure) r.onFailure();
        return CalcOutcome::Failed;
    }
}

} // namespace kelvara
