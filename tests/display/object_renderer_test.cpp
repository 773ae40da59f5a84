#include "display/object_renderer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "display/graphics_unit.h"
#include "display/screen.h"
#include "store/levels.h"
#include "store/record_ops.h"
#include "store/settings.h"
#include "tests/display/renderer_fixture.h"
#include "tests/support/pixels.h"

using drav::test::pixel_rows;
using drav::test::Renderer;
using drav::test::rows;

namespace drav {
namespace {

using test::ellipse_rec;
using test::line_rec;
using test::object;
using test::rect_rec;

void expect_vertices(const std::vector<double>& got, const std::vector<double>& want, const char* what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-9) << what << " at " << i;
}

TEST_F(Renderer, WidthBytesFoldIntoStrokeCountsAndWideLinesAreBandOutlines) {
    struct Case {
        int width;
        bool strokes;  // `swaper` bit 14
        double w;      // half the band; 0 thin
    };
    const Case cases[] = {
        {1, true, 0},     {0, true, 0},    {2, true, 0},  // two strokes are still thin
        {3, true, 0.1},   {35, true, 0.1},                // 35 folds onto code 3
        {33, true, 0},    {3, false, 0},
        {32, true, 0.4},  {64, true, 0.4},                // code 32 takes the widest entry
    };
    for (const Case& c : cases) {
        swaper = c.strokes ? sw_wide_strokes : 0;
        ObjectRec r = line_rec(1, 1, 2, 0);
        r.b[obj::width] = static_cast<std::uint8_t>(c.width);
        const std::vector<double> got = traced(r);
        if (c.w == 0) {
            expect_vertices(got, {1, 1, 3, 1}, "thin");
        } else {
            const double lo = 1 - c.w, hi = 1 + c.w;
            expect_vertices(got, {1, lo, 3, lo, 3, hi, 1, hi, 1, lo}, "band");
        }
    }
}

TEST_F(Renderer, WidthZeroAfterAViewChangeIsDrawnThin) {
    ObjectRec wide = line_rec(1, 1, 2, 0);
    wide.b[obj::width] = 3;
    EXPECT_EQ(traced(wide).size(), 10u);
    curlwidth = 0;  // what every view change does
    ObjectRec r = line_rec(1, 1, 2, 0);
    r.b[obj::width] = 0;
    expect_vertices(traced(r), {1, 1, 3, 1}, "width 0");
}

TEST_F(Renderer, RectanglesAreFourLinesAndWideOnesTwoEdgesOfTheirBand) {
    struct Case {
        ObjectRec rec;
        int width;
        std::vector<double> vertices;
    };
    const Case cases[] = {
        {rect_rec(1, 1, 2, 1), 1, {1, 1, 3, 1, 3, 2, 1, 2, 1, 1}},
        {rect_rec(1, 1, 2, 1, half_pie), 1, {1, 1, 1, 3, 0, 3, 0, 1, 1, 1}},
        {rect_rec(3, 1, -2, 1), 1, {3, 1, 1, 1, 1, 2, 3, 2, 3, 1}},
        // Outer edge on the first stroke; the inner edge's first corner
        // follows the outer edge's last line.
        {rect_rec(1, 1, 2, 1), 3,
         {0.9, 0.9, 3.1, 0.9, 3.1, 2.1, 0.9, 2.1, 1.1, 1.1, 2.9, 1.1, 2.9, 1.9, 1.1, 1.9, 1.1, 1.1}},
    };
    for (const Case& c : cases) {
        ObjectRec r = c.rec;
        r.b[obj::width] = static_cast<std::uint8_t>(c.width);
        expect_vertices(traced(r), c.vertices, "rectangle");
    }
}

TEST_F(Renderer, PointsAreAPixelOrAMarkAndACircle) {
    setdrawmode(mode_draw);
    ObjectRec p = object(ok_point, 2, 2);
    show(mode_draw, &p);
    EXPECT_EQ(pixel_rows(*myCGrafPtr, 19, 79, 3, 3), rows({"...", ".#.", "..."}));

    cleargraphics();
    p.b[obj::width] = 5;  // five strokes: a circle of radius 2 pixels
    show(mode_draw, &p);
    EXPECT_EQ(pixel_rows(*myCGrafPtr, 17, 77, 7, 7), rows({".......",
                                                           "..###..",
                                                           ".#.###.",
                                                           ".#.#.#.",
                                                           ".#...#.",
                                                           "..###..",
                                                           "......."}));
}

// A terminator at the end of a thin line from (0.2, 0.5) to (1, 0.5):
// arrows 5 pixels long at 30 degrees, ticks of 3 pixels.
TEST_F(Renderer, TerminatorsByCode) {
    struct Case {
        int code;
        int arrow_style;
        std::string picture;
    };
    const Case cases[] = {
        {0, 0, rows({"............", "............", "............", "............", "########....",
                     "............", "............", "............"})},
        {1, 0, rows({"............", "...#........", "....#.......", ".....##.....", "########....",
                     "....##......", "...#........", "............"})},
        {1, 1, rows({"............", "...#........", "...##.......", "...#.##.....", "########....",
                     "...###......", "...#........", "............"})},
        {6, 0, rows({"............", "...#........", "....#.......", ".....##.....", "###########.",
                     "....##......", "...#........", "............"})},
        {2, 0, rows({"............", "............", ".....#......", "......#.....", "########....",
                     "........#...", ".........#..", "............"})},
        {3, 0, rows({"............", "............", ".........#..", "........#...", "########....",
                     "......#.....", ".....#......", "............"})},
        {4, 0, rows({"............", "............", ".....#......", "......#.....", "###########.",
                     "........#...", ".........#..", "............"})},
        {5, 0, rows({"............", "............", ".........#..", "........#...", "###########.",
                     "......#.....", ".....#......", "............"})},
        {7, 0, rows({"............", "............", "............", "............", "########....",
                     "............", "............", "............"})},
    };
    for (const Case& c : cases) {
        cleargraphics();
        set_arrow_style(output_defs, c.arrow_style);
        const ObjectRec l = line_rec(0.2, 0.5, 0.8, 0);
        show(mode_draw, &l);
        end_marker(1.0, 0.5, 0, static_cast<std::int16_t>(c.code));
        EXPECT_EQ(pixel_rows(*myCGrafPtr, 3, 91, 12, 8), c.picture) << "code " << c.code;
    }
    // The arrow a line carries is terminator 1 at its end.
    cleargraphics();
    set_arrow_style(output_defs, 0);
    ObjectRec a = line_rec(0.2, 0.5, 0.8, 0);
    set_obj_density_marks(a, 0, 1, 0);
    show(mode_draw, &a);
    EXPECT_EQ(pixel_rows(*myCGrafPtr, 3, 91, 12, 8), cases[1].picture);
}

TEST_F(Renderer, WideArrowsSpanTheBandAndMarkersTakeThePropertiesColour) {
    ObjectRec w = line_rec(0.2, 0.5, 0.8, 0);
    w.b[obj::width] = 5;
    set_obj_density_marks(w, 0, 1, 0);
    show(mode_draw, &w);
    EXPECT_EQ(pixel_rows(*myCGrafPtr, 0, 90, 12, 10), rows({"......#.....",
                                                            "......##....",
                                                            "......#.##..",
                                                            "..#########.",
                                                            "..#...#...#.",
                                                            "..#...#...#.",
                                                            "..#...#...#.",
                                                            "..#########.",
                                                            "......###...",
                                                            "......#....."}));

    cleargraphics();
    swaper |= sw_midmarks;
    props_defs.colour = 35;  // red
    ObjectRec m = line_rec(1, 1, 1.5, 0);
    set_obj_density_marks(m, 0, 1, 1);
    show(mode_draw, &m);
    EXPECT_EQ(pixel_rows(*myCGrafPtr, 5, 86, 22, 9), rows({"......................",
                                                           ".............r..#.....",
                                                           ".............r...#....",
                                                           ".............r....##..",
                                                           ".....#####rrrrrrr####.",
                                                           ".............r...##...",
                                                           ".............r..#.....",
                                                           ".............r........",
                                                           "......................"}));
}

// Visibility by the option word, the level and `forced_show`.
TEST_F(Renderer, HiddenObjectsDrawNothingAndYieldNotClipped) {
    struct Case {
        const char* what;
        ObjectRec rec;
        std::uint16_t swaper;
        std::uint16_t forced;
        std::uint16_t clipped;
    };
    ObjectRec tmpl = line_rec(1, 1, 1, 0);
    set_rec_word0_bits(tmpl, w0_template, true);
    ObjectRec hatch = line_rec(1, 1, 1, 0);
    set_rec_i16(hatch, line::hatch, 1);
    ObjectRec hidden = line_rec(1, 1, 1, 0);
    hidden.b[obj::level] = 7;
    const Case cases[] = {
        {"in view", line_rec(1, 1, 1, 0), 0, 0, 1},
        {"out of view", line_rec(30, 1, 1, 0), 0, 0, 0},
        {"template", tmpl, 0, 0, 0},
        {"template shown", tmpl, sw_templates, 0, 1},
        {"hatch line", hatch, 0, 0, 0},
        {"hatch lines shown", hatch, sw_hatch_lines, 0, 1},
        {"forced hatch line", hatch, 0, 1, 1},
        {"hidden level", hidden, sw_templates | sw_hatch_lines, 0, 0},
        {"forced hidden level", hidden, 0, 1, 1},
        {"radius 0", ellipse_rec(1, 1, 0, 0.5), 0, 0, 0},
        {"negative radius", ellipse_rec(1, 1, -1, 1), 0, 0, 0},
    };
    for (const Case& c : cases) {
        swaper = c.swaper;
        forced_show = c.forced;
        clipped = 1 - c.clipped;
        show(mode_trace, &c.rec);
        EXPECT_EQ(clipped, c.clipped) << c.what;
    }
    EXPECT_TRUE(test::all_white(*myCGrafPtr)) << "trace mode draws nothing";
}

// A placed symbol of at most 4 pixels is its box, or nothing.
TEST_F(Renderer, SmallSymbolsAreBoxesOrNothing) {
    struct Case {
        std::uint16_t swaper;
        bool tmpl;
        std::uint8_t level;
        std::uint16_t clipped;
        bool drawn;
    };
    const Case cases[] = {
        {0, false, 1, 0, false},                     // bit 8 clear: nothing, `clipped` untouched
        {sw_symbols_expanded, true, 1, 1, false},    // a template while templates are hidden
        {sw_symbols_expanded | sw_templates, false, 1, 1, true},
        {sw_symbols_expanded | sw_templates, false, 7, 1, false},  // its level is hidden
        {sw_symbols_expanded, false, 1, 0, false},   // its pieces are due: none yet
    };
    for (const Case& c : cases) {
        cleargraphics();
        swaper = c.swaper;
        ObjectRec s = object(ok_symbol, 2, 2);
        set_rec_f64(s, sym::width, 0.3);
        set_rec_f64(s, sym::height, 0.2);
        set_rec_word0_bits(s, w0_template, c.tmpl);
        s.b[obj::level] = c.level;
        clipped = 0;
        show(mode_draw, &s);
        EXPECT_EQ(clipped, c.clipped) << c.swaper << " " << c.tmpl << " " << int(c.level);
        EXPECT_EQ(pixel_rows(*myCGrafPtr, 19, 77, 5, 5),
                  c.drawn ? rows({".....", ".####", ".#..#", ".####", "....."})
                          : rows({".....", ".....", ".....", ".....", "....."}));
    }
}

// One object of every kind, plain and wide, with arrows and markers.
std::vector<ObjectRec> every_kind() {
    using namespace test;
    std::vector<ObjectRec> v;
    v.push_back(line_rec(1, 1, 3, 2));
    ObjectRec wl = line_rec(1, 5, 4, -1);
    wl.b[obj::width] = 5;
    set_obj_density_marks(wl, 0, 1, 1);
    v.push_back(wl);
    v.push_back(rect_rec(5, 1, 2, 1.5, 0.3));
    ObjectRec wr = rect_rec(8, 1, 2, 1);
    wr.b[obj::width] = 4;
    set_obj_density_marks(wr, 0, 0, 1);
    v.push_back(wr);
    v.push_back(ellipse_rec(12, 2, 1, 1));
    v.push_back(ellipse_rec(15, 2, 1.5, 0.7, 0.5));
    v.push_back(ellipse_rec(18, 2, 1, 1, 0, 0.3, 2.5));
    ObjectRec wa = ellipse_rec(12, 6, 1.5, 1.5, 0, 4, 1, true);
    wa.b[obj::width] = 5;
    v.push_back(wa);
    v.push_back(ellipse_rec(15, 6, 1, 1, 0.2, 0, 0, false, 6));
    ObjectRec b = bezier_rec(1, 7, 1, 2, 3, -1, 4, 1);
    set_obj_density_marks(b, 0, 1, 1);
    v.push_back(b);
    ObjectRec wb = bezier_rec(5, 8, 1, 1, 2, -1, 3, 0);
    wb.b[obj::width] = 3;
    v.push_back(wb);
    ObjectRec p = object(ok_point, 18, 6);
    set_obj_density_marks(p, 0, 1, 0);
    v.push_back(p);
    ObjectRec wp = object(ok_point, 19, 8);
    wp.b[obj::width] = 6;
    v.push_back(wp);
    v.push_back(text_rec(8, 4, 0.3, 0.4));
    v.push_back(ldim_rec(1, 3, 3, 0, 0.8, ldim::ext1 | ldim::ext2 | (1 << ldim::arrow_shift)));
    v.push_back(adim_rec(6, 4, 0.2, 1.2, 1.2, 0.4, adim::ext1 | adim::ext2 | (2 << adim::arrow_shift)));
    ObjectRec s = object(ok_symbol, 9, 9);
    set_rec_f64(s, sym::width, 0.3);
    set_rec_f64(s, sym::height, 0.3);
    v.push_back(s);
    return v;
}

TEST_F(Renderer, ErasingEveryKindLeavesTheBackgroundAndXorTwiceRestoresTheWindow) {
    swaper = sw_wide_strokes | sw_midmarks | sw_templates | sw_symbols_expanded;
    std::snprintf(textline, textline_size, "%s", "Text");
    const std::vector<ObjectRec> objects = every_kind();
    for (const ObjectRec& r : objects) show(mode_draw, &r);
    EXPECT_FALSE(test::all_white(*myCGrafPtr));
    for (const ObjectRec& r : objects) show(mode_erase, &r);
    EXPECT_TRUE(test::all_white(*myCGrafPtr));

    test::fill_gradient(*drawCWindow);
    const std::vector<std::uint32_t> before = drawCWindow->pixels();
    for (const ObjectRec& r : objects) show(mode_xor, &r);
    EXPECT_NE(drawCWindow->pixels(), before);
    for (const ObjectRec& r : objects) show(mode_xor, &r);
    EXPECT_EQ(drawCWindow->pixels(), before);
    EXPECT_TRUE(test::all_white(*myCGrafPtr)) << "XOR feedback stays in the window";
}

TEST_F(Renderer, ShowLeavesTheStyleByteAndTheRecordAsTheyWere) {
    ObjectRec r = line_rec(1, 1, 2, 0);
    r.b[obj::width] = 5;
    r.b[obj::style] = 5;
    const ObjectRec copy = r;
    show(mode_draw, &r);
    EXPECT_EQ(std::memcmp(r.b, copy.b, sizeof r.b), 0);
    EXPECT_EQ(sinfo.b[obj::style], 5);
}

}  // namespace
}  // namespace drav
