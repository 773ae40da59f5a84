// The spans of a b-spline against hand-worked values, and the degenerate
// cases that must never give a NaN.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "base/tool_options.h"
#include "commands/draw/bspline.h"
#include "commands/draw/bspline_spans.h"

using namespace drav;

namespace {

struct Pt {
    double x, y;
};

Pt c1() { return {q[2], q[3]}; }
Pt c2() { return {q[4], q[5]}; }

// The point list of the command, built as its clicks would.
struct Points {
    ObjOptsRec opts;
    explicit Points(const std::vector<Pt>& pts, int start_mode = 1, int end_mode = 1) {
        opts.bez_opt3 = static_cast<std::int16_t>(start_mode);
        opts.bez_opt4 = static_cast<std::int16_t>(end_mode);
        spline_opts = &opts;
        first_bez = last_bez = upbez = nullptr;
        for (const Pt& p : pts) new_pnt(p.x, p.y);
        upbez = last_bez;
    }
    ~Points() {
        release(first_bez);
        first_bez = last_bez = upbez = nullptr;
        spline_opts = nullptr;
    }
};

}  // namespace

TEST(BSplineSpans, CollinearPointsPutTheControlsOnTheLineAtThirds) {
    ASSERT_EQ(set_pts(0, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0), 1);
    EXPECT_DOUBLE_EQ(q[0], 1);
    EXPECT_DOUBLE_EQ(c1().x, 1 + 1.0 / 3);
    EXPECT_DOUBLE_EQ(c2().x, 2 - 1.0 / 3);
    EXPECT_EQ(c1().y, 0);
    EXPECT_EQ(c2().y, 0);
    // The first span with the open-curve end condition: toward the last point.
    Points pts({{0, 0}, {1, 0}, {2, 0}, {3, 0}});
    ASSERT_EQ(clamp_first_bezier(), 1);
    EXPECT_DOUBLE_EQ(c1().x, 1.0 / 3);
    EXPECT_DOUBLE_EQ(c2().x, 2.0 / 3);
    EXPECT_EQ(c1().y, 0);
}

TEST(BSplineSpans, ARightAngleBendPutsTheControlAtTheChordOverTwoAndAHalfPlusHalfCos45) {
    // P0 (0,0), P1 (1,0), P2 (1,1): the tangent at P1 runs along P0->P2, at
    // 45 degrees to the chord P1->P2 of length 1.
    ASSERT_EQ(set_pts(0, 1, 1, 1, 0, 0, 1, 2, 0, 0, 0), 1);
    const double d = 1 / (2.5 + std::cos(std::numbers::pi / 4) / 2);
    EXPECT_NEAR(c1().x, 1 + d / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(c1().y, d / std::sqrt(2.0), 1e-12);
}

TEST(BSplineSpans, AHairpinStandsTheControlSquareOnTheSideOfTheOtherControl) {
    // P0 on P2: C1 square to P0-P1, half the chord away (2.5 - 1/2), on the
    // side of C2, which lies below the chord.
    ASSERT_EQ(set_pts(1, 0, 1, 2, 0, 0, 0, 1, 0, 0, 0), 1);
    ASSERT_LT(c2().y, 0);
    EXPECT_NEAR(c1().x, 0, 1e-12);
    EXPECT_NEAR(c1().y, -0.5, 1e-12);
}

TEST(BSplineSpans, EndConditionThreeLeavesStraightAndFourMirrorsTheEndTangent) {
    {
        Points pts({{0, 0}, {3, 0}, {4, 2}, {1, 5}}, 3);
        ASSERT_EQ(clamp_first_bezier(), 1);
        EXPECT_DOUBLE_EQ(c1().x, 1);
        EXPECT_DOUBLE_EQ(c1().y, 0);
    }
    {
        Points pts({{0, 0}, {3, 0}, {4, 2}, {1, 5}}, 4);
        ASSERT_EQ(clamp_first_bezier(), 1);
        // C2 from the neighbours: 3 / (2.5 + cos / 2) along (-4, -2) / sqrt 20.
        const double k = 3 / (2.5 + (4 / std::sqrt(20.0)) / 2);
        EXPECT_NEAR(c2().x, 3 - k * 4 / std::sqrt(20.0), 1e-12);
        EXPECT_NEAR(c2().y, -k * 2 / std::sqrt(20.0), 1e-12);
        // Symmetric about x = 1.5.
        EXPECT_NEAR(c1().x, 3 - c2().x, 1e-12);
        EXPECT_NEAR(c1().y, c2().y, 1e-12);
    }
    {
        Points pts({{0, 0}, {3, 0}, {4, 2}, {6, 2}}, 1, 3);
        ASSERT_EQ(clamp_last_bezier(), 1);
        EXPECT_DOUBLE_EQ(c2().x, 6 - 2.0 / 3);
        EXPECT_DOUBLE_EQ(c2().y, 2);
    }
}

TEST(BSplineSpans, AClosedCurveTakesItsClosingTangentFromTheNeighboursOnBothSides) {
    Points pts({{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}});
    ASSERT_EQ(clamp_first_bezier(), 1);
    const Pt a = c1();
    ASSERT_EQ(clamp_last_bezier(), 1);
    const Pt b = c2();
    // Both on the line through (0, 4) and (4, 0), on opposite sides of the
    // closing point: the curve goes through it smoothly.
    EXPECT_NEAR(a.x + a.y, 0, 1e-12);
    EXPECT_NEAR(b.x + b.y, 0, 1e-12);
    EXPECT_GT(a.x, 0);
    EXPECT_LT(b.x, 0);
}

TEST(BSplineSpans, DegeneratePointsNeverGiveANaN) {
    struct Case {
        const char* what;
        double x0, x1, x2, x3, y0, y1, y2, y3, tx, ty;
        int use_t;
    };
    const Case cases[] = {
        {"P0 on P1, P3 on P2", 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0},
        {"P0 on P2, zero tangent", 1, 0, 1, 2, 0, 0, 0, 1, 0, 0, 1},
        {"every neighbour on the span's ends", 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1},
        {"a span far below the tolerance", 0, 0, 1e-310, 0, 0, 0, 0, 0, 0, 0, 0},
        {"a tangent too short to turn", 1, 0, 1, 2, 0, 0, 0, 1, 1e-320, 0, 1},
    };
    for (const Case& c : cases) {
        for (double& v : q) v = 0;
        ASSERT_EQ(set_pts(c.x0, c.x1, c.x2, c.x3, c.y0, c.y1, c.y2, c.y3, c.tx, c.ty, c.use_t), 1) << c.what;
        for (double v : q) EXPECT_TRUE(std::isfinite(v)) << c.what;
    }
    EXPECT_EQ(set_pts(0, 1, 1, 2, 0, 1, 1, 2, 0, 0, 0), 0);  // a span of no length
    // A closed curve whose neighbours coincide: the perpendicular of the first chord.
    Points pts({{0, 0}, {2, 0}, {0, 0}});
    ASSERT_EQ(clamp_first_bezier(), 1);
    for (double v : q) EXPECT_TRUE(std::isfinite(v));
    EXPECT_NEAR(q[2], 0, 1e-12);
}
