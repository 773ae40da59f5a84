// Presses on the symbol library window's cells, as a person's mouse makes them.
#pragma once

#include <cstdint>

namespace drav::test {

// Posts `times` presses and releases on slot n (1-based) of the library
// window, all on the same spot, with `modifiers` on each press: twice is a
// double click, once with the option key a double click when the
// preference tells it so.
void post_slot_clicks(int n, int times = 1, std::uint16_t modifiers = 0);

}  // namespace drav::test
