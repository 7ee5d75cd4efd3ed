// The contents of the pages and panels of Form1, one builder per page (see
// form1.h). Each builder is created here with one line.
#include "main/elf_page.h"
#include "main/form1.h"
#include "main/infmedium_page.h"
#include "main/model96_page.h"
#include "main/modelab_page.h"
#include "main/thinfilm_page.h"

namespace kelvara {

void Form1::BuildPages() {
    new ElfPage(*this);            // page 4
    new ModelABPage(*this);        // page 0
    new InfiniteMediumPage(*this); // page 1
    new ThinFilmPage(*this);       // page 2
    new Model96Page(*this);        // page 3
}

} // namespace kelvara
