// The full redraw from the records: every object drawn again while the
// display list records one segment per object, then the list replayed.
#pragma once

#include <cstdint>

namespace drav {

extern std::uint16_t reset_on_screen;  // the next full redraw draws every record
extern std::uint16_t zoom_arrows;      // the list's view keys may be used

// Redraws from record `first`: clear erases the offscreen copy first, mark
// sets each drawn record's `on_screen` bit from what it showed.
void show_objects(std::int16_t clear, std::int16_t mark, std::int16_t first);
// `show_objects(1, 1, 36)`, drawing every record when reset is set.
void show_new_window(std::int16_t reset);

}  // namespace drav
