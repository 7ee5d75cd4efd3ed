#pragma once
// The result files of the main window. Each calculation page has a "Save"
// button that opens its save frame ("Save the Cross Section"); there the user
// types a file name and a description and presses one of the frame's save
// buttons. Each save button writes one program-wide result array as a result
// file (the toolkit's writer: five header lines built from the page's boxes,
// the oscillator model, the result line, "@" and the two columns) into the
// file browser's folder, then refreshes the file list.
//
// A file name that holds a path separator or ".." is refused; a file that
// cannot be written is reported with its path. An existing file is replaced.
#include <QObject>
#include <QPushButton>
#include <QString>
#include <array>

#include "platform/checked_array.h"
#include "platform/controls.h"

namespace kelvara {

class Form1;

// The show buttons of the save frames: frameSave(index) visible and in front.
void ShowSaveFrame(Form1& form, int index);

using HeaderLines = std::array<QString, 5>;

// Writes `curve` as a result file named by the text of the box
// `fileNameBox` in the browser's folder, under `header` and `resultLine`,
// with the program-wide oscillator model. Returns false when nothing was
// written (the user has been told why).
bool SaveResultFile(Form1& form, const QString& fileNameBox, const SingleArray& curve, const HeaderLines& header,
                    const QString& resultLine);

// Whether a typed file name may be used (no folder part, no "..").
bool IsPlainFileName(const QString& name);

// The five header lines of each page, built from the page's boxes.
enum class Model96Curve { Keff, MediumIn, MediumOut, VacuumIn, VacuumOut };
HeaderLines Model96Header(const Form1& form, Model96Curve curve);
enum class ModelABCurve { ModelA, ModelB, ModelA_in, ModelA_out };
HeaderLines ModelABHeader(const Form1& form, ModelABCurve curve);
enum class ThinFilmCurve { Keff, Ksurf, Kbulk };
HeaderLines ThinFilmHeader(const Form1& form, ThinFilmCurve curve);
HeaderLines InfiniteMediumHeader(const Form1& form);

// The contents of the four save frames and their thirteen save buttons.
class ResultFiles : public QObject {
    Q_OBJECT
public:
    explicit ResultFiles(Form1& form);

    // Model A/B, frameSave(0)
    void cmdSaveKModelA_Click();
    void cmdSaveKModelB_Click();
    void cmdSaveKModelA_in_Click();
    void cmdSaveKModelA_out_Click();
    // infinite medium, frameSave(1)
    void cmdSaveCrossSection_Click();
    // thin film, frameSave(2)
    void cmdSaveKeff_Click();
    void cmdSaveKsurf_Click();
    void cmdSaveKbulk_Click();
    // Model 96, frameSave(3)
    void cmdSavekeff96_Click();
    void cmdSavekmediumin96_Click();
    void cmdSavekmediumout96_Click();
    void cmdSavekvacin96_Click();
    void cmdSavekvacout96_Click();

private:
    Form1& form_;
};

} // namespace kelvara
