// The fast line loop changes no pixel: every way of drawing a drawing (the
// whole redraw from the list at every zoom, single replays in each mode and
// direct drawing with the list away) gives the same pixels with the loop on
// and off. Also: the list and direct drawing agree for thin solid objects.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <utility>
#include <vector>

#include "display/display_list.h"
#include "display/line_styles.h"
#include "display/list_replay.h"
#include "display/list_view.h"
#include "display/pan_canvas.h"
#include "display/redraw.h"
#include "store/levels.h"
#include "store/record_ops.h"
#include "store/units.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/workfile.h"
#include "tests/display/renderer_fixture.h"
#include "tests/support/workfile.h"

namespace {

using namespace drav;
using Pixels = std::vector<std::uint32_t>;

class ListPixels : public drav::test::Renderer {
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
        swaper = sw_wide_strokes | sw_midmarks;
        change_window(0, 20, 0, aspectratio, 1);
        changezoomlimits();
    }
    void TearDown() override {
        plat::set_fast_lines(true);
        termlist();
        Renderer::TearDown();
    }
    // Draws the same pictures through the fast loops and through the
    // general port calls; every picture must match and show something.
    template <class Draw>
    static void expect_fast_draws_general(Draw&& draw) {
        plat::set_fast_lines(true);
        const std::vector<Pixels> fast = draw();
        plat::set_fast_lines(false);
        const std::vector<Pixels> general = draw();
        ASSERT_EQ(fast.size(), general.size());
        for (std::size_t k = 0; k < fast.size(); ++k) EXPECT_TRUE(fast[k] == general[k]) << "picture " << k;
        EXPECT_FALSE(drav::test::all_white(*myCGrafPtr));
    }
    // A fresh list recorded with the window W units wide.
    static void record_view(double W) {
        initlist();
        change_window(0, W, 0, aspectratio, 1);
        changezoomlimits();
        reset_on_screen = 1;
        show_objects(1, 1, first_object_slot);
        EXPECT_EQ(listavail(), 1);
    }
    void store(const std::vector<ObjectRec>& objects) {
        for (const ObjectRec& r : objects) dir_put_info(number_of_objects++, r);
        nomore_info();
    }
    static Pixels screen() { return myCGrafPtr->pixels(); }
    // Units under which lines of width 3 and up are drawn as filled outlines.
    static void filled_widths() {
        init_worldunits();
        units_defs.units_code = 1;
        output_defs.plot_scale = 1;
        output_defs.width_size = 0.1;
        output_defs.width_factor = 1;
    }

    // Everything the test compares, drawn one way.
    std::vector<Pixels> draw_all_ways() {
        std::vector<Pixels> out;
        initlist();
        change_window(0, 20, 0, aspectratio, 1);
        changezoomlimits();
        reset_on_screen = 1;
        show_objects(1, 1, first_object_slot);
        EXPECT_EQ(listavail(), 1);
        out.push_back(screen());
        for (int z = 1; z <= maxzoom; ++z) {
            zoomlist(1);
            EXPECT_EQ(zoom, z);
            out.push_back(screen());
        }
        homelist();
        out.push_back(screen());
        // Single replays: draw, erase, and XOR into the window.
        drav::test::fill_gradient(*drawCWindow);
        for (int i = first_object_slot; i < number_of_objects; i += 97) {
            showseg(mode_draw, static_cast<std::int16_t>(i));
            showseg(mode_xor, static_cast<std::int16_t>(i));
        }
        out.push_back(screen());
        out.push_back(drawCWindow->pixels());
        for (int i = first_object_slot; i < number_of_objects; i += 89) showseg(mode_erase, static_cast<std::int16_t>(i));
        out.push_back(screen());
        // Directly, without the list.
        termlist();
        cleargraphics();
        curlwidth = 0;
        for (std::int16_t i = first_object_slot; i < number_of_objects; ++i) {
            get_info(i);
            if (obj_kind(info) == ok_text) cumstgs(i);
            show(mode_draw, &info);
        }
        out.push_back(screen());
        return out;
    }
};

TEST_F(ListPixels, TheFastLoopDrawsWhatTheGeneralPathDraws) {
    store(drav::test::mixed_objects(30000, 5));
    expect_fast_draws_general([this] { return draw_all_ways(); });
}

TEST_F(ListPixels, AnXorReplayTwiceRestoresTheWindow) {
    store(drav::test::mixed_objects(3000, 9));
    reset_on_screen = 1;
    show_objects(1, 1, first_object_slot);
    drav::test::fill_gradient(*drawCWindow);
    const Pixels before = drawCWindow->pixels();
    for (int i = first_object_slot; i < number_of_objects; ++i) showseg(mode_xor, static_cast<std::int16_t>(i));
    EXPECT_NE(drawCWindow->pixels(), before);
    for (int i = first_object_slot; i < number_of_objects; ++i) showseg(mode_xor, static_cast<std::int16_t>(i));
    EXPECT_EQ(drawCWindow->pixels(), before);
}

// Wide lines, rectangles, ovals and arcs drawn as filled outlines, crossing
// each side and corner of the view, enclosing it, through it and inside it:
// at every zoom the whole replay and single replays in each mode give the
// pixels of the general path.
TEST_F(ListPixels, FilledPiecesAcrossTheViewGiveTheGeneralPathsPixels) {
    const double W = 20, H = 20 * aspectratio;
    struct Place {
        double x, y, dx, dy;
    };
    const Place places[] = {
        {-1.5, 0.4 * H, 3, 0.7},      {W - 1.2, 0.6 * H, 3, -1.1},  // left, right
        {0.3 * W, -1, 0.8, 2.5},      {0.7 * W, H - 1.4, -1, 3},    // bottom, top
        {-1, -1, 2.2, 1.9},           {W - 1, H - 1, 2, 2},         // corners
        {-1, H - 0.8, 2.1, 1.7},      {W - 1.3, -1.2, 2.4, 2},      //
        {-5, 0.5 * H, W + 10, 0.3},   {0.5 * W, -5, -0.4, H + 10},  // through
        {-3, -3, W + 6, H + 6},       {0.4 * W, 0.4 * H, 1.5, 0.8}, // enclosing, inside
        {0.5 * W, 0.5 * H, 0, 0},                                   // no length
    };
    std::vector<ObjectRec> v;
    int n = 0;
    for (const Place& p : places) {
        for (int kind = 0; kind < 4; ++kind) {
            ObjectRec r;
            switch (kind) {
            case 0: r = drav::test::line_rec(p.x, p.y, p.dx, p.dy); break;
            case 1: r = drav::test::rect_rec(p.x, p.y, p.dx, p.dy, n % 3 ? 0 : 0.3); break;
            case 2: r = drav::test::ellipse_rec(p.x + p.dx / 2, p.y + p.dy / 2, std::abs(p.dx) / 2, std::abs(p.dy) / 2); break;
            default: r = drav::test::ellipse_rec(p.x, p.y, std::abs(p.dx), std::abs(p.dy), 0.2, 0.5, 4); break;
            }
            r.b[obj::width] = static_cast<std::uint8_t>(3 + n % 9);
            set_obj_density_marks(r, 0, n % 2, n / 2 % 2);
            set_obj_kind_colour(r, obj_kind(r), 17 + 37 * n % 230);
            r.b[obj::style] = 1;
            v.push_back(r);
            ++n;
        }
    }
    store(v);
    filled_widths();
    const auto draw = [&] {
        std::vector<Pixels> out;
        record_view(W);
        for (int z = 0; z <= maxzoom; ++z) {
            if (z) zoomlist(1);
            cleargraphics();
            sketchlist();
            out.push_back(screen());
            drav::test::fill_gradient(*drawCWindow);
            for (int i = first_object_slot; i < number_of_objects; ++i) {
                showseg(mode_draw, static_cast<std::int16_t>(i));
                showseg(mode_xor, static_cast<std::int16_t>(i));
                if (i % 3 == 0) showseg(mode_erase, static_cast<std::int16_t>(i));
            }
            out.push_back(screen());
            out.push_back(drawCWindow->pixels());
        }
        return out;
    };
    expect_fast_draws_general(draw);
}

// A segment whose colour changes among the lines of a filled piece (as a
// group of objects of several colours gives): the lines before the change
// keep the colour they were drawn in.
TEST_F(ListPixels, AColourChangeAmongTheLinesOfAFilledPieceGivesTheGeneralPathsPixels) {
    const double W = 20, H = 20 * aspectratio;
    std::vector<ObjectRec> v;
    for (int n = 0; n < 6; ++n) {
        ObjectRec r = drav::test::line_rec(0.1 * W + n, 0.2 * H + 0.1 * n * H, 0.6 * W - n, 0.3 * H);
        r.b[obj::width] = static_cast<std::uint8_t>(4 + n);
        set_obj_kind_colour(r, obj_kind(r), 40 + 30 * n);
        r.b[obj::style] = 1;
        v.push_back(r);
    }
    store(v);
    filled_widths();
    const auto draw = [&] {
        record_view(W);
        // Halfway along each segment a copy of its first colour change
        // with another colour takes a line's place.
        int changed = 0;
        for (int i = first_object_slot; i < number_of_objects; ++i) {
            const SegCtrlRec* e = seg_entry(i);
            if (!e || !(seg_word(e->b, 0) & 0x8000)) continue;
            const int block = seg_word(e->b, 1), rec = seg_word(e->b, 2), count = seg_word(e->b, 3);
            if (rec + count > seg_recs_per_block) continue;
            SegPrimRec* first = seg_record(block, rec);
            int attr = 0;
            while (attr < count && (seg_word(first[attr].b, 0) & 15) != seg_attr) ++attr;
            const int mid = attr + (count - attr) / 2;
            if (attr >= count || mid <= attr + 1 || (seg_word(first[mid].b, 0) & 15) != seg_line) continue;
            first[mid] = first[attr];
            first[mid].b[5] = static_cast<std::uint8_t>(first[attr].b[5] + 101);
            ++changed;
        }
        EXPECT_GE(changed, 4);
        cleargraphics();
        sketchlist();
        return screen();
    };
    expect_fast_draws_general([&] { return std::vector<Pixels>{draw()}; });
}

// The whole replay reads line records in runs and batches their lines
// across segments and colour changes; replaying each segment alone walks
// the records one by one. At every zoom, with filled pieces among them,
// both give the same pixels.
TEST_F(ListPixels, AWholeReplayDrawsWhatEachSegmentReplayedAloneDraws) {
    store(drav::test::mixed_objects(3000, 13));
    filled_widths();
    record_view(20);
    int compared = 0;
    for (int z = 0; z <= maxzoom; ++z) {
        if (z) zoomlist(1);
        ASSERT_EQ(zoom, z);
        cleargraphics();
        sketchlist();
        const Pixels whole = screen();
        cleargraphics();
        for (int i = first_object_slot; i < number_of_objects; ++i) showseg(mode_draw, static_cast<std::int16_t>(i));
        EXPECT_TRUE(whole == screen()) << "zoom " << z;
        EXPECT_FALSE(drav::test::all_white(*myCGrafPtr));
        ++compared;
    }
    EXPECT_GE(compared, 2);
}

// Moves the view by (dx, dy) canvas pixels as a pan does.
void move_view(int dx, int dy) {
    panvp.xl = static_cast<std::int16_t>(panvp.xl + dx);
    panvp.xr = static_cast<std::int16_t>(panvp.xr + dx);
    panvp.yb = static_cast<std::int16_t>(panvp.yb + dy);
    panvp.yt = static_cast<std::int16_t>(panvp.yt + dy);
    pandx = static_cast<std::int16_t>(-panvp.xl);
    pandy = static_cast<std::int16_t>(-panvp.yb);
}

TEST_F(ListPixels, APanMovesThePixelsAndDrawsWhatAWholeReplayOfTheNewViewDraws) {
    store(drav::test::mixed_objects(3000, 11));
    // Widths of up to 11 strokes: wide lines are filled outlines.
    init_worldunits();
    units_defs.units_code = 1;
    output_defs.plot_scale = 1;
    output_defs.width_size = 0.1;
    output_defs.width_factor = 1;
    change_window(0, 20, 0, aspectratio, 1);
    reset_on_screen = 1;
    show_objects(1, 1, first_object_slot);
    // Across both axes, by a little and by nearly the whole view; wide
    // filled lines cross every edge.
    const std::pair<int, int> steps[] = {{50, 0}, {0, -25}, {-7, 3}, {-190, 0}, {3, 97}, {0, -1}};
    for (const auto& [dx, dy] : steps) {
        move_view(dx, dy);
        ASSERT_EQ(scroll_sketchlist(), 1) << dx << ", " << dy;
        const Pixels moved = screen();
        cleargraphics();
        sketchlist();
        EXPECT_TRUE(moved == screen()) << dx << ", " << dy;
    }
    // The pan command itself, by a quarter of the view each way.
    objopts->scroll_pages = 4;
    objopts->scroll_single = 0.25;
    changezoomlimits();
    for (const auto& [dx, dy] : {std::pair{1, 0}, {0, 1}, {-1, -1}}) {
        const ViewportRec before = panvp;
        panlist(static_cast<std::int16_t>(dx), static_cast<std::int16_t>(dy));
        EXPECT_FALSE(panvp.xl == before.xl && panvp.yb == before.yb);
        const Pixels panned = screen();
        cleargraphics();
        sketchlist();
        EXPECT_TRUE(panned == screen()) << dx << ", " << dy;
    }
    EXPECT_FALSE(drav::test::all_white(*myCGrafPtr));
}

TEST_F(ListPixels, APanDrawsEverythingAgainWhenTheCopyNoLongerHoldsTheLastReplay) {
    store(drav::test::mixed_objects(300, 4));
    reset_on_screen = 1;
    show_objects(1, 1, first_object_slot);
    const std::function<void()> changes[] = {
        [] {},
        // An erase leaves a gap that only a whole replay closes.
        [] { showseg(mode_erase, first_object_slot + 3); },
        [] { deleteseg(first_object_slot + 4); },
        [] { setDravColor(colour_black, 0x8000, 0, 0); },
        [] { objopts->background_colour = colour_black; },
        [] { set_LevelVisible(1, 0); },
    };
    int step = 20;
    for (const auto& change : changes) {
        cleargraphics();
        sketchlist();
        change();
        move_view(step, 0);
        step = -step;
        EXPECT_EQ(scroll_sketchlist(), &change == &changes[0] ? 1 : 0);
    }
    buildcolormap();
    objopts->background_colour = colour_white;
    set_LevelVisible(1, 1);
    // Through the pan itself: the result is a whole replay's.
    showseg(mode_erase, first_object_slot + 5);
    objopts->scroll_pages = 4;
    objopts->scroll_single = 0.25;
    changezoomlimits();
    panlist(1, 0);
    const Pixels panned = screen();
    cleargraphics();
    sketchlist();
    EXPECT_TRUE(panned == screen());
    // Zoomed in, a pan moves by fractions of pixels: never moved.
    zoomlist(1);
    move_view(4, 0);
    EXPECT_EQ(scroll_sketchlist(), 0);
    // With the fast paths off nothing is moved either.
    zoomlist(-1);
    move_view(4, 0);
    plat::set_fast_lines(false);
    EXPECT_EQ(scroll_sketchlist(), 0);
}

TEST_F(ListPixels, ThinSolidObjectsInsideTheViewLookTheSameFromTheList) {
    std::vector<ObjectRec> v;
    v.push_back(drav::test::line_rec(1, 1, 5, 3));
    v.push_back(drav::test::line_rec(2, 8, 7, -4));
    v.push_back(drav::test::rect_rec(10, 2, 4, 3));
    v.push_back(drav::test::rect_rec(12, 6, 3, 2, 0.4));
    v.push_back(drav::test::ellipse_rec(5, 5, 2, 1));
    v.push_back(drav::test::ellipse_rec(16, 5, 1.5, 1.5));
    v.push_back(drav::test::bezier_rec(1, 5, 2, 3, 4, -2, 6, 1));
    store(v);
    reset_on_screen = 1;
    show_objects(1, 1, first_object_slot);
    const Pixels from_list = screen();
    termlist();
    cleargraphics();
    for (std::int16_t i = first_object_slot; i < number_of_objects; ++i) {
        get_info(i);
        show(mode_draw, &info);
    }
    EXPECT_TRUE(from_list == screen());
    EXPECT_FALSE(drav::test::all_white(*myCGrafPtr));
}

}  // namespace
