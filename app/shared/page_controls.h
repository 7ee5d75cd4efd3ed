#pragma once
// Small builders shared by the calculation pages: the parameter frame (a
// column of label boxes beside value boxes, both control arrays), a text box
// that serves as a label and a box looked up by name.
#include <QPushButton>
#include <QString>
#include <initializer_list>
#include <map>

#include "widgets/controls.h"

namespace kelvara {

class WindowSurface;

// A read-only, frameless text box that serves as a label.
TextBox* MakeLabelBox(QWidget* parent, const QString& objectName, const QString& text, int x, int y, int w,
                      int h = 24);

// One row of a parameter frame: the index of both control arrays, the label's
// text and the value box's default text.
struct ParameterRow {
    int index;
    const char* label;
    const char* defaultText;
};

// A frame holding, row by row, label box `labelArray`(index) and value box
// `valueArray`(index). Returns the value boxes by index.
std::map<int, TextBox*> MakeParameterFrame(QWidget* parent, const QString& frameName, const QString& caption,
                                           const QString& labelArray, const QString& valueArray,
                                           std::initializer_list<ParameterRow> rows, int x, int y,
                                           Frame** frameOut = nullptr);

// The model-file box and its "Read ELF file" button, at the place every
// calculation page gives them. The button reads the model selected in the
// window's file browser, shows its name in the box and hides `frameToHide` (may be
// null; create that frame before calling).
struct ModelFileControls {
    TextBox* box;
    QPushButton* button;
};
ModelFileControls MakeModelFileControls(WindowSurface& window, QWidget* page, const QString& boxName,
                                        const QString& buttonName, QWidget* frameToHide);

// The 32-bit float in a box's whole text (raises on text that is not a number).
float BoxSingle(const QLineEdit* box);

} // namespace kelvara
