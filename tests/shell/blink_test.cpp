// The object in hand: XOR drawing, the blink timer, and its save and restore.
#include <gtest/gtest.h>

#include <vector>

#include "display/screen.h"
#include "platform/core/clock.h"
#include "platform/ui/events.h"
#include "shell/blink.h"
#include "shell/event_pump.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"
#include "tests/support/drawing_file.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;

namespace {

int g_calls = 0;
int counting() {
    ++g_calls;
    return 1;
}

// `passes` passes of the pump, each one tick of the test clock, without
// asking the script for more.
void pump(int passes) {
    for (int i = 0; i < passes; ++i) {
        plat::EventRecord r;
        r.what = plat::keyUp;  // a record the dispatcher passes over
        plat::post_event(r);
        gobbleoskeys(-1);
    }
}

void in_session(const std::function<void()>& body) {
    Session s;
    s.then([&] {
        g_calls = 0;
        body();
        StopBlink();
    });
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(s.steps_left(), 0u);
}

ObjectRec black_line(double x, double y, double dx, double dy) {
    ObjectRec r = drav::test::object_record(ok_line, x, y, colour_black);
    set_rec_f64(r, line::dx, dx);
    set_rec_f64(r, line::dy, dy);
    return r;
}

}  // namespace

TEST(Blink, WithTheBlinkBitClearNothingIsDrawn) {
    in_session([] {
        swaper &= ~0x0040;
        StartBlink(counting, 0);
        blink_on();
        EXPECT_EQ(g_calls, 0);
        EXPECT_EQ(obj_on, 0);
        StartBlink(counting, 1);
        pump(30);
        EXPECT_EQ(g_calls, 0);
        EXPECT_EQ(obj_on, 0);
    });
}

TEST(Blink, OnAndOffActOnlyWhenTheImageIsTheOtherWay) {
    in_session([] {
        swaper |= 0x0040;
        StartBlink(counting, 0);
        EXPECT_EQ(blinking, 1);
        blink_off();  // not on screen yet
        EXPECT_EQ(g_calls, 0);
        blink_on();
        blink_on();
        EXPECT_EQ(g_calls, 1);
        EXPECT_EQ(obj_on, 1);
        blink_off();
        blink_off();
        EXPECT_EQ(g_calls, 2);
        EXPECT_EQ(obj_on, 0);
        blink_on();
        StopBlink();  // takes the image away
        EXPECT_EQ(g_calls, 4);
        EXPECT_EQ(blinking, 0);
        blink_on();  // nothing in hand
        EXPECT_EQ(g_calls, 4);
    });
}

TEST(Blink, OneTimerOnlyAndItIsKeptAcrossANestedDialog) {
    in_session([] {
        swaper |= 0x0040;
        StartBlink(counting, 1);
        StartBlink(counting, 1);
        EXPECT_EQ(blink_timer_installed(), 1);
        // At once, then every 12 ticks: passes 1 and 13 of 24.
        pump(24);
        EXPECT_EQ(g_calls, 2);
        EXPECT_EQ(obj_on, 0);
        SaveBlink();
        EXPECT_EQ(blink_timer_installed(), 0);
        pump(30);
        EXPECT_EQ(g_calls, 2);  // nothing blinks behind the dialog
        RestoreBlink();
        EXPECT_EQ(blink_timer_installed(), 1);
        EXPECT_EQ(blinking, 1);
        EXPECT_EQ(bfunc, &counting);
        pump(24);
        EXPECT_EQ(g_calls, 4);
    });
}

TEST(Blink, TheObjectInHandIsXoredAndTakenAwayBitForBit) {
    in_session([] {
        swaper |= 0x0040;
        info = black_line(2, 2, 20, 15);
        const std::vector<std::uint32_t> before = drawCWindow->pixels();
        StartBlink(blinkinfo, 0);
        blink_on();
        const std::vector<std::uint32_t> shown = drawCWindow->pixels();
        int changed = 0;
        for (std::size_t i = 0; i < before.size(); ++i) changed += before[i] != shown[i];
        EXPECT_GT(changed, 100);  // a line some 600 pixels long
        blink_off();
        EXPECT_TRUE(drawCWindow->pixels() == before);
    });
}

TEST(Blink, AFlashNeedsItsBitOrForce) {
    in_session([] {
        const ObjectRec r = black_line(2, 2, 20, 15);
        const std::vector<std::uint32_t> before = drawCWindow->pixels();
        swaper &= ~0x2000;
        const std::uint32_t t0 = plat::ticks();
        blink_sobject(r, 0);
        blink_object(r, 0);
        EXPECT_EQ(plat::ticks(), t0);  // no pause either
        blink_sobject(r, 1);
        EXPECT_GE(plat::ticks() - t0, 12u);  // two pauses of 0.1 s
        EXPECT_TRUE(drawCWindow->pixels() == before);
    });
}
