// The model file (format, reading, writing), the loss-function plot and the
// read buttons of the calculation pages.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <cmath>
#include <limits>
#include <utility>

#include "main/elf_page.h"
#include "platform/errors.h"
#include "program_fixture.h"
#include "shared/calc_driver.h"
#include "shared/oscillator_model.h"
#include "state/binder.h"
#include "write_text.h"

using namespace kelvara;

namespace {

using kelvara::testing::WriteText;

QStringList Lines(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QString all = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(all.endsWith("\r\n"));
    QStringList lines = all.split("\r\n");
    lines.removeLast();
    return lines;
}

const char* const kHeader = "comment, with a comma\r\n\"quoted comment\"\r\n\r\n@\r\n";

// Loss function of one undispersed oscillator without a gap.
double Drude(double w, double w0, double a0, double g) {
    const double d = (w * w - w0 * w0) * (w * w - w0 * w0) + g * g * w * w;
    return a0 * g * w / d;
}

} // namespace

TEST(ModelFile, WrittenLineByLineAndReadBackToTheSameModel) {
    QTemporaryDir dir;
    const QString path = dir.filePath("model.elf");
    SingleArray W0(0, 20), A0(0, 20), G(0, 20), Al(0, 20);
    const float w[3] = {10.5f, 20.0f, 0.3f}, a[3] = {50.25f, 200.0f, 1e-3f}, g[3] = {2.0f, 7.125f, 0.05f},
                al[3] = {1.0f, 0.05f, -0.5f};
    for (int i = 1; i <= 3; ++i) {
        W0(i) = w[i - 1];
        A0(i) = a[i - 1];
        G(i) = g[i - 1];
        Al(i) = al[i - 1];
    }
    WriteELFDataFile(path, ModelView{W0, A0, G, Al, 3.3f, 1.7f, 3, 0.001f, -2.0f});

    const QStringList lines = Lines(path);
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines[0], "\"Data for oscillators that describe an ELF function\"");
    EXPECT_EQ(lines[1], "\"data are in rows: one row for each oscillator\"");
    EXPECT_EQ(lines[2], "\"comment lines up to first line with @ then data in lines with the following meaning\"");
    EXPECT_EQ(lines[3], "");
    EXPECT_TRUE(lines[4].startsWith("\"Excitation parameters ac, bc to model core excitations  ("));
    EXPECT_TRUE(lines[4].endsWith(")\""));
    EXPECT_EQ(lines[5], "\"Energy gap *eV(\"");
    EXPECT_EQ(lines[6], "\"Refractive Index\"");
    EXPECT_EQ(lines[7], "\"energy position (eV), intensity (eV^2),Dispersion for q-dependence(=1 for free electron)\"");
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9], "\"@\"");
    EXPECT_EQ(lines[10], "0.001,-2");
    EXPECT_EQ(lines[11], "3.3");
    EXPECT_EQ(lines[12], "1.7");
    EXPECT_EQ(lines[13].split(' ', Qt::SkipEmptyParts), (QStringList{"10.5", "50.25", "2", "1"}));
    EXPECT_EQ(lines[14], " 20" + QString(12, ' ') + "200" + QString(11, ' ') + "7.125" + QString(9, ' ') + "0.05 ");
    EXPECT_EQ(lines[15].split(' ', Qt::SkipEmptyParts), (QStringList{"0.3", "0.001", "0.05", "-0.5"}));

    OscillatorModelValues m;
    QString error;
    ASSERT_TRUE(ReadModelFile(path, m, &error)) << error.toStdString();
    EXPECT_EQ(m.NumOsc, 3);
    EXPECT_EQ(m.Core_ac, 0.001f);
    EXPECT_EQ(m.Core_bc, -2.0f);
    EXPECT_EQ(m.Egap, 3.3f);
    EXPECT_EQ(m.RefIndex, 1.7f);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(m.W0(i), W0(i));
        EXPECT_EQ(m.A0(i), A0(i));
        EXPECT_EQ(m.Gamma(i), G(i));
        EXPECT_EQ(m.Alfa(i), Al(i));
    }
}

TEST(ModelFile, ReaderAcceptsAnyLineSplitAndTrailingBlankLinesButRefusesBrokenFiles) {
    QTemporaryDir dir;
    const QString path = dir.filePath("m.elf");
    OscillatorModelValues m;
    QString error;

    // Parameters split over lines as the reader allows, no rows, LF endings.
    WriteText(path, "only comments\n@\n0.5\n-1\n2\n1.5\n");
    ASSERT_TRUE(ReadModelFile(path, m, &error));
    EXPECT_EQ(m.NumOsc, 0);
    EXPECT_EQ(m.Core_bc, -1.0f);
    EXPECT_EQ(m.RefIndex, 1.5f);

    // Blank lines after the last row (as a text editor leaves them) are no rows.
    WriteText(path, QString(kHeader) + "0,0\r\n0\r\n999\r\n 10  50  1  1\r\n\r\n   \r\n\r\n");
    ASSERT_TRUE(ReadModelFile(path, m, &error)) << error.toStdString();
    EXPECT_EQ(m.NumOsc, 1);
    EXPECT_EQ(m.A0(1), 50.0f);

    // Twenty rows fit; a 21st does not.
    QString rows;
    for (int i = 1; i <= 20; ++i) rows += QString(" %1 1 1 1\r\n").arg(i);
    WriteText(path, QString(kHeader) + "0,0\r\n0\r\n999\r\n" + rows);
    ASSERT_TRUE(ReadModelFile(path, m, &error));
    EXPECT_EQ(m.NumOsc, 20);
    EXPECT_EQ(m.W0(20), 20.0f);
    WriteText(path, QString(kHeader) + "0,0\r\n0\r\n999\r\n" + rows + " 21 1 1 1\r\n");
    EXPECT_FALSE(ReadModelFile(path, m, &error));
    EXPECT_TRUE(error.contains("more than 20")) << error.toStdString();

    struct Bad {
        const char* text;
        const char* reason;
    };
    const Bad bad[] = {
        {"no separator line\r\n0,0\r\n", "no line"},
        {"@\r\n0,0\r\n0\r\n999\r\n 10 abc 1 1\r\n", "Oscillator 1"},
        {"@\r\n0,0\r\n0\r\n999\r\n 10 50 1\r\n", "Oscillator 1"},
        {"@\r\n0,x\r\n0\r\n999\r\n", "four numbers after"},
    };
    for (const Bad& b : bad) {
        WriteText(path, b.text);
        error.clear();
        EXPECT_FALSE(ReadModelFile(path, m, &error)) << b.text;
        EXPECT_TRUE(error.contains(b.reason)) << error.toStdString();
        // What is wrong in plain words, not the error's short name.
        for (const ErrorCode code : {ErrorCode::TypeMismatch, ErrorCode::InputPastEnd, ErrorCode::Overflow})
            EXPECT_FALSE(error.contains(QString::fromStdString(RuntimeError::defaultMessage(code))))
                << error.toStdString();
    }
    EXPECT_FALSE(ReadModelFile(dir.filePath("missing.elf"), m, &error));
    EXPECT_TRUE(error.contains("could not be opened"));
}

TEST(ModelFile, FailedReadLeavesTheVariablesAndTellsTheUser) {
    testsupport::UseOffscreenScreen(1280, 1024);
    auto rec = std::make_unique<RecordingServices>();
    RecordingServices* services = rec.get();
    setServices(std::move(rec));
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.elf");
    WriteText(path, "@\r\n7,8\r\n9\r\n10\r\n 1 2 3 4\r\n 5 6 x 8\r\n");

    SingleArray W0(0, 20), A0(0, 20), G(0, 20), Al(0, 20);
    W0(1) = 11.0f;
    A0(1) = 22.0f;
    float egap = 1.0f, n = 2.0f, ac = 3.0f, bc = 4.0f;
    int16_t num = 1;
    EXPECT_FALSE(ReadELFData(path, W0, A0, G, Al, egap, n, num, ac, bc));
    EXPECT_EQ(W0(1), 11.0f);
    EXPECT_EQ(A0(1), 22.0f);
    EXPECT_EQ(num, 1);
    EXPECT_EQ(egap, 1.0f);
    EXPECT_EQ(n, 2.0f);
    EXPECT_EQ(ac, 3.0f);
    EXPECT_EQ(bc, 4.0f);
    ASSERT_EQ(services->messages.size(), 1);
    EXPECT_TRUE(services->messages[0].text.contains("could not be read"));
    EXPECT_TRUE(services->messages[0].text.contains(path));
    setServices(nullptr);
}

TEST(ModelFile, EveryExampleReadsAndFulfilsTheSumRule) {
    const QDir examples(QStringLiteral(KELVARA_SOURCE_DIR "/examples"));
    const QStringList files = examples.entryList({"*.elf"}, QDir::Files);
    ASSERT_GE(files.size(), 2);
    bool metal = false, gapped = false;
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        OscillatorModelValues m;
        QString error;
        ASSERT_TRUE(ReadModelFile(examples.filePath(name), m, &error)) << error.toStdString();
        ASSERT_GE(m.NumOsc, 1);
        double sum = 1.0 / (double(m.RefIndex) * m.RefIndex);
        for (int i = 1; i <= m.NumOsc; ++i) {
            EXPECT_GT(m.W0(i), m.Egap);
            EXPECT_GT(m.Gamma(i), 0.0f);
            EXPECT_GT(m.A0(i), 0.0f);
            sum += double(m.A0(i)) / (double(m.W0(i)) * m.W0(i));
        }
        EXPECT_NEAR(sum, 1.0, 1e-3);
        metal = metal || (m.NumOsc == 1 && m.Egap == 0.0f);
        gapped = gapped || (m.NumOsc > 1 && m.Egap > 0.0f);
    }
    EXPECT_TRUE(metal);
    EXPECT_TRUE(gapped);
}

TEST(LossFunctionPlot, CountsAndCurveHoldOnlyTheLibrarysPoints) {
    EXPECT_EQ(RoundedPointCount(100.0f, 0.2f), 500);
    EXPECT_EQ(LibraryPointCount(0.2f, 100.0f), 499);
    EXPECT_EQ(RoundedPointCount(100.0f, 0.25f), 400);
    EXPECT_EQ(LibraryPointCount(0.25f, 100.0f), 400);
    EXPECT_EQ(RoundedPointCount(200.2f, 0.2f), 1001);
    EXPECT_TRUE(TooManyGridPoints(200.2f, 0.2f));
    EXPECT_EQ(LibraryPointCount(0.2f, -5.0f), 0);
    EXPECT_THROW(RoundedPointCount(100.0f, 0.0f), RuntimeError);

    testsupport::UseOffscreenScreen(1280, 1024);
    auto p = testsupport::StartProgram();
    SetLibraryFolder(QStringLiteral(KELVARA_BIN_DIR));
    Form1& f = *p.form;
    using namespace Module1;
    NumOsc = 1;
    W0(1) = 15.0f;
    A0(1) = 225.0f;
    Gamma(1) = 0.6f;
    Alfa(1) = 0.0f;
    // Values an earlier, longer plot left behind.
    ELFbulk(500) = 123.0f;
    PlotBuf(503) = 456.0f;
    int cleared = 0;
    QObject context;
    QObject::connect(&f, &Form1::plotCleared, &context, [&] { ++cleared; });

    cmdPlotELF_Click(f); // the page's defaults: 0.2 and 100
    EXPECT_EQ(Estep, 0.2f);
    EXPECT_EQ(Emax, 100.0f);
    EXPECT_EQ(PlotBuf(1), 499.0f);
    EXPECT_EQ(PlotBuf(2), 0.2f); // the loss of the first value
    EXPECT_EQ(PlotBuf(3), 0.2f);
    EXPECT_NEAR(PlotBuf(4), Drude(0.2, 15, 225, 0.6), 1e-4 * Drude(0.2, 15, 225, 0.6));
    EXPECT_NEAR(PlotBuf(75 + 3), Drude(15, 15, 225, 0.6), 1e-3 * Drude(15, 15, 225, 0.6)); // the peak
    EXPECT_EQ(ELFbulk(500),
              123.0f); // not computed by the library, not part of the curve
    EXPECT_EQ(cleared, 1);
    EXPECT_TRUE(p.services->messages.isEmpty());

    // More than 1000 points: the message only.
    f.findChild<QLineEdit*>("txtE_max")->setText("200.2");
    ELFbulk(1) = -1.0f;
    cmdPlotELF_Click(f);
    ASSERT_EQ(p.services->messages.size(), 1);
    EXPECT_EQ(p.services->messages[0].text,
              "The box \"E_Max\" holds \"200.2\": max number of points is 1000; lower the maximum or raise the "
              "step.");
    EXPECT_EQ(ELFbulk(1), -1.0f);
    EXPECT_EQ(PlotBuf(1), 499.0f);
    EXPECT_EQ(cleared, 1);

    // A box that is not a number and a zero step are run-time errors of the plot.
    f.findChild<QLineEdit*>("txtE_max")->setText("abc");
    EXPECT_THROW(cmdPlotELF_Click(f), RuntimeError);
    f.findChild<QLineEdit*>("txtE_max")->setText("100");
    f.findChild<QLineEdit*>("txtE_step")->setText("0");
    EXPECT_THROW(cmdPlotELF_Click(f), RuntimeError);
    f.findChild<QLineEdit*>("txtE_step")->setText("0.2");
}

TEST(PageReadButton, ReadsTheModelAndPlotsWithoutTouchingTheTable) {
    testsupport::UseOffscreenScreen(1280, 1024);
    auto p = testsupport::StartProgram();
    SetLibraryFolder(QStringLiteral(KELVARA_BIN_DIR));
    Form1& f = *p.form;
    QTemporaryDir dir;
    WriteText(dir.filePath("two.elf"), QString(kHeader) + "0.002,-3\r\n0\r\n999\r\n 10 50 2 1\r\n 20 200 4 1\r\n");
    WriteText(dir.filePath("bad.elf"), "no separator\r\n");
    f.Dir1->setPath(dir.path());
    f.File1->setFileName("two.elf");

    auto* box = MakeNamed<TextBox>(f.page(3), "txtELFfileTest");
    auto* frame = new QWidget(f.page(3));
    f.findChild<QLineEdit*>("txtw0_1")->setText("");
    const int16_t filling = Module1::FillingBoxes;

    ASSERT_TRUE(ReadELFForPage(f, box, frame));
    EXPECT_EQ(Module1::NumOsc, 2);
    EXPECT_EQ(Module1::W0(2), 20.0f);
    EXPECT_EQ(Module1::Core_bc, -3.0f);
    EXPECT_EQ(ModelFilePath(), JoinPath(dir.path(), "two.elf"));
    EXPECT_EQ(box->text(), "two.elf");
    EXPECT_EQ(f.Text2->text(), "ELF function:  Im(-1/epsilon)");
    EXPECT_FALSE(f.Text2->isHidden());
    EXPECT_TRUE(frame->isHidden());
    EXPECT_EQ(Module1::PlotBuf(1), 499.0f);
    EXPECT_EQ(f.findChild<QLineEdit*>("txtw0_1")->text(),
              ""); // the table is not touched
    EXPECT_EQ(f.findChild<QLineEdit*>("txtNELFdata")->text(), "");
    EXPECT_EQ(Module1::FillingBoxes, filling);

    // A file that cannot be read: a message, the model and the path stay.
    f.File1->setFileName("bad.elf");
    box->setText("kept");
    EXPECT_FALSE(ReadELFForPage(f, box, nullptr));
    EXPECT_EQ(p.services->messages.size(), 1);
    EXPECT_EQ(Module1::NumOsc, 2);
    EXPECT_EQ(box->text(), "kept");
    EXPECT_EQ(ModelFilePath(), JoinPath(dir.path(), "two.elf"));

    // The "Read ELF file" button of every calculation page: its own file-name
    // box, the title, the page's show frame hidden, the table untouched.
    struct Button {
        const char* button;
        const char* fileBox;
        const char* hidden; // nullptr: the page hides no frame
    };
    const Button buttons[] = {{"cmdELFfile92", "txtELFfileAB_0", "frameShowModelAB"},
                              {"cmdELFfile96", "txtELFfile96_3", "frameShowModel96"},
                              {"cmdReadELFInf", "txtELFfileInf", nullptr},
                              {"cmdReadELFModelAB92", "txtELFfilethinfilm", "framePlotthinfilm"}};
    WriteText(dir.filePath("one.elf"), QString(kHeader) + "0.004,-1\r\n0\r\n999\r\n 15 225 3 1\r\n");
    f.File1->refresh();
    for (const Button& b : buttons) {
        SCOPED_TRACE(b.button);
        Module1::NumOsc = 0;
        f.Text2->setText(QString());
        QWidget* frame = b.hidden ? f.findChild<QWidget*>(b.hidden) : nullptr;
        if (b.hidden) {
            ASSERT_NE(frame, nullptr);
            frame->show();
        }
        f.File1->setFileName("one.elf");
        auto* button = f.findChild<QPushButton*>(b.button);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), "Read ELF file");
        button->click();
        EXPECT_EQ(Module1::NumOsc, 1);
        EXPECT_EQ(Module1::Core_ac, 0.004f);
        EXPECT_EQ(f.findChild<QLineEdit*>(b.fileBox)->text(), "one.elf");
        EXPECT_EQ(ModelFilePath(), JoinPath(dir.path(), "one.elf"));
        EXPECT_EQ(f.Text2->text(), "ELF function:  Im(-1/epsilon)");
        if (frame) {
            EXPECT_TRUE(frame->isHidden());
        }
        EXPECT_EQ(f.findChild<QLineEdit*>("txtw0_1")->text(), "");
    }
    EXPECT_EQ(p.services->messages.size(), 1);
}

// The rule of a usable model names the first value it refuses by row,
// column and value; the text of the model's source follows the record.
TEST(ModelRule, FirstUnusableValueIsNamedAndTheSourceIsTold) {
    SingleArray W0(0, 20), A0(0, 20), G(0, 20), Al(0, 20);
    W0(1) = W0(2) = 10.0f;
    A0(1) = A0(2) = G(1) = G(2) = Al(1) = Al(2) = 1.0f;
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float* value; // changed from a usable model
        float to;
        const char* named; // empty: usable
    } cases[] = {
        {nullptr, 0.0f, ""},
        {&A0(2), 0.0f, ""},
        {&Al(1), -3.0f, ""},
        {&A0(2), -1.0f, "A0 in row 2 is -1, but the value must be at least 0."},
        {&G(1), 0.0f, "gamma in row 1 is 0, but the value must be greater than 0."},
        {&W0(2), -10.0f, "w0 in row 2 is -10, but the value must be greater than 0."},
        {&Al(2), inf, "alpha in row 2 is "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.named);
        float kept = 0.0f;
        if (c.value) kept = std::exchange(*c.value, c.to);
        const QString message = UnusableModelMessage(ModelView{W0, A0, G, Al, 0.0f, 1.5f, 2, 0.001f, -2.0f});
        if (c.value) *c.value = kept;
        if (*c.named == 0) {
            EXPECT_EQ(message, "");
            continue;
        }
        EXPECT_TRUE(message.startsWith(QStringLiteral("The oscillator model cannot be used: ") + c.named))
            << message.toStdString();
        EXPECT_TRUE(message.contains("\"ELF data\"")) << message.toStdString();
    }
    EXPECT_TRUE(UnusableModelMessage(ModelView{W0, A0, G, Al, 0.0f, 0.0f, 2, 0.001f, -2.0f})
                    .startsWith("The oscillator model cannot be used: Refr. index is 0, but"));

    Module1::ModelSource = {};
    Module1::NumOsc = 1;
    EXPECT_EQ(ModelSourceText(), "(none: typed in the oscillator table)");
    Module1::ModelSource = {QStringLiteral("/data/m.elf"), true};
    EXPECT_EQ(ModelSourceText(), "m.elf, changed in the oscillator table");
    Module1::Reset();
    EXPECT_EQ(ModelSourceText(), "(none)");
}
