// The real program opens a drawing named on its command line and shows it,
// placed symbols drawn through their pieces.
#include <gtest/gtest.h>

#include <cmath>

#include "display/graphics_unit.h"
#include "display/screen.h"
#include "platform/core/raster.h"
#include "platform/ui/windows.h"
#include "store/current_drawing.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"
#include "tests/support/drawing_file.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

namespace drav::test {
namespace {

// Some pixel within one of world (x, y) in the window is not white.
bool inked_near(double x, double y) {
    world_screen(&x, &y);
    const plat::Port* p = plat::window_port(whichdrawWindow());
    const int px = static_cast<int>(std::lround(x)), py = qdviewport.height - static_cast<int>(std::lround(y));
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int qx = px + dx, qy = py + dy;
            if (qx >= 0 && qy >= 0 && qx < p->width() && qy < p->height() && p->pixel(qx, qy) != plat::white_pixel)
                return true;
        }
    return false;
}

void opens_and_shows(bool pc, const char* name) {
    DrawingFile d;
    d.pc = pc;
    d.default_settings(3);
    d.objects.push_back(line_record(2, 2, 6, 0));
    d.objects.push_back(symbol_ref(0, 15, 10));
    const int ctrl = d.add_symbol("LIB", 1, {line_record(0, 0, 4, 0), line_record(0, 0, 0, 3)}, 3);
    set_rec_i16(d.objects.back(), sym::ctrl, static_cast<std::int16_t>(ctrl));
    const auto path = scratch_dir() / name;
    d.write(path);

    bool checked = false;
    Session s;
    // A PC drawing counts as changed once it is read: the quit asks; No.
    if (pc) answers().expect("Save the changes", 3);
    s.then([&] {
        checked = true;
        EXPECT_EQ(number_of_objects, 38);
        get_info(37);
        EXPECT_EQ(obj_kind(info), ok_symbol);
        EXPECT_EQ(rec_i16(info, sym::ctrl), 4);
        EXPECT_STREQ(current_drawing.name, name);
        EXPECT_EQ(plat::window_title(whichdrawWindow()), name);
        EXPECT_TRUE(inked_near(5, 2));      // the line
        EXPECT_TRUE(inked_near(17, 10));    // the symbol's first piece
        EXPECT_TRUE(inked_near(15, 12));    // and its second
        EXPECT_FALSE(inked_near(20, 14));   // nothing there
        EXPECT_FALSE(inked_near(17, 13));
    });
    EXPECT_EQ(s.run({path.string()}), 0);
    EXPECT_TRUE(checked);
}

TEST(OpenFromCommandLine, ANativeDrawingOpensAndShows) { opens_and_shows(false, "plan.drw"); }

TEST(OpenFromCommandLine, APcDrawingNamedDotTwoDOpensAndShows) { opens_and_shows(true, "plan.2d"); }

}  // namespace
}  // namespace drav::test
