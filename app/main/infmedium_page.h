#pragma once
// The infinite-medium page (frame2_1): an electron travelling in an infinite
// medium. This part of the page holds the parameter boxes (the array has no
// index 1), the model-file box and the "Save" button that opens the save
// frame; the page gives the header lines of its result file. "Read ELF
// file" reads the model selected in the file browser.
#include <QPushButton>
#include <map>

#include "shared/calc_page.h"
#include "widgets/controls.h"

namespace kelvara {

class Form1;

class InfiniteMediumPage : public CalcPage {
    Q_OBJECT
public:
    explicit InfiniteMediumPage(Form1& form);

    Frame* framesetparInf = nullptr;
    std::map<int, TextBox*> txtparInfVal; // 0 Ep, 2 Emax, 3 Estep
    TextBox* txtELFfileInf = nullptr;
    QPushButton* cmdReadELFInf = nullptr; // "Read ELF file"
    QPushButton* cmdSaveK = nullptr;

    // The five header lines of the page's result file.
    HeaderLines Header() const;

private:
    SaveFrameBoxes save_;
};

} // namespace kelvara
