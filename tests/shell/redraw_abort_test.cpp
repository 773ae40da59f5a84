// An escape waiting while the drawing is redrawn stops the redraw at the
// next poll (every 102nd record); the redraw after it draws every record
// again, not only those marked on screen.
#include <gtest/gtest.h>

#include "base/command_loop.h"
#include "display/graphics_unit.h"
#include "display/redraw.h"
#include "display/screen.h"
#include "shell/dispatch.h"
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

constexpr int lines = 120;  // records 36 .. 155
constexpr int last_drawn = first_object_slot + 101;  // the first poll follows this record

void add_lines() {
    const double xm = (cur_win.xl + cur_win.xr) / 2, q = (cur_win.xr - cur_win.xl) / 4;
    const double step = (cur_win.yt - cur_win.yb) / (lines + 2);
    for (int n = 0; n < lines; ++n) {
        get_info(number_of_objects);
        ObjectRec r{};
        set_rec_u16(r, o_word0, rk_object);
        set_obj_kind_colour(r, ok_line, colour_black);
        r.b[obj::level] = static_cast<std::uint8_t>(props_defs.level);
        set_init(xm - q, cur_win.yb + (n + 1) * step, r);
        set_rec_f64(r, line::dx, 2 * q);
        set_rec_f64(r, line::dy, 0);
        info = r;
        indx = number_of_objects;
        do_operation(op_add, 0, 0, 0, 0, 0, 0);
        ASSERT_EQ(save_object(), 1);
    }
}

}  // namespace

TEST(RedrawAbort, EscapeStopsTheRedrawAndTheNextOneDrawsEverything) {
    Session s;
    s.then([] {
        add_lines();
        ASSERT_EQ(number_of_objects, first_object_slot + lines);
        show_new_window(1);
        ASSERT_EQ(reset_on_screen, 0);
        for (int i = first_object_slot; i < number_of_objects; ++i) ASSERT_NE(get_on_screen(i), 0) << i;

        test::post_key(27);
        show_new_window(0);
        EXPECT_EQ(aborted, 1);
        EXPECT_EQ(reset_on_screen, 1);
        EXPECT_NE(get_on_screen(last_drawn), 0);
        for (int i = last_drawn + 1; i < number_of_objects; ++i) EXPECT_EQ(get_on_screen(i), 0) << i;
        EXPECT_EQ(osch_ready(), 0) << "the escape stays queued";

        // No escape now: the records left unmarked are drawn again.
        show_new_window(0);
        EXPECT_EQ(aborted, 0);
        EXPECT_EQ(reset_on_screen, 0);
        for (int i = first_object_slot; i < number_of_objects; ++i) EXPECT_NE(get_on_screen(i), 0) << i;
    });
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}
