// The circle command: centre and a point, two ends of a diameter, a fixed
// radius at the centre, or a fixed diameter from a first point.
#pragma once

#include <cstdint>

#include "base/tool_options.h"

namespace drav {

void add_circle(ObjOptsRec& opts);
// Asks for the first point; gives the prompt of the second step. 1 when a
// point was accepted.
int cir_first_point(double* x, double* y, int* second_prompt);
// The prompts of the current method.
void notechange(int* first_prompt, int* second_prompt);
// Centre and radius (methods 1 and 3).
void cir_1comp(double x0, double y0, double x, double y, double angle, int lock);
// Diameter (methods 2 and 4).
void cir_2comp(double x0, double y0, double x, double y, double angle, int lock);
void cir_key_options(int key, std::uint16_t* restart);

}  // namespace drav
