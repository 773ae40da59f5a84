// The drag image of an object in hand: drawn whole even where it lies off
// the view, put over the object's true place, shown and taken off by XOR.
#include "display/drag_image.h"

#include <gtest/gtest.h>

#include <cstring>

#include "display/clip_tests.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"
#include "tests/display/renderer_fixture.h"
#include "tests/support/pixels.h"

using drav::test::Renderer;
using drav::test::pixel_rows;
using drav::test::rows;

namespace drav {
namespace {

// Ten pixels a unit: world (x, y) is window pixel (10 x, 100 - 10 y).
class InHand : public Renderer {
protected:
    void SetUp() override {
        Renderer::SetUp();
        macgroup = 0;
        currentitem = 1;  // a selection whose handle must survive
        set_oghandle(15, 2);
    }
    void TearDown() override {
        currentitem = 0;
        Renderer::TearDown();
    }
};

TEST_F(InHand, TheImageLiesOverTheObjectAndTwoBlinksLeaveTheWindowAsItWas) {
    struct Case {
        double x, dx;   // a line along y = 50
        int from, to;   // the window columns it shows in
        int moved_from, moved_to;  // and once moved 20 pixels right
    };
    // Inside the view; and half off its left edge, drawn whole all the same.
    const Case cases[] = {{2, 1, 20, 30, 40, 50}, {-2, 3, 0, 10, 0, 30}};
    auto row_of = [](int from, int to) {
        std::string want;
        for (int x = 0; x < 60; ++x) want += x >= from && x <= to ? '#' : '.';
        return want + '\n';
    };
    for (const Case& c : cases) {
        info = test::line_rec(c.x, 5, c.dx, 0);
        set_rec_u16(info, o_word0, rk_object);  // in hand: not live
        set_rec_f64(info, obj::handle_x, 0.3);
        const ObjectRec before_rec = info;
        whichdrawPort()->erase_rect(whichdrawPort()->port_rect());
        const std::string before = pixel_rows(*whichdrawPort());
        infoRgn();
        EXPECT_EQ(std::memcmp(info.b, before_rec.b, sizeof info.b), 0) << "the record is put back";
        double hx = 0, hy = 0;
        get_oghandle(&hx, &hy);
        EXPECT_EQ(hx, 15);
        EXPECT_EQ(hy, 2);
        blinkrgn();
        EXPECT_EQ(pixel_rows(*whichdrawPort(), 0, 50, 60, 1), row_of(c.from, c.to)) << c.x;
        blinkrgn();
        EXPECT_EQ(pixel_rows(*whichdrawPort()), before) << c.x;
        ouroffsetrgn(20, 0);
        blinkrgn();
        EXPECT_EQ(pixel_rows(*whichdrawPort(), 0, 50, 60, 1), row_of(c.moved_from, c.moved_to)) << c.x;
        blinkrgn();
        EXPECT_EQ(pixel_rows(*whichdrawPort()), before) << c.x;
    }
}

TEST_F(InHand, WindowPixelsCountFromTheViewsTopLeft) {
    std::int16_t h = 0, v = 0;
    window_pixel(3, 4, &h, &v);
    EXPECT_EQ(h, 30);
    EXPECT_EQ(v, 60);
}

}  // namespace
}  // namespace drav
