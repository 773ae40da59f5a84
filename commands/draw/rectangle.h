// The rectangle command: two opposite corners, or one side and the extent
// across it; turned by the first side or by the restraint.
#pragma once

#include <cstdint>

#include "base/tool_options.h"

namespace drav {

void add_rectangle(ObjOptsRec& opts);
// Asks for the first corner; gives the prompts of the later steps. 1 when a
// point was accepted.
int rec_first_point(double* x, double* y, int* second_prompt, int* last_prompt, int method);
// The other end of the first side, with a rubber-band line; 1 when accepted.
int radd_pt_entered(double* x, double* y, int prompt, ObjOptsRec& opts);
void rec_1comp(double x1, double y1, double x, double y, double angle);
void rec_2comp(double x1, double y1, double x2, double y2, double x, double y, double angle);
void rec_key_options(int key, std::uint16_t* restart);

}  // namespace drav
