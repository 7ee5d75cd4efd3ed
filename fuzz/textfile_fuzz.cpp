// Fuzz target: the list-input layer. The first two bytes choose a cycle of
// five reads (line input, item, single, double, integer); the rest is the
// file. Every read either passes over at least one character or raises, so
// the reads must reach the end of the file within its length.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "platform/errors.h"
#include "platform/textfile.h"

using namespace kelvara;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const unsigned script = static_cast<unsigned>(data[0]) | (static_cast<unsigned>(data[1]) << 8);
    const auto path = fuzz::scratchFolder() / "input.txt";
    fuzz::writeBytes(path, data + 2, size - 2);

    TextFileReader in(path.string());
    std::size_t reads = 0;
    while (!in.eof()) {
        if (++reads > size) std::abort(); // a read that neither advanced nor raised
        const unsigned op = (script >> (3 * ((reads - 1) % 5))) & 7u;
        try {
            switch (op % 5) {
            case 0: (void)in.lineInput(); break;
            case 1: (void)in.inputItem(); break;
            case 2: (void)in.inputSingle(); break;
            case 3: (void)in.inputDouble(); break;
            default: (void)in.inputInteger(); break;
            }
        } catch (const RuntimeError& e) {
            if (e.code() == ErrorCode::InputPastEnd) break;
            if (e.code() != ErrorCode::TypeMismatch && e.code() != ErrorCode::Overflow) std::abort();
        }
    }
    return 0;
}
