#include "store/rescale.h"

#include <cmath>
#include <initializer_list>

#include "store/record_ops.h"
#include "store/settings.h"

namespace drav {

namespace {

bool usable_factor(double f) { return std::isfinite(f) && f > 0; }

void scale_f64(ObjectRec& rec, int off, double f) { set_rec_f64(rec, off, rec_f64(rec, off) * f); }

void scale_f32(ObjectRec& rec, int off, double f) {
    set_rec_f32(rec, off, static_cast<float>(rec_f32(rec, off) * f));
}

void scale_window(ObjectRec& rec, int off, double f) {
    for (int i = 0; i < 4; ++i) scale_f64(rec, off + 8 * i, f);
}

}  // namespace

void convert_record(double f, ObjectRec& rec) {
    const int kind = rec_kind(rec);
    if (kind == rk_symbol_ctrl) {
        conv_symdata(f, rec);
        return;
    }
    if (!usable_factor(f) || f == 1) return;
    switch (kind) {
    case rk_named_window: conv_windata(f, rec); break;
    case rk_plot_spec: conv_pltdata(f, rec); break;
    case rk_object: conv_picdata(f, rec); break;
    default: break;
    }
}

void conv_windata(double f, ObjectRec& rec) {
    if (usable_factor(f)) scale_window(rec, nwin::window, f);
}

void conv_pltdata(double f, ObjectRec& rec) {
    if (usable_factor(f)) scale_window(rec, pspec::window, f);
}

void conv_symdata(double f, ObjectRec& rec) {
    if (usable_factor(f) && f != 1)
        for (int off : {sctl::width, sctl::height, sctl::handle_x, sctl::handle_y}) scale_f64(rec, off, f);
    set_rec_i16(rec, sctl::units_code, units_defs.units_code);
    set_rec_i16(rec, sctl::real_unit, units_defs.real_unit);
    set_rec_f64(rec, sctl::units_factor, units_defs.unit_size);
}

void conv_picdata(double f, ObjectRec& rec) {
    if (!usable_factor(f)) return;
    if (obj_kind(rec) == ok_symbol) {
        // Its scale factors are ratios, not lengths: they stay.
        for (int off : {obj::handle_x, obj::handle_y, sym::width, sym::height}) scale_f64(rec, off, f);
    } else {
        change_object(f, f, 0, 0, 0, rec);
    }
    scale_f32(rec, obj::ztop, f);
    scale_f32(rec, obj::zbottom, f);
    scale_f64(rec, obj::ref_x, f);
    scale_f64(rec, obj::ref_y, f);
}

}  // namespace drav
