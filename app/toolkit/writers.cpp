// Writers of the two-column spectrum file and of the result file. Each file
// is written under a temporary name in the target folder and renamed over the
// target only when it is complete (the text-file writer does this), so a
// failed write never leaves a partial file in place of a good one.
#include <exception>
#include <functional>
#include <string>

#include "platform/textfile.h"
#include "toolkit/checked_math.h"
#include "toolkit/tools.h"

namespace kelvara {

using toolkit_detail::Count;
using toolkit_detail::I16;

namespace {

const std::string kAsterisks(54, '*');

// Runs body on a writer for `file`. The writer keeps the lines in a temporary
// file beside it and puts that in place only when it is complete, so on any
// failure the temporary file is gone and `file` is left as it was.
bool writeReplacing(const std::string& file, const std::function<void(TextFileWriter&)>& body) {
    if (file.empty()) return false;
    try {
        TextFileWriter out(file);
        body(out);
        out.close();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// Prints a text that may hold several lines; CR LF, a lone LF or a lone CR
// each end one line of the file.
void printLines(TextFileWriter& out, const std::string& text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '\r' || ch == '\n') {
            out.printText(line);
            line.clear();
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += ch;
        }
    }
    out.printText(line);
}

} // namespace

bool Tools_cls::Save2col(const std::string& File, const Spectrum& Spec, const TextLines& text, int16_t n_text_lines) {
    return writeReplacing(File, [&](TextFileWriter& out) {
        for (int i = 1; i <= n_text_lines; ++i) out.writeList({text(i)});
        out.writeList({std::string("@")});
        const int16_t n = Count(Spec);
        const float e0 = Spec(2);
        const float de = Spec(3);
        float e = CSng(static_cast<double>(e0) - de);
        for (int i = 1; i <= n; ++i) {
            e = CSng(static_cast<double>(e) + de);
            out.writeList({e, Spec(I16(i + 3))});
        }
    });
}

bool Tools_cls::Save2col_ELF(const std::string& File, const Spectrum& Spec, const TextLines& text,
                             int16_t n_text_lines, int16_t NELFdata, const Spectrum& w0, const Spectrum& A0,
                             const Spectrum& gamma, const Spectrum& alpha, float Refr_Index, float E_gap, float ac,
                             float bc, const std::string& txtIMFP) {
    return Save2col_ELF(File, Spec, text, n_text_lines, NELFdata, w0, A0, gamma, alpha, Refr_Index, E_gap, ac, bc,
                        txtIMFP, 0.0f);
}

bool Tools_cls::Save2col_ELF(const std::string& File, const Spectrum& Spec, const TextLines& text,
                             int16_t n_text_lines, int16_t NELFdata, const Spectrum& w0, const Spectrum& A0,
                             const Spectrum& gamma, const Spectrum& alpha, float Refr_Index, float E_gap, float ac,
                             float bc, const std::string& txtIMFP, float LossBeforeFirst) {
    return writeReplacing(File, [&](TextFileWriter& out) {
        for (int i = 1; i <= n_text_lines; ++i) printLines(out, text(i));
        out.printText(kAsterisks);
        out.printText("ELF-data applied in the calculations:");
        out.printLine({ac, bc,
                       std::string("Excitation parameters ac, bc to model core excitations  "
                                   "(see the core-loss mean free path lambda = E/(ac*(ln E + bc)))")});
        out.printLine({E_gap, std::string("Energy gap")});
        out.printLine({Refr_Index, std::string("Refractive Index")});
        out.printText("Data for oscillators that describe the applied ELF function");
        out.printLine({static_cast<int>(NELFdata), std::string("Number of oscillators")});
        out.printText("data are in rows: one row for each oscillator ");
        out.printText("Energy position (eV), Intensity (eV^2), Width (eV) of oscillator, dispersion of the "
                      "oscillator (=1 for free electron):");
        for (int i = 1; i <= NELFdata; ++i) out.printLine({w0(i), A0(i), gamma(i), alpha(i)});
        out.printText(kAsterisks);
        out.printText("RESULTS OF THE CALCULATION:");
        printLines(out, txtIMFP);
        out.printText("");
        out.printText("The effective cross section data are listed below in two columns:");
        out.printText("first column is the energy loss (eV)");
        out.printText("second column is the cross section (ev^-1 \u00C5^-1)");
        out.printText("@");
        out.printLine({0.0f, 0});
        const int16_t n = Count(Spec);
        const float de = Spec(3);
        float t = LossBeforeFirst;
        for (int i = 1; i <= n; ++i) {
            t = CSng(static_cast<double>(t) + de);
            out.printLine({t, Spec(I16(i + 3))});
        }
    });
}

} // namespace kelvara
