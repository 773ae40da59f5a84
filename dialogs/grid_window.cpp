// "Grid setup": the grid's spacings, display divisors and visibility. The
// window is modeless: it stays open while the user goes on drawing.
#include "base/window_areas.h"
#include "dialogs/edit_fields.h"
#include "dialogs/modeless_windows.h"
#include "dialogs/restraint_windows.h"
#include "dialogs/settings_window.h"
#include "display/graphics_unit.h"
#include "display/grid.h"
#include "store/geometry.h"
#include "store/parse.h"

namespace drav {

DialogPtr windGrid = nullptr;

namespace {

constexpr int x_spacing_field = 3, x_divisor_field = 4, y_spacing_field = 5, y_divisor_field = 6, shown_box = 7;

void SetInitialGridValues(DialogPtr window) {
    SetRealValueInEditTextControl(control0(window, x_spacing_field), grid_data.x_spacing, unit_length);
    SetRealValueInEditTextControl(control0(window, y_spacing_field), grid_data.y_spacing, unit_length);
    SetIntegerValueInEditTextControl(control0(window, x_divisor_field), grid_data.x_divisor);
    SetIntegerValueInEditTextControl(control0(window, y_divisor_field), grid_data.y_divisor);
    plat::set_item_value(control0(window, shown_box), (swaper & sw_grid) ? 1 : 0);
    for (int id = x_spacing_field; id <= y_divisor_field; ++id) install_key_filter(control0(window, id), FilterRealValues);
}

void HarvestGridValues(DialogPtr window) {
    GridRec work = grid_data;
    double xs = 0, ys = 0;
    std::int16_t xd = 0, yd = 0, shown = 0;
    GetRealValueFromEditTextControl(control0(window, x_spacing_field), &xs, 0.0, bigrnum, unit_length);
    GetRealValueFromEditTextControl(control0(window, y_spacing_field), &ys, 0.0, bigrnum, unit_length);
    GetIntegerValueFromEditTextControl(control0(window, x_divisor_field), &xd, 0, 32767);
    GetIntegerValueFromEditTextControl(control0(window, y_divisor_field), &yd, 0, 32767);
    GetValueFromCheckBoxControl(control0(window, shown_box), &shown);
    const bool was_shown = (swaper & sw_grid) != 0;
    if (xs == grid_data.x_spacing && ys == grid_data.y_spacing && xd == grid_data.x_divisor &&
        yd == grid_data.y_divisor && (shown != 0) == was_shown)
        return;
    if (shown)
        swaper = static_cast<std::uint16_t>(swaper | sw_grid);
    else
        swaper = static_cast<std::uint16_t>(swaper & ~sw_grid);
    work.x_spacing = xs;
    work.y_spacing = ys;
    work.x_divisor = xd;
    work.y_divisor = yd;
    UpdateGridValues(&work);
}

bool GridEventHandlerProc(DialogPtr window, std::uint32_t command) {
    if (command != cmd_ok && command != cmd_cancel) return false;
    if (command == cmd_ok) HarvestGridValues(window);
    ourdisposdialog1(window);
    if (windGrid == window) windGrid = nullptr;
    return true;
}

}  // namespace

void UpdateGridValues(GridRec* grid) {
    if (grid->x_spacing > 0) {
        if (grid->x_divisor < 1) grid->x_divisor = 1;
        if (grid->y_spacing > 0) {
            if (grid->y_divisor < 1) grid->y_divisor = 1;
        } else {
            grid->y_spacing = grid->x_spacing;
            grid->y_divisor = grid->x_divisor;
        }
    }
    grid->x_direction = half_pie;
    grid->y_direction = 0;
    cur_stop();
    // The old grid is taken away before the new one is laid.
    draw_grids(2);
    grid_data = *grid;
    if (swaper & sw_grid) draw_grids(1);
    drawing_area_valid(0);
    cur_go();
}

int ShowGridWindow() {
    // One grid window at a time: a second double click brings it forward.
    if (windGrid && plat::dialog_alive(windGrid)) {
        plat::show_dialog(windGrid);
        return 0;
    }
    windGrid = nullptr;
    DialogPtr window = nullptr;
    const int status = CreateNibWindow("drav", "Grid setup", &window);
    if (status != 0) return status;
    windGrid = window;
    install_window_handler(window, GridEventHandlerProc);
    SetInitialGridValues(window);
    place_over_drawing_window(window);
    plat::show_dialog(window);
    return 0;
}

}  // namespace drav
