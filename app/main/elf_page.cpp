#include "main/elf_page.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "main/form1.h"
#include "platform/crlf.h"
#include "platform/errors.h"
#include "platform/numbers.h"
#include "shared/oscillator_model.h"
#include "shared/page_controls.h"
#include "shared/result_file.h"
#include "state/module1.h"
#include "widgets/controls.h"
#include "widgets/guard.h"
#include "widgets/services.h"

namespace kelvara {

void cmdPlotELF_Click(Form1& form) {
    const auto box = [&form](const char* name) {
        auto* b = form.findChild<QLineEdit*>(QString::fromLatin1(name));
        if (!b) raise(ErrorCode::ObjectRequired);
        return b;
    };
    // A step or maximum that is not positive gives no curve: refused with
    // the box named, before the program-wide grid is changed.
    const float step = BoxPositive(box("txtE_step"));
    const float max = BoxPositive(box("txtE_max"));
    Module1::Estep = step;
    Module1::Emax = max;
    // A quotient beyond the 16-bit count is far above the limit.
    if (!(static_cast<double>(max / step) < 32767.0)) {
        services().messageBox(QStringLiteral("max number of points is 1000"));
        return;
    }
    PlotModelLossFunction(form);
}

namespace {


QString Text(float value) { return QString::fromStdString(GeneralText(value)); }

float Number(const TextBox* box) { return ToSingle(box->text().toStdString()); }

// Raises FillingBoxes for its lifetime and lowers it on every way out.
class FillingTable {
public:
    FillingTable() { Module1::FillingBoxes = True; }
    ~FillingTable() { Module1::FillingBoxes = False; }
    FillingTable(const FillingTable&) = delete;
    FillingTable& operator=(const FillingTable&) = delete;
};

} // namespace

ElfPage::ElfPage(Form1& form) : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("ElfPage"));
    build();
    layout();
    connect(&form, &Form1::layoutDone, this, [this] { layout(); });
}

TextBox* ElfPage::txtw0(int i) const { return w0_.at(static_cast<std::size_t>(i)); }
TextBox* ElfPage::txtA0(int i) const { return a0_.at(static_cast<std::size_t>(i)); }
TextBox* ElfPage::txtgamma(int i) const { return gamma_.at(static_cast<std::size_t>(i)); }
TextBox* ElfPage::txtalfa(int i) const { return alfa_.at(static_cast<std::size_t>(i)); }

// ---- construction
// --------------------------------------------------------------

TextBox* ElfPage::addBox(QWidget* parent, const QString& name, const QString& text, int x, int y, int width) {
    auto* box = MakeNamed<TextBox>(parent, name);
    box->setText(text);
    box->setGeometry(x, y, width, 20);
    return box;
}

QLabel* ElfPage::addLabel(QWidget* parent, const QString& text, int x, int y, int width, int height) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, width, height);
    return label;
}

void ElfPage::build() {
    QWidget* page = form_.page(4);

    // File name, count.
    addLabel(page, QStringLiteral("File name"), 10, 22, 60);
    txtELFFilename = addBox(page, QStringLiteral("txtELFFilename"), QString(), 72, 22, 196);
    addLabel(page, QStringLiteral("Number of oscillators ="), 276, 22, 140);
    txtNELFdata = addBox(page, QStringLiteral("txtNELFdata"), QString(), 420, 22, 50);

    // Buttons of the model file.
    auto* read = MakeButton(page, QStringLiteral("cmdReadELFdata"), QStringLiteral("Read"), 10, 52, 90);
    auto* save = MakeButton(page, QStringLiteral("cmdSaveELFdata"), QStringLiteral("Save"), 10, 82, 90);
    auto* sort = MakeButton(page, QStringLiteral("cmdSortOscillators"), QStringLiteral("Sort osc"), 10, 112, 90);

    // The table: one row per oscillator.
    const int x0 = 110;
    const int colW = 60;
    const char* const headers[4] = {"  w0", "  A0", "gamma", "alpha"};
    for (int c = 0; c < 4; ++c)
        addLabel(page, QString::fromLatin1(headers[c]), x0 + c * (colW + 2), 46, colW, 16);
    for (int i = 1; i <= kRows; ++i) {
        const int y = 63 + (i - 1) * 20;
        const auto idx = static_cast<std::size_t>(i);
        w0_[idx] = addBox(page, ArrayName(QStringLiteral("txtw0"), i), QString(), x0, y, colW);
        a0_[idx] = addBox(page, ArrayName(QStringLiteral("txtA0"), i), QString(), x0 + (colW + 2), y, colW);
        gamma_[idx] = addBox(page, ArrayName(QStringLiteral("txtgamma"), i), QString(), x0 + 2 * (colW + 2), y, colW);
        alfa_[idx] = addBox(page, ArrayName(QStringLiteral("txtalfa"), i), QString(), x0 + 3 * (colW + 2), y, colW);
    }

    // Core excitations, gap, plot grid.
    frameCoreExcitations =
        MakeNamed<Frame>(page, QStringLiteral("frameCoreExcitations"), QStringLiteral("Core excitations"));
    frameCoreExcitations->setGeometry(364, 44, 116, 70);
    addLabel(frameCoreExcitations, QStringLiteral("ac"), 8, 20, 24);
    txt_Core_ac = addBox(frameCoreExcitations, QStringLiteral("txt_Core_ac"), QStringLiteral("0.001"), 36, 20, 72);
    addLabel(frameCoreExcitations, QStringLiteral("bc"), 8, 44, 24);
    txt_Core_bc = addBox(frameCoreExcitations, QStringLiteral("txt_Core_bc"), QStringLiteral("-2"), 36, 44, 72);

    addLabel(page, QStringLiteral("E_Gap="), 366, 120, 46);
    txtE_Gap = addBox(page, QStringLiteral("txtE_Gap"), QStringLiteral("0"), 414, 120, 60);

    framePlotELF = MakeNamed<Frame>(page, QStringLiteral("framePlotELF"), QStringLiteral("Plot ELF"));
    framePlotELF->setGeometry(364, 146, 116, 110);
    addLabel(framePlotELF, QStringLiteral("E_step="), 6, 20, 50);
    txtE_step = addBox(framePlotELF, QStringLiteral("txtE_step"), QStringLiteral("0.2"), 58, 20, 50);
    addLabel(framePlotELF, QStringLiteral("E_Max ="), 6, 46, 50);
    txtE_max = addBox(framePlotELF, QStringLiteral("txtE_max"), QStringLiteral("100"), 58, 46, 50);
    SetBoxCaption(txtE_step, QStringLiteral("E_step"));
    SetBoxCaption(txtE_max, QStringLiteral("E_Max"));
    auto* plot = MakeButton(framePlotELF, QStringLiteral("cmdPlotELF"), QStringLiteral("Plot ELF"), 6, 74, 102);

    // The sum rule (placed by layout()).
    frameCheckSumRules =
        MakeNamed<Frame>(page, QStringLiteral("frameCheckSumRules"), QStringLiteral("Check for KK-Sum Rule"));
    frameCheckSumRules->setAutoFillBackground(true);
    addLabel(frameCheckSumRules, QStringLiteral("Refr. index = "), 8, 22, 80);
    txtRef_Index = addBox(frameCheckSumRules, QStringLiteral("txtRef_Index"), QStringLiteral("999"), 88, 22, 60);
    addLabel(frameCheckSumRules, QStringLiteral("KK-sum ="), 8, 48, 80);
    txtfsum = addBox(frameCheckSumRules, QStringLiteral("txtfsum"), QString(), 88, 48, 60);
    auto* typical = MakeButton(frameCheckSumRules, QStringLiteral("cmdTypicalRefrIndexValues"),
                              QStringLiteral("Typical Refr.Index values"), 154, 20, 140, 24);
    auto* what = MakeButton(frameCheckSumRules, QStringLiteral("cmdWhatIsKK_SumRule"),
                           QStringLiteral("What is KK - sum rule"), 154, 46, 140, 24);
    auto* rescale = MakeButton(frameCheckSumRules, QStringLiteral("cmdAutoRescaleInt"),
                              QStringLiteral("Auto Rescale Intensities A0 to fulfill KK-sum rule"), 8, 78, 286, 26);

    // Handlers.
    connectGuarded(read, &QPushButton::clicked, this, [this](bool) { cmdReadELFdata_Click(); });
    connectGuarded(save, &QPushButton::clicked, this, [this](bool) { cmdSaveELFdata_Click(); });
    connectGuarded(sort, &QPushButton::clicked, this, [this](bool) { cmdSortOscillators_Click(); });
    connectGuarded(plot, &QPushButton::clicked, this, [this](bool) { cmdPlotELF_Click(); });
    connectGuarded(typical, &QPushButton::clicked, this, [this](bool) { cmdTypicalRefrIndexValues_Click(); });
    connectGuarded(what, &QPushButton::clicked, this, [this](bool) { cmdWhatIsKK_SumRule_Click(); });
    connectGuarded(rescale, &QPushButton::clicked, this, [this](bool) { cmdAutoRescaleInt_Click(); });
    for (int i = 1; i <= kRows; ++i) {
        connectGuarded(txtw0(i), &QLineEdit::textChanged, this, [this, i](const QString&) { txtw0_Change(i); });
        connectGuarded(txtA0(i), &QLineEdit::textChanged, this, [this, i](const QString&) { txtA0_Change(i); });
        connectGuarded(txtgamma(i), &QLineEdit::textChanged, this, [this, i](const QString&) { txtgamma_Change(i); });
    }
    connectGuarded(txtE_Gap, &QLineEdit::textChanged, this, [this](const QString&) { txtE_Gap_Change(); });
    connectGuarded(txtRef_Index, &QLineEdit::textChanged, this, [this](const QString&) { txtRef_Index_Change(); });
}

namespace {
// Makes a button's caption fit its width by using a smaller font if needed.
void FitCaption(QPushButton* button) {
    QFont font = button->font();
    for (qreal size = font.pointSizeF(); size > 6.0; size -= 0.5) {
        font.setPointSizeF(size);
        if (QFontMetrics(font).horizontalAdvance(button->text()) + 12 <= button->width())
            break;
    }
    button->setFont(font);
}
} // namespace

void ElfPage::layout() {
    // The sum-rule panel sits below the info box, inside the visible part of
    // the info frame's area.
    QWidget* page = form_.page(4);
    Frame* info = form_.frameinfo(4);
    const QRect box = form_.txtinfo(4)->geometry();
    int x = info->x() + 8;
    int y = info->y() + box.bottom() + 10;
    const int visibleRight = std::min(info->x() + info->width() - 8, form_.width() - page->x() - 24);
    int w = std::clamp(visibleRight - x, 250, 310);
    const int h = 112;
    if (y + h > page->height() - 4)
        y = std::max(info->y() + 20, page->height() - h - 4);
    if (info->width() < 60) {
        // Before the start-up layout: beside the table.
        x = 486;
        y = 130;
        w = 302;
    }
    frameCheckSumRules->setGeometry(x, y, w, h);
    for (auto* button : frameCheckSumRules->findChildren<QPushButton*>()) {
        if (button->objectName() == QStringLiteral("cmdAutoRescaleInt")) {
            button->setGeometry(8, 78, w - 16, 26);
        } else {
            button->setGeometry(154, button->y(), w - 162, 24);
        }
        FitCaption(button);
    }
    frameCheckSumRules->raise();
}

// ---- change handlers
// -------------------------------------------------------------

void ElfPage::txtw0_Change(int) {
    if (Module1::FillingBoxes != True)
        UpdateELFdata();
}
void ElfPage::txtA0_Change(int) {
    if (Module1::FillingBoxes != True)
        UpdateELFdata();
}
void ElfPage::txtgamma_Change(int) {
    if (Module1::FillingBoxes != True)
        UpdateELFdata();
}
void ElfPage::txtE_Gap_Change() {
    if (Module1::FillingBoxes != True)
        UpdateELFdata();
}
void ElfPage::txtRef_Index_Change() {
    if (Module1::FillingBoxes != True)
        UpdateELFdata();
}
void ElfPage::UpdateModelOnAlfaEdit(int) {
    if (Module1::FillingBoxes != True)
        UpdateELFdata();
}

// ---- the model
// ------------------------------------------------------------------

bool ElfPage::SumRule() {
    namespace M = Module1;
    M::fsum = 0.0f;
    for (int i = 1; i <= M::NumOsc; ++i) {
        const float w2 = M::W0(i) * M::W0(i);
        if (w2 == 0.0f || !std::isfinite(w2))
            return false;
        const float sum = M::fsum + M::A0(i) / w2;
        if (!std::isfinite(sum))
            return false;
        M::fsum = sum;
    }
    const float n2 = M::RefIndex * M::RefIndex;
    if (n2 == 0.0f || !std::isfinite(n2))
        return false;
    const float sum = M::fsum + 1.0f / n2;
    if (!std::isfinite(sum))
        return false;
    M::fsum = sum;
    return true;
}

bool ElfPage::UpdateELFdata() {
    namespace M = Module1;
    try {
        M::Core_ac = Number(txt_Core_ac);
        M::Core_bc = Number(txt_Core_bc);
        M::Egap = Number(txtE_Gap);
        M::RefIndex = Number(txtRef_Index);
        int taken = 0;
        for (int i = 1; i <= kRows; ++i) {
            if (txtw0(i)->text().isEmpty())
                break;
            M::W0(i) = Number(txtw0(i));
            M::A0(i) = Number(txtA0(i));
            M::Gamma(i) = Number(txtgamma(i));
            M::Alfa(i) = Number(txtalfa(i));
            taken = i;
        }
        M::NumOsc = static_cast<int16_t>(taken);
        txtNELFdata->setText(QString::number(taken));
    } catch (const RuntimeError&) {
        return false;
    }
    try {
        kelvara::cmdPlotELF_Click(form_);
    } catch (const RuntimeError&) {
        return true;
    }
    if (SumRule())
        txtfsum->setText(Text(M::fsum));
    return true;
}

bool ElfPage::SaveELFdata(const QString& path) { return SaveModel(path, true) == SaveOutcome::Saved; }

ElfPage::SaveOutcome ElfPage::SaveModel(const QString& path, bool tellWriteFailure) {
    namespace M = Module1;
    if (!UpdateELFdata()) {
        services().messageBox(QStringLiteral("The model was not saved: ac, bc, E_Gap, Refr. index "
                                             "and every box of a filled row of "
                                             "the table must hold a number."));
        return SaveOutcome::ModelIncomplete;
    }
    // A model without oscillators is no model: an empty table (after a file
    // was picked in the browser, say) must not replace a file.
    if (M::NumOsc < 1) {
        services().messageBox(QStringLiteral("The table holds no oscillator: nothing was written.") + kCrLf +
                              QStringLiteral("Fill at least the first row (w0, A0, gamma, alpha) or read a model "
                                             "first."));
        return SaveOutcome::ModelIncomplete;
    }
    try {
        WriteELFDataFile(path, ProgramModel());
    } catch (const RuntimeError& e) {
        if (tellWriteFailure) {
            services().messageBox(QStringLiteral("The model could not be saved in") + kCrLf + path + kCrLf + kCrLf +
                                  QString::fromStdString(e.what()) + kCrLf + kCrLf +
                                  QStringLiteral("Type a file name in the box \"File name\"."));
        }
        return SaveOutcome::NotWritten;
    }
    return SaveOutcome::Saved;
}

ElfPage::SaveOutcome ElfPage::SaveToNamedFile(bool tellWriteFailure) {
    // The same rule as every typed file name: a plain name in the browser's folder.
    if (!IsPlainFileName(txtELFFilename->text())) {
        if (tellWriteFailure)
            services().messageBox(RefusedFileNameMessage(txtELFFilename->text()) + kCrLf +
                                  QStringLiteral("Nothing was written."));
        return SaveOutcome::NotWritten;
    }
    const QString path = JoinPath(form_.Dir1->path(), txtELFFilename->text());
    const SaveOutcome outcome = SaveModel(path, tellWriteFailure);
    if (outcome == SaveOutcome::Saved) {
        form_.Dir1->refresh();
        form_.File1->refresh();
    }
    return outcome;
}

// ---- buttons
// --------------------------------------------------------------------

void ElfPage::cmdReadELFdata_Click() {
    namespace M = Module1;
    const QString name = form_.File1->fileName();
    const QString path = JoinPath(form_.Dir1->path(), name);

    // The file is read whole before anything changes; a file that cannot be
    // read leaves the table and the model as they are.
    OscillatorModelValues model;
    if (!ReadELFData(path, model.W0, model.A0, model.Gamma, model.Alfa, model.Egap, model.RefIndex, model.NumOsc,
                     model.Core_ac, model.Core_bc)) {
        return;
    }

    txtE_Gap->setText(QString());
    txtRef_Index->setText(QString());
    for (int i = 1; i <= kRows; ++i) {
        txtw0(i)->setText(QString());
        txtA0(i)->setText(QString());
        txtgamma(i)->setText(QString());
        txtalfa(i)->setText(QString());
    }

    ModelFilePath() = path;
    txtELFFilename->setText(name);
    StoreModel(model, M::W0, M::A0, M::Gamma, M::Alfa, M::Egap, M::RefIndex, M::NumOsc, M::Core_ac, M::Core_bc);

    txtNELFdata->setText(QString::number(M::NumOsc));
    {
        FillingTable filling;
        txt_Core_ac->setText(Text(M::Core_ac));
        txt_Core_bc->setText(Text(M::Core_bc));
        txtE_Gap->setText(Text(M::Egap));
        txtRef_Index->setText(Text(M::RefIndex));
        for (int i = 1; i <= std::min<int>(M::NumOsc, kRows); ++i) {
            txtw0(i)->setText(Text(M::W0(i)));
            txtA0(i)->setText(Text(M::A0(i)));
            txtgamma(i)->setText(Text(M::Gamma(i)));
            txtalfa(i)->setText(Text(M::Alfa(i)));
        }
        // A zero w0 or refractive index leaves the sum and the plot as they were.
        if (SumRule()) {
            txtfsum->setText(Text(M::fsum));
            try {
                kelvara::cmdPlotELF_Click(form_);
            } catch (const RuntimeError&) {
                // The plot's boxes or the library: the model itself was read.
            }
        }
    }

    if (M::NumOsc > kRows) {
        services().messageBox(
            QStringLiteral("The file holds %1 oscillators; the table shows the first %2.").arg(M::NumOsc).arg(kRows) +
            kCrLf +
            QStringLiteral("All %1 oscillators are in use until the table is "
                           "edited, rescaled, sorted or saved: "
                           "these keep only the %2 oscillators of the table.")
                .arg(M::NumOsc)
                .arg(kRows));
    }
}

bool ElfPage::cmdSaveELFdata_Click() { return SaveToNamedFile(true) == SaveOutcome::Saved; }

void ElfPage::cmdAutoRescaleInt_Click() {
    namespace M = Module1;
    if (M::fsum == 0.0f || !std::isfinite(M::fsum)) {
        services().messageBox(QStringLiteral("The KK-sum is 0: there is no model to rescale. Read or type a model "
                                             "first."));
        return;
    }
    {
        FillingTable filling;
        for (int i = 1; i <= M::NumOsc; ++i) {
            M::A0(i) = M::A0(i) / M::fsum;
            if (i <= kRows)
                txtA0(i)->setText(Text(M::A0(i)));
        }
    }
    UpdateELFdata();
}

void ElfPage::cmdSortOscillators_Click() {
    namespace M = Module1;
    // The table is saved and the model rebuilt from it. A table that does not
    // hold a complete model is not sorted; a file that cannot be written
    // (no name typed yet) is reported once and the rows are sorted all the same.
    const SaveOutcome first = SaveToNamedFile(true);
    if (first == SaveOutcome::ModelIncomplete)
        return;

    // Work table: rows 1..NumOsc, columns 1..4 (w0, M::A0, gamma, alpha); row 21
    // is the temporary storage of an exchange.
    float work[22][5] = {};
    const int rows = std::min<int>(M::NumOsc, kRows);
    for (int i = 1; i <= rows; ++i) {
        try {
            work[i][1] = Number(txtw0(i));
        } catch (const RuntimeError&) {
            services().messageBox(QStringLiteral("The oscillators could not be sorted: w0 of row %1 is "
                                                 "not a number.")
                                      .arg(i));
            return;
        }
        work[i][2] = M::A0(i);
        work[i][3] = M::Gamma(i);
        work[i][4] = M::Alfa(i);
    }

    for (int i = 1; i <= rows; ++i) {
        float smallest = work[i][1];
        int k = i;
        for (int j = i + 1; j <= rows; ++j) {
            if (work[j][1] < smallest) {
                smallest = work[j][1];
                k = j;
            }
        }
        if (k != i) {
            for (int c = 1; c <= 4; ++c) {
                work[21][c] = work[i][c];
                work[i][c] = work[k][c];
                work[k][c] = work[21][c];
            }
        }
    }

    for (int i = 1; i <= rows; ++i) {
        txtw0(i)->setText(Text(work[i][1]));
        txtA0(i)->setText(Text(work[i][2]));
        txtgamma(i)->setText(Text(work[i][3]));
        txtalfa(i)->setText(Text(work[i][4]));
    }
    SaveToNamedFile(first == SaveOutcome::Saved);
}

QString ElfPage::TypicalRefrIndexText() {
    return QStringLiteral("Metals:") + kCrLf + QStringLiteral(" in general n > 3") + kCrLf +
           QStringLiteral("Polymers:") + kCrLf + QStringLiteral(" In general 1 < n < 2. Typical value n ~ 1.5.") +
           kCrLf + QStringLiteral("Oxides:") + kCrLf +
           QStringLiteral(" SiO2 n= 1.5; Al2O3 n= 1.7; ZnO n = 2.0; ZrO2 n = 2.2");
}

QString ElfPage::KKSumRuleText() { return QStringLiteral(" 1 = (2/pi)Integral(1/T*Im(-1/epsilon)dT + 1/n^2"); }

void ElfPage::cmdTypicalRefrIndexValues_Click() { form_.txtinfo(4)->setText(TypicalRefrIndexText()); }

void ElfPage::cmdWhatIsKK_SumRule_Click() { form_.txtinfo(4)->setText(KKSumRuleText()); }

void ElfPage::cmdPlotELF_Click() {
    try {
        kelvara::cmdPlotELF_Click(form_);
    } catch (const BoxValueError& e) {
        services().messageBox(e.message());
    }
}

void ElfPage::ReadELFForThinFilm() {
    ReadELFForPage(form_, form_.findChild<TextBox*>(QStringLiteral("txtELFfilethinfilm")), nullptr);
}

} // namespace kelvara
