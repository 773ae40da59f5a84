// Rectangles and ovals in one colour take a short way when they lie wholly
// inside the visible box; these compare every frame and paint with the
// general path (fast paths off): the same pixels and the same changed area,
// for sizes from nothing to wide, at and across every side of the box.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/core/raster.h"
#include "tests/platform_core/fast_compare.h"

namespace {

plat::Rect box(int left, int top, int w, int h) {
    return {static_cast<std::int16_t>(top), static_cast<std::int16_t>(left), static_cast<std::int16_t>(top + h),
            static_cast<std::int16_t>(left + w)};
}

// Where a side of length n goes against the visible span lo..hi: beyond
// either end, across either end by one pixel, touching either end from
// inside, and in the middle.
std::vector<int> places(int lo, int hi, int n) {
    return {lo - n - 3, lo - n + 1, lo - 1, lo, (lo + hi - n) / 2, hi - n, hi - n + 1, hi + 2};
}

TEST(SolidShapes, FramesAndPaintsMatchTheGeneralPath) {
    using plat::test::View;
    using Mode = plat::test::Ink;
    // A clip inside the buffer, moved by an origin; and the whole buffer at
    // negative local coordinates, where halving rounds towards zero.
    const View views[] = {{"clip", {5, 3, 50, 90}, -2, 4}, {"negative", plat::wide_open_rect, -30, -21}};
    const Mode modes[] = {{plat::patCopy, plat::black_pattern},
                          {plat::notPatCopy, plat::white_pattern},
                          {plat::patCopy, plat::white_pattern},
                          {plat::patXor, plat::black_pattern},
                          {plat::patCopy, plat::gray_pattern}};
    const int sizes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16, 17, 40};
    const plat::Point pens[] = {{1, 1}, {2, 2}, {1, 3}, {3, 1}};  // {v, h}
    for (const View& s : views) {
        for (const Mode& m : modes) {
            plat::Port ports[2] = {plat::Port(100, 60), plat::Port(100, 60)};
            plat::test::prepare_both(ports, s);
            for (plat::Port& p : ports) {
                p.set_pen_mode(m.mode);
                p.set_pen_pattern(m.pattern);
            }
            const auto [vl, vt, vr, vb] = plat::test::visible_part(ports[0], s.clip);
            plat::Rect changed[2];
            std::uint32_t serial = 0;
            for (int w : sizes)
                for (int h : sizes) {
                    const std::vector<int> xs = places(vl, vr, w), ys = places(vt, vb, h);
                    const int mx = (vl + vr - w) / 2, my = (vt + vb - h) / 2;
                    std::vector<plat::Rect> shapes;
                    for (int x : xs) shapes.push_back(box(x, my, w, h));
                    for (int y : ys) shapes.push_back(box(mx, y, w, h));
                    for (int x : {xs[1], xs[6]})  // across two sides at once
                        for (int y : {ys[1], ys[6]}) shapes.push_back(box(x, y, w, h));
                    for (const plat::Rect& r : shapes)
                        for (int op = 0; op < 10; ++op) {
                            const plat::RGBColor fore = plat::test::colour_of(++serial);
                            plat::test::draw_both_ways(ports, changed, [&](plat::Port& p) {
                                p.set_fore_color(fore);
                                const plat::Point pen = pens[op % 4];
                                p.set_pen_size(pen.h, pen.v);
                                if (op < 4)
                                    p.frame_rect(r);
                                else if (op < 8)
                                    p.frame_oval(r);
                                else if (op == 8)
                                    p.paint_rect(r);
                                else
                                    p.paint_oval(r);
                            });
                            const auto where = [&] {
                                return ::testing::Message()
                                       << s.name << " mode " << m.mode << " op " << op << " rect " << r.left << ","
                                       << r.top << " " << w << "x" << h;
                            };
                            ASSERT_EQ(changed[0], changed[1]) << where();
                            ASSERT_TRUE(ports[0].pixels() == ports[1].pixels()) << where();
                        }
                }
        }
    }
}

// A blank port drawn in its own colour stays blank, whichever path draws,
// yet the area counts as changed.
TEST(SolidShapes, TheBlankColourKeepsAPortBlank) {
    for (int fast = 0; fast < 2; ++fast) {
        plat::set_fast_lines(fast != 0);
        plat::Port p(40, 30);
        p.set_fore_color({0xFFFF, 0xFFFF, 0xFFFF});
        plat::Rect changed{};
        p.take_changed(&changed);
        p.frame_rect(box(2, 3, 10, 8));
        ASSERT_TRUE(p.take_changed(&changed));
        EXPECT_EQ(changed, box(2, 3, 10, 8)) << fast;
        p.paint_oval(box(-4, 20, 9, 20));  // across the left and bottom sides
        ASSERT_TRUE(p.take_changed(&changed));
        EXPECT_EQ(changed, box(0, 20, 5, 10)) << fast;
        p.frame_oval(box(20, 5, 11, 7));
        ASSERT_TRUE(p.take_changed(&changed));
        EXPECT_EQ(changed, box(20, 5, 11, 7)) << fast;
        EXPECT_TRUE(p.blank()) << fast;
        p.set_fore_color({0, 0, 0});
        p.frame_oval(box(20, 5, 11, 7));
        EXPECT_FALSE(p.blank()) << fast;
        EXPECT_EQ(p.pixel(25, 5), plat::black_pixel) << fast;  // the top row's middle
        EXPECT_EQ(p.pixel(25, 8), plat::white_pixel) << fast;  // the centre
    }
    plat::set_fast_lines(true);
}

}  // namespace
