#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "base/command_loop.h"
#include "base/paths.h"
#include "display/graphics_unit.h"
#include "platform/core/clock.h"
#include "store/current_drawing.h"
#include "store/library_file.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"
#include "store/workfile.h"
#include "tests/support/harness.h"
#include "tests/support/workfile.h"

using namespace drav;
using drav::test::answers;

TEST(WorkSizes, FollowThePreferences) {
    struct Case {
        int object, symbol, ctrl;
        std::uint16_t worksize, libsize;
    };
    const Case cases[] = {
        {15000, 10000, 5000, 15036, 15012},
        {40000, 40000, 5000, 32004, 32004},
        {1, 0, 0, 48, 12},
        {-100, 10000, 5000, 32004, 15012},  // compared unsigned, as the sizes are
        {31968, 0, 0, 32004, 12},
    };
    for (const Case& c : cases) {
        set_work_sizes(c.object, c.symbol, c.ctrl);
        EXPECT_EQ(worksize, c.worksize) << c.object;
        EXPECT_EQ(libsize, c.libsize) << c.symbol;
        EXPECT_EQ(worksize % 12, 0);
        EXPECT_LE(ctrlsize, libsize - 4);
    }
}

namespace {

class Workfile : public testing::Test {
protected:
    void SetUp() override {
        // As a new process has them: the start values are taken from these,
        // and the drawing time from the clock.
        cur_win = bse_win = WindowRec{};
        grid_data = GridRec{};
        units_defs = UnitsRec{};
        output_defs = OutputRec{};
        props_defs = PropsRec{};
        users_defs = UsersRec{};
        misc_defs = MiscRec{};
        plat::use_fake_clock(true);
        folder_ = drav::test::use_data_folder();
        drav::test::start_small_drawing(2);
    }
    void TearDown() override {
        drav::test::close_workfile();
        EXPECT_TRUE(answers().done());
    }
    static std::uintmax_t size_of(const std::filesystem::path& p) { return std::filesystem::file_size(p); }

    std::filesystem::path folder_;
};

}  // namespace

TEST_F(Workfile, SetupMakesBothFilesOfTheirSizesWithValidSettingsSlots) {
    currentdrawingRefNum = 7;
    ASSERT_EQ(setup_workfile(), 1);
    EXPECT_EQ(size_of(folder_ / "workfile"), (worksize + 3) / 4 * 512u);
    EXPECT_EQ(size_of(folder_ / "worklibrary"), (libsize + 3) / 4 * 512u);
    EXPECT_EQ(currentdrawingRefNum, 0);
    for (int slot = 0; slot <= 6; ++slot) {
        get_info(static_cast<std::int16_t>(slot));
        EXPECT_EQ(rec_kind(info), slot + 1) << slot;
    }
    EXPECT_EQ(check_workfile_version(), 1);
    get_info(header_slot);
    EXPECT_EQ(rec_i16(info, hdr::object_count), 36);

    // The work library is an empty library for `ctrlsize` symbols.
    std::int16_t lib = 0;
    ASSERT_EQ(FSRef_OpenMyFile(worklibFSRef, &lib), plat::noErr);
    ObjectRec h{};
    std::int64_t got = 0;
    plat::read_at(lib, 0, h.b, 128, &got);
    FSRef_CloseMyFile(&lib);
    EXPECT_EQ(rec_kind(h), rk_header);
    EXPECT_EQ(rec_i16(h, hdr::version), 70);
    EXPECT_EQ(rec_i16(h, hdr::lib_lastctrl), 4);
    EXPECT_EQ(rec_i16(h, hdr::lib_lastsymb), ctrlsize + 4);
    EXPECT_EQ(rec_i16(h, hdr::lib_maxctrls), ctrlsize);
}

TEST_F(Workfile, ASecondStartReusesTheFilesAndClearsTheFirst36Records) {
    ASSERT_EQ(setup_workfile(), 1);
    for (int n : {20, 35, 40}) {
        get_info(static_cast<std::int16_t>(n));
        set_rec_u16(info, o_word0, live_object_word);
        modified = 1;
    }
    TearDown();
    SetUp();
    ASSERT_EQ(setup_workfile(), 1);
    get_info(20);
    EXPECT_EQ(rec_word0(info), 0);
    get_info(35);
    EXPECT_EQ(rec_word0(info), 0);
    get_info(40);  // beyond the cleared area records are left as they were
    EXPECT_EQ(rec_word0(info), live_object_word);
}

TEST_F(Workfile, AFolderThatCannotHoldTheFilesIsReportedAtOnce) {
    UserAppSupportFSRef = FSRef{folder_ / "missing" / "folder"};
    answers().expect("could not prepare its work file");
    EXPECT_EQ(setup_workfile(), 0);
}

TEST_F(Workfile, SettingsRoundTripThroughTheSlots) {
    ASSERT_EQ(setup_workfile(), 1);
    cur_win = {-1, 11, -2, 7};
    bse_win = {0, 100, 0, 80};
    grid_data = {0.5, 0.1, 2, 0.25, 0.2, 4};
    units_defs.rotation_step = 0;
    units_defs.units_code = 9;
    std::strcpy(units_defs.abbrev, "m");
    output_defs.plot_scale = 0.02;
    output_defs.flags = 0x1FF;
    output_defs.dim_size_84 = 3.5;
    props_defs.level = 7;
    props_defs.z_top = 1.5f;
    std::strcpy(props_defs.name, "WALL");
    users_defs.fillet_radius = 2.5;
    users_defs.rddim_tol_bits = 0x1234;
    swaper = 0x5A5A;
    levels_visible[15] = 0x8001;
    levels_locked[3] = 0x0102;
    misc_defs.input_mode = 3;
    misc_defs.snap_mode = 2;
    misc_defs.user_origin_x = 5;
    number_of_objects = 40;

    const WindowRec cw = cur_win, bw = bse_win;
    const GridRec g = grid_data;
    const UnitsRec u = units_defs;
    const OutputRec o = output_defs;
    const PropsRec p = props_defs;
    const UsersRec us = users_defs;
    const std::uint16_t sw = swaper;
    write_sav_rec();

    cur_win = bse_win = {};
    grid_data = {};
    units_defs = {};
    output_defs = {};
    props_defs = {};
    users_defs = {};
    swaper = 0;
    std::memset(levels_visible, 0, sizeof levels_visible);
    std::memset(levels_locked, 0, sizeof levels_locked);
    misc_defs = {1, 4, 9, 9, {}, {}};
    viewport = {12, 500, 7, 400, 488, 393};
    scrn_x = scrn_y = -1;
    ASSERT_EQ(read_sav_rec(), 1);

    EXPECT_EQ(std::memcmp(&cur_win, &cw, sizeof cw), 0);
    EXPECT_EQ(std::memcmp(&bse_win, &bw, sizeof bw), 0);
    EXPECT_EQ(grid_data.y_spacing, g.y_spacing);
    EXPECT_EQ(grid_data.y_divisor, g.y_divisor);
    EXPECT_EQ(units_defs.units_code, u.units_code);
    EXPECT_EQ(units_defs.rotation_step, 0.0);  // 0 means no stepping and stays
    EXPECT_STREQ(units_defs.abbrev, "m");
    EXPECT_EQ(output_defs.flags, o.flags);
    EXPECT_EQ(output_defs.dim_size_84, o.dim_size_84);
    EXPECT_EQ(output_defs.plot_scale, o.plot_scale);
    EXPECT_EQ(props_defs.level, p.level);
    EXPECT_EQ(props_defs.z_top, p.z_top);
    EXPECT_STREQ(props_defs.name, "WALL");
    EXPECT_EQ(users_defs.fillet_radius, us.fillet_radius);
    EXPECT_EQ(users_defs.rddim_tol_bits, us.rddim_tol_bits);
    EXPECT_EQ(swaper, sw);
    EXPECT_EQ(levels_visible[15], 0x8001);
    EXPECT_EQ(levels_locked[3], 0x0102);
    // Only the input mode comes back; snap mode and origin stay the running program's.
    EXPECT_EQ(misc_defs.input_mode, 3);
    EXPECT_EQ(misc_defs.snap_mode, 4);
    EXPECT_EQ(misc_defs.user_origin_x, 9);
    EXPECT_EQ(keybrd_x, 5);
    EXPECT_EQ(keybrd_y, 2.5);
    // The screen cursor goes to the view's left and bottom pixel.
    EXPECT_EQ(scrn_x, 12);
    EXPECT_EQ(scrn_y, 7);
    get_info(header_slot);
    EXPECT_EQ(rec_i16(info, hdr::object_count), 40);
}

TEST_F(Workfile, WriteSavRecKeepsTheCallersRecord) {
    ASSERT_EQ(setup_workfile(), 1);
    number_of_objects = 50;
    get_info(45);
    set_rec_i16(info, 2, 4545);
    modified = 1;
    write_sav_rec();
    EXPECT_EQ(prev_index, 45);
    EXPECT_EQ(rec_i16(info, 2), 4545);
    EXPECT_EQ(modified, 0);
    nomore_info();
    get_info(44);
    get_info(45);
    EXPECT_EQ(rec_i16(info, 2), 4545);

    prev_index = -1;
    write_sav_rec();
    EXPECT_EQ(prev_index, 36);
}

TEST_F(Workfile, DrawingTimeCrossesMidnight) {
    ASSERT_EQ(setup_workfile(), 1);
    total_dwg_time = 1000;
    current_dwg_time = 86390;  // ten seconds before midnight; the fake clock says 09:00:00
    write_sav_rec();
    EXPECT_EQ(total_dwg_time, 1000u + 10 + 9 * 3600);
    get_info(header_slot);
    EXPECT_EQ(rec_u32(info, hdr::dwg_time), total_dwg_time);
}

TEST_F(Workfile, ASlotOfTheWrongKindIsReportedAndRefused) {
    ASSERT_EQ(setup_workfile(), 1);
    grid_data.x_spacing = 3;
    swaper = 77;
    write_sav_rec();
    get_info(3);
    set_rec_kind(info, 5);
    modified = 1;
    grid_data.x_spacing = 0;
    swaper = 0;
    answers().expect("output settings are damaged");
    EXPECT_EQ(read_sav_rec(), 0);
    EXPECT_EQ(grid_data.x_spacing, 3);  // slots 0-2 were restored
    EXPECT_EQ(swaper, 0);               // slot 3 and after were not
}

TEST_F(Workfile, SettingsADrawingCannotWorkWithFallBackToStartValues) {
    ASSERT_EQ(setup_workfile(), 1);
    write_sav_rec();
    get_info(2);
    set_rec_f64(info, 2 + 0, std::numeric_limits<double>::quiet_NaN());  // grid x spacing
    set_rec_i16(info, 38 + 36, 40);                                      // units code
    set_rec_f64(info, 38 + 40, 0);                                       // unit size
    set_rec_f64(info, 38 + 0, 0);                                        // increment
    set_rec_f64(info, 38 + 8, 0);                                        // rotation step 0 stays
    modified = 1;
    get_info(5);
    set_rec_f64(info, 2 + 0, -1);                                        // hatch spacing
    set_rec_f64(info, 2 + 30, std::numeric_limits<double>::infinity());  // fillet radius
    modified = 1;
    get_info(1);
    set_rec_f64(info, 2 + 8, std::numeric_limits<double>::infinity());   // cur_win x right
    modified = 1;
    ASSERT_EQ(read_sav_rec(), 1);
    EXPECT_EQ(grid_data.x_spacing, 0.0);
    EXPECT_EQ(units_defs.units_code, 2);
    EXPECT_STREQ(units_defs.abbrev, "in");
    EXPECT_EQ(units_defs.unit_size, 1.0);
    EXPECT_EQ(units_defs.increment, 1.0 / 64);
    EXPECT_EQ(units_defs.rotation_step, 0.0);
    EXPECT_EQ(users_defs.hatch_spacing, 0.25);
    EXPECT_EQ(users_defs.fillet_radius, 0.0);
    EXPECT_TRUE(std::isfinite(cur_win.xr));
}

TEST_F(Workfile, ALibraryThatCannotBeOpenedIsReported) {
    answers().expect("symbol library could not be opened");
    EXPECT_EQ(FSRef_init_library(FSRef{folder_ / "no-such-library"}, 512, 10, 1), 0);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "no-such-library"));
}
