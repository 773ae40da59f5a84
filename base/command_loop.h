// The flags that end or advance a command's loop, and the pointer state
// every poll reads and writes.
#pragma once

#include <cstdint>

namespace drav {

extern std::uint16_t quit;      // end the running command
extern std::uint16_t aborted;   // ESC: undo what the command added
extern std::uint16_t accepted;  // the last get_point returned a click
extern std::uint16_t touched;   // a click was registered in this poll
extern std::int16_t addnum;     // the current tool; 2 (select) between commands

extern double last_x, last_y;        // cursor point after snapping, world
extern double keybrd_x, keybrd_y;    // keyboard cursor, world
extern double zpos_x, zpos_y;        // point of the last registered click
extern double ref_x, ref_y;          // reference point of relative input (update_ref)
extern double abs_x, abs_y;          // raw pointer from read_mouse
extern std::uint16_t abs_z;          // the button went down
extern std::uint16_t whatbutt;       // button of the last registered click
extern std::uint16_t coord_avail;    // a click was registered in this poll: no key is read
extern std::uint16_t bell_allowed;   // no click registered yet in this poll
extern std::uint16_t snap_on;        // snapping applies to the cursor in this poll
extern std::int16_t prevsnapmode;    // the snap mode a one-shot object snap returns to

// Sets the reference point of relative input.
void update_ref(double x, double y);

// What the shell's command loop does for the floors below it; the shell
// installs it at start-up, and before that these do nothing.
struct CommandLoopHooks {
    void (*blink_off)() = nullptr;  // the object in hand stops blinking
    int (*take_undo)() = nullptr;   // 1 when the running command took 'U' as its own
    int (*pump)(std::uint16_t mask) = nullptr;  // one pass of the event pump; 1 when it took an event
    void (*status_line)() = nullptr;            // the cursor-position readout follows
    void (*tool_click)(int item) = nullptr;     // a click on item `item` of the tool palette
};
void set_command_loop_hooks(const CommandLoopHooks& hooks);
void loop_blink_off();
int loop_takes_undo();
int loop_pump(std::uint16_t mask);
void loop_status_line();
void loop_tool_click(int item);

}  // namespace drav
