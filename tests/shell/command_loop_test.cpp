// Command loops driven through the real pump: points, keys, the ring and the flags.
#include <gtest/gtest.h>

#include <string>

#include "base/command_loop.h"
#include "base/idle.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "platform/ui/events.h"
#include "platform/ui/keys.h"
#include "shell/dispatch.h"
#include "shell/event_pump.h"
#include "shell/loop_helpers.h"
#include "shell/pointer_input.h"
#include "store/settings.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::post_click;
using drav::test::post_key;
using drav::test::Session;

namespace {

// The drawing area is 952 x 675 pixels showing x 0..30 from y 0 upward, so
// one pixel is 30/952 world units and a pixel row v lies 675 - v rows up.
constexpr double unit = 30.0 / 952.0;
constexpr double click_x = 200 * unit;          // local h 200
constexpr double click_y = (675 - 100) * unit;  // local v 100
constexpr plat::Point click_point{100, 200};

// Takes every queued record through the pump, without asking the script for more.
void settle() {
    plat::EventRecord r;
    while (plat::event_avail(plat::everyEvent, &r)) gobbleoskeys(-1);
}

// Polls as a command loop does until a click or a key comes (a poll may
// take another record, such as the release of the last click).
int poll(double* x, double* y, int snap) {
    for (int i = 0; i < 8; ++i) {
        const int key = get_point(x, y, snap);
        if (key || accepted) return key;
    }
    return 0;
}

// Runs `body` as the one step of a session in which a command runs.
void in_a_command(const std::function<void()>& body) {
    Session s;
    s.then([&] {
        settle();
        setidle(0);
        body();
        setidle(1);
    });
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(s.steps_left(), 0u);
}

}  // namespace

TEST(CommandLoop, AClickAndAKeyInOnePollGiveTheClickFirst) {
    in_a_command([] {
        char a = 'a';
        stuff_macch(&a);
        EXPECT_EQ(a, 0);
        post_click(click_point);
        double x = 0, y = 0;
        EXPECT_EQ(get_point(&x, &y, 0), 0);
        EXPECT_EQ(accepted, 1);
        EXPECT_NEAR(x, click_x, 1e-9);
        EXPECT_NEAR(y, click_y, 1e-9);
        EXPECT_NEAR(ref_x, click_x, 1e-9);  // a clicked point becomes the reference point
        EXPECT_NEAR(ref_y, click_y, 1e-9);
        // The key waited in the ring for the next poll, upper-cased.
        EXPECT_EQ(get_point(&x, &y, 0), 'A');
        EXPECT_EQ(accepted, 0);
        EXPECT_NEAR(x, click_x, 1e-9);  // the cursor stays where it was clicked
        EXPECT_EQ(get_point(&x, &y, 0), 0);
        EXPECT_EQ(accepted, 0);
    });
}

TEST(CommandLoop, AClickThatComesWhileAKeyIsReadIsTheNextPollsPoint) {
    in_a_command([] {
        post_key('a');
        post_click(click_point);
        double x = 0, y = 0;
        EXPECT_EQ(get_point(&x, &y, 0), 'A');
        EXPECT_EQ(accepted, 0);
        EXPECT_EQ(poll(&x, &y, 0), 0);
        EXPECT_EQ(accepted, 1) << "the click was lost";
        EXPECT_NEAR(x, click_x, 1e-9);
        EXPECT_NEAR(y, click_y, 1e-9);
    });
}

TEST(CommandLoop, KeysComeUpperCasedAndNeverAccepted) {
    in_a_command([] {
        const struct {
            char typed;
            int read;
        } keys[] = {{'q', 'Q'}, {'U', 'U'}, {'3', '3'}, {'<', '<'}, {27, 27}};
        for (const auto& k : keys) {
            post_key(k.typed);
            double x, y;
            EXPECT_EQ(poll(&x, &y, 0), k.read) << k.typed;
            EXPECT_EQ(accepted, 0) << k.typed;
            EXPECT_EQ(look_for(k.read), 1);
        }
        EXPECT_EQ(look_for(0), 0);
    });
}

TEST(CommandLoop, AOneShotObjectSnapRevertsAfterOneClick) {
    in_a_command([] {
        for (std::int16_t one_shot : {3, 4}) {
            misc_defs.snap_mode = one_shot;
            prevsnapmode = 2;
            double x, y;
            post_click(click_point);
            poll(&x, &y, 0);  // no snapping in this poll: the mode stays
            EXPECT_EQ(misc_defs.snap_mode, one_shot);
            post_click(plat::Point{300, 400});
            poll(&x, &y, 1);
            EXPECT_EQ(accepted, 1);
            EXPECT_EQ(misc_defs.snap_mode, 2) << one_shot;
        }
        misc_defs.snap_mode = 2;  // other modes stay after a click
        post_click(click_point);
        double x, y;
        poll(&x, &y, 1);
        EXPECT_EQ(accepted, 1);
        EXPECT_EQ(misc_defs.snap_mode, 2);
        misc_defs.snap_mode = 1;
    });
}

TEST(CommandLoop, WhileBusyEscAbortsAndEverythingElseIsIgnored) {
    in_a_command([] {
        watch_on();
        post_key('x');
        post_click(click_point);
        post_key(27);
        settle();
        EXPECT_EQ(aborted, 1);
        EXPECT_EQ(osch_ready(), 0);
        EXPECT_EQ(mselz, 0);  // the click was not recorded
        watch_off();
    });
}

TEST(CommandLoop, CtrlPeriodReachesARunningCommandAsEsc) {
    in_a_command([] {
        post_key('.', plat::cmdKey);
        double x, y;
        EXPECT_EQ(poll(&x, &y, 0), 27);
    });
    // Idle, it is a menu key like any other and no command hears it.
    Session s;
    s.then([] {
        settle();
        post_key('.', plat::cmdKey);
        settle();
        EXPECT_EQ(osch_ready(), 0);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(CommandLoop, AFullRingRefusesTheSixteenthKeyAndKeepsTheUnread) {
    in_a_command([] {
        const int beeps = plat::beep_count();
        for (char c = 'a'; c <= 'p'; ++c) post_key(c);  // 16 keys
        settle();
        EXPECT_EQ(plat::beep_count(), beeps + 1);
        std::string read;
        while (osch_ready()) read += static_cast<char>(rd_sync());
        EXPECT_EQ(read, "abcdefghijklmno");
        // Reading made room again, across the wrap of the indexes.
        post_key('z');
        settle();
        EXPECT_EQ(rd_sync(), 'z');
        EXPECT_EQ(plat::beep_count(), beeps + 1);
    });
}

TEST(CommandLoop, KeysTypedWhileIdleAreDropped) {
    Session s;
    s.then([] {
        post_key('a');
        settle();
        EXPECT_EQ(osch_ready(), 0);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(CommandLoop, RdSyncGivesTheLowEightBits) {
    in_a_command([] {
        openkeyboard();
        chars[0] = 0x1141;
        charcount = 1;
        EXPECT_EQ(rd_sync(), 0x41);
        EXPECT_EQ(nextchar, 1);
    });
}

TEST(CommandLoop, AnIdleClickRegistersAtItsPointAndSetsTheReferencePoint) {
    Session s;
    s.then([] {
        settle();
        post_click(click_point);
        gobbleoskeys(-1);
        EXPECT_EQ(touched, 1);
        EXPECT_NEAR(zpos_x, click_x, 1e-9);
        EXPECT_NEAR(zpos_y, click_y, 1e-9);
        EXPECT_NEAR(ref_x, click_x, 1e-9);
        EXPECT_NEAR(last_y, click_y, 1e-9);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(CommandLoop, ViewclipKeepsPointsInTheViewport) {
    Session s;
    s.then([] {
        const struct {
            double x, y, cx, cy;
        } cases[] = {{-5, 100, 0, 100}, {2000, 100, 952, 100}, {10, 0, 10, 93}, {10, 9000, 10, 768}, {5, 500, 5, 500}};
        for (const auto& c : cases) {
            double x = c.x, y = c.y;
            viewclip(&x, &y);
            EXPECT_EQ(x, c.cx);
            EXPECT_EQ(y, c.cy);
        }
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(CommandLoop, AreYouSureIsTrueOnlyForYes) {
    Session s;
    s.then([] {
        for (auto [item, sure] : {std::pair{1, 1}, {2, 0}, {3, 0}}) {
            drav::test::answers().expect("Nothing is selected", item);
            EXPECT_EQ(are_you_sure(4), sure) << item;
        }
    });
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(drav::test::answers().done());
}

TEST(CommandLoop, SavedParamsComeBackAfterANestedCommand) {
    Session s;
    s.then([] {
        update_ref(4, 5);
        save_params();
        EXPECT_EQ(getidle(), 0);
        update_ref(9, 9);
        quit = 1;
        rstore_params(0, 1);
        EXPECT_EQ(ref_x, 4);
        EXPECT_EQ(ref_y, 5);
        EXPECT_EQ(getidle(), 1);
        EXPECT_EQ(quit, 0);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(CommandLoop, AStillPointerWithoutAClickChangesNothing) {
    in_a_command([] {
        snap_on = 0;  // the raw pointer
        update_mouse(300, 200, 0);
        update_cursor();
        const double x = last_x, y = last_y;
        EXPECT_NEAR(x, 300 * unit, 1e-9);
        EXPECT_NEAR(y, (675 - 200) * unit, 1e-9);
        const std::vector<std::uint32_t> before = drawCWindow->pixels();
        const int counter = cursor_counter;
        update_cursor();
        EXPECT_EQ(last_x, x);
        EXPECT_EQ(last_y, y);
        EXPECT_EQ(touched, 0);
        EXPECT_EQ(cursor_counter, counter);
        EXPECT_TRUE(drawCWindow->pixels() == before);
    });
}

TEST(CommandLoop, WaitingForAKeyEndsWhenTheProgramIsAskedToQuit) {
    Session s;
    int key = -1;
    s.then([&] {
        settle();
        setidle(0);
        key = rd_sync();  // the script has nothing more: Quit comes instead
        setidle(1);
    });
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(key, 0);
}
