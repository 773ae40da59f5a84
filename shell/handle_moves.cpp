#include "shell/handle_moves.h"

#include "base/command_loop.h"
#include "base/idle.h"
#include "store/geometry.h"
#include "store/handles.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/undo.h"

namespace drav {

namespace {

// TODO(get_oghandle) the selection display's handle and pivot points replace these
struct Points {
    std::int16_t of = -1;  // the object they belong to
    double hx = 0, hy = 0, px = 0, py = 0;
} g_points;

// The points of the current object (in info), computed when it became current.
void follow_current() {
    if (g_points.of == indx) return;
    g_points.of = indx;
    double dx = 0, dy = 0;
    abs_handle(info, 0, &g_points.hx, &g_points.hy);
    new_pivot(info, 0, &dx, &dy);
    g_points.px = rec_f64(info, obj::ref_x) + dx;
    g_points.py = rec_f64(info, obj::ref_y) + dy;
}

bool ready() { return getidle() && !macgroup && okindx(&indx); }

}  // namespace

void current_handle_and_pivot(double* hx, double* hy, double* px, double* py) {
    if (okindx(&indx)) follow_current();
    *hx = g_points.hx;
    *hy = g_points.hy;
    *px = g_points.px;
    *py = g_points.py;
}

void nexthandle() {
    if (!ready()) return;
    follow_current();
    const double hx = g_points.hx, hy = g_points.hy;
    double dx = 0, dy = 0;
    new_handle(info, 1, &dx, &dy);
    modified = 1;
    do_operation(op_handle, rec_f64(info, obj::ref_x) + dx - hx, rec_f64(info, obj::ref_y) + dy - hy, 0.0, 0.0, 1, 0);
}

void nextpivot() {
    if (!ready()) return;
    follow_current();
    const double px = g_points.px, py = g_points.py;
    double dx = 0, dy = 0;
    new_pivot(info, 1, &dx, &dy);
    // The pivot location is not kept in the record.
    do_operation(op_pivot, 0.0, 0.0, rec_f64(info, obj::ref_x) + dx - px, rec_f64(info, obj::ref_y) + dy - py, 0, 0);
}

void hpchangeit(double hdx, double hdy, double pdx, double pdy, int pivotop) {
    if (okindx(&indx)) follow_current();
    const double hx = g_points.hx + hdx, hy = g_points.hy + hdy;
    g_points.hx = hx;
    g_points.hy = hy;
    g_points.px += pdx;
    g_points.py += pdy;
    // TODO(change_hp) the handle and pivot markers are drawn at their new points
    if (!accepted) return;
    get_info(indx);
    if (pivotop || macgroup) return;
    double ox = 0, oy = 0;
    rotate_cr(hx - rec_f64(info, obj::ref_x), hy - rec_f64(info, obj::ref_y), &ox, &oy, -rec_f64(info, obj::rotation));
    set_rec_f64(info, obj::handle_x, ox);
    set_rec_f64(info, obj::handle_y, oy);
    set_rec_handle_location(info, 0);
    modified = 1;
}

void install_handle_moves() { set_hp_changer(hpchangeit); }

}  // namespace drav
