// The contents of the pages and panels of Form1, one builder per page (see
// form1.h). Each builder is created here with one line.
#include "main/elf_page.h"
#include "main/form1.h"

namespace kelvara {

void Form1::BuildPages() {
    new ElfPage(*this); // page 4
}

} // namespace kelvara
