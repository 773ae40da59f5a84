// The choosing windows: opened and closed by the command, Cancel aborts it,
// and each comes back where the user left it, also after a restart.
#include <gtest/gtest.h>

#include "base/command_loop.h"
#include "platform/ui/dialogs.h"
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
    const struct {
        const char* code;
        int status;
    } cases[] = {{"Prev", -9874}, {"Next", -9874}, {"Acpt", -9874}, {"Addb", -9874},
                 {"Remv", -9874}, {"ok  ", 0},     {"not!", 0},     {"what", -9874}};
    for (const auto& c : cases) {
        aborted = 0;
        e.message = (std::uint32_t(std::uint8_t(c.code[0])) << 24) | (std::uint32_t(std::uint8_t(c.code[1])) << 16) |
                    (std::uint32_t(std::uint8_t(c.code[2])) << 8) | std::uint32_t(std::uint8_t(c.code[3]));
        EXPECT_EQ(SelectAndAcceptEventHandlerProc(e), c.status) << c.code;
        EXPECT_EQ(aborted, std::string(c.code) == "not!" ? 1 : 0) << c.code;
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
