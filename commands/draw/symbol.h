// Placing symbols of a library: the picked symbol is brought into the work
// library, a reference to it is built as the options ask, and each click
// places one copy with its handle point at the cursor.
#pragma once

#include <cstdint>

#include "base/tool_options.h"
#include "store/records.h"
#include "store/settings.h"

namespace drav {

constexpr int tool_symbol = 14;  // add_objects' code for a placement from the library window


extern std::int16_t symcount;     // symbols placed by the running command

// ---- Preparation ----
// Takes the pick the library window left waiting; *found = 1 when its number
// lies within its library's slots.
void direct_symbol(int* found);
// 1 when the picked symbol is in the work library, copied there if needed.
int locate_symbol();
int copy_from_library();
// Builds the reference in `info`; (hx, hy) is the handle in the symbol's own
// frame, given back changed when a new one was clicked.
void init_symbol_info(double* hx, double* hy, int use_lock);
void setsymprops(int clear);
void p_factor(double sx, double sy);
void define_new_handle(double* x, double* y);
// The world window w less two pixels of the drawing area on every side.
void inset_win(const WindowRec& w, WindowRec* r);
// The factor and lower-left corner that fit extents w x h into the current
// window less two pixels a side: by height when they are taller than the
// window's shape, else by width, centred the other way. No size: factor 1.
void fit_in_window(double w, double h, double* s, double* x, double* y);
// A one-shot object snap taken while a handle was picked gives way to the
// snap mode set before it.
void end_handle_snap();

// ---- Placement ----
void add_symbol(ObjOptsRec& opts);
void get_key_options(int key);
void erase_symbol();
void erase_all_symbols();
void del_last_sym();

}  // namespace drav
