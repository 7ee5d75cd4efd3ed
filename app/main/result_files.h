#pragma once
// The result files of the main window. Each calculation page has a "Save"
// button that opens its save frame ("Save the Cross Section"); there the user
// types a file name and a description and presses one of the frame's save
// buttons. Each save button writes one program-wide result array as a result
// file (shared/result_file.h) under the header lines of its page into the
// main window's browser folder.
#include <QObject>
#include <QPushButton>
#include <QString>
#include <array>

#include "platform/checked_array.h"
#include "platform/controls.h"
#include "shared/result_file.h"

namespace kelvara {

class Form1;

// The show buttons of the save frames: frameSave(index) visible and in front.
void ShowSaveFrame(Form1& form, int index);

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
    // SaveResultFile with the file name typed in the box `fileNameBox`.
    void Save(const char* fileNameBox, const SingleArray& curve, const HeaderLines& header,
              const QString& resultLine);
    Form1& form_;
};

} // namespace kelvara
