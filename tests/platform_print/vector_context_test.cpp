// The vector context on an image: what a path paints, pixel by pixel.
#include <gtest/gtest.h>

#include <string>

#include "platform/print/vector_context.h"

using plat::VectorContext;

namespace {

constexpr std::uint32_t white = 0xFFFFFF, black = 0x000000, red = 0xFF0000;

// Rows of the image: '#' black, 'r' red, '.' white, '?' anything else.
std::string rows(const VectorContext& v) {
    std::string out;
    for (int y = 0; y < v.height(); ++y) {
        for (int x = 0; x < v.width(); ++x) {
            const std::uint32_t p = v.pixel(x, y);
            out += p == white ? '.' : p == black ? '#' : p == red ? 'r' : '?';
        }
        out += '\n';
    }
    return out;
}

}  // namespace

TEST(VectorContext, AFilledRectangleCoversExactlyItsPixels) {
    auto v = VectorContext::for_image(6, 5);
    ASSERT_TRUE(v);
    v->set_fill_color(plat::RGBColor{0xFFFF, 0, 0});
    v->add_rect(1, 1, 3, 2);
    v->fill();
    EXPECT_EQ(rows(*v),
              "......\n"
              ".rrr..\n"
              ".rrr..\n"
              "......\n"
              "......\n");
}

TEST(VectorContext, AThinLineThroughPixelCentresInksThatRowOnly) {
    auto v = VectorContext::for_image(8, 4);
    ASSERT_TRUE(v);
    v->move_to(1.5, 1.5);
    v->line_to(6.5, 1.5);
    v->stroke();
    const std::string r = rows(*v);
    // Pixels 2 to 5 of row 1 certainly; rows 0, 2 and 3 stay white.
    EXPECT_EQ(r.substr(0, 9), "........\n");
    EXPECT_EQ(r.substr(9 + 2, 4), "####");
    EXPECT_EQ(r.substr(18), "........\n........\n");
}

TEST(VectorContext, RestoreBringsBackTheColourAndScaleMultipliesCoordinates) {
    auto v = VectorContext::for_image(6, 6);
    ASSERT_TRUE(v);
    v->save();
    v->set_fill_color(plat::RGBColor{0xFFFF, 0, 0});
    v->scale(2, 2);
    v->add_rect(1, 1, 1, 1);  // pixels 2-3 after scaling
    v->fill();
    v->restore();
    v->add_rect(5, 5, 1, 1);  // black again, unscaled
    v->fill();
    v->restore();  // without its save: nothing changes
    EXPECT_EQ(rows(*v),
              "......\n"
              "......\n"
              "..rr..\n"
              "..rr..\n"
              "......\n"
              ".....#\n");
}

TEST(VectorContext, ADashLeavesGapsInTheLine) {
    auto v = VectorContext::for_image(20, 3);
    ASSERT_TRUE(v);
    v->set_line_width(1);
    v->set_dash({2, 2});
    v->move_to(0, 1.5);
    v->line_to(20, 1.5);
    v->stroke();
    EXPECT_EQ(rows(*v).substr(21, 20), "##..##..##..##..##..");
}

TEST(VectorContext, ASizeOutsideTheLimitsGivesNoContext) {
    EXPECT_FALSE(VectorContext::for_image(0, 5));
    EXPECT_FALSE(VectorContext::for_image(5, -1));
    EXPECT_FALSE(VectorContext::for_image(20000, 5));
    auto v = VectorContext::for_image(2, 2);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->pixel(-1, 0), white);
    EXPECT_EQ(v->pixel(2, 0), white);
}
