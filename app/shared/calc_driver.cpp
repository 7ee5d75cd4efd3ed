#include "shared/calc_driver.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "platform/crlf.h"
#include "platform/errors.h"
#include "platform/numbers.h"
#include "platform/rounding.h"
#include "shared/oscillator_model.h"
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

// Why a grid of fewer than two losses is refused: the maximum the user must
// reach (the grid's second loss).
QString TooFewLossesProblem(float secondLoss) {
    return QStringLiteral("the grid must hold at least two losses: the maximum must be at least the second loss, ") +
           QString::fromStdString(GeneralText(secondLoss)) + QStringLiteral(" eV.");
}

// Why a grid whose losses all lie below the model's energy gap is refused.
QString BelowGapProblem(float lastLoss, float gap) {
    return QStringLiteral("the losses of the grid end at ") + QString::fromStdString(GeneralText(lastLoss)) +
           QStringLiteral(" eV, below the energy gap of the model, ") + QString::fromStdString(GeneralText(gap)) +
           QStringLiteral(" eV: the maximum must lie above the gap.");
}

// The writer of each result array, and the number of the last run that ended
// Done.
std::map<const SingleArray*, CurveWriter>& Writers() {
    static std::map<const SingleArray*, CurveWriter> writers;
    return writers;
}
std::uint64_t lastDoneRun = 0;

} // namespace

CurveWriter LastWriter(const SingleArray& curve) {
    const auto it = Writers().find(&curve);
    return it == Writers().end() ? CurveWriter{} : it->second;
}

std::uint64_t LastDoneRun() { return lastDoneRun; }

CalcFailure::CalcFailure(const QString& message) : RuntimeError(ErrorCode::InvalidCall, message.toStdString()) {}

QString CalcFailure::message() const { return QString::fromStdString(what()); }

QString TooManyPointsMessage(const QString& box, const QString& text) {
    return BoxValueError(
               ErrorCode::Overflow, box, text,
               QStringLiteral("max number of points is %1; lower the maximum or raise the step.").arg(kMaxGridPoints))
        .message();
}

bool TooManyGridPoints(float Emax, float Estep, const std::function<int()>& pointCount) {
    const double quotient = static_cast<double>(Emax / Estep);
    if (!(quotient < 32767.0)) return true;
    return (pointCount ? pointCount() : RoundedPointCount(Emax, Estep)) > kMaxGridPoints;
}

QString NoModelMessage() { return QStringLiteral("You must first read ELF data file"); }

QString CalculationFailedMessage() {
    return QStringLiteral("The calculation could not be completed: check the parameters and the ELF data");
}

QString LibraryNotCalledMessage(const QString& reason) {
    return QStringLiteral("The calculation library could not be called: ") + reason;
}

QString UnphysicalMessage(const QString& label, double value, const QString& valueText) {
    const QString because = QStringLiteral(": the model gives no physical result for these parameters.");
    if (std::isfinite(value)) return label + valueText + QStringLiteral(" is not physical") + because;
    // "Total IMFP = " is named "Total IMFP".
    QString name = label.trimmed();
    if (name.endsWith(QLatin1Char('='))) name.chop(1);
    return name.trimmed() + QStringLiteral(" is not a finite number") + because;
}

namespace {
// Whether a number as shown reads as zero ("0.00\u00C5", "0.0000"): a
// positive value too small for its format. Digits after an exponent sign are
// the exponent's.
bool ShowsZero(const QString& text) {
    for (const QChar c : text) {
        if (c == QLatin1Char('E') || c == QLatin1Char('e')) break;
        if (c >= QLatin1Char('1') && c <= QLatin1Char('9')) return false;
    }
    return true;
}
} // namespace

void RequirePhysical(const QString& label, double value, const QString& valueText, bool mustBePositive) {
    if (std::isfinite(value) && (!mustBePositive || (value > 0.0 && !ShowsZero(valueText)))) return;
    throw CalcFailure(UnphysicalMessage(label, value, valueText));
}

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

namespace {
// The three mean-free-path lines: each label and value.
struct PathLine {
    QString label;
    double value;
};
std::array<PathLine, 3> PathLines(const MeanFreePaths& p, const QString& totalLabel) {
    return {PathLine{totalLabel, p.total}, PathLine{QStringLiteral("Valence electr. contrib. IMFPv = "), p.valence},
            PathLine{QStringLiteral("Core electr. contrib. IMFPc = "), p.core}};
}
QString PathValueText(double value, const QString& unit) {
    return QString::fromStdString(Format(value, "0.00")) + unit;
}
} // namespace

QString MeanFreePathText(const MeanFreePaths& p, const QString& totalLabel, const QString& unit,
                         bool startsWithLineBreak) {
    QStringList lines;
    for (const PathLine& line : PathLines(p, totalLabel)) lines << line.label + PathValueText(line.value, unit);
    return (startsWithLineBreak ? QString(kCrLf) : QString()) + lines.join(kCrLf);
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
    // What the result arrays held before the call: given back when the run
    // fails after it, so no curve of a failed run is shown or saved.
    std::vector<SpectrumArray> before;
    const auto restore = [&r, &before] {
        for (std::size_t k = 0; k < before.size(); ++k) *r.curves[k] = before[k];
    };
    try {
        r.readBoxes();
        const float Estep = Module1::Estep;
        const float Emax = Module1::Emax;
        // A zero or negative step, a negative maximum, a primary energy that
        // is not positive or losses that reach it are refused before anything
        // is touched, naming the box (a negative count would pass the limit, a
        // zero step divide by zero, and the core path needs ln Ep).
        const auto refuse = [&boxes](const char* box, float value, const QString& problem) {
            services().messageBox(OutOfRange(boxes, QString::fromLatin1(box), value, problem));
            return CalcOutcome::InvalidGrid;
        };
        if (!(Estep > 0.0f)) return refuse("Estep", Estep, QStringLiteral("the step must be greater than 0."));
        if (!(Emax >= 0.0f)) return refuse("Emax", Emax, QStringLiteral("the maximum must not be negative."));
        // The core mean free path needs the primary energy.
        if (!r.primaryEnergy) raise(ErrorCode::InvalidCall, "The page gives no primary energy");
        const float Ep = r.primaryEnergy();
        if (!(Ep > 0.0f)) return refuse("Ep", Ep, QStringLiteral("the energy must be greater than 0."));
        if (!(Emax < Ep)) return refuse("Emax", Emax, QStringLiteral("every energy loss must be below Ep."));
        if (TooManyGridPoints(Emax, Estep, r.pointCount)) {
            const BoxReading* reading = boxes.find(QStringLiteral("Emax"));
            services().messageBox(
                TooManyPointsMessage(reading ? reading->box : QStringLiteral("Emax"),
                                     reading ? reading->text : QString::fromStdString(GeneralText(Emax))));
            return CalcOutcome::TooManyPoints;
        }
        const int n = r.pointCount ? r.pointCount() : RoundedPointCount(Emax, Estep);
        // Only the points the library writes: where it truncates to one less
        // than the rounded count, the last slot would hold an old value.
        const int count =
            r.pointCount ? std::max(0, n) : std::max(0, std::min<int>(n, r.libraryCount ? r.libraryCount() : n));
        const float e0 = r.firstEnergy ? r.firstEnergy() : Estep;
        // A curve of one point has no width to plot and no area to speak of.
        if (count < 2) return refuse("Emax", Emax, TooFewLossesProblem(e0 + Estep));
        if (Module1::NumOsc <= 0) throw CalcFailure(NoModelMessage());
        // The rule that marks the oscillator table's boxes: no run on a model
        // that holds a value the dielectric function cannot use.
        if (const QString unusable = UnusableModelMessage(ProgramModel()); !unusable.isEmpty())
            throw CalcFailure(unusable);
        // The model has no loss below its gap: a grid that ends there gives
        // curves of nothing but rounding noise.
        const float lastLoss = e0 + static_cast<float>(count - 1) * Estep;
        if (lastLoss < Module1::Egap) return refuse("Emax", Emax, BelowGapProblem(lastLoss, Module1::Egap));

        before.reserve(r.curves.size());
        for (const SpectrumArray* curve : r.curves) before.push_back(*curve);
        try {
            r.callLibrary();
        } catch (const RuntimeError& e) {
            if (e.code() == ErrorCode::DllNotFound || e.code() == ErrorCode::EntryNotFound)
                throw CalcFailure(LibraryNotCalledMessage(QString::fromStdString(e.what())));
            throw;
        }

        std::vector<double> areas(r.curves.size(), 0.0);
        for (std::size_t k = 0; k < r.curves.size(); ++k) {
            const double sum = RewriteAsSpectrum(*r.curves[k], count, e0, Estep, r.sums);
            // In single precision the area is a 32-bit product as well.
            areas[k] = r.sums == SumPrecision::Single ? static_cast<double>(static_cast<float>(sum) * Estep)
                                                       : sum * static_cast<double>(Estep);
        }

        // Judged before anything is shown: the areas (a total must be
        // positive, a contribution finite), then the mean free paths.
        const auto main = static_cast<std::size_t>(r.mainCurve);
        QStringList lines;
        for (const AreaLine& line : r.areaLines) {
            const double area = areas.at(static_cast<std::size_t>(line.curve));
            const QString text = AreaLineText(line.label, area);
            RequirePhysical(line.label, area, text.mid(line.label.size()),
                            line.total || line.curve == r.mainCurve);
            lines << text;
        }
        const MeanFreePaths paths = ComputeMeanFreePaths(areas.at(main), Ep, Module1::Core_ac, Module1::Core_bc);
        const QString result = MeanFreePathText(paths, r.totalLabel, r.unit, r.resultStartsWithLineBreak);
        for (const PathLine& line : PathLines(paths, r.totalLabel))
            RequirePhysical(line.label, line.value, PathValueText(line.value, r.unit));
        if (r.afterCall && !r.afterCall()) NotFinite();

        r.plotCurve(*r.curves.at(main));
        Module1::ResultText = result;
        if (r.showTitle) r.showTitle(result);
        if (!r.areaLines.empty()) {
            const QString shown = r.showAreas(lines.join(kCrLf));
            Module1::ResultText = result + kCrLf + kCrLf + shown;
        }
        if (r.showResults) r.showResults();
        ++lastDoneRun;
        for (const SpectrumArray* curve : r.curves) Writers()[curve] = {lastDoneRun, r.calculation};
        return CalcOutcome::Done;
    } catch (const BoxValueError& e) {
        // A box that does not hold a usable number: named with its text,
        // before anything is computed.
        restore();
        services().messageBox(e.message());
        return CalcOutcome::InvalidGrid;
    } catch (const CalcFailure& e) {
        restore();
        services().messageBox(e.message());
        return CalcOutcome::Failed;
    } catch (...) {
        restore();
        if (r.onFailure) r.onFailure();
        return CalcOutcome::Failed;
    }
}

} // namespace kelvara
