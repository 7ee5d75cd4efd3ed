#pragma once
// Result files pinned byte for byte: the model block that every pinned file of
// the example model free_electron_metal.elf holds, from the first asterisk
// line to "RESULTS OF THE CALCULATION:", written by the program and read
// through.
#include <QByteArray>

namespace kelvara::testsupport {

inline constexpr const char* kPinnedModelBlock =
    R"(******************************************************
ELF-data applied in the calculations:
 0.001        -2            Excitation parameters ac, bc to model core excitations  (see the core-loss mean free path lambda = E/(ac*(ln E + bc)))
 0            Energy gap
 999          Refractive Index
Data for oscillators that describe the applied ELF function
 1            Number of oscillators
data are in rows: one row for each oscillator 
Energy position (eV), Intensity (eV^2), Width (eV) of oscillator, dispersion of the oscillator (=1 for free electron):
 15            225           0.6           1 
******************************************************
RESULTS OF THE CALCULATION:
)";

// The bytes of a pinned file: `text` with its line "{model}" replaced by the
// model block, and CR LF line ends.
inline QByteArray PinnedFileBytes(const char* text) {
    return QByteArray(text).replace("{model}\n", kPinnedModelBlock).replace("\n", "\r\n");
}

} // namespace kelvara::testsupport
