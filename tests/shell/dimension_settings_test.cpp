// The dimension option dialogs driven by pop-up choices, item hits and typed
// text; the dimension palette's double click and its postponed click.
#include <gtest/gtest.h>

#include "annotation/dimension_flags.h"
#include "base/command_loop.h"
#include "base/idle.h"
#include "platform/ui/dialogs.h"
#include "shell/dimension_palette.h"
#include "shell/event_pump.h"
#include "store/settings.h"
#include "tests/dialogs/settings_fixture.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

using namespace drav;
using namespace drav::test;

namespace {

DialogPtr front() { return plat::front_dialog(); }
bool visible(int item) { return plat::item_visible(plat::dialog_item(front(), item)); }
bool enabled(int item) { return plat::item_hilite(plat::dialog_item(front(), item)) != 255; }
bool focused(int item) { return plat::focus_item(front()) == plat::dialog_item(front(), item); }
int value(int item) { return plat::item_value(plat::dialog_item(front(), item)); }

// A click on click area `area` over the picture item `picture`.
Session& click_picture(Session& s, int area, int picture) {
    return s.then([area, picture] {
        DialogPtr d = front();
        const plat::Rect r = plat::item_rect(plat::dialog_item(d, picture));
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

int g_runs = 0;
void fake_dimension(int) { ++g_runs; }

}  // namespace

class DimensionDialogs : public SettingsWindows {
protected:
    void SetUp() override {
        SettingsWindows::SetUp();
        indimlin = indimang = 0;
        dimnum = 0;
    }
};

TEST_F(DimensionDialogs, AStoredSeriesOf3OpensAsChoice1AndOkKeepsIt) {
    set_lindim_series(users_defs, 3);
    Session s;
    s.then([] {
        EXPECT_EQ(value(5), 1);
        EXPECT_FALSE(visible(6));
    });
    s.hit(1);
    int result = -1;
    EXPECT_EQ(changes(s, lindimsetup, &result), Names{});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(lindim_series(users_defs), 3);
}

TEST_F(DimensionDialogs, ASeriesChoiceIsStoredAndChoice3ShowsTheKeepBox) {
    Session s;
    s.choose(5, 3);
    s.then([] { EXPECT_TRUE(visible(6)); });
    s.hit(6).choose(5, 2);
    s.then([] { EXPECT_FALSE(visible(6)); });
    s.hit(1);
    int result = -1;
    EXPECT_EQ(changes(s, lindimsetup, &result), (Names{"objopts.lindim_opt1", "users_defs.dim_mode_bits"}));
    EXPECT_EQ(lindim_series(users_defs), 1);
    EXPECT_EQ(objopts->lindim_opt1, 1);
}

struct ToleranceCase {
    const char* name;
    int (*open)();
    int mode_item, first, last;
    int (*mode)(const UsersRec&);
    double* upper;
};

TEST_F(DimensionDialogs, ToleranceMode0HidesItsItemsAndAnotherModeShowsThem) {
    const ToleranceCase cases[] = {
        {"linear", lindimsetup, 27, 28, 31, lindim_tol_mode, &users_defs.lindim_tol_upper},
        {"angular", angdimsetup, 26, 27, 30, angdim_tol_mode, &users_defs.angdim_tol_upper},
        {"radial", radialdimsetup, 7, 8, 11, rdim_tol_mode, &objopts->rdim_value2},
        {"datum", datumdimsetup, 7, 8, 11, ddim_tol_mode, &objopts->ddim_value2}};
    for (const ToleranceCase& c : cases) {
        users_defs.dim_tol_bits = users_defs.rddim_tol_bits = 0;
        users_defs.lindim_tol_upper = users_defs.angdim_tol_upper = 0.125;
        objopts->rdim_value2 = objopts->ddim_value2 = 0.125;
        Session s;
        s.then([&c] {
            for (int i = c.first; i <= c.last; ++i) EXPECT_FALSE(visible(i)) << c.name << " " << i;
        });
        s.hit(1);  // stored unchanged
        int result = -1;
        EXPECT_EQ(changes(s, c.open, &result), Names{}) << c.name;
        Session t;
        t.choose(c.mode_item, 3);
        t.then([&c] {
            for (int i = c.first; i <= c.last; ++i) EXPECT_TRUE(visible(i)) << c.name << " " << i;
            EXPECT_TRUE(focused(c.first + 1)) << c.name;  // the first value field, selected
        });
        t.type(c.first + 1, "-1").hit(1);  // a negative tolerance is refused
        t.type(c.first + 1, "0.5").hit(1);
        answers().expect("out of range");
        t.drive([&c] { c.open(); });
        EXPECT_EQ(c.mode(users_defs), 2) << c.name;
        EXPECT_EQ(*c.upper, 0.5) << c.name;
    }
}

TEST_F(DimensionDialogs, TheDecimalAndFractionPrecisionPopupsWriteTheSameBits) {
    users_defs.lindim_format = 1;
    set_fraction_code(users_defs, 2);
    Session s;
    s.then([] {
        EXPECT_FALSE(visible(17));
        EXPECT_TRUE(visible(18));
        EXPECT_EQ(value(18), 3);
    });
    s.choose(18, 4).choose(11, 1);
    s.then([] {
        EXPECT_TRUE(visible(17));
        EXPECT_FALSE(visible(18));
    });
    s.hit(1);
    int result = -1;
    EXPECT_EQ(changes(s, lindimsetup, &result), (Names{"users_defs.dim_style_bits", "users_defs.lindim_format"}));
    EXPECT_EQ(users_defs.lindim_format, 0);
    EXPECT_EQ(fraction_code(users_defs), 3);
}

TEST_F(DimensionDialogs, TheAngularCentreBoxFollowsTheMarkerPlacing) {
    set_angdim_centred(users_defs, 1);
    set_angdim_breaks(users_defs, 1);  // choice 2
    Session s;
    s.then([] {
        EXPECT_EQ(value(9), 2);
        EXPECT_TRUE(enabled(8));
        EXPECT_EQ(value(8), 1);
    });
    s.hit(8);
    s.then([] { EXPECT_EQ(value(8), 0); });
    s.choose(9, 1);
    s.then([] {
        EXPECT_FALSE(enabled(8));
        EXPECT_EQ(value(8), 0);
    });
    s.choose(9, 3);
    s.then([] {
        EXPECT_TRUE(enabled(8));
        EXPECT_EQ(value(8), 1);  // the stored bit, not the value shown before
    });
    s.hit(1);
    int result = -1;
    EXPECT_EQ(changes(s, angdimsetup, &result), (Names{"users_defs.dim_mode_bits", "users_defs.dim_style_bits"}));
    EXPECT_EQ(angdim_breaks(users_defs), 0);
    EXPECT_EQ(angdim_outside(users_defs), 1);
    EXPECT_EQ(angdim_centred(users_defs), 1);
}

TEST_F(DimensionDialogs, TheAngularCentreBoxIsOffWithMarkersInside) {
    set_angdim_centred(users_defs, 1);
    Session s;
    s.then([] {
        EXPECT_EQ(value(9), 1);
        EXPECT_FALSE(enabled(8));
        EXPECT_EQ(value(8), 0);
    });
    s.hit(1);
    int result = -1;
    EXPECT_EQ(changes(s, angdimsetup, &result), Names{"users_defs.mlin_bits"});
    EXPECT_EQ(angdim_centred(users_defs), 0);
}

TEST_F(DimensionDialogs, PicturesChooseTheExtensionLinesAndMarkers) {
    set_lindim_marker(users_defs, 1);
    Session s;
    click_picture(s, 3, 14);  // extension type 1
    click_picture(s, 4, 24);  // marker 4
    s.then([] {
        EXPECT_EQ(exttype, 14);
        EXPECT_EQ(marktype, 24);
    });
    s.hit(1);
    int result = -1;
    EXPECT_EQ(changes(s, lindimsetup, &result), (Names{"objopts.lindim_opt2", "users_defs.dim_style_bits"}));
    EXPECT_EQ(objopts->lindim_opt2, 1);
    EXPECT_EQ(lindim_marker(users_defs), 4);
}

TEST_F(DimensionDialogs, TheMeasureBoxCannotChangeWhileTheSameCommandRuns) {
    indimlin = 1;
    Session s;
    s.then([] { EXPECT_FALSE(enabled(7)); });
    s.hit(1);
    int result = -1;
    EXPECT_EQ(changes(s, lindimsetup, &result), Names{});
}

TEST_F(DimensionDialogs, TheRadialKindCoversTwoBits) {
    set_rdim_diameter(users_defs, 1);
    Session s;
    s.then([] { EXPECT_EQ(value(3), 3); });
    s.choose(3, 2).choose(4, 2);
    s.then([] {
        EXPECT_FALSE(visible(5));
        EXPECT_TRUE(visible(6));
    });
    s.choose(6, 2).hit(1);
    int result = -1;
    EXPECT_EQ(changes(s, radialdimsetup, &result),
              (Names{"objopts.rdim_decimals", "objopts.rdim_opt", "users_defs.dim_mode_bits"}));
    EXPECT_EQ(rdim_diameter(users_defs), 0);
    EXPECT_EQ(rdim_leader_arrow(users_defs), 1);
    EXPECT_EQ(objopts->rdim_opt, 1);
    EXPECT_EQ(objopts->rdim_decimals, 1);
}

struct TextItemCase {
    const char* name;
    int (*open)();
    int item;
};

TEST_F(DimensionDialogs, TheLastItemOpensTheTextSettingsAndTheDialogStays) {
    const TextItemCase cases[] = {{"linear", lindimsetup, 32},
                                  {"angular", angdimsetup, 31},
                                  {"radial", radialdimsetup, 13},
                                  {"datum", datumdimsetup, 13}};
    for (const TextItemCase& c : cases) {
        Session s;
        DialogPtr dim = nullptr;
        s.then([&dim] { dim = front(); });
        s.hit(c.item);
        s.then([&dim, &c] {
            EXPECT_NE(front(), dim) << c.name;
            // The text settings: their item 5 is the text width field.
            EXPECT_EQ(plat::item_kind(plat::dialog_item(front(), 5)), plat::ItemKind::edit_text) << c.name;
        });
        s.hit(2);  // the text settings cancelled
        s.then([&dim, &c] { EXPECT_EQ(front(), dim) << c.name; });
        s.hit(2);
        int result = -1;
        EXPECT_EQ(changes(s, c.open, &result), Names{}) << c.name;
        EXPECT_EQ(result, 0) << c.name;
    }
}

TEST_F(DimensionDialogs, OkWhileTheSameCommandRunsDoesNotRestartItAndAnotherWaits) {
    dimension_commands[2] = dimension_commands[3] = fake_dimension;
    Session s;
    s.hit(1).hit(1);
    s.drive([] {
        setidle(0);
        dimnum = 2;
        dimension_doubleclick(2);
        EXPECT_EQ(quit, 0);
        EXPECT_EQ(postponed_code(), 0);
        dimension_doubleclick(3);
    });
    EXPECT_EQ(g_runs, 0);
    EXPECT_EQ(dimnum, 2);
    EXPECT_EQ(quit, 1);
    EXPECT_EQ(postponed_code(), pp_dimension);
    dimension_commands[2] = dimension_commands[3] = nullptr;
}
