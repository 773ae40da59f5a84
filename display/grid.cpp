#include "display/grid.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "base/paths.h"
#include "base/window_areas.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "store/geometry.h"
#include "store/settings.h"

namespace drav {

namespace {

constexpr std::int32_t unusable = INT32_MIN;

}  // namespace

void draw_grids(std::int16_t mode) {
    setvalidrect(whichdrawWindow(), drawRect, 1);
    setdrawpat(0);
    if (number_of_objects <= first_object_slot && mode == mode_erase) {
        cleargraphics();
        return;
    }
    const double xs = grid_data.x_spacing, ys = grid_data.y_spacing;
    if (!(xs > 0) || !(ys > 0) || !myCGrafPtr || viewport.width <= 0 || viewport.height <= 0)
        return;
    // A divisor below 1 (a damaged settings record) would divide the step by
    // nothing: no finer dots.
    int nx = std::max<int>(grid_data.x_divisor, 1);
    int ny = std::max<int>(grid_data.y_divisor, 1);
    double px, py;
    rel_world_screen(xs, ys, &px, &py);
    if (!(px >= 4) || !(py >= 4)) return;
    if (px < 2 * nx || py < 2 * ny) nx = ny = 1;

    double ox = 0, oy = 0;
    if (swaper & sw_grid_from_origin) {
        const double ux = misc_defs.user_origin_x, uy = misc_defs.user_origin_y;
        ox = xs - (ux - std::trunc(ux / xs) * xs);
        oy = ys - (uy - std::trunc(uy / ys) * ys);
    }

    // The whole offscreen copy, whose top-left corner is the drawing area's.
    const double xl = cur_win.xl;
    const double xr = xl + (double(qdviewport.width) / viewport.width) * (cur_win.xr - cur_win.xl);
    const double yt = cur_win.yt;
    const double yb = yt - (double(qdviewport.height) / viewport.height) * (cur_win.yt - cur_win.yb);

    // Positions are counted from the first line rather than summed, so a step
    // too small for the coordinates' precision cannot stall the loops.
    std::int32_t columns[grid_max_columns];
    const double xstep = xs / nx;
    const double xfirst = (xl - fpmod(xl, xs)) - ox;
    int ncolumns = 0;
    for (; ncolumns < grid_max_columns; ++ncolumns) {
        const double x = xfirst + ncolumns * xstep;
        if (x > xr) break;
        const std::int32_t p = trunc_i32(wvxm * x + wvxa + 0.5);
        columns[ncolumns] = p >= qdviewport.xl && p <= qdviewport.xr ? p : unusable;
    }

    plat::Port& port = *myCGrafPtr;
    setlstyle(solidstyle);
    setscreencolor(grid_colour());
    setdrawmode(mode);
    const double ystep = ys / ny;
    const double yfirst = (yb - fpmod(yb, ys)) - oy;
    // Rows on screen are at least 2 pixels apart, and the first lies within
    // three grid steps below the area; more rows than that can only come
    // from coordinates too large for the step to show.
    const long max_rows = qdviewport.height / 2 + 3L * ny + 3;
    for (long row = 0; row < max_rows; ++row) {
        const double y = yfirst + row * ystep;
        if (y > yt) break;
        const std::int32_t p = trunc_i32(wvym * y + wvya + 0.5);
        if (p < qdviewport.yb || p > qdviewport.yt) continue;
        const auto v = static_cast<std::int16_t>(qdviewport.height - p);
        const int every = row % ny == 0 ? 1 : nx;
        for (int c = 0; c < ncolumns; c += every) {
            if (columns[c] == unusable || columns[c] <= 0) continue;
            const auto h = static_cast<std::int16_t>(columns[c]);
            port.move_to(h, v);
            port.line_to(h, v);
        }
    }
}

void center_marker(double x, double y, std::int16_t mode) {
    setscreencolor(whitecolor);
    setlstyle(solidstyle);
    setdrawmode(mode);
    double d, unused;
    rel_screen_world(2, 0, &d, &unused);
    move_abs(x - d, y);
    line_abs(x + d, y);
    move_abs(x, y - d);
    line_abs(x, y + d);
}

void stop_show_go(std::int16_t mode, const ObjectRec* rec) {
    cur_stop();
    show(mode, rec);
    cur_go();
}

}  // namespace drav
