// The rectangle command driven through the running program.
#include <gtest/gtest.h>

#include <numbers>
#include <vector>

#include "store/geometry.h"
#include "store/settings.h"
#include "tests/commands/draw/shape_steps.h"

using namespace drav;
using namespace drav::shape_test;
using drav::test::Session;

namespace {

constexpr double pi = std::numbers::pi;

void expect_rect(int n, double x, double y, double rotation, double width, double height) {
    const ObjectRec r = stored(n);
    EXPECT_EQ(obj_kind(r), ok_rect) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_x), x, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_y), y, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::rotation), rotation, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, rect::width), width, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, rect::height), height, tol) << "record " << n;
}

struct Case {
    const char* what;
    int method, lock;
    std::vector<plat::Point> clicks;
    double rotation, width, height;  // width and height in units of 100 pixels
};

}  // namespace

// 100 pixels stand for one unit of the hand-worked examples.
TEST(RectangleCommand, StoresTheRectangleOfEachMethodAndRestraint) {
    const std::vector<Case> cases = {
        {"two corners (0,0) (3,-2)", 1, 0, {at(100, 300), at(400, 500)}, 0, 3, -2},
        {"two corners, vertical: the click stays the opposite corner", 1, 2, {at(100, 300), at(400, 500)}, pi / 2, -2, -3},
        {"three points (0,0) (4,0) (1,3)", 2, 0, {at(100, 600), at(500, 600), at(200, 300)}, 3 * pi / 2, -3, 4},
        {"three points, a side pointing down", 2, 0, {at(100, 300), at(100, 500), at(300, 400)}, 0, 2, -2},
    };
    // One program draws them all, one command each.
    Session s;
    for (const Case& c : cases) {
        s.then([&c] {
            objopts->rect_opt = static_cast<std::int16_t>(c.method);
            objopts->lock_mode = static_cast<std::int16_t>(c.lock);
        });
        start(s, tool_rect);
        s.then([&c] { EXPECT_EQ(message(), prompt(c.method == 1 ? 4 : 6)); });
        for (std::size_t i = 0; i < c.clicks.size(); ++i) s.click(c.clicks[i]);
        count_is(s, 1);
        s.then([&c] {
            SCOPED_TRACE(c.what);
            const plat::Point p = c.clicks[0];
            expect_rect(n0, wx(p.h), wy(p.v), c.rotation, c.width * 100 * unit, c.height * 100 * unit);
            // A new cycle asks for a first corner again.
            EXPECT_EQ(message(), prompt(c.method == 1 ? 4 : 6));
        });
        quit_command(s, 1);
    }
    run_unsaved(s);
}

TEST(RectangleCommand, TheSecondPointOfThreeShowsItsPromptAndTheLastStepItsOwn) {
    Session s;
    s.then([] { objopts->rect_opt = 2; });
    start(s, tool_rect);
    s.click(at(100, 600));
    s.then([] { EXPECT_EQ(message(), prompt(7)); });
    s.click(at(500, 600));
    s.then([] { EXPECT_EQ(message(), prompt(8)); });
    key(s, 27);
    count_is(s, 0);
    ended(s);
    // ESC took everything back: no changes to save.
    EXPECT_EQ(s.run(), 0);
}

TEST(RectangleCommand, UndoFirstTakesBackThisCommandsRectanglesAndLaterDropsOnlyTheOneInHand) {
    Session s;
    s.then([] {
        objopts->rect_opt = 1;
        objopts->lock_mode = 0;
    });
    earlier_command(s, tool_rect, {at(50, 50), at(80, 90)});  // an earlier command's rectangle
    start(s, tool_rect);
    s.click(at(100, 100));
    s.click(at(200, 200));
    s.click(at(300, 300));
    s.click(at(400, 350));
    count_is(s, 2);
    // In the last step 'U' drops the rectangle in hand only.
    s.click(at(500, 100));
    s.then([] { EXPECT_EQ(message(), prompt(5)); });
    key(s, 'U');
    count_is(s, 2);
    s.then([] { EXPECT_EQ(message(), prompt(4)); });
    // At a first corner 'U' takes back, newest first, and never an older one.
    undo_newest_first(s, 2);
    s.then([] { expect_rect(n0 - 1, wx(50), wy(50), 0, wx(30), wy(90) - wy(50)); });
    s.click(at(600, 100));
    s.click(at(700, 200));
    count_is(s, 1);
    s.then([] { expect_rect(n0, wx(600), wy(100), 0, wx(100), -100 * unit); });
    quit_command(s);
    run_unsaved(s);
}

TEST(RectangleCommand, EscLeavesTheDrawingExactlyAsBefore) {
    Session s;
    s.then([] {
        objopts->rect_opt = 1;
        objopts->lock_mode = 0;
    });
    line_across(s);
    auto before = snapshot_now(s);
    start(s, tool_rect);
    s.click(at(100, 100));
    s.click(at(200, 200));
    s.click(at(300, 300));
    s.click(at(400, 350));
    s.click(at(500, 100));  // a first corner, the rectangle in hand follows
    esc_takes_back(s, 2, before);
    run_unsaved(s);
}

TEST(RectangleCommand, ChangingTheMethodWhileTheCommandRunsRestartsTheRectangleInHand) {
    Session s;
    s.then([] {
        objopts->rect_opt = 1;
        objopts->lock_mode = 0;
    });
    start(s, tool_rect);
    s.click(at(100, 100));
    s.then([] {
        EXPECT_EQ(message(), prompt(5));
        objopts->rect_opt = 2;
    });
    s.then([] {});
    s.then([] { EXPECT_EQ(message(), prompt(6)); });
    count_is(s, 0);
    s.click(at(100, 600));
    s.click(at(500, 600));
    s.click(at(200, 300));
    count_is(s, 1);
    s.then([] { expect_rect(n0, wx(100), wy(600), 3 * pi / 2, -300 * unit, 400 * unit); });
    quit_command(s);
    run_unsaved(s);
}
