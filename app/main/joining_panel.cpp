#include "main/joining_panel.h"

#include <QComboBox>
#include <QLabel>
#include <QToolButton>

#include <algorithm>

#include "main/form1.h"
#include "main/spectrum_tools.h"
#include "shared/plot_readout.h"
#include "widgets/guard.h"

namespace kelvara {

JoiningPanel::JoiningPanel(Form1& form, QWidget* page) : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("JoiningPanel"));
    Frame1 = MakeNamed<Frame>(page, QStringLiteral("Frame1"), QStringLiteral("Adjust parameters"));
    Frame1->setGeometry(10, 24, 250, 120);
    Frame1->setAutoFillBackground(true);
    const char* labels[3] = {"Es =", "En1 =", "En2 (>En1)="};
    const char* names[3] = {"Text1", "Text3", "Text4"};
    TextBox* boxes[3] = {};
    for (int k = 0; k < 3; ++k) {
        auto* label = new QLabel(QString::fromUtf8(labels[k]), Frame1);
        label->setGeometry(10, 24 + k * 30, 90, 24);
        boxes[k] = MakeNamed<TextBox>(Frame1, QString::fromLatin1(names[k]));
        boxes[k]->setGeometry(105, 24 + k * 30, 80, 24);
    }
    Text1 = boxes[0];
    Text3 = boxes[1];
    Text4 = boxes[2];
    Text3->setText(QStringLiteral("10"));
    Text4->setText(QStringLiteral("25"));
    tools_ = new SpectrumTools(form);
    connectGuarded(Text1, &QLineEdit::textChanged, this, [this](const QString&) { Text1_Change(); });

    // The Es step control beside Text1.
    Frame1->resize(std::max(Frame1->width(), 290), Frame1->height());
    UpDownText1 = MakeNamed<QWidget>(Frame1, QStringLiteral("UpDownText1"));
    UpDownText1->setGeometry(Text1->x() + Text1->width() + 2, Text1->y(), 18, Text1->height());
    auto* up = MakeNamed<QToolButton>(UpDownText1, QStringLiteral("UpDownText1_Up"));
    up->setArrowType(Qt::UpArrow);
    up->setGeometry(0, 0, 18, Text1->height() / 2);
    auto* down = MakeNamed<QToolButton>(UpDownText1, QStringLiteral("UpDownText1_Down"));
    down->setArrowType(Qt::DownArrow);
    down->setGeometry(0, Text1->height() / 2, 18, Text1->height() - Text1->height() / 2);
    connectGuarded(up, &QToolButton::clicked, this, [this](bool) { UpDownText1_UpClick(); });
    connectGuarded(down, &QToolButton::clicked, this, [this](bool) { UpDownText1_DownClick(); });
    cboIncr1 = MakeNamed<QComboBox>(Frame1, QStringLiteral("cboIncr1"));
    cboIncr1->setEditable(true);
    cboIncr1->addItems({QStringLiteral("0.1"), QStringLiteral("0.2"), QStringLiteral("0.5"), QStringLiteral("1"),
                        QStringLiteral("2")});
    cboIncr1->setEditText(QStringLiteral(".5"));
    cboIncr1->setGeometry(UpDownText1->x() + UpDownText1->width() + 6, Text1->y(), 70, Text1->height());
}

void JoiningPanel::Text1_Change() {
    tools_->Text1_Change();
    emit form_.Text1Changed();
}

void JoiningPanel::UpDownText1_DownClick() {
    StepDown(Text1->text().toStdString(), cboIncr1->currentText().toStdString(),
             [this](const std::string& t) { Text1->setText(QString::fromStdString(t)); });
}

void JoiningPanel::UpDownText1_UpClick() {
    StepUp(Text1->text().toStdString(), cboIncr1->currentText().toStdString(),
           [this](const std::string& t) { Text1->setText(QString::fromStdString(t)); });
}

} // namespace kelvara
