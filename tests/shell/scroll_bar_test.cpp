// A press on a scroll bar's arrows and page areas steps the drawing's view:
// one small step (a tenth of the drawing area) for an arrow, one big step
// (half of it) for a page area.
#include <gtest/gtest.h>

#include <cmath>

#include "display/graphics_unit.h"
#include "display/list_view.h"
#include "display/pan_canvas.h"
#include "display/screen.h"
#include "platform/ui/windows.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;

namespace {

// The first point along the bar's middle line that hits the part.
plat::Point point_of(plat::Control* bar, std::int16_t part) {
    const plat::Rect r = plat::control_rect(bar);
    const bool horizontal = r.right - r.left > r.bottom - r.top;
    const int length = horizontal ? r.right - r.left : r.bottom - r.top;
    for (int i = 0; i < length; ++i) {
        const plat::Point p = horizontal
                                  ? plat::Point{static_cast<std::int16_t>((r.top + r.bottom) / 2), static_cast<std::int16_t>(r.left + i)}
                                  : plat::Point{static_cast<std::int16_t>(r.top + i), static_cast<std::int16_t>((r.left + r.right) / 2)};
        plat::Control* hit = nullptr;
        if (plat::find_control(whichdrawWindow(), p, &hit) == part && hit == bar) return p;
    }
    ADD_FAILURE() << "no part " << part;
    return plat::Point{};
}

struct Case {
    const char* what;
    bool horizontal;
    std::int16_t part;
    double share;  // of the drawing area's width or height
    int sign;      // right or up: +1
};

}  // namespace

TEST(ScrollBars, AClickOnAnArrowOrAPageAreaStepsTheView) {
    const Case cases[] = {
        {"down arrow", false, plat::inDownButton, 0.1, -1}, {"up arrow", false, plat::inUpButton, 0.1, +1},
        {"page down", false, plat::inPageDown, 0.5, -1},    {"right arrow", true, plat::inDownButton, 0.1, +1},
        {"left arrow", true, plat::inUpButton, 0.1, -1},    {"page right", true, plat::inPageDown, 0.5, +1},
        {"page left", true, plat::inPageUp, 0.5, -1},
    };
    Session s;
    static ViewportRec before;
    for (const Case& c : cases) {
        s.then([&c] {
            before = panvp;
            plat::Control* bar = c.horizontal ? horizHdl : vertHdl;
            test::post_click(point_of(bar, c.part));
        });
        s.then([] {});
        s.then([&c] {
            const int W = drawRect.right - drawRect.left, H = drawRect.bottom - drawRect.top;
            const int step = static_cast<int>(std::lround((c.horizontal ? W : H) * c.share));
            if (c.horizontal) {
                EXPECT_EQ(panvp.xl, before.xl + c.sign * step) << c.what;
                EXPECT_EQ(panvp.yt, before.yt) << c.what;
            } else {
                EXPECT_EQ(panvp.yt, before.yt + c.sign * step) << c.what;
                EXPECT_EQ(panvp.xl, before.xl) << c.what;
            }
        });
    }
    EXPECT_EQ(s.run(), 0);
}
