#include "shared/plot.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>

#include "platform/errors.h"
#include "platform/numbers.h"
#include "platform/rounding.h"
#include "widgets/picturebox.h"
#include "widgets/twips.h"

namespace kelvara {

namespace {

// Colour of the zero line.
const QRgb kZeroLineColor = RGB(25, 0, 255);

// The margins of the plot's scale around the plot area 0..100, in scale
// units: so many units times the ratio of the screen to the box (rx across,
// ry down), which keeps them at about the same size in pixels whatever the
// size of the box.
struct ScaleMargins {
    double left, top, right, bottom;
};
ScaleMargins Margins(double rx, double ry) { return {7.0 * rx, 3.0 * ry, 4.0 * rx, 4.0 * ry}; }

// Left(text, k): a negative length is an invalid call.
std::string Head(const std::string& text, long long k) {
    if (k < 0) raise(ErrorCode::InvalidCall);
    return text.substr(0, static_cast<std::size_t>(std::min<long long>(k, static_cast<long long>(text.size()))));
}

// Right(text, k).
std::string Last(const std::string& text, std::size_t k) {
    return k >= text.size() ? text : text.substr(text.size() - k);
}

long long Len(const std::string& text) { return static_cast<long long>(text.size()); }

// A text read back as a number (raises on a text that is not one, the empty
// text among them).
double Num(const std::string& text) { return ToDouble(text); }

// The number printed by the x tick loop, with its sign position.
std::string PrintedWhole(int value) {
    std::string text = std::to_string(value);
    if (value >= 0) text.insert(text.begin(), ' ');
    return text;
}

// The decimal rules of the tick table for the current state; raises when a
// rule cannot be applied (a head of negative length, an empty text read as a
// number). nullopt when the step has no rule.
std::optional<double> FirstTickByRule(float e0, float step) {
    const float i1 = std::floor(e0 + 1.0f);
    const float i0 = std::floor(e0);
    const std::string tE0 = TickText(e0);
    const std::string tI1 = TickText(i1);
    const long long lenSE0 = Len(SignedTickText(e0));
    const long long lenSI0 = Len(SignedTickText(i0));

    if (step == 1.0f) return i1;
    if (step == 5.0f) {
        if (Num(Last(tI1, 1)) == 5.0) return i1;
        return Num(Head(tE0, Len(TickText(i0)) - 1) + "0");
    }
    if (step == 10.0f || step == 20.0f) {
        if (Num(Last(tE0, 1)) == 0.0) return e0;
        if (Num(Last(tI1, 1)) == 0.0) return i1;
        return Num(Head(tE0, lenSE0 - 2)) + 1.0;
    }
    if (step == 50.0f) {
        if (Last(tE0, 2) == "00") return e0;
        const double tail = Num(Last(tI1, 2));
        if (tail <= 25.0) return Num(Head(tE0, lenSE0 - 3) + "25");
        if (tail <= 50.0) return Num(Head(tE0, lenSE0 - 3) + "50");
        if (tail <= 75.0) return Num(Head(tE0, lenSE0 - 3) + "75");
        if (lenSE0 > 4) return Num(GeneralText(Num(Head(tE0, lenSE0 - 4)) + 1.0) + "00");
        return Num(GeneralText(Num(Head(tE0, 1)) + 1.0) + "00");
    }
    if (step == 100.0f || step == 200.0f) {
        if (Last(tE0, 2) == "00") return e0;
        if (Num(Last(tI1, 2)) <= 50.0) return Num(Head(tE0, lenSE0 - 3) + "50");
        if (lenSI0 > 4) return Num(GeneralText(Num(Head(tE0, lenSI0 - 4)) + 1.0) + "00");
        if (lenSI0 > 3) return Num(GeneralText(Num(Head(tE0, 1)) + 1.0) + "00");
        return 100.0;
    }
    return std::nullopt;
}

} // namespace

std::string TickText(float value) { return GeneralText(value); }

std::string SignedTickText(float value) {
    std::string digits = GeneralText(std::fabs(value));
    if (digits.size() > 1 && digits[0] == '0' && digits[1] == '.') digits.erase(0, 1);
    digits.insert(digits.begin(), value < 0.0f ? '-' : ' ');
    return digits;
}

// The vertical margins of the scale are 3 (top) and 4 (bottom) units times
// the screen-to-box height ratio, on a plot area of 100 units.
double Plot::TopMarginPixels(int height, int bottomReserve) {
    if (height <= 0) return 0.0;
    const ScaleMargins m = Margins(0.0, ScreenHeightTwips() / PixelsToTwipsY(height));
    return m.top * std::max(1, height - bottomReserve) / (100.0 + m.top + m.bottom);
}

void Plot::chooseTickStep(const IntegerArray& stepTable) {
    TickDev = stepTable(0);
    const float eleventh = PlotXRange / 11.0f;
    for (int j = 0; j <= 6; ++j) {
        const double d = std::fabs(static_cast<float>(stepTable(j)) - eleventh);
        if (d < TickDev) {
            TickDev = d;
            TickStep = stepTable(j);
        }
    }
}

void Plot::chooseFirstTick() {
    const float step = TickStep;
    std::optional<double> tick;
    bool failed = false;
    try {
        tick = FirstTickByRule(PlotE0, step);
    } catch (const RuntimeError&) {
        failed = true;
    }
    if (!failed && !tick) return; // a step without a rule keeps the previous first tick
    // A rule that cannot be applied, or one whose tick lies so far off that no
    // tick of the loop would fall on the axis, leaves the axis unlabelled: start
    // at the first multiple of the step at or above the axis start instead.
    if (failed || *tick > static_cast<double>(PlotE0) + PlotXRange ||
        *tick + PlotXRange < static_cast<double>(PlotE0)) {
        if (step <= 0.0f) return;
        tick = std::ceil(static_cast<double>(PlotE0) / step) * step;
    } else if (step > 0.0f && PlotE0 != std::floor(PlotE0) && std::fmod(*tick, static_cast<double>(step)) != 0.0) {
        // A curve that starts at its first loss (0.2, 0.5 eV): the rules would
        // label 1, 11, 21, ... or 25, 75, ...; the ticks go on the multiples of
        // the step instead, from the one within half a unit left of the axis.
        tick = std::ceil((static_cast<double>(PlotE0) - 0.5) / step) * step;
    }
    FirstTick = CSng(*tick);
}

void Plot::draw(PictureBox& box, const SingleArray& spectrum, int32_t CurveColor, const PlotShared& shared) {
    // Kept for a redraw until the box is cleared.
    if (drawnBox_ != &box || drawnClear_ != box.clearCount()) drawn_.clear();
    drawnBox_ = &box;
    drawnClear_ = box.clearCount();
    drawn_.push_back({spectrum, CurveColor, shared.AutoScale, PlotYMin, PlotYMax, PlotYRange});
    drawCurve(box, spectrum, CurveColor, shared);
}

bool Plot::redraw(PictureBox& box, const IntegerArray& stepTable) {
    if (drawn_.empty() || drawnBox_ != &box || drawnClear_ != box.clearCount()) return false;
    // The same picture again: whoever drew it still finds it drawn.
    box.eraseForRedraw();
    for (const DrawnCurve& c : drawn_) {
        PlotYMin = c.yMin;
        PlotYMax = c.yMax;
        PlotYRange = c.yRange;
        drawCurve(box, c.spectrum, c.color, PlotShared{c.autoScale, stepTable});
    }
    return true;
}

void Plot::drawCurve(PictureBox& box, const SingleArray& spectrum, int32_t CurveColor, const PlotShared& shared) {
    try {
        PictureBox::DrawSession session(box);

        // 1. Header.
        PlotN = CInt(spectrum(1));
        PlotE0 = spectrum(2);
        PlotDE = spectrum(3);
        PlotXRange = CSng(static_cast<double>(PlotN) * PlotDE);

        // 2. Range override: the axis from the marker lines, the curve still
        // from the spectrum's first point.
        if (RangeMode) {
            PlotE0 = RangeStart;
            PlotXRange = RangeWidth;
            PlotN = CInt(CSng(Div(RangeWidth, PlotDE)));
        }

        // 3. Y range from the curve (or kept from the previous drawing).
        if (shared.AutoScale != 0) {
            PlotYMax = spectrum(4);
            PlotYMin = spectrum(4);
            for (int i = 1; i <= PlotN; ++i) {
                const double v = spectrum(i + 3);
                if (v >= PlotYMax) PlotYMax = v;
                if (v < PlotYMin) PlotYMin = v;
            }
            if (YmaxMode) PlotYMax = YmaxValue;
            PlotYRange = PlotYMax - PlotYMin;
        }

        // 4. Scale: the plot area 0..100 both ways inside its margins.
        const double rx = Div(ScreenWidthTwips(), PixelsToTwipsX(box.drawingWidth()));
        const double ry = Div(ScreenHeightTwips(), HeightTwips(&box));
        const ScaleMargins m = Margins(rx, ry);
        box.setScale(-m.left, 100.0 + m.top, 100.0 + m.right, -m.bottom);

        // 5. Axes.
        box.line(0, 100, 0, 0);
        box.line(0, 0, 100, 0);

        // 6. Zero line at the height of the value 0.
        const double z = Div(-PlotYMin, PlotYRange) * 100.0;
        box.line(0, z, 100, z, kZeroLineColor);

        // 7. Curve, starting from the origin.
        box.setCurrentX(0);
        box.setCurrentY(0);
        for (int i = 4; i <= PlotN + 3; ++i) {
            const double x = static_cast<double>(i - 4) / PlotN * 100.0;
            const double y = Div(spectrum(i) - PlotYMin, PlotYRange) * 100.0;
            box.lineTo(x, y, QBColor(CurveColor));
        }

        // 8. Tick step nearest to a eleventh of the axis width.
        chooseTickStep(shared.StepTable);

        // 9. First tick.
        chooseFirstTick();

        // 10. X ticks over one axis width (none while no step was chosen).
        const int16_t tFirst = CInt(FirstTick);
        const int16_t tLast = CInt(CSng(static_cast<double>(FirstTick) + PlotXRange));
        const int16_t tStep = CInt(TickStep);
        if (tStep != 0) {
            const double perUnit = Div(PlotXRange, 100.0);
            const double perUnitN = Div(CSng(static_cast<double>(PlotN) * PlotDE), 100.0);
            for (int t = tFirst; tStep > 0 ? t <= tLast : t >= tLast; t += tStep) {
                // A tick left of the axis (a curve whose first energy, such
                // as Estep, lies between two ticks) would sit on the y labels:
                // the axis starts at the first energy, and so do its ticks.
                // The loop runs one axis width from the first tick, which may
                // lie right of the axis start: ticks past the axis end are
                // left out as well.
                const double at = Div(t - PlotE0, perUnit);
                if (at >= -0.5 && at <= 100.0 + 1e-3) {
                    // Each label's digits centred under its tick (the printed
                    // text of a number begins with its sign or a blank).
                    const QString label = QString::fromStdString(PrintedWhole(t));
                    const double digits = box.textWidth(label.trimmed());
                    const double lead = box.textWidth(label) - digits;
                    box.setCurrentX(at - lead - digits / 2.0);
                    box.setCurrentY(-ry);
                    box.print(label);
                    box.line(at, 0, Div(t - PlotE0, perUnitN), ry);
                }
                if (t + tStep > 32767 || t + tStep < -32768) raise(ErrorCode::Overflow);
            }
        }

        // 11. Eleven y labels; the marks sit at the rounded label values.
        for (int j = 0; j <= 100; j += 10) {
            const std::string label = Format(PlotYRange / 100.0 * j + PlotYMin, "Scientific");
            box.setCurrentX(-6.5 * rx);
            box.setCurrentY(j + ry);
            box.print(QString::fromStdString(label));
            const double yl = Div(ToDouble(label) - PlotYMin, PlotYRange / 100.0);
            box.line(0, yl, rx, yl);
        }

        // 12. The axis now follows the marker lines; hide them.
        if (RangeMode) {
            if (LinEnergy1) LinEnergy1->setVisible(false);
            if (LinEnergy2) LinEnergy2->setVisible(false);
        }
    } catch (const std::exception&) {
        // A run-time error ends the drawing quietly; what was drawn stays.
    }
}

} // namespace kelvara
