// The curve tool: a chain of cubic Bezier segments, each end point clicked
// and then shaped by dragging one or both control points; or, by the curve
// type option, the b-spline command.
#pragma once

#include <cstdint>

#include "base/tool_options.h"

namespace drav {

// The curve tool's command: the Bezier chain for curve type 1, else the
// b-spline; the current object is loaded again afterwards.
void add_bezier(ObjOptsRec& opts);
void ad_bezier(ObjOptsRec& opts);
// The chain's first point into the reference point of `info`; 1 when clicked.
int bezier_entered(double* x, double* y, int prompt);
// A segment's end point, shown as a rubber-band line; 1 when clicked.
int badd_pt_entered(double* x, double* y, int prompt);
// The keys of the shaping step.
void bez_key_options(int key, std::uint16_t* restart, std::uint16_t* move_first, std::uint16_t* move_second,
                     ObjOptsRec& opts);

}  // namespace drav
