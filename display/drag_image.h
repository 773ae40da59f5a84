// The drag image of what is being moved: the current object, the selection
// group or an object still in hand, drawn once into the region port and
// then XORed onto the drawing window at whole-pixel offsets.
#pragma once

#include <cstdint>

namespace drav {

// The window pixel where the image's anchor point was put last; the drag
// loop and the placing under the cursor share it.
extern std::int16_t t2x, t2y;
// The view changed while a command runs: a placing loop rebuilds its image.
extern std::uint16_t makenewrgn;

// Window pixel of a world point: x from the viewport's left edge, y
// downward from its top edge.
void window_pixel(double x, double y, std::int16_t* h, std::int16_t* v);

// The image of the current object or, in group mode, of every member;
// 0 when there is no current object outside group mode.
int getRgninfo();
// The image of the record in `info` (a symbol or text being placed).
void infoRgn();
// getRgninfo; with place, the image then goes under the cursor as far as
// the lock mode lets it.
int make_objrgn(int place);
// The blink routine of a drag image: one XOR of it onto the window; 1.
int blinkrgn();

}  // namespace drav
