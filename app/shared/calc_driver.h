#pragma once
// The calculation driver that every calculating page runs when its
// "Calculate" button is pressed:
//   hourglass; the page's boxes read by numeric conversion (a box that is not
//   a number, or a value out of range, refused with a message that names the
//   box and its text); a step that is not positive, a negative maximum, a
//   primary energy that is not positive, losses that reach the primary energy
//   (Emax >= Ep) refused the same way; the grid's point count n = Emax/Estep
//   rounded (halves to even); n > 1000 refused naming the Emax box ("max
//   number of points is 1000"); a grid on which the library computes fewer
//   than two losses (Emax below the second loss) refused naming the Emax box;
//   no model read (no oscillator): "You must first read ELF data file"; a
//   model that holds a value the dielectric function cannot use refused
//   naming it (UnusableModelMessage, shared/oscillator_model.h); the page's
//   library call; each result array rewritten in place as a spectrum array
//   through PlotBuf, summing its values;
//   the totals and the mean free paths judged; the main curve plotted; the mean
//   free paths from the main curve's area and the core parameters; ResultText;
//   the title box; the area lines; the page's result frame; pointer back to the
//   default.
//
// The curves hold exactly the points the library computed: the library
// truncates Emax/Estep where the window rounds it, so the rewrite, the sums,
// the plot and the saved files use the smaller of the two counts and never a
// value left behind by an earlier run. The 1000-point limit is tested on the
// rounded count. Each curve carries the energy of its first point in element
// 2: Estep for the main window's libraries (their first value is the loss
// T = Estep), Emin for the photoemission library; plot, read-out, plot file
// and result file then give the same loss for the same value.
//
// A result that is not physical is never shown, plotted as a result or kept:
// an area of a total cross section (the main curve, and the lines marked as
// totals) or a mean free path that is not a positive finite number, or an area
// of a contribution that is not a finite number (the contributions may be
// negative: the surface terms are). The run then shows a message that names
// the quantity ("Total IMFP = -140.53Å is not physical: the model gives no
// physical result for these parameters."), the result arrays get back what they
// held before the call, and the plot, ResultText, the title box, the areas box
// and the result frame keep what they held.
//
// Each page describes itself in a CalcRecipe: its boxes, its library and its
// count rule, its arrays, its texts and its frames.
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/errors.h"
#include "state/module1.h"

namespace kelvara {

class WindowSurface;

// One line of the areas box: the label and the curve (index into
// CalcRecipe::curves) whose area follows it.
// A line marked `total` (and the main curve's line) gives the area of a total
// cross section, which must be positive.
struct AreaLine {
    QString label;
    int curve = 0;
    bool total = false;
};

// The three mean free paths (Å) derived from a calculation.
struct MeanFreePaths {
    double total = 0.0;   // 1/(1/valence + 1/core)
    double valence = 0.0; // 1/area of the main curve
    double core = 0.0;    // Ep/(ac*(ln Ep + bc))
};

enum class CalcOutcome {
    Done,          // every step ran
    TooManyPoints, // n > 1000: only the message
    InvalidGrid,   // a box that is not a number or out of range (a step that is not
                   // positive, a negative maximum, Ep not positive, Emax >= Ep, a grid
                   // of fewer than two losses, a value the page refuses): only the
                   // message, which names the box and its text
    Failed,        // no model, a library that cannot be called, a result that is not
                   // physical (the message that names it), or any other run-time
                   // error (the page's failure path)
};

// A failure the driver or a page can explain: its message is shown (OK only)
// and the run ends on the failure path without the page's own onFailure.
class CalcFailure : public RuntimeError {
public:
    explicit CalcFailure(const QString& message);
    QString message() const;
};

// The precision of the running sums of the rewritten curves: the main
// window's pages sum in 64-bit floats, the photoemission calculation in
// 32-bit floats.
enum class SumPrecision { Double, Single };

struct CalcRecipe {
    // The calculation as messages name it ("thin-film"): a page whose curve
    // this run replaces is told which calculation replaced it.
    QString calculation;
    // Reads the page's boxes in the page's order; stores Estep and Emax (and
    // Emin) program-wide as soon as each is converted. Raises on a box that
    // does not hold a number.
    std::function<void()> readBoxes;
    // The primary energy as read (for the Ep box checks and the core mean free
    // path). A recipe without it cannot give mean free paths: the run ends on
    // the failure path before the library is called.
    std::function<float()> primaryEnergy;
    // Number of values the page's library writes for the grid just read
    // (none: the rounded count n).
    std::function<int()> libraryCount;
    // The grid's point count when the page forms it the way its library does
    // (the photoemission grid counts from Emin): it replaces Emax/Estep
    // rounded in the 1000-point test, and every curve holds exactly this many
    // points (libraryCount is then not used).
    std::function<int()> pointCount;
    // The library call.
    std::function<void()> callLibrary;
    // Runs once the driver has judged the curves and its mean free paths, before
    // anything is plotted or shown: judges what else the library gave back (its
    // own mean free paths). Returns false when that is not usable, or raises a
    // CalcFailure that names it (RequirePhysical): the run then ends on the
    // failure path. Show what it keeps in showResults.
    std::function<bool()> afterCall;
    // The result arrays, in the order they are rewritten.
    std::vector<SpectrumArray*> curves;
    // The curve that is plotted and gives the mean free paths.
    int mainCurve = 0;
    // Energy of the first point (element 2 of the rewritten arrays; none:
    // Estep, the first loss of the main window's libraries).
    std::function<float()> firstEnergy;
    // Precision of the running sums.
    SumPrecision sums = SumPrecision::Double;
    // Clears the plot and draws the curve in colour 0.
    std::function<void(const SpectrumArray&)> plotCurve;

    // ResultText: [line break] totalLabel l unit, line break, the valence line,
    // line break, the core line.
    bool resultStartsWithLineBreak = true;
    QString totalLabel = QStringLiteral("Total IMFP = ");
    QString unit = QStringLiteral("\u00C5");
    // Receives ResultText (without the area lines) and writes the title box.
    std::function<void(const QString& resultText)> showTitle;
    // The area lines; none: no areas box and no area lines in ResultText.
    std::vector<AreaLine> areaLines;
    // Writes the area lines into the areas box, makes it visible and returns
    // the box's text as it reads back.
    std::function<QString(const QString& areaText)> showAreas;
    // Makes the page's result frame visible (and whatever else the page does
    // at the end of a run).
    std::function<void()> showResults;
    // The failure path of an error the driver cannot explain: a message box or
    // nothing.
    std::function<void()> onFailure;
};

// The program's messages of the driver.
// A grid of more points than a curve takes, naming the box to change and
// its text: "The box "Emax" holds "500.5": max number of points is 1000; ..."
QString TooManyPointsMessage(const QString& box, const QString& text);
QString InvalidGridMessage();
// No model read (no oscillator): "You must first read ELF data file".
QString NoModelMessage();
// A run-time error the driver cannot name (the pages' failure path).
QString CalculationFailedMessage();
// A library that cannot be loaded or has no such entry, with the loader's text.
QString LibraryNotCalledMessage(const QString& reason);
// A quantity that is not physical, named as it would be shown (`label` then
// `valueText`, e.g. "Total IMFP = " and "-140.53Å"):
//   "Total IMFP = -140.53Å is not physical: the model gives no physical result
//    for these parameters."
// or, for a value that is not a finite number,
//   "Total IMFP is not a finite number: the model gives no physical result for
//    these parameters."
QString UnphysicalMessage(const QString& label, double value, const QString& valueText);
// Raises a CalcFailure with that message unless `value` is a finite number
// and, when `mustBePositive`, greater than 0.
void RequirePhysical(const QString& label, double value, const QString& valueText, bool mustBePositive = true);

// The 1000-point rule of every grid, in either window: whether the grid
// Estep..Emax holds more points than a curve takes (1000). The count is
// `pointCount` where the caller forms it its own way (the photoemission grid
// counts from Emin), else Emax/Estep rounded, halves to even; a quotient
// beyond the 16-bit count is far above the limit as well.
constexpr int kMaxGridPoints = 1000;
bool TooManyGridPoints(float Emax, float Estep, const std::function<int()>& pointCount = {});

// Emax/Estep rounded to the nearest whole number, halves to even, as a
// 16-bit count. Raises on a zero step or a count outside the 16-bit range.
int16_t RoundedPointCount(float Emax, float Estep);
// Emax/Estep truncated, as the loss libraries count their points (0 for a
// quotient below 1 or not a number, at most `cap`).
int TruncatedPointCount(float Emax, float Estep, int cap = 1000);

// Rewrites `curve` in place as a spectrum array of `count` points through
// PlotBuf: element 1 = count, element 2 = e0, element 3 = step, elements
// 4..count+3 = the library's values 1..count. Returns the sum of the values,
// accumulated in the given precision.
double RewriteAsSpectrum(SpectrumArray& curve, int count, float e0, float step,
                         SumPrecision precision = SumPrecision::Double);

// The mean free paths from the area of the main curve. Raises when the
// logarithm of Ep is not defined.
MeanFreePaths ComputeMeanFreePaths(double mainArea, float Ep, float ac, float bc);

// The three mean-free-path lines (format "0.00") and the area lines (format
// "Scientific", " (Å^-1)"), joined by CR LF.
QString MeanFreePathText(const MeanFreePaths& paths, const QString& totalLabel, const QString& unit,
                         bool startsWithLineBreak);
QString AreaLineText(const QString& label, double area);

// Clears the window's plot and draws the curve in colour 0.
void ClearAndPlot(WindowSurface& window, const SingleArray& curve);

// A recipe with the window's plumbing filled in: the main curve cleared and
// plotted in the window's plot, the title box = `titleLine` + line break +
// ResultText, the area lines into the window's areas box (made visible). The
// page adds its boxes, library call, arrays, texts and failure path.
CalcRecipe WindowRecipe(WindowSurface& window, const QString& titleLine);

// Runs the whole calculation of one page; the hourglass shows until it ends.
CalcOutcome RunCalculation(const CalcRecipe& recipe);

// Which run last wrote a result array. Some arrays are shared by several
// calculations (Keff, Kbulk) and the last run wins; a run that ends Done
// records itself as the writer of each of its curves (a run that does not
// leaves the arrays and the record as they were). Runs are numbered from 1 in
// the order they end Done; run 0 is none.
struct CurveWriter {
    std::uint64_t run = 0;
    QString calculation; // the recipe's `calculation`
};
CurveWriter LastWriter(const SingleArray& curve);
// The number of the last run that ended Done (0: none yet).
std::uint64_t LastDoneRun();

} // namespace kelvara
