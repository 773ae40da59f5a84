// Pixel points and rectangles as the system keeps them: 16-bit, y downward,
// vertical first; rectangles (top, left, bottom, right) hold right and bottom
// exclusive.
#pragma once

#include <cstdint>

namespace plat {

struct Point {
    std::int16_t v = 0;
    std::int16_t h = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    std::int16_t top = 0;
    std::int16_t left = 0;
    std::int16_t bottom = 0;
    std::int16_t right = 0;
    bool empty() const { return right <= left || bottom <= top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace plat
