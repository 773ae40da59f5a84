// The helpers every command loop is built from: one poll of input at a time
// through get_point, the flags that end or advance the loop, the cursor
// tracking that feeds each poll, and the save and restore of a command's
// state around a nested one.
#pragma once

#include <cstdint>

namespace drav {

extern std::uint16_t quit;      // end the running command
extern std::uint16_t aborted;   // ESC: undo what the command added
extern std::uint16_t accepted;  // the last get_point returned a click
extern std::uint16_t touched;   // a click was registered in this poll

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
void setup_loop();
// One poll: the clicked point or the cursor point, and the key typed
// (upper-cased) or 0. Never both a click and a key.
int get_point(double* x, double* y, int snapmode);
int read_async();
int look_for(int key);
int key_waiting();
int rd_sync();
// Long operations ask it whether to stop; they always run to the end.
int esc_scan();
void update_cursor();
void button_pressed();
void viewclip(double* x, double* y);
void update_status_line();
void save_params();
void rstore_params(int reload, int restore_ref);
// The yes/cancel question with entry n of table 405; true for yes.
int are_you_sure(int n);

}  // namespace drav
