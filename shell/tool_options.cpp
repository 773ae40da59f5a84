#include "shell/tool_options.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/command_loop.h"
#include "base/messages.h"
#include "base/shutdown.h"
#include "commands/draw/text.h"
#include "display/bezier.h"
#include "files/file_commands.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/list_view.h"
#include "display/object_renderer.h"
#include "display/redraw.h"
#include "shell/preferences.h"
#include "store/geometry.h"
#include "store/group_build.h"
#include "store/object_snap.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/strings.h"
#include "store/units.h"
#include "store/workfile.h"

namespace drav {

namespace {

// Localized tables of start values.
constexpr int tbl_options = 415;  // `swaper`, one entry a bit
constexpr int tbl_output = 416;
constexpr int tbl_props = 417;
constexpr int tbl_users = 418;

constexpr std::int16_t default_objcolor = 255;
constexpr int hatch_capacity_limit = 30719;

// The tables are a file anyone may edit: a value a drawing cannot work
// with falls back to a harmless one.
std::int16_t integer_in(int table, int index, int lo, int hi, std::int16_t fallback) {
    const std::int16_t v = get_default_integer(table, index);
    return v >= lo && v <= hi ? v : fallback;
}

double positive_real(int table, int index, double fallback) {
    const double v = get_default_real(table, index);
    return v > 0 ? v : fallback;
}

int flag(int table, int index) { return get_default_boolean(table, index) != 0; }

void put_flag(std::uint16_t& word, int bit, int table, int index) {
    put_bits(word, bit, 1, flag(table, index));
}

void put_field(std::uint16_t& word, int lo, int width, int table, int index) {
    put_bits(word, lo, width, get_default_integer(table, index));
}

// Hatch boundary records: whole 256-record pages of "HatchSize" plus one.
std::int16_t hatch_capacity(int hatch_size) {
    const int pages = (std::max(hatch_size, 0) + 256) / 256;
    return static_cast<std::int16_t>(std::min(pages * 256, hatch_capacity_limit));
}

void init_units() {
    units_defs = UnitsRec{};
    units_defs.increment = r_pt25;
    units_defs.rotation_step = quart_pie;
    units_defs.symbol_scale_x = r_one;
    units_defs.symbol_scale_y = r_one;
    units_defs.coord_display = get_default_integer(tbl_startup, 3);
    units_defs.angle_format = get_default_integer(tbl_startup, 2);
    units_defs.units_code = integer_in(tbl_startup, 1, 0, unit_codes - 1, uc_none);
    units_defs.real_unit = integer_in(tbl_startup, 4, 0, unit_codes - 1, uc_none);
    units_defs.unit_size = positive_real(tbl_startup, 5, r_one);
    const std::size_t n = std::min<std::size_t>(std::strlen(units[uc_none]), 3);
    std::memcpy(units_defs.abbrev, units[uc_none], n);
}

void init_swaper() {
    swaper = 0;
    put_flag(swaper, 0, tbl_options, 1);
    put_flag(swaper, 1, tbl_options, 2);
    put_flag(swaper, 2, tbl_options, 3);
    put_field(swaper, 3, 2, tbl_options, 4);
    for (int bit = 5; bit <= 15; ++bit) put_flag(swaper, bit, tbl_options, bit);
}

void init_output() {
    OutputRec& o = output_defs;
    o = OutputRec{};
    o.plot_scale = positive_real(tbl_output, 1, r_one);
    o.paper_units = integer_in(tbl_output, 2, 1, unit_codes - 1, uc_inch_fraction);
    put_flag(o.flags, 8, tbl_output, 3);
    put_flag(o.flags, 7, tbl_output, 4);
    put_flag(o.flags, 6, tbl_output, 5);
    put_flag(o.flags, 5, tbl_output, 6);
    put_flag(o.flags, 4, tbl_output, 7);
    put_flag(o.flags, 3, tbl_output, 8);
    put_field(o.flags, 0, 3, tbl_output, 9);
    o.arrow_length = get_default_real(tbl_output, 10);
    o.arrow_half_angle = get_default_real(tbl_output, 11);
    o.style_length = get_default_real(tbl_output, 12);
    setlpatlen(output_defs.style_length);
    o.width_size = get_default_real(tbl_output, 13);
    // Wide lines divide by the stroke spacing.
    o.width_factor = positive_real(tbl_output, 14, r_one);
    o.marker_half_size = get_default_real(tbl_output, 15);
    o.dim_mark_half_size = get_default_real(tbl_output, 16);
    o.ext_line_gap = get_default_real(tbl_output, 17);
    o.outside_marker_length = get_default_real(tbl_output, 18);
    o.dim_size_84 = get_default_real(tbl_output, 19);
}

void init_props() {
    PropsRec& p = props_defs;
    p = PropsRec{};
    p.level = static_cast<std::uint16_t>(integer_in(tbl_props, 1, 0, 250, 1));
    p.colour = default_objcolor;
    p.pen = static_cast<std::uint16_t>(get_default_integer(tbl_props, 2));
    p.density = static_cast<std::uint16_t>(get_default_integer(tbl_props, 3));
    p.width = static_cast<std::uint16_t>(get_default_integer(tbl_props, 4));
    p.style = static_cast<std::uint16_t>(get_default_integer(tbl_props, 5));
    p.font = static_cast<std::uint16_t>(integer_in(tbl_props, 6, 1, 255, 1));
    p.text_width = get_default_real(tbl_props, 7);
    p.text_height = get_default_real(tbl_props, 8);
    p.x_spacing = get_default_real(tbl_props, 9);
    p.y_spacing = get_default_real(tbl_props, 10);
    p.z_top = static_cast<float>(get_default_real(tbl_props, 11));
    p.z_bottom = static_cast<float>(get_default_real(tbl_props, 12));
    p.group = static_cast<std::uint16_t>(integer_in(tbl_props, 13, 1, 999, 1));
    char name[256];
    GetMyLocalCString(name, tbl_props, 14);
    strnncpy(p.name, name, static_cast<int>(sizeof p.name) - 1);
}

void init_users() {
    UsersRec& u = users_defs;
    const double increment = units_defs.increment;
    u = UsersRec{};
    u.hatch_number = 1;
    u.area_divisions = 100;
    u.hatch_spacing = increment;
    u.hatch_angle = quart_pie;
    u.hatch_offset = r_zero;
    u.boundary_capacity = hatch_capacity(global_prefs.hatch_size);
    u.fillet_radius = increment;
    u.parallel_distance = get_default_real(tbl_users, 1);
    u.spline_band = increment;
    u.spline_step = get_default_real(tbl_users, 2);
    u.iso_angle = pie / r_six;
    u.wall_width = increment;
    u.lindim_tol_lower = get_default_real(tbl_users, 3);
    u.lindim_tol_upper = get_default_real(tbl_users, 4);
    u.angdim_tol_lower = get_default_real(tbl_users, 5);
    u.angdim_tol_upper = get_default_real(tbl_users, 6);
    u.lindim_format = get_default_integer(tbl_users, 7);
    u.angdim_format = get_default_integer(tbl_users, 8);

    set_fraction_code(u, get_default_integer(tbl_users, 9));
    set_angdim_precision(u, get_default_integer(tbl_users, 10));
    set_lindim_marker(u, get_default_integer(tbl_users, 11));
    set_angdim_marker(u, get_default_integer(tbl_users, 12));
    set_lindim_breaks(u, flag(tbl_users, 13));
    set_angdim_breaks(u, flag(tbl_users, 14));

    set_lindim_on_line(u, flag(tbl_users, 15));
    set_mlin_bit1(u, flag(tbl_users, 16));
    set_lindim_centred(u, flag(tbl_users, 17));
    set_angdim_centred(u, flag(tbl_users, 18));
    set_lindim_tol_mode(u, get_default_integer(tbl_users, 19));
    set_angdim_tol_mode(u, get_default_integer(tbl_users, 20));
    set_rdim_tol_mode(u, get_default_integer(tbl_users, 21));
    set_ddim_tol_mode(u, get_default_integer(tbl_users, 22));
    set_mlin_count(u, integer_in(tbl_users, 23, 2, 255, 2));
    set_mlin_cut(u, flag(tbl_users, 24));
    set_mlin_spacing(u, flag(tbl_users, 25));

    set_lindim_outside(u, flag(tbl_users, 26));
    set_angdim_outside(u, flag(tbl_users, 27));
    set_rdim_leader_arrow(u, flag(tbl_users, 28));
    set_lindim_points(u, flag(tbl_users, 29));
    set_angdim_points(u, flag(tbl_users, 30));
    set_dim_mode_bit15(u, flag(tbl_users, 31));
    set_dim_mode_bit14(u, flag(tbl_users, 32));
    set_lindim_series(u, get_default_integer(tbl_users, 33));
    set_angdim_series(u, get_default_integer(tbl_users, 34));
    set_rdim_diameter(u, flag(tbl_users, 35));
    set_ddim_one_direction(u, flag(tbl_users, 36));
    set_lindim_direction(u, get_default_integer(tbl_users, 37));
    set_angdim_outer(u, get_default_integer(tbl_users, 38));
}

void init_misc() {
    misc_defs = MiscRec{};
    misc_defs.input_mode = 1;
    misc_defs.snap_mode = 1;
    // The digitizer mapping is set when the input device opens.
}

}  // namespace

void copy_prefs_to_objopts(const PrefsRec& prefs) {
    if (!objopts) return;
    auto colour = [](std::int16_t v, std::int16_t& field) {
        if (v >= 0 && v <= 255) field = v;
    };
    auto step = [](double v, double& field) {
        if (std::isfinite(v) && v > 0) field = v;
    };
    objopts->dblclick_mode = prefs.double_click_mode;
    colour(prefs.background_color, objopts->background_colour);
    colour(prefs.cur_obj_color, objopts->highlight_colour);
    colour(prefs.cur_hp_color, objopts->handle_colour);
    if (prefs.scroll_pages > 0) objopts->scroll_pages = prefs.scroll_pages;
    step(prefs.single_scroll, objopts->scroll_single);
    step(prefs.page_scroll, objopts->scroll_page);
    // The grid colour goes to the environment block with the rest of start-up.
}

void init_variables() {
    adding = 1;
    // TODO(subset) subset = 0
    init_unit_names();
    grid_data = GridRec{};
    init_units();
    init_swaper();
    init_output();
    init_props();
    init_users();
    init_misc();

    // TODO(selectedPattern) the pattern at index 413/13 of the system pattern list 413/12
    // TODO(yes_char) yes_char, yes_Char, no_char, no_Char = the first characters of 413/6 to 413/9
    initgunit();  // also the start values of cur_win and bse_win
    bez_guides = 0;
    reset_on_screen = 0;
    modified = 0;
    keep_workfile = 0;
    typing_gtext = 0;
    // TODO(update_info) update_info = 0
    forced_show = 0;
    snap_on = 1;
    clear_valid_objects();
    prevsnapmode = 1;
    clear_object_snap();
    textline[0] = '\0';
    // TODO(pick_number) pick_number = 1
    // TODO(coor_number) coor_number = 1
    total_dwg_time = 0;
    current_dwg_time = abstime();
    last_save_time = static_cast<std::uint32_t>(current_dwg_time);
    number_of_objects = first_object_slot;
    // TODO(device_scale) device_scale = 1.0
    // TODO(lx_device) lx_device, ly_device, inqarea, inqperm = 0.0
    cursor_mag = 1;
    cursor_counter = 0;
    zoom_arrows = 0;

    if (!init_record_store()) leave_program();
    // TODO(picks) 7500 bytes, zero-filled
    if (!init_selection_sets()) leave_program();
    std::memset(snap_obj->b, 0, sizeof snap_obj->b);
    cur_buff_num = -1;
    prev_index = -1;
    // TODO(hatchscratchfileRefNum) hatchscratchfileRefNum = 0
    workfileRefNum = 0;
    worklibRefNum = 0;
    // TODO(lib_file) lib_file = 0
    init_worldunits();
    remember_start_settings();
}

}  // namespace drav
