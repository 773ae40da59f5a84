// The real program, started, driven and ended by a script.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/idle.h"
#include "display/display_list.h"
#include "display/list_replay.h"
#include "display/list_view.h"
#include "display/redraw.h"
#include "display/screen.h"
#include "platform/core/lock.h"
#include "platform/ui/windows.h"
#include "platform/ui/windows_qt.h"
#include "shell/startup.h"
#include "store/record_store.h"
#include "store/records.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

#include <csignal>

#include "base/command_loop.h"
#include "base/shutdown.h"
#include "platform/core/clock.h"
#include "platform/core/process.h"
#include "platform/ui/events.h"
#include "platform/ui/menus.h"
#include "platform/ui/preferences.h"
#include "shell/event_pump.h"
#include "shell/preferences.h"
#include "shell/tool_options.h"
#include "store/files.h"

using namespace drav;
using drav::test::Session;

TEST(Program, StartsWithAnEmptyDrawingAndQuitsCleanly) {
    Session s;
    std::filesystem::path folder;
    std::string scratch[3];
    s.then([&] {
        folder = UserAppSupportFSRef.path;
        EXPECT_EQ(number_of_objects, 36);
        EXPECT_EQ(getidle(), 1);
        for (int slot = 0; slot <= 6; ++slot) {
            get_info(static_cast<std::int16_t>(slot));
            EXPECT_EQ(rec_kind(info), slot + 1) << slot;
        }
        plat::Window* w = whichdrawWindow();
        EXPECT_TRUE(plat::window_visible(w));
        // No stored place: the default frame inside the 1024 x 768 screen.
        EXPECT_EQ(plat::window_bounds(w), (plat::Rect{43, 54, 733, 1021}));
        EXPECT_EQ(drawRect, (plat::Rect{0, 0, 690 - 15, 967 - 15}));
        EXPECT_EQ(plat::window_title(w), "Untitled");
        // Nothing can be undone yet, and the Edit menu says so.
        EXPECT_EQ(plat::menu_item_text(2, four_cc("undo")).rfind("Undo", 0), 0u);
        EXPECT_FALSE(plat::menu_item_enabled(2, four_cc("undo")));
        EXPECT_TRUE(plat::menu_item_enabled(1, four_cc("quit")));
        // The display list is in the driver table, installed, and its view keys usable.
        EXPECT_EQ(listdriver.showseg, &_showseg);
        EXPECT_EQ(listinstalled(), 1);
        EXPECT_EQ(listavail(), 1);
        EXPECT_EQ(zoom_arrows, 1);
        EXPECT_EQ(cursor_mag, 1);
        // The scratch files named at start are removed at a normal exit.
        for (int i = 0; i < 3; ++i) {
            scratch[i] = dfilenames + i * dfilename_size;
            std::ofstream(folder / scratch[i]) << "x";
        }
    });
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(drav::test::answers().shown().empty());  // starting and quitting ask nothing
    for (const auto& name : scratch) EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
    EXPECT_TRUE(std::filesystem::exists(folder / "workfile"));
    EXPECT_TRUE(std::filesystem::exists(folder / "worklibrary"));
    EXPECT_EQ(listinstalled(), 0);  // released at exit
}

TEST(Program, ASecondInstanceOnTheSameDataFolderIsRefused) {
    plat::FolderLock other = plat::lock_folder(plat::user_data_dir());
    ASSERT_TRUE(other.held());
    drav::test::answers().expect("already running");
    Session s;
    EXPECT_EQ(s.run(), 1);
    EXPECT_FALSE(std::filesystem::exists(plat::user_data_dir() / "workfile"));
    EXPECT_TRUE(drav::test::answers().done());
}

TEST(Program, AStoredWindowPlaceOnTheScreenIsUsed) {
    PutRectPref("DrawingWindow", plat::Rect{100, 120, 500, 700});
    plat::sync_prefs();
    Session s;
    s.then([] { EXPECT_EQ(plat::window_bounds(whichdrawWindow()), (plat::Rect{100, 120, 500, 700})); });
    EXPECT_EQ(s.run(), 0);
}

TEST(Program, AStoredWindowPlaceOffTheScreenGivesTheDefault) {
    PutRectPref("DrawingWindow", plat::Rect{2000, 3000, 2400, 3500});
    plat::sync_prefs();
    Session s;
    s.then([] { EXPECT_EQ(plat::window_bounds(whichdrawWindow()), (plat::Rect{43, 54, 733, 1021})); });
    EXPECT_EQ(s.run(), 0);
}

TEST(Program, KeepWorkfileLeavesTheScratchFiles) {
    Session s;
    std::filesystem::path a, b, hatch;
    s.then([&] {
        keep_workfile = 1;
        a = UserAppSupportFSRef.path / dfilenames;
        b = UserAppSupportFSRef.path / (dfilenames + dfilename_size);
        hatch = UserAppSupportFSRef.path / (dfilenames + 2 * dfilename_size);
        for (const auto& p : {a, b, hatch}) std::ofstream(p) << "x";
    });
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(std::filesystem::exists(a));
    EXPECT_TRUE(std::filesystem::exists(b));
    EXPECT_FALSE(std::filesystem::exists(hatch));  // removed whatever keep_workfile says
}

TEST(Program, QuitFromTheMenuEndsWithStatusZero) {
    Session s;
    s.menu(1, "quit").ends();
    EXPECT_EQ(s.run(), 0);
}

// SIGTERM from the session, SIGINT from Ctrl-C, SIGHUP when the terminal closes.
class Termination : public testing::TestWithParam<int> {};

TEST_P(Termination, EndsNormallyWithoutQuestions) {
    Session s;
    s.then([] {
        needtosave = 1;  // unsaved changes would otherwise ask
        std::raise(GetParam());
    });
    s.ends();
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(drav::test::answers().shown().empty());

    // The next start in this process is not ended by the old signal.
    Session again;
    bool ran = false;
    again.then([&] { ran = true; });
    EXPECT_EQ(again.run(), 0);
    EXPECT_TRUE(ran);
}

INSTANTIATE_TEST_SUITE_P(Program, Termination, testing::Values(SIGTERM, SIGINT, SIGHUP));

TEST(Program, APostponedCommandReplaysOnTheNextPassAndTheLastOneWins) {
    Session s;
    s.then([] {
        EXPECT_EQ(postpone_event(pp_tool, 5), 0);  // idle: the caller acts at once
        setidle(0);
        EXPECT_EQ(postpone_event(pp_tool, 5), 1);
        EXPECT_EQ(postpone_event(pp_construct, 7), 1);
        EXPECT_EQ(quit, 1);
        EXPECT_EQ(postponed_code(), pp_construct);
        setidle(1);
    });
    s.then([] { EXPECT_EQ(postponed_code(), 0); });
    EXPECT_EQ(s.run(), 0);
}

namespace {

// A click at (h, v) as the mouse-down being handled, then what follows it.
int double_click(int second_h, std::uint16_t modifiers = 0) {
    myEvent = plat::EventRecord{};
    myEvent.what = plat::mouseDown;
    myEvent.where = plat::Point{100, 100};
    myEvent.when = plat::ticks();
    myEvent.modifiers = modifiers;
    plat::EventRecord up;
    up.what = plat::mouseUp;
    up.where = plat::Point{100, 100};
    up.when = myEvent.when + 2;
    plat::post_event(up);
    plat::EventRecord down;
    down.what = plat::mouseDown;
    down.where = plat::Point{100, static_cast<std::int16_t>(second_h)};
    down.when = myEvent.when + 4;
    plat::post_event(down);
    const int r = isdoubleclick();
    plat::flush_events(plat::everyEvent);
    return r;
}

}  // namespace

TEST(Program, DoubleClicksAreTimedAndNearby) {
    Session s;
    s.then([] {
        objopts->dblclick_mode = 0;
        EXPECT_EQ(double_click(111), 1);  // 11 pixels away
        EXPECT_EQ(double_click(89), 1);
        EXPECT_EQ(double_click(112), 0);  // 12 pixels away
        objopts->dblclick_mode = 1;       // an Alt-click is a double click, at once
        EXPECT_EQ(isdoubleclick(), 0);
        myEvent.modifiers = plat::optionKey;
        EXPECT_EQ(isdoubleclick(), 1);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(Program, ResizingTheDrawingWindowMovesItsAreaAndScrollBars) {
    Session s;
    s.then([] { plat::content_widget(whichdrawWindow())->resize(600, 400); });
    s.then([] {
        EXPECT_EQ(drawRect, (plat::Rect{0, 0, 400 - 15, 600 - 15}));
        EXPECT_EQ(plat::control_rect(horizHdl), (plat::Rect{385, 74, 401, 586}));
        EXPECT_EQ(plat::control_rect(vertHdl), (plat::Rect{-1, 585, 386, 601}));
        EXPECT_EQ(plat::control_maximum(vertHdl), 400);
    });
    EXPECT_EQ(s.run(), 0);
}
