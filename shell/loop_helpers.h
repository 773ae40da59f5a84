// The helpers every command loop is built from: one poll of input at a time
// through get_point, the cursor tracking that feeds each poll, and the save
// and restore of a command's state around a nested one.
#pragma once

namespace drav {

void setup_loop();
// One poll: the clicked point or the cursor point, and the key typed
// (upper-cased) or 0. Never both a click and a key.
int get_point(double* x, double* y, int snapmode);
int read_async();
int look_for(int key);
int key_waiting();
int rd_sync();
// Long operations ask it whether to stop: 1 when an escape was waiting
// among the queued keys (it sets `aborted` too).
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
