// Dialogs made from layouts: items, values, the modal loop on the event
// queue, and layouts that cannot be used.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QGuiApplication>

#include "platform/core/clock.h"
#include "platform/ui/answerer.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/events.h"
#include "platform/ui/windows.h"
#include "platform/ui/windows_qt.h"
#include "tests/support/harness.h"
#include "tests/support/layouts.h"
#include "tests/support/session.h"

using namespace plat;
using drav::test::Session;
using drav::test::test_dialog;

namespace {

class Dialogs : public testing::Test {
protected:
    void SetUp() override {
        drav::test::use_test_layouts();
        std::string error;
        d = new_dialog(test_dialog, &error);
        ASSERT_NE(d, nullptr) << error;
    }
    void TearDown() override {
        if (d && dialog_alive(d)) dispose_dialog(d);
        flush_events(everyEvent);
        drav::test::drop_test_layouts();
    }
    DItem* item(int n) { return dialog_item(d, n); }
    Dialog* d = nullptr;
};

EventRecord key_event(char c, std::uint16_t mods = 0) {
    EventRecord r;
    r.what = keyDown;
    r.message = static_cast<std::uint8_t>(c);
    r.modifiers = mods;
    return r;
}

}  // namespace

TEST_F(Dialogs, EveryItemKindComesFromTheLayout) {
    const struct {
        int item;
        ItemKind kind;
        int classic;
    } cases[] = {
        {1, ItemKind::button, 4},      {2, ItemKind::button, 4},     {3, ItemKind::static_text, 8},
        {4, ItemKind::edit_text, 16},  {6, ItemKind::check_box, 5},  {7, ItemKind::radio, 6},
        {10, ItemKind::popup, 7},      {11, ItemKind::user, 0},      {12, ItemKind::list, 0},
        {13, ItemKind::scroll_bar, 7}, {14, ItemKind::picture, 64},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(item_kind(item(c.item)), c.kind) << c.item;
        EXPECT_EQ(classic_item_type(item_kind(item(c.item))), c.classic) << c.item;
    }
    EXPECT_EQ(item_count(d), 14);
    EXPECT_EQ(dialog_item(d, 15), nullptr);
    EXPECT_EQ(cancel_item(d), 2);
    EXPECT_EQ(default_item(d), 1);
    EXPECT_EQ(item_rect(item(4)), (Rect{10, 140, 32, 240}));
    const Rect b = dialog_bounds(d);
    EXPECT_EQ(b.right - b.left, 301);
    EXPECT_EQ(b.bottom - b.top, 200);
}

TEST_F(Dialogs, ValuesTextsHiliteAndVisibility) {
    EXPECT_EQ(item_value(item(13)), 40);
    EXPECT_EQ(item_maximum(item(13)), 100);
    EXPECT_EQ(item_value(item(10)), 1);  // a pop-up starts at its first entry
    EXPECT_EQ(entry_count(item(10)), 3);
    set_item_value(item(10), 3);
    EXPECT_EQ(item_text(item(10)), "Metre");
    set_entries(item(12), {"A", "B", "C"});
    set_item_value(item(12), 2);
    EXPECT_EQ(item_text(item(12)), "B");
    // A check box keeps the value the program gives it, 2 (mixed) included.
    set_item_value(item(6), 2);
    EXPECT_EQ(item_value(item(6)), 2);
    set_item_text(item(4), "12.5");
    EXPECT_EQ(item_text(item(4)), "12.5");
    EXPECT_EQ(item_text(item(3)), "Distance:");
    set_item_hilite(item(1), 255);
    EXPECT_EQ(item_hilite(item(1)), 255);
    set_item_visible(item(5), false);
    EXPECT_FALSE(item_visible(item(5)));
}

TEST_F(Dialogs, AClickOnACheckBoxOnlyReportsTheHit) {
    show_dialog(d);
    set_item_value(item(6), 0);
    auto* box = dialog_widget(d)->findChild<QCheckBox*>("check");
    ASSERT_NE(box, nullptr);
    box->click();  // what a person's click does in the toolkit
    EXPECT_FALSE(box->isChecked());
    std::int16_t hit = 0;
    modal_dialog(d, nullptr, &hit);
    EXPECT_EQ(hit, 6);
    EXPECT_EQ(item_value(item(6)), 0);  // the program marks it, not the click
}

TEST_F(Dialogs, AButtonHitLeavesTheMouseButtonUp) {
    show_dialog(d);
    // A person's click: the toolkit reports the button only once it is released.
    auto* ok = dialog_widget(d)->findChild<QPushButton*>("ok");
    ASSERT_NE(ok, nullptr);
    ok->click();
    std::int16_t hit = 0;
    modal_dialog(d, nullptr, &hit);
    EXPECT_EQ(hit, 1);
    EXPECT_FALSE(button()) << "a loop after the dialog would believe the mouse held";
    // The same for a scripted hit, and for a click into a field.
    Session s;
    s.hit(4).hit(1);
    s.drive([&] {
        modal_dialog(d, nullptr, &hit);
        EXPECT_EQ(hit, 4);
        EXPECT_FALSE(button());
        modal_dialog(d, nullptr, &hit);
    });
    EXPECT_EQ(hit, 1);
    EXPECT_FALSE(button());
}

TEST_F(Dialogs, TheModalLoopHandsOutOneHitAtATime) {
    show_dialog(d);
    Dialog* other = new_dialog(test_dialog, nullptr);
    ASSERT_NE(other, nullptr);
    post_item_hit(other, 1);  // another dialog's hit: dropped
    EventRecord menu;
    menu.what = app1Evt;
    menu.message = 0x6E657720;  // a menu command waits until the loop ends
    post_event(menu);
    post_item_hit(d, 7);
    post_item_hit(d, 1);
    std::int16_t hit = 0;
    EXPECT_FALSE(modal_running());
    modal_dialog(d, nullptr, &hit);
    EXPECT_EQ(hit, 7);
    modal_dialog(d, nullptr, &hit);
    EXPECT_EQ(hit, 1);
    EventRecord left;
    ASSERT_TRUE(event_avail(everyEvent, &left));
    EXPECT_EQ(left.what, app1Evt);
    EXPECT_EQ(left.message, 0x6E657720u);
    dispose_dialog(other);
}

TEST_F(Dialogs, KeysGoToTheFocusedFieldThroughItsFilter) {
    show_dialog(d);
    ASSERT_EQ(focus_item(d), item(4));  // the first field takes the focus
    set_key_filter(item(4), [](DItem*, std::uint8_t ch) { return (ch >= '0' && ch <= '9') || ch < 32; });
    for (char c : std::string("1-2a3")) apply_key(d, key_event(c));
    EXPECT_EQ(item_text(item(4)), "123");
    apply_key(d, key_event(8));  // backspace
    EXPECT_EQ(item_text(item(4)), "12");
    apply_key(d, key_event(9));  // Tab: the next field, its text selected
    EXPECT_EQ(focus_item(d), item(5));
    apply_key(d, key_event('x'));
    EXPECT_EQ(item_text(item(5)), "x");
    apply_key(d, key_event(9));
    EXPECT_EQ(focus_item(d), item(4));
    int s = 0, e = 0;
    item_selection(item(4), &s, &e);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(e, 2);
}

TEST_F(Dialogs, TheStandardFilterPressesTheDefaultAndCancelItems) {
    const struct {
        char ch;
        std::uint16_t mods;
        bool handled;
        int item;
    } cases[] = {{13, 0, true, 1}, {3, 0, true, 1}, {27, 0, true, 2}, {'.', cmdKey, true, 2}, {'a', 0, false, 0}};
    for (const auto& c : cases) {
        EventRecord e = key_event(c.ch, c.mods);
        std::int16_t it = 0;
        EXPECT_EQ(standard_filter(d, &e, &it), c.handled) << int(c.ch);
        EXPECT_EQ(it, c.item) << int(c.ch);
    }
    // A disabled default item is not pressed.
    set_item_hilite(item(1), 255);
    EventRecord e = key_event(13);
    std::int16_t it = 0;
    EXPECT_FALSE(standard_filter(d, &e, &it));
}

TEST_F(Dialogs, ScriptedInputFillsTheDialogAsTheLoopAsksForIt) {
    show_dialog(d);
    Session s;
    s.type(4, "3.25").choose(10, 2).choose(12, 3).hit(1);
    std::int16_t hit = 0;
    s.drive([&] {
        set_entries(item(12), {"A", "B", "C"});
        do modal_dialog(d, nullptr, &hit);
        while (hit != 1 && hit != 2);
    });
    EXPECT_EQ(hit, 1);
    EXPECT_EQ(s.steps_left(), 0u);
    EXPECT_EQ(item_text(item(4)), "3.25");
    EXPECT_EQ(item_value(item(10)), 2);
    EXPECT_EQ(item_text(item(12)), "C");
}

TEST_F(Dialogs, AScriptThatRunsOutCancelsTheDialog) {
    show_dialog(d);
    Session s;
    std::int16_t hit = 0;
    s.drive([&] { modal_dialog(d, nullptr, &hit); });
    EXPECT_EQ(hit, 2);  // the cancel item
}

TEST_F(Dialogs, ANibWindowSendsCommandsAndFindsControlsById) {
    std::string error;
    Dialog* w = new_nib_window("drav", "Yes No Cancel", &error);
    ASSERT_NE(w, nullptr) << error;
    DItem* text = find_control(w, 0, 4);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(item_kind(text), ItemKind::static_text);
    EXPECT_EQ(find_control(w, 0, 5), nullptr);
    ASSERT_NE(command_control(w, 0x596E6E6F), nullptr);  // 'Ynno'
    show_dialog(w);
    // Return presses the default button, which sends its command.
    EventRecord ret = key_event(13);
    post_event(ret);
    std::int16_t hit = 0;
    EventRecord rec;
    modal_dialog(w, nullptr, &hit, &rec);
    EXPECT_EQ(rec.what, app1Evt);
    EXPECT_EQ(rec.message, 0x596E7973u);  // 'Ynys'
    post_command(w, 0x596E6E6F);
    modal_dialog(w, nullptr, &hit, &rec);
    EXPECT_EQ(rec.message, 0x596E6E6Fu);
    dispose_dialog(w);
}

TEST_F(Dialogs, MissingOrMalformedLayoutsAreReported) {
    std::string error;
    EXPECT_EQ(new_dialog(4321, &error), nullptr);
    EXPECT_NE(error.find("4321.ui"), std::string::npos) << error;
    drav::test::write_layout("ui/dlog/901.ui", "<ui version=\"4.0\"><widget class=\"QWidget\"");
    EXPECT_EQ(new_dialog(901, &error), nullptr);
    EXPECT_NE(error.find("901.ui"), std::string::npos) << error;
    drav::test::write_layout("ui/dlog/902.ui", R"(<ui version="4.0"><widget class="QWidget" name="w">
      <widget class="QPushButton" name="a"><property name="item" stdset="0"><number>1</number></property></widget>
      <widget class="QPushButton" name="b"><property name="item" stdset="0"><number>1</number></property></widget>
      </widget></ui>)");
    EXPECT_EQ(new_dialog(902, &error), nullptr);
    EXPECT_NE(error.find("item 1 is given twice"), std::string::npos) << error;
    drav::test::write_layout("ui/dlog/903.ui", R"(<ui version="4.0"><widget class="QWidget" name="w">
      <widget class="QPushButton" name="a"><property name="item" stdset="0"><number>0</number></property></widget>
      </widget></ui>)");
    EXPECT_EQ(new_dialog(903, &error), nullptr);
    EXPECT_EQ(new_nib_window("drav", "../dlog/900", &error), nullptr);
    EXPECT_EQ(new_nib_window("drav", "No Such Window", &error), nullptr);
    EXPECT_EQ(last_dialog_error(), error);
}

TEST_F(Dialogs, DisposingInvalidatesWhatTheDialogCoveredOfProgramWindows) {
    WindowSpec spec;
    spec.bounds = Rect{100, 100, 400, 600};
    spec.visible = true;
    Window* w = new_window(spec);
    Rect area;
    take_invalid(w, &area);
    move_dialog(d, 150, 120);
    show_dialog(d);
    dispose_dialog(d);
    d = nullptr;
    ASSERT_TRUE(take_invalid(w, &area));
    EXPECT_EQ(area, (Rect{20, 50, 220, 351}));  // 301 x 200 at (150, 120), less the window's corner (100, 100)
    dispose_window(w);
}

TEST(Answerer, NothingWaitsForAPersonOnTheHeadlessPlatform) {
    ASSERT_EQ(QGuiApplication::platformName(), "offscreen");
    set_answerer(nullptr);
    AlertRequest r;
    r.text = "Save changes?";
    r.buttons = {"Yes", "Cancel", "No"};
    r.cancel_item = 2;
    const std::uint32_t t0 = ticks();
    EXPECT_EQ(ask(r), 2);
    EXPECT_EQ(ticks(), t0);  // no loop ran
    set_answerer(&drav::test::answers());
}

TEST_F(Dialogs, TheCloseBoxCancels) {
    show_dialog(d);
    dialog_widget(d)->close();
    EXPECT_TRUE(dialog_visible(d));
    std::int16_t hit = 0;
    modal_dialog(d, nullptr, &hit);
    EXPECT_EQ(hit, 2);
}

TEST_F(Dialogs, DialogSelectNamesTheHitOfAModelessDialog) {
    show_dialog(d);
    post_item_hit(d, 12);
    EventRecord e;
    ASSERT_TRUE(wait_next_event(everyEvent, &e, 0));
    Dialog* which = nullptr;
    std::int16_t hit = 0;
    EXPECT_TRUE(dialog_select(e, &which, &hit));
    EXPECT_EQ(which, d);
    EXPECT_EQ(hit, 12);
    // A key is typed into the focused field and is no hit.
    EventRecord k = key_event('7');
    k.dialog = d;
    EXPECT_FALSE(dialog_select(k, &which, &hit));
    EXPECT_EQ(which, nullptr);
    EXPECT_EQ(item_text(item(4)), "7");
    // Input of no dialog, or of one that is gone.
    EventRecord plain = key_event('8');
    EXPECT_FALSE(dialog_select(plain, &which, &hit));
}
