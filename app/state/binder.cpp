#include "state/binder.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <map>
#include <memory>

#include "platform/errors.h"

namespace kelvara {

namespace {

QString& folderOverride() {
    static QString folder;
    return folder;
}

// Libraries loaded so far, by full path; they stay loaded to the end.
std::map<QString, std::unique_ptr<QLibrary>>& loaded() {
    static std::map<QString, std::unique_ptr<QLibrary>> libs;
    return libs;
}

QLibrary* load(const QString& path) {
    auto& libs = loaded();
    auto it = libs.find(path);
    if (it != libs.end() && it->second->isLoaded()) return it->second.get();
    auto lib = std::make_unique<QLibrary>(path);
    if (!lib->load()) return nullptr;
    QLibrary* raw = lib.get();
    libs[path] = std::move(lib);
    return raw;
}

template <typename Fn>
Fn entryOf(LibraryBinding& binding) {
    return reinterpret_cast<Fn>(binding.address());
}

} // namespace

QString LibraryFolder() {
    if (!folderOverride().isEmpty()) return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void SetLibraryFolder(const QString& folder) { folderOverride() = folder; }

void* LibraryBinding::address() {
    if (address_) return address_;
    const QString path = QDir(LibraryFolder()).filePath(QString::fromLatin1(library_) + QStringLiteral(".so"));
    QLibrary* lib = load(path);
    if (!lib)
        raise(ErrorCode::DllNotFound, "File not found: " + QDir::toNativeSeparators(path).toStdString());
    QFunctionPointer fn = lib->resolve(entry_);
    if (!fn)
        raise(ErrorCode::EntryNotFound,
              std::string("Can't find DLL entry point ") + entry_ + " in " + library_ + ".so");
    address_ = reinterpret_cast<void*>(fn);
    ++resolves_;
    return address_;
}

namespace Module1 {

#define KELVARA_BINDING(lib, entry)                          \
    LibraryBinding& entry##Binding() {                       \
        static LibraryBinding binding(#lib, #entry);         \
        return binding;                                      \
    }
KELVARA_BINDING(orvane, orvane)
KELVARA_BINDING(senvik, senvik)
KELVARA_BINDING(castrel, infmedium)
KELVARA_BINDING(welbane, thinfilm)
KELVARA_BINDING(durmel, durmel)
KELVARA_BINDING(hollenbar, hollenbar)
KELVARA_BINDING(zandrel, NormArea)
KELVARA_BINDING(rivmer, LCROSS)
KELVARA_BINDING(quorvel, quorvel)
KELVARA_BINDING(brenmoor, brenmoor)
#undef KELVARA_BINDING

LibraryBinding* const* AllBindings(int* count) {
    static LibraryBinding* const all[] = {&orvaneBinding(),    &senvikBinding(),   &infmediumBinding(),
                                          &thinfilmBinding(),  &durmelBinding(),   &hollenbarBinding(),
                                          &NormAreaBinding(),  &LCROSSBinding(),   &quorvelBinding(),
                                          &brenmoorBinding()};
    if (count) *count = static_cast<int>(std::size(all));
    return all;
}

void ForgetBindings() {
    int n = 0;
    LibraryBinding* const* all = AllBindings(&n);
    for (int i = 0; i < n; ++i) all[i]->forget();
}

void orvane(float* Ep, float* Estep, float* Emax, float* X0, float* Theta1, float* Theta2, float* Kvi, float* Kvo,
            float* Kmi, float* Kmo, float* Keff, float* Egap, float* W0, float* Gamma, float* A0, float* Alfa,
            int16_t* NumOsc, float* Core_ac, float* Core_bc, float* IMFPc, float* IMFPv, float* IMFPeff) {
    entryOf<orvane_fn>(orvaneBinding())(Ep, Estep, Emax, X0, Theta1, Theta2, Kvi, Kvo, Kmi, Kmo, Keff, Egap, W0,
                                        Gamma, A0, Alfa, NumOsc, Core_ac, Core_bc, IMFPc, IMFPv, IMFPeff);
}

void senvik(float* Ep, float* Estep, float* Emax, float* X0, float* KModelA, float* KModelB, float* Egap, float* W0,
            float* Gamma, float* A0, float* Alfa, int16_t* NumOsc, float* KModelA_in, float* KModelA_out) {
    entryOf<senvik_fn>(senvikBinding())(Ep, Estep, Emax, X0, KModelA, KModelB, Egap, W0, Gamma, A0, Alfa, NumOsc,
                                        KModelA_in, KModelA_out);
}

void infmedium(float* Ep, float* Estep, float* Emax, float* Egap, float* W0, float* Gamma, float* A0, float* Alfa,
               int16_t* NumOsc, float* Kinf) {
    entryOf<infmedium_fn>(infmediumBinding())(Ep, Estep, Emax, Egap, W0, Gamma, A0, Alfa, NumOsc, Kinf);
}

void thinfilm(float* Ep, float* Estep, float* Emax, float* Thickness, float* Egap, float* W0, float* Gamma,
              float* A0, float* Alfa, int16_t* NumOsc, float* Keff, float* Ksurf, float* Kbulk) {
    entryOf<thinfilm_fn>(thinfilmBinding())(Ep, Estep, Emax, Thickness, Egap, W0, Gamma, A0, Alfa, NumOsc, Keff,
                                            Ksurf, Kbulk);
}

void durmel(float* Ep, float* Estep, float* Emin, float* Emax, float* X0, float* Theta, int16_t* n_integr,
            float* Keff, float* keff_inf, float* keff_medium_h, float* keff_medium_nh, float* keff_vacuum_h,
            float* keff_vacuum_nh, float* qHole, float* W0, float* A0, float* Gamma, float* Egap, float* Alfa,
            int16_t* NumOsc, float* Core_ac, float* Core_bc, float* IMFPxps, float* XpsIntA, float* XpsIntB) {
    entryOf<durmel_fn>(durmelBinding())(Ep, Estep, Emin, Emax, X0, Theta, n_integr, Keff, keff_inf, keff_medium_h,
                                        keff_medium_nh, keff_vacuum_h, keff_vacuum_nh, qHole, W0, A0, Gamma, Egap,
                                        Alfa, NumOsc, Core_ac, Core_bc, IMFPxps, XpsIntA, XpsIntB);
}

void hollenbar(float* ELFbulk, float* ReInvEps, float* Eps1, float* Eps2, float* ELFsurf, float* Estep,
               float* Emax, float* Egap, float* W0, float* Gamma, float* A0, float* Alfa, int16_t* NumOsc) {
    entryOf<hollenbar_fn>(hollenbarBinding())(ELFbulk, ReInvEps, Eps1, Eps2, ELFsurf, Estep, Emax, Egap, W0, Gamma,
                                              A0, Alfa, NumOsc);
}

void NormArea(float* SpecA, float* SpecB, float* SpecJoined, float* dJoin, float* dWinHi, float* dWinLo) {
    entryOf<NormArea_fn>(NormAreaBinding())(SpecA, SpecB, SpecJoined, dJoin, dWinHi, dWinLo);
}

void LCROSS(float* spectrum, float* KSpec, float* PeakLow, float* PeakHigh, float* MinRange, float* AreaK) {
    entryOf<LCROSS_fn>(LCROSSBinding())(spectrum, KSpec, PeakLow, PeakHigh, MinRange, AreaK);
}

void quorvel(float* MeasSpec, float* ResidSpec, float* PeakModel, float* PeakArea, float* PeakFraction) {
    entryOf<quorvel_fn>(quorvelBinding())(MeasSpec, ResidSpec, PeakModel, PeakArea, PeakFraction);
}

void brenmoor(float* MeasSpec, float* KSpec, float* Unused, float* PeakArea) {
    entryOf<brenmoor_fn>(brenmoorBinding())(MeasSpec, KSpec, Unused, PeakArea);
}

} // namespace Module1
} // namespace kelvara
