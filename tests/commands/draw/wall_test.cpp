// The wall command: the geometry of a segment worked out by hand, then the
// command driven through the running program: storing, corners, cuts,
// take-back, the restraint and the display.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "base/loop_services.h"
#include "commands/draw/wall.h"
#include "display/graphics_unit.h"
#include "display/grid.h"
#include "display/screen.h"
#include "platform/ui/menus.h"
#include "shell/multi_line_palette.h"
#include "shell/restraints_palette.h"
#include "store/geometry.h"
#include "store/levels.h"
#include "store/record_ops.h"
#include "store/undo.h"
#include "tests/commands/draw/shape_steps.h"

using namespace drav;
using namespace drav::shape_test;
using drav::test::answers;
using drav::test::quit_without_saving;
using drav::test::Session;

namespace {

constexpr double deg = std::numbers::pi / 180;

// A segment node of its own, with the options of a fresh program.
struct Bench {
    ObjOptsRec opts;
    Bench(int pivot, int hand, double w, int count = 2) {
        opts.mline_opt4 = static_cast<std::int16_t>(pivot);
        opts.mline_opt3 = static_cast<std::int16_t>(hand);
        wallopts = &opts;
        cwbase = lastcw = cw = pw = nullptr;
        newwall();
        cw->wall_w = w;
        cw->count = static_cast<std::uint8_t>(count);
        accepted = 0;
        zero_info(info);
    }
    ~Bench() { freewalls(); }
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;
};

void expect_wall_line(const WallLine& l, double x1, double y1, double x2, double y2) {
    EXPECT_NEAR(l.x1, x1, 1e-9);
    EXPECT_NEAR(l.y1, y1, 1e-9);
    EXPECT_NEAR(l.x2, x2, 1e-9);
    EXPECT_NEAR(l.y2, y2, 1e-9);
}

}  // namespace

TEST(WallGeometry, APollOnThePivotChangesNothing) {
    Bench b(0, 1, 2);
    cw->pivot_x = 3;
    cw->pivot_y = 4;
    cw->left = WallLine{1, 2, 3, 4};
    wall_lin_compute(3, 4);
    expect_wall_line(cw->left, 1, 2, 3, 4);
}

TEST(WallGeometry, CentrePivotWithTheHandleOnTheRightFace) {
    Bench b(0, 1, 2);
    wall_lin_compute(10, -1);
    expect_wall_line(cw->left, 0, 1, 10, 1);
    expect_wall_line(cw->right, 0, -1, 10, -1);
    expect_wall_line(cw->centre, 0, 0, 10, 0);
}

TEST(WallGeometry, OffsetsOfEveryPivotAndHandle) {
    struct Case {
        int pivot, hand;
        double off, span;
        int left_on, right_on;
    } cases[] = {{0, 0, 0, 1, 1, 1},  {0, 1, 1, 1, 1, 1},  {0, 2, -1, 1, 1, 1},
                 {1, 0, -1, 2, 1, 0}, {1, 1, 0, 2, 1, 0},  {1, 2, -2, 2, 1, 0},
                 {2, 0, 1, 2, 0, 1},  {2, 1, 2, 2, 0, 1},  {2, 2, 0, 2, 0, 1}};
    for (const Case& c : cases) {
        double off = 9, span = 9;
        int l = 9, r = 9;
        ASSERT_TRUE(wall_offsets(c.pivot, c.hand, 2, &off, &span, &l, &r));
        EXPECT_EQ(off, c.off) << c.pivot << "/" << c.hand;
        EXPECT_EQ(span, c.span);
        EXPECT_EQ(l, c.left_on);
        EXPECT_EQ(r, c.right_on);
    }
    double off = 0, span = 0;
    int l = 0, r = 0;
    EXPECT_FALSE(wall_offsets(3, 1, 2, &off, &span, &l, &r));
}

TEST(WallGeometry, AngleStepsOf45DegreesTakeTheStepAtOrBelow) {
    const struct {
        double polled, stored;
    } cases[] = {{80, 45}, {89.9, 45}, {90, 90}, {10, 0}};
    for (const auto& c : cases) {
        Bench b(1, 1, 1);
        b.opts.lock_mode = 3;
        cw->lock = 3;
        cur_rot = 45 * deg;
        wall_lin_compute(10 * std::cos(c.polled * deg), 10 * std::sin(c.polled * deg));
        const WallLine& p = cw->right;  // the pivot line
        EXPECT_NEAR(get_radangle(p.x2 - p.x1, p.y2 - p.y1), c.stored * deg, 1e-9) << c.polled;
    }
    // No stepping at all below the tolerance.
    Bench b(1, 1, 1);
    b.opts.lock_mode = 3;
    cw->lock = 3;
    cur_rot = 0;
    wall_lin_compute(10 * std::cos(80 * deg), 10 * std::sin(80 * deg));
    EXPECT_NEAR(get_radangle(cw->right.x2, cw->right.y2), 80 * deg, 1e-9);
}

TEST(WallGeometry, TheHorizontalRestraintIgnoresTheHandle) {
    Bench b(0, 1, 2);
    cw->lock = 1;
    cur_rot = 0;
    wall_lin_compute(10, -3);
    expect_wall_line(cw->centre, 0, 0, 10, 0);
    expect_wall_line(cw->left, 0, 1, 10, 1);
}

TEST(WallGeometry, FiveLinesDivideTheWidthInQuarters) {
    Bench b(0, 0, 4, 5);
    wall_lin_compute(10, 0);
    const double ys[] = {1, 0, -1};
    for (int i = 1; i <= 3; ++i) expect_wall_line(inner_line(*cw, i), 0, ys[i - 1], 10, ys[i - 1]);
    cw->caps = 3;
    WallLine lines[257];
    ASSERT_EQ(band_lines(*cw, lines), 7);
    EXPECT_EQ(countlines(), 7);
    expect_wall_line(lines[0], 0, 2, 0, -2);   // start line
    expect_wall_line(lines[1], 0, 2, 10, 2);   // left face
    expect_wall_line(lines[5], 0, -2, 10, -2); // right face
    expect_wall_line(lines[6], 10, 2, 10, -2); // end line
}

TEST(WallGeometry, AShortCentreLineIsNotAValidSegment) {
    Bench b(0, 0, 1);
    cw->centre = WallLine{1, 1, 1 + 1e-8, 1 - 1e-8};
    EXPECT_EQ(valid_wall(), 0);
    cw->centre.x2 = 1.001;
    EXPECT_EQ(valid_wall(), 1);
}

TEST(WallGeometry, KeptPiecesOfEveryCase) {
    // A wall going up, faces at x = -1 (left) and x = 1 (right).
    const auto pieces = [](WallLine s, WallLine* p1, WallLine* p2) { return kept_pieces(-1, 0, 0, 1, 1, 0, 0, 1, s, p1, p2); };
    WallLine p1{}, p2{};
    EXPECT_EQ(pieces(WallLine{-5, 0, 5, 0}, &p1, &p2), 3);
    expect_wall_line(p1, -1, 0, -5, 0);
    expect_wall_line(p2, 1, 0, 5, 0);
    EXPECT_EQ(pieces(WallLine{5, 0, -5, 0}, &p1, &p2), 3);
    expect_wall_line(p1, -1, 0, -5, 0);
    expect_wall_line(p2, 1, 0, 5, 0);
    EXPECT_EQ(pieces(WallLine{-5, 0, 0, 0}, &p1, &p2), 1);  // across the left face only
    expect_wall_line(p1, -1, 0, -5, 0);
    EXPECT_EQ(pieces(WallLine{0, 0, 4, 0}, &p1, &p2), 2);  // across the right face only
    expect_wall_line(p2, 1, 0, 4, 0);
    EXPECT_EQ(pieces(WallLine{-0.5, 0, 0.5, 0}, &p1, &p2), 1);  // between the faces
    expect_wall_line(p1, -1, 0, 1, 0);
    expect_wall_line(p2, 1, 0, 1, 0);
    EXPECT_EQ(pieces(WallLine{3, 0, 2, 0}, &p1, &p2), 2);  // beyond the right face
    expect_wall_line(p2, 1, 0, 3, 0);
    EXPECT_EQ(pieces(WallLine{-2, 0, -4, 0}, &p1, &p2), 1);  // beyond the left face
    expect_wall_line(p1, -1, 0, -4, 0);
}

// ---- The command in the running program ----

namespace {

// Wall options for a test: width, lines, chain, pivot, handle, caps, cut.
void options(Session& s, double width, int count, bool chain, int pivot, int hand, int caps = 0, bool cut = false) {
    s.then([=] {
        users_defs.wall_width = width;
        set_mlin_count(users_defs, count);
        set_mlin_spacing(users_defs, 0);
        set_mlin_cut(users_defs, cut ? 1 : 0);
        objopts->mline_opt1 = static_cast<std::int16_t>(chain ? 2 : 1);
        objopts->mline_opt4 = static_cast<std::int16_t>(pivot);
        objopts->mline_opt3 = static_cast<std::int16_t>(hand);
        objopts->mline_opt2 = static_cast<std::int16_t>(caps);
    });
}

// Two lines two units apart that cut what the wall starts or ends on.
void cutting_options(Session& s, bool chain) { options(s, 2, 2, chain, 0, 0, 0, true); }

void expect_record(int n, double x1, double y1, double x2, double y2) {
    const ObjectRec r = stored(n);
    EXPECT_EQ(obj_kind(r), ok_line) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_x), x1, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_y), y1, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_x) + rec_f64(r, line::dx), x2, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_y) + rec_f64(r, line::dy), y2, tol) << "record " << n;
}

bool live(int n) {
    const ObjectRec keep = info;
    const std::int16_t was = prev_index;
    get_info(static_cast<std::int16_t>(n));
    const bool yes = is_live_object(info);
    if (was >= 0) get_info(was);
    info = keep;
    modified = 1;
    return yes;
}

// A line drawn with the line tool between two pixels.
void draw_line(Session& s, plat::Point a, plat::Point b) {
    start(s, tool_line);
    s.click(a);
    s.click(b);
    key(s, 'Q');
}

std::int16_t first = 0;  // the record count before the wall

// The drawing's records are byte for byte those of `before`.
void same_records(const Snapshot& before) {
    const Snapshot after = snapshot();
    EXPECT_EQ(after.count, before.count);
    ASSERT_EQ(after.records.size(), before.records.size());
    for (std::size_t i = 0; i < after.records.size(); ++i)
        EXPECT_EQ(0, std::memcmp(after.records[i].b, before.records[i].b, 128)) << i;
}

void start_wall(Session& s) {
    start(s, tool_wall);
    s.then([] { first = number_of_objects; });
}

// A rectangle drawn with its tool between two corner pixels.
void draw_rect(Session& s, plat::Point a, plat::Point b) {
    start(s, tool_rect);
    s.click(a);
    s.click(b);
    key(s, 'Q');
}

// The wall command started and a first segment clicked from a to b.
void wall_from(Session& s, plat::Point a, plat::Point b) {
    start_wall(s);
    s.click(a);
    s.click(b);
}

// One wall segment from a to b, the command ended by Q.
void wall_segment(Session& s, plat::Point a, plat::Point b) {
    wall_from(s, a, b);
    key(s, 'Q');
}

}  // namespace

TEST(WallCommand, UAsTheFirstKeyEndsTheCommandWithNothingStored) {
    Session s;
    start(s, tool_wall);
    s.then([] {
        EXPECT_EQ(addnum, tool_wall);
        EXPECT_NE(mlinDPtr, nullptr);  // the multi-line palette stands beside it
        EXPECT_EQ(message(), prompt(34));
    });
    key(s, 'U');
    count_is(s, 0);
    ended(s);
    s.then([] { EXPECT_EQ(mlinDPtr, nullptr); });
    EXPECT_EQ(s.run(), 0);
}

TEST(WallCommand, SeparateSegmentsOfTwoAndOfFiveLinesWithBothEndLines) {
    Session s;
    options(s, 1, 2, false, 0, 0);
    start_wall(s);
    s.click(at(100, 500));
    s.then([] { EXPECT_EQ(message(), prompt(33)); });
    s.click(at(300, 500));
    count_is(s, 2);
    s.then([] {
        EXPECT_EQ(message(), prompt(34));  // a new first point
        const double y = wy(500), x0 = wx(100), x1 = wx(300);
        expect_record(n0, x0, y + 0.5, x1, y + 0.5);
        expect_record(n0 + 1, x0, y - 0.5, x1, y - 0.5);
        // Five lines, both end lines, from now on.
        set_mlin_count(users_defs, 5);
        objopts->mline_opt2 = 3;
        users_defs.wall_width = 2;
    });
    s.click(at(100, 300));
    s.click(at(300, 300));
    count_is(s, 9);
    s.then([] {
        const double y = wy(300), x0 = wx(100), x1 = wx(300);
        expect_record(n0 + 2, x0, y + 1, x0, y - 1);  // start line
        expect_record(n0 + 3, x0, y + 1, x1, y + 1);
        expect_record(n0 + 4, x0, y + 0.5, x1, y + 0.5);
        expect_record(n0 + 5, x0, y, x1, y);
        expect_record(n0 + 6, x0, y - 0.5, x1, y - 0.5);
        expect_record(n0 + 7, x0, y - 1, x1, y - 1);
        expect_record(n0 + 8, x1, y + 1, x1, y - 1);  // end line
        // Separate segments are never mitred.
        expect_record(n0, wx(100), wy(500) + 0.5, wx(300), wy(500) + 0.5);
    });
    key(s, 'Q');
    ended(s);
    run_unsaved(s);
}

TEST(WallCommand, TemplateOnStoresTemplateLinesInTheTemplateStyle) {
    Session s;
    options(s, 1, 2, false, 0, 0);
    s.then([] { objopts->new_template = 1; });
    wall_from(s, at(100, 500), at(300, 500));
    s.then([] {
        for (int n : {n0 + 0, n0 + 1}) {
            const ObjectRec r = stored(n);
            EXPECT_TRUE(is_template(r));
            EXPECT_EQ(r.b[obj::style], dotted_style);
        }
    });
    key(s, 'Q');
    run_unsaved(s);
}

TEST(WallCommand, ARightAngleCornerIsMitredAndQSquaresOffTheLastSegment) {
    Session s;
    options(s, 1, 2, true, 0, 0);
    wall_from(s, at(100, 500), at(300, 500));
    s.click(at(300, 200));
    count_is(s, 4);
    s.then([] {
        const double y = wy(500), x0 = wx(100), x1 = wx(300), y2 = wy(200);
        // Turning left: the left face is the inner one.
        expect_record(n0, x0, y + 0.5, x1 - 0.5, y + 0.5);
        expect_record(n0 + 1, x0, y - 0.5, x1 + 0.5, y - 0.5);
        expect_record(n0 + 2, x1 - 0.5, y + 0.5, x1 - 0.5, y2);
        expect_record(n0 + 3, x1 + 0.5, y - 0.5, x1 + 0.5, y2);
    });
    // The third segment is dropped by Q; the second stays square.
    s.click(at(500, 200));
    count_is(s, 6);
    key(s, 'Q');
    count_is(s, 6);
    s.then([] {
        const double y = wy(200), x1 = wx(300), x2 = wx(500);
        // Turning right: the left face is the outer one.
        expect_record(n0 + 4, x1 - 0.5, y + 0.5, x2, y + 0.5);
        expect_record(n0 + 5, x1 + 0.5, y - 0.5, x2, y - 0.5);
        expect_record(n0 + 2, x1 - 0.5, wy(500) + 0.5, x1 - 0.5, y + 0.5);
        expect_record(n0 + 3, x1 + 0.5, wy(500) - 0.5, x1 + 0.5, y - 0.5);
        EXPECT_EQ(indx, number_of_objects - 1);
    });
    ended(s);
    run_unsaved(s);
}

namespace {

// A second segment straight on or turning back: the corner falls on the
// perpendicular through the pivot.
void collinear_corner(int back) {
    {
        Session s;
        options(s, 1, 2, true, 0, 0);
        start_wall(s);
        s.click(at(100, 500));
        s.click(at(300, 500));
        s.click(at(back ? 150 : 500, 500));
        key(s, 'Q');
        count_is(s, 4);
        s.then([back] {
            const double y = wy(500), x1 = wx(300), x2 = wx(back ? 150 : 500);
            expect_record(n0, wx(100), y + 0.5, x1, y + 0.5);
            expect_record(n0 + 1, wx(100), y - 0.5, x1, y - 0.5);
            // Going back the left face is the lower one; it starts where the
            // upper one ended, as both corners lie on the perpendicular.
            const double side = back ? -0.5 : 0.5;
            expect_record(n0 + 2, x1, y + 0.5, x2, y + side);
            expect_record(n0 + 3, x1, y - 0.5, x2, y - side);
        });
        quit_without_saving(s);
        EXPECT_EQ(s.run(), 0);
    }
}

}  // namespace

TEST(WallCommand, StraightOnTheCornerLiesOnThePerpendicular) { collinear_corner(0); }

TEST(WallCommand, TurningBackTheCornerLiesOnThePerpendicular) { collinear_corner(1); }

TEST(WallCommand, StartingOnALineCutsItBetweenTheFaces) {
    Session s;
    draw_line(s, at(100, 400), at(500, 400));
    cutting_options(s, false);
    wall_segment(s, at(300, 400), at(300, 100));
    s.then([] {
        const double y = wy(400), x = wx(300);
        EXPECT_FALSE(live(first - 1));  // the line is taken apart
        EXPECT_EQ(number_of_objects, first + 4);
        expect_record(first, x - 1, y, wx(100), y);
        expect_record(first + 1, x + 1, y, wx(500), y);
        // The faces start on the line.
        expect_record(first + 2, x - 1, y, x - 1, wy(100));
        expect_record(first + 3, x + 1, y, x + 1, wy(100));
    });
    run_unsaved(s);
}

TEST(WallCommand, StartingOnARectangleSideLeavesItsOtherSidesAndTwoPieces) {
    Session s;
    draw_rect(s, at(100, 300), at(500, 500));
    cutting_options(s, false);
    wall_segment(s, at(300, 500), at(300, 100));
    s.then([] {
        EXPECT_FALSE(live(first - 1));
        EXPECT_EQ(number_of_objects, first + 3 + 2 + 2);
        for (int n = first; n < first + 5; ++n) EXPECT_EQ(obj_kind(stored(n)), ok_line);
        const double y = wy(500), x = wx(300);
        expect_record(first + 3, x - 1, y, wx(100), y);
        expect_record(first + 4, x + 1, y, wx(500), y);
    });
    run_unsaved(s);
}

TEST(WallCommand, EndingOnAShortLineLeavesOneLineAcrossTheEnd) {
    Session s;
    draw_line(s, at(290, 200), at(310, 200));
    cutting_options(s, true);
    wall_from(s, at(300, 500), at(300, 200));
    s.then([] {
        // The end cut asks for a new first point.
        EXPECT_EQ(message(), prompt(34));
        const double y = wy(200), x = wx(300);
        EXPECT_FALSE(live(first - 1));
        EXPECT_EQ(number_of_objects, first + 3);
        expect_record(first, x - 1, y, x + 1, y);
        expect_record(first + 1, x - 1, wy(500), x - 1, y);
    });
    key(s, 'Q');
    run_unsaved(s);
}

TEST(WallCommand, CirclesAndLinesOnLockedLevelsAreNotCut) {
    Session s;
    start(s, tool_circle);
    s.click(at(300, 400));
    s.click(at(400, 400));
    key(s, 'Q');
    draw_line(s, at(100, 200), at(500, 200));
    s.then([] {
        get_info(static_cast<std::int16_t>(number_of_objects - 1));
        info.b[obj::level] = 7;
        modified = 1;
        set_LevelVisible(7, 1);
        set_LevelLocked(7, 1);
    });
    cutting_options(s, false);
    start_wall(s);
    s.click(at(400, 400));  // on the circle
    s.click(at(400, 600));
    s.click(at(300, 200));  // on the locked line
    s.click(at(300, 100));
    key(s, 'Q');
    s.then([] {
        EXPECT_EQ(number_of_objects, first + 4);
        EXPECT_TRUE(live(first - 1));
        EXPECT_TRUE(live(first - 2));
    });
    run_unsaved(s);
}

TEST(WallCommand, UAfterTheFirstChainSegmentReopensItWithItsCut) {
    Session s;
    draw_line(s, at(100, 400), at(500, 400));
    cutting_options(s, true);
    start_wall(s);
    s.click(at(300, 400));
    s.then([] { EXPECT_EQ(number_of_objects, first); });  // a line has no other sides
    s.click(at(300, 200));
    count_is(s, 4);
    s.then([] { EXPECT_EQ(number_of_objects, first + 4); });
    key(s, 'U');
    s.then([] {
        EXPECT_EQ(number_of_objects, first);
        EXPECT_FALSE(live(first - 1));  // still cut: the segment is in hand again
        ASSERT_NE(cw, nullptr);
        EXPECT_EQ(cw->prev, nullptr);
        EXPECT_NE(cw->bcut_index, 0);
        EXPECT_NEAR(cw->pivot_x, wx(300), tol);
        EXPECT_NEAR(cw->pivot_y, wy(400), tol);
    });
    s.click(at(300, 100));
    s.then([] {
        EXPECT_EQ(number_of_objects, first + 4);
        expect_record(first + 2, wx(300) - 1, wy(400), wx(300) - 1, wy(100));
    });
    key(s, 'Q');
    run_unsaved(s);
}

TEST(WallCommand, UTakesBackSegmentsOneByOneAndRestoresTheirLineCount) {
    Session s;
    options(s, 1, 5, true, 0, 0);
    wall_from(s, at(100, 500), at(300, 500));
    s.then([] { set_mlin_count(users_defs, 2); });
    s.then([] {});  // a poll that takes the new count on
    s.click(at(300, 300));
    s.click(at(500, 300));
    s.then([] { EXPECT_EQ(number_of_objects, first + 5 + 2 + 2); });
    key(s, 'U');
    key(s, 'U');
    s.then([] {
        EXPECT_EQ(number_of_objects, first + 5);
        EXPECT_EQ(mlin_count(users_defs), 2);
    });
    key(s, 'U');
    s.then([] {
        EXPECT_EQ(number_of_objects, first);
        EXPECT_EQ(mlin_count(users_defs), 5);
    });
    key(s, 'Q');
    EXPECT_EQ(s.run(), 0);
}

TEST(WallCommand, EscPutsBackEveryRecordAndEveryCutObject) {
    Session s;
    static Snapshot before;
    draw_line(s, at(100, 400), at(500, 400));
    draw_line(s, at(700, 100), at(700, 600));
    cutting_options(s, true);
    s.then([] { before = snapshot(); });
    start_wall(s);
    s.click(at(300, 400));  // starts on the first line
    s.click(at(300, 200));
    s.click(at(700, 200));  // ends on the second
    s.click(at(600, 500));
    s.click(at(600, 600));
    s.then([] {
        EXPECT_FALSE(live(first - 1));
        EXPECT_FALSE(live(first - 2));
        EXPECT_GT(number_of_objects, first + 8);
    });
    key(s, 27);
    s.then([] {
        EXPECT_EQ(number_of_objects, before.count);
        EXPECT_TRUE(live(first - 1));
        EXPECT_TRUE(live(first - 2));
        same_records(before);
    });
    ended(s);
    run_unsaved(s);
}

TEST(WallCommand, AFullWorkfileRefusesTheSegmentAndLosesNothing) {
    Session s;
    static std::uint16_t real_size = 0;
    draw_line(s, at(100, 400), at(500, 400));
    cutting_options(s, false);
    s.then([] {
        real_size = worksize;
        // Room for the start cut's pieces at most, not for the segment.
        worksize = static_cast<std::uint16_t>(number_of_objects + 12);
    });
    start_wall(s);
    s.click(at(300, 400));
    s.then([] { answers().expect("drawing is full"); });
    s.click(at(300, 200));
    s.then([] {
        EXPECT_TRUE(answers().done());
        EXPECT_EQ(number_of_objects, first);
        EXPECT_TRUE(live(first - 1));
        expect_record(first - 1, wx(100), wy(400), wx(500), wy(400));
        EXPECT_EQ(addnum, tool_select);
        worksize = real_size;
    });
    run_unsaved(s);
}

TEST(WallCommand, QAfterReopeningASegmentSquaresOffTheOneBefore) {
    Session s;
    options(s, 1, 2, true, 0, 0);
    wall_from(s, at(100, 500), at(300, 500));
    s.click(at(300, 200));
    s.then([] { expect_record(first, wx(100), wy(500) + 0.5, wx(300) - 0.5, wy(500) + 0.5); });
    key(s, 'U');  // the second segment is in hand again, still mitred with the first
    key(s, 'Q');
    s.then([] {
        EXPECT_EQ(number_of_objects, first + 2);
        expect_record(first, wx(100), wy(500) + 0.5, wx(300), wy(500) + 0.5);
        expect_record(first + 1, wx(100), wy(500) - 0.5, wx(300), wy(500) - 0.5);
    });
    run_unsaved(s);
}

TEST(WallCommand, ASeparateSegmentBeforeIsLeftAloneWhenTheNextStartsWithACut) {
    Session s;
    draw_line(s, at(100, 200), at(500, 200));
    options(s, 1, 2, false, 0, 0, 0, true);
    wall_from(s, at(100, 500), at(300, 500));
    s.click(at(200, 200));  // a new first point, on the line
    key(s, 'Q');
    s.then([] {
        // The cut is taken back with the segment in hand; the wall before keeps its end.
        EXPECT_EQ(number_of_objects, first + 2);
        EXPECT_TRUE(live(first - 1));
        expect_record(first, wx(100), wy(500) + 0.5, wx(300), wy(500) + 0.5);
        expect_record(first + 1, wx(100), wy(500) - 0.5, wx(300), wy(500) - 0.5);
    });
    run_unsaved(s);
}

TEST(WallCommand, AStartCutWithoutRoomForItsSidesWritesNothingAndLosesNothing) {
    Session s;
    static std::uint16_t real_size = 0;
    static Snapshot before;
    // Four lines and the rectangle fill the records up to 40.
    start(s, tool_line);
    for (int i = 0; i < 5; ++i) s.click(at(600 + 50 * i, 100 + 40 * (i % 2)));
    key(s, 'Q');
    draw_rect(s, at(100, 300), at(500, 500));
    cutting_options(s, false);
    s.then([] {
        ASSERT_EQ(number_of_objects, 41);
        real_size = worksize;
        // Four blocks: room for one of the rectangle's three other sides.
        worksize = 48;
        before = snapshot();
    });
    start_wall(s);
    s.then([] { answers().expect("drawing is full"); });
    s.click(at(300, 500));
    s.then([] {
        EXPECT_TRUE(answers().done());
        EXPECT_EQ(number_of_objects, before.count);
        EXPECT_TRUE(live(first - 1));
        same_records(before);
        EXPECT_EQ(addnum, tool_select);
        worksize = real_size;
    });
    run_unsaved(s);
}

TEST(WallCommand, AClickNearThePivotIsMovedAWallWidthAway) {
    Session s;
    options(s, 1, 2, false, 1, 0);  // pivot on the right face, handle on the centre line
    start_wall(s);
    s.click(at(300, 400));
    s.click(at(305, 402));  // within a wall width, below the pivot
    s.then([] {
        EXPECT_EQ(number_of_objects, first + 2);
        // Handle at -1/2 from the pivot line, one wall width from the pivot:
        // the faces run at 30 degrees below the downward vertical.
        const ObjectRec r = stored(first + 1);  // right face, the pivot line
        const double dx = rec_f64(r, line::dx), dy = rec_f64(r, line::dy);
        EXPECT_NEAR(rec_f64(r, obj::ref_x), wx(300), tol);
        EXPECT_NEAR(rec_f64(r, obj::ref_y), wy(400), tol);
        EXPECT_NEAR(distance(dx, dy), std::sqrt(3.0) / 2, 1e-9);
        EXPECT_TRUE(std::isfinite(rec_f64(stored(first), obj::ref_x)));
    });
    key(s, 'Q');
    run_unsaved(s);
}

TEST(WallCommand, TheHorizontalRestraintAlternatesPerSegmentAndQRestoresIt) {
    Session s;
    options(s, 1, 2, true, 0, 0);
    s.then([] { objopts->lock_mode = 1; });
    wall_from(s, at(100, 500), at(300, 480));
    s.then([] {
        EXPECT_EQ(objopts->lock_mode, 2);
        EXPECT_EQ(locknum, 4);
        expect_record(first, wx(100), wy(500) + 0.5, wx(300), wy(500) + 0.5);
    });
    s.click(at(320, 200));
    s.then([] {
        EXPECT_EQ(objopts->lock_mode, 1);
        EXPECT_EQ(locknum, 3);
        expect_record(first, wx(100), wy(500) + 0.5, wx(300) - 0.5, wy(500) + 0.5);
        expect_record(first + 2, wx(300) - 0.5, wy(500) + 0.5, wx(300) - 0.5, wy(200));
    });
    key(s, 'Q');
    s.then([] {
        EXPECT_EQ(objopts->lock_mode, 1);
        EXPECT_EQ(locknum, 3);
    });
    ended(s);
    run_unsaved(s);
}

TEST(WallCommand, EditUndoAfterTheCommandRemovesTheLastSegment) {
    Session s;
    options(s, 1, 2, false, 0, 0);
    wall_from(s, at(100, 500), at(300, 500));
    s.click(at(100, 300));
    s.click(at(300, 300));
    key(s, 'Q');
    count_is(s, 4);
    s.menu(2, "undo");
    s.then([] {
        EXPECT_TRUE(live(first) && live(first + 1));
        EXPECT_FALSE(live(first + 2) || live(first + 3));
        EXPECT_EQ(number_of_objects, first + 2);
    });
    run_unsaved(s);
}

TEST(WallCommand, EditUndoOfASegmentThatCutALinePutsTheLineBackWhole) {
    Session s;
    draw_line(s, at(100, 400), at(500, 400));
    cutting_options(s, false);
    wall_segment(s, at(300, 400), at(300, 100));
    s.then([] { EXPECT_EQ(number_of_objects, first + 4); });
    s.menu(2, "undo");
    s.then([] {
        EXPECT_EQ(number_of_objects, first);
        EXPECT_TRUE(live(first - 1));
        expect_record(first - 1, wx(100), wy(400), wx(500), wy(400));
    });
    s.menu(2, "undo");  // Redo
    s.then([] {
        EXPECT_EQ(number_of_objects, first + 4);
        EXPECT_FALSE(live(first - 1));
        for (int n = first; n < first + 4; ++n) EXPECT_TRUE(live(n)) << n;
    });
    run_unsaved(s);
}

TEST(WallCommand, EditUndoOfASegmentStartedOnARectanglePutsTheRectangleBack) {
    Session s;
    draw_rect(s, at(100, 300), at(500, 500));
    cutting_options(s, false);
    wall_segment(s, at(300, 500), at(300, 100));
    s.menu(2, "undo");
    s.then([] {
        // The other sides were written at the first point, before the
        // segment's operation: they go too.
        EXPECT_TRUE(live(first - 1));
        for (int n = first; n < number_of_objects; ++n) EXPECT_FALSE(live(n)) << n;
        EXPECT_EQ(obj_kind(stored(first - 1)), ok_rect);
    });
    run_unsaved(s);
}

TEST(WallDisplay, TheSegmentInHandDrawnTwiceInXorLeavesTheWindowUnchanged) {
    Session s;
    options(s, 1, 3, false, 0, 1, 3);
    start_wall(s);
    s.click(at(100, 500));
    s.then([] {
        loop_blink_off();
        cw->pivot_x = wx(100);
        cw->pivot_y = wy(500);
        cw->centre = WallLine{wx(100), wy(500), wx(400), wy(500)};
        cw->left = WallLine{wx(100), wy(500) + 0.5, wx(400), wy(500) + 0.5};
        cw->right = WallLine{wx(100), wy(500) - 0.5, wx(400), wy(500) - 0.5};
        cw->count = 3;
        cw->caps = 3;
        const auto before = drawCWindow->pixels();
        blinkwall();
        EXPECT_FALSE(drawCWindow->pixels() == before);
        blinkwall();
        EXPECT_TRUE(drawCWindow->pixels() == before);
        // The pivot cross alone is in it too.
        const auto lines_only = drawCWindow->pixels();
        center_marker(cw->pivot_x, cw->pivot_y, mode_xor);
        EXPECT_FALSE(drawCWindow->pixels() == lines_only);
        center_marker(cw->pivot_x, cw->pivot_y, mode_xor);
    });
    key(s, 'Q');
    EXPECT_EQ(s.run(), 0);
}

TEST(WallDisplay, EndLinesAreOnePixelWhateverTheWidth) {
    Session s;
    s.then([] {
        swaper |= sw_wide_strokes;
        const auto count_changed = [](const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
            int n = 0;
            for (std::size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
            return n;
        };
        const auto before = drawCWindow->pixels();
        // A vertical end line of 100 pixels drawn at width 1 touches 101 pixels.
        dline(wx(200), wy(100), wx(200), wy(200), 0, 1, colour_black, mode_xor, 1);
        const int thin = count_changed(before, drawCWindow->pixels());
        dline(wx(200), wy(100), wx(200), wy(200), 0, 1, colour_black, mode_xor, 1);
        EXPECT_EQ(thin, 101);
        dline(wx(200), wy(100), wx(200), wy(200), 0, 1, colour_black, mode_xor, 12);
        EXPECT_GT(count_changed(before, drawCWindow->pixels()), thin);
        dline(wx(200), wy(100), wx(200), wy(200), 0, 1, colour_black, mode_xor, 12);
        EXPECT_TRUE(drawCWindow->pixels() == before);
        // A band of faces that wide: its start line crosses it as one pixel
        // column, five pixels of it in the five middle rows.
        WallNodeRec n{};
        n.count = 2;
        n.caps = 3;
        n.width = 12;
        n.flags = colour_black;
        n.left = WallLine{wx(300), wy(300) + 1, wx(600), wy(300) + 1};
        n.right = WallLine{wx(300), wy(300) - 1, wx(600), wy(300) - 1};
        n.pivot_x = wx(700);
        n.pivot_y = wy(100);
        const auto middle = [] {
            std::vector<std::uint32_t> p;
            for (int v = 298; v <= 302; ++v)
                for (int h = 294; h <= 306; ++h) p.push_back(drawCWindow->pixel(h, v));
            return p;
        };
        const auto quiet = middle();
        showwall(mode_xor, &n, &n, btinfo);
        EXPECT_EQ(count_changed(quiet, middle()), 5);
        showwall(mode_xor, &n, &n, btinfo);
        EXPECT_TRUE(drawCWindow->pixels() == before);
    });
    EXPECT_EQ(s.run(), 0);
}
