#include "store/settings.h"

#include <cmath>
#include <cstring>

#include "base/command_loop.h"
#include "base/messages.h"
#include "store/hooks.h"
#include "store/object_snap.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/strings.h"

namespace drav {

// Start values come from the start-up defaults; until then everything is zero.
WindowRec cur_win{};
WindowRec bse_win{};
GridRec grid_data{};
UnitsRec units_defs{};
OutputRec output_defs{};
PropsRec props_defs{};
UsersRec users_defs{};
MiscRec misc_defs{};
std::uint16_t swaper = 0;
std::uint16_t levels_visible[level_set_words] = {};
std::uint16_t levels_locked[level_set_words] = {};

std::uint32_t total_dwg_time = 0;
std::int32_t current_dwg_time = 0;

namespace {

// Settings slots and where their structures sit in the records.
constexpr int slot_windows = 1, slot_units = 2, slot_output = 3, slot_props = 4, slot_users = 5,
              slot_misc = 6;
constexpr int err_settings_kind = 50;  // + slot

// Field-by-field conversion between the native structs and the big-endian
// records: one table of (offset, member) per struct keeps reading and
// writing in step.
struct Io {
    ObjectRec& r;
    int base;
    bool writing;
    const ObjectRec* fallback = nullptr;  // reading: where non-finite reals come from
    void f64(int off, double& v) {
        if (writing) {
            set_rec_f64(r, base + off, v);
            return;
        }
        v = rec_f64(r, base + off);
        if (fallback && !std::isfinite(v)) v = rec_f64(*fallback, base + off);
    }
    void f32(int off, float& v) {
        if (writing) {
            set_rec_f32(r, base + off, v);
            return;
        }
        v = rec_f32(r, base + off);
        if (fallback && !std::isfinite(v)) v = rec_f32(*fallback, base + off);
    }
    void i16(int off, std::int16_t& v) {
        if (writing) set_rec_i16(r, base + off, v); else v = rec_i16(r, base + off);
    }
    void u16(int off, std::uint16_t& v) {
        if (writing) set_rec_u16(r, base + off, v); else v = rec_u16(r, base + off);
    }
    void bytes(int off, char* v, int n) {
        if (writing) std::memcpy(r.b + base + off, v, static_cast<std::size_t>(n));
        else std::memcpy(v, r.b + base + off, static_cast<std::size_t>(n));
    }
    void words(int off, std::uint16_t* v, int n) {
        for (int i = 0; i < n; ++i) u16(off + 2 * i, v[i]);
    }
};

void io(Io x, WindowRec& w) {
    x.f64(0, w.xl);
    x.f64(8, w.xr);
    x.f64(16, w.yb);
    x.f64(24, w.yt);
}

void io(Io x, GridRec& g) {
    x.f64(0, g.x_spacing);
    x.f64(8, g.x_direction);
    x.i16(16, g.x_divisor);
    x.f64(18, g.y_spacing);
    x.f64(26, g.y_direction);
    x.i16(34, g.y_divisor);
}

void io(Io x, UnitsRec& u) {
    x.f64(0, u.increment);
    x.f64(8, u.rotation_step);
    x.f64(16, u.symbol_scale_x);
    x.f64(24, u.symbol_scale_y);
    x.i16(32, u.coord_display);
    x.i16(34, u.angle_format);
    x.i16(36, u.units_code);
    x.i16(38, u.real_unit);
    x.f64(40, u.unit_size);
    x.bytes(48, u.name, 8);
    x.bytes(56, u.abbrev, 4);
}

void io(Io x, OutputRec& o) {
    x.f64(0, o.plot_scale);
    x.i16(8, o.paper_units);
    x.u16(10, o.flags);
    x.f64(12, o.arrow_length);
    x.f64(20, o.arrow_half_angle);
    x.f64(28, o.style_length);
    x.f64(36, o.width_size);
    x.f64(44, o.width_factor);
    x.f64(52, o.marker_half_size);
    x.f64(60, o.dim_mark_half_size);
    x.f64(68, o.ext_line_gap);
    x.f64(76, o.outside_marker_length);
    x.f64(84, o.dim_size_84);
}

void io(Io x, PropsRec& p) {
    x.u16(0, p.level);
    x.u16(2, p.colour);
    x.u16(4, p.pen);
    x.u16(6, p.density);
    x.u16(8, p.width);
    x.u16(10, p.style);
    x.u16(12, p.group);
    x.u16(14, p.font);
    x.f32(16, p.z_top);
    x.f32(20, p.z_bottom);
    x.f64(24, p.text_width);
    x.f64(32, p.text_height);
    x.f64(40, p.x_spacing);
    x.f64(48, p.y_spacing);
    x.bytes(56, p.name, 8);
}

void io(Io x, UsersRec& u) {
    x.f64(0, u.hatch_spacing);
    x.f64(8, u.hatch_offset);
    x.f64(16, u.hatch_angle);
    x.i16(24, u.hatch_number);
    x.i16(26, u.area_divisions);
    x.i16(28, u.boundary_capacity);
    x.f64(30, u.fillet_radius);
    x.f64(38, u.parallel_distance);
    x.f64(46, u.spline_band);
    x.f64(54, u.spline_step);
    x.f64(62, u.iso_angle);
    x.f64(70, u.wall_width);
    x.f64(78, u.lindim_tol_lower);
    x.f64(86, u.lindim_tol_upper);
    x.f64(94, u.angdim_tol_lower);
    x.f64(102, u.angdim_tol_upper);
    x.i16(110, u.lindim_format);
    x.i16(112, u.angdim_format);
    x.u16(114, u.dim_style_bits);
    x.u16(116, u.mlin_bits);
    x.u16(118, u.dim_mode_bits);
    x.u16(120, u.dim_tol_bits);
    x.u16(122, u.rddim_tol_bits);
}

void io(Io x, MiscRec& m) {
    x.i16(0, m.input_mode);
    x.i16(2, m.snap_mode);
    x.f64(4, m.user_origin_x);
    x.f64(12, m.user_origin_y);
    for (int i = 0; i < 5; ++i) x.f64(20 + 8 * i, m.digitizer[i]);
    x.bytes(60, m.tag, 2);
}

// What each settings slot carries, in both directions.
void slot_io(int slot, ObjectRec& r, bool writing) {
    auto at = [&](int base) { return Io{r, base, writing, nullptr}; };
    switch (slot) {
    case slot_windows:
        io(at(2), cur_win);
        io(at(34), bse_win);
        break;
    case slot_units:
        io(at(2), grid_data);
        io(at(38), units_defs);
        break;
    case slot_output:
        at(0).u16(2, swaper);
        at(4).words(0, levels_visible, level_set_words);
        io(at(36), output_defs);
        break;
    case slot_props:
        io(at(2), props_defs);
        at(66).words(0, levels_locked, level_set_words);
        break;
    case slot_users:
        io(at(2), users_defs);
        break;
    case slot_misc:
        if (writing) {
            io(at(2), misc_defs);
        } else {
            // Snap mode, user origin and digitizer mapping stay those of the running program.
            at(2).i16(0, misc_defs.input_mode);
        }
        break;
    }
}

struct StartSettings {
    bool known = false;
    WindowRec cur, bse;
    GridRec grid;
    UnitsRec units;
    OutputRec output;
    PropsRec props;
    UsersRec users;
} g_start;

// Every real of a struct whose value is not finite takes the start value:
// both go through the struct's table into scratch records, and the reading
// pass falls back where the stored real is unusable.
template <class T>
void replace_non_finite(T& v, T& start) {
    ObjectRec now{}, fallback{};
    io(Io{now, 0, true, nullptr}, v);
    io(Io{fallback, 0, true, nullptr}, start);
    io(Io{now, 0, false, &fallback}, v);
}

}  // namespace

void put_header_counts() {
    get_info(header_slot);
    set_rec_kind(info, rk_header);
    set_rec_i16(info, hdr::version, twddbrel);
    set_rec_i16(info, hdr::first_slot, first_object_slot);
    set_rec_i16(info, hdr::object_count, number_of_objects);
    set_rec_i16(info, hdr::ctrl_count, 0);
    set_rec_i16(info, hdr::piece_count, 0);
}

void write_sav_rec() {
    ObjectRec saved = info;
    const std::int16_t saved_index = prev_index;

    put_header_counts();
    total_dwg_time += static_cast<std::uint32_t>(deltatime(current_dwg_time));
    set_rec_u32(info, hdr::dwg_time, total_dwg_time);
    current_dwg_time = abstime();
    modified = 1;

    for (int slot = first_settings_slot; slot <= last_settings_slot; ++slot) {
        get_info(static_cast<std::int16_t>(slot));
        set_rec_kind(info, slot + 1);
        slot_io(slot, info, true);
        modified = 1;
    }
    get_info(first_object_slot);

    if (saved_index != -1) {
        get_info(saved_index);
        info = saved;
    }
}

int read_sav_rec() {
    get_info(header_slot);
    if (rec_kind(info) != rk_header) {
        show_error(err_settings_kind + header_slot, 0);
        return 0;
    }
    total_dwg_time = rec_u32(info, hdr::dwg_time);
    current_dwg_time = abstime();
    for (int slot = first_settings_slot; slot <= last_settings_slot; ++slot) {
        get_info(static_cast<std::int16_t>(slot));
        if (rec_kind(info) != slot + 1) {
            // A malformed drawing is refused, never the end of the program.
            show_error(err_settings_kind + slot, 0);
            return 0;
        }
        slot_io(slot, info, false);
    }
    sanitize_settings();
    clear_object_snap();
    settings_were_read();
    last_x = 0;
    last_y = 0;
    update_ref(0, 0);
    keybrd_x = (cur_win.xl + cur_win.xr) / 2;
    keybrd_y = (cur_win.yb + cur_win.yt) / 2;
    snap_it(&keybrd_x, &keybrd_y);
    return 1;
}

void sanitize_settings() {
    if (!g_start.known) return;
    replace_non_finite(cur_win, g_start.cur);
    replace_non_finite(bse_win, g_start.bse);
    replace_non_finite(grid_data, g_start.grid);
    replace_non_finite(units_defs, g_start.units);
    replace_non_finite(output_defs, g_start.output);
    replace_non_finite(props_defs, g_start.props);
    replace_non_finite(users_defs, g_start.users);
    // A view window with no width cannot be drawn.
    if (!(cur_win.xr > cur_win.xl) || !(cur_win.yt > cur_win.yb)) cur_win = g_start.cur;
    if (!(bse_win.xr > bse_win.xl) || !(bse_win.yt > bse_win.yb)) bse_win = g_start.bse;
    if (units_defs.units_code < 0 || units_defs.units_code > 11) {
        units_defs.units_code = g_start.units.units_code;
        std::memcpy(units_defs.abbrev, g_start.units.abbrev, sizeof units_defs.abbrev);
    }
    if (!(units_defs.unit_size > 0)) units_defs.unit_size = g_start.units.unit_size;
    if (!(units_defs.increment > 0)) units_defs.increment = g_start.units.increment;
    // A rotation step of 0 means no stepping and stays.
    if (!(users_defs.hatch_spacing > 0)) users_defs.hatch_spacing = g_start.users.hatch_spacing;
}

void remember_start_settings() {
    g_start = {true, cur_win, bse_win, grid_data, units_defs, output_defs, props_defs, users_defs};
}

}  // namespace drav
