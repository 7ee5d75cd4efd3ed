#pragma once
// The joining panel Frame1 ("Adjust parameters") on page 0 of the main form:
// the join energy Es (Text1) with its up-down control UpDownText1 and its
// step box cboIncr1, and the energies En1 (Text3) and En2 (Text4) of the
// joining range, with their form-definition texts (En1 "10", En2 "25"; Es
// gets its "3" from the form's load). Every change of Text1 runs the joining
// of the measured-spectrum tools (spectrum_tools.h), which the panel owns,
// and then tells the form's signal Text1Changed().
#include <QObject>

#include "widgets/controls.h"

class QComboBox;

namespace kelvara {

class Form1;
class SpectrumTools;

class JoiningPanel : public QObject {
    Q_OBJECT
public:
    // Builds the panel on `page` (hidden state and texts come with the form's load).
    JoiningPanel(Form1& form, QWidget* page);

    Frame* Frame1 = nullptr;
    TextBox* Text1 = nullptr;       // Es
    TextBox* Text3 = nullptr;       // En1
    TextBox* Text4 = nullptr;       // En2 (> En1)
    QComboBox* cboIncr1 = nullptr;  // Es step

    // The measured-spectrum tools and the smoothing-panel procedures.
    SpectrumTools& tools() { return *tools_; }

private:
    // Change handler of Text1: runs whenever Text1 is written, by the user or by code.
    void Text1_Change();
    void UpDownText1_DownClick();
    void UpDownText1_UpClick();

    Form1& form_;
    SpectrumTools* tools_ = nullptr;
    QWidget* UpDownText1 = nullptr; // buttons UpDownText1_Up and UpDownText1_Down
};

} // namespace kelvara
