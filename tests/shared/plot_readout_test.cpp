#include "shared/plot_readout.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <memory>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "shared/plot.h"
#include "test_app.h"
#include "widgets/guard.h"
#include "widgets/picturebox.h"
#include "widgets/services.h"
#include "widgets/twips.h"

using namespace kelvara;

namespace {

QApplication& app() { return kelvara::testing::TestApp(); }

std::vector<std::string> Writes(void (*step)(const std::string&, const std::string&,
                                             const std::function<void(const std::string&)>&),
                                const std::string& es, const std::string& incr) {
    std::vector<std::string> written;
    step(es, incr, [&](const std::string& t) { written.push_back(t); });
    return written;
}

} // namespace

TEST(PlotReadout, PointerMapsThroughTheLastDrawing) {
    app();
    // A calculated result drawn: first energy 0, step 0.5, 100 points.
    PictureBox box;
    box.resize(600, 400);
    SingleArray s(0, 5000);
    s(1) = 100;
    s(2) = 0;
    s(3) = 0.5f;
    for (int k = 0; k < 100; ++k) s(k + 4) = static_cast<float>(k) * 0.02f;
    int16_t autoScale = -1;
    IntegerArray steps(0, 6);
    const int16_t table[] = {200, 100, 50, 20, 10, 5, 1};
    for (int j = 0; j <= 6; ++j) steps(j) = table[j];
    Plot plot;
    plot.draw(box, s, 0, PlotShared{autoScale, steps});

    // User x = 50 is the middle of a 50 eV axis; user y = 50 the middle of 0..1.98.
    const PlotPoint p = PointerValue(plot, 50, 50);
    EXPECT_EQ(p.x, 25.0f);
    EXPECT_NEAR(p.y, 0.99, 1e-7);
    EXPECT_EQ(PlotReadout(plot, 50, 50), "x: 25.00, y: .99");
    EXPECT_EQ(PlotReadout(plot, 100, 0), "x: 50.00, y: 0.00E+00");
}

TEST(PlotReadout, YFormatDependsOnTheMagnitudeWithBothBoundsFixedPoint) {
    EXPECT_STREQ(ReadoutYFormat(0.05), "Scientific");
    EXPECT_STREQ(ReadoutYFormat(0.1), "##.###");
    EXPECT_STREQ(ReadoutYFormat(-0.1), "##.###");
    EXPECT_STREQ(ReadoutYFormat(1000), "##.###");
    EXPECT_STREQ(ReadoutYFormat(1000.5), "Scientific");
    EXPECT_STREQ(ReadoutYFormat(-2000), "Scientific");
    EXPECT_EQ(ReadoutText(25, 0.05), "x: 25.00, y: 5.00E-02");
    EXPECT_EQ(ReadoutText(25, 0.1), "x: 25.00, y: .1");
    EXPECT_EQ(ReadoutText(25, 1000), "x: 25.00, y: 1000.");
    EXPECT_EQ(ReadoutText(25, 1000.5), "x: 25.00, y: 1.00E+03");
    EXPECT_EQ(ReadoutText(-3.25f, -12.3456), "x: -3.25, y: -12.346");

    // The same bounds reached through the mapping of a drawing.
    Plot plot;
    plot.PlotXRange = 50;
    plot.PlotYMin = 0;
    plot.PlotYRange = 2000;
    EXPECT_EQ(PlotReadout(plot, 50, 50), "x: 25.00, y: 1000.");
    plot.PlotYRange = 100;
    EXPECT_EQ(PlotReadout(plot, 50, 0.05), "x: 25.00, y: 5.00E-02");
}

TEST(PlotStepControl, DownUpAndTheLowerLimit) {
    EXPECT_EQ(Writes(StepDown, "3", ".5"), (std::vector<std::string>{"2.5"}));
    // Below 0.1: the difference is written first, then "0.1" (two change events).
    EXPECT_EQ(Writes(StepDown, "0.3", "0.5"), (std::vector<std::string>{"-0.2", "0.1"}));
    // 0.6 - 0.5 reads back as 0.1 exactly: not below the limit.
    EXPECT_EQ(Writes(StepDown, "0.6", "0.5"), (std::vector<std::string>{"0.1"}));
    EXPECT_EQ(Writes(StepUp, "2.5", "2"), (std::vector<std::string>{"4.5"}));
    EXPECT_EQ(Writes(StepUp, "99999", "0.1"), (std::vector<std::string>{"99999.1"}));

    // Bad text raises before anything is written; through the handler guard
    // it becomes a message and the program goes on.
    std::vector<std::string> written;
    const auto record = [&](const std::string& t) { written.push_back(t); };
    EXPECT_THROW(StepDown("abc", ".5", record), RuntimeError);
    EXPECT_THROW(StepUp("3", "", record), RuntimeError);
    EXPECT_TRUE(written.empty());

    auto recording = std::make_unique<RecordingServices>();
    RecordingServices* rec = recording.get();
    auto previous = setServices(std::move(recording));
    EXPECT_FALSE(Guarded([&] { StepDown("abc", ".5", record); }));
    EXPECT_EQ(rec->messages.size(), 1);
    setServices(std::move(previous));
}

TEST(PlotPenWidth, IncreaseAndDecreaseRules) {
    app();
    EXPECT_EQ(DecreasedDrawWidth(1), 1);
    EXPECT_EQ(DecreasedDrawWidth(2), 1);
    EXPECT_EQ(DecreasedDrawWidth(5), 4);
    EXPECT_EQ(IncreasedDrawWidth(2), 3);
    PictureBox box;
    box.setDrawWidth(1);
    DecreaseDrawWidth(box);
    EXPECT_EQ(box.drawWidth(), 1);
    IncreaseDrawWidth(box);
    IncreaseDrawWidth(box);
    EXPECT_EQ(box.drawWidth(), 3);
    // No bound of its own; the box caps what its painter supports.
    box.setDrawWidth(PictureBox::kMaxDrawWidth);
    IncreaseDrawWidth(box);
    EXPECT_EQ(box.drawWidth(), PictureBox::kMaxDrawWidth);

    SetPlotSizeTwips(box, kLargePlotWidthTwips, kLargePlotHeightTwips);
    EXPECT_EQ(box.width(), TwipsToPixelsX(12000));
    EXPECT_EQ(box.height(), TwipsToPixelsY(7000));
}

TEST(PlotMarkers, DraggingPushesTheOtherMarkerAndSetsTheRange) {
    app();
    PictureBox box;
    box.resize(600, 400);
    Plot plot;
    plot.LinEnergy1 = box.addLine();
    plot.LinEnergy2 = box.addLine();
    plot.LinEnergy1->setVisible(false);
    plot.LinEnergy2->setVisible(false);
    plot.PlotE0 = 10;
    plot.PlotXRange = 50;

    // Range mode off: a mouse down picks nothing up.
    MarkerMouseDown(plot, box, 0.2);
    EXPECT_FALSE(plot.Dragging);

    PlaceRangeMarkers(plot);
    EXPECT_TRUE(plot.RangeMode);
    EXPECT_EQ(plot.DragLine, 1);
    EXPECT_TRUE(plot.LinEnergy1->isVisible());
    EXPECT_DOUBLE_EQ(plot.LinEnergy1->Y1(), 100);
    EXPECT_DOUBLE_EQ(plot.LinEnergy1->Y2(), 0);
    EXPECT_DOUBLE_EQ(plot.LinEnergy2->X1(), 70);

    // Pointer feedback without a button: near a line (strictly within 0.5).
    MarkerMouseMove(plot, box, 0, 69.6);
    EXPECT_EQ(box.mousePointer(), PictureBox::PointerSizeWE);
    MarkerMouseMove(plot, box, 0, 70.5);
    EXPECT_EQ(box.mousePointer(), PictureBox::PointerDefault);

    // Pick up the first marker and drag it right past the second.
    MarkerMouseDown(plot, box, 0.3);
    EXPECT_TRUE(plot.Dragging);
    EXPECT_EQ(plot.DragLine, 1);
    EXPECT_EQ(box.mousePointer(), PictureBox::PointerSizeWE);
    MarkerMouseMove(plot, box, 1, 80);
    EXPECT_DOUBLE_EQ(plot.LinEnergy1->X1(), 80);
    EXPECT_DOUBLE_EQ(plot.LinEnergy1->X2(), 80);
    EXPECT_DOUBLE_EQ(plot.LinEnergy2->X1(), 81);
    EXPECT_DOUBLE_EQ(plot.LinEnergy2->X2(), 81);
    EXPECT_EQ(box.mousePointer(), PictureBox::PointerDefault); // a button is held
    EXPECT_FLOAT_EQ(plot.RangeStart, 0.5f * 80 + 10);
    EXPECT_FLOAT_EQ(plot.RangeWidth, 0.5f * 81);

    // Right button alone moves nothing.
    MarkerMouseMove(plot, box, 2, 20);
    EXPECT_DOUBLE_EQ(plot.LinEnergy1->X1(), 80);

    // The second marker dragged below 0 stops at 0 and pushes the first to -1.
    MarkerMouseDown(plot, box, 81.2);
    EXPECT_EQ(plot.DragLine, 2);
    MarkerMouseMove(plot, box, 1, -5);
    EXPECT_DOUBLE_EQ(plot.LinEnergy2->X1(), 0);
    EXPECT_DOUBLE_EQ(plot.LinEnergy1->X1(), -1);
    EXPECT_DOUBLE_EQ(plot.LinEnergy1->X2(), -1);
    EXPECT_FLOAT_EQ(plot.RangeStart, 0.5f * -1 + 10);
    EXPECT_FLOAT_EQ(plot.RangeWidth, 0.0f);

    // A mouse down away from both lines drops the drag.
    MarkerMouseDown(plot, box, 40);
    EXPECT_FALSE(plot.Dragging);
    MarkerMouseMove(plot, box, 1, 30);
    EXPECT_DOUBLE_EQ(plot.LinEnergy2->X1(), 0);

    // Out of range mode the range still follows the markers.
    plot.RangeMode = false;
    plot.PlotE0 = 0;
    MarkerMouseMove(plot, box, 0, 10);
    EXPECT_FLOAT_EQ(plot.RangeStart, -0.5f);
}
