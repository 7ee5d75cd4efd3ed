#pragma once
// The oscillator model of the material and its file.
//
// A model file is a sequential text file: comment lines up to the first item
// that begins with "@", then ac and bc of the core excitations, the energy gap,
// the refractive index, and one row per oscillator (energy position w0 in eV,
// intensity A0 in eV^2, width gamma in eV, dispersion alpha), at most 20 rows.
//
// The loss-function plot: the bulk loss function Im(-1/epsilon) of the
// program-wide model, computed by the optical loss-function library and drawn
// in a window's plot.
#include <QString>
#include <cstdint>
#include <vector>

#include "platform/checked_array.h"

class QLineEdit;
class QWidget;

namespace kelvara {

class WindowSurface;
class TextBox;

// One complete oscillator model, used to read a file before anything of the
// program-wide model is replaced.
struct OscillatorModelValues {
    static constexpr int kMaxOscillators = 20;
    SingleArray W0{0, kMaxOscillators};
    SingleArray A0{0, kMaxOscillators};
    SingleArray Gamma{0, kMaxOscillators};
    SingleArray Alfa{0, kMaxOscillators};
    float Egap = 0.0f;
    float RefIndex = 0.0f;
    int16_t NumOsc = 0;
    float Core_ac = 0.0f;
    float Core_bc = 0.0f;
};

// A read-only view of one oscillator model (the program-wide model or a model
// read from a file): what the writers and the loss libraries take, as one
// argument instead of nine.
struct ModelView {
    const SingleArray& W0;
    const SingleArray& A0;
    const SingleArray& Gamma;
    const SingleArray& Alfa;
    float Egap;
    float RefIndex;
    int16_t NumOsc;
    float Core_ac;
    float Core_bc;
};

// The program-wide model as it is now.
ModelView ProgramModel();
// A model held in OscillatorModelValues, viewed as one.
ModelView ViewOf(const OscillatorModelValues& model);
// The values of a model (its count, core parameters, gap, index and rows 1 to
// NumOsc) in one comparable list: two equal lists describe the same model. The
// rows are listed in one order whatever their order in the model: the same
// oscillators in another order (after "Sort osc") are the same model.
std::vector<float> ModelValues(const ModelView& model);

// Reads a model file into `model`. Returns false with a reason in `error`
// (the model then holds whatever was read so far and must not be used): the
// file cannot be opened, it has no "@" item, an item that must be a number is
// not one, or it holds more than 20 oscillator rows. Blank lines at the end of
// the file are no rows.
bool ReadModelFile(const QString& path, OscillatorModelValues& model, QString* error);

// Stores a complete model in the given variables (rows 1 to model.NumOsc).
void StoreModel(const OscillatorModelValues& model, SingleArray& W0, SingleArray& A0, SingleArray& Gamma,
                SingleArray& Alfa, float& Egap, float& RefIndex, int16_t& NumOsc, float& Core_ac, float& Core_bc);

// Reads a model file into the given variables. The variables are replaced only
// when the whole file was read; otherwise they keep their values, the user is
// told that the file could not be read and the result is false.
bool ReadELFData(const QString& path, SingleArray& W0, SingleArray& A0, SingleArray& Gamma, SingleArray& Alfa,
                 float& Egap, float& RefIndex, int16_t& NumOsc, float& Core_ac, float& Core_bc);

// Writes a model file (an existing file is replaced): the description lines,
// "@", ac and bc, the gap, the refractive index and one line per oscillator.
// Raises a run-time error when the file cannot be written.
void WriteELFDataFile(const QString& path, const ModelView& model);

// The full path of the last model file read by a read button of the main form.
QString& ModelFilePath();

// The read buttons of both windows: the model file `name` in `folder` read
// into the program-wide model (ReadELFData). On success ModelFilePath() and
// Module1::ModelSource name the file. No file selected (an empty name) or a
// file that cannot be read: the user is told, the model stays, false.
bool ReadSelectedModel(const QString& folder, const QString& name);

// What the result files' line "ELF function from the file ..." names as the
// model in memory: the file's name; the name and ", changed in the
// oscillator table" once the table has changed the model read from it; or,
// for a model typed in the table without a file, "(none: typed in the
// oscillator table)". From Module1::ModelSource.
QString ModelSourceText();
// A model-file box showing that text from its start, the whole in its tool tip.
void ShowModelSource(QLineEdit* box);

// The rule of a usable model, one value at a time: the oscillator page marks
// its boxes by it, and no calculation runs on a model that breaks it. The
// dielectric function needs a finite number everywhere, a w0, gamma and
// refractive index greater than 0, and an A0 of at least 0.
enum class ModelValue { Core_ac, Core_bc, Egap, RefIndex, W0, A0, Gamma, Alfa };
// Why `value` cannot be used as the given model value (empty when it can),
// e.g. "the value must be greater than 0.".
QString ModelValueProblem(ModelValue which, float value);
// The first value of `model` that cannot be used, named by its row, column and
// value, and where to correct it; empty when the whole model can be used.
QString UnusableModelMessage(const ModelView& model);

// The number of grid points of the loss-function plot as the library
// computes them (the quotient truncated; a zero step raises): the curve's
// count. The window's count and its limit of 1000 are the calculation
// driver's (RoundedPointCount, TooManyGridPoints in shared/calc_driver.h).
int16_t LibraryPointCount(float Estep, float Emax);

// The loss-function plot on the program-wide grid Estep, Emax: the optical
// loss-function library on the program-wide model, the curve copied into
// PlotBuf (first energy Estep, the loss of the library's first value) and
// drawn in the window's plot. The callers refuse a grid of more than 1000
// points first, naming their box (TooManyGridPoints, shared/calc_driver.h);
// here such a grid raises a run-time error, as do a zero step and a missing
// library; the callers decide how it is reported.
void PlotModelLossFunction(WindowSurface& window);

// The "Read ELF file" buttons of the calculation pages: the window's selected
// file read (ReadSelectedModel); the model's source (ModelSourceText) shown
// in `fileNameBox`; the window's loss-function plot; its title box = "ELF
// function:  Im(-1/epsilon)" and shown; `frameToHide` hidden when not null.
// The oscillator table is not touched.
// Returns false (after telling the user) when no file was read. A
// failure of the plot itself (a box of the ELF page that is not a number, a
// missing library) is raised to the calling handler's guard, which shows it.
bool ReadELFForPage(WindowSurface& window, TextBox* fileNameBox, QWidget* frameToHide);

} // namespace kelvara
