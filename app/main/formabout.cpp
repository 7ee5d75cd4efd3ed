#include "main/formabout.h"

#include <QFontMetrics>
#include <QPushButton>

#include <algorithm>

#include "widgets/guard.h"

namespace kelvara {

namespace {
// Room around the lines inside the frame, and the space its title takes.
constexpr int kInner = 10;
constexpr int kFrameTitle = 22;
} // namespace

formAbout::formAbout(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("formAbout"));
    setWindowTitle(QStringLiteral("About"));
    setAttribute(Qt::WA_DeleteOnClose, true);
    auto* frame = MakeNamed<Frame>(this, QStringLiteral("frameCopyright"), QStringLiteral("Copyright"));
    for (int i = 0; i <= 10; ++i) {
        auto* box = MakeNamed<TextBox>(frame, ArrayName(QStringLiteral("Text1"), i), QStringLiteral("Text1"));
        box->setReadOnly(true);
        box->setFrame(false);
        box->setVisible(false);
        Text1_[static_cast<std::size_t>(i)] = box;
    }
    // The eleven lines, one under the other inside the frame, each as wide as
    // the longest of them in bold type and as high as the font needs; the
    // window is as large as the frame and the button.
    QFont bold = line(0)->font();
    bold.setBold(true);
    const QFontMetrics fm(bold);
    int textWidth = 0;
    for (int i = 0; i <= 10; ++i) textWidth = std::max(textWidth, fm.horizontalAdvance(LineText(i)));
    const int lineWidth = std::max(480, textWidth + 16);
    const int pitch = std::max(26, fm.height() + 10);
    for (int i = 0; i <= 10; ++i) line(i)->setGeometry(kInner, kFrameTitle + i * pitch, lineWidth, pitch - 6);
    // Four decorative lines inside the frame, between the groups of lines.
    for (int after : {1, 3, 5, 7}) {
        auto* l = new LineControl(Qt::Horizontal, frame);
        l->setGeometry(kInner, kFrameTitle + (after + 1) * pitch - 4, lineWidth, 1);
    }
    frame->setGeometry(10, 10, lineWidth + 2 * kInner, kFrameTitle + 11 * pitch + kInner);
    auto* ok = MakeNamed<QPushButton>(this, QStringLiteral("cmdOK"), QStringLiteral("OK"));
    ok->setGeometry(frame->geometry().right() - 80, frame->geometry().bottom() + 10, 80, 28);
    resize(frame->geometry().right() + 11, ok->geometry().bottom() + 11);
    connectGuarded(ok, &QPushButton::clicked, this, [this](bool) { cmdOK_Click(); });
}

QString formAbout::LineText(int i) {
    switch (i) {
        case 0: return QStringLiteral("Written by the Kelvara developers.");
        case 1:
            return QStringLiteral(
                "Kelvara 0.1 - effective inelastic cross sections for electron spectroscopy of solids");
        case 2: return QStringLiteral("Program, model libraries, example models and tests come in one source tree.");
        case 3: return QStringLiteral("The program comes without warranty: check its results before you rely on them.");
        case 4: return QStringLiteral("A guide to the practical use of the program:");
        case 5: return QStringLiteral("README.md, in the top folder of the source tree.");
        case 6: return QString();
        case 7: return QStringLiteral("Copyright (c) 2026 the Kelvara developers. All rights reserved.");
        case 8: return QStringLiteral("The README describes the pages, the calculations and the model files.");
        case 9: return QStringLiteral("Oscillator models to start from are in the folder examples of the source tree.");
        case 10: return QStringLiteral("Questions and fault reports go through the project's issue tracker.");
        default: return QString();
    }
}

void formAbout::Form_Load() {
    for (int i = 0; i <= 10; ++i) {
        line(i)->setText(LineText(i));
        line(i)->setCursorPosition(0);
        line(i)->setVisible(true);
    }
    for (int i : {7, 1}) {
        QFont f = line(i)->font();
        f.setBold(true);
        line(i)->setFont(f);
    }
}

void formAbout::cmdOK_Click() {
    hide();
    close(); // unloads: the window is deleted
}

} // namespace kelvara
