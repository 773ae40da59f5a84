// Palette squares clicked through the toolkit, as a person's mouse does: the
// press, release and second press must reach the program so that a double
// click (with the timed double-click mode) opens the tool's settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "base/command_loop.h"
#include "platform/core/clock.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/events.h"
#include "platform/ui/windows_qt.h"
#include "shell/event_pump.h"
#include "shell/tool_options.h"
#include "shell/tool_palette.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;

namespace {

constexpr int line_tool = 4;

// Sends one mouse event to the platform widget of a palette square, at its centre.
void send_mouse(int item, QEvent::Type type, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* top = plat::dialog_widget(addDPtr);
    ASSERT_NE(top, nullptr);
    const plat::Rect r = plat::item_rect(plat::dialog_item(addDPtr, item));
    const QPoint centre((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    QWidget* square = top->childAt(centre);
    ASSERT_NE(square, nullptr);
    const QPointF local = square->mapFrom(top, centre);
    const bool release = type == QEvent::MouseButtonRelease;
    QMouseEvent e(type, local, square->mapToGlobal(local), Qt::LeftButton,
                  release ? Qt::NoButton : Qt::LeftButton, mods);
    QApplication::sendEvent(square, &e);
}

void click(int item) {
    send_mouse(item, QEvent::MouseButtonPress);
    send_mouse(item, QEvent::MouseButtonRelease);
}

// The toolkit's own order for a double click.
void double_click(int item) {
    click(item);
    send_mouse(item, QEvent::MouseButtonDblClick);
    send_mouse(item, QEvent::MouseButtonRelease);
}

std::string front_title() {
    plat::Dialog* d = plat::front_dialog();
    return d ? plat::dialog_widget(d)->windowTitle().toStdString() : std::string();
}

}  // namespace

TEST(PaletteDoubleClick, ADoubleClickOnTheLineToolOpensItsSettings) {
    Session s;
    s.then([] {
        objopts->dblclick_mode = 0;  // told by time and place
        double_click(line_tool);
    });
    s.then([] {
        EXPECT_EQ(front_title(), "Line");
        EXPECT_EQ(addnum, line_tool);  // shown current while its settings are open
        plat::dialog_widget(plat::front_dialog())->close();
    });
    s.then([] {
        EXPECT_NE(front_title(), "Line");
        EXPECT_EQ(addnum, tool_select);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(PaletteDoubleClick, ASingleClickStartsTheToolWithoutItsSettings) {
    Session s;
    s.then([] {
        objopts->dblclick_mode = 0;
        click(line_tool);
    });
    s.then([] {
        EXPECT_NE(front_title(), "Line");
        EXPECT_EQ(addnum, line_tool);  // the line command waits for its first point
    });
    s.key(27);
    EXPECT_EQ(s.run(), 0);
}

TEST(PaletteDoubleClick, AnAltClickCarriesItsKeyToTheProgram) {
    Session s;
    s.then([] {
        objopts->dblclick_mode = 1;  // the option key makes a click double
        send_mouse(line_tool, QEvent::MouseButtonPress, Qt::AltModifier);
        send_mouse(line_tool, QEvent::MouseButtonRelease, Qt::AltModifier);
    });
    s.then([] {
        EXPECT_EQ(front_title(), "Line");
        plat::dialog_widget(plat::front_dialog())->close();
    });
    s.then([] { EXPECT_NE(front_title(), "Line"); });
    EXPECT_EQ(s.run(), 0);
}

// A second press too far or too late is no double click: it stays queued as
// a click of its own instead of being swallowed.
TEST(PaletteDoubleClick, APressThatIsNoSecondClickStaysQueued) {
    Session s;
    s.then([] {
        objopts->dblclick_mode = 0;
        const std::uint32_t dbl = plat::double_click_ticks();
        const struct {
            std::int16_t h;
            std::uint32_t after_up;
        } cases[] = {{112, 2}, {100, dbl + 1}};
        for (const auto& c : cases) {
            myEvent = plat::EventRecord{};
            myEvent.what = plat::mouseDown;
            myEvent.where = plat::Point{100, 100};
            myEvent.when = plat::ticks();
            plat::EventRecord up;
            up.what = plat::mouseUp;
            up.where = plat::Point{100, 100};
            up.when = myEvent.when + 2;
            plat::post_event(up);
            plat::EventRecord down;
            down.what = plat::mouseDown;
            down.where = plat::Point{100, c.h};
            down.when = up.when + c.after_up;
            plat::post_event(down);
            EXPECT_EQ(isdoubleclick(), 0) << c.h << " " << c.after_up;
            plat::EventRecord left;
            ASSERT_TRUE(plat::event_avail(plat::mDownMask, &left));
            EXPECT_EQ(left.where.h, c.h);
            plat::flush_events(plat::everyEvent);
        }
    });
    EXPECT_EQ(s.run(), 0);
}
