// The key-equivalent table: its file, and keys acting by their entry through the real pump.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <fstream>
#include <set>
#include <string>

#include "base/idle.h"
#include "display/screen.h"
#include "platform/core/process.h"
#include "platform/ui/events.h"
#include "platform/ui/keys.h"
#include "platform/ui/windows_qt.h"
#include "shell/dispatch.h"
#include "shell/event_pump.h"
#include "shell/key_equivalents.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

// What the toolkit's own key simulation uses to offer a key to the shortcuts.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep, ushort count);

using namespace drav;
using drav::test::post_key;
using drav::test::Session;

namespace {

std::filesystem::path shipped() { return plat::bundle_dir() / "keys" / "key_equivalents.txt"; }

std::string shipped_text() {
    std::ifstream in(shipped());
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::filesystem::path write_table(const std::string& text) {
    const auto p = drav::test::scratch_dir() / "keys.txt";
    std::ofstream(p, std::ios::trunc) << text;
    return p;
}

// The shipped table with one line replaced.
std::string with_line(const std::string& old_line, const std::string& new_line) {
    std::string t = shipped_text();
    const auto at = t.find("\n" + old_line + "\n");
    EXPECT_NE(at, std::string::npos) << old_line;
    return t.replace(at + 1, old_line.size(), new_line);
}

void settle() {
    plat::EventRecord r;
    while (plat::event_avail(plat::everyEvent, &r)) gobbleoskeys(-1);
}

}  // namespace

TEST(KeyEquivalents, TheShippedTableHas84DistinctEntries) {
    std::uint16_t table[key_equivalent_count] = {};
    std::string why;
    ASSERT_TRUE(read_key_equivalents(shipped(), table, &why)) << why;
    EXPECT_EQ(std::set<std::uint16_t>(std::begin(table), std::end(table)).size(), 84u);
    // Key code in the low byte, Ctrl 0x0100, Shift 0x0200, Alt 0x0800.
    EXPECT_EQ(table[0], 0x007A);   // F1
    EXPECT_EQ(table[12], 0x0263);  // Shift-F3
    EXPECT_EQ(table[20], 0x0152);  // Ctrl-keypad 0
    EXPECT_EQ(table[66], 0x0955);  // Ctrl-Alt-keypad 3
    EXPECT_EQ(table[83], 0x0872);  // Alt-Insert
}

TEST(KeyEquivalents, MalformedTablesAreRefused) {
    const struct {
        const char* old_line;
        const char* new_line;
    } cases[] = {
        {"0\tf1", "0\tq"},                  // a letter commands read
        {"0\tf1", "0\tkeypad5"},            // a keypad digit
        {"0\tf1", "0\tescape\tshift"},      // Esc with Shift only
        {"0\tf1", "0\tf1\tmeta"},           // unknown modifier
        {"0\tf1", "0\tf13"},                // unknown key
        {"0\tf1", "84\tf1"},                // out of range, and 0 missing
        {"1\tf2", "0\tf2"},                 // 0 twice
        {"0\tf1", "0"},                     // no key
        {"0\tf1", "# 0 left out"},          // missing
    };
    for (const auto& c : cases) {
        std::uint16_t table[key_equivalent_count];
        std::string why;
        EXPECT_FALSE(read_key_equivalents(write_table(with_line(c.old_line, c.new_line)), table, &why))
            << c.new_line;
        EXPECT_FALSE(why.empty());
    }
    std::uint16_t table[key_equivalent_count];
    std::string why;
    EXPECT_TRUE(read_key_equivalents(write_table(with_line("0\tf1", "0\tq\tcmd")), table, &why)) << why;
    EXPECT_EQ(table[0], plat::vk_q | 0x0100);
    EXPECT_FALSE(read_key_equivalents(drav::test::scratch_dir() / "none.txt", table, &why));
}

TEST(KeyEquivalents, KeysActByTheirEntryAndNeverReachTheRing) {
    Session s;
    // Entry 12 clicks the move tool: it ends the running command and then
    // finds the drawing empty.
    drav::test::answers().expect("nothing in the drawing");
    s.then([] {
        settle();
        setidle(0);
        const struct {
            std::uint8_t vk;
            std::uint16_t mods;
            int entry;
        } keys[] = {
            {plat::vk_f1, 0, 0},
            {plat::vk_f3, plat::shiftKey, 12},
            {plat::vk_keypad_1, plat::optionKey, 30},
            {plat::vk_f10, plat::cmdKey | plat::shiftKey, 58},
            {plat::vk_keypad_7, plat::cmdKey | plat::optionKey, 69},
            {plat::vk_f1, plat::controlKey, 0},  // the Meta key is not part of the match
        };
        for (const auto& k : keys) {
            post_key(16, k.mods, k.vk);
            settle();
            EXPECT_EQ(last_key_equivalent(), k.entry) << k.entry;
            EXPECT_EQ(osch_ready(), 0) << k.entry;
        }
        setidle(0);                    // a command runs again
        post_key('x', 0, plat::vk_x);  // not in the table: the command reads it
        settle();
        EXPECT_EQ(osch_ready(), 1);
        setidle(1);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(KeyEquivalents, WithoutATableKeysAreHandledAsUsual) {
    reload_key_equivalents(drav::test::scratch_dir() / "none.txt");
    Session s;
    s.then([] {
        settle();
        setidle(0);
        post_key(16, 0, plat::vk_f1);
        settle();
        EXPECT_EQ(last_key_equivalent(), -1);
        EXPECT_EQ(osch_ready(), 1);
        setidle(1);
    });
    EXPECT_EQ(s.run(), 0);
    reload_key_equivalents();
}

namespace {

// Ctrl-Q as the toolkit delivers it: offered to the shortcuts first, then pressed.
void press_ctrl_q() {
    QWidget* content = plat::content_widget(whichdrawWindow());
    EXPECT_FALSE(qt_sendShortcutOverrideEvent(content, 0, Qt::Key_Q, Qt::ControlModifier, QStringLiteral("q"),
                                              false, 1))
        << "a menu shortcut took the key";
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Q, Qt::ControlModifier, QStringLiteral("\x11"));
    QApplication::sendEvent(content, &press);
}

}  // namespace

TEST(KeyEquivalents, AKeyOfBothTheTableAndAMenuShortcutGoesThroughTheTableOnce) {
    reload_key_equivalents(write_table(with_line("0\tf1", "0\tq\tcmd")));
    Session s;
    int queued = 0;
    s.then([&] {
        press_ctrl_q();
        plat::EventRecord r;
        while (plat::event_avail(plat::everyEvent, &r)) {
            ++queued;
            gobbleoskeys(-1);
        }
        EXPECT_EQ(last_key_equivalent(), 0);
    });
    s.then([] {});  // still running: Quit was not chosen
    EXPECT_EQ(s.run(), 0);
    EXPECT_EQ(s.steps_left(), 0u);
    EXPECT_EQ(queued, 1);  // one key record, no menu command beside it
    reload_key_equivalents();
}

TEST(KeyEquivalents, ACtrlKeyOutsideTheTableChoosesItsMenuItem) {
    Session s;
    s.then([] { press_ctrl_q(); }).ends();  // Ctrl-Q quits
    EXPECT_EQ(s.run(), 0);
}
