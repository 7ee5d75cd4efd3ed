#pragma once
// Small builders shared by the calculation pages: the parameter frame (a
// column of label boxes beside value boxes, both control arrays), a text box
// that serves as a label and a box looked up by name.
#include <QPushButton>
#include <QString>
#include <initializer_list>
#include <map>
#include <vector>

#include "platform/errors.h"
#include "widgets/controls.h"

namespace kelvara {

class WindowSurface;

// A read-only, frameless text box that serves as a label.
TextBox* MakeLabelBox(QWidget* parent, const QString& objectName, const QString& text, int x, int y, int w, int h = 24);

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
// null; create that frame before calling). Whenever the page is shown, the box
// names the model in memory (ShowModelSourceWhenShown).
struct ModelFileControls {
    TextBox* box;
    QPushButton* button;
};
ModelFileControls MakeModelFileControls(WindowSurface& window, QWidget* page, const QString& boxName,
                                        const QString& buttonName, QWidget* frameToHide);

// Each time `page` is shown, `box` names where the model in memory came from
// (ModelSourceText, shared/oscillator_model.h): another page's read or an
// edit of the oscillator table may have replaced it meanwhile.
void ShowModelSourceWhenShown(QWidget* page, QLineEdit* box);

// The 32-bit float in a box's whole text. Raises a BoxValueError (naming
// the box and its text) on text that is not a number or too large for a
// 32-bit float.
float BoxSingle(const QLineEdit* box);

// The name a box is known by in messages: the label beside it in a parameter
// frame ("Ep", "Estep", ...), else the label set with SetBoxCaption, else its
// object name.
QString BoxCaption(const QLineEdit* box);
void SetBoxCaption(QLineEdit* box, const QString& caption);

// A box's text as a message shows it: a long text cut to its first 40
// characters and an ellipsis, so that the message fits on the screen.
QString ShortBoxText(const QString& text);

// A box whose text cannot be used: a run-time error (type mismatch, or
// overflow for a value out of range) that carries the box's name, its text
// and what is wrong, for a message that names them.
class BoxValueError : public RuntimeError {
public:
    BoxValueError(ErrorCode code, const QString& box, const QString& text, const QString& problem);
    const QString& box() const { return box_; }
    const QString& text() const { return text_; }
    // e.g. The box "Estep" holds "abc": this is not a number. An empty box
    // reads The box "File name" is empty: ..., a long text is cut to its
    // start and an ellipsis.
    QString message() const;

private:
    QString box_;
    QString text_;
    QString problem_;
};

// The number in a box that must lie between `low` and `high`; whether each
// bound itself is allowed is given by `lowIncluded` and `highIncluded`. Raises a
// BoxValueError that names the box, its text and the allowed range.
float BoxSingleInRange(const QLineEdit* box, float low, float high, bool lowIncluded, bool highIncluded,
                       const QString& unit = QString());
// What such a box is told: "the value must be at least 0.001 Å." (no upper
// bound is named when `high` is the largest float and included).
QString RangeProblem(float low, float high, bool lowIncluded, bool highIncluded, const QString& unit = QString());
// A number that must be greater than 0 (a depth, a thickness, an energy).
float BoxPositive(const QLineEdit* box);
// A depth or a thickness: at least kShortestLength Å. The loss libraries
// compute in single precision, and below that their results for a length
// are no longer right (a film's surface term jumps, Model A turns negative).
constexpr float kShortestLength = 0.001f;
float BoxLength(const QLineEdit* box);
// An angle from the surface normal: from 0 up to, not including, 90 degrees.
float BoxAngle(const QLineEdit* box);

// The boxes read by BoxSingle while a log lives (the calculation driver
// names a value out of range with them).
struct BoxReading {
    QString box;
    QString text;
    float value = 0.0f;
};
class BoxReadLog {
public:
    BoxReadLog();
    ~BoxReadLog();
    BoxReadLog(const BoxReadLog&) = delete;
    BoxReadLog& operator=(const BoxReadLog&) = delete;
    const std::vector<BoxReading>& readings() const { return readings_; }
    // The reading of the box named `caption`, case ignored (null if none).
    const BoxReading* find(const QString& caption) const;
    static void Record(const BoxReading& reading);

private:
    std::vector<BoxReading> readings_;
    BoxReadLog* outer_ = nullptr;
};

} // namespace kelvara
