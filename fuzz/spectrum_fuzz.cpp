// Fuzz target: the two-column spectrum reader (ReadSpectrumRows) on any file.
// A file read whole gives 0..room rows; a refused file leaves the count as it
// was; the work arrays are never written beyond their bounds (checked arrays).
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "main/spectrum_tools.h"

using namespace kelvara;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto path = fuzz::scratchFolder() / "spectrum.dat";
    fuzz::writeBytes(path, data, size);

    // A small room, so that the refusal of more rows than fit is reached too.
    constexpr int kRoom = 64;
    SingleArray x(0, kRoom), y(0, kRoom);
    int n = -1;
    const bool ok = ReadSpectrumRows(QString::fromStdString(path.string()), x, y, kRoom, n);
    if (ok ? (n < 0 || n > kRoom) : n != -1) std::abort();
    return 0;
}
