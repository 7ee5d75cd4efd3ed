#include "shared/plot_file.h"

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

#include <cmath>
#include <exception>

#include "platform/errors.h"
#include "platform/numbers.h"
#include "platform/rounding.h"
#include "platform/textfile.h"
#include "shared/plot.h"
#include "widgets/services.h"

namespace kelvara {

namespace {

// The page in user units: (-20, 110) at the top-left corner, (115, -12) at the
// bottom-right; the data area is 0..100 both ways.
constexpr double kPageLeft = -20.0, kPageTop = 110.0, kPageRight = 115.0, kPageBottom = -12.0;

class PageScale {
public:
    PageScale(double width, double height) : w_(width), h_(height) {}
    QPointF at(double x, double y) const {
        return {(x - kPageLeft) / (kPageRight - kPageLeft) * w_, (y - kPageTop) / (kPageBottom - kPageTop) * h_};
    }
    double unitsPerPixelY() const { return (kPageTop - kPageBottom) / h_; }

private:
    double w_, h_;
};

} // namespace

void PaintPrintPage(QPainter& p, double width, double height, const SingleArray& spectrum, const Plot& plot,
                    const PrintPlotPage& page) {
    const PageScale s(width, height);
    QFont font = p.font();
    font.setPointSize(page.fontPointSize);
    p.setFont(font);
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, width / 1000.0));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    const QFontMetricsF fm(p.font());
    const double textUnits = fm.height() * s.unitsPerPixelY(); // one text line in user units

    // Axes.
    p.drawLine(s.at(0, 100), s.at(0, 0));
    p.drawLine(s.at(0, 0), s.at(100, 0));

    // Curve, from the origin as on the screen.
    const int n = plot.PlotN;
    QPointF previous = s.at(0, 0);
    for (int i = 4; i <= n + 3; ++i) {
        const double x = static_cast<double>(i - 4) / n * 100.0;
        const double y = Div(spectrum(i) - plot.PlotYMin, plot.PlotYRange) * 100.0;
        const QPointF next = s.at(x, y);
        p.drawLine(previous, next);
        previous = next;
    }

    // X ticks with whole-number labels from the first energy over the
    // spectrum's width, in the step of the last drawing.
    const int16_t tFirst = CInt(plot.FirstTick);
    const int16_t tLast = CInt(CSng(static_cast<double>(spectrum(2)) + static_cast<double>(n) * spectrum(3)));
    const int16_t tStep = CInt(plot.TickStep);
    if (tStep > 0) {
        const double perUnit = Div(static_cast<double>(n) * spectrum(3), 100.0);
        for (int t = tFirst; t <= tLast; t += tStep) {
            const double x = Div(t - spectrum(2), perUnit);
            p.drawLine(s.at(x, 0), s.at(x, 1.5));
            const QString label = QString::number(t);
            const QPointF anchor = s.at(x, -1.0);
            p.drawText(QPointF(anchor.x() - fm.horizontalAdvance(label) / 2.0, anchor.y() + fm.ascent()), label);
        }
    }

    // Eleven y labels with marks at the rounded label values.
    for (int j = 0; j <= 100; j += 10) {
        const std::string label = Format(plot.PlotYRange / 100.0 * j + plot.PlotYMin, "Scientific");
        const double yl = Div(ToDouble(label) - plot.PlotYMin, plot.PlotYRange / 100.0);
        p.drawLine(s.at(0, yl), s.at(1.5, yl));
        const QString text = QString::fromStdString(label);
        const QPointF anchor = s.at(-1.5, yl);
        p.drawText(QPointF(anchor.x() - fm.horizontalAdvance(text), anchor.y() + fm.ascent() / 2.0), text);
    }

    // File name and area below the plot.
    const QPointF nameAt = s.at(0, -4.0 - textUnits);
    p.drawText(QPointF(nameAt.x(), nameAt.y() + fm.ascent()), ShortenedPath(page.fileName));
    const QPointF areaAt = s.at(0, -4.0 - 2.5 * textUnits);
    p.drawText(QPointF(areaAt.x(), areaAt.y() + fm.ascent()),
               QStringLiteral("Area = ") + QString::fromStdString(Format(page.areaK, "0.000")));
}

QString PlotSaveFilter() { return QStringLiteral("All Files (*.*);;Text Files(*.txt)"); }
QString PlotSaveSelectedFilter() { return QStringLiteral("Text Files(*.txt)"); }

bool SavePlotFile(const QString& path, const SingleArray& spectrum, Plot& plot) {
    try {
        plot.PlotE0 = spectrum(2);
        plot.PlotDE = spectrum(3);
        const int16_t n = CInt(spectrum(1));
        {
            // The writer puts a temporary file in place only when it is whole.
            TextFileWriter out(path.toStdString());
            out.writeList({std::string("@")});
            for (int i = 1; i <= n; ++i) {
                const float energy = CSng(static_cast<double>(plot.PlotE0) + static_cast<double>(i - 1) * plot.PlotDE);
                out.writeList({energy, spectrum(i + 3)});
            }
            out.close();
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

QString SavePlotThroughDialog(const SingleArray& spectrum, Plot& plot, const QString& folder) {
    const QString path = services().saveFileName(QString(), folder, PlotSaveFilter(), PlotSaveSelectedFilter());
    if (path.isEmpty()) return {};
    if (SavePlotFile(path, spectrum, plot)) return path;
    services().messageBox(QStringLiteral("The file could not be written: ") + QDir::toNativeSeparators(path));
    return {};
}

QString ShortenedPath(const QString& path) {
    if (path.size() <= 30) return path;
    return path.left(14) + QStringLiteral("...") + path.right(13);
}

bool PrintPlot(QPagedPaintDevice& device, const SingleArray& spectrum, Plot& plot, const PrintPlotPage& page) {
    try {
        plot.PlotN = CInt(spectrum(1));
        plot.FirstTick = spectrum(2);

        QPainter painter;
        if (!painter.begin(&device)) return false;
        painter.setRenderHint(QPainter::Antialiasing, true);

        const int pages = page.arrangement == 1 ? std::max(1, page.copies) : 1;
        for (int copy = 0; copy < pages; ++copy) {
            if (copy > 0 && !device.newPage()) raise(ErrorCode::InvalidCall);
            PaintPrintPage(painter, device.width(), device.height(), spectrum, plot, page);
        }
        painter.end();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace kelvara
