// Dragging in the running program: the selection's handle and pivot markers
// pressed and dragged under the lock modes, the keys of the drag, letting
// go outside the drawing area, and the drag step of the move and copy
// commands.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>

#include <cmath>
#include <numbers>
#include <ostream>
#include <string>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/menu_items.h"
#include "base/tool_options.h"
#include "display/clip_tests.h"
#include "display/drag_image.h"
#include "display/drawing_window.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "platform/core/raster.h"
#include "platform/ui/events.h"
#include "platform/ui/windows.h"
#include "platform/ui/windows_qt.h"
#include "shell/drag_outline.h"
#include "shell/event_pump.h"
#include "shell/restraints_palette.h"
#include "shell/window_palette.h"
#include "store/handles.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"
#include "store/undo.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::quit_without_saving;
using drav::test::Session;

namespace {

plat::Point local_of(double x, double y) {
    std::int16_t h = 0, v = 0;
    world_screen(&x, &y);
    h = static_cast<std::int16_t>(std::trunc(x - viewport.xl));
    v = static_cast<std::int16_t>(std::trunc(viewport.yt - y));
    return plat::Point{v, h};
}

// The world point a pointer at local pixel p stands for, as a poll reads it.
void world_of(plat::Point p, double* x, double* y) {
    *x = p.h + viewport.xl;
    *y = ydots - p.v + viewport.yb;
    screen_world(x, y);
}

plat::Point global_of(plat::Point local) {
    const plat::Rect b = plat::window_bounds(whichdrawWindow());
    return plat::Point{static_cast<std::int16_t>(b.top + local.v), static_cast<std::int16_t>(b.left + local.h)};
}

void post_mouse(std::int16_t what, plat::Point local) {
    plat::EventRecord r;
    r.what = what;
    r.where = global_of(local);
    r.modifiers = what == plat::mouseUp ? plat::btnState : 0;
    r.window = whichdrawWindow();
    drav::test::post(r);
}

// The pointer moves over the drawing window with the button held, as the
// toolkit reports it.
void move_pointer(plat::Point local) {
    const plat::Point g = global_of(local);
    const QPointF at(g.h, g.v);
    QMouseEvent e(QEvent::MouseMove, at, at, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(plat::content_widget(whichdrawWindow()), &e);
}

plat::Point offset(plat::Point p, int dh, int dv) {
    return plat::Point{static_cast<std::int16_t>(p.v + dv), static_cast<std::int16_t>(p.h + dh)};
}

// The window's pixels without the cross-hair.
std::vector<std::uint32_t> window_pixels() {
    cur_stop();
    std::vector<std::uint32_t> px = drawCWindow->pixels();
    cur_go();
    return px;
}

// Pixels that differ outside the given rectangles.
int changed_outside(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b,
                    std::initializer_list<plat::Rect> skip) {
    const int w = drawCWindow->width();
    int n = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] == b[i]) continue;
        const int h = static_cast<int>(i) % w, v = static_cast<int>(i) / w;
        bool skipped = false;
        for (const plat::Rect& r : skip)
            skipped = skipped || (h >= r.left - 1 && h <= r.right && v >= r.top - 1 && v <= r.bottom);
        if (!skipped) {
            if (n < 5) ADD_FAILURE() << "pixel " << h << "," << v << " " << std::hex << a[i] << " -> " << b[i] << std::dec;
            ++n;
        }
    }
    return n;
}

// A rising line in the middle of the view, current, its handle at a snap
// point (location 2) and its pivot at the first snap point that is not the
// handle: the markers shown, the drawing idle.
struct Scene {
    std::int16_t n = 0;
    double hx = 0, hy = 0, px = 0, py = 0;
    std::vector<std::uint32_t> before;

    void build() {
        objopts->dblclick_mode = 1;
        units_defs.increment = 0;
        const double xm = (cur_win.xl + cur_win.xr) / 2, ym = (cur_win.yb + cur_win.yt) / 2;
        const double q = (cur_win.xr - cur_win.xl) / 8;
        do_operation(op_add, 0, 0, 0, 0, 0, 0);
        get_info(number_of_objects);
        ObjectRec r{};
        set_rec_u16(r, o_word0, rk_object);
        set_obj_kind_colour(r, ok_line, colour_black);
        r.b[obj::level] = static_cast<std::uint8_t>(props_defs.level);
        set_init(xm - q, ym, r);
        set_rec_f64(r, line::dx, 2 * q);
        set_rec_f64(r, line::dy, q / 2);  // rising: handle and pivot differ in both coordinates
        set_rec_handle_location(r, 2);  // a snap point: a drag must clear it
        info = r;
        n = number_of_objects;
        indx = n;
        const std::uint16_t was_idle = idle;
        idle = 0;
        ASSERT_EQ(save_object(), 1);
        idle = was_idle;
        setidle(1);  // the menus follow the drawing, as after a command
        reset_undo();
        // Highlighted as a pick does it: on the window at once.
        const std::uint16_t screen = drawtoscreen;
        drawtoscreen = 1;
        showcurrent(indx);
        drawtoscreen = screen;
        ASSERT_EQ(currentitem, n);
        get_oghandle(&hx, &hy);
        get_ogpivot(&px, &py);
        before = window_pixels();
    }
    plat::Point handle() const { return local_of(hx, hy); }
    plat::Point pivot() const { return local_of(px, py); }
    // The marker's image relative to where it started, in pixels.
    plat::Point image_offset(const plat::Rect& start) const {
        return plat::Point{static_cast<std::int16_t>(rgnRect.top - start.top),
                           static_cast<std::int16_t>(rgnRect.left - start.left)};
    }
};

// A poll with no input: the pointer moved in the step before is read.
void settle(Session& s) {
    s.then([] {});
}

ObjectRec record_at(std::int16_t n) {
    get_info(n);
    return info;
}

void expect_offset(plat::Point o, int dh, int dv, const char* what) {
    EXPECT_NEAR(o.h, dh, 1) << what;
    EXPECT_NEAR(o.v, dv, 1) << what;
}

// The move command's drag runs while the command is not idle.
int grp_drag_busy(double* dx, double* dy, int lock) {
    setidle(0);
    const int r = grp_drag(dx, dy, 32, lock, 0);
    setidle(1);
    return r;
}

void expect_point(double x, double y, double wx, double wy, const char* what) {
    EXPECT_NEAR(x, wx, 1e-9) << what;
    EXPECT_NEAR(y, wy, 1e-9) << what;
}

// Leaves the changed drawing unsaved and runs every step of the test.
void run_to_the_end(Session& s) {
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(s.steps_left(), 0u);
}

}  // namespace

struct LockCase {
    std::int16_t lock;
    int dh, dv;  // the image's offset while the pointer is 40 right and 25 up
};

void PrintTo(const LockCase& c, std::ostream* os) { *os << "lock " << c.lock; }

class HandleDragUnderLock : public testing::TestWithParam<LockCase> {};

INSTANTIATE_TEST_SUITE_P(Locks, HandleDragUnderLock,
                         testing::Values(LockCase{0, 40, -25}, LockCase{1, 40, 0}, LockCase{2, 0, -25},
                                         LockCase{3, 32, -32}),
                         [](const testing::TestParamInfo<LockCase>& i) { return "Lock" + std::to_string(i.param.lock); });

TEST_P(HandleDragUnderLock, TheMarkerFollowsAsTheLockLetsItAndTheHandleEndsThereUndoably) {
    const LockCase c = GetParam();
    Session s;
    Scene sc;
    plat::Rect start;
    plat::Point to;
    s.then([&] {
        sc.build();
        objopts->lock_mode = c.lock;
        units_defs.rotation_step = std::numbers::pi / 4;
        start = handRect;
        post_mouse(plat::mouseDown, sc.handle());
    });
    settle(s);
    s.then([&] {
        EXPECT_EQ(getidle(), 0) << "a drag runs";
        to = offset(sc.handle(), 40, -25);
        move_pointer(to);
    });
    settle(s);
    s.then([&] {
        expect_offset(sc.image_offset(start), c.dh, c.dv, "the image under the lock");
        post_mouse(plat::mouseUp, to);
    });
    settle(s);
    s.then([&] {
        EXPECT_EQ(getidle(), 1);
        double cx = 0, cy = 0, hx = 0, hy = 0;
        world_of(to, &cx, &cy);
        get_oghandle(&hx, &hy);
        switch (c.lock) {
        case 0: expect_point(hx, hy, cx, cy, "free"); break;
        case 1: expect_point(hx, hy, cx, sc.hy, "horizontal"); break;
        case 2: expect_point(hx, hy, sc.hx, cy, "vertical"); break;
        default: {
            // The foot of the pointer on the 45-degree line through the handle.
            const double t = ((cx - sc.hx) + (cy - sc.hy)) / 2;
            expect_point(hx, hy, sc.hx + t, sc.hy + t, "stepped");
        }
        }
        // The record keeps the new handle as its offset; the location is cleared.
        const ObjectRec r = record_at(sc.n);
        EXPECT_EQ(rec_handle_location(r), 0);
        EXPECT_NEAR(rec_f64(r, obj::handle_x), hx - rec_f64(r, obj::ref_x), 1e-9);
        EXPECT_NEAR(rec_f64(r, obj::handle_y), hy - rec_f64(r, obj::ref_y), 1e-9);
        // No trace of the dragged image: only the two markers changed.
        EXPECT_EQ(changed_outside(sc.before, window_pixels(), {start, handRect}), 0);
        EXPECT_STREQ(undo_item_text(), "Undo Handle Change");
    });
    s.menu(kMyEditMenu, "undo");
    s.then([&] {
        double hx = 0, hy = 0;
        get_oghandle(&hx, &hy);
        expect_point(hx, hy, sc.hx, sc.hy, "undone");
        const ObjectRec r = record_at(sc.n);
        EXPECT_NEAR(rec_f64(r, obj::handle_x), sc.hx - rec_f64(r, obj::ref_x), 1e-9);
        EXPECT_NEAR(rec_f64(r, obj::handle_y), sc.hy - rec_f64(r, obj::ref_y), 1e-9);
        EXPECT_EQ(window_pixels(), sc.before);
    });
    run_to_the_end(s);
}

struct PivotCase {
    std::int16_t lock;
    const char* name;
};

void PrintTo(const PivotCase& c, std::ostream* os) { *os << c.name; }

class PivotDrag : public testing::TestWithParam<PivotCase> {};

INSTANTIATE_TEST_SUITE_P(Locks, PivotDrag, testing::Values(PivotCase{0, "Free"}, PivotCase{1, "Horizontal"}),
                         [](const testing::TestParamInfo<PivotCase>& i) { return std::string(i.param.name); });

TEST_P(PivotDrag, ThePivotMovesUndoablyAndNoRecordChanges) {
    const PivotCase c = GetParam();
    Session s;
    Scene sc;
    ObjectRec kept{};
    plat::Point to;
    s.then([&] {
        sc.build();
        objopts->lock_mode = c.lock;
        kept = record_at(sc.n);
        post_mouse(plat::mouseDown, sc.pivot());
    });
    settle(s);
    s.then([&] {
        to = offset(sc.pivot(), -30, 20);
        move_pointer(to);
    });
    s.then([&] { post_mouse(plat::mouseUp, to); });
    settle(s);
    s.then([&] {
        double cx = 0, cy = 0, px = 0, py = 0;
        world_of(to, &cx, &cy);
        get_ogpivot(&px, &py);
        // Under the horizontal lock the pivot keeps its own height.
        expect_point(px, py, cx, c.lock == 1 ? sc.py : cy, "pivot");
        EXPECT_EQ(std::memcmp(record_at(sc.n).b, kept.b, sizeof kept.b), 0);
        EXPECT_STREQ(undo_item_text(), "Undo Pivot Change");
    });
    s.menu(kMyEditMenu, "undo");
    s.then([&] {
        double px = 0, py = 0;
        get_ogpivot(&px, &py);
        expect_point(px, py, sc.px, sc.py, "undone");
        EXPECT_EQ(window_pixels(), sc.before);
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

enum class End { escape, outside, plain_click };

void PrintTo(End e, std::ostream* os) { *os << static_cast<int>(e); }

class HandleDragLeft : public testing::TestWithParam<End> {};

INSTANTIATE_TEST_SUITE_P(Ends, HandleDragLeft, testing::Values(End::escape, End::outside, End::plain_click),
                         [](const testing::TestParamInfo<End>& i) {
                             return std::string(i.param == End::escape    ? "Escape"
                                                : i.param == End::outside ? "ReleasedOutside"
                                                                          : "PlainClick");
                         });

TEST_P(HandleDragLeft, ByEscapeOutsideTheDrawingAreaOrWithoutADragChangesNothing) {
    const End end = GetParam();
    Session s;
    Scene sc;
    ObjectRec kept{};
    plat::Point to;
    s.then([&] {
        sc.build();
        kept = record_at(sc.n);
        if (end == End::plain_click)
            drav::test::post_click(sc.handle());  // let go at once: no drag
        else
            post_mouse(plat::mouseDown, sc.handle());
    });
    settle(s);
    if (end != End::plain_click) {
        s.then([&] {
            to = offset(sc.handle(), 30, 30);
            move_pointer(to);
        });
        settle(s);
        s.then([&] {
            EXPECT_NE(window_pixels(), sc.before) << "the image shows";
            if (end == End::escape) {
                drav::test::post_key(27);  // read with one more pass of the pump
            } else {
                // Over the vertical scroll bar.
                const plat::Point bar{to.v, static_cast<std::int16_t>(drawRect.right + 5)};
                move_pointer(bar);
                post_mouse(plat::mouseUp, bar);
            }
        });
        settle(s);
    }
    s.then([&] {
        EXPECT_EQ(getidle(), 1);
        double hx = 0, hy = 0;
        get_oghandle(&hx, &hy);
        expect_point(hx, hy, sc.hx, sc.hy, "unmoved");
        EXPECT_EQ(std::memcmp(record_at(sc.n).b, kept.b, sizeof kept.b), 0);
        EXPECT_EQ(undo_item_enabled(), 0);
        EXPECT_EQ(changed_outside(sc.before, window_pixels(), {}), 0);
    });
    run_to_the_end(s);
}

TEST(HandleDrag, ChangingTheLockMidDragPutsTheImageBackAndPlacesItAfresh) {
    Session s;
    Scene sc;
    plat::Rect start;
    plat::Point to;
    s.then([&] {
        sc.build();
        objopts->lock_mode = 0;
        if (!locDPtr) sett_restraints();
        ASSERT_NE(locDPtr, nullptr);
        start = handRect;
        post_mouse(plat::mouseDown, sc.handle());
    });
    settle(s);
    s.then([&] {
        to = offset(sc.handle(), 40, -25);
        move_pointer(to);
    });
    settle(s);
    s.then([&] {
        expect_offset(sc.image_offset(start), 40, -25, "free");
        // The restraints palette's horizontal lock, clicked mid-drag.
        const plat::Rect b = plat::dialog_bounds(locDPtr);
        plat::EventRecord e;
        e.what = plat::mouseDown;
        e.dialog = locDPtr;
        e.item = lock_free_item + 1;
        e.where = plat::Point{static_cast<std::int16_t>(b.top + 4), static_cast<std::int16_t>(b.left + 4)};
        drav::test::post(e);
    });
    settle(s);
    s.then([&] {
        EXPECT_EQ(objopts->lock_mode, 1);
        expect_offset(sc.image_offset(start), 40, 0, "placed afresh under the horizontal lock");
        post_mouse(plat::mouseUp, to);
    });
    settle(s);
    s.then([&] {
        double cx = 0, cy = 0, hx = 0, hy = 0;
        world_of(to, &cx, &cy);
        get_oghandle(&hx, &hy);
        expect_point(hx, hy, cx, sc.hy, "horizontal");
    });
    run_to_the_end(s);
}

TEST(GroupDrag, HWalksTheHandleUnderTheCursorAndTheDisplacementIsFromTheNewHandle) {
    Session s;
    Scene sc;
    double dx = 0, dy = 0;
    int result = -1;
    plat::Point to;
    double nx = 0, ny = 0;
    s.then([&] {
        sc.build();
        // The next snap point after location 2.
        ObjectRec r = record_at(sc.n);
        double ox = 0, oy = 0;
        new_handle(r, 1, &ox, &oy);
        nx = rec_f64(r, obj::ref_x) + ox;
        ny = rec_f64(r, obj::ref_y) + oy;
        ASSERT_FALSE(nx == sc.hx && ny == sc.hy);
        result = grp_drag_busy(&dx, &dy, 0);
        EXPECT_EQ(ingrpdrag, 0);
    });
    settle(s);  // the drag's first poll
    s.then([&] {
        EXPECT_EQ(ingrpdrag, 1);
        drav::test::post_key('H');
    });
    settle(s);  // a key is read with one more pass of the pump
    s.then([&] {
        double hx = 0, hy = 0;
        get_oghandle(&hx, &hy);
        expect_point(hx, hy, nx, ny, "walked");
        EXPECT_EQ(rec_handle_location(info), 3);
        to = offset(sc.handle(), 20, 10);
        drav::test::post_click(to);
    });
    settle(s);
    s.then([&] {
        EXPECT_EQ(result, 1);
        double cx = 0, cy = 0;
        world_of(to, &cx, &cy);
        expect_point(dx, dy, cx - nx, cy - ny, "displacement");
    });
    run_to_the_end(s);
}

TEST(GroupDrag, EscapeGivesNoDisplacementAndNothingToDragReturnsZero) {
    Session s;
    Scene sc;
    double dx = 7, dy = 7;
    int result = -1;
    s.then([&] {
        sc.build();
        result = grp_drag_busy(&dx, &dy, 1);
        EXPECT_EQ(objopts->lock_mode, 0) << "the lock of the drag is put back";
    });
    settle(s);
    s.then([&] { drav::test::post_click(offset(sc.handle(), 20, 10)); });
    settle(s);
    s.then([&] {
        // The click moved the image and was accepted; the next drag is left with ESC.
        EXPECT_EQ(result, 1);
        result = grp_drag_busy(&dx, &dy, 0);
    });
    settle(s);
    s.then([&] { drav::test::post_key(27); });
    settle(s);
    s.then([&] {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(aborted, 1);
        EXPECT_EQ(dx, 0);
        EXPECT_EQ(dy, 0);
        // The markers are the command's to show again; nothing else changed.
        EXPECT_EQ(changed_outside(sc.before, window_pixels(), {handRect, pivotRect}), 0);
        // No object: no image, no displacement.
        currentitem = 0;
        get_info(sc.n);
        delete_object(sc.n, 0);
        nomore_info();
        dx = dy = 7;
        accepted = 1;
        EXPECT_EQ(grp_drag_busy(&dx, &dy, 0), 0);
        EXPECT_EQ(dx, 0);
        EXPECT_EQ(dy, 0);
        EXPECT_EQ(accepted, 0);
        EXPECT_EQ(ingrpdrag, 0);
    });
    settle(s);
    run_to_the_end(s);
}

TEST(HandleDrag, FromTheMenuTheHandleFollowsTheCursorUntilAClick) {
    Session s;
    Scene sc;
    plat::Point to;
    s.then([&] { sc.build(); });
    s.menu(13, "EHdf");
    settle(s);
    s.then([&] {
        EXPECT_EQ(getidle(), 0) << "a drag runs";
        to = offset(sc.handle(), -50, 15);
        drav::test::post_click(to);
    });
    settle(s);
    s.then([&] {
        EXPECT_EQ(getidle(), 1);
        double cx = 0, cy = 0, hx = 0, hy = 0;
        world_of(to, &cx, &cy);
        get_oghandle(&hx, &hy);
        expect_point(hx, hy, cx, cy, "clicked");
        EXPECT_STREQ(undo_item_text(), "Undo Handle Change");
    });
    run_to_the_end(s);
}

TEST(HandleDrag, UndoPutsBackTheHandleLocationAndRedoTheDraggedOffsetAfterOtherClicks) {
    Session s;
    Scene sc;
    plat::Point to;
    double ref_x = 0, ref_y = 0;
    s.then([&] {
        sc.build();
        const ObjectRec r = record_at(sc.n);
        ref_x = rec_f64(r, obj::ref_x);
        ref_y = rec_f64(r, obj::ref_y);
    });
    s.menu(13, "EHdf");
    settle(s);
    s.then([&] {
        to = offset(sc.handle(), -50, 15);
        drav::test::post_click(to);
    });
    settle(s);
    // A click on empty space between: it picks nothing and registers nothing.
    s.then([&] { drav::test::post_click(offset(sc.handle(), 0, 200)); });
    settle(s);
    s.menu(kMyEditMenu, "undo");
    s.then([&] {
        double hx = 0, hy = 0;
        get_oghandle(&hx, &hy);
        expect_point(hx, hy, sc.hx, sc.hy, "undone marker");
        // The record's handle is its snap point again, not an offset.
        ObjectRec r = record_at(sc.n);
        EXPECT_EQ(rec_handle_location(r), 2);
        abs_handle(r, 0, &hx, &hy);
        expect_point(hx, hy, sc.hx, sc.hy, "undone record");
    });
    s.menu(kMyEditMenu, "undo");
    s.then([&] {
        double cx = 0, cy = 0, hx = 0, hy = 0;
        world_of(to, &cx, &cy);
        get_oghandle(&hx, &hy);
        expect_point(hx, hy, cx, cy, "redone marker");
        const ObjectRec r = record_at(sc.n);
        EXPECT_EQ(rec_handle_location(r), 0);
        expect_point(rec_f64(r, obj::handle_x), rec_f64(r, obj::handle_y), cx - ref_x, cy - ref_y, "redone record");
    });
    run_to_the_end(s);
}

TEST(GroupDrag, AZoomOutMidDragBuildsTheImageAgainForTheNewViewUnderTheCursor) {
    Session s;
    Scene sc;
    double dx = 0, dy = 0;
    int result = -1, width = 0;
    plat::Point to;
    s.then([&] {
        sc.build();
        result = grp_drag_busy(&dx, &dy, 0);
    });
    settle(s);
    s.then([&] {
        width = rgnRect.right - rgnRect.left;
        // The zoom-out button of the window strip.
        plat::Rect strip;
        get_biofrect(&strip, whichdrawWindow());
        drav::test::post_click(plat::Point{static_cast<std::int16_t>(strip.top + 8), static_cast<std::int16_t>(strip.left + 3 * 15 - 7)});
    });
    settle(s);
    s.then([&] {
        EXPECT_EQ(ingrpdrag, 1) << "the drag goes on";
        // Half the scale: the line's image is about half as wide.
        EXPECT_NEAR(rgnRect.right - rgnRect.left, width / 2, 4);
        // Its handle is put under the cursor.
        double hx = 0, hy = 0;
        get_oghandle(&hx, &hy);
        std::int16_t h = 0, v = 0, ch = 0, cv = 0;
        window_pixel(hx, hy, &h, &v);
        window_pixel(last_x, last_y, &ch, &cv);
        EXPECT_EQ(t2x, ch);
        EXPECT_EQ(t2y, cv);
        to = offset(local_of(hx, hy), 30, 0);
        drav::test::post_click(to);
    });
    settle(s);
    s.then([&] {
        EXPECT_EQ(result, 1);
        double cx = 0, cy = 0;
        world_of(to, &cx, &cy);
        expect_point(dx, dy, cx - sc.hx, cy - sc.hy, "displacement in the new view");
    });
    run_to_the_end(s);
}
