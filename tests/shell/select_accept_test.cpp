// The choosing windows: opened and closed by the command, Cancel aborts it,
// and each comes back where the user left it, also after a restart.
#include <gtest/gtest.h>

#include "base/command_loop.h"
#include "platform/ui/dialogs.h"
#include "shell/dispatch.h"
#include "shell/select_accept.h"
#include "store/files.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;

TEST(SelectAccept, TheToggleOpensTheChosenFormAndClosesIt) {
    Session s;
    s.then([] {
        SelectAcceptWindow(0);
        ASSERT_NE(windAccept, nullptr);
        EXPECT_NE(plat::command_control(windAccept, four_cc("Next")), nullptr);
        EXPECT_EQ(plat::command_control(windAccept, four_cc("ok  ")), nullptr);
        SelectAcceptWindow(0);
        EXPECT_EQ(windAccept, nullptr);
        SelectAcceptWindow(1);
        ASSERT_NE(windAccept, nullptr);
        EXPECT_NE(plat::command_control(windAccept, four_cc("ok  ")), nullptr);
        AddRemoveWindow(1);
        ASSERT_NE(windAddRemove, nullptr);
        EXPECT_NE(plat::command_control(windAddRemove, four_cc("Remv")), nullptr);
        // Closing one leaves the other alone.
        AddRemoveWindow(0);
        EXPECT_EQ(windAddRemove, nullptr);
        EXPECT_TRUE(plat::dialog_visible(windAccept));
        aborted = 0;
    });
    s.then([] { EXPECT_EQ(plat::front_dialog(), windAccept); });
    s.press("not!");  // Cancel, to the window in front
    s.then([] {
        EXPECT_EQ(aborted, 1);
        EXPECT_NE(windAccept, nullptr);  // the command closes it, not the button
        aborted = 0;
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(SelectAccept, TheButtonsAnswerAsTheirTableSays) {
    plat::EventRecord e;
    e.what = plat::app1Evt;
    // The choice buttons speak to the running command through its keystroke
    // ring ('<', '>', 'n', 'D') or as a click at the cursor; Cancel aborts.
    const struct {
        const char* code;
        int status;
        char key;     // 0: nothing queued
        bool click;
    } cases[] = {{"Prev", 0, '<', false}, {"Next", 0, '>', false}, {"Acpt", 0, 0, true},
                 {"Addb", 0, 0, true},    {"Remv", 0, 'n', false}, {"ok  ", 0, 'D', false},
                 {"not!", 0, 0, false},   {"what", -9874, 0, false}};
    for (const auto& c : cases) {
        aborted = 0;
        touched = 0;
        while (osch_ready()) get_osch(1);
        e.message = (std::uint32_t(std::uint8_t(c.code[0])) << 24) | (std::uint32_t(std::uint8_t(c.code[1])) << 16) |
                    (std::uint32_t(std::uint8_t(c.code[2])) << 8) | std::uint32_t(std::uint8_t(c.code[3]));
        EXPECT_EQ(SelectAndAcceptEventHandlerProc(e), c.status) << c.code;
        EXPECT_EQ(aborted, std::string(c.code) == "not!" ? 1 : 0) << c.code;
        if (c.key) {
            ASSERT_TRUE(osch_ready()) << c.code;
            EXPECT_EQ(get_osch(1), c.key) << c.code;
        }
        EXPECT_FALSE(osch_ready()) << c.code;
        EXPECT_EQ(touched != 0, c.click) << c.code;
    }
}

TEST(SelectAccept, TheWindowReopensWhereItWasLeftAlsoAfterARestart) {
    {
        Session s;
        s.then([] {
            SelectAcceptWindow(0);
            ASSERT_NE(windAccept, nullptr);
            plat::move_dialog(windAccept, 300, 220);
            SelectAcceptWindow(0);
            SelectAcceptWindow(1);  // the other form, at the same place
            EXPECT_EQ(plat::dialog_bounds(windAccept).left, 300);
            EXPECT_EQ(plat::dialog_bounds(windAccept).top, 220);
            AddRemoveWindow(0);
            plat::move_dialog(windAddRemove, 410, 330);
            // Both still open at quit.
        });
        EXPECT_EQ(s.run(), 0);
    }
    {
        Session s;
        s.then([] {
            EXPECT_EQ(windAccept, nullptr);
            SelectAcceptWindow(0);
            ASSERT_NE(windAccept, nullptr);
            EXPECT_EQ(plat::dialog_bounds(windAccept).left, 300);
            EXPECT_EQ(plat::dialog_bounds(windAccept).top, 220);
            AddRemoveWindow(0);
            ASSERT_NE(windAddRemove, nullptr);
            EXPECT_EQ(plat::dialog_bounds(windAddRemove).left, 410);
            EXPECT_EQ(plat::dialog_bounds(windAddRemove).top, 330);
        });
        EXPECT_EQ(s.run(), 0);
    }
}
