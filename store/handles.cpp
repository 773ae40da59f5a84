#include "store/handles.h"

#include <cmath>

#include "base/command_loop.h"
#include "store/geometry.h"
#include "store/record_store.h"

namespace drav {

SnapPointListRec handle_pts;

namespace {

std::int16_t pivloc = 1;

double ref_of_x(const ObjectRec& r) { return rec_f64(r, obj::ref_x); }
double ref_of_y(const ObjectRec& r) { return rec_f64(r, obj::ref_y); }

}  // namespace

void new_handle(ObjectRec& rec, int step, double* dx, double* dy) {
    *dx = *dy = 0;
    int loc = rec_handle_location(rec);
    if (obj_kind(rec) != ok_symbol) {
        info_setup_snap(rec, handle_pts, 0, 0);
        if (step) loc = (loc + 1) % 32;
        if (loc >= handle_pts.count) loc = 0;
    } else {
        // A symbol's handle is always its stored offset.
        loc = 0;
    }
    if (loc != rec_handle_location(rec)) set_rec_handle_location(rec, loc);
    const double rx = ref_of_x(rec), ry = ref_of_y(rec);
    if (loc > 0) {
        *dx = handle_pts.pts[loc].x - rx;
        *dy = handle_pts.pts[loc].y - ry;
    } else {
        rotate_cr(rec_f64(rec, obj::handle_x), rec_f64(rec, obj::handle_y), dx, dy, rec_f64(rec, obj::rotation));
    }
    update_ref(rx + *dx, ry + *dy);
}

void abs_handle(ObjectRec& rec, int step, double* x, double* y) {
    new_handle(rec, step, x, y);
    *x += ref_of_x(rec);
    *y += ref_of_y(rec);
}

void get_handle() {
    double dx = 0, dy = 0;
    rotate_cr(rec_f64(info, obj::handle_x), rec_f64(info, obj::handle_y), &dx, &dy, rec_f64(info, obj::rotation));
    update_ref(ref_of_x(info) + dx, ref_of_y(info) + dy);
}

void new_pivot(ObjectRec& rec, int step, double* dx, double* dy) {
    *dx = *dy = 0;
    if (obj_kind(rec) == ok_symbol) return;
    double hx = 0, hy = 0;
    new_handle(info, 0, &hx, &hy);
    hx += ref_of_x(info);
    hy += ref_of_y(info);
    info_setup_snap(rec, handle_pts, 0, 0);
    const int count = handle_pts.count;
    // Without snap points there is nothing to choose.
    if (count <= 1) return;
    pivloc = static_cast<std::int16_t>(step ? pivloc + 1 : 1);
    if (pivloc >= count) pivloc = 1;
    if (!step) {
        auto on_handle = [&](int i) {
            return std::fabs(handle_pts.pts[i].x - hx) <= small_tol && std::fabs(handle_pts.pts[i].y - hy) <= small_tol;
        };
        while (pivloc < count - 1 && on_handle(pivloc)) ++pivloc;
    }
    if (pivloc < 1 || pivloc > count - 1) pivloc = 1;
    *dx = handle_pts.pts[pivloc].x - ref_of_x(rec);
    *dy = handle_pts.pts[pivloc].y - ref_of_y(rec);
}

}  // namespace drav
