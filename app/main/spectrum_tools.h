#pragma once
// The main window's tools for measured spectra: reading a two-column spectrum
// file, joining the measured spectrum SpecMeas and the second spectrum
// SpecInel by area normalisation (NormArea of zandrel) into PlotBuf, K(T) of
// the joined spectrum (LCROSS of rivmer) into Spec2, the area and the peak of
// a spectrum, the scaled loss curve, and the procedures of the Savitzky-Golay
// smoothing panel on frmSmooth.
//
// Reached in use: Text1_Change, run by the joining panel at every write of
// Es (Text1), the start-up's "3" and the up-down steps included; it joins,
// derives K(T) once a spectrum file has been read, and plots Spec2. Nothing
// else here is connected to a control or a menu item; the procedures are
// public for whatever calls them.
//
// The smoothing panel's boxes (frmsmooth.h): ClampSmoothParamTo5,
// StepDownOne and StepUpOne work on the degree box txtm; ClampSmoothParamTo20,
// StepDownOne2 and StepUpOne2 on the half-width box txtns; StepUpHundredth,
// StepDownHalf and StepUpHalf on the factor box txtFactor, which
// BuildScaledLossCurve and RescaleLossCurve read.
//
// Room: a program spectrum array (elements 0..5000) holds at most 4997
// points, and the work arrays of these procedures 5000 values. A procedure
// refuses an input or a result that does not fit before it writes anything:
// it then ends as on any other error, with its outputs as they were.
#include <QObject>
#include <QString>

#include "state/module1.h"

namespace kelvara {

class Form1;
class frmSmooth;

// The most points a spectrum array with elements up to `upper` holds.
constexpr int SpectrumRoom(int upper) { return upper - 3; }
// Values a program spectrum array holds.
constexpr int kSpectrumPoints = SpectrumRoom(kSpectrumUpper);

// The rows of a two-column spectrum file: comment items up to one starting
// with "@", then energy and value per row into x(1..n) and y(1..n). Returns
// false, with x and y possibly written but n unchanged, for a missing file, no
// "@" item, an item that is not a number, an incomplete last row or more than
// `room` rows (or more than x and y hold). The file is closed on every path.
bool ReadSpectrumRows(const QString& File, SingleArray& x, SingleArray& y, int room, int& n);

class SpectrumTools : public QObject {
    Q_OBJECT
public:
    explicit SpectrumTools(Form1& form);

    // ---- window values -----------------------------------------------------
    // A spectrum file has been read (False at start; gates LK_CrossSct and
    // BuildScaledLossCurve).
    bool SpectrumLoaded = false;
    // Path of the last spectrum file chosen for smoothing.
    QString SpectrumPath;

    // ---- reached in use ------------------------------------------------------
    // Norm(PlotBuf); LK_CrossSct(PlotBuf, Spec2); clear the plot; plot Spec2.
    // Any error ends it quietly.
    void Text1_Change();
    // Joins SpecMeas and SpecInel into `spectrum` with the join energy Es
    // (Text1) and the window from En2 (Text4) to En1 (Text3) below the first
    // spectrum's peak. Any error (a box that is not a number, a missing
    // library, spectra that do not fit) ends it quietly.
    void Norm(SpectrumArray& spectrum);
    // When a spectrum file has been read: K(T) of `spectrum` into KSpec, its
    // area into the form's AreaK and " Area =  " & Format(AreaK, "###0.000")
    // into the plot title box Text2, made visible. Errors are raised.
    void LK_CrossSct(SpectrumArray& spectrum, SpectrumArray& KSpec);

    // ---- public procedures that nothing calls --------------------------------
    // Rectangle-rule area of the points (32-bit running sum times the step).
    // Takes the spectrum's first energy and step as PlotE0 and PlotDE.
    void AREA(const SpectrumArray& spectrum, float& Ap);
    // The first largest positive value AIP and the energy one step above its
    // point, PlotE0 + i*PlotDE; Ep = AIP = 0 when no value is positive.
    void E_peak(const SpectrumArray& spectrum, float& Ep, float& AIP);

    // ---- procedures that no control invokes ------------------------------------
    // Reads a two-column spectrum file: comment items up to one starting with
    // "@", then energy and value per row. The rows from the fourth on become
    // the spectrum, with the fourth row's energy as first energy and the mean
    // step of all rows as step (also PlotE0 and PlotDE); SpectrumLoaded is set.
    // Returns false, changing nothing, for a file that cannot be read whole: a
    // missing file, no "@" item, fewer than four rows (no point), an item that
    // is not a number, an incomplete last row, or more rows than Spectr or the
    // 5000-value work array holds.
    bool ReadSpectr(const QString& File, SpectrumArray& Spectr);
    // AutoScale on; reads the file selected in the browser into SpecMeas,
    // names it in the input-file box and plots SpecMeas. Without a selected
    // file nothing happens.
    void ReadSpectrumToSmooth();
    // Once a spectrum file has been read: PlotBuf = SpecInel below the first
    // energy of SpecMeas and SpecMeas times the factor from there on, on the
    // step of SpecMeas; plotted. Ends quietly on an error or a curve of more
    // than 4997 points, PlotBuf unchanged.
    void BuildScaledLossCurve();
    // YmaxValue = the factor; BuildScaledLossCurve; plots PlotBuf.
    void RescaleLossCurve();

    // Smoothing panel.
    void ShowSmoothingPanel();
    void CloseSmoothingPanel();
    void CheckShowOriginal();
    void ClampSmoothParamTo5();  // txtm into 2..5, then SmoothSpectrum
    void ClampSmoothParamTo20(); // txtns into 2..20, then SmoothSpectrum
    // Savitzky-Golay smoothing of SpecMeas into PlotBuf with the ns and m
    // boxes; writes the description and the output file name and plots the
    // result (with the unsmoothed spectrum in red on its scale when the check
    // box is ticked). Ends quietly, changing nothing, when the smoothing
    // cannot be done (a box that is not a whole number, no coefficients).
    void SmoothSpectrum();
    void MakeSmoothedFileName(); // output-file box = "smo" & input-file box
    void StepUpHundredth();      // factor + 0.01, at most 3
    void StepDownHalf();         // factor - 0.5
    void StepUpHalf();           // factor + 0.5
    void StepDownOne();          // m - 1
    void StepUpOne();            // m + 1
    void StepDownOne2();         // ns - 1
    void StepUpOne2();           // ns + 1

private:
    frmSmooth& smoothForm() const;
    Form1& form_;
};

} // namespace kelvara
