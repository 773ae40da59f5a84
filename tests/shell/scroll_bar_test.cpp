// A press on a scroll bar's arrows and page areas steps the drawing's view:
// one small step (a tenth of the drawing area) for an arrow, one big step
// (half of it) for a page area; a dragged thumb takes the view along.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>
#include <cmath>

#include "display/graphics_unit.h"
#include "display/drawing_window.h"
#include "display/list_view.h"
#include "display/pan_canvas.h"
#include "display/screen.h"
#include "platform/ui/windows.h"
#include "platform/ui/windows_qt.h"
#include "base/tool_options.h"
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

// The pointer on the drawing window's bar pressed at a local point, moved
// and let go at others, as the toolkit reports them to the bar it grabbed.
QWidget* g_grabbed = nullptr;

void send_mouse(QEvent::Type type, plat::Point local) {
    QWidget* content = plat::content_widget(whichdrawWindow());
    if (type == QEvent::MouseButtonPress) g_grabbed = content->childAt(QPoint(local.h, local.v));
    ASSERT_NE(g_grabbed, nullptr);
    const plat::Rect b = plat::window_bounds(whichdrawWindow());
    const QPointF at = g_grabbed->mapFrom(content, QPointF(local.h, local.v));
    const QPointF global(b.left + local.h, b.top + local.v);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, at, global, button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(g_grabbed, &e);
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

namespace {

enum class Edge { right, left, bottom, top };

struct ThumbCase {
    const char* what;
    bool horizontal;
    int dh, dv;  // how far the thumb is dragged: far past an end, or nowhere
    Edge edge;   // the view's edge that lies on its scroll limit afterwards
};

}  // namespace

TEST(ScrollBars, ADraggedThumbTakesTheViewToWhereItWasLetGo) {
    // Two view sizes of scroll range on each side: a thumb dragged to an
    // end puts the view's edge on that limit, two (or, for the far edge,
    // three) view sizes from the home view's left or top edge.
    const ThumbCase cases[] = {
        {"right to the end", true, 2000, 0, Edge::right},  {"left to the end", true, -2000, 0, Edge::left},
        {"let go where taken", true, 0, 0, Edge::left},    {"down to the end", false, 0, 2000, Edge::bottom},
        {"up to the end", false, 0, -2000, Edge::top},
    };
    Session s;
    static ViewportRec home;
    static plat::Point from;
    s.then([] {
        objopts->scroll_pages = 4;
        changezoomlimits();
        set_drawing_scroll_value();
        home = panvp;
    });
    for (const ThumbCase& c : cases) {
        s.then([&c] {
            from = plat::thumb_center(c.horizontal ? horizHdl : vertHdl);
            send_mouse(QEvent::MouseButtonPress, from);
        });
        s.then([&c] {
            send_mouse(QEvent::MouseMove, plat::Point{static_cast<std::int16_t>(from.v + c.dv),
                                                      static_cast<std::int16_t>(from.h + c.dh)});
        });
        s.then([&c] {
            send_mouse(QEvent::MouseButtonRelease, plat::Point{static_cast<std::int16_t>(from.v + c.dv),
                                                               static_cast<std::int16_t>(from.h + c.dh)});
        });
        s.then([&c] {
            // The world window's size in pixels.
            const int vw = viewport.width, vh = viewport.height;
            switch (c.edge) {
            case Edge::right: EXPECT_NEAR(panvp.xr, home.xl + 3 * vw, 1) << c.what; break;
            case Edge::left: EXPECT_NEAR(panvp.xl, home.xl - 2 * vw, 1) << c.what; break;
            case Edge::bottom: EXPECT_NEAR(panvp.yb, home.yt - 3 * vh, 1) << c.what; break;
            case Edge::top: EXPECT_NEAR(panvp.yt, home.yt + 2 * vh, 1) << c.what; break;
            }
            if (c.horizontal)
                EXPECT_EQ(panvp.yt, home.yt) << c.what;
            else
                EXPECT_NEAR(panvp.xl, home.xl - 2 * vw, 1) << c.what;  // where the last drag left it
            EXPECT_EQ(panvp.width, home.width) << c.what;
            // The world window went along: its left edge is the view's.
            double x = cur_win.xl, y = cur_win.yt;
            pworld_screen(&x, &y);
            EXPECT_NEAR(x, panvp.xl, 1) << c.what;
            EXPECT_NEAR(y, panvp.yt, 1) << c.what;
        });
    }
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(s.steps_left(), 0u);
}
