#include "shell/drag_outline.h"

#include <cmath>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/messages.h"
#include "base/tool_options.h"
#include "display/clip_tests.h"
#include "display/drag_image.h"
#include "display/drawing_window.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "platform/core/raster.h"
#include "platform/ui/events.h"
#include "platform/ui/windows.h"
#include "shell/blink.h"
#include "shell/event_pump.h"
#include "shell/loop_helpers.h"
#include "store/geometry.h"
#include "store/handles.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/undo.h"

namespace drav {

namespace {

constexpr int key_esc = 27;
constexpr int prompt_handle = 26, prompt_pivot = 30;

// The handle's pixel offset from the anchor after the last 'H' or 'S', by
// which the image has been moved back.
std::int16_t key_h = 0, key_v = 0;

std::int16_t lock() { return objopts ? objopts->lock_mode : 0; }

// The foot of the perpendicular from (*px, *py) on the line through
// (x0, y0) along (ux, uy); the point stays when the two do not cross.
void line_eqn(double x0, double y0, double ux, double uy, double* px, double* py) {
    double x = 0, y = 0;
    if (intersect(x0, y0, ux, uy, *px, *py, -uy, ux, &x, &y, 0, 0)) {
        *px = x;
        *py = y;
    }
}

bool mouse_in_drawing_area() {
    plat::Window* w = whichdrawWindow();
    if (!w) return false;
    const plat::Rect b = plat::window_bounds(w);
    const plat::Point m = plat::mouse_global();
    const int h = m.h - b.left, v = m.v - b.top;
    return h >= drawRect.left && h < drawRect.right && v >= drawRect.top && v < drawRect.bottom;
}

std::int16_t diff(int a, int b) { return static_cast<std::int16_t>(a - b); }

// One drag: the image's anchor, the lock it is placed under, and how far
// it has moved since it was placed.
struct Drag {
    double x0 = 0, y0 = 0;
    double ux = 1, uy = 0;  // the locked direction of lock mode 3
    std::int16_t sh = 0, sv = 0;
    std::int16_t mode = 0;
    int off_h = 0, off_v = 0;

    void move(int dh, int dv) {
        if (dh == 0 && dv == 0) return;
        blink_off();
        ouroffsetrgn(static_cast<std::int16_t>(dh), static_cast<std::int16_t>(dv));
        off_h += dh;
        off_v += dv;
        blink_on();
    }

    // The cursor point (qx, qy) as the lock holds it, in window pixels.
    void held_point(double qx, double qy, std::int16_t* h, std::int16_t* v) const {
        if (mode == 3) line_eqn(x0, y0, ux, uy, &qx, &qy);
        window_pixel(qx, qy, h, v);
    }

    // The part of a move (dh, dv) the lock lets through.
    void by_lock(int* dh, int* dv) const {
        switch (mode) {
        case 0:
        case 3: break;
        case 1: *dv = 0; break;
        case 2: *dh = 0; break;
        default: *dh = *dv = 0; break;
        }
    }

    // Puts the image, from the anchor's own place, under the cursor as the
    // lock lets it, with the walked handle under the cursor.
    void place(double qx, double qy) { follow(qx, qy, sh, sv, key_h, key_v); }

    // One step of the cursor to (qx, qy), less the key adjustment.
    void step(double qx, double qy, std::int16_t adjh, std::int16_t adjv) { follow(qx, qy, t2x, t2y, adjh, adjv); }

    // Moves the image by the cursor's way from (fromh, fromv) to (qx, qy) as
    // the lock lets it, less (adjh, adjv).
    void follow(double qx, double qy, int fromh, int fromv, int adjh, int adjv) {
        std::int16_t qh = 0, qv = 0;
        held_point(qx, qy, &qh, &qv);
        int dh = qh - fromh, dv = qv - fromv;
        by_lock(&dh, &dv);
        move(dh - adjh, dv - adjv);
        t2x = qh;
        t2y = qv;
    }

    // Where the drag ends for the target (qx, qy): free, the point itself;
    // horizontal, its x at the anchor's height; vertical, the anchor's x at
    // its height; along the locked direction, its foot on that line. (The
    // anchor, not the selection's handle: a dragged pivot keeps its own
    // height, and the image shows the end where it is.)
    void end_point(double qx, double qy, double* x, double* y) const {
        switch (mode) {
        case 1: qy = y0; break;
        case 2: qx = x0; break;
        case 3: line_eqn(x0, y0, ux, uy, &qx, &qy); break;
        default: break;
        }
        *x = qx;
        *y = qy;
    }
};

}  // namespace

void dragtheRgn(double x0, double y0, int held) {
    plat::PortSaver saver(drawCWindow);
    const std::int16_t saved_mode = gdrawmode, saved_pat = gdrawpat;
    setdrawmode(mode_xor);
    setdrawpat(0);
    setup_loop();
    const bool b = held && plat::button();
    Drag d;
    d.x0 = x0;
    d.y0 = y0;
    d.ux = std::cos(units_defs.rotation_step);
    d.uy = std::sin(units_defs.rotation_step);
    window_pixel(x0, y0, &d.sh, &d.sv);
    double x = 0, y = 0;
    get_point(&x, &y, 1);
    // A click already there ends the drag at its point.
    double qx = accepted ? zpos_x : last_x, qy = accepted ? zpos_y : last_y;
    d.mode = lock();
    std::uint16_t first = 1;
    key_h = key_v = 0;
    d.place(qx, qy);
    StartBlink(blinkrgn, 0);
    blink_on();
    while (!quit && !aborted && !accepted) {
        const int key = get_point(&x, &y, 1);
        if (quit || aborted) break;
        if (accepted) {
            last_x = zpos_x;
            last_y = zpos_y;
        }
        qx = last_x;
        qy = last_y;
        std::int16_t adjh = 0, adjv = 0;
        if (look_for(key)) drag_key_options(key, &adjh, &adjv, x0, y0, &first);
        if (lock() != d.mode) {
            // Back to the anchor's own place, then placed afresh under the new lock.
            d.move(-d.off_h, -d.off_v);
            d.mode = lock();
            d.place(qx, qy);
        } else {
            d.step(qx, qy, adjh, adjv);
        }
        // Moving the cursor took the image off with the cross-hair.
        blink_on();
        if (b && !plat::button()) accepted = 1;
    }
    if (b && !mouse_in_drawing_area()) {
        aborted = 1;
        accepted = 0;
    }
    if (accepted) d.end_point(qx, qy, &last_x, &last_y);
    StopBlink();
    setdrawmode(saved_mode);
    setdrawpat(saved_pat);
}

void drag_key_options(int key, std::int16_t* adjx, std::int16_t* adjy, double x0, double y0,
                      std::uint16_t* first) {
    if (*first) {
        key_h = key_v = 0;
        *first = 0;
    }
    switch (key) {
    case 'H': {
        if (macgroup) break;
        double dx = 0, dy = 0;
        new_handle(info, 1, &dx, &dy);
        modified = 1;
        const double nx = rec_f64(info, obj::ref_x) + dx, ny = rec_f64(info, obj::ref_y) + dy;
        change_hp(0, nx, ny);
        std::int16_t nh = 0, nv = 0, ah = 0, av = 0;
        window_pixel(nx, ny, &nh, &nv);
        window_pixel(x0, y0, &ah, &av);
        *adjx = diff(diff(nh, ah), key_h);
        *adjy = diff(diff(nv, av), key_v);
        key_h = diff(nh, ah);
        key_v = diff(nv, av);
        break;
    }
    case 'S':
        // TODO(swap_object) outside group mode `info` turns end for end and its handle follows as for 'H'
        break;
    case 'Q': quit = 1; break;
    case key_esc: aborted = 1; break;
    default: break;
    }
}

int grp_drag(double* pdx, double* pdy, int prompt, int lock_for_drag, int held) {
    const bool b = held && plat::button();
    ingrpdrag = 1;
    pr_modmsg(prompt);
    const std::int16_t saved = lock();
    if (objopts) objopts->lock_mode = static_cast<std::int16_t>(lock_for_drag);
    *pdx = 0;
    *pdy = 0;
    if (!make_objrgn(0) || (b && !plat::button())) {
        // Nothing to drag: no displacement, and nothing accepted.
        if (objopts) objopts->lock_mode = saved;
        accepted = 0;
        ingrpdrag = 0;
        return 0;
    }
    double hx = 0, hy = 0;
    get_oghandle(&hx, &hy);
    update_ref(hx, hy);
    dragtheRgn(hx, hy, held);
    if (!quit && !aborted) {
        // A key may have walked the object's handle.
        if (!macgroup) get_oghandle(&hx, &hy);
        *pdx = last_x - hx;
        *pdy = last_y - hy;
    }
    if (objopts && objopts->lock_mode == lock_for_drag) objopts->lock_mode = saved;
    ingrpdrag = 0;
    return accepted;
}

int hp_drag(int which, int fromclick) {
    // Without a marker on a drawing window there is nothing to drag.
    if (!graphwasinit || !drawCWindow || (macgroup ? ghp_isnull() : ohp_isnull())) return 0;
    plat::PortSaver saver(drawCWindow);
    if (fromclick && !plat::button() && !isdoubleclick()) return 0;
    setup_loop();
    const std::uint16_t was_idle = getidle();
    setidle(0);
    pr_modmsg(which ? prompt_pivot : prompt_handle);
    ournewrgn();
    const plat::Rect marker = which ? pivotRect : handRect;
    if (myrgnGrafPtr) {
        plat::PortSaver region(myrgnGrafPtr);
        plat::RGBColor black;
        make_RGBBlack(&black);
        myrgnGrafPtr->pen_normal();
        myrgnGrafPtr->set_fore_color(black);
        if (which)
            myrgnGrafPtr->paint_oval(marker);
        else
            myrgnGrafPtr->paint_rect(marker);
    }
    rgnRect = origrgnRect = marker;
    double px = 0, py = 0;
    if (which)
        get_ogpivot(&px, &py);
    else
        get_oghandle(&px, &py);
    update_ref(px, py);
    dragtheRgn(px, py, 1);
    if (!quit && !aborted) {
        if (which) {
            do_operation(op_pivot, 0, 0, last_x - px, last_y - py, 1, 0);
        } else {
            // 'H' during the drag walks the handle: it ends where it was let go all the same.
            get_oghandle(&px, &py);
            do_operation(op_handle, last_x - px, last_y - py, 0, 0, 0, 0);
        }
    }
    mess_clear();
    setidle(was_idle);
    // A redraw during the drag leaves the markers out, as it does while a
    // command runs; the selection shows them again.
    if (getidle()) {
        show_oghandle(1);
        show_ogpivot(1);
    }
    return accepted;
}

}  // namespace drav
