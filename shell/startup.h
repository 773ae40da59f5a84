// Start-up: from an empty process to the first, empty drawing on screen.
#pragma once

#include <cstdint>

#include "platform/core/qd_types.h"
#include "store/files.h"

namespace drav {

// The program's data folder; the workfile and scratch files live there.
extern FSRef UserAppSupportFSRef;

// The environment block of 44 bytes; its 16-bit word at byte 42 holds the
// grid colour index.
constexpr int genenv_bytes = 44;
constexpr int genenv_grid_colour = 42;
extern std::uint8_t* genenv;
std::int16_t grid_colour();
void set_grid_colour(std::int16_t colour);

// Five names of 41 bytes: two scratch files, the hatch scratch file.
constexpr int dfilenames_bytes = 206;
constexpr int dfilename_size = 41;
extern char* dfilenames;
// The folder of the program (its data folder here) and of its scratch files.
extern std::int16_t ourvrefnum, workvrefnum;
extern std::int32_t ourDirID, workDirID;
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

// The way out when start-up cannot go on: ends the process with status -1.
[[noreturn]] void initexit();

}  // namespace drav
