#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <variant>

#include "base/shutdown.h"
#include "display/bezier.h"
#include "display/graphics_unit.h"
#include "display/object_renderer.h"
#include "platform/core/memory.h"
#include "platform/core/process.h"
#include "platform/core/string_table.h"
#include "shell/preferences.h"
#include "shell/tool_options.h"
#include "store/geometry.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"
#include "store/units.h"
#include "store/workfile.h"
#include "tests/support/harness.h"

using namespace drav;
using drav::test::answers;

namespace {

struct Value {
    const char* what;
    std::function<double()> got;
    double want;
};

class StartValues : public testing::Test {
protected:
    void SetUp() override {
        // The record as `main` leaves it: never filled.
        std::memset(static_cast<void*>(&rec_), 0xA5, sizeof rec_);
        objopts = &rec_;
        PrefsRec prefs{};
        getprefs(&prefs);
    }
    void TearDown() override {
        objopts = nullptr;
        unsetenv("DRAVELIN_DATA");
        plat::reload_strings();
        EXPECT_TRUE(answers().done());
    }
    static std::string shipped_strings() {
        std::ifstream f(plat::bundle_dir() / "strings" / "strings.txt", std::ios::binary);
        std::ostringstream ss;
        ss << f.rdbuf();
        return ss.str();
    }
    // A data folder of the test's own, holding only this string table.
    static void use_strings(const std::string& text) {
        const auto dir = drav::test::scratch_dir() / "bundle";
        std::filesystem::create_directories(dir / "strings");
        std::ofstream(dir / "strings" / "strings.txt", std::ios::binary | std::ios::trunc) << text;
        setenv("DRAVELIN_DATA", dir.c_str(), 1);
        plat::reload_strings();
    }
    static void start() {
        init_objopts();
        init_variables();
    }
    static void check(const Value* values, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) EXPECT_EQ(values[i].got(), values[i].want) << values[i].what;
    }

    ObjOptsRec rec_;
};

TEST_F(StartValues, EveryStartValueMatchesItsTable) {
    ASSERT_TRUE(plat::strings().bad_lines().empty());
    start();
    // No preferences are stored in this test's folder: their own defaults.
    copy_prefs_to_objopts(global_prefs);

    // Every tool option, in record order.
    using I = std::int16_t ObjOptsRec::*;
    using D = double ObjOptsRec::*;
    struct Option {
        const char* name;
        std::variant<I, D> field;
        double want;
    };
    const Option options[] = {
        {"lock_mode", &ObjOptsRec::lock_mode, 0},
        {"new_arrow", &ObjOptsRec::new_arrow, 0},
        {"new_marker", &ObjOptsRec::new_marker, 0},
        {"new_template", &ObjOptsRec::new_template, 0},
        {"line_opt", &ObjOptsRec::line_opt, 2},
        {"mline_opt1", &ObjOptsRec::mline_opt1, 1},
        {"mline_opt2", &ObjOptsRec::mline_opt2, 0},
        {"mline_opt3", &ObjOptsRec::mline_opt3, 1},
        {"mline_opt4", &ObjOptsRec::mline_opt4, 1},
        {"mline_palette", &ObjOptsRec::mline_palette, 0},
        {"rect_opt", &ObjOptsRec::rect_opt, 1},
        {"poly_opt1", &ObjOptsRec::poly_opt1, 8},
        {"poly_opt2", &ObjOptsRec::poly_opt2, 1},
        {"poly_opt3", &ObjOptsRec::poly_opt3, 0},
        {"poly_value", &ObjOptsRec::poly_value, 1.0},
        {"circle_method", &ObjOptsRec::circle_method, 1},
        {"circle_value1", &ObjOptsRec::circle_value1, 1.0},
        {"circle_value2", &ObjOptsRec::circle_value2, 1.0},
        {"ellipse_opt", &ObjOptsRec::ellipse_opt, 1},
        {"arc_opt1", &ObjOptsRec::arc_opt1, 1},
        {"arc_opt2", &ObjOptsRec::arc_opt2, 1},
        {"arc_value", &ObjOptsRec::arc_value, 1.0},
        {"bez_opt1", &ObjOptsRec::bez_opt1, 1},
        {"bez_opt2", &ObjOptsRec::bez_opt2, 0},
        {"bez_opt3", &ObjOptsRec::bez_opt3, 1},
        {"bez_opt4", &ObjOptsRec::bez_opt4, 1},
        {"bez_opt5", &ObjOptsRec::bez_opt5, 0},
        {"bez_opt6", &ObjOptsRec::bez_opt6, 0},
        {"lindim_opt1", &ObjOptsRec::lindim_opt1, 0},
        {"angdim_opt1", &ObjOptsRec::angdim_opt1, 0},
        {"lindim_opt2", &ObjOptsRec::lindim_opt2, 3},
        {"angdim_opt2", &ObjOptsRec::angdim_opt2, 3},
        {"copy_mode", &ObjOptsRec::copy_mode, 1},
        {"copy_count", &ObjOptsRec::copy_count, 2},
        {"copy2_count1", &ObjOptsRec::copy2_count1, 2},
        {"copy2_count2", &ObjOptsRec::copy2_count2, 2},
        {"circ_count", &ObjOptsRec::circ_count, 4},
        {"circ_value1", &ObjOptsRec::circ_value1, 90.0},
        {"circ_value2", &ObjOptsRec::circ_value2, 90.0},
        {"scale_opt1", &ObjOptsRec::scale_opt1, 1},
        {"scale_opt2", &ObjOptsRec::scale_opt2, 1},
        {"scale_opt3", &ObjOptsRec::scale_opt3, 1},
        {"scale_value1", &ObjOptsRec::scale_value1, 1.0},
        {"scale_value2", &ObjOptsRec::scale_value2, 1.0},
        {"scale_value3", &ObjOptsRec::scale_value3, 1.0},
        {"scale_opt4", &ObjOptsRec::scale_opt4, 1},
        {"scale_opt5", &ObjOptsRec::scale_opt5, 1},
        {"mirror_opt", &ObjOptsRec::mirror_opt, 0},
        {"text_opt", &ObjOptsRec::text_opt, 0},
        {"extend_opt1", &ObjOptsRec::extend_opt1, 1},
        {"extend_opt2", &ObjOptsRec::extend_opt2, 1},
        {"break_opt1", &ObjOptsRec::break_opt1, 1},
        {"break_opt2", &ObjOptsRec::break_opt2, 1},
        {"break_opt3", &ObjOptsRec::break_opt3, 0},
        {"break_fence_follows", &ObjOptsRec::break_fence_follows, 0},
        {"break_fence_sized", &ObjOptsRec::break_fence_sized, 1},
        {"break_opt4", &ObjOptsRec::break_opt4, 0},
        {"break_opt5", &ObjOptsRec::break_opt5, 1},
        {"break_opt6", &ObjOptsRec::break_opt6, 1},
        {"fillet_opt1", &ObjOptsRec::fillet_opt1, 1},
        {"fillet_opt2", &ObjOptsRec::fillet_opt2, 1},
        {"chamfer_value1", &ObjOptsRec::chamfer_value1, 0.78539816339744830962},  // pi/4
        {"chamfer_value2", &ObjOptsRec::chamfer_value2, 0.25},
        {"tangent_opt", &ObjOptsRec::tangent_opt, 1},
        {"iso_opt1", &ObjOptsRec::iso_opt1, 1},
        {"iso_opt2", &ObjOptsRec::iso_opt2, 0},
        {"iso_opt3", &ObjOptsRec::iso_opt3, 0},
        {"sym_opt3", &ObjOptsRec::sym_opt3, 0},
        {"sym_opt1", &ObjOptsRec::sym_opt1, 0},
        {"sym_opt2", &ObjOptsRec::sym_opt2, 0},
        {"sym_opt4", &ObjOptsRec::sym_opt4, 0},
        {"sym_values_on", &ObjOptsRec::sym_values_on, 0},
        {"sym_value1", &ObjOptsRec::sym_value1, 1.0},
        {"sym_value2", &ObjOptsRec::sym_value2, 1.0},
        {"background_colour (\"BackgroundColor\")", &ObjOptsRec::background_colour, 0},
        {"highlight_colour (\"CurObjColor\")", &ObjOptsRec::highlight_colour, 14},
        {"handle_colour (\"CurHpColor\")", &ObjOptsRec::handle_colour, 14},
        {"intersect_opt", &ObjOptsRec::intersect_opt, 0},
        {"move_opt", &ObjOptsRec::move_opt, 0},
        {"dblclick_mode (\"DoubleClickMode\")", &ObjOptsRec::dblclick_mode, 0},
        {"show_group_opt", &ObjOptsRec::show_group_opt, 0},
        {"group_opt1", &ObjOptsRec::group_opt1, 0},
        {"group_opt2", &ObjOptsRec::group_opt2, 0},
        {"hatch_value1", &ObjOptsRec::hatch_value1, 1.0},
        {"hatch_value2", &ObjOptsRec::hatch_value2, 1.0},
        {"hatch_value3", &ObjOptsRec::hatch_value3, 0.0},
        {"scroll_single (\"SingleScroll\")", &ObjOptsRec::scroll_single, 0.1},
        {"scroll_page (\"PageScroll\")", &ObjOptsRec::scroll_page, 0.5},
        {"scroll_pages (\"ScrollPages\")", &ObjOptsRec::scroll_pages, 33},
        {"zoom_left", &ObjOptsRec::zoom_left, -16367.0},
        {"zoom_right", &ObjOptsRec::zoom_right, 16367.0},
        {"zoom_top", &ObjOptsRec::zoom_top, -16367.0},
        {"zoom_bottom", &ObjOptsRec::zoom_bottom, 16367.0},
        {"idle_snap", &ObjOptsRec::idle_snap, 0},
        {"par_opt1", &ObjOptsRec::par_opt1, 0},
        {"par_opt2", &ObjOptsRec::par_opt2, 0},
        {"par_opt3", &ObjOptsRec::par_opt3, 1},
        {"par_value", &ObjOptsRec::par_value, 0.0},
        {"par_value2", &ObjOptsRec::par_value2, 0.0},
        {"normal_value", &ObjOptsRec::normal_value, 0.0},
        {"par_opt4", &ObjOptsRec::par_opt4, 1},
        {"explode_opt", &ObjOptsRec::explode_opt, 2},
        {"rdim_value1", &ObjOptsRec::rdim_value1, 0.0},
        {"rdim_value2", &ObjOptsRec::rdim_value2, 0.0},
        {"ddim_value1", &ObjOptsRec::ddim_value1, 0.0},
        {"ddim_value2", &ObjOptsRec::ddim_value2, 0.0},
        {"rdim_opt", &ObjOptsRec::rdim_opt, 0},
        {"ddim_opt", &ObjOptsRec::ddim_opt, 0},
        {"rdim_decimals", &ObjOptsRec::rdim_decimals, 4},
        {"ddim_decimals", &ObjOptsRec::ddim_decimals, 4},
        {"save_preview", &ObjOptsRec::save_preview, 1},
    };
    // Each listed field begins where the one before it ends (up to its
    // alignment) and the last one ends the record: none is left out.
    std::size_t end = 0;
    for (const Option& o : options) {
        const auto* base = reinterpret_cast<const char*>(objopts);
        std::size_t at = 0, size = 0;
        double got = 0;
        if (const I* i = std::get_if<I>(&o.field)) {
            at = static_cast<std::size_t>(reinterpret_cast<const char*>(&(objopts->*(*i))) - base);
            size = sizeof(std::int16_t);
            got = objopts->*(*i);
        } else {
            const D d = std::get<D>(o.field);
            at = static_cast<std::size_t>(reinterpret_cast<const char*>(&(objopts->*d)) - base);
            size = sizeof(double);
            got = objopts->*d;
        }
        EXPECT_EQ(got, o.want) << o.name;
        EXPECT_EQ(at, (end + size - 1) / size * size) << o.name << " does not follow the field listed before it";
        end = at + size;
    }
    EXPECT_EQ((end + alignof(ObjOptsRec) - 1) / alignof(ObjOptsRec) * alignof(ObjOptsRec), sizeof(ObjOptsRec))
        << "fields after save_preview are not listed";

    // The settings records and globals, from the fixed values and the
    // shipped tables 413 and 415 to 418 (a new drawing in decimal inches).
    const Value values[] = {
        {"grid x spacing", [] { return grid_data.x_spacing; }, 0.0},
        {"grid x direction", [] { return grid_data.x_direction; }, 0.0},
        {"grid x divisor", [] { return grid_data.x_divisor; }, 0},
        {"grid y spacing", [] { return grid_data.y_spacing; }, 0.0},
        {"grid y direction", [] { return grid_data.y_direction; }, 0.0},
        {"grid y divisor", [] { return grid_data.y_divisor; }, 0},
        {"smallest increment", [] { return units_defs.increment; }, 0.25},
        {"rotation step", [] { return units_defs.rotation_step; }, quart_pie},
        {"symbol scale x", [] { return units_defs.symbol_scale_x; }, 1.0},
        {"symbol scale y", [] { return units_defs.symbol_scale_y; }, 1.0},
        {"coordinate display 413,3", [] { return units_defs.coord_display; }, 0},
        {"angle format 413,2", [] { return units_defs.angle_format; }, 0},
        {"units code 413,1", [] { return units_defs.units_code; }, 3},
        {"real unit 413,4", [] { return units_defs.real_unit; }, 3},
        {"unit size 413,5", [] { return units_defs.unit_size; }, 1.0},
        // 415,1 to 415,15 are 1 1 0 0 1 1 0 1 0 0 0 1 1 1 0 for bits 0, 1, 2, 4-3 (0), 5 ... 15:
        // bits 0, 1, 5, 6, 8, 12, 13, 14 = 0x0003 + 0x0060 + 0x0100 + 0x7000.
        {"swaper", [] { return swaper; }, 0x7163},
        {"plot scale 416,1", [] { return output_defs.plot_scale; }, 1.0},
        {"paper units 416,2", [] { return output_defs.paper_units; }, 1},
        // 416,3 to 416,8 all 1 for bits 8 to 3, 416,9 = 1 in bits 2-0: 0x1F8 + 1.
        {"output flags", [] { return output_defs.flags; }, 0x1F9},
        {"arrow length 416,10", [] { return output_defs.arrow_length; }, 0.125},
        {"arrow half angle 416,11", [] { return output_defs.arrow_half_angle; }, 0.2617993878},
        {"style length 416,12", [] { return output_defs.style_length; }, 1.0},
        {"width size 416,13", [] { return output_defs.width_size; }, 0.01},
        {"stroke spacing 416,14", [] { return output_defs.width_factor; }, 1.0},
        {"marker half size 416,15", [] { return output_defs.marker_half_size; }, 0.0625},
        {"dimension mark half size 416,16", [] { return output_defs.dim_mark_half_size; }, 0.0625},
        {"extension-line gap 416,17", [] { return output_defs.ext_line_gap; }, 0.0625},
        {"outside marker length 416,18", [] { return output_defs.outside_marker_length; }, 0.25},
        {"size at 84, 416,19", [] { return output_defs.dim_size_84; }, 0.125},
        {"level 417,1", [] { return props_defs.level; }, 1},
        {"colour", [] { return props_defs.colour; }, 255},
        {"pen 417,2", [] { return props_defs.pen; }, 1},
        {"density 417,3", [] { return props_defs.density; }, 1},
        {"width 417,4", [] { return props_defs.width; }, 1},
        {"line style 417,5", [] { return props_defs.style; }, 1},
        {"font 417,6", [] { return props_defs.font; }, 1},
        {"text width 417,7", [] { return props_defs.text_width; }, 0.0625},
        {"text height 417,8", [] { return props_defs.text_height; }, 0.125},
        {"text spacing 417,9", [] { return props_defs.x_spacing; }, 0.09375},
        {"line spacing 417,10", [] { return props_defs.y_spacing; }, 0.1875},
        {"z top 417,11", [] { return props_defs.z_top; }, 0.0},
        {"z bottom 417,12", [] { return props_defs.z_bottom; }, 0.0},
        {"group 417,13", [] { return props_defs.group; }, 1},
        {"hatch spacing", [] { return users_defs.hatch_spacing; }, 0.25},
        {"hatch offset", [] { return users_defs.hatch_offset; }, 0.0},
        {"hatch angle", [] { return users_defs.hatch_angle; }, quart_pie},
        {"hatch number", [] { return users_defs.hatch_number; }, 1},
        {"area divisions", [] { return users_defs.area_divisions; }, 100},
        // "HatchSize" 1024: (1024 + 256) / 256 x 256.
        {"boundary capacity", [] { return users_defs.boundary_capacity; }, 1280},
        {"fillet radius", [] { return users_defs.fillet_radius; }, 0.25},
        {"parallel distance 418,1", [] { return users_defs.parallel_distance; }, 0.0},
        {"spline band", [] { return users_defs.spline_band; }, 0.25},
        {"spline step 418,2", [] { return users_defs.spline_step; }, 0.25},
        {"iso angle", [] { return users_defs.iso_angle; }, pie / 6},
        {"wall width", [] { return users_defs.wall_width; }, 0.25},
        {"linear tolerance 418,3", [] { return users_defs.lindim_tol_lower; }, 0.0},
        {"linear tolerance 418,4", [] { return users_defs.lindim_tol_upper; }, 0.0},
        {"angular tolerance 418,5", [] { return users_defs.angdim_tol_lower; }, 0.0},
        {"angular tolerance 418,6", [] { return users_defs.angdim_tol_upper; }, 0.0},
        {"word 110, 418,7", [] { return users_defs.lindim_format; }, 0},
        {"word 112, 418,8", [] { return users_defs.angdim_format; }, 0},
        // 418,9 = 3 in bits 2-0, 418,10 to 418,12 = 1 in bits 5-3, 9-6 and 13-10, 418,13 and
        // 418,14 = 1 in bits 14 and 15: 3 + 8 + 64 + 1024 + 16384 + 32768.
        {"word 114", [] { return users_defs.dim_style_bits; }, 50251},
        // 418,15 = 1 bit 0, 418,16 = 0 bit 1, 418,17 and 418,18 = 1 bits 2 and 3, 418,23 = 2 in
        // bits 13-6, 418,24 and 418,25 = 0: 1 + 4 + 8 + 128.
        {"word 116", [] { return users_defs.mlin_bits; }, 141},
        // 418,29 = 1 in bit 3, 418,26 to 418,38 otherwise 0.
        {"word 118", [] { return users_defs.dim_mode_bits; }, 8},
        {"word 120", [] { return users_defs.dim_tol_bits; }, 0},
        {"word 122", [] { return users_defs.rddim_tol_bits; }, 0},
        {"input mode", [] { return misc_defs.input_mode; }, 1},
        {"snap mode", [] { return misc_defs.snap_mode; }, 1},
        {"user origin x", [] { return misc_defs.user_origin_x; }, 0.0},
        {"user origin y", [] { return misc_defs.user_origin_y; }, 0.0},
        {"number_of_objects", [] { return number_of_objects; }, 36},
        {"prev_index", [] { return prev_index; }, -1},
        {"cur_buff_num", [] { return cur_buff_num; }, -1},
        {"total_dwg_time", [] { return total_dwg_time; }, 0},
        {"modified", [] { return modified; }, 0},
        {"keep_workfile", [] { return keep_workfile; }, 0},
        {"forced_show", [] { return forced_show; }, 0},
        {"bez_guides", [] { return bez_guides; }, 0},
        {"cursor_counter", [] { return cursor_counter; }, 0},
        {"workfileRefNum", [] { return workfileRefNum; }, 0},
        {"worklibRefNum", [] { return worklibRefNum; }, 0},
    };
    check(values, std::size(values));
    EXPECT_STREQ(units_defs.name, "");
    EXPECT_STREQ(units_defs.abbrev, "u");  // 424,1
    EXPECT_STREQ(props_defs.name, "");     // 417,14
    EXPECT_STREQ(textline, "");
    const char* const names[unit_codes] = {"u", "in", "in", "in", "ft", "ft", "ft", "mi", "mm", "m", "km", "cm"};
    for (int c = 0; c < unit_codes; ++c) EXPECT_STREQ(units[c], names[c]) << "units code " << c;
}

TEST_F(StartValues, EachEntryLandsInItsField) {
    struct Case {
        const char* entry;
        const char* text;
        std::function<double()> got;
        double want;
    };
    const Case cases[] = {
        {"413,2", "2", [] { return units_defs.angle_format; }, 2},
        {"413,3", "1", [] { return units_defs.coord_display; }, 1},
        {"413,4", "8", [] { return units_defs.real_unit; }, 8},
        {"415,4", "3", [] { return crosshair_style(swaper); }, 3},
        {"415,10", "1", [] { return (swaper >> 10) & 1; }, 1},
        {"415,13", "0", [] { return (swaper & sw_flash_picks) != 0; }, 0},
        {"416,3", "0", [] { return (output_defs.flags & of_text_on_paper) != 0; }, 0},
        {"416,8", "0", [] { return (output_defs.flags & of_dim_sizes_on_paper) != 0; }, 0},
        {"416,9", "0", [] { return arrow_style(output_defs); }, 0},
        {"416,12", "2.5", [] { return output_defs.style_length; }, 2.5},
        {"416,19", "0.5", [] { return output_defs.dim_size_84; }, 0.5},
        {"417,5", "3", [] { return props_defs.style; }, 3},
        {"417,11", "1.25", [] { return props_defs.z_top; }, 1.25},
        {"417,13", "5", [] { return props_defs.group; }, 5},
        {"418,2", "0.5", [] { return users_defs.spline_step; }, 0.5},
        {"418,4", "0.01", [] { return users_defs.lindim_tol_upper; }, 0.01},
        {"418,10", "2", [] { return angdim_precision(users_defs); }, 2},
        {"418,12", "5", [] { return angdim_marker(users_defs); }, 5},
        {"418,16", "1", [] { return mlin_bit1(users_defs); }, 1},
        {"418,22", "1", [] { return ddim_tol_mode(users_defs); }, 1},
        {"418,23", "7", [] { return mlin_count(users_defs); }, 7},
        {"418,24", "1", [] { return mlin_cut(users_defs); }, 1},
        {"418,28", "1", [] { return rdim_leader_arrow(users_defs); }, 1},
        {"418,31", "1", [] { return dim_mode_bit15(users_defs); }, 1},
        {"418,33", "2", [] { return lindim_series(users_defs); }, 2},
        {"418,35", "1", [] { return rdim_diameter(users_defs); }, 1},
        {"418,36", "1", [] { return ddim_one_direction(users_defs); }, 1},
        {"418,37", "3", [] { return lindim_direction(users_defs); }, 3},
        {"418,38", "1", [] { return angdim_outer(users_defs); }, 1},
    };
    const std::string shipped = shipped_strings();
    for (const Case& c : cases) {
        // A later line overrides the shipped entry.
        use_strings(shipped + "\n" + c.entry + "\t" + c.text + "\n");
        start();
        EXPECT_EQ(c.got(), c.want) << c.entry;
    }
}

TEST_F(StartValues, DamagedTablesStillGiveADrawingThatWorks) {
    use_strings(
        "413,1\t42\n413,5\t0\n416,1\t-2\n416,2\t0\n416,14\t0\n"
        "417,1\t300\n417,6\t0\n417,13\t1000\n417,14\tmuch too long\n418,23\t1\n424,1\tunits\n");
    start();
    const Value values[] = {
        {"units code", [] { return units_defs.units_code; }, uc_none},
        {"real unit (missing)", [] { return units_defs.real_unit; }, uc_none},
        {"unit size", [] { return units_defs.unit_size; }, 1.0},
        {"plot scale", [] { return output_defs.plot_scale; }, 1.0},
        {"paper units", [] { return output_defs.paper_units; }, uc_inch_fraction},
        {"stroke spacing", [] { return output_defs.width_factor; }, 1.0},
        {"level", [] { return props_defs.level; }, 1},
        {"font", [] { return props_defs.font; }, 1},
        {"group", [] { return props_defs.group; }, 1},
        {"wall lines", [] { return mlin_count(users_defs); }, 2},
    };
    check(values, std::size(values));
    EXPECT_STREQ(units_defs.abbrev, "uni");
    EXPECT_STREQ(props_defs.name, "much to");
}

TEST_F(StartValues, HatchCapacityComesFromThePreference) {
    const struct {
        std::int16_t hatch_size;
        std::int16_t capacity;
    } cases[] = {{1024, 1280}, {0, 256}, {-40, 256}, {30463, 30464}, {30464, 30719}, {30720, 30719},
                 {32767, 30719}};
    for (const auto& c : cases) {
        global_prefs.hatch_size = c.hatch_size;
        init_variables();
        EXPECT_EQ(users_defs.boundary_capacity, c.capacity) << c.hatch_size;
    }
}

TEST_F(StartValues, LoadedSettingsFallBackToTheseStartValues) {
    start();
    units_defs.units_code = 42;
    units_defs.unit_size = 0;
    users_defs.hatch_spacing = -1;
    sanitize_settings();
    EXPECT_EQ(units_defs.units_code, uc_inch_decimal);
    EXPECT_EQ(units_defs.unit_size, 1.0);
    EXPECT_EQ(users_defs.hatch_spacing, 0.25);
}

TEST_F(StartValues, PreferencesReplaceTheirOptionsWhenUsable) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        PrefsRec prefs;
        std::int16_t bg, hilite, handle, pages;
        double single, page;
    } cases[] = {
        {[] {
             PrefsRec p{};
             p.background_color = 255, p.cur_obj_color = 3, p.cur_hp_color = 9, p.scroll_pages = 5;
             p.single_scroll = 0.25, p.page_scroll = 1.5, p.double_click_mode = 1;
             return p;
         }(),
         255, 3, 9, 5, 0.25, 1.5},
        {[nan] {
             PrefsRec p{};
             p.background_color = -1, p.cur_obj_color = 256, p.cur_hp_color = 999, p.scroll_pages = 0;
             p.single_scroll = 0, p.page_scroll = nan, p.double_click_mode = 1;
             return p;
         }(),
         0, 14, 14, 33, 0.1, 0.5},
    };
    for (const auto& c : cases) {
        init_objopts();
        copy_prefs_to_objopts(c.prefs);
        EXPECT_EQ(objopts->dblclick_mode, 1);
        EXPECT_EQ(objopts->background_colour, c.bg);
        EXPECT_EQ(objopts->highlight_colour, c.hilite);
        EXPECT_EQ(objopts->handle_colour, c.handle);
        EXPECT_EQ(objopts->scroll_pages, c.pages);
        EXPECT_EQ(objopts->scroll_single, c.single);
        EXPECT_EQ(objopts->scroll_page, c.page);
    }
}

TEST_F(StartValues, NoMemoryForTheWorkBuffersEndsTheProgram) {
    free_record_store();
    answers().expect("", 1);
    plat::fail_next_allocations(1);
    EXPECT_EQ(drav::test::exit_status_of([] { init_variables(); }), -1);
}

}  // namespace
