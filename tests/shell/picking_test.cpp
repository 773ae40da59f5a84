// Picking in the running program: a click makes an object current, a
// shift-click builds the group, a press held on empty space drags a marquee
// that selects what it touches; and the marquee's animation.
#include <gtest/gtest.h>

#include <cmath>

#include "base/idle.h"
#include "base/tool_options.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "platform/core/clock.h"
#include "platform/ui/events.h"
#include "platform/ui/windows.h"
#include "shell/marquee.h"
#include "store/levels.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/undo.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;
using drav::test::quit_without_saving;

namespace {

// Window-local pixel of a world point.
plat::Point local_of(double x, double y) {
    world_screen(&x, &y);
    return plat::Point{static_cast<std::int16_t>(viewport.yt - std::lround(y) + drawRect.top),
                       static_cast<std::int16_t>(std::lround(x) - viewport.xl + drawRect.left)};
}

std::int16_t store_line(double x, double y, double dx, double dy, int level = -1) {
    if (level < 0) level = props_defs.level;
    get_info(number_of_objects);
    ObjectRec r{};
    set_rec_u16(r, o_word0, rk_object);
    set_obj_kind_colour(r, ok_line, colour_black);
    r.b[obj::level] = static_cast<std::uint8_t>(level);
    set_init(x, y, r);
    set_rec_f64(r, line::dx, dx);
    set_rec_f64(r, line::dy, dy);
    info = r;
    const std::int16_t n = number_of_objects;
    indx = n;
    // As a drawing command does it: not idle while it stores.
    const std::uint16_t was_idle = idle;
    idle = 0;
    do_operation(op_add, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(save_object(), 1);
    idle = was_idle;
    return n;
}

void post_mouse(std::int16_t what, plat::Point local, std::uint16_t modifiers = 0) {
    const plat::Rect b = plat::window_bounds(whichdrawWindow());
    plat::EventRecord r;
    r.what = what;
    r.where = plat::Point{static_cast<std::int16_t>(b.top + local.v), static_cast<std::int16_t>(b.left + local.h)};
    r.modifiers = modifiers;
    r.window = whichdrawWindow();
    drav::test::post(r);
}

}  // namespace

TEST(Picking, ClickShiftClickAndAMarqueeSelect) {
    Session s;
    std::int16_t a = 0, b = 0, c = 0;
    double xm = 0, ym = 0, q = 0;
    s.then([&] {
        objopts->dblclick_mode = 1;  // single clicks never wait for a second
        xm = (cur_win.xl + cur_win.xr) / 2;
        ym = (cur_win.yb + cur_win.yt) / 2;
        q = (cur_win.xr - cur_win.xl) / 8;
        a = store_line(xm - q, ym, q, 0);
        b = store_line(xm - q, ym + q, q, 0);
        c = store_line(xm + q, ym - q, q, 0);
        nomore_info();
    });
    s.then([&] { drav::test::post_click(local_of(xm - q / 2, ym)); });
    s.then([&] {
        EXPECT_EQ(indx, a);
        EXPECT_EQ(currentitem, a);
        EXPECT_EQ(macgroup, 0);
        drav::test::post_click(local_of(xm - q / 2, ym + q), plat::shiftKey);
    });
    s.then([&] {
        EXPECT_EQ(macgroup, 1);  // shift entered group mode
        EXPECT_EQ(get_in_group(b), 1);
        EXPECT_EQ(get_in_group(a), 0);
        // A plain click on empty space changes nothing.
        drav::test::post_click(local_of(xm + 2 * q, ym + 2 * q));
    });
    s.then([&] {
        EXPECT_EQ(get_in_group(b), 1);
        EXPECT_EQ(ants_alive, 0);
        // A press held on empty space, dragged over c only.
        post_mouse(plat::mouseDown, local_of(xm + q / 2, ym - q / 2));
    });
    s.then([&] {
        plat::advance_fake_clock(120);
        post_mouse(plat::mouseUp, local_of(xm + 3 * q, ym - 2 * q), plat::btnState);
    });
    s.then([&] {
        EXPECT_EQ(ants_alive, 1);
        EXPECT_EQ(get_in_group(c), 1);
        EXPECT_EQ(get_in_group(b), 0);  // without shift the old group went
        EXPECT_EQ(objs_in_grp, 1);
        EXPECT_EQ(macgroup, 1);
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(s.steps_left(), 0u);
}

TEST(Picking, AClickOnALockedObjectIsAMarqueeNotAPick) {
    Session s;
    std::int16_t a = 0;
    double xm = 0, ym = 0, q = 0;
    s.then([&] {
        objopts->dblclick_mode = 1;
        xm = (cur_win.xl + cur_win.xr) / 2;
        ym = (cur_win.yb + cur_win.yt) / 2;
        q = (cur_win.xr - cur_win.xl) / 8;
        store_line(xm - 3 * q, ym, q, 0);
        a = store_line(xm - q, ym, q, 0);
        set_LevelLocked(9, 1);
        get_info(a);
        info.b[obj::level] = 9;
        modified = 1;
        nomore_info();
        indx = first_object_slot;
        currentitem = 0;
        drav::test::post_click(local_of(xm - q / 2, ym));
    });
    s.then([&] { EXPECT_NE(currentitem, a); });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(Marquee, StepsAtMostEverySixTicksAndErasesOnlyWhenAlive) {
    Session s;
    s.then([] {
        plat::Port* port = drawCWindow;
        const auto before = port->pixels();
        erasemarquee(port);  // none alive: nothing changes
        EXPECT_EQ(port->pixels(), before);
        // A press let go where it began: alive, nothing drawn.
        const plat::Point p{40, 40};
        createmarquee(port, p);
        EXPECT_EQ(ants_alive, 1);
        EXPECT_EQ(selectionRect, (plat::Rect{0, 0, 0, 0}));
        EXPECT_EQ(port->pixels(), before);
        marquee_to(port, p, plat::Point{60, 80});
        const auto framed = port->pixels();
        EXPECT_NE(framed, before);
        lastant = plat::ticks();
        const std::int16_t pattern = curpattern;
        updatemarquee(port);
        plat::advance_fake_clock(5);
        updatemarquee(port);
        EXPECT_EQ(curpattern, pattern);
        plat::advance_fake_clock(1);
        updatemarquee(port);
        EXPECT_EQ(curpattern, (pattern + 1) % 4);
        updatemarquee(port);
        EXPECT_EQ(curpattern, (pattern + 1) % 4);
        erasemarquee(port);
        EXPECT_EQ(ants_alive, 0);
        EXPECT_EQ(port->pixels(), before);
    });
    EXPECT_EQ(s.run(), 0);
}
