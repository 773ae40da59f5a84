// The increment, rotation, intersection and grid windows.
#include <filesystem>
#include <numbers>

#include "tests/support/layouts.h"

#include "dialogs/restraint_windows.h"
#include "display/screen.h"
#include "platform/ui/windows.h"
#include "tests/dialogs/settings_fixture.h"

using namespace drav;
using namespace drav::test;

namespace {

constexpr double pi = std::numbers::pi;

class RestraintWindows : public SettingsWindows {};

}  // namespace

TEST_F(RestraintWindows, IncrementStoresAPositiveLengthAndKeepsTheOldOneForZero) {
    const struct {
        const char* text;
        double stored;
    } cases[] = {{"0.75", 0.75}, {"2", 2.0}, {"0", 0.5}, {"abc", 0.5}, {"-3", 0.5}};
    for (const auto& c : cases) {
        units_defs.increment = 0.5;
        Session s;
        s.then([] { EXPECT_EQ(plat::item_text(front_control(4)), "0.5000"); });
        s.then([&] { plat::set_item_text(front_control(4), c.text); }).press("ok  ").ends();
        int status = -1;
        const Names changed = changes(s, ShowIncrementWindow, &status);
        EXPECT_EQ(status, 0);
        EXPECT_EQ(units_defs.increment, c.stored) << c.text;
        EXPECT_EQ(changed, c.stored == 0.5 ? Names{} : Names{"units_defs.increment"}) << c.text;
        EXPECT_EQ(plat::front_dialog(), nullptr);
    }
    Session cancel;
    cancel.then([] { plat::set_item_text(front_control(4), "9"); }).press("not!").ends();
    int status = -1;
    EXPECT_EQ(changes(cancel, ShowIncrementWindow, &status), Names{});
}

TEST_F(RestraintWindows, RotationIsTypedInDegreesAndStoredInRadiansWithinOneTurn) {
    const struct {
        const char* text;
        double radians;
    } cases[] = {{"450", pi / 2}, {"-90", 3 * pi / 2}, {"0", 0.0}, {"45", pi / 4}, {"x", 0.0}};
    for (const auto& c : cases) {
        units_defs.rotation_step = pi / 6;
        Session s;
        s.then([] { EXPECT_EQ(plat::item_text(front_control(4)), "30.0000"); });
        s.then([&] { plat::set_item_text(front_control(4), c.text); }).press("ok  ").ends();
        int status = -1;
        EXPECT_EQ(changes(s, ShowRotationWindow, &status), Names{"units_defs.rotation_step"}) << c.text;
        EXPECT_NEAR(units_defs.rotation_step, c.radians, 1e-12) << c.text;
    }
}

TEST_F(RestraintWindows, IntersectionShowsButtonTwoForAnyNonZeroWordAndStoresOne) {
    const struct {
        std::int16_t word;
        int shown;
        int chosen;
        std::int16_t stored;
    } cases[] = {{3, 2, 2, 1}, {0, 1, 1, 0}, {1, 2, 1, 0}, {0, 1, 2, 1}};
    for (const auto& c : cases) {
        objopts->intersect_opt = c.word;
        Session s;
        s.then([&] {
            EXPECT_EQ(plat::item_value(front_control(3)), c.shown);
            plat::set_item_value(front_control(3), c.chosen);
        });
        s.press("ok  ").ends();
        int status = -1;
        const Names changed = changes(s, ShowIntersectionWindow, &status);
        EXPECT_EQ(objopts->intersect_opt, c.stored);
        EXPECT_EQ(changed, c.word == c.stored ? Names{} : Names{"objopts.intersect_opt"});
    }
}

TEST_F(RestraintWindows, AWindowThatCannotBeMadeReturnsItsStatus) {
    drav::test::use_test_layouts();
    std::filesystem::remove_all(drav::test::scratch_dir() / "layouts-bundle/ui/drav");
    EXPECT_NE(ShowIncrementWindow(), 0);
    EXPECT_NE(ShowGridWindow(), 0);
    EXPECT_EQ(windGrid, nullptr);
    drav::test::drop_test_layouts();
}

namespace {

// Pixels of the offscreen copy that are not white.
int inked() {
    int n = 0;
    for (std::uint32_t p : myCGrafPtr->pixels()) n += p != plat::white_pixel;
    return n;
}

void type_grid(const char* xs, const char* xd, const char* ys, const char* yd) {
    plat::set_item_text(GrabCRef(windGrid, 0, 3), xs);
    plat::set_item_text(GrabCRef(windGrid, 0, 4), xd);
    plat::set_item_text(GrabCRef(windGrid, 0, 5), ys);
    plat::set_item_text(GrabCRef(windGrid, 0, 6), yd);
}

}  // namespace

TEST(GridWindow, StaysOpenWhileTheProgramRunsAndCorrectsSpacingsAndDivisors) {
    SettingsSnapshot before;
    Session s;
    s.then([&] {
        grid_data = GridRec{1.0, 0.0, 2, 1.0, 0.0, 2};
        swaper = 0;
        EXPECT_EQ(ShowGridWindow(), 0);
        ASSERT_NE(windGrid, nullptr);
        EXPECT_TRUE(plat::dialog_visible(windGrid));
        DialogPtr first = windGrid;
        EXPECT_EQ(ShowGridWindow(), 0);  // a second double click: the same window
        EXPECT_EQ(windGrid, first);
        EXPECT_EQ(plat::item_text(GrabCRef(windGrid, 0, 3)), "1.0000");
        EXPECT_EQ(plat::item_text(GrabCRef(windGrid, 0, 4)), "2");
        type_grid("2", "0", "0", "7");
        before = take_snapshot();
    });
    s.then([] { plat::post_command(windGrid, 0x6F6B2020); });
    s.then([&] {
        EXPECT_EQ(windGrid, nullptr);
        EXPECT_EQ(grid_data.x_spacing, 2.0);
        EXPECT_EQ(grid_data.x_divisor, 1);  // 0 under a spacing above 0
        EXPECT_EQ(grid_data.y_spacing, 2.0);  // an empty y spacing copies x
        EXPECT_EQ(grid_data.y_divisor, 1);  // the corrected x divisor, not the 7 typed
        EXPECT_EQ(grid_data.x_direction, pi / 2);
        EXPECT_EQ(grid_data.y_direction, 0.0);
        const Names changed = changed_fields(before, take_snapshot());
        EXPECT_EQ(changed, (Names{"grid_data.x_spacing", "grid_data.x_direction", "grid_data.x_divisor",
                                  "grid_data.y_spacing", "grid_data.y_divisor"}));
    });
    // An x spacing of 0 is kept as typed, nothing corrected.
    s.then([] {
        ShowGridWindow();
        type_grid("0", "0", "3", "0");
        plat::post_command(windGrid, 0x6F6B2020);
    });
    s.then([] {
        EXPECT_EQ(grid_data.x_spacing, 0.0);
        EXPECT_EQ(grid_data.x_divisor, 0);
        EXPECT_EQ(grid_data.y_spacing, 3.0);
        EXPECT_EQ(grid_data.y_divisor, 0);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(GridWindow, OnlyAChangeRedrawsAndCancelChangesNothing) {
    Session s;
    const auto mark = [] {
        plat::PortSaver saver(myCGrafPtr);
        myCGrafPtr->pen_normal();
        myCGrafPtr->set_fore_color(plat::RGBColor{0, 0, 0});
        myCGrafPtr->paint_rect(plat::Rect{10, 10, 20, 20});
    };
    s.then([&] {
        grid_data = GridRec{1.0, pi / 2, 1, 1.0, 0.0, 1};
        swaper = 0;
        mark();
        ShowGridWindow();
    });
    s.then([] { plat::post_command(windGrid, 0x6F6B2020); });  // no change
    s.then([] {
        EXPECT_EQ(myCGrafPtr->pixel(15, 15), plat::black_pixel);  // nothing was redrawn
        EXPECT_EQ(swaper & sw_grid, 0);
        ShowGridWindow();
        plat::set_item_value(GrabCRef(windGrid, 0, 7), 1);
        plat::post_command(windGrid, 0x6E6F7421);  // Cancel
    });
    s.then([] {
        EXPECT_EQ(windGrid, nullptr);
        EXPECT_EQ(swaper & sw_grid, 0);
        EXPECT_EQ(myCGrafPtr->pixel(15, 15), plat::black_pixel);
        ShowGridWindow();
        plat::set_item_value(GrabCRef(windGrid, 0, 7), 1);  // only the check box
        plat::post_command(windGrid, 0x6F6B2020);
    });
    s.then([] {
        EXPECT_NE(swaper & sw_grid, 0);
        // The old picture went with the old grid; the new grid is drawn.
        EXPECT_NE(myCGrafPtr->pixel(15, 15), plat::black_pixel);
        EXPECT_GT(inked(), 100);
    });
    EXPECT_EQ(s.run(), 0);
}
