#include "shared/page_controls.h"

#include "shared/oscillator_model.h"
#include "widgets/guard.h"

#include "platform/errors.h"
#include "platform/numbers.h"

namespace kelvara {

TextBox* MakeLabelBox(QWidget* parent, const QString& objectName, const QString& text, int x, int y, int w, int h) {
    auto* box = MakeNamed<TextBox>(parent, objectName, text);
    box->setReadOnly(true);
    box->setFrame(false);
    box->setFocusPolicy(Qt::NoFocus);
    box->setGeometry(x, y, w, h);
    return box;
}

std::map<int, TextBox*> MakeParameterFrame(QWidget* parent, const QString& frameName, const QString& caption,
                                           const QString& labelArray, const QString& valueArray,
                                           std::initializer_list<ParameterRow> rows, int x, int y,
                                           Frame** frameOut) {
    constexpr int kRow = 29;
    auto* frame = MakeNamed<Frame>(parent, frameName, caption);
    frame->setGeometry(x, y, 160, 30 + static_cast<int>(rows.size()) * kRow);
    std::map<int, TextBox*> values;
    int row = 0;
    for (const ParameterRow& r : rows) {
        const int top = 22 + row * kRow;
        MakeLabelBox(frame, ArrayName(labelArray, r.index), QString::fromUtf8(r.label), 6, top, 62);
        auto* value = MakeNamed<TextBox>(frame, ArrayName(valueArray, r.index), QString::fromUtf8(r.defaultText));
        value->setGeometry(70, top, 82, 24);
        values[r.index] = value;
        ++row;
    }
    if (frameOut) *frameOut = frame;
    return values;
}

ModelFileControls MakeModelFileControls(WindowSurface& window, QWidget* page, const QString& boxName,
                                        const QString& buttonName, QWidget* frameToHide) {
    auto* box = MakeNamed<TextBox>(page, boxName);
    box->setGeometry(176, 26, 200, 24);
    auto* button = MakeButton(page, buttonName, QStringLiteral("Read ELF file"), 176, 54, 98);
    connectGuarded(button, &QPushButton::clicked, page,
                   [&window, box, frameToHide](bool) { ReadELFForPage(window, box, frameToHide); });
    return {box, button};
}

float BoxSingle(const QLineEdit* box) {
    if (!box) raise(ErrorCode::ObjectRequired);
    return ToSingle(box->text().toStdString());
}

} // namespace kelvara
