// Smooth drawing: partly transparent fills over what the port holds, and
// fractional, antialiased strokes, copied back as pixels.
#include <gtest/gtest.h>

#include "platform/core/raster.h"
#include "platform/ui/smooth_image.h"

using namespace plat;

TEST(SmoothImage, AlphaFillBlendsOverThePortAndStrokesAreFractional) {
    Port port(40, 40);
    port.set_back_color(RGBColor{0xFFFF, 0xFFFF, 0xFFFF});
    port.erase_rect(Rect{0, 0, 40, 40});
    port.set_fore_color(RGBColor{0, 0, 0});
    port.paint_rect(Rect{10, 10, 20, 20});  // black under part of the fill
    SmoothImage image(port, Rect{10, 10, 34, 34});
    EXPECT_EQ(image.width(), 24);
    image.flip_vertical();
    image.fill_rect(0, 0, 24, 24, SmoothColor{0, 1, 0, 0.2});
    // A vertical line at x = 20.5 covers pixel column 20 exactly; at 22.0 it
    // straddles columns 21 and 22.
    image.stroke_line(20.5, 0, 20.5, 24, SmoothColor{0, 0, 0, 1});
    image.stroke_line(22.0, 0, 22.0, 24, SmoothColor{0, 0, 0, 1});
    image.copy_to(port, 10, 10);
    // White under 20% green: 255 x 0.8 = 204 in red and blue, green stays 255.
    const RGBColor over_white = color_of(port.pixel(25, 25));
    EXPECT_NEAR(over_white.red >> 8, 204, 1);
    EXPECT_EQ(over_white.green >> 8, 255);
    EXPECT_NEAR(over_white.blue >> 8, 204, 1);
    // Black under it: 0 x 0.8 + 255 x 0.2 = 51 in green.
    const RGBColor over_black = color_of(port.pixel(12, 12));
    EXPECT_EQ(over_black.red >> 8, 0);
    EXPECT_NEAR(over_black.green >> 8, 51, 1);
    EXPECT_EQ(color_of(port.pixel(30, 25)).red >> 8, 0);  // column 20 of the image: full ink
    const int half = color_of(port.pixel(31, 25)).red >> 8;  // column 21: half covered
    EXPECT_GT(half, 60);
    EXPECT_LT(half, 160);
    EXPECT_EQ(port.pixel(5, 5), white_pixel);  // outside the area: untouched
}

TEST(SmoothImage, FlippedCoordinatesCountFromTheBottomEdge) {
    Port port(10, 10);
    port.set_back_color(RGBColor{0xFFFF, 0xFFFF, 0xFFFF});
    port.erase_rect(Rect{0, 0, 10, 10});
    SmoothImage image(port, Rect{0, 0, 10, 10});
    image.flip_vertical();
    image.fill_rect(0, 0, 10, 2, SmoothColor{0, 0, 0, 1});  // the two bottom rows
    image.copy_to(port, 0, 0);
    EXPECT_EQ(port.pixel(5, 9), black_pixel);
    EXPECT_EQ(port.pixel(5, 8), black_pixel);
    EXPECT_EQ(port.pixel(5, 7), white_pixel);
    EXPECT_EQ(port.pixel(5, 0), white_pixel);
}
