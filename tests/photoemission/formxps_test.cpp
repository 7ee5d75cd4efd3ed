// The photoemission window through its real buttons and boxes, with the real
// photoelectron and loss-function libraries.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>
#include <vector>

#include "file_lines.h"
#include "offscreen_screen.h"
#include "photoemission/formxps.h"
#include "photoemission/photoemission_page.h"
#include "platform/numbers.h"
#include "pinned_result_file.h"
#include "program_fixture.h"
#include "shared/oscillator_model.h"
#include "shared/plot.h"
#include "shared/result_file.h"
#include "state/binder.h"
#include "widgets/picturebox.h"
#include "widgets/twips.h"

using namespace kelvara;
using namespace kelvara::testsupport;

namespace {

struct World {
    RecordingServices* rec = nullptr;
    Form1* main = nullptr;
    formXPS* xps = nullptr;
    PhotoemissionPage* page = nullptr;
};

World& TheWindow(int width = 1280, int height = 1024) {
    static World w;
    static QPointer<formXPS> running; // empty again once the test that started the program ended it
    if (!running) {
        UseOffscreenScreen(width, height);
        SetLibraryFolder(QStringLiteral(KELVARA_BIN_DIR));
        const Program p = StartProgram();
        w.rec = p.services;
        w.main = p.form;
        w.xps = &Forms::formXPS();
        w.page = &w.xps->page();
        running = w.xps;
    }
    w.rec->messages.clear();
    return w;
}

const char* const kModels[] = {"free_electron_metal.elf", "oxide_sio2_like.elf", "semiconductor_si_like.elf"};

void ReadModel(World& w, const char* file) {
    w.xps->Dir2->setPath(QStringLiteral(KELVARA_SOURCE_DIR "/examples"));
    w.xps->File2->setFileName(QString::fromLatin1(file));
    w.xps->cmdReadELF_XPS->click();
}

// Ep, Estep, Emin, X0, theta, q-hole, Emax, n_integr (box order).
void SetBoxes(World& w, const QStringList& texts) {
    for (int i = 0; i < 8; ++i) w.page->txtpar97Val[static_cast<std::size_t>(i)]->setText(texts.at(i));
}
QStringList Defaults() { return {"1000", "0.5", "0.5", "10", "0", "1", "50", "250"}; }

void Calculate(World& w) {
    w.rec->messages.clear();
    w.page->cmdCalcKeffphotoem97->click();
}

// The library called directly, outside the window.
struct Direct {
    std::vector<SingleArray> parts{6, SingleArray(0, kResultUpper)}; // Keff, inf, mh, mnh, vh, vnh
    float imfp = 0, areaHole = 0, areaNoHole = 0;
};
Direct CallDurmel(float Ep, float Estep, float Emin, float Emax, float X0, float Theta, int16_t n, float q) {
    namespace M = Module1;
    Direct d;
    M::durmel(&Ep, &Estep, &Emin, &Emax, &X0, &Theta, &n, d.parts[0].element1(), d.parts[1].element1(),
              d.parts[2].element1(), d.parts[3].element1(), d.parts[4].element1(), d.parts[5].element1(), &q,
              M::W0.element1(), M::A0.element1(), M::Gamma.element1(), &M::Egap, M::Alfa.element1(), &M::NumOsc,
              &M::Core_ac, &M::Core_bc, &d.imfp, &d.areaHole, &d.areaNoHole);
    return d;
}

SpectrumArray* Curves[6] = {&Module1::Keff,           &Module1::keff_inf,      &Module1::keff_medium_h,
                            &Module1::keff_medium_nh, &Module1::keff_vacuum_h, &Module1::keff_vacuum_nh};

// Every control (hidden ones included) lies wholly inside each frame around
// it and inside the window: nothing is cut off.
void ExpectNothingCutOff(const QWidget* container, QRect visible, int& controls) {
    for (QObject* o : container->children()) {
        auto* c = qobject_cast<QWidget*>(o);
        if (!c || c->isWindow() || c->objectName().isEmpty()) continue;
        const QRect r(c->mapTo(container->window(), QPoint(0, 0)), c->size());
        if (qobject_cast<const QGroupBox*>(c)) {
            ExpectNothingCutOff(c, visible.intersected(r), controls);
        } else {
            ++controls;
            EXPECT_TRUE(visible.contains(r))
                << c->objectName().toStdString() << " in " << container->objectName().toStdString();
        }
    }
}

double Number(const QString& t) { return ToDouble(t.toStdString()); }

// Whether a picture holds nothing but its background.
bool Blank(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0)) return false;
    return true;
}

} // namespace

TEST(PhotoemissionWindow, ReachedFromTheMainWindowLaidOutAndBackWithMainMenu) {
    World& w = TheWindow();
    EXPECT_EQ(w.xps->windowTitle(), QStringLiteral("XPS and AES"));
    EXPECT_FALSE(w.xps->isVisible());
    EXPECT_TRUE(w.xps->framePlotDurmel->isHidden());
    EXPECT_TRUE(w.xps->frameSave_xps(3)->isHidden());
    EXPECT_TRUE(w.xps->Text2_xps->isHidden());
    EXPECT_EQ(w.page->txtpar97[4]->text(), QStringLiteral("\u03B8 ="));
    const QStringList defaults = Defaults();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(w.page->txtpar97Val[static_cast<std::size_t>(i)]->text(), defaults[i]);
    // Fractions of the 1280 x 1024 screen.
    const QRect f = w.xps->framePhotoElectrons->geometry();
    EXPECT_EQ(f.x(), TwipsToPixelsX(0.36 * 1280 * 15));
    EXPECT_EQ(f.height(), TwipsToPixelsY(0.29 * 1024 * 15));
    EXPECT_EQ(w.xps->picPlot_xps->y(), w.xps->File2->height());
    int controls = 0;
    ExpectNothingCutOff(w.xps, QRect(w.xps->mapTo(w.xps->window(), QPoint(0, 0)), w.xps->size()), controls);
    EXPECT_GT(controls, 40);

    w.main->option(5)->click();
    EXPECT_TRUE(w.xps->isVisible());
    EXPECT_FALSE(w.main->isVisible());
    // No empty areas box over the plot before the first calculation.
    EXPECT_TRUE(w.xps->txt_XPS_Areas->isHidden());
    // A double click opens the file in the editor.
    w.xps->Dir2->setPath(QStringLiteral(KELVARA_SOURCE_DIR "/examples"));
    w.xps->File2->setFileName(QString::fromLatin1(kModels[1]));
    emit w.xps->File2->itemDoubleClicked(w.xps->File2->currentItem());
    ASSERT_EQ(w.rec->editorPaths.size(), 1);
    EXPECT_TRUE(w.rec->editorPaths[0].endsWith(QString::fromLatin1(kModels[1])));
    // Before any calculation the show and save buttons show and write
    // nothing and say why.
    QTemporaryDir dir;
    w.xps->Dir2->setPath(dir.path());
    w.page->txtSaveFile97->setText(QStringLiteral("empty.dat"));
    w.page->saveButtons[1]->click();
    ASSERT_EQ(w.rec->messages.size(), 1);
    EXPECT_TRUE(w.rec->messages[0].text.startsWith(QStringLiteral("Nothing was written: there is no result")));
    w.rec->messages.clear();
    w.page->cmdKv->click();
    ASSERT_EQ(w.rec->messages.size(), 1);
    EXPECT_EQ(w.rec->messages[0].text,
              QStringLiteral("Nothing is shown: there is no result to show yet. Calculate first."));
    w.rec->messages.clear();
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("empty.dat"))));
    w.xps->cmdMainMenu->click();
    EXPECT_FALSE(w.xps->isVisible());
    EXPECT_TRUE(w.main->isVisible());
    EXPECT_FALSE(w.main->option(5)->isChecked());
    // Chosen again, the option leads to the window again.
    w.main->option(5)->click();
    EXPECT_TRUE(w.xps->isVisible());
    w.xps->cmdMainMenu->click();
    EXPECT_TRUE(w.rec->messages.isEmpty());
}

TEST(PhotoemissionWindow, InfoFrameHoldsItsTextAndASketchOfTheGeometry) {
    World& w = TheWindow();
    const QWidget* frame = w.xps->frameinfo_xps(3);
    const double fw = frame->width(), fh = frame->height();
    // The info text at its fractions of the frame: left, top, width, height.
    const QRect text = w.xps->txtinfo_xps3->geometry();
    const double want[4] = {0.02 * fw, 0.08 * fh, 0.44 * fw, 0.33 * fh};
    const int got[4] = {text.x(), text.y(), text.width(), text.height()};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], want[i], 1.5) << i;
    auto* sketch = frame->findChild<QWidget*>(QStringLiteral("sketch_xps"));
    ASSERT_NE(sketch, nullptr);
    EXPECT_TRUE(frame->rect().contains(sketch->geometry()));
    const QImage image = sketch->grab().toImage();
    // The surface: a dark line across the sketch, the vacuum above, the solid below.
    int surface = -1;
    for (int y = 0; y < image.height() && surface < 0; ++y) {
        int dark = 0;
        for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 80;
        if (dark > 0.9 * image.width()) surface = y;
    }
    ASSERT_GT(surface, image.height() / 4);
    ASSERT_LT(surface, 3 * image.height() / 4);
    // The emitting atom (red) in the solid; the exit path (blue) from it out
    // through the surface into the vacuum.
    const auto red = [](QRgb c) { return qRed(c) > 150 && qGreen(c) < 80 && qBlue(c) < 80; };
    const auto blue = [](QRgb c) { return qBlue(c) > 120 && qRed(c) < 80 && qGreen(c) < 80; };
    const struct {
        const char* what;
        bool (*colour)(QRgb);
        int from, to;
    } parts[] = {{"atom", red, surface + 2, image.height()},
                 {"path in the solid", blue, surface + 2, image.height()},
                 {"path in the vacuum", blue, 0, surface - 2}};
    for (const auto& part : parts) {
        int count = 0;
        for (int y = part.from; y < part.to; ++y)
            for (int x = 0; x < image.width(); ++x) count += part.colour(image.pixel(x, y));
        EXPECT_GT(count, 10) << part.what;
    }
}

TEST(PhotoemissionWindow, EveryExampleModelReadsAndCalculatesTheLibraryCurves) {
    World& w = TheWindow();
    for (const char* model : kModels) {
        SCOPED_TRACE(model);
        w.main->picPlot->hide();
        ReadModel(w, model);
        ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
        ASSERT_GT(Module1::NumOsc, 0);
        EXPECT_EQ(ModelFilePath(), QStringLiteral(KELVARA_SOURCE_DIR "/examples/") + QString::fromLatin1(model));
        EXPECT_EQ(w.xps->txtELF_File_XPS->text(), QString::fromLatin1(model));
        EXPECT_FALSE(w.xps->Text2_xps->isHidden());
        EXPECT_EQ(w.xps->Text2_xps->text(), QStringLiteral("ELF function:  Im(-1/epsilon)"));
        EXPECT_FALSE(w.main->picPlot->isHidden());
        EXPECT_FLOAT_EQ(Module1::Estep, 0.2f);
        EXPECT_FLOAT_EQ(Module1::Emax, 100.0f);

        SetBoxes(w, Defaults());
        Calculate(w);
        ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
        EXPECT_EQ(w.rec->busyDepth, 0);
        EXPECT_FALSE(w.xps->framePlotDurmel->isHidden());

        // 0.5 eV to 50 eV in steps of 0.5: 100 points from Emin, the library's own values.
        const Direct d = CallDurmel(1000, 0.5f, 0.5f, 50, 10, 0, 250, 1);
        for (int k = 0; k < 6; ++k) {
            const SpectrumArray& c = *Curves[k];
            EXPECT_EQ(c(1), 100.0f);
            EXPECT_EQ(c(2), 0.5f);
            EXPECT_EQ(c(3), 0.5f);
            for (int i = 1; i <= 100; ++i)
                ASSERT_EQ(c(i + 3), d.parts[static_cast<std::size_t>(k)](i)) << k << " " << i;
        }
        EXPECT_EQ(w.xps->Plot_xps().PlotN, 100);
        EXPECT_EQ(w.xps->Plot_xps().PlotE0, 0.5f);

        // The mean free paths from the area of Keff and the core term, in double precision.
        double area = 0;
        for (int i = 1; i <= 100; ++i) area += 0.5 * d.parts[0](i);
        const double core = 1000.0 / (Module1::Core_ac * (std::log(1000.0) + Module1::Core_bc));
        const double total = 1.0 / (area + 1.0 / core);
        const QStringList result = Module1::ResultText.split(QStringLiteral("\r\n"));
        ASSERT_EQ(result.size(), 11);
        EXPECT_TRUE(result[0].isEmpty());
        ASSERT_TRUE(result[1].startsWith(QStringLiteral("Total IMFP = ")));
        EXPECT_NEAR(Number(result[1].mid(13).chopped(1)), total, 0.006 + 1e-4 * total);
        EXPECT_TRUE(result[1].endsWith(QStringLiteral("\u00C5")));
        EXPECT_TRUE(result[4].isEmpty());
        EXPECT_EQ(w.xps->txt_XPS_Areas->text(), QStringList(result.mid(5)).join(QStringLiteral("\r\n")));
        EXPECT_FALSE(w.xps->txt_XPS_Areas->isHidden());
        // Areas: the total and the vacuum part with the hole, rounded to three digits.
        const auto areaIn = [&](int line) {
            const QString t = result[line];
            return Number(t.mid(t.indexOf(QStringLiteral(" = ")) + 3).section(QLatin1Char(' '), 0, 0));
        };
        EXPECT_TRUE(result[5].startsWith(QStringLiteral("Area of total K = ")));
        EXPECT_NEAR(areaIn(5), area, 0.006 * std::fabs(area));
        double vh = 0;
        for (int i = 1; i <= 100; ++i) vh += 0.5 * d.parts[4](i);
        EXPECT_TRUE(result[7].startsWith(QStringLiteral("Area of K_vacuum with effect of hole = ")));
        EXPECT_NEAR(areaIn(7), vh, 0.006 * std::fabs(vh) + 1e-12);
        // The title box: the model's line, then the mean free paths.
        EXPECT_TRUE(w.xps->Text2_xps->text().endsWith(QStringList(result.mid(0, 4)).join(QStringLiteral("\r\n"))));
    }
}

TEST(PhotoemissionWindow, ShowAndSumButtonsPlotEachCurveWithItsText) {
    World& w = TheWindow();
    ReadModel(w, kModels[0]);
    SetBoxes(w, Defaults());
    Calculate(w);
    ASSERT_TRUE(w.rec->messages.isEmpty());
    namespace M = Module1;
    const struct {
        QPushButton* button;
        const SpectrumArray* curve;
        QString text;
    } shows[] = {{w.page->cmdKeff, &M::Keff,
                  QStringLiteral("Keff       IMFP_Keff=") + QString::fromStdString(Format(M::IMFPxps, "0.0000"))},
                 {w.page->cmdkinf, &M::keff_inf, "Keff_inf "},
                 {w.page->cmdkmh, &M::keff_medium_h, "keff_medium_h "},
                 {w.page->cmdkmo, &M::keff_medium_nh, "keff_medium_nh "},
                 {w.page->cmdKvh, &M::keff_vacuum_h, "keff_vacuum_h "},
                 {w.page->cmdkvo, &M::keff_vacuum_nh, "keff_vacuum_nh "}};
    for (const auto& s : shows) {
        s.button->click();
        EXPECT_EQ(w.xps->Text2_xps->text(), s.text);
        EXPECT_EQ(w.xps->Plot_xps().PlotN, 100);
        // The plot's range comes from the curve shown.
        double hi = (*s.curve)(4);
        for (int i = 1; i <= 100; ++i) hi = std::max(hi, static_cast<double>((*s.curve)(i + 3)));
        EXPECT_DOUBLE_EQ(w.xps->Plot_xps().PlotYMax, hi) << s.text.toStdString();
    }
    const struct {
        QPushButton* button;
        const SpectrumArray *a, *b;
        const char* text;
    } sums[] = {{w.page->cmdKh, &M::keff_medium_h, &M::keff_vacuum_h, "Keff contrib from hole"},
                {w.page->cmdkm, &M::keff_medium_h, &M::keff_medium_nh, "K medium total"},
                {w.page->cmdKnh, &M::keff_vacuum_nh, &M::keff_medium_nh, "Keff contrib from electr"},
                {w.page->cmdKv, &M::keff_vacuum_h, &M::keff_vacuum_nh, "K vacuum total"}};
    for (const auto& s : sums) {
        s.button->click();
        double area = 0;
        for (int i = 1; i <= 100; ++i) {
            const float sum = (*s.a)(i + 3) + (*s.b)(i + 3);
            ASSERT_FLOAT_EQ(M::PlotBuf(i + 3), sum) << s.text << " " << i;
            area += 0.5 * sum;
        }
        EXPECT_EQ(M::PlotBuf(1), 100.0f);
        EXPECT_EQ(M::PlotBuf(2), 0.5f);
        const QString text = w.xps->Text2_xps->text();
        ASSERT_TRUE(text.startsWith(QString::fromLatin1(s.text) + QStringLiteral("  Area="))) << text.toStdString();
        EXPECT_NEAR(Number(text.mid(text.indexOf(QStringLiteral("Area=")) + 5)), area, 6e-5 + 1e-5 * std::fabs(area));
    }
    // Total = q-hole * (hole parts) + parts without the hole, with q-hole = 1: the two hole-group sums.
    w.page->cmdKh->click();
    std::vector<float> hole(M::PlotBuf.data() + 4, M::PlotBuf.data() + 104);
    w.page->cmdKnh->click();
    for (int i = 1; i <= 100; ++i) {
        const float h = hole[static_cast<std::size_t>(i - 1)], nh = M::PlotBuf(i + 3);
        EXPECT_NEAR(h + nh, M::Keff(i + 3), 1e-6 * (std::fabs(h) + std::fabs(nh)) + 1e-30) << i;
    }
    w.xps->cmdCancel->click();
    EXPECT_TRUE(w.xps->framePlotDurmel->isHidden());
}

TEST(PhotoemissionWindow, EverySaveButtonWritesSixHeaderLinesAndTheTrueLosses) {
    World& w = TheWindow();
    ReadModel(w, kModels[1]);
    // Emin not a multiple of the step: the rows must start at Emin.
    SetBoxes(w, {"1000", "0.5", "1.3", "12", "30", "2", "20", "100"});
    Calculate(w);
    ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
    ASSERT_EQ(Module1::Keff(1), 38.0f); // trunc((20 - 1.3)/0.5 + 1)

    QTemporaryDir dir;
    w.xps->Dir2->setPath(dir.path());
    w.page->cmdSave97->click();
    EXPECT_FALSE(w.xps->frameSave_xps(3)->isHidden());
    // The hints are placeholder texts; an untouched description heads the file
    // with an empty line.
    EXPECT_EQ(w.page->txtSaveFile97->placeholderText(), QStringLiteral("Enter file name here"));
    EXPECT_EQ(w.page->txtDescription97->placeholderText(),
              QStringLiteral("You may write info here to be stored with the data."));
    const QString description;
    const QString model = QStringLiteral("ELF function from the file oxide_sio2_like.elf. Primary energy = 1000 eV.");
    const QString ref = QStringLiteral("Calculated with the photoelectron model with core hole");
    // Lines 1 and 2 of each file; lines 3 to 6 follow from the boxes.
    const QString at = QStringLiteral("excited at depth X0 =12 \u00C5");
    const QString firstTwo[6][2] = {
        {QStringLiteral("keff():  Effective cross section for photo electron ") + at, ref},
        {"keff_inf():   Effective cross section for electron travelling the distance X0/Cos(theta) in an infinite "
         "medium",
         QStringLiteral(" where X0 =12 \u00C5")},
        {"keff_medium_h():  Contribution to the effective cross section from the hole for electron travelling in the "
         "medium",
         QStringLiteral(" for photo electron ") + at},
        {"keff_medium_nh():  Contribution to the effective cross section when neglecting the hole for electron "
         "travelling in the medium ",
         QStringLiteral("for photo electron  ") + at},
        {"keff_vacuum_h():  Contribution from travlling in the vacuum to the effective cross section from the hole",
         QStringLiteral(" for photo electron ") + at},
        {"keff_vacuum_nh():  Contribution from travlling in the vacuum to the effective cross section when the hole "
         "is neglected",
         QStringLiteral(" for photo electron ") + at}};
    QStringList heads[6];
    for (int k = 0; k < 6; ++k)
        heads[k] = {firstTwo[k][0],
                    firstTwo[k][1],
                    k == 0 ? QStringLiteral("Effective charge of the hole = 2 electron charge units") : ref,
                    QStringLiteral("Emission angle = 30"),
                    model,
                    description};
    const char* captions[6] = {"Save Keff",       "Save K inf",        "Save K medium hole", "Save K medium no hole",
                               "Save K vac hole", "Save K vac no hole"};
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        QPushButton* b = w.page->saveButtons[static_cast<std::size_t>(k)];
        EXPECT_EQ(b->text(), QString::fromLatin1(captions[k]));
        const QString name = QStringLiteral("curve%1.dat").arg(k);
        w.page->txtSaveFile97->setText(name);
        b->click();
        ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
        const QStringList lines = FileLines(QDir(dir.path()).filePath(name));
        ASSERT_GT(lines.size(), 7);
        for (int l = 0; l < 5; ++l) EXPECT_EQ(lines[l], heads[k][l]) << l;
        EXPECT_EQ(lines[5], description);
        // The result line of Keff alone: its mean free paths.
        EXPECT_EQ(lines.contains(Module1::ResultText.split(QStringLiteral("\r\n"))[1]), k == 0);
        const auto rows = DataRows(lines);
        ASSERT_EQ(rows.size(), 39u); // the zero row, then the 38 points
        EXPECT_EQ(rows[0], std::make_pair(0.0, 0.0));
        const SpectrumArray& c = *Curves[k];
        for (int i = 1; i <= 38; ++i) {
            EXPECT_NEAR(rows[static_cast<std::size_t>(i)].first, 1.3 + (i - 1) * 0.5, 1e-5) << i;
            EXPECT_NEAR(rows[static_cast<std::size_t>(i)].second, c(i + 3), 1e-6 * std::fabs(c(i + 3)) + 1e-30) << i;
        }
    }
    // A curve in the main window's layout (first energy 0, first value at one
    // step), as Keff is after a main-window calculation, keeps its rows.
    SingleArray mainLayout(0, kResultUpper);
    mainLayout(1) = 3;
    mainLayout(3) = 0.5f;
    mainLayout(4) = 1;
    mainLayout(5) = 2;
    mainLayout(6) = 3;
    ASSERT_TRUE(SaveResultFileFromFirstEnergy(*w.xps, QStringLiteral("main.dat"), mainLayout, {"a"}, QString()));
    const auto rows = DataRows(FileLines(QDir(dir.path()).filePath(QStringLiteral("main.dat"))));
    const std::vector<std::pair<double, double>> expected{{0, 0}, {0.5, 1}, {1, 2}, {1.5, 3}};
    EXPECT_EQ(rows, expected);

    ASSERT_NE(w.xps->cmdCancel1, nullptr);
    w.xps->cmdCancel1->click();
    EXPECT_TRUE(w.xps->frameSave_xps(3)->isHidden());
}

// The file of Keff byte for byte (header, model, result line, rows), written
// by the program and read through; lines end in CR LF in the file, and the
// line "{model}" stands for the model block (PinnedFileBytes).
const char* const kPinnedKeff = R"(keff():  Effective cross section for photo electron excited at depth X0 =10 Å
Calculated with the photoelectron model with core hole
Effective charge of the hole = 1 electron charge units
Emission angle = 0
ELF function from the file free_electron_metal.elf. Primary energy = 1000 eV.
pinned run
{model}

Total IMFP = 9.37Å
Valence electr. contrib. IMFPv = 9.37Å
Core electr. contrib. IMFPc = 203759.13Å

Area of total K = 1.07E-01 (Å^-1)
Area of K for infinite medium = 7.04E-02 (Å^-1)
Area of K_vacuum with effect of hole = -7.21E-03 (Å^-1)
Area of K_vacuum without effect of hole = 3.77E-02 (Å^-1)
Area of K_medium with effect of hole = 1.10E-01 (Å^-1)
Area of K_medium without effect of hole = -3.33E-02 (Å^-1)

The effective cross section data are listed below in two columns:
first column is the energy loss (eV)
second column is the cross section (ev^-1 Å^-1)
@
 0             0 
 5             0.0003033702 
 10            0.0009695131 
 15            0.01386323 
 20            0.006210646 
)";

// One file pinned byte for byte; a curve is saved and shown only while it
// holds the window's own last run.
TEST(PhotoemissionWindow, KeffIsWrittenByteForByteWhileItIsTheWindowsOwn) {
    World& w = TheWindow();
    ReadModel(w, kModels[0]);
    SetBoxes(w, {"1000", "5", "5", "10", "0", "1", "20", "100"});
    Calculate(w);
    ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
    // The header quotes the boxes of the run, not what they hold at the save.
    SetBoxes(w, {"900", "1", "1", "12", "30", "2", "40", "50"});
    QTemporaryDir dir;
    w.xps->Dir2->setPath(dir.path());
    w.page->txtDescription97->setPlainText(QStringLiteral("pinned run"));
    w.page->txtSaveFile97->setText(QStringLiteral("keff.dat"));
    w.page->saveButtons[0]->click();
    ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
    QFile written(QDir(dir.path()).filePath(QStringLiteral("keff.dat")));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), PinnedFileBytes(kPinnedKeff));
    written.close();
    w.page->txtDescription97->clear();

    // A thin-film run in the main window replaces Keff: neither "Save Keff"
    // nor "Keff" uses it, and both name the thin-film calculation. The
    // window's other curves are still its own.
    auto* thinFilm = w.main->findChild<QPushButton*>(QStringLiteral("cmdCalcKeffthinfilm"));
    ASSERT_NE(thinFilm, nullptr);
    for (const auto& [box, text] : {std::pair{"txtpartval_0", "1000"}, std::pair{"txtpartval_1", "50"},
                                    std::pair{"txtpartval_2", "50"}, std::pair{"txtpartval_3", "0.2"}})
        w.main->findChild<QLineEdit*>(QString::fromLatin1(box))->setText(QString::fromLatin1(text));
    thinFilm->click();
    ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
    ASSERT_TRUE(QFile::remove(written.fileName()));
    w.page->saveButtons[0]->click();
    w.page->cmdKeff->click();
    ASSERT_EQ(w.rec->messages.size(), 2);
    EXPECT_EQ(w.rec->messages[0].text, QStringLiteral("Nothing was written: the curve now holds the result of the "
                                                      "thin-film calculation, which ran after this page's. Calculate "
                                                      "again on this page, then save."));
    EXPECT_TRUE(w.rec->messages[1].text.startsWith(
        QStringLiteral("Nothing is shown: the curve now holds the result of the thin-film calculation")));
    EXPECT_FALSE(written.exists());
    w.rec->messages.clear();
    w.page->saveButtons[1]->click();
    w.page->cmdkinf->click();
    EXPECT_TRUE(w.rec->messages.isEmpty());
    EXPECT_EQ(w.xps->Plot_xps().PlotN, 4);
}

TEST(PhotoemissionWindow, RefusedRunsNameTheBoxAndChangeNothing) {
    World& w = TheWindow();
    ReadModel(w, kModels[0]);
    SetBoxes(w, Defaults());
    Calculate(w);
    ASSERT_TRUE(w.rec->messages.isEmpty());
    const std::vector<float> keff(Module1::Keff.data(), Module1::Keff.data() + Module1::Keff.size());
    const QString result = Module1::ResultText;
    // No curve changes, and nothing of the good run stays on show: the
    // areas, the title with the mean free paths; the show buttons say why.
    const auto expectNothingOnShow = [&w] {
        EXPECT_EQ(w.xps->txt_XPS_Areas->text(), QString());
        EXPECT_TRUE(w.xps->txt_XPS_Areas->isHidden());
        EXPECT_EQ(w.xps->Text2_xps->text(), QString());
        EXPECT_TRUE(w.xps->Text2_xps->isHidden());
        EXPECT_TRUE(Blank(w.xps->picPlot_xps->image()));
        w.rec->messages.clear();
        w.page->cmdKeff->click();
        w.page->cmdKh->click();
        ASSERT_EQ(w.rec->messages.size(), 2);
        for (const auto& m : w.rec->messages)
            EXPECT_EQ(m.text, QStringLiteral("Nothing is shown: the last calculation of this page gave no result. "
                                             "Calculate again."));
    };
    ASSERT_FALSE(w.xps->txt_XPS_Areas->isHidden());
    ASSERT_FALSE(w.xps->Text2_xps->isHidden());
    const struct {
        int box;
        const char* text;
        const char* message; // part of the message
    } cases[] = {
        {0, "abc", "The box \"Ep\" holds \"abc\": this is not a number."},
        {1, "0", "The box \"Estep\" holds \"0\": the step must be greater than 0."},
        {2, "0", "The box \"Emin\" holds \"0\": the value must be greater than 0"},
        {2, "-1", "The box \"Emin\" holds \"-1\": the value must be greater than 0"},
        // A grid of fewer than two losses names Emax, the box the user must raise.
        {2, "60",
         "The box \"Emax\" holds \"50\": the grid must hold at least two losses: the maximum must be at least the "
         "second loss, 60.5 eV."},
        {6, "0",
         "The box \"Emax\" holds \"0\": the grid must hold at least two losses: the maximum must be at least the "
         "second loss, 1 eV."},
        {6, "0.1", "The box \"Emax\" holds \"0.1\": the grid must hold at least two losses"},
        {6, "0.5", "The box \"Emax\" holds \"0.5\": the grid must hold at least two losses"}, // Emin = Emax
        {6, "1000", "The box \"Emax\" holds \"1000\": every energy loss must be below Ep."},
        {3, "0", "The box \"X0\" holds \"0\": the value must be at least 0.001 \u00C5."},
        // Far above 100 keV the integration over k no longer resolves the
        // losses: Ep = 1E30 showed a total mean free path of 0.00 Å.
        {0, "1E30", "The box \"Ep\" holds \"1E30\": the value must be greater than 0 and at most 100000 eV."},
        {4, "90", "The box \"theta\" holds \"90\": the value must be at least 0 and less than 90 degrees."},
        {4, "-5", "The box \"theta\" holds \"-5\""},
        {5, "", "The box \"q-hole\" is empty: a number is needed."},
        {5, "-1", "The box \"q-hole\" holds \"-1\": the charge of the core hole must not be negative."},
        {7, "0", "The box \"n_integr\" holds \"0\": the value must be a whole number from 1 to 5000."},
        {7, "5001", "The box \"n_integr\" holds \"5001\""},
        {7, "40000", "The box \"n_integr\" holds \"40000\": this is not a whole number from 1 to 5000."},
        {6, "600", "max number of points is 1000"}, // 1200 library points
        // Emax/Estep = 1000.4 rounds to 1000, but the library's grid from 0.1 has 1001 points.
        {6, "500.2", "max number of points is 1000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SetBoxes(w, Defaults());
        if (c.box == 6 && QString::fromLatin1(c.text) == QStringLiteral("500.2")) {
            w.page->txtpar97Val[2]->setText(QStringLiteral("0.1"));
            w.page->txtpar97Val[0]->setText(QStringLiteral("2000"));
        }
        if (c.box == 6 && QString::fromLatin1(c.text) == QStringLiteral("600"))
            w.page->txtpar97Val[0]->setText(QStringLiteral("2000"));
        w.page->txtpar97Val[static_cast<std::size_t>(c.box)]->setText(QString::fromLatin1(c.text));
        Calculate(w);
        ASSERT_EQ(w.rec->messages.size(), 1);
        EXPECT_TRUE(w.rec->messages[0].text.contains(QString::fromUtf8(c.message)))
            << w.rec->messages[0].text.toStdString();
        EXPECT_EQ(w.rec->busyDepth, 0);
        EXPECT_EQ(std::vector<float>(Module1::Keff.data(), Module1::Keff.data() + Module1::Keff.size()), keff);
        EXPECT_EQ(Module1::ResultText, result);
        expectNothingOnShow();
    }

    // Totals and mean free paths that are not physical name the quantity;
    // nothing changes.
    const float ac = Module1::Core_ac, gap = Module1::Egap;
    const struct {
        float ac, gap;
        const char *Ep, *Emax, *hole, *X0;
        const char* message;
    } unphysical[] = {
        {0, gap, "1000", "50", "1", "10", "Core electr. contrib. IMFPc is not a finite number"}, // ac = 0
        {ac, gap, "5", "4", "1", "10", "Core electr. contrib. IMFPc = -12"}, // ln Ep + bc < 0 (bc = -2)
        // A mean free path too short for its format is no result either.
        {ac, gap, "1000", "50", "1", "0.001", "Total IMFP = 0.00\u00C5 is not physical"},
    };
    for (const auto& c : unphysical) {
        SCOPED_TRACE(c.message);
        Module1::Core_ac = c.ac;
        Module1::Egap = c.gap;
        SetBoxes(w, Defaults());
        w.page->txtpar97Val[0]->setText(QString::fromLatin1(c.Ep));
        w.page->txtpar97Val[6]->setText(QString::fromLatin1(c.Emax));
        w.page->txtpar97Val[5]->setText(QString::fromLatin1(c.hole));
        w.page->txtpar97Val[3]->setText(QString::fromLatin1(c.X0));
        const float imfp = Module1::IMFPxps;
        Calculate(w);
        ASSERT_EQ(w.rec->messages.size(), 1);
        EXPECT_TRUE(w.rec->messages[0].text.startsWith(QString::fromUtf8(c.message)))
            << w.rec->messages[0].text.toStdString();
        EXPECT_TRUE(w.rec->messages[0].text.endsWith(
            QStringLiteral(": the model gives no physical result for these parameters.")));
        EXPECT_EQ(std::vector<float>(Module1::Keff.data(), Module1::Keff.data() + Module1::Keff.size()), keff);
        EXPECT_EQ(Module1::ResultText, result);
        EXPECT_EQ(Module1::IMFPxps, imfp);
    }
    Module1::Core_ac = ac;
    // A gap above every loss leaves no loss to compute: Emax is named.
    Module1::Egap = 60.0f;
    SetBoxes(w, Defaults());
    Calculate(w);
    ASSERT_EQ(w.rec->messages.size(), 1);
    EXPECT_EQ(w.rec->messages[0].text,
              QStringLiteral("The box \"Emax\" holds \"50\": the losses of the grid end at 50 eV, below the energy gap "
                             "of the model, 60 eV: the maximum must lie above the gap."));
    EXPECT_EQ(Module1::ResultText, result);
    Module1::Egap = gap;

    // No model.
    for (SingleArray* a : {&Module1::W0, &Module1::A0, &Module1::Gamma, &Module1::Alfa}) a->clear();
    Module1::NumOsc = 0;
    SetBoxes(w, Defaults());
    Calculate(w);
    ASSERT_EQ(w.rec->messages.size(), 1);
    EXPECT_EQ(w.rec->messages[0].text, QStringLiteral("You must first read ELF data file"));
    EXPECT_EQ(Module1::ResultText, result);

    // No library in the library folder: a message, and the next run finds it again.
    ReadModel(w, kModels[0]);
    QTemporaryDir empty;
    SetLibraryFolder(empty.path());
    Module1::ForgetBindings();
    Calculate(w);
    ASSERT_EQ(w.rec->messages.size(), 1);
    EXPECT_TRUE(w.rec->messages[0].text.startsWith(QStringLiteral("The photoelectron library could not be called")));
    EXPECT_EQ(Module1::ResultText, result);
    SetLibraryFolder(QStringLiteral(KELVARA_BIN_DIR));
    Module1::ForgetBindings();
    Calculate(w);
    EXPECT_TRUE(w.rec->messages.isEmpty());
    // A good run shows its title and areas again.
    EXPECT_FALSE(w.xps->Text2_xps->isHidden());
    EXPECT_FALSE(w.xps->txt_XPS_Areas->isHidden());
}

// A model read in the main window: the run shows its mean free paths all the same.
TEST(PhotoemissionWindow, ARunShowsTheTitleWithTheMeanFreePathsWhereverTheModelWasRead) {
    World& w = TheWindow();
    w.main->Dir1->setPath(QStringLiteral(KELVARA_SOURCE_DIR "/examples"));
    w.main->File1->setFileName(QString::fromLatin1(kModels[0]));
    w.main->findChild<QPushButton*>(QStringLiteral("cmdELFfile96"))->click();
    w.main->option(5)->click();
    SetBoxes(w, Defaults());
    Calculate(w);
    ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
    EXPECT_FALSE(w.xps->Text2_xps->isHidden());
    EXPECT_TRUE(w.xps->Text2_xps->text().contains(QStringLiteral("Total IMFP")));
}

TEST(PhotoemissionWindow, TheCurvesHoldTheLibrarysCountFromEmin) {
    World& w = TheWindow();
    ReadModel(w, kModels[2]);
    const struct {
        const char *Emin, *Estep, *Emax;
        int points;
    } grids[] = {
        {"0.5", "0.5", "500", 1000},    // the largest grid
        {"0.45", "0.5", "500.4", 1000}, // Emax/Estep rounds to 1001, the library's grid has 1000
        {"1", "0.5", "50", 99},         // Emin moves the count
        {"0.1", "0.5", "50.2", 101},    // Emax/Estep rounds to 100, the library's grid has 101
        {"20", "0.5", "20.5", 2},       // the smallest grid
    };
    for (const auto& g : grids) {
        SCOPED_TRACE(g.Emax);
        SetBoxes(w, {"2000", g.Estep, g.Emin, "10", "0", "1", g.Emax, "5"});
        Calculate(w);
        ASSERT_TRUE(w.rec->messages.isEmpty()) << w.rec->messages.first().text.toStdString();
        const Direct d = CallDurmel(2000, Number(g.Estep), Number(g.Emin), Number(g.Emax), 10, 0, 5, 1);
        EXPECT_EQ(Module1::Keff(1), static_cast<float>(g.points));
        EXPECT_EQ(Module1::keff_vacuum_nh(2), static_cast<float>(Number(g.Emin)));
        EXPECT_EQ(Module1::Keff(g.points + 3), d.parts[0](g.points));
        EXPECT_NE(Module1::Keff(g.points + 3), 0.0f);
        EXPECT_EQ(w.xps->Plot_xps().PlotN, g.points);
    }
}

TEST(PhotoemissionWindow, LowScreenWarnsOnceAStart) {
    if (!UseOffscreenScreen(1024, 768)) GTEST_SKIP() << "another screen in this process";
    const Program p = StartProgram();
    // The main form's warning, once the window is shown; the photoemission
    // window loaded after it adds none.
    QCoreApplication::processEvents();
    ASSERT_EQ(p.services->messages.size(), 1);
    EXPECT_TRUE(p.services->messages[0].text.startsWith(QStringLiteral("Screen resolution may be too low")));
    // A window loaded on its own gives the warning itself.
    formXPS alone;
    alone.Form_Load();
    QCoreApplication::processEvents();
    EXPECT_EQ(p.services->messages.size(), 2);
    EXPECT_EQ(p.services->messages[1].text, p.services->messages[0].text);
    alone.hide();
}

namespace {
void Picture(int width, int height) {
    const QByteArray target = qgetenv("KELVARA_SCREENSHOT");
    if (target.isEmpty()) GTEST_SKIP() << "KELVARA_SCREENSHOT not set";
    if (!UseOffscreenScreen(width, height)) GTEST_SKIP() << "another screen in this process";
    World& w = TheWindow(width, height);
    w.main->option(5)->click();
    ReadModel(w, kModels[0]);
    SetBoxes(w, Defaults());
    Calculate(w);
    ASSERT_TRUE(w.rec->messages.isEmpty());
    QString path = QString::fromLocal8Bit(target);
    path.insert(path.lastIndexOf(QLatin1Char('.')), QStringLiteral("_%1x%2").arg(width).arg(height));
    EXPECT_TRUE(w.xps->grab().toImage().save(path));
    w.page->cmdSave97->click();
    QString save = path;
    save.insert(save.lastIndexOf(QLatin1Char('.')), QStringLiteral("_save"));
    EXPECT_TRUE(w.xps->grab().toImage().save(save));
}
} // namespace

TEST(PhotoemissionWindow, PictureAt1024x768) { Picture(1024, 768); }
TEST(PhotoemissionWindow, PictureAt1280x1024) { Picture(1280, 1024); }
