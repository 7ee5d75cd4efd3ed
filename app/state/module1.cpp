#include "state/module1.h"

namespace kelvara {

namespace Module1 {

void Reset() {
    ScrHeight = ScrWidth = 0.0f;
    AutoScale = FillingBoxes = False;
    Estep = Emax = Emin = 0.0f;
    Egap = fsum = RefIndex = 0.0f;
    NumOsc = 0;
    Core_ac = Core_bc = 0.0f;
    ModelSource = ModelSourceRecord{};
    IMFPxps = XpsIntA = XpsIntB = 0.0f;
    ResultText.clear();
    for (SingleArray* a : {&W0, &A0, &Gamma, &Alfa, &ELFbulk, &ReInvEps, &Eps1, &Eps2, &ELFsurf, &Keff, &Ksurf,
                           &Kbulk, &Kvi, &Kvo, &Kmi, &Kmo, &KModelA, &KModelB, &KModelA_in, &KModelA_out,
                           &keff_inf, &keff_medium_h, &keff_medium_nh, &keff_vacuum_h, &keff_vacuum_nh,
                           &SpecMeas, &SpecInel, &PlotBuf, &Spec2})
        a->clear();
    StepTable.clear();
}

} // namespace Module1

} // namespace kelvara
