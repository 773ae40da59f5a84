#include "display/pan_canvas.h"

#include "display/display_list.h"

#include "display/drawing_window.h"

namespace drav {

std::int32_t leftzoomlimit = -16367, rightzoomlimit = 16367;
std::int32_t topzoomlimit = -16367, bottomzoomlimit = 16367;
// As the display list's start copies them from the limits.
std::int16_t mzxl = -16367, mzxr = 16367, mzyb = -16367, mzyt = 16367;
std::int32_t mzdx = 32734;

WindowRec pancur_win{};
WindowRec clpcur_win{};
double pwvxm = 1, pwvxa = 0, pwvym = 1, pwvya = 0;
double pvwxm = 1, pvwxa = 0, pvwym = 1, pvwya = 0;

ViewportRec panvp{};
std::int16_t pandx = 0, pandy = 0;
std::int16_t zoom = 0, oldzoom = 0, zoomround = 0;

void _changelist() {
    ++list_edits;
    panvp = qdviewport;
    pandx = static_cast<std::int16_t>(-panvp.xl);
    pandy = static_cast<std::int16_t>(-panvp.yb);

    // The current window widened to the screen at the same scale, keeping
    // its top-left corner.
    const double rx = static_cast<double>(qdviewport.width) / viewport.width;
    const double ry = static_cast<double>(qdviewport.height) / viewport.height;
    pancur_win.xl = cur_win.xl;
    pancur_win.xr = cur_win.xl + rx * (cur_win.xr - cur_win.xl);
    pancur_win.yt = cur_win.yt;
    pancur_win.yb = cur_win.yt - ry * (cur_win.yt - cur_win.yb);

    const WindowRec& p = pancur_win;
    const double qx = qdviewport.xl, qy = qdviewport.yb;
    const double qw = qdviewport.width, qh = qdviewport.height;
    pwvxm = qw / (p.xr - p.xl);
    pwvym = qh / (p.yt - p.yb);
    pvwxm = (p.xr - p.xl) / qw;
    pvwym = (p.yt - p.yb) / qh;
    pwvxa = qx - p.xl * pwvxm;
    pwvya = qy - p.yb * pwvym;
    pvwxa = p.xl - qx * pvwxm;
    pvwya = p.yb - qy * pvwym;

    zoom = oldzoom = zoomround = 0;

    double x1 = mzxl, y1 = mzyb, x2 = mzxr, y2 = mzyt;
    pscreen_world(&x1, &y1);
    pscreen_world(&x2, &y2);
    clpcur_win = {x1, x2, y1, y2};
    set_drawing_scroll_value();
}

}  // namespace drav
