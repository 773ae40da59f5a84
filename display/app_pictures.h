// The program's own small pictures (the window strip 408, the library
// window's settings box 424): plain PBM files of data/ui/icons, each with a
// twice-as-fine twin for screens of two pixels per point.
#pragma once

#include <string>
#include <vector>

#include "platform/core/raster.h"

namespace drav {

// A plain PBM picture of data/ui/icons of exactly width x height pixels;
// empty (width 0) when missing or malformed.
struct MonoImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> bits;  // row by row, 1 ink
};
MonoImage load_mono_image(const std::string& name, int width, int height);

struct AppPicture {
    MonoImage one, two;  // 1x, and 2x for sharper screens (may be empty)
};

// Picture `id` (408 or 424), loaded on first use; null when unknown or its
// file is missing or malformed.
const AppPicture* GetPicture(int id);

// Draws the picture black on white with its top left at `at`, the port's pen
// and colours kept; its 2x twin becomes the area's sharper detail.
void draw_app_picture(plat::Port& port, const AppPicture& picture, plat::Point at);

}  // namespace drav
