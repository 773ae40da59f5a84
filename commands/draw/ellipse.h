// The ellipse command: one axis from two points, the other axis and the
// turn from a third.
#pragma once

#include <cstdint>

#include "base/tool_options.h"

namespace drav {

void add_ellipse(ObjOptsRec& opts);
// Asks for p1; gives the prompts of the later steps. 1 when accepted.
int ell_first_point(double* x, double* y, int* second_prompt, int* third_prompt);
// Asks for p2 with a rubber-band line from p1; 1 when accepted.
int eadd_pt_entered(double* x, double* y, int prompt);
// Centre and radius 2 from p1 and p2 by the method.
void ell_setup_variables(double x1, double y1, double x2, double y2);
// Rotation and radius 1 from the polled point.
void ell_compute_endpoint(double x, double y, int lock, double angle);
void ell_key_options(int key, std::uint16_t* restart);

}  // namespace drav
