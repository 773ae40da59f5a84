#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/core/string_table.h"
#include "platform/ui/preferences.h"
#include "shell/preferences.h"
#include "tests/support/harness.h"

using namespace drav;

namespace {

class Preferences : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove(plat::preferences_file());
        plat::close_prefs();
    }
    // Preferences as another program might have left them.
    static void write_raw(const std::string& ini) {
        plat::close_prefs();
        std::filesystem::create_directories(plat::preferences_file().parent_path());
        std::ofstream(plat::preferences_file()) << ini;
    }
};

}  // namespace

TEST_F(Preferences, EmptyPreferencesGiveTheDefaults) {
    PrefsRec r{};
    r.grid_color = 1;
    r.status_pos = {5, 5};
    getprefs(&r);
    EXPECT_EQ(r.double_click_mode, 0);
    EXPECT_EQ(r.background_color, 0);
    EXPECT_EQ(r.cur_obj_color, 14);
    EXPECT_EQ(r.cur_hp_color, 14);
    EXPECT_EQ(r.grid_color, 255);
    EXPECT_EQ(r.coord_visible + r.mess_visible + r.add_visible, 3);
    EXPECT_EQ(r.loc_visible + r.prop_visible + r.const_visible + r.dim_visible + r.hatch_visible, 0);
    EXPECT_EQ(r.status_pos, plat::Point{});
    EXPECT_EQ(r.hatch_pos_lr, plat::Point{});
    EXPECT_EQ(r.wind_pos_messages, plat::Point{});
    EXPECT_EQ(r.drawing_window, plat::Rect{});
    EXPECT_EQ(r.debug_window, plat::Point{});
    EXPECT_EQ(r.object_size, 15000);
    EXPECT_EQ(r.symbol_size, 10000);
    EXPECT_EQ(r.ctrl_size, 5000);
    EXPECT_EQ(r.hatch_size, 1024);
    EXPECT_EQ(r.scroll_pages, 33);
    EXPECT_EQ(r.single_scroll, 0.1);
    EXPECT_EQ(r.page_scroll, 0.5);
    EXPECT_EQ(r.fast_specs, 0);
    EXPECT_EQ(r.architect_on_menu + r.mechanical_on_menu + r.plot_color_options + r.plot_width_options, 4);
    EXPECT_EQ(global_prefs, r);
}

TEST_F(Preferences, EveryKeyKindRoundTripsThroughTheFile) {
    PrefsRec r{};
    getprefs(&r);
    r.double_click_mode = 1;
    r.grid_color = 200;
    r.hatch_visible = 1;
    r.status_pos = {-20, 30};
    r.multi_pos_lr = {400, 500};
    r.wind_pos_add_remove = {7, 8};
    r.drawing_window = {40, 2, 700, 1000};
    r.library_window = {-32768, 32767};
    r.object_size = 20000;
    r.single_scroll = 0.125;
    r.page_scroll = 1.0 / 3.0;
    r.plot_width_options = 0;
    putprefs(&r);
    EXPECT_TRUE(std::filesystem::exists(plat::preferences_file()));
    plat::close_prefs();  // read back from disk, not from memory
    PrefsRec back{};
    getprefs(&back);
    EXPECT_EQ(back, r);
}

TEST_F(Preferences, ValuesWrittenByOthersNeverComeBackAsGarbage) {
    write_raw(
        "[General]\n"
        "ObjectSize=70000\n"           // low 16 bits: 4464
        "SymbolSize=lots\n"            // not a number: default
        "CtrlSize=1, 2\n"              // a list: default
        "HatchSize=99999999999\n"      // past 32 bits: default
        "SingleScroll=nan\n"
        "PageScroll=0.75\n"
        "StatusPos=1\n"                // short array: zeros
        "CoordPos=1, 2, 3\n"           // long array: zeros
        "AddPos=5, x\n"
        "LocPos=3, 4\n"
        "DrawingWindow=1, 2, 3\n"
        "LibraryWindow=100000, 2\n");  // past 16 bits: zeros
    PrefsRec r{};
    getprefs(&r);
    EXPECT_EQ(r.object_size, 4464);
    EXPECT_EQ(r.symbol_size, 10000);
    EXPECT_EQ(r.ctrl_size, 5000);
    EXPECT_EQ(r.hatch_size, 1024);
    EXPECT_EQ(r.single_scroll, 0.1);
    EXPECT_EQ(r.page_scroll, 0.75);
    EXPECT_EQ(r.status_pos, plat::Point{});
    EXPECT_EQ(r.coord_pos, plat::Point{});
    EXPECT_EQ(r.add_pos, plat::Point{});
    EXPECT_EQ(r.loc_pos, (plat::Point{3, 4}));
    EXPECT_EQ(r.drawing_window, plat::Rect{});
    EXPECT_EQ(r.library_window, plat::Point{});
}

TEST_F(Preferences, DefaultReadersTakeTheNumberAtTheStart) {
    const auto dir = drav::test::scratch_dir() / "bundle";
    std::filesystem::create_directories(dir / "strings");
    std::ofstream(dir / "strings" / "strings.txt") << "413,1\t15000 records\n"
                                                      "413,2\t-3\n"
                                                      "413,3\t70000\n"
                                                      "413,4\t2.54 cm\n"
                                                      "413,5\tnone\n";
    setenv("DRAVELIN_DATA", dir.c_str(), 1);
    plat::reload_strings();
    EXPECT_EQ(get_default_integer(413, 1), 15000);
    EXPECT_EQ(get_default_integer(413, 2), -3);
    EXPECT_EQ(get_default_boolean(413, 2), 65533);
    EXPECT_EQ(get_default_integer(413, 3), 4464);
    EXPECT_EQ(get_default_integer(413, 99), 413);  // a missing entry reads as its key
    EXPECT_EQ(get_default_real(413, 4), 2.54);
    EXPECT_EQ(get_default_real(413, 5), 0.0);
    EXPECT_EQ(get_default_integer(413, 5), 0);
    unsetenv("DRAVELIN_DATA");
    plat::reload_strings();
}
