// The polygon command: regular polygons by their centre and a corner, or
// an edge middle, or only turned when their size is fixed.
#pragma once

#include <cstdint>

#include "base/tool_options.h"

namespace drav {

void add_polygon(ObjOptsRec& opts);
// Asks for the centre, polled straight into the object in hand; 1 when a
// point was accepted.
int padd_pt_entered(double* x, double* y);
void poly_compute_endpoint(double* x, double* y, int lock, double* angle, double* fixed_size, int edge_mode,
                           int method);
void poly_key_options(int key, std::uint16_t* restart);

}  // namespace drav
