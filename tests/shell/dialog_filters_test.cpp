// The modal filters: Return with its flash, Escape swallowed, the clipboard
// keys in fields, and the yes/no/cancel letters.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>

#include "platform/core/clock.h"
#include "platform/ui/cursors.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/windows_qt.h"
#include "shell/dialog_filters.h"
#include "shell/event_pump.h"
#include "tests/support/harness.h"
#include "tests/support/layouts.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;

namespace {

class Filters : public testing::Test {
protected:
    void SetUp() override {
        drav::test::use_test_layouts();
        init_answer_chars();
        d = plat::new_dialog(drav::test::test_dialog, nullptr);
        ASSERT_NE(d, nullptr);
        plat::show_dialog(d);
    }
    void TearDown() override {
        plat::dispose_dialog(d);
        plat::flush_events(plat::everyEvent);
        drav::test::drop_test_layouts();
    }
    static plat::EventRecord key(char c, std::uint16_t mods = 0) {
        plat::EventRecord e;
        e.what = plat::keyDown;
        e.message = static_cast<std::uint8_t>(c);
        e.modifiers = mods;
        return e;
    }
    // The filter's verdict, the item, and the ticks it took.
    struct Outcome {
        bool handled;
        int item;
        std::uint32_t ticks;
    };
    Outcome run(bool (*filter)(DialogPtr, plat::EventRecord*, std::int16_t*), plat::EventRecord e) {
        std::int16_t item = -1;
        const std::uint32_t t0 = plat::ticks();
        const bool handled = filter(d, &e, &item);
        return {handled, item, plat::ticks() - t0};
    }
    DialogPtr d = nullptr;
};

}  // namespace

TEST_F(Filters, ReturnAndEnterPressItemOneAfterAFlash) {
    for (char c : {'\r', '\x03'}) {
        const Outcome o = run(dlgFilter, key(c));
        EXPECT_TRUE(o.handled);
        EXPECT_EQ(o.item, 1);
        EXPECT_EQ(o.ticks, 3u);  // hilited for 3 ticks
        EXPECT_EQ(plat::item_hilite(plat::dialog_item(d, 1)), 0);
        EXPECT_EQ(myEvent.message & 0xFF, static_cast<std::uint8_t>(c));
    }
}

TEST_F(Filters, EscapeIsSwallowedAndCommandKeysPassThrough) {
    plat::EventRecord esc = key(27);
    std::int16_t item = -1;
    EXPECT_FALSE(dlgFilter(d, &esc, &item));
    EXPECT_EQ(esc.what, plat::nullEvent);  // not the cancel item 2
    EXPECT_EQ(item, 0);
    for (char c : {'q', 'w'}) {
        plat::EventRecord e = key(c, plat::cmdKey);
        EXPECT_FALSE(dlgFilter(d, &e, &item));
        EXPECT_EQ(e.what, plat::keyDown);
        EXPECT_EQ(e.message, static_cast<std::uint32_t>(c));
    }
    const Outcome other = run(dlgFilter, key('5'));
    EXPECT_FALSE(other.handled);
    EXPECT_EQ(other.ticks, 0u);
}

TEST_F(Filters, ClipboardKeysCopyCutAndPasteInTheFocusedField) {
    plat::DItem* first = plat::dialog_item(d, 4);
    plat::DItem* second = plat::dialog_item(d, 5);
    QClipboard* clip = QGuiApplication::clipboard();
    clip->setText("old");
    plat::set_item_text(first, "12.5");
    plat::select_item_text(first, 0, 32767);
    plat::EventRecord c = key('c', plat::cmdKey);
    std::int16_t item = -1;
    EXPECT_FALSE(dlgFilter(d, &c, &item));
    EXPECT_EQ(c.what, plat::nullEvent);
    EXPECT_EQ(clip->text(), "12.5");
    EXPECT_EQ(plat::item_text(first), "12.5");
    plat::EventRecord x = key('X', plat::cmdKey);
    dlgFilter(d, &x, &item);
    EXPECT_EQ(plat::item_text(first), "");
    EXPECT_EQ(clip->text(), "12.5");
    clip->setText("7/8");
    plat::select_item_text(second, 0, 32767);
    plat::EventRecord v = key('v', plat::cmdKey);
    dlgFilter(d, &v, &item);
    EXPECT_EQ(v.what, plat::nullEvent);
    EXPECT_EQ(plat::item_text(second), "7/8");
}

TEST_F(Filters, TheAnswerLettersOfQuestions) {
    struct Case {
        char c;
        std::uint16_t mods;
        int ync, yc;  // 0: not handled
    };
    const Case cases[] = {
        {'\r', 0, 1, 1}, {'\x03', 0, 1, 1}, {'y', 0, 1, 1},           {'Y', 0, 1, 1},
        {'n', 0, 3, 0},  {'N', 0, 3, 0},    {'.', plat::cmdKey, 2, 2}, {'.', 0, 0, 0},
        {'x', 0, 0, 0},  {'y', plat::cmdKey, 0, 0},
    };
    for (const Case& c : cases) {
        const Outcome ync = run(yncFilter, key(c.c, c.mods));
        EXPECT_EQ(ync.handled, c.ync != 0) << c.c;
        EXPECT_EQ(ync.item, c.ync) << c.c;
        EXPECT_EQ(ync.ticks, c.ync ? 3u : 0u) << c.c;  // each answer after its flash
        const Outcome yc = run(ycFilter, key(c.c, c.mods));
        EXPECT_EQ(yc.item, c.yc) << c.c;
        EXPECT_EQ(yc.ticks, c.yc ? 3u : 0u) << c.c;
    }
    plat::EventRecord click;
    click.what = plat::mouseDown;
    std::int16_t item = -1;
    EXPECT_FALSE(yncFilter(d, &click, &item));
}

TEST_F(Filters, InjectedKeysReachTheFilterThroughTheModalLoop) {
    // Typing, then Return in the field: item 1, once its flash is over.
    Session s;
    s.key('4').key('2').key('\r');
    std::int16_t item = 0;
    std::uint32_t took = 0;
    s.drive([&] {
        const std::uint32_t t0 = plat::ticks();
        item = ModalDialog(d, dlgFilter);
        took = plat::ticks() - t0;
    });
    EXPECT_EQ(item, 1);
    EXPECT_GE(took, 3u + 3u);  // three waits, and the flash
    EXPECT_EQ(plat::item_text(plat::dialog_item(d, 4)), "42");
    // Escape does not cancel: the next hit is what the loop answers.
    Session esc;
    esc.key('\x1b').hit(6);
    esc.drive([&] { item = ModalDialog(d, dlgFilter); });
    EXPECT_EQ(item, 6);
    EXPECT_EQ(esc.steps_left(), 0u);
    // Without a filter Escape presses the cancel item.
    Session plain;
    plain.key('\x1b').ends();
    plain.drive([&] { item = ModalDialog(d, nullptr); });
    EXPECT_EQ(item, 2);
    // Command-C in the field, through the queue: the text is on the clipboard.
    QGuiApplication::clipboard()->setText("old");
    Session copy;
    copy.then([this] { plat::select_item_text(plat::dialog_item(d, 4), 0, 32767); });
    copy.key('c', plat::cmdKey).hit(2);
    copy.drive([&] { item = ModalDialog(d, dlgFilter); });
    EXPECT_EQ(item, 2);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "42");
    Session no;
    no.key('n');
    no.drive([&] { item = ModalDialog(d, yncFilter); });
    EXPECT_EQ(item, 3);
}

TEST_F(Filters, TypingAfterAClickIntoAFieldHidesTheCursorUntilTheMouseMoves) {
    plat::EventRecord click;
    click.what = plat::mouseDown;
    click.dialog = d;
    click.item = 3;  // static text: no field
    std::int16_t item = 0;
    dlgFilter(d, &click, &item);
    plat::EventRecord k = key('1');
    dlgFilter(d, &k, &item);
    EXPECT_FALSE(plat::cursor_obscured());
    click.item = 4;
    dlgFilter(d, &click, &item);
    EXPECT_EQ(wasDown, 1);
    k = key('1');
    dlgFilter(d, &k, &item);
    EXPECT_TRUE(plat::cursor_obscured());
    EXPECT_EQ(wasDown, 0);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(plat::dialog_widget(d), &move);
    EXPECT_FALSE(plat::cursor_obscured());
}
