#include "display/screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "display/clip_tests.h"
#include "display/clipboard_window.h"
#include "display/graphics_unit.h"
#include "platform/core/picture.h"
#include "platform/ui/windows.h"
#include "tests/display/display_fixture.h"
#include "tests/support/harness.h"
#include "tests/support/pixels.h"

using drav::test::Display;
using drav::test::pixel_rows;
using drav::test::rows;

namespace drav {
namespace {

TEST_F(Display, LinesDrawBothEndPixelsInPortCoordinates) {
    struct Case {
        int x1, y1, x2, y2;
        std::string expected;  // port pixels (0, 0) to (6, 3)
    };
    const Case cases[] = {
        {1, 99, 5, 99, rows({".......", ".#####.", ".......", "......."})},
        {5, 99, 1, 99, rows({".......", ".#####.", ".......", "......."})},
        {3, 100, 3, 97, rows({"...#...", "...#...", "...#...", "...#..."})},
        {0, 100, 3, 97, rows({"#......", ".#.....", "..#....", "...#..."})},
        {6, 98, 6, 98, rows({".......", ".......", "......#", "......."})},
    };
    setdrawmode(mode_draw);
    for (const Case& c : cases) {
        cleargraphics();
        if (c.x1 == c.x2 && c.y1 == c.y2)
            drawdot(static_cast<std::int16_t>(c.x1), static_cast<std::int16_t>(c.y1));
        else
            drawline(static_cast<std::int16_t>(c.x1), static_cast<std::int16_t>(c.y1),
                     static_cast<std::int16_t>(c.x2), static_cast<std::int16_t>(c.y2));
        EXPECT_EQ(pixel_rows(*myCGrafPtr, 0, 0, 7, 4), c.expected) << c.x1 << "," << c.y1;
    }
}

TEST_F(Display, RectangleFramesTheSameWhicheverCornersComeFirst) {
    setdrawmode(mode_draw);
    drawrectangle(10, 20, 5, 8);
    const std::vector<std::uint32_t> first = myCGrafPtr->pixels();
    cleargraphics();
    drawrectangle(5, 8, 10, 20);
    EXPECT_EQ(myCGrafPtr->pixels(), first);
    // Left 5, right 11 exclusive; both corner pixels on the frame.
    for (auto [x, y] : {std::pair{5, 8}, {10, 20}, {5, 20}, {10, 8}})
        EXPECT_EQ(myCGrafPtr->pixel(x, v(y)), plat::black_pixel) << x << "," << y;
    for (auto [x, y] : {std::pair{4, 8}, {11, 8}, {5, 7}, {5, 21}})
        EXPECT_EQ(myCGrafPtr->pixel(x, v(y)), plat::white_pixel) << x << "," << y;

    cleargraphics();
    drawrectangle(4, 97, 1, 99);
    EXPECT_EQ(pixel_rows(*myCGrafPtr, 0, 0, 7, 5),
              rows({".......", ".####..", ".#..#..", ".####..", "......."}));
}

TEST_F(Display, OvalsInEvenAndOddBoxesAreSymmetric) {
    struct Case {
        int x2, y2;  // from (0, 100)
        std::string expected;
    };
    const Case cases[] = {
        {5, 95, rows({".####..", "##..##.", "#....#.", "#....#.", "##..##.", ".####..", "......."})},
        {4, 96, rows({".###...", "#...#..", "#...#..", "#...#..", ".###...", ".......", "......."})},
    };
    setdrawmode(mode_draw);
    for (const Case& c : cases) {
        cleargraphics();
        drawcircle(0, 100, static_cast<std::int16_t>(c.x2), static_cast<std::int16_t>(c.y2));
        EXPECT_EQ(pixel_rows(*myCGrafPtr, 0, 0, 7, 7), c.expected) << c.x2;
    }
}

TEST_F(Display, XorFeedbackDrawnTwiceRestoresTheWindow) {
    plat::Port& window = *whichdrawPort();
    drav::test::fill_gradient(window);
    const std::vector<std::uint32_t> before = window.pixels();
    setdrawmode(mode_xor);
    const std::function<void()> figures[] = {
        [] { drawline(3, 90, 60, 20); },
        [] { drawline(0, 99, 199, 99); },
        [] { drawrectangle(10, 20, 80, 70); },
        [] { drawcircle(15, 15, 44, 60); },
        [] { drawdot(7, 50); },
        [] { togglecursor(50, 50, 0); },
        [] { togglecursor(50, 50, 2); },
    };
    for (std::size_t i = 0; i < std::size(figures); ++i) {
        figures[i]();
        EXPECT_NE(window.pixels(), before) << i;
        figures[i]();
        EXPECT_EQ(window.pixels(), before) << i;
    }
}

TEST_F(Display, ThePenModeChoosesWhereFiguresGo) {
    struct Case {
        std::int16_t mode;
        std::uint16_t toscreen, ourrgn;
        bool window, offscreen, region;
    };
    const Case cases[] = {
        {mode_trace, 0, 0, false, false, false},
        {mode_draw, 0, 0, false, true, false},
        {mode_erase, 0, 0, false, true, false},
        {mode_xor, 0, 0, true, false, false},
        {7, 0, 0, false, false, false},
        {mode_trace, 1, 0, true, false, false},
        {mode_draw, 1, 0, true, true, false},
        {mode_trace, 0, 1, false, false, true},
        {mode_xor, 0, 1, false, false, true},
    };
    for (const Case& c : cases) {
        // Red, so that drawing, erasing and inverting all show.
        const std::uint32_t untouched = test::pixel_of_char('r');
        for (plat::Port* p : {whichdrawPort(), myCGrafPtr, myrgnGrafPtr})
            for (int y = 0; y < p->height(); ++y) std::fill_n(p->row(y), p->width(), untouched);
        setdrawmode(mode_draw);
        setdrawmode(c.mode);
        drawtoscreen = c.toscreen;
        drawourrgn = c.ourrgn;
        drawline(20, 50, 30, 50);
        const auto touched = [&](const plat::Port* p) { return p->pixel(25, v(50)) != untouched; };
        const std::string what = "mode " + std::to_string(c.mode) + " toscreen " +
                                 std::to_string(c.toscreen) + " ourrgn " + std::to_string(c.ourrgn);
        EXPECT_EQ(touched(whichdrawPort()), c.window) << what;
        EXPECT_EQ(touched(myCGrafPtr), c.offscreen) << what;
        EXPECT_EQ(touched(myrgnGrafPtr), c.region) << what;
    }
}

TEST_F(Display, AColourEqualToABlackOrWhiteBackgroundIsSwapped) {
    struct Case {
        std::int16_t background, colour, drawn;
    };
    const Case cases[] = {{0, 0, 255}, {255, 255, 0}, {3, 3, 3}, {0, 3, 3}, {255, 0, 0}, {0, 300, 255}};
    setdrawmode(mode_draw);
    for (const Case& c : cases) {
        objopts->background_colour = c.background;
        setscreencolor(c.colour);
        drawdot(5, 50);
        EXPECT_EQ(myCGrafPtr->pixel(5, v(50)), plat::pixel_of(dravColors[c.drawn]))
            << c.background << " " << c.colour;
        EXPECT_EQ(whichdrawPort()->fore_color(), dravColors[c.drawn]);
    }
}

TEST_F(Display, ColourMapHoldsTheCubeTheRampsAndBlack) {
    // Every entry from its own rule. Cube: index 36 r + 6 g + b, each step s
    // giving 0x3333 x (5 - s), so white at 0. Ramps: 0x1111 x k for k = 14
    // down to 1, leaving out the multiples of 3 (the cube's levels).
    std::vector<std::uint16_t> ramp;
    for (int k = 14; k >= 1; --k)
        if (k % 3 != 0) ramp.push_back(static_cast<std::uint16_t>(0x1111 * k));
    ASSERT_EQ(ramp.size(), 10u);
    const auto cube = [](int step) { return static_cast<std::uint16_t>(0x3333 * (5 - step)); };
    for (int i = 0; i < 256; ++i) {
        plat::RGBColor want{};
        if (i < 215) {
            want = {cube(i / 36), cube(i / 6 % 6), cube(i % 6)};
        } else if (i < 255) {
            const std::uint16_t l = ramp[static_cast<std::size_t>((i - 215) % 10)];
            const int which = (i - 215) / 10;  // red, green, blue, grey
            want = {which == 0 || which == 3 ? l : std::uint16_t{0}, which == 1 || which == 3 ? l : std::uint16_t{0},
                    which == 2 || which == 3 ? l : std::uint16_t{0}};
        }
        EXPECT_EQ(dravColors[i], want) << "entry " << i;
    }
    // A few entries by hand, and every entry its own colour.
    const std::pair<int, plat::RGBColor> hand[] = {
        {0, {0xFFFF, 0xFFFF, 0xFFFF}}, {1, {0xFFFF, 0xFFFF, 0xCCCC}}, {35, {0xFFFF, 0, 0}},
        {37, {0xCCCC, 0xFFFF, 0xCCCC}}, {214, {0, 0, 0x3333}},        {215, {0xEEEE, 0, 0}},
        {229, {0, 0x8888, 0}},          {244, {0, 0, 0x1111}},        {254, {0x1111, 0x1111, 0x1111}},
        {255, {0, 0, 0}},
    };
    for (const auto& [index, rgb] : hand) EXPECT_EQ(dravColors[index], rgb) << "entry " << index;
    for (int i = 0; i < 256; ++i)
        for (int j = i + 1; j < 256; ++j) EXPECT_NE(dravColors[i], dravColors[j]) << i << " and " << j;
}

TEST_F(Display, PictureRecordedFromTheFiguresPlaysBackAsDrawnDirectly) {
    const auto draw = [] {
        drawline(1, 99, 17, 92);
        drawrectangle(2, 98, 9, 93);
        drawcircle(10, 99, 18, 91);
        drawdot(0, 91);
    };
    printing = 1;
    plat::Port direct(20, 10);
    {
        plat::PortSaver s(&direct);
        draw();
    }
    plat::Port recorder(20, 10);
    recorder.open_picture(recorder.port_rect());
    {
        plat::PortSaver s(&recorder);
        draw();
    }
    const plat::Picture pic = recorder.close_picture();
    EXPECT_TRUE(drav::test::all_white(recorder));
    plat::Port played(20, 10);
    ASSERT_EQ(plat::draw_picture(played, pic, played.port_rect()), 1);
    EXPECT_EQ(played.pixels(), direct.pixels());
    EXPECT_FALSE(drav::test::all_white(direct));
}

TEST_F(Display, OpeningMakesTheWindowsAndPlacesTheScrollBars) {
    plat::Window* w = whichdrawWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(drawRect, (plat::Rect{0, 0, 85, 185}));
    EXPECT_EQ(plat::control_rect(horizHdl), (plat::Rect{85, 74, 101, 186}));
    EXPECT_EQ(plat::control_rect(vertHdl), (plat::Rect{-1, 185, 86, 201}));
    EXPECT_EQ(plat::control_refcon(horizHdl), 1);
    EXPECT_EQ(plat::control_refcon(vertHdl), 2);
    EXPECT_EQ(myCGrafPtr->width(), 200);
    EXPECT_EQ(myCGrafPtr->height(), 100);
    EXPECT_EQ(offrgnRect, (plat::Rect{0, 0, 100, 200}));
    EXPECT_NE(whichclipWindow(), nullptr);
    EXPECT_NE(whichsymbPort(), nullptr);
    EXPECT_EQ(plat::control_refcon(svertHdl), 2);
    EXPECT_EQ(plat::control_refcon(shorizHdl), 1);
    EXPECT_EQ(viewport, (ViewportRec{0, 200, 0, 100, 200, 100}));
    EXPECT_EQ(graphwasinit, 1);
}

TEST(OpenGraphics, ScreenBuffersThatCannotBeMadeEndTheProgram) {
    setenv("DRAVELIN_SCREEN", "30000x30000", 1);
    test::answers().expect("could not make its drawing window");
    std::int16_t err = -1;
    EXPECT_EQ(test::exit_status_of([&] { opengraphics(&err); }), -1);
    EXPECT_TRUE(test::answers().done());
    EXPECT_EQ(graphwasinit, 0);
}

// The viewport's top is 800, so viewport pixel (x, y) is window pixel (x, 800 - y).
TEST(CrossHair, SmallCrossAtItsPixel) {
    test::open_display("200x800");
    plat::Port& window = *whichdrawPort();
    togglecursor(100, 50, 0);
    // (94, 750)-(106, 750) and (100, 756)-(100, 744); XOR leaves the centre.
    EXPECT_EQ(pixel_rows(window, 93, 743, 15, 15),
              rows({"...............",
                    ".......#.......",
                    ".......#.......",
                    ".......#.......",
                    ".......#.......",
                    ".......#.......",
                    ".......#.......",
                    ".######.######.",
                    ".......#.......",
                    ".......#.......",
                    ".......#.......",
                    ".......#.......",
                    ".......#.......",
                    ".......#.......",
                    "..............."}));
    togglecursor(100, 50, 0);
    EXPECT_TRUE(test::all_white(window));
    delete objopts;
    objopts = nullptr;
}

TEST(CrossHair, FullCrossStaysInsideTheDrawingArea) {
    test::open_display("200x800");
    plat::Port& window = *whichdrawPort();
    togglecursor(100, 50, 1);
    EXPECT_EQ(window.pixel(100, 0), plat::black_pixel);
    EXPECT_EQ(window.pixel(100, drawRect.bottom - 1), plat::black_pixel);
    EXPECT_EQ(window.pixel(100, drawRect.bottom), plat::white_pixel);
    EXPECT_EQ(window.pixel(0, 750), plat::black_pixel);
    EXPECT_EQ(window.pixel(drawRect.right - 1, 750), plat::black_pixel);
    EXPECT_EQ(window.pixel(drawRect.right, 750), plat::white_pixel);
    delete objopts;
    objopts = nullptr;
}

}  // namespace
}  // namespace drav
