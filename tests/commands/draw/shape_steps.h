// Steps shared by the tests that drive the shape commands through the
// running program: the tool click, keys, the record count and the stored
// records read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/messages.h"
#include "base/tool_options.h"
#include "commands/draw/draw_frame.h"
#include "display/screen.h"
#include "platform/ui/dialogs.h"
#include "shell/message_palette.h"
#include "shell/tool_palette.h"
#include "store/files.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

namespace drav::shape_test {

// The drawing area is 952 x 675 pixels showing x 0..30 from y 0 upward:
// 100 pixels are 100 * 30 / 952 units.
constexpr double unit = 30.0 / 952.0;
inline double wx(int h) { return h * unit; }
inline double wy(int v) { return (675 - v) * unit; }
inline plat::Point at(int h, int v) { return plat::Point{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)}; }

constexpr double tol = 1e-9;
inline std::int16_t n0 = 0;  // the record count before the test's command

// Record n as stored, with the object in hand put back afterwards.
inline ObjectRec stored(int n) {
    const ObjectRec keep = info;
    const std::int16_t was = prev_index;
    get_info(static_cast<std::int16_t>(n));
    const ObjectRec r = info;
    if (was >= 0) get_info(was);
    info = keep;
    modified = 1;
    EXPECT_TRUE(is_live_object(r)) << "record " << n;
    return r;
}

inline std::string message() {
    char text[80];
    RetrieveCStringMessage(text);
    return text;
}

inline std::string prompt(int n) {
    char text[256];
    GetMyLocalCString(text, tbl_draw_prompts, n);
    return text;
}

// Starts a tool from the tool palette; a script's hit is never a double click.
inline void start(test::Session& s, int tool) {
    s.then([tool] {
        objopts->dblclick_mode = 1;
        units_defs.increment = 0;  // no increment lattice: clicks land on their own pixels
        n0 = number_of_objects;
        plat::post_item_hit(addDPtr, static_cast<std::int16_t>(tool));
    });
}

// A key typed in the drawing window; the poll that reads it may wait once
// more before it does, so the next step waits for that too.
inline void key(test::Session& s, char c) {
    s.key(c);
    s.then([] {});
}

inline void count_is(test::Session& s, int added) {
    s.then([added] { EXPECT_EQ(number_of_objects, n0 + added); });
}

// The program quits at the end of the script; its changes are not saved.
inline void ended(test::Session& s) {
    s.then([] {
        EXPECT_EQ(addnum, tool_select);
        EXPECT_EQ(getidle(), 1);
        EXPECT_EQ(update_info, 0);
    });
}

// The records and the drawing window's pixels, to tell that ESC put the
// drawing back exactly as it was.
struct Snapshot {
    std::int16_t count = 0;
    std::vector<ObjectRec> records;
    std::vector<std::uint32_t> pixels;
};

inline Snapshot snapshot() {
    Snapshot s;
    s.count = number_of_objects;
    const ObjectRec keep = info;
    const std::int16_t was = prev_index;
    // Drawing objects start at record 36.
    for (std::int16_t n = 36; n < number_of_objects; ++n) {
        get_info(n);
        s.records.push_back(info);
    }
    if (was >= 0) get_info(was);
    info = keep;
    modified = 1;
    s.pixels = drawCWindow->pixels();
    return s;
}

inline void same_as(const Snapshot& a, const Snapshot& b) {
    EXPECT_EQ(a.count, b.count);
    ASSERT_EQ(a.records.size(), b.records.size());
    for (std::size_t i = 0; i < a.records.size(); ++i)
        EXPECT_EQ(0, std::memcmp(a.records[i].b, b.records[i].b, sizeof a.records[i].b)) << "record " << i;
    EXPECT_TRUE(a.pixels == b.pixels);
}

// A step that sets the command's options and then takes the drawing as it
// stands; the snapshot is filled when the step runs.
template <class Setup>
inline std::shared_ptr<Snapshot> snapshot_after(test::Session& s, Setup setup) {
    auto before = std::make_shared<Snapshot>();
    s.then([before, setup] {
        setup();
        *before = snapshot();
    });
    return before;
}

// The command has ended and left the drawing exactly as `before`.
inline void ended_as_before(test::Session& s, std::shared_ptr<Snapshot> before) {
    ended(s);
    s.then([before] { same_as(snapshot(), *before); });
}

// The drawing as it stands when the step runs.
inline std::shared_ptr<Snapshot> snapshot_now(test::Session& s) {
    return snapshot_after(s, [] {});
}

// 'Q' ends the command; `added` (unless -1) records of it are still there.
inline void quit_command(test::Session& s, int added = -1) {
    key(s, 'Q');
    if (added >= 0) count_is(s, added);
    ended(s);
}

// A whole earlier command: the tool, its clicks, then 'Q'.
inline void earlier_command(test::Session& s, int tool, std::initializer_list<plat::Point> clicks) {
    start(s, tool);
    for (const plat::Point& p : clicks) s.click(p);
    key(s, 'Q');
}

// A line across the drawing, drawn before the shape whose ESC is tested.
inline void line_across(test::Session& s) { earlier_command(s, tool_line, {at(50, 600), at(900, 100)}); }

// 'U' at the step that asks for a new shape takes back the command's `added`
// records newest first, and never one of an earlier command.
inline void undo_newest_first(test::Session& s, int added) {
    for (int left = added - 1; left >= -1; --left) {
        key(s, 'U');
        count_is(s, left < 0 ? 0 : left);
    }
}

// ESC takes back all `added` records of the command: the drawing is `before`.
inline void esc_takes_back(test::Session& s, int added, std::shared_ptr<Snapshot> before) {
    count_is(s, added);
    key(s, 27);
    count_is(s, 0);
    ended_as_before(s, before);
}

// Runs the script; the drawing it leaves changed is not saved.
inline void run_unsaved(test::Session& s) {
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

}  // namespace drav::shape_test
