// Lines through a LineRun (the fast loop) against move_to and line_to on the
// general path: the same pixels, pen position and changed area, clipped the
// same way, in each mode.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "platform/core/raster.h"

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

}  // namespace
