// The Model 96 page through its buttons, with the real any-angle library.
#include <QImage>
#include <QPixmap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>

#include "model96_support.h"
#include "platform/numbers.h"
#include "shared/calc_driver.h"
#include "widgets/picturebox.h"

using namespace kelvara;
using namespace kelvara::testsupport;

namespace {

double Num(const QString& text) { return ToDouble(text.toStdString()); }

// The number of an area line "label = 1.23E-02 (Å^-1)".
double AreaOf(const QString& line) {
    const auto eq = line.indexOf(QStringLiteral(" = "));
    const auto unit = line.indexOf(QStringLiteral(" ("));
    return Num(line.mid(eq + 3, unit - eq - 3));
}

// What the page shows of a run.
struct Snapshot {
    QString text2, areas, resultText, imfp7, imfp8, imfp9;
    bool showHidden = false, areasHidden = false, text2Hidden = false, panelHidden = false;
    static Snapshot Take(const Model96World& w) {
        return {w.form->Text2->text(),
                w.form->txtAreas->text(),
                Module1::ResultText,
                w.page->txt_IMFPeff[7]->text(),
                w.page->txt_IMFPeff[8]->text(),
                w.page->txt_IMFPeff[9]->text(),
                w.page->frameShowModel96->isHidden(),
                w.form->txtAreas->isHidden(),
                w.form->Text2->isHidden(),
                w.page->frameshowIMFP[0]->isHidden()};
    }
    // After a run that did not end Done: nothing of the earlier run on show
    // (title, areas, the library's mean free paths); the show frame stays.
    Snapshot Refused() const {
        Snapshot s = *this;
        s.text2 = s.areas = s.imfp7 = s.imfp8 = s.imfp9 = QString();
        s.areasHidden = s.text2Hidden = s.panelHidden = true;
        return s;
    }
    bool operator==(const Snapshot&) const = default;
};

void Calculate(Model96World& w) {
    w.rec->messages.clear();
    w.page->cmdCalcKeffModel96->click();
}

std::vector<float> Copy(const SingleArray& a) { return std::vector<float>(a.data(), a.data() + a.size()); }

// Whether a picture holds nothing but its background.
bool Blank(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0)) return false;
    return true;
}

} // namespace

TEST(Model96Page, DefaultsWithAModelGiveTheLibraryCurvesTheirMeanFreePathsAndAreas) {
    Model96World& w = World();
    ASSERT_NE(w.page, nullptr);
    Model96Page& p = *w.page;
    // The page's defaults and labels.
    const QStringList defaults = Defaults();
    for (int i = 0; i < 6; ++i) EXPECT_EQ(p.txtpar96Val[static_cast<std::size_t>(i)]->text(), defaults[i]);
    EXPECT_EQ(p.txtpar96[0]->text(), QStringLiteral("Ep = "));
    EXPECT_EQ(p.txtpar96[4]->text(), QStringLiteral("\u03B81 ="));
    EXPECT_EQ(p.txt_IMFPeff[4]->text(), QStringLiteral("IMFP_eff = "));
    EXPECT_TRUE(p.frameShowModel96->isHidden());
    EXPECT_TRUE(p.frameshowIMFP[0]->isHidden());

    // The example model, read through the page's own button.
    ReadExampleModel(w);
    ASSERT_EQ(Module1::NumOsc, 1);
    EXPECT_EQ(p.txtELFfile96->text(), QString::fromLatin1(kExampleModel));
    Calculate(w);
    ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
    EXPECT_EQ(w.rec->busyDepth, 0);
    EXPECT_GE(w.rec->busyCalls, 2);

    // Spectrum layout: n, Estep (the loss of the first value), Estep, then the
    // library's values from T = Estep.
    const DirectRun first = CallOrvane(1000, 0.5f, 0.5f, 20, 0, 0);
    const std::pair<const SingleArray*, const SingleArray*> pairs[] = {{&Module1::Kvi, &first.Kvi},
                                                                       {&Module1::Kvo, &first.Kvo},
                                                                       {&Module1::Kmi, &first.Kmi},
                                                                       {&Module1::Kmo, &first.Kmo},
                                                                       {&Module1::Keff, &first.Keff}};
    for (const auto& [page, direct] : pairs) {
        EXPECT_EQ((*page)(1), 100.0f);
        EXPECT_EQ((*page)(2), 0.5f);
        EXPECT_EQ((*page)(3), 0.5f);
        EXPECT_FLOAT_EQ((*page)(4), (*direct)(1));
    }
    EXPECT_GT(Module1::Keff(4), 0.0f);
    EXPECT_EQ(Module1::PlotBuf(1), Module1::Keff(4)); // the last array moved through the buffer

    // ResultText: empty first line, three mean free paths, empty line, five areas.
    const QString& rt = Module1::ResultText;
    EXPECT_TRUE(rt.startsWith(QStringLiteral("\r\nTotal IMFP = ")));
    EXPECT_FALSE(rt.endsWith(QStringLiteral("\r\n")));
    const QStringList lines = rt.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 10);
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" \u00C5")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Valence electr. contrib. IMFPv = ")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("Core electr. contrib. IMFPc = ")));
    EXPECT_TRUE(lines[4].isEmpty());
    // Each line: its label, the value with two decimals or in the form 1.23E-02.
    const QRegularExpression fixed(QStringLiteral("^[0-9]+\\.[0-9]{2} \u00C5$"));
    EXPECT_TRUE(fixed.match(lines[1].mid(QStringLiteral("Total IMFP = ").size())).hasMatch()) << lines[1].toStdString();
    const char* const labels[5] = {"Area of total K = ", "Area of K_vacuum incomming trajectory = ",
                                   "Area of K_vacuum outgoing trajectory = ",
                                   "Area of K_medium incomming trajectory = ",
                                   "Area of K_medium outgoing trajectory = "};
    const QRegularExpression scientific(QStringLiteral("^-?[0-9]\\.[0-9]{2}E[-+][0-9]{2,} \\(\u00C5\\^-1\\)$"));
    for (int k = 0; k < 5; ++k) {
        const QString line = lines[5 + k];
        ASSERT_TRUE(line.startsWith(QString::fromLatin1(labels[k]))) << line.toStdString();
        EXPECT_TRUE(scientific.match(line.mid(static_cast<int>(std::strlen(labels[k])))).hasMatch())
            << line.toStdString();
    }
    EXPECT_EQ(w.form->txtAreas->text(), lines.mid(5).join(QStringLiteral("\r\n")));
    EXPECT_FALSE(w.form->txtAreas->isHidden());
    EXPECT_FALSE(p.frameShowModel96->isHidden());
    EXPECT_EQ(w.form->Text2->text(), Model96Page::CurveTitle() + QStringLiteral("\r\n") + lines.mid(0, 4).join(QStringLiteral("\r\n")));

    // The total area is the sum of the four parts (three significant digits each).
    const double total = AreaOf(lines[5]);
    const double parts = AreaOf(lines[6]) + AreaOf(lines[7]) + AreaOf(lines[8]) + AreaOf(lines[9]);
    EXPECT_NEAR(total, parts, 0.011 * total);

    // The page's valence and core paths agree with the library's own values
    // (two routines forming the same quantities), and the total lies below both.
    const float lc = ToSingle(p.txt_IMFPeff[7]->text().toStdString());
    const float lv = ToSingle(p.txt_IMFPeff[8]->text().toStdString());
    const float leff = ToSingle(p.txt_IMFPeff[9]->text().toStdString());
    EXPECT_LT(leff, lv);
    EXPECT_LT(leff, lc);
    const auto value = [](const QString& line) { return Num(line.section(QLatin1Char(' '), -2, -2)); };
    EXPECT_NEAR(value(lines[2]), lv, 0.006 + 1e-4 * lv);
    EXPECT_NEAR(value(lines[3]), lc, 0.006 + 1e-6 * lc);
    EXPECT_NEAR(value(lines[3]), 1000.0 / (Module1::Core_ac * (std::log(1000.0) + Module1::Core_bc)),
                1e-6 * value(lines[3]));
    EXPECT_NEAR(value(lines[1]), leff, 0.006 + 1e-4 * leff);

    // The show buttons put their titles; the text lines stay.
    const QString areas = w.form->txtAreas->text();
    p.cmdKvi->click();
    EXPECT_EQ(w.form->Text2->text(), QStringLiteral("Kvi Model 96"));
    p.cmdkmo->click();
    EXPECT_EQ(w.form->Text2->text(), QStringLiteral("Kmo Model 96"));
    p.cmdKeff->click();
    EXPECT_EQ(w.form->Text2->text(), QStringLiteral("Keff Model 96"));
    EXPECT_EQ(w.form->txtAreas->text(), areas);

    // The IMFP panel shows ac and bc of the model.
    SetExampleModel();
    Module1::Core_ac = 0.25f;
    p.cmdShowIMFP_eff->click();
    EXPECT_FALSE(p.frameshowIMFP[0]->isHidden());
    EXPECT_EQ(p.txt_IMFPeff[5]->text(), QStringLiteral("0.25"));
    EXPECT_EQ(p.txt_IMFPeff[6]->text(), QStringLiteral("1.5"));
    p.cmdCancelShowIMFP->click();
    EXPECT_TRUE(p.frameshowIMFP[0]->isHidden());
    Module1::Core_ac = 1.0f;
    EXPECT_TRUE(w.rec->messages.isEmpty());
}

TEST(Model96Page, GridLimitsAndRounding) {
    Model96World& w = World();
    Model96Page& p = *w.page;
    SetExampleModel();

    // 500/0.5: exactly 1000 points are accepted.
    QStringList boxes = Defaults();
    boxes[2] = QStringLiteral("500");
    SetBoxes(p, boxes);
    Calculate(w);
    EXPECT_TRUE(w.rec->messages.isEmpty());
    EXPECT_EQ(Module1::Keff(1), 1000.0f);
    EXPECT_EQ(Module1::Kmo(1), 1000.0f);
    EXPECT_GT(Module1::Keff(1003), 0.0f);

    // 500.5/0.5: only the message; the arrays and the texts stay.
    const auto keff = Copy(Module1::Keff);
    const auto kvi = Copy(Module1::Kvi);
    const Snapshot before = Snapshot::Take(w);
    boxes[2] = QStringLiteral("500.5");
    SetBoxes(p, boxes);
    Calculate(w);
    ASSERT_EQ(w.rec->messages.size(), 1);
    EXPECT_EQ(w.rec->messages[0].text, TooManyPointsMessage(QStringLiteral("Emax"), QStringLiteral("500.5")));
    EXPECT_EQ(Copy(Module1::Keff), keff);
    EXPECT_EQ(Copy(Module1::Kvi), kvi);
    EXPECT_TRUE(Snapshot::Take(w) == before.Refused());
    EXPECT_EQ(Module1::Emax, 500.5f); // the grid is stored before the test
    EXPECT_EQ(w.rec->busyDepth, 0);

    // Halves to even: 100.5 -> 100; 101.5 -> 102, of which the library
    // computes 101 (its truncated count), and only those are kept.
    EXPECT_EQ(RoundedPointCount(50.25f, 0.5f), 100);
    EXPECT_EQ(RoundedPointCount(50.75f, 0.5f), 102);
    boxes[2] = QStringLiteral("50.25");
    SetBoxes(p, boxes);
    Calculate(w);
    EXPECT_TRUE(w.rec->messages.isEmpty());
    EXPECT_EQ(Module1::Keff(1), 100.0f);
    boxes[2] = QStringLiteral("50.75");
    SetBoxes(p, boxes);
    Calculate(w);
    EXPECT_TRUE(w.rec->messages.isEmpty());
    EXPECT_EQ(Module1::Keff(1), 101.0f);

    // A negative step or maximum is refused before the call, naming the box.
    const auto kmi = Copy(Module1::Kmi);
    const Snapshot ok = Snapshot::Take(w);
    const QString badStep = QStringLiteral("The box \"Estep\" holds \"-0.5\": the step must be greater than 0.");
    const QString badMax = QStringLiteral("The box \"Emax\" holds \"-50\": the maximum must not be negative.");
    for (const auto& [bad, message] :
         {std::pair{QStringList{"1000", "-0.5", "50", "20", "0", "0"}, badStep},
          std::pair{QStringList{"1000", "0.5", "-50", "20", "0", "0"}, badMax},
          std::pair{QStringList{"1000", "-0.5", "-50", "20", "0", "0"}, badStep}}) {
        SetBoxes(p, bad);
        Calculate(w);
        ASSERT_EQ(w.rec->messages.size(), 1);
        EXPECT_EQ(w.rec->messages[0].text, message);
        EXPECT_EQ(Copy(Module1::Kmi), kmi);
        EXPECT_TRUE(Snapshot::Take(w) == ok.Refused());
    }
    EXPECT_EQ(w.rec->busyDepth, 0);
    SetBoxes(p, Defaults());
}

TEST(Model96Page, FailuresShowTheMessageChangeNoCurveAndLeaveNoEarlierResultOnShow) {
    Model96World& w = World();
    Model96Page& p = *w.page;
    SetExampleModel();
    SetBoxes(p, Defaults());
    Calculate(w);
    ASSERT_TRUE(w.rec->messages.isEmpty());
    const Snapshot good = Snapshot::Take(w);
    const std::vector<float> keff = Copy(Module1::Keff), kvo = Copy(Module1::Kvo);
    const QString angles = QStringLiteral(": the value must be at least 0 degrees and less than 90 degrees.");
    const QString unphysical = QStringLiteral(": the model gives no physical result for these parameters.");
    enum class Model { Example, None, NoCoreTerm, Bc0 };
    // With a model loaded, a box that cannot be used is named with its text
    // (never "You must first read ELF data file"); a result that is not
    // physical names the quantity. No curve changes, and nothing of the
    // earlier good run stays on show: its areas, title, mean free paths and
    // IMFP panel go, and the show buttons say why they show nothing.
    const struct {
        QStringList boxes;
        Model model;
        QString message;
    } cases[] = {
        {{"1000", "0.5", "abc", "20", "0", "0"},
         Model::Example,
         QStringLiteral("The box \"Emax\" holds \"abc\": this is not a number.")},
        {{"1000", "0.5", "", "20", "0", "0"},
         Model::Example,
         QStringLiteral("The box \"Emax\" is empty: a number is needed.")},
        {{"1000", "0", "50", "20", "0", "0"},
         Model::Example,
         QStringLiteral("The box \"Estep\" holds \"0\": the step must be greater than 0.")},
        {{"0", "0.5", "50", "20", "0", "0"},
         Model::Example,
         QStringLiteral("The box \"Ep\" holds \"0\": the energy must be greater than 0.")},
        {{"1000", "0.5", "50", "0", "0", "0"},
         Model::Example,
         QStringLiteral("The box \"X0\" holds \"0\": the value must be at least 0.001 \u00C5.")},
        {{"1000", "0.5", "50", "20", "120", "0"},
         Model::Example,
         QStringLiteral("The box \"\u03B81\" holds \"120\"") + angles},
        {{"1000", "0.5", "50", "20", "0", "90"},
         Model::Example,
         QStringLiteral("The box \"\u03B82\" holds \"90\"") + angles},
        {{"1000", "0.5", "50", "20", "270", "0"},
         Model::Example,
         QStringLiteral("The box \"\u03B81\" holds \"270\"") + angles},
        {{"1000", "0.5", "50", "20", "0", "1e30"},
         Model::Example,
         QStringLiteral("The box \"\u03B82\" holds \"1e30\"") + angles},
        {{"1000", "0.5", "50", "20", "-10", "0"},
         Model::Example,
         QStringLiteral("The box \"\u03B81\" holds \"-10\"") + angles},
        {{"1000", "0.0001", "50", "20", "0", "0"}, Model::Example,
         TooManyPointsMessage(QStringLiteral("Emax"), QStringLiteral("50"))},
        // Fewer than two losses on the library's grid, and losses that reach Ep.
        {{"1000", "0.5", "0.2", "20", "0", "0"},
         Model::Example,
         QStringLiteral("The box \"Emax\" holds \"0.2\": the grid must hold at least two losses: the maximum must be "
                        "at least the second loss, 1 eV.")},
        {{"40", "0.5", "50", "20", "0", "0"},
         Model::Example,
         QStringLiteral("The box \"Emax\" holds \"50\": every energy loss must be below Ep.")},
        // Before any model is read (no oscillator, ac = 0 as at start-up).
        {Defaults(), Model::None, QStringLiteral("You must first read ELF data file")},
        // ac = 0 alone (the core path is infinite), ln Ep + bc = 0 (Ep = 1 eV, bc = 0).
        {Defaults(), Model::NoCoreTerm,
         QStringLiteral("Core electr. contrib. IMFPc is not a finite number") + unphysical},
        {{"1", "0.25", "0.5", "20", "0", "0"},
         Model::Bc0,
         QStringLiteral("Core electr. contrib. IMFPc is not a finite number") + unphysical},
        // A grazing exit inside the accepted range makes the total negative.
        {{"1000", "0.5", "50", "20", "0", "89.9"},
         Model::Example,
         QStringLiteral("Area of total K = -4.12E-03 (\u00C5^-1) is not physical") + unphysical},
    };
    const QString noResult =
        QStringLiteral("Nothing is shown: the last calculation of this page gave no result. Calculate again.");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        SetExampleModel();
        SetBoxes(p, Defaults());
        Calculate(w);
        ASSERT_TRUE(w.rec->messages.isEmpty());
        p.cmdShowIMFP_eff->click();
        ASSERT_FALSE(p.frameshowIMFP[0]->isHidden());
        // The View menu's redraw (a wider pen) still shows the page's curve.
        w.form->mnuIncrease_Click();
        if (c.model == Model::None) {
            for (SingleArray* a : {&Module1::W0, &Module1::A0, &Module1::Gamma, &Module1::Alfa}) a->clear();
            Module1::NumOsc = 0;
            Module1::Egap = Module1::RefIndex = Module1::Core_ac = Module1::Core_bc = 0.0f;
        }
        if (c.model == Model::NoCoreTerm) Module1::Core_ac = 0.0f;
        if (c.model == Model::Bc0) Module1::Core_bc = 0.0f;
        SetBoxes(p, c.boxes);
        Calculate(w);
        ASSERT_EQ(w.rec->messages.size(), 1);
        EXPECT_EQ(w.rec->messages[0].text, c.message);
        EXPECT_TRUE(Snapshot::Take(w) == good.Refused());
        EXPECT_TRUE(Blank(w.form->picPlot->image())) << "the good run's curve is no longer plotted";
        w.form->mnuDecrease_Click();
        EXPECT_EQ(Copy(Module1::Keff), keff);
        EXPECT_EQ(Copy(Module1::Kvo), kvo);
        EXPECT_EQ(w.rec->busyDepth, 0);
        for (QPushButton* show : {p.cmdKvi, p.cmdShowIMFP_eff}) {
            w.rec->messages.clear();
            show->click();
            ASSERT_EQ(w.rec->messages.size(), 1);
            EXPECT_EQ(w.rec->messages[0].text, noResult);
        }
        EXPECT_TRUE(p.frameshowIMFP[0]->isHidden());
    }
    SetExampleModel();

    // Grazing angles with a positive total give finite curves: the run ends
    // normally and no text holds anything but numbers.
    for (const QStringList& edge : {QStringList{"1000", "0.5", "50", "20", "89.9", "0"},
                                    QStringList{"40", "0.5", "39.5", "20", "0", "0"}}) {
        SetBoxes(p, edge);
        Calculate(w);
        EXPECT_TRUE(w.rec->messages.isEmpty());
        for (const QString& bad : {QStringLiteral("nan"), QStringLiteral("inf")}) {
            EXPECT_FALSE(Module1::ResultText.contains(bad, Qt::CaseInsensitive));
            EXPECT_FALSE(p.txt_IMFPeff[9]->text().contains(bad, Qt::CaseInsensitive));
        }
    }
    SetBoxes(p, Defaults());
}

TEST(Model96Page, AShorterLibraryGridNeverKeepsAPointOfAnEarlierRun) {
    Model96World& w = World();
    Model96Page& p = *w.page;
    SetExampleModel();
    SetBoxes(p, Defaults());
    Calculate(w); // 100 points: slot 53 holds the value at T = 25
    ASSERT_TRUE(w.rec->messages.isEmpty());
    ASSERT_NE(Module1::Keff(53), 0.0f);

    // 24.99/0.5 = 49.98: the window rounds to 50, the library computes 49.
    QStringList boxes = Defaults();
    boxes[2] = QStringLiteral("24.99");
    SetBoxes(p, boxes);
    Calculate(w);
    ASSERT_TRUE(w.rec->messages.isEmpty());
    const DirectRun direct = CallOrvane(1000, 0.5f, 24.99f, 20, 0, 0);
    double sum = 0;
    for (int i = 1; i <= 49; ++i) sum += direct.Keff(i);
    for (SingleArray* a : {&Module1::Kvi, &Module1::Kvo, &Module1::Kmi, &Module1::Kmo, &Module1::Keff})
        EXPECT_EQ((*a)(1), 49.0f);
    EXPECT_FLOAT_EQ(Module1::Keff(52), direct.Keff(49));
    const QStringList lines = Module1::ResultText.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[5], AreaLineText(QStringLiteral("Area of total K = "), sum * 0.5));
    // The page's valence path is the library's own (both from 49 points).
    EXPECT_NEAR(Num(lines[2].section(QLatin1Char(' '), -2, -2)), direct.IMFPv, 0.006 + 1e-4 * direct.IMFPv);

    // The saved file holds the 49 library points and nothing more.
    QTemporaryDir dir;
    w.form->Dir1->setPath(dir.path());
    w.form->findChild<QLineEdit*>(QStringLiteral("txtSaveFile96"))->setText(QStringLiteral("short.txt"));
    Click(w.form, "cmdSavekeff96");
    ASSERT_TRUE(w.rec->messages.isEmpty());
    const auto rows = DataRows(FileLines(dir.filePath(QStringLiteral("short.txt"))));
    ASSERT_EQ(rows.size(), 50u); // the 0 0 row and 49 points
    EXPECT_DOUBLE_EQ(rows.back().first, 24.5);
    EXPECT_FLOAT_EQ(static_cast<float>(rows.back().second), direct.Keff(49));
    SetBoxes(p, Defaults());
}

TEST(Model96Page, ReadingAModelFileThroughThePageHidesTheShowFrame) {
    Model96World& w = World();
    Model96Page& p = *w.page;
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("al.elf")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\"Two oscillators\"\r\n\"@\"\r\n 0.5  2\r\n 0\r\n 100\r\n 15.8  235  1.2  1\r\n 25  20  8  1\r\n");
    f.close();
    w.form->Dir1->setPath(dir.path());
    w.form->File1->setFileName(QStringLiteral("al.elf"));
    p.frameShowModel96->show();
    w.rec->messages.clear();
    p.cmdELFfile96->click();
    ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
    EXPECT_EQ(Module1::NumOsc, 2);
    EXPECT_EQ(Module1::Core_ac, 0.5f);
    EXPECT_EQ(p.txtELFfile96->text(), QStringLiteral("al.elf"));
    EXPECT_EQ(p.txtELFfile96->objectName(), QStringLiteral("txtELFfile96_3"));
    EXPECT_TRUE(p.frameShowModel96->isHidden());
    Calculate(w);
    EXPECT_TRUE(w.rec->messages.isEmpty());
    EXPECT_FALSE(p.frameShowModel96->isHidden());
    // A model the dielectric function cannot use is read (the oscillator
    // table shows it for correction) but not drawn: the message names it.
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\"@\"\r\n 0.5  2\r\n 0\r\n 100\r\n 15.8  235  1.2  1\r\n 25  20  0  1\r\n");
    f.close();
    p.cmdELFfile96->click();
    ASSERT_EQ(w.rec->messages.size(), 1);
    EXPECT_TRUE(w.rec->messages[0].text.startsWith(
        QStringLiteral("The oscillator model cannot be used: gamma in row 2 is 0, but the value must be greater than 0.")))
        << w.rec->messages[0].text.toStdString();
    EXPECT_EQ(Module1::Gamma(2), 0.0f);
    EXPECT_TRUE(Blank(w.form->picPlot->image()));
    SetExampleModel();
}

// With KELVARA_SCREENSHOT set to a file name, the main form is drawn after a
// calculation with the example model, for a person to look at.
TEST(Model96Page, PictureOfThePageAfterACalculation) {
    const QByteArray target = qgetenv("KELVARA_SCREENSHOT");
    if (target.isEmpty()) GTEST_SKIP() << "KELVARA_SCREENSHOT not set";
    Model96World& w = World();
    w.form->option(4)->select();
    ReadExampleModel(w);
    SetBoxes(*w.page, Defaults());
    Calculate(w);
    ASSERT_TRUE(w.rec->messages.isEmpty());
    w.form->show();
    const QString path = QString::fromLocal8Bit(target);
    EXPECT_TRUE(w.form->grab().toImage().save(path));
    // Then with the IMFP panel open, then with the save frame open.
    const auto picture = [&](const char* suffix) {
        QString name = path;
        name.insert(name.lastIndexOf(QLatin1Char('.')), QString::fromLatin1(suffix));
        EXPECT_TRUE(w.form->grab().toImage().save(name));
    };
    w.page->cmdShowIMFP_eff->click();
    picture("_imfp");
    w.page->cmdCancelShowIMFP->click();
    w.page->cmdSave96->click();
    picture("_save");
    w.form->frameSave(3)->hide();
}
