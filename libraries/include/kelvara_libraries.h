/*
 * Exports of the ten loss-model libraries.
 *
 * Every argument passes by reference: a scalar as the address of the caller's
 * variable (float = 32-bit, counts = int16_t), an array as the address of its
 * element 1. No routine returns a value; results come back through the
 * out-arguments. The libraries are not re-entrant (private static storage).
 *
 * For each export there is a function-pointer type <entry>_fn with which the
 * program binds the entry at run time.
 */
#ifndef KELVARA_LIBRARIES_H
#define KELVARA_LIBRARIES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(KELVARA_BUILDING_LIBRARY)
#define KELVARA_EXPORT __attribute__((visibility("default")))
#else
#define KELVARA_EXPORT
#endif

/* orvane.so: reflection at any incidence and exit angle. */
KELVARA_EXPORT void orvane(float* Ep, float* Estep, float* Emax, float* X0, float* Theta1, float* Theta2,
                           float* Kvi, float* Kvo, float* Kmi, float* Kmo, float* Keff, float* Egap,
                           float* W0, float* Gamma, float* A0, float* Alfa, int16_t* NumOsc,
                           float* Core_ac, float* Core_bc, float* IMFPc, float* IMFPv, float* IMFPeff);
typedef void (*orvane_fn)(float* Ep, float* Estep, float* Emax, float* X0, float* Theta1, float* Theta2,
                          float* Kvi, float* Kvo, float* Kmi, float* Kmo, float* Keff, float* Egap,
                          float* W0, float* Gamma, float* A0, float* Alfa, int16_t* NumOsc,
                          float* Core_ac, float* Core_bc, float* IMFPc, float* IMFPv, float* IMFPeff);

/* senvik.so: normal-incidence Model A and Model B. */
KELVARA_EXPORT void senvik(float* Ep, float* Estep, float* Emax, float* X0, float* KModelA, float* KModelB,
                           float* Egap, float* W0, float* Gamma, float* A0, float* Alfa, int16_t* NumOsc,
                           float* KModelA_in, float* KModelA_out);
typedef void (*senvik_fn)(float* Ep, float* Estep, float* Emax, float* X0, float* KModelA, float* KModelB,
                          float* Egap, float* W0, float* Gamma, float* A0, float* Alfa, int16_t* NumOsc,
                          float* KModelA_in, float* KModelA_out);

/* welbane.so: transmission through a film. */
KELVARA_EXPORT void thinfilm(float* Ep, float* Estep, float* Emax, float* Thickness, float* Egap, float* W0,
                             float* Gamma, float* A0, float* Alfa, int16_t* NumOsc, float* Keff,
                             float* Ksurf, float* Kbulk);
typedef void (*thinfilm_fn)(float* Ep, float* Estep, float* Emax, float* Thickness, float* Egap, float* W0,
                            float* Gamma, float* A0, float* Alfa, int16_t* NumOsc, float* Keff,
                            float* Ksurf, float* Kbulk);

/* castrel.so: infinite medium. */
KELVARA_EXPORT void infmedium(float* Ep, float* Estep, float* Emax, float* Egap, float* W0, float* Gamma,
                              float* A0, float* Alfa, int16_t* NumOsc, float* Kinf);
typedef void (*infmedium_fn)(float* Ep, float* Estep, float* Emax, float* Egap, float* W0, float* Gamma,
                             float* A0, float* Alfa, int16_t* NumOsc, float* Kinf);

/* durmel.so: photo- and Auger electrons with and without the core hole. */
KELVARA_EXPORT void durmel(float* Ep, float* Estep, float* Emin, float* Emax, float* X0, float* Theta,
                           int16_t* n_integr, float* Keff, float* keff_inf, float* keff_medium_h,
                           float* keff_medium_nh, float* keff_vacuum_h, float* keff_vacuum_nh, float* qHole,
                           float* W0, float* A0, float* Gamma, float* Egap, float* Alfa, int16_t* NumOsc,
                           float* Core_ac, float* Core_bc, float* IMFPkeff, float* AreaHole,
                           float* AreaNoHole);
typedef void (*durmel_fn)(float* Ep, float* Estep, float* Emin, float* Emax, float* X0, float* Theta,
                          int16_t* n_integr, float* Keff, float* keff_inf, float* keff_medium_h,
                          float* keff_medium_nh, float* keff_vacuum_h, float* keff_vacuum_nh, float* qHole,
                          float* W0, float* A0, float* Gamma, float* Egap, float* Alfa, int16_t* NumOsc,
                          float* Core_ac, float* Core_bc, float* IMFPkeff, float* AreaHole,
                          float* AreaNoHole);

/* hollenbar.so: optical loss functions (Q = 0), the same at any Q, and the
 * gap correction of Re(1/eps). Note the argument orders: Estep, Emax in
 * hollenbar but Emax, Estep in EPSILON_Q; W0, A0, Gamma, Alfa in
 * GAP_CORRECTION but W0, Gamma, A0, Alfa in the other two. */
KELVARA_EXPORT void hollenbar(float* ELFbulk, float* ReInvEps, float* Eps1, float* Eps2, float* ELFsurf,
                              float* Estep, float* Emax, float* Egap, float* W0, float* Gamma, float* A0,
                              float* Alfa, int16_t* NumOsc);
typedef void (*hollenbar_fn)(float* ELFbulk, float* ReInvEps, float* Eps1, float* Eps2, float* ELFsurf,
                             float* Estep, float* Emax, float* Egap, float* W0, float* Gamma, float* A0,
                             float* Alfa, int16_t* NumOsc);

KELVARA_EXPORT void EPSILON_Q(float* Emax, float* Estep, float* Q, float* Egap, float* W0, float* Gamma,
                              float* A0, float* Alfa, int16_t* NumOsc, int16_t* NPts, float* ELFbulk,
                              float* ReInvEps, float* Eps1, float* Eps2, float* ELFsurf);
typedef void (*EPSILON_Q_fn)(float* Emax, float* Estep, float* Q, float* Egap, float* W0, float* Gamma,
                             float* A0, float* Alfa, int16_t* NumOsc, int16_t* NPts, float* ELFbulk,
                             float* ReInvEps, float* Eps1, float* Eps2, float* ELFsurf);

KELVARA_EXPORT void GAP_CORRECTION(float* W0, float* A0, float* Gamma, float* Alfa, float* Q, int16_t* NumOsc,
                                   float* W, float* Egap, float* Corr);
typedef void (*GAP_CORRECTION_fn)(float* W0, float* A0, float* Gamma, float* Alfa, float* Q, int16_t* NumOsc,
                                  float* W, float* Egap, float* Corr);

/* rivmer.so: K(T) from a measured spectrum with its elastic peak
 * (SpectrumArray layout: element 1 count, 2 first energy, 3 step, then values). */
KELVARA_EXPORT void LCROSS(float* MeasSpec, float* KSpec, float* PeakLow, float* PeakHigh, float* MinRange,
                           float* AreaK);
typedef void (*LCROSS_fn)(float* MeasSpec, float* KSpec, float* PeakLow, float* PeakHigh, float* MinRange,
                          float* AreaK);

/* brenmoor.so: K(T) from a spectrum without elastic peak; the third
 * argument is accepted and not read. */
KELVARA_EXPORT void brenmoor(float* MeasSpec, float* KSpec, float* Unused, float* PeakArea);
typedef void (*brenmoor_fn)(float* MeasSpec, float* KSpec, float* Unused, float* PeakArea);

/* quorvel.so: elastic-peak separation. */
KELVARA_EXPORT void quorvel(float* MeasSpec, float* ResidSpec, float* PeakModel, float* PeakArea,
                            float* PeakFraction);
typedef void (*quorvel_fn)(float* MeasSpec, float* ResidSpec, float* PeakModel, float* PeakArea,
                           float* PeakFraction);

/* zandrel.so: joins two spectra by area normalisation in a window. */
KELVARA_EXPORT void NormArea(float* SpecA, float* SpecB, float* SpecJoined, float* dJoin, float* dWinHi,
                             float* dWinLo);
typedef void (*NormArea_fn)(float* SpecA, float* SpecB, float* SpecJoined, float* dJoin, float* dWinHi,
                            float* dWinLo);

#ifdef __cplusplus
}
#endif

#endif /* KELVARA_LIBRARIES_H */
