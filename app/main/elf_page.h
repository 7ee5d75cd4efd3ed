#pragma once
// The "ELF data" page (page 4 of Form1): the oscillator model editor.
//
// A ten-row table (w0, A0, gamma, alpha), the core-excitation parameters ac
// and bc, the energy gap, the refractive index, the sum-rule value
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
// The arrays hold up to 20 oscillators, the table ten rows: a model file with
// more oscillators is read whole (the calculations use all of them) and the
// user is told that the table shows the first ten and that an edit, rescale,
// sort or save of the table keeps only those.
#include <QObject>
#include <QRect>
#include <array>

class QLabel;
class QPushButton;
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
    static constexpr int kRows = 10;

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
    // the first empty w0 box), shows the count, plots the loss function and
    // shows the sum rule. Returns whether the model was rebuilt: false when a
    // box of the model does not hold a number (the update then ends quietly
    // at that box). A zero w0 or refractive index, or a failing plot, ends it
    // quietly after the model was rebuilt, with the sum box unchanged.
    bool UpdateELFdata();
    // UpdateELFdata, then the model written to `path`. Returns false (after
    // telling the user) when the table does not hold a complete model or the
    // file cannot be written.
    bool SaveELFdata(const QString& path);

    // Not invoked by any control: the thin-film page's read without hiding its
    // plot frame, and the change handlers' body for an alpha box.
    void ReadELFForThinFilm();
    void UpdateModelOnAlfaEdit(int index);

    // The table's boxes, rows 1..10.
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
    bool eventFilter(QObject* watched, QEvent* event) override;
    TextBox* addBox(QWidget* parent, const QString& name, const QString& text, int x, int y, int width);
    QLabel* addLabel(QWidget* parent, const QString& text, int x, int y, int width, int height = 20);
    // The sum rule over rows 1..NumOsc of the program-wide arrays into fsum.
    // False (fsum holding the partial sum) at a zero w0 or refractive index.
    static bool SumRule();

    Form1& form_;
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
};

} // namespace kelvara
