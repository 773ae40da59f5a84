// What an undoable operation changes reaches the window at the next update,
// before the next input: the window's own pixels are checked, not only the
// offscreen copy.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <numbers>

#include "base/idle.h"
#include "base/menu_items.h"
#include "base/tool_options.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "platform/ui/windows_qt.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/undo.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;

namespace {

QImage shown() { return plat::grab_content(whichdrawWindow()); }

// The window pixel of a world point.
QPoint pixel_of(double x, double y) {
    world_screen(&x, &y);
    return QPoint(static_cast<int>(std::lround(x)), viewport.yt - static_cast<int>(std::lround(y)));
}

bool black_at(const QImage& image, double x, double y) {
    return (image.pixel(pixel_of(x, y)) & 0xFFFFFF) == 0;
}

// Something is drawn there: black, or the highlight of the current object.
bool inked(const QImage& image, double x, double y) {
    return (image.pixel(pixel_of(x, y)) & 0xFFFFFF) != 0xFFFFFF;
}

// A black horizontal line stored as a drawing command stores it.
void store_line(double x, double y, double dx) {
    get_info(number_of_objects);
    ObjectRec r{};
    set_rec_u16(r, o_word0, rk_object);
    set_obj_kind_colour(r, ok_line, colour_black);
    r.b[obj::level] = static_cast<std::uint8_t>(props_defs.level);
    set_init(x, y, r);
    set_rec_f64(r, line::dx, dx);
    set_rec_f64(r, line::dy, 0);
    info = r;
    indx = number_of_objects;
    // As a drawing command does it: not idle while it stores.
    const std::uint16_t was_idle = idle;
    idle = 0;
    do_operation(op_add, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(save_object(), 1);
    idle = was_idle;
}

// The window-local point of a world point, for a click.
plat::Point local_of(double x, double y) {
    const QPoint p = pixel_of(x, y);
    return plat::Point{static_cast<std::int16_t>(p.y()), static_cast<std::int16_t>(p.x())};
}

}  // namespace

TEST(WindowUpdate, DeleteUndoAndRotateReachTheWindowBeforeTheNextStep) {
    Session s;
    test::answers().expect("Save the changes", 3);  // the quit at the end: No
    QImage empty, drawn;
    // A black horizontal line over the middle half of the view, and points on
    // it and on the same line turned a quarter about its middle.
    double xm = 0, ym = 0, q = 0;
    s.then([&] {
        empty = shown();
        xm = (cur_win.xl + cur_win.xr) / 2;
        ym = (cur_win.yb + cur_win.yt) / 2;
        q = (cur_win.xr - cur_win.xl) / 4;
        get_info(number_of_objects);
        ObjectRec r{};
        set_rec_u16(r, o_word0, rk_object);
        set_obj_kind_colour(r, ok_line, colour_black);
        r.b[obj::level] = static_cast<std::uint8_t>(props_defs.level);
        set_init(xm - q, ym, r);
        set_rec_f64(r, line::dx, 2 * q);
        set_rec_f64(r, line::dy, 0);
        info = r;
        indx = number_of_objects;
        do_operation(op_add, 0, 0, 0, 0, 0, 0);
        ASSERT_EQ(save_object(), 1);
    });
    s.then([&] {
        drawn = shown();
        EXPECT_TRUE(black_at(drawn, xm - q / 2, ym));
        EXPECT_FALSE(black_at(empty, xm - q / 2, ym));
        do_operation(op_delete, 0, 0, 0, 0, 1, 0);
    });
    s.then([&] {
        EXPECT_EQ(shown(), empty) << "the deleted line still shows";
        do_undo();
    });
    s.then([&] {
        // The undeleted line is the current object again, so it shows highlighted.
        EXPECT_TRUE(inked(shown(), xm - q / 2, ym)) << "the undeleted line does not show";
        EXPECT_NE(shown(), empty);
        do_operation(op_rotate, xm, ym, std::numbers::pi / 2, 0, 0, 0);
    });
    s.then([&] {
        const QImage turned = shown();
        EXPECT_FALSE(inked(turned, xm - q / 2, ym)) << "the line before turning still shows";
        EXPECT_TRUE(inked(turned, xm, ym + q / 2)) << "the turned line does not show";
        EXPECT_TRUE(inked(turned, xm, ym - q / 2));
        do_undo();
    });
    s.then([&] {
        const QImage back = shown();
        EXPECT_TRUE(inked(back, xm - q / 2, ym)) << "the line turned back does not show";
        EXPECT_FALSE(inked(back, xm, ym + q / 2));
    });
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(s.steps_left(), 0u);
}

// The group is built by clicks, deleted by Backspace and brought back by
// Edit > Undo; each time the window shows it before the next step runs.
TEST(WindowUpdate, AGroupDeletedByBackspaceAndUndoneReachesTheWindowBeforeTheNextStep) {
    Session s;
    QImage empty;
    double xm = 0, ym = 0, q = 0;
    s.then([&] {
        objopts->dblclick_mode = 1;  // single clicks never wait for a second
        empty = shown();
        xm = (cur_win.xl + cur_win.xr) / 2;
        ym = (cur_win.yb + cur_win.yt) / 2;
        q = (cur_win.xr - cur_win.xl) / 8;
        store_line(xm - q, ym, q);
        store_line(xm + q, ym - q, q);
        nomore_info();
    });
    s.then([&] {
        EXPECT_TRUE(black_at(shown(), xm - q / 2, ym));
        EXPECT_TRUE(black_at(shown(), xm + 3 * q / 2, ym - q));
    });
    s.then([&] { test::post_click(local_of(xm - q / 2, ym), plat::shiftKey); });
    s.then([&] { test::post_click(local_of(xm + 3 * q / 2, ym - q), plat::shiftKey); });
    s.then([&] {
        ASSERT_EQ(macgroup, 1);
        EXPECT_EQ(objs_in_grp, 2);
        EXPECT_TRUE(inked(shown(), xm - q / 2, ym));
        EXPECT_TRUE(inked(shown(), xm + 3 * q / 2, ym - q));
        test::post_key(8);  // Backspace: the group goes
    });
    s.then([&] { EXPECT_EQ(shown(), empty) << "the deleted group still shows"; });
    s.menu(kMyEditMenu, "undo");
    s.then([&] {
        const QImage back = shown();
        EXPECT_TRUE(inked(back, xm - q / 2, ym)) << "the first line does not show again";
        EXPECT_TRUE(inked(back, xm + 3 * q / 2, ym - q)) << "the second line does not show again";
    });
    s.menu(kMyEditMenu, "clea");  // Edit > Clear: the group goes again
    s.then([&] { EXPECT_EQ(shown(), empty) << "the cleared group still shows"; });
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(s.steps_left(), 0u);
}
