// The "ELF data" page through its real widgets: read, edit, rescale, sort,
// save, the sum rule, and what a file that cannot be read leaves behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "file_lines.h"
#include "main/elf_page.h"
#include "platform/numbers.h"
#include "program_fixture.h"
#include "shared/oscillator_model.h"
#include "shared/result_file.h"
#include "state/binder.h"
#include "widgets/picturebox.h"
#include "write_text.h"

using namespace kelvara;

namespace {

using kelvara::testing::WriteText;

QString Model(const QString& params, const QString& rows) { return "test model\r\n@\r\n" + params + rows; }

struct Page {
    testsupport::Program program;
    Form1* f = nullptr;
    QTemporaryDir dir;
    int plots = 0;
    QObject context; // ends the plot counter with the test

    Page() {
        testsupport::UseOffscreenScreen(1280, 1024);
        program = testsupport::StartProgram();
        SetLibraryFolder(QStringLiteral(KELVARA_BIN_DIR));
        f = program.form;
        f->Dir1->setPath(dir.path());
        box("txtE_step")->setText("0.2");
        box("txtE_max")->setText("100");
        QObject::connect(f, &Form1::plotCleared, &context, [this] { ++plots; });
    }
    QLineEdit* box(const QString& name) const {
        auto* b = f->findChild<QLineEdit*>(name);
        EXPECT_NE(b, nullptr) << name.toStdString();
        return b;
    }
    QLineEdit* cell(const char* column, int row) const { return box(QString("%1_%2").arg(column).arg(row)); }
    void click(const char* name) const {
        auto* b = f->findChild<QPushButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        b->click();
    }
    void file(const QString& name, const QString& text) {
        WriteText(dir.filePath(name), text);
        f->File1->refresh();
    }
    void read(const QString& name) {
        f->File1->setFileName(name);
        click("cmdReadELFdata");
    }
    ElfPage& page() const { return *f->findChild<ElfPage*>(); }
    RecordingServices& services() const { return *program.services; }
};

QString FloatText(float v) { return QString::fromStdString(GeneralText(v)); }

const QString kTwo = Model("0.001,-2\r\n0\r\n999\r\n", " 10 50 1 1\r\n 20 200 2 0.5\r\n");

} // namespace

TEST(ElfPage, ReadFillsTheTableComputesTheSumAndPlots) {
    Page p;
    p.file("two.elf", kTwo);
    p.cell("txtw0", 5)->setText("99"); // an old row below the new model
    p.plots = 0;
    p.read("two.elf");

    using namespace Module1;
    EXPECT_EQ(NumOsc, 2);
    EXPECT_EQ(p.box("txtNELFdata")->text(), "2");
    EXPECT_EQ(p.cell("txtw0", 1)->text(), "10");
    EXPECT_EQ(p.cell("txtA0", 2)->text(), "200");
    EXPECT_EQ(p.cell("txtgamma", 2)->text(), "2");
    EXPECT_EQ(p.cell("txtalfa", 2)->text(), "0.5");
    EXPECT_EQ(p.cell("txtw0", 5)->text(), "");
    EXPECT_EQ(p.box("txt_Core_ac")->text(), "0.001");
    EXPECT_EQ(p.box("txtRef_Index")->text(), "999");
    EXPECT_EQ(p.box("txtELFFilename")->text(), "two.elf");
    EXPECT_EQ(ModelFilePath(), JoinPath(p.dir.path(), "two.elf"));
    const float expected = (0.5f + 0.5f) + 1.0f / (999.0f * 999.0f);
    EXPECT_EQ(fsum, expected);
    EXPECT_EQ(p.box("txtfsum")->text(), FloatText(expected));
    EXPECT_EQ(p.box("txtfsum")->text(), "1.000001");
    EXPECT_EQ(PlotBuf(1), 499.0f);
    EXPECT_EQ(p.plots, 1); // the read's own plot; the filling ran no update
    EXPECT_EQ(FillingBoxes, False);
    EXPECT_TRUE(p.services().messages.isEmpty());
}

TEST(ElfPage, SavedModelReadsBackAndEditsFollowTheBoxes) {
    Page p;
    p.file("two.elf", kTwo);
    p.read("two.elf");
    using namespace Module1;

    // Typing into a w0 box: every keystroke rebuilds the model and re-plots.
    p.plots = 0;
    p.cell("txtw0", 3)->insert("3");
    p.cell("txtA0", 3)->insert("4");
    p.cell("txtgamma", 3)->insert("1");
    p.cell("txtalfa", 3)->insert("1");
    p.cell("txtw0", 3)->insert("0");
    EXPECT_EQ(NumOsc, 3);
    EXPECT_EQ(W0(3), 30.0f);
    // "3", "4", "1": a box of the row is still empty, the update ends there
    // and the curve is cleared once; the alpha fills the last empty box and
    // brings the curve back; "0" changes the row.
    EXPECT_EQ(p.plots, 3);

    // An alpha box of a usable table enters the model only at the next update.
    p.cell("txtalfa", 1)->setText("0.25");
    EXPECT_EQ(Alfa(1), 1.0f);
    EXPECT_EQ(p.plots, 3);
    p.box("txtE_Gap")->setText("0.5");
    EXPECT_EQ(Alfa(1), 0.25f);
    EXPECT_EQ(Egap, 0.5f);
    EXPECT_EQ(p.plots, 4);

    // Rows below the first empty w0 box are ignored.
    p.cell("txtw0", 5)->setText("50");
    p.cell("txtA0", 5)->setText("1");
    p.cell("txtgamma", 5)->setText("1");
    p.cell("txtalfa", 5)->setText("1");
    EXPECT_EQ(NumOsc, 3);
    EXPECT_EQ(p.box("txtNELFdata")->text(), "3");
    EXPECT_EQ(fsum, 0.5f + 0.5f + 4.0f / 900.0f + 1.0f / (999.0f * 999.0f));

    // Save under a new name and read it back.
    p.box("txtELFFilename")->setText("saved.elf");
    p.click("cmdSaveELFdata");
    EXPECT_TRUE(QFile::exists(p.dir.filePath("saved.elf")));
    OscillatorModelValues m;
    ASSERT_TRUE(ReadModelFile(p.dir.filePath("saved.elf"), m, nullptr));
    p.cell("txtw0", 1)->setText("77");
    p.read("saved.elf");
    EXPECT_EQ(NumOsc, 3);
    EXPECT_EQ(m.NumOsc, 3);
    const float w[3] = {10, 20, 30}, a[3] = {50, 200, 4}, g[3] = {1, 2, 1}, al[3] = {0.25f, 0.5f, 1};
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(W0(i), w[i - 1]);
        EXPECT_EQ(A0(i), a[i - 1]);
        EXPECT_EQ(Gamma(i), g[i - 1]);
        EXPECT_EQ(Alfa(i), al[i - 1]);
    }
    EXPECT_EQ(Egap, 0.5f);
    EXPECT_EQ(p.cell("txtw0", 1)->text(), "10");
    EXPECT_TRUE(p.services().messages.isEmpty());
}

TEST(ElfPage, RescaleSortAndHints) {
    Page p;
    p.file("three.elf", Model("0.001,-2\r\n0\r\n2\r\n", " 15 225 3 1\r\n 5 50 1 0.5\r\n 10 25 2 0.1\r\n"));
    p.read("three.elf");
    using namespace Module1;
    const float f0 = fsum; // 1 + 2 + 0.25 + 0.25
    EXPECT_EQ(f0, 3.5f);
    p.click("cmdAutoRescaleInt");
    // The box shows as many digits as give the rescaled value back.
    EXPECT_EQ(A0(2), 50.0f / 3.5f);
    EXPECT_EQ(p.cell("txtA0", 2)->text(), "14.285714");
    EXPECT_NEAR(fsum, (3.5 - 0.25) / 3.5 + 0.25, 1e-6);
    EXPECT_EQ(FillingBoxes, False);

    // Sort: rows by w0, their other columns moved along; the file written.
    p.box("txtELFFilename")->setText("sorted.elf");
    p.click("cmdSortOscillators");
    const char* const w0[3] = {"5", "10", "15"};
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(p.cell("txtw0", i)->text(), w0[i - 1]);
    EXPECT_EQ(p.cell("txtalfa", 1)->text(), "0.5");
    EXPECT_EQ(p.cell("txtgamma", 2)->text(), "2");
    EXPECT_EQ(p.cell("txtgamma", 3)->text(), "3");
    OscillatorModelValues m;
    ASSERT_TRUE(ReadModelFile(p.dir.filePath("sorted.elf"), m, nullptr));
    ASSERT_EQ(m.NumOsc, 3);
    EXPECT_EQ(m.W0(1), 5.0f);
    EXPECT_FLOAT_EQ(m.A0(1), 50.0f / 3.5f);
    EXPECT_EQ(m.Alfa(1), 0.5f);
    EXPECT_EQ(m.W0(3), 15.0f);
    EXPECT_EQ(W0(1), 5.0f);
    EXPECT_EQ(Alfa(3), 1.0f);
    EXPECT_TRUE(p.services().messages.isEmpty());

    // No file name typed yet: the user is told once that the table could not
    // be saved, and the rows are sorted all the same.
    p.box("txtELFFilename")->setText("");
    p.cell("txtw0", 1)->setText("12"); // 12, 10, 15
    p.click("cmdSortOscillators");
    EXPECT_EQ(p.cell("txtw0", 1)->text(), "10");
    EXPECT_EQ(p.cell("txtgamma", 1)->text(), "2");
    EXPECT_EQ(p.cell("txtw0", 2)->text(), "12");
    EXPECT_EQ(p.cell("txtalfa", 2)->text(), "0.5");
    EXPECT_EQ(W0(1), 10.0f);
    EXPECT_EQ(Alfa(2), 0.5f);
    ASSERT_EQ(p.services().messages.size(), 1);
    EXPECT_TRUE(p.services().messages[0].text.startsWith(RefusedFileNameMessage("")));
    EXPECT_FALSE(p.services().messages[0].text.contains("Bad file name")); // no internal error names

    p.click("cmdTypicalRefrIndexValues");
    EXPECT_EQ(p.f->txtinfo(4)->text(),
              "Metals:\r\n in general n > 3\r\nPolymers:\r\n In general 1 < n < 2. Typical "
              "value n ~ 1.5.\r\nOxides:\r\n SiO2 n= 1.5; Al2O3 n= 1.7; ZnO n = 2.0; ZrO2 n = 2.2");
    p.click("cmdWhatIsKK_SumRule");
    EXPECT_EQ(p.f->txtinfo(4)->text(), " 1 = (2/pi)Integral(1/T*Im(-1/epsilon)dT + 1/n^2");
    EXPECT_EQ(p.services().messages.size(), 1);
}

// A value of 9 digits read, saved from the untouched table and sorted: the
// file gives back the floats first read, and the model a calculation ran with
// is still in use, so its result is saved under the file's name.
TEST(ElfPage, AnUntouchedTableSavesTheValuesReadAndASortChangesNoModel) {
    Page p;
    p.file("fine.elf", Model("0.001,-2\r\n0\r\n1.5\r\n", " 20 200 2 1\r\n 15.8123456 100.000123 1 1\r\n"));
    OscillatorModelValues read;
    ASSERT_TRUE(ReadModelFile(p.dir.filePath("fine.elf"), read, nullptr));
    p.read("fine.elf");
    p.f->option(1)->click();
    p.click("cmdCalcKInfFilm");
    p.click("Command6");
    p.f->option(6)->click();
    p.click("cmdSaveELFdata");
    p.click("cmdSortOscillators");
    EXPECT_EQ(p.cell("txtw0", 1)->text(), "15.8123455");
    p.click("cmdCancelELF_0");
    OscillatorModelValues saved;
    ASSERT_TRUE(ReadModelFile(p.dir.filePath("fine.elf"), saved, nullptr));
    ASSERT_EQ(saved.NumOsc, 2);
    for (int i = 1; i <= 2; ++i) { // the rows sorted by w0
        EXPECT_EQ(saved.W0(i), read.W0(3 - i));
        EXPECT_EQ(saved.A0(i), read.A0(3 - i));
        EXPECT_EQ(saved.Gamma(i), read.Gamma(3 - i));
    }
    p.f->option(1)->click();
    p.box("txtFileNameCrossSection")->setText("k.txt");
    p.click("cmdSaveCrossSection");
    EXPECT_TRUE(p.services().messages.isEmpty()) << p.services().messages.value(0).text.toStdString();
    EXPECT_EQ(FileLines(p.dir.filePath("k.txt")).value(1), "ELF function from the file fine.elf. ");
}

TEST(ElfPage, FilesThatCannotBeReadLeaveTheModelAndTheTable) {
    Page p;
    p.file("two.elf", kTwo);
    p.read("two.elf");
    p.cell("txtalfa", 1)->setText("0.75"); // typed, not yet in the model
    p.file("nosep.elf", "no separator line\r\n0,0\r\n");
    p.file("badnum.elf", Model("5,6\r\n7\r\n8\r\n", " 1 2 3 4\r\n 1 x 3 4\r\n"));
    QString rows;
    for (int i = 1; i <= 21; ++i) rows += QString(" %1 1 1 1\r\n").arg(i);
    p.file("many.elf", Model("5,6\r\n7\r\n8\r\n", rows));
    p.file("gone.elf", kTwo);
    QFile::remove(p.dir.filePath("gone.elf")); // still listed in the browser

    using namespace Module1;
    int expectedMessages = 0;
    for (const char* name : {"nosep.elf", "badnum.elf", "many.elf", "gone.elf"}) {
        SCOPED_TRACE(name);
        p.read(name);
        ++expectedMessages;
        ASSERT_EQ(p.services().messages.size(), expectedMessages);
        EXPECT_TRUE(p.services().messages.last().text.contains("could not be read"));
        EXPECT_EQ(NumOsc, 2);
        EXPECT_EQ(W0(1), 10.0f);
        EXPECT_EQ(A0(2), 200.0f);
        EXPECT_EQ(Core_ac, 0.001f);
        EXPECT_EQ(Core_bc, -2.0f);
        EXPECT_EQ(Egap, 0.0f);
        EXPECT_EQ(RefIndex, 999.0f);
        EXPECT_EQ(FillingBoxes, False);
        EXPECT_EQ(p.cell("txtw0", 2)->text(), "20");
        EXPECT_EQ(p.box("txtE_Gap")->text(), "0");
        EXPECT_EQ(p.box("txtELFFilename")->text(), "two.elf");
    }
    // The table still updates the model.
    p.cell("txtw0", 2)->setText("25");
    EXPECT_EQ(W0(2), 25.0f);
    EXPECT_EQ(Alfa(1), 0.75f);
}

TEST(ElfPage, TwentyOscillatorsZerosAndBoxesThatAreNoNumbers) {
    Page p;
    QString rows;
    for (int i = 1; i <= 20; ++i) rows += QString(" %1 %2 1 1\r\n").arg(i * 2).arg(i * 0.4);
    p.file("twenty.elf", Model("0.001,-2\r\n0\r\n999\r\n", rows + "\r\n\r\n"));
    p.read("twenty.elf");
    using namespace Module1;
    EXPECT_EQ(NumOsc, 20); // the whole model is in use and in the table
    EXPECT_EQ(W0(20), 40.0f);
    EXPECT_EQ(p.cell("txtw0", 20)->text(), "40");
    EXPECT_EQ(p.cell("txtA0", 20)->text(), "8");
    EXPECT_EQ(p.box("txtNELFdata")->text(), "20");
    EXPECT_TRUE(p.services().messages.isEmpty());
    EXPECT_EQ(FillingBoxes, False);
    double sum = 1.0 / (999.0 * 999.0);
    for (int i = 1; i <= 20; ++i) sum += i * 0.4 / (4.0 * i * i);
    EXPECT_NEAR(fsum, sum, 1e-5);
    EXPECT_EQ(PlotBuf(1), 499.0f);

    // "Save" under the same name writes all 20 rows; rescale and sort keep them.
    p.click("cmdSaveELFdata");
    OscillatorModelValues back;
    ASSERT_TRUE(ReadModelFile(p.dir.filePath("twenty.elf"), back, nullptr));
    ASSERT_EQ(back.NumOsc, 20);
    for (int i = 1; i <= 20; ++i) {
        EXPECT_EQ(back.W0(i), 2.0f * i);
        EXPECT_FLOAT_EQ(back.A0(i), 0.4f * i);
    }
    p.click("cmdAutoRescaleInt");
    EXPECT_EQ(NumOsc, 20);
    p.box("txtELFFilename")->setText("sorted.elf");
    p.click("cmdSortOscillators");
    EXPECT_EQ(NumOsc, 20);
    EXPECT_EQ(p.services().messages.size(), 0);

    // A zero w0 or refractive index cannot be used: the model stays, the sum
    // box empties.
    p.cell("txtw0", 1)->setText("0");
    EXPECT_EQ(W0(1), 2.0f);
    EXPECT_EQ(p.box("txtfsum")->text(), "");
    p.cell("txtw0", 1)->setText("2");
    EXPECT_NE(p.box("txtfsum")->text(), "");
    p.box("txtRef_Index")->setText("0");
    EXPECT_EQ(RefIndex, 999.0f);
    EXPECT_EQ(p.box("txtfsum")->text(), "");
    p.box("txtRef_Index")->setText("999");

    // A box that is not a number: the update ends quietly; a save names the
    // box and writes nothing; the sort does nothing.
    p.cell("txtA0", 2)->setText("abc");
    EXPECT_EQ(p.services().messages.size(), 0);
    p.box("txtELFFilename")->setText("never.elf");
    p.click("cmdSaveELFdata");
    ASSERT_EQ(p.services().messages.size(), 1);
    EXPECT_TRUE(p.services().messages[0].text.contains("The box \"A0 in row 2\" holds \"abc\""));
    EXPECT_FALSE(QFile::exists(p.dir.filePath("never.elf")));
    p.click("cmdSortOscillators");
    EXPECT_EQ(p.services().messages.size(), 2);
    EXPECT_FALSE(QFile::exists(p.dir.filePath("never.elf")));
    p.cell("txtA0", 2)->setText("1");

    // No file name: nothing written, the user is told.
    p.box("txtELFFilename")->setText("");
    p.click("cmdSaveELFdata");
    EXPECT_EQ(p.services().messages.size(), 3);

    // A bad grid box on the button: the guard shows the error.
    p.box("txtE_step")->setText("x");
    p.click("cmdPlotELF");
    EXPECT_EQ(p.services().messages.size(), 4);
    p.box("txtE_step")->setText("0.2");

    // A zero sum cannot be rescaled.
    fsum = 0.0f;
    p.click("cmdAutoRescaleInt");
    EXPECT_EQ(p.services().messages.size(), 5);
    EXPECT_TRUE(p.services().messages.last().text.contains("KK-sum is 0"));
}

// A value the dielectric function cannot use, typed after a usable one: the
// box is tinted and its tool tip says why, no sum and no curve are shown, the
// model in use stays and "Save" names the box; the usable value undoes it all.
TEST(ElfPage, UnusableValuesAreMarkedAtTheBoxAndShowNoSumOrCurve) {
    Page p;
    p.file("two.elf", kTwo);
    p.read("two.elf");
    const QString sum = p.box("txtfsum")->text();
    const QColor normal = p.cell("txtw0", 1)->palette().color(QPalette::Base);
    const auto blank = [&p] {
        const QImage& image = p.f->picPlot->image();
        QImage empty(image.size(), image.format());
        empty.fill(p.f->picPlot->backColor());
        return image == empty;
    };
    ASSERT_FALSE(blank());
    const struct {
        const char* box;
        const char* usable; // typed first: sum and curve shown
        const char* text;
        const char* why;
    } cases[] = {
        {"txtgamma_1", "1", "0", "The box \"gamma in row 1\" holds \"0\": the value must be greater than 0."},
        {"txtgamma_2", "2", "-1", "The box \"gamma in row 2\" holds \"-1\": the value must be greater than 0."},
        {"txtA0_1", "1e3", "1e39", "The box \"A0 in row 1\" holds \"1e39\": the number is too large."},
        {"txtA0_2", "200", "-5", "The box \"A0 in row 2\" holds \"-5\": the value must be at least 0."},
        {"txtRef_Index", "999", "0", "The box \"Refr. index\" holds \"0\": the value must be greater than 0."},
        {"txtRef_Index", "999", "abc", "The box \"Refr. index\" holds \"abc\": this is not a number."},
        {"txtRef_Index", "999", "NaN", "The box \"Refr. index\" holds \"NaN\": this is not a number."},
        {"txtw0_1", "10", "abc", "The box \"w0 in row 1\" holds \"abc\": this is not a number."},
        {"txtw0_2", "1", "1,5", "The box \"w0 in row 2\" holds \"1,5\": this is not a number."},
        {"txtE_Gap", "0", "x", "The box \"E_Gap\" holds \"x\": this is not a number."},
        // Retyping a w0 passes an empty box: the model does not end there.
        {"txtw0_2", "20", "", "The box \"w0 in row 2\" is empty: a number is needed."},
        // The boxes that enter the model only at the next update.
        {"txtalfa_2", "0.5", "abc", "The box \"alpha in row 2\" holds \"abc\": this is not a number."},
        {"txt_Core_ac", "0.001", "", "The box \"ac\" is empty: a number is needed."},
        {"txt_Core_bc", "-2", "1,5", "The box \"bc\" holds \"1,5\": this is not a number."},
    };
    p.box("txtELFFilename")->setText("two.elf");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        QLineEdit* box = p.box(c.box);
        const QString before = box->text();
        box->setText(c.usable);
        ASSERT_NE(p.box("txtfsum")->text(), "");
        ASSERT_FALSE(blank());
        const float w0 = Module1::W0(2), a0 = Module1::A0(1);
        box->setText(c.text);
        EXPECT_NE(box->palette().color(QPalette::Base), normal);
        EXPECT_EQ(box->toolTip(), QString::fromUtf8(c.why));
        EXPECT_EQ(p.box("txtfsum")->text(), "");
        EXPECT_TRUE(blank());
        EXPECT_EQ(Module1::NumOsc, 2);
        EXPECT_EQ(p.box("txtNELFdata")->text(), "2"); // the model in use
        EXPECT_EQ(Module1::W0(2), w0);
        EXPECT_EQ(Module1::A0(1), a0);
        EXPECT_TRUE(p.services().messages.isEmpty()); // no message while typing
        p.click("cmdSaveELFdata");
        ASSERT_EQ(p.services().messages.size(), 1);
        EXPECT_TRUE(p.services().messages[0].text.contains(QString::fromUtf8(c.why)));
        p.services().messages.clear();
        box->setText(before);
        EXPECT_EQ(box->palette().color(QPalette::Base), normal);
        EXPECT_EQ(p.box("txtfsum")->text(), sum);
        EXPECT_FALSE(blank());
    }
    // A plot grid of more than 1000 points: edits give no curve and no
    // message box, only a line in the status bar.
    p.box("txtE_step")->setText("0.01");
    for (const char* gamma : {"1.5", "1"}) {
        p.box("txtgamma_1")->setText(gamma);
        EXPECT_TRUE(p.services().messages.isEmpty()) << gamma;
        EXPECT_TRUE(blank()) << gamma;
        EXPECT_TRUE(
            p.f->sbStatusBarPanel1->text().startsWith("The box \"E_Max\" holds \"100\": max number of points is 1000"))
            << gamma;
    }
    p.box("txtE_step")->setText("0.2");
    p.box("txtgamma_1")->setText("1.5");
    EXPECT_FALSE(blank());
    p.box("txtgamma_1")->setText("1");
    // The file was never rewritten with a value that cannot be used.
    OscillatorModelValues back;
    ASSERT_TRUE(ReadModelFile(p.dir.filePath("two.elf"), back, nullptr));
    EXPECT_EQ(back.Gamma(1), 1.0f);
    EXPECT_EQ(back.RefIndex, 999.0f);
}

TEST(ElfPage, EveryExampleReadsThroughThePageAndPlots) {
    Page p;
    const QDir examples(QStringLiteral(KELVARA_SOURCE_DIR "/examples"));
    p.f->Dir1->setPath(examples.path());
    const QStringList files = examples.entryList({"*.elf"}, QDir::Files);
    ASSERT_GE(files.size(), 2);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        p.plots = 0;
        p.read(name);
        EXPECT_EQ(p.box("txtELFFilename")->text(), name);
        EXPECT_NEAR(Module1::fsum, 1.0, 1e-3);
        EXPECT_NEAR(p.box("txtfsum")->text().toDouble(), 1.0, 1e-3);
        EXPECT_EQ(p.plots, 1);
        ASSERT_EQ(Module1::PlotBuf(1), 499.0f);
        float peak = 0.0f;
        for (int i = 4; i <= 502; ++i) {
            ASSERT_TRUE(std::isfinite(Module1::PlotBuf(i)));
            ASSERT_GE(Module1::PlotBuf(i), 0.0f);
            peak = std::max(peak, Module1::PlotBuf(i));
        }
        EXPECT_GT(peak, 0.1f);
    }
    EXPECT_TRUE(p.services().messages.isEmpty());
}

// What a new user runs into: a file name in the box over an empty table, a
// typed name that leaves the folder, and grid boxes that cannot be used.
TEST(ElfPage, EmptyTablesAndUnsafeNamesWriteNothingAndBadGridBoxesAreNamed) {
    Page p;
    p.file("keep.elf", kTwo);
    auto contents = [&p](const QString& name) {
        QFile f(p.dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray original = contents("keep.elf");
    // The table as a new user finds it, whatever an earlier test typed.
    for (int i = 1; i <= ElfPage::kRows; ++i)
        for (const char* column : {"txtw0", "txtA0", "txtgamma", "txtalfa"}) p.cell(column, i)->setText("");

    // The table is empty while the name box holds a file and a model read
    // elsewhere (a calculation page's read button) is in use: neither the
    // file nor the model changes.
    ASSERT_TRUE(ReadELFData(p.dir.filePath("keep.elf"), Module1::W0, Module1::A0, Module1::Gamma, Module1::Alfa,
                            Module1::Egap, Module1::RefIndex, Module1::NumOsc, Module1::Core_ac, Module1::Core_bc));
    ASSERT_EQ(Module1::NumOsc, 2);
    p.box("txtELFFilename")->setText("keep.elf");
    p.click("cmdSaveELFdata");
    ASSERT_EQ(p.services().messages.size(), 1);
    EXPECT_TRUE(p.services().messages[0].text.contains("nothing was written"));
    EXPECT_EQ(contents("keep.elf"), original);
    EXPECT_EQ(Module1::NumOsc, 2);
    EXPECT_EQ(Module1::W0(2), 20.0f);
    p.click("cmdSortOscillators");
    EXPECT_EQ(p.services().messages.size(), 2);
    EXPECT_EQ(contents("keep.elf"), original);

    // A complete one-row table under names that are not plain.
    QDir(p.dir.path()).mkdir("sub");
    p.cell("txtw0", 1)->setText("10");
    p.cell("txtA0", 1)->setText("50");
    p.cell("txtgamma", 1)->setText("1");
    p.cell("txtalfa", 1)->setText("1");
    for (const char* bad : {"../escape.elf", "sub/x.elf", "a\\b.elf", "..", "   "}) {
        p.services().messages.clear();
        p.box("txtELFFilename")->setText(bad);
        p.click("cmdSaveELFdata");
        ASSERT_EQ(p.services().messages.size(), 1) << bad;
        EXPECT_TRUE(p.services().messages[0].text.startsWith(RefusedFileNameMessage(bad))) << bad;
    }
    EXPECT_FALSE(QFile::exists(p.dir.filePath("../escape.elf")));
    EXPECT_FALSE(QFile::exists(p.dir.filePath("sub/x.elf")));
    // A plain name the disk refuses (a folder of that name): the name was
    // typed, so the message says where else the model can go.
    p.services().messages.clear();
    p.box("txtELFFilename")->setText("sub");
    p.click("cmdSaveELFdata");
    ASSERT_EQ(p.services().messages.size(), 1);
    EXPECT_TRUE(p.services().messages[0].text.startsWith("The model could not be saved in\r\n" + p.dir.filePath("sub") +
                                                         "\r\n\r\n"));
    EXPECT_TRUE(p.services().messages[0].text.endsWith(
        "\r\n\r\nSave into another folder (choose it in the folder list) or under another name (type it in the "
        "box \"File name\")."));
    // The same table under a plain name is written and reads back.
    p.services().messages.clear();
    p.box("txtELFFilename")->setText("one.elf");
    p.click("cmdSaveELFdata");
    EXPECT_TRUE(p.services().messages.isEmpty());
    OscillatorModelValues back;
    ASSERT_TRUE(ReadELFData(p.dir.filePath("one.elf"), back.W0, back.A0, back.Gamma, back.Alfa, back.Egap,
                            back.RefIndex, back.NumOsc, back.Core_ac, back.Core_bc));
    EXPECT_EQ(back.NumOsc, 1);
    EXPECT_EQ(back.W0(1), 10.0f);

    // "Plot ELF" with a grid box that cannot be used: the box and its text in
    // the message, nothing plotted, the program-wide grid unchanged.
    const struct {
        const char* box;
        const char* text;
        const char* message;
    } grids[] = {{"txtE_step", "x", "The box \"E_step\" holds \"x\": this is not a number."},
                 {"txtE_step", "0", "The box \"E_step\" holds \"0\": the value must be greater than 0."},
                 {"txtE_step", "-0.2", "The box \"E_step\" holds \"-0.2\": the value must be greater than 0."},
                 {"txtE_max", "1e39", "The box \"E_Max\" holds \"1e39\": the number is too large."},
                 {"txtE_max", "-5", "The box \"E_Max\" holds \"-5\": the value must be greater than 0."}};
    for (const auto& g : grids) {
        p.services().messages.clear();
        const int plots = p.plots;
        p.box(g.box)->setText(g.text);
        p.click("cmdPlotELF");
        ASSERT_EQ(p.services().messages.size(), 1) << g.text;
        EXPECT_EQ(p.services().messages[0].text, QString::fromUtf8(g.message));
        EXPECT_EQ(p.plots, plots) << g.text;
        EXPECT_EQ(Module1::Estep, 0.2f);
        EXPECT_EQ(Module1::Emax, 100.0f);
        p.box("txtE_step")->setText("0.2");
        p.box("txtE_max")->setText("100");
    }
}

// Every result file names the model it was calculated with, wherever that
// model was read or changed since, and the page's file box shows it when the
// page is shown.
TEST(ElfPage, ResultHeadersAndFileBoxesNameTheModelInUse) {
    Page p;
    for (const char* name : {"oxide_sio2_like.elf", "semiconductor_si_like.elf"})
        QFile::copy(QStringLiteral(KELVARA_SOURCE_DIR "/examples/") + name, p.dir.filePath(name));
    p.f->File1->refresh();
    const auto onElfPage = [&p](const std::function<void()>& act) {
        p.f->option(6)->click();
        act();
        p.click("cmdCancelELF_0");
    };
    const struct {
        std::function<void()> act;
        const char* source;
    } steps[] = {
        {[&p] {
             p.f->option(1)->click();
             p.f->File1->setFileName("oxide_sio2_like.elf");
             p.click("cmdReadELFInf");
             p.click("Command6");
         },
         "oxide_sio2_like.elf"},
        {[&] { onElfPage([&p] { p.read("semiconductor_si_like.elf"); }); }, "semiconductor_si_like.elf"},
        {[&] { onElfPage([&p] { p.cell("txtgamma", 1)->setText("2"); }); },
         "semiconductor_si_like.elf, changed in the oscillator table"},
        {[&] { onElfPage([&p] { p.cell("txtgamma", 1)->setText("1.5"); }); }, "semiconductor_si_like.elf"},
        {[&] {
             onElfPage([&p] {
                 p.cell("txtgamma", 1)->setText("2");
                 p.box("txtELFFilename")->setText("mine.elf");
                 p.click("cmdSaveELFdata");
             });
         },
         "mine.elf"},
        // A model read on a calculation page is what the oscillator page
        // shows and edits when it is shown next.
        {[&] {
             p.f->option(1)->click();
             p.f->File1->setFileName("oxide_sio2_like.elf");
             p.click("cmdReadELFInf");
             p.click("Command6");
             onElfPage([&p] { p.cell("txtgamma", 1)->setText("2.5"); });
             OscillatorModelValues oxide;
             ASSERT_TRUE(ReadModelFile(p.dir.filePath("oxide_sio2_like.elf"), oxide, nullptr));
             oxide.Gamma(1) = 2.5f;
             EXPECT_EQ(ModelValues(ProgramModel()), ModelValues(ViewOf(oxide)));
         },
         "oxide_sio2_like.elf, changed in the oscillator table"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.source);
        step.act();
        p.f->option(1)->click();
        EXPECT_EQ(p.box("txtELFfileInf")->text(), step.source);
        p.click("cmdCalcKInfFilm");
        p.box("txtFileNameCrossSection")->setText("k.txt");
        p.click("cmdSaveCrossSection");
        EXPECT_EQ(FileLines(p.dir.filePath("k.txt")).value(1),
                  QStringLiteral("ELF function from the file ") + step.source + QStringLiteral(". "));
        p.click("Command6");
    }
    EXPECT_TRUE(p.services().messages.isEmpty()) << p.services().messages.value(0).text.toStdString();

    // A name of blanks is refused like an empty one; "Read" without a file
    // selected says what to do.
    p.box("txtFileNameCrossSection")->setText("   ");
    p.click("cmdSaveCrossSection");
    p.f->File1->clearSelection();
    p.click("cmdReadELFInf");
    ASSERT_EQ(p.services().messages.size(), 2);
    EXPECT_EQ(p.services().messages[0].text, RefusedFileNameMessage("   "));
    EXPECT_TRUE(p.services().messages[1].text.contains("a model file must be selected in the file list"));
    EXPECT_EQ(QDir(p.dir.path()).entryList(QDir::Files).size(), 4); // the two models, mine.elf, k.txt
}

// A model that the oscillator page marks unusable gets no calculation: the
// message names the value and where to correct it; no result changes.
TEST(ElfPage, ACalculationRefusesAModelTheTableMarksUnusable) {
    Page p;
    p.file("zero.elf", Model("0.001,-2\r\n0\r\n999\r\n", " 11 0 2 0.05\r\n 0 7 2 0.05\r\n"));
    p.read("zero.elf");
    ASSERT_EQ(p.box("txtfsum")->text(), "");
    const std::vector<float> kbulk(Module1::Kbulk.data(), Module1::Kbulk.data() + Module1::Kbulk.size());
    const QString result = Module1::ResultText;
    p.click("cmdCalcKInfFilm");
    ASSERT_EQ(p.services().messages.size(), 1);
    EXPECT_EQ(p.services().messages[0].text,
              "The oscillator model cannot be used: w0 in row 2 is 0, but the value must be greater than 0.\r\n"
              "Correct it in the oscillator table of the page \"ELF data\", or in the model file and read it "
              "again.");
    EXPECT_EQ(std::vector<float>(Module1::Kbulk.data(), Module1::Kbulk.data() + Module1::Kbulk.size()), kbulk);
    EXPECT_EQ(Module1::ResultText, result);
}
