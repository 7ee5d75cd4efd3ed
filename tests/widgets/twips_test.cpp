#include <gtest/gtest.h>

#include <QWidget>

#include "offscreen_screen.h"
#include "widgets/twips.h"

using namespace kelvara;

TEST(Twips, FifteenPerPixelAt96DpiAndScreenInTwips) {
    if (!testsupport::UseOffscreenScreen(1024, 768)) GTEST_SKIP() << "another screen in this process";
    ASSERT_EQ(QGuiApplication::primaryScreen()->size(), QSize(1024, 768));
    EXPECT_DOUBLE_EQ(TwipsPerPixelX(), 15.0);
    EXPECT_DOUBLE_EQ(TwipsPerPixelY(), 15.0);
    EXPECT_DOUBLE_EQ(ScreenWidthTwips(), 15360.0);
    EXPECT_DOUBLE_EQ(ScreenHeightTwips(), 11520.0);
    EXPECT_EQ(TwipsToPixelsX(1440), 96); // one inch
    EXPECT_EQ(TwipsToPixelsY(7), 0);     // below half a pixel
    EXPECT_EQ(TwipsToPixelsY(8), 1);

    // Neighbouring rectangles placed from twips meet without gap or overlap.
    QWidget parent;
    QWidget a(&parent), b(&parent);
    PlaceTwips(&a, 0, 0, 0.18 * 15360, 100);
    PlaceTwips(&b, 0.18 * 15360, 0, 0.18 * 15360, 100);
    EXPECT_EQ(a.geometry().right() + 1, b.x());
    EXPECT_NEAR(WidthTwips(&a), 0.18 * 15360, 15.0);
}

