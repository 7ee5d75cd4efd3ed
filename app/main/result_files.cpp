#include "main/result_files.h"

#include "main/form1.h"

namespace kelvara {

void ShowSaveFrame(Form1& form, int index) {
    Frame* frame = form.frameSave(index);
    frame->show();
    frame->raise();
}

} // namespace kelvara
