// The arc command driven through the running program.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "platform/ui/dialogs.h"
#include "store/geometry.h"
#include "store/number_text.h"
#include "store/settings.h"
#include "tests/commands/draw/shape_steps.h"

using namespace drav;
using namespace drav::shape_test;
using drav::test::answers;
using drav::test::Session;

namespace {

constexpr double pi = std::numbers::pi;
constexpr double u100 = 100 * unit;  // one unit of the hand-worked examples

void expect_arc(int n, double x, double y, double r, double begin, double end, bool bit) {
    const ObjectRec rec = stored(n);
    EXPECT_EQ(obj_kind(rec), ok_ellipse) << "record " << n;
    EXPECT_EQ(rec_u16(rec, ell::flags), bit ? ell::clockwise : 0) << "record " << n;
    EXPECT_NEAR(rec_f64(rec, obj::ref_x), x, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(rec, obj::ref_y), y, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(rec, ell::radius1), r, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(rec, ell::radius2), r, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(rec, ell::begin), begin, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(rec, ell::end), end, tol) << "record " << n;
    EXPECT_EQ(rec_f64(rec, obj::rotation), 0) << "record " << n;
}

struct Case {
    const char* what;
    int method;
    double radius;  // the fixed radius, units of 100 pixels
    std::vector<plat::Point> clicks;
    double cx, cy, r, begin, end;  // units of 100 pixels from the first click
    bool bit;
};

}  // namespace

TEST(ArcCommand, StoresTheArcOfEachMethod) {
    const double h = std::sqrt(21.0);  // 4.5826
    const std::vector<Case> cases = {
        {"through (-1,0) (0,1) (1,0)", 1, 1, {at(200, 400), at(400, 400), at(300, 300)}, 1, 0, 1, pi, 0, true},
        {"through (-1,0) (0,-1) (1,0)", 1, 1, {at(200, 400), at(400, 400), at(300, 500)}, 1, 0, 1, pi, 0, false},
        {"centre (0,0), start (2,0), cursor (0,3)", 2, 1, {at(300, 400), at(500, 400), at(300, 100)}, 0, 0, 2, 0, pi / 2, true},
        {"ends (0,0) (4,0), radius 5, cursor (2,-0.5)", 3, 5, {at(100, 500), at(500, 500), at(300, 550)}, 2, h, 5,
         std::atan2(-h, -2.0) + 2 * pi, std::atan2(-h, 2.0) + 2 * pi, false},
    };
    Session s;
    for (const Case& c : cases) {
        s.then([&c] {
            objopts->arc_opt1 = static_cast<std::int16_t>(c.method);
            objopts->arc_opt2 = 1;
            objopts->arc_value = c.radius * u100;
        });
        start(s, tool_arc);
        s.then([&c] { EXPECT_EQ(message(), prompt(c.method == 2 ? 27 : 24)); });
        s.click(c.clicks[0]);
        s.then([&c] { EXPECT_EQ(message(), prompt(c.method == 2 ? 28 : 25)); });
        s.click(c.clicks[1]);
        s.then([&c] { EXPECT_EQ(message(), prompt(c.method == 2 ? 29 : 26)); });
        s.click(c.clicks[2]);
        count_is(s, 1);
        s.then([&c] {
            SCOPED_TRACE(c.what);
            const plat::Point p = c.clicks[0];
            expect_arc(n0, wx(p.h) + c.cx * u100, wy(p.v) + c.cy * u100, c.r * u100, c.begin, c.end, c.bit);
        });
        quit_command(s);
    }
    run_unsaved(s);
}

TEST(ArcCommand, AClickOnTheEndPointOrOnTheChordIsRefusedAndTheStepGoesOn) {
    Session s;
    s.then([] {
        objopts->arc_opt1 = 1;
        objopts->arc_opt2 = 1;
    });
    start(s, tool_arc);
    s.click(at(200, 400));
    s.click(at(400, 400));
    s.then([] { answers().expect("no size"); });
    s.click(at(400, 400));  // on p2 itself
    s.then([] { answers().expect("no size"); });
    s.click(at(300, 400));  // on the chord: three points on a line
    s.then([] { EXPECT_TRUE(answers().done()); });
    count_is(s, 0);
    s.click(at(300, 300));
    count_is(s, 1);
    s.then([] { expect_arc(n0, wx(300), wy(400), u100, pi, 0, true); });
    key(s, 'Q');
    run_unsaved(s);
}

TEST(ArcCommand, UndoAndEscTakeBackOnlyThisCommandsArcs) {
    Session s;
    s.then([] {
        objopts->arc_opt1 = 2;
        objopts->arc_opt2 = 1;
    });
    earlier_command(s, tool_arc, {at(100, 100), at(150, 100), at(100, 50)});  // an earlier command's arc
    auto before = snapshot_now(s);
    start(s, tool_arc);
    s.click(at(300, 300));
    s.click(at(400, 300));
    s.click(at(300, 200));
    count_is(s, 1);
    s.click(at(600, 300));
    s.click(at(700, 300));
    key(s, 'U');  // drops the arc in hand only
    count_is(s, 1);
    s.then([] { EXPECT_EQ(message(), prompt(27)); });
    s.click(at(600, 300));
    key(s, 'U');  // while the start is asked: takes back the stored arc
    count_is(s, 0);
    s.then([] { expect_arc(n0 - 1, wx(100), wy(100), 50 * unit, 0, pi / 2, true); });
    s.click(at(300, 500));
    s.click(at(400, 500));
    s.click(at(300, 600));
    count_is(s, 1);
    s.then([] { expect_arc(n0, wx(300), wy(500), u100, 0, 3 * pi / 2, true); });
    esc_takes_back(s, 1, before);
    run_unsaved(s);
}

// The radius dialog's fields, in the program's own form.
static std::string length_text(double v) {
    char text[number_text_size];
    real_to_string(v, text, 1);
    return text;
}
static std::string field(int item) { return plat::item_text(plat::dialog_item(plat::front_dialog(), item)); }

TEST(ArcCommand, AChordLongerThanTheFixedDiameterAsksForARadius) {
    const double h = std::sqrt(21.0);  // 4.5826
    Session s;
    s.then([] {
        objopts->arc_opt1 = 3;
        objopts->arc_opt2 = 1;
        objopts->arc_value = u100;
    });
    start(s, tool_arc);
    s.click(at(100, 500));
    s.click(at(500, 500));  // a chord of 4 against radius 1
    s.then([] {
        ASSERT_NE(plat::front_dialog(), nullptr);
        EXPECT_EQ(field(5), length_text(2 * u100));
        EXPECT_EQ(field(7), length_text(2 * u100));
    });
    s.then([] {
        answers().expect("can't be read");
        answers().expect("out of range");
    });
    s.type(7, "x").hit(1);                      // not a number
    s.type(7, length_text(1.5 * u100)).hit(1);  // shorter than half the chord
    s.type(7, length_text(5 * u100)).hit(1);
    s.then([] {
        EXPECT_TRUE(answers().done());
        EXPECT_NEAR(objopts->arc_value, 5 * u100, 1e-4 * u100);
        EXPECT_EQ(message(), prompt(26));
    });
    s.click(at(300, 550));  // below the chord: the circle whose centre is above
    count_is(s, 1);
    s.then([h] {
        const ObjectRec rec = stored(n0);
        EXPECT_NEAR(rec_f64(rec, obj::ref_x), wx(100) + 2 * u100, 1e-3 * u100);
        EXPECT_NEAR(rec_f64(rec, obj::ref_y), wy(500) + h * u100, 1e-3 * u100);
        EXPECT_NEAR(rec_f64(rec, ell::radius1), 5 * u100, 1e-4 * u100);
    });
    s.click(at(100, 300));
    s.click(at(500, 300));
    s.click(at(300, 250));  // above the chord: the centre below
    count_is(s, 2);
    s.then([h] {
        const ObjectRec rec = stored(n0 + 1);
        EXPECT_NEAR(rec_f64(rec, obj::ref_x), wx(100) + 2 * u100, 1e-3 * u100);
        EXPECT_NEAR(rec_f64(rec, obj::ref_y), wy(300) - h * u100, 1e-3 * u100);
    });
    key(s, 'Q');
    run_unsaved(s);
}

TEST(ArcCommand, CancelInTheRadiusDialogDropsTheArcInHand) {
    Session s;
    s.then([] {
        objopts->arc_opt1 = 3;
        objopts->arc_value = u100;
    });
    start(s, tool_arc);
    auto before = snapshot_now(s);
    s.click(at(100, 500));
    s.click(at(500, 500));
    s.hit(2);
    s.then([] {
        EXPECT_EQ(objopts->arc_value, u100);
        EXPECT_EQ(message(), prompt(24));
    });
    count_is(s, 0);
    s.then([before] {
        const Snapshot now = snapshot();
        EXPECT_EQ(now.count, before->count);
        EXPECT_EQ(now.records.size(), before->records.size());
    });
    key(s, 27);
    ended(s);
    EXPECT_EQ(s.run(), 0);
}
