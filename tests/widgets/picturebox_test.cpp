#include "widgets/picturebox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>

#include "platform/errors.h"
#include "test_app.h"
#include "widgets/twips.h"

using namespace kelvara;

namespace {

QApplication& app() { return kelvara::testing::TestApp(); }

QRgb px(const PictureBox& box, int x, int y) { return box.image().pixel(x, y); }

int countColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour) ++n;
    return n;
}

// A 120 x 120 box whose user scale puts 0..100 at pixels 10..110, y upward.
void unitBox(PictureBox& box) {
    box.resize(120, 120);
    box.setScale(-10, 110, 110, -10);
    box.cls();
}

} // namespace

TEST(PictureBox, ScaleMapsCornersAndDefaultsToTwips) {
    app();
    PictureBox box;
    box.resize(200, 100);
    // Before a scale is set the box measures in twips from its top-left corner.
    EXPECT_FALSE(box.hasUserScale());
    EXPECT_DOUBLE_EQ(box.scaleWidth(), PixelsToTwipsX(200));
    EXPECT_DOUBLE_EQ(box.scaleHeight(), PixelsToTwipsY(100));
    EXPECT_DOUBLE_EQ(box.toPixelX(PixelsToTwipsX(50)), 50.0);

    // (x1, y1) top-left, (x2, y2) bottom-right; a negative height makes y grow upward.
    box.setScale(-20, 50, 180, -50);
    EXPECT_DOUBLE_EQ(box.scaleLeft(), -20);
    EXPECT_DOUBLE_EQ(box.scaleTop(), 50);
    EXPECT_DOUBLE_EQ(box.scaleWidth(), 200);
    EXPECT_DOUBLE_EQ(box.scaleHeight(), -100);
    EXPECT_DOUBLE_EQ(box.toPixelX(-20), 0);
    EXPECT_DOUBLE_EQ(box.toPixelX(180), 200);
    EXPECT_DOUBLE_EQ(box.toPixelY(50), 0);
    EXPECT_DOUBLE_EQ(box.toPixelY(-50), 100);
    EXPECT_DOUBLE_EQ(box.toPixelY(0), 50);
    EXPECT_DOUBLE_EQ(box.toUserX(box.toPixelX(37.5)), 37.5);
    EXPECT_DOUBLE_EQ(box.toUserY(box.toPixelY(-12.25)), -12.25);

    // A user scale keeps its units when the box is resized.
    box.resize(400, 100);
    EXPECT_DOUBLE_EQ(box.scaleWidth(), 200);
    EXPECT_DOUBLE_EQ(box.toPixelX(180), 400);

    EXPECT_THROW(box.setScale(0, 0, 0, 10), RuntimeError);
}

TEST(PictureBox, PaletteAndColours) {
    // Colour 3 is the dark cyan RGB(0, 128, 128); 9 the light blue; 15 white.
    EXPECT_EQ(QBColor(3), qRgb(0, 128, 128));
    EXPECT_EQ(QBColor(9), qRgb(0, 0, 255));
    EXPECT_EQ(QBColor(15), qRgb(255, 255, 255));
    EXPECT_THROW(QBColor(16), RuntimeError);
    EXPECT_THROW(QBColor(-1), RuntimeError);
    EXPECT_EQ(RGB(300, -4, 12), qRgb(255, 0, 12));
}

TEST(PictureBox, LinesLandOnExactPixelsWithThePenWidth) {
    app();
    PictureBox box;
    unitBox(box);
    EXPECT_EQ(countColour(box.image(), qRgb(255, 255, 255)), 120 * 120);

    // Horizontal line at y = 50 -> pixel row 60, columns 10..110 (the end
    // point x = 100 maps to pixel 110, the first pixel right of the area).
    box.line(0, 50, 100, 50, QBColor(4));
    EXPECT_EQ(px(box, 10, 60), QBColor(4));
    EXPECT_EQ(px(box, 60, 60), QBColor(4));
    EXPECT_EQ(px(box, 60, 59), qRgb(255, 255, 255));
    EXPECT_EQ(px(box, 60, 61), qRgb(255, 255, 255));
    EXPECT_EQ(px(box, 9, 60), qRgb(255, 255, 255));
    EXPECT_EQ(countColour(box.image(), QBColor(4)), 101);
    EXPECT_DOUBLE_EQ(box.currentX(), 100);
    EXPECT_DOUBLE_EQ(box.currentY(), 50);

    // Pen width 3: three rows, centred on the line.
    box.setDrawWidth(3);
    box.line(20, 20, 80, 20); // foreground colour (black)
    for (int row = 88; row <= 92; ++row)
        EXPECT_EQ(px(box, 50, row), (row >= 89 && row <= 91) ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << row;

    // lineTo continues from the current position.
    box.setDrawWidth(1);
    box.setCurrentX(0);
    box.setCurrentY(0);
    box.lineTo(0, 100, QBColor(2));
    EXPECT_EQ(px(box, 10, 110), QBColor(2));
    EXPECT_EQ(px(box, 10, 30), QBColor(2));
    EXPECT_EQ(px(box, 10, 10), QBColor(2));

    // Cls leaves the picture all background and the position at the origin.
    box.cls();
    EXPECT_EQ(countColour(box.image(), qRgb(255, 255, 255)), 120 * 120);
    EXPECT_DOUBLE_EQ(box.currentX(), 0);
    EXPECT_DOUBLE_EQ(box.currentY(), 0);
}

TEST(PictureBox, FarCoordinatesAreClippedNotRefused) {
    app();
    PictureBox box;
    unitBox(box);
    // One end far outside (and one at infinity): the visible part is drawn, nothing fails.
    box.line(0, 50, 1e12, 50, QBColor(1));
    EXPECT_EQ(px(box, 119, 60), QBColor(1));
    box.line(50, -1e30, 50, 1e30, QBColor(10));
    EXPECT_EQ(px(box, 60, 0), QBColor(10));
    EXPECT_EQ(px(box, 60, 119), QBColor(10));
    box.line(0, 0, std::numeric_limits<double>::infinity(), 0, QBColor(12));
    EXPECT_DOUBLE_EQ(box.currentY(), 0);
}

TEST(PictureBox, DrawWidthIsCappedAndMustBePositive) {
    app();
    PictureBox box;
    box.setDrawWidth(7);
    EXPECT_EQ(box.drawWidth(), 7);
    box.setDrawWidth(1'000'000);
    EXPECT_EQ(box.drawWidth(), PictureBox::kMaxDrawWidth);
    EXPECT_THROW(box.setDrawWidth(0), RuntimeError);
    EXPECT_EQ(box.drawWidth(), PictureBox::kMaxDrawWidth);
    // A capped pen still draws.
    unitBox(box);
    box.line(0, 50, 100, 50);
    EXPECT_EQ(px(box, 60, 60), qRgb(0, 0, 0));
}

TEST(PictureBox, PrintWritesAtCurrentPositionAndMovesDown) {
    app();
    PictureBox box;
    unitBox(box);
    box.setCurrentX(0);
    box.setCurrentY(90);
    const double h = box.textHeight("Ag");
    EXPECT_GT(h, 0);
    box.print("Ag");
    EXPECT_DOUBLE_EQ(box.currentX(), -10); // back to the scale's left edge
    EXPECT_NEAR(box.currentY(), 90 - h, 1e-9); // y grows upward: the next line is lower
    // The text lies right of and below its top-left corner (pixel 10, 20).
    int ink = 0;
    for (int y = 20; y < 20 + 20; ++y)
        for (int x = 10; x < 40; ++x)
            if (px(box, x, y) != qRgb(255, 255, 255)) ++ink;
    EXPECT_GT(ink, 3);
    int above = 0;
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 120; ++x)
            if (px(box, x, y) != qRgb(255, 255, 255)) ++above;
    EXPECT_EQ(above, 0);

    // Without a new line the position moves right by the text's width.
    box.setCurrentX(0);
    box.print("Ag", false);
    EXPECT_NEAR(box.currentX(), box.textWidth("Ag"), 1e-9);
}

TEST(PictureBox, ImageSurvivesRepaintAndLinesAndChildrenStayOnTop) {
    app();
    PictureBox box;
    unitBox(box);
    box.line(0, 50, 100, 50, QBColor(4));
    PictureLine* marker = box.addLine();
    marker->setPosition(30, 100, 30, 0);
    marker->setColor(QBColor(9));
    auto* label = new QLabel("status", &box);
    label->setGeometry(80, 0, 40, 10);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, QColor(0, 255, 0));
    label->setPalette(pal);
    box.show();
    const QRgb childColour = label->grab().toImage().pixel(20, 5);
    ASSERT_NE(childColour, qRgb(255, 255, 255));

    QImage shown = box.grab().toImage();
    EXPECT_EQ(shown.pixel(60, 60), QBColor(4));     // the persistent image
    EXPECT_EQ(shown.pixel(40, 30), QBColor(9));     // the marker line above it
    EXPECT_EQ(shown.pixel(100, 5), childColour); // the child widget
    EXPECT_EQ(px(box, 40, 30), qRgb(255, 255, 255));             // the marker is not in the image

    // Cls erases the drawing but not the marker line or the child.
    box.cls();
    shown = box.grab().toImage();
    EXPECT_EQ(shown.pixel(60, 60), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(40, 30), QBColor(9));
    EXPECT_EQ(shown.pixel(100, 5), childColour);

    marker->setVisible(false);
    shown = box.grab().toImage();
    EXPECT_EQ(shown.pixel(40, 30), qRgb(255, 255, 255));

    // Growing the box keeps the drawing and fills the new part with the background.
    box.line(0, 50, 100, 50, QBColor(4));
    box.resize(160, 140);
    EXPECT_EQ(box.image().size(), QSize(160, 140));
    EXPECT_EQ(px(box, 60, 60), QBColor(4));
    EXPECT_EQ(px(box, 150, 130), qRgb(255, 255, 255));
}

TEST(PictureBox, MouseEventsReportUserCoordinates) {
    app();
    PictureBox box;
    unitBox(box);
    struct Event {
        int button, shift;
        double x, y;
    };
    std::vector<Event> downs, moves, ups;
    QObject::connect(&box, &PictureBox::mouseDown, [&](int b, int s, double x, double y) { downs.push_back({b, s, x, y}); });
    QObject::connect(&box, &PictureBox::mouseMove, [&](int b, int s, double x, double y) { moves.push_back({b, s, x, y}); });
    QObject::connect(&box, &PictureBox::mouseUp, [&](int b, int s, double x, double y) { ups.push_back({b, s, x, y}); });

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(60, 35), QPointF(60, 35), Qt::LeftButton, Qt::LeftButton,
                      Qt::ShiftModifier);
    QApplication::sendEvent(&box, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(85, 110), QPointF(85, 110), Qt::NoButton,
                     Qt::LeftButton | Qt::RightButton, Qt::ControlModifier);
    QApplication::sendEvent(&box, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(10, 10), QPointF(10, 10), Qt::RightButton, Qt::NoButton,
                        Qt::AltModifier);
    QApplication::sendEvent(&box, &release);

    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].button, 1);
    EXPECT_EQ(downs[0].shift, 1);
    EXPECT_DOUBLE_EQ(downs[0].x, 50);
    EXPECT_DOUBLE_EQ(downs[0].y, 75);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].button, 3); // buttons held: left and right
    EXPECT_EQ(moves[0].shift, 2);
    EXPECT_DOUBLE_EQ(moves[0].x, 75);
    EXPECT_DOUBLE_EQ(moves[0].y, 0);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].button, 2);
    EXPECT_EQ(ups[0].shift, 4);
    EXPECT_DOUBLE_EQ(ups[0].x, 0);
    EXPECT_DOUBLE_EQ(ups[0].y, 100);

    box.setMousePointer(PictureBox::PointerSizeWE);
    EXPECT_EQ(box.cursor().shape(), Qt::SizeHorCursor);
    box.setMousePointer(PictureBox::PointerDefault);
    EXPECT_EQ(box.mousePointer(), 0);
    EXPECT_EQ(box.cursor().shape(), Qt::ArrowCursor);
}
