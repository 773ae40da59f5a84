// A tool clicked while a shape command waits for a point ends that command
// before the next one runs: the new command never runs inside the old one.
#include <gtest/gtest.h>

#include <vector>

#include "tests/commands/draw/shape_steps.h"

using namespace drav;
using namespace drav::shape_test;
using drav::test::Session;

namespace {

struct Case {
    const char* what;
    int tool;
    std::vector<plat::Point> clicks;  // before the tool click
};

}  // namespace

TEST(PaletteClick, EndsTheShapeCommandWaitingForAPointBeforeTheNextToolRuns) {
    const std::vector<Case> cases = {
        {"rectangle, second corner", tool_rect, {at(100, 100)}},
        {"ellipse, second axis end", tool_ellipse, {at(100, 100)}},
        {"arc, second point", tool_arc, {at(100, 100)}},
        {"polygon, centre of the next polygon", tool_polygon, {at(100, 100), at(150, 100)}},
    };
    Session s;
    for (const Case& c : cases) {
        start(s, c.tool);
        for (const plat::Point p : c.clicks) s.click(p);
        s.then([] {});
        s.then([] { plat::post_item_hit(addDPtr, static_cast<std::int16_t>(tool_point)); });
        s.then([&c] { EXPECT_EQ(message(), prompt(3)) << c.what; });
        // One point, then Q: the program is idle again, and a click on
        // empty paper stores nothing, in no command.
        s.click(at(400, 300));
        s.then([] {});
        key(s, 'Q');
        s.then([&c] {
            EXPECT_EQ(addnum, tool_select) << c.what;
            EXPECT_EQ(getidle(), 1) << c.what;
        });
        s.click(at(500, 500));
        s.then([] {});
        s.then([&c] {
            EXPECT_EQ(number_of_objects, n0 + static_cast<int>(c.clicks.size())) << c.what;
            EXPECT_EQ(getidle(), 1) << c.what;
            EXPECT_EQ(message(), "") << c.what;
        });
    }
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}
