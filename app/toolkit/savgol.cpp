// Savitzky-Golay smoothing and first derivative with convolution weights read
// from the coefficient files in the Utils folder beside the program.
#include <QCoreApplication>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <string>

#include "platform/textfile.h"
#include "toolkit/checked_math.h"
#include "toolkit/tools.h"

namespace kelvara {

using toolkit_detail::Count;
using toolkit_detail::I16;

namespace {

std::string& folderOverride() {
    static std::string folder;
    return folder;
}

// Key of a filter: m, one blank, ns for ns < 10; m and ns run together for
// ns >= 10 ("2 5", "212").
std::string filterKey(int16_t m, int16_t ns) {
    return ns < 10 ? std::to_string(m) + " " + std::to_string(ns) : std::to_string(m) + std::to_string(ns);
}

// An item matches when its first four characters (the whole item when it is
// shorter) equal the key.
bool keyMatches(const std::string& item, const std::string& key) { return item.substr(0, 4) == key; }

// Reads the 2*ns+1 weights that follow the key into c(1..2*ns+1) of a work
// array with slots 0..50 (so ns is at most 24).
void readCoefficients(const std::string& path, int16_t m, int16_t ns, CheckedArray<float>& c) {
    const std::string key = filterKey(m, ns);
    TextFileReader in(path);
    std::string item;
    while (!keyMatches(item, key)) item = in.inputItem();
    const int16_t count = I16(2 * ns + 1);
    for (int k = 1; k <= count; ++k) {
        const float v = in.inputSingle();
        c(k) = v;
    }
}

// Convolution of the points with ns neighbours on both sides. The ns points
// at each end are copied from the input (copyEnds) or set to 0; the end
// ranges are kept within the points 1..N, so a spectrum with N <= 2*ns keeps
// its header and the elements after its last point.
void filter(const CheckedArray<float>& inp, CheckedArray<float>& out, int16_t m, int16_t ns,
            const std::string& path, bool copyEnds) {
    if (ns < 0) raise(ErrorCode::InvalidCall);
    CheckedArray<float> c(0, 50);
    readCoefficients(path, m, ns, c);

    const int16_t n = Count(inp);
    out(1) = inp(1);
    out(2) = inp(2);
    out(3) = inp(3);
    const int16_t top = I16(n + 3);
    const int first = ns + 4;
    const int last = I16(top - ns);
    for (int j = first; j <= last; ++j) {
        const int16_t jj = I16(j);
        out(jj) = 0;
        for (int k = 1; k <= ns + 1; ++k)
            out(jj) = CSng(static_cast<double>(out(jj)) + static_cast<double>(inp(I16(j + 1 - k))) * c(k));
        for (int k = 1; k <= ns; ++k)
            out(jj) = CSng(static_cast<double>(out(jj)) + static_cast<double>(inp(I16(j + k))) * c(2 * ns + 2 - k));
    }
    auto setEnd = [&](int j) { out(j) = copyEnds ? inp(j) : 0.0f; };
    for (int j = 4; j <= std::min(ns + 3, static_cast<int>(top)); ++j) setEnd(j);
    for (int j = std::max(n + 4 - ns, std::max(4, ns + 4)); j <= top; ++j) setEnd(j);
}

} // namespace

std::string Tools_cls::programFolder() {
    if (!folderOverride().empty()) return folderOverride();
    if (QCoreApplication::instance() != nullptr) return QCoreApplication::applicationDirPath().toStdString();
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

void Tools_cls::setProgramFolder(const std::string& folder) { folderOverride() = folder; }

std::string Tools_cls::smoothParFile() { return programFolder() + "/Utils/savgolsmooth.par"; }

std::string Tools_cls::derivativeParFile() { return programFolder() + "/Utils/savgolderivat.par"; }

void Tools_cls::Derivative(const Spectrum& Inp, Spectrum& DerivativeInp, int16_t m, int16_t ns) {
    filter(Inp, DerivativeInp, m, ns, derivativeParFile(), false);
}

bool Tools_cls::smooth(const Spectrum& Inp, Spectrum& SmoothInp, int16_t m, int16_t ns) {
    try {
        filter(Inp, SmoothInp, m, ns, smoothParFile(), true);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace kelvara
