// Runs the real program in the test's own process and folder, fed by a
// script: whenever the program waits for input, the next step runs; a step
// queues input or checks the state. When the script ends the program is
// asked to quit.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/qd_types.h"
#include "platform/ui/events.h"

namespace drav::test {

class Session {
public:
    // A fixed screen of 1024 x 768 unless the test set its own.
    Session();

    // A step run when the program next waits.
    Session& then(std::function<void()> step);
    // Input, queued as a person's would be.
    Session& key(char c, std::uint16_t modifiers = 0);
    Session& menu(int menu_id, const char (&code)[5]);
    Session& quit();
    // A click at a point of the drawing window's content (local pixels).
    Session& click(plat::Point local, std::uint16_t modifiers = 0);

    // Runs start-up, the loop and shut-down; the exit status.
    int run(const std::vector<std::string>& args = {});
    // The steps not yet run when the program ended.
    std::size_t steps_left() const { return steps_.size() - next_; }

private:
    std::vector<std::function<void()>> steps_;
    std::size_t next_ = 0;
};

// Queues one record as the toolkit would.
void post(plat::EventRecord r);
// A key in the drawing window: its character, modifiers and key code.
void post_key(char c, std::uint16_t modifiers = 0, std::uint8_t key_code = 0xFF);
// A press and release at a point of the drawing window's content (local pixels).
void post_click(plat::Point local, std::uint16_t modifiers = 0);

}  // namespace drav::test
