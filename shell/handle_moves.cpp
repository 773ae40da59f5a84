#include "shell/handle_moves.h"

#include "base/command_loop.h"
#include "base/idle.h"
#include "display/selection_display.h"
#include "store/geometry.h"
#include "store/handles.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/undo.h"

namespace drav {

namespace {

bool ready() { return getidle() && !macgroup && okindx(&indx); }

}  // namespace

void current_handle_and_pivot(double* hx, double* hy, double* px, double* py) {
    get_oghandle(hx, hy);
    get_ogpivot(px, py);
}

void nexthandle() {
    if (!ready()) return;
    double hx = 0, hy = 0;
    get_oghandle(&hx, &hy);
    // Undo needs the location stepped from: the marker alone would leave
    // the record at the new one.
    const auto back = static_cast<std::uint16_t>(rec_handle_location(info) + 1);
    double dx = 0, dy = 0;
    new_handle(info, 1, &dx, &dy);
    modified = 1;
    do_operation(op_handle, rec_f64(info, obj::ref_x) + dx - hx, rec_f64(info, obj::ref_y) + dy - hy, 0.0, 0.0, 1,
                 back);
}

void nextpivot() {
    if (!ready()) return;
    double px = 0, py = 0;
    get_ogpivot(&px, &py);
    double dx = 0, dy = 0;
    new_pivot(info, 1, &dx, &dy);
    // The pivot location is not kept in the record.
    do_operation(op_pivot, 0.0, 0.0, rec_f64(info, obj::ref_x) + dx - px, rec_f64(info, obj::ref_y) + dy - py, 0, 0);
}

void hpchangeit(double hdx, double hdy, double pdx, double pdy, int pivotop) {
    double hx = 0, hy = 0, px = 0, py = 0;
    current_handle_and_pivot(&hx, &hy, &px, &py);
    hx += hdx;
    hy += hdy;
    change_hp(0, hx, hy);
    change_hp(1, px + pdx, py + pdy);
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
