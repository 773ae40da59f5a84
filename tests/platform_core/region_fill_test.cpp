// Regions painted in one colour go from the row scan straight into the
// buffer; these compare every paint and erase with the general path (fast
// paths off, the spans filled one by one): the same pixels and the same
// changed area, for outlines across every side of the visible box, ones
// enclosing it, concave ones with four and more crossings a row, ones of
// no height, bands with a cap sharing an edge, edges given twice (which the
// solid fill drops), and more edges than the short scan takes.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/core/raster.h"
#include "tests/platform_core/fast_compare.h"
#include "platform/core/region.h"

namespace {

using plat::Point;
using plat::Region;

Point pt(int x, int y) { return {static_cast<std::int16_t>(y), static_cast<std::int16_t>(x)}; }

struct Outline {
    std::string name;
    std::vector<std::vector<Point>> polys;
};

Region region_of(const Outline& o) {
    Region r;
    for (const auto& p : o.polys) r.add_polygon(p);
    return r;
}

// Outlines placed against the visible box l..r, t..b (local coordinates).
std::vector<Outline> outlines(int l, int t, int r, int b) {
    const int mx = (l + r) / 2, my = (t + b) / 2;
    std::vector<Outline> v;
    // A slanted band (a wide line's outline) with its middle at (x, y).
    const auto band = [](int x, int y, int dx, int dy, int wx, int wy) {
        return std::vector<Point>{pt(x - dx - wx, y - dy - wy), pt(x + dx - wx, y + dy - wy),
                                  pt(x + dx + wx, y + dy + wy), pt(x - dx + wx, y - dy + wy)};
    };
    const int xs[] = {l - 30, l - 6, l, l + 3, mx, r - 3, r, r + 6, r + 30};
    const int ys[] = {t - 30, t - 5, t, t + 2, my, b - 2, b, b + 5, b + 30};
    for (int x : xs) v.push_back({"band x " + std::to_string(x), {band(x, my, 7, 19, 3, -1)}});
    for (int y : ys) v.push_back({"band y " + std::to_string(y), {band(mx, y, 23, 4, -1, 3)}});
    for (int x : {xs[1], xs[7]})
        for (int y : {ys[1], ys[7]}) v.push_back({"corner band", {band(x, y, 11, -9, 2, 2)}});
    // A band with a cap at one end sharing its end edge, as a replay gives.
    v.push_back({"band and cap",
                 {{pt(mx - 12, my - 9), pt(mx + 6, my + 7), pt(mx + 13, my - 2), pt(mx - 5, my - 18)},
                  {pt(mx + 2, my + 5), pt(mx + 6, my + 7), pt(mx + 13, my - 2), pt(mx + 11, my - 6)}}});
    v.push_back({"band and cap at the right",
                 {{pt(r - 12, my - 9), pt(r + 6, my + 7), pt(r + 13, my - 2), pt(r - 5, my - 18)},
                  {pt(r + 2, my + 5), pt(r + 6, my + 7), pt(r + 13, my - 2), pt(r + 11, my - 6)}}});
    // Edges twice between the same points, the second the other way round
    // or the same way; three times (one stays); a twin pair beyond the rows
    // of every other edge; a band drawn twice over.
    const auto tri = [](Point a, Point b, Point c) { return std::vector<Point>{a, b, c}; };
    v.push_back({"twins reversed", {tri(pt(mx - 9, my - 12), pt(mx + 7, my + 9), pt(mx - 14, my + 4)),
                                    tri(pt(mx + 7, my + 9), pt(mx - 9, my - 12), pt(mx + 12, my - 3))}});
    v.push_back({"twins three times", {tri(pt(l - 3, my - 12), pt(l + 7, my + 9), pt(l - 14, my + 4)),
                                       tri(pt(l + 7, my + 9), pt(l - 3, my - 12), pt(l + 12, my - 3)),
                                       tri(pt(l - 3, my - 12), pt(l + 7, my + 9), pt(l + 20, my + 1))}});
    v.push_back({"twin pair alone", {{pt(mx, t - 6), pt(mx + 9, b + 6)}, {pt(mx + 9, b + 6), pt(mx, t - 6)},
                                     tri(pt(mx - 5, my), pt(mx + 5, my - 4), pt(mx + 2, my + 6))}});
    v.push_back({"band twice", {band(mx, my, 17, 6, 2, -3), band(mx, my, 17, 6, 2, -3)}});
    // Enclosing the view: a rectangle, and a slanted quadrilateral.
    v.push_back({"enclosing box", {{pt(l - 9, t - 9), pt(r + 9, t - 9), pt(r + 9, b + 9), pt(l - 9, b + 9)}}});
    v.push_back({"enclosing slant", {{pt(l - 40, t - 3), pt(r + 5, t - 40), pt(r + 40, b + 2), pt(l - 3, b + 40)}}});
    // Concave: a comb with four teeth (eight crossings a row), a W, and a
    // bow tie crossing itself.
    std::vector<Point> comb{pt(l - 4, b + 3)};
    for (int k = 0; k < 4; ++k) {
        const int x = l - 4 + k * (r - l + 8) / 4;
        comb.push_back(pt(x + 1, t - 3));
        comb.push_back(pt(x + 5, t - 3));
        comb.push_back(pt(x + 7, b - 6));
    }
    comb.push_back(pt(r + 4, b + 3));
    v.push_back({"comb", {comb}});
    v.push_back({"W", {{pt(l + 1, t + 1), pt(mx - 9, b - 2), pt(mx, my - 3), pt(mx + 8, b - 1), pt(r - 2, t + 2),
                        pt(mx + 7, b + 4), pt(mx, my + 5), pt(mx - 8, b + 6)}}});
    v.push_back({"bow tie", {{pt(l + 3, t + 4), pt(r - 4, b - 5), pt(r - 3, t + 6), pt(l + 5, b - 3)}}});
    // Of no height, and of no width.
    v.push_back({"level", {{pt(l + 2, my), pt(r - 2, my), pt(mx, my)}}});
    v.push_back({"upright", {{pt(mx, t + 2), pt(mx, b - 2), pt(mx, my)}}});
    // Odd sizes: one pixel, three pixels, a sliver.
    v.push_back({"pixel", {{pt(mx, my), pt(mx + 1, my), pt(mx + 1, my + 1), pt(mx, my + 1)}}});
    v.push_back({"three", {{pt(mx, my), pt(mx + 3, my), pt(mx + 3, my + 3), pt(mx, my + 3)}}});
    v.push_back({"sliver", {{pt(l - 2, t + 1), pt(r + 3, t + 2), pt(r + 3, t + 2), pt(l - 2, t + 2)}}});
    // More edges than the short scan takes: a star of 24 points, and three
    // overlapping bands beside it.
    std::vector<Point> star;
    for (int k = 0; k < 24; ++k) {
        const int rad = k % 2 ? 9 : 26;
        const int x = mx + (k % 6 < 3 ? rad : -rad) * (k % 3 + 1) / 3;
        const int y = my + (k % 4 < 2 ? rad : -rad) * ((k + 1) % 3 + 1) / 3;
        star.push_back(pt(x, y));
    }
    v.push_back({"star", {star}});
    v.push_back({"bands", {band(l + 5, my, 20, 9, 2, -3), band(mx, my + 2, -18, 11, 3, 1), band(r - 4, my, 9, 30, 2, 0),
                           band(mx, b, 30, 3, 0, 2), band(mx, t, 25, -2, 1, 2)}});
    // Random outlines of one to four polygons around and across the box.
    std::mt19937 rng(23);
    std::uniform_int_distribution<int> px(l - 15, r + 15), py(t - 15, b + 15), count(3, 8), polys(1, 4);
    for (int n = 0; n < 120; ++n) {
        Outline o{"random " + std::to_string(n), {}};
        for (int k = polys(rng); k > 0; --k) {
            std::vector<Point> p(static_cast<std::size_t>(count(rng)));
            for (Point& q : p) q = pt(px(rng), py(rng));
            o.polys.push_back(p);
        }
        v.push_back(o);
    }
    return v;
}

TEST(RegionFills, PaintAndEraseMatchTheGeneralPath) {
    using plat::test::Ink;
    using plat::test::View;
    // A clip inside the buffer, moved by an origin; the whole buffer at
    // negative local coordinates; a clip of a single row.
    const View views[] = {{"clip", {5, 3, 50, 90}, -2, 4},
                          {"negative", plat::wide_open_rect, -30, -21},
                          {"one row", {20, 0, 21, 100}, 0, 0}};
    // Solid inks (the fore colour, or the back colour), then ones the
    // general path keeps.
    const Ink inks[] = {{plat::patCopy, plat::black_pattern},   {plat::notPatCopy, plat::white_pattern},
                        {plat::patCopy, plat::white_pattern},   {plat::notPatCopy, plat::black_pattern},
                        {plat::patXor, plat::black_pattern},    {plat::patCopy, plat::gray_pattern},
                        {plat::patOr, plat::black_pattern}};
    for (const View& s : views) {
        plat::Port ports[2] = {plat::Port(100, 60), plat::Port(100, 60)};
        plat::test::prepare_both(ports, s);
        const auto [vl, vt, vr, vb] = plat::test::visible_part(ports[0], s.clip);
        plat::Rect changed[2];
        std::uint32_t serial = 0;
        for (const Outline& o : outlines(vl, vt, vr, vb)) {
            const Region rgn = region_of(o);
            for (const Ink& k : inks)
                for (int erase = 0; erase < 2; ++erase) {
                    const plat::RGBColor fore = plat::test::colour_of(++serial);
                    plat::test::draw_both_ways(ports, changed, [&](plat::Port& p) {
                        p.set_pen_mode(k.mode);
                        p.set_pen_pattern(k.pattern);
                        p.set_fore_color(fore);
                        p.set_back_color({fore.blue, fore.red, fore.green});
                        if (erase)
                            p.erase_region(rgn);
                        else
                            p.paint_region(rgn);
                    });
                    const auto where = [&] {
                        return ::testing::Message()
                               << s.name << " " << o.name << " mode " << k.mode << (erase ? " erase" : " paint");
                    };
                    ASSERT_EQ(changed[0], changed[1]) << where();
                    ASSERT_TRUE(ports[0].pixels() == ports[1].pixels()) << where();
                }
        }
    }
}

// A region painted in a blank port's own colour keeps the port blank yet
// counts as drawn; one wholly outside draws nothing and keeps it blank too.
TEST(RegionFills, TheBlankColourKeepsAPortBlank) {
    Region band;
    band.add_polygon(std::vector<Point>{pt(-5, 3), pt(20, 12), pt(22, 7), pt(-3, -2)});
    Region outside;
    outside.add_polygon(std::vector<Point>{pt(-9, 3), pt(-2, 12), pt(-1, 7)});
    for (int fast = 0; fast < 2; ++fast) {
        plat::set_fast_lines(fast != 0);
        plat::Port p(40, 30);
        plat::Rect changed{};
        p.take_changed(&changed);
        p.set_fore_color({0xFFFF, 0xFFFF, 0xFFFF});
        p.paint_region(band);
        ASSERT_TRUE(p.take_changed(&changed)) << fast;
        EXPECT_EQ(changed, (plat::Rect{0, 0, 12, 22})) << fast;
        EXPECT_TRUE(p.blank()) << fast;
        p.set_fore_color({0, 0, 0});
        p.paint_region(outside);
        EXPECT_FALSE(p.take_changed(&changed)) << fast;
        EXPECT_TRUE(p.blank()) << fast;
        p.paint_region(band);
        EXPECT_FALSE(p.blank()) << fast;
        EXPECT_EQ(p.pixel(10, 6), plat::black_pixel) << fast;  // inside the band
        EXPECT_EQ(p.pixel(20, 2), plat::white_pixel) << fast;  // above it
    }
    plat::set_fast_lines(true);
}

}  // namespace
