// Spectrum operations of the toolkit: point-wise arithmetic, regridding,
// truncation, normalisation, transmission corrections, areas, interpolation.
#include "toolkit/tools.h"

#include <cmath>
#include <memory>

#include "toolkit/checked_math.h"

namespace kelvara {

using toolkit_detail::Count;
using toolkit_detail::SingleDiv;
using toolkit_detail::I16;

namespace {

// Start value of the maximum searches: a tiny negative number, so that an
// all-zero spectrum still yields its first point as the maximum.
constexpr float kMaxStart = -2.2E-29f;

enum class PointOp { Subtract, Add, Multiply };

void pointWise(const CheckedArray<float>& inp1, const CheckedArray<float>* inp2, float factor,
               CheckedArray<float>& out, PointOp op) {
    const int16_t n = Count(inp1);
    out(1) = inp1(1);
    out(2) = inp1(2);
    out(3) = inp1(3);
    for (int i = 1; i <= n; ++i) {
        const int16_t j = I16(i + 3);
        const double a = inp1(j);
        double r = 0;
        switch (op) {
        case PointOp::Subtract: r = a - static_cast<double>((*inp2)(j)); break;
        case PointOp::Add: r = a + static_cast<double>((*inp2)(j)); break;
        case PointOp::Multiply: r = a * static_cast<double>(factor); break;
        }
        out(j) = CSng(r);
    }
}

// Copies the header of `inp` into `out` and divides every point by the
// analyser transmission at its energy, `transmissionAt(E)`; the energies run
// as a float sum from the first energy, step by step.
template <typename Transmission>
void divideByTransmission(const CheckedArray<float>& inp, CheckedArray<float>& out, Transmission&& transmissionAt) {
    const int16_t n = Count(inp);
    const float e0 = inp(2);
    const float de = inp(3);
    out(1) = n;
    out(2) = e0;
    out(3) = de;
    const int16_t last = I16(n + 3);
    float e = CSng(static_cast<double>(e0) - de);
    for (int j = 4; j <= last; ++j) {
        e = CSng(static_cast<double>(e) + de);
        const float t = transmissionAt(e);
        out(I16(j)) = SingleDiv(inp(I16(j)), t);
    }
}

} // namespace

void Tools_cls::SubtractSpectra(const Spectrum& Inp1, const Spectrum& Inp2, Spectrum& Out1) {
    pointWise(Inp1, &Inp2, 0.0f, Out1, PointOp::Subtract);
}

void Tools_cls::AddSpectra(const Spectrum& Inp1, const Spectrum& Inp2, Spectrum& Out1) {
    pointWise(Inp1, &Inp2, 0.0f, Out1, PointOp::Add);
}

void Tools_cls::EnergyShiftSpectrum(Spectrum& Inp1, float Eshift, double EStartReference) {
    Inp1(2) = CSng(static_cast<double>(Eshift) + EStartReference);
}

void Tools_cls::ChangeEnergyGrid(const Spectrum& Inp, Spectrum& Out, float NewEstep) {
    const int16_t n = Count(Inp);
    const float e0 = Inp(2);
    const float de = Inp(3);
    // One input step above the last input point.
    const float etop = CSng(static_cast<double>(e0) + CSng(static_cast<double>(n) * de));
    float e = CSng(static_cast<double>(e0) - NewEstep);
    int16_t i = 0;
    while (e <= etop) {
        e = CSng(static_cast<double>(e) + NewEstep);
        i = I16(i + 1);
        float y = 0;
        Interpolate(e, y, Inp);
        Out(I16(i + 3)) = y;
    }
    // The value at the first energy above etop was written but is not counted.
    Out(1) = static_cast<float>(I16(i - 1));
    Out(2) = e0;
    Out(3) = NewEstep;
}

void Tools_cls::Multiply(const Spectrum& Inp1, Spectrum& Out1, float Factor) {
    pointWise(Inp1, nullptr, Factor, Out1, PointOp::Multiply);
}

bool Tools_cls::FindMax(const Spectrum& Spec, float& MaxEnergy) {
    try {
        const int16_t n = Count(Spec);
        const float e0 = Spec(2);
        const float de = Spec(3);
        float ymax = kMaxStart;
        int imax = 0;
        for (int i = 1; i <= n; ++i) {
            const float y = Spec(I16(i + 3));
            if (y > ymax) {
                ymax = y;
                imax = i;
            }
        }
        MaxEnergy = imax == 0 ? e0 : CSng(static_cast<double>(e0) + static_cast<double>(imax - 1) * de);
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

void Tools_cls::Truncate(const Spectrum& Inp1, Spectrum& Out, float Et) {
    const int16_t n = Count(Inp1);
    const float e0 = Inp1(2);
    const float de = Inp1(3);
    int16_t copied = 0;
    for (int i = 1; i <= n; ++i) {
        const int16_t j = I16(i + 3);
        Out(j) = Inp1(j);
        copied = static_cast<int16_t>(i);
        // Stop once the next point lies above Et.
        const float next = CSng(static_cast<double>(e0) + CSng(static_cast<double>(i) * de));
        if (next > Et) break;
    }
    Out(1) = copied;
    Out(2) = e0;
    Out(3) = de;
}

void Tools_cls::NormalizeSpectra(const Spectrum& Inp1, const Spectrum& Inp2, Spectrum& Out2, float& NormFactor,
                                 int16_t& IMax1, int16_t& IMax2) {
    const int16_t n1 = Count(Inp1);
    const int16_t n2 = Count(Inp2);
    float max1 = kMaxStart;
    for (int i = 1; i <= n1; ++i) {
        const int16_t j = I16(i + 3);
        if (Inp1(j) > max1) {
            max1 = Inp1(j);
            IMax1 = j;
        }
    }
    float max2 = kMaxStart;
    for (int i = 1; i <= n2; ++i) {
        const int16_t j = I16(i + 3);
        if (Inp2(j) > max2) {
            max2 = Inp2(j);
            IMax2 = j;
        }
    }
    NormFactor = SingleDiv(max1, max2);
    Out2(1) = Inp2(1);
    Out2(2) = Inp2(2);
    Out2(3) = Inp2(3);
    for (int i = 1; i <= n2; ++i) {
        const int16_t j = I16(i + 3);
        Out2(j) = CSng(static_cast<double>(Inp2(j)) * NormFactor);
    }
}

void Tools_cls::AnalyzerTransmission_by_File(const Spectrum& Inp, Spectrum& CorInp, const Spectrum& Trans) {
    divideByTransmission(Inp, CorInp, [&](float e) {
        float t = 0;
        Interpolate(e, t, Trans);
        return t;
    });
}

bool Tools_cls::AnalyzerTransmission_by_exponent_m(const Spectrum& Inp, Spectrum& CorInp, float m) {
    try {
        divideByTransmission(Inp, CorInp, [m](float e) {
            // No logarithm of a zero or negative energy.
            if (!(e > 0.0f)) raise(ErrorCode::InvalidCall);
            return CSng(std::exp(-static_cast<double>(m) * std::log(static_cast<double>(e))));
        });
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

void Tools_cls::CopyArray(const Spectrum& Inp, Spectrum& CopyInp) {
    const int16_t n = Count(Inp);
    const int16_t last = I16(n + 3);
    for (int i = 1; i <= last; ++i) CopyInp(i) = Inp(i);
}

void Tools_cls::AREA(const Spectrum& Inp, float& AREA) {
    const int16_t n = Count(Inp);
    const float de = Inp(3);
    AREA = 0;
    for (int i = 1; i <= n; ++i) AREA = CSng(static_cast<double>(AREA) + Inp(I16(i + 3)));
    AREA = CSng(static_cast<double>(de) * AREA);
}

void Tools_cls::Interp_non_equid(float E, float& Y, const Spectrum& EH, const Spectrum& SH, int16_t imax,
                                 float /*Estep*/) {
    int16_t i = 1;
    while (i <= imax && !(EH(i) > E)) i = I16(i + 1);
    const int16_t k = I16(i - 1);
    if (k >= 1 && k < imax) {
        const float slope = SingleDiv(static_cast<double>(SH(k + 1)) - SH(k), static_cast<double>(EH(k + 1)) - EH(k));
        Y = CSng(SH(k) + (static_cast<double>(E) - EH(k)) * slope);
    } else if (k == 0) {
        // Below the table: the distance times the rise, then divided by the run.
        const double rise = static_cast<double>(SH(2)) - SH(1);
        Y = CSng(SH(1) + static_cast<double>(SingleDiv((static_cast<double>(E) - EH(1)) * rise,
                                                 static_cast<double>(EH(2)) - EH(1))));
    } else {
        const float slope =
            SingleDiv(static_cast<double>(SH(imax)) - SH(imax - 1), static_cast<double>(EH(imax)) - EH(imax - 1));
        Y = CSng(SH(imax) + (static_cast<double>(E) - EH(imax)) * slope);
    }
}

void Tools_cls::Interpolate(float E, float& Yint, const Spectrum& Spectr) {
    const int16_t n = Count(Spectr);
    const float e0 = Spectr(2);
    const float de = Spectr(3);
    const float elast = CSng(static_cast<double>(e0) + CSng(static_cast<double>(I16(n - 1)) * de));
    if (E <= e0) {
        const float slope = SingleDiv(static_cast<double>(Spectr(5)) - Spectr(4), de);
        Yint = CSng(Spectr(4) - (static_cast<double>(e0) - E) * slope);
    } else if (elast <= E) {
        const int16_t last = I16(n + 3);
        const float slope = SingleDiv(static_cast<double>(Spectr(last)) - Spectr(I16(n + 2)), de);
        Yint = CSng(Spectr(last) + (static_cast<double>(E) - elast) * slope);
    } else {
        // E0 < E < Elast, so dE is not 0 here. Rounding of Elast can put E a
        // hair above E0 + (N-1)*dE; such a point stays on the last segment.
        long long kk = static_cast<long long>(std::floor((static_cast<double>(E) - e0) / de));
        if (kk > n - 2) kk = n - 2;
        if (kk < 0) kk = 0;
        const int16_t k = I16(kk);
        const float slope = SingleDiv(static_cast<double>(Spectr(I16(k + 5))) - Spectr(I16(k + 4)), de);
        const float ek = CSng(static_cast<double>(e0) + CSng(static_cast<double>(k) * de));
        Yint = CSng(Spectr(I16(k + 4)) + (static_cast<double>(E) - ek) * slope);
    }
}

namespace {
std::unique_ptr<Tools_cls>& toolsSlot() {
    static std::unique_ptr<Tools_cls> slot;
    return slot;
}
} // namespace

Tools_cls& Tools() {
    auto& slot = toolsSlot();
    if (!slot) slot = std::make_unique<Tools_cls>();
    return *slot;
}

bool ToolsCreated() { return static_cast<bool>(toolsSlot()); }

} // namespace kelvara
