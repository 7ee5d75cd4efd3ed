// The Model A/B, thin-film and infinite-medium pages through their buttons,
// with the real normal-geometry, thin-film and infinite-medium libraries and
// the example models of the program's examples folder.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <cmath>

#include "main/infmedium_page.h"
#include "main/modelab_page.h"
#include "main/thinfilm_page.h"
#include "model96_support.h"
#include "platform/numbers.h"
#include "shared/calc_driver.h"
#include "shared/page_controls.h"
#include "shared/plot_file.h"
#include "widgets/picturebox.h"

using namespace kelvara;
using namespace kelvara::testsupport;

namespace {

const QString kA = QStringLiteral("\u00C5");
const QString kBreak = QStringLiteral("\r\n");
const char* const kExamples[] = {"free_electron_metal.elf", "oxide_sio2_like.elf", "semiconductor_si_like.elf"};

struct Pages {
    Model96World& w;
    ModelABPage& ab;
    ThinFilmPage& tf;
    InfiniteMediumPage& inf;
};

Pages Get() {
    Model96World& w = World();
    auto* ab = w.form->findChild<ModelABPage*>(QStringLiteral("ModelABPage"));
    auto* tf = w.form->findChild<ThinFilmPage*>(QStringLiteral("ThinFilmPage"));
    auto* inf = w.form->findChild<InfiniteMediumPage*>(QStringLiteral("InfiniteMediumPage"));
    EXPECT_TRUE(ab && tf && inf);
    return {w, *ab, *tf, *inf};
}

// Reads an example model through a page's "Read ELF file" button.
void ReadModel(Model96World& w, QPushButton* readButton, const char* file) {
    w.form->Dir1->setPath(QStringLiteral(KELVARA_SOURCE_DIR "/examples"));
    w.form->File1->setFileName(QString::fromLatin1(file));
    readButton->click();
    ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
}

void Press(Model96World& w, QPushButton* button) {
    w.rec->messages.clear();
    button->click();
}

void ExpectNoMessage(const Model96World& w) {
    EXPECT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
}

std::vector<float> Copy(const SingleArray& a) { return std::vector<float>(a.data(), a.data() + a.size()); }

// The lines between "RESULTS OF THE CALCULATION:" and the column notes.
QStringList ResultLines(const QStringList& lines) {
    const auto from = lines.indexOf(QStringLiteral("RESULTS OF THE CALCULATION:"));
    const auto to = lines.indexOf(QStringLiteral("The effective cross section data are listed below in two columns:"));
    if (from < 0 || to < from) return {QStringLiteral("<missing>")};
    return lines.mid(from + 1, to - from - 1);
}

// Saves through a save button and reads the file back: the five header lines
// are checked, the result lines and data rows returned.
struct Saved {
    QStringList result;
    std::vector<std::pair<double, double>> rows;
};
Saved SaveAndRead(Model96World& w, const QTemporaryDir& dir, const char* nameBox, const char* button,
                  const QStringList& header) {
    const QString name = QString::fromLatin1(button) + QStringLiteral(".txt");
    w.form->findChild<QLineEdit*>(QString::fromLatin1(nameBox))->setText(name);
    w.rec->messages.clear();
    Click(w.form, button);
    ExpectNoMessage(w);
    const QStringList lines = FileLines(dir.filePath(name));
    EXPECT_GT(lines.size(), 5) << button;
    if (lines.size() <= 5) return {};
    EXPECT_EQ(lines.mid(0, 5), header) << button;
    return {ResultLines(lines), DataRows(lines)};
}

// The value in a mean-free-path line "label = 12.34Å".
double PathValue(const QString& line) {
    const auto eq = line.lastIndexOf(QStringLiteral(" = "));
    return ToDouble(line.mid(eq + 3, line.size() - eq - 4).toStdString());
}

// The library called directly, outside the pages.
struct Direct {
    SingleArray a{0, 1003}, b{0, 1003}, c{0, 1003}, d{0, 1003};
};
Direct CallSenvik(float Ep, float Estep, float Emax, float X0) {
    using namespace Module1;
    Direct r;
    Module1::senvik(&Ep, &Estep, &Emax, &X0, r.a.element1(), r.b.element1(), &Egap, W0.element1(), Gamma.element1(),
           A0.element1(), Alfa.element1(), &NumOsc, r.c.element1(), r.d.element1());
    return r;
}
Direct CallInfmedium(float Ep, float Estep, float Emax) {
    using namespace Module1;
    Direct r;
    Module1::infmedium(&Ep, &Estep, &Emax, &Egap, W0.element1(), Gamma.element1(), A0.element1(), Alfa.element1(), &NumOsc,
              r.a.element1());
    return r;
}

} // namespace

TEST(CalcPages, ModelABDefaultsCurvesTextsShowButtonsAndFiles) {
    Pages p = Get();
    Model96World& w = p.w;
    ModelABPage& ab = p.ab;
    const QStringList defaults{"1000", "0.2", "50", "20"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ab.txtparABVal[static_cast<std::size_t>(i)]->text(), defaults[i]);
    EXPECT_EQ(w.form->findChild<QLineEdit*>(QStringLiteral("txtparAB_3"))->text(), QStringLiteral("a = "));
    EXPECT_EQ(ab.cmdCalcKeffModelAB->text(), QStringLiteral("Calculate Keff"));
    EXPECT_TRUE(ab.frameShowModelAB->isHidden());

    ReadModel(w, ab.cmdELFfile92, "oxide_sio2_like.elf");
    Press(w, ab.cmdCalcKeffModelAB);
    ExpectNoMessage(w);
    EXPECT_EQ(w.rec->busyDepth, 0);

    // 50/0.2 rounds to 250, the library computes 249: the curves, the plot
    // and the sums hold those 249, exactly the direct call's values.
    const Direct d = CallSenvik(1000, 0.2f, 50, 20);
    const SingleArray* page[] = {&Module1::KModelA, &Module1::KModelB, &Module1::KModelA_in, &Module1::KModelA_out};
    const SingleArray* direct[] = {&d.a, &d.b, &d.c, &d.d};
    double sums[4] = {0, 0, 0, 0};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ((*page[k])(1), 249.0f);
        EXPECT_EQ((*page[k])(2), 0.2f); // the loss of the first value
        EXPECT_EQ((*page[k])(3), 0.2f);
        for (int i = 1; i <= 249; ++i) {
            ASSERT_EQ((*page[k])(i + 3), (*direct[k])(i)) << k << " " << i;
            sums[k] += (*direct[k])(i);
        }
    }
    EXPECT_EQ(w.form->plotState().PlotN, 249);
    // The two trajectory parts add up to Model A.
    for (int i = 1; i <= 249; i += 31)
        EXPECT_NEAR(d.c(i) + d.d(i), d.a(i), 1e-4 * std::fabs(d.a(i)) + 1e-9) << i;

    // ResultText: empty line, the three Model B paths (unit without a space),
    // empty line, the four areas in the page's order.
    const QStringList lines = Module1::ResultText.split(kBreak);
    ASSERT_EQ(lines.size(), 9);
    EXPECT_TRUE(lines[0].isEmpty());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^ModelB: Total IMFP = [0-9]+\\.[0-9]{2}\u00C5$"))
                    .match(lines[1]).hasMatch()) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Valence electr. contrib. IMFPv = ")));
    EXPECT_NEAR(PathValue(lines[2]), 1.0 / (sums[1] * 0.2f), 0.006);
    const double core = 1000.0 / (0.001 * (std::log(1000.0) - 2.0));
    EXPECT_NEAR(PathValue(lines[3]), core, 1e-6 * core);
    EXPECT_TRUE(lines[4].isEmpty());
    const QStringList areas{AreaLineText(QStringLiteral("Area of K_ModelB = "), sums[1] * 0.2f),
                            AreaLineText(QStringLiteral("Area of K_ModelA = "), sums[0] * 0.2f),
                            AreaLineText(QStringLiteral("Area of K_ModelA_in = "), sums[2] * 0.2f),
                            AreaLineText(QStringLiteral("Area of K_ModelA_out = "), sums[3] * 0.2f)};
    EXPECT_EQ(lines.mid(5), areas);
    EXPECT_EQ(w.form->txtAreas->text(), areas.join(kBreak));
    EXPECT_FALSE(w.form->txtAreas->isHidden());
    EXPECT_EQ(w.form->Text2->text(), ModelABPage::ModelBTitle() + kBreak + lines.mid(0, 4).join(kBreak));
    EXPECT_FALSE(ab.frameShowModelAB->isHidden());

    // The show buttons: caption, curve plotted, title.
    const struct {
        QPushButton* button;
        const char* caption;
        QString title;
    } shows[] = {{ab.cmdKModelA, "K Model A", ModelABPage::ModelATitle()},
                 {ab.KModelA_in, "K Model A-in", QStringLiteral("Cross section Model A incoming trajectory")},
                 {ab.cmdKModlB, "K Model B", ModelABPage::ModelBTitle()},
                 {ab.cmdKModelA_out, "K Model A-out", QStringLiteral("Cross section Model A outgoing trajectory")}};
    for (const auto& s : shows) {
        EXPECT_EQ(s.button->text(), QString::fromLatin1(s.caption));
        w.form->plotState().PlotN = 0;
        s.button->click();
        EXPECT_EQ(w.form->Text2->text(), s.title);
        EXPECT_EQ(w.form->plotState().PlotN, 249);
    }
    EXPECT_TRUE(ModelABPage::ModelATitle().contains(QStringLiteral("(13)")));
    EXPECT_TRUE(ModelABPage::ModelBTitle().contains(QStringLiteral("(15)")));

    // The four save buttons: header lines, result line, the 249 points.
    QTemporaryDir dir;
    w.form->Dir1->setPath(dir.path());
    w.form->findChild<InfoBox*>(QStringLiteral("txtDescription"))->setText(QStringLiteral("ab notes"));
    const QString depth = QStringLiteral("=20 ") + kA + QStringLiteral(".");
    const QString file = QStringLiteral("ELF function from the file oxide_sio2_like.elf");
    const QString energy = QStringLiteral("Primary energy = 1000 eV.");
    const QString methodA = QStringLiteral("Calculated by Model A for normal incidence and exit, eq. (13)");
    const QString methodB = QStringLiteral("Calculated by Model B for normal incidence and exit, eq. (15)");
    const QString title = QStringLiteral("Effective cross section for electron backscattered at depth X0 ");
    const struct {
        const char* button;
        QStringList header;
        bool resultText;
        const SingleArray* curve;
    } saves[] = {
        {"cmdSaveKModelA", {title + depth, methodA, file, energy, "ab notes"}, true, &d.a},
        {"cmdSaveKModelB", {title + depth, methodB, file, energy, "ab notes"}, true, &d.b},
        {"cmdSaveKModelA_in", {QStringLiteral("Way in - ") + title + depth, methodA, file, energy, "ab notes"}, false,
         &d.c},
        {"cmdSaveKModelA_out", {QStringLiteral("Way out - ") + title + depth, methodA, file, energy, "ab notes"},
         false, &d.d}};
    for (const auto& s : saves) {
        const Saved f = SaveAndRead(w, dir, "txtoutfile", s.button, s.header);
        EXPECT_EQ(f.result, s.resultText ? (Module1::ResultText + kBreak).split(kBreak)
                                         : (QStringList{QString(), QString()}))
            << s.button;
        ASSERT_EQ(f.rows.size(), 250u) << s.button; // the 0 0 row and 249 points
        EXPECT_NEAR(f.rows.back().first, 49.8, 2e-4);
        EXPECT_FLOAT_EQ(static_cast<float>(f.rows.back().second), (*s.curve)(249));
    }
}

TEST(CalcPages, ThinFilmAndInfiniteMediumCurvesTextsAndLastRunWins) {
    Pages p = Get();
    Model96World& w = p.w;
    ThinFilmPage& tf = p.tf;
    InfiniteMediumPage& inf = p.inf;
    const QStringList tfDefaults{"1000", "50", "50", "0.2"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(tf.txtpartval[static_cast<std::size_t>(i)]->text(), tfDefaults[i]);
    EXPECT_EQ(inf.txtparInfVal.count(1), 0u);
    EXPECT_EQ(inf.txtparInfVal.at(0)->text(), QStringLiteral("1000"));
    EXPECT_EQ(inf.txtparInfVal.at(2)->text(), QStringLiteral("70"));
    EXPECT_EQ(inf.txtparInfVal.at(3)->text(), QStringLiteral("0.2"));
    EXPECT_EQ(inf.cmdCalcKInfFilm->text(), QStringLiteral("Calculate K(T)"));
    EXPECT_FALSE(tf.cmdSavetf->isEnabled());
    EXPECT_TRUE(tf.framePlotthinfilm->isHidden());

    // Thin film, defaults: 249 library points; Keff = Ksurf + Kbulk.
    ReadModel(w, tf.cmdReadELFModelAB92, "semiconductor_si_like.elf");
    Press(w, tf.cmdCalcKeffthinfilm);
    ExpectNoMessage(w);
    EXPECT_EQ(w.rec->busyDepth, 0);
    double sum[3] = {0, 0, 0};
    const SingleArray* curves[] = {&Module1::Keff, &Module1::Ksurf, &Module1::Kbulk};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ((*curves[k])(1), 249.0f);
        EXPECT_EQ((*curves[k])(3), 0.2f);
        for (int i = 4; i <= 252; ++i) sum[k] += (*curves[k])(i);
    }
    for (int i = 4; i <= 252; i += 37)
        EXPECT_FLOAT_EQ(Module1::Keff(i), Module1::Ksurf(i) + Module1::Kbulk(i)) << i;
    EXPECT_EQ(w.form->plotState().PlotN, 249);
    QStringList lines = Module1::ResultText.split(kBreak);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_TRUE(lines[0].isEmpty());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Total IMFP = [0-9]+\\.[0-9]{2}\u00C5$")).match(lines[1]).hasMatch());
    EXPECT_NEAR(PathValue(lines[2]), 1.0 / (sum[0] * 0.2f), 0.006);
    const QStringList tfAreas{AreaLineText(QStringLiteral("Area of K(T) from surface excitations = "), sum[1] * 0.2f),
                              AreaLineText(QStringLiteral("Area of K(T) from volume excitations = "), sum[2] * 0.2f),
                              AreaLineText(QStringLiteral("Total area of K(T) from all excitations = "), sum[0] * 0.2f)};
    EXPECT_EQ(lines.mid(5), tfAreas);
    EXPECT_EQ(w.form->txtAreas->text(), tfAreas.join(kBreak));
    EXPECT_EQ(w.form->Text2->text(), ThinFilmPage::CurveTitle() + kBreak + lines.mid(0, 4).join(kBreak));
    EXPECT_EQ(ThinFilmPage::CurveTitle(),
              QStringLiteral("Effective cross section K(T) [eV^-1 \u00C5^-1] as a function of energy loss T [eV]"));
    EXPECT_TRUE(tf.cmdSavetf->isEnabled());
    EXPECT_FALSE(tf.framePlotthinfilm->isHidden());
    const std::vector<float> thinBulk = Copy(Module1::Kbulk);

    // Show buttons.
    tf.cmdKefftf->click();
    EXPECT_EQ(w.form->Text2->text(), ThinFilmPage::CurveTitle() + kBreak);
    tf.cmdShowKsurf->click();
    EXPECT_EQ(w.form->Text2->text(), QStringLiteral("Surface excitation contribution to cross section"));
    tf.cmdShowKvol->click();
    EXPECT_EQ(w.form->Text2->text(), QStringLiteral("Bulk excitation contribution to cross section"));
    EXPECT_EQ(tf.cmdShowKsurf->text(), QStringLiteral("Ksurf"));
    EXPECT_EQ(tf.cmdShowKvol->text(), QStringLiteral("Kbulk"));

    // Thin-film files.
    QTemporaryDir dir;
    w.form->Dir1->setPath(dir.path());
    w.form->findChild<InfoBox*>(QStringLiteral("Text12"))->setText(QStringLiteral("tf notes"));
    const QString passed = QStringLiteral("electron that has passed through a thin film");
    const QStringList tail{QStringLiteral("ELF function from the file semiconductor_si_like.elf"),
                           QStringLiteral("Primary energy = 1000 eV."),
                           QStringLiteral("Film thickness = 50 ") + kA + QStringLiteral("."), QStringLiteral("tf notes")};
    const struct {
        const char* button;
        QString first;
        const SingleArray* curve;
    } saves[] = {{"cmdSaveKeff", QStringLiteral("Effective cross section for ") + passed, &Module1::Keff},
                 {"cmdSaveKsurf", QStringLiteral("Surface contribution to the effective cross section for ") + passed,
                  &Module1::Ksurf},
                 {"cmdSaveKbulk", QStringLiteral("Bulk contribution to the effective cross section for ") + passed,
                  &Module1::Kbulk}};
    for (const auto& s : saves) {
        const Saved f = SaveAndRead(w, dir, "txtfilenametf", s.button, QStringList{s.first} + tail);
        const bool main = s.curve == &Module1::Keff;
        EXPECT_EQ(f.result, main ? (Module1::ResultText + kBreak).split(kBreak) : (QStringList{QString(), QString()}));
        ASSERT_EQ(f.rows.size(), 250u) << s.button;
        EXPECT_FLOAT_EQ(static_cast<float>(f.rows.back().second), (*s.curve)(252));
    }

    // Infinite medium on the thin film's grid: the same bulk integral.
    ReadModel(w, inf.cmdReadELFInf, "semiconductor_si_like.elf");
    inf.txtparInfVal.at(2)->setText(QStringLiteral("50"));
    w.form->txtAreas->setText(QStringLiteral("earlier areas"));
    Press(w, inf.cmdCalcKInfFilm);
    ExpectNoMessage(w);
    ASSERT_EQ(Module1::Kbulk(1), 249.0f);
    for (int i = 4; i <= 252; ++i)
        EXPECT_NEAR(Module1::Kbulk(i), thinBulk[static_cast<std::size_t>(i)], 1e-5 * std::fabs(thinBulk[static_cast<std::size_t>(i)]) + 1e-12)
            << i;

    // Defaults 70/0.2: 349 library points, exactly the direct call's; three
    // lines of text, no areas, no frame.
    inf.txtparInfVal.at(2)->setText(QStringLiteral("70"));
    Press(w, inf.cmdCalcKInfFilm);
    ExpectNoMessage(w);
    const Direct d = CallInfmedium(1000, 0.2f, 70);
    ASSERT_EQ(Module1::Kbulk(1), 349.0f);
    double infSum = 0;
    for (int i = 1; i <= 349; ++i) {
        ASSERT_EQ(Module1::Kbulk(i + 3), d.a(i)) << i;
        infSum += d.a(i);
    }
    EXPECT_EQ(w.form->plotState().PlotN, 349);
    lines = Module1::ResultText.split(kBreak);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Total IMFP = ")));
    EXPECT_TRUE(lines[0].endsWith(kA));
    EXPECT_NEAR(PathValue(lines[1]), 1.0 / (infSum * 0.2f), 0.006);
    EXPECT_EQ(w.form->Text2->text(), InfiniteMediumPage::CurveTitle() + kBreak + Module1::ResultText);
    EXPECT_EQ(InfiniteMediumPage::CurveTitle(),
              QStringLiteral("Cross section K(T) [eV^-1 \u00C5^-1] as a function of energy loss T [eV]"));
    EXPECT_EQ(w.form->txtAreas->text(), QStringLiteral("earlier areas"));

    // The last run wins Kbulk: the thin film's "Kbulk" no longer shows its
    // own curve and shows nothing, naming the calculation that replaced it.
    const QString text2 = w.form->Text2->text();
    w.rec->messages.clear();
    tf.cmdShowKvol->click();
    ASSERT_EQ(w.rec->messages.size(), 1);
    EXPECT_EQ(
        w.rec->messages[0].text,
        QStringLiteral("Nothing is shown: the curve now holds the result of the infinite-medium calculation, which "
                       "ran after this page's. Calculate again on this page."));
    EXPECT_EQ(w.form->Text2->text(), text2);
    EXPECT_EQ(w.form->plotState().PlotN, 349);
    // Its file: the page's header lines, ResultText, the 349 points.
    w.form->Dir1->setPath(dir.path());
    w.form->findChild<InfoBox*>(QStringLiteral("txtFileDescription"))->setText(QStringLiteral("inf notes"));
    const Saved f = SaveAndRead(
        w, dir, "txtFileNameCrossSection", "cmdSaveCrossSection",
        {QStringLiteral("Cross section in (eV^-1 ") + kA + QStringLiteral("^-1) for electron travelling in an infinite medium"),
         QStringLiteral("ELF function from the file semiconductor_si_like.elf. "),
         QStringLiteral("Primary energy = 1000 eV."), QString(), QStringLiteral("inf notes")});
    EXPECT_EQ(f.result, (Module1::ResultText + kBreak).split(kBreak));
    ASSERT_EQ(f.rows.size(), 350u);
    EXPECT_FLOAT_EQ(static_cast<float>(f.rows.back().second), d.a(349));

    // Keff: a Model 96 run replaces the thin-film total, and the thin film's
    // "Keff" shows nothing; a thin-film run then does the same to Model 96's.
    SetBoxes(*p.w.page, Defaults());
    Press(w, p.w.page->cmdCalcKeffModel96);
    ExpectNoMessage(w);
    Press(w, tf.cmdKefftf);
    ASSERT_EQ(w.rec->messages.size(), 1);
    EXPECT_TRUE(w.rec->messages[0].text.contains(QStringLiteral("the result of the Model 96 calculation")));
    EXPECT_EQ(w.form->plotState().PlotN, 100);
    Press(w, tf.cmdCalcKeffthinfilm);
    Press(w, p.w.page->cmdKeff);
    ASSERT_EQ(w.rec->messages.size(), 1);
    EXPECT_TRUE(w.rec->messages[0].text.contains(QStringLiteral("the result of the thin-film calculation")));
    EXPECT_EQ(w.form->plotState().PlotN, 249);
    EXPECT_NE(w.form->Text2->text(), QStringLiteral("Keff Model 96"));
    // The curves of its own still show.
    Press(w, p.w.page->cmdKvi);
    ExpectNoMessage(w);
    EXPECT_EQ(w.form->plotState().PlotN, 100);
}

TEST(CalcPages, EveryCurveIsDrawnReadAndSavedAtItsTrueLoss) {
    Pages p = Get();
    Model96World& w = p.w;
    QTemporaryDir dir;
    w.form->Dir1->setPath(dir.path());
    SetExampleModel();
    SetBoxes(*w.page, {"1000", "0.4", "20", "20", "0", "0"});
    const auto set = [](TextBox* Ep, TextBox* step, TextBox* max) {
        Ep->setText(QStringLiteral("1000"));
        step->setText(QStringLiteral("0.4"));
        max->setText(QStringLiteral("20"));
    };
    set(p.ab.txtparABVal[0], p.ab.txtparABVal[1], p.ab.txtparABVal[2]);
    set(p.tf.txtpartval[0], p.tf.txtpartval[3], p.tf.txtpartval[2]);
    set(p.inf.txtparInfVal.at(0), p.inf.txtparInfVal.at(3), p.inf.txtparInfVal.at(2));
    w.form->findChild<QLineEdit*>(QStringLiteral("txtE_step"))->setText(QStringLiteral("0.4"));
    w.form->findChild<QLineEdit*>(QStringLiteral("txtE_max"))->setText(QStringLiteral("20"));
    // Every curve's first value is the loss T = Estep = 0.4: the plot starts
    // there, the read-out at the first point says so, the plot file and the
    // result file write it there. The result file keeps its rows 0, Estep, ...
    const struct {
        const char* name;
        QPushButton* calc;
        const SingleArray* curve;
        const char* saveButton; // the result file's (none for the loss function)
        const char* nameBox;
    } cases[] = {
        {"Model 96", w.page->cmdCalcKeffModel96, &Module1::Keff, "cmdSavekeff96", "txtSaveFile96"},
        {"Model A/B", p.ab.cmdCalcKeffModelAB, &Module1::KModelB, "cmdSaveKModelB", "txtoutfile"},
        {"thin film", p.tf.cmdCalcKeffthinfilm, &Module1::Keff, "cmdSaveKeff", "txtfilenametf"},
        {"infinite medium", p.inf.cmdCalcKInfFilm, &Module1::Kbulk, "cmdSaveCrossSection", "txtFileNameCrossSection"},
        {"loss function", w.form->findChild<QPushButton*>(QStringLiteral("cmdPlotELF")), &Module1::PlotBuf, nullptr,
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.calc, nullptr);
        Press(w, c.calc);
        ExpectNoMessage(w);
        const SingleArray& curve = *c.curve;
        EXPECT_EQ(curve(1), 49.0f); // 20/0.4 truncated by the library
        EXPECT_EQ(curve(2), 0.4f);
        EXPECT_EQ(curve(3), 0.4f);
        // The plot and the read-out at its first point (the left end of the axis).
        EXPECT_EQ(w.form->plotState().PlotE0, 0.4f);
        const QPointF at(w.form->picPlot->toPixelX(0), w.form->picPlot->toPixelY(50));
        QMouseEvent move(QEvent::MouseMove, at, w.form->picPlot->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w.form->picPlot, &move);
        const auto* readout = w.form->picPlot->findChild<QLabel*>(QStringLiteral("sbStatusBarPanel1"));
        ASSERT_NE(readout, nullptr);
        EXPECT_TRUE(readout->text().startsWith(QStringLiteral("x: .40,"))) << readout->text().toStdString();
        // The plot file: point 1 at the first energy.
        const QString plotFile = dir.filePath(QStringLiteral("plot.txt"));
        Plot plot;
        ASSERT_TRUE(SavePlotFile(plotFile, curve, plot));
        const QStringList plotLines = FileLines(plotFile);
        ASSERT_GT(plotLines.size(), 2);
        EXPECT_EQ(plotLines[1].section(QLatin1Char(','), 0, 0), QStringLiteral("0.4"));
        EXPECT_EQ(plotLines[2].section(QLatin1Char(','), 0, 0), QStringLiteral("0.8"));
        if (!c.saveButton) continue;
        // The result file: the row 0 0, then T = 0.4 with the first value.
        const QString name = QString::fromLatin1(c.saveButton) + QStringLiteral(".txt");
        w.form->findChild<QLineEdit*>(QString::fromLatin1(c.nameBox))->setText(name);
        Click(w.form, c.saveButton);
        ExpectNoMessage(w);
        const auto rows = DataRows(FileLines(dir.filePath(name)));
        ASSERT_EQ(rows.size(), 50u);
        EXPECT_EQ(rows[0], std::make_pair(0.0, 0.0));
        EXPECT_FLOAT_EQ(static_cast<float>(rows[1].first), 0.4f);
        EXPECT_NEAR(rows[49].first, 19.6, 1e-4); // the running float sum of the rows, as before
        // The same value at the same loss in both files (seven digits each).
        EXPECT_NEAR(rows[1].second, curve(4), 1e-6 * std::fabs(curve(4)));
        EXPECT_NEAR(plotLines[1].section(QLatin1Char(','), 1, 1).toDouble(), curve(4), 1e-6 * std::fabs(curve(4)));
    }
}

TEST(CalcPages, GridLimitAndFailuresOnEveryPage) {
    Pages p = Get();
    Model96World& w = p.w;
    SetExampleModel();
    struct Page {
        const char* name;
        QPushButton* calc;
        TextBox* Ep;
        TextBox* step;
        TextBox* max;
        TextBox* length; // the depth or the thickness (none on the infinite medium)
        const SingleArray* main;
        LibraryBinding& binding;
        QPushButton* show; // a show button (none on the infinite medium)
    };
    const Page pages[] = {
        {"Model A/B", p.ab.cmdCalcKeffModelAB, p.ab.txtparABVal[0], p.ab.txtparABVal[1], p.ab.txtparABVal[2],
         p.ab.txtparABVal[3], &Module1::KModelB, Module1::senvikBinding(), p.ab.cmdKModelA},
        {"thin film", p.tf.cmdCalcKeffthinfilm, p.tf.txtpartval[0], p.tf.txtpartval[3], p.tf.txtpartval[2],
         p.tf.txtpartval[1], &Module1::Keff, Module1::thinfilmBinding(), p.tf.cmdShowKsurf},
        {"infinite medium", p.inf.cmdCalcKInfFilm, p.inf.txtparInfVal.at(0), p.inf.txtparInfVal.at(3),
         p.inf.txtparInfVal.at(2), nullptr, &Module1::Kbulk, Module1::infmediumBinding(), nullptr}};
    for (const Page& page : pages) {
        SCOPED_TRACE(page.name);
        const QString Ep = page.Ep->text(), step = page.step->text(), max = page.max->text();
        // Exactly 1000 points are accepted; 1001 only give the message.
        page.step->setText(QStringLiteral("0.5"));
        page.max->setText(QStringLiteral("500"));
        Press(w, page.calc);
        ExpectNoMessage(w);
        EXPECT_EQ((*page.main)(1), 1000.0f);
        EXPECT_GT((*page.main)(1003), 0.0f);
        const std::vector<float> kept = Copy(*page.main);
        const QString result = Module1::ResultText;
        ASSERT_FALSE(w.form->Text2->text().isEmpty());
        // No curve changes, and nothing of the good run stays on show: its
        // title, mean free paths and areas go; the show buttons say why.
        QString refusal;
        const auto expectRefused = [&](const QString& message) {
            Press(w, page.calc);
            ASSERT_EQ(w.rec->messages.size(), 1);
            refusal = w.rec->messages[0].text;
            EXPECT_TRUE(refusal.startsWith(message)) << refusal.toStdString();
            EXPECT_EQ(Copy(*page.main), kept);
            EXPECT_EQ(w.form->Text2->text(), QString());
            EXPECT_TRUE(w.form->Text2->isHidden());
            EXPECT_EQ(w.form->txtAreas->text(), QString());
            EXPECT_TRUE(w.form->txtAreas->isHidden());
            EXPECT_EQ(Module1::ResultText, result);
            EXPECT_EQ(w.rec->busyDepth, 0);
            if (!page.show) return;
            Press(w, page.show);
            ASSERT_EQ(w.rec->messages.size(), 1);
            EXPECT_EQ(w.rec->messages[0].text,
                      QStringLiteral("Nothing is shown: the last calculation of this page gave "
                                     "no result. Calculate again."));
        };
        // A bad box is named with its text: the box the user must change. The
        // model message stays for a missing model.
        const QString maxBox = QStringLiteral("The box \"") + BoxCaption(page.max) + QStringLiteral("\" holds ");
        const QString stepBox = QStringLiteral("The box \"") + BoxCaption(page.step) + QStringLiteral("\" holds ");
        const QString noPoint = QStringLiteral(": the grid must hold at least two losses: the maximum must be at least "
                                               "the second loss, 0.4 eV.");
        const struct {
            const char *Ep, *step, *max;
            QString message;
        } cases[] = {
            {"1000", "0.5", "500.5", maxBox + QStringLiteral("\"500.5\": max number of points is 1000")},
            {"1000", "0.5", "-5", maxBox + QStringLiteral("\"-5\": the maximum must not be negative.")},
            {"1000", "0.5", "abc", maxBox + QStringLiteral("\"abc\": this is not a number.")},
            {"1000", "0", "50", stepBox + QStringLiteral("\"0\": the step must be greater than 0.")},
            {"1000", "0.2", "0", maxBox + QStringLiteral("\"0\"") + noPoint},
            {"1000", "0.2", "0.1", maxBox + QStringLiteral("\"0.1\"") + noPoint},
            {"1000", "0.2", "0.2", maxBox + QStringLiteral("\"0.2\"") + noPoint}, // one point: nothing to plot
            {"1", "0.2", "50", maxBox + QStringLiteral("\"50\": every energy loss must be below Ep.")},
            {"5", "0.2", "50", maxBox + QStringLiteral("\"50\": every energy loss must be below Ep.")},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.message.toStdString());
            page.Ep->setText(QString::fromLatin1(c.Ep));
            page.step->setText(QString::fromLatin1(c.step));
            page.max->setText(QString::fromLatin1(c.max));
            expectRefused(c.message);
        }
        page.Ep->setText(Ep);
        page.step->setText(QStringLiteral("0.5"));
        // Losses that all lie below the model's gap: no loss to compute.
        Module1::Egap = 10.0f;
        page.max->setText(QStringLiteral("9.5"));
        expectRefused(maxBox + QStringLiteral("\"9.5\": the losses of the grid end at 9.5 eV, below the energy gap of "
                                              "the model, 10 eV: the maximum must lie above the gap."));
        Module1::Egap = 0.0f;
        page.max->setText(QStringLiteral("50"));
        if (page.length) {
            const QString length = page.length->text();
            // Below 0.001 Å the libraries' single precision gives wrong
            // results (a film of 1E-18 Å would show a mean free path of 13 Å).
            for (const char* bad : {"0", "-20", "1E-18"}) {
                page.length->setText(QString::fromLatin1(bad));
                expectRefused(QStringLiteral("The box \"") + BoxCaption(page.length) + QStringLiteral("\" holds \"") +
                              QString::fromLatin1(bad) + QStringLiteral("\": the value must be at least 0.001 \u00C5."));
            }
            page.length->setText(length);
        }
        // A missing library: the message with the loader's reason, and the next call tries again.
        QTemporaryDir empty;
        SetLibraryFolder(empty.path());
        page.binding.forget();
        expectRefused(LibraryNotCalledMessage(QStringLiteral("File not found: ")));
        SetLibraryFolder(QStringLiteral(KELVARA_BIN_DIR));
        // No model read (no oscillator, ac = 0).
        for (SingleArray* a : {&Module1::W0, &Module1::A0, &Module1::Gamma, &Module1::Alfa}) a->clear();
        Module1::NumOsc = 0;
        Module1::Core_ac = Module1::Core_bc = 0.0f;
        expectRefused(QStringLiteral("You must first read ELF data file"));
        EXPECT_EQ(refusal, QStringLiteral("You must first read ELF data file"));
        SetExampleModel();
        page.step->setText(step);
        page.max->setText(max);
    }
}

TEST(CalcPages, EveryExampleModelCalculatesShowsAndSavesOnEveryPage) {
    Pages p = Get();
    Model96World& w = p.w;
    QTemporaryDir dir;
    for (const char* model : kExamples) {
        SCOPED_TRACE(model);
        const struct {
            QPushButton* read;
            QPushButton* calc;
            std::vector<QPushButton*> shows;
            const char* nameBox;
            const char* save;
        } pages[] = {{p.ab.cmdELFfile92, p.ab.cmdCalcKeffModelAB,
                      {p.ab.cmdKModelA, p.ab.KModelA_in, p.ab.cmdKModlB, p.ab.cmdKModelA_out}, "txtoutfile",
                      "cmdSaveKModelB"},
                     {p.tf.cmdReadELFModelAB92, p.tf.cmdCalcKeffthinfilm,
                      {p.tf.cmdKefftf, p.tf.cmdShowKsurf, p.tf.cmdShowKvol}, "txtfilenametf", "cmdSaveKeff"},
                     {p.inf.cmdReadELFInf, p.inf.cmdCalcKInfFilm, {}, "txtFileNameCrossSection", "cmdSaveCrossSection"}};
        for (const auto& page : pages) {
            ReadModel(w, page.read, model);
            Press(w, page.calc);
            ExpectNoMessage(w);
            EXPECT_FALSE(Module1::ResultText.contains(QStringLiteral("nan"), Qt::CaseInsensitive));
            EXPECT_FALSE(Module1::ResultText.contains(QStringLiteral("inf"), Qt::CaseInsensitive));
            for (QPushButton* show : page.shows) {
                w.form->plotState().PlotN = 0;
                show->click();
                EXPECT_EQ(w.form->plotState().PlotN, 249) << show->objectName().toStdString();
            }
            w.form->Dir1->setPath(dir.path());
            w.form->findChild<QLineEdit*>(QString::fromLatin1(page.nameBox))->setText(QStringLiteral("k.txt"));
            w.rec->messages.clear();
            Click(w.form, page.save);
            ExpectNoMessage(w);
            const auto rows = DataRows(FileLines(dir.filePath(QStringLiteral("k.txt"))));
            ASSERT_GT(rows.size(), 249u);
            double area = 0;
            for (const auto& row : rows) {
                EXPECT_TRUE(std::isfinite(row.second));
                area += row.second;
            }
            EXPECT_GT(area, 0.0);
        }
    }
}

// With KELVARA_SCREENSHOT set to a file name, the main form is drawn on each
// of the three pages after a calculation, for a person to look at.
TEST(CalcPages, PicturesOfThePagesAfterACalculation) {
    const QByteArray target = qgetenv("KELVARA_SCREENSHOT");
    if (target.isEmpty()) GTEST_SKIP() << "KELVARA_SCREENSHOT not set";
    Pages p = Get();
    Model96World& w = p.w;
    w.form->show();
    const auto picture = [&](const char* suffix) {
        QString name = QString::fromLocal8Bit(target);
        name.insert(name.lastIndexOf(QLatin1Char('.')), QString::fromLatin1(suffix));
        EXPECT_TRUE(w.form->grab().toImage().save(name));
    };
    const struct {
        int option;
        QPushButton* read;
        QPushButton* calc;
        QPushButton* save;
        QPushButton* back;
        const char* suffix;
        const char* saveSuffix;
    } pages[] = {{2, p.ab.cmdELFfile92, p.ab.cmdCalcKeffModelAB, p.ab.cmdSaveKModelsAB,
                  w.form->findChild<QPushButton*>(QStringLiteral("Command12")), "_ab", "_ab_save"},
                 {1, p.inf.cmdReadELFInf, p.inf.cmdCalcKInfFilm, p.inf.cmdSaveK,
                  w.form->findChild<QPushButton*>(QStringLiteral("Command6")), "_inf", "_inf_save"},
                 {3, p.tf.cmdReadELFModelAB92, p.tf.cmdCalcKeffthinfilm, p.tf.cmdSavetf,
                  w.form->findChild<QPushButton*>(QStringLiteral("Command10")), "_tf", "_tf_save"}};
    for (const auto& page : pages) {
        w.form->option(page.option)->select();
        ReadModel(w, page.read, "free_electron_metal.elf");
        Press(w, page.calc);
        ExpectNoMessage(w);
        picture(page.suffix);
        page.save->click();
        picture(page.saveSuffix);
        page.back->click();
    }
}

// On the smallest screen the program is made for, the title and areas boxes
// of every calculation page lie where no curve is drawn (every pixel of the
// plot under them is background), and the next page hides them.
TEST(CalcPages, TheBoxesOnThePlotCoverNoCurveAndGoWithTheirPage) {
    if (!UseOffscreenScreen(1024, 768)) GTEST_SKIP() << "another screen in this process";
    Model96World& w = World();
    Form1& f = *w.form;
    f.Dir1->setPath(QStringLiteral(KELVARA_SOURCE_DIR "/examples"));
    f.File1->setFileName(QStringLiteral("semiconductor_si_like.elf"));
    const struct {
        int option;
        const char *read, *calc, *back;
    } pages[] = {{4, "cmdELFfile96", "cmdCalcKeffModel96", "Command11"},
                 {2, "cmdELFfile92", "cmdCalcKeffModelAB", "Command12"},
                 {3, "cmdReadELFModelAB92", "cmdCalcKeffthinfilm", "Command10"},
                 {1, "cmdReadELFInf", "cmdCalcKInfFilm", "Command6"}};
    for (const auto& page : pages) {
        SCOPED_TRACE(page.calc);
        f.option(page.option)->select();
        Click(&f, page.read);
        Click(&f, page.calc);
        ExpectNoMessage(w);
        EXPECT_FALSE(f.Text2->isHidden());
        const QImage& image = f.picPlot->image();
        for (const InfoBox* box : {f.Text2, f.txtAreas}) {
            if (box->isHidden()) continue;
            const QRect under = box->geometry().intersected(image.rect());
            int drawn = 0;
            for (int y = under.top(); y <= under.bottom(); ++y)
                for (int x = under.left(); x <= under.right(); ++x) drawn += image.pixel(x, y) != qRgb(255, 255, 255);
            EXPECT_EQ(drawn, 0) << box->objectName().toStdString();
        }
        Click(&f, page.back);
    }
    f.option(6)->select();
    EXPECT_TRUE(f.Text2->isHidden());
    EXPECT_TRUE(f.txtAreas->isHidden());
    Click(&f, "cmdCancelELF_0");
}
