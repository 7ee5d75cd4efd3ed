#include "shared/plot_file.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

#include "shared/plot.h"
#include "test_app.h"
#include "toolkit/tools.h"
#include "widgets/services.h"

using namespace kelvara;

namespace {

QApplication& app() { return kelvara::testing::TestApp(); }

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll();
}

SingleArray ThreePoints() {
    SingleArray s(0, 5000);
    s(1) = 3;
    s(2) = 0;
    s(3) = 0.5f;
    s(4) = 1.25f;
    s(5) = -2;
    s(6) = 3.5f;
    return s;
}

// Replaces the services for one test.
struct ScopedRecording {
    ScopedRecording() {
        auto r = std::make_unique<RecordingServices>();
        rec = r.get();
        previous = setServices(std::move(r));
    }
    ~ScopedRecording() { setServices(std::move(previous)); }
    RecordingServices* rec;
    std::unique_ptr<Services> previous;
};

int CountPdfPages(const QByteArray& pdf) {
    int pages = 0;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1))
        if (pdf.mid(at, 12) != "/Type /Pages") ++pages;
    return pages;
}

} // namespace

TEST(PlotFile, WritesTheSeparatorAndEachPointAtTheEnergyItIsDrawnAt) {
    QTemporaryDir dir;
    const QString path = dir.filePath("curve.txt");
    Plot plot;
    // Point i at E0 + (i-1)*dE (a product, not a running sum): the first row
    // is the curve's first energy, where the plot draws its first point and
    // where the two-column writer puts it.
    const struct {
        float e0, step;
        const char* rows;
    } cases[] = {
        {0.5f, 0.5f, "0.5,1.25\r\n1,-2\r\n1.5,3.5\r\n"}, // a calculated curve: first loss Estep
        {0.0f, 0.5f, "0,1.25\r\n0.5,-2\r\n1,3.5\r\n"},
        {100.0f, 0.1f, "100,1.25\r\n100.1,-2\r\n100.2,3.5\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows);
        SingleArray s = ThreePoints();
        s(2) = c.e0;
        s(3) = c.step;
        ASSERT_TRUE(SavePlotFile(path, s, plot));
        EXPECT_EQ(ReadAll(path), QByteArray("\"@\"\r\n") + c.rows);
        EXPECT_EQ(plot.PlotE0, c.e0);
        EXPECT_EQ(plot.PlotDE, c.step);
        // The same rows as the two-column writer's (after its separator).
        const QString twoColumn = dir.filePath("two-column.txt");
        ASSERT_TRUE(Tools().Save2col(twoColumn.toStdString(), s, Tools_cls::TextLines(0, 20), 0));
        EXPECT_EQ(ReadAll(twoColumn), ReadAll(path));
        QFile::remove(twoColumn);
    }

    // An empty buffer writes the separator alone, replacing the old file.
    SingleArray empty(0, 5000);
    ASSERT_TRUE(SavePlotFile(path, empty, plot));
    EXPECT_EQ(ReadAll(path), QByteArray("\"@\"\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"curve.txt"});
}

TEST(PlotFile, FailuresLeaveTheExistingFileAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.txt");
    Plot plot;
    ASSERT_TRUE(SavePlotFile(path, ThreePoints(), plot));
    const QByteArray before = ReadAll(path);

    // A point count beyond the array's last element.
    SingleArray tooMany = ThreePoints();
    tooMany(1) = 4998;
    EXPECT_FALSE(SavePlotFile(path, tooMany, plot));
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.txt"});

    // A folder that does not exist.
    EXPECT_FALSE(SavePlotFile(dir.filePath("no/such/folder/x.txt"), ThreePoints(), plot));
}

TEST(PlotFile, DialogCancelWritesNothing) {
    app();
    QTemporaryDir dir;
    ScopedRecording services;
    Plot plot;
    plot.PlotE0 = 7;
    services.rec->nextFileName.clear();
    EXPECT_TRUE(SavePlotThroughDialog(ThreePoints(), plot).isEmpty());
    EXPECT_EQ(plot.PlotE0, 7.0f);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    services.rec->nextFileName = dir.filePath("chosen.txt");
    EXPECT_EQ(SavePlotThroughDialog(ThreePoints(), plot), dir.filePath("chosen.txt"));
    EXPECT_TRUE(ReadAll(dir.filePath("chosen.txt")).startsWith("\"@\"\r\n0,"));
}

TEST(PlotFile, PathsLongerThanThirtyCharactersAreShortened) {
    const QString thirty = "C:/data/spectra/silver/ag1.txt";
    ASSERT_EQ(thirty.size(), 30);
    EXPECT_EQ(ShortenedPath(thirty), thirty);
    const QString thirtyOne = "C:/data/spectra/silver/ag12.txt";
    ASSERT_EQ(thirtyOne.size(), 31);
    EXPECT_EQ(ShortenedPath(thirtyOne), "C:/data/spectr...lver/ag12.txt");
}

TEST(PlotPrint, PdfHoldsOnePagePerCopyWithThePlot) {
    app();
    QTemporaryDir dir;
    SingleArray s(0, 5000);
    s(1) = 100;
    s(2) = 0;
    s(3) = 0.5f;
    for (int k = 0; k < 100; ++k) s(k + 4) = static_cast<float>(k) / 99.0f;
    Plot plot;
    plot.PlotYMin = 0;
    plot.PlotYRange = 1;
    plot.PlotYMax = 1;
    plot.TickStep = 5;
    PrintPlotPage page;
    page.fileName = "C:/data/spectra/silver/ag12.txt";
    page.areaK = 1.5f;

    const QString one = dir.filePath("one.pdf");
    {
        QPdfWriter pdf(one);
        ASSERT_TRUE(PrintPlot(pdf, s, plot, page));
    }
    EXPECT_EQ(CountPdfPages(ReadAll(one)), 1);
    EXPECT_EQ(plot.PlotN, 100);
    EXPECT_EQ(plot.FirstTick, 0.0f);

    page.copies = 3;
    const QString three = dir.filePath("three.pdf");
    {
        QPdfWriter pdf(three);
        ASSERT_TRUE(PrintPlot(pdf, s, plot, page));
    }
    EXPECT_EQ(CountPdfPages(ReadAll(three)), 3);

    // The page itself: axes on the (-20, 110)-(115, -12) layout, the curve
    // in black along the diagonal, text below the plot.
    QImage img(1350, 1220, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        PaintPrintPage(p, img.width(), img.height(), s, plot, page);
        if (const char* png = std::getenv("KELVARA_PRINT_PNG")) img.save(png);
    }
    // Black within a pixel of the user point.
    const auto blackNear = [&](double x, double y) {
        const int px = static_cast<int>((x + 20) * 10), py = static_cast<int>((110 - y) * 10);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (img.pixel(px + dx, py + dy) == qRgb(0, 0, 0)) return true;
        return false;
    };
    EXPECT_TRUE(blackNear(0, 60));    // y axis
    EXPECT_TRUE(blackNear(45, 0));    // x axis
    EXPECT_TRUE(blackNear(50.5, 51)); // curve through (k, k/99*100)
    EXPECT_TRUE(blackNear(20, 100.0 * 20 / 99));
    EXPECT_FALSE(blackNear(50, 20));
    int textInk = 0;
    for (int y = (110 + 4) * 10; y < img.height(); ++y)
        for (int x = 200; x < 700; ++x) textInk += img.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(textInk, 50);

    // A failure (no y range yet) ends the printout quietly.
    Plot fresh;
    QPdfWriter pdf(dir.filePath("fail.pdf"));
    EXPECT_FALSE(PrintPlot(pdf, s, fresh, page));
}
