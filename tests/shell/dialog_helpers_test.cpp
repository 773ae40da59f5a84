// Items of old-style dialogs by number, dialog preparation, pop-up records,
// and the closing calls that repaint what a dialog uncovered.
#include <gtest/gtest.h>

#include <QCheckBox>

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/idle.h"
#include "base/messages.h"
#include "base/shutdown.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/edit_fields.h"
#include "display/screen.h"
#include "platform/core/clock.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/menus.h"
#include "platform/ui/windows.h"
#include "platform/ui/windows_qt.h"
#include "shell/dialog_filters.h"
#include "shell/event_pump.h"
#include "shell/tool_palette.h"
#include "store/number_text.h"
#include "tests/support/harness.h"
#include "tests/support/layouts.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::answers;
using drav::test::Session;

namespace {

class DialogHelpers : public testing::Test {
protected:
    void SetUp() override {
        drav::test::use_test_layouts();
        d = open_dialog(drav::test::test_dialog);
        ASSERT_NE(d, nullptr);
    }
    void TearDown() override {
        if (d && plat::dialog_alive(d)) ourdisposdialog1(d);
        plat::flush_events(plat::everyEvent);
        drav::test::drop_test_layouts();
        EXPECT_TRUE(answers().done());
    }
    DialogPtr d = nullptr;
};

}  // namespace

TEST_F(DialogHelpers, WhichmarkedGivesTheLastMarkedItemLessBase) {
    struct Case {
        std::vector<int> marked;
        int first, last, base, expected;
    };
    const Case cases[] = {
        {{8, 9}, 6, 9, 5, 4},  // the last marked item wins
        {{7}, 6, 9, 5, 2},
        {{}, 6, 9, 5, -5},     // nothing marked
        {{7}, 9, 6, 5, -5},    // empty range
        {{6, 7}, 6, 7, 0, 7},
    };
    for (const Case& c : cases) {
        for (int i = 6; i <= 9; ++i) setvalue(d, i, 0);
        for (int i : c.marked) setvalue(d, i, 1);
        EXPECT_EQ(whichmarked(d, c.first, c.last, c.base), c.expected) << c.first << ".." << c.last;
    }
    EXPECT_EQ(whichmarked(nullptr, 6, 9, 5), 0);
}

TEST_F(DialogHelpers, MarkboxAndMarkbutton) {
    const struct {
        int before, after;
    } toggles[] = {{0, 1}, {1, 0}, {2, 0}};
    for (const auto& t : toggles) {
        setvalue(d, 6, t.before);
        markbox(d, 6);
        EXPECT_EQ(getvalue(d, 6), t.after) << t.before;
    }
    setvalue(d, 7, 1);
    markbutton(d, 7, 8, 8);
    EXPECT_EQ(getvalue(d, 7), 0);
    EXPECT_EQ(getvalue(d, 8), 1);
    // A chosen item outside the range is still set after the range is cleared.
    markbutton(d, 7, 8, 9);
    EXPECT_EQ(getvalue(d, 8), 0);
    EXPECT_EQ(getvalue(d, 9), 1);
    // A closed palette: nothing happens, getters answer 0.
    markbox(nullptr, 6);
    markbutton(nullptr, 7, 9, 8);
    setvalue(nullptr, 6, 1);
    EXPECT_EQ(getvalue(nullptr, 6), 0);
}

TEST_F(DialogHelpers, TextsOfItemsAndTheirLengthCheck) {
    set_item(d, 4, "abcde");
    char text[256];
    get_item(d, 4, text);
    EXPECT_STREQ(text, "abcde");
    EXPECT_TRUE(check_the_string(d, 4, "abcde"));
    EXPECT_FALSE(check_the_string(d, 4, "abcd"));
    EXPECT_TRUE(check_string_length(d, 4, 5));  // exactly the maximum: no alert
    answers().expect("at most 4 characters");
    EXPECT_FALSE(check_string_length(d, 4, 4));
    int s = -1, e = -1;
    plat::item_selection(plat::dialog_item(d, 4), &s, &e);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(e, 5);  // the whole text, ready to be retyped
    const unsigned char pascal[] = {3, 'x', 'y', 'z'};
    pset_item(d, 3, pascal);
    get_item(d, 3, text);
    EXPECT_STREQ(text, "xyz");
    // A long text is read as its first 255 characters.
    set_item(d, 5, std::string(300, '7').c_str());
    get_item(d, 5, text);
    EXPECT_EQ(std::strlen(text), 255u);
}

TEST_F(DialogHelpers, CenteringOnA1024PixelScreen) {
    setenv("DRAVELIN_SCREEN", "1024x768", 1);
    center_the_dialog(d);
    const plat::Rect b = plat::dialog_bounds(d);
    EXPECT_EQ(b.left, 362);  // 512 - 301 / 2
    EXPECT_EQ(b.top, 40);
}

TEST_F(DialogHelpers, PopupRecordsAndSelections) {
    PopupMenu menu{{"Inch", "Foot", "Metre"}, {}};
    PopupMenuRec rec;
    set_PopupMenuHandle(&rec, &menu);
    EXPECT_EQ(get_PopupMenuHandle(&rec), &menu);
    set_CurrentPopupMenuItem(&rec, 2);
    EXPECT_EQ(menu.marks, (std::vector<std::uint8_t>{plat::noMark, plat::checkMark, plat::noMark}));
    // Item 0 unchecks the old item and checks nothing.
    set_CurrentPopupMenuItem(&rec, 0);
    EXPECT_EQ(menu.marks, (std::vector<std::uint8_t>{plat::noMark, plat::noMark, plat::noMark}));
    std::int16_t current = -1;
    get_CurrentPopupMenuItem(&rec, &current);
    EXPECT_EQ(current, 0);
    // Attached to the pop-up item, the record sets what the control shows.
    set_CurrentPopupMenuItem(&rec, 3);
    AttachPopupToDialog(&rec, d, 10);
    plat::show_dialog(d);
    std::int16_t value = 77;
    EXPECT_TRUE(GetPopupSelection(d, 10, &value));
    EXPECT_EQ(value, 3);
    // An edit item is no pop-up: 0, the value untouched.
    value = 77;
    EXPECT_FALSE(GetPopupSelection(d, 4, &value));
    EXPECT_EQ(value, 77);
    DetachPopupFromDialog(&rec);
    EXPECT_EQ(rec.dialog, nullptr);
    EXPECT_EQ(rec.item, 0);
}

TEST_F(DialogHelpers, FramedUserItemsDrawIntoTheDialogsPort) {
    framerect(d, 11);  // item 11 lies at (150, 100), 40 x 20
    plat::show_dialog(d);
    const plat::Port* port = plat::dialog_port(d);
    // The frame grown by 2, and the 2-pixel shadow along its right and bottom.
    EXPECT_EQ(port->pixel(148, 98), plat::black_pixel);
    EXPECT_EQ(port->pixel(191, 121), plat::black_pixel);
    EXPECT_EQ(port->pixel(193, 110), plat::black_pixel);
    EXPECT_EQ(port->pixel(170, 123), plat::black_pixel);
    EXPECT_NE(port->pixel(170, 110), plat::black_pixel);  // inside stays clear
}

TEST_F(DialogHelpers, AFrameRectangleItemFramesItsOwnRectangle) {
    setframerectangle(d, 11);  // (150, 100) to (190, 120)
    plat::show_dialog(d);
    const plat::Port* port = plat::dialog_port(d);
    EXPECT_EQ(port->pixel(150, 100), plat::black_pixel);
    EXPECT_EQ(port->pixel(189, 119), plat::black_pixel);
    EXPECT_NE(port->pixel(151, 101), plat::black_pixel);
    EXPECT_NE(port->pixel(190, 120), plat::black_pixel);
    EXPECT_NE(port->pixel(148, 98), plat::black_pixel);  // no grown frame, no shadow
}

TEST_F(DialogHelpers, UpdatewindowsWithNothingPendingTakesOnePass) {
    const std::uint32_t t0 = plat::ticks();
    updatewindows();
    EXPECT_EQ(plat::ticks() - t0, 1u);  // each pass of the pump is one tick of the test clock
    plat::WindowSpec spec;
    spec.bounds = plat::Rect{100, 100, 200, 200};
    spec.visible = true;
    plat::Window* w = plat::new_window(spec);
    plat::Rect area;
    plat::take_invalid(w, &area);
    plat::invalidate_rect(w, plat::Rect{0, 0, 10, 10});
    const std::uint32_t t1 = plat::ticks();
    updatewindows();
    EXPECT_EQ(plat::ticks() - t1, 2u);  // the update, then the pass that finds nothing
    EXPECT_FALSE(plat::take_invalid(w, &area));
    plat::dispose_window(w);
}

namespace {

// An option dialog in the shape every one of them has: filled from the
// globals, run with the standard filter, stored only after OK.
double g_distance = 1.0;
std::int16_t g_copies = 0;
std::int16_t g_mode = 1;

int edit_options() {
    DialogPtr dlg = open_dialog(drav::test::test_dialog);
    if (!dlg) return 0;
    setup_dialog(dlg);
    char text[number_text_size];
    real_to_string(g_distance, text, 0);
    set_item(dlg, 4, text);
    setvalue(dlg, 6, g_copies);
    markbutton(dlg, 7, 9, 6 + g_mode);
    plat::show_dialog(dlg);
    std::int16_t item;
    double distance = 0;
    for (;;) {
        item = ModalDialog(dlg, dlgFilter);
        if (item == 6) markbox(dlg, 6);
        if (item >= 7 && item <= 9) markbutton(dlg, 7, 9, item);
        if (item == 2) break;
        if (item == 1 && check_real(dlg, 4, &distance, 0.0, 100.0, 0)) break;
    }
    if (item == 1) {
        g_distance = distance;
        g_copies = static_cast<std::int16_t>(getvalue(dlg, 6));
        g_mode = whichmarked(dlg, 7, 9, 6);
    }
    ourdisposdialog1(dlg);
    return item == 1;
}

}  // namespace

TEST_F(DialogHelpers, AnOptionDialogStoresOnOkOnly) {
    g_distance = 1.0;
    g_copies = 0;
    g_mode = 1;
    Session ok;
    ok.type(4, "abc").hit(6).hit(9).hit(1);  // a bad value keeps the dialog open
    ok.type(4, "2.5").hit(1);
    answers().expect("can't be read");
    int answer = -1;
    ok.drive([&] { answer = edit_options(); });
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(ok.steps_left(), 0u);
    EXPECT_EQ(g_distance, 2.5);
    EXPECT_EQ(g_copies, 1);
    EXPECT_EQ(g_mode, 3);

    Session cancel;
    cancel.type(4, "7").hit(6).hit(7).hit(2);
    cancel.drive([&] { answer = edit_options(); });
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(g_distance, 2.5);
    EXPECT_EQ(g_copies, 1);
    EXPECT_EQ(g_mode, 3);
}

TEST_F(DialogHelpers, AMissingOrMalformedLayoutIsReportedAndCancels) {
    drav::test::write_layout("ui/dlog/900.ui", "<ui version=\"4.0\"><widget class=");
    answers().expect("could not be used");
    g_distance = 4.0;
    EXPECT_EQ(edit_options(), 0);
    EXPECT_EQ(g_distance, 4.0);
    std::remove((drav::test::scratch_dir() / "layouts-bundle/ui/dlog/900.ui").c_str());
    answers().expect("900.ui");
    EXPECT_EQ(edit_options(), 0);
}

TEST(DialogClosing, TheDrawingUnderADisposedDialogIsRepaintedAtOnce) {
    Session s;
    s.then([] {
        // Drawn into the offscreen copy only: the window does not show it yet.
        {
            plat::PortSaver saver(myCGrafPtr);
            myCGrafPtr->pen_normal();
            myCGrafPtr->set_fore_color(plat::RGBColor{0, 0, 0});
            myCGrafPtr->paint_rect(plat::Rect{200, 300, 210, 310});
        }
        ASSERT_EQ(myCGrafPtr->pixel(305, 205), plat::black_pixel);
        plat::Port* shown = plat::window_port(whichdrawWindow());
        ASSERT_NE(shown->pixel(305, 205), plat::black_pixel);
        DialogPtr dlg = open_dialog(alert_standard);
        ASSERT_NE(dlg, nullptr);
        plat::move_dialog(dlg, 300, 200);  // over the drawing window's local (246, 157) and on
        plat::show_dialog(dlg);
        ourdisposdialog2(dlg);
        EXPECT_EQ(shown->pixel(305, 205), plat::black_pixel);
    });
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(s.steps_left(), 0u);
}

TEST(DialogClosing, APostponedPaletteClickRunsInsideTheClosingOfAnOptionDialog) {
    Session s;
    s.then([] {
        setidle(0);  // a command runs
        ASSERT_EQ(postpone_event(pp_tool, 5), 1);
        DialogPtr dlg = open_dialog(alert_standard);
        ASSERT_NE(dlg, nullptr);
        plat::show_dialog(dlg);
        EXPECT_EQ(postponed_code(), pp_tool);
        ourdisposdialog2(dlg);
        EXPECT_EQ(postponed_code(), 0);  // replayed before the caller goes on
        setidle(1);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST_F(DialogHelpers, FocusRangesFontsAndCoordinates) {
    plat::show_dialog(d);
    // No field has the focus: reselect_text changes nothing.
    plat::set_item_visible(plat::dialog_item(d, 4), false);
    plat::set_item_visible(plat::dialog_item(d, 5), false);
    DialogPtr bare = open_dialog(drav::test::test_dialog);
    ASSERT_NE(bare, nullptr);
    reselect_text(bare);
    EXPECT_EQ(plat::focus_item(bare), nullptr);
    ourdisposdialog1(bare);
    // With the focus in a field, its whole text is selected.
    show_ditem_range(d, 4, 5);
    EXPECT_TRUE(plat::item_visible(plat::dialog_item(d, 4)));
    set_item(d, 5, "123");
    select_text(d, 5);
    plat::select_item_text(plat::dialog_item(d, 5), 1, 1);
    reselect_text(d);
    int s = -1, e = -1;
    plat::item_selection(plat::dialog_item(d, 5), &s, &e);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(e, 3);
    hide_ditem_range(d, 6, 9);
    for (int i = 6; i <= 9; ++i) EXPECT_FALSE(plat::item_visible(plat::dialog_item(d, i))) << i;
    hide_ditem_range(d, 3, 2);  // first > last: nothing
    EXPECT_TRUE(plat::item_visible(plat::dialog_item(d, 3)));
    // The palette font: entry 413/39 gives the size.
    set_Palette_FontAndSize(d);
    EXPECT_EQ(plat::dialog_font_size(d), 10);
    // Local to global through the dialog's own port.
    plat::move_dialog(d, 100, 50);
    plat::PortSaver saver(plat::dialog_port(d));
    const plat::Rect local{10, 20, 30, 40};
    plat::Rect global;
    rect_localtoglobal(&global, &local);
    EXPECT_EQ(global, (plat::Rect{60, 120, 80, 140}));
    // Buttons hilited inactive and back.
    buttonOff(d, 1);
    EXPECT_EQ(plat::item_hilite(plat::dialog_item(d, 1)), 255);
    buttonOn(d, 1);
    EXPECT_EQ(plat::item_hilite(plat::dialog_item(d, 1)), 0);
}

TEST_F(DialogHelpers, TextEditFieldsCheckTheirOwnText) {
    ControlRef field = plat::dialog_item(d, 5);
    plat::set_item_text(field, "abcdef");
    EXPECT_TRUE(okstg_string_length(field, 6));
    answers().expect("at most 5 characters");
    EXPECT_FALSE(okstg_string_length(field, 5));
    double v = 0;
    plat::set_item_text(field, "3.5");
    EXPECT_TRUE(okstg_real(field, &v, 0, 5, 0));
    EXPECT_EQ(v, 3.5);
    std::int16_t n = 0;
    answers().expect("can't be read");
    EXPECT_FALSE(okstg_integer(field, &n, 0, 5));  // "3.5" is no integer
    plat::set_item_text(field, "7");
    answers().expect("out of range");
    EXPECT_FALSE(okstg_integer(field, &n, 0, 5));
    EXPECT_EQ(n, 0);
    plat::set_item_text(field, "4");
    EXPECT_TRUE(okstg_integer(field, &n, 0, 5));
    EXPECT_EQ(n, 4);
}

TEST(DialogClosing, AlertsShowInTheirOwnWindowOverTheDrawing) {
    Session s;
    s.then([] {
        answers().expect("out of range", 1, [](const plat::AlertRequest& r) {
            ASSERT_NE(r.window, nullptr);
            EXPECT_TRUE(plat::dialog_visible(r.window));
            EXPECT_EQ(plat::item_text(plat::dialog_item(r.window, 2)), r.text);
            EXPECT_EQ(plat::item_text(plat::dialog_item(r.window, 1)), "OK");
            const plat::Rect b = plat::dialog_bounds(r.window);
            EXPECT_EQ(b.left, 512 - 420 / 2);
            EXPECT_EQ(b.top, 40);
        });
        EXPECT_EQ(pr_alert(33, alert_standard), 1);
        // Only the tool palette, which start-up opens, stays.
        EXPECT_EQ(plat::front_dialog(), addDPtr);
        // The drawing under the alert is marked for redrawing.
        plat::Rect area;
        EXPECT_TRUE(plat::take_invalid(whichdrawWindow(), &area));
    });
    EXPECT_EQ(s.run(), 0);
    EXPECT_TRUE(answers().done());
}

TEST(DialogClosing, ScrollBarsShownAndHidden) {
    Session s;
    s.then([] {
        ASSERT_NE(horizHdl, nullptr);
        settcontrol(horizHdl, 0);
        EXPECT_FALSE(plat::control_visible(horizHdl));
        settcontrol(horizHdl, 2);  // colours only
        EXPECT_FALSE(plat::control_visible(horizHdl));
        settcontrol(horizHdl, 1);
        EXPECT_TRUE(plat::control_visible(horizHdl));
        settcontrol(nullptr, 1);
    });
    EXPECT_EQ(s.run(), 0);
}

namespace {

const char* const options_nib = R"(<ui version="4.0"><widget class="QWidget" name="w">
  <property name="geometry"><rect><x>0</x><y>0</y><width>240</width><height>120</height></rect></property>
  <widget class="QCheckBox" name="snap">
   <property name="geometry"><rect><x>10</x><y>10</y><width>100</width><height>20</height></rect></property>
   <property name="sig" stdset="0"><string>opts</string></property>
   <property name="id" stdset="0"><number>1</number></property>
  </widget>
  <widget class="QLineEdit" name="size">
   <property name="geometry"><rect><x>10</x><y>40</y><width>100</width><height>22</height></rect></property>
   <property name="sig" stdset="0"><string>opts</string></property>
   <property name="id" stdset="0"><number>2</number></property>
  </widget>
  <widget class="QPushButton" name="ok">
   <property name="geometry"><rect><x>150</x><y>80</y><width>80</width><height>26</height></rect></property>
   <property name="default"><bool>true</bool></property>
   <property name="command" stdset="0"><string>ok  </string></property>
  </widget>
  <widget class="QPushButton" name="cancel">
   <property name="geometry"><rect><x>60</x><y>80</y><width>80</width><height>26</height></rect></property>
   <property name="command" stdset="0"><string>not!</string></property>
  </widget>
 </widget></ui>)";

constexpr std::uint32_t opts = 0x6F707473, cmd_ok = 0x6F6B2020, cmd_not = 0x6E6F7421;
std::int16_t g_snap = 0, g_size = 10;

// A settings window in the usual shape: filled, run, harvested on OK.
bool options_handler(DialogPtr w, std::uint32_t command) {
    if (command == cmd_ok) {
        std::int16_t size = 0;
        if (!GetIntegerValueFromEditTextControl(GrabCRef(w, opts, 2), &size, 1, 100)) return false;  // stays open
        GetValueFromCheckBoxControl(GrabCRef(w, opts, 1), &g_snap);
        g_size = size;
        return true;
    }
    return command == cmd_not;
}

int show_options() {
    DialogPtr w = nullptr;
    if (CreateNibWindow("test", "Options", &w) != 0) return 0;
    plat::set_item_value(GrabCRef(w, opts, 1), g_snap);
    SetIntegerValueInEditTextControl(GrabCRef(w, opts, 2), g_size);
    install_key_filter(GrabCRef(w, opts, 2), FilterIntValues);
    plat::show_dialog(w);
    RunAppModalLoopForWindow(w, options_handler);
    plat::dispose_dialog(w);
    return 1;
}

}  // namespace

TEST_F(DialogHelpers, ANibWindowRunsOnItsCommandsUntilTheHandlerEndsIt) {
    drav::test::write_layout("ui/test/Options.ui", options_nib);
    g_snap = 0;
    g_size = 10;
    Session s;
    s.then([] {
        plat::Dialog* w = plat::front_dialog();
        ASSERT_NE(w, nullptr);
        // A nib check box changes by itself when clicked.
        auto* box = plat::dialog_widget(w)->findChild<QCheckBox*>("snap");
        box->click();
        plat::select_item_text(GrabCRef(w, opts, 2), 0, 32767);
    });
    s.key('5').key('x').key('0');  // typed into the field through its key filter
    s.press("ok  ").ends();  // the window closes on OK
    s.drive([] { show_options(); });
    EXPECT_EQ(g_snap, 1);
    EXPECT_EQ(g_size, 50);
    // Out of range: OK keeps the window open; Return (the default button) then Cancel.
    Session again;
    again.then([] { plat::set_item_text(GrabCRef(plat::front_dialog(), opts, 2), "500"); });
    again.key('\r').press("not!");
    again.drive([] { show_options(); });
    EXPECT_EQ(again.steps_left(), 0u);
    EXPECT_EQ(g_size, 50);
}

TEST_F(DialogHelpers, APictureItemShowsItsPicture) {
    plat::Port scratch(30, 30);
    scratch.open_picture(plat::Rect{0, 0, 30, 30});
    scratch.paint_rect(plat::Rect{5, 5, 10, 10});
    const plat::Picture picture = scratch.close_picture();
    plat::set_item_picture(plat::dialog_item(d, 14), picture);  // item 14 at (200, 100)
    plat::show_dialog(d);
    const plat::Port* port = plat::dialog_port(d);
    EXPECT_EQ(port->pixel(207, 107), plat::black_pixel);
    EXPECT_NE(port->pixel(212, 112), plat::black_pixel);
}
