// Start-up: from an empty process to the first, empty drawing on screen.
#pragma once

#include <cstdint>

#include "base/paths.h"
#include "platform/core/qd_types.h"
#include "store/files.h"

namespace drav {

// Window positions from the preferences, "StatusPos" to "WindPosMessages".
constexpr int lastpnt_count = 13;
extern plat::Point lastpnt[lastpnt_count];
constexpr int lastpnt_messages = 12;  // the message palette

// The whole start-up; a failure it cannot survive ends the process.
void init_system();
void get_enviro();
void initenv();
void opendisplay();
void openinpdevice();
void open_data_files();
// The palette opens when visible; a place off the desktop becomes (0, 0).
int usewindow(std::int16_t visible, plat::Point* position, plat::Point lower_right);
void check_sizes();
// The place of the drawing window: the stored rectangle when it meets the
// screen, else the default frame inside it.
plat::Rect drawing_window_frame(const plat::Rect& stored, const plat::Rect& screen);
// Lets the data folder go (at exit).
void release_data_folder();

// What an exit releases before the process ends: the store flushed, the
// scratch files, buffers, windows and the data folder. Installed as the
// closing work of `exit_program`.
void close_down(int abnormal);

// Installs everything the lower floors reach up through: called by
// `run_program`, and by test mains that run no start-up.
void install_floor_hooks();

// The way out when start-up cannot go on: ends the process with status -1.
[[noreturn]] void initexit();

}  // namespace drav
