#include "main/frmsmooth.h"

#include <QCheckBox>
#include <QLabel>

namespace kelvara {

namespace {
TextBox* LabelledBox(QWidget* parent, const char* name, const char* caption, const char* text, int x, int y,
                     int labelWidth, int boxWidth) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setGeometry(x, y, labelWidth, 24);
    auto* box = MakeNamed<TextBox>(parent, QString::fromLatin1(name), QString::fromUtf8(text));
    box->setGeometry(x + labelWidth, y, boxWidth, 24);
    return box;
}
} // namespace

frmSmooth::frmSmooth(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmSmooth"));
    hide();
    frameSmooth = MakeNamed<Frame>(this, QStringLiteral("frameSmooth"), QStringLiteral("Smoothing"));
    frameSmooth->setGeometry(0, 0, 480, 165);
    // Rows 28 pixels apart from the caption down; the frame is placed by the
    // main form's start-up layout.
    txtReadFileName = LabelledBox(frameSmooth, "txtReadFileName", "Input file", "", 8, 22, 80, 170);
    txtFileName = LabelledBox(frameSmooth, "txtFileName", "Output file", "", 8, 50, 80, 170);
    txtns = LabelledBox(frameSmooth, "txtns", "ns =", "2", 8, 78, 40, 50);
    txtm = LabelledBox(frameSmooth, "txtm", "m =", "2", 108, 78, 35, 50);
    txtFactor = LabelledBox(frameSmooth, "txtFactor", "Factor =", "1", 203, 78, 60, 55);
    chkShowOriginal =
        MakeNamed<QCheckBox>(frameSmooth, QStringLiteral("chkShowOriginal"), QStringLiteral("Show unsmoothed"));
    chkShowOriginal->setGeometry(270, 22, 200, 24);
    txtPeakDescript = MakeNamed<TextBox>(frameSmooth, QStringLiteral("txtPeakDescript"));
    txtPeakDescript->setGeometry(8, 106, 460, 24);
}

} // namespace kelvara
