#pragma once
// Module1: the program-wide variables that both windows read and write, and
// the ten declared library routines. Nothing else passes data between the
// windows. Every array has lower bound 0, starts as zeros and is used from
// element 1 on (the step table alone uses element 0); every index is checked.
//
// Single = 32-bit float, Integer = int16_t; a flag is an Integer holding True
// as -1 and False as 0.
#include <QString>
#include <cstdint>

#include "platform/checked_array.h"

namespace kelvara {

constexpr int16_t True = -1;
constexpr int16_t False = 0;

// A spectrum array: element 1 the number of points N, element 2 the energy of
// the first point, element 3 the energy step, elements 4..N+3 the values.
using SpectrumArray = SingleArray;

// Upper bound of a result array: the three header slots and up to 1000 values.
constexpr int kResultUpper = 1003;
// Upper bound of the spectrum and buffer arrays.
constexpr int kSpectrumUpper = 5000;
// Upper bound of the oscillator arrays (at most 20 oscillators).
constexpr int kOscillatorUpper = 20;
// Upper bound of the loss-function arrays.
constexpr int kLossFunctionUpper = 1000;

namespace Module1 {

// Screen size in twips, read once at start-up.
inline float ScrHeight = 0.0f;
inline float ScrWidth = 0.0f;

inline int16_t AutoScale = False;    // plot takes its range from the curve it draws
inline int16_t FillingBoxes = False; // code is writing the oscillator table

// The energy-loss grid of the last calculation or loss-function plot (eV).
inline float Estep = 0.0f;
inline float Emax = 0.0f;
inline float Emin = 0.0f;

// The oscillator model.
inline float Egap = 0.0f;
inline float fsum = 0.0f;
inline float RefIndex = 0.0f;
inline int16_t NumOsc = 0;
inline float Core_ac = 0.0f;
inline float Core_bc = 0.0f;
inline SingleArray W0{0, kOscillatorUpper};
inline SingleArray A0{0, kOscillatorUpper};
inline SingleArray Gamma{0, kOscillatorUpper};
inline SingleArray Alfa{0, kOscillatorUpper};

// Where the oscillator model in memory came from: the full path of the model
// file it was read from or last saved to (empty: none), and whether the
// oscillator table has changed it since. Every result file names it.
struct ModelSourceRecord {
    QString path;
    bool changedInTable = false;
};
inline ModelSourceRecord ModelSource;

// Photoemission outputs.
inline float IMFPxps = 0.0f;
inline float XpsIntA = 0.0f;
inline float XpsIntB = 0.0f;

// Mean-free-path and area lines of the last calculation.
inline QString ResultText;

// Optical loss functions at T = i*Estep.
inline SingleArray ELFbulk{0, kLossFunctionUpper};
inline SingleArray ReInvEps{0, kLossFunctionUpper};
inline SingleArray Eps1{0, kLossFunctionUpper};
inline SingleArray Eps2{0, kLossFunctionUpper};
inline SingleArray ELFsurf{0, kLossFunctionUpper};

// Result arrays.
inline SpectrumArray Keff{0, kResultUpper};
inline SpectrumArray Ksurf{0, kResultUpper};
inline SpectrumArray Kbulk{0, kResultUpper};
inline SpectrumArray Kvi{0, kResultUpper};
inline SpectrumArray Kvo{0, kResultUpper};
inline SpectrumArray Kmi{0, kResultUpper};
inline SpectrumArray Kmo{0, kResultUpper};
inline SpectrumArray KModelA{0, kResultUpper};
inline SpectrumArray KModelB{0, kResultUpper};
inline SpectrumArray KModelA_in{0, kResultUpper};
inline SpectrumArray KModelA_out{0, kResultUpper};
inline SpectrumArray keff_inf{0, kResultUpper};
inline SpectrumArray keff_medium_h{0, kResultUpper};
inline SpectrumArray keff_medium_nh{0, kResultUpper};
inline SpectrumArray keff_vacuum_h{0, kResultUpper};
inline SpectrumArray keff_vacuum_nh{0, kResultUpper};

// The plot's tick steps (elements 0..6).
inline IntegerArray StepTable{0, 6};

// Spectra and the work/plot buffer.
inline SpectrumArray SpecMeas{0, kSpectrumUpper};
inline SpectrumArray SpecInel{0, kSpectrumUpper};
inline SpectrumArray PlotBuf{0, kSpectrumUpper};
inline SpectrumArray Spec2{0, kSpectrumUpper};

// Back to the start of the run: every variable zero, empty or False.
void Reset();

} // namespace Module1

} // namespace kelvara
