// Dragging the image of the selection, of its handle or of its pivot under
// the lock modes and the drag keys, and turning where it was let go into a
// displacement, a new handle or a new pivot.
#pragma once

#include <cstdint>

namespace drav {

// The image follows the cursor with the world point (x0, y0) as its anchor;
// held: the drag lasts while the button stays down, and letting go outside
// the drawing area aborts it. Ends with `accepted` (the end point in
// `last_x`, `last_y`), `aborted` or `quit`.
void dragtheRgn(double x0, double y0, int held);
// The keys of the drag loop: 'H' walks the object's handle, 'S' turns the
// object end for end, 'Q' quits, ESC aborts; *adjx, *adjy receive the
// pixels the image must move back so the new handle is under the cursor.
void drag_key_options(int key, std::int16_t* adjx, std::int16_t* adjy, double x0, double y0,
                      std::uint16_t* first);
// The drag of the move and copy commands under lock mode `lock`: the
// handle's displacement in *pdx, *pdy (0 when it did not end accepted, or
// nothing could be dragged); the result is `accepted`, 0 when nothing was
// dragged.
int grp_drag(double* pdx, double* pdy, int prompt, int lock, int held);
// Drags the selection's handle (which 0) or pivot and moves it there as an
// undoable operation; from a click only while the button is still down or
// on a double click. The result is `accepted`.
int hp_drag(int which, int fromclick);

}  // namespace drav
