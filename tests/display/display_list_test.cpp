// The display list: the driver table, segments as recorded, blocks, replay,
// picking, fences and erasing. The window (0..20, 0..10) fills the 200 x 100
// screen and is the canvas's home area, so world (x, y) is canvas pixel
// (10 x, 10 y) and port pixel (10 x, 100 - 10 y).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

#include "base/command_loop.h"
#include "display/display_list.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/list_replay.h"
#include "display/list_view.h"
#include "display/pan_canvas.h"
#include "display/redraw.h"
#include "platform/core/memory.h"
#include "store/group_build.h"
#include "store/object_walk.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/workfile.h"
#include "tests/display/renderer_fixture.h"
#include "tests/support/harness.h"
#include "tests/support/pixels.h"
#include "tests/support/workfile.h"

namespace {

using namespace drav;
using drav::test::answers;
using drav::test::pixel_rows;

std::int16_t word(const std::uint8_t* p, int w) { return static_cast<std::int16_t>(seg_word(p, w)); }

class DisplayList : public drav::test::Renderer {
protected:
    void SetUp() override {
        drav::test::use_data_folder();
        drav::test::start_small_drawing(3);
        ASSERT_EQ(setup_workfile(), 1);
        ASSERT_EQ(init_selection_sets(), 1);
        Renderer::SetUp();
        vmlistinit();
        ASSERT_EQ(listinstalled(), 1);
        ASSERT_EQ(listavail(), 1);
        objopts->background_colour = colour_white;
        setbackgnd(colour_white);
        set_valid_objects();
        adding = 1;
        quit = 0;
    }
    void TearDown() override {
        termlist();
        Renderer::TearDown();
    }

    // One segment that leaves `room` records free in the list's last block.
    static void fill_list_leaving(int room) {
        genlist = 1;
        startseg(ok_line);
        begseg(ok_line, colour_black, 1, 1, 1);
        for (long i = 0; i < 512L * seg_recs_per_block - 2 - room; ++i) growseg(1, 1, 2, 2);
        stopseg(90);
    }

    // Stores rec as the next object and draws it through the list.
    std::int16_t add(const ObjectRec& rec) {
        const auto n = number_of_objects++;
        dir_put_info(n, rec);
        get_info(n);
        show(mode_draw, &info);
        put_on_screen(n, clipped);
        return n;
    }
    static const SegCtrlRec& entry(int index) { return *seg_entry(index); }
    // The records of a segment as `inqseg` reads them.
    static std::vector<SegPrimRec> records(std::int16_t index) {
        std::vector<SegPrimRec> v;
        startinq(index);
        SegPrimRec r;
        while (inqseg(r.b)) v.push_back(r);
        return v;
    }
    static void clear_screen() { myCGrafPtr->erase_rect(offRect); }
};

TEST_F(DisplayList, EverySlotHoldsTheEngineAndTheCapabilitiesAreAnswered) {
    listdriver = ListDriver{};
    vmlistinit();
    EXPECT_EQ(listdriver.zoommsg, &_zoommsg);
    EXPECT_EQ(listdriver.sketchlist, &_sketchlist);
    EXPECT_EQ(listdriver.showseg, &_showseg);
    EXPECT_EQ(listdriver.findseg, &_findseg);
    EXPECT_EQ(listdriver.startinq, &_startinq);
    EXPECT_EQ(listdriver.inqseg, &_inqseg);
    EXPECT_EQ(listdriver.deleteseg, &_deleteseg);
    EXPECT_EQ(listdriver.crunchseg, &_crunchseg);
    EXPECT_EQ(listdriver.growseg, &_growseg);
    EXPECT_EQ(listdriver.growrect, &_growrect);
    EXPECT_EQ(listdriver.growcir, &_growcir);
    EXPECT_EQ(listdriver.begseg, &_begseg);
    EXPECT_EQ(listdriver.startseg, &_startseg);
    EXPECT_EQ(listdriver.stopseg, &_stopseg);
    EXPECT_EQ(listdriver.statslist, &_statslist);
    EXPECT_EQ(listdriver.listinstalled, &_listinstalled);
    EXPECT_EQ(listdriver.listavail, &_listavail);
    EXPECT_EQ(listdriver.freelist, &_freelist);
    EXPECT_EQ(listdriver.initlist, &_initlist);
    EXPECT_EQ(listdriver.termlist, &_termlist);
    EXPECT_EQ(listdriver.updatelist, &_updatelist);
    EXPECT_EQ(listdriver.panlist, &_panlist);
    EXPECT_EQ(listdriver.zoomlist, &_zoomlist);
    EXPECT_EQ(listdriver.cenlist, &_cenlist);
    EXPECT_EQ(listdriver.homelist, &_homelist);
    EXPECT_EQ(listdriver.multlist, &_multlist);
    EXPECT_EQ(listdriver.regenlist, &_regenlist);
    EXPECT_EQ(listdriver.changelist, &_changelist);
    EXPECT_EQ(listdriver.fulllist, &_fulllist);
    EXPECT_EQ(listdriver.crunchlist, &_crunchlist);
    EXPECT_EQ(listdriver.visiblelist, &_visiblelist);
    EXPECT_EQ(listdriver.colorseg, &_colorseg);
    const std::int16_t caps[] = {has_birdseye(), has_fastobj(), has_inoutzoom(),
                                 has_inqseg(),   has_findseg(), has_levels()};
    EXPECT_EQ(std::vector<std::int16_t>(std::begin(caps), std::end(caps)),
              (std::vector<std::int16_t>{0, 1, 0, 1, 1, 0}));
    std::int32_t a = -1, b = -1, c = -1;
    statslist(&a, &b, &c);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 16384 + 16380);
    EXPECT_EQ(c, 0);
}

TEST_F(DisplayList, ALineIsFiledAsLimitsAttributesAndPixels) {
    ObjectRec r = drav::test::line_rec(2, 3, 3, 4);
    set_obj_kind_colour(r, ok_line, 35);
    r.b[obj::level] = 1;
    const std::int16_t n = add(r);
    const SegCtrlRec& e = entry(n);
    EXPECT_EQ(seg_word(e.b, 0), 0x8000 | 1 << 11);
    EXPECT_EQ(seg_word(e.b, 1), 0);
    EXPECT_EQ(seg_word(e.b, 2), 0);
    EXPECT_EQ(seg_word(e.b, 3), 3);
    const auto v = records(n);
    ASSERT_EQ(v.size(), 3u);
    // Limits (20, 50, 30, 70), then level 1, class 1, colour 35, then the line.
    EXPECT_EQ(seg_word(v[0].b, 0) & 15, 3);
    EXPECT_EQ((std::vector<int>{word(v[0].b, 1), word(v[0].b, 2), word(v[0].b, 3), word(v[0].b, 4)}),
              (std::vector<int>{20, 50, 30, 70}));
    EXPECT_EQ(seg_word(v[1].b, 0) & 15, 1);
    EXPECT_EQ(seg_word(v[1].b, 1), 1 << 8 | 1);
    EXPECT_EQ(v[1].b[5], 35);
    EXPECT_EQ(v[1].b[4], 1);
    EXPECT_EQ(seg_word(v[2].b, 0) & 15, 2);
    EXPECT_EQ((std::vector<int>{word(v[2].b, 1), word(v[2].b, 2), word(v[2].b, 3), word(v[2].b, 4)}),
              (std::vector<int>{20, 30, 50, 70}));
    // Shown at once: both end pixels are drawn.
    EXPECT_NE(myCGrafPtr->pixel(20, 70), plat::white_pixel);
    EXPECT_NE(myCGrafPtr->pixel(50, 30), plat::white_pixel);
    EXPECT_EQ(clipped, 1);
}

TEST_F(DisplayList, ASegmentContinuesInTheNextBlockAfterRecord1637) {
    // A filler of 1636 records: limits, attributes and 1634 lines.
    genlist = 1;
    startseg(ok_line);
    begseg(ok_line, colour_black, 1, 1, 1);
    for (int i = 0; i < 1634; ++i) growseg(1, 1, 2, 2);
    stopseg(90);
    genlist = 0;
    EXPECT_EQ(seg_records_in_last_block(), 1636);
    // Two lines: limits at 1636, attributes at 1637, the lines at 0 and 1 of block 1.
    startseg(ok_line);
    begseg(ok_line, 35, 1, 1, 1);
    growseg(1, 1, 5, 1);
    growseg(5, 1, 5, 5);
    stopseg(40);
    const SegCtrlRec& e = entry(40);
    EXPECT_EQ(seg_word(e.b, 1), 0);
    EXPECT_EQ(seg_word(e.b, 2), 1636);
    EXPECT_EQ(seg_word(e.b, 3), 4);
    EXPECT_EQ(seg_blocks_used(), 2);
    const auto v = records(40);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(seg_word(v[3].b, 0) & 15, 2);
    EXPECT_EQ(word(v[3].b, 4), 50);
    // Recolouring reaches the attributes; the replay draws the second block's line.
    colorseg(40, colour_black);
    EXPECT_EQ(records(40)[1].b[5], colour_black);
    clear_screen();
    number_of_objects = 41;
    showseg(mode_draw, 40);
    EXPECT_EQ(myCGrafPtr->pixel(50, 70), plat::black_pixel);  // (5, 3) on the second line
    EXPECT_EQ(myCGrafPtr->pixel(30, 90), plat::black_pixel);  // (3, 1) on the first
}

TEST_F(DisplayList, The513thBlockIsRefusedWithMessage104AndTheObjectIsDrawnDirectly) {
    fill_list_leaving(0);
    genlist = 0;
    ASSERT_EQ(seg_blocks_used(), 512);
    ASSERT_EQ(seg_records_in_last_block(), seg_recs_per_block);
    answers().expect("");
    clear_screen();
    const std::int16_t n = add(drav::test::line_rec(1, 1, 4, 0));
    EXPECT_TRUE(answers().done());
    EXPECT_EQ(answers().shown().size(), 1u);
    EXPECT_EQ(quit, 1);
    EXPECT_EQ(listavail(), 0);
    EXPECT_EQ(listinstalled(), 1);
    EXPECT_EQ(seg_word(entry(n).b, 0), 0);
    EXPECT_EQ(myCGrafPtr->pixel(25, 90), plat::black_pixel);  // drawn directly
    // Nothing more is said while the list is off; the next whole redraw
    // makes it available again.
    add(drav::test::line_rec(1, 2, 4, 0));
    EXPECT_EQ(answers().shown().size(), 1u);
    show_objects(1, 1, first_object_slot);
    EXPECT_EQ(listavail(), 1);
    EXPECT_NE(seg_word(entry(n).b, 0) & 0x8000, 0);
}

// growsegs takes a run of lines at once, and growseg_now one line without
// the driver table; both must write what growseg writes line by line:
// halves rounded away from zero on both sides of 0, ends beyond the 16-bit
// pixel range, and a run that crosses into a new block.
TEST_F(DisplayList, ARunOfLinesIsRecordedAsLineByLine) {
    const double ends[] = {0.05, -0.05, 0.15, -0.25, 3.35, -1e4, 1e4, 3276.65, -3276.75, 0, -0.0, 7.2, 19.99, -2.45};
    std::vector<double> xy;
    for (int i = 0; i < 2000; ++i)
        for (int k = 0; k < 4; ++k) xy.push_back(ends[(i * (k + 3) + k * k) % 14] + (i % 7) * 0.1);
    const int lines = static_cast<int>(xy.size() / 4);
    genlist = 1;
    startseg(ok_line);
    begseg(ok_line, 35, 1, 1, 1);
    EXPECT_EQ(growsegs(xy.data(), lines), lines);
    stopseg(40);
    startseg(ok_line);
    begseg(ok_line, 35, 1, 1, 1);
    for (int i = 0; i < lines; ++i) growseg(xy[4 * i], xy[4 * i + 1], xy[4 * i + 2], xy[4 * i + 3]);
    stopseg(41);
    startseg(ok_line);
    begseg(ok_line, 35, 1, 1, 1);
    for (int i = 0; i < lines; ++i) growseg_now(xy[4 * i], xy[4 * i + 1], xy[4 * i + 2], xy[4 * i + 3]);
    stopseg(42);
    genlist = 0;
    ASSERT_EQ(seg_blocks_used(), 4);
    const auto run = records(40), single = records(41), now = records(42);
    ASSERT_EQ(run.size(), static_cast<std::size_t>(lines + 2));
    ASSERT_EQ(single.size(), run.size());
    ASSERT_EQ(now.size(), run.size());
    // Record 0 holds the limits.
    for (std::size_t i = 0; i < run.size(); ++i) {
        EXPECT_EQ(std::memcmp(run[i].b, single[i].b, 10), 0) << "record " << i;
        EXPECT_EQ(std::memcmp(now[i].b, single[i].b, 10), 0) << "record " << i;
    }
    // Hand-worked: world 0.05 is canvas pixel 0.5, rounded away from zero to 1; -0.05 to -1.
    EXPECT_EQ(word(run[2].b, 1), iround(10 * xy[0]));
    EXPECT_EQ(iround(0.5), 1);
    EXPECT_EQ(iround(-0.5), -1);
}

// A run that meets the end of the list's memory records what fits, stops
// the recording and says how many lines it took.
TEST_F(DisplayList, ARunThatMeetsTheLastBlockStopsWhereTheListIsFull) {
    fill_list_leaving(5);
    ASSERT_EQ(seg_records_in_last_block(), seg_recs_per_block - 5);
    answers().expect("");
    startseg(ok_line);
    begseg(ok_line, colour_black, 1, 1, 1);
    const double xy[] = {1, 1, 2, 2, 1, 1, 3, 3, 1, 1, 4, 4, 1, 1, 5, 5, 1, 1, 6, 6, 1, 1, 7, 7};
    // Limits, attributes and three lines fill the block; the fourth line finds no room.
    EXPECT_EQ(growsegs(xy, 6), 4);
    EXPECT_EQ(listing, 0);
    EXPECT_EQ(listavail(), 0);
    EXPECT_EQ(answers().shown().size(), 1u);
    EXPECT_EQ(growsegs(xy, 6), 0);
    genlist = 0;
}

// polyline_abs hands its lines over a run at a time; it must record what
// line_abs records one line after the other: lines cut at every side of the
// canvas, lines wholly outside, more lines than one run holds.
TEST_F(DisplayList, APolylineIsRecordedAsLineByLine) {
    const WindowRec& w = clpcur_win;
    const double cx = (w.xl + w.xr) / 2, cy = (w.yb + w.yt) / 2, rx = w.xr - w.xl, ry = w.yt - w.yb;
    // Across the left, top, right and bottom edges, inside, far outside.
    const double spots[][2] = {{0.1, 0.2},  {-0.9, 0.3}, {0.2, 0.8},  {0.3, -0.45}, {0.95, 0.1},
                               {-3, -3},    {-2.5, 2},   {0.05, 0.05}, {-0.2, -0.35}, {0.49, 0.49}};
    std::vector<double> xy;
    for (int i = 0; i < 150; ++i) {
        const auto& p = spots[(i * 7 + i / 10) % 10];
        xy.push_back(cx + p[0] * rx + 0.013 * i);
        xy.push_back(cy + p[1] * ry - 0.007 * i);
    }
    const int n = static_cast<int>(xy.size() / 2);
    setdrawmode(mode_draw);
    genlist = 1;
    startseg(ok_line);
    begseg(ok_line, 35, 1, 1, 1);
    listing = 1;
    move_abs(cx, cy);
    EXPECT_TRUE(polyline_abs(xy.data(), n));
    const std::uint16_t run_clipped = clipped;
    const double run_x = cx_pos, run_y = cy_pos;
    stopseg(40);
    startseg(ok_line);
    begseg(ok_line, 35, 1, 1, 1);
    listing = 1;
    move_abs(cx, cy);
    int visible = 0;
    for (int i = 0; i < n; ++i) {
        line_abs(xy[2 * i], xy[2 * i + 1]);
        visible += clipped;
    }
    stopseg(41);
    genlist = 0;
    const auto run = records(40), single = records(41);
    // Some lines were cut away: the test drives the clip both ways.
    ASSERT_GT(visible, 20);
    ASSERT_LT(visible, n);
    ASSERT_EQ(single.size(), static_cast<std::size_t>(visible + 2));
    ASSERT_EQ(run.size(), single.size());
    for (std::size_t i = 0; i < run.size(); ++i)
        EXPECT_EQ(std::memcmp(run[i].b, single[i].b, 10), 0) << "record " << i;
    EXPECT_EQ(run_clipped, clipped);
    EXPECT_EQ(run_x, cx_pos);
    EXPECT_EQ(run_y, cy_pos);
    EXPECT_EQ(run_x, xy[2 * n - 2]);
}

// A polyline that meets the end of the list's memory: what fits is
// recorded, the rest is drawn directly and the pen ends at the last point.
TEST_F(DisplayList, APolylineThatMeetsTheLastBlockDrawsTheRestDirectly) {
    setdrawmode(mode_draw);
    genlist = 1;
    startseg(ok_line);
    begseg(ok_line, colour_black, 1, 1, 1);
    for (long i = 0; i < 512L * seg_recs_per_block - 7; ++i) growseg(1, 1, 2, 2);
    stopseg(90);
    answers().expect("");
    clear_screen();
    startseg(ok_line);
    begseg(ok_line, colour_black, 1, 1, 1);
    listing = 1;
    move_abs(1, 1);
    // Limits, attributes and three lines fill the block; the fourth is lost
    // with the list, the last two are drawn.
    const double xy[] = {1, 2, 2, 2, 2, 1, 3, 1, 3, 6, 8, 6};
    EXPECT_TRUE(polyline_abs(xy, 6));
    EXPECT_EQ(listing, 0);
    EXPECT_EQ(listavail(), 0);
    EXPECT_EQ(cx_pos, 8);
    EXPECT_EQ(cy_pos, 6);
    EXPECT_EQ(clipped, 1);
    // World (5, 6) on the last line is port pixel (50, 40).
    EXPECT_NE(myCGrafPtr->pixel(50, 40), plat::white_pixel);
    // World (3, 3.5), on the fifth line, is port pixel (30, 65).
    EXPECT_NE(myCGrafPtr->pixel(30, 65), plat::white_pixel);
    genlist = 0;
}

// growdashes cuts a dashed segment and records its pen-down pieces at once;
// it must leave the list, the cutter and what is left to draw exactly as
// getlinstk_down's runs handed to growsegs do: a pattern that starts with a
// gap, elements ending on a segment's end, dashes carried round corners,
// empty segments, ends beyond the 16-bit pixel range or just inside it
// (with and without a pixel to spare), the piece limit, a run
// across a block's end, and a list that runs out at the heads, in the middle
// or is off already.
TEST_F(DisplayList, DashesRecordedAtOnceMatchRunByRun) {
#if !defined(__SSE2__)
    GTEST_SKIP() << "the one-pass dash recorder is built with SSE2 only; without it the run cutter records";
#endif
    std::ofstream(drav::test::use_data_folder() / line_styles_file, std::ios::binary)
        << "3 d0.25 m0.125\n5 d0.75 m0.125 d0.125 m0.125\n6 m0.3 d0.2 d0.1 m0.05\n7 d0.125 m0.0625\n";
    openlinstk();
    ASSERT_EQ(patopen, 1);
    constexpr long whole_list = 512L * seg_recs_per_block;
    struct Case {
        const char* what;
        std::int16_t style;
        std::vector<double> pts;  // a polyline, x y each
        long before;              // records recorded ahead of it
        bool off = false;         // the recording already stopped
    };
    const Case cases[] = {
        {"plain", 3, {1, 1, 9, 6}, 0},
        {"gap first, corners, empty segments", 6, {0.1, 0.2, 0.43, 0.9, 2.9, 7.3, 2.9, 7.3, -1.7, 3, 5, 5, 5, 5}, 0},
        {"ends on elements", 5, {0, 0, 0.75, 0, 0.875, 0, 3.1, 0, 3.1, 1.0}, 0},
        {"beyond 16 bits", 3, {3000, 5, 3300, -20, -3300, -3000}, 0},
        {"at the 16-bit edge", 3, {3270, 1, 3276.55, 1, 3276.55, -3276.55, 3276.65, -3276.6}, 0},
        {"piece limit", 7, {0, 0, 7000, 0.5}, 0},
        {"across a block", 3, {1, 1, 19, 2}, seg_recs_per_block - 7},
        {"full at the heads", 3, {1, 1, 19, 2}, whole_list - 1},
        {"full in the middle", 5, {1, 1, 19, 2, 3, 9}, whole_list - 9},
        {"off", 3, {1, 1, 4, 2}, 0, true},
    };
    struct Outcome {
        std::vector<std::vector<std::uint8_t>> records;
        std::vector<double> drawn, state;
        const LineStkRec* pat;
        int listing, any, blocks, last, avail, shown;
    };
    const auto run = [&](const Case& c, bool fast) {
        freelist();
        quit = 0;
        if (c.before > whole_list / 2) answers().expect("");
        if (c.before > 0) {
            startseg(ok_line);
            begseg(ok_line, colour_black, 1, 1, 1);
            for (long i = 0; i < c.before - 2; ++i) growseg(1, 1, 2, 2);
            stopseg(90);
        }
        const auto shown_before = answers().shown().size();
        genlist = 1;
        startseg(ok_line);
        begseg(ok_line, 35, c.style, 1, 1);
        // As do_obj asks before it cuts: the ring is scaled to the view.
        EXPECT_EQ(pattern_toosmall(), 0) << c.what;
        if (c.off) listing = 0;
        std::uint16_t any = 0;
        Outcome o;
        for (std::size_t i = 2; i + 1 < c.pts.size(); i += 2) {
            startlinstk(c.pts[i - 2], c.pts[i - 1], c.pts[i], c.pts[i + 1]);
            if (fast) {
                EXPECT_GE(growdashes(&any), 0) << c.what;
            } else {
                double xy[4 * 64];
                for (int n; (n = getlinstk_down(xy, 64)) > 0;) {
                    any = 1;
                    const int done = growsegs(xy, n);
                    o.drawn.insert(o.drawn.end(), xy + 4 * done, xy + 4 * n);
                    if (done < n) break;
                }
            }
            // What the list did not take is drawn piece by piece.
            double x1, y1, x2, y2;
            std::int16_t down;
            while (getlinstk(&x1, &y1, &x2, &y2, &down))
                if (down) o.drawn.insert(o.drawn.end(), {x1, y1, x2, y2});
        }
        o.listing = listing;
        stopseg(40);
        genlist = 0;
        for (const SegPrimRec& r : records(40)) o.records.emplace_back(r.b, r.b + 10);
        o.state = {linedist, leftover, x_current, y_current, unitdist, static_cast<double>(pieces_cut)};
        o.pat = curlpat;
        o.any = any;
        o.blocks = seg_blocks_used();
        o.last = seg_records_in_last_block();
        o.avail = listavail();
        o.shown = static_cast<int>(answers().shown().size() - shown_before);
        return o;
    };
    for (const Case& c : cases) {
        const Outcome slow = run(c, false), fast = run(c, true);
        EXPECT_EQ(fast.records, slow.records) << c.what;
        EXPECT_EQ(fast.drawn, slow.drawn) << c.what;
        EXPECT_EQ(fast.state, slow.state) << c.what;
        EXPECT_EQ(fast.pat, slow.pat) << c.what;
        EXPECT_EQ(fast.listing, slow.listing) << c.what;
        EXPECT_EQ(fast.any, slow.any) << c.what;
        EXPECT_EQ(fast.blocks, slow.blocks) << c.what;
        EXPECT_EQ(fast.last, slow.last) << c.what;
        EXPECT_EQ(fast.avail, slow.avail) << c.what;
        EXPECT_EQ(fast.shown, slow.shown) << c.what;
        // The case drives what it names.
        EXPECT_EQ(slow.any, 1) << c.what;
        const bool full = c.before > whole_list / 2;
        EXPECT_EQ(slow.avail, full ? 0 : 1) << c.what;
        EXPECT_EQ(slow.drawn.empty(), !full && !c.off) << c.what;
        if (!full && !c.off) {
            EXPECT_GT(slow.records.size(), 2u) << c.what;
        }
    }
    EXPECT_EQ(run(cases[5], false).state[5], max_pieces_per_segment + 1);
    EXPECT_EQ(run(cases[6], false).blocks, 2);
    // A ring not scaled to the scale in force is not taken.
    freelist();
    startseg(ok_line);
    begseg(ok_line, 35, 5, 1, 1);
    setlpatscale(2);
    sclpatlen = 2;
    startlinstk(1, 1, 5, 5);
    std::uint16_t any = 0;
    EXPECT_EQ(growdashes(&any), -1);
    EXPECT_EQ(any, 0);
    EXPECT_EQ(x_current, 1);
    EXPECT_EQ(curlpat, lpathead);
    setlpatscale(1);
    listing = 0;
    genlist = 0;
}

TEST_F(DisplayList, AFailedAllocationSaysSoOnceAndTheNextRedrawRestoresTheList) {
    answers().expect("");
    plat::fail_next_allocations(1);
    add(drav::test::line_rec(1, 1, 4, 0));
    EXPECT_EQ(answers().shown().size(), 1u);
    EXPECT_EQ(listavail(), 0);
    EXPECT_EQ(quit, 1);
    add(drav::test::line_rec(1, 2, 4, 0));
    EXPECT_EQ(answers().shown().size(), 1u);
    show_objects(1, 1, first_object_slot);
    EXPECT_EQ(listavail(), 1);
    EXPECT_NE(seg_word(entry(first_object_slot).b, 0) & 0x8000, 0);
}

TEST_F(DisplayList, ASegmentWithNothingRecordedFilesNoEntry) {
    startseg(ok_line);
    begseg(ok_line, colour_black, 1, 1, 1);
    stopseg(37);
    const SegCtrlRec& e = entry(37);
    EXPECT_EQ(std::vector<std::uint8_t>(e.b, e.b + 8), std::vector<std::uint8_t>(8, 0));
    EXPECT_EQ(seg_blocks_used(), 0);
    // An object wholly outside the canvas is the same.
    const std::int16_t n = add(drav::test::line_rec(-1e6, -1e6, 1, 1));
    EXPECT_EQ(seg_word(entry(n).b, 3), 0);
    EXPECT_EQ(clipped, 0);
}

TEST_F(DisplayList, ReplayDrawsOnlySegmentsThatMeetTheView) {
    // Both ends off the screen: recorded whole on the canvas, clipped by the port.
    const std::int16_t across = add(drav::test::line_rec(-5, 5, 30, 0));
    const std::int16_t outside = add(drav::test::line_rec(25, 5, 3, 0));
    clear_screen();
    showseg(mode_draw, outside);
    EXPECT_EQ(clipped, 0);
    EXPECT_TRUE(drav::test::all_white(*myCGrafPtr));
    showseg(mode_draw, across);
    EXPECT_EQ(clipped, 1);
    for (int x : {0, 100, 199}) EXPECT_EQ(myCGrafPtr->pixel(x, 50), plat::black_pixel) << x;
    // Tested against a box: only the part inside counts.
    t_vp = panvp;
    const ViewportRec view = panvp;
    panvp = {40, 46, 47, 53, 6, 6};
    showseg(mode_trace, across);
    EXPECT_EQ(clipped, 1);
    panvp = {40, 46, 60, 66, 6, 6};
    showseg(mode_trace, across);
    EXPECT_EQ(clipped, 0);
    panvp = view;
}

TEST_F(DisplayList, ACircleIsCutIntoEdgesByItsPixelRadius) {
    struct Case {
        int r, sides;
    } cases[] = {{0, 1}, {1, 4}, {2, 4}, {3, 8}, {7, 8}, {8, 12}, {29, 12}, {30, 20}, {70, 24},
                 {120, 36}, {250, 40}, {350, 60}, {600, 72}, {999, 72}, {1000, 120}};
    for (const Case& c : cases) {
        determine_sides(100, 100, 100 + 2 * c.r, 100 + 2 * c.r);
        EXPECT_EQ(circle_sides(), c.sides) << c.r;
    }
    max_resolution = 1;
    determine_sides(5, 5, 5, 5);
    EXPECT_EQ(circle_sides(), 180);
    max_resolution = 0;
    // A zero-radius circle tested through the list is one edge from 0 to 360
    // degrees: a point, hit where it lies and nowhere else.
    startseg(ok_ellipse);
    begseg(ok_ellipse, colour_black, 1, 1, 1);
    growcir(5, 5, 5, 5);
    genlist = 1;
    stopseg(36);
    genlist = 0;
    number_of_objects = 37;
    t_vp = panvp;
    const ViewportRec view = panvp;
    panvp = {47, 53, 47, 53, 6, 6};
    showseg(mode_trace, 36);
    EXPECT_EQ(clipped, 1);
    panvp = {54, 60, 47, 53, 6, 6};
    showseg(mode_trace, 36);
    EXPECT_EQ(clipped, 0);
    panvp = view;
}

TEST_F(DisplayList, FindsegStepsThroughWhatLiesUnderTheCursor) {
    const std::int16_t a = add(drav::test::line_rec(1, 5, 10, 0));   // 36
    const std::int16_t b = add(drav::test::line_rec(5, 1, 0, 8));    // 37, crosses a at (5, 5)
    add(drav::test::line_rec(15, 8, 3, 0));                          // 38, elsewhere
    struct Case {
        std::int16_t from;
        double x, y;
        std::int16_t found;
        std::uint16_t hit;
    } cases[] = {
        {a, 5, 5, b, 1},        // the object after the current one first
        {b, 5, 5, a, 1},        // wrapping round to the start
        {a, 2, 5.2, a, 1},      // only a lies there: found again
        {b, 12, 2, b, 0},       // nothing within 3 pixels: index unchanged
        {a, 5.25, 7, b, 1},     // 2.5 pixels off b still hits it
        {a, 5.45, 7, a, 0},     // 4.5 pixels off misses it
    };
    for (const Case& c : cases) {
        std::int16_t n = c.from;
        const ViewportRec view = panvp;
        findseg(&n, c.x, c.y);
        EXPECT_EQ(n, c.found) << c.x << "," << c.y;
        EXPECT_EQ(clipped, c.hit) << c.x << "," << c.y;
        EXPECT_EQ(panvp, view);
    }
}

TEST_F(DisplayList, AFenceTouchesOutlinesAndFilledAreas) {
    const std::int16_t plain = add(drav::test::rect_rec(2, 2, 8, 6));   // 20..100 x 20..80 pixels
    ObjectRec wide = drav::test::rect_rec(11, 2, 8, 6);
    wide.b[obj::width] = 20;  // a band of 9 strokes: a filled outline
    const std::int16_t filled = add(wide);
    setfindfence(4, 3, 6, 5, 5);  // inside the plain rectangle
    EXPECT_EQ(get_in_group(plain), 0);
    setfindfence(13, 3, 15, 5, 5);  // inside the filled band's outline
    EXPECT_EQ(get_in_group(filled), 0) << "the band is a thin ring round its hole";
    setfindfence(10.6, 1.6, 10.9, 1.9, 5);  // in the band itself, away from both edges
    EXPECT_EQ(get_in_group(filled), 1);
    EXPECT_EQ(grpchanged, 1);
    setfindfence(1.5, 3, 2.5, 5, 5);  // across the plain rectangle's left edge
    EXPECT_EQ(get_in_group(plain), 1);
}

TEST_F(DisplayList, AFilledOutlineAroundTheWholeViewFillsIt) {
    startseg(ok_rect);
    begseg(ok_rect, 215, 1, 1, 5);
    growrect(-30, -30, 50, 40);
    genlist = 1;
    stopseg(36);
    genlist = 0;
    number_of_objects = 37;
    clear_screen();
    showseg(mode_draw, 36);
    EXPECT_EQ(clipped, 0);
    const std::uint32_t red = plat::pixel_of(dravColors[215]);
    for (auto [x, y] : {std::pair{0, 0}, {100, 50}, {199, 99}}) EXPECT_EQ(myCGrafPtr->pixel(x, y), red) << x;
    // A test box anywhere in the view touches it.
    t_vp = panvp;
    const ViewportRec view = panvp;
    panvp = {90, 96, 40, 46, 6, 6};
    showseg(mode_trace, 36);
    EXPECT_EQ(clipped, 1);
    panvp = view;
}

TEST_F(DisplayList, ErasingPaintsTheBackgroundWhateverTheColourAndXorTwiceRestores) {
    ObjectRec r = drav::test::line_rec(2, 5, 10, 0);
    set_obj_kind_colour(r, ok_line, 215);
    ObjectRec w = drav::test::rect_rec(4, 2, 6, 4);
    w.b[obj::width] = 20;
    const std::int16_t n = add(r);
    const std::int16_t m = add(w);
    myCGrafPtr->set_back_color({0, 0, 0});
    for (std::uint32_t& px : const_cast<std::vector<std::uint32_t>&>(myCGrafPtr->pixels())) px = plat::black_pixel;
    myCGrafPtr->set_back_color({0xFFFF, 0xFFFF, 0xFFFF});
    showseg(mode_erase, n);
    for (int x : {20, 60, 120}) EXPECT_EQ(myCGrafPtr->pixel(x, 50), plat::white_pixel) << x;
    EXPECT_EQ(myCGrafPtr->pixel(20, 51), plat::black_pixel);

    drav::test::fill_gradient(*drawCWindow);
    const std::vector<std::uint32_t> before = drawCWindow->pixels();
    showseg(mode_xor, m);
    EXPECT_NE(drawCWindow->pixels(), before);
    showseg(mode_xor, m);
    EXPECT_EQ(drawCWindow->pixels(), before);
}

TEST_F(DisplayList, TheWholeRedrawKeepsOnScreenMarks) {
    const std::int16_t in = add(drav::test::line_rec(1, 1, 2, 2));
    const std::int16_t off = add(drav::test::line_rec(25, 1, 2, 2));
    const std::int16_t none = add(drav::test::line_rec(-1e6, 1, 1, 0));
    put_on_screen(off, 1);
    put_on_screen(none, 1);
    clear_screen();
    sketchlist();
    EXPECT_EQ(get_on_screen(in), 1);
    EXPECT_EQ(get_on_screen(off), 1) << "a segment outside the view keeps its mark";
    EXPECT_EQ(get_on_screen(none), 0) << "no segment: not on screen";
    EXPECT_EQ(myCGrafPtr->pixel(15, 85), plat::black_pixel);
}

}  // namespace
