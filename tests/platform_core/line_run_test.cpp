// Lines through a LineRun (the fast loop) against move_to and line_to on the
// general path: the same pixels, pen position and changed area, clipped the
// same way, in each mode. Also plain line_to, which keeps what the fast loop
// needs from one line to the next, and areas filled by row spans.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "platform/core/raster.h"
#include "platform/core/region.h"

namespace {

void prepare(plat::Port& p, std::int16_t mode) {
    p.set_clip({5, 3, 50, 90});
    p.set_origin(-2, 4);
    p.set_pen_mode(mode);
    p.set_fore_color({0xFFFF, 0, 0});
    p.set_back_color({0x8000, 0x8000, 0x8000});
}

TEST(LineRun, DrawsWhatTheGeneralPathDraws) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> u(-40, 140), near(0, 40);
    std::vector<std::array<std::int16_t, 4>> lines;
    for (int i = 0; i < 400; ++i) {
        // Half wholly inside the clip, half anywhere.
        auto& d = i % 2 ? u : near;
        const int o = i % 2 ? 0 : 10;
        lines.push_back({static_cast<std::int16_t>(d(rng) + o), static_cast<std::int16_t>(d(rng) + o),
                         static_cast<std::int16_t>(d(rng) + o), static_cast<std::int16_t>(d(rng) + o)});
    }
    for (std::int16_t mode : {plat::patCopy, plat::notPatCopy, plat::patXor}) {
        plat::Port a(100, 60), b(100, 60);
        prepare(a, mode);
        prepare(b, mode);
        std::vector<plat::Rect> changed_a, changed_b;
        plat::Rect r{};
        plat::set_fast_lines(false);
        a.take_changed(&r);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i == 200) a.set_fore_color({0, 0, 0xFFFF});
            a.move_to(lines[i][0], lines[i][1]);
            a.line_to(lines[i][2], lines[i][3]);
            changed_a.push_back(a.take_changed(&r) ? r : plat::Rect{});
        }
        plat::set_fast_lines(true);
        b.take_changed(&r);
        plat::LineRun run(b);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i == 200) {
                b.set_fore_color({0, 0, 0xFFFF});
                run.colour_changed();
            }
            run.line(lines[i][0], lines[i][1], lines[i][2], lines[i][3]);
            changed_b.push_back(b.take_changed(&r) ? r : plat::Rect{});
        }
        EXPECT_EQ(changed_a, changed_b) << mode;
        EXPECT_EQ(a.pen_location(), b.pen_location());
        EXPECT_EQ(a.pixels(), b.pixels()) << mode;
        plat::Port blank(100, 60);
        prepare(blank, mode);
        EXPECT_NE(a.pixels(), blank.pixels());
    }
}

// Lines handed over as batches, under origins near both ends of the 16-bit
// range and lines anywhere: the same pixels, pen and changed area as the
// lines one by one on the general path.
TEST(LineRun, ABatchUnderAnyOriginDrawsWhatTheGeneralPathDraws) {
    struct Origin {
        std::int16_t h, v;
    };
    const Origin origins[] = {{0, 0}, {-2, 4}, {32000, -32000}, {32667, 32707}, {-32768, -32768}};
    for (const Origin o : origins) {
        std::mt19937 rng(11);
        std::uniform_int_distribution<int> any(-32768, 32767), near(-20, 120), len(-30, 30), few(-3, 3);
        std::vector<plat::LineRun::Ends> lines;
        const auto at = [](int local, int origin) {
            return static_cast<std::int16_t>(std::clamp(local + origin, -32768, 32767));
        };
        for (int i = 0; i < 600; ++i) {
            const int x = near(rng), y = near(rng);
            if (i % 3 == 2)  // anywhere, mostly far outside
                lines.push_back({static_cast<std::int16_t>(any(rng)), static_cast<std::int16_t>(any(rng)),
                                 static_cast<std::int16_t>(any(rng)), static_cast<std::int16_t>(any(rng))});
            else {  // one in five along a row, one in five along a column, one in four of a few pixels
                const auto reach = [&] { return i % 4 == 3 ? few(rng) : len(rng); };
                lines.push_back({at(x, o.h), at(y, o.v), at(i % 5 == 1 ? x : x + reach(), o.h),
                                 at(i % 5 == 0 ? y : y + reach(), o.v)});
            }
        }
        plat::Port a(100, 60), b(100, 60);
        for (plat::Port* p : {&a, &b}) {
            prepare(*p, plat::patCopy);
            p->set_origin(o.h, o.v);
            p->set_clip({static_cast<std::int16_t>(o.v + 5), static_cast<std::int16_t>(o.h + 3),
                         static_cast<std::int16_t>(std::min(o.v + 50, 32767)),
                         static_cast<std::int16_t>(std::min(o.h + 90, 32767))});
        }
        // Batches of three, each one's changed area compared.
        std::vector<plat::Rect> changed_a, changed_b;
        plat::Rect r{};
        a.take_changed(&r);
        b.take_changed(&r);
        plat::set_fast_lines(false);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            a.move_to(lines[i].h0, lines[i].v0);
            a.line_to(lines[i].h1, lines[i].v1);
            if (i % 3 == 2) changed_a.push_back(a.take_changed(&r) ? r : plat::Rect{});
        }
        plat::set_fast_lines(true);
        plat::LineRun run(b);
        for (std::size_t i = 0; i < lines.size(); i += 3) {
            run.lines({lines.data() + i, 3});
            changed_b.push_back(b.take_changed(&r) ? r : plat::Rect{});
        }
        EXPECT_EQ(changed_a, changed_b) << o.h << "," << o.v;
        EXPECT_EQ(a.pen_location(), b.pen_location());
        EXPECT_EQ(a.pixels(), b.pixels()) << o.h << "," << o.v;
        plat::Port blank(100, 60);
        EXPECT_NE(a.pixels(), blank.pixels()) << o.h << "," << o.v;
    }
}

// Every change a line's pixels depend on, between lines drawn by line_to:
// the fast loop must see each one, as the general path does.
TEST(LineRun, LineToFollowsEveryChangeOfPenColourClipAndOrigin) {
    using Step = void (*)(plat::Port&);
    const Step steps[] = {
        [](plat::Port&) {},
        [](plat::Port& p) { p.set_fore_color({0, 0xFFFF, 0}); },
        [](plat::Port& p) { p.set_clip({10, 10, 40, 70}); },
        [](plat::Port& p) { p.set_origin(5, -3); },
        [](plat::Port& p) { p.set_pen_mode(plat::notPatCopy); },
        [](plat::Port& p) { p.set_back_color({0, 0, 0x8000}); },
        [](plat::Port& p) { p.set_pen_mode(plat::patXor); },
        [](plat::Port& p) { p.pen_normal(); },
        [](plat::Port& p) { p.set_pen_pattern(plat::gray_pattern); },
        [](plat::Port& p) { p.set_pen_pattern(plat::black_pattern); },
        [](plat::Port& p) { p.set_pen_size(2, 2); },
        [](plat::Port& p) { p.set_pen_size(1, 1); },
        [](plat::Port& p) {
            plat::PenState s = p.pen_state();
            s.mode = plat::patCopy;
            p.set_pen_state(s);
        },
        [](plat::Port& p) { p.resize(90, 50); },
        [](plat::Port& p) { p.set_fore_color({0xFFFF, 0xFFFF, 0}); },
    };
    const auto draw = [&](bool fast) {
        plat::set_fast_lines(fast);
        plat::Port p(100, 60);
        prepare(p, plat::patCopy);
        std::vector<std::vector<std::uint32_t>> pictures;
        int n = 0;
        for (Step s : steps) {
            s(p);
            for (int k = 0; k < 6; ++k, ++n) {
                p.move_to(static_cast<std::int16_t>(n % 37 - 5), static_cast<std::int16_t>(n * 7 % 53));
                p.line_to(static_cast<std::int16_t>(n * 13 % 97), static_cast<std::int16_t>(n * 5 % 61 - 4));
            }
            pictures.push_back(p.pixels());
        }
        plat::set_fast_lines(true);
        return pictures;
    };
    const auto general = draw(false);
    const auto fast = draw(true);
    ASSERT_EQ(general.size(), fast.size());
    for (std::size_t i = 0; i < general.size(); ++i) EXPECT_TRUE(general[i] == fast[i]) << "after step " << i;
}

// Areas in one colour are filled row by row without the per-run mode work:
// the same pixels and changed area as the general path, and a blank port
// erased to its own colour stays blank.
TEST(AreaSpans, OneColourAreasFillWhatTheGeneralPathFills) {
    struct Case {
        std::int16_t mode;
        plat::Pattern pattern;
        std::int16_t pen;
    };
    const Case cases[] = {{plat::patCopy, plat::black_pattern, 1}, {plat::notPatCopy, plat::black_pattern, 1},
                          {plat::patCopy, plat::white_pattern, 1}, {plat::notPatCopy, plat::white_pattern, 3},
                          {plat::patCopy, plat::black_pattern, 3}, {plat::patCopy, plat::gray_pattern, 1},
                          {plat::patXor, plat::black_pattern, 1},  {plat::srcCopy, plat::black_pattern, 2}};
    const plat::Point poly[] = {{10, 4}, {55, 30}, {20, 80}, {10, 4}};
    plat::Region rgn;
    rgn.add_oval({-5, 60, 30, 110});
    rgn.add_rect({30, 0, 70, 20});
    for (const Case& c : cases) {
        const auto draw = [&](bool fast) {
            plat::set_fast_lines(fast);
            plat::Port p(100, 60);
            prepare(p, c.mode);
            p.set_pen_pattern(c.pattern);
            p.set_pen_size(c.pen, c.pen);
            plat::Rect r{};
            std::vector<plat::Rect> changed;
            const auto mark = [&] { changed.push_back(p.take_changed(&r) ? r : plat::Rect{}); };
            p.take_changed(&r);
            p.paint_rect({0, 0, 20, 30});
            mark();
            p.frame_rect({8, 25, 45, 70});
            mark();
            p.paint_oval({20, 40, 58, 95});
            mark();
            p.frame_oval({-10, -10, 30, 40});
            mark();
            p.erase_oval({30, 60, 52, 84});
            mark();
            p.paint_poly(poly);
            mark();
            p.frame_poly(poly);
            mark();
            p.paint_region(rgn);
            mark();
            p.frame_region(rgn);
            mark();
            plat::set_fast_lines(true);
            return std::pair{p.pixels(), changed};
        };
        const auto general = draw(false);
        const auto fast = draw(true);
        EXPECT_TRUE(general.first == fast.first) << c.mode << " " << c.pen;
        EXPECT_EQ(general.second, fast.second) << c.mode << " " << c.pen;
    }
    // Erasing a blank port to the colour it already has changes no pixel.
    plat::Port blank(40, 30);
    blank.erase_rect({0, 0, 30, 40});
    EXPECT_TRUE(blank.blank());
    blank.set_fore_color({0, 0, 0});
    blank.paint_rect({2, 2, 5, 5});
    EXPECT_FALSE(blank.blank());
    EXPECT_EQ(blank.pixel(3, 3), plat::black_pixel);
    EXPECT_EQ(blank.pixel(1, 1), plat::white_pixel);
}

}  // namespace
