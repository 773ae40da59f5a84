#include "shell/dimension_palette.h"

#include "base/command_loop.h"
#include "dialogs/dialog_helpers.h"
#include "display/selection_display.h"
#include "shell/event_pump.h"
#include "shell/tool_palette.h"
#include "store/files.h"
#include "store/record_ops.h"
#include "store/selection_state.h"

namespace drav {

plat::Dialog* dimDPtr = nullptr;
std::int16_t dimnum = 0;
std::int16_t exttype = 0;
std::int16_t marktype = 0;
PaletteCommand dimension_commands[last_dimension + 1] = {};

namespace {

bool valid_item(int item) { return item >= first_dimension && item <= last_dimension; }

ToolIcon g_icons[last_dimension + 1];
bool g_icons_loaded = false;

void fill_dimension(plat::Dialog* dialog, int item) {
    if (!dialog || dialog != dimDPtr || !valid_item(item)) return;
    if (!g_icons_loaded) {
        g_icons_loaded = true;
        for (int i = first_dimension; i <= last_dimension; ++i) g_icons[i] = load_palette_icon("dimension", i, 1);
    }
    draw_icon_square(dialog, item, g_icons[item]);
    if (item == dimnum) invert_item(dialog, item);
}

int run_option_dialog(int item) {
    switch (item) {
    case 2: return lindimsetup();
    case 3: return angdimsetup();
    case 4: return radialdimsetup();
    case 5: return datumdimsetup();
    default: return 1;  // no dialog counts as OK
    }
}

}  // namespace

bool dimension_built(int item) { return valid_item(item) && dimension_commands[item] != nullptr; }

void sett_dimension() {
    toggle_command_palette(CommandPalette{&dimDPtr, dimension_palette_id, dimension_palette_pos, four_cc("PLdm"),
                                          first_dimension, last_dimension, 3, dimension_built, fill_dimension});
}

void dodimension(int item) {
    if (!valid_item(item)) return;
    if (isdoubleclick()) {
        dimension_doubleclick(item);
        return;
    }
    if (!dimension_built(item)) return;
    if (!postpone_event(pp_dimension, static_cast<std::int16_t>(item))) dimension_singleclick(item);
}

void dimension_singleclick(int item) {
    if (!dimension_built(item)) return;
    dimnum = static_cast<std::int16_t>(item);
    quit = aborted = 0;
    redraw_tool_palette();
    redraw_palette(dimDPtr);
    if (!macgroup) showonoff(indx, 0);
    dimension_commands[item](item);
    dimnum = 0;
    redraw_palette(dimDPtr);
    redraw_tool_palette();
    if (!macgroup) showonoff(indx, 1);
}

void dimension_doubleclick(int item) {
    const std::int16_t saved = dimnum;
    quit = aborted = 0;
    dimnum = static_cast<std::int16_t>(item);
    redraw_palette(dimDPtr);
    const bool cancelled = run_option_dialog(item) == 0;
    aborted = 0;
    dimnum = saved;
    redraw_palette(dimDPtr);
    // OK while the same command runs only changes its settings.
    if (cancelled || saved == item || !dimension_built(item)) return;
    if (!postpone_event(pp_dimension, static_cast<std::int16_t>(item))) dimension_singleclick(item);
}

}  // namespace drav
