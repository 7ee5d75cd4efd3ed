#pragma once
// Binding of the declared library routines. Each declaration owns a cache for
// its entry's address. At a call with an empty cache the library file
// <folder>/<library>.so is loaded by its full path (a library loaded before is
// reused, libraries stay loaded), the entry is resolved and cached. A missing
// file raises DllNotFound and a missing entry EntryNotFound; the cache then
// stays empty, so every later call tries again.
#include <QString>

#include "kelvara_libraries.h"

namespace kelvara {

// Folder the libraries are loaded from: the program's own folder unless
// replaced (tests point it elsewhere). An empty text restores the default.
QString LibraryFolder();
void SetLibraryFolder(const QString& folder);

class LibraryBinding {
public:
    LibraryBinding(const char* library, const char* entry) : library_(library), entry_(entry) {}
    // The entry's address; binds it first when the cache is empty.
    void* address();
    bool bound() const { return address_ != nullptr; }
    // How often the entry was resolved since the start (or the last forget()).
    int resolveCount() const { return resolves_; }
    const char* library() const { return library_; }
    const char* entry() const { return entry_; }
    // Empties the cache (the library stays loaded).
    void forget() {
        address_ = nullptr;
        resolves_ = 0;
    }

private:
    const char* library_;
    const char* entry_;
    void* address_ = nullptr;
    int resolves_ = 0;
};

namespace Module1 {

// The ten declared routines: every argument by reference, arrays as the
// address of element 1.
LibraryBinding& orvaneBinding();
LibraryBinding& senvikBinding();
LibraryBinding& infmediumBinding();
LibraryBinding& thinfilmBinding();
LibraryBinding& durmelBinding();
LibraryBinding& hollenbarBinding();
LibraryBinding& NormAreaBinding();
LibraryBinding& LCROSSBinding();
LibraryBinding& quorvelBinding();
LibraryBinding& brenmoorBinding();
// Every binding, for tests and diagnostics.
LibraryBinding* const* AllBindings(int* count);
// Empties every cache.
void ForgetBindings();

void orvane(float* Ep, float* Estep, float* Emax, float* X0, float* Theta1, float* Theta2, float* Kvi, float* Kvo,
            float* Kmi, float* Kmo, float* Keff, float* Egap, float* W0, float* Gamma, float* A0, float* Alfa,
            int16_t* NumOsc, float* Core_ac, float* Core_bc, float* IMFPc, float* IMFPv, float* IMFPeff);
void senvik(float* Ep, float* Estep, float* Emax, float* X0, float* KModelA, float* KModelB, float* Egap, float* W0,
            float* Gamma, float* A0, float* Alfa, int16_t* NumOsc, float* KModelA_in, float* KModelA_out);
void infmedium(float* Ep, float* Estep, float* Emax, float* Egap, float* W0, float* Gamma, float* A0, float* Alfa,
               int16_t* NumOsc, float* Kinf);
void thinfilm(float* Ep, float* Estep, float* Emax, float* Thickness, float* Egap, float* W0, float* Gamma,
              float* A0, float* Alfa, int16_t* NumOsc, float* Keff, float* Ksurf, float* Kbulk);
void durmel(float* Ep, float* Estep, float* Emin, float* Emax, float* X0, float* Theta, int16_t* n_integr,
            float* Keff, float* keff_inf, float* keff_medium_h, float* keff_medium_nh, float* keff_vacuum_h,
            float* keff_vacuum_nh, float* qHole, float* W0, float* A0, float* Gamma, float* Egap, float* Alfa,
            int16_t* NumOsc, float* Core_ac, float* Core_bc, float* IMFPxps, float* XpsIntA, float* XpsIntB);
void hollenbar(float* ELFbulk, float* ReInvEps, float* Eps1, float* Eps2, float* ELFsurf, float* Estep,
               float* Emax, float* Egap, float* W0, float* Gamma, float* A0, float* Alfa, int16_t* NumOsc);
void NormArea(float* SpecA, float* SpecB, float* SpecJoined, float* dJoin, float* dWinHi, float* dWinLo);
void LCROSS(float* spectrum, float* KSpec, float* PeakLow, float* PeakHigh, float* MinRange, float* AreaK);
void quorvel(float* MeasSpec, float* ResidSpec, float* PeakModel, float* PeakArea, float* PeakFraction);
void brenmoor(float* MeasSpec, float* KSpec, float* Unused, float* PeakArea);

} // namespace Module1
} // namespace kelvara
