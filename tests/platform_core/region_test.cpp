#include "platform/core/region.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/core/raster.h"
#include "tests/support/pixels.h"

using drav::test::pixel_rows;
using drav::test::rows;
using plat::Point;
using plat::Port;
using drav::test::rect;
using drav::test::draw_line;
using plat::Rect;
using plat::Region;

namespace {

// As the screen primitives draw: every segment a move and a line.
void segment(Port& p, int x0, int y0, int x1, int y1) {
    p.move_to(static_cast<std::int16_t>(x0), static_cast<std::int16_t>(y0));
    p.line_to(static_cast<std::int16_t>(x1), static_cast<std::int16_t>(y1));
}

// Outer 10 x 8 with a 2 x 2 hole, recorded from framed rectangles; the
// painted rectangle adds nothing.
Region ring(Port& p) {
    EXPECT_EQ(p.open_region(), 1);
    p.frame_rect(rect(0, 0, 10, 8));
    p.paint_rect(rect(0, 0, 3, 3));
    p.frame_rect(rect(4, 3, 6, 5));
    return p.close_region();
}

}  // namespace

TEST(RegionRecording, SegmentsJoinIntoClosedOutlinesWhileThePenIsHidden) {
    Port p(10, 8);
    ASSERT_EQ(p.open_region(), 1);
    EXPECT_EQ(p.open_region(), 0);
    segment(p, 2, 1, 7, 1);
    segment(p, 7, 1, 7, 6);
    segment(p, 7, 6, 2, 6);
    segment(p, 2, 6, 2, 1);
    // Left open: closed when the region is.
    segment(p, 0, 10, 4, 10);
    segment(p, 4, 10, 4, 14);
    const Region r = p.close_region();
    EXPECT_EQ(pixel_rows(p), rows({"..........", "..........", "..........", "..........",
                                   "..........", "..........", "..........", ".........."}));
    EXPECT_FALSE(p.recording_region());

    struct Hit {
        int h, v;
        bool inside;
    };
    const Hit hits[] = {{2, 1, true},  {6, 5, true},   {7, 1, false},
                        {2, 6, false}, {1, 3, false},  {4, 3, true},
                        {3, 11, true}, {1, 13, false}, {-32768, 0, false}};
    for (const Hit& h : hits)
        EXPECT_EQ(r.contains(static_cast<std::int16_t>(h.h), static_cast<std::int16_t>(h.v)),
                  h.inside)
            << h.h << "," << h.v;
    EXPECT_EQ(r.bounds(), rect(0, 1, 7, 14));
}

TEST(Regions, PointAndRectangleTestsAreEvenOdd) {
    Port p(1, 1);
    const Region r = ring(p);
    struct Hit {
        int h, v;
        bool inside;
    };
    const Hit points[] = {{4, 3, false}, {5, 4, false},  {3, 3, true}, {6, 3, true},
                          {9, 7, true},  {10, 7, false}, {9, 8, false}};
    for (const Hit& h : points)
        EXPECT_EQ(r.contains(static_cast<std::int16_t>(h.h), static_cast<std::int16_t>(h.v)),
                  h.inside)
            << h.h << "," << h.v;
    struct Meet {
        Rect r;
        bool meets;
    };
    const Meet rects[] = {{rect(4, 3, 6, 5), false},   {rect(4, 3, 7, 5), true},
                          {rect(10, 0, 12, 8), false}, {rect(-5, 8, 20, 9), false},
                          {rect(-5, 7, 20, 9), true},  {rect(0, 0, 0, 5), false},
                          {plat::wide_open_rect, true}};
    for (const Meet& m : rects) EXPECT_EQ(r.meets(m.r), m.meets) << m.r.left << "," << m.r.top;
    EXPECT_TRUE(Region().empty());
    EXPECT_FALSE(Region().meets(plat::wide_open_rect));
}

TEST(Regions, FillAndFrameCoverTheOutlinedPixels) {
    Port rec(1, 1);
    const Region r = ring(rec);
    Port p(10, 8);
    p.paint_region(r);
    EXPECT_EQ(pixel_rows(p), rows({"##########", "##########", "##########", "####..####",
                                   "####..####", "##########", "##########", "##########"}));
    Port f(10, 8);
    f.frame_region(r);
    EXPECT_EQ(pixel_rows(f), rows({"##########", "#........#", "#..####..#", "#..#..#..#",
                                   "#..#..#..#", "#..####..#", "#........#", "##########"}));

    // The same pixels as the shapes themselves.
    struct Case {
        const char* name;
        Region region;
        void (*direct)(Port&);
        bool frame;
    };
    Region oval;
    oval.add_oval(rect(1, 2, 14, 10));
    Region box;
    box.add_rect(rect(2, 1, 12, 9));
    Region triangle;
    const Point tri[] = {{0, 1}, {11, 14}, {4, 0}};
    triangle.add_polygon(tri);
    const Case cases[] = {
        {"oval", oval, [](Port& q) { q.paint_oval(rect(1, 2, 14, 10)); }, false},
        {"box frame", box, [](Port& q) { q.frame_rect(rect(2, 1, 12, 9)); }, true},
        {"triangle", triangle,
         [](Port& q) {
             const Point t[] = {{0, 1}, {11, 14}, {4, 0}};
             q.paint_poly(t);
         },
         false},
    };
    for (const Case& c : cases) {
        Port a(16, 12), b(16, 12);
        a.set_pen_size(2, 2);
        b.set_pen_size(2, 2);
        c.direct(a);
        c.frame ? b.frame_region(c.region) : b.paint_region(c.region);
        EXPECT_EQ(pixel_rows(b), pixel_rows(a)) << c.name;
    }
}

TEST(RegionData, RoundTripsInBands) {
    Port rec(1, 1);
    Region hole = ring(rec);
    Region oval;
    oval.add_oval(rect(-20, -7, 23, 31));
    Region box;
    box.add_rect(rect(3, 4, 9, 12));
    for (const Region* r : {&hole, &oval, &box}) {
        const Rect b = r->bounds();
        for (std::size_t limit : {std::size_t{0x7FFF}, std::size_t{40}}) {
            std::vector<plat::Span> back;
            const auto pieces = plat::encode_region(*r, limit);
            ASSERT_FALSE(pieces.empty());
            for (const auto& piece : pieces) {
                if (limit == 40) {
                    EXPECT_LE(piece.size(), limit);
                }
                Region part;
                ASSERT_EQ(plat::decode_region(piece, part), 1);
                const auto s = part.spans(b.top, b.bottom);
                back.insert(back.end(), s.begin(), s.end());
            }
            EXPECT_EQ(back, r->spans(b.top, b.bottom)) << b.left << "," << b.top << " " << limit;
            if (limit == 40 && r == &oval) {
                EXPECT_GT(pieces.size(), 2u);
            }
        }
    }
    const auto pieces = plat::encode_region(box);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0], (std::vector<std::uint8_t>{0, 10, 0, 4, 0, 3, 0, 12, 0, 9}));
    EXPECT_TRUE(plat::encode_region(Region()).empty());
}

TEST(RegionData, MalformedDataIsRefused) {
    using Bytes = std::vector<std::uint8_t>;
    // A 2 x 1 region at (1, 1): rows 1 and 2 each toggle x 1 and 3.
    const Bytes good = {0, 28, 0,    1,    0, 1, 0, 2, 0, 3, 0,    1,    0,    1,
                        0, 3,  0x7F, 0xFF, 0, 2, 0, 1, 0, 3, 0x7F, 0xFF, 0x7F, 0xFF};
    Region r;
    ASSERT_EQ(plat::decode_region(good, r), 1);
    EXPECT_EQ(r.bounds(), rect(1, 1, 3, 2));

    struct Case {
        const char* name;
        Bytes data;
    };
    const Case cases[] = {
        {"short", {0, 10, 0, 1}},
        {"size differs", {0, 12, 0, 1, 0, 1, 0, 2, 0, 3}},
        {"no end", {0, 16, 0, 1, 0, 1, 0, 2, 0, 3, 0, 1, 0, 1, 0, 3}},
        {"rows out of order", {0, 28, 0,    1,    0, 1, 0, 2, 0, 3, 0,    2,    0,    1,
                               0, 3,  0x7F, 0xFF, 0, 1, 0, 1, 0, 3, 0x7F, 0xFF, 0x7F, 0xFF}},
        {"x out of order", {0, 28, 0,    1,    0, 1, 0, 2, 0, 3, 0,    1,    0,    3,
                            0, 1,  0x7F, 0xFF, 0, 2, 0, 1, 0, 3, 0x7F, 0xFF, 0x7F, 0xFF}},
        {"x outside box", {0, 28, 0,    1,    0, 1, 0, 2, 0, 3, 0,    1,    0,    1,
                           0, 9,  0x7F, 0xFF, 0, 2, 0, 1, 0, 3, 0x7F, 0xFF, 0x7F, 0xFF}},
        {"trailing", {0, 16, 0, 1, 0, 1, 0, 2, 0, 3, 0x7F, 0xFF, 0x7F, 0xFF, 0, 0}},
        {"empty box", {0, 14, 0, 1, 0, 1, 0, 1, 0, 3, 0x7F, 0xFF, 0x7F, 0xFF}},
    };
    for (const Case& c : cases) {
        Region out = r;
        EXPECT_EQ(plat::decode_region(c.data, out), 0) << c.name;
        EXPECT_TRUE(out.edges().empty()) << c.name;
    }
}

namespace {

// A centre is inside when an odd number of edges cross its row at or left
// of it.
bool centre_inside(const std::vector<Region::Edge>& edges, int x, int y) {
    bool in = false;
    for (const Region::Edge& e : edges) {
        const Point p = e.a.v < e.b.v ? e.a : e.b, q = e.a.v < e.b.v ? e.b : e.a;
        if (p.v == q.v || y < p.v || y >= q.v) continue;
        const long long dy = q.v - p.v, dx = q.h - p.h;
        // The crossing 2X = 2 p.h + (2y + 1 - 2 p.v) dx / dy at or left of 2x + 1.
        if ((2LL * p.h * dy + (2LL * y + 1 - 2LL * p.v) * dx) <= (2LL * x + 1) * dy) in = !in;
    }
    return in;
}

// The runs of rows from .. to - 1 from centres tested one by one, x in [-w, w).
std::vector<plat::Span> centre_runs(const Region& r, int from, int to, int w) {
    std::vector<plat::Span> out;
    for (int y = from; y < to; ++y)
        for (int x = -w; x < w; ++x)
            if (centre_inside(r.edges(), x, y)) {
                if (!out.empty() && out.back().y == y && out.back().x1 == x)
                    ++out.back().x1;
                else
                    out.push_back({y, x, x + 1});
            }
    return out;
}

void expect_runs(const Region& r, int from, int to, int w, int round) {
    const std::vector<plat::Span> expected = centre_runs(r, from, to, w);
    ASSERT_EQ(r.spans(from, to), expected) << "round " << round;
    // The form that reuses its vector gives the same, whatever it held.
    std::vector<plat::Span> again(3, plat::Span{1, 2, 3});
    r.spans(from, to, again);
    ASSERT_EQ(again, expected) << "round " << round;
}

}  // namespace

// Row runs of closed outlines against pixel centres tested one by one.
// Slopes of every sign and size, horizontal and vertical edges,
// crossings exactly at a centre, overlapping outlines, rows cut by the range.
TEST(Regions, RowRunsHoldExactlyTheCentresInside) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-40, 40), count(3, 9), outlines(1, 3);
    for (int round = 0; round < 400; ++round) {
        Region r;
        const int n = outlines(rng);
        for (int k = 0; k < n; ++k) {
            std::vector<Point> pts(static_cast<std::size_t>(count(rng)));
            for (Point& p : pts) {
                p = {static_cast<std::int16_t>(coord(rng)), static_cast<std::int16_t>(coord(rng))};
                // Some edges level or upright.
                if (&p != &pts.front() && rng() % 4 == 0) (rng() % 2 ? p.v : p.h) = (&p)[-1].v;
            }
            r.add_polygon(pts);
        }
        const int from = -45 + static_cast<int>(rng() % 20), to = 45 - static_cast<int>(rng() % 20);
        expect_runs(r, from, to, 45, round);
    }
}

// The outlines a replay paints: bands of wide lines (some of no width),
// bands with a cap sharing their end edge, outlines that go down in one run
// of edges and up in another (crossed ones too), ones that turn more often,
// and the same edges out of order; the same centres, row by row.
TEST(Regions, BandsAndFewTurnOutlinesHoldExactlyTheCentresInside) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> coord(-40, 40), count(1, 6);
    const auto pt = [](int x, int y) { return Point{static_cast<std::int16_t>(y), static_cast<std::int16_t>(x)}; };
    for (int round = 0; round < 3000; ++round) {
        Region r;
        std::vector<Point> pts;
        const int shape = round % 5;
        if (shape == 0) {
            // A band: a segment widened to a quadrilateral, some of no width.
            const int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
            const int wx = static_cast<int>(rng() % 7) - 3, wy = static_cast<int>(rng() % 7) - 3;
            pts = {pt(x0 - wx, y0 - wy), pt(x1 - wx, y1 - wy), pt(x1 + wx, y1 + wy), pt(x0 + wx, y0 + wy)};
        } else {
            // Down the rows on one side, up on the other, at random x, with
            // level steps; crossed sides give self-intersecting outlines.
            std::vector<int> ys(static_cast<std::size_t>(count(rng) + count(rng)));
            for (int& y : ys) y = coord(rng);
            std::sort(ys.begin(), ys.end());
            const std::size_t split = 1 + rng() % (ys.size() - 1);
            for (std::size_t i = 0; i < ys.size(); ++i)
                if (i == 0 || i == split || rng() % 2) pts.push_back(pt(coord(rng), ys[i]));
            std::vector<Point> back;
            for (std::size_t i = 1; i + 1 < ys.size(); ++i)
                if (i != split && rng() % 2) back.push_back(pt(coord(rng), ys[i]));
            pts.insert(pts.end(), back.rbegin(), back.rend());
            if (shape == 4 && rng() % 2 == 0) std::reverse(pts.begin(), pts.end());
        }
        const std::vector<Point> first = pts;
        // Start anywhere along it.
        std::rotate(pts.begin(), pts.begin() + static_cast<std::ptrdiff_t>(rng() % pts.size()), pts.end());
        r.add_polygon(pts);
        if (shape == 0 && round % 2) {
            // A second outline sharing the band's end, as a wide line's cap
            // does: that edge bounds nothing.
            const Point e = pt(first[1].h + coord(rng) / 8, first[1].v + coord(rng) / 8);
            const Point f = pt(first[2].h + coord(rng) / 8, first[2].v + coord(rng) / 8);
            const Point cap[] = {e, first[1], first[2], f};
            r.add_polygon(cap);
        }
        if (round % 11 == 0) {
            // A turn too many: a notch down from the top.
            r = Region{};
            pts.insert(pts.begin() + 1, {pt(pts[0].h + 1, pts[0].v + 9), pt(pts[0].h + 2, pts[0].v)});
            r.add_polygon(pts);
        } else if (round % 13 == 0) {
            r.add_rect(Rect{-10, -10, 12, 14});
        } else if (round % 17 == 0) {
            // The same edges out of order: no longer one chain.
            std::vector<Region::Edge> edges = r.edges();
            std::shuffle(edges.begin(), edges.end(), rng);
            r = Region{};
            for (const Region::Edge& e : edges) r.add_edge(e.a, e.b);
        }
        const int from = -45 + static_cast<int>(rng() % 20), to = 45 - static_cast<int>(rng() % 20);
        expect_runs(r, from, to, 52, round);
    }
}

TEST(Regions, ASlopedOutlineHoldsTheCentresWorkedOutByHand) {
    // Triangle (0,0) (6,0) (0,4): row y holds centres x + 1/2 < 6 - 1.5 (y + 1/2).
    Region r;
    const Point tri[] = {{0, 0}, {0, 6}, {4, 0}};
    r.add_polygon(tri);
    const std::vector<plat::Span> expected = {{0, 0, 5}, {1, 0, 4}, {2, 0, 2}, {3, 0, 1}};
    EXPECT_EQ(r.spans(-5, 10), expected);
}
