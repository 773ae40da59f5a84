// The Bezier chain of the curve tool driven through the running program.
#include <gtest/gtest.h>

#include "display/bezier.h"
#include "tests/commands/draw/curve_steps.h"

using namespace drav;
using namespace drav::shape_test;
using namespace drav::curve_test;
using drav::test::Session;

namespace {

void bezier_options(std::int16_t two_clicks) {
    objopts->bez_opt1 = 1;
    objopts->bez_opt2 = two_clicks;
    objopts->bez_opt5 = 0;
}

}  // namespace

TEST(BezierCommand, OneClickShapesBothControlsAndTheNextPieceStartsAtTheEnd) {
    Session s;
    s.then([] { bezier_options(0); });
    start(s, tool_curve);
    s.then([] { EXPECT_EQ(message(), prompt(18)); });
    s.click(p(0, 0));
    s.then([] { EXPECT_EQ(message(), prompt(20)); });
    s.click(p(10, 0));
    s.then([] { EXPECT_EQ(message(), prompt(21)); });
    hover(s, p(5, 5));
    count_is(s, 0);
    s.click(p(5, 5));
    count_is(s, 1);
    s.then([] { expect_bez(n0, {0, 0, 5, 5, 5, 5, 10, 0}); });
    s.click(p(20, 0));
    s.click(p(15, -5));
    count_is(s, 2);
    s.then([] { expect_bez(n0 + 1, {10, 0, 5, -5, 5, -5, 10, 0}); });
    key(s, 'Q');
    ended(s);
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(BezierCommand, TwoClicksFixTheFirstControlThenTheSecond) {
    Session s;
    s.then([] { bezier_options(1); });
    start(s, tool_curve);
    s.click(p(0, 0));
    s.click(p(10, 0));
    s.click(p(2, 4));  // fixes the first control point
    count_is(s, 0);
    hover(s, p(6, 6));
    s.then([] {
        EXPECT_NEAR(rec_f64(info, bez::c1x) / u, 2, 1e-6);
        EXPECT_NEAR(rec_f64(info, bez::c1y) / u, 4, 1e-6);
        EXPECT_NEAR(rec_f64(info, bez::c2x) / u, 6, 1e-6);
    });
    s.click(p(8, -3));
    count_is(s, 1);
    s.then([] {
        expect_bez(n0, {0, 0, 2, 4, 8, -3, 10, 0});
        EXPECT_EQ(objopts->bez_opt2, 1);
    });
    key(s, 'Q');
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

// 'B', 'F' and 'S' choose which control follows, end the two-click way in
// the stored options, and hold for their segment only.
TEST(BezierCommand, TheShapingKeysChooseTheControlsAndEndTwoClicks) {
    struct Case {
        char key;
        Bez second;  // the segment shaped after the key
    };
    const Case cases[] = {
        {'B', {10, 0, 3, 4, 3, 4, 10, 0}},
        {'F', {10, 0, 3, 4, 5, 5, 10, 0}},  // the second control as inherited
        {'S', {10, 0, 5, 5, 3, 4, 10, 0}},  // the first control as inherited
    };
    Session s;
    for (const Case& c : cases) {
        s.then([] { bezier_options(0); });
        start(s, tool_curve);
        s.click(p(0, 0));
        s.click(p(10, 0));
        s.click(p(5, 5));
        s.then([] { objopts->bez_opt2 = 1; });
        // The key typed with the click, before the pointer moves a control.
        s.then([&c] {
            test::post_click(p(20, 0));
            test::post_key(c.key);
        });
        s.then([] {});
        s.then([] { EXPECT_EQ(objopts->bez_opt2, 0); });
        s.click(p(13, 4));  // one click stores: the two-click way has ended
        count_is(s, 2);
        s.then([&c] {
            SCOPED_TRACE(c.key);
            expect_bez(n0 + 1, c.second);
        });
        s.click(p(30, 0));  // the next segment: both follow again
        s.click(p(22, -1));
        count_is(s, 3);
        s.then([&c] {
            SCOPED_TRACE(c.key);
            expect_bez(n0 + 2, {20, 0, 2, -1, 2, -1, 10, 0});
        });
        key(s, 'Q');
    }
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(BezierCommand, TheGuidesOptionRulesWhileTheCommandRunsOnly) {
    Session s;
    s.then([] {
        bezier_options(0);
        objopts->bez_opt5 = 1;
        bez_guides = 0;
    });
    start(s, tool_curve);
    s.click(p(0, 0));
    s.click(p(10, 0));
    hover(s, p(5, 5));
    s.then([] { EXPECT_EQ(bez_guides, 1); });
    s.then([] { objopts->bez_opt5 = 0; });  // the settings changed meanwhile
    hover(s, p(6, 5));
    s.then([] {
        EXPECT_EQ(bez_guides, 0);
        objopts->bez_opt5 = 1;
    });
    hover(s, p(5, 6));
    s.then([] { EXPECT_EQ(bez_guides, 1); });
    key(s, 'Q');
    s.then([] { EXPECT_EQ(bez_guides, 0); });
    EXPECT_EQ(s.run(), 0);
}

TEST(BezierCommand, UndoAtTheEndPointTakesBackThePieceAndEscAll) {
    Session s;
    auto before = snapshot_after(s, [] { bezier_options(0); });
    start(s, tool_curve);
    s.click(p(0, 0));
    s.click(p(10, 0));
    s.click(p(5, 5));
    s.click(p(20, 0));
    s.click(p(15, 5));
    count_is(s, 2);
    key(s, 'U');  // while the third end point is asked
    count_is(s, 1);
    s.click(p(20, 10));  // from the removed piece's start (10, 0)
    s.click(p(15, 5));
    count_is(s, 2);
    s.then([] { expect_bez(n0 + 1, {10, 0, 5, 5, 5, 5, 10, 10}); });
    key(s, 27);
    count_is(s, 0);
    ended_as_before(s, before);
    EXPECT_EQ(s.run(), 0);
}

TEST(BezierCommand, AnotherCurveTypeRunsTheBSpline) {
    Session s;
    s.then([] { objopts->bez_opt1 = 2; });
    start(s, tool_curve);
    s.then([] { EXPECT_EQ(message(), prompt(18)); });
    s.click(p(0, 0));
    s.then([] { EXPECT_EQ(message(), prompt(40)); });
    key(s, 'Q');
    ended(s);
    count_is(s, 0);
    EXPECT_EQ(s.run(), 0);
}
