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

// a / b rounded down, for b > 0. The remainder takes the sign of a, so a
// negative one means the quotient was rounded up; told by a flag, not a
// branch (in a region's scan the edges slant either way at random).
inline constexpr std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    return a / b - (a % b < 0 ? 1 : 0);
}

// v held to the 16-bit range of pixel coordinates.
inline constexpr std::int16_t clamp16(long long v) {
    return static_cast<std::int16_t>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
}

}  // namespace plat
