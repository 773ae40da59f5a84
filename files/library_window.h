// The symbol library window: the current library as a grid of numbered
// cells kept whole in an off-screen world; a click places that slot's symbol,
// a double click opens its setup, the small box at the bottom left opens the
// placement settings.
#pragma once

#include <cstdint>

#include "platform/core/qd_types.h"
#include "platform/core/raster.h"
#include "platform/ui/windows.h"

namespace drav {

extern std::int16_t symbhnum, symbvnum;  // columns and rows of the current library's grid
extern plat::Rect gridRect;              // the cell area: the port less 15 pixels right and below
extern plat::Rect symbRect;              // the cell last clicked, in window pixels

// What the window asks of the shell: installed at start-up.
struct LibraryWindowHooks {
    int (*isdoubleclick)() = nullptr;
    // Keeps a click for after the running command; 1 when kept.
    int (*postpone)(plat::Window* window, plat::Point* point) = nullptr;
    void (*redraw_tools)() = nullptr;
    // Shows palette n as the Palette menu does.
    void (*palette_menu)(int n) = nullptr;
    // The modal placement settings.
    void (*placement_settings)() = nullptr;
};
void set_library_window_hooks(const LibraryWindowHooks& hooks);

void startup_library();
void open_libwindow(std::int16_t nslots, std::int16_t rows, std::int16_t cols);
void make_lib_grid(std::int16_t nslots);
void redraw_library(plat::Window* window);
void handle_symbol_content(plat::Window* window, plat::Point* point);
void symbolsingleclick(plat::Port* port, plat::Point* point);
void symboldoubleclick(plat::Port* port, plat::Point* point);
void psymboldoubleclick(plat::Port* port, plat::Rect* box);
void size_symb_window(plat::Window* window, int width, int height);
void size_symb_scrolls(plat::Window* window);
void set_symb_scrolls();
void copy_grid_into_window();
// One cell back or forth for an arrow or page area, within the bar's range.
void sScrollAction(plat::Control* control, std::int16_t part);
// Slot n (1-based) under the point and its cell; 1 when n is a slot of the library.
int get_symloc(const plat::Point* point, std::int16_t* n, plat::Rect* cell);
void inv_offsymRect(std::int16_t n);
void getmaxsyms(std::int16_t* n);
void get_sproprect(plat::Rect* box, plat::Port* port);

}  // namespace drav
