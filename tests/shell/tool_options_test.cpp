#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include <string>

#include "platform/core/memory.h"
#include "platform/core/process.h"
#include "platform/core/string_table.h"
#include "shell/preferences.h"
#include "shell/tool_options.h"
#include "store/geometry.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"
#include "store/units.h"
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

TEST_F(StartValues, ShippedTablesGiveANewInchDrawing) {
    ASSERT_TRUE(plat::strings().bad_lines().empty());
    start();

    const Value values[] = {
        // Tool options.
        {"line_opt", [] { return objopts->line_opt; }, 2},
        {"poly_opt1", [] { return objopts->poly_opt1; }, 8},
        {"lindim_opt2", [] { return objopts->lindim_opt2; }, 3},
        {"break_opt3", [] { return objopts->break_opt3; }, 0},
        {"break_fence_sized", [] { return objopts->break_fence_sized; }, 1},
        {"chamfer_value1", [] { return objopts->chamfer_value1; }, quart_pie},
        {"zoom_bottom", [] { return objopts->zoom_bottom; }, 16367.0},
        {"par_value2", [] { return objopts->par_value2; }, 0.0},
        {"rdim_decimals", [] { return objopts->rdim_decimals; }, 4},
        {"save_preview", [] { return objopts->save_preview; }, 1},
        // Fixed start values.
        {"grid x spacing", [] { return grid_data.x_spacing; }, 0.0},
        {"smallest increment", [] { return units_defs.increment; }, 0.25},
        {"rotation step", [] { return units_defs.rotation_step; }, quart_pie},
        {"colour", [] { return props_defs.colour; }, 255},
        {"hatch number", [] { return users_defs.hatch_number; }, 1},
        {"area divisions", [] { return users_defs.area_divisions; }, 100},
        {"hatch spacing", [] { return users_defs.hatch_spacing; }, 0.25},
        {"hatch angle", [] { return users_defs.hatch_angle; }, quart_pie},
        {"boundary capacity", [] { return users_defs.boundary_capacity; }, 1280},
        {"wall width", [] { return users_defs.wall_width; }, 0.25},
        {"iso angle", [] { return users_defs.iso_angle; }, pie / 6},
        {"input mode", [] { return misc_defs.input_mode; }, 1},
        {"snap mode", [] { return misc_defs.snap_mode; }, 1},
        {"number_of_objects", [] { return number_of_objects; }, first_object_slot},
        {"prev_index", [] { return prev_index; }, -1},
        {"total_dwg_time", [] { return total_dwg_time; }, 0},
        // From the tables: a drawing in decimal inches.
        {"units code", [] { return units_defs.units_code; }, uc_inch_decimal},
        {"unit size", [] { return units_defs.unit_size; }, 1.0},
        {"plot scale", [] { return output_defs.plot_scale; }, 1.0},
        {"paper units", [] { return output_defs.paper_units; }, uc_inch_fraction},
        {"stroke text", [] { return (swaper & sw_stroke_text) != 0; }, 1},
        {"symbols expanded", [] { return (swaper & sw_symbols_expanded) != 0; }, 1},
        {"wide strokes", [] { return (swaper & sw_wide_strokes) != 0; }, 1},
        {"blink", [] { return (swaper & sw_blink) != 0; }, 1},
        {"grid shown", [] { return (swaper & sw_grid) != 0; }, 0},
        {"stroke spacing", [] { return output_defs.width_factor; }, 1.0},
        {"text height", [] { return props_defs.text_height; }, 0.125},
        {"line spacing", [] { return props_defs.y_spacing; }, 0.1875},
        {"level", [] { return props_defs.level; }, 1},
        {"font", [] { return props_defs.font; }, 1},
        {"line style", [] { return props_defs.style; }, 1},
        {"wall lines", [] { return mlin_count(users_defs); }, 2},
        {"linear marker", [] { return lindim_marker(users_defs); }, 1},
        {"linear decimals", [] { return fraction_code(users_defs); }, 3},
    };
    check(values, std::size(values));
    EXPECT_STREQ(units_defs.abbrev, "u");
    EXPECT_STREQ(units_defs.name, "");
    EXPECT_STREQ(props_defs.name, "");
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
