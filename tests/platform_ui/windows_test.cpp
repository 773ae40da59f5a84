#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/text_drawing.h"
#include "platform/ui/windows.h"
#include "platform/ui/windows_qt.h"

using namespace plat;

namespace {

WindowSpec desc(WindowKind kind, Rect bounds, bool main = false) {
    WindowSpec s;
    s.kind = kind;
    s.bounds = bounds;
    s.main = main;
    s.visible = true;
    s.title = "Test";
    return s;
}

}  // namespace

TEST(Windows, ContentAreaAndPortFollowTheRequestedBounds) {
    for (bool main : {false, true}) {
        Window* w = new_window(desc(WindowKind::document, Rect{60, 40, 360, 440}, main));
        EXPECT_EQ(window_port(w)->width(), 400) << main;
        EXPECT_EQ(window_port(w)->height(), 300) << main;
        EXPECT_EQ(window_bounds(w), (Rect{60, 40, 360, 440})) << main;
        move_window(w, 100, 120, false);
        EXPECT_EQ(window_bounds(w), (Rect{120, 100, 420, 500})) << main;
        size_window(w, 200, 150);
        EXPECT_EQ(window_bounds(w), (Rect{120, 100, 270, 300})) << main;
        EXPECT_FALSE(take_resized(w));  // sized by the program, not the user
        dispose_window(w);
    }
}

TEST(Windows, WhatIsDrawnIntoThePortIsWhatTheWindowShows) {
    Window* w = new_window(desc(WindowKind::document, Rect{0, 0, 40, 60}));
    Port* p = window_port(w);
    p->erase_rect(p->port_rect());
    p->paint_rect(Rect{10, 20, 30, 50});
    present_windows();
    const QImage shown = grab_content(w);
    ASSERT_EQ(shown.width(), 60);
    EXPECT_EQ(shown.pixel(20, 10) & 0xFFFFFF, 0u);         // painted black
    EXPECT_EQ(shown.pixel(19, 10) & 0xFFFFFF, 0xFFFFFFu);  // outside stays white
    EXPECT_EQ(shown.pixel(49, 29) & 0xFFFFFF, 0u);
    EXPECT_EQ(shown.pixel(50, 29) & 0xFFFFFF, 0xFFFFFFu);  // right edge exclusive
    dispose_window(w);
}

TEST(Windows, AWindowNeverDrawnIntoShowsItsPortsColour) {
    Window* w = new_window(desc(WindowKind::document, Rect{0, 0, 40, 60}));
    Port* p = window_port(w);
    p->set_back_color(RGBColor{0, 0, 0xFFFF});
    p->resize(60, 40);
    size_window(w, 70, 50);  // the new strips in the same colour
    present_windows();
    const QImage shown = grab_content(w);
    ASSERT_EQ(shown.width(), 70);
    EXPECT_TRUE(p->blank());  // shown without being given pixels
    for (const QPoint at : {QPoint(0, 0), QPoint(59, 39), QPoint(69, 49)})
        EXPECT_EQ(shown.pixel(at) & 0xFFFFFF, 0x0000FFu) << at.x() << "," << at.y();
    p->paint_rect(Rect{10, 20, 30, 50});
    present_windows();
    EXPECT_EQ(grab_content(w).pixel(20, 10) & 0xFFFFFF, 0u);
    dispose_window(w);
}

TEST(Windows, ResizingByTheUserKeepsPixelsAndInvalidatesTheNewArea) {
    Window* w = new_window(desc(WindowKind::document, Rect{0, 0, 40, 60}));
    Port* p = window_port(w);
    p->paint_rect(Rect{0, 0, 5, 5});
    content_widget(w)->resize(80, 50);  // as a window manager would
    EXPECT_TRUE(take_resized(w));
    EXPECT_EQ(p->width(), 80);
    EXPECT_EQ(p->pixel(2, 2), black_pixel);
    Rect bad;
    ASSERT_TRUE(take_invalid(w, &bad));
    EXPECT_EQ(bad, (Rect{0, 0, 50, 80}));  // the new strips, as one box
    EXPECT_FALSE(take_invalid(w, &bad));
    dispose_window(w);
}

TEST(Windows, InvalidAreasGrowAndAreValidatedOnlyWhenCovered) {
    Window* w = new_window(desc(WindowKind::document, Rect{0, 0, 100, 100}));
    invalidate_rect(w, Rect{10, 10, 20, 20});
    invalidate_rect(w, Rect{50, 60, 200, 70});  // clipped to the content
    validate_rect(w, Rect{10, 10, 20, 20});      // covers only part: stays
    Rect bad;
    ASSERT_TRUE(take_invalid(w, &bad));
    EXPECT_EQ(bad, (Rect{10, 10, 100, 70}));
    invalidate_rect(w, Rect{10, 10, 20, 20});
    validate_rect(w, Rect{0, 0, 100, 100});
    EXPECT_FALSE(take_invalid(w, &bad));
    dispose_window(w);
}

TEST(Windows, PalettesStayInFrontOfDocuments) {
    Window* doc1 = new_window(desc(WindowKind::document, Rect{0, 0, 50, 50}));
    Window* pal = new_window(desc(WindowKind::palette, Rect{0, 0, 20, 20}));
    Window* doc2 = new_window(desc(WindowKind::document, Rect{0, 0, 50, 50}));
    select_window(doc1);
    select_window(pal);
    select_window(doc2);
    auto list = window_list();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], pal);
    EXPECT_EQ(list[1], doc2);
    EXPECT_EQ(list[2], doc1);
    EXPECT_EQ(front_window(), pal);
    hide_window(pal);
    EXPECT_EQ(front_window(), doc2);
    EXPECT_EQ(window_of_port(window_port(doc1)), doc1);
    for (Window* w : list) dispose_window(w);
    EXPECT_TRUE(window_list().empty());
}

TEST(Windows, ScrollBarsKeepTheirRangeValueAndPlace) {
    Window* w = new_window(desc(WindowKind::document, Rect{0, 0, 200, 300}));
    Control* v = new_scroll_bar(w, Rect{-1, 285, 186, 301}, 2, 0, 0, 100);
    set_control_value(v, 150);  // clamped to the range
    EXPECT_EQ(control_value(v), 100);
    set_control_maximum(v, 500);
    set_control_value(v, 250);
    EXPECT_EQ(control_value(v), 250);
    EXPECT_EQ(control_refcon(v), 2);
    move_control(v, 300, 0);
    EXPECT_EQ(control_rect(v), (Rect{0, 300, 187, 316}));
    hide_control(v);
    EXPECT_FALSE(control_visible(v));
    EXPECT_EQ(window_controls(w).size(), 1u);
    dispose_control(v);
    EXPECT_TRUE(window_controls(w).empty());
    dispose_window(w);
}

TEST(Windows, ScreenSizeCanBeSetForHeadlessRuns) {
    setenv("DRAVELIN_SCREEN", "1280x800", 1);
    EXPECT_EQ(screen_bounds(), (Rect{0, 0, 800, 1280}));
    setenv("DRAVELIN_SCREEN", "nonsense", 1);
    const Rect fallback = screen_bounds();
    EXPECT_FALSE(fallback.empty());
    unsetenv("DRAVELIN_SCREEN");
}

TEST(Windows, TheProgramOrdersTheListItselfAndKeepsEachWindowsHilite) {
    Window* doc = new_window(desc(WindowKind::document, Rect{0, 0, 100, 100}));
    Window* pal = new_window(desc(WindowKind::palette, Rect{0, 0, 50, 50}));
    Window* other = new_window(desc(WindowKind::other, Rect{0, 0, 50, 50}));
    // new windows join at the back: doc, pal, other
    bring_to_front(other);
    EXPECT_EQ(window_list(), (std::vector<Window*>{other, doc, pal}));
    send_behind(other, pal);
    EXPECT_EQ(window_list(), (std::vector<Window*>{doc, pal, other}));
    send_behind(doc, nullptr);  // to the back
    EXPECT_EQ(window_list(), (std::vector<Window*>{pal, other, doc}));
    send_behind(doc, pal);
    EXPECT_EQ(window_list(), (std::vector<Window*>{pal, doc, other}));
    EXPECT_FALSE(window_hilited(pal));
    set_window_hilite(pal, true);
    EXPECT_TRUE(window_hilited(pal));
    EXPECT_FALSE(window_hilited(doc));
    EXPECT_FALSE(window_is_main(doc));
    for (Window* w : {doc, pal, other}) dispose_window(w);
}

TEST(Windows, TextIsDrawnIntoThePortInsideItsBox) {
    Window* w = new_window(desc(WindowKind::palette, Rect{0, 0, 20, 200}));
    Port* p = window_port(w);
    p->erase_rect(p->port_rect());
    draw_text_line(p, Rect{0, 0, 20, 100}, "Pick a point");
    int dark_inside = 0, dark_outside = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 200; ++x)
            if ((p->pixel(x, y) & 0xFF) < 0x80) ++(x < 100 ? dark_inside : dark_outside);
    EXPECT_GT(dark_inside, 20);
    EXPECT_EQ(dark_outside, 0);
    dispose_window(w);
}
