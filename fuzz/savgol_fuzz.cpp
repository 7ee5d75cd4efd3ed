// Fuzz target: the Savitzky-Golay coefficient-file reader, through smoothing
// and the derivative. The first byte chooses the degree m (2..9) and the
// half-width ns (0..31), the second the number of points (0..63); the rest is
// the coefficient file, put in place of both files of the Utils folder.
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "fuzz_support.h"
#include "platform/errors.h"
#include "toolkit/tools.h"

using namespace kelvara;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const auto m = static_cast<int16_t>(2 + (data[0] & 7));
    const auto ns = static_cast<int16_t>(data[0] >> 3);
    const int points = data[1] & 63;

    const auto folder = fuzz::scratchFolder();
    std::filesystem::create_directories(folder / "Utils");
    Tools_cls::setProgramFolder(folder.string());
    fuzz::writeBytes(Tools_cls::smoothParFile(), data + 2, size - 2);
    fuzz::writeBytes(Tools_cls::derivativeParFile(), data + 2, size - 2);

    Tools_cls::Spectrum in(0, 70), out(0, 70);
    in(1) = static_cast<float>(points);
    in(2) = 10.0f;
    in(3) = 0.5f;
    for (int i = 4; i <= points + 3; ++i) in(i) = static_cast<float>((i * 37) % 11);

    Tools_cls tools;
    (void)tools.smooth(in, out, m, ns);
    try {
        tools.Derivative(in, out, m, ns);
    } catch (const RuntimeError&) {
        // A file without the filter or with a weight that is no number.
    }
    return 0;
}
