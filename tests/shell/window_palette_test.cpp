// The drawing window's view buttons: where the strip lies, what it shows at
// both densities, and that a click acts inside a running command, leaving
// its state as it was, or waits while another button's action runs.
#include <gtest/gtest.h>

#include <QImage>
#include <cstring>

#include "base/command_loop.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "platform/ui/events.h"
#include "platform/ui/windows_qt.h"
#include "shell/event_pump.h"
#include "shell/tool_options.h"
#include "shell/tool_palette.h"
#include "shell/window_palette.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/settings.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;

namespace {

int content_height() { return plat::window_port(whichdrawWindow())->port_rect().bottom; }

}  // namespace

TEST(WindowStrip, LiesInTheCornerOfTheHorizontalScrollBar) {
    Session s;
    s.then([] {
        const int H = content_height();
        plat::Rect strip;
        get_biofrect(&strip, whichdrawWindow());
        EXPECT_EQ(strip, (plat::Rect{static_cast<std::int16_t>(H - 15), -1, static_cast<std::int16_t>(H + 1), 75}));
        // 14 pixels wide, one between buttons, from the window's left edge.
        struct Case {
            int n, left, right;
        } cases[] = {{1, 1, 15}, {2, 16, 30}, {3, 31, 45}, {4, 46, 60}, {5, 61, 75}};
        for (const Case& c : cases) {
            const plat::Rect r = window_button_rect(strip, c.n);
            EXPECT_EQ(r.left, c.left) << c.n;
            EXPECT_EQ(r.right, c.right) << c.n;
            EXPECT_EQ(r.top, H - 14) << c.n;
            EXPECT_EQ(r.bottom, H) << c.n;
        }
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(WindowStrip, TheRunningProgramShowsItsPictureAtOneAndTwoPixelsPerPoint) {
    Session s;
    s.then([] {
        const MonoImage one = load_mono_image("strip408.pbm", 76, 16);
        const MonoImage two = load_mono_image("strip408@2x.pbm", 152, 32);
        ASSERT_EQ(one.width, 76);
        ASSERT_EQ(two.width, 152);
        const int H = content_height();
        plat::Port* port = plat::window_port(whichdrawWindow());
        // The scroll bar covers the strip's last column.
        int wrong = 0;
        for (int v = H - 15; v < H; ++v)
            for (int h = 0; h < 74; ++h) {
                const bool ink = one.bits[static_cast<std::size_t>((v - (H - 15)) * 76 + h + 1)];
                wrong += (port->pixel(h, v) == plat::black_pixel) != ink;
            }
        EXPECT_EQ(wrong, 0);
        // The top edge and the separators between the buttons.
        for (int h : {0, 15, 30, 45, 60}) EXPECT_EQ(port->pixel(h, H - 8), plat::black_pixel) << h;
        EXPECT_EQ(port->pixel(8, H - 15), plat::black_pixel);
        EXPECT_EQ(port->pixel(8, H - 13), plat::white_pixel);

        const QImage shot = plat::grab_at_ratio(plat::content_widget(whichdrawWindow()), 2);
        shot.save("view_buttons@2x.png");  // beside the test's files, never in the sources
        int wrong2 = 0;
        for (int y = 2 * (H - 15); y < 2 * H; ++y)
            for (int x = 0; x < 2 * 74; ++x) {
                const bool ink = two.bits[static_cast<std::size_t>((y - 2 * (H - 15)) * 152 + x + 2)];
                wrong2 += (qGray(shot.pixel(x, y)) < 128) != ink;
            }
        EXPECT_EQ(wrong2, 0);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(WindowStrip, AClickActsAtOnceAndLeavesTheCommandsStateAsItWas) {
    Session s;
    std::vector<std::uint32_t> before;
    s.then([&] {
        objopts->dblclick_mode = 1;  // a plain click is a single click
        std::memset(info.b, 0x5A, sizeof info.b);
        std::strcpy(textline, "kept line");
        setdrawmode(mode_xor);
        setdrawpat(2);
        const int H = content_height();
        plat::Port* port = plat::window_port(whichdrawWindow());
        for (int v = H - 15; v < H; ++v)
            for (int h = 0; h < 75; ++h) before.push_back(port->pixel(h, v));
    });
    s.then([] { test::post_click(plat::Point{static_cast<std::int16_t>(content_height() - 5), 65}); });  // redraw
    s.then([&] {
        const int H = content_height();
        plat::Port* port = plat::window_port(whichdrawWindow());
        std::vector<std::uint32_t> after;
        for (int v = H - 15; v < H; ++v)
            for (int h = 0; h < 75; ++h) after.push_back(port->pixel(h, v));
        EXPECT_EQ(after, before);  // the pressed button is shown back as it was
        for (const plat::Port::Detail& d : port->details()) {
            if (d.scale == 2 && d.area.top == H - 15) {
                EXPECT_EQ(port->detail_state(d), 1);
            }
        }
        for (std::uint8_t b : info.b) EXPECT_EQ(b, 0x5A);
        EXPECT_STREQ(textline, "kept line");
        EXPECT_EQ(gdrawmode, mode_xor);
        EXPECT_EQ(gdrawpat, 2);
        EXPECT_EQ(windowidle, 1);
        EXPECT_EQ(postponed_code(), 0);
        setdrawmode(mode_draw);
        setdrawpat(0);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(WindowStrip, ADoubleClickOnRedrawReappliesTheCurrentView) {
    Session s;
    double scale_before = 0;
    s.then([&] {
        objopts->dblclick_mode = 1;  // the option key makes a click double
        scale_before = wvxm;
        // A view 100 wide where 30 was shown: not applied until redraw rebuilds it.
        cur_win.xr = cur_win.xl + 100;
    });
    s.then([] {
        test::post_click(plat::Point{static_cast<std::int16_t>(content_height() - 5), 66}, plat::optionKey);
    });
    s.then([&] {
        ASSERT_GT(scale_before, 0);
        EXPECT_NEAR(wvxm, scale_before * 30 / 100, scale_before * 1e-9);
        EXPECT_EQ(windowidle, 1);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(WindowStrip, AClickWhileAnotherButtonActsWaitsForItsEnd) {
    Session s;
    s.then([] {
        windowidle = 0;  // as while a zoom rectangle is being dragged
        window_singleclick(3);
        EXPECT_EQ(postponed_code(), pp_window_single);
        EXPECT_EQ(postponed_item(), 3);
        EXPECT_EQ(quit, 1);  // the running action ends
        windowidle = 1;
    });
    s.then([] {
        EXPECT_EQ(postponed_code(), 0);  // replayed by the pump
        windowidle = 0;
        window_doubleclick(2);
        EXPECT_EQ(postponed_code(), pp_window_double);
        EXPECT_EQ(postponed_item(), 2);
        windowidle = 1;
    });
    s.then([] { EXPECT_EQ(postponed_code(), 0); });
    EXPECT_EQ(s.run(), 0);
}
