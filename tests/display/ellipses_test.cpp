#include "display/ellipses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "display/graphics_unit.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "store/geometry.h"
#include "tests/display/renderer_fixture.h"

using drav::test::ellipse_rec;
using drav::test::Renderer;

namespace drav {
namespace {

// Circles about (10, 5), traced whole; at 10 pixels a unit the radius in
// pixels is 10 r.
TEST_F(Renderer, SidesFollowTheRadiusInPixels) {
    struct Case {
        double r;
        int polygon;  // sides of a polygon record; 0 a circle
        std::uint16_t finest;
        int lines;
    };
    const Case cases[] = {
        {0.05, 0, 0, 8},  // a dot, but collecting end points asks 8 at least
        {0.2, 0, 0, 8},   {0.5, 0, 0, 8},    {2, 0, 0, 12},   {5, 0, 0, 20},   {10, 0, 0, 24},
        {20, 0, 0, 36},   {30, 0, 0, 40},    {50, 0, 0, 60},  {80, 0, 0, 72},  {150, 0, 0, 120},
        {0.5, 0, 1, 180},
        {2, 5, 0, 5},     {2, 12, 0, 12},
        {2, 2, 0, 12},    {2, -4, 0, 12},    // no polygon below 3 sides: its circle
    };
    clip_it = 0;
    for (const Case& c : cases) {
        max_resolution = c.finest;
        const std::vector<double> v = traced(ellipse_rec(10, 5, c.r, c.r, 0, 0, 0, false, c.polygon));
        ASSERT_EQ(v.size(), 2u * (c.lines + 1)) << c.r << " " << c.polygon;
        const double step = two_pie / c.lines;
        for (int k = 0; k <= c.lines; ++k) {
            EXPECT_NEAR(v[2 * k], 10 + c.r * std::cos(k * step), 1e-9) << c.r << " vertex " << k;
            EXPECT_NEAR(v[2 * k + 1], 5 + c.r * std::sin(k * step), 1e-9) << c.r << " vertex " << k;
        }
    }
}

// Polygons of 10 sides and more have their vertices worked out: exactly
// the values of the direct calculation, on the first figure and on the
// next of the same sides. (A trace holds some 240 vertices.)
TEST_F(Renderer, ManySidedPolygonVerticesAreExactlyTheirAngles) {
    clip_it = 0;
    for (const int n : {10, 11, 13, 17, 120, 240, 11}) {
        for (int again = 0; again < 2; ++again) {
            const std::vector<double> v = traced(ellipse_rec(10, 5, 2, 2, 0, 0, 0, false, n));
            ASSERT_EQ(v.size(), 2u * (n + 1)) << n;
            for (int k = 0; k <= n; ++k) {
                const double a = degrad(k * (360.0 / n));
                EXPECT_EQ(v[2 * k], 10 + 2 * (k == 0 ? 1.0 : std::cos(a))) << n << " vertex " << k;
                EXPECT_EQ(v[2 * k + 1], 5 + 2 * (k == 0 ? 0.0 : std::sin(a))) << n << " vertex " << k;
            }
        }
    }
}

// Radius 15: 36 sides of 10 degrees.
TEST_F(Renderer, ArcsPassTheVerticesBetweenTheirEndsInTheirDirection) {
    struct Case {
        double begin, end;  // degrees
        bool cw;
        std::vector<double> through;  // degrees
    };
    std::vector<double> long_way{15};
    for (int d = 20; d <= 360; d += 10) long_way.push_back(d);
    long_way.push_back(10);
    long_way.push_back(12);
    const Case cases[] = {
        {355, 25, false, {355, 360, 10, 20, 25}},
        {25, 355, true, {25, 20, 10, 360, 355}},
        {12, 15, false, {12, 15}},
        {15, 12, true, {15, 12}},
        {15, 12, false, long_way},
        // Outside the full turn: the same arcs.
        {-5, 25, false, {355, 360, 10, 20, 25}},
        {355 + 360, 25 + 720, false, {355, 360, 10, 20, 25}},
        {25, -5, true, {25, 20, 10, 360, 355}},
    };
    clip_it = 0;
    for (const Case& c : cases) {
        const std::vector<double> v =
            traced(ellipse_rec(10, 5, 15, 15, 0, degrad(c.begin), degrad(c.end), c.cw));
        ASSERT_EQ(v.size(), 2 * c.through.size()) << c.begin << " " << c.end;
        for (std::size_t k = 0; k < c.through.size(); ++k) {
            EXPECT_NEAR(v[2 * k], 10 + 15 * std::cos(degrad(c.through[k])), 1e-9) << c.begin << " " << k;
            EXPECT_NEAR(v[2 * k + 1], 5 + 15 * std::sin(degrad(c.through[k])), 1e-9) << c.begin << " " << k;
        }
    }
}

TEST_F(Renderer, AWideArcIsOneClosedBandOutline) {
    ObjectRec a = ellipse_rec(10, 5, 2, 2, 0, degrad(10), degrad(80));  // 12 sides of 30 degrees
    a.b[obj::width] = 3;                                                 // half band 0.1
    const std::vector<double> v = traced(a);
    const std::vector<std::pair<double, double>> through = {
        {1.9, 10}, {1.9, 30}, {1.9, 60}, {1.9, 80}, {2.1, 80}, {2.1, 60}, {2.1, 30}, {2.1, 10}, {1.9, 10}};
    ASSERT_EQ(v.size(), 2 * through.size());
    for (std::size_t k = 0; k < through.size(); ++k) {
        const auto [r, deg] = through[k];
        EXPECT_NEAR(v[2 * k], 10 + r * std::cos(degrad(deg)), 1e-9) << k;
        EXPECT_NEAR(v[2 * k + 1], 5 + r * std::sin(degrad(deg)), 1e-9) << k;
    }
}

TEST_F(Renderer, SolidClosedFiguresAtQuarterTurnsAreOneOval) {
    const auto drawn = [](const ObjectRec& r) {
        cleargraphics();
        show(mode_draw, &r);
        return myCGrafPtr->pixels();
    };
    const auto upright = drawn(ellipse_rec(5, 5, 0.8, 3));
    EXPECT_EQ(drawn(ellipse_rec(5, 5, 3, 0.8, half_pie + 5e-8)), upright) << "radii swapped";
    EXPECT_NE(drawn(ellipse_rec(5, 5, 3, 0.8, degrad(30))), upright);
    ObjectRec dashed = ellipse_rec(5, 5, 0.8, 3);
    dashed.b[obj::style] = 5;
    EXPECT_NE(drawn(dashed), upright) << "a styled figure is a polyline";

    // Below one pixel a styled circle is a dot.
    ObjectRec dot = ellipse_rec(5, 5, 0.05, 0.05);
    dot.b[obj::style] = 5;
    const std::vector<std::uint32_t> pixels = drawn(dot);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), plat::black_pixel), 1);
}

}  // namespace
}  // namespace drav
