// The multi-line, polygon, curve, text, copy, scale and explode settings,
// driven through their dialogs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/command_loop.h"
#include "base/tool_options.h"
#include "display/screen.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/windows.h"
#include "shell/tool_setting_dialogs.h"
#include "store/settings.h"
#include "tests/dialogs/settings_fixture.h"
#include "tests/support/harness.h"
#include "tests/support/layouts.h"
#include "tests/support/session.h"
#include "tests/support/settings_snapshot.h"

using namespace drav;
using namespace drav::test;

namespace {

constexpr const char* out_of_range = "out of range";
constexpr const char* unreadable = "can't be read";

// The settings-window fixture with plain units and no command running.
class ToolSettingDialogs : public SettingsWindows {
protected:
    void SetUp() override {
        SettingsWindows::SetUp();
        units_defs = UnitsRec{};
        set_mlin_count(users_defs, 2);
        inbezier = inmodcopy = 0;
        aborted = 0;
    }
};

DialogPtr front() { return plat::front_dialog(); }
bool visible(int item) { return plat::item_visible(plat::dialog_item(front(), item)); }
std::string text(int item) { return plat::item_text(plat::dialog_item(front(), item)); }
bool enabled(int item) { return plat::item_hilite(plat::dialog_item(front(), item)) != 255; }
bool focused(int item) { return plat::focus_item(front()) == plat::dialog_item(front(), item); }

// Dark pixels of an item's area in the dialog's port.
int dark(int item) {
    const plat::Rect r = plat::item_rect(plat::dialog_item(front(), item));
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += plat::color_of(plat::dialog_port(front())->pixel(x, y)).red < 0x8000;
    return n;
}

// A click on click area `area` over the square item `square`.
Session& click_square(Session& s, int area, int square) {
    return s.then([area, square] {
        DialogPtr d = front();
        const plat::Rect r = plat::item_rect(plat::dialog_item(d, square));
        const plat::Rect b = plat::dialog_bounds(d);
        plat::EventRecord e;
        e.what = plat::mouseDown;
        e.dialog = d;
        e.item = static_cast<std::int16_t>(area);
        e.where = plat::Point{static_cast<std::int16_t>(b.top + (r.top + r.bottom) / 2),
                              static_cast<std::int16_t>(b.left + (r.left + r.right) / 2)};
        post(e);
    });
}

}  // namespace

TEST_F(ToolSettingDialogs, MultiLineCountIsTwoTo255AndOkStoresOnlyItsFields) {
    // 1 and 256 are refused with the dialog left open; 255 is taken.
    Session s;
    s.then([] {
        EXPECT_EQ(text(24), "2");
        EXPECT_TRUE(focused(22));
        // The chosen pivot square (1: the right face, item 10) is shown inverted.
        plat::draw_dialog(front());
        EXPECT_GT(dark(10), dark(9) + 200);
        EXPECT_GT(dark(19), dark(18) + 200);  // handle 1 as well
    });
    s.type(24, "1").hit(1);
    s.then([] { EXPECT_TRUE(focused(24)); });
    s.type(24, "256").hit(1).type(24, "255");
    s.hit(4).hit(5).hit(6);
    click_square(s, 7, 11);  // pivot: the left face
    click_square(s, 7, 16);  // end lines: both
    click_square(s, 7, 18);  // handle: centre
    s.type(22, "0.5").hit(1).ends();
    answers().expect(out_of_range);
    answers().expect(out_of_range);
    int result = -1;
    EXPECT_EQ(changes(s, mlinsetup, &result),
              (Names{"objopts.mline_opt1", "objopts.mline_opt2", "objopts.mline_opt3", "objopts.mline_opt4",
                     "users_defs.mlin_bits", "users_defs.wall_width"}));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(objopts->mline_opt1, 2);
    EXPECT_EQ(objopts->mline_opt4, 2);
    EXPECT_EQ(objopts->mline_opt2, 3);
    EXPECT_EQ(objopts->mline_opt3, 0);
    EXPECT_EQ(mlin_count(users_defs), 255);
    EXPECT_EQ(mlin_spacing(users_defs), 1);
    EXPECT_EQ(mlin_cut(users_defs), 1);
    EXPECT_EQ(users_defs.wall_width, 0.5);
}

TEST_F(ToolSettingDialogs, CancelAfterABadValueClosesWithoutAlertOrStore) {
    Session s;
    s.type(24, "1").hit(5).type(22, "x").hit(2).ends();
    int result = -1;
    EXPECT_EQ(changes(s, mlinsetup, &result), Names{});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(front(), nullptr);
}

TEST_F(ToolSettingDialogs, PolygonSidesAreThreeTo180AndTheRadiusShowsOnlyForAFixedSize) {
    objopts->poly_opt2 = 1;
    objopts->poly_value = 2.0;
    Session s;
    s.then([] { EXPECT_FALSE(visible(7)); });
    s.type(4, "2").hit(6);  // refused: the choice is ignored
    s.then([] { EXPECT_FALSE(visible(7)); });
    s.type(4, "3").hit(6);
    s.then([] {
        EXPECT_TRUE(visible(7));
        EXPECT_TRUE(focused(7));
    });
    s.type(7, "5").hit(9).hit(5);
    s.then([] { EXPECT_FALSE(visible(7)); });
    s.hit(1).ends();
    answers().expect(out_of_range);
    int result = -1;
    EXPECT_EQ(changes(s, plysetup, &result), (Names{"objopts.poly_opt1", "objopts.poly_opt3", "objopts.poly_value"}));
    EXPECT_EQ(objopts->poly_opt1, 3);
    EXPECT_EQ(objopts->poly_opt2, 1);
    EXPECT_EQ(objopts->poly_opt3, 1);
    EXPECT_EQ(objopts->poly_value, 5.0);  // as last typed, though hidden
}

TEST_F(ToolSettingDialogs, CurveTypeIsLockedWhileTheCurveToolRuns) {
    inbezier = 1;
    objopts->bez_opt1 = 1;
    Session s;
    s.then([] {
        EXPECT_FALSE(enabled(3));
        EXPECT_FALSE(enabled(4));
        EXPECT_TRUE(visible(5));
        EXPECT_FALSE(visible(14));
    });
    s.hit(2).ends();
    int result = -1;
    s.drive([&] { result = bezsetup(); });
    EXPECT_EQ(result, 0);
}

TEST_F(ToolSettingDialogs, CurveChoicesShowTheirItemsAndBothRowsStoreConditionsOneToFour) {
    objopts->bez_opt1 = 1;
    objopts->bez_opt3 = 1;
    objopts->bez_opt4 = 1;
    Session s;
    s.then([] {
        EXPECT_TRUE(enabled(3));
        EXPECT_FALSE(visible(9));
        EXPECT_FALSE(visible(24));
    });
    s.hit(4);
    s.then([] {
        EXPECT_FALSE(visible(5));
        EXPECT_TRUE(visible(14));
        EXPECT_TRUE(visible(21));
        EXPECT_FALSE(visible(24));  // box 22 is clear
    });
    click_square(s, 9, 17);   // start: mirrored
    click_square(s, 10, 20);  // end: straight
    s.hit(22);
    s.then([] {
        EXPECT_TRUE(visible(24));
        EXPECT_TRUE(focused(24));
    });
    s.type(24, "-1").hit(26);  // refused
    s.type(24, "2").hit(26).type(26, "0.25").hit(1).ends();
    answers().expect(out_of_range);
    int result = -1;
    EXPECT_EQ(changes(s, bezsetup, &result),
              (Names{"objopts.bez_opt1", "objopts.bez_opt3", "objopts.bez_opt4", "objopts.bez_opt6",
                     "users_defs.spline_band", "users_defs.spline_step"}));
    EXPECT_EQ(objopts->bez_opt1, 2);
    EXPECT_EQ(objopts->bez_opt3, 4);
    EXPECT_EQ(objopts->bez_opt4, 3);
    EXPECT_EQ(objopts->bez_opt6, 1);
    EXPECT_EQ(users_defs.spline_band, 2.0);
    EXPECT_EQ(users_defs.spline_step, 0.25);
}

TEST_F(ToolSettingDialogs, TextSizesOnPaperAreShownTimesTheScaleAndStoredDividedByIt) {
    output_defs.flags = of_text_on_paper;
    output_defs.plot_scale = 0.5;
    props_defs.text_height = 0.2;
    Session s;
    s.then([] { EXPECT_EQ(text(7), "0.1000"); });  // 0.2 x 0.5
    s.type(7, "0.3").hit(1).ends();
    int result = -1;
    EXPECT_EQ(changes(s, textsetup, &result), Names{"props_defs.text_height"});
    EXPECT_DOUBLE_EQ(props_defs.text_height, 0.6);  // 0.3 / 0.5
    // Without the flag, or with no usable plot scale, drawing units.
    for (const auto& [flags, scale] : {std::pair{std::uint16_t{0}, 0.5}, std::pair{of_text_on_paper, 0.0}}) {
        output_defs.flags = flags;
        output_defs.plot_scale = scale;
        Session t;
        t.then([] { EXPECT_EQ(text(7), "0.6000"); }).hit(2).ends();
        t.drive([&] { result = textsetup(); });
    }
}

TEST_F(ToolSettingDialogs, TextRangesCancelAndTheLineFeedFields) {
    Session s;
    s.then([] { EXPECT_FALSE(visible(11)); });
    s.choose(3, 2);
    s.then([] { EXPECT_TRUE(visible(11)); });
    s.type(5, "-2").hit(11).type(11, "-1").hit(13).type(11, "0.2").type(9, "300").hit(1).type(9, "7").hit(1).ends();
    answers().expect(out_of_range);  // the negative spacing
    answers().expect(out_of_range);  // font 300
    int result = -1;
    EXPECT_EQ(changes(s, textsetup, &result),
              (Names{"objopts.text_opt", "props_defs.font", "props_defs.text_width", "props_defs.x_spacing"}));
    EXPECT_EQ(props_defs.text_width, -2.0);
    EXPECT_EQ(props_defs.x_spacing, 0.2);
    EXPECT_EQ(props_defs.font, 7);
    EXPECT_EQ(objopts->text_opt, 1);
    EXPECT_EQ(aborted, 0);
    Session cancel;
    cancel.type(5, "9").hit(2).ends();
    EXPECT_EQ(changes(cancel, textsetup, &result), Names{});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(aborted, 1);
}

TEST(TextSettingsRedraw, AFontChangeAloneDoesNotRedrawADisplayBoxDoes) {
    Session s;
    plat::Rect area;
    bool font_only_redrew = true, box_redrew = false;
    std::uint16_t stroke = 0;
    s.then([&] {
        stroke = swaper & sw_stroke_text;
        plat::take_invalid(whichdrawWindow(), &area);
        textsetup();
        font_only_redrew = plat::take_invalid(whichdrawWindow(), &area);
        textsetup();
        box_redrew = plat::take_invalid(whichdrawWindow(), &area);
    });
    s.type(9, "3").hit(1);
    s.hit(14).hit(1);
    s.then([&] { EXPECT_NE(swaper & sw_stroke_text, stroke); });
    EXPECT_EQ(s.run(), 0);
    EXPECT_FALSE(font_only_redrew);
    EXPECT_TRUE(box_redrew);
}

TEST_F(ToolSettingDialogs, CopyModesShowTheirFieldsAndCheckTheirRanges) {
    objopts->copy_mode = 1;
    Session s;
    s.then([] {
        for (int i = 8; i <= 19; ++i) EXPECT_FALSE(visible(i)) << i;
    });
    s.hit(6);
    s.then([] {
        EXPECT_FALSE(visible(9));
        EXPECT_TRUE(visible(12));
        EXPECT_TRUE(visible(13));
        EXPECT_FALSE(visible(17));
        EXPECT_TRUE(focused(12));
    });
    s.type(12, "0").hit(13);  // refused when the field is left
    s.type(12, "3").hit(13).type(13, "4").hit(7);
    s.then([] {
        EXPECT_TRUE(visible(17));
        EXPECT_FALSE(visible(12));
        EXPECT_TRUE(focused(17));
    });
    s.type(17, "361").hit(18).type(17, "360").hit(18).type(18, "6").hit(1).ends();
    answers().expect(out_of_range);
    answers().expect(out_of_range);
    int result = -1;
    EXPECT_EQ(changes(s, copysetup, &result),
              (Names{"objopts.circ_count", "objopts.circ_value1", "objopts.copy2_count1", "objopts.copy2_count2",
                     "objopts.copy_mode"}));
    EXPECT_EQ(objopts->copy_mode, 4);
    EXPECT_EQ(objopts->copy2_count1, 3);
    EXPECT_EQ(objopts->copy2_count2, 4);
    EXPECT_EQ(objopts->circ_value1, 360.0);
    EXPECT_EQ(objopts->circ_count, 6);
}

TEST_F(ToolSettingDialogs, CopyModeIsLockedDuringACopyButCountsChange) {
    inmodcopy = 1;
    objopts->copy_mode = 2;
    Session s;
    s.then([] {
        for (int i = 4; i <= 7; ++i) EXPECT_FALSE(enabled(i)) << i;
    });
    s.type(9, "5").hit(1).ends();
    int result = -1;
    EXPECT_EQ(changes(s, copysetup, &result), Names{"objopts.copy_count"});
    EXPECT_EQ(objopts->copy_count, 5);
}

TEST_F(ToolSettingDialogs, GroupScaleRadiosMapToPositionsAndSizes) {
    const struct {
        std::int16_t positions, sizes;
        int shown[3];
        int hit;
        std::int16_t stored_positions, stored_sizes;
    } cases[] = {
        {0, 1, {0, 1, 0}, 0, 0, 1},  // sizes only: item 16 alone; OK without a change
        {1, 1, {0, 0, 1}, 15, 1, 0},
        {1, 0, {1, 0, 0}, 17, 1, 1},
        {1, 1, {0, 0, 1}, 16, 0, 1},
    };
    for (const auto& c : cases) {
        objopts->scale_opt5 = c.positions;
        objopts->scale_opt4 = c.sizes;
        Session s;
        s.then([&] {
            for (int i = 0; i < 3; ++i) EXPECT_EQ(plat::item_value(plat::dialog_item(front(), 15 + i)), c.shown[i]);
        });
        if (c.hit) s.hit(c.hit);
        s.hit(1).ends();
        int result = -1;
        s.drive([&] { result = sclsetup(1); });
        EXPECT_EQ(objopts->scale_opt5, c.stored_positions) << c.hit;
        EXPECT_EQ(objopts->scale_opt4, c.stored_sizes) << c.hit;
    }
}

TEST_F(ToolSettingDialogs, ScaleFactorsMustBeAboveZeroAndTheMethodShowsItsItems) {
    objopts->scale_opt1 = 1;
    objopts->scale_opt3 = 0;
    Session s;
    s.then([] {
        EXPECT_TRUE(visible(5));
        EXPECT_FALSE(visible(7));
        EXPECT_FALSE(visible(13));
        EXPECT_FALSE(plat::dialog_item(front(), 15));  // the single-object form
    });
    s.hit(4);
    s.then([] {
        EXPECT_FALSE(visible(5));
        EXPECT_TRUE(visible(13));
        EXPECT_FALSE(visible(10));
        EXPECT_TRUE(focused(13));
    });
    s.type(13, "0").hit(14).type(13, "2").hit(7);
    s.then([] {
        EXPECT_TRUE(visible(10));
        EXPECT_FALSE(visible(13));
    });
    s.type(10, "0.5").hit(1).ends();
    answers().expect(out_of_range);
    int result = -1;
    EXPECT_EQ(changes(s, [] { return sclsetup(0); }, &result),
              (Names{"objopts.scale_opt1", "objopts.scale_opt3", "objopts.scale_value1", "objopts.scale_value2"}));
    EXPECT_EQ(objopts->scale_opt1, 2);
    EXPECT_EQ(objopts->scale_opt3, 1);
    EXPECT_EQ(objopts->scale_value1, 0.5);
    EXPECT_EQ(objopts->scale_value2, 2.0);
}

TEST_F(ToolSettingDialogs, ExplodePiecesAreTwoTo1000AndOkWithoutAnEditStoresNothing) {
    const struct {
        const char* typed;
        bool taken;
    } cases[] = {{"1", false}, {"1001", false}, {"2", true}, {"1000", true}, {"x", false}};
    for (const auto& c : cases) {
        objopts->explode_opt = 5;
        Session s;
        s.type(4, c.typed).hit(1);
        if (!c.taken) {
            answers().expect(c.typed[0] == 'x' ? unreadable : out_of_range);
            s.hit(2);
        }
        s.ends();
        int result = -1;
        const Names changed = changes(s, explsetup, &result);
        EXPECT_EQ(result, c.taken ? 1 : 0) << c.typed;
        EXPECT_EQ(changed, c.taken ? Names{"objopts.explode_opt"} : Names{}) << c.typed;
    }
    objopts->explode_opt = 1;  // a value from elsewhere, outside the range
    Session untouched;
    untouched.hit(1).ends();
    int result = -1;
    EXPECT_EQ(changes(untouched, explsetup, &result), Names{});
    EXPECT_EQ(result, 1);
}

TEST_F(ToolSettingDialogs, AMissingLayoutIsReportedAndCountsAsCancel) {
    drav::test::use_test_layouts();
    const struct {
        const char* file;
        int (*open)();
    } dialogs[] = {{"469.ui", mlinsetup}, {"471.ui", plysetup}, {"475.ui", bezsetup}, {"499.ui", textsetup},
                   {"480.ui", copysetup}, {"481.ui", explsetup}};
    for (const auto& d : dialogs) {
        std::filesystem::remove(drav::test::scratch_dir() / "layouts-bundle/ui/dlog" / d.file);
        answers().expect(d.file);
        const SettingsSnapshot before = take_snapshot();
        EXPECT_EQ(d.open(), 0) << d.file;
        EXPECT_EQ(changed_fields(before, take_snapshot()), Names{}) << d.file;
    }
    EXPECT_EQ(aborted, 1);  // the text settings' caller is told
    drav::test::drop_test_layouts();
}
