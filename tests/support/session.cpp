#include "tests/support/session.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "display/screen.h"
#include "platform/core/clock.h"
#include "platform/ui/events.h"
#include "platform/ui/menus.h"
#include "platform/ui/windows.h"
#include "shell/program.h"
#include "store/files.h"
#include "tests/support/harness.h"

namespace drav::test {

Session::Session() { setenv("DRAVELIN_SCREEN", "1024x768", 0); }

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

int Session::run(const std::vector<std::string>& args) {
    std::vector<std::string> words{"dravelin"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());
    plat::set_feeder([this] {
        if (next_ >= steps_.size()) return false;
        steps_[next_++]();
        return true;
    });
    const std::optional<int> status = exit_status_of([&] { run_program(argc, argv.data()); });
    plat::set_feeder(nullptr);
    EXPECT_TRUE(status.has_value()) << "the program returned instead of exiting";
    return status.value_or(-999);
}

}  // namespace drav::test
