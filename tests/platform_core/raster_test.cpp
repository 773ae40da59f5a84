#include "platform/core/raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/region.h"
#include "tests/support/pixels.h"

using drav::test::pixel_rows;
using drav::test::rows;
using plat::Point;
using plat::Port;
using drav::test::rect;
using drav::test::draw_line;
using plat::Rect;

namespace {

constexpr plat::RGBColor red{0xFFFF, 0, 0}, green{0, 0xFFFF, 0}, blue{0, 0, 0xFFFF},
    yellow{0xFFFF, 0xFFFF, 0};

// Every pixel different, so that a changed byte anywhere shows.
void fill_gradient(Port& p) {
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            p.row(y)[x] = 0xFF000000u | (((x * 37u + y * 101u) * 2654435761u) & 0x00FFFFFFu);
}

}  // namespace

TEST(Lines, OnePixelPenDrawsBothEndsAndTheSamePixelsEitherWay) {
    struct Case {
        int x0, y0, x1, y1;
        std::string expected;
    };
    const Case cases[] = {
        {1, 1, 5, 1, rows({".......", ".#####.", ".......", "......."})},
        {3, 0, 3, 3, rows({"...#...", "...#...", "...#...", "...#..."})},
        {0, 0, 3, 3, rows({"#......", ".#.....", "..#....", "...#..."})},
        {0, 0, 5, 2, rows({"##.....", "..##...", "....##.", "......."})},
        {6, 0, 4, 3, rows({"......#", ".....#.", ".....#.", "....#.."})},
        {2, 2, 2, 2, rows({".......", ".......", "..#....", "......."})},
        {-3, 1, 9, 1, rows({".......", "#######", ".......", "......."})},
    };
    for (const Case& c : cases) {
        for (bool reversed : {false, true}) {
            Port p(7, 4);
            if (reversed)
                draw_line(p, c.x1, c.y1, c.x0, c.y0);
            else
                draw_line(p, c.x0, c.y0, c.x1, c.y1);
            EXPECT_EQ(pixel_rows(p), c.expected) << c.x0 << "," << c.y0 << " " << c.x1 << ","
                                                 << c.y1 << (reversed ? " reversed" : "");
            EXPECT_EQ(
                p.pen_location(),
                (reversed
                     ? Point{static_cast<std::int16_t>(c.y0), static_cast<std::int16_t>(c.x0)}
                     : Point{static_cast<std::int16_t>(c.y1), static_cast<std::int16_t>(c.x1)}));
        }
    }
}

TEST(Lines, WidePenSweepsItsRectangleAlongTheLineEachPixelOnce) {
    const std::string expected =
        rows({"........", ".##.....", ".####...", "..#####.", "....###.", "........"});
    for (std::int16_t mode : {plat::patCopy, plat::patXor}) {
        Port p(8, 6);
        p.set_pen_size(2, 2);
        p.set_pen_mode(mode);
        draw_line(p, 1, 1, 5, 3);
        EXPECT_EQ(pixel_rows(p), expected) << mode;
    }
    Port p(8, 6);
    p.set_pen_size(0, 3);
    draw_line(p, 1, 1, 5, 3);
    EXPECT_EQ(pixel_rows(p),
              rows({"........", "........", "........", "........", "........", "........"}));
}

TEST(Rects, FramePaintAndEraseLeaveOutRightAndBottom) {
    Port p(8, 6);
    p.frame_rect(rect(1, 1, 6, 5));
    EXPECT_EQ(pixel_rows(p),
              rows({"........", ".#####..", ".#...#..", ".#...#..", ".#####..", "........"}));
    p.set_pen_size(2, 1);
    p.set_fore_color(red);
    p.frame_rect(rect(0, 0, 8, 3));
    p.erase_rect(rect(3, 3, 5, 6));
    EXPECT_EQ(pixel_rows(p),
              rows({"rrrrrrrr", "rr####rr", "rrrrrrrr", ".#...#..", ".##..#..", "........"}));
    Port q(4, 3);
    q.paint_rect(rect(1, 0, 3, 2));
    q.paint_rect(rect(3, 0, 2, 2));  // right before left: empty
    EXPECT_EQ(pixel_rows(q), rows({".##.", ".##.", "...."}));
}

// The rule itself, pixel by pixel: a pixel belongs to the oval of a w x h
// box when its centre lies inside the ellipse, and a frame is that oval less
// the oval of the box inset by the pen.
TEST(Ovals, FollowThePixelCentreRuleForEverySize) {
    const auto inside = [](long x, long y, long w, long h) {
        if (x < 0 || y < 0 || x >= w || y >= h) return false;
        const long dx = 2 * x + 1 - w, dy = 2 * y + 1 - h;
        return dx * dx * h * h + dy * dy * w * w <= w * w * h * h;
    };
    for (int w = 1; w <= 48; ++w) {
        for (int h = 1; h <= 48; h += (h < 12 ? 1 : 5)) {
            Port paint(w + 4, h + 4), frame(w + 4, h + 4);
            paint.paint_oval(rect(2, 2, 2 + w, 2 + h));
            frame.set_pen_size(2, 1);
            frame.frame_oval(rect(2, 2, 2 + w, 2 + h));
            const bool hollow = w > 4 && h > 2;
            for (int y = 0; y < h + 4; ++y) {
                for (int x = 0; x < w + 4; ++x) {
                    const bool in = inside(x - 2, y - 2, w, h);
                    const bool ring = in && !(hollow && inside(x - 4, y - 3, w - 4, h - 2));
                    ASSERT_EQ(paint.pixel(x, y) == plat::black_pixel, in) << w << "x" << h << " " << x << "," << y;
                    ASSERT_EQ(frame.pixel(x, y) == plat::black_pixel, ring) << w << "x" << h << " " << x << "," << y;
                }
            }
        }
    }
}

TEST(Ovals, EvenAndOddBoxesAreExactAndSymmetric) {
    struct Case {
        int w, h;
        bool frame;
        std::string expected;
    };
    const Case cases[] = {
        {6, 4, false, rows({".####.", "######", "######", ".####."})},
        {6, 4, true, rows({".####.", "#....#", "#....#", ".####."})},
        {5, 5, true, rows({".###.", "#...#", "#...#", "#...#", ".###."})},
        {7, 3, false, rows({".#####.", "#######", ".#####."})},
        {8, 8, true,
         rows({"..####..", ".#....#.", "#......#", "#......#", "#......#", "#......#", ".#....#.",
               "..####.."})},
        {10, 5, true, rows({"..######..", "##......##", "#........#", "##......##", "..######.."})},
        {1, 1, true, rows({"#"})},
        {2, 3, true, rows({"##", "##", "##"})},
    };
    for (const Case& c : cases) {
        Port p(c.w, c.h);
        c.frame ? p.frame_oval(rect(0, 0, c.w, c.h)) : p.paint_oval(rect(0, 0, c.w, c.h));
        EXPECT_EQ(pixel_rows(p), c.expected) << c.w << "x" << c.h;
    }
    // Every size: mirror symmetric, and the frame lies within the paint.
    for (int w = 1; w <= 21; ++w) {
        for (int h = 1; h <= 21; ++h) {
            Port paint(w, h), frame(w, h);
            paint.paint_oval(rect(0, 0, w, h));
            frame.set_pen_size(2, 1);
            frame.frame_oval(rect(0, 0, w, h));
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const auto at = paint.pixel(x, y);
                    ASSERT_EQ(at, paint.pixel(w - 1 - x, y)) << w << "x" << h;
                    ASSERT_EQ(at, paint.pixel(x, h - 1 - y)) << w << "x" << h;
                    if (frame.pixel(x, y) == plat::black_pixel) {
                        ASSERT_EQ(at, plat::black_pixel);
                    }
                }
            }
        }
    }
}

TEST(Polygons, PaintIsEvenOddAndFrameDrawsEachPixelOnce) {
    const std::vector<Point> with_hole = {{0, 0}, {0, 8}, {6, 8}, {6, 0}, {0, 0},
                                          {2, 2}, {4, 2}, {4, 6}, {2, 6}, {2, 2}};
    Port p(8, 6);
    p.paint_poly(with_hole);
    EXPECT_EQ(pixel_rows(p),
              rows({"########", "########", "##....##", "##....##", "########", "########"}));

    const std::vector<Point> triangle = {{0, 0}, {0, 6}, {6, 0}, {0, 0}};
    Port t(7, 7);
    t.paint_poly(triangle);
    EXPECT_EQ(pixel_rows(t),
              rows({"#####..", "####...", "###....", "##.....", "#......", ".......", "......."}));
    for (std::int16_t mode : {plat::patCopy, plat::patXor}) {
        Port f(7, 7);
        f.set_pen_mode(mode);
        f.frame_poly(triangle);
        EXPECT_EQ(pixel_rows(f), rows({"#######", "#....#.", "#...#..", "#..#...", "#.#....",
                                       "##.....", "#......"}))
            << mode;
    }
}

TEST(Modes, PenModesCombinePatternAndDestination) {
    struct Case {
        std::int16_t mode;
        const char* expected;
    };
    const Case cases[] = {
        {plat::patCopy, "bgbg"},   {plat::patOr, "brbr"},      {plat::patXor, "crcr"},
        {plat::patBic, "grgr"},    {plat::notPatCopy, "gbgb"}, {plat::notPatOr, "rbrb"},
        {plat::notPatXor, "rcrc"}, {plat::notPatBic, "rgrg"},  {plat::srcCopy, "bgbg"},
    };
    for (const Case& c : cases) {
        Port p(4, 1);
        drav::test::set_pixel_rows(p, {"rrrr"});
        p.set_fore_color(blue);
        p.set_back_color(green);
        p.set_pen_pattern({0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA});
        p.set_pen_mode(c.mode);
        p.paint_rect(rect(0, 0, 4, 1));
        EXPECT_EQ(pixel_rows(p), rows({c.expected})) << c.mode;
    }
}

TEST(Patterns, FollowLocalCoordinatesAndTheClip) {
    Port p(6, 4);
    p.set_pen_pattern(plat::gray_pattern);
    p.set_clip(rect(1, 1, 5, 3));
    p.paint_rect(rect(-100, -100, 100, 100));
    EXPECT_EQ(pixel_rows(p), rows({"......", ".#.#..", "..#.#.", "......"}));

    // Origin (1, 0): the same local rectangle lands one pixel left with the
    // pattern still tied to local coordinates.
    Port q(6, 4);
    q.set_origin(1, 0);
    q.set_pen_pattern(plat::gray_pattern);
    q.paint_rect(rect(1, 1, 5, 3));
    EXPECT_EQ(pixel_rows(q), rows({"......", "#.#...", ".#.#..", "......"}));
    EXPECT_EQ(q.port_rect(), rect(1, 0, 7, 4));
}

TEST(Xor, DrawingTwiceRestoresEveryByteAndOnceInvertsEachPixelOnce) {
    struct Action {
        const char* name;
        std::function<void(Port&)> draw;
    };
    const std::vector<Point> star = {{2, 20}, {28, 36}, {10, 4}, {10, 36}, {28, 4}, {2, 20}};
    const Action actions[] = {
        {"line", [](Port& p) { draw_line(p, 2, 3, 35, 20); }},
        {"steep line", [](Port& p) { draw_line(p, 5, 28, 9, 1); }},
        {"wide pen",
         [](Port& p) {
             p.set_pen_size(5, 3);
             draw_line(p, 3, 3, 30, 25);
         }},
        {"wide pen upward",
         [](Port& p) {
             p.set_pen_size(3, 6);
             draw_line(p, 30, 2, 4, 27);
         }},
        {"far line", [](Port& p) { draw_line(p, -32767, -32000, 32767, 32000); }},
        {"huge pen",
         [](Port& p) {
             p.set_pen_size(32767, 2);
             draw_line(p, -32767, 5, 32767, 9);
         }},
        {"dots",
         [](Port& p) {
             p.dot(0, 0);
             p.dot(39, 29);
             p.dot(-5, 3);
             p.dot(7, 7);
         }},
        {"frame rect",
         [](Port& p) {
             p.set_pen_size(3, 2);
             p.frame_rect(rect(2, 2, 30, 20));
         }},
        {"paint everything", [](Port& p) { p.paint_rect(plat::wide_open_rect); }},
        {"odd oval", [](Port& p) { p.frame_oval(rect(4, 3, 19, 24)); }},
        {"even oval", [](Port& p) { p.paint_oval(rect(2, 2, 38, 28)); }},
        {"wide oval",
         [](Port& p) {
             p.set_pen_size(4, 3);
             p.frame_oval(rect(1, 1, 37, 29));
         }},
        {"vast oval", [](Port& p) { p.frame_oval(rect(-32000, 0, 32000, 30)); }},
        {"star frame", [&](Port& p) { p.frame_poly(star); }},
        {"star wide frame",
         [&](Port& p) {
             p.set_pen_size(2, 3);
             p.frame_poly(star);
         }},
        {"star paint", [&](Port& p) { p.paint_poly(star); }},
        {"patterned",
         [](Port& p) {
             p.set_pen_pattern(plat::gray_pattern);
             p.paint_oval(rect(0, 0, 40, 30));
         }},
    };
    for (const Action& a : actions) {
        Port copy(40, 30), once(40, 30);
        a.draw(copy);
        once.set_pen_mode(plat::patXor);
        a.draw(once);
        EXPECT_EQ(pixel_rows(once), pixel_rows(copy)) << a.name;

        Port p(40, 30);
        fill_gradient(p);
        const std::vector<std::uint32_t> before = p.pixels();
        p.set_pen_mode(plat::patXor);
        a.draw(p);
        EXPECT_NE(p.pixels(), before) << a.name;
        p.move_to(0, 0);
        p.set_pen_size(1, 1);
        a.draw(p);
        EXPECT_EQ(p.pixels(), before) << a.name;
    }
}

TEST(Clipping, LinesCutByTheBufferMatchTheSameLinesDrawnWhole) {
    // Ends inside, just outside and far outside; slopes such as 31/62 make
    // the line meet the small port's edges exactly at a rounding tie
    // (0,20 to 62,51 leaves through its bottom at one).
    const int ends[] = {-32767, -200, 0, 3, 20, 31, 40, 51, 62, 500, 32767};
    Port big(64, 64), small(16, 16);
    small.set_origin(24, 20);
    for (int pen : {1, 3}) {
        const auto w = static_cast<std::int16_t>(pen),
                   h = static_cast<std::int16_t>(pen == 1 ? 1 : 2);
        big.set_pen_size(w, h);
        small.set_pen_size(w, h);
        for (int x0 : ends)
            for (int y0 : ends)
                for (int x1 : ends)
                    for (int y1 : ends) {
                        big.erase_rect(plat::wide_open_rect);
                        small.erase_rect(plat::wide_open_rect);
                        draw_line(big, x0, y0, x1, y1);
                        draw_line(small, x0, y0, x1, y1);
                        bool same = true;
                        for (int y = 0; y < 16 && same; ++y)
                            same =
                                std::equal(small.row(y), small.row(y) + 16, big.row(y + 20) + 24);
                        ASSERT_TRUE(same)
                            << x0 << "," << y0 << " " << x1 << "," << y1 << " pen " << pen << "\n"
                            << pixel_rows(small) << "\n"
                            << pixel_rows(big, 24, 20, 16, 16);
                    }
    }
}

TEST(Clipping, ExtremeCoordinatesAndOriginsStayInsideTheBuffer) {
    for (std::int16_t o : {-32767, 0, 32767}) {
        Port p(9, 7);
        p.set_origin(o, o);
        p.set_pen_size(32767, 32767);
        draw_line(p, -32767, -32767, 32767, 32767);
        p.frame_oval(plat::wide_open_rect);
        p.frame_rect(plat::wide_open_rect);
        const std::vector<Point> poly = {{-32767, 0}, {32767, 32767}, {0, -32767}};
        p.frame_poly(poly);
        p.paint_poly(poly);
        p.dot(32767, -32767);
        p.move_to(32767, 32767);
        p.line(32767, 32767);
        EXPECT_EQ(p.pen_location(), (Point{32767, 32767}));
    }
    // The diagonal through the whole plane passes through (i, i).
    Port d(5, 5);
    draw_line(d, -32767, -32767, 32767, 32767);
    EXPECT_EQ(pixel_rows(d), rows({"#....", ".#...", "..#..", "...#.", "....#"}));

    Port none;
    none.paint_rect(plat::wide_open_rect);
    EXPECT_FALSE(Port().resize(-1, 5));
    EXPECT_FALSE(none.resize(32767, 32767));
    EXPECT_EQ(none.width(), 0);
}

TEST(Copy, EachModeCombinesSourceAndDestination) {
    struct Case {
        std::int16_t mode;
        const char* expected;
    };
    const Case cases[] = {
        {plat::srcCopy, "#r.b"},   {plat::srcOr, "#rgb"},      {plat::srcXor, "mmgm"},
        {plat::srcBic, "yygy"},    {plat::notSrcCopy, ".c#y"}, {plat::notSrcOr, "ggrg"},
        {plat::notSrcXor, "ggmg"}, {plat::notSrcBic, "ggyg"},  {plat::patCopy, "#r.b"},
    };
    for (const Case& c : cases) {
        Port src(4, 1), dst(4, 1);
        drav::test::set_pixel_rows(src, {"#r.b"});
        drav::test::set_pixel_rows(dst, {"gggg"});
        dst.set_fore_color(red);
        dst.set_back_color(yellow);
        plat::copy_bits(src, dst, rect(0, 0, 4, 1), rect(0, 0, 4, 1), c.mode);
        EXPECT_EQ(pixel_rows(dst), rows({c.expected})) << c.mode;
    }
    // srcXor twice restores.
    Port src(6, 5), dst(6, 5);
    fill_gradient(src);
    fill_gradient(dst);
    const std::vector<std::uint32_t> before = dst.pixels();
    for (int i = 0; i < 2; ++i)
        plat::copy_bits(src, dst, rect(0, 0, 6, 5), rect(1, 1, 7, 6), plat::srcXor);
    EXPECT_EQ(dst.pixels(), before);
}

TEST(Copy, ClipsOverlapsAndScales) {
    Port src(4, 2);
    drav::test::set_pixel_rows(src, {"#rgb", "bgr#"});
    Port dst(5, 3);
    dst.set_clip(rect(0, 0, 4, 3));
    // Partly outside the source on the left and outside the clip on the right.
    plat::copy_bits(src, dst, rect(-1, 0, 3, 2), rect(1, 1, 5, 3), plat::srcCopy);
    EXPECT_EQ(pixel_rows(dst), rows({".....", "..#r.", "..bg."}));

    // Within one port, overlapping: moves as a whole.
    Port scroll(5, 1);
    drav::test::set_pixel_rows(scroll, {"#rgb."});
    plat::copy_bits(scroll, scroll, rect(0, 0, 4, 1), rect(1, 0, 5, 1), plat::srcCopy);
    EXPECT_EQ(pixel_rows(scroll), rows({"##rgb"}));

    Port twice(4, 4);
    plat::copy_bits(src, twice, rect(0, 0, 2, 2), rect(0, 0, 4, 4), plat::srcCopy);
    EXPECT_EQ(pixel_rows(twice), rows({"##rr", "##rr", "bbgg", "bbgg"}));
}

TEST(Copy, ScrollMovesEveryPixelAndUncoversTheBackColour) {
    struct Case {
        int dh, dv;
        std::string want;
    } cases[] = {
        {1, 0, rows({".#rg", ".bgr", ".rrb"})},
        {-2, 0, rows({"gb..", "r#..", "bg.."})},
        {0, 1, rows({"....", "#rgb", "bgr#"})},
        {1, -2, rows({".rrb", "....", "...."})},
        {0, -3, rows({"....", "....", "...."})},
    };
    for (const Case& c : cases) {
        Port p(4, 3);
        p.set_back_color({0xFFFF, 0xFFFF, 0xFFFF});
        drav::test::set_pixel_rows(p, {"#rgb", "bgr#", "rrbg"});
        Rect changed;
        p.take_changed(&changed);
        const std::uint64_t count = p.changes();
        p.scroll_pixels(c.dh, c.dv);
        EXPECT_EQ(pixel_rows(p), c.want) << c.dh << ", " << c.dv;
        EXPECT_GT(p.changes(), count);
        ASSERT_TRUE(p.take_changed(&changed));
        EXPECT_EQ(changed, rect(0, 0, 4, 3));
    }
}

TEST(CurrentPort, SaversNestAndForgetDestroyedPorts) {
    Port a(1, 1);
    plat::set_port(&a);
    {
        auto b = std::make_unique<Port>(1, 1);
        plat::PortSaver outer(b.get());
        EXPECT_EQ(plat::current_port(), b.get());
        {
            plat::PortSaver inner;
            plat::set_port(&a);
        }
        EXPECT_EQ(plat::current_port(), b.get());
        b.reset();
        EXPECT_EQ(plat::current_port(), nullptr);
    }
    EXPECT_EQ(plat::current_port(), &a);
    {
        plat::PortSaver s;
        auto c = std::make_unique<Port>(1, 1);
        plat::set_port(c.get());
        plat::PortSaver keeps_c;
        plat::set_port(&a);
        c.reset();
    }
    EXPECT_EQ(plat::current_port(), &a);
    plat::set_port(nullptr);
}

namespace {

// A port of one colour that nothing has drawn into yet; its back colour stays
// the one it was made with unless `back` says otherwise.
std::unique_ptr<Port> blank_port(int w, int h, const plat::RGBColor& colour) {
    auto p = std::make_unique<Port>();
    p->set_back_color(colour);
    p->resize(w, h);
    return p;
}

// The same port with its pixels given at once, as every port had before.
std::unique_ptr<Port> filled_port(int w, int h, const plat::RGBColor& colour) {
    auto p = blank_port(w, h, colour);
    p->row(0);
    return p;
}

}  // namespace

TEST(BlankPorts, ANeverDrawnPortReadsAsTheBackColourItWasMadeWith) {
    Port p;
    p.set_back_color(blue);
    ASSERT_TRUE(p.resize(3, 2));
    p.set_back_color(red);  // too late for the pixels already there
    EXPECT_TRUE(p.blank());
    EXPECT_EQ(pixel_rows(p), rows({"bbb", "bbb"}));
    EXPECT_EQ(p.pixel(3, 1), 0u);  // outside
    Rect changed;
    ASSERT_TRUE(p.take_changed(&changed));
    EXPECT_EQ(changed, rect(0, 0, 3, 2));
    EXPECT_EQ(p.pixels(), std::vector<std::uint32_t>(6, 0xFF0000FFu));
    EXPECT_EQ(*p.row(1), 0xFF0000FFu);
    EXPECT_EQ(pixel_rows(p), rows({"bbb", "bbb"}));
}

TEST(BlankPorts, TheFirstDrawingThatChangesAPixelGivesThePortItsPixels) {
    struct Case {
        const char* name;
        std::function<void(Port&)> draw;
        bool changes;
        std::string expected;
    };
    const Case cases[] = {
        {"erase to the back colour", [](Port& p) { p.erase_rect(plat::wide_open_rect); }, false,
         rows({"yyyyy", "yyyyy", "yyyyy"})},
        {"patBic puts the back colour",
         [](Port& p) {
             p.set_pen_mode(plat::patBic);
             p.paint_rect(rect(0, 0, 5, 3));
         },
         false, rows({"yyyyy", "yyyyy", "yyyyy"})},
        {"patOr of an empty pattern",
         [](Port& p) {
             p.set_pen_mode(plat::patOr);
             p.set_pen_pattern(plat::white_pattern);
             p.paint_oval(rect(0, 0, 5, 3));
         },
         false, rows({"yyyyy", "yyyyy", "yyyyy"})},
        {"a line", [](Port& p) { draw_line(p, 0, 0, 4, 2); }, true, rows({"#yyyy", "y##yy", "yyy##"})},
        {"an xor line twice",
         [](Port& p) {
             p.set_pen_mode(plat::patXor);
             draw_line(p, 0, 0, 4, 2);
             draw_line(p, 0, 0, 4, 2);
         },
         true, rows({"yyyyy", "yyyyy", "yyyyy"})},
        {"invert", [](Port& p) { p.invert_rect(rect(1, 0, 3, 1)); }, true, rows({"ybbyy", "yyyyy", "yyyyy"})},
        {"erase to another colour",
         [](Port& p) {
             p.set_back_color(red);
             p.erase_rect(rect(3, 1, 9, 9));
         },
         true, rows({"yyyyy", "yyyrr", "yyyrr"})},
        {"a pattern whose first pixel is off",
         [](Port& p) {
             p.set_pen_mode(plat::patOr);
             p.set_pen_pattern({0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40});
             p.paint_rect(plat::wide_open_rect);
         },
         true, rows({"y#yyy", "y#yyy", "y#yyy"})},
        {"a gray pattern over everything",
         [](Port& p) {
             p.set_pen_pattern(plat::gray_pattern);
             p.paint_rect(plat::wide_open_rect);
         },
         true, rows({"#y#y#", "y#y#y", "#y#y#"})},
    };
    for (const Case& c : cases) {
        const auto lazy = blank_port(5, 3, yellow);
        const auto eager = filled_port(5, 3, yellow);
        c.draw(*lazy);
        c.draw(*eager);
        EXPECT_EQ(lazy->blank(), !c.changes) << c.name;
        EXPECT_EQ(pixel_rows(*lazy), c.expected) << c.name;
        EXPECT_EQ(pixel_rows(*eager), c.expected) << c.name;
        EXPECT_EQ(lazy->pixels(), eager->pixels()) << c.name;
        Rect changed;
        EXPECT_TRUE(lazy->take_changed(&changed)) << c.name;
    }
}

TEST(BlankPorts, CopiesFromAndIntoBlankPortsMatchCopiesOfFilledOnes) {
    const std::int16_t modes[] = {plat::srcCopy,    plat::srcOr,    plat::srcXor,    plat::srcBic,
                                  plat::notSrcCopy, plat::notSrcOr, plat::notSrcXor, plat::notSrcBic};
    // A source of its back colour is all "off"; one of another colour all "on".
    const plat::RGBColor sources[] = {plat::RGBColor{0xFFFF, 0xFFFF, 0xFFFF}, green};
    for (std::int16_t mode : modes)
        for (const plat::RGBColor& s : sources)
            for (bool src_blank : {true, false})
                for (bool dst_blank : {true, false}) {
                    const auto src = src_blank ? blank_port(4, 3, s) : filled_port(4, 3, s);
                    const auto dst = dst_blank ? blank_port(6, 4, yellow) : filled_port(6, 4, yellow);
                    const auto src_ref = filled_port(4, 3, s);
                    const auto dst_ref = filled_port(6, 4, yellow);
                    for (Port* p : {src.get(), src_ref.get()}) p->set_back_color({0xFFFF, 0xFFFF, 0xFFFF});
                    for (Port* p : {dst.get(), dst_ref.get()}) {
                        p->set_fore_color(red);
                        p->set_back_color(blue);
                    }
                    // Partly outside the source, scaled, and through a clip.
                    dst->set_clip(rect(0, 0, 5, 4));
                    dst_ref->set_clip(rect(0, 0, 5, 4));
                    plat::copy_bits(*src, *dst, rect(-1, 0, 3, 2), rect(1, 1, 6, 4), mode);
                    plat::copy_bits(*src_ref, *dst_ref, rect(-1, 0, 3, 2), rect(1, 1, 6, 4), mode);
                    EXPECT_EQ(pixel_rows(*dst), pixel_rows(*dst_ref))
                        << mode << (src_blank ? " blank" : " filled") << " source, "
                        << (dst_blank ? "blank" : "filled") << " destination";
                    EXPECT_EQ(dst->pixels(), dst_ref->pixels());
                    EXPECT_EQ(src->pixels(), src_ref->pixels());  // the source is left as it was
                }

    // Worked by hand: green onto yellow, and green onto green.
    const auto src = blank_port(2, 2, green);
    src->set_back_color({0xFFFF, 0xFFFF, 0xFFFF});
    const auto dst = blank_port(4, 2, yellow);
    plat::copy_bits(*src, *dst, rect(0, 0, 2, 2), rect(1, 0, 3, 2), plat::srcCopy);
    EXPECT_FALSE(dst->blank());
    EXPECT_EQ(pixel_rows(*dst), rows({"yggy", "yggy"}));
    const auto same = blank_port(4, 2, green);
    plat::copy_bits(*src, *same, rect(0, 0, 2, 2), rect(1, 0, 3, 2), plat::srcCopy);
    EXPECT_TRUE(same->blank());
    EXPECT_EQ(pixel_rows(*same), rows({"gggg", "gggg"}));

    // Within one blank port: xor of itself flips what it covers.
    const auto self = blank_port(4, 1, green);
    self->set_back_color(yellow);
    plat::copy_bits(*self, *self, rect(0, 0, 2, 1), rect(1, 0, 3, 1), plat::srcXor);
    EXPECT_EQ(pixel_rows(*self), rows({"gmmg"}));
}

TEST(BlankPorts, ResizingStartsAgainBlankInTheBackColourOfThatMoment) {
    const auto p = blank_port(3, 2, yellow);
    p->set_back_color(red);
    ASSERT_TRUE(p->resize(4, 1));
    EXPECT_TRUE(p->blank());
    EXPECT_EQ(pixel_rows(*p), rows({"rrrr"}));
    draw_line(*p, 0, 0, 1, 0);
    EXPECT_EQ(pixel_rows(*p), rows({"##rr"}));
    p->set_back_color(blue);
    ASSERT_TRUE(p->resize(2, 2));
    EXPECT_TRUE(p->blank());
    EXPECT_EQ(pixel_rows(*p), rows({"bb", "bb"}));
    Rect changed;
    ASSERT_TRUE(p->take_changed(&changed));
    EXPECT_EQ(changed, rect(0, 0, 2, 2));
    EXPECT_FALSE(p->resize(32767, 32767));
    EXPECT_FALSE(p->blank());
    EXPECT_EQ(p->width(), 0);
    EXPECT_TRUE(p->pixels().empty());
}

TEST(PortDetail, ShowsOnlyWhileTheAreaHoldsWhatItHeldOrItsInverse) {
    Port p(4, 4);
    const Rect area{1, 1, 3, 3};
    // A 2x picture of a 2 x 2 area has 16 pixels; anything else is refused.
    EXPECT_FALSE(p.set_detail(area, 2, std::vector<std::uint32_t>(15, plat::black_pixel)));
    EXPECT_FALSE(p.set_detail(Rect{3, 3, 5, 5}, 2, std::vector<std::uint32_t>(16, plat::black_pixel)));
    ASSERT_TRUE(p.set_detail(area, 2, std::vector<std::uint32_t>(16, plat::black_pixel)));
    ASSERT_EQ(p.details().size(), 1u);
    EXPECT_EQ(p.detail_state(p.details()[0]), 1);
    p.invert_rect(area);
    EXPECT_EQ(p.detail_state(p.details()[0]), -1);
    p.invert_rect(area);
    EXPECT_EQ(p.detail_state(p.details()[0]), 1);
    p.paint_rect(Rect{2, 2, 3, 3});  // one pixel of the area changed
    EXPECT_EQ(p.detail_state(p.details()[0]), 0);
    // Setting it again for the same area replaces it.
    ASSERT_TRUE(p.set_detail(area, 2, std::vector<std::uint32_t>(16, plat::white_pixel)));
    ASSERT_EQ(p.details().size(), 1u);
    EXPECT_EQ(p.detail_state(p.details()[0]), 1);
}
