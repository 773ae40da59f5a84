// The tool windows: one-pop-up windows, circle, arc, group naming, find
// setup and the tangent modes with their drawn buttons.
#include "dialogs/tool_setting_windows.h"
#include "platform/core/raster.h"
#include "store/settings.h"
#include "tests/dialogs/settings_fixture.h"

using namespace drav;
using namespace drav::test;

namespace {

class ToolWindows : public SettingsWindows {};

// Chooses entry of the front window's pop-up as a person would.
Session& choose_popup(Session& s, int id, int entry) {
    return s.then([id, entry] { plat::post_choice(front_control(id), entry); });
}

}  // namespace

TEST_F(ToolWindows, EachPopupWindowShowsAndStoresItsWordOnlyAfterOk) {
    const struct {
        int (*open)();
        std::int16_t ObjOptsRec::*word;
        const char* name;
    } windows[] = {
        {ShowLineToolSettingWindow, &ObjOptsRec::line_opt, "objopts.line_opt"},
        {ShowRectangleToolSettingWindow, &ObjOptsRec::rect_opt, "objopts.rect_opt"},
        {ShowEllipseToolSettingWindow, &ObjOptsRec::ellipse_opt, "objopts.ellipse_opt"},
        {ShowImageToolSettingWindow, &ObjOptsRec::mirror_opt, "objopts.mirror_opt"},
        {ShowMoveToolSettingWindow, &ObjOptsRec::move_opt, "objopts.move_opt"},
    };
    for (const auto& w : windows) {
        objopts->*w.word = 1;
        Session ok;
        ok.then([] { EXPECT_EQ(plat::item_value(front_control(3)), 1); });
        choose_popup(ok, 3, 2).press("ok  ").ends();
        int result = -1;
        EXPECT_EQ(changes(ok, w.open, &result), Names{w.name});
        EXPECT_EQ(result, 1) << w.name;
        EXPECT_EQ(objopts->*w.word, 2) << w.name;
        Session cancel;
        choose_popup(cancel, 3, 1).press("not!").ends();
        EXPECT_EQ(changes(cancel, w.open, &result), Names{});
        EXPECT_EQ(result, 0) << w.name;
    }
}

TEST_F(ToolWindows, CircleKeepsTypedSizesAcrossMethodChangesAndShowsOnlyTheFieldOfItsMethod) {
    objopts->circle_method = 3;
    objopts->circle_value1 = 1.0;
    objopts->circle_value2 = 4.0;
    Session s;
    s.then([] {
        EXPECT_TRUE(plat::item_visible(front_control(4)));
        EXPECT_FALSE(plat::item_visible(front_control(5)));
        EXPECT_EQ(plat::focus_item(plat::front_dialog()), front_control(4));
        plat::set_item_text(front_control(4), "2.5");
    });
    choose_popup(s, 3, 1);
    s.then([] {
        EXPECT_FALSE(plat::item_visible(front_control(4)));
        EXPECT_FALSE(plat::item_visible(front_control(5)));
    });
    choose_popup(s, 3, 4);
    s.then([] {
        // Only the diameter field, with the text cursor in it.
        EXPECT_FALSE(plat::item_visible(front_control(4)));
        EXPECT_TRUE(plat::item_visible(front_control(5)));
        EXPECT_EQ(plat::focus_item(plat::front_dialog()), front_control(5));
    });
    choose_popup(s, 3, 1).press("ok  ").ends();
    int result = -1;
    EXPECT_EQ(changes(s, ShowCircleToolSettingWindow, &result),
              (Names{"objopts.circle_method", "objopts.circle_value1"}));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(objopts->circle_method, 1);
    EXPECT_EQ(objopts->circle_value1, 2.5);  // typed before the switch to method 1
    EXPECT_EQ(objopts->circle_value2, 4.0);
    // A size that does not read, or is negative, gives 0 without an alert.
    Session bad;
    bad.then([] { plat::set_item_text(front_control(4), "-2"); }).press("ok  ").ends();
    bad.drive([&] { result = ShowCircleToolSettingWindow(); });
    EXPECT_EQ(objopts->circle_value1, 0.0);
}

TEST_F(ToolWindows, ArcStoresTheDirectionWhateverTheMethod) {
    objopts->arc_opt1 = 1;
    objopts->arc_opt2 = 1;
    objopts->arc_value = 3.0;
    Session s;
    s.then([] { EXPECT_FALSE(plat::item_visible(front_control(5))); });
    choose_popup(s, 3, 3);
    s.then([] {
        EXPECT_TRUE(plat::item_visible(front_control(5)));
        EXPECT_EQ(plat::focus_item(plat::front_dialog()), front_control(5));
        plat::set_item_text(front_control(5), "1.5");
    });
    choose_popup(s, 3, 2);
    choose_popup(s, 4, 2).press("ok  ").ends();
    int result = -1;
    EXPECT_EQ(changes(s, ShowArcToolSettingWindow, &result),
              (Names{"objopts.arc_opt1", "objopts.arc_opt2", "objopts.arc_value"}));
    EXPECT_EQ(objopts->arc_opt1, 2);
    EXPECT_EQ(objopts->arc_opt2, 2);
    EXPECT_EQ(objopts->arc_value, 1.5);
}

TEST_F(ToolWindows, GroupNameShowsItsControlsByModeAndClampsTheNumber) {
    objopts->group_opt1 = 0;
    objopts->group_opt2 = 1;
    props_defs.group = 5;
    Session s;
    s.then([] {
        EXPECT_FALSE(plat::item_visible(front_control(4)));
        EXPECT_FALSE(plat::item_visible(front_control(5)));
        EXPECT_EQ(plat::item_text(front_control(5)), "5");
    });
    choose_popup(s, 3, 2);
    s.then([] {
        EXPECT_TRUE(plat::item_visible(front_control(4)));
        EXPECT_TRUE(plat::item_visible(front_control(5)));
        EXPECT_TRUE(plat::item_visible(front_control(6)));
        plat::set_item_value(front_control(4), 0);
        plat::post_command(plat::front_dialog(), 0x47436169);  // 'GCai'
    });
    s.then([] { EXPECT_FALSE(plat::item_visible(front_control(5))); });
    choose_popup(s, 3, 1);
    s.then([] { plat::set_item_text(front_control(5), "12"); }).press("ok  ").ends();
    int result = -1;
    // Mode 1 stores 0, and the number field still counts.
    EXPECT_EQ(changes(s, ShowGroupWindow, &result), (Names{"objopts.group_opt2", "props_defs.group"}));
    EXPECT_EQ(objopts->group_opt1, 0);
    EXPECT_EQ(props_defs.group, 12);

    const struct {
        const char* text;
        std::uint16_t stored;
    } numbers[] = {{"999", 999}, {"1000", 999}, {"32767", 999}, {"0", 1}, {"", 1}, {"40000", 1}, {"7", 7}};
    for (const auto& n : numbers) {
        Session t;
        t.then([&] { plat::set_item_text(front_control(5), n.text); }).press("ok  ").ends();
        t.drive([&] { result = ShowGroupWindow(); });
        EXPECT_EQ(props_defs.group, n.stored) << n.text;
    }
}

TEST_F(ToolWindows, FindSetupShowsAndStoresTheCrossHairBits) {
    swaper = static_cast<std::uint16_t>(sw_grid | (1 << 3));  // style 1
    objopts->idle_snap = 0;
    Session s;
    s.then([] {
        EXPECT_EQ(plat::item_value(front_control(3)), 1);
        plat::set_item_value(front_control(3), 0);
        plat::set_item_value(front_control(4), 1);
    });
    s.press("ok  ").ends();
    int result = -1;
    EXPECT_EQ(changes(s, ShowCursorWindow, &result), (Names{"objopts.idle_snap", "swaper"}));
    EXPECT_EQ(swaper, sw_grid);  // bits 3-4 cleared, the others kept
    EXPECT_EQ(objopts->idle_snap, 1);
    // Style 2 draws as style 1 does and shows as it.
    swaper = static_cast<std::uint16_t>(2 << 3);
    Session t;
    t.then([] { EXPECT_EQ(plat::item_value(front_control(3)), 1); }).press("ok  ").ends();
    t.drive([&] { result = ShowCursorWindow(); });
    EXPECT_EQ(swaper, 1 << 3);
}

namespace {

bool greenish(std::uint32_t p) {
    const plat::RGBColor c = plat::color_of(p);
    return c.green > c.red + 0x1000 && c.green > c.blue + 0x1000;
}

// Pixels of a button's area: tinted, and inked (darker than the window).
void count(DialogPtr d, int id, int* tinted, int* ink) {
    const plat::Rect r = plat::item_rect(GrabCRef(d, 0, id));
    *tinted = *ink = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const std::uint32_t p = plat::dialog_port(d)->pixel(x, y);
            if (greenish(p)) ++*tinted;
            if (plat::color_of(p).red < 0x8000) ++*ink;
        }
}

}  // namespace

TEST_F(ToolWindows, TangentLabelsChooseTheirButtonAndTheChosenButtonIsTinted) {
    objopts->tangent_opt = 1;
    Session s;
    s.then([] {
        DialogPtr d = plat::front_dialog();
        plat::draw_dialog(d);
        EXPECT_EQ(curTanToolHighlighted, 4);
        int tinted = 0, ink = 0;
        count(d, 4, &tinted, &ink);
        EXPECT_GT(tinted, 300);  // most of the 24 x 24 square
        EXPECT_GT(ink, 10);
        count(d, 5, &tinted, &ink);
        EXPECT_EQ(tinted, 0);
        EXPECT_GT(ink, 10);
        // Mode 1's circle: centre (7, 8) up from the bottom, radius 4.25,
        // antialiased: its leftmost point lies between two pixels.
        const plat::Rect r = plat::item_rect(GrabCRef(d, 0, 4));
        const plat::RGBColor edge = plat::color_of(plat::dialog_port(d)->pixel(r.left + 2, r.top + 24 - 8 - 1));
        EXPECT_LT(edge.red, 0xF000);
        EXPECT_GT(edge.red, 0x0800);
        plat::post_command(d, 0x54616E35);  // a click on label 15 sends button 5's command
    });
    s.then([] {
        DialogPtr d = plat::front_dialog();
        plat::draw_dialog(d);
        EXPECT_EQ(curTanToolHighlighted, 5);
        int tinted = 0, ink = 0;
        count(d, 4, &tinted, &ink);
        EXPECT_EQ(tinted, 0);  // redrawn untinted
        count(d, 5, &tinted, &ink);
        EXPECT_GT(tinted, 300);
    });
    s.press("ok  ").ends();
    int result = -1;
    EXPECT_EQ(changes(s, ShowTangentSettingsWindow, &result), Names{"objopts.tangent_opt"});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(objopts->tangent_opt, 2);
    Session cancel;
    cancel.then([] { plat::post_command(plat::front_dialog(), 0x54616E37); }).press("not!").ends();
    EXPECT_EQ(changes(cancel, ShowTangentSettingsWindow, &result), Names{});
    EXPECT_EQ(result, 0);
}
