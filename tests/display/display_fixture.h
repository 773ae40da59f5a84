// The display opened on a screen of a given size, with the tool options in
// place and the graphics unit in its start state.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/tool_options.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "platform/core/raster.h"

namespace drav::test {

inline void open_display(const char* screen) {
    setenv("DRAVELIN_SCREEN", screen, 1);
    delete objopts;
    objopts = new ObjOptsRec;
    std::int16_t err = -1;
    ASSERT_EQ(opengraphics(&err), 1);
    ASSERT_EQ(err, 0);
    initgunit();
}

// Every pixel different, so that a changed byte anywhere shows.
inline void fill_gradient(plat::Port& p) {
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            p.row(y)[x] = 0xFF000000u | (((x * 37u + y * 101u) * 2654435761u) & 0x00FFFFFFu);
}

inline bool all_white(const plat::Port& p) {
    for (std::uint32_t px : p.pixels())
        if (px != plat::white_pixel) return false;
    return true;
}

// A screen of 200 x 100 pixels: viewport pixel (x, y) is port pixel
// (x, 100 - y) in the window and in the offscreen copy.
class Display : public testing::Test {
protected:
    void SetUp() override { open_display("200x100"); }
    void TearDown() override {
        delete objopts;
        objopts = nullptr;
    }
    static int v(int y) { return 100 - y; }
};

}  // namespace drav::test
