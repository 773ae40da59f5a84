#include "display/grid.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/paths.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "store/records.h"
#include "store/settings.h"
#include "tests/display/display_fixture.h"
#include "tests/support/pixels.h"

namespace drav {
namespace {

using test::pixel_rows;
using test::rows;

constexpr std::int16_t red = 35;  // the colour map's pure red

// The 200 x 100 screen with a drawing in it and a red grid colour.
class Grid : public test::Display {
protected:
    void SetUp() override {
        Display::SetUp();
        genenv = env_;
        set_grid_colour(red);
        number_of_objects = first_object_slot + 5;
        swaper = sw_grid;
        misc_defs.user_origin_x = misc_defs.user_origin_y = 0;
    }
    void TearDown() override {
        genenv = nullptr;
        Display::TearDown();
    }
    // pixels per unit on both axes
    static void zoom(double ppu) { change_window(0, 200 / ppu, 0, 0.5, 0); }
    static void grid(double xs, double ys, std::int16_t nx, std::int16_t ny) {
        grid_data.x_spacing = xs;
        grid_data.y_spacing = ys;
        grid_data.x_divisor = nx;
        grid_data.y_divisor = ny;
    }

    std::uint8_t env_[genenv_bytes] = {};
};

TEST_F(Grid, DotsFollowTheSpacingTheDivisorsAndTheDensityLimits) {
    // Viewport pixel x, y (y upward) of a dot; column 0 never carries one.
    using Dot = std::function<bool(int x, int y)>;
    const struct {
        const char* what;
        double ppu, spacing;
        std::int16_t nx, ny;
        bool from_origin;
        double origin_x;
        Dot dot;
    } cases[] = {
        {"finer dots along the lines", 40, 1, 4, 4, false, 0,
         [](int x, int y) { return (x % 40 == 0 && y % 10 == 0) || (y % 40 == 0 && x % 10 == 0); }},
        {"finer dots closer than 2 pixels left out", 6, 1, 4, 4, false, 0,
         [](int x, int y) { return x % 6 == 0 && y % 6 == 0; }},
        {"steps below 4 pixels: no grid", 3, 1, 1, 1, false, 0, [](int, int) { return false; }},
        {"no spacing: no grid", 40, 0, 1, 1, false, 0, [](int, int) { return false; }},
        {"divisors of 0 count as 1", 40, 1, 0, 0, false, 0,
         [](int x, int y) { return x % 40 == 0 && y % 40 == 0; }},
        {"laid from the user origin", 10, 1, 1, 1, true, 0.3,
         [](int x, int y) { return x % 10 == 3 && y % 10 == 0; }},
        {"origin ignored without the option", 10, 1, 1, 1, false, 0.3,
         [](int x, int y) { return x % 10 == 0 && y % 10 == 0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        cleargraphics();
        zoom(c.ppu);
        grid(c.spacing, c.spacing, c.nx, c.ny);
        swaper = c.from_origin ? sw_grid | sw_grid_from_origin : sw_grid;
        misc_defs.user_origin_x = c.origin_x;
        draw_grids(mode_draw);
        int wrong = 0;
        for (int v = 0; v < 100; ++v)
            for (int x = 0; x < 200; ++x) {
                const bool dot = x > 0 && c.dot(x, 100 - v);
                const std::uint32_t want = dot ? plat::pixel_of(dravColors[red]) : plat::white_pixel;
                if (myCGrafPtr->pixel(x, v) != want && ++wrong <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << 100 - v << (dot ? " lacks a dot" : " has ink");
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(Grid, ErasingTakesTheDotsOrTheWholeCopyOfAnEmptyDrawing) {
    zoom(40);
    grid(1, 1, 1, 1);
    for (std::int16_t objects : {first_object_slot, static_cast<std::int16_t>(first_object_slot + 1)}) {
        number_of_objects = objects;
        test::fill_gradient(*myCGrafPtr);
        const std::vector<std::uint32_t> before = myCGrafPtr->pixels();
        draw_grids(mode_erase);
        for (int v = 0; v < 100; ++v)
            for (int x = 0; x < 200; ++x) {
                const bool dot = x > 0 && x % 40 == 0 && (100 - v) % 40 == 0;
                const bool cleared = objects == first_object_slot || dot;
                EXPECT_EQ(myCGrafPtr->pixel(x, v), cleared ? plat::white_pixel : before[v * 200 + x])
                    << x << "," << 100 - v << " with " << objects << " records";
            }
    }
}

TEST_F(Grid, CentreMarkerIsACrossOfTwoPixelArms) {
    zoom(10);
    center_marker(10, 5, mode_draw);  // pixel (100, 50)
    EXPECT_EQ(pixel_rows(*myCGrafPtr, 97, 47, 7, 7),
              rows({".......", "...?...", "...?...", ".?????.", "...?...", "...?...", "......."}));

    // In XOR it goes into the window and a second one takes it away.
    plat::Port& window = *drawCWindow;
    test::fill_gradient(window);
    const std::vector<std::uint32_t> before = window.pixels();
    center_marker(10, 5, mode_xor);
    EXPECT_NE(window.pixels(), before);
    center_marker(10, 5, mode_xor);
    EXPECT_EQ(window.pixels(), before);
}

}  // namespace
}  // namespace drav
