#include "main/formabout.h"

#include <QPushButton>

#include "widgets/guard.h"

namespace kelvara {

formAbout::formAbout(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("formAbout"));
    setWindowTitle(QStringLiteral("About"));
    setAttribute(Qt::WA_DeleteOnClose, true);
    resize(620, 430);
    auto* frame = MakeNamed<Frame>(this, QStringLiteral("frameCopyright"), QStringLiteral("Copyright"));
    frame->setGeometry(10, 10, 600, 350);
    for (int i = 0; i <= 10; ++i) {
        auto* box = MakeNamed<TextBox>(i < 10 ? static_cast<QWidget*>(frame) : this, ArrayName(QStringLiteral("Text1"), i),
                                       QStringLiteral("Text1"));
        box->setReadOnly(true);
        box->setFrame(false);
        box->setVisible(false);
        if (i < 10)
            box->setGeometry(10, 22 + i * 32, 580, 26);
        else
            box->setGeometry(20, 365, 590, 26);
        Text1_[static_cast<std::size_t>(i)] = box;
    }
    // Four decorative lines inside the frame.
    for (int after : {1, 3, 5, 7}) {
        auto* l = new LineControl(Qt::Horizontal, frame);
        l->setGeometry(10, 22 + (after + 1) * 32 - 4, 580, 1);
    }
    auto* ok = MakeNamed<QPushButton>(this, QStringLiteral("cmdOK"), QStringLiteral("OK"));
    ok->setGeometry(530, 396, 80, 28);
    connectGuarded(ok, &QPushButton::clicked, this, [this](bool) { cmdOK_Click(); });
}

QString formAbout::LineText(int i) {
    switch (i) {
    case 0: return QStringLiteral("Developed by the Kelvara development team.");
    case 1: return QStringLiteral("Kelvara 1.0 - effective inelastic cross sections for electron spectroscopy of solids");
    case 2: return QStringLiteral("Available from the project's software repository (identifier to be announced).");
    case 3: return QStringLiteral("Free for scientific use; please cite the program when you publish results obtained with it.");
    case 4: return QStringLiteral("A guide to the practical use of the program:");
    case 5: return QStringLiteral("Kelvara user guide, distributed with the program.");
    case 6: return QString();
    case 7: return QStringLiteral("Copyright (c) 2026 the Kelvara developers. All rights reserved.");
    case 8: return QStringLiteral("Kelvara development team, first institute address.");
    case 9: return QStringLiteral("Kelvara development team, second institute address.");
    case 10: return QStringLiteral("Contact: see the project repository.");
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
