#pragma once
// The spectrum toolkit: operations on spectrum arrays and the writers of
// two-column spectrum files and result files.
//
// A spectrum array is a float array used from element 1: element 1 holds the
// point count N (read by rounding, halves to even, into a 16-bit integer),
// element 2 the energy E0 of the first point, element 3 the step dE, elements
// 4..N+3 the values; point i lies at E0 + (i-1)*dE. Every element access is
// checked, every 16-bit count or index step is checked for overflow and every
// float result for overflow, division by zero and invalid operation; these
// raise kelvara::RuntimeError unless a method says it ends quietly.
//
// Methods that end quietly on a run-time error (FindMax,
// AnalyzerTransmission_by_exponent_m, smooth and the two writers) return
// false in that case and true when they ran to their end, so that a caller
// can tell a finished result from a partial one.
#include <cstdint>
#include <string>

#include "platform/checked_array.h"

namespace kelvara {

class Tools_cls {
public:
    using Spectrum = CheckedArray<float>;
    using TextLines = CheckedArray<std::string>;

    // Point-wise arithmetic: the output takes Inp1's header (elements 1..3)
    // and the values of Inp1 op operand for points 1..N of Inp1.
    void SubtractSpectra(const Spectrum& Inp1, const Spectrum& Inp2, Spectrum& Out1);
    void AddSpectra(const Spectrum& Inp1, const Spectrum& Inp2, Spectrum& Out1);
    // Sets the first energy of Inp1 to Eshift + EStartReference.
    void EnergyShiftSpectrum(Spectrum& Inp1, float Eshift, double EStartReference);
    // Resamples Inp onto the step NewEstep from E0 up to one input step above
    // the last input point (linear interpolation, linear extrapolation).
    void ChangeEnergyGrid(const Spectrum& Inp, Spectrum& Out, float NewEstep);
    void Multiply(const Spectrum& Inp1, Spectrum& Out1, float Factor);
    // Energy E0 + (i-1)*dE of the first largest point i (E0 when no value
    // exceeds -2.2E-29). Ends quietly on a run-time error, MaxEnergy unchanged.
    bool FindMax(const Spectrum& Spec, float& MaxEnergy);
    // Copies points up to and including the last one whose successor lies
    // above Et (always at least the first point).
    void Truncate(const Spectrum& Inp1, Spectrum& Out, float Et);
    // Out2 = Inp2 scaled by NormFactor = max(Inp1) / max(Inp2); IMax1, IMax2
    // receive the element indices of the maxima (unchanged when none is found).
    void NormalizeSpectra(const Spectrum& Inp1, const Spectrum& Inp2, Spectrum& Out2, float& NormFactor,
                          int16_t& IMax1, int16_t& IMax2);
    // Savitzky-Golay first derivative per point of degree m over 2*ns+1
    // points; the ns points at each end are set to 0. Errors are raised.
    void Derivative(const Spectrum& Inp, Spectrum& DerivativeInp, int16_t m, int16_t ns);
    // Savitzky-Golay smoothing of degree m over 2*ns+1 points; the ns points
    // at each end are copied. Returns false (quietly) when the coefficients
    // cannot be read or the spectrum cannot be filtered; the output then does
    // not hold a smoothed curve.
    bool smooth(const Spectrum& Inp, Spectrum& SmoothInp, int16_t m, int16_t ns);
    // Divides by the analyser transmission interpolated from Trans.
    void AnalyzerTransmission_by_File(const Spectrum& Inp, Spectrum& CorInp, const Spectrum& Trans);
    // Multiplies by E^m. Ends quietly at a point with E <= 0 or an overflow
    // (returning false); the points before stay written.
    bool AnalyzerTransmission_by_exponent_m(const Spectrum& Inp, Spectrum& CorInp, float m);
    void CopyArray(const Spectrum& Inp, Spectrum& CopyInp);
    // Rectangle rule: dE times the sum of the N values.
    void AREA(const Spectrum& Inp, float& AREA);
    // Linear interpolation in the ascending table EH(1..imax), SH(1..imax),
    // extrapolated from the end segments. Estep is not used.
    void Interp_non_equid(float E, float& Y, const Spectrum& EH, const Spectrum& SH, int16_t imax, float Estep);
    // Linear interpolation on an equidistant spectrum (at least two points),
    // extrapolated from the first and last segments.
    void Interpolate(float E, float& Yint, const Spectrum& Spectr);
    // Two-column spectrum file: quoted header lines text(1..n_text_lines), a
    // quoted "@", then one "energy,value" row per point. Returns false when
    // the file could not be written; an existing file is then left as it was.
    bool Save2col(const std::string& File, const Spectrum& Spec, const TextLines& text, int16_t n_text_lines);
    // Result file: header lines, the oscillator model, the result line, the
    // column notes, "@", the row 0, 0 and the rows T = dE, 2 dE, ... . Returns
    // false when the file could not be written; an existing file is then left
    // as it was.
    bool Save2col_ELF(const std::string& File, const Spectrum& Spec, const TextLines& text, int16_t n_text_lines,
                      int16_t NELFdata, const Spectrum& w0, const Spectrum& A0, const Spectrum& gamma,
                      const Spectrum& alpha, float Refr_Index, float E_gap, float ac, float bc,
                      const std::string& txtIMFP);
    // The same with the rows T = LossBeforeFirst + dE, + 2 dE, ... (successive
    // 32-bit additions): a curve whose first point is not at one step (the
    // photoemission curves start at their lowest loss).
    bool Save2col_ELF(const std::string& File, const Spectrum& Spec, const TextLines& text, int16_t n_text_lines,
                      int16_t NELFdata, const Spectrum& w0, const Spectrum& A0, const Spectrum& gamma,
                      const Spectrum& alpha, float Refr_Index, float E_gap, float ac, float bc,
                      const std::string& txtIMFP, float LossBeforeFirst);

    // Folder that holds the Utils sub-folder with the coefficient files: the
    // program's folder unless a folder has been set (an empty text restores
    // the program's folder).
    static std::string programFolder();
    static void setProgramFolder(const std::string& folder);
    static std::string smoothParFile();
    static std::string derivativeParFile();
};

// The single program-wide toolkit object, created at its first use and kept
// to the end of the run.
Tools_cls& Tools();
// Whether Tools() has created the object yet.
bool ToolsCreated();

} // namespace kelvara
