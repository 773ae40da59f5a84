// Runs the real program in the test's own process and folder, fed by a
// script: whenever the program waits for input, the next step runs; a step
// queues input or checks the state. When the script ends the program is
// asked to quit. A step that never ran fails the test.
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
    // The program ends during the step before this point: asking for
    // another step after it fails the test, as would a step it never ran.
    Session& ends();

    // Input to the front dialog, as the modal loop asks for it: a field's
    // text set, an item hit, a pop-up or list entry chosen (from 1), a nib
    // window's button that sends `command` pressed. A step with no dialog
    // on screen fails the test.
    Session& type(int item, std::string utf8);
    Session& hit(int item);
    Session& choose(int item, int entry);
    Session& press(const char (&command)[5]);

    // Runs `body` (which opens and runs dialogs) with this script feeding
    // its waits, without starting the program. When the script runs out
    // the open dialog is cancelled; the quit that cancels it is dropped.
    // As with run, a step never reached fails the test.
    void drive(const std::function<void()>& body);

    // Runs start-up, the loop and shut-down; the exit status.
    int run(const std::vector<std::string>& args = {});
    // The steps not yet run when the program ended.
    std::size_t steps_left() const { return steps_.size() - next_; }

private:
    // The script feeds the program's waits; asking past ends() fails.
    void feed();
    // Every step up to ends() (or every step) ran.
    void check_all_ran() const;

    std::vector<std::function<void()>> steps_;
    std::size_t next_ = 0;
    static constexpr std::size_t no_end = static_cast<std::size_t>(-1);
    std::size_t ends_at_ = no_end;
};

// The last step: the quit that follows the script finds the drawing changed
// and asks to save it; the answer is No.
void quit_without_saving(Session& s);

// Leaves no window, palette or dialog of an earlier run or test in the
// process: every test, and every run, starts as a process of its own would.
void start_clean();

// Queues one record as the toolkit would.
void post(plat::EventRecord r);
// A key in the drawing window: its character, modifiers and key code.
void post_key(char c, std::uint16_t modifiers = 0, std::uint8_t key_code = 0xFF);
// A press and release at a point of the drawing window's content (local pixels).
void post_click(plat::Point local, std::uint16_t modifiers = 0);

}  // namespace drav::test
