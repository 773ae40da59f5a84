#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "display/bezier.h"
#include "display/dimensions.h"
#include "display/graphics_unit.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "store/geometry.h"
#include "tests/display/renderer_fixture.h"
#include "tests/support/pixels.h"

using drav::test::adim_rec;
using drav::test::bezier_rec;
using drav::test::ldim_rec;
using drav::test::pixel_rows;
using drav::test::Renderer;
using drav::test::rows;

namespace drav {
namespace {

double cubic(double p0, double p1, double p2, double p3, double t) {
    const double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}

TEST_F(Renderer, BezierPointsComeFromForwardDifferences) {
    const ObjectRec b = bezier_rec(2, 2, 1, 3, 4, -1, 6, 1);
    clip_it = 0;
    for (std::uint16_t finest : {0, 1}) {
        max_resolution = finest;
        const int n = finest ? 40 : 20;
        const std::vector<double> v = traced(b);
        ASSERT_EQ(v.size(), 2u * (n + 1));
        for (int k = 0; k <= n; ++k) {
            const double t = static_cast<double>(k) / n;
            EXPECT_NEAR(v[2 * k], cubic(2, 3, 6, 8, t), 1e-9) << k;
            EXPECT_NEAR(v[2 * k + 1], cubic(2, 5, 1, 3, t), 1e-9) << k;
        }
        // The step matrix in use is, bit for bit, the one the step's
        // scaling and the cubic basis give.
        double want[4][4] = {{0, 0, 0, 1}, {1, 1, 1, 0}, {6, 2, 0, 0}, {6, 0, 0, 0}};
        const double basis[4][4] = {{-1, 3, -3, 1}, {3, -6, 3, 0}, {-3, 3, 0, 0}, {1, 0, 0, 0}};
        set_eepsilon(want, 1.0 / n);
        matmult(want, basis);
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) EXPECT_EQ(eepsilon[i][j], want[i][j]) << n << " " << i << " " << j;
    }
}

TEST_F(Renderer, BezierOutsideTheViewDrawsNothingUnlessClippingIsOff) {
    const ObjectRec b = bezier_rec(30, 2, 1, 3, 4, -1, 6, 1);
    EXPECT_TRUE(traced(b).empty());
    EXPECT_EQ(clipped, 0);
    clip_it = 0;
    EXPECT_EQ(traced(b).size(), 42u);
    EXPECT_EQ(clipped, 1);
}

TEST_F(Renderer, AWideBezierClosesExactlyOnItsFirstEdgesStart) {
    ObjectRec b = bezier_rec(2, 2, 1, 3, 4, -1, 6, 1);
    b.b[obj::width] = 3;  // half band 0.1
    const std::vector<double> v = traced(b);
    ASSERT_EQ(v.size(), 2u * 43);  // 20 out, the end side, 20 back, the start side
    EXPECT_DOUBLE_EQ(v[0], 2);
    EXPECT_DOUBLE_EQ(v[1], 1.9);
    EXPECT_EQ(v[v.size() - 2], v[0]);
    EXPECT_EQ(v[v.size() - 1], v[1]);
    EXPECT_NEAR(v[2 * 21], 8, 1e-9);  // the outer edge starts at the end point
    EXPECT_NEAR(v[2 * 21 + 1], 3.1, 1e-9);
}

TEST_F(Renderer, BezierGuideRunsAViewportWidthEachSideOfTheEnd) {
    bez_guides = 1;
    clip_it = 0;
    const std::vector<double> v = traced(bezier_rec(2, 2, 1, 3, 4, 1, 4, 1));  // P2 = P3: horizontal
    ASSERT_GE(v.size(), 4u);
    const std::vector<double> guide(v.end() - 4, v.end());
    EXPECT_EQ(guide, (std::vector<double>{6 - 20, 3, 6 + 20, 3}));
    bez_guides = 0;
}

TEST(LinearDimension, ExtensionLinesByOrientation) {
    output_defs = {};
    output_defs.ext_line_gap = 0.1;
    struct Case {
        const char* what;
        double second_x, second_y, offset;
        std::uint16_t mode;
        std::vector<double> corners;  // x1 y1 x2 y2 x3 y3 x4 y4
    };
    const Case cases[] = {
        {"aligned", 3, 0, 2, 0, {1, 1.1, 4, 1.1, 1, 3.1, 4, 3.1}},
        {"aligned upward", 0, 3, 2, 0, {0.9, 1, 0.9, 4, -1.1, 1, -1.1, 4}},
        {"below", 3, 0, -2, 0, {1, 0.9, 4, 0.9, 1, -1.1, 4, -1.1}},
        {"horizontal", 3, 1, 2, ldim::horizontal, {1, 1.1, 4, 2.1, 1, 3.1, 4, 3.1}},
        {"vertical", 1, 3, 2, ldim::vertical, {1.1, 1, 2.1, 4, 3.1, 1, 3.1, 4}},
        {"both bits: horizontal", 3, 1, 2, ldim::horizontal | ldim::vertical, {1, 1.1, 4, 2.1, 1, 3.1, 4, 3.1}},
    };
    for (const Case& c : cases) {
        const ObjectRec r = ldim_rec(1, 1, c.second_x, c.second_y, c.offset, c.mode);
        std::vector<double> got(8);
        getldimcorners(&r, &got[0], &got[1], &got[2], &got[3], &got[4], &got[5], &got[6], &got[7]);
        for (int i = 0; i < 8; ++i) EXPECT_NEAR(got[i], c.corners[i], 1e-9) << c.what << " " << i;
    }
}

// P (0.5, 0.5), the second point 1.5 to the right, the dimension line 0.6
// above; arrows of 3 pixels.
TEST_F(Renderer, LinearDimensionStyles) {
    constexpr std::uint16_t both = ldim::ext1 | ldim::ext2 | (1 << ldim::arrow_shift);
    struct Case {
        std::uint16_t mode;
        std::string picture;
    };
    const std::string outside = rows({".........................", ".........................",
                                      "..#....................#.", "...###..............###..",
                                      "######..............#####", "..##.#..............#.##.",
                                      ".....#..............#....", ".....#..............#...."});
    const Case cases[] = {
        {both, rows({".........................", ".........................", "........#........#.......",
                     ".....###..........###....", ".....################....", ".....#.##........##.#....",
                     ".....#..............#....", ".....#..............#...."})},
        {both | ldim::arrows_outside, outside},
        {both | ldim::arrows_outside | ldim::broken, outside},
        {both | ldim::broken, rows({".........................", ".........................",
                                    "........#........#.......", ".....###..........###....",
                                    ".....#######...######....", ".....#.##........##.#....",
                                    ".....#..............#....", ".....#..............#...."})},
    };
    output_defs.arrow_length = 0.3;
    for (const Case& c : cases) {
        cleargraphics();
        const ObjectRec r = ldim_rec(0.5, 0.5, 1.5, 0, 0.6, c.mode, 0.2, 0.75);
        show(mode_draw, &r);
        EXPECT_EQ(pixel_rows(*myCGrafPtr, 0, 85, 25, 8), c.picture) << c.mode;
    }
}

// A right angle at the vertex (0.5, 0.5), the arc of radius 1.3.
TEST_F(Renderer, AngularDimensionArcsExtensionLinesAndArrows) {
    constexpr std::uint16_t both = adim::ext1 | adim::ext2 | (1 << adim::arrow_shift);
    const auto drawn = [](const ObjectRec& r) {
        cleargraphics();
        show(mode_draw, &r);
        return pixel_rows(*myCGrafPtr, 3, 80, 18, 17);
    };
    output_defs.arrow_length = 0.3;
    const std::string plain = drawn(adim_rec(1.5, 0.5, 0, half_pie, 1.0, 0.3, both));
    EXPECT_EQ(plain, rows({".....#............",
                           "..###.............",
                           "..##..............",
                           "..#.####..........",
                           "..#.....##........",
                           "..........#.......",
                           "...........#......",
                           "............#.....",
                           ".............#....",
                           ".............#....",
                           "..............#...",
                           "..............#...",
                           "..............#..#",
                           "..............#.#.",
                           "...............##.",
                           ".............####.",
                           ".................."}));
    // A text gap beyond the dimensioned angle: each piece is the whole arc.
    EXPECT_EQ(drawn(adim_rec(1.5, 0.5, 0, half_pie, 1.0, 0.3, both | adim::broken, 0.1, pie)), plain);
    EXPECT_NE(drawn(adim_rec(1.5, 0.5, 0, half_pie, 1.0, 0.3, both | adim::broken, 0.2, quart_pie)), plain);
}

}  // namespace
}  // namespace drav
