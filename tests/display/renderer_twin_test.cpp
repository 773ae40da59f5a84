// The renderer twin: the drawing drawn through the vector context matches
// what the screen renderer draws, and a twin pass leaves the screen, the
// display list and the current record as they were.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display/display_list.h"
#include "display/line_styles.h"
#include "display/list_view.h"
#include "display/redraw.h"
#include "display/renderer_twin.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/workfile.h"
#include "tests/display/renderer_fixture.h"
#include "tests/support/workfile.h"

namespace {

using namespace drav;
using Mask = std::vector<std::uint8_t>;

// One object of every kind, thin and wide, with arrows and markers, all
// inside the view.
std::vector<ObjectRec> every_kind() {
    using namespace drav::test;
    std::vector<ObjectRec> v;
    v.push_back(line_rec(1, 1, 3, 2));
    ObjectRec wl = line_rec(1, 5, 4, -1);
    wl.b[obj::width] = 5;
    set_obj_density_marks(wl, 0, 1, 1);
    v.push_back(wl);
    v.push_back(rect_rec(5, 1, 2, 1.5, 0.3));
    ObjectRec wr = rect_rec(8, 1, 2, 1);
    wr.b[obj::width] = 4;
    v.push_back(wr);
    v.push_back(ellipse_rec(12, 2, 1, 1));
    v.push_back(ellipse_rec(15, 2, 1.5, 0.7, 0.5));
    v.push_back(ellipse_rec(18, 2, 1, 1, 0, 0.3, 2.5));
    v.push_back(ellipse_rec(15, 6, 1, 1, 0.2, 0, 0, false, 6));
    ObjectRec b = bezier_rec(1, 7, 1, 2, 3, -1, 4, 1);
    set_obj_density_marks(b, 0, 1, 1);
    v.push_back(b);
    ObjectRec p = object(ok_point, 18, 6);
    set_obj_density_marks(p, 0, 1, 0);
    v.push_back(p);
    ObjectRec t = text_rec(8, 4, 0.4, 0.6);
    ObjectRec tail{};
    set_text_chars(t, tail, "Ab 1.5");
    v.push_back(t);
    v.push_back(ldim_rec(1, 3, 3, 0, 0.8, ldim::ext1 | ldim::ext2 | (1 << ldim::arrow_shift)));
    v.push_back(adim_rec(6, 6, 0.2, 1.2, 1.2, 0.4, adim::ext1 | adim::ext2 | (2 << adim::arrow_shift)));
    ObjectRec dashed = line_rec(10, 8, 8, 0);
    dashed.b[obj::style] = 3;
    v.push_back(dashed);
    return v;
}

class RendererTwin : public drav::test::Renderer {
protected:
    void SetUp() override {
        drav::test::use_data_folder();
        drav::test::start_small_drawing(3);
        set_work_sizes(31000, 50, 20);
        ASSERT_EQ(setup_workfile(), 1);
        ASSERT_EQ(init_selection_sets(), 1);
        Renderer::SetUp();
        openlinstk();
        vmlistinit();
        swaper = sw_wide_strokes | sw_midmarks | sw_stroke_text;
        change_window(0, 20, 0, aspectratio, 1);
        changezoomlimits();
        for (const ObjectRec& r : every_kind()) dir_put_info(number_of_objects++, r);
        nomore_info();
    }
    void TearDown() override {
        termlist();
        Renderer::TearDown();
    }
    // The screen renderer's picture of the drawing, drawn directly.
    static Mask screen_mask() {
        cleargraphics();
        curlwidth = 0;
        for (std::int16_t i = first_object_slot; i < number_of_objects; ++i) {
            get_info(i);
            if (obj_kind(info) == ok_text) cumstgs(i);
            show(mode_draw, &info);
        }
        nomore_info();
        Mask m(static_cast<std::size_t>(myCGrafPtr->width() * myCGrafPtr->height()));
        for (int y = 0; y < myCGrafPtr->height(); ++y)
            for (int x = 0; x < myCGrafPtr->width(); ++x) m[y * myCGrafPtr->width() + x] = dark(myCGrafPtr->pixel(x, y));
        return m;
    }
    static Mask twin_mask(const plat::VectorContext& c) {
        Mask m(static_cast<std::size_t>(c.width() * c.height()));
        for (int y = 0; y < c.height(); ++y)
            for (int x = 0; x < c.width(); ++x) m[y * c.width() + x] = dark(c.pixel(x, y) | 0xFF000000u);
        return m;
    }
    static std::uint8_t dark(std::uint32_t argb) {
        const int r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
        return (r + g + b) / 3 < 128 ? 1 : 0;
    }
    // Set pixels of `a` with no set pixel of `b` within one pixel.
    static int strays(const Mask& a, const Mask& b, int w, int h) {
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (!a[y * w + x]) continue;
                bool near = false;
                for (int dy = -1; dy <= 1 && !near; ++dy)
                    for (int dx = -1; dx <= 1 && !near; ++dx) {
                        const int xx = x + dx, yy = y + dy;
                        near = xx >= 0 && yy >= 0 && xx < w && yy < h && b[yy * w + xx];
                    }
                n += !near;
            }
        return n;
    }
};

TEST_F(RendererTwin, TheTwinsImageMatchesTheScreenWithinOnePixel) {
    const Mask screen = screen_mask();
    const auto twin = twin_image();
    ASSERT_TRUE(twin);
    const int w = twin->width(), h = twin->height();
    ASSERT_EQ(w, myCGrafPtr->width());
    ASSERT_EQ(h, myCGrafPtr->height());
    const Mask mine = twin_mask(*twin);
    int set = 0;
    for (auto px : mine) set += px;
    EXPECT_GT(set, 500);  // every object is there, not a blank page
    EXPECT_EQ(strays(screen, mine, w, h), 0);
    EXPECT_EQ(strays(mine, screen, w, h), 0);
}

TEST_F(RendererTwin, APassLeavesTheScreenTheListAndTheCurrentRecordAsTheyWere) {
    initlist();
    reset_on_screen = 1;
    show_objects(1, 1, first_object_slot);
    ASSERT_EQ(listavail(), 1);
    drav::test::fill_gradient(*drawCWindow);
    get_info(first_object_slot + 2);
    set_rec_f64(info, rect::width, 3.5);  // changed, not yet written back
    modified = 1;
    const ObjectRec held = info;
    const std::vector<std::uint32_t> offscreen = myCGrafPtr->pixels(), window = drawCWindow->pixels();
    std::int32_t a0 = 0, b0 = 0, c0 = 0;
    statslist(&a0, &b0, &c0);
    const std::int16_t width = curlwidth, mode = gdrawmode;

    ASSERT_TRUE(twin_image());

    EXPECT_TRUE(myCGrafPtr->pixels() == offscreen);
    EXPECT_TRUE(drawCWindow->pixels() == window);
    std::int32_t a1 = 0, b1 = 0, c1 = 0;
    statslist(&a1, &b1, &c1);
    EXPECT_EQ(a1, a0);
    EXPECT_EQ(b1, b0);
    EXPECT_EQ(c1, c0);
    EXPECT_EQ(listavail(), 1);
    EXPECT_EQ(prev_index, first_object_slot + 2);
    EXPECT_EQ(std::memcmp(info.b, held.b, sizeof info.b), 0);
    EXPECT_EQ(curlwidth, width);
    EXPECT_EQ(gdrawmode, mode);
    EXPECT_EQ(vector_target, nullptr);
}

TEST_F(RendererTwin, WithoutAnOpenWorkfileThePassIsDeclinedAndDrawsNothing) {
    auto ctx = plat::VectorContext::for_image(200, 100);
    ASSERT_TRUE(ctx);
    const std::int16_t ref = workfileRefNum;
    workfileRefNum = 0;
    EXPECT_EQ(MyQuartzDrawEventHandler(*ctx), -9874);
    EXPECT_FALSE(twin_image());
    workfileRefNum = ref;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) ASSERT_EQ(ctx->pixel(x, y), 0xFFFFFFu);
    // Open again, the same context gets the drawing.
    EXPECT_EQ(MyQuartzDrawEventHandler(*ctx), 0);
    int set = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) set += ctx->pixel(x, y) != 0xFFFFFFu;
    EXPECT_GT(set, 500);
}

}  // namespace
