// The tool palette driven through the running program: its menu toggle and
// close box, tool clicks, the group tool, and a click while a command runs.
#include <gtest/gtest.h>

#include <QWidget>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/menu_items.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/events.h"
#include "platform/ui/menus.h"
#include "platform/ui/windows_qt.h"
#include "shell/dispatch.h"
#include "shell/event_pump.h"
#include "shell/tool_options.h"
#include "shell/tool_palette.h"
#include "store/files.h"
#include "store/selection_state.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::answers;
using drav::test::Session;

namespace {

std::uint8_t tools_mark() { return plat::menu_item_mark(4, four_cc("PLtl")); }

// Double clicks are then told by the option key alone: a script's single
// hit never waits for a second one.
void single_clicks_only() { objopts->dblclick_mode = 1; }

}  // namespace

TEST(ToolPalette, TheMenuItemAndTheCloseBoxToggleItAndTheCheckMarkFollows) {
    Session s;
    s.then([] {
        ASSERT_NE(addDPtr, nullptr);
        EXPECT_TRUE(plat::dialog_visible(addDPtr));
        EXPECT_EQ(tools_mark(), plat::checkMark);
    });
    s.menu(4, "PLtl");
    s.then([] {
        EXPECT_EQ(addDPtr, nullptr);
        EXPECT_EQ(tools_mark(), plat::noMark);
    });
    s.menu(4, "PLtl");
    s.then([] {
        ASSERT_NE(addDPtr, nullptr);
        EXPECT_EQ(tools_mark(), plat::checkMark);
        plat::dialog_widget(addDPtr)->close();  // the window's close box
    });
    s.then([] {
        EXPECT_EQ(addDPtr, nullptr);
        EXPECT_EQ(tools_mark(), plat::noMark);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(ToolPalette, UnbuiltToolsAreInactiveAndTheSelectToolIsShownCurrent) {
    Session s;
    s.then([] {
        ASSERT_NE(addDPtr, nullptr);
        for (int t = first_tool; t <= last_tool; ++t) {
            const bool live = t >= 2;
            EXPECT_EQ(plat::item_hilite(plat::dialog_item(addDPtr, t)), live ? 0 : 255) << t;
        }
        // The current tool's square is inverted: its centre-left pixel, white
        // behind an icon, is black; the line tool's is not.
        const plat::Port* port = plat::dialog_port(addDPtr);
        const plat::Rect sel = plat::item_rect(plat::dialog_item(addDPtr, 2));
        const plat::Rect line = plat::item_rect(plat::dialog_item(addDPtr, 4));
        const std::uint32_t black = port->pixel(sel.left + 2, sel.top + 2);
        const std::uint32_t white = port->pixel(line.left + 2, line.top + 2);
        EXPECT_NE(black, white);
        EXPECT_EQ(port->pixel(sel.left + 2, sel.top + 2), port->pixel(sel.right - 3, sel.bottom - 3));
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(ToolPalette, TheMoveToolOnAnEmptyDrawingAlertsAndLeavesSelectCurrent) {
    Session s;
    answers().expect("nothing in the drawing");
    s.then(single_clicks_only);
    s.hit(tool_move);
    s.then([] {
        EXPECT_TRUE(answers().done());
        EXPECT_EQ(addnum, tool_select);
        EXPECT_EQ(getidle(), 1);
        answers().expect("Nothing is selected");  // group mode: the no-group alert
    });
    s.hit(tool_group);
    s.then([] { EXPECT_EQ(macgroup, 1); });
    s.hit(tool_move);
    s.then([] {
        EXPECT_TRUE(answers().done());
        EXPECT_EQ(addnum, tool_select);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(ToolPalette, TheGroupToolTogglesGroupModeUndoably) {
    Session s;
    s.then([] {
        single_clicks_only();
        EXPECT_EQ(macgroup, 0);
        EXPECT_FALSE(plat::menu_enabled(3));
    });
    s.hit(tool_group);
    s.then([] {
        EXPECT_EQ(macgroup, 1);
        EXPECT_TRUE(plat::menu_enabled(3));
        EXPECT_EQ(plat::menu_item_text(2, four_cc("OBpp")), "Group Properties…");
        EXPECT_EQ(plat::menu_item_text(2, four_cc("OBpv")), "Group Pivot");
        EXPECT_EQ(plat::menu_item_text(2, four_cc("undo")), "Undo Group Mode");
        EXPECT_TRUE(plat::menu_item_enabled(2, four_cc("undo")));
    });
    s.menu(2, "undo");
    s.then([] {
        EXPECT_EQ(macgroup, 0);
        EXPECT_FALSE(plat::menu_enabled(3));
        EXPECT_EQ(plat::menu_item_text(2, four_cc("OBpp")), "Object Properties…");
        EXPECT_EQ(plat::menu_item_text(2, four_cc("undo")), "Redo Group Mode");
    });
    s.menu(2, "undo");
    s.then([] { EXPECT_EQ(macgroup, 1); });
    EXPECT_EQ(s.run(), 0);
}

TEST(ToolPalette, AToolClickWhileACommandRunsEndsItAndStartsTheToolAfterwards) {
    Session s;
    s.then(single_clicks_only);
    // A command of the line tool, reading input until it is told to quit.
    s.then([] {
        setidle(0);
        addnum = 4;
        quit = 0;
        int passes = 0;
        while (!quit && ++passes < 1000) gobbleoskeys(plat::everyEvent);
        // The click ended the command without starting the group tool inside it.
        EXPECT_EQ(quit, 1);
        EXPECT_EQ(macgroup, 0);
        EXPECT_EQ(addnum, tool_select);
        EXPECT_EQ(postponed_code(), pp_tool);
        setidle(1);
    });
    s.hit(tool_group);  // taken by the command's loop
    s.then([] {
        // The pump's next pass started the tool.
        EXPECT_EQ(postponed_code(), 0);
        EXPECT_EQ(macgroup, 1);
        EXPECT_EQ(quit, 0);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(ToolPalette, AClickWhileTheWatchShowsDoesNothing) {
    Session s;
    s.then([] {
        single_clicks_only();
        watchon = 1;
    });
    s.hit(tool_group);
    s.then([] {
        EXPECT_EQ(macgroup, 0);
        watchon = 0;
    });
    s.hit(tool_group);
    s.then([] { EXPECT_EQ(macgroup, 1); });  // the same click counts once the watch is gone
    EXPECT_EQ(s.run(), 0);
}

TEST(ToolIcons, EveryToolHasALegibleIconAtBothScales) {
    for (int t = first_tool; t <= last_tool; ++t) {
        const ToolIcon one = load_tool_icon(t, 1), two = load_tool_icon(t, 2);
        ASSERT_EQ(one.size, 16) << t;
        ASSERT_EQ(two.size, 32) << t;
        int ink1 = 0, ink2 = 0;
        for (auto b : one.bits) ink1 += b;
        for (auto b : two.bits) ink2 += b;
        // Drawn, not blank nor filled; the 2x drawing carries about four times the ink.
        EXPECT_GT(ink1, 8) << t;
        EXPECT_LT(ink1, 16 * 16 / 2) << t;
        EXPECT_GT(ink2, 2 * ink1) << t;
        EXPECT_LT(ink2, 8 * ink1) << t;
    }
    EXPECT_EQ(load_tool_icon(1, 1).size, 0);
    EXPECT_EQ(load_tool_icon(2, 3).size, 0);
}

TEST(ToolPalette, ItsPlaceAndVisibilityComeBackAfterARestart) {
    {
        Session s;
        s.then([] {
            ASSERT_NE(addDPtr, nullptr);
            plat::move_dialog(addDPtr, 200, 150);
        });
        EXPECT_EQ(s.run(), 0);
    }
    {
        Session s;
        s.then([] {
            ASSERT_NE(addDPtr, nullptr);
            const plat::Rect b = plat::dialog_bounds(addDPtr);
            EXPECT_EQ(b.left, 200);
            EXPECT_EQ(b.top, 150);
        });
        s.menu(4, "PLtl");  // closed at quit
        EXPECT_EQ(s.run(), 0);
    }
    {
        Session s;
        s.then([] { EXPECT_EQ(addDPtr, nullptr); });
        s.menu(4, "PLtl");  // reopened where it was last
        s.then([] {
            ASSERT_NE(addDPtr, nullptr);
            EXPECT_EQ(plat::dialog_bounds(addDPtr).left, 200);
            EXPECT_EQ(plat::dialog_bounds(addDPtr).top, 150);
        });
        EXPECT_EQ(s.run(), 0);
    }
}

TEST(ToolPalette, TheRunningProgramShowsItsIconsOnScreen) {
    Session s;
    s.then([] {
        ASSERT_NE(addDPtr, nullptr);
        const QImage shot = plat::grab_dialog(addDPtr);
        // Kept beside the test's own files for a person to look at, never in the sources.
        shot.save("tool_palette.png");
        ASSERT_EQ(shot.width(), 53);
        ASSERT_EQ(shot.height(), 235);
        // Every pixel of the multi-line tool's icon shows as drawn: ink dark, paper light.
        const plat::Rect r = plat::item_rect(plat::dialog_item(addDPtr, 5));
        const ToolIcon icon = load_tool_icon(5, 1);
        ASSERT_EQ(icon.size, 16);
        const int left = (r.left + r.right - 16) / 2, top = (r.top + r.bottom - 16) / 2;
        int wrong = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool dark = qGray(shot.pixel(left + x, top + y)) < 128;
                // The multi-line tool is live: its icon shows whole.
                const bool ink = icon.bits[static_cast<std::size_t>(y * 16 + x)];
                if (dark != ink) ++wrong;
            }
        EXPECT_EQ(wrong, 0);
        // The select tool is current: its square shows inverted, mostly dark.
        const plat::Rect sel = plat::item_rect(plat::dialog_item(addDPtr, 2));
        int darkpx = 0;
        for (int y = sel.top + 1; y < sel.bottom - 1; ++y)
            for (int x = sel.left + 1; x < sel.right - 1; ++x) darkpx += qGray(shot.pixel(x, y)) < 128;
        EXPECT_GT(darkpx, (sel.bottom - sel.top - 2) * (sel.right - sel.left - 2) * 3 / 4);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(ToolPalette, ScreensOfTwoPixelsPerPointShowTheSharpIcons) {
    Session s;
    s.then([] {
        ASSERT_NE(addDPtr, nullptr);
        const QImage shot = plat::grab_at_ratio(plat::dialog_widget(addDPtr), 2);
        shot.save("tool_palette@2x.png");  // beside the test's files, never in the sources
        ASSERT_EQ(shot.width(), 106);
        ASSERT_EQ(shot.height(), 470);
        // The multi-line tool's 32 x 32 drawing, not its 16 x 16 one blown up.
        const plat::Rect r = plat::item_rect(plat::dialog_item(addDPtr, 5));
        const ToolIcon icon = load_tool_icon(5, 2);
        ASSERT_EQ(icon.size, 32);
        const int left = 2 * ((r.left + r.right - 16) / 2), top = 2 * ((r.top + r.bottom - 16) / 2);
        int wrong = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const bool dark = qGray(shot.pixel(left + x, top + y)) < 128;
                const bool ink = icon.bits[static_cast<std::size_t>(y * 32 + x)];
                if (dark != ink) ++wrong;
            }
        EXPECT_EQ(wrong, 0);
        // The current tool's square is inverted at this density too.
        const plat::Rect sel = plat::item_rect(plat::dialog_item(addDPtr, 2));
        int darkpx = 0, all = 0;
        for (int y = 2 * sel.top + 2; y < 2 * sel.bottom - 2; ++y)
            for (int x = 2 * sel.left + 2; x < 2 * sel.right - 2; ++x, ++all) darkpx += qGray(shot.pixel(x, y)) < 128;
        EXPECT_GT(darkpx, all * 3 / 4);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(ToolPalette, AToolKeyOpensTheClosedPaletteAndClicksTheTool) {
    Session s;
    s.then(single_clicks_only);
    s.menu(4, "PLtl");
    s.then([] {
        ASSERT_EQ(addDPtr, nullptr);
        do_toolcmd(tool_group);
        EXPECT_NE(addDPtr, nullptr);
        EXPECT_EQ(plat::menu_item_mark(4, four_cc("PLtl")), plat::checkMark);
        EXPECT_EQ(macgroup, 1);
    });
    EXPECT_EQ(s.run(), 0);
}
