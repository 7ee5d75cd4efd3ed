#pragma once
// The "ELF data" page (page 4 of Form1): the oscillator model editor.
//
// A table of 20 rows (w0, A0, gamma, alpha), as many oscillators as a model
// holds, in a scroll area where the page is too low for all of them; the
// core-excitation parameters ac and bc, the energy gap, the refractive
// index, the sum-rule value
//   KK-sum = sum over the oscillators of A0/w0^2 + 1/n^2   (1 for a complete
//   model)
// and the number of oscillators. "Read" fills the table from the model file
// selected in the file browser, "Save" writes the table to the file named in
// txtELFFilename, "Sort osc" orders the rows by w0, the rescale button divides
// every A0 by the sum, and "Plot ELF" draws the loss function of the model.
//
// Every keystroke in a w0, A0, gamma, gap or refractive-index box rebuilds the
// program-wide model from the table, re-plots the loss function and shows the
// new sum; alpha, ac and bc enter the model at the next such update. While code
// fills the table, Module1::FillingBoxes keeps the change handlers quiet.
//
// A box whose value the dielectric function cannot use (text that is not a
// number, a w0, gamma or refractive index of 0 or less, a negative A0, an
// empty box in a row that holds a value) is tinted, and its tool tip says what is wrong. While any box is so marked an
// edit leaves the program-wide model as it was (a file read is in use as
// read), the count shows that model, the sum box stays empty and the plot
// shows no curve of the table; "Save", the rescale and "Plot ELF" name the box
// and do nothing. The rule (ModelValueProblem, shared/oscillator_model.h) is
// the one that refuses a calculation on such a model. An alpha, ac or bc box
// is judged on its own edit without an update, unless it corrects the last
// box that could not be used: the model then is rebuilt, and sum, count and
// curve come back.
//
// The table keeps the file it was last read from or saved to; a model the
// table rebuilds is recorded (Module1::ModelSource) as that file's, changed in
// the table when its values differ from the file's (the same oscillators in
// another order, after "Sort osc", are the file's model). Whenever the page
// is shown, the table shows the model in memory, wherever it was read; an
// edit then changes that model.
#include <QObject>
#include <QRect>
#include <array>

#include "shared/oscillator_model.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QWidget;

namespace kelvara {

class Form1;
class Frame;
class TextBox;

// "Plot ELF": Estep and Emax from the page's boxes txtE_step and txtE_max
// (found by name below the form), then the loss-function plot of the
// program-wide model in the main window's plot (PlotModelLossFunction). Raises
// a run-time error for a box that is absent or not a number, a zero step or a
// missing library; the callers decide how it is reported.
void cmdPlotELF_Click(Form1& form);

class ElfPage : public QObject {
    Q_OBJECT
public:
    static constexpr int kRows = 20; // every oscillator a model may hold

    explicit ElfPage(Form1& form);

    // ---- buttons -----------------------------------------------------------
    void cmdReadELFdata_Click();
    // Returns false when nothing was saved (the user has been told why).
    bool cmdSaveELFdata_Click();
    void cmdAutoRescaleInt_Click();
    void cmdSortOscillators_Click();
    void cmdTypicalRefrIndexValues_Click();
    void cmdWhatIsKK_SumRule_Click();
    void cmdPlotELF_Click();

    // ---- change handlers (the row index is not used) ------------------------
    void txtw0_Change(int index);
    void txtA0_Change(int index);
    void txtgamma_Change(int index);
    void txtE_Gap_Change();
    void txtRef_Index_Change();

    // ---- the model between table and arrays --------------------------------
    // Rebuilds the program-wide model from the boxes and the table (rows up to
    // the first row whose four boxes are empty), shows the count, plots the loss function and
    // shows the sum rule. Returns whether the model was rebuilt: false when a
    // box of the model holds no usable value; every such box is then marked,
    // the model is left as it was, the sum box emptied and the plot cleared.
    // A failing plot (the grid boxes, the library) leaves the plot empty; the
    // sum is shown all the same.
    bool UpdateELFdata();
    // UpdateELFdata, then the model written to `path`. Returns false (after
    // telling the user) when the table does not hold a complete model or the
    // file cannot be written.
    bool SaveELFdata(const QString& path);

    // Not invoked by any control: the thin-film page's read without hiding its
    // plot frame, and the change handlers' body for an alpha box.
    void ReadELFForThinFilm();
    void UpdateModelOnAlfaEdit(int index);

    // The table's boxes, rows 1..20.
    TextBox* txtw0(int i) const;
    TextBox* txtA0(int i) const;
    TextBox* txtgamma(int i) const;
    TextBox* txtalfa(int i) const;

    static QString TypicalRefrIndexText();
    static QString KKSumRuleText();

private:
    enum class SaveOutcome { Saved, ModelIncomplete, NotWritten };
    // SaveELFdata; a file that cannot be written is reported only when
    // `tellWriteFailure` is set.
    SaveOutcome SaveModel(const QString& path, bool tellWriteFailure);
    // "Save": the table written to the file named in txtELFFilename in the
    // browser's folder, and the browser refreshed.
    SaveOutcome SaveToNamedFile(bool tellWriteFailure);
    void build();
    // Places the page's controls for the font and the room the start-up
    // layout left: number boxes wide enough for their numbers, nothing
    // covering anything else. While the page is shown its info frame moves
    // right of the controls when they would reach into it.
    void layout();
    // Showing the page: layout, then ShowModelInUse.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The table, its count, sum and curve made to show the program-wide model
    // where they no longer do (a model read on another page or window, text
    // left in the table that never became part of the model), as a read on
    // this page shows it; the table then takes the file the model came from
    // (Module1::ModelSource). A table that holds the model in use is left as
    // it is, and so is the table while no model has been read or typed yet.
    void ShowModelInUse();
    // The boxes of the table, ac, bc, gap and refractive index filled from
    // the program-wide model (no update runs), the rows below it emptied.
    void FillTable();
    TextBox* addBox(QWidget* parent, const QString& name, const QString& text, int x, int y, int width);
    QLabel* addLabel(QWidget* parent, const QString& text, int x, int y, int width, int height = 20);
    // The sum rule over rows 1..NumOsc of the program-wide arrays into fsum.
    // False (fsum holding the partial sum) at a zero w0 or refractive index.
    static bool SumRule();
    // Reads the boxes of the model into `model`, marking every box that holds
    // no usable value and unmarking the others (rows below the first empty
    // w0 box are not part of the model). Returns the first problem's message
    // (empty when the whole model can be used) and keeps it in tableProblem_.
    QString ReadTable(OscillatorModelValues& model);
    // The sum box and the plot for the program-wide model: the sum shown
    // when it is finite, the loss function plotted; or, for a table that
    // cannot be used, both emptied.
    void ShowSumAndPlot(bool usable);
    // An edit of a box that enters the model only at the next update (an
    // alpha, ac or bc box): the table judged and its boxes marked; while one
    // cannot be used, no sum and no curve; when this edit corrected the last
    // one, UpdateELFdata.
    void OwnBoxChanged();
    // Clears the plot unless it has shown nothing since this page cleared it.
    void ClearTablePlot();

    Form1& form_;
    QScrollArea* rows_ = nullptr; // holds the table's boxes
    std::array<TextBox*, kRows + 1> w0_{};
    std::array<TextBox*, kRows + 1> a0_{};
    std::array<TextBox*, kRows + 1> gamma_{};
    std::array<TextBox*, kRows + 1> alfa_{};
    TextBox* txtELFFilename = nullptr;
    TextBox* txtNELFdata = nullptr;
    TextBox* txtE_Gap = nullptr;
    TextBox* txtRef_Index = nullptr;
    TextBox* txtfsum = nullptr;
    TextBox* txt_Core_ac = nullptr;
    TextBox* txt_Core_bc = nullptr;
    TextBox* txtE_step = nullptr;
    TextBox* txtE_max = nullptr;
    Frame* frameCoreExcitations = nullptr;
    Frame* framePlotELF = nullptr;
    Frame* frameCheckSumRules = nullptr;
    std::array<QLabel*, 4> headers_{};
    QRect infoPlace_;               // the info frame's place of the start-up layout
    bool arrangeInfoFrame_ = false; // the page has been shown since that layout
    QString tableProblem_;
    QString tableFile_;                 // the file the table was last read from or saved to
    OscillatorModelValues tableOrigin_; // the table's values as read or saved
    bool plotBlank_ = false;            // this page cleared the plot and nothing drew since
    bool clearingPlot_ = false;         // this page's own clear is under way
};

} // namespace kelvara
