#include "display/line_styles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "display/graphics_unit.h"
#include "display/object_renderer.h"
#include "platform/core/process.h"
#include "store/geometry.h"
#include "tests/display/renderer_fixture.h"
#include "tests/support/workfile.h"

using drav::test::Renderer;

namespace drav {
namespace {

void use_styles(const std::string& text) {
    std::ofstream(test::use_data_folder() / line_styles_file, std::ios::binary) << text;
    openlinstk();
}

// The dash elements of style n, once round its ring.
std::vector<double> pattern(int n) {
    std::vector<double> v;
    if (!toplstk || !toplstk[n]) return v;
    const LineStkRec* e = toplstk[n];
    do {
        v.push_back(e->length);
        e = e->next;
    } while (e != toplstk[n] && v.size() < 100);
    return v;
}

struct Piece {
    double from, to;  // along x
    std::int16_t down;
    bool operator==(const Piece& o) const {
        return std::fabs(from - o.from) < 1e-9 && std::fabs(to - o.to) < 1e-9 && down == o.down;
    }
};

std::ostream& operator<<(std::ostream& os, const Piece& p) {
    return os << (p.down ? "dash " : "gap ") << p.from << ".." << p.to;
}

// Cuts a polyline along x, the pattern running on from segment to segment.
std::vector<Piece> cut(const std::vector<double>& xs) {
    std::vector<Piece> out;
    for (std::size_t i = 1; i < xs.size(); ++i) {
        startlinstk(xs[i - 1], 0, xs[i], 0);
        double x1, y1, x2, y2;
        std::int16_t down;
        while (getlinstk(&x1, &y1, &x2, &y2, &down)) out.push_back({x1, x2, down});
    }
    return out;
}

TEST(LineStyles, TheFileGivesEachStyleItsFirstWellFormedLine) {
    struct Case {
        const char* what;
        const char* text;
        int style;
        std::vector<double> elements;
        int lines;
    };
    std::string long_line = "7";
    for (int i = 0; i < 20; ++i) long_line += " d0.25";
    const Case cases[] = {
        {"dash and gap", "5 d0.5 m0.25\n", 5, {0.5, -0.25}, 1},
        {"first one wins", "5 d0.5 m0.25\r\n5 d1\r\n64 d1\n1 d1\n", 5, {0.5, -0.25}, 4},
        {"outside the table", "64 d1\n1 d1\n", 1, {}, 2},
        {"an empty line ends the file", "5 d0.5\n\n6 d1\n", 6, {}, 1},
        {"capital M is a gap", "9 D0.5 M0.25 x1\n", 9, {0.5, -0.25, 1}, 1},
        {"malformed lines are refused",
         "5 dx\n5 d1e999\n5 d-1\n5 d\n5x d1\n70000 d1\n5 d0 m0\n5 d2e6\nnothing\n5 d0.5 m0.25\n", 5,
         {0.5, -0.25}, 10},
        // Read 80 characters at a time: the rest is a line of its own,
        // whose first token is no style number.
        {"a long line", long_line.c_str(), 7, std::vector<double>(13, 0.25), 2},
    };
    for (const Case& c : cases) {
        use_styles(c.text);
        EXPECT_EQ(patopen, 1) << c.what;
        EXPECT_EQ(pattern(c.style), c.elements) << c.what;
        EXPECT_EQ(swnumstyles, c.lines) << c.what;
    }
}

TEST(LineStyles, WithoutTheFileEverythingIsSolid) {
    test::use_data_folder();
    std::filesystem::remove(test::use_data_folder() / line_styles_file);
    openlinstk();
    EXPECT_EQ(patopen, 0);
    setlstyle(5);
    EXPECT_EQ(curpat_avail(0), 0);
    EXPECT_EQ(pattern_toosmall(), 1);
}

TEST(LineStyles, PiecesCarryTheirPhaseRoundCorners) {
    use_styles("5 d0.5 m0.25\n");
    struct Case {
        double lpatlen;
        std::vector<double> xs;
        std::vector<Piece> pieces;
    };
    const Case cases[] = {
        {1, {0, 0.4, 1.0}, {{0, 0.4, 1}, {0.4, 0.5, 1}, {0.5, 0.75, 0}, {0.75, 1.0, 1}}},
        {2, {0, 2}, {{0, 1, 1}, {1, 1.5, 0}, {1.5, 2, 1}}},
        // A gap that ends with its segment is not repeated on the next one.
        {1, {0, 0.75, 1.5}, {{0, 0.5, 1}, {0.5, 0.75, 0}, {0.75, 1.25, 1}, {1.25, 1.5, 0}}},
    };
    for (const Case& c : cases) {
        setlpatlen(c.lpatlen);
        setlstyle(5);
        EXPECT_EQ(cut(c.xs), c.pieces) << c.lpatlen;
    }
    setlpatlen(0);
    EXPECT_EQ(lpatlen, 1.0);
}

TEST(LineStyles, SolidStylesAndTheEndOfEveryLoop) {
    use_styles("5 d0.5 m0.25\n9 d0 m0\n");
    for (std::int16_t n : {0, 1, 6, 9, 64, 255}) {
        setlstyle(n);
        EXPECT_EQ(curpat_avail(0), 0) << n;
        EXPECT_EQ(cut({0, 1}), (std::vector<Piece>{{0, 1, 1}})) << n;
    }
    // Far more dashes than any view holds: the rest of the segment is solid.
    setlstyle(5);
    startlinstk(0, 0, 1e9, 0);
    double x1, y1, x2 = 0, y2;
    std::int16_t down = 0;
    int pieces = 0;
    while (getlinstk(&x1, &y1, &x2, &y2, &down)) ++pieces;
    EXPECT_EQ(pieces, max_pieces_per_segment + 1);
    EXPECT_EQ(x2, 1e9);
    EXPECT_EQ(down, 1);

    // A hatch phase of -0.1 in a period of 0.75 lies 0.1 before the gap's end.
    resethatpat(toplstk[5], -0.1);
    ASSERT_NE(curlpat, nullptr);
    EXPECT_LT(curlpat->length, 0);
    EXPECT_NEAR(leftover, 0.1, 1e-12);
    LineStkRec nothing{0, nullptr};
    nothing.next = &nothing;
    resethatpat(&nothing, 0.3);
    EXPECT_EQ(leftover, 0);
}

TEST_F(Renderer, WideObjectsAndDashesBelowAPixelDrawSolid) {
    use_styles("5 d0.5 m0.25\n");
    ObjectRec r = test::line_rec(1, 1, 2, 0);
    r.b[obj::style] = 5;
    struct Case {
        int width;
        std::uint16_t swaper;
        std::int16_t pattern;
    };
    const Case cases[] = {{1, sw_wide_strokes, 1}, {3, sw_wide_strokes, 0}, {2, sw_wide_strokes, 0}, {3, 0, 0}};
    for (const Case& c : cases) {
        swaper = c.swaper;
        r.b[obj::width] = static_cast<std::uint8_t>(c.width);
        show(mode_draw, &r);
        EXPECT_EQ(curpat_avail(0), c.pattern) << c.width;
    }
    setlstyle(5);
    EXPECT_EQ(pattern_toosmall(), 0);  // 5 pixels
    change_window(0, 2000, 0, aspectratio, 1);
    EXPECT_EQ(pattern_toosmall(), 1);  // 0.05 pixel
}

// The styles shipped with the program, on a 1280-pixel screen showing the
// 30 units of the start window.
TEST(LineStyles, TheShippedStylesAreAllThereAndDotsShow) {
    test::open_display("1280x800");
    std::filesystem::copy_file(plat::bundle_dir() / line_styles_file, test::use_data_folder() / line_styles_file,
                               std::filesystem::copy_options::overwrite_existing);
    openlinstk();
    ASSERT_EQ(patopen, 1);
    EXPECT_EQ(swnumstyles, 62);
    for (int n = 2; n < 64; ++n) EXPECT_FALSE(pattern(n).empty()) << n;
    change_window(0, 30, 0, aspectratio, 1);
    setlstyle(dottedstyle);
    EXPECT_EQ(curpat_avail(0), 1);
    EXPECT_EQ(pattern_toosmall(), 0) << "the first dot is a pixel at least";
    EXPECT_GT(pattern(dottedstyle).front(), 0);
}

}  // namespace
}  // namespace drav

namespace drav {
namespace {

// Pixels of the offscreen copy that are not white.
int ink(const plat::Port& p) {
    int n = 0;
    for (std::uint32_t px : p.pixels()) n += px != plat::white_pixel;
    return n;
}

TEST_F(Renderer, DashedLinesReachTheScreenWithTheirGaps) {
    use_styles("5 d0.5 m0.25\n");
    ObjectRec r = test::line_rec(1, 5, 9, 0);  // 90 pixels and its end pixel
    show(mode_draw, &r);
    const int solid = ink(*myCGrafPtr);
    EXPECT_EQ(solid, 91);
    show(mode_erase, &r);
    EXPECT_EQ(ink(*myCGrafPtr), 0);
    r.b[obj::style] = 5;
    show(mode_draw, &r);
    const int dashed = ink(*myCGrafPtr);
    EXPECT_GT(dashed, solid / 2);
    EXPECT_LT(dashed, solid - 10);  // about 12 gaps of 2 pixels
}

}  // namespace
}  // namespace drav

namespace drav {
namespace {

// The cutter's whole state, to compare the run-at-a-time cutter with the
// piece-by-piece one.
std::vector<double> cutter_state() {
    return {linedist, leftover, x_current, y_current, ux, uy, unitdist, static_cast<double>(curlpat == nullptr)};
}

TEST(LineStyles, TheRunCutterGivesThePenDownPiecesOfThePieceCutter) {
    use_styles("5 d0.5 m0.25\n6 m0.3 d0.2 d0.1 m0.05\n7 d0.125\n");
    struct Case {
        std::int16_t style;
        std::vector<double> xs;  // a polyline along the diagonal, the pattern running on
        int run;                 // pieces a call may give
    };
    const Case cases[] = {
        {5, {0, 1}, 64},
        {5, {0, 0.5, 0.75, 3.1}, 2},        // ends exactly on elements; runs of two
        {6, {0.1, 0.43, 2.9, -1.7}, 64},    // starts with a gap; turns back
        {6, {0, 40}, 1},                     // one piece a call
        {7, {0, 1e9}, 64},                   // past the piece limit: the rest solid
        {1, {0, 2}, 64},                     // no pattern: one solid piece
    };
    for (const Case& c : cases) {
        std::vector<std::vector<double>> slow, fast;
        std::vector<std::vector<double>> slow_states, fast_states;
        setlstyle(c.style);
        for (std::size_t i = 1; i < c.xs.size(); ++i) {
            startlinstk(c.xs[i - 1], c.xs[i - 1] / 2, c.xs[i], c.xs[i] / 2);
            double x1, y1, x2, y2;
            std::int16_t down;
            while (getlinstk(&x1, &y1, &x2, &y2, &down))
                if (down) slow.push_back({x1, y1, x2, y2});
            slow_states.push_back(cutter_state());
        }
        setlstyle(c.style);
        std::vector<double> xy(4 * c.run);
        for (std::size_t i = 1; i < c.xs.size(); ++i) {
            startlinstk(c.xs[i - 1], c.xs[i - 1] / 2, c.xs[i], c.xs[i] / 2);
            for (int n; (n = getlinstk_down(xy.data(), c.run)) > 0;) {
                ASSERT_LE(n, c.run);
                for (int k = 0; k < n; ++k) fast.push_back({xy[4 * k], xy[4 * k + 1], xy[4 * k + 2], xy[4 * k + 3]});
            }
            fast_states.push_back(cutter_state());
        }
        EXPECT_GT(slow.size(), 0u) << c.style;
        // Exactly: the same arithmetic in the same order.
        EXPECT_EQ(fast, slow) << c.style << " run " << c.run;
        EXPECT_EQ(fast_states, slow_states) << c.style << " run " << c.run;
    }
}

}  // namespace
}  // namespace drav
