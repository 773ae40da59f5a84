// Documents behind palettes, one hilited of each, the drawing window's view
// after a resize, and the message palette.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "display/clipboard_window.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "platform/ui/events.h"
#include "platform/ui/menus.h"
#include "platform/ui/preferences.h"
#include "platform/ui/windows.h"
#include "platform/ui/windows_qt.h"
#include "shell/event_pump.h"
#include "shell/message_palette.h"
#include "shell/preferences.h"
#include "shell/startup.h"
#include "shell/window_layers.h"
#include "store/files.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;

namespace {

int hilited(bool palettes) {
    int n = 0;
    for (plat::Window* w : plat::window_list())
        if (plat::window_hilited(w) && (palettes ? isPallette(w) : isDocument(w))) ++n;
    return n;
}

std::size_t place(plat::Window* w) {
    const auto list = plat::window_list();
    return static_cast<std::size_t>(std::find(list.begin(), list.end(), w) - list.begin());
}

void settle() {
    plat::EventRecord r;
    while (plat::event_avail(plat::everyEvent, &r)) gobbleoskeys(-1);
}

void run(const std::function<void()>& body) {
    Session s;
    s.then(body);
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(s.steps_left(), 0u);
}

}  // namespace

TEST(WindowLayers, AtStartTheDrawingWindowAndTheMessagePaletteAreHilited) {
    run([] {
        plat::Window* drawing = whichdrawWindow();
        ASSERT_NE(windMessage, nullptr);  // shown unless the preferences say otherwise
        EXPECT_LT(place(windMessage), place(drawing));
        EXPECT_TRUE(plat::window_hilited(drawing));
        EXPECT_TRUE(plat::window_hilited(windMessage));
        EXPECT_EQ(activeLayer, 1);
        EXPECT_TRUE(plat::control_visible(horizHdl));
        EXPECT_TRUE(plat::control_visible(vertHdl));
    });
}

TEST(WindowLayers, PalettesStayInFrontAndOneDocumentShowsItsScrollBars) {
    run([] {
        plat::Window* drawing = whichdrawWindow();
        ASSERT_NE(clipCWindow, nullptr);
        plat::show_window(clipCWindow);
        SelectDocument(clipCWindow);
        FixActivate();
        EXPECT_EQ(firstDocument(), clipCWindow);
        EXPECT_LT(place(windMessage), place(clipCWindow));
        EXPECT_LT(place(clipCWindow), place(drawing));
        EXPECT_EQ(hilited(true), 1);
        EXPECT_EQ(hilited(false), 1);
        EXPECT_TRUE(plat::window_hilited(clipCWindow));
        EXPECT_FALSE(plat::control_visible(horizHdl));
        EXPECT_FALSE(plat::control_visible(vertHdl));
        EXPECT_TRUE(plat::control_visible(chorizHdl));

        // A document raised over the palettes goes back behind them.
        plat::bring_to_front(drawing);
        ArrangeFP();
        EXPECT_LT(place(windMessage), place(drawing));
        SelectDocument(drawing);
        FixActivate();
        EXPECT_EQ(firstDocument(), drawing);
        EXPECT_TRUE(plat::window_hilited(drawing));
        EXPECT_FALSE(plat::window_hilited(clipCWindow));
        EXPECT_TRUE(plat::control_visible(horizHdl));
        EXPECT_FALSE(plat::control_visible(chorizHdl));
        EXPECT_EQ(hilited(false), 1);
        EXPECT_EQ(plat::front_window(), windMessage);
    });
}

TEST(WindowLayers, SelectingTheFrontDocumentOnlyActivatesIt) {
    run([] {
        plat::Window* drawing = whichdrawWindow();
        const auto before = plat::window_list();
        DeactivateDoc(drawing);
        SelectDocument(drawing);
        EXPECT_EQ(plat::window_list(), before);
        EXPECT_TRUE(plat::window_hilited(drawing));
        EXPECT_TRUE(plat::control_visible(horizHdl));
    });
}

TEST(WindowLayers, WithNoPaletteShownLayeringChangesNothing) {
    run([] {
        CloseMessageWindow();
        plat::show_window(clipCWindow);
        plat::bring_to_front(clipCWindow);
        const auto before = plat::window_list();
        LocateWindows();
        ArrangeFP();
        EXPECT_EQ(plat::window_list(), before);
    });
}

TEST(WindowLayers, GrowingTheDrawingWindowKeepsItsScaleAndTopLeftCorner) {
    Session s;
    WindowRec before{};
    s.then([&] {
        before = cur_win;
        // 952 pixels show x 0 to 30; 100 more pixels show 100 pixels' worth more.
        EXPECT_DOUBLE_EQ(before.xr - before.xl, 30.0);
        QWidget* content = plat::content_widget(whichdrawWindow());
        content->resize(content->width() + 100, content->height());
    });
    s.then([&] {
        EXPECT_EQ(drawRect.right, 1052);
        EXPECT_DOUBLE_EQ(cur_win.xl, before.xl);
        EXPECT_NEAR(cur_win.xr, 30.0 * 1052 / 952, 1e-9);
        EXPECT_NEAR(cur_win.yt, before.yt, 1e-9);
        EXPECT_NEAR(cur_win.yb, before.yb, 1e-9);  // the height did not change
    });
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(s.steps_left(), 0u);
}

TEST(MessagePalette, OpensAtItsDefaultPlaceAndReopensWhereItWas) {
    run([] {
        ASSERT_NE(windMessage, nullptr);
        const plat::Rect b = plat::window_bounds(windMessage);
        EXPECT_EQ(b.left, 59);  // 59 right of the screen's left edge
        EXPECT_EQ(b.top, 18);   // 18 below the top: the menu bar is in the drawing window
        EXPECT_EQ(plat::menu_item_mark(4, four_cc("PLms")), plat::checkMark);
        plat::move_window(windMessage, 300, 200, false);
        CloseMessageWindow();
        EXPECT_EQ(windMessage, nullptr);
        EXPECT_EQ(plat::menu_item_mark(4, four_cc("PLms")), plat::noMark);
        EXPECT_EQ(lastpnt[lastpnt_messages], (plat::Point{200, 300}));
        ToggleMessageWindow();
        ASSERT_NE(windMessage, nullptr);
        EXPECT_EQ(plat::window_bounds(windMessage).left, 300);
        EXPECT_EQ(plat::window_bounds(windMessage).top, 200);
    });
}

TEST(MessagePalette, KeepsTheFirst79BytesAndLosesWhatCameWhileClosed) {
    run([] {
        const std::string hundred(100, 'm');
        DisplayCStringMessage(hundred.c_str());
        char buffer[128];
        std::memset(buffer, 'x', sizeof buffer);
        RetrieveCStringMessage(buffer);
        EXPECT_EQ(std::string(buffer), std::string(79, 'm'));
        // The text is drawn into the palette.
        const plat::Port* port = plat::window_port(windMessage);
        int dark = 0;
        for (int x = 0; x < port->width(); ++x)
            for (int y = 0; y < port->height(); ++y) dark += (port->pixel(x, y) & 0xFF) < 0x80;
        EXPECT_GT(dark, 50);

        DisplayCStringMessage("Pick the first point");
        RetrieveCStringMessage(buffer);
        EXPECT_STREQ(buffer, "Pick the first point");
        CloseMessageWindow();
        RetrieveCStringMessage(buffer);
        EXPECT_STREQ(buffer, "");
        DisplayCStringMessage("lost");
        EXPECT_EQ(DisplayLocalMessage(410, 1), 0);
        ShowMessageWindow();
        RetrieveCStringMessage(buffer);
        EXPECT_STREQ(buffer, "");
        DisplayLocalMessage(410, 1);
        RetrieveCStringMessage(buffer);
        EXPECT_STREQ(buffer, "Untitled");
    });
}

TEST(MessagePalette, ItsCloseBoxClosesIt) {
    run([] {
        ASSERT_NE(windMessage, nullptr);
        plat::EventRecord r;
        r.what = plat::mouseDown;
        r.part = plat::inGoAway;
        r.window = windMessage;
        plat::post_event(r);
        settle();
        EXPECT_EQ(windMessage, nullptr);
        EXPECT_TRUE(plat::window_hilited(whichdrawWindow()));
    });
}

TEST(MessagePalette, ItsPlaceAndVisibilityReachThePreferencesAtQuit) {
    PutIntPref("BackgroundColor", 7);  // a key the quit leaves alone
    plat::sync_prefs();
    run([] { plat::move_window(windMessage, 320, 240, false); });
    plat::close_prefs();
    plat::Point p;
    GetPointPref("WindPosMessages", &p);
    EXPECT_EQ(p, (plat::Point{240, 320}));
    EXPECT_EQ(GetIntPref("MessVisible", -1), 1);
    EXPECT_EQ(GetIntPref("BackgroundColor", -1), 7);
    plat::Rect drawing;
    GetRectPref("DrawingWindow", &drawing);
    EXPECT_EQ(drawing, (plat::Rect{43, 54, 733, 1021}));

    // The next start finds it there; closed, it stays closed.
    run([] {
        ASSERT_NE(windMessage, nullptr);
        EXPECT_EQ(plat::window_bounds(windMessage).left, 320);
        EXPECT_EQ(plat::window_bounds(windMessage).top, 240);
        CloseMessageWindow();
    });
    plat::close_prefs();
    EXPECT_EQ(GetIntPref("MessVisible", -1), 0);
    GetPointPref("WindPosMessages", &p);
    EXPECT_EQ(p, (plat::Point{240, 320}));
}

TEST(WindowLayers, TheLibraryWindowInFrontKeepsItsScrollBarsThroughFixActivate) {
    run([] {
        ASSERT_NE(windSymbols, nullptr);
        plat::show_window(windSymbols);
        ourSelectWindow(windSymbols);
        FixActivate();
        EXPECT_EQ(plat::window_list().front(), windSymbols);
        EXPECT_TRUE(plat::window_hilited(windSymbols));
        EXPECT_TRUE(plat::control_visible(shorizHdl));
        EXPECT_TRUE(plat::control_visible(svertHdl));
        EXPECT_FALSE(plat::window_hilited(windMessage));
        // Another palette in front takes the hilite and the bars go.
        ourSelectWindow(windMessage);
        FixActivate();
        EXPECT_TRUE(plat::window_hilited(windMessage));
        EXPECT_FALSE(plat::window_hilited(windSymbols));
        EXPECT_FALSE(plat::control_visible(shorizHdl));
        EXPECT_FALSE(plat::control_visible(svertHdl));
        plat::hide_window(windSymbols);
    });
}
