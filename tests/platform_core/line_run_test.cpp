// Lines through a LineRun: the pixels, pen position and changed area of
// move_to and line_to, clipped the same way, in both copy modes.
#include <gtest/gtest.h>

#include <random>

#include "platform/core/raster.h"

namespace {

TEST(LineRun, DrawsWhatMoveAndLineDraw) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> u(-40, 140);
    for (std::int16_t mode : {plat::patCopy, plat::notPatCopy, plat::patXor}) {
        plat::Port a(100, 60), b(100, 60);
        for (plat::Port* p : {&a, &b}) {
            p->set_clip({5, 3, 50, 90});
            p->set_origin(-2, 4);
            p->set_pen_mode(mode);
            p->set_fore_color({0xFFFF, 0, 0});
            p->set_back_color({0x8000, 0x8000, 0x8000});
        }
        plat::LineRun run(b);
        for (int i = 0; i < 300; ++i) {
            const auto h0 = static_cast<std::int16_t>(u(rng)), v0 = static_cast<std::int16_t>(u(rng));
            const auto h1 = static_cast<std::int16_t>(u(rng)), v1 = static_cast<std::int16_t>(u(rng));
            if (i == 150) {
                a.set_fore_color({0, 0, 0xFFFF});
                b.set_fore_color({0, 0, 0xFFFF});
                run.colour_changed();
            }
            plat::Rect ra{}, rb{};
            a.take_changed(&ra);
            b.take_changed(&rb);
            a.move_to(h0, v0);
            a.line_to(h1, v1);
            run.line(h0, v0, h1, v1);
            const bool ca = a.take_changed(&ra), cb = b.take_changed(&rb);
            ASSERT_EQ(ca, cb) << i;
            if (ca) {
                EXPECT_EQ(ra, rb) << i;
            }
            EXPECT_EQ(a.pen_location(), b.pen_location());
        }
        EXPECT_EQ(a.pixels(), b.pixels()) << mode;
        EXPECT_NE(a.pixels(), plat::Port(100, 60).pixels());
    }
}

}  // namespace
