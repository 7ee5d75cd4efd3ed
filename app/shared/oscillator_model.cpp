#include "shared/oscillator_model.h"

#include <QFileInfo>
#include <QLineEdit>
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "platform/crlf.h"
#include "platform/errors.h"
#include "platform/numbers.h"
#include "platform/rounding.h"
#include "platform/textfile.h"
#include "shared/calc_driver.h"
#include "shared/window_surface.h"
#include "state/binder.h"
#include "state/module1.h"
#include "widgets/controls.h"
#include "widgets/services.h"

namespace kelvara {

namespace {

std::string LocalPath(const QString& path) { return path.toStdString(); }

// What went wrong, in plain words (a sentence of its own).
QString ErrorText(const RuntimeError& e) { return QString::fromStdString(PlainReason(e)); }

} // namespace

QString& ModelFilePath() {
    static QString path;
    return path;
}

// ---- reading
// -----------------------------------------------------------------

bool ReadModelFile(const QString& path, OscillatorModelValues& model, QString* error) {
    const auto fail = [&](const QString& reason) {
        if (error) *error = reason;
        return false;
    };
    std::string where = "open";
    try {
        TextFileReader in(LocalPath(path));

        // Comment lines up to the first item that begins with "@".
        where = "comments";
        for (;;) {
            if (in.eof()) return fail(QStringLiteral("The file has no line that begins with \"@\"."));
            const std::string item = in.inputItem();
            if (!item.empty() && item.front() == '@') break;
        }

        where = "parameters";
        model.Core_ac = in.inputSingle();
        model.Core_bc = in.inputSingle();
        model.Egap = in.inputSingle();
        model.RefIndex = in.inputSingle();

        // One row of four numbers per oscillator up to the end of the file.
        int i = 0;
        while (!in.eof()) {
            ++i;
            if (i > OscillatorModelValues::kMaxOscillators) {
                return fail(QStringLiteral("The file holds more than %1 oscillator rows.")
                                .arg(OscillatorModelValues::kMaxOscillators));
            }
            where = "row " + std::to_string(i);
            model.W0(i) = in.inputSingle();
            model.A0(i) = in.inputSingle();
            model.Gamma(i) = in.inputSingle();
            model.Alfa(i) = in.inputSingle();
        }
        model.NumOsc = static_cast<int16_t>(i);
        return true;
    } catch (const RuntimeError& e) {
        if (where == "open") return fail(QStringLiteral("The file could not be opened. %1").arg(ErrorText(e)));
        if (where == "comments")
            return fail(QStringLiteral("The comment lines could not be read. %1").arg(ErrorText(e)));
        if (where == "parameters") {
            return fail(QStringLiteral("The four numbers after \"@\" (ac, bc, energy "
                                       "gap, refractive index) could "
                                       "not be read. %1")
                            .arg(ErrorText(e)));
        }
        return fail(QStringLiteral("Oscillator %1 could not be read: each row must hold "
                                   "four numbers, w0, A0, "
                                   "gamma and alpha. %2")
                        .arg(QString::fromStdString(where.substr(4)), ErrorText(e)));
    }
}

void StoreModel(const OscillatorModelValues& model, SingleArray& W0, SingleArray& A0, SingleArray& Gamma,
                SingleArray& Alfa, float& Egap, float& RefIndex, int16_t& NumOsc, float& Core_ac, float& Core_bc) {
    for (int i = 1; i <= model.NumOsc; ++i) {
        W0(i) = model.W0(i);
        A0(i) = model.A0(i);
        Gamma(i) = model.Gamma(i);
        Alfa(i) = model.Alfa(i);
    }
    Core_ac = model.Core_ac;
    Core_bc = model.Core_bc;
    Egap = model.Egap;
    RefIndex = model.RefIndex;
    NumOsc = model.NumOsc;
}

bool ReadELFData(const QString& path, SingleArray& W0, SingleArray& A0, SingleArray& Gamma, SingleArray& Alfa,
                 float& Egap, float& RefIndex, int16_t& NumOsc, float& Core_ac, float& Core_bc) {
    OscillatorModelValues model;
    QString error;
    if (!ReadModelFile(path, model, &error)) {
        services().messageBox(QStringLiteral("The ELF data file could not be read:") + kCrLf + path + kCrLf + kCrLf +
                              error + kCrLf + kCrLf + QStringLiteral("The oscillator model was not changed."));
        return false;
    }
    StoreModel(model, W0, A0, Gamma, Alfa, Egap, RefIndex, NumOsc, Core_ac, Core_bc);
    return true;
}

bool ReadSelectedModel(const QString& folder, const QString& name) {
    if (name.isEmpty()) {
        services().messageBox(QStringLiteral("No model was read: a model file must be selected in the file list.") +
                              kCrLf + QStringLiteral("Click a model file in the list, then read again."));
        return false;
    }
    const QString path = JoinPath(folder, name);
    namespace M = Module1;
    if (!ReadELFData(path, M::W0, M::A0, M::Gamma, M::Alfa, M::Egap, M::RefIndex, M::NumOsc, M::Core_ac, M::Core_bc))
        return false;
    ModelFilePath() = path;
    M::ModelSource = {path, false};
    return true;
}

QString ModelSourceText() {
    const Module1::ModelSourceRecord& source = Module1::ModelSource;
    if (source.path.isEmpty())
        return Module1::NumOsc > 0 ? QStringLiteral("(none: typed in the oscillator table)") : QStringLiteral("(none)");
    const QString name = QFileInfo(source.path).fileName();
    return source.changedInTable ? name + QStringLiteral(", changed in the oscillator table") : name;
}

void ShowModelSource(QLineEdit* box) {
    box->setText(ModelSourceText());
    box->setCursorPosition(0);
    box->setToolTip(box->text());
}

// ---- the rule of a usable model
// ---------------------------------------------------------------

QString ModelValueProblem(ModelValue which, float value) {
    if (!std::isfinite(value)) return QStringLiteral("this is not a finite number.");
    switch (which) {
        case ModelValue::W0:
        case ModelValue::Gamma:
        case ModelValue::RefIndex:
            return value > 0.0f ? QString() : QStringLiteral("the value must be greater than 0.");
        case ModelValue::A0: return value >= 0.0f ? QString() : QStringLiteral("the value must be at least 0.");
        case ModelValue::Core_ac:
        case ModelValue::Core_bc:
        case ModelValue::Egap:
        case ModelValue::Alfa: break;
    }
    return QString();
}

QString UnusableModelMessage(const ModelView& m) {
    const auto unusable = [](const QString& name, float value, const QString& problem) {
        return QStringLiteral("The oscillator model cannot be used: ") + name + QStringLiteral(" is ") +
               QString::fromStdString(GeneralText(value)) + QStringLiteral(", but ") + problem + kCrLf +
               QStringLiteral("Correct it in the oscillator table of the page \"ELF data\", or in the model "
                              "file and read it again.");
    };
    const struct {
        const char* name;
        ModelValue which;
        float value;
    } parameters[] = {{"ac", ModelValue::Core_ac, m.Core_ac},
                      {"bc", ModelValue::Core_bc, m.Core_bc},
                      {"E_Gap", ModelValue::Egap, m.Egap},
                      {"Refr. index", ModelValue::RefIndex, m.RefIndex}};
    for (const auto& p : parameters) {
        const QString problem = ModelValueProblem(p.which, p.value);
        if (!problem.isEmpty()) return unusable(QString::fromLatin1(p.name), p.value, problem);
    }
    for (int i = 1; i <= m.NumOsc; ++i) {
        const struct {
            const char* column;
            ModelValue which;
            float value;
        } row[] = {{"w0", ModelValue::W0, m.W0(i)},
                   {"A0", ModelValue::A0, m.A0(i)},
                   {"gamma", ModelValue::Gamma, m.Gamma(i)},
                   {"alpha", ModelValue::Alfa, m.Alfa(i)}};
        for (const auto& c : row) {
            const QString problem = ModelValueProblem(c.which, c.value);
            if (!problem.isEmpty())
                return unusable(QStringLiteral("%1 in row %2").arg(QLatin1String(c.column)).arg(i), c.value, problem);
        }
    }
    return QString();
}

// ---- writing
// -----------------------------------------------------------------

ModelView ProgramModel() {
    namespace M = Module1;
    return ModelView{M::W0, M::A0, M::Gamma, M::Alfa, M::Egap, M::RefIndex, M::NumOsc, M::Core_ac, M::Core_bc};
}

ModelView ViewOf(const OscillatorModelValues& m) {
    return ModelView{m.W0, m.A0, m.Gamma, m.Alfa, m.Egap, m.RefIndex, m.NumOsc, m.Core_ac, m.Core_bc};
}

std::vector<float> ModelValues(const ModelView& m) {
    // The rows in one order whatever their order in the model: by w0, then
    // A0, gamma and alpha (a value that is no number after every other).
    using Row = std::array<float, 4>;
    std::vector<Row> rows;
    for (int i = 1; i <= m.NumOsc; ++i) rows.push_back({m.W0(i), m.A0(i), m.Gamma(i), m.Alfa(i)});
    const auto before = [](float a, float b) { return std::isnan(a) ? false : std::isnan(b) || a < b; };
    std::stable_sort(rows.begin(), rows.end(), [&before](const Row& a, const Row& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), before);
    });
    std::vector<float> values{static_cast<float>(m.NumOsc), m.Core_ac, m.Core_bc, m.Egap, m.RefIndex};
    for (const Row& row : rows) values.insert(values.end(), row.begin(), row.end());
    return values;
}

namespace {

// A model value as the file holds it: the shortest text that the reader gives
// back as the same float (for 1, 0.5 or 15.8 the general text every other file
// of the program writes).
std::string FileNumber(float value) { return RoundTripText(value); }

// The same in print form (the oscillator rows): a blank in place of the plus
// sign of a value that is not negative, the number, one trailing blank.
std::string PrintNumber(float value) {
    std::string text(value < 0.0f ? 0 : 1, ' ');
    text += FileNumber(value);
    text += ' ';
    return text;
}

} // namespace

void WriteELFDataFile(const QString& path, const ModelView& m) {
    TextFileWriter out(LocalPath(path));
    out.writeList({std::string("Data for oscillators that describe an ELF function")});
    out.writeList({std::string("data are in rows: one row for each oscillator")});
    out.writeList({std::string("comment lines up to first line with @ then data "
                               "in lines with the following meaning")});
    out.writeList({});
    out.writeList({std::string("Excitation parameters ac, bc to model core "
                               "excitations  (core-excitation term "
                               "of the dielectric model)")});
    out.writeList({std::string("Energy gap *eV(")});
    out.writeList({std::string("Refractive Index")});
    out.writeList({std::string("energy position (eV), intensity (eV^2),Dispersion for "
                               "q-dependence(=1 for free electron)")});
    out.writeList({});
    out.writeList({std::string("@")});
    // The numbers as list-write and print lines write them, each with as many
    // digits as reading it back to the same float takes.
    out.printText(FileNumber(m.Core_ac) + "," + FileNumber(m.Core_bc));
    out.printText(FileNumber(m.Egap));
    out.printText(FileNumber(m.RefIndex));
    for (int i = 1; i <= m.NumOsc; ++i)
        out.printLine({PrintNumber(m.W0(i)), PrintNumber(m.A0(i)), PrintNumber(m.Gamma(i)), PrintNumber(m.Alfa(i))});
    out.close();
}

// ---- the loss-function plot
// ----------------------------------------------------

int16_t LibraryPointCount(float Estep, float Emax) {
    if (Estep == 0.0f) raise(ErrorCode::DivisionByZero);
    return static_cast<int16_t>(TruncatedPointCount(Emax, Estep, 32767));
}

void PlotModelLossFunction(WindowSurface& window) {
    namespace M = Module1;
    // The callers refuse such a grid with its box named; the loss-function
    // arrays end at 1000.
    if (TooManyGridPoints(M::Emax, M::Estep))
        raise(
            ErrorCode::SubscriptOutOfRange,
            TooManyPointsMessage(QStringLiteral("E_Max"), QString::fromStdString(GeneralText(M::Emax))).toStdString());

    Module1::hollenbar(M::ELFbulk.element1(), M::ReInvEps.element1(), M::Eps1.element1(), M::Eps2.element1(),
                       M::ELFsurf.element1(), &M::Estep, &M::Emax, &M::Egap, M::W0.element1(), M::Gamma.element1(),
                       M::A0.element1(), M::Alfa.element1(), &M::NumOsc);

    // The curve holds exactly the points the library computed: its count is
    // the truncated quotient, which can be one less than the rounded one.
    const int16_t points = LibraryPointCount(M::Estep, M::Emax);
    for (int i = 1; i <= points; ++i) M::PlotBuf(i + 3) = M::ELFbulk(i);
    // The library's first value is the loss w = Estep: the curve's first energy.
    M::PlotBuf(1) = points;
    M::PlotBuf(2) = M::Estep;
    M::PlotBuf(3) = M::Estep;

    window.ClearPlot();
    window.Plot(M::PlotBuf, 0);
}

// ---- the read buttons of the calculation pages
// ---------------------------------

bool ReadELFForPage(WindowSurface& window, TextBox* fileNameBox, QWidget* frameToHide) {
    if (!ReadSelectedModel(window.browserFolder(), window.browserFileName())) return false;
    if (fileNameBox) ShowModelSource(fileNameBox);
    if (frameToHide) frameToHide->hide();
    // A model that the dielectric function cannot use has no loss function
    // to draw. It stays in memory, so that the oscillator table shows it,
    // marked, for correction; the plot shows nothing of an earlier curve.
    if (const QString unusable = UnusableModelMessage(ProgramModel()); !unusable.isEmpty()) {
        window.ClearPlot();
        window.titleBox().setText(QString());
        services().messageBox(unusable);
        return true;
    }
    window.PlotLossFunction();
    window.titleBox().setText(QStringLiteral("ELF function:  Im(-1/epsilon)"));
    window.titleBox().show();
    return true;
}

} // namespace kelvara
