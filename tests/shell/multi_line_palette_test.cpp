// The multi-line palette: its squares and check boxes change the wall
// settings at once, it follows the multi-line settings dialog, and its
// place is kept between runs.
#include <gtest/gtest.h>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/tool_options.h"
#include "dialogs/dialog_helpers.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/events.h"
#include "platform/core/raster.h"
#include "platform/ui/windows.h"
#include "shell/multi_line_palette.h"
#include "shell/startup.h"
#include "shell/tool_setting_dialogs.h"
#include "store/settings.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;

namespace {

// Dark pixels of a palette item's area.
int dark(int item) {
    const plat::Rect r = plat::item_rect(plat::dialog_item(mlinDPtr, item));
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += plat::color_of(plat::dialog_port(mlinDPtr)->pixel(x, y)).red < 0x8000;
    return n;
}

// The squares of a row shown inverted (mostly dark).
std::vector<int> inverted(int first, int count) {
    plat::draw_dialog(mlinDPtr);
    std::vector<int> out;
    const plat::Rect r = plat::item_rect(plat::dialog_item(mlinDPtr, first));
    const int area = (r.bottom - r.top) * (r.right - r.left);
    for (int i = first; i < first + count; ++i)
        if (dark(i) > area / 2) out.push_back(i);
    return out;
}

// A click on a palette item, as the window system reports it.
Session& click_item(Session& s, int item) {
    return s.then([item] {
        ASSERT_NE(mlinDPtr, nullptr);
        const plat::Rect b = plat::dialog_bounds(mlinDPtr);
        plat::EventRecord e;
        e.what = plat::mouseDown;
        e.dialog = mlinDPtr;
        e.item = static_cast<std::int16_t>(item);
        e.where = plat::Point{static_cast<std::int16_t>(b.top + 4), static_cast<std::int16_t>(b.left + 4)};
        drav::test::post(e);
    });
}

}  // namespace

TEST(MultiLinePalette, ClicksChangeTheSettingsAtOnceAndEachRowKeepsOneSquare) {
    Session s;
    s.then([] {
        objopts->mline_opt4 = 1;
        objopts->mline_opt2 = 0;
        objopts->mline_opt3 = 2;
        objopts->mline_palette = 0;
        set_mlin_cut(users_defs, 0);
        sett_mlin();
        ASSERT_NE(mlinDPtr, nullptr);
        EXPECT_TRUE(plat::dialog_visible(mlinDPtr));
        EXPECT_EQ(inverted(3, 3), std::vector<int>{4});
        EXPECT_EQ(inverted(7, 4), std::vector<int>{7});
        EXPECT_EQ(inverted(12, 3), std::vector<int>{14});
        EXPECT_EQ(getvalue(mlinDPtr, 15), 0);
        EXPECT_EQ(getvalue(mlinDPtr, 16), 0);
    });
    click_item(s, 5);
    click_item(s, 5);  // the highlighted square again: nothing changes
    click_item(s, 10);
    click_item(s, 12);
    click_item(s, 6);  // a label
    click_item(s, 15);
    click_item(s, 16);
    s.then([] {
        EXPECT_EQ(objopts->mline_opt4, 2);
        EXPECT_EQ(objopts->mline_opt2, 3);
        EXPECT_EQ(objopts->mline_opt3, 0);
        EXPECT_EQ(inverted(3, 3), std::vector<int>{5});
        EXPECT_EQ(inverted(7, 4), std::vector<int>{10});
        EXPECT_EQ(inverted(12, 3), std::vector<int>{12});
        EXPECT_EQ(mlin_cut(users_defs), 1);
        EXPECT_EQ(getvalue(mlinDPtr, 15), 1);
        EXPECT_EQ(objopts->mline_palette, 1);
        EXPECT_EQ(getvalue(mlinDPtr, 16), 1);
    });
    click_item(s, 15);
    s.then([] {
        EXPECT_EQ(mlin_cut(users_defs), 0);
        EXPECT_EQ(getvalue(mlinDPtr, 15), 0);
    });
    click_item(s, plat::close_box_item);
    s.then([] { EXPECT_EQ(mlinDPtr, nullptr); });
    EXPECT_EQ(s.run(), 0);
}

TEST(MultiLinePalette, AClickWhileTheWatchShowsDoesNothing) {
    Session s;
    s.then([] {
        objopts->mline_opt4 = 0;
        sett_mlin();
        watchon = 1;
    });
    click_item(s, 4);
    s.then([] {
        EXPECT_EQ(objopts->mline_opt4, 0);
        watchon = 0;
    });
    click_item(s, 4);
    s.then([] { EXPECT_EQ(objopts->mline_opt4, 1); });
    EXPECT_EQ(s.run(), 0);
}

TEST(MultiLinePalette, PaletteBox15FollowsDialogBox6AfterOk) {
    ObjOptsRec opts{};
    objopts = &opts;
    users_defs = UsersRec{};
    users_defs.wall_width = 0.25;
    set_mlin_count(users_defs, 2);
    int results[2] = {-1, -1};
    Session s;
    s.then([] { EXPECT_EQ(getvalue(mlinDPtr, 15), 0); });
    s.hit(6).hit(2);  // Cancel: the palette stays as it was
    s.then([] { EXPECT_EQ(getvalue(mlinDPtr, 15), 0); });
    s.hit(6).hit(1);
    s.drive([&] {
        sett_mlin();
        results[0] = mlinsetup();
        results[1] = mlinsetup();
    });
    EXPECT_EQ(results[0], 0);
    EXPECT_EQ(results[1], 1);
    ASSERT_NE(mlinDPtr, nullptr);
    EXPECT_EQ(mlin_cut(users_defs), 1);
    EXPECT_EQ(getvalue(mlinDPtr, 15), 1);
    sett_mlin();
    EXPECT_EQ(mlinDPtr, nullptr);
    objopts = nullptr;
}

TEST(MultiLinePalette, ItsPlaceComesBackAfterARestart) {
    {
        Session s;
        s.then([] {
            sett_mlin();
            ASSERT_NE(mlinDPtr, nullptr);
            plat::move_dialog(mlinDPtr, 240, 180);
        });
        EXPECT_EQ(s.run(), 0);  // still open at quit
    }
    {
        Session s;
        s.then([] {
            EXPECT_EQ(mlinDPtr, nullptr);  // the wall command opens it, not start-up
            sett_mlin();
            ASSERT_NE(mlinDPtr, nullptr);
            EXPECT_EQ(plat::dialog_bounds(mlinDPtr).left, 240);
            EXPECT_EQ(plat::dialog_bounds(mlinDPtr).top, 180);
        });
        EXPECT_EQ(s.run(), 0);
    }
}
