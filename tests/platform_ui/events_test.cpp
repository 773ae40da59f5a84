#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/core/clock.h"
#include "platform/ui/events.h"
#include "platform/ui/keys.h"
#include "platform/ui/windows.h"
#include "platform/ui/windows_qt.h"

using namespace plat;

namespace {

class Events : public testing::Test {
protected:
    void SetUp() override {
        int argc = 0;
        ASSERT_TRUE(init_application(argc, nullptr));
        WindowSpec s;
        s.bounds = Rect{100, 50, 300, 350};
        s.visible = true;
        window_ = new_window(s);
        drain();
    }
    void TearDown() override {
        dispose_window(window_);
        close_application();
    }
    static void drain() {
        EventRecord r;
        for (int i = 0; i < 20; ++i) wait_next_event(everyEvent, &r, 0);
        flush_events(everyEvent);
    }
    void send(QEvent* e) { QApplication::sendEvent(content_widget(window_), e); }
    Window* window_ = nullptr;
};

EventRecord posted(std::int16_t what, std::uint32_t message = 0) {
    EventRecord r;
    r.what = what;
    r.message = message;
    return r;
}

}  // namespace

TEST_F(Events, TheMaskPicksRecordsAndLeavesTheOthersQueued) {
    post_event(posted(mouseDown));
    post_event(posted(keyDown, 'a'));
    EventRecord r;
    ASSERT_TRUE(wait_next_event(keyDownMask, &r, 0));
    EXPECT_EQ(r.what, keyDown);
    ASSERT_TRUE(event_avail(everyEvent, &r));
    EXPECT_EQ(r.what, mouseDown);
    ASSERT_TRUE(wait_next_event(everyEvent, &r, 0));
    EXPECT_EQ(r.what, mouseDown);
    EXPECT_FALSE(wait_next_event(everyEvent, &r, 0));
    EXPECT_EQ(r.what, nullEvent);
}

TEST_F(Events, MouseClicksBecomeRecordsWithGlobalPointsAndModifiers) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 20), QPointF(60, 120), Qt::LeftButton,
                      Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier);
    send(&press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(10, 20), QPointF(60, 120), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    EventRecord r;
    ASSERT_TRUE(wait_next_event(mDownMask, &r, 0));
    EXPECT_TRUE(button());
    send(&release);
    EXPECT_EQ(r.what, mouseDown);
    EXPECT_EQ(r.where, (Point{120, 60}));
    EXPECT_EQ(r.modifiers, cmdKey | shiftKey);  // button down: no btnState
    EXPECT_EQ(r.window, window_);
    ASSERT_TRUE(wait_next_event(mUpMask, &r, 0));
    EXPECT_EQ(r.modifiers, btnState);
    EXPECT_FALSE(button());
}

TEST_F(Events, KeysCarryMacRomanCharactersAndVirtualKeys) {
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        const char* text;
        std::uint8_t ch;
        VirtualKey vk;
        std::uint16_t modifiers;
    };
    const Case cases[] = {
        {Qt::Key_S, Qt::ControlModifier, "\x13", 's', vk_s, cmdKey},
        {Qt::Key_A, Qt::ShiftModifier, "A", 'A', vk_a, shiftKey},
        {Qt::Key_Return, Qt::NoModifier, "\r", ch_return, vk_return, 0},
        {Qt::Key_Escape, Qt::NoModifier, "\x1b", ch_escape, vk_escape, 0},
        {Qt::Key_Left, Qt::NoModifier, "", ch_left, vk_left, 0},
        {Qt::Key_Delete, Qt::NoModifier, "", ch_forward_delete, vk_forward_delete, 0},
        {Qt::Key_degree, Qt::AltModifier, "\xC2\xB0", 0xA1, vk_none, optionKey},
        {Qt::Key_U, Qt::MetaModifier, "u", 'u', vk_u, controlKey},
    };
    for (const Case& c : cases) {
        QKeyEvent press(QEvent::KeyPress, c.key, c.mods, QString::fromUtf8(c.text));
        send(&press);
        EventRecord r;
        ASSERT_TRUE(wait_next_event(keyDownMask, &r, 0)) << c.key;
        EXPECT_EQ(r.message & 0xFF, c.ch) << c.key;
        EXPECT_EQ((r.message >> 8) & 0xFF, c.vk) << c.key;
        EXPECT_EQ(r.modifiers & ~btnState, c.modifiers) << c.key;
    }
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x", true);
    send(&repeat);
    EventRecord r;
    ASSERT_TRUE(wait_next_event(autoKeyMask, &r, 0));
    EXPECT_EQ(r.message & 0xFF, 'x');
}

TEST_F(Events, TimersFireOnlyInsideTheWait) {
    int fired = 0;
    const int id = install_timer(0, 12, [&] { ++fired; });
    EXPECT_EQ(fired, 0);
    EventRecord r;
    wait_next_event(everyEvent, &r, 0);
    EXPECT_EQ(fired, 1);
    for (int i = 0; i < 12; ++i) wait_next_event(everyEvent, &r, 0);  // the fake clock moves a tick a pass
    EXPECT_EQ(fired, 2);
    remove_timer(id);
    for (int i = 0; i < 30; ++i) wait_next_event(everyEvent, &r, 0);
    EXPECT_EQ(fired, 2);
}

TEST_F(Events, InvalidAreasMakeUpdateRecordsAfterQueuedInput) {
    invalidate_rect(window_, Rect{5, 5, 10, 10});
    post_event(posted(keyDown, 'k'));
    EventRecord r;
    ASSERT_TRUE(wait_next_event(everyEvent, &r, 0));
    EXPECT_EQ(r.what, keyDown);
    ASSERT_TRUE(wait_next_event(everyEvent, &r, 0));
    EXPECT_EQ(r.what, updateEvt);
    EXPECT_EQ(r.window, window_);
    EXPECT_EQ(r.area, (Rect{5, 5, 10, 10}));
    EXPECT_FALSE(wait_next_event(everyEvent, &r, 0));
    invalidate_rect(window_, Rect{0, 0, 1, 1});
    EXPECT_FALSE(wait_next_event(everyEvent & ~updateMask, &r, 0));
}

TEST_F(Events, TheMainWindowsCloseBoxAsksToQuitAndOthersAreClicks) {
    WindowSpec m;
    m.main = true;
    m.visible = true;
    m.bounds = Rect{100, 400, 300, 700};
    Window* main = new_window(m);
    drain();
    QCloseEvent close;
    QApplication::sendEvent(content_widget(main)->window(), &close);
    EXPECT_FALSE(close.isAccepted());
    EventRecord r;
    ASSERT_TRUE(wait_next_event(everyEvent, &r, 0));
    EXPECT_EQ(r.what, kHighLevelEvent);
    EXPECT_EQ(r.message, ae_quit);

    QCloseEvent other;
    send(&other);
    EXPECT_FALSE(other.isAccepted());
    ASSERT_TRUE(wait_next_event(everyEvent, &r, 0));
    EXPECT_EQ(r.what, mouseDown);
    EXPECT_EQ(r.part, inGoAway);
    EXPECT_EQ(r.window, window_);
    dispose_window(main);
}

TEST_F(Events, KeypadKeysHaveCodesOfTheirOwn) {
    const struct {
        int key;
        Qt::KeyboardModifiers mods;
        std::uint8_t ch;
        VirtualKey vk;
    } cases[] = {
        {Qt::Key_3, Qt::KeypadModifier, '3', vk_keypad_3},
        {Qt::Key_3, Qt::NoModifier, '3', vk_3},
        {Qt::Key_Slash, Qt::KeypadModifier, '/', vk_keypad_divide},
        {Qt::Key_Period, Qt::KeypadModifier | Qt::ControlModifier, '.', vk_keypad_decimal},
        {Qt::Key_F5, Qt::ShiftModifier, ch_function, vk_f5},
        {Qt::Key_Insert, Qt::NoModifier, ch_help, vk_help},
    };
    for (const auto& c : cases) {
        QKeyEvent press(QEvent::KeyPress, c.key, c.mods, QString(QChar(c.ch)));
        send(&press);
        EventRecord r;
        ASSERT_TRUE(wait_next_event(keyDownMask, &r, 0)) << c.key;
        EXPECT_EQ(r.message & 0xFF, c.ch) << c.key;
        EXPECT_EQ((r.message >> 8) & 0xFF, c.vk) << c.key;
        flush_events(everyEvent);
    }
}

TEST_F(Events, ProgramWindowsTakeKeysBeforeAnyShortcut) {
    QKeyEvent over(QEvent::ShortcutOverride, Qt::Key_Q, Qt::ControlModifier, QStringLiteral("q"));
    over.ignore();
    send(&over);
    EXPECT_TRUE(over.isAccepted());  // no shortcut fires; the key press follows
    QWidget stranger;
    QKeyEvent elsewhere(QEvent::ShortcutOverride, Qt::Key_Q, Qt::ControlModifier, QStringLiteral("q"));
    elsewhere.ignore();
    QApplication::sendEvent(&stranger, &elsewhere);
    EXPECT_FALSE(elsewhere.isAccepted());
}

TEST_F(Events, AFeederScriptsInputAndQuitsWhenItEnds) {
    int steps = 0;
    set_feeder([&] {
        if (steps == 2) return false;
        ++steps;
        post_event(posted(keyDown, static_cast<std::uint32_t>('0' + steps)));
        return true;
    });
    EventRecord r;
    ASSERT_TRUE(wait_next_event(everyEvent, &r, 0));
    EXPECT_EQ(r.message, static_cast<std::uint32_t>('1'));
    ASSERT_TRUE(wait_next_event(everyEvent, &r, 0));
    EXPECT_EQ(r.message, static_cast<std::uint32_t>('2'));
    ASSERT_TRUE(wait_next_event(everyEvent, &r, 0));
    EXPECT_EQ(r.message, ae_quit);
    // A program that goes on waiting for input (a dialog the quit did not
    // close) gets Quit again, never a wait for a person; while one is
    // queued no second joins it.
    EXPECT_FALSE(wait_next_event(keyDownMask, &r, 0));
    EXPECT_FALSE(wait_next_event(keyDownMask, &r, 0));
    ASSERT_TRUE(wait_next_event(everyEvent, &r, 0));
    EXPECT_EQ(r.message, ae_quit);
    EXPECT_FALSE(event_avail(everyEvent, &r));
    set_feeder(nullptr);
}
