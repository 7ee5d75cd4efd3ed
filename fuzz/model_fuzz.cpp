// Fuzz target: the model-file reader (ReadELFData) on any file. A file read
// whole gives 0..20 oscillators; any other file is refused with a message and
// leaves the model as it was.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "fuzz_support.h"
#include "shared/oscillator_model.h"
#include "widgets/services.h"

using namespace kelvara;

namespace {

class QuietServices : public Services {
public:
    void messageBox(const QString&, const QString&) override { ++messages; }
    int messages = 0;
};

QuietServices* quiet = nullptr;
std::unique_ptr<Services> desktop; // the services replaced, kept to the end

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    auto s = std::make_unique<QuietServices>();
    quiet = s.get();
    desktop = setServices(std::move(s));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto path = fuzz::scratchFolder() / "model.elf";
    fuzz::writeBytes(path, data, size);

    constexpr int n = OscillatorModelValues::kMaxOscillators;
    SingleArray w0(0, n), a0(0, n), gamma(0, n), alfa(0, n);
    w0(1) = 7.0f;
    float egap = 1.0f, refIndex = 2.0f, ac = 3.0f, bc = 4.0f;
    int16_t numOsc = -1;
    const int before = quiet->messages;
    const bool ok = ReadELFData(QString::fromStdString(path.string()), w0, a0, gamma, alfa, egap, refIndex, numOsc,
                                ac, bc);
    if (ok) {
        if (numOsc < 0 || numOsc > n || quiet->messages != before) std::abort();
    } else {
        const bool unchanged = numOsc == -1 && w0(1) == 7.0f && egap == 1.0f && refIndex == 2.0f && ac == 3.0f &&
                               bc == 4.0f;
        if (!unchanged || quiet->messages != before + 1) std::abort();
    }
    return 0;
}
