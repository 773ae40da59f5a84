#include "tests/support/session.h"

#include <algorithm>

#include <gtest/gtest.h>

#include <cstdlib>

#include "dialogs/restraint_windows.h"
#include "display/clipboard_window.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "platform/core/clock.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/events.h"
#include "platform/ui/menus.h"
#include "platform/ui/windows.h"
#include "shell/construct_palette.h"
#include "shell/coordinate_palette.h"
#include "shell/dialog_filters.h"
#include "shell/dimension_palette.h"
#include "shell/event_pump.h"
#include "shell/input_window.h"
#include "shell/marquee.h"
#include "shell/message_palette.h"
#include "shell/multi_line_palette.h"
#include "shell/program.h"
#include "shell/restraints_palette.h"
#include "shell/select_accept.h"
#include "shell/tool_palette.h"
#include "store/files.h"
#include "store/object_snap.h"
#include "store/record_store.h"
#include "store/symbol_library.h"
#include "tests/support/harness.h"

namespace drav::test {

Session::Session() { setenv("DRAVELIN_SCREEN", "1024x768", 0); }

void start_clean() {
    // The program's windows and palettes outlive a run that ended by a
    // caught exit; in a process of its own a test would find none. The
    // program makes them again where it finds none.
    for (plat::Dialog* d : plat::dialog_list()) plat::dispose_dialog(d);
    for (plat::Window* w : plat::window_list()) plat::dispose_window(w);
    drawCWindow = nullptr;
    horizHdl = vertHdl = nullptr;
    windSymbols = nullptr;
    svertHdl = shorizHdl = nullptr;
    clipCWindow = nullptr;
    chorizHdl = cvertHdl = nullptr;
    windMessage = nullptr;
    addDPtr = locDPtr = constDPtr = dimDPtr = mlinDPtr = coorDPtr = nullptr;
    windInput = windAccept = windAddRemove = windGrid = nullptr;
    // The restraints palette shows these; start-up leaves them as a new process has them.
    locknum = lock_free_item;
    snapnum = snap_increment_item;
    forget_postponed();
    // No palette command runs: the tool palette shows its current tool.
    constnum = dimnum = 0;
    insymbsingle = 0;
    // Nothing is shown highlighted yet.
    currentitem = 0;
    // No markers either: erasing an earlier run's would wipe out a piece of this drawing.
    handRect = pivotRect = plat::Rect{};
    wasDown = 0;
    // No marquee runs.
    selectionRect = plat::Rect{};
    ants_alive = antmode = 0;
    lastant = 0;
    curpattern = 0;
    aPattern = plat::black_pattern;
    // The drawing of a run answered No to saving is no one's to save.
    needtosave = 0;
}

Session& Session::then(std::function<void()> step) {
    steps_.push_back(std::move(step));
    return *this;
}

void post(plat::EventRecord r) {
    r.when = plat::ticks();
    plat::post_event(std::move(r));
}

void post_key(char c, std::uint16_t modifiers, std::uint8_t key_code) {
    plat::EventRecord r;
    r.what = plat::keyDown;
    r.message = static_cast<std::uint32_t>(key_code) << 8 | static_cast<std::uint8_t>(c);
    r.modifiers = static_cast<std::uint16_t>(modifiers | plat::btnState);
    r.window = whichdrawWindow();
    post(std::move(r));
}

void post_click(plat::Point local, std::uint16_t modifiers) {
    plat::Window* w = whichdrawWindow();
    const plat::Rect b = plat::window_bounds(w);
    plat::EventRecord r;
    r.what = plat::mouseDown;
    r.where = plat::Point{static_cast<std::int16_t>(b.top + local.v), static_cast<std::int16_t>(b.left + local.h)};
    r.modifiers = modifiers;
    r.window = w;
    post(r);
    r.what = plat::mouseUp;
    r.modifiers = static_cast<std::uint16_t>(modifiers | plat::btnState);
    post(r);
}

Session& Session::key(char c, std::uint16_t modifiers) {
    return then([c, modifiers] { post_key(c, modifiers); });
}

Session& Session::menu(int menu_id, const char (&code)[5]) {
    const std::uint32_t c = four_cc(code);
    return then([menu_id, c] { EXPECT_TRUE(plat::choose_menu_item(menu_id, c)) << "menu item not available"; });
}

Session& Session::quit() {
    return then([] {
        plat::EventRecord r;
        r.what = plat::kHighLevelEvent;
        r.message = plat::ae_quit;
        post(std::move(r));
    });
}

Session& Session::click(plat::Point local, std::uint16_t modifiers) {
    return then([local, modifiers] { post_click(local, modifiers); });
}

Session& Session::ends() {
    ends_at_ = steps_.size();
    return *this;
}

void quit_without_saving(Session& s) {
    s.then([] { answers().expect("Save the changes", 3); });
}

namespace {

plat::Dialog* front() {
    plat::Dialog* d = plat::front_dialog();
    EXPECT_NE(d, nullptr) << "no dialog is on screen";
    return d;
}

}  // namespace

Session& Session::type(int item, std::string utf8) {
    return then([item, utf8] {
        plat::Dialog* d = front();
        if (!d) return;
        plat::DItem* it = plat::dialog_item(d, item);
        EXPECT_EQ(plat::item_kind(it), plat::ItemKind::edit_text) << "item " << item << " is no text field";
        plat::set_item_text(it, utf8);
    });
}

Session& Session::hit(int item) {
    return then([item] {
        if (plat::Dialog* d = front()) plat::post_item_hit(d, item);
    });
}

Session& Session::choose(int item, int entry) {
    return then([item, entry] {
        plat::Dialog* d = front();
        if (!d) return;
        plat::DItem* it = plat::dialog_item(d, item);
        EXPECT_TRUE(entry >= 1 && entry <= plat::entry_count(it)) << "item " << item << " has no entry " << entry;
        plat::post_choice(it, entry);
    });
}

Session& Session::press(const char (&command)[5]) {
    const std::uint32_t c = four_cc(command);
    return then([c] {
        plat::Dialog* d = front();
        if (!d) return;
        EXPECT_NE(plat::command_control(d, c), nullptr) << "no control sends this command";
        plat::post_command(d, c);
    });
}

void Session::feed() {
    bool went_on = false;
    plat::set_feeder([this, went_on]() mutable {
        if (next_ == ends_at_ && !went_on) {
            went_on = true;
            ADD_FAILURE() << "the program asked for input after step " << next_ << ", where it should have ended";
        }
        if (next_ >= steps_.size()) return false;
        steps_[next_++]();
        return true;
    });
}

void Session::check_all_ran() const {
    EXPECT_EQ(next_, std::min(ends_at_, steps_.size()))
        << "script steps never ran: it ended after step " << next_ << " of " << steps_.size();
}

void Session::drive(const std::function<void()>& body) {
    feed();
    body();
    plat::set_feeder(nullptr);
    plat::flush_events(plat::highLevelEventMask);
    check_all_ran();
}

int Session::run(const std::vector<std::string>& args) {
    std::vector<std::string> words{"dravelin"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());
    // A signal seen by an earlier session of this process is not this one's.
    plat::clear_termination_request();
    start_clean();
    feed();
    const std::optional<int> status = exit_status_of([&] { run_program(argc, argv.data()); });
    plat::set_feeder(nullptr);
    EXPECT_TRUE(status.has_value()) << "the program returned instead of exiting";
    check_all_ran();
    return status.value_or(-999);
}

}  // namespace drav::test
