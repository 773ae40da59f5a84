// The clipboard window: fitted to its picture, scrolled by arrows, pages and
// the thumb, shown and hidden from the Edit menu.
#include <gtest/gtest.h>

#include "base/menu_items.h"
#include "display/clipboard_window.h"
#include "platform/ui/events.h"
#include "platform/ui/menus.h"
#include "platform/ui/windows.h"
#include "store/files.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;

namespace {

plat::Picture picture(int width, int height) {
    plat::Picture p;
    p.frame = plat::Rect{0, 0, static_cast<std::int16_t>(height), static_cast<std::int16_t>(width)};
    return p;
}

plat::Rect content() { return plat::window_port(clipCWindow)->port_rect(); }

std::string item_text() { return plat::menu_item_text(kMyEditMenu, four_cc("EDcp")); }

}  // namespace

TEST(ClipboardWindow, ASmallPictureNarrowsTheWindowAndLeavesNothingToScroll) {
    Session s;
    s.then([] {
        ASSERT_NE(clipCWindow, nullptr);
        take_clip_picture(picture(120, 100));
        EXPECT_EQ(content().right, 136);
        EXPECT_EQ(content().bottom, 116);
        EXPECT_EQ(plat::control_maximum(chorizHdl), 0);
        EXPECT_EQ(plat::control_maximum(cvertHdl), 0);
        // A large one keeps the window: frame less port plus the bars' band.
        take_clip_picture(picture(500, 400));
        EXPECT_EQ(plat::control_maximum(chorizHdl), 500 - 136 + 16);
        EXPECT_EQ(plat::control_maximum(cvertHdl), 400 - 116 + 16);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(ClipboardWindow, APageStepThatWouldPassTheEndDoesNothingAndArrowsStepToIt) {
    Session s;
    s.then([] {
        take_clip_picture(picture(600, 500));
        const int max = plat::control_maximum(cvertHdl);
        ASSERT_EQ(max, 500 - 240 + 16);
        plat::set_control_value(cvertHdl, max - 7);
        dvGraf = static_cast<std::int16_t>(max - 7);
        cScrollAction(cvertHdl, plat::inPageDown);
        EXPECT_EQ(plat::control_value(cvertHdl), max - 7);
        EXPECT_EQ(dvGraf, max - 7);
        for (int i = 0; i < 9; ++i) cScrollAction(cvertHdl, plat::inDownButton);
        EXPECT_EQ(plat::control_value(cvertHdl), max);
        EXPECT_EQ(dvGraf, max);
        cScrollAction(cvertHdl, plat::inPageUp);
        EXPECT_EQ(plat::control_value(cvertHdl), max - 10);
        EXPECT_EQ(dvGraf, max - 10);
        // Across: the horizontal bar moves the other origin.
        cScrollAction(chorizHdl, plat::inDownButton);
        EXPECT_EQ(dhGraf, 1);
        cScrollAction(chorizHdl, plat::inUpButton);
        cScrollAction(chorizHdl, plat::inUpButton);
        EXPECT_EQ(dhGraf, 0);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(ClipboardWindow, DraggingTheThumbFrom40To15ScrollsTheContent25Back) {
    static plat::Point from, to;
    Session s;
    s.menu(kMyEditMenu, "EDcp");
    s.then([] {
        ASSERT_TRUE(plat::window_visible(clipCWindow));
        take_clip_picture(picture(300, 300));
        ASSERT_EQ(plat::control_maximum(cvertHdl), 300 - 240 + 16);
        plat::set_control_value(cvertHdl, 40);
        dvGraf = 40;
        from = plat::thumb_center(cvertHdl);
        to = from;
        for (int dv = 0; dv > -200; --dv) {
            to.v = static_cast<std::int16_t>(from.v + dv);
            if (plat::thumb_value(cvertHdl, from, to) == 15) break;
        }
        ASSERT_EQ(plat::thumb_value(cvertHdl, from, to), 15);
        const plat::Rect b = plat::window_bounds(clipCWindow);
        for (auto [what, p] : {std::pair{plat::mouseDown, from}, std::pair{plat::mouseUp, to}}) {
            plat::EventRecord r;
            r.what = what;
            r.where = plat::Point{static_cast<std::int16_t>(b.top + p.v), static_cast<std::int16_t>(b.left + p.h)};
            r.window = clipCWindow;
            plat::post_event(r);
        }
    });
    s.then([] {
        EXPECT_EQ(plat::control_value(cvertHdl), 15);
        EXPECT_EQ(dvGraf, 15);
        EXPECT_EQ(dhGraf, 0);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(ClipboardWindow, ShowClipboardShowsAnEmptyWindowAndChosenAgainHidesIt) {
    Session s;
    s.then([] {
        EXPECT_EQ(item_text(), "Show Clipboard");
        EXPECT_TRUE(plat::menu_item_enabled(kMyEditMenu, four_cc("EDcp")));
        EXPECT_FALSE(plat::window_visible(clipCWindow));
    });
    s.menu(kMyEditMenu, "EDcp");
    s.then([] {
        EXPECT_TRUE(plat::window_visible(clipCWindow));
        EXPECT_EQ(item_text(), "Hide Clipboard");
        ASSERT_NE(clipPicHdl, nullptr);
        EXPECT_TRUE(clipPicHdl->ops.empty());
    });
    s.menu(kMyEditMenu, "EDcp");
    s.then([] {
        EXPECT_FALSE(plat::window_visible(clipCWindow));
        EXPECT_EQ(item_text(), "Show Clipboard");
    });
    EXPECT_EQ(s.run(), 0);
}
