// The construct palette in the running program (its menu toggle, grey items,
// clicks, double clicks and postponed clicks, its place) and its option
// dialogs driven by typed text and item hits.
#include <gtest/gtest.h>

#include <QWidget>
#include <numbers>
#include <set>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/menu_items.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "platform/core/raster.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/events.h"
#include "platform/ui/menus.h"
#include "platform/ui/windows.h"
#include "platform/ui/windows_qt.h"
#include "shell/construct_palette.h"
#include "shell/dimension_palette.h"
#include "shell/dispatch.h"
#include "shell/event_pump.h"
#include "shell/tool_palette.h"
#include "store/files.h"
#include "store/geometry.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/settings.h"
#include "store/undo.h"
#include "tests/support/drawing_file.h"
#include "tests/dialogs/settings_fixture.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

using namespace drav;
using namespace drav::test;

namespace {

constexpr const char* out_of_range = "out of range";

DialogPtr front() { return plat::front_dialog(); }
bool visible(int item) { return plat::item_visible(plat::dialog_item(front(), item)); }
bool enabled(int item) { return plat::item_hilite(plat::dialog_item(front(), item)) != 255; }
bool focused(int item) { return plat::focus_item(front()) == plat::dialog_item(front(), item); }

// What the fake construction command saw.
int g_runs = 0;
int g_last_n = -1;
int g_constnum_seen = 0;
// Each test counts its own runs.
void fresh_counts() {
    g_runs = 0;
    g_last_n = -1;
    g_constnum_seen = 0;
}
void fake_construct(int n) {
    ++g_runs;
    g_last_n = n;
    g_constnum_seen = constnum;
}

// A click on a palette item as the window system reports it; with the
// option key a double click (the double-click mode the tests set).
Session& click(Session& s, plat::Dialog** palette, int item, bool twice = false) {
    return s.then([palette, item, twice] {
        ASSERT_NE(*palette, nullptr);
        const plat::Rect b = plat::dialog_bounds(*palette);
        plat::EventRecord e;
        e.what = plat::mouseDown;
        e.dialog = *palette;
        e.item = static_cast<std::int16_t>(item);
        e.modifiers = twice ? plat::optionKey : 0;
        e.where = plat::Point{static_cast<std::int16_t>(b.top + 4), static_cast<std::int16_t>(b.left + 4)};
        post(e);
    });
}

// Double clicks are told by the option key alone.
void option_double_clicks() { objopts->dblclick_mode = 1; }

}  // namespace

// ---- the palettes in the running program ----

struct PaletteCase {
    char code[5];
    plat::Dialog** dialog;
    int first, last;
    int left;  // default place: from the screen's left edge
};
const PaletteCase palette_cases[] = {{"PLcs", &constDPtr, 2, 9, 23}, {"PLdm", &dimDPtr, 2, 5, 3}};

// One program run a process: each palette has its own test.
class CommandPaletteToggle : public testing::TestWithParam<int> {};

TEST_P(CommandPaletteToggle, TheMenuItemAndTheCloseBoxToggleItAndTheCheckMarkFollows) {
    {
        const PaletteCase& c = palette_cases[GetParam()];
        Session s;
        s.then([&c] {
            EXPECT_EQ(*c.dialog, nullptr);
            EXPECT_EQ(plat::menu_item_mark(4, four_cc(c.code)), plat::noMark);
        });
        s.menu(4, c.code);
        s.then([&c] {
            ASSERT_NE(*c.dialog, nullptr);
            EXPECT_TRUE(plat::dialog_visible(*c.dialog));
            EXPECT_EQ(plat::menu_item_mark(4, four_cc(c.code)), plat::checkMark);
            // No place was kept: the bottom-left corner of the screen.
            const plat::Rect b = plat::dialog_bounds(*c.dialog);
            const plat::Rect screen = plat::screen_bounds();
            EXPECT_EQ(b.left, screen.left + c.left);
            EXPECT_EQ(b.bottom, screen.bottom - 3);
            // No command of theirs is built: every square is grey.
            for (int i = c.first; i <= c.last; ++i) EXPECT_EQ(plat::item_hilite(plat::dialog_item(*c.dialog, i)), 255);
            plat::dialog_widget(*c.dialog)->close();  // the close box
        });
        s.then([&c] {
            EXPECT_EQ(*c.dialog, nullptr) << c.code;
            EXPECT_EQ(plat::menu_item_mark(4, four_cc(c.code)), plat::noMark);
        });
        s.menu(4, c.code);
        s.then([&c] { EXPECT_NE(*c.dialog, nullptr); });
        s.menu(4, c.code);
        s.then([&c] { EXPECT_EQ(*c.dialog, nullptr); });
        EXPECT_EQ(s.run(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(ConstructAndDimension, CommandPaletteToggle, testing::Values(0, 1));

TEST(ConstructPalette, ABuiltItemStartsItsCommandAndAGreyItemDoesNothing) {
    fresh_counts();
    construct_commands[4] = fake_construct;  // the fillet switched on
    Session s;
    s.then(option_double_clicks);
    s.menu(4, "PLcs");
    s.then([] {
        EXPECT_EQ(plat::item_hilite(plat::dialog_item(constDPtr, 4)), 0);
        EXPECT_EQ(plat::item_hilite(plat::dialog_item(constDPtr, 5)), 255);
    });
    click(s, &constDPtr, 5);
    s.then([] { EXPECT_EQ(g_runs, 0); });
    click(s, &constDPtr, 4);
    s.then([] {
        EXPECT_EQ(g_runs, 1);
        EXPECT_EQ(g_last_n, 3);          // construct(item - 1)
        EXPECT_EQ(g_constnum_seen, 4);   // the item shows highlighted meanwhile
        EXPECT_EQ(constnum, 0);
    });
    EXPECT_EQ(s.run(), 0);
    construct_commands[4] = nullptr;
}

TEST(ConstructPalette, ADoubleClickOnAGreyItemOpensItsOptionsAndOkStartsNothing) {
    fresh_counts();
    Session s;
    s.then(option_double_clicks);
    s.menu(4, "PLcs");
    click(s, &constDPtr, 6, true);  // perpendicular
    s.then([] {
        EXPECT_EQ(constnum, 6);  // while its options are open
        EXPECT_TRUE(focused(4));
    });
    s.type(4, "2.5").hit(1);
    s.then([] {
        EXPECT_EQ(objopts->normal_value, 2.5);
        EXPECT_EQ(constnum, 0);
        EXPECT_EQ(postponed_code(), 0);
        EXPECT_EQ(g_runs, 0);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(ConstructPalette, AClickWhileACommandRunsEndsItAndStartsTheItemAfterwards) {
    fresh_counts();
    construct_commands[7] = fake_construct;
    Session s;
    s.then(option_double_clicks);
    s.menu(4, "PLcs");
    // A running command that reads input until it is told to quit.
    s.then([] {
        setidle(0);
        quit = 0;
        int passes = 0;
        while (!quit && ++passes < 1000) gobbleoskeys(plat::everyEvent);
        EXPECT_EQ(quit, 1);
        EXPECT_EQ(g_runs, 0);  // not started inside the running command
        EXPECT_EQ(postponed_code(), pp_construct);
        setidle(1);
    });
    click(s, &constDPtr, 7);
    s.then([] {
        EXPECT_EQ(g_runs, 1);
        EXPECT_EQ(g_last_n, 6);
        EXPECT_EQ(postponed_code(), 0);
    });
    EXPECT_EQ(s.run(), 0);
    construct_commands[7] = nullptr;
}

TEST(CommandPalettes, TheirPlacesAndVisibilityComeBackAfterARestart) {
    {
        Session s;
        s.menu(4, "PLcs").menu(4, "PLdm");
        s.then([] {
            ASSERT_NE(constDPtr, nullptr);
            ASSERT_NE(dimDPtr, nullptr);
            plat::move_dialog(constDPtr, 300, 200);
            plat::move_dialog(dimDPtr, 420, 260);
        });
        EXPECT_EQ(s.run(), 0);
    }
    {
        Session s;
        s.then([] {
            ASSERT_NE(constDPtr, nullptr);
            ASSERT_NE(dimDPtr, nullptr);
            EXPECT_EQ(plat::dialog_bounds(constDPtr).left, 300);
            EXPECT_EQ(plat::dialog_bounds(constDPtr).top, 200);
            EXPECT_EQ(plat::dialog_bounds(dimDPtr).left, 420);
            EXPECT_EQ(plat::dialog_bounds(dimDPtr).top, 260);
            EXPECT_EQ(plat::menu_item_mark(4, four_cc("PLcs")), plat::checkMark);
        });
        s.menu(4, "PLdm");  // closed at quit
        EXPECT_EQ(s.run(), 0);
    }
    {
        Session s;
        s.then([] {
            EXPECT_NE(constDPtr, nullptr);
            EXPECT_EQ(dimDPtr, nullptr);
        });
        s.menu(4, "PLdm");  // reopened where it was last
        s.then([] {
            ASSERT_NE(dimDPtr, nullptr);
            EXPECT_EQ(plat::dialog_bounds(dimDPtr).left, 420);
        });
        EXPECT_EQ(s.run(), 0);
    }
}

TEST(CommandPalettes, EveryItemHasALegibleIconAtBothScales) {
    const struct {
        const char* stem;
        int first, last;
    } sets[] = {{"construct", 2, 9}, {"dimension", 2, 5}, {"dimext", 0, 3}, {"dimmark", 0, 5}};
    for (const auto& set : sets)
        for (int n = set.first; n <= set.last; ++n) {
            const ToolIcon one = load_palette_icon(set.stem, n, 1), two = load_palette_icon(set.stem, n, 2);
            ASSERT_EQ(one.size, 16) << set.stem << n;
            ASSERT_EQ(two.size, 32) << set.stem << n;
            int ink1 = 0, ink2 = 0;
            for (auto b : one.bits) ink1 += b;
            for (auto b : two.bits) ink2 += b;
            EXPECT_GT(ink1, 8) << set.stem << n;
            EXPECT_LT(ink1, 16 * 16 / 2) << set.stem << n;
            EXPECT_GT(ink2, 2 * ink1) << set.stem << n;
            EXPECT_LT(ink2, 8 * ink1) << set.stem << n;
        }
}

// ---- the option dialogs ----

class ConstructDialogs : public SettingsWindows {
protected:
    void SetUp() override {
        SettingsWindows::SetUp();
        inconbreak = 0;
        constnum = 0;
        users_defs.fillet_radius = 0.5;
        users_defs.iso_angle = std::numbers::pi / 6;
    }
};

TEST_F(ConstructDialogs, AChamferAngleOfMinus90IsStoredAsThreeHalfPi) {
    Session s;
    s.then([] { EXPECT_TRUE(focused(4)); });
    s.type(4, "-90").hit(1);
    int result = -1;
    EXPECT_EQ(changes(s, chamsetup, &result), Names{"objopts.chamfer_value1"});
    EXPECT_EQ(result, 1);
    EXPECT_NEAR(objopts->chamfer_value1, 3 * std::numbers::pi / 2, 1e-12);
}

TEST_F(ConstructDialogs, AnIsometricAngleOf90IsRefusedAndTheFieldStaysCurrent) {
    Session s;
    s.type(9, "90").hit(1);
    s.then([] {
        EXPECT_TRUE(focused(9));
        EXPECT_EQ(plat::item_text(plat::dialog_item(front(), 9)), "90");
    });
    s.hit(4);  // another item waits for the field too
    s.then([] { EXPECT_EQ(getvalue(front(), 4), 0); });
    s.type(9, "45").hit(4).hit(1);
    answers().expect(out_of_range);
    answers().expect(out_of_range);
    int result = -1;
    EXPECT_EQ(changes(s, isosetup, &result), (Names{"objopts.iso_opt1", "users_defs.iso_angle"}));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(objopts->iso_opt1, 2);
    EXPECT_NEAR(users_defs.iso_angle, std::numbers::pi / 4, 1e-12);
}

TEST_F(ConstructDialogs, AParallelCountOf0IsRefusedAnd32767Accepted) {
    objopts->par_opt1 = 1;  // several copies: the count shows
    Session s;
    s.then([] {
        EXPECT_TRUE(visible(8));
        EXPECT_FALSE(visible(6));
    });
    s.type(8, "0").hit(1);
    s.then([] { EXPECT_TRUE(focused(8)); });
    s.type(8, "32767").hit(1);
    answers().expect(out_of_range);
    int result = -1;
    EXPECT_EQ(changes(s, parallelsetup, &result), Names{"objopts.par_opt4"});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(objopts->par_opt4, 32767);
}

TEST_F(ConstructDialogs, TheParallelCopiesBoxSwapsTheArcDirectionForTheCount) {
    Session s;
    s.then([] {
        EXPECT_TRUE(visible(6));
        EXPECT_FALSE(visible(7));
        EXPECT_FALSE(visible(8));
    });
    s.hit(5);
    s.then([] {
        EXPECT_FALSE(visible(6));
        EXPECT_TRUE(visible(8));
    });
    s.type(4, "1.5").type(8, "3").hit(1);
    int result = -1;
    EXPECT_EQ(changes(s, parallelsetup, &result),
              (Names{"objopts.par_opt1", "objopts.par_opt4", "users_defs.parallel_distance"}));
    EXPECT_EQ(users_defs.parallel_distance, 1.5);
    EXPECT_EQ(objopts->par_opt4, 3);
}

struct BreakCase {
    const char* name;
    int opt1, opt2, opt5;
    std::uint16_t running;
    std::vector<int> hits;
    std::set<int> shown;    // of items 6-15
    std::set<int> enabled;  // of items 3-5
};

TEST_F(ConstructDialogs, TheBreakDialogShowsTheItemsOfTheChosenCommand) {
    const BreakCase cases[] = {
        {"fence, remove: no group box", 1, 1, 1, 0, {}, {6, 7, 8}, {3, 4, 5}},
        {"fence, slice", 1, 2, 1, 0, {}, {6, 7, 8, 9}, {3, 4, 5}},
        {"fence, then copy", 1, 1, 1, 0, {8}, {6, 7, 8, 9}, {3, 4, 5}},
        {"break, keep the piece", 2, 1, 0, 0, {}, {12, 13}, {3, 4, 5}},
        {"break, delete the piece", 2, 1, 1, 0, {}, {12, 13, 14, 15}, {3, 4, 5}},
        {"break, then delete", 2, 1, 0, 0, {13}, {12, 13, 14, 15}, {3, 4, 5}},
        {"cut", 3, 1, 1, 0, {}, {10, 11}, {3, 4, 5}},
        {"fence, then cut", 1, 2, 1, 0, {5}, {10, 11}, {3, 4, 5}},
        {"cut, then fence", 3, 1, 1, 0, {3}, {6, 7, 8, 9}, {3, 4, 5}},
        {"cut, then break", 3, 1, 1, 0, {4}, {12, 13, 14, 15}, {3, 4, 5}},
        {"while the break runs", 2, 1, 0, 1, {}, {12, 13}, {4}},
    };
    for (const BreakCase& c : cases) {
        objopts->break_opt1 = static_cast<std::int16_t>(c.opt1);
        objopts->break_opt2 = static_cast<std::int16_t>(c.opt2);
        objopts->break_opt5 = static_cast<std::int16_t>(c.opt5);
        inconbreak = c.running;
        Session s;
        for (int h : c.hits) s.hit(h);
        s.then([&c] {
            std::set<int> shown, live;
            for (int i = 6; i <= 15; ++i)
                if (visible(i)) shown.insert(i);
            for (int i = 3; i <= 5; ++i)
                if (enabled(i)) live.insert(i);
            EXPECT_EQ(shown, c.shown) << c.name;
            EXPECT_EQ(live, c.enabled) << c.name;
        });
        s.hit(2);
        int result = -1;
        EXPECT_EQ(changes(s, breaksetup, &result), Names{}) << c.name;
        EXPECT_EQ(result, 0);
    }
}

TEST_F(ConstructDialogs, BreakOkStoresEveryGroup) {
    Session s;
    s.hit(4).hit(13).hit(14).hit(3).hit(7).hit(9).hit(1);
    int result = -1;
    EXPECT_EQ(changes(s, breaksetup, &result),
              (Names{"objopts.break_opt2", "objopts.break_opt3", "objopts.break_opt6"}));
    EXPECT_EQ(objopts->break_opt1, 1);
    EXPECT_EQ(objopts->break_opt2, 2);
    EXPECT_EQ(objopts->break_opt3, 1);
    EXPECT_EQ(objopts->break_opt5, 1);
    EXPECT_EQ(objopts->break_opt6, 0);
}

TEST_F(ConstructDialogs, ExtendFilletAndPerpendicularStoreTheirFields) {
    {
        Session s;
        s.then([] { EXPECT_FALSE(visible(5)); });  // automatic: no trim question
        s.hit(3);
        s.then([] { EXPECT_TRUE(visible(5)); });
        s.hit(5).hit(1);
        int result = -1;
        EXPECT_EQ(changes(s, extsetup, &result), (Names{"objopts.extend_opt1", "objopts.extend_opt2"}));
        EXPECT_EQ(objopts->extend_opt1, 0);
        EXPECT_EQ(objopts->extend_opt2, 0);
    }
    {
        Session s;
        s.type(4, "-1").hit(9);
        s.type(4, "2").hit(9).hit(5).hit(1);
        answers().expect(out_of_range);
        int result = -1;
        EXPECT_EQ(changes(s, fillsetup, &result),
                  (Names{"objopts.fillet_opt1", "objopts.fillet_opt2", "users_defs.fillet_radius"}));
        EXPECT_EQ(users_defs.fillet_radius, 2.0);
        EXPECT_EQ(objopts->fillet_opt1, 2);
        EXPECT_EQ(objopts->fillet_opt2, 0);
    }
    {
        Session s;
        s.type(4, "-1").hit(1).type(4, "0").hit(1);  // 0 is allowed here
        answers().expect(out_of_range);
        objopts->normal_value = 3.0;
        int result = -1;
        EXPECT_EQ(changes(s, normalsetup, &result), Names{"objopts.normal_value"});
        EXPECT_EQ(objopts->normal_value, 0.0);
    }
}

TEST_F(ConstructDialogs, OkWhileTheSameCommandRunsDoesNotRestartIt) {
    fresh_counts();
    construct_commands[7] = fake_construct;
    construct_commands[4] = fake_construct;
    Session s;
    s.type(4, "2").hit(1);  // the parallel's options, while the parallel runs
    s.then([] {
        EXPECT_EQ(g_runs, 0);
        EXPECT_EQ(postponed_code(), 0);
        EXPECT_EQ(quit, 0);
        EXPECT_EQ(constnum, 4);  // the fillet's options are open now
    });
    s.hit(1);
    s.drive([] {
        setidle(0);
        constnum = 7;
        construct_doubleclick(7);
        construct_doubleclick(4);
    });
    EXPECT_EQ(users_defs.parallel_distance, 2.0);
    EXPECT_EQ(constnum, 7);
    // The running command ends; the fillet waits for the pump.
    EXPECT_EQ(g_runs, 0);
    EXPECT_EQ(quit, 1);
    EXPECT_EQ(postponed_code(), pp_construct);
    construct_commands[7] = construct_commands[4] = nullptr;
}

TEST_F(ConstructDialogs, CancelStoresNothingAndStartsNothing) {
    fresh_counts();
    construct_commands[5] = fake_construct;
    Session s;
    s.type(4, "30").hit(2);
    int result = -1;
    EXPECT_EQ(changes(s, [] { construct_doubleclick(5); return 0; }, &result), Names{});
    EXPECT_EQ(g_runs, 0);
    construct_commands[5] = nullptr;
}

namespace {

int g_dim_runs = 0;
int g_dim_item = 0;
int g_dimnum_seen = 0;
void fake_dimension(int item) {
    ++g_dim_runs;
    g_dim_item = item;
    g_dimnum_seen = dimnum;
}

}  // namespace

TEST(DimensionPalette, AClickWhileACommandRunsIsPostponedThenRunsTheItem) {
    dimension_commands[3] = fake_dimension;  // the angular dimension switched on
    Session s;
    s.then(option_double_clicks);
    s.menu(4, "PLdm");
    s.then([] {
        EXPECT_EQ(plat::item_hilite(plat::dialog_item(dimDPtr, 3)), 0);
        EXPECT_EQ(plat::item_hilite(plat::dialog_item(dimDPtr, 2)), 255);
    });
    click(s, &dimDPtr, 2);  // grey: nothing
    s.then([] {
        EXPECT_EQ(g_dim_runs, 0);
        setidle(0);
        quit = 0;
        int passes = 0;
        while (!quit && ++passes < 1000) gobbleoskeys(plat::everyEvent);
        EXPECT_EQ(g_dim_runs, 0);
        EXPECT_EQ(postponed_code(), pp_dimension);
        setidle(1);
    });
    click(s, &dimDPtr, 3);
    s.then([] {
        EXPECT_EQ(g_dim_runs, 1);
        EXPECT_EQ(g_dim_item, 3);       // dim_objects(item)
        EXPECT_EQ(g_dimnum_seen, 3);    // shown highlighted meanwhile
        EXPECT_EQ(dimnum, 0);
    });
    EXPECT_EQ(s.run(), 0);
    dimension_commands[3] = nullptr;
}

TEST(CommandPalettes, AKeyEquivalentOpensTheClosedPaletteAndDoubleClicksTheItem) {
    Session s;
    s.then([] {
        EXPECT_EQ(constDPtr, nullptr);
        do_dc_constructcmd(5);  // the chamfer's options
    });
    s.then([] {
        EXPECT_NE(constDPtr, nullptr);
        EXPECT_EQ(constnum, 5);
    });
    s.type(6, "0.75").hit(1);
    s.then([] {
        EXPECT_EQ(objopts->chamfer_value2, 0.75);
        EXPECT_EQ(constnum, 0);
    });
    EXPECT_EQ(s.run(), 0);
}

// ---- the selection highlight while a palette's command runs ----

namespace {

constexpr std::int16_t marker_colour = 3;
bool g_marker_during = true;

// The middle pixel of the handle marker in the marker's colour.
bool marker_shown() {
    const plat::Rect r = handRect;
    return drawCWindow->pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2) ==
           plat::pixel_of(dravColors[marker_colour]);
}

void probe_marker(int) { g_marker_during = marker_shown(); }

// A line in the middle of the view, current and highlighted.
void select_a_line() {
    objopts->handle_colour = marker_colour;
    const double cx = (cur_win.xl + cur_win.xr) / 2, cy = (cur_win.yb + cur_win.yt) / 2;
    do_operation(op_add, 0, 0, 0, 0, 0, 0);
    get_info(number_of_objects);
    info = line_record(cx, cy, (cur_win.xr - cur_win.xl) / 8, 0);
    indx = number_of_objects;
    ASSERT_EQ(save_object(), 1);
    showonoff(indx, 1);
    ASSERT_TRUE(marker_shown());
}

struct HighlightCase {
    char code[5];
    plat::Dialog** dialog;
    PaletteCommand* commands;
    int item;
};
const HighlightCase highlight_cases[] = {{"PLcs", &constDPtr, construct_commands, 4},
                                         {"PLdm", &dimDPtr, dimension_commands, 3}};

class CommandHighlight : public testing::TestWithParam<int> {};

}  // namespace

TEST_P(CommandHighlight, TheSelectionIsShownPlainWhileTheCommandRunsAndHighlightedAfter) {
    const HighlightCase& c = highlight_cases[GetParam()];
    c.commands[c.item] = probe_marker;
    Session s;
    s.then(option_double_clicks);
    s.menu(4, c.code);
    s.then(select_a_line);
    click(s, c.dialog, c.item);
    s.then([] {
        EXPECT_FALSE(g_marker_during);
        EXPECT_TRUE(marker_shown());
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
    c.commands[c.item] = nullptr;
}

INSTANTIATE_TEST_SUITE_P(ConstructAndDimension, CommandHighlight, testing::Values(0, 1));
