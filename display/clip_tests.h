// Cheap visibility tests of bounding boxes in world units, and the drag
// image: objects drawn once into an offscreen port, then XORed onto the
// drawing window and moved by whole pixels.
#pragma once

#include <cstdint>

#include "platform/core/qd_types.h"

namespace drav {

// Boxes are x low, x high, y low, y high.
enum BoxSide { box_xl = 0, box_xh = 1, box_yl = 2, box_yh = 3 };

extern std::uint16_t drawourrgn;  // primitives go into `myrgnGrafPtr`
extern double rgnlx, rgnly, rgnhx, rgnhy;  // world bounds of the image
extern plat::Rect rgnRect;      // where the image stands on the window
extern plat::Rect origrgnRect;  // where it stands in the region port

// 1 when the box may be visible; edges that touch count.
std::int16_t fast_clip(double xa, double xb, double ya, double yb);
// Widens box by the reference point of `sinfo` + (ox + dx, oy + dy).
void limits(double dx, double dy, double* box, double ox, double oy);
// A rectangle of half sizes w, h turned with `sinfo`, centred on its
// reference point, or with one corner on it when corner is non-zero.
std::int16_t clip_area(std::int16_t corner, double w, double h);

void ournewrgn();
void ouropenrgn();
void ourclosergn();
void ouroffsetrgn(std::int16_t dx, std::int16_t dy);
// Shows the image; a second call at the same place removes it.
void ourframergn();

}  // namespace drav
