#include "shell/pointer_input.h"

#include "base/command_loop.h"
#include "display/graphics_unit.h"

namespace drav {

double mselx = 0, msely = 0;
std::uint16_t mselz = 0;
std::int16_t digitizer_mode = 0;

void update_mouse(double h, double v, int button) {
    if (mselz) return;
    mselx = h;
    msely = v;
    mselz = static_cast<std::uint16_t>(button);
}

void read_mouse(double* x, double* y, std::uint16_t* button) {
    // No tablet driver exists, so digitizer mode has no source of points.
    double px = mselx + viewport.xl;
    double py = ydots - msely + viewport.yb;
    screen_world(&px, &py);
    *x = px;
    *y = py;
    *button = mselz;
    mselz = 0;
}

void reset_input() { mselz = 0; }

}  // namespace drav
