// What an undoable operation changes reaches the window at the next update,
// before the next input: the window's own pixels are checked, not only the
// offscreen copy.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <numbers>

#include "display/graphics_unit.h"
#include "display/screen.h"
#include "platform/ui/windows_qt.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
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
