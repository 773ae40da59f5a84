#include "store/geometry.h"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

namespace drav {
namespace {

constexpr double nan_v = std::numeric_limits<double>::quiet_NaN();
constexpr double inf_v = std::numeric_limits<double>::infinity();
constexpr double pi_v = 3.14159265358979323846;

TEST(Geometry, RadAngleByQuadrant) {
    struct Case { double dx, dy, want; } cases[] = {
        {0, 0, 0},           {3, 0, 0},           {0, 2, pi_v / 2},   {0, -2, 3 * pi_v / 2},
        {-1, 0, pi_v},       {1, 1, pi_v / 4},    {-1, 1, 3 * pi_v / 4},
        {-1, -1, 5 * pi_v / 4}, {1, -1, 7 * pi_v / 4},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(get_radangle(c.dx, c.dy), c.want, 1e-15) << c.dx << "," << c.dy;
}

TEST(Geometry, AdjustRotationWrapsIntoOneTurn) {
    struct Case { double a, want; } cases[] = {
        {-0.5, 2 * pi_v - 0.5}, {2 * pi_v, 0}, {4 * pi_v + 1, 1}, {0, 0}, {1, 1},
        {-2 * pi_v, 0},         {-1e-20, 0},   {-7 * pi_v, pi_v},
        // Not an angle at all: a defined 0 instead of NaN spreading.
        {nan_v, 0},             {inf_v, 0},    {-inf_v, 0},
    };
    for (const auto& c : cases) EXPECT_NEAR(adjust_rotation(c.a), c.want, 1e-12) << c.a;
}

TEST(Geometry, AdjustRotationOfHugeAnglesIsImmediate) {
    // Stepping by whole turns would take ~1e299 rounds here.
    for (double a : {1e17, -1e17, 1e300, -1e300, 1.7e308}) {
        double r = adjust_rotation(a);
        EXPECT_GE(r, 0.0) << a;
        EXPECT_LT(r, 2 * pi_v) << a;
    }
}

TEST(Geometry, RotateCounterClockwiseAboutOrigin) {
    struct Case { double x, y, angle, nx, ny; } cases[] = {
        {1, 0, pi_v / 2, 0, 1},  {0, 1, pi_v, 0, -1}, {2, 3, -pi_v / 2, 3, -2},
        {2, 3, 0, 2, 3},         {1, 1, pi_v / 4, 0, std::sqrt(2.0)},
    };
    for (const auto& c : cases) {
        double nx = 99, ny = 99;
        rotate_cr(c.x, c.y, &nx, &ny, c.angle);
        EXPECT_NEAR(nx, c.nx, 1e-12);
        EXPECT_NEAR(ny, c.ny, 1e-12);
    }
}

// cos_sin and get_radangle keep the last angle's values: whatever the order
// of the calls, they must give the library's very doubles, -0 apart from 0.
TEST(Geometry, KeptAnglesGiveTheLibrarysBits) {
    const double angles[] = {0,      -0.0, -0.0, 0,     1.25,   1.25, -1.25, 1e300, 1e300, nan_v,
                             nan_v,  inf_v, 0.5,  0.5,  -inf_v, 3e-310, 3e-310, 7 * pi_v, 0,
                             pie,    1.25,  pie,  -pie, std::nextafter(pie, 4.0), pie, 0, 2.5, 0, 2.5};
    const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
    for (int round = 0; round < 2; ++round) {
        for (double a : angles) {
            volatile double va = a;
            const double c_want = std::cos(va), s_want = std::sin(va);
            double c = 9, s = 9;
            cos_sin(a, &c, &s);
            EXPECT_EQ(bits(c), bits(c_want)) << a;
            EXPECT_EQ(bits(s), bits(s_want)) << a;
            double nx = 9, ny = 9;
            rotate_cr(2, 3, &nx, &ny, a);
            EXPECT_EQ(bits(nx), bits(2 * c_want - 3 * s_want)) << a;
            EXPECT_EQ(bits(ny), bits(2 * s_want + 3 * c_want)) << a;
            // Ratios of all kinds, each asked twice, with the signs turned.
            for (double dx : {1.0, -1.0, 3.0}) {
                volatile double t = std::fabs(a / dx);
                const double want = std::atan(t);
                const double got = get_radangle(dx, dx > 0 ? a : -a);
                double x = 0, y = 0;
                calc_sides(a, 2, &x, &y);
                EXPECT_EQ(bits(x), bits(2 * c_want)) << a;
                EXPECT_EQ(bits(y), bits(2 * s_want)) << a;
                if (std::isnan(a) || a == 0) continue;
                const double dy = dx > 0 ? a : -a;
                double ref = want;
                if (dx < 0 && dy < 0)
                    ref = want + pie;
                else if (dx < 0)
                    ref = pie - want;
                else if (dy < 0)
                    ref = two_pie - want;
                EXPECT_EQ(bits(got), bits(ref)) << a << " " << dx;
            }
        }
    }
}

TEST(Geometry, IroundKeepsLow16BitsAndNeverTraps) {
    struct Case { double v; std::int16_t want; } cases[] = {
        {2.5, 3},          {-2.5, -3},        {0.49, 0},        {-0.49, 0},
        {40000.0, -25536}, {32767.0, 32767},  {32767.5, -32768}, {65535.6, 0},
        {-32768.0, -32768}, {2147483647.0, -1},
        // Outside the 32-bit range: clamped to the 16-bit extremes.
        {3e9, 32767},      {-3e9, -32768},    {1e300, 32767},   {-1e300, -32768},
        {inf_v, 32767},    {-inf_v, -32768},  {nan_v, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(iround(c.v), c.want) << c.v;
}

TEST(Geometry, TruncationsSaturateAndNeverTrap) {
    struct Case { double v; std::int32_t ltrunc_want, trunc_want; } cases[] = {
        {2.9999999, 3, 2},    {-2.9999999, -3, -2}, {2.5, 2, 2},     {-2.5, -2, -2},
        {0, 0, 0},            {2147483647.0, INT32_MAX, INT32_MAX},
        {-2147483648.0, INT32_MIN, INT32_MIN},      {2147483648.0, INT32_MAX, INT32_MAX},
        {1e300, INT32_MAX, INT32_MAX},              {-1e300, INT32_MIN, INT32_MIN},
        {inf_v, INT32_MAX, INT32_MAX},              {-inf_v, INT32_MIN, INT32_MIN},
        {nan_v, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ltrunc(c.v), c.ltrunc_want) << c.v;
        EXPECT_EQ(trunc_i32(c.v), c.trunc_want) << c.v;
    }
}

TEST(Geometry, SmallIntegerHelpers) {
    struct Round { double v, want; } rounds[] = {{2.5, 3}, {-2.5, -3}, {2.49, 2}, {1e300, 1e300}};
    for (const auto& c : rounds) EXPECT_EQ(real_round(c.v), c.want) << c.v;
    EXPECT_TRUE(std::isnan(real_round(nan_v)));

    struct Sign { double v; std::int16_t want; } signs[] = {{0, 1}, {-0.0, 1}, {-1e-300, -1}, {5, 1}, {nan_v, -1}};
    for (const auto& c : signs) EXPECT_EQ(sign(c.v), c.want) << c.v;

    struct Mod { double x, y, want; } mods[] = {{7, 3, 1}, {-1, 3, 2}, {-6, 3, 0}, {5.5, 2, 1.5}};
    for (const auto& c : mods) EXPECT_DOUBLE_EQ(fpmod(c.x, c.y), c.want) << c.x << " " << c.y;

    struct Len { int n, want; } lens[] = {{0, 1}, {-5, 2}, {12345, 5}, {INT_MIN, 11}, {INT_MAX, 10}};
    for (const auto& c : lens) EXPECT_EQ(int_length(c.n), c.want) << c.n;

    struct Up { int n, m; std::int16_t want; } ups[] = {
        {5, 4, 8}, {8, 4, 8}, {0, 4, 0}, {1, 1, 1},
        {5, 0, 5},  // no step: unchanged instead of a division by zero
        {40000, 1, -25536},
    };
    for (const auto& c : ups) EXPECT_EQ(round_up(c.n, c.m), c.want) << c.n << " " << c.m;
}

TEST(Geometry, SlopesEqual) {
    struct Case { double dx1, dy1, dx2, dy2; int want; } cases[] = {
        {0, 1, 0.00000001, 5, 1}, {1, 1, 0, 1, 0},   {1, 2, 2, 4, 1},
        {1, 2, 2, 4.1, 0},        {1, 0, -3, 0, 1},  {0, 1, 0, -7, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(slopes_equal(c.dx1, c.dy1, c.dx2, c.dy2), c.want) << c.dx1 << "," << c.dy1;
}

TEST(Geometry, IntersectLinesAndSegments) {
    struct Case {
        double x1, y1, dx1, dy1, x2, y2, dx2, dy2;
        std::int16_t seg1, seg2;
        int want;
        double x, y;
    } cases[] = {
        {0, 0, 1, 0, 2, -1, 0, 2, 0, 0, 1, 2, 0},
        {0, 0, 1, 0, 2, -1, 0, 2, 1, 0, 0, 2, 0},   // crossing beyond the first segment
        {0, 0, 3, 0, 2, -1, 0, 2, 1, 0, 1, 2, 0},
        {0, 0, 3, 0, 2, 1, 0, 2, 0, 1, 0, 2, 0},    // beyond the second segment
        {0, 0, 3, 0, 2, 0, 0, 2, 0, 1, 1, 2, 0},    // segment end on the line
        {2, -1, 0, 2, 0, 0, 1, 0, 0, 0, 1, 2, 0},   // first line vertical
        {0, 0, 1, 1, 0, 2, 1, -1, 1, 1, 1, 1, 1},
        {0, 0, 1, 1, 0, 2, 0.5, -0.5, 0, 1, 0, 1, 1},
    };
    for (const auto& c : cases) {
        double x = 99, y = 99;
        EXPECT_EQ(intersect(c.x1, c.y1, c.dx1, c.dy1, c.x2, c.y2, c.dx2, c.dy2, &x, &y, c.seg1, c.seg2),
                  c.want);
        EXPECT_NEAR(x, c.x, 1e-12);
        EXPECT_NEAR(y, c.y, 1e-12);
    }
    // Parallel lines: nothing written.
    double x = 99, y = 98;
    EXPECT_EQ(intersect(0, 0, 1, 1, 0, 1, 2, 2, &x, &y, 0, 0), 0);
    EXPECT_EQ(x, 99);
    EXPECT_EQ(y, 98);
}

TEST(Geometry, DegreeTablesAreComputedAndExactAtQuarterTurns) {
    ASSERT_EQ(opencossin(), 1);
    struct Exact { int d; double c, s; } exact[] = {
        {0, 1, 0}, {90, 0, 1}, {180, -1, 0}, {270, 0, -1}, {360, 1, 0},
    };
    for (const auto& e : exact) {
        EXPECT_EQ(rcos[e.d], e.c) << e.d;
        EXPECT_EQ(rsin[e.d], e.s) << e.d;
    }
    for (int d = 0; d <= 360; ++d) {
        EXPECT_NEAR(rcos[d], std::cos(d * pi_v / 180), 1e-15) << d;
        EXPECT_NEAR(rsin[d], std::sin(d * pi_v / 180), 1e-15) << d;
    }
}

TEST(Geometry, PolygonTablesCloseOnTheFirstVertex) {
    opencossin();
    init_poly();
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(polycos[n], nullptr);
        EXPECT_EQ(polysin[n], nullptr);
    }
    for (int n = 3; n <= 9; ++n) {
        ASSERT_NE(polycos[n], nullptr);
        for (int k = 0; k <= n; ++k) {
            EXPECT_NEAR(polycos[n][k], std::cos(k * 2 * pi_v / n), 1e-15) << n << " " << k;
            EXPECT_NEAR(polysin[n][k], std::sin(k * 2 * pi_v / n), 1e-15) << n << " " << k;
        }
        EXPECT_EQ(polycos[n][n], polycos[n][0]);
        EXPECT_EQ(polysin[n][n], polysin[n][0]);
    }
    const double four[] = {1, 0, -1, 0, 1};
    for (int k = 0; k <= 4; ++k) EXPECT_EQ(polycos[4][k], four[k]);
}

}  // namespace
}  // namespace drav
