#include "main/result_files.h"

#include <QDir>
#include <QLabel>
#include <vector>

#include "main/form1.h"
#include "shared/page_controls.h"
#include "platform/guard.h"
#include "platform/services.h"
#include "state/module1.h"
#include "toolkit/tools.h"

namespace kelvara {

namespace {

const QString kAngstrom = QStringLiteral("\u00C5");

const char* const kFileNameTip = "Write the name of the file where you wish to save the data. ";
const char* const kDescriptionTip = "The content of this text box is added to the top of the file. You may type "
                                    "additional lines by clicking and typing directly in this text box.";

struct SaveButton {
    const char* name;
    const char* caption;
    void (ResultFiles::*handler)();
};

// The contents of one save frame: the file-name box with its label, the
// description box and the save buttons (three to a row, above the frame's
// "Cancel" buttons).
void BuildSaveFrame(ResultFiles* owner, Frame* frame, int width, const QString& label, const char* fileNameBox,
                    const char* descriptionBox, const QString& description, const std::vector<SaveButton>& buttons) {
    const int buttonWidth = (width - 16) / 3 - 4;
    auto* caption = new QLabel(label, frame);
    caption->setGeometry(8, 22, 72, 24);
    auto* name = MakeNamed<TextBox>(frame, QString::fromLatin1(fileNameBox), QStringLiteral("Enter file name here"));
    name->setGeometry(82, 22, width - 90, 24);
    name->setToolTip(QString::fromLatin1(kFileNameTip));
    auto* notes = MakeNamed<InfoBox>(frame, QString::fromLatin1(descriptionBox));
    notes->setText(description);
    notes->setGeometry(8, 50, width - 16, 46);
    notes->setToolTip(QString::fromLatin1(kDescriptionTip));
    int k = 0;
    for (const SaveButton& b : buttons) {
        auto* button = MakeButton(frame, QString::fromLatin1(b.name), QString::fromLatin1(b.caption), 8 + (k % 3) * (buttonWidth + 4),
                                  100 + (k / 3) * 25, buttonWidth, 24);
        const auto handler = b.handler;
        connectGuarded(button, &QPushButton::clicked, owner, [owner, handler](bool) { (owner->*handler)(); });
        ++k;
    }
}

QString Box(const Form1& form, const char* name) { return BoxText(form, QString::fromLatin1(name)); }
QString Box(const Form1& form, const char* array, int index) {
    return BoxText(form, ArrayName(QString::fromLatin1(array), index));
}

} // namespace

void ShowSaveFrame(Form1& form, int index) {
    Frame* frame = form.frameSave(index);
    frame->show();
    frame->raise();
}

// ---- header lines ------------------------------------------------------------

HeaderLines Model96Header(const Form1& form, Model96Curve curve) {
    const char* title = "Effective cross section for electron backscattered at depth X0 =";
    switch (curve) {
    case Model96Curve::Keff: break;
    case Model96Curve::MediumIn:
        title = "Way in medium- Effective cross section for electron backscattered at depth X0 =";
        break;
    case Model96Curve::MediumOut:
        title = "Way out medium- Effective cross section for electron backscattered at depth X0 =";
        break;
    case Model96Curve::VacuumIn:
        title = "Way in vacuum-Effective cross section for electron backscattered at depth X0 =";
        break;
    case Model96Curve::VacuumOut:
        title = "Way out vacuum-Effective cross section for electron backscattered at depth X0 =";
        break;
    }
    return {QString::fromLatin1(title) + Box(form, "txtpar96Val", 3) + QStringLiteral(" ") + kAngstrom,
            QStringLiteral("Calculated with Model 96 for any incidence and exit angle, eqs. (21)-(25)"),
            QStringLiteral("Incidence angle = ") + Box(form, "txtpar96Val", 4) + QStringLiteral(" exit angle = ") +
                Box(form, "txtpar96Val", 5),
            QStringLiteral("ELF function from the file ") + Box(form, "txtELFfile96", 3) +
                QStringLiteral(". Primary energy = ") + Box(form, "txtpar96Val", 0) + QStringLiteral(" eV."),
            Box(form, "Text7")};
}

HeaderLines ModelABHeader(const Form1& form, ModelABCurve curve) {
    const char* title = "Effective cross section for electron backscattered at depth X0 =";
    if (curve == ModelABCurve::ModelA_in)
        title = "Way in - Effective cross section for electron backscattered at depth X0 =";
    if (curve == ModelABCurve::ModelA_out)
        title = "Way out - Effective cross section for electron backscattered at depth X0 =";
    const QString method = curve == ModelABCurve::ModelB
                               ? QStringLiteral("Calculated by Model B for normal incidence and exit, eq. (15)")
                               : QStringLiteral("Calculated by Model A for normal incidence and exit, eq. (13)");
    return {QString::fromLatin1(title) + Box(form, "txtparABVal", 3) + QStringLiteral(" ") + kAngstrom +
                QStringLiteral("."),
            method, QStringLiteral("ELF function from the file ") + Box(form, "txtELFfileAB", 0),
            QStringLiteral("Primary energy = ") + Box(form, "txtparABVal", 0) + QStringLiteral(" eV."),
            Box(form, "txtDescription")};
}

HeaderLines ThinFilmHeader(const Form1& form, ThinFilmCurve curve) {
    const char* first = "Effective cross section for electron that has passed through a thin film";
    if (curve == ThinFilmCurve::Ksurf)
        first = "Surface contribution to the effective cross section for electron that has passed through a thin "
                "film";
    if (curve == ThinFilmCurve::Kbulk)
        first = "Bulk contribution to the effective cross section for electron that has passed through a thin film";
    return {QString::fromLatin1(first), QStringLiteral("ELF function from the file ") + Box(form, "txtELFfilethinfilm"),
            QStringLiteral("Primary energy = ") + Box(form, "txtpartval", 0) + QStringLiteral(" eV."),
            QStringLiteral("Film thickness = ") + Box(form, "txtpartval", 1) + QStringLiteral(" ") + kAngstrom +
                QStringLiteral("."),
            Box(form, "Text12")};
}

HeaderLines InfiniteMediumHeader(const Form1& form) {
    return {QStringLiteral("Cross section in (eV^-1 ") + kAngstrom +
                QStringLiteral("^-1) for electron travelling in an infinite medium"),
            QStringLiteral("ELF function from the file ") + Box(form, "txtELFfileInf") + QStringLiteral(". "),
            QStringLiteral("Primary energy = ") + Box(form, "txtparInfVal", 0) + QStringLiteral(" eV") +
                QStringLiteral("."),
            QString(), Box(form, "txtFileDescription")};
}

// ---- the save frames -----------------------------------------------------------

ResultFiles::ResultFiles(Form1& form) : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("ResultFiles"));
    // Room inside the frames as the start-up layout sizes them on a screen
    // 1280 pixels wide (the frames of pages 0 and 3 are the wider ones).
    constexpr int kWide = 396;
    constexpr int kNarrow = 344;
    const QString twoLines = QStringLiteral("You may write info here to be stored with \r\nthe data.\r\n");
    BuildSaveFrame(this, form.frameSave(0), kWide, QStringLiteral("File name:"), "txtoutfile", "txtDescription", twoLines,
                   {{"cmdSaveKModelA", "Save K Model A", &ResultFiles::cmdSaveKModelA_Click},
                    {"cmdSaveKModelB", "Save K Model B", &ResultFiles::cmdSaveKModelB_Click},
                    {"cmdSaveKModelA_in", "Save K Model A-in", &ResultFiles::cmdSaveKModelA_in_Click},
                    {"cmdSaveKModelA_out", "Save K Model A-out", &ResultFiles::cmdSaveKModelA_out_Click}});
    BuildSaveFrame(this, form.frameSave(1), kNarrow, QStringLiteral("File name:"), "txtFileNameCrossSection",
                   "txtFileDescription", QStringLiteral("You may write info here to be stored \r\nwith the data.\r\n"),
                   {{"cmdSaveCrossSection", "Save Cross Section", &ResultFiles::cmdSaveCrossSection_Click}});
    BuildSaveFrame(this, form.frameSave(2), kNarrow, QStringLiteral("File name:"), "txtfilenametf", "Text12", twoLines,
                   {{"cmdSaveKeff", "Save Keff", &ResultFiles::cmdSaveKeff_Click},
                    {"cmdSaveKsurf", "Save Ksurf", &ResultFiles::cmdSaveKsurf_Click},
                    {"cmdSaveKbulk", "Save Kbulk", &ResultFiles::cmdSaveKbulk_Click}});
    BuildSaveFrame(this, form.frameSave(3), kWide, QStringLiteral(" File name:"), "txtSaveFile96", "Text7",
                   QStringLiteral("You may write info here to be stored with the data.\r\n"),
                   {{"cmdSavekeff96", "Save Keff", &ResultFiles::cmdSavekeff96_Click},
                    {"cmdSavekmediumin96", "Save K medium in", &ResultFiles::cmdSavekmediumin96_Click},
                    {"cmdSavekmediumout96", "Save K medium out", &ResultFiles::cmdSavekmediumout96_Click},
                    {"cmdSavekvacin96", "Save K vac in", &ResultFiles::cmdSavekvacin96_Click},
                    {"cmdSavekvacout96", "Save K vac out", &ResultFiles::cmdSavekvacout96_Click}});
}

// ---- the save buttons ----------------------------------------------------------

namespace {
const QString kNoResultLine;
}

void ResultFiles::Save(const char* fileNameBox, const SingleArray& curve, const HeaderLines& header,
                       const QString& resultLine) {
    SaveResultFile(form_, BoxText(form_, QString::fromLatin1(fileNameBox)), curve, header, resultLine);
}

void ResultFiles::cmdSaveKModelA_Click() {
    Save("txtoutfile", Module1::KModelA, ModelABHeader(form_, ModelABCurve::ModelA),
                   Module1::ResultText);
}
void ResultFiles::cmdSaveKModelB_Click() {
    Save("txtoutfile", Module1::KModelB, ModelABHeader(form_, ModelABCurve::ModelB),
                   Module1::ResultText);
}
void ResultFiles::cmdSaveKModelA_in_Click() {
    Save("txtoutfile", Module1::KModelA_in,
                   ModelABHeader(form_, ModelABCurve::ModelA_in), kNoResultLine);
}
void ResultFiles::cmdSaveKModelA_out_Click() {
    Save("txtoutfile", Module1::KModelA_out,
                   ModelABHeader(form_, ModelABCurve::ModelA_out), kNoResultLine);
}

void ResultFiles::cmdSaveCrossSection_Click() {
    Save("txtFileNameCrossSection", Module1::Kbulk, InfiniteMediumHeader(form_),
                   Module1::ResultText);
}

void ResultFiles::cmdSaveKeff_Click() {
    Save("txtfilenametf", Module1::Keff, ThinFilmHeader(form_, ThinFilmCurve::Keff),
                   Module1::ResultText);
}
void ResultFiles::cmdSaveKsurf_Click() {
    Save("txtfilenametf", Module1::Ksurf,
                   ThinFilmHeader(form_, ThinFilmCurve::Ksurf), kNoResultLine);
}
void ResultFiles::cmdSaveKbulk_Click() {
    Save("txtfilenametf", Module1::Kbulk,
                   ThinFilmHeader(form_, ThinFilmCurve::Kbulk), kNoResultLine);
}

void ResultFiles::cmdSavekeff96_Click() {
    Save("txtSaveFile96", Module1::Keff, Model96Header(form_, Model96Curve::Keff),
                   Module1::ResultText);
}
void ResultFiles::cmdSavekmediumin96_Click() {
    Save("txtSaveFile96", Module1::Kmi,
                   Model96Header(form_, Model96Curve::MediumIn), kNoResultLine);
}
void ResultFiles::cmdSavekmediumout96_Click() {
    Save("txtSaveFile96", Module1::Kmo,
                   Model96Header(form_, Model96Curve::MediumOut), kNoResultLine);
}
void ResultFiles::cmdSavekvacin96_Click() {
    Save("txtSaveFile96", Module1::Kvi,
                   Model96Header(form_, Model96Curve::VacuumIn), kNoResultLine);
}
void ResultFiles::cmdSavekvacout96_Click() {
    Save("txtSaveFile96", Module1::Kvo,
                   Model96Header(form_, Model96Curve::VacuumOut), kNoResultLine);
}

} // namespace kelvara
