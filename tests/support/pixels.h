// Pixel pictures for tests: a port's pixels as rows of characters, one
// character a pixel: '.' white, '#' black, 'r' red, 'g' green, 'b' blue,
// 'c' cyan, 'm' magenta, 'y' yellow; '?' any other colour.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/core/raster.h"

namespace drav::test {

// Rows end with '\n'; the whole buffer, or a part of it (buffer coordinates;
// pixels outside the buffer read as ' ').
std::string pixel_rows(const plat::Port& port);
std::string pixel_rows(const plat::Port& port, int x, int y, int width, int height);
// The lines joined as pixel_rows writes them.
std::string rows(std::initializer_list<const char*> lines);
// Sets the top-left pixels of the port from lines of the same letters.
void set_pixel_rows(plat::Port& port, std::initializer_list<const char*> lines);
std::uint32_t pixel_of_char(char c);

// A rectangle given the way people read it: left, top, right, bottom.
plat::Rect rect(int left, int top, int right, int bottom);
// Moves the pen to (x0, y0) and draws to (x1, y1).
void draw_line(plat::Port& p, int x0, int y0, int x1, int y1);

}  // namespace drav::test
