// The renderer twin: the whole drawing drawn once more by the screen's own
// renderer, into a vector context (the target plotting draws on) instead of
// the screen. A twin pass leaves the offscreen copy, the display list, the
// window and the current record as they were.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/print/vector_context.h"
#include "store/records.h"

namespace drav {

extern std::uint16_t QuartzSaveClip;   // something of the last object drawn was visible
extern std::int16_t QuartzCurLWidth;   // the width state the pass started from
extern plat::VectorContext* myContext;  // the context of the pass running, else null

// `show` of the screen renderer, painting into myContext.
void QuartzShow(std::int16_t mode, const ObjectRec* rec);
// Draws the live objects from index first to the last (a and b are unused).
void QuartzShowObjects(std::int16_t a, std::int16_t b, std::int16_t first);
// Draws the whole drawing into ctx, in the offscreen copy's pixels: 0 when
// it drew, -9874 (not handled) when no workfile is open.
int MyQuartzDrawEventHandler(plat::VectorContext& ctx);
// A white image of the offscreen copy's size with the drawing in it; null
// when no workfile or no offscreen copy is there.
std::unique_ptr<plat::VectorContext> twin_image();

}  // namespace drav
