// The library catalog: a grid of the current library's slots drawn into the
// drawing (frame, grid lines, cell numbers, each valid symbol scaled into
// its cell, the library's name above), recorded at the same time as a
// picture of one pixel per drawing unit that becomes the library's catalog
// picture, and a plot specification "overlay" that frames it.
#pragma once

#include <cstdint>

#include "dialogs/dialog_helpers.h"
#include "platform/ui/events.h"

namespace drav {

constexpr int overlay_dialog = 455;   // rows, columns and what to draw
constexpr int progress_dialog = 633;  // its item 2 is the bar
constexpr std::int16_t catalog_picture_id = 1;

extern std::int16_t librows, libcols;  // the grid chosen
// What the catalog draws besides the grid; all 1 when the dialog opens.
extern std::int16_t doing_text, doing_symbs, doing_title;
// The grid's world rectangle: from (libinitx, libinity), libdelx wide and
// libdely high, 23 drawing units a cell.
extern double libinitx, libinity, libdelx, libdely;
extern DialogPtr progDPtr;  // the progress dialog while it is up
extern double percent;      // done, 0 to 1

// The whole operation for the current library: the dialog, the grid size
// written into the library, the catalog. `aborted` set when the library
// cannot be opened or the dialog is cancelled.
void lib_overlay();
// Dialog 455: 1 on OK (librows, libcols and the three flags set), 0 on
// Cancel. Rows run from 2 to 1000 / columns, columns from 3 to 1000 / rows.
int libovlparams();
// Draws the catalog, stores its picture as 'PICT' 1 "overlay" in the
// library's companion and the plot specification. An overlay cut short
// (`quit` or `aborted`) leaves no record of its own and no user count.
void do_overlay();
// Lower-left corner of slot `slot` (0-based, row by row from the top left).
void cell_location(std::int16_t slot, double* x, double* y);
// The plot specification "overlay" in slots 7 to 35: the one there, else
// the first empty slot, else none.
void create_plot_spec();

void doprogress(std::int16_t done, std::int16_t total);
// The bar of the progress dialog: item 2 painted to `percent` of its width.
void prcntofrect(DialogPtr dialog, int item);

// The program's modal filter for the dialog, lent by the shell.
using OverlayFilter = bool (*)(DialogPtr, plat::EventRecord*, std::int16_t*);
void set_overlay_filter(OverlayFilter filter);

}  // namespace drav
