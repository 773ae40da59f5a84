#include "tests/support/library_clicks.h"

#include "display/screen.h"
#include "files/library_window.h"
#include "platform/ui/events.h"
#include "platform/ui/windows.h"
#include "store/library_file.h"
#include "tests/support/session.h"

namespace drav::test {

void post_slot_clicks(int n, int times, std::uint16_t modifiers) {
    plat::Window* w = whichsymbWindow();
    const plat::Rect b = plat::window_bounds(w);
    const int r = (n - 1) / symbhnum, c = (n - 1) % symbhnum;
    plat::EventRecord e;
    e.where = plat::Point{static_cast<std::int16_t>(b.top + r * symbwidth + 11),
                          static_cast<std::int16_t>(b.left + c * symbwidth + 11)};
    e.window = w;
    for (int i = 0; i < times; ++i) {
        e.what = plat::mouseDown;
        e.modifiers = modifiers;
        post(e);
        e.what = plat::mouseUp;
        e.modifiers = plat::btnState;
        post(e);
    }
}

}  // namespace drav::test
