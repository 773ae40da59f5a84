// The selection marquee: a dashed rectangle dragged from a press on empty
// drawing space, whose dashes crawl while it stays on screen.
#pragma once

#include <cstdint>

#include "platform/core/raster.h"

namespace drav {

extern plat::Rect selectionRect;  // window-local
extern std::uint16_t ants_alive;  // on screen and animating
extern std::uint16_t antmode;
extern std::uint32_t lastant;     // ticks of the last step
extern std::int16_t curpattern;   // 0-3
extern plat::Pattern aPattern;    // the pen pattern last loaded

// Pattern n (1-4) of the marquee's pattern list; black when the list is
// missing or malformed.
plat::Pattern marquee_pattern(int n);
// Tracks the rectangle from start while the button stays down; the point
// where it was let go, window-local.
plat::Point createmarquee(plat::Port* port, plat::Point start);
// The marquee from start to end at once, for a button already let go.
void marquee_to(plat::Port* port, plat::Point start, plat::Point end);
void updatemarquee(plat::Port* port);
void erasemarquee(plat::Port* port);
// A refresh from the offscreen copy wiped the frame: it is drawn again, so
// that the next step or erase finds it on screen.
void marquee_after_refresh(plat::Port* port);

}  // namespace drav
